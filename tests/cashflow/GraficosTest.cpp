// The numbers of the four charts, without drawing them.
#include "GraficosFixture.h"
#include "cashflow/Graficos.h"
#include "platform/formats.h"

#include <cmath>

using cashflow::ClassificacaoEscolhida;
using cashflow::Periodo;

namespace {

class GraficosNumeros : public GraficosFixture {
protected:
    static ClassificacaoEscolhida escolha(const QString& nome)
    {
        return {QString::number(codigo(nome)), nome};
    }

    static std::vector<double> coluna(const cashflow::TabelaGrafico& t, int c)
    {
        std::vector<double> out;
        for (const auto& linha : t.valores)
            out.push_back(linha[size_t(c)]);
        return out;
    }
};

const QDate d(int dia, int mes, int ano) { return QDate(ano, mes, dia); }

} // namespace

// --- Monthly totals of one classification ----------------------------------

TEST_F(GraficosNumeros, ProjectionHasABarOnlyForMonthsWithEntries)
{
    lancar(QStringLiteral("Supermercado"), -10000, d(5, 3, 2024));
    lancar(QStringLiteral("Supermercado"), -25000, d(20, 3, 2024));
    lancar(QStringLiteral("Supermercado"), -5050, d(9, 5, 2024));
    lancar(QStringLiteral("Padaria"), -999, d(10, 4, 2024));

    const auto t = cashflow::projecaoLancamentos(ConexaoBanco, Periodo(d(1, 1, 2024), d(31, 12, 2024)),
                                                 escolha(QStringLiteral("Supermercado")));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->linhas, (QStringList{QStringLiteral("março"), QStringLiteral("maio")}));
    EXPECT_EQ(t->colunas, QStringList{QStringLiteral("Supermercado")});
    EXPECT_EQ(coluna(*t, 0), (std::vector<double>{350.0, 50.5}));
    EXPECT_TRUE(t->legenda);
}

TEST_F(GraficosNumeros, ProjectionDrawsIncomesUpwardsAndKeepsAMonthThatCancelsOut)
{
    lancar(QStringLiteral("Salário"), 120000, d(5, 2, 2024));
    lancar(QStringLiteral("Salário"), 5000, d(5, 3, 2024));
    lancar(QStringLiteral("Salário"), -5000, d(6, 3, 2024));

    const auto t = cashflow::projecaoLancamentos(ConexaoBanco, Periodo(d(1, 1, 2024), d(31, 12, 2024)),
                                                 escolha(QStringLiteral("Salário")));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->linhas, (QStringList{QStringLiteral("fevereiro"), QStringLiteral("março")}));
    EXPECT_EQ(coluna(*t, 0), (std::vector<double>{1200.0, 0.0}));
}

TEST_F(GraficosNumeros, ProjectionOverMoreThanAYearNamesAMonthTwiceInCalendarOrder)
{
    lancar(QStringLiteral("Aluguel"), -100000, d(10, 2, 2024));
    lancar(QStringLiteral("Aluguel"), -110000, d(10, 2, 2023));
    lancar(QStringLiteral("Aluguel"), -105000, d(10, 11, 2023));

    const auto t = cashflow::projecaoLancamentos(ConexaoBanco, Periodo(d(1, 1, 2023), d(31, 12, 2024)),
                                                 escolha(QStringLiteral("Aluguel")));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->linhas, (QStringList{QStringLiteral("fevereiro"), QStringLiteral("novembro"),
                                      QStringLiteral("fevereiro")}));
    EXPECT_EQ(coluna(*t, 0), (std::vector<double>{1100.0, 1050.0, 1000.0}));
}

TEST_F(GraficosNumeros, PeriodBoundsAreIncludedAndAReversedPeriodReadsTheSame)
{
    lancar(QStringLiteral("Farmácia"), -1000, d(31, 1, 2024));
    lancar(QStringLiteral("Farmácia"), -2000, d(1, 3, 2024));
    lancar(QStringLiteral("Farmácia"), -4000, d(31, 3, 2024));
    lancar(QStringLiteral("Farmácia"), -8000, d(1, 4, 2024));

    for (const Periodo& p : {Periodo(d(1, 3, 2024), d(31, 3, 2024)), Periodo(d(31, 3, 2024), d(1, 3, 2024))}) {
        const auto t = cashflow::projecaoLancamentos(ConexaoBanco, p, escolha(QStringLiteral("Farmácia")));
        ASSERT_TRUE(t);
        EXPECT_EQ(t->linhas, QStringList{QStringLiteral("março")});
        EXPECT_EQ(coluna(*t, 0), std::vector<double>{60.0});
    }
}

// --- Comparison of up to three classifications -------------------------------

TEST_F(GraficosNumeros, ComparisonPlacesEachMonthByItsNumberAndLeavesEmptyPickersAtZero)
{
    lancar(QStringLiteral("Padaria"), -35040, d(10, 3, 2023));
    lancar(QStringLiteral("Padaria"), -1000, d(10, 5, 2023));
    lancar(QStringLiteral("Padaria"), 1000, d(20, 5, 2023));

    const auto t = cashflow::comparacaoLancamentos(
        ConexaoBanco, 2023, {ClassificacaoEscolhida{}, escolha(QStringLiteral("Padaria")), ClassificacaoEscolhida{}});
    ASSERT_EQ(t.rowCount(), 12);
    EXPECT_EQ(t.linhas.front(), QStringLiteral("janeiro"));
    EXPECT_EQ(t.linhas.back(), QStringLiteral("dezembro"));
    EXPECT_EQ(t.colunas, (QStringList{QString(), QStringLiteral("Padaria"), QString()}));
    std::vector<double> esperado(12, 0.0);
    esperado[2] = 350.40;
    EXPECT_EQ(coluna(t, 1), esperado);
    EXPECT_EQ(coluna(t, 0), std::vector<double>(12, 0.0));
    EXPECT_EQ(coluna(t, 2), std::vector<double>(12, 0.0));
}

TEST_F(GraficosNumeros, ComparisonOfTheSameClassificationTwiceGivesTwoEqualSeries)
{
    lancar(QStringLiteral("Gás"), -9000, d(1, 7, 2023));
    const auto gas = escolha(QStringLiteral("Gás"));
    const auto t = cashflow::comparacaoLancamentos(ConexaoBanco, 2023, {gas, ClassificacaoEscolhida{}, gas});
    EXPECT_EQ(coluna(t, 0), coluna(t, 2));
    EXPECT_EQ(t.colunas[0], t.colunas[2]);
    EXPECT_EQ(t.valores[6][0], 90.0);
}

TEST_F(GraficosNumeros, ComparisonCountsTheLastDayOfTheYearOnly)
{
    lancar(QStringLiteral("Internet"), -10000, d(31, 12, 2023));
    lancar(QStringLiteral("Internet"), -20000, d(1, 1, 2024));
    lancar(QStringLiteral("Internet"), -40000, d(31, 12, 2022));
    const auto t = cashflow::comparacaoLancamentos(
        ConexaoBanco, 2023, {escolha(QStringLiteral("Internet")), ClassificacaoEscolhida{}, ClassificacaoEscolhida{}});
    std::vector<double> esperado(12, 0.0);
    esperado[11] = 100.0;
    EXPECT_EQ(coluna(t, 0), esperado);
}

TEST_F(GraficosNumeros, AnEmptyPickerFindsNoEntryStoredWithoutAClassification)
{
    data::Lancamento semClasse;
    semClasse.dataVen = d(3, 4, 2023);
    semClasse.valor = -5000;
    semClasse.tipo = data::kTipoSaida;
    semClasse.despesa = QString();
    data::addLancamento(ConexaoBanco, semClasse);

    const auto t = cashflow::comparacaoLancamentos(ConexaoBanco, 2023, {});
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(coluna(t, c), std::vector<double>(12, 0.0));
        EXPECT_TRUE(t.colunas[c].isEmpty());
    }
}

// --- Monthly entries against exits ------------------------------------------

TEST_F(GraficosNumeros, EntriesAndExitsGiveARowPerMonthWithEntries)
{
    lancar(QStringLiteral("Supermercado"), -30000, d(10, 1, 2024));
    lancar(QStringLiteral("Salário"), 500000, d(5, 1, 2024));
    lancar(QStringLiteral("Salário"), 500000, d(5, 2, 2024));
    lancar(QStringLiteral("Padaria"), -1250, d(7, 3, 2024));
    lancar(QStringLiteral("Supermercado"), -10000, d(8, 3, 2024));

    const auto t = cashflow::entradasSaidas(ConexaoBanco, Periodo(d(1, 1, 2024), d(31, 3, 2024)));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->linhas, (QStringList{QStringLiteral("janeiro"), QStringLiteral("fevereiro"), QStringLiteral("março")}));
    EXPECT_EQ(t->colunas, (QStringList{QStringLiteral("Saída"), QStringLiteral("Entrada")}));
    EXPECT_EQ(coluna(*t, 0), (std::vector<double>{300.0, 0.0, 112.5}));
    EXPECT_EQ(coluna(*t, 1), (std::vector<double>{5000.0, 5000.0, 0.0}));
}

TEST_F(GraficosNumeros, EntriesAndExitsLeaveTheLabelOfAnEmptySideBlank)
{
    lancar(QStringLiteral("Salário"), 100000, d(5, 1, 2024));
    lancar(QStringLiteral("Salário"), 0, d(5, 2, 2024));

    const auto t = cashflow::entradasSaidas(ConexaoBanco, Periodo(d(1, 1, 2024), d(31, 3, 2024)));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->linhas, (QStringList{QStringLiteral("janeiro"), QStringLiteral("fevereiro")}));
    EXPECT_EQ(t->colunas, (QStringList{QString(), QStringLiteral("Entrada")}));
    EXPECT_EQ(coluna(*t, 0), (std::vector<double>{0.0, 0.0}));
    EXPECT_EQ(coluna(*t, 1), (std::vector<double>{1000.0, 0.0}));
}

TEST_F(GraficosNumeros, EntriesAndExitsAcrossAYearEndCountOnlyTheDaysOfThePeriod)
{
    for (const QDate& dia : {d(14, 11, 2025), d(15, 11, 2025), d(10, 12, 2025), d(10, 1, 2026), d(15, 2, 2026),
                             d(16, 2, 2026)})
        lancar(QStringLiteral("Padaria"), -1000, dia);

    const auto t = cashflow::entradasSaidas(ConexaoBanco, Periodo(d(15, 11, 2025), d(15, 2, 2026)));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->linhas, (QStringList{QStringLiteral("novembro"), QStringLiteral("dezembro"), QStringLiteral("janeiro"),
                                      QStringLiteral("fevereiro")}));
    EXPECT_EQ(coluna(*t, 0), (std::vector<double>{10.0, 10.0, 10.0, 10.0}));
    EXPECT_FALSE(cashflow::entradasSaidas(ConexaoBanco, Periodo(d(1, 1, 2030), d(31, 1, 2030))));
}

// --- Exits by account group ---------------------------------------------------

TEST_F(GraficosNumeros, GroupsAreListedLargestFirstWithTheirShares)
{
    lancar(QStringLiteral("Supermercado"), -30000, d(10, 3, 2024));
    lancar(QStringLiteral("Aluguel"), -50000, d(5, 3, 2024));
    lancar(QStringLiteral("Gás"), -10000, d(6, 3, 2024));
    lancar(QStringLiteral("Viagens"), -10000, d(7, 3, 2024));
    lancar(QStringLiteral("Saque"), -99900, d(8, 3, 2024));
    lancar(QStringLiteral("Salário"), 500000, d(5, 3, 2024));

    const auto g = cashflow::despesasPorGrupo(ConexaoBanco, Periodo(d(1, 3, 2024), d(31, 3, 2024)));
    ASSERT_TRUE(g);
    ASSERT_EQ(g->grupos.size(), 3u);
    EXPECT_EQ(g->grupos[0].conta, QStringLiteral("Moradia"));
    EXPECT_EQ(g->grupos[0].total, -60000);
    EXPECT_DOUBLE_EQ(g->grupos[0].percentual, 60.0);
    EXPECT_EQ(g->grupos[1].conta, QStringLiteral("Alimentação"));
    EXPECT_DOUBLE_EQ(g->grupos[1].percentual, 30.0);
    EXPECT_EQ(g->grupos[2].conta, QStringLiteral("Lazer"));
    EXPECT_DOUBLE_EQ(g->grupos[2].percentual, 10.0);
    EXPECT_EQ(g->total, -100000);
    EXPECT_DOUBLE_EQ(g->somaPercentuais, 100.0);

    ASSERT_EQ(g->grafico.rowCount(), 12);
    EXPECT_FALSE(g->grafico.legenda);
    EXPECT_EQ(g->grafico.linhas.mid(0, 5), (QStringList{QStringLiteral("Moradia"), QStringLiteral("Alimentação"),
                                                        QStringLiteral("Lazer"), QStringLiteral("4"),
                                                        QStringLiteral("5")}));
    EXPECT_EQ(g->grafico.linhas.back(), QStringLiteral("12"));
    EXPECT_DOUBLE_EQ(g->grafico.valores[0][0], 60.0);
    EXPECT_EQ(g->grafico.valores[3][0], 0.0);
}

TEST_F(GraficosNumeros, GroupsLeaveOutTheCatchAllIncomesAndEntriesWithoutAGroup)
{
    lancar(QStringLiteral("Saque"), -10000, d(10, 3, 2024));
    lancar(QStringLiteral("Saída Não Classificada"), -10000, d(10, 3, 2024));
    lancar(QStringLiteral("Salário"), 10000, d(10, 3, 2024));
    data::Lancamento semGrupo;
    semGrupo.dataVen = d(11, 3, 2024);
    semGrupo.valor = -7000;
    semGrupo.tipo = data::kTipoSaida;
    data::addLancamento(ConexaoBanco, semGrupo);

    EXPECT_FALSE(cashflow::despesasPorGrupo(ConexaoBanco, Periodo(d(1, 3, 2024), d(31, 3, 2024))));
}

TEST_F(GraficosNumeros, AGroupNameIsCutToEighteenCharactersUnderItsBar)
{
    lancar(QStringLiteral("IPTU"), -10000, d(10, 3, 2024));
    const auto g = cashflow::despesasPorGrupo(ConexaoBanco, Periodo(d(1, 3, 2024), d(31, 3, 2024)));
    ASSERT_TRUE(g);
    EXPECT_EQ(g->grupos[0].conta, QStringLiteral("Impostos / Taxas / Contribuições"));
    EXPECT_EQ(g->grafico.linhas[0], QStringLiteral("Impostos / Taxas /"));
}

TEST_F(GraficosNumeros, ThreeEqualThirdsAddUpToAHundredPercent)
{
    lancar(QStringLiteral("Padaria"), -10000, d(10, 3, 2024));
    lancar(QStringLiteral("Gás"), -10000, d(10, 3, 2024));
    lancar(QStringLiteral("Juros"), -10000, d(31, 3, 2024));
    lancar(QStringLiteral("Juros"), -10000, d(1, 4, 2024));

    const auto g = cashflow::despesasPorGrupo(ConexaoBanco, Periodo(d(1, 3, 2024), d(31, 3, 2024)));
    ASSERT_TRUE(g);
    ASSERT_EQ(g->grupos.size(), 3u);
    for (const auto& grupo : g->grupos)
        EXPECT_EQ(platform::formatNumber(grupo.percentual, QStringLiteral("#,##0.00")), QStringLiteral("33,33"));
    EXPECT_EQ(platform::formatNumber(g->somaPercentuais, QStringLiteral("0")), QStringLiteral("100"));
    EXPECT_EQ(g->total, -30000);
}

TEST_F(GraficosNumeros, ExitsThatAddUpToZeroGiveZeroSharesInsteadOfDividingByZero)
{
    lancar(QStringLiteral("Padaria"), 0, d(10, 3, 2024));
    lancar(QStringLiteral("Aluguel"), 0, d(11, 3, 2024));

    const auto g = cashflow::despesasPorGrupo(ConexaoBanco, Periodo(d(1, 3, 2024), d(31, 3, 2024)));
    ASSERT_TRUE(g);
    ASSERT_EQ(g->grupos.size(), 2u);
    for (const auto& grupo : g->grupos)
        EXPECT_EQ(grupo.percentual, 0.0);
    EXPECT_EQ(g->somaPercentuais, 0.0);
    for (const auto& linha : g->grafico.valores)
        EXPECT_FALSE(std::isnan(linha[0]));
}

TEST_F(GraficosNumeros, MoreThanTwelveGroupsAreAllShown)
{
    // Outgoing entries filed under group names the outgoing side does not
    // use, as an import or an older file may hold them.
    const QStringList extras{QStringLiteral("Patrimoniais"), QStringLiteral("Trabalho")};
    int dia = 1;
    for (const QString& grupo : data::gruposDoLado(data::kDespesaSaida) + extras) {
        if (grupo == QStringLiteral("Outras Saídas"))
            continue;
        data::Lancamento l;
        l.dataVen = d(dia++, 3, 2024);
        l.valor = -1000 * dia;
        l.tipo = data::kTipoSaida;
        l.conta = grupo;
        data::addLancamento(ConexaoBanco, l);
    }
    const auto g = cashflow::despesasPorGrupo(ConexaoBanco, Periodo(d(1, 3, 2024), d(31, 3, 2024)));
    ASSERT_TRUE(g);
    EXPECT_EQ(g->grupos.size(), 14u);
    EXPECT_EQ(g->grafico.rowCount(), 14);
    EXPECT_NEAR(g->somaPercentuais, 100.0, 1e-9);
}
