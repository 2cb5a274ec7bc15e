#pragma once
// The balances of the cash-flow register, apart from its window: the
// entries of a period, the balance before it, the rows of the full and of
// the balances-only view, the positive balances and the lowest balance of
// each of the twelve months from a day. Amounts are exact centavos.
#include "data/Database.h"
#include "data/Money.h"
#include "data/Listagem.h"

#include <QDate>
#include <array>
#include <optional>
#include <vector>

namespace cashflow {

// The entries due in a period, both days included, ordered by due date,
// then description, then classification code (as text), then number.
std::vector<data::LinhaConsulta> lancamentosDoPeriodo(data::Connection& db, const QDate& inicio, const QDate& fim);

// The number of distinct due dates among entries in due-date order.
int contarDias(const std::vector<data::LinhaConsulta>& lancamentos);

// One row of the full view below the header.
struct LinhaFluxo {
    enum class Tipo { Abertura, Lancamento, Saldo };
    Tipo tipo = Tipo::Lancamento;
    data::TextoListado data;          // "DD/MM/YYYY"
    const data::LinhaConsulta* lancamento = nullptr;  // entry rows only
    data::Centavos valor = 0;         // the entry's value or the balance
};

struct Fluxo {
    std::vector<LinhaFluxo> linhas;  // empty when the period has no entry
    data::Centavos saldoFinal = 0;
};

// The opening row (dated with the start date), every entry, and a balance
// row after each day's entries but the last day's, whose balance is the
// final balance.
Fluxo montarFluxo(const QString& dataInicial, data::Centavos abertura, const std::vector<data::LinhaConsulta>& lancamentos);

// One row of the balances-only view: the start date with the opening
// balance, then every due date but the last with its closing balance.
struct SaldoDoDia {
    QString data;  // "DD/MM/YYYY"
    data::Centavos saldo = 0;
};

struct Saldos {
    std::vector<SaldoDoDia> linhas;  // empty when the period has no entry
    data::Centavos saldoFinal = 0;
};

// Each due date of a period with the sum of its entries that count in a
// balance (data::balanceCondition), in date order; the due-date index holds
// both, so the table itself is not read.
struct SomaDoDia {
    QString data;  // "DD/MM/YYYY"
    data::Centavos soma = 0;
};
std::vector<SomaDoDia> somasPorDia(data::Connection& db, const QDate& inicio, const QDate& fim);

// The rows of the balances-only view from the day sums.
Saldos saldosDosDias(const QString& dataInicial, data::Centavos abertura, const std::vector<SomaDoDia>& dias);

// The balances above zero among the candidates, largest first.
std::vector<data::Centavos> saldosPositivos(std::vector<data::Centavos> candidatos);

// The lowest balance of twelve consecutive one-month windows from a day:
// window k runs from datas[k] to datas[k + 1], both days included (a
// boundary day belongs to both windows), each a calendar month after the
// one before. Its candidates are the balances at the end of each of its days
// that has entries; a window without any has none.
struct MenoresSaldos {
    std::array<QDate, 13> datas{};
    std::array<std::optional<data::Centavos>, 12> valores{};
};

// None when no entry that counts in a balance is due before the day.
std::optional<MenoresSaldos> menoresSaldos(data::Connection& db, const QDate& hoje);

} // namespace cashflow
