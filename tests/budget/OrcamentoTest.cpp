// The budget table and the yearly posting's dates and entries, without the
// window.
#include "OrcamentoFixture.h"
#include "budget/LancamentoAnual.h"
#include "data/Orcamento.h"

using orcamentotest::OrcamentoFixture;

namespace {

class OrcamentoTabela : public OrcamentoFixture {};

QDate d(int day, int month, int year) { return QDate(year, month, day); }

std::vector<QDate> vencimentos(const QDate& inicio, const QString& ocorre, int ano)
{
    std::vector<QDate> out;
    for (const auto& o : budget::ocorrenciasDoAno(inicio, ocorre, ano))
        out.push_back(o.vencimento);
    return out;
}

} // namespace

TEST(OrcamentoRecorrencias, OccurrencesAndMonthsOfTheSixTextsExactly)
{
    struct Caso {
        const char* texto;
        int ocorrencias;
        int meses;
    };
    const Caso casos[] = {
        {"Todo Mês", 12, 1},      {"Uma vez no ano", 1, 0}, {"A cada 2 meses", 6, 2}, {"A cada 3 meses", 4, 3},
        {"A cada 4 meses", 3, 4}, {"A cada 6 meses", 2, 6}, {"todo mês", 0, 0},       {"Todo Mes", 0, 0},
        {"", 0, 0},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(data::ocorrenciasPorAno(QString::fromUtf8(c.texto)), c.ocorrencias) << c.texto;
        EXPECT_EQ(data::mesesEntreOcorrencias(QString::fromUtf8(c.texto)), c.meses) << c.texto;
    }
    EXPECT_EQ(data::recorrencias(),
              (QStringList{QStringLiteral("Todo Mês"), QStringLiteral("Uma vez no ano"), QStringLiteral("A cada 2 meses"),
                           QStringLiteral("A cada 3 meses"), QStringLiteral("A cada 4 meses"),
                           QStringLiteral("A cada 6 meses")}));
}

TEST(OrcamentoOcorrencias, DueDatesRunTwelveMonthsFromTheStartAndClampToShortMonths)
{
    struct Caso {
        QDate inicio;
        const char* ocorre;
        int ano;
        std::vector<QDate> esperado;
    };
    const Caso casos[] = {
        {d(15, 3, 2020), "Todo Mês", 2026,
         {d(15, 3, 2026), d(15, 4, 2026), d(15, 5, 2026), d(15, 6, 2026), d(15, 7, 2026), d(15, 8, 2026),
          d(15, 9, 2026), d(15, 10, 2026), d(15, 11, 2026), d(15, 12, 2026), d(15, 1, 2027), d(15, 2, 2027)}},
        {d(31, 1, 2024), "A cada 3 meses", 2026, {d(31, 1, 2026), d(30, 4, 2026), d(30, 7, 2026), d(30, 10, 2026)}},
        {d(31, 8, 2024), "A cada 6 meses", 2026, {d(31, 8, 2026), d(28, 2, 2027)}},
        // A day lost to February is not regained.
        {d(31, 1, 2024), "Todo Mês", 2024,
         {d(31, 1, 2024), d(29, 2, 2024), d(29, 3, 2024), d(29, 4, 2024), d(29, 5, 2024), d(29, 6, 2024),
          d(29, 7, 2024), d(29, 8, 2024), d(29, 9, 2024), d(29, 10, 2024), d(29, 11, 2024), d(29, 12, 2024)}},
        // 29 February of a common year carries into March.
        {d(29, 2, 2024), "Uma vez no ano", 2027, {d(1, 3, 2027)}},
        {d(10, 11, 2024), "A cada 4 meses", 2025, {d(10, 11, 2025), d(10, 3, 2026), d(10, 7, 2026)}},
        {d(5, 1, 2024), "A cada 2 meses", 2025,
         {d(5, 1, 2025), d(5, 3, 2025), d(5, 5, 2025), d(5, 7, 2025), d(5, 9, 2025), d(5, 11, 2025)}},
        {d(5, 1, 2024), "Quinzenal", 2025, {}},
        {QDate(), "Todo Mês", 2025, {}},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(vencimentos(c.inicio, QString::fromUtf8(c.ocorre), c.ano), c.esperado) << c.ocorre << " " << c.ano;
}

TEST_F(OrcamentoTabela, SavingALineComputesTheYearlyTotalAndOverwritesTheClassificationsRow)
{
    const std::int64_t id = linha(10, QStringLiteral("A cada 3 meses"), 15000, d(5, 3, 2024));
    auto lido = data::linhasOrcamento(ConexaoBanco, data::OrdemLinhas::PorId);
    ASSERT_EQ(lido.size(), 1u);
    EXPECT_EQ(lido[0].valor, 15000);
    EXPECT_EQ(lido[0].totalAno, std::optional<data::Centavos>(60000));
    EXPECT_EQ(lido[0].data, d(5, 3, 2024));
    EXPECT_EQ(lido[0].nomeDespesa, QStringLiteral("Aluguel"));
    EXPECT_EQ(lido[0].conta, QStringLiteral("Moradia"));

    EXPECT_EQ(linha(10, QStringLiteral("Uma vez no ano"), 15000, d(5, 3, 2024)), id);
    lido = data::linhasOrcamento(ConexaoBanco, data::OrdemLinhas::PorId);
    ASSERT_EQ(lido.size(), 1u);
    EXPECT_EQ(lido[0].id, id);
    EXPECT_EQ(lido[0].totalAno, std::optional<data::Centavos>(15000));

    // A recurrence outside the six leaves no stale yearly value behind.
    linha(10, QStringLiteral("Quinzenal"), 15000, d(5, 3, 2024));
    lido = data::linhasOrcamento(ConexaoBanco, data::OrdemLinhas::PorId);
    EXPECT_FALSE(lido[0].totalAno.has_value());
    EXPECT_EQ(data::totalSaidasOrcamento(ConexaoBanco), 0);
}

TEST_F(OrcamentoTabela, LinesOfIncomingOrMissingClassificationsAndFixedRowsAreNoLines)
{
    linha(13, QStringLiteral("Todo Mês"), 15000, d(1, 1, 2024));
    linha(20, QStringLiteral("Todo Mês"), 99900, d(1, 1, 2024));
    linha(77, QStringLiteral("Uma vez no ano"), 5000, d(1, 1, 2024));
    linha(10, QStringLiteral("Uma vez no ano"), 100000, d(1, 1, 2024));
    const auto grade = data::linhasOrcamento(ConexaoBanco, data::OrdemLinhas::MaiorValorPrimeiro);
    ASSERT_EQ(grade.size(), 2u);
    EXPECT_EQ(grade[0].despesa, 10);  // largest value per occurrence first
    EXPECT_EQ(grade[1].despesa, 13);
    // The yearly exits count every row's total, the others included.
    EXPECT_EQ(data::totalSaidasOrcamento(ConexaoBanco), 180000 + 99900 * 12 + 5000 + 100000);
}

TEST_F(OrcamentoTabela, FixedRowsAreUpdatedButNeverAdded)
{
    EXPECT_EQ(data::totalEntradasOrcamento(ConexaoBanco), 0);
    EXPECT_TRUE(data::updateValorFixo(ConexaoBanco, data::kOrcamentoAdiantamento, 123456));
    EXPECT_TRUE(data::updateValorFixo(ConexaoBanco, data::kOrcamentoSalario, 6000000));
    EXPECT_EQ(data::valorFixo(ConexaoBanco, data::kOrcamentoSalario), std::optional<data::Centavos>(6000000));
    EXPECT_EQ(data::totalEntradasOrcamento(ConexaoBanco), 6123456);

    ConexaoBanco.exec(QStringLiteral("DELETE FROM Orcamento WHERE Despesa = 3000"));
    const qint64 antes = contar(QStringLiteral("Orcamento"));
    EXPECT_FALSE(data::updateValorFixo(ConexaoBanco, data::kOrcamentoOutrasEntradas, 500));
    EXPECT_FALSE(data::valorFixo(ConexaoBanco, data::kOrcamentoOutrasEntradas).has_value());
    EXPECT_EQ(contar(QStringLiteral("Orcamento")), antes);
    EXPECT_EQ(data::totalSaidasOrcamento(ConexaoBanco), 0);
}

TEST_F(OrcamentoTabela, PostingAMonthlyLineWritesTwelveForecastEntries)
{
    linha(13, QStringLiteral("Todo Mês"), 20000, d(15, 3, 2024), QStringLiteral("Compras do mês"));
    EXPECT_EQ(budget::lancarOrcamentoAnual(ConexaoBanco, 2026, today), 12);
    const auto l = lancamentos();
    ASSERT_EQ(l.size(), 12u);
    for (int k = 1; k <= 12; ++k) {
        const data::Lancamento& e = l[size_t(k - 1)];
        EXPECT_EQ(e.referente, QStringLiteral("Previsão Compras do mês Parc. %1 de 12").arg(k));
        EXPECT_EQ(e.dataVen, d(15, 3, 2026).addMonths(k - 1));
        EXPECT_EQ(e.valor, -20000);
        EXPECT_EQ(e.tipo, QStringLiteral("1"));
        EXPECT_EQ(e.filtro, QStringLiteral("O"));
        EXPECT_EQ(e.dataLan, today);
        EXPECT_EQ(e.despesa, QStringLiteral("13"));
        EXPECT_EQ(e.conta, QStringLiteral("Alimentação"));
        EXPECT_TRUE(data::isForecast(e.referente));
    }
}

TEST_F(OrcamentoTabela, PostingSkipsOtherLinesAndPostsTwiceWhenAskedTwice)
{
    EXPECT_EQ(budget::lancarOrcamentoAnual(ConexaoBanco, 2025, today), 0);  // empty budget
    linha(20, QStringLiteral("Todo Mês"), 500000, d(5, 1, 2024));            // incoming
    linha(77, QStringLiteral("Todo Mês"), 1000, d(5, 1, 2024));              // missing
    linha(11, QStringLiteral("Quinzenal"), 1000, d(5, 1, 2024));             // unknown recurrence
    EXPECT_EQ(budget::lancarOrcamentoAnual(ConexaoBanco, 2025, today), 0);
    linha(10, QStringLiteral("A cada 6 meses"), 120000, d(31, 8, 2024), QStringLiteral("Seguro"));
    EXPECT_EQ(budget::lancarOrcamentoAnual(ConexaoBanco, 2026, today), 2);
    EXPECT_EQ(budget::lancarOrcamentoAnual(ConexaoBanco, 2026, today), 2);
    const auto l = lancamentos();
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(l[0].referente, QStringLiteral("Previsão Seguro Parc. 1 de 2"));
    EXPECT_EQ(l[1].referente, QStringLiteral("Previsão Seguro Parc. 2 de 2"));
    EXPECT_EQ(l[1].dataVen, d(28, 2, 2027));
    EXPECT_EQ(l[2].referente, l[0].referente);
    EXPECT_EQ(l[3].dataVen, l[1].dataVen);
}

TEST_F(OrcamentoTabela, PostingThatFailsHalfwayLeavesNoEntry)
{
    linha(13, QStringLiteral("Todo Mês"), 20000, d(15, 3, 2024));
    linha(10, QStringLiteral("Todo Mês"), 150000, d(1, 1, 2024));
    falharDepoisDe(15);
    EXPECT_THROW(budget::lancarOrcamentoAnual(ConexaoBanco, 2025, today), data::DbError);
    EXPECT_EQ(contar(QStringLiteral("Lancamentos")), 0);
}
