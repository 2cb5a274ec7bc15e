// The instalment generator on its own: counts, values, due dates, and the
// all-or-nothing write.
#include "entries/Parcelas.h"
#include "LancarFixture.h"

using entries::Parcelamento;

namespace {

Parcelamento compra(data::Centavos total, int n, QDate primeiro, const QString& tipo = data::kTipoSaida)
{
    Parcelamento p;
    p.tipo = tipo;
    p.total = total;
    p.despesa = QStringLiteral("12");
    p.conta = QStringLiteral("Transporte");
    p.filtro = QStringLiteral("C");
    p.dataLan = QDate(2025, 1, 5);
    p.primeiroVencimento = primeiro;
    p.referente = QStringLiteral("Previsão de conta de água mensal");
    p.quantidade = n;
    return p;
}

} // namespace

TEST(InstalmentCount, AnswerIsReadAsItsLeadingNumberRoundedHalfToEven)
{
    const struct {
        const char* resposta;
        int n;
        bool valida;
    } casos[] = {
        {"12", 12, true},   {" 12 ", 12, true}, {"1", 1, true},     {"100", 100, true},
        {"0", 0, false},    {"101", 101, false}, {"300", 300, false}, {"-2", -2, false},
        {"2.5", 2, true},   {"3.5", 4, true},   {"2,5", 2, true},   {"", 0, false},
        {"doze", 0, false}, {"12x", 12, true},  {"99999999999999999999", 101, false},
    };
    for (const auto& c : casos) {
        const int n = entries::lerQuantidadeParcelas(QString::fromUtf8(c.resposta));
        EXPECT_EQ(n, c.n) << c.resposta;
        EXPECT_EQ(entries::quantidadeValida(n), c.valida) << c.resposta;
    }
}

TEST(InstalmentValue, QuotientRoundsHalfToEvenAndNoInstalmentAbsorbsTheRest)
{
    EXPECT_EQ(entries::valorParcela(54000, 12), 4500);
    EXPECT_EQ(entries::valorParcela(10000, 3), 3333);
    EXPECT_EQ(entries::valorParcela(20000, 3), 6667);
    EXPECT_EQ(entries::valorParcela(5, 2), 2);   // 2,5 centavos: to the even 2
    EXPECT_EQ(entries::valorParcela(15, 2), 8);  // 7,5 centavos: to the even 8
    EXPECT_EQ(entries::valorParcela(0, 4), 0);
}

TEST(InstalmentValue, ConfirmationShowsTheUnroundedQuotientWithoutSign)
{
    EXPECT_EQ(entries::textoConfirmacao(54000, 12), QStringLiteral("Serão geradas 12 parcelas de R$ 45,00\rConfirma ?"));
    EXPECT_EQ(entries::textoConfirmacao(10000, 3), QStringLiteral("Serão geradas 3 parcelas de R$ 33,33\rConfirma ?"));
    EXPECT_EQ(entries::textoConfirmacao(300000, 2),
              QStringLiteral("Serão geradas 2 parcelas de R$ 1.500,00\rConfirma ?"));
}

TEST(InstalmentRows, TwelveOutgoingOnTheTenthOfEachMonth)
{
    const auto rows = entries::montarParcelas(compra(54000, 12, QDate(2025, 1, 10)));
    ASSERT_EQ(rows.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        const auto& l = rows[std::size_t(i)];
        EXPECT_EQ(l.dataVen, QDate(2025, i + 1, 10));
        EXPECT_EQ(l.valor, -4500);
        EXPECT_EQ(l.tipo, QStringLiteral("1"));
        EXPECT_EQ(l.dataLan, QDate(2025, 1, 5));
        EXPECT_EQ(l.referente, QStringLiteral("Previsão de conta de água mensal Parc. %1/12").arg(i + 1));
        EXPECT_EQ(l.despesa, QStringLiteral("12"));
        EXPECT_EQ(l.filtro, QStringLiteral("C"));
        EXPECT_EQ(l.conta, QStringLiteral("Transporte"));
    }
}

TEST(InstalmentRows, IncomingKeepsThePositiveValue)
{
    const auto rows = entries::montarParcelas(compra(10000, 3, QDate(2025, 1, 10), data::kTipoEntrada));
    ASSERT_EQ(rows.size(), 3u);
    for (const auto& l : rows) {
        EXPECT_EQ(l.valor, 3333);
        EXPECT_EQ(l.tipo, QStringLiteral("2"));
    }
}

TEST(InstalmentRows, MonthEndIsClampedWithoutShiftingLaterMonths)
{
    const auto rows = entries::montarParcelas(compra(40000, 4, QDate(2024, 1, 31)));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].dataVen, QDate(2024, 1, 31));
    EXPECT_EQ(rows[1].dataVen, QDate(2024, 2, 29));
    EXPECT_EQ(rows[2].dataVen, QDate(2024, 3, 31));
    EXPECT_EQ(rows[3].dataVen, QDate(2024, 4, 30));
}

TEST(InstalmentRows, OneInstalmentAndTheLongestDescription)
{
    auto p = compra(1000, 1, QDate(2025, 2, 1));
    auto rows = entries::montarParcelas(p);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0].referente.endsWith(QStringLiteral(" Parc. 1/1")));

    p.referente = QString(70, QLatin1Char('x'));
    p.quantidade = 100;
    rows = entries::montarParcelas(p);
    ASSERT_EQ(rows.size(), 100u);
    EXPECT_EQ(rows.back().referente.size(), 84);
}

class InstalmentWrite : public testsupport::LancarFixture {};

TEST_F(InstalmentWrite, AllRowsAreWritten)
{
    entries::gravarParcelas(ConexaoBanco, compra(54000, 12, QDate(2025, 1, 10)));
    const auto rows = linhas();
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows.front().referente, QStringLiteral("Previsão de conta de água mensal Parc. 1/12"));
    EXPECT_EQ(rows.back().dataVen, QDate(2025, 12, 10));
}

TEST_F(InstalmentWrite, AnErrorInTheMiddleLeavesNothingWritten)
{
    data::addLancamento(ConexaoBanco, entries::montarParcelas(compra(100, 1, QDate(2025, 1, 1)))[0]);
    testsupport::permitirGatilhos(ConexaoBanco);
    ConexaoBanco.exec(QStringLiteral(
        "CREATE TRIGGER falha BEFORE INSERT ON Lancamentos WHEN NEW.Referente LIKE '% Parc. 5/12'"
        " BEGIN SELECT RAISE(ABORT, 'disco cheio'); END"));
    EXPECT_THROW(entries::gravarParcelas(ConexaoBanco, compra(54000, 12, QDate(2025, 1, 10))), data::DbError);
    EXPECT_EQ(linhas().size(), 1u);  // only the entry written before
}
