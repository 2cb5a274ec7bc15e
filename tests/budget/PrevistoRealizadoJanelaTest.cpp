// Planned versus actual: the month's rows, differences, totals, face,
// month arrows, deleting a watched line and opening the editor.
#include "PrevistoRealizadoFixture.h"
#include "budget/frmPreXReal.h"
#include "budget/frmPrevRel.h"
#include "platform/MsgBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using previstotest::PrevistoFixture;
using testsupport::ModalHook;

namespace {

class PreXReal : public PrevistoFixture {
protected:
    static frmPreXReal& janela() { return platform::Forms::get<frmPreXReal>(); }

    static QStringList totais()
    {
        frmPreXReal& f = janela();
        return {f.txtTotalPrev->text(), f.txtTotalReal->text(), f.txtTotalDiferenca->text(),
                f.txtTotalDifPerc->text()};
    }

    // Which face shows: "igual", "negativo", "positivo"; each refresh shows
    // exactly one.
    static QString rosto()
    {
        frmPreXReal& f = janela();
        QStringList visiveis;
        if (!f.imgIgual->isHidden())
            visiveis << QStringLiteral("igual");
        if (!f.imgNegativo->isHidden())
            visiveis << QStringLiteral("negativo");
        if (!f.imgPositivo->isHidden())
            visiveis << QStringLiteral("positivo");
        return visiveis.join(QLatin1Char('+'));
    }
};

} // namespace

TEST_F(PreXReal, EmptyWatchListShowsHeaderZeroTotalsAndTheEvenFace)
{
    frmPreXReal& f = janela();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Previsto X Realizado"));
    EXPECT_EQ(f.txtData->text(), QStringLiteral("MARÇO - 2024"));
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
    EXPECT_EQ(f.flxConsulta->TextMatrix(0, 0), QStringLiteral("ID"));
    EXPECT_EQ(f.flxConsulta->TextMatrix(0, 5), QStringLiteral("DIFERENÇA     %"));
    EXPECT_EQ(totais(), (QStringList{"0,00", "0,00", "0,00", "0"}));
    EXPECT_EQ(rosto(), QStringLiteral("igual"));
}

TEST_F(PreXReal, RowComparesPlannedWithTheMonthsEntries)
{
    struct Caso {
        const char* nome;
        std::vector<data::Centavos> lancamentos;
        QStringList esperado;  // REALIZADO, DIFERENÇA R$, DIFERENÇA %
    };
    const std::vector<Caso> casos = {
        {"more spent", {-10000, -5000}, {"150,00", "50,00", "50,00%"}},
        {"as planned", {-10000}, {"100,00", "0,00", "0,00"}},
        {"expense and refund", {-10000, 10000}, {"0,00", "-100,00", "-100,00%"}},
        {"only incoming", {3000}, {"-30,00", "-130,00", "-130,00%"}},
        {"nothing in the month", {}, {"0,00", "0,00", "0,00"}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ConexaoBanco.exec(QStringLiteral("DELETE FROM Lancamentos; DELETE FROM PrevistoRealizado"));
        data::savePrevisto(ConexaoBanco, 7, 10000);
        for (data::Centavos v : c.lancamentos)
            lancar(QDate(2024, 3, 10), v, 7);
        janela().Atualiza();
        ASSERT_EQ(janela().flxConsulta->Rows(), 2);
        EXPECT_EQ(linha(janela().flxConsulta, 1),
                  QStringList({"007", "Supermercado", "100,00"}) + c.esperado);
    }
}

TEST_F(PreXReal, TotalsSumEveryRowAndTheUnspentPlanCountsInTheDifference)
{
    data::savePrevisto(ConexaoBanco, 7, 100000);  // spent 1.200,00
    data::savePrevisto(ConexaoBanco, 8, 20000);   // nothing this month
    lancar(QDate(2024, 3, 5), -120000, 7);
    janela().Atualiza();
    EXPECT_EQ(coluna(janela().flxConsulta, 1), (QStringList{"Supermercado", "Farmácia"}));
    // 1.200,00 - 1.200,00 planned.
    EXPECT_EQ(totais(), (QStringList{"1.200,00", "1.200,00", "0,00", "0,00%"}));
    EXPECT_EQ(rosto(), QStringLiteral("igual"));
    EXPECT_EQ(janela().flxConsulta->cellBackColor(1, 3), QColor(243, 243, 243));
    EXPECT_EQ(janela().flxConsulta->cellBackColor(2, 5), QColor(174, 202, 222));
}

TEST_F(PreXReal, MonthIncludesItsFirstAndLastDayOnly)
{
    data::savePrevisto(ConexaoBanco, 7, 0);
    lancar(QDate(2024, 1, 31), -1, 7);
    lancar(QDate(2024, 2, 1), -10, 7);
    lancar(QDate(2024, 2, 29), -100, 7);  // leap year
    lancar(QDate(2024, 3, 1), -1000, 7);
    frmPreXReal& f = janela();
    f.imgDiminui_Click();
    EXPECT_EQ(f.txtData->text(), QStringLiteral("FEVEREIRO - 2024"));
    EXPECT_EQ(f.flxConsulta->TextMatrix(1, 3), QStringLiteral("1,10"));
}

TEST_F(PreXReal, ForecastEntriesCountLikeAnyOther)
{
    data::savePrevisto(ConexaoBanco, 7, 10000);
    lancar(QDate(2024, 3, 20), -4000, 7, QStringLiteral("Alimentação"), QStringLiteral("Previsão Mercado Parc. 1 de 12"));
    lancar(QDate(2024, 3, 2), -1000, 7);
    janela().Atualiza();
    EXPECT_EQ(janela().flxConsulta->TextMatrix(1, 3), QStringLiteral("50,00"));
}

TEST_F(PreXReal, FaceFollowsTheShownTotalPercentage)
{
    struct Caso {
        data::Centavos gasto;
        const char* percentual;
        const char* rosto;
    };
    const Caso casos[] = {
        {-10500, "5,00%", "igual"},   {-10501, "5,01%", "negativo"}, {-9999, "-0,01%", "positivo"},
        {-10000, "0,00%", "igual"},   {-200000, "1.900,00%", "negativo"},
    };
    data::savePrevisto(ConexaoBanco, 7, 10000);
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.percentual);
        ConexaoBanco.exec(QStringLiteral("DELETE FROM Lancamentos"));
        lancar(QDate(2024, 3, 15), c.gasto, 7);
        janela().Atualiza();
        EXPECT_EQ(janela().txtTotalDifPerc->text(), QString::fromUtf8(c.percentual));
        EXPECT_EQ(rosto(), QString::fromUtf8(c.rosto));
    }
}

TEST_F(PreXReal, ZeroPlanShowsNoPercentageInsteadOfDividingByZero)
{
    data::savePrevisto(ConexaoBanco, 9, 0);
    lancar(QDate(2024, 3, 15), -5000, 9);
    janela().Atualiza();
    frmPreXReal& f = janela();
    EXPECT_EQ(linha(f.flxConsulta, 1), (QStringList{"009", "Aluguel", "0,00", "50,00", "50,00", "—"}));
    EXPECT_EQ(totais(), (QStringList{"0,00", "50,00", "50,00", "—"}));
    EXPECT_EQ(rosto(), QStringLiteral("negativo"));

    // A refund over a plan of zero is below the plan.
    ConexaoBanco.exec(QStringLiteral("DELETE FROM Lancamentos"));
    lancar(QDate(2024, 3, 15), 5000, 9);
    f.Atualiza();
    EXPECT_EQ(f.txtTotalDifPerc->text(), QStringLiteral("—"));
    EXPECT_EQ(rosto(), QStringLiteral("positivo"));
}

TEST_F(PreXReal, ArrowsStepMonthsAcrossTheYearEnd)
{
    platform::setToday(QDate(2026, 12, 31));
    frmPreXReal& f = janela();
    EXPECT_EQ(f.txtData->text(), QStringLiteral("DEZEMBRO - 2026"));
    f.imgAumenta_Click();
    EXPECT_EQ(f.txtData->text(), QStringLiteral("JANEIRO - 2027"));
    EXPECT_EQ(f.txtData->property("Tag").toString(), QStringLiteral("01/01/2027"));
    f.imgDiminui_Click();
    f.imgDiminui_Click();
    EXPECT_EQ(f.txtData->text(), QStringLiteral("NOVEMBRO - 2026"));
}

TEST_F(PreXReal, ArrowRefreshesTheRowsForTheNewMonth)
{
    data::savePrevisto(ConexaoBanco, 7, 10000);
    lancar(QDate(2024, 4, 1), -2500, 7);
    frmPreXReal& f = janela();
    EXPECT_EQ(f.flxConsulta->TextMatrix(1, 3), QStringLiteral("0,00"));
    f.imgAumenta_Click();
    EXPECT_EQ(f.flxConsulta->TextMatrix(1, 3), QStringLiteral("25,00"));
}

TEST_F(PreXReal, DeleteKeyAsksAndRemovesOnlyTheWatchedLine)
{
    data::savePrevisto(ConexaoBanco, 7, 15050);
    data::savePrevisto(ConexaoBanco, 8, 2000);
    const std::int64_t entrada = lancar(QDate(2024, 3, 3), -1000, 7);
    frmPreXReal& f = janela();
    f.flxConsulta->setRow(1);

    rec.answer(platform::vbNo);
    tecla(f.flxConsulta, Qt::Key_Delete);
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(rec.last().text, QStringLiteral("Deseja realmente excluir o registro?") + QChar(13) +
                                   QStringLiteral("Supermercado R$ 150,50"));
    EXPECT_EQ(rec.last().title, QStringLiteral("Confirmação"));
    EXPECT_EQ(rec.last().icon(), platform::vbQuestion);
    EXPECT_TRUE(rec.last().defaultSecond());
    EXPECT_EQ(vigiadas().size(), 2u);

    rec.answer(platform::vbYes);
    tecla(f.flxConsulta, Qt::Key_Delete);
    EXPECT_EQ(vigiadas(), (std::map<std::int64_t, data::Centavos>{{8, 2000}}));
    EXPECT_EQ(coluna(f.flxConsulta, 1), QStringList{"Farmácia"});
    EXPECT_TRUE(data::findLancamento(ConexaoBanco, entrada).has_value());
}

TEST_F(PreXReal, AfterARefreshTheLastLineIsTheCurrentOne)
{
    data::savePrevisto(ConexaoBanco, 7, 15050);
    data::savePrevisto(ConexaoBanco, 8, 2000);
    frmPreXReal& f = janela();
    EXPECT_EQ(f.flxConsulta->Row(), 2);

    rec.answer(platform::vbNo);
    tecla(f.flxConsulta, Qt::Key_Delete);
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_TRUE(rec.last().text.endsWith(QStringLiteral("Farmácia R$ 20,00")));

    f.imgAumenta_Click();
    EXPECT_EQ(f.flxConsulta->Row(), 2);
}

TEST_F(PreXReal, HeaderRowOfAnEmptyListIsNoLine)
{
    frmPreXReal& f = janela();
    ModalHook hook;
    tecla(f.flxConsulta, Qt::Key_Delete);
    f.flxConsulta_DblClick();
    EXPECT_TRUE(rec.calls.empty());
    EXPECT_TRUE(hook.shown.empty());
}

TEST_F(PreXReal, DoubleClickPresetsTheEditorAndClosingItRefreshes)
{
    data::savePrevisto(ConexaoBanco, 7, 123456);
    frmPreXReal& f = janela();
    f.flxConsulta->setRow(1);
    ModalHook hook;
    QStringList preset;
    hook.on<frmPrevRel>([&](frmPrevRel& e) {
        preset = {e.lblCodigo->text(), e.lblDespesa->text(), e.txtValor->text()};
        e.txtValor->setText(QStringLiteral("80,5"));
        e.cmdLancar_Click();
        // The planned-versus-actual grid waits for the editor to close.
        EXPECT_EQ(f.flxConsulta->TextMatrix(1, 2), QStringLiteral("1.234,56"));
        e.Unload();
    });
    f.flxConsulta_DblClick();
    EXPECT_EQ(preset, (QStringList{"007", "Supermercado", "1.234,56"}));
    EXPECT_EQ(linhasDoCodigo(7), 1);
    EXPECT_EQ(f.flxConsulta->TextMatrix(1, 2), QStringLiteral("80,50"));
    EXPECT_EQ(f.txtTotalPrev->text(), QStringLiteral("80,50"));
}

TEST_F(PreXReal, ButtonOpensAnEmptyEditor)
{
    frmPreXReal& f = janela();
    ModalHook hook;
    QStringList linhaVazia;
    hook.on<frmPrevRel>([&](frmPrevRel& e) {
        linhaVazia = {e.lblCodigo->text(), e.lblDespesa->text(), e.txtValor->text()};
        e.Unload();
    });
    f.cmdLancarPrev->click();
    ASSERT_EQ(hook.shown.size(), 1u);
    EXPECT_EQ(hook.shown[0], QStringLiteral("frmPrevRel"));
    EXPECT_EQ(linhaVazia, (QStringList{"", "", ""}));
}

TEST_F(PreXReal, HelpExplainsTheComparison)
{
    janela().imgHelpPrevRel_Click();
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(rec.last().title, QStringLiteral("Previsto e Realizado - Vo$sal"));
    EXPECT_EQ(rec.last().icon(), platform::vbInformation);
    EXPECT_TRUE(rec.last().text.startsWith(QStringLiteral("O ''Previsto e Realizado'' é um controle bem simples:") +
                                           QChar(13)));
    EXPECT_TRUE(rec.last().text.endsWith(QStringLiteral("inclusive aqueles lançados como ''Previsão''.")));
}
