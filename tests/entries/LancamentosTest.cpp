// The ledger table as every writer and reader relies on it.
#include "LancarFixture.h"

class LancamentosTable : public testsupport::LancarFixture {};

TEST_F(LancamentosTable, SelectAllListsTheColumnsAtTheirPositions)
{
    data::Statement s(ConexaoBanco, QStringLiteral("SELECT * FROM Lancamentos"));
    EXPECT_EQ(s.columnName(0), QStringLiteral("NumLan"));
    EXPECT_EQ(s.columnName(1), QStringLiteral("DataVen"));
    EXPECT_EQ(s.columnName(2), QStringLiteral("Referente"));
    EXPECT_EQ(s.columnName(3), QStringLiteral("Valor"));
    EXPECT_EQ(s.columnName(4), QStringLiteral("DataLan"));
    EXPECT_EQ(s.columnName(6), QStringLiteral("Despesa"));
}

TEST_F(LancamentosTable, AddFindUpdateDeleteByNumber)
{
    data::Lancamento l;
    l.dataVen = QDate(2024, 3, 20);
    l.referente = QStringLiteral("Posto Shell gasolina");
    l.valor = data::signedValue(data::kTipoSaida, 15050);
    l.dataLan = QDate(2024, 3, 15);
    l.tipo = data::kTipoSaida;
    l.despesa = QStringLiteral("12");
    l.filtro = QStringLiteral("C");
    l.conta = QStringLiteral("Transporte");
    const auto n = data::addLancamento(ConexaoBanco, l);
    ASSERT_GT(n, 0);

    auto lido = data::findLancamento(ConexaoBanco, n);
    ASSERT_TRUE(lido);
    EXPECT_EQ(lido->valor, -15050);
    EXPECT_EQ(lido->referente, l.referente);
    EXPECT_EQ(lido->dataVen, l.dataVen);
    EXPECT_EQ(lido->conta, QStringLiteral("Transporte"));

    lido->referente = QStringLiteral("Posto Ipiranga");
    EXPECT_TRUE(data::updateLancamento(ConexaoBanco, *lido));
    EXPECT_EQ(data::findLancamento(ConexaoBanco, n)->referente, QStringLiteral("Posto Ipiranga"));

    EXPECT_TRUE(data::deleteLancamento(ConexaoBanco, n));
    EXPECT_FALSE(data::findLancamento(ConexaoBanco, n));
    EXPECT_FALSE(data::deleteLancamento(ConexaoBanco, n));
    // A deleted number is never given again.
    EXPECT_GT(data::addLancamento(ConexaoBanco, l), n);
}

// The limit check keeps the ledger's total between checks: it follows each
// kind of write, a write rolled back, and another program's write.
TEST_F(LancamentosTable, LimitCheckFollowsTheLedgerThroughEveryWrite)
{
    const __int128 tudo = INT64_MAX;
    auto cabe = [](__int128 mais) { return data::totalFitsWith(ConexaoBanco, mais); };
    data::Lancamento l;
    l.dataVen = QDate(2024, 3, 20);
    l.referente = QStringLiteral("quase no limite");
    l.tipo = data::kTipoEntrada;
    l.valor = INT64_MAX - 100;
    ASSERT_TRUE(cabe(tudo));
    {
        data::Transaction t(ConexaoBanco);
        data::addLancamento(ConexaoBanco, l);
        EXPECT_TRUE(cabe(100));
        EXPECT_FALSE(cabe(101));
    }
    EXPECT_TRUE(cabe(tudo));

    l.numLan = data::addLancamento(ConexaoBanco, l);
    EXPECT_FALSE(cabe(101));
    l.tipo = data::kTipoSaida;
    l.valor = -(INT64_MAX - 200);
    ASSERT_TRUE(data::updateLancamento(ConexaoBanco, l));
    EXPECT_TRUE(cabe(200));
    EXPECT_FALSE(cabe(201));
    {
        data::Connection outro;
        openAccountFile(outro, caminhoLocalBanco(), ChaveBanco);
        outro.exec(QStringLiteral("UPDATE Lancamentos SET Valor = -5"));
    }
    EXPECT_TRUE(cabe(INT64_MAX - 5));
    EXPECT_FALSE(cabe(INT64_MAX - 4));
    ASSERT_TRUE(data::deleteLancamento(ConexaoBanco, l.numLan));
    EXPECT_TRUE(cabe(tudo));
}

TEST(LancamentoSign, SaidaIsNegatedEntradaKeptAndZeroStaysZero)
{
    EXPECT_EQ(data::signedValue(data::kTipoSaida, 150), -150);
    EXPECT_EQ(data::signedValue(data::kTipoEntrada, 150), 150);
    EXPECT_EQ(data::signedValue(data::kTipoSaida, 0), 0);
    EXPECT_EQ(data::signedValue(data::kTipoEntrada, 0), 0);
}

TEST(LancamentoForecast, TheWordAnywhereInAnyCase)
{
    const struct {
        const char* referente;
        bool previsao;
    } casos[] = {
        {"Previsão de conta de água", true},
        {"PREVISÃO luz", true},
        {"conta de luz previsão", true},
        {"Luz (previsÃo)", true},
        {"Prev. conta de luz", false},
        {"Previsao sem acento", false},
        {"", false},
    };
    for (const auto& c : casos)
        EXPECT_EQ(data::isForecast(QString::fromUtf8(c.referente)), c.previsao) << c.referente;
}
