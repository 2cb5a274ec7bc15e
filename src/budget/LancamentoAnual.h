#pragma once
// Posting the household budget for a year as forecast entries: one outgoing
// entry per occurrence of each line's recurrence, due from the line's start
// day and month of that year onwards, "Previsão ... Parc. k de n".
#include "data/Lancamentos.h"
#include "data/Orcamento.h"

#include <vector>

namespace budget {

struct Ocorrencia {
    QDate vencimento;
    int numero = 0;  // k, from 1
    int total = 0;   // n
};

// The occurrences of a line that starts on the day and month of `inicio`
// (its year is ignored), posted for `ano`. The first falls in `ano`: a day
// beyond the end of the month carries into the next one (29/02 gives 01/03
// in a common year). Each later one is s months after the one before, on
// the last day of a shorter month, and a day lost that way is not regained;
// they run over twelve months, so they may end in the next year. An unknown
// recurrence or a missing start gives none.
std::vector<Ocorrencia> ocorrenciasDoAno(const QDate& inicio, const QString& ocorre, int ano);

// The forecast entries of one line: Tipo "1", Filtro "O", Valor minus the
// line's value, posted today, with the classification's current group.
std::vector<data::Lancamento> previsoesDaLinha(const data::LinhaOrcamento& linha, int ano, const QDate& hoje);

// Writes the forecast entries of every budget line of outgoing
// classifications, in table order, all in one transaction: a failure
// (data::DbError, thrown) leaves no entry of the posting behind. Entries
// already posted are not looked at: posting a year twice posts it twice.
// Returns how many entries were written.
int lancarOrcamentoAnual(data::Connection& db, int ano, const QDate& hoje);

} // namespace budget
