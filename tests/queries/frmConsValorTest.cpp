// The query by value range.
#include "Janelas.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "entries/frmZalteracao.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "queries/frmConsValor.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using testsupport::MsgRecorder;

namespace {

class ConsValor : public testsupport::DrivesFixture {
protected:
    void SetUp() override
    {
        DrivesFixture::SetUp();
        // The editor's refreshes, registered as at start-up.
        registrarAtualizacoes();
        frmConsValor::SomaValores = 0;
        frmConsValor::ClausulaOrdem.clear();
        createAccount(QStringLiteral("Casa"));
        login(QStringLiteral("Casa"));
        mercado = data::findClassificacaoByName(ConexaoBanco, QStringLiteral("Supermercado"))->codigo;
    }

    std::int64_t lancar(const QString& referente, data::Centavos valor, const QDate& ven = {2024, 3, 10},
                        const QString& despesa = QString())
    {
        data::Lancamento l;
        l.dataVen = ven;
        l.dataLan = ven;
        l.referente = referente;
        l.valor = valor;
        l.tipo = valor < 0 ? data::kTipoSaida : data::kTipoEntrada;
        l.despesa = despesa.isNull() ? QString::number(mercado) : despesa;
        l.filtro = QStringLiteral("A");
        return data::addLancamento(ConexaoBanco, l);
    }

    static frmConsValor& janela() { return platform::Forms::get<frmConsValor>(); }

    static void consultar(const QString& v1, const QString& v2, const QString& tipo = QStringLiteral("Saída"),
                          const QString& d1 = QString(), const QString& d2 = QString())
    {
        frmConsValor& f = janela();
        f.txtTipo->setCurrentText(tipo);
        f.txtValor1->setText(v1);
        f.txtValor2->setText(v2);
        f.txtDataVen1->setText(d1);
        f.txtDataVen2->setText(d2);
        f.cmdConsulta->click();
    }

    static QStringList referentes()
    {
        QStringList out;
        for (int r = 1; r < janela().flxConsulta->Rows(); ++r)
            out << janela().flxConsulta->TextMatrix(r, 3);
        return out;
    }

    std::int64_t mercado = 0;
};

} // namespace

TEST_F(ConsValor, LoadNamesTheWindowSelectsSaidaAndReadsThePlan)
{
    frmConsValor& f = janela();
    EXPECT_EQ(NomeConsultaAtiva, "Consulta por Valor");
    EXPECT_EQ(f.windowTitle(), "Consulta por faixa de Valores - Banco ativo: ''C:\\Casa''");
    EXPECT_EQ(f.txtTipo->currentIndex(), 1);
    EXPECT_EQ(f.txtTipo->currentText(), "Saída");
    EXPECT_EQ(f.txtValor1->text(), "");
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
    EXPECT_EQ(f.flxConsulta->TextMatrix(0, 2), "Classificação");
    // Both sides of the plan, item for item.
    ASSERT_GT(f.txtCodDesp->count(), 0);
    EXPECT_EQ(f.txtCodDesp->count(), f.txtDespesa->count());
    f.txtCodDesp->setCurrentText(QString::number(mercado));
    EXPECT_EQ(f.txtDespesa->currentText(), "Supermercado");
    EXPECT_GE(f.txtDespesa->findText(QStringLiteral("Salário")), 0);
}

TEST_F(ConsValor, BoundsAreReplacedAndSelectBySignWithinTheRange)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("dez"), -1000);
    lancar(QStringLiteral("cinquenta"), -5000);
    lancar(QStringLiteral("cem"), -10000);
    lancar(QStringLiteral("cento e um"), -10100);
    lancar(QStringLiteral("zero"), 0);
    lancar(QStringLiteral("doze e meio"), 1250);
    lancar(QStringLiteral("doze e setenta e cinco"), 1275);
    lancar(QStringLiteral("doze e oitenta"), 1280);
    lancar(QStringLiteral("cinquenta entrada"), 5000);
    struct Caso {
        const char* v1;
        const char* v2;
        const char* tipo;
        const char* depois1;
        const char* depois2;
        QStringList esperados;
    };
    const Caso casos[] = {
        // Both empty: both become 0, and only entries of 0 are listed, on either side.
        {"", "", "Saída", "0", "0", {"zero"}},
        {"", "", "Entrada", "0", "0", {"zero"}},
        {"10", "100", "Saída", "10", "100", {"cem", "cinquenta", "dez"}},
        {"50", "50", "Saída", "50", "50", {"cinquenta"}},
        {"50", "50", "Entrada", "50", "50", {"cinquenta entrada"}},
        // An upper bound that reads 0 takes the lower bound.
        {"25", "", "Saída", "25", "25", {}},
        {"50", "0", "Saída", "50", "50", {"cinquenta"}},
        // A lower bound that reads 0 becomes "0".
        {"0,50", "10", "Saída", "0", "10", {"dez", "zero"}},
        {"12,5", "12,75", "Entrada", "12,5", "12,75", {"doze e meio", "doze e setenta e cinco"}},
        // Bounds in reverse order find nothing.
        {"100", "10", "Saída", "100", "10", {}},
    };
    frmConsValor& f = janela();
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.v1) + "-" + c.v2 + " " + c.tipo);
        consultar(QString::fromLatin1(c.v1), QString::fromLatin1(c.v2), QString::fromUtf8(c.tipo));
        EXPECT_EQ(f.txtValor1->text(), QString::fromLatin1(c.depois1));
        EXPECT_EQ(f.txtValor2->text(), QString::fromLatin1(c.depois2));
        QStringList achados = referentes();
        std::sort(achados.begin(), achados.end());
        QStringList esperados = c.esperados;
        std::sort(esperados.begin(), esperados.end());
        EXPECT_EQ(achados, esperados);
        EXPECT_EQ(f.txtLanc->text(), QString::number(c.esperados.size()) + " Lançamento(s)");
        EXPECT_EQ(f.flxConsulta->isEnabled(), !c.esperados.isEmpty());
    }
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(ConsValor, OptionalPeriodAndInvalidDates)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("fevereiro"), -5000, {2024, 2, 29});
    lancar(QStringLiteral("março"), -5000, {2024, 3, 1});
    lancar(QStringLiteral("abril"), -5000, {2024, 4, 1});
    consultar(QStringLiteral("50"), QStringLiteral("50"), QStringLiteral("Saída"), QStringLiteral("01/03/2024"),
              QStringLiteral("31/03/2024"));
    EXPECT_EQ(referentes(), QStringList{"março"});
    // The first date alone: no period and no message.
    consultar(QStringLiteral("50"), QStringLiteral("50"), QStringLiteral("Saída"), QStringLiteral("01/03/2024"));
    EXPECT_EQ(referentes(), (QStringList{"fevereiro", "março", "abril"}));
    EXPECT_TRUE(msgs.calls.empty());

    frmConsValor& f = janela();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    consultar(QStringLiteral("50"), QStringLiteral("50"), QStringLiteral("Saída"), QStringLiteral("12/0_/____"),
              QStringLiteral("31/03/2024"));
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "Data inicial inválida.");
    EXPECT_EQ(msgs.last().title, "Atenção,");
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_EQ(f.focusWidget(), f.txtDataVen1);
    EXPECT_EQ(referentes(), (QStringList{"fevereiro", "março", "abril"}));
    consultar(QStringLiteral(""), QStringLiteral("50"), QStringLiteral("Saída"), QStringLiteral("01/03/2024"),
              QStringLiteral("32/03/2024"));
    EXPECT_EQ(msgs.last().text, "Data final inválida.");
    EXPECT_EQ(f.focusWidget(), f.txtDataVen2);
    // The replaced bounds show even when the dates stop the query.
    EXPECT_EQ(f.txtValor1->text(), "0");
}

TEST_F(ConsValor, GridShowsNamesAndNoForecastColour)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("luz previsão"), -5000, {2024, 3, 1});
    lancar(QStringLiteral("sem plano"), -5000, {2024, 3, 2}, QStringLiteral("9999"));
    consultar(QStringLiteral("50"), QString());
    platform::FlexGrid& g = *janela().flxConsulta;
    ASSERT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.TextMatrix(1, 1), "01/03/2024");
    EXPECT_EQ(g.TextMatrix(1, 2), "Supermercado");
    EXPECT_EQ(g.TextMatrix(1, 4), "-50,00");
    EXPECT_EQ(g.cellForeColor(1, 3), QColor(0, 0, 0));
    EXPECT_EQ(g.TextMatrix(2, 2), "");
    EXPECT_EQ(g.cellBackColor(2, 1), QColor(225, 255, 255));
    EXPECT_EQ(janela().txtSaldo2->text(), "-100,00");
}

TEST_F(ConsValor, SummingKeysAddRowValuesAndTypedValuesUntilF10)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("a"), -5000, {2024, 3, 1});
    lancar(QStringLiteral("b"), -12345, {2024, 3, 2});
    consultar(QStringLiteral("1"), QStringLiteral("200"));
    frmConsValor& f = janela();
    f.flxConsulta->setRow(1);
    QTest::keyClick(f.flxConsulta, Qt::Key_Plus, Qt::KeypadModifier);
    // The sum survives closing and reopening the window.
    platform::Forms::unload<frmConsValor>();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    consultar(QStringLiteral("1"), QStringLiteral("200"));
    janela().flxConsulta->setRow(2);
    QTest::keyClick(janela().flxConsulta, Qt::Key_Plus, Qt::KeypadModifier);
    msgs.answerInput(QStringLiteral("0,5"));
    QTest::keyClick(janela().flxConsulta, Qt::Key_Insert);
    msgs.answerInput(QStringLiteral("abc"));
    QTest::keyClick(janela().flxConsulta, Qt::Key_Insert);
    ASSERT_EQ(msgs.inputs.size(), 2u);
    EXPECT_EQ(msgs.inputs.back().prompt, "Digite o valor:");
    EXPECT_EQ(msgs.inputs.back().title, "Soma");
    // F12 is not this window's sum key.
    QTest::keyClick(janela().flxConsulta, Qt::Key_F12);
    EXPECT_TRUE(msgs.calls.empty());
    QTest::keyClick(janela().flxConsulta, Qt::Key_F10);
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "173,95");
    EXPECT_EQ(msgs.last().title, "Total");
    QTest::keyClick(janela().flxConsulta, Qt::Key_F10);
    EXPECT_EQ(msgs.last().text, "0,00");
}

TEST_F(ConsValor, DeleteKeyAndWeekdayOnTheGrid)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("a"), -123456, {2024, 3, 15});
    lancar(QStringLiteral("b"), -123456, {2024, 3, 16});
    consultar(QStringLiteral("1234,56"), QString());
    frmConsValor& f = janela();
    f.flxConsulta->setRow(1);
    f.flxConsulta_MouseDown(Qt::RightButton);
    EXPECT_EQ(msgs.last().text, "15/03/2024\rsexta-feira");
    EXPECT_EQ(msgs.last().title, "Dia da Semana");

    msgs.answer(platform::vbYes);
    QTest::keyClick(f.flxConsulta, Qt::Key_Delete);
    EXPECT_EQ(msgs.last().text, "Deseja realmente excluir o registro?\r-1.234,56 - a");
    EXPECT_EQ(msgs.last().title, "Confirmação");
    EXPECT_TRUE(msgs.last().defaultSecond());
    EXPECT_EQ(referentes(), QStringList{"b"});
    EXPECT_EQ(f.txtLanc->text(), "1 Lançamento(s)");
}

TEST_F(ConsValor, LeavingTheLowerBoundCopiesItAndValueBoxesTakeOnlyAmounts)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("cinquenta"), -5000);
    lancar(QStringLiteral("sessenta"), -6000);
    frmConsValor& f = janela();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.txtValor2->setText(QStringLiteral("999"));
    f.txtValor1->setFocus();
    QTest::keyClicks(f.txtValor1, QStringLiteral("-5*0=.a"));
    EXPECT_EQ(f.txtValor1->text(), "50,");
    QTest::keyClick(f.txtValor1, Qt::Key_Backspace);
    QTest::keyClick(f.txtValor1, Qt::Key_Tab);
    EXPECT_EQ(f.txtValor2->text(), "50");
    EXPECT_EQ(f.focusWidget(), f.txtValor2);
    f.cmdConsulta->click();
    EXPECT_EQ(referentes(), QStringList{"cinquenta"});
}

TEST_F(ConsValor, EditorSaveRefreshesTheList)
{
    MsgRecorder msgs;
    const auto n = lancar(QStringLiteral("luz"), -5000);
    consultar(QStringLiteral("50"), QString());
    auto l = *data::findLancamento(ConexaoBanco, n);
    l.referente = QStringLiteral("luz corrigida");
    data::updateLancamento(ConexaoBanco, l);
    frmZalteracao::AtualizarConsulta(NomeConsultaAtiva);
    EXPECT_EQ(referentes(), QStringList{"luz corrigida"});
}
