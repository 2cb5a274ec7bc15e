// The watch list's table access: one row per code, the copy that only adds,
// and the month's sum of a code.
#include "PrevistoRealizadoFixture.h"

using previstotest::PrevistoFixture;

namespace {
class TabelaPrevisto : public PrevistoFixture {};
} // namespace

TEST_F(TabelaPrevisto, WritingAWatchedCodeOverwritesItsOneRow)
{
    data::savePrevisto(ConexaoBanco, 7, 8000);
    data::savePrevisto(ConexaoBanco, 7, 15000);
    EXPECT_EQ(linhasDoCodigo(7), 1);
    EXPECT_EQ(data::previstoDe(ConexaoBanco, 7), std::optional<data::Centavos>(15000));
    EXPECT_FALSE(data::previstoDe(ConexaoBanco, 8).has_value());
}

TEST_F(TabelaPrevisto, AddingOnlyWhenAbsentKeepsAWatchedValue)
{
    data::savePrevisto(ConexaoBanco, 7, 8000);
    EXPECT_FALSE(data::addPrevistoIfMissing(ConexaoBanco, 7, 15000));
    EXPECT_TRUE(data::addPrevistoIfMissing(ConexaoBanco, 9, 120000));
    EXPECT_FALSE(data::addPrevistoIfMissing(ConexaoBanco, 9, 1));
    EXPECT_EQ(vigiadas(), (std::map<std::int64_t, data::Centavos>{{7, 8000}, {9, 120000}}));
}

TEST_F(TabelaPrevisto, ListKeepsTheOrderOfAddingAndNamesEachCode)
{
    data::savePrevisto(ConexaoBanco, 9, 100);
    data::savePrevisto(ConexaoBanco, 7, 200);
    data::savePrevisto(ConexaoBanco, 555, 300);  // a code the plan does not hold
    const auto lista = data::previstos(ConexaoBanco);
    ASSERT_EQ(lista.size(), 3u);
    EXPECT_EQ(lista[0].despesa, 9);
    EXPECT_EQ(lista[0].nome, QStringLiteral("Aluguel"));
    EXPECT_EQ(lista[1].nome, QStringLiteral("Supermercado"));
    EXPECT_EQ(lista[2].despesa, 555);
    EXPECT_EQ(lista[2].nome, QString());
    data::deletePrevisto(ConexaoBanco, 9);
    EXPECT_EQ(data::previstos(ConexaoBanco).size(), 2u);
}

TEST_F(TabelaPrevisto, PeriodSumTellsNoEntryFromASumOfZero)
{
    const QDate inicio(2024, 3, 1), fim(2024, 3, 31);
    EXPECT_FALSE(data::somasDoPeriodo(ConexaoBanco, inicio, fim).contains(QStringLiteral("7")));
    lancar(QDate(2024, 3, 1), -5000, 7);
    lancar(QDate(2024, 3, 31), 5000, 7);
    lancar(QDate(2024, 3, 10), -999, 70);  // "70" is not "7"
    EXPECT_EQ(data::somasDoPeriodo(ConexaoBanco, inicio, fim),
              (QHash<QString, data::Centavos>{{QStringLiteral("7"), 0}, {QStringLiteral("70"), -999}}));
    lancar(QDate(2024, 4, 1), -1, 7);
    EXPECT_EQ(data::somasDoPeriodo(ConexaoBanco, inicio, fim).value(QStringLiteral("7"), -1), 0);
}
