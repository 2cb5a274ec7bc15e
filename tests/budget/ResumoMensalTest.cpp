// The monthly budget summary: exits per group ordered largest first,
// entries per classification without code 62, totals, balance, the Delete
// key that only leaves rows out, and the month arrows.
#include "PrevistoRealizadoFixture.h"
#include "budget/frmOrcamento.h"

#include <QLabel>

using previstotest::PrevistoFixture;

namespace {

class ResumoMensal : public PrevistoFixture {
protected:
    static frmOrcamento& janela() { return platform::Forms::get<frmOrcamento>(); }

    static QStringList totais()
    {
        frmOrcamento& f = janela();
        return {f.txtTotalSaidas->text(), f.txtTotalEntradas->text(), f.txtSaldo->text()};
    }

    // The month of the fixture's today (March 2024): two groups of exits
    // and one classification of entries.
    void mesTipico()
    {
        lancar(QDate(2024, 3, 1), -100000, 9, QStringLiteral("Moradia"));
        lancar(QDate(2024, 3, 20), -50000, 9, QStringLiteral("Moradia"));
        lancar(QDate(2024, 3, 31), -30000, 7, QStringLiteral("Alimentação"));
        lancar(QDate(2024, 3, 5), 200000, 20, QStringLiteral("Trabalho"));
    }
};

} // namespace

TEST_F(ResumoMensal, ListsExitsByGroupLargestFirstAndEntriesByClassification)
{
    mesTipico();
    lancar(QDate(2024, 4, 1), -7000, 8, QStringLiteral("Saúde"));  // next month
    lancar(QDate(2024, 2, 29), 7000, 20, QStringLiteral("Trabalho"));
    frmOrcamento& f = janela();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Orçamento Doméstico"));
    EXPECT_EQ(f.txtData->text(), QStringLiteral("MARÇO - 2024"));
    EXPECT_EQ(linha(f.flxSaidas, 1), (QStringList{"Moradia", "-1.500,00"}));
    EXPECT_EQ(linha(f.flxSaidas, 2), (QStringList{"Alimentação", "-300,00"}));
    EXPECT_EQ(f.flxSaidas->Rows(), 3);
    EXPECT_EQ(linha(f.flxEntradas, 1), (QStringList{"Salário", "2.000,00"}));
    EXPECT_EQ(totais(), (QStringList{"-1.800,00", "2.000,00", "200,00"}));
    EXPECT_EQ(f.flxSaidas->cellBackColor(1, 0), QColor(243, 243, 243));
    EXPECT_EQ(f.flxSaidas->cellBackColor(2, 1), QColor(174, 202, 222));
    EXPECT_EQ(f.flxSaidas->TextMatrix(0, 0), QStringLiteral("DESPESA"));
    EXPECT_EQ(f.flxEntradas->TextMatrix(0, 0), QStringLiteral("ENTRADA"));
}

TEST_F(ResumoMensal, IncomingTransfersOfCode62StayOutButItsExitsCount)
{
    lancar(QDate(2024, 3, 10), 50000, 62, QStringLiteral("Outras Entradas"));
    lancar(QDate(2024, 3, 10), -4000, 62, QStringLiteral("Outras Saídas"));
    lancar(QDate(2024, 3, 11), 10000, 21, QStringLiteral("Patrimoniais"), QStringLiteral("Previsão aluguel"));
    frmOrcamento& f = janela();
    EXPECT_EQ(coluna(f.flxEntradas, 0), QStringList{"Aluguéis Recebidos"});
    EXPECT_EQ(coluna(f.flxSaidas, 0), QStringList{"Outras Saídas"});
    EXPECT_EQ(totais(), (QStringList{"-40,00", "100,00", "60,00"}));
}

TEST_F(ResumoMensal, DeleteKeyLeavesARowOutUntilTheNextRefresh)
{
    mesTipico();
    frmOrcamento& f = janela();
    f.flxSaidas->setRow(2);
    tecla(f.flxSaidas, Qt::Key_Delete);
    EXPECT_EQ(coluna(f.flxSaidas, 0), QStringList{"Moradia"});
    EXPECT_EQ(totais(), (QStringList{"-1.500,00", "2.000,00", "500,00"}));

    // The only row of the entries grid: back to the header alone.
    f.flxEntradas->setRow(1);
    tecla(f.flxEntradas, Qt::Key_Delete);
    EXPECT_EQ(f.flxEntradas->Rows(), 1);
    EXPECT_EQ(f.flxEntradas->TextMatrix(0, 0), QStringLiteral("ENTRADA"));
    EXPECT_EQ(totais(), (QStringList{"-1.500,00", "0,00", "-1.500,00"}));
    // Nothing left to take out.
    tecla(f.flxEntradas, Qt::Key_Delete);
    EXPECT_EQ(f.txtTotalEntradas->text(), QStringLiteral("0,00"));
    EXPECT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM Lancamentos")).toInt(), 4);

    f.imgAumenta_Click();
    f.imgDiminui_Click();
    EXPECT_EQ(f.flxSaidas->Rows(), 3);
    EXPECT_EQ(totais(), (QStringList{"-1.800,00", "2.000,00", "200,00"}));

    // A month's sum past the largest typed amount is taken out exactly too.
    lancar(QDate(2024, 3, 2), -999'999'999'999'999, 8, QStringLiteral("Saúde"));
    lancar(QDate(2024, 3, 3), -999'999'999'999'999, 8, QStringLiteral("Saúde"));
    f.imgAumenta_Click();
    f.imgDiminui_Click();
    ASSERT_EQ(linha(f.flxSaidas, 1), (QStringList{"Saúde", "-19.999.999.999.999,98"}));
    EXPECT_EQ(totais(), (QStringList{"-20.000.000.001.799,98", "2.000,00", "-19.999.999.999.799,98"}));
    f.flxSaidas->setRow(1);
    tecla(f.flxSaidas, Qt::Key_Delete);
    EXPECT_EQ(totais(), (QStringList{"-1.800,00", "2.000,00", "200,00"}));
}

TEST_F(ResumoMensal, EscapeIsNoKeyOfTheWindow)
{
    frmOrcamento& f = janela();
    const std::vector<QWidget*> alvos = {f.flxSaidas, f.flxEntradas, &f};
    for (QWidget* w : alvos)
        tecla(w, Qt::Key_Escape);
    EXPECT_TRUE(f.isLoaded());
}

TEST_F(ResumoMensal, MonthWithoutExitsInAnAccountWithEntriesShowsHeadersOnly)
{
    mesTipico();
    frmOrcamento& f = janela();
    f.imgAumenta_Click();
    EXPECT_EQ(f.txtData->text(), QStringLiteral("ABRIL - 2024"));
    EXPECT_EQ(f.flxSaidas->Rows(), 1);
    EXPECT_EQ(f.flxEntradas->Rows(), 1);
    EXPECT_EQ(totais(), (QStringList{"0,00", "0,00", "0,00"}));
}

TEST_F(ResumoMensal, BackFromJanuaryShowsDecemberOfTheYearBefore)
{
    platform::setToday(QDate(2024, 1, 31));
    frmOrcamento& f = janela();
    f.imgDiminui_Click();
    EXPECT_EQ(f.txtData->text(), QStringLiteral("DEZEMBRO - 2023"));
}

TEST_F(ResumoMensal, EntryOfAnUnknownCodeIsNamedByItsNumber)
{
    lancar(QDate(2024, 3, 10), 1234, 777, QStringLiteral("Outras Entradas"));
    EXPECT_EQ(linha(janela().flxEntradas, 1), (QStringList{"777", "12,34"}));
}
