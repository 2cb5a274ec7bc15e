#pragma once
// The watch list of planned versus actual: table PrevistoRealizado, one
// planned monthly value per watched classification code. Every writer keeps
// at most one row per code.
#include "data/Database.h"
#include "data/Money.h"

#include <QDate>
#include <QHash>
#include <optional>
#include <vector>

namespace data {

// One watched line with its classification's name (empty when the code has
// no classification, which only a file changed outside the program holds).
struct Previsto {
    std::int64_t despesa = 0;  // the classification code
    QString nome;              // Despesas.Despesa
    Centavos valor = 0;        // planned value per month
};

// Every watched line, in the order the rows were added.
std::vector<Previsto> previstos(Connection& db);

// The planned value of a code, when the code is watched.
std::optional<Centavos> previstoDe(Connection& db, std::int64_t codigo);
bool isWatched(Connection& db, std::int64_t codigo);

// Overwrites the planned value of a watched code, or watches it.
void savePrevisto(Connection& db, std::int64_t codigo, Centavos valor);
// Watches a code with a planned value unless it is already watched, whose
// value then stays; true when a row was added.
bool addPrevistoIfMissing(Connection& db, std::int64_t codigo, Centavos valor);
// Removes a code from the watch list; the code's entries are untouched.
void deletePrevisto(Connection& db, std::int64_t codigo);

// The sum of the entries of each classification code due between two days,
// both included, whatever their side, sign or description, by the code as
// entries store it (digits without leading zeros); a code without entries
// there is missing. One read of the period, whatever the number of codes.
QHash<QString, Centavos> somasDoPeriodo(Connection& db, const QDate& inicio, const QDate& fim);

} // namespace data
