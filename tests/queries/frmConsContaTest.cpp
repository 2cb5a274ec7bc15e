// The queries by account group and by classification list, which share
// their fields, SQL and grid and differ in what the filter list holds.
#include "Janelas.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "entries/frmZalteracao.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "queries/frmConsConta.h"
#include "queries/frmConsultaEstr.h"
#include "support/Fixtures.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using testsupport::MsgRecorder;

namespace {

class ConsConta : public testsupport::DrivesFixture {
protected:
    void SetUp() override
    {
        DrivesFixture::SetUp();
        // The editor's refreshes, registered as at start-up.
        registrarAtualizacoes();
        createAccount(QStringLiteral("Casa"));
        login(QStringLiteral("Casa"));
    }

    static std::int64_t codigo(const char* nome)
    {
        return data::findClassificacaoByName(ConexaoBanco, QString::fromUtf8(nome))->codigo;
    }

    // An entry of a classification of the plan, with that classification's
    // group, as the entry windows save it.
    static std::int64_t lancar(const QString& referente, data::Centavos valor, const QDate& ven,
                               const char* classificacao)
    {
        const auto d = data::findClassificacaoByName(ConexaoBanco, QString::fromUtf8(classificacao));
        data::Lancamento l;
        l.dataVen = ven;
        l.dataLan = ven;
        l.referente = referente;
        l.valor = valor;
        l.tipo = valor < 0 ? data::kTipoSaida : data::kTipoEntrada;
        l.despesa = QString::number(d->codigo);
        l.filtro = QStringLiteral("A");
        l.conta = d->conta;
        return data::addLancamento(ConexaoBanco, l);
    }

    static std::int64_t lancarComCodigo(const QString& referente, data::Centavos valor, const QString& despesa)
    {
        data::Lancamento l;
        l.dataVen = {2024, 3, 20};
        l.dataLan = l.dataVen;
        l.referente = referente;
        l.valor = valor;
        l.tipo = data::kTipoSaida;
        l.despesa = despesa;
        l.filtro = QStringLiteral("A");
        return data::addLancamento(ConexaoBanco, l);
    }

    // Luz twice (Moradia), the market (Alimentação), a salary (Trabalho).
    void lancarExemplos()
    {
        lancar(QStringLiteral("luz março"), -5000, {2024, 3, 10}, "Energia Elétrica");
        lancar(QStringLiteral("luz abril"), -15000, {2024, 4, 10}, "Energia Elétrica");
        lancar(QStringLiteral("mercado"), -2000, {2024, 3, 5}, "Supermercado");
        lancar(QStringLiteral("salário"), 500000, {2024, 3, 5}, "Salário");
        lancar(QStringLiteral("conta d'água"), -10000, {2024, 3, 12}, "Água e Esgoto");
    }

    static QStringList referentes(queries::ConsultaComFiltro& f)
    {
        QStringList out;
        for (int r = 1; r < f.flxConsulta->Rows(); ++r)
            out << f.flxConsulta->TextMatrix(r, 3);
        return out;
    }

    static QStringList itens(QListWidget* lista)
    {
        QStringList out;
        for (int i = 0; i < lista->count(); ++i)
            out << lista->item(i)->text();
        return out;
    }

    static void escolher(queries::ConsultaComFiltro& f, const QString& item)
    {
        const auto achados = f.lstListaClass->findItems(item, Qt::MatchExactly);
        ASSERT_EQ(achados.size(), 1) << item.toStdString();
        f.lstListaClass->setCurrentItem(achados.front());
        f.lstListaClass_DblClick();
    }

    static frmConsConta& conta() { return platform::Forms::get<frmConsConta>(); }
    static frmConsultaEstr& estr() { return platform::Forms::get<frmConsultaEstr>(); }
};

} // namespace

TEST_F(ConsConta, LoadSelectsSaidaWithItsGroupsAndSideChangeEmptiesTheFilter)
{
    MsgRecorder msgs;
    frmConsConta& f = conta();
    EXPECT_EQ(NomeConsultaAtiva, "Consulta Conta");
    EXPECT_EQ(f.windowTitle(), "Consulta por Conta e Sub-contas");
    EXPECT_EQ(f.txtTipo->currentText(), "Saída");
    EXPECT_TRUE(itens(f.lstListaClass).contains("Moradia"));
    EXPECT_FALSE(itens(f.lstListaClass).contains("Trabalho"));
    EXPECT_EQ(f.lstFiltroClass->count(), 0);
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
    EXPECT_EQ(f.flxConsulta->TextMatrix(0, 4), "Valor");
    EXPECT_EQ(f.txtLanc->text(), "");

    escolher(f, QStringLiteral("Moradia"));
    f.txtTipo->setCurrentText(QStringLiteral("Entrada"));
    EXPECT_EQ(f.lstFiltroClass->count(), 0);
    EXPECT_TRUE(itens(f.lstListaClass).contains("Trabalho"));
    EXPECT_FALSE(itens(f.lstListaClass).contains("Moradia"));
    escolher(f, QStringLiteral("Trabalho"));
    f.txtTipo->setCurrentText(QStringLiteral("Saída"));
    EXPECT_EQ(f.lstFiltroClass->count(), 0);
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(ConsConta, TextDatesValuesAndSideNarrowTheList)
{
    MsgRecorder msgs;
    lancarExemplos();
    struct Caso {
        const char* texto;
        const char* data1;
        const char* data2;
        const char* valor1;
        const char* valor2;
        const char* tipo;
        QStringList esperados;
    };
    const Caso casos[] = {
        // An empty text still selects every description of the side.
        {"", "", "", "", "", "Saída", {"mercado", "luz março", "conta d'água", "luz abril"}},
        {"luz", "", "", "", "", "Saída", {"luz março", "luz abril"}},
        {"LUZ", "01/03/2024", "31/03/2024", "", "", "Saída", {"luz março"}},
        // One date alone gives no period.
        {"luz", "01/03/2024", "", "", "", "Saída", {"luz março", "luz abril"}},
        {"luz", "01/03/2024", "31/03/20__", "", "", "Saída", {"luz março", "luz abril"}},
        // Saída 10 to 100: values from -100 to -10, both ends included.
        {"", "", "", "10", "100", "Saída", {"mercado", "luz março", "conta d'água"}},
        {"", "", "", "100", "10", "Saída", {"mercado", "luz março", "conta d'água"}},
        {"", "", "", "20", "50", "Saída", {"mercado", "luz março"}},
        // One value alone, or a box without a number, gives no range.
        {"luz", "", "", "10", "", "Saída", {"luz março", "luz abril"}},
        {"luz", "", "", ",", "100", "Saída", {"luz março", "luz abril"}},
        {"", "", "", "", "", "Entrada", {"salário"}},
        {"", "", "", "1000", "5000", "Entrada", {"salário"}},
        {"", "", "", "1000", "4999,99", "Entrada", {}},
        // Typed apostrophes and quotes are only text.
        {"d'água", "", "", "", "", "Saída", {"conta d'água"}},
        {"' OR 1=1 --", "", "", "", "", "Saída", {}},
    };
    frmConsConta& f = conta();
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.texto) + " " + c.data1 + "-" + c.data2 + " " + c.valor1 + "-" + c.valor2 + " " +
                     c.tipo);
        f.txtTipo->setCurrentText(QString::fromUtf8(c.tipo));
        f.txtConsulta->setText(QString::fromUtf8(c.texto));
        f.txtDataVen1->setText(QString::fromLatin1(c.data1));
        f.txtDataVen2->setText(QString::fromLatin1(c.data2));
        f.txtValor1->setText(QString::fromLatin1(c.valor1));
        f.txtValor2->setText(QString::fromLatin1(c.valor2));
        f.cmdConsulta->click();
        EXPECT_EQ(referentes(f), c.esperados);
        EXPECT_EQ(f.txtLanc->text(), QString::number(c.esperados.size()) + " Lançamento(s)");
    }
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(ConsConta, GroupFilterListsOnlyItsEntriesWithTheirCountAndTotal)
{
    MsgRecorder msgs;
    lancarExemplos();
    // Entries without a classification of the plan belong to no group.
    lancarComCodigo(QStringLiteral("sem código"), -100, QString());
    lancarComCodigo(QStringLiteral("código perdido"), -100, QStringLiteral("9999"));
    frmConsConta& f = conta();
    escolher(f, QStringLiteral("Moradia"));
    f.cmdConsulta->click();
    EXPECT_EQ(referentes(f), (QStringList{"luz março", "conta d'água", "luz abril"}));
    EXPECT_EQ(f.txtLanc->text(), "3 Lançamento(s)");
    EXPECT_EQ(f.txtSaldo2->text(), "-300,00");
    EXPECT_EQ(f.flxConsulta->TextMatrix(1, 0).size(), 6);
    EXPECT_EQ(f.flxConsulta->TextMatrix(1, 1), "10/03/2024");
    EXPECT_EQ(f.flxConsulta->TextMatrix(1, 2), "10/03/2024");
    EXPECT_EQ(f.flxConsulta->TextMatrix(1, 4), "-50,00");
    EXPECT_EQ(f.flxConsulta->cellBackColor(2, 0), QColor(225, 255, 255));

    escolher(f, QStringLiteral("Alimentação"));
    f.cmdConsulta->click();
    EXPECT_EQ(referentes(f), (QStringList{"mercado", "luz março", "conta d'água", "luz abril"}));

    // The comparison is exact: a group written in another case matches none.
    f.lstFiltroClass->clear();
    f.lstFiltroClass->addItem(QStringLiteral("moradia"));
    f.cmdConsulta->click();
    EXPECT_EQ(referentes(f), QStringList());
    EXPECT_EQ(f.txtLanc->text(), "0 Lançamento(s)");
    EXPECT_EQ(f.txtSaldo2->text(), "0,00");
    // The grid stays enabled in this window, even with nothing listed.
    EXPECT_TRUE(f.flxConsulta->isEnabled());
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(ConsConta, FilterListRefusesDuplicatesAndDeleteRemovesTheSelectedItem)
{
    MsgRecorder msgs;
    frmConsConta& f = conta();
    escolher(f, QStringLiteral("Moradia"));
    escolher(f, QStringLiteral("Saúde"));
    escolher(f, QStringLiteral("Moradia"));
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "Classificação já existente no filtro.");
    EXPECT_EQ(msgs.last().title, "Atenção,");
    EXPECT_EQ(msgs.last().style & platform::vbInformation, platform::vbInformation);
    EXPECT_EQ(itens(f.lstFiltroClass), (QStringList{"Moradia", "Saúde"}));
    escolher(f, QStringLiteral("Lazer"));

    f.lstFiltroClass->setCurrentRow(0);
    QTest::keyClick(f.lstFiltroClass, Qt::Key_Delete);
    EXPECT_EQ(itens(f.lstFiltroClass), (QStringList{"Saúde", "Lazer"}));
    EXPECT_EQ(f.lstFiltroClass->currentRow(), 1);
    QTest::keyClick(f.lstFiltroClass, Qt::Key_Delete);
    QTest::keyClick(f.lstFiltroClass, Qt::Key_Delete);
    EXPECT_EQ(f.lstFiltroClass->count(), 0);
    QTest::keyClick(f.lstFiltroClass, Qt::Key_Delete);
    EXPECT_EQ(f.lstFiltroClass->count(), 0);

    // With no item selected nothing is removed.
    escolher(f, QStringLiteral("Moradia"));
    f.lstFiltroClass->clearSelection();
    f.lstFiltroClass->setCurrentItem(nullptr);
    QTest::keyClick(f.lstFiltroClass, Qt::Key_Delete);
    EXPECT_EQ(f.lstFiltroClass->count(), 1);
}

TEST_F(ConsConta, DeleteAllWithAFilterDeletesOnlyTheListedEntries)
{
    MsgRecorder msgs;
    lancarExemplos();
    frmConsConta& f = conta();
    escolher(f, QStringLiteral("Moradia"));
    f.cmdConsulta->click();
    ASSERT_EQ(f.flxConsulta->Rows(), 4);

    msgs.answer(platform::vbNo);
    f.cmdApagar->click();
    EXPECT_EQ(f.flxConsulta->Rows(), 4);

    msgs.answer(platform::vbYes);
    f.cmdApagar->click();
    EXPECT_EQ(msgs.last().text, "Todos os lançamentos desta consulta serão excluidos!\rDeseja Continuar?");
    EXPECT_EQ(f.txtLanc->text(), "0 Lançamento(s)");
    EXPECT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM Lancamentos")).toInt(), 2);
    f.lstFiltroClass->clear();
    f.cmdConsulta->click();
    EXPECT_EQ(referentes(f), QStringList{"mercado"});
}

TEST_F(ConsConta, ScrollsToTheLastRowBeyondTwentySevenRows)
{
    MsgRecorder msgs;
    for (int i = 0; i < 26; ++i)
        lancar(QStringLiteral("luz %1").arg(i, 2, 10, QLatin1Char('0')), -100, QDate(2024, 1, 1).addDays(i),
               "Energia Elétrica");
    frmConsConta& f = conta();
    f.resize(1000, 500);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.cmdConsulta->click();
    ASSERT_EQ(f.flxConsulta->Rows(), 27);
    EXPECT_EQ(f.flxConsulta->TopRow(), 1);

    lancar(QStringLiteral("luz 26"), -100, {2024, 2, 1}, "Energia Elétrica");
    f.cmdConsulta->click();
    ASSERT_EQ(f.flxConsulta->Rows(), 28);
    EXPECT_GT(f.flxConsulta->TopRow(), 1);
}

TEST_F(ConsConta, DateBoxesValueBoxesAndLabelClicks)
{
    frmConsConta& f = conta();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QTest::mouseClick(f.lblDataI, Qt::LeftButton);
    EXPECT_EQ(f.txtDataVen1->Text(), "01/01/2024");
    QTest::mouseClick(f.lblDataF, Qt::LeftButton);
    EXPECT_EQ(f.txtDataVen2->Text(), "31/12/2024");
    EXPECT_EQ(f.focusWidget(), f.cmdConsulta);

    f.txtDataVen1->setText(QStringLiteral("31/01/2024"));
    f.txtDataVen1->setFocus();
    QTest::keyClick(f.txtDataVen1, Qt::Key_PageUp);
    EXPECT_EQ(f.txtDataVen1->Text(), "29/02/2024");
    QTest::keyClick(f.txtDataVen1, Qt::Key_PageDown);
    EXPECT_EQ(f.txtDataVen1->Text(), "29/01/2024");
    f.txtDataVen2->setText(QString());
    f.txtDataVen2->setFocus();
    QTest::keyClick(f.txtDataVen2, Qt::Key_PageUp);
    EXPECT_EQ(f.txtDataVen2->Text(), "__/__/____");

    f.txtValor1->setFocus();
    QTest::keyClicks(f.txtValor1, QStringLiteral("-1a2.5.0,"));
    EXPECT_EQ(f.txtValor1->text(), "12,50");
}

TEST_F(ConsConta, ClassificationListFiltersByCodeAndKeepsDatesOnPageKeys)
{
    MsgRecorder msgs;
    lancarExemplos();
    lancarComCodigo(QStringLiteral("luz sem número"), -100, QStringLiteral("abc"));
    frmConsultaEstr& f = estr();
    EXPECT_EQ(NomeConsultaAtiva, "Consulta Estruturada2");
    EXPECT_EQ(f.windowTitle(), "Consulta Estruturada - Banco ativo: ''C:\\Casa''");
    const std::int64_t luz = codigo("Energia Elétrica");
    const QString itemLuz = QStringLiteral("%1 - Energia Elétrica").arg(luz, 3, 10, QLatin1Char('0'));
    EXPECT_TRUE(itens(f.lstListaClass).contains(itemLuz));
    EXPECT_FALSE(itens(f.lstListaClass).contains(QStringLiteral("%1 - Salário").arg(codigo("Salário"), 3, 10, QLatin1Char('0'))));

    escolher(f, itemLuz);
    escolher(f, itemLuz);
    EXPECT_EQ(msgs.last().text, "Classificação já existente no filtro.");
    f.cmdConsulta->click();
    EXPECT_EQ(referentes(f), (QStringList{"luz março", "luz abril"}));
    EXPECT_EQ(f.txtLanc->text(), "2 Lançamento(s)");
    EXPECT_EQ(f.txtSaldo2->text(), "-200,00");

    // Changing the side empties the filter.
    f.txtTipo->setCurrentText(QStringLiteral("Entrada"));
    EXPECT_EQ(f.lstFiltroClass->count(), 0);

    // Page Up and Page Down leave this window's dates alone.
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.txtDataVen1->setText(QStringLiteral("31/01/2024"));
    f.txtDataVen1->setFocus();
    QTest::keyClick(f.txtDataVen1, Qt::Key_PageUp);
    EXPECT_EQ(f.txtDataVen1->Text(), "31/01/2024");
}

TEST_F(ConsConta, ItemCodeIsTheWholeNumberBeforeTheDash)
{
    EXPECT_EQ(frmConsultaEstr::codigoDoItem(QStringLiteral("007 - Luz")), 7);
    EXPECT_EQ(frmConsultaEstr::codigoDoItem(QStringLiteral("1234 - Luz - casa")), 1234);
    EXPECT_EQ(frmConsultaEstr::codigoDoItem(QStringLiteral("Luz")), -1);
}

TEST_F(ConsConta, EditorSaveRefreshesTheWindowThatNamedItself)
{
    MsgRecorder msgs;
    const auto n = lancar(QStringLiteral("luz"), -100, {2024, 3, 1}, "Energia Elétrica");
    conta().cmdConsulta->click();
    estr().cmdConsulta->click();
    ASSERT_EQ(NomeConsultaAtiva, "Consulta Estruturada2");
    auto l = *data::findLancamento(ConexaoBanco, n);
    l.referente = QStringLiteral("luz corrigida");
    data::updateLancamento(ConexaoBanco, l);

    frmZalteracao::AtualizarConsulta(QStringLiteral("Consulta Estruturada2"));
    EXPECT_EQ(referentes(estr()), QStringList{"luz corrigida"});
    EXPECT_EQ(referentes(conta()), QStringList{"luz"});
    frmZalteracao::AtualizarConsulta(QStringLiteral("Consulta Conta"));
    EXPECT_EQ(referentes(conta()), QStringList{"luz corrigida"});
}
