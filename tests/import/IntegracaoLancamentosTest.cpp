// The entries of the period listed beside the statement.
#include "IntegracaoFixture.h"

#include "entries/frmZalteracao.h"

using testsupport::ModalHook;
using testsupport::MsgRecorder;

namespace {

class IntegracaoLancamentos : public IntegracaoFixture {
protected:
    static void periodo(const QString& inicio, const QString& fim)
    {
        janela().txtDataInicial->setText(inicio);
        janela().txtDataFinal->setText(fim);
        janela().cmdOK_Click();
    }
};

} // namespace

TEST_F(IntegracaoLancamentos, AnAccountWithoutEntriesListsNothing)
{
    frmIntegracao& f = janela();
    EXPECT_EQ(f.flxLanc->Rows(), 1);
    EXPECT_FALSE(f.flxLanc->isEnabled());
    EXPECT_EQ(f.txtSaldo->text(), "0,00");
    EXPECT_EQ(f.txtDataInicial->Text(), "14/02/2024");
    EXPECT_EQ(f.flxLanc->TextMatrix(0, 1), "Vencimento");
    EXPECT_EQ(f.flxLanc->TextMatrix(0, 3), "Valor");
}

TEST_F(IntegracaoLancamentos, ListsThePeriodWithTheBalanceAtItsEnd)
{
    lancar(QStringLiteral("Antes"), 10000, {2024, 1, 10});
    const auto a = lancar(QStringLiteral("Mercado"), -2550, {2024, 3, 1});
    lancar(QStringLiteral("Padaria"), -450, {2024, 3, 1});
    lancar(QStringLiteral("Salário"), 300000, {2024, 3, 5});
    lancar(QStringLiteral("Depois"), -99999, {2024, 3, 20});
    periodo(QStringLiteral("01/03/2024"), QStringLiteral("15/03/2024"));
    frmIntegracao& f = janela();
    EXPECT_EQ(coluna(f.flxLanc, 2), (QStringList{"Mercado", "Padaria", "Salário"}));
    EXPECT_EQ(coluna(f.flxLanc, 1), (QStringList{"01/03/2024", "01/03/2024", "05/03/2024"}));
    EXPECT_EQ(coluna(f.flxLanc, 3), (QStringList{"-25,50", "-4,50", "3.000,00"}));
    EXPECT_EQ(f.flxLanc->TextMatrix(1, 0), QString::number(a).rightJustified(6, QLatin1Char('0')));
    EXPECT_EQ(f.txtSaldo->text(), "3.070,00");
    EXPECT_TRUE(f.flxLanc->isEnabled());
    EXPECT_EQ(f.flxLanc->cellBackColor(1, 2), QColor(255, 255, 255));
    EXPECT_EQ(f.flxLanc->cellBackColor(2, 2), QColor(225, 255, 255));
}

TEST_F(IntegracaoLancamentos, ThePeriodNeverStartsBeforeTheFirstDueDate)
{
    lancar(QStringLiteral("Primeiro"), -1000, {2024, 3, 10});
    periodo(QStringLiteral("01/01/2024"), QStringLiteral("31/03/2024"));
    EXPECT_EQ(janela().txtDataInicial->Text(), "10/03/2024");
    EXPECT_EQ(janela().txtSaldo->text(), "-10,00");

    // Moved past its end: nothing is listed, and the next press complains.
    MsgRecorder msgs;
    periodo(QStringLiteral("01/01/2024"), QStringLiteral("05/03/2024"));
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_EQ(janela().txtDataInicial->Text(), "10/03/2024");
    EXPECT_EQ(janela().flxLanc->Rows(), 1);
    EXPECT_FALSE(janela().flxLanc->isEnabled());
    janela().cmdOK_Click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "Data final menor que a data inicial.");
    EXPECT_EQ(msgs.last().title, "Atenção,");
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
}

TEST_F(IntegracaoLancamentos, InvalidDatesDoNothingAndEqualDatesList)
{
    lancar(QStringLiteral("Mercado"), -1000, {2024, 3, 10});
    MsgRecorder msgs;
    periodo(QStringLiteral("31/02/2024"), QStringLiteral("15/03/2024"));
    periodo(QString(), QStringLiteral("15/03/2024"));
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_EQ(janela().flxLanc->Rows(), 2);  // still the load's list
    periodo(QStringLiteral("10/03/2024"), QStringLiteral("10/03/2024"));
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_EQ(coluna(janela().flxLanc, 2), QStringList{"Mercado"});
}

TEST_F(IntegracaoLancamentos, ForecastsAndReservedClassificationsAreBlueAndCount)
{
    lancar(QStringLiteral("previsão de luz"), -10000, {2024, 3, 1});
    lancar(QStringLiteral("Transferência"), -5000, {2024, 3, 2}, QStringLiteral("94"));
    lancar(QStringLiteral("Recebida"), 2000, {2024, 3, 3}, QStringLiteral("95"));
    lancar(QStringLiteral("Comum"), -50, {2024, 3, 4});
    periodo(QStringLiteral("01/03/2024"), QStringLiteral("15/03/2024"));
    frmIntegracao& f = janela();
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(f.flxLanc->cellForeColor(r, 2), QColor(0, 0, 255)) << r;
    EXPECT_NE(f.flxLanc->cellForeColor(4, 2), QColor(0, 0, 255));
    EXPECT_EQ(f.txtSaldo->text(), "-130,50");
    EXPECT_EQ(f.txtSaldo->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST_F(IntegracaoLancamentos, BalanceColourFollowsItsSign)
{
    const struct {
        data::Centavos valor;
        QString texto;
        QColor cor;
    } casos[] = {
        {-50, "-0,50", QColor(255, 0, 0)},
        {0, "0,00", QColor(0, 0, 0)},
        {1, "0,01", QColor(0, 0, 0)},
    };
    for (const auto& caso : casos) {
        ConexaoBanco.exec(QStringLiteral("DELETE FROM Lancamentos"));
        if (caso.valor != 0)
            lancar(QStringLiteral("x"), caso.valor, {2024, 3, 1});
        periodo(QStringLiteral("01/03/2024"), QStringLiteral("15/03/2024"));
        EXPECT_EQ(janela().txtSaldo->text(), caso.texto);
        EXPECT_EQ(janela().txtSaldo->palette().color(QPalette::WindowText), caso.cor) << caso.texto.toStdString();
    }
}

TEST_F(IntegracaoLancamentos, ALongListScrollsToItsEnd)
{
    for (int i = 0; i < 25; ++i)
        lancar(QStringLiteral("L%1").arg(i, 2, 10, QLatin1Char('0')), -100, {2024, 3, 1});
    frmIntegracao& f = janela();
    f.resize(1100, 480);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    ASSERT_LT(f.flxLanc->fullyVisibleRowCount(), 25);
    periodo(QStringLiteral("01/03/2024"), QStringLiteral("15/03/2024"));
    EXPECT_EQ(f.flxLanc->Rows(), 26);
    EXPECT_GT(f.flxLanc->TopRow(), 1);

    ConexaoBanco.exec(QStringLiteral("DELETE FROM Lancamentos WHERE Referente = 'L24'"));
    f.flxLanc->setTopRow(1);
    periodo(QStringLiteral("01/03/2024"), QStringLiteral("15/03/2024"));
    EXPECT_EQ(f.flxLanc->TopRow(), 1);
}

TEST_F(IntegracaoLancamentos, DeleteAsksThenRemovesTheEntryAndRelists)
{
    lancar(QStringLiteral("Antes"), 5000, {2024, 2, 1});
    const auto n = lancar(QStringLiteral("Mercado"), -123450, {2024, 3, 1});
    periodo(QStringLiteral("01/03/2024"), QStringLiteral("15/03/2024"));
    frmIntegracao& f = janela();
    f.flxLanc->setRow(1);

    MsgRecorder msgs;
    msgs.answer(platform::vbNo);
    QTest::keyClick(f.flxLanc, Qt::Key_Delete);
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("Deseja realmente excluir o registro?\r-1.234,50 - Mercado"));
    EXPECT_EQ(msgs.last().title, "Confirmação");
    EXPECT_TRUE(msgs.last().defaultSecond());
    EXPECT_TRUE(data::findLancamento(ConexaoBanco, n).has_value());

    msgs.answer(platform::vbYes);
    f.flxLanc_KeyDown(Qt::Key_Delete);
    EXPECT_FALSE(data::findLancamento(ConexaoBanco, n).has_value());
    EXPECT_EQ(f.flxLanc->Rows(), 1);
    EXPECT_FALSE(f.flxLanc->isEnabled());
    EXPECT_EQ(f.txtSaldo->text(), "50,00");
}

TEST_F(IntegracaoLancamentos, RightClickShowsTheDueDatesWeekday)
{
    lancar(QStringLiteral("Mercado"), -100, {2024, 3, 10});
    periodo(QStringLiteral("01/03/2024"), QStringLiteral("15/03/2024"));
    MsgRecorder msgs;
    janela().flxLanc->setRow(1);
    janela().flxLanc_MouseDown(2);
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("10/03/2024\rdomingo"));
    EXPECT_EQ(msgs.last().title, "Dia da Semana");
}

TEST_F(IntegracaoLancamentos, SavingInTheEditorRelistsThisWindow)
{
    lancar(QStringLiteral("Mercado"), -1000, {2024, 3, 10});
    periodo(QStringLiteral("01/03/2024"), QStringLiteral("15/03/2024"));
    frmIntegracao& f = janela();
    // The editor was last opened for adding and closed without saving.
    IncluirLancamento = true;

    ModalHook hook;
    bool aberto = false;
    hook.on<frmZalteracao>([&](frmZalteracao& e) {
        aberto = true;
        EXPECT_EQ(e.txtReferente->text(), "Mercado");
        e.txtReferente->setText(QStringLiteral("Mercado do bairro"));
        e.cmdGravaLan_Click();
    });
    f.flxLanc->setRow(1);
    // The open-row key opens the editor as a double-click does.
    QTest::keyClick(f.flxLanc, platform::kOpenRowKey);
    EXPECT_TRUE(aberto);
    EXPECT_EQ(contarLancamentos(), 1);
    EXPECT_EQ(coluna(f.flxLanc, 2), QStringList{"Mercado do bairro"});
}
