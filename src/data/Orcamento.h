#pragma once
// The household budget: table Orcamento. Its lines are the rows whose
// Despesa is the code of an outgoing classification, at most one per code;
// beside them five fixed rows carry the three yearly income amounts (Valor
// of 1000, 2000, 3000) and two settings of the statement import (Referente
// of 10000, 10001). Valor and "Total Ano" are whole centavos.
#include "data/Database.h"
#include "data/Money.h"

#include <QStringList>
#include <optional>
#include <vector>

namespace data {

// The income rows, by their Despesa (the settings rows 10000 and 10001 are
// the statement import's).
inline constexpr std::int64_t kOrcamentoAdiantamento = 1000;    // yearly salary advance
inline constexpr std::int64_t kOrcamentoSalario = 2000;         // yearly salary
inline constexpr std::int64_t kOrcamentoOutrasEntradas = 3000;  // other yearly income

// The six recurrences in the order the budget window lists them.
const QStringList& recorrencias();
// Occurrences per year of a recurrence (12, 1, 6, 4, 3, 2); 0 for any other
// text. Compared exactly, case and accents included.
int ocorrenciasPorAno(const QString& ocorre);
// Months between two occurrences (1, 2, 3, 4, 6); 0 for "Uma vez no ano"
// and for any other text.
int mesesEntreOcorrencias(const QString& ocorre);

struct LinhaOrcamento {
    std::int64_t id = 0;             // assigned by the database
    QDate data;                      // only day and month count
    QString referente;
    std::int64_t despesa = 0;        // classification code
    QString ocorre;
    Centavos valor = 0;              // per occurrence
    std::optional<Centavos> totalAno;  // empty for a recurrence not among the six
    QString nomeDespesa;             // Despesas.Despesa
    QString conta;                   // Despesas.Conta
};

enum class OrdemLinhas {
    MaiorValorPrimeiro,  // the budget grid: value per occurrence, largest first
    PorId,               // table order: the yearly posting
};

// The lines of outgoing classifications with their classification's name
// and group; rows of other or missing classifications are left out.
std::vector<LinhaOrcamento> linhasOrcamento(Connection& db, OrdemLinhas ordem);

// Whether a code already has a row.
bool despesaNoOrcamento(Connection& db, std::int64_t codigo);

// Saves a line: the first row (by ID) with the same Despesa is overwritten,
// otherwise a row is added. "Total Ano" is Valor times the occurrences per
// year, and empty for a recurrence not among the six. Returns the row's ID.
std::int64_t saveLinhaOrcamento(Connection& db, const LinhaOrcamento& linha);

// Removes the row with an ID; false when there was none.
bool deleteLinhaOrcamento(Connection& db, std::int64_t id);

// The Despesa of the row with an ID.
std::optional<std::int64_t> despesaDaLinha(Connection& db, std::int64_t id);

// Valor of a fixed row; empty when the row is missing (a NULL reads as 0).
std::optional<Centavos> valorFixo(Connection& db, std::int64_t codigo);
// Writes Valor of a fixed row; false when the row is missing (nothing is
// added).
bool updateValorFixo(Connection& db, std::int64_t codigo, Centavos valor);

// The yearly income: Valor of the rows 1000, 2000 and 3000.
Centavos totalEntradasOrcamento(Connection& db);
// The yearly exits: "Total Ano" of every row of the table.
Centavos totalSaidasOrcamento(Connection& db);

} // namespace data
