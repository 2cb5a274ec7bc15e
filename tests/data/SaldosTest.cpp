// The account's opening balance, which the register, its balances-only view,
// the import window, the lowest-balance panel and "Saldo Atual" all read.
#include "data/Conexao.h"
#include "data/Lancamentos.h"
#include "support/Fixtures.h"

using Saldos = testsupport::LoggedInFixture;

TEST_F(Saldos, PeriodStartingBeforeTheFirstEntryStartsOnItAndOpensOnWhatIsDueBefore)
{
    const auto dia = [](int d, int m) { return QDate(2024, m, d); };
    // Nothing posted: the start stays and opens at zero.
    EXPECT_EQ(data::openingBalance(ConexaoBanco, dia(1, 3)).start, dia(1, 3));
    EXPECT_EQ(data::openingBalance(ConexaoBanco, dia(1, 3)).balance, 0);

    gravar(novoLancamento(dia(10, 2), QStringLiteral("Salário"), 10000, QStringLiteral("10"), QStringLiteral("A")));
    gravar(novoLancamento(dia(1, 3), QStringLiteral("Mercado"), -2500, QStringLiteral("10"), QStringLiteral("A")));
    gravar(novoLancamento(dia(2, 3), QStringLiteral("Farmácia"), -100, QStringLiteral("10"), QStringLiteral("A")));
    // Forecasts and the reserved classifications 94 and 95 count like any
    // other entry, in the engine's sums as in the windows'.
    gravar(novoLancamento(dia(20, 2), QStringLiteral("previsão do aluguel"), -1000, QStringLiteral("10"),
                          QStringLiteral("A")));
    gravar(novoLancamento(dia(21, 2), QStringLiteral("Aplicação"), -20, QStringLiteral("94"), QStringLiteral("A")));
    gravar(novoLancamento(dia(3, 3), QStringLiteral("Resgate"), 3, QStringLiteral("95"), QStringLiteral("A")));
    const struct {
        QDate pedido;
        QDate inicio;
        data::Centavos abertura;
    } casos[] = {
        {dia(1, 1), dia(10, 2), 0},      // before the first entry: moved to it
        {dia(10, 2), dia(10, 2), 0},     // on it: the day's own entries are not before it
        {dia(21, 2), dia(21, 2), 9000},  // after it: every entry due before the start
        {dia(1, 3), dia(1, 3), 8980},
        {dia(2, 3), dia(2, 3), 6480},
        {dia(31, 12), dia(31, 12), 6383},
    };
    for (const auto& c : casos) {
        const data::Opening o = data::openingBalance(ConexaoBanco, c.pedido);
        EXPECT_EQ(o.start, c.inicio) << c.pedido.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(o.balance, c.abertura) << c.pedido.toString(Qt::ISODate).toStdString();
    }
    // "Saldo Atual" counts the day itself.
    EXPECT_EQ(data::balanceUntil(ConexaoBanco, dia(1, 3)), 6480);
    EXPECT_EQ(data::balanceUntil(ConexaoBanco, dia(3, 3)), 6383);
}
