// The register's balances without its window: the entries of a period, the
// rows of both views, the positive balances and the lowest balance per
// month.
#include "cashflow/Fluxo.h"
#include "data/Database.h"
#include "data/Lancamentos.h"

#include "FluxoFixture.h"

using cashflow::LinhaFluxo;

namespace {

QStringList descrever(const cashflow::Fluxo& f)
{
    QStringList out;
    for (const LinhaFluxo& l : f.linhas) {
        switch (l.tipo) {
        case LinhaFluxo::Tipo::Abertura: out << "Abertura " + l.data + " " + data::formatMoney(l.valor); break;
        case LinhaFluxo::Tipo::Saldo: out << "Saldo " + l.data + " " + data::formatMoney(l.valor); break;
        case LinhaFluxo::Tipo::Lancamento:
            out << l.lancamento->referente + " " + l.data + " " + data::formatMoney(l.valor);
            break;
        }
    }
    return out;
}

} // namespace

using Fluxo = FluxoFixture;

TEST_F(Fluxo, WorkedExampleGivesABalanceRowBetweenDaysAndNoneAfterTheLast)
{
    lancar(dia(1, 2), "Salário", 10000);
    lancar(dia(2, 3), "Mercado", -3000);
    lancar(dia(2, 3), "Farmácia", -2000);
    lancar(dia(3, 3), "Reembolso", 1000);

    const QDate inicio = dia(1, 3);
    EXPECT_EQ(data::balanceBefore(ConexaoBanco, inicio), 10000);
    const auto lancs = cashflow::lancamentosDoPeriodo(ConexaoBanco, inicio, dia(31, 3));
    EXPECT_EQ(cashflow::contarDias(lancs), 2);
    const cashflow::Fluxo f = cashflow::montarFluxo("01/03/2024", 10000, lancs);
    EXPECT_EQ(descrever(f), (QStringList{"Abertura 01/03/2024 100,00", "Farmácia 02/03/2024 -20,00",
                                         "Mercado 02/03/2024 -30,00", "Saldo 02/03/2024 50,00",
                                         "Reembolso 03/03/2024 10,00"}));
    EXPECT_EQ(f.saldoFinal, 6000);
}

TEST_F(Fluxo, EmptyPeriodHasNoRowsAndEndsOnTheOpeningBalance)
{
    const cashflow::Fluxo f = cashflow::montarFluxo("01/03/2024", -1234, {});
    EXPECT_TRUE(f.linhas.empty());
    EXPECT_EQ(f.saldoFinal, -1234);
    EXPECT_FALSE(data::firstDueDate(ConexaoBanco).has_value());
    EXPECT_EQ(data::balanceBefore(ConexaoBanco, dia(1, 3)), 0);
}

TEST_F(Fluxo, PeriodIncludesBothEndsAndOrdersTiesByDescriptionThenCode)
{
    lancar(dia(29, 2), "antes", -1);
    lancar(dia(1, 3), "B", -1, "7");
    lancar(dia(1, 3), "B", -1, "12");
    lancar(dia(1, 3), "A", -1, "9");
    lancar(dia(31, 3), "fim", -1);
    lancar(dia(1, 4), "depois", -1);
    const auto lancs = cashflow::lancamentosDoPeriodo(ConexaoBanco, dia(1, 3), dia(31, 3));
    QStringList ordem;
    for (const auto& l : lancs)
        ordem << l.referente + "/" + l.despesa;
    // The code is compared as text: "12" before "7".
    EXPECT_EQ(ordem, (QStringList{"A/9", "B/12", "B/7", "fim/10"}));
    EXPECT_EQ(data::firstDueDate(ConexaoBanco), dia(29, 2));
}

TEST_F(Fluxo, LongPeriodReadInOnePassKeepsTheSameOrder)
{
    // Enough rows for the read to go over the table and sort them here.
    {
        data::Transaction t(ConexaoBanco);
        data::Statement s(ConexaoBanco,
                          QStringLiteral("INSERT INTO Lancamentos (DataVen, Referente, Valor, Tipo, Despesa) "
                                         "VALUES (?, ?, ?, '1', ?)"));
        for (int i = 0; i < 16000; ++i) {
            s.reset();
            s.bind(1, dia(1, 1).addDays((i * 7919) % 366));
            s.bind(2, QStringLiteral("R%1").arg((i * 31) % 50));
            s.bind(3, std::int64_t(-(i % 1000)));
            s.bind(4, QString::number(i % 13));
            s.exec();
        }
        t.commit();
    }
    const auto lancs = cashflow::lancamentosDoPeriodo(ConexaoBanco, dia(1, 1), dia(31, 12));
    data::Statement s(ConexaoBanco,
                      QStringLiteral("SELECT NumLan FROM Lancamentos WHERE DataVen BETWEEN ? AND ? "
                                     "ORDER BY DataVen, Referente, Despesa, NumLan"),
                      dia(1, 1), dia(31, 12));
    size_t i = 0;
    bool iguais = true;
    while (s.next())
        iguais = iguais && i < lancs.size() && lancs[i++].numLan == s.integer(0);
    EXPECT_TRUE(iguais);
    EXPECT_EQ(i, lancs.size());
    EXPECT_GT(lancs.size(), 15000u);
}

TEST_F(Fluxo, BlueForForecastsInAnyCaseWithTheAccentAndForCodes94And95)
{
    const struct {
        const char* referente;
        const char* despesa;
        bool azul;
    } casos[] = {
        {"Previsão aluguel", "10", true}, {"PREVISÃO ALUGUEL", "10", true}, {"nova previsão", "10", true},
        {"Previsao aluguel", "10", false}, {"Aluguel", "94", true},         {"Aluguel", "95", true},
        {"Aluguel", " 95", true},          {"Aluguel", "96", false},        {"Aluguel", "abc", false},
        {"Aluguel", "", false},            {"Aluguel", "94.0", true},       {"Aluguel", "95,00", true},
        {"Aluguel", "94.5", false},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(data::shownInBlue(QString::fromUtf8(c.referente), QString::fromUtf8(c.despesa)), c.azul)
            << c.referente << " " << c.despesa;
    }
}

TEST_F(Fluxo, PositiveBalancesLargestFirstKeepingEqualOnes)
{
    EXPECT_EQ(cashflow::saldosPositivos({95000, -10, 0, 120000, 95000, 1}),
              (std::vector<data::Centavos>{120000, 95000, 95000, 1}));
    EXPECT_TRUE(cashflow::saldosPositivos({0, -1}).empty());
}

TEST_F(Fluxo, LowestBalancesNeedAnEntryBeforeToday)
{
    lancar(dia(15, 3), "hoje", 100);
    EXPECT_FALSE(cashflow::menoresSaldos(ConexaoBanco, dia(15, 3)).has_value());
}

TEST_F(Fluxo, LowestBalancesStayOnTheShortenedDay)
{
    lancar(dia(1, 1), "antes", 100);
    const auto m = cashflow::menoresSaldos(ConexaoBanco, dia(31, 1));
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->datas[0], dia(31, 1));
    EXPECT_EQ(m->datas[1], dia(29, 2));
    EXPECT_EQ(m->datas[2], dia(29, 3));
    EXPECT_EQ(m->datas[12], dia(29, 1, 2025));
    // No entry in any window: none has a lowest balance.
    for (const auto& v : m->valores)
        EXPECT_FALSE(v.has_value());
}

TEST_F(Fluxo, LowestBalanceCountsTheDaysWithEntriesOfEachWindow)
{
    lancar(dia(1, 3), "antes de hoje", 10000);   // only in the starting balance
    lancar(dia(15, 3), "hoje", -2000);           // window 1 includes today: 80,00
    lancar(dia(20, 3), "", -9000);               // a day counts once, at its end:
    lancar(dia(20, 3), "", 5000);                // 40,00, never -10,00
    lancar(dia(15, 4), "fronteira", -4000);      // in windows 1 and 2: 0,00
    lancar(dia(10, 5), "", -1);                  // window 2: -0,01
    lancar(dia(20, 6), "", 500);                 // window 4: 4,99
    const auto m = cashflow::menoresSaldos(ConexaoBanco, dia(15, 3));
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->datas[1], dia(15, 4));
    EXPECT_EQ(m->valores[0], std::optional<data::Centavos>(0));
    EXPECT_EQ(m->valores[1], std::optional<data::Centavos>(-1));
    EXPECT_FALSE(m->valores[2].has_value());
    EXPECT_EQ(m->valores[3], std::optional<data::Centavos>(499));
    EXPECT_FALSE(m->valores[11].has_value());
}
