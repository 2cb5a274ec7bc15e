#include "cashflow/Fluxo.h"

#include "data/Lancamentos.h"
#include "platform/conversions.h"

#include <algorithm>
#include <functional>
#include <numeric>

namespace cashflow {

std::vector<data::LinhaConsulta> lancamentosDoPeriodo(data::Connection& db, const QDate& inicio, const QDate& fim)
{
    return data::lerPeriodo(db, QStringLiteral("DataVen"), inicio, fim, QString(), true);
}

int contarDias(const std::vector<data::LinhaConsulta>& lancamentos)
{
    int n = 0;
    for (size_t i = 0; i < lancamentos.size(); ++i)
        if (i == 0 || lancamentos[i].vencimento != lancamentos[i - 1].vencimento)
            ++n;
    return n;
}

Fluxo montarFluxo(const QString& dataInicial, data::Centavos abertura, const std::vector<data::LinhaConsulta>& lancamentos)
{
    Fluxo f;
    data::Centavos saldo = abertura;
    if (!lancamentos.empty()) {
        f.linhas.reserve(lancamentos.size() + size_t(contarDias(lancamentos)));
        f.linhas.push_back({LinhaFluxo::Tipo::Abertura, dataInicial, nullptr, abertura});
        for (size_t i = 0; i < lancamentos.size(); ++i) {
            const data::LinhaConsulta& l = lancamentos[i];
            if (i > 0 && l.vencimento != lancamentos[i - 1].vencimento)
                f.linhas.push_back({LinhaFluxo::Tipo::Saldo, lancamentos[i - 1].dataVen, nullptr, saldo});
            f.linhas.push_back({LinhaFluxo::Tipo::Lancamento, l.dataVen, &l, l.valor});
            if (data::countsInBalance(l))
                saldo = data::addMoney(saldo, l.valor);
        }
    }
    f.saldoFinal = saldo;
    return f;
}

namespace {
// Hands each due date of a period, both days included, to ler with the sum
// of its entries that count in a balance (columns 0 and 1), in date order.
template <typename Ler>
void lerSomasDosDias(data::Connection& db, const QDate& inicio, const QDate& fim, Ler ler)
{
    data::Statement s(db,
                      QStringLiteral("SELECT DataVen, soma(Valor) FROM Lancamentos WHERE ") +
                          data::balanceCondition(QStringLiteral("DataVen BETWEEN ? AND ?")) +
                          QStringLiteral(" GROUP BY DataVen ORDER BY DataVen"),
                      inicio, fim);
    while (s.next())
        ler(s);
}
} // namespace

std::vector<SomaDoDia> somasPorDia(data::Connection& db, const QDate& inicio, const QDate& fim)
{
    std::vector<SomaDoDia> dias;
    lerSomasDosDias(db, inicio, fim,
                    [&](const data::Statement& s) { dias.push_back({data::textoData(s.text(0)), s.integer(1)}); });
    return dias;
}

Saldos saldosDosDias(const QString& dataInicial, data::Centavos abertura, const std::vector<SomaDoDia>& dias)
{
    Saldos s;
    data::Centavos saldo = abertura;
    for (size_t i = 0; i < dias.size(); ++i) {
        s.linhas.push_back({i == 0 ? dataInicial : dias[i - 1].data, saldo});
        saldo = data::addMoney(saldo, dias[i].soma);
    }
    s.saldoFinal = saldo;
    return s;
}

std::vector<data::Centavos> saldosPositivos(std::vector<data::Centavos> candidatos)
{
    candidatos.erase(std::remove_if(candidatos.begin(), candidatos.end(), [](data::Centavos c) { return c <= 0; }),
                     candidatos.end());
    std::stable_sort(candidatos.begin(), candidatos.end(), std::greater<>());
    return candidatos;
}

std::optional<MenoresSaldos> menoresSaldos(data::Connection& db, const QDate& hoje)
{
    // Nothing before today that counts in a balance: no panel.
    if (data::scalar(db,
                     QStringLiteral("SELECT 1 FROM Lancamentos WHERE ") +
                         data::balanceCondition(QStringLiteral("DataVen < ?")) + QStringLiteral(" LIMIT 1"),
                     hoje)
            .isNull())
        return std::nullopt;

    MenoresSaldos m;
    m.datas[0] = hoje;
    // Each window ends a calendar month after it starts, and the next starts
    // there: a day lost to a short month is not regained.
    for (size_t k = 1; k < m.datas.size(); ++k)
        m.datas[k] = platform::addMonths(m.datas[k - 1], 1);

    // One read for the twelve windows: the balance before today, then each
    // day's total up to the last window's end.
    const data::Centavos antes = data::openingBalance(db, hoje).balance;
    std::vector<std::pair<QDate, data::Centavos>> dias;
    lerSomasDosDias(db, hoje, m.datas.back(),
                    [&](const data::Statement& s) { dias.emplace_back(s.date(0), s.integer(1)); });

    data::Centavos saldo = antes;  // the balance at the start of the window
    size_t primeiro = 0;            // the first day of the window
    for (size_t k = 0; k < m.valores.size(); ++k) {
        while (primeiro < dias.size() && dias[primeiro].first < m.datas[k]) {
            saldo = data::addMoney(saldo, dias[primeiro].second);
            ++primeiro;
        }
        data::Centavos corrente = saldo;
        std::optional<data::Centavos> menor;
        for (size_t i = primeiro; i < dias.size() && dias[i].first <= m.datas[k + 1]; ++i) {
            corrente = data::addMoney(corrente, dias[i].second);
            if (!menor || corrente < *menor)
                menor = corrente;
        }
        m.valores[k] = menor;
    }
    return m;
}

} // namespace cashflow
