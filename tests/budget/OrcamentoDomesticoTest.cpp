// The household budget window: income, lines, totals, the yearly posting and
// the copy into the watch list, driven as the user drives them.
#include "OrcamentoFixture.h"
#include "Janelas.h"
#include "app/AppFixture.h"
#include "budget/frmOrcamentoDomestico.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using orcamentotest::OrcamentoFixture;

namespace {

class OrcamentoJanela : public OrcamentoFixture {
protected:
    static frmOrcamentoDomestico& janela() { return platform::Forms::get<frmOrcamentoDomestico>(); }

    // Shown and active, for the cases that follow the focus or type keys.
    static frmOrcamentoDomestico& abrir()
    {
        frmOrcamentoDomestico& f = janela();
        f.show();
        f.activateWindow();
        QApplication::setActiveWindow(&f);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        return f;
    }

    static QStringList coluna(const platform::FlexGrid* grade, int col)
    {
        QStringList out;
        for (int r = 1; r < grade->Rows(); ++r)
            out << grade->TextMatrix(r, col);
        return out;
    }

    static int linhaDe(const platform::FlexGrid* grade, int col, const QString& texto)
    {
        for (int r = 1; r < grade->Rows(); ++r)
            if (grade->TextMatrix(r, col) == texto)
                return r;
        return -1;
    }

    // A double-click on a classification of the picker.
    static void escolher(const QString& nome)
    {
        frmOrcamentoDomestico& f = janela();
        const int r = linhaDe(f.flxDespesas, 0, nome);
        ASSERT_GT(r, 0) << nome.toStdString();
        f.flxDespesas->setRow(r);
        f.flxDespesas_DblClick();
    }

    static void gravar(const QString& nome, const QString& referente, const QString& inicio, const QString& valor,
                       const QString& ocorre = QStringLiteral("Todo Mês"))
    {
        frmOrcamentoDomestico& f = janela();
        escolher(nome);
        f.txtReferente->setText(referente);
        f.txtDataLan->setText(inicio);
        f.txtValor->setText(valor);
        f.txtOcorre->setCurrentText(ocorre);
        f.cmdGravaLan_Click();
    }

    static void digitar(QWidget* w, const QString& texto)
    {
        for (QChar c : texto)
            QTest::keyClick(w, c.toLatin1());
    }

    static QColor fundoSaldo() { return janela().txtSaldoFinal->palette().color(QPalette::Window); }

    static std::optional<data::Centavos> totalAnoDe(std::int64_t despesa)
    {
        for (const auto& l : data::linhasOrcamento(ConexaoBanco, data::OrdemLinhas::PorId))
            if (l.despesa == despesa)
                return l.totalAno;
        return std::nullopt;
    }
};

} // namespace

TEST_F(OrcamentoJanela, OpeningListsYearsRecurrencesClassificationsAndAnEmptyBudget)
{
    data::updateValorFixo(ConexaoBanco, data::kOrcamentoSalario, 4800000);
    frmOrcamentoDomestico& f = janela();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Orçamento Doméstico Anual"));
    EXPECT_EQ(f.lblOrcamento->text(), QStringLiteral("ORÇAMENTO DOMÉSTICO ANUAL"));
    ASSERT_EQ(f.cbxAnos->count(), 5);
    EXPECT_EQ(f.cbxAnos->itemText(0), QStringLiteral("2024"));
    EXPECT_EQ(f.cbxAnos->itemText(4), QStringLiteral("2028"));
    EXPECT_EQ(f.cbxAnos->currentText(), QStringLiteral("2025"));
    EXPECT_EQ(f.txtOcorre->count(), 6);
    EXPECT_EQ(f.txtOcorre->currentText(), QStringLiteral("Todo Mês"));

    // Outgoing classifications in table order, codes as "000".
    EXPECT_EQ(coluna(f.flxDespesas, 0),
              (QStringList{QStringLiteral("Aluguel"), QStringLiteral("Conta de Luz"), QStringLiteral("Luz"),
                           QStringLiteral("Supermercado"), QStringLiteral("O'Brien Pet Shop"),
                           QStringLiteral("100% Natural")}));
    EXPECT_EQ(f.flxDespesas->TextMatrix(1, 1), QStringLiteral("010"));
    EXPECT_EQ(f.flxDespesas->TextMatrix(0, 0), QStringLiteral("Classificação"));
    EXPECT_EQ(f.flxDespesas->cellBackColor(2, 0), QColor(225, 255, 255));

    EXPECT_EQ(f.flxOrcamento->Rows(), 1);
    EXPECT_EQ(f.flxOrcamento->TextMatrix(0, 5), QStringLiteral("Valor Mês"));
    EXPECT_EQ(f.txtSalario->text(), QStringLiteral("48.000,00"));
    EXPECT_EQ(f.txtAdiantamento->text(), QStringLiteral("0,00"));
    EXPECT_EQ(f.txtTotalSaida->text(), QStringLiteral("0,00"));
    EXPECT_EQ(f.txtTotalEntrada->text(), QStringLiteral("48.000,00"));
    EXPECT_EQ(f.txtSaldoFinal->text(), QStringLiteral("48.000,00"));
    EXPECT_EQ(fundoSaldo(), QColor(192, 255, 192));
}

TEST_F(OrcamentoJanela, FilterMatchesTextLiterallyApostrophesAndPercentIncluded)
{
    frmOrcamentoDomestico& f = janela();
    const std::pair<const char*, QStringList> casos[] = {
        {"luz", {QStringLiteral("Conta de Luz"), QStringLiteral("Luz")}},
        {"O'B", {QStringLiteral("O'Brien Pet Shop")}},
        {"0%", {QStringLiteral("100% Natural")}},
        {"%", {QStringLiteral("100% Natural")}},
        {"Salário", {}},
    };
    for (const auto& [filtro, esperado] : casos) {
        f.txtConsulta->setText(QString::fromUtf8(filtro));
        EXPECT_EQ(coluna(f.flxDespesas, 0), esperado) << filtro;
    }
}

TEST_F(OrcamentoJanela, SavingAMonthlyLineFillsTheGridTotalsAndEmptiesTheEditor)
{
    data::updateValorFixo(ConexaoBanco, data::kOrcamentoSalario, 1000000);
    frmOrcamentoDomestico& f = janela();
    gravar(QStringLiteral("Supermercado"), QStringLiteral("Compras"), QStringLiteral("05/03"), QStringLiteral("150"));
    EXPECT_TRUE(msgs.calls.empty());
    ASSERT_EQ(f.flxOrcamento->Rows(), 2);
    EXPECT_EQ(f.flxOrcamento->TextMatrix(1, 1), QStringLiteral("05/03"));
    EXPECT_EQ(f.flxOrcamento->TextMatrix(1, 2), QStringLiteral("Todo Mês"));
    EXPECT_EQ(f.flxOrcamento->TextMatrix(1, 3), QStringLiteral("Compras"));
    EXPECT_EQ(f.flxOrcamento->TextMatrix(1, 4), QStringLiteral("Supermercado"));
    EXPECT_EQ(f.flxOrcamento->TextMatrix(1, 5), QStringLiteral("150,00"));
    EXPECT_EQ(f.flxOrcamento->TextMatrix(1, 6), QStringLiteral("1.800,00"));
    EXPECT_EQ(f.txtTotalSaida->text(), QStringLiteral("1.800,00"));
    EXPECT_EQ(f.txtSaldoFinal->text(), QStringLiteral("8.200,00"));
    const auto linhas = data::linhasOrcamento(ConexaoBanco, data::OrdemLinhas::PorId);
    ASSERT_EQ(linhas.size(), 1u);
    EXPECT_EQ(linhas[0].data, QDate(2024, 3, 5));
    EXPECT_EQ(linhas[0].valor, 15000);

    EXPECT_EQ(f.lblDespesa->text(), QString());
    EXPECT_EQ(f.lblCodigo->text(), QString());
    EXPECT_EQ(f.txtReferente->text(), QString());
    EXPECT_EQ(f.txtValor->text(), QString());
    EXPECT_EQ(f.txtDataLan->Text(), QStringLiteral("__/__"));
    EXPECT_EQ(f.txtOcorre->currentText(), QStringLiteral("Todo Mês"));

    // A yearly line of 1.000,00 comes first; the balance turns red.
    gravar(QStringLiteral("Aluguel"), QStringLiteral("IPTU"), QStringLiteral("10/02"), QStringLiteral("1.000,00"),
           QStringLiteral("Uma vez no ano"));
    gravar(QStringLiteral("Luz"), QStringLiteral("Luz"), QStringLiteral("10/02"), QStringLiteral("800"));
    EXPECT_EQ(coluna(f.flxOrcamento, 5),
              (QStringList{QStringLiteral("1.000,00"), QStringLiteral("800,00"), QStringLiteral("150,00")}));
    EXPECT_EQ(f.txtTotalSaida->text(), QStringLiteral("12.400,00"));
    EXPECT_EQ(f.txtSaldoFinal->text(), QStringLiteral("-2.400,00"));
    EXPECT_EQ(fundoSaldo(), QColor(255, 192, 192));
    EXPECT_EQ(f.flxOrcamento->cellBackColor(2, 3), QColor(225, 255, 255));

    // Totals past the largest typed amount still count in the balance.
    gravar(QStringLiteral("Conta de Luz"), QStringLiteral("Tudo"), QStringLiteral("01/01"),
           QStringLiteral("9.999.999.999.999,99"));
    EXPECT_EQ(f.txtTotalSaida->text(), QStringLiteral("120.000.000.012.399,88"));
    EXPECT_EQ(f.txtSaldoFinal->text(), QStringLiteral("-120.000.000.002.399,88"));
    EXPECT_EQ(fundoSaldo(), QColor(255, 192, 192));
}

TEST_F(OrcamentoJanela, SaveChecksInOrderWithMessageAndFocus)
{
    frmOrcamentoDomestico& f = abrir();
    struct Caso {
        const char* despesa;
        const char* referente;
        const char* inicio;
        const char* valor;
        const char* mensagem;
        QWidget* foco;
    };
    const Caso casos[] = {
        {"", "Compras", "05/03", "150", "Campo ''Despesa'' vazio.", f.txtReferente},
        {"Supermercado", "", "05/03", "150", "Campo ''Referente'' não pode ficar em Branco.", f.txtReferente},
        {"Supermercado", "Compras", "", "150", "Data de Lançamento inválida", f.txtDataLan},
        {"Supermercado", "Compras", "31/02", "150", "Data de Lançamento inválida", f.txtDataLan},
        {"Supermercado", "Compras", "05/13", "150", "Data de Lançamento inválida", f.txtDataLan},
        {"Supermercado", "Compras", "05/03", "", "Campo ''Valor'' não pode ficar em Branco.", f.txtValor},
        {"Supermercado", "Compras", "05/03", "2*3", "Conteúdo inválido do campo ''Valor''.", f.txtValor},
    };
    for (const Caso& c : casos) {
        msgs.clear();
        f.lblDespesa->clear();
        f.lblCodigo->clear();
        if (*c.despesa)
            escolher(QString::fromUtf8(c.despesa));
        f.txtReferente->setText(QString::fromUtf8(c.referente));
        f.txtDataLan->setText(QString::fromUtf8(c.inicio));
        f.txtValor->setText(QString::fromUtf8(c.valor));
        f.cmdGravaLan->setFocus();
        f.cmdGravaLan_Click();
        ASSERT_EQ(msgs.calls.size(), 1u) << c.mensagem;
        EXPECT_EQ(msgs.lastText(), QString::fromUtf8(c.mensagem));
        EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
        EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
        EXPECT_EQ(QApplication::focusWidget(), c.foco) << c.mensagem;
        EXPECT_EQ(f.flxOrcamento->Rows(), 1) << c.mensagem;
    }
}

TEST_F(OrcamentoJanela, PickingAClassificationAlreadyInTheBudgetIsRefused)
{
    linha(13, QStringLiteral("Todo Mês"), 15000, d(5, 3, 2024));
    frmOrcamentoDomestico& f = janela();
    escolher(QStringLiteral("Aluguel"));
    EXPECT_EQ(f.lblCodigo->text(), QStringLiteral("10"));
    escolher(QStringLiteral("Supermercado"));
    EXPECT_EQ(msgs.lastText(), QStringLiteral("Despesa já no orçamento."));
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_EQ(f.lblDespesa->text(), QStringLiteral("Aluguel"));
    EXPECT_EQ(f.lblCodigo->text(), QStringLiteral("10"));
}

TEST_F(OrcamentoJanela, ANameInsideAnotherNameGetsItsOwnCode)
{
    frmOrcamentoDomestico& f = janela();
    escolher(QStringLiteral("Luz"));
    EXPECT_EQ(f.lblCodigo->text(), QStringLiteral("12"));
    gravar(QStringLiteral("Luz"), QStringLiteral("Energia"), QStringLiteral("01/01"), QStringLiteral("90"));
    EXPECT_EQ(f.flxOrcamento->TextMatrix(1, 4), QStringLiteral("Luz"));
    EXPECT_FALSE(data::despesaNoOrcamento(ConexaoBanco, 11));
}

TEST_F(OrcamentoJanela, LoadingALineAndSavingItOverwritesTheSameRow)
{
    const std::int64_t id = linha(13, QStringLiteral("A cada 3 meses"), 15000, d(5, 3, 2024), QStringLiteral("Feira"));
    frmOrcamentoDomestico& f = janela();
    f.flxOrcamento->setRow(1);
    f.flxOrcamento_DblClick();
    EXPECT_EQ(f.txtDataLan->Text(), QStringLiteral("05/03"));
    EXPECT_EQ(f.txtOcorre->currentText(), QStringLiteral("A cada 3 meses"));
    EXPECT_EQ(f.txtReferente->text(), QStringLiteral("Feira"));
    EXPECT_EQ(f.lblDespesa->text(), QStringLiteral("Supermercado"));
    EXPECT_EQ(f.lblCodigo->text(), QStringLiteral("13"));
    EXPECT_EQ(f.txtValor->text(), QStringLiteral("150,00"));
    EXPECT_EQ(f.flxOrcamento->TextMatrix(1, 6), QStringLiteral("600,00"));

    f.txtValor->setText(QStringLiteral("1.250,50"));
    f.txtOcorre->setCurrentText(QStringLiteral("Uma vez no ano"));
    f.cmdGravaLan_Click();
    ASSERT_EQ(f.flxOrcamento->Rows(), 2);
    EXPECT_EQ(f.flxOrcamento->TextMatrix(1, 0), QString::number(id));
    EXPECT_EQ(f.flxOrcamento->TextMatrix(1, 6), QStringLiteral("1.250,50"));
    EXPECT_EQ(totalAnoDe(13), std::optional<data::Centavos>(125050));

    // A recurrence outside the list is shown and saved as stored.
    linha(10, QStringLiteral("Quinzenal"), 20000, d(5, 3, 2024), QStringLiteral("Aluguel"));
    f.Consulta_Orcamento();
    const int quinzenal = linhaDe(f.flxOrcamento, 2, QStringLiteral("Quinzenal"));
    ASSERT_GT(quinzenal, 0);
    f.flxOrcamento->setRow(quinzenal);
    f.flxOrcamento_DblClick();
    EXPECT_EQ(f.txtOcorre->currentText(), QStringLiteral("Quinzenal"));
    f.cmdGravaLan_Click();
    const auto linhas = data::linhasOrcamento(ConexaoBanco, data::OrdemLinhas::PorId);
    ASSERT_EQ(linhas.size(), 2u);
    EXPECT_EQ(linhas[1].ocorre, QStringLiteral("Quinzenal"));
    f.flxOrcamento->setRow(linhaDe(f.flxOrcamento, 2, QStringLiteral("Uma vez no ano")));
    f.flxOrcamento_DblClick();
    EXPECT_EQ(f.txtOcorre->currentText(), QStringLiteral("Uma vez no ano"));
    EXPECT_EQ(f.txtOcorre->count(), 6);

    // The header row and an empty grid load nothing.
    f.txtReferente->setText(QStringLiteral("x"));
    f.flxOrcamento->setRow(0);
    f.flxOrcamento_DblClick();
    EXPECT_EQ(f.txtReferente->text(), QStringLiteral("x"));
}

TEST_F(OrcamentoJanela, DeleteAsksWithDescriptionAndYearlyValue)
{
    linha(13, QStringLiteral("Todo Mês"), 15000, d(5, 3, 2024), QStringLiteral("Feira"));
    frmOrcamentoDomestico& f = janela();
    EXPECT_EQ(f.txtTotalSaida->text(), QStringLiteral("1.800,00"));
    f.flxOrcamento->setRow(1);
    msgs.answer(platform::vbNo);
    QTest::keyClick(f.flxOrcamento, Qt::Key_Delete);
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.lastText(), QStringLiteral("Deseja realmente excluir o registro?\rFeira R$ 1.800,00"));
    EXPECT_EQ(msgs.last().title, QStringLiteral("Confirmação"));
    EXPECT_EQ(msgs.last().buttons(), platform::vbYesNo);
    EXPECT_EQ(msgs.last().icon(), platform::vbQuestion);
    EXPECT_TRUE(msgs.last().defaultSecond());
    EXPECT_EQ(f.flxOrcamento->Rows(), 2);

    msgs.answer(platform::vbYes);
    QTest::keyClick(f.flxOrcamento, Qt::Key_Delete);
    EXPECT_EQ(f.flxOrcamento->Rows(), 1);
    EXPECT_EQ(f.txtTotalSaida->text(), QStringLiteral("0,00"));
    EXPECT_EQ(f.txtSaldoFinal->text(), QStringLiteral("0,00"));
    EXPECT_EQ(fundoSaldo(), QColor(192, 255, 192));

    // Nothing to delete: no question.
    msgs.clear();
    QTest::keyClick(f.flxOrcamento, Qt::Key_Delete);
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(OrcamentoJanela, UpdatingIncomeStoresExactAmountsOrNoneOfThem)
{
    frmOrcamentoDomestico& f = janela();
    f.txtAdiantamento->setText(QStringLiteral("1.234,56"));
    f.txtSalario->setText(QStringLiteral("60000"));
    f.txtOutrasEntradas->setText(QStringLiteral("0,1"));
    f.cmdAtualizar_Click();
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_EQ(data::valorFixo(ConexaoBanco, data::kOrcamentoAdiantamento), std::optional<data::Centavos>(123456));
    EXPECT_EQ(data::valorFixo(ConexaoBanco, data::kOrcamentoOutrasEntradas), std::optional<data::Centavos>(10));
    EXPECT_EQ(f.txtTotalEntrada->text(), QStringLiteral("61.234,66"));
    EXPECT_EQ(f.txtSaldoFinal->text(), QStringLiteral("61.234,66"));

    // A box that holds no amount stores none of the three.
    for (const char* texto : {"", "2*3", ","}) {
        msgs.clear();
        f.txtAdiantamento->setText(QStringLiteral("5"));
        f.txtSalario->setText(QString::fromUtf8(texto));
        f.cmdAtualizar_Click();
        EXPECT_EQ(msgs.lastText(), QStringLiteral("Conteúdo inválido do campo ''Valor''.")) << texto;
        EXPECT_EQ(data::valorFixo(ConexaoBanco, data::kOrcamentoAdiantamento), std::optional<data::Centavos>(123456));
        EXPECT_EQ(data::totalEntradasOrcamento(ConexaoBanco), 6123466);
    }

    // A missing row leaves its box alone and is not reported.
    ConexaoBanco.exec(QStringLiteral("DELETE FROM Orcamento WHERE Despesa = 2000"));
    msgs.clear();
    f.txtAdiantamento->setText(QStringLiteral("7"));
    f.txtSalario->setText(QString());
    f.cmdAtualizar_Click();
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_EQ(f.txtTotalEntrada->text(), QStringLiteral("7,10"));
}

TEST_F(OrcamentoJanela, SaveStoresIncomeAgainFromTheTableNotFromTheBoxes)
{
    data::updateValorFixo(ConexaoBanco, data::kOrcamentoSalario, 500000);
    frmOrcamentoDomestico& f = janela();
    f.txtSalario->setText(QStringLiteral("999"));
    gravar(QStringLiteral("Aluguel"), QStringLiteral("Aluguel"), QStringLiteral("10/01"), QStringLiteral("100"));
    EXPECT_EQ(f.txtSalario->text(), QStringLiteral("5.000,00"));
    EXPECT_EQ(data::valorFixo(ConexaoBanco, data::kOrcamentoSalario), std::optional<data::Centavos>(500000));
    EXPECT_EQ(f.txtSaldoFinal->text(), QStringLiteral("3.800,00"));
}

TEST_F(OrcamentoJanela, ValueBoxesFilterKeysAndWorkOutProducts)
{
    frmOrcamentoDomestico& f = abrir();
    for (QLineEdit* caixa : {f.txtValor, f.txtAdiantamento, f.txtSalario, f.txtOutrasEntradas}) {
        msgs.clear();
        caixa->setFocus();
        caixa->clear();
        digitar(caixa, QStringLiteral("2.5*4="));
        EXPECT_EQ(caixa->text(), QStringLiteral("10"));
        caixa->clear();
        digitar(caixa, QStringLiteral("12a.5.,-"));
        EXPECT_EQ(caixa->text(), QStringLiteral("12,5"));
        // Without a "*" the "=" is dropped and nothing is worked out.
        digitar(caixa, QStringLiteral("="));
        EXPECT_EQ(caixa->text(), QStringLiteral("12,5"));
        EXPECT_TRUE(msgs.calls.empty());
        // Products of several decimals, read with the decimal comma.
        caixa->clear();
        digitar(caixa, QStringLiteral("2,5*3="));
        EXPECT_EQ(caixa->text(), QStringLiteral("7,5"));
        EXPECT_TRUE(msgs.calls.empty());
        caixa->clear();
        digitar(caixa, QStringLiteral("*4="));
        EXPECT_EQ(caixa->text(), QStringLiteral("*4"));
        EXPECT_EQ(msgs.lastText(), QStringLiteral("Conteúdo inválido do campo ''Valor''."));
    }
}

TEST_F(OrcamentoJanela, F2PutsTodayIntoTheStartAndMovesToTheValue)
{
    frmOrcamentoDomestico& f = abrir();
    f.txtDataLan->setFocus();
    QTest::keyClick(f.txtDataLan, Qt::Key_F2);
    EXPECT_EQ(f.txtDataLan->Text(), QStringLiteral("15/03"));
    EXPECT_EQ(QApplication::focusWidget(), f.txtValor);
}

TEST_F(OrcamentoJanela, EnterMovesOnAndEscapeCloses)
{
    frmOrcamentoDomestico& f = abrir();
    f.txtAdiantamento->setFocus();
    QTest::keyClick(f.txtAdiantamento, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.txtSalario);
    QTest::keyClick(f.txtSalario, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.txtOutrasEntradas);
    f.flxOrcamento->setFocus();
    QTest::keyClick(f.flxOrcamento, Qt::Key_Escape);
    EXPECT_FALSE(platform::Forms::isLoaded<frmOrcamentoDomestico>());
}

TEST_F(OrcamentoJanela, PostingTheYearAsksThenPostsAndReports)
{
    linha(13, QStringLiteral("Todo Mês"), 20000, d(15, 3, 2024), QStringLiteral("Feira"));
    frmOrcamentoDomestico& f = janela();
    f.cbxAnos->setCurrentText(QStringLiteral("2026"));

    msgs.answer(platform::vbNo);
    f.cmdLancarOrcamento_Click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.lastText(), QStringLiteral("Deseja realmente lançar o Orçamento para o ano de 2026?"));
    EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
    EXPECT_EQ(msgs.last().icon(), platform::vbQuestion);
    EXPECT_TRUE(msgs.last().defaultSecond());
    EXPECT_EQ(contar(QStringLiteral("Lancamentos")), 0);

    msgs.clear();
    f.cmdLancarOrcamento_Click();  // Yes
    ASSERT_EQ(msgs.calls.size(), 2u);
    EXPECT_EQ(msgs.lastText(), QStringLiteral("Orçamento Lançado com sucesso!"));
    EXPECT_EQ(msgs.last().icon(), platform::vbInformation);
    EXPECT_EQ(msgs.last().title, QStringLiteral("Ok"));
    const auto l = lancamentos();
    ASSERT_EQ(l.size(), 12u);
    EXPECT_EQ(l.front().dataVen, d(15, 3, 2026));
    EXPECT_EQ(l.back().dataVen, d(15, 2, 2027));
    EXPECT_EQ(l.back().referente, QStringLiteral("Previsão Feira Parc. 12 de 12"));
    // The budget itself is left as it was.
    EXPECT_EQ(f.flxOrcamento->Rows(), 2);
}

TEST_F(OrcamentoJanela, AnEmptyBudgetStillReportsSuccess)
{
    janela().cmdLancarOrcamento_Click();
    EXPECT_EQ(msgs.lastText(), QStringLiteral("Orçamento Lançado com sucesso!"));
    EXPECT_EQ(contar(QStringLiteral("Lancamentos")), 0);
}

TEST_F(OrcamentoJanela, APostingThatFailsIsReportedAndWritesNothing)
{
    linha(13, QStringLiteral("Todo Mês"), 20000, d(15, 3, 2024));
    falharDepoisDe(3);
    janela().cmdLancarOrcamento_Click();
    ASSERT_EQ(msgs.calls.size(), 2u);
    EXPECT_TRUE(msgs.lastText().startsWith(QStringLiteral("O Orçamento não foi lançado")));
    EXPECT_TRUE(msgs.lastText().contains(QStringLiteral("disco cheio")));
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_EQ(contar(QStringLiteral("Lancamentos")), 0);
}

TEST_F(OrcamentoJanela, CopyIntoTheWatchListOnlyAddsClassificationsNotWatched)
{
    data::Statement(ConexaoBanco, QStringLiteral("INSERT INTO PrevistoRealizado (Despesa, Valor) VALUES (13, 8000)")).exec();
    linha(13, QStringLiteral("Todo Mês"), 15000, d(5, 3, 2024));
    linha(10, QStringLiteral("Uma vez no ano"), 120000, d(5, 3, 2024));
    linha(12, QStringLiteral("A cada 2 meses"), 9050, d(5, 3, 2024));
    frmOrcamentoDomestico& f = janela();

    msgs.answer(platform::vbNo);
    f.cmdPrevistoRealizado_Click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.lastText(), QStringLiteral("Deseja realmente lançar em ''Previsto e Realizado''?"));
    EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
    EXPECT_TRUE(msgs.last().defaultSecond());
    EXPECT_EQ(contar(QStringLiteral("PrevistoRealizado")), 1);

    for (int vez = 0; vez < 2; ++vez) {
        msgs.clear();
        f.cmdPrevistoRealizado_Click();
        EXPECT_EQ(msgs.lastText(), QStringLiteral("''Previsto e Realizado'' Lançado com sucesso!"));
        EXPECT_EQ(msgs.last().icon(), platform::vbInformation);
        const std::vector<std::pair<std::int64_t, data::Centavos>> esperado = {{10, 120000}, {12, 9050}, {13, 8000}};
        EXPECT_EQ(vigiados(), esperado) << vez;
    }
}

TEST_F(OrcamentoJanela, CopyingAnEmptyBudgetChangesNothingAndReportsSuccess)
{
    janela().cmdPrevistoRealizado_Click();
    EXPECT_EQ(msgs.lastText(), QStringLiteral("''Previsto e Realizado'' Lançado com sucesso!"));
    EXPECT_EQ(contar(QStringLiteral("PrevistoRealizado")), 0);
}

class OrcamentoPrincipal : public testsupport::AppFixture {};

TEST_F(OrcamentoPrincipal, ToolbarKeyOOpensTheBudget)
{
    createAccount(QStringLiteral("Casa"));
    registrarJanelas();
    frmPrincipal& p = iniciar();
    ASSERT_TRUE(SenhaAceita);
    p.Toolbar1_ButtonClick(QStringLiteral("O"));
    ASSERT_FALSE(hook.shown.empty());
    EXPECT_EQ(hook.shown.back(), QStringLiteral("frmOrcamentoDomestico"));
}
