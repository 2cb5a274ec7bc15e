// The query by date.
#include "Janelas.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "entries/frmZalteracao.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "queries/frmConsVen.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using testsupport::ModalHook;
using testsupport::MsgRecorder;

namespace {

class ConsVen : public testsupport::DrivesFixture {
protected:
    void SetUp() override
    {
        DrivesFixture::SetUp();
        frmConsVen::SomaValores = 0;
        createAccount(QStringLiteral("Casa"));
        login(QStringLiteral("Casa"));
        mercado = data::findClassificacaoByName(ConexaoBanco, QStringLiteral("Supermercado"))->codigo;
        salario = data::findClassificacaoByName(ConexaoBanco, QStringLiteral("Salário"))->codigo;
    }

    std::int64_t lancar(const QString& referente, data::Centavos valor, const QDate& ven,
                        const QDate& lan = QDate(), std::int64_t despesa = -1)
    {
        data::Lancamento l;
        l.dataVen = ven;
        l.dataLan = lan.isValid() ? lan : ven;
        l.referente = referente;
        l.valor = valor;
        l.tipo = valor < 0 ? data::kTipoSaida : data::kTipoEntrada;
        if (despesa < 0)
            despesa = valor < 0 ? mercado : salario;
        l.despesa = QString::number(despesa);
        l.filtro = QStringLiteral("A");
        l.conta = QStringLiteral("Alimentação");
        return data::addLancamento(ConexaoBanco, l);
    }

    static frmConsVen& janela() { return platform::Forms::get<frmConsVen>(); }

    static void consultar(const QString& inicio, const QString& fim, const QString& tipo = QStringLiteral("Saída"),
                          bool porLancamento = false)
    {
        frmConsVen& f = janela();
        f.txtData1->setText(inicio);
        f.txtData2->setText(fim);
        f.txtTipo->setCurrentText(tipo);
        f.optConsulta[porLancamento ? 1 : 0]->setChecked(true);
        f.cmdConsulta_Click();
    }

    static QStringList coluna(int col)
    {
        QStringList out;
        for (int r = 1; r < janela().flxConsulta->Rows(); ++r)
            out << janela().flxConsulta->TextMatrix(r, col);
        return out;
    }

    std::int64_t mercado = 0;
    std::int64_t salario = 0;
};

} // namespace

TEST_F(ConsVen, LoadSelectsSaidaAndNamesTheWindow)
{
    frmConsVen& f = janela();
    EXPECT_EQ(NomeConsultaAtiva, "Consulta por Vencimento");
    EXPECT_EQ(f.windowTitle(), "Consulta por Vencimento - Banco ativo: ''C:\\Casa''");
    EXPECT_EQ(f.txtTipo->currentText(), "Saída");
    EXPECT_EQ(f.txtTipo->count(), 3);
    EXPECT_EQ(f.txtTipo->itemText(0), "Entrada");
    EXPECT_EQ(f.txtTipo->itemText(2), "Ambos");
    EXPECT_TRUE(f.optConsulta[0]->isChecked());
    EXPECT_EQ(f.txtData1->Text(), "__/__/____");
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
    EXPECT_EQ(f.txtLanc->text(), "");
}

TEST_F(ConsVen, InvalidDatesStopWithTheFirstBoxAtFault)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("a"), -100, {2024, 3, 1});
    const struct {
        QString inicio, fim;
        bool focoNoInicio;
    } casos[] = {
        {"", "31/03/2024", true},
        {"31/02/2024", "31/03/2024", true},
        {"01/03/2024", "", false},
        {"01/03/2024", "12/0", false},
        {"", "", true},
    };
    for (const auto& caso : casos) {
        msgs.clear();
        consultar(caso.inicio, caso.fim);
        ASSERT_EQ(msgs.calls.size(), 1u);
        EXPECT_EQ(msgs.last().text, "Digitar data válida para a consulta");
        EXPECT_EQ(msgs.last().title, "Atenção,");
        EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
        QWidget* esperado = caso.focoNoInicio ? static_cast<QWidget*>(janela().txtData1) : janela().txtData2;
        EXPECT_EQ(janela().focusWidget(), esperado) << caso.inicio.toStdString();
    }
    // The grid keeps what it showed.
    EXPECT_EQ(janela().flxConsulta->Rows(), 1);
}

TEST_F(ConsVen, SidesAreToldBySignAndZeroOnlyUnderAmbos)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("saída"), -5000, {2024, 3, 5});
    lancar(QStringLiteral("entrada"), 9000, {2024, 3, 6});
    lancar(QStringLiteral("zero"), 0, {2024, 3, 7});
    const struct {
        QString tipo;
        QStringList referentes;
        QString total;
    } casos[] = {
        {"Saída", {"saída"}, "-50,00"},
        {"Entrada", {"entrada"}, "90,00"},
        {"Ambos", {"saída", "entrada", "zero"}, "40,00"},
    };
    for (const auto& caso : casos) {
        consultar(QStringLiteral("01/03/2024"), QStringLiteral("31/03/2024"), caso.tipo);
        EXPECT_EQ(coluna(3), caso.referentes) << caso.tipo.toStdString();
        EXPECT_EQ(janela().txtSaldo2->text(), caso.total);
        EXPECT_EQ(janela().txtLanc->text(), QString::number(caso.referentes.size()) + " Lançamento(s)");
    }
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(ConsVen, PeriodIncludesBothEndsAndOrdersByDueDate)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("antes"), -100, {2024, 2, 29});
    lancar(QStringLiteral("último dia"), -100, {2024, 3, 31});
    lancar(QStringLiteral("Zebra"), -100, {2024, 3, 1});
    lancar(QStringLiteral("Abacate"), -100, {2024, 3, 1});
    lancar(QStringLiteral("depois"), -100, {2024, 4, 1});
    consultar(QStringLiteral("01/03/2024"), QStringLiteral("31/03/2024"));
    EXPECT_EQ(coluna(3), (QStringList{"Abacate", "Zebra", "último dia"}));
    EXPECT_EQ(coluna(1), (QStringList{"01/03/2024", "01/03/2024", "31/03/2024"}));
    EXPECT_EQ(coluna(2), (QStringList{"Supermercado", "Supermercado", "Supermercado"}));
}

TEST_F(ConsVen, PostingDatePeriodListsEntriesPostedThenWithTheirDueDates)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("compra de março, vence em maio"), -100, {2024, 5, 10}, {2024, 3, 20});
    lancar(QStringLiteral("compra de março, vence em abril"), -100, {2024, 4, 10}, {2024, 3, 2});
    lancar(QStringLiteral("compra de fevereiro, vence em março"), -100, {2024, 3, 10}, {2024, 2, 20});
    consultar(QStringLiteral("01/03/2024"), QStringLiteral("31/03/2024"), QStringLiteral("Saída"), true);
    EXPECT_EQ(coluna(3), (QStringList{"compra de março, vence em abril", "compra de março, vence em maio"}));
    EXPECT_EQ(coluna(1), (QStringList{"10/04/2024", "10/05/2024"}));

    consultar(QStringLiteral("01/03/2024"), QStringLiteral("31/03/2024"));
    EXPECT_EQ(coluna(3), (QStringList{"compra de fevereiro, vence em março"}));
}

TEST_F(ConsVen, NothingFoundShowsZeroCountAndDisabledGrid)
{
    MsgRecorder msgs;
    consultar(QStringLiteral("01/03/2024"), QStringLiteral("31/03/2024"));
    EXPECT_EQ(janela().flxConsulta->Rows(), 1);
    EXPECT_FALSE(janela().flxConsulta->isEnabled());
    EXPECT_EQ(janela().txtLanc->text(), "0 Lançamento(s)");
    EXPECT_EQ(janela().txtSaldo2->text(), "0,00");
}

TEST_F(ConsVen, ForecastDescriptionBlueAndMissingClassificationEmpty)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("luz (previsão)"), -100, {2024, 3, 1});
    lancar(QStringLiteral("sem plano"), -100, {2024, 3, 2}, QDate(), 9999);
    consultar(QStringLiteral("01/03/2024"), QStringLiteral("31/03/2024"));
    platform::FlexGrid& g = *janela().flxConsulta;
    EXPECT_EQ(g.cellForeColor(1, 3), QColor(0, 0, 255));
    EXPECT_EQ(g.cellForeColor(1, 2), QColor(0, 0, 0));
    EXPECT_EQ(g.cellBackColor(2, 3), QColor(225, 255, 255));
    EXPECT_EQ(g.TextMatrix(2, 2), "");
    EXPECT_EQ(g.TextMatrix(2, 3), "sem plano");
}

TEST_F(ConsVen, RunningSumSurvivesQueriesAndReopening)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("a"), -5000, {2024, 3, 1});
    lancar(QStringLiteral("b"), -3000, {2024, 3, 2});
    consultar(QStringLiteral("01/03/2024"), QStringLiteral("31/03/2024"));
    janela().flxConsulta->setRow(1);
    QTest::keyClick(janela().flxConsulta, Qt::Key_Plus, Qt::KeypadModifier);
    consultar(QStringLiteral("01/03/2024"), QStringLiteral("31/03/2024"));
    platform::Forms::unload<frmConsVen>();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    consultar(QStringLiteral("01/03/2024"), QStringLiteral("31/03/2024"));
    janela().flxConsulta->setRow(2);
    QTest::keyClick(janela().flxConsulta, Qt::Key_Plus, Qt::KeypadModifier);
    msgs.answerInput(QStringLiteral("0,5"));
    QTest::keyClick(janela().flxConsulta, Qt::Key_Insert);
    QTest::keyClick(janela().flxConsulta, Qt::Key_F12);
    EXPECT_EQ(msgs.last().text, "80,50");
    EXPECT_EQ(msgs.last().title, "Total");
    // F10 is not this window's sum key.
    QTest::keyClick(janela().flxConsulta, Qt::Key_F10);
    EXPECT_EQ(msgs.calls.size(), 1u);
}

TEST_F(ConsVen, DateBoxKeysAndLabelClicks)
{
    frmConsVen& f = janela();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.txtData1->setFocus();
    QTest::keyClick(f.txtData1, Qt::Key_F2);
    EXPECT_EQ(f.txtData1->Text(), "15/03/2024");
    EXPECT_EQ(f.focusWidget(), f.txtData2);
    QTest::keyClick(f.txtData2, Qt::Key_F2);
    EXPECT_EQ(f.txtData2->Text(), "15/03/2024");
    EXPECT_EQ(f.focusWidget(), f.cmdConsulta);

    // Page Up and Page Down leave the dates alone in this window.
    f.txtData1->setFocus();
    QTest::keyClick(f.txtData1, Qt::Key_PageUp);
    QTest::keyClick(f.txtData1, Qt::Key_PageDown);
    EXPECT_EQ(f.txtData1->Text(), "15/03/2024");
    f.txtData2->setText(QString());
    QTest::keyClick(f.txtData2, Qt::Key_PageUp);
    EXPECT_EQ(f.txtData2->Text(), "__/__/____");

    QTest::mouseClick(f.txtDataI, Qt::LeftButton);
    QTest::mouseClick(f.txtDataF, Qt::LeftButton);
    EXPECT_EQ(f.txtData1->Text(), "01/01/2024");
    EXPECT_EQ(f.txtData2->Text(), "31/12/2024");

    f.cmdConsulta->setFocus();
    QTest::mouseClick(f.optConsulta[1], Qt::LeftButton);
    EXPECT_TRUE(f.optConsulta[1]->isChecked());
    EXPECT_EQ(f.focusWidget(), f.txtData1);
}

TEST_F(ConsVen, UnlimitedNumberOfListedRows)
{
    MsgRecorder msgs;
    {
        data::Transaction t(ConexaoBanco);
        for (int i = 0; i < 33000; ++i)
            lancar(QStringLiteral("linha %1").arg(i), -1, QDate(2024, 1, 1).addDays(i % 300));
        t.commit();
    }
    consultar(QStringLiteral("01/01/2024"), QStringLiteral("31/12/2024"));
    EXPECT_EQ(janela().flxConsulta->Rows(), 33001);
    EXPECT_EQ(janela().txtLanc->text(), "33000 Lançamento(s)");
    EXPECT_EQ(janela().txtSaldo2->text(), "-330,00");
    // Listed in due-date order, then by description.
    platform::FlexGrid& g = *janela().flxConsulta;
    EXPECT_EQ(g.TextMatrix(1, 1), "01/01/2024");
    EXPECT_EQ(g.TextMatrix(1, 3), "linha 0");
    EXPECT_EQ(g.TextMatrix(2, 3), "linha 10200");
    EXPECT_EQ(g.TextMatrix(33000, 1), "26/10/2024");
}

TEST_F(ConsVen, AfterTheEditorTheSameEntryIsCurrentAndInSight)
{
    MsgRecorder msgs;
    ModalHook hook;
    registrarAtualizacoes();
    for (int i = 0; i < 65; ++i)
        lancar(QStringLiteral("linha %1").arg(i, 2, 10, QLatin1Char('0')), -100, QDate(2024, 3, 1).addDays(i % 28));
    frmConsVen& f = janela();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    consultar(QStringLiteral("01/03/2024"), QStringLiteral("31/03/2024"));
    platform::FlexGrid& g = *f.flxConsulta;
    ASSERT_EQ(g.Rows(), 66);
    const auto emVista = [&g](int row) { return row >= g.TopRow() && row < g.TopRow() + g.fullyVisibleRowCount(); };
    std::function<void(frmZalteracao&)> editar;
    hook.on<frmZalteracao>([&editar](frmZalteracao& e) { editar(e); });

    // A saved change: the same entry stays current, where it was.
    g.setTopRow(11);
    g.setRow(32);
    const QString numero = g.TextMatrix(32, 0);
    editar = [](frmZalteracao& e) {
        e.txtValor->setText(QStringLiteral("60"));
        e.cmdGravaLan_Click();
    };
    // The open-row key, as a double-click, named for a screen reader.
    EXPECT_TRUE(g.accessibleDescription().startsWith(platform::kOpenRowKeyName));
    QTest::keyClick(&g, platform::kOpenRowKey);
    EXPECT_EQ(g.Row(), 32);
    EXPECT_EQ(g.TextMatrix(32, 0), numero);
    EXPECT_EQ(g.TextMatrix(32, 4), "-60,00");
    EXPECT_TRUE(emVista(32));

    // The entry was deleted meanwhile: the save is refused, the list drops
    // it at once, and the row that took its place is current.
    const QString seguinte = g.TextMatrix(33, 0);
    editar = [](frmZalteracao& e) {
        data::deleteLancamento(ConexaoBanco, e.txtNumLan->text().trimmed().toLongLong());
        e.cmdGravaLan_Click();
        e.Unload();
    };
    f.flxConsulta_DblClick();
    EXPECT_EQ(msgs.lastText(), QStringLiteral("O lançamento ") + QString::number(numero.toLongLong()) +
                                   QStringLiteral(" não existe mais e não foi alterado."));
    EXPECT_EQ(g.Rows(), 65);
    EXPECT_EQ(g.Row(), 32);
    EXPECT_EQ(g.TextMatrix(32, 0), seguinte);
    EXPECT_TRUE(emVista(32));
}

// Enter held from the grid: the first Enter moves to "Apagar Todos", the
// next ones must neither press it nor answer its question with "Sim".
TEST_F(ConsVen, EnterHeldFromTheGridDeletesNothing)
{
    std::vector<platform::MsgCall> perguntas;
    // Enter on a box presses its default button.
    platform::setMsgBoxHandler([&](const platform::MsgCall& c) {
        perguntas.push_back(c);
        return c.defaultSecond() ? platform::vbNo : platform::vbYes;
    });
    for (int i = 1; i <= 15; ++i)
        lancar(QStringLiteral("conta %1").arg(i), -100 * i, {2024, 3, i});
    consultar(QStringLiteral("01/03/2024"), QStringLiteral("31/03/2024"));
    frmConsVen& f = janela();
    f.show();
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    auto enter = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); };

    f.flxConsulta->setFocus(Qt::TabFocusReason);
    enter();
    EXPECT_EQ(QApplication::focusWidget(), f.cmdApagar);
    enter();
    enter();
    EXPECT_NE(QApplication::focusWidget(), f.cmdApagar);
    EXPECT_TRUE(perguntas.empty());

    // Chosen with Tab (or the mouse), Enter presses it; its question waits
    // on "Não".
    f.flxConsulta->setFocus(Qt::TabFocusReason);
    QTest::keyClick(f.flxConsulta, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), f.cmdApagar);
    enter();
    ASSERT_EQ(perguntas.size(), 1u);
    EXPECT_TRUE(perguntas[0].defaultSecond());
    EXPECT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM Lancamentos")).toInt(), 15);
    testsupport::installTestDefaults();
}
