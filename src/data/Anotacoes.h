#pragma once
// Notes and reminders: table Anotacoes.
#include "data/Database.h"

#include <optional>
#include <vector>

namespace data {

struct Anotacao {
    std::int64_t codigo = 0;
    QString titulo;
    QString texto;
    QDate dataAlter;
    QDate dataLemb;         // null when the note has no reminder date
    QString lembrar;        // "S" or "N"
    std::optional<int> qtdeDias;
    QString lembrarSempre;  // "S" or "N"
};

// The reminder rule: due when Lembrar is "S" and DataLemb - QtdeDias <=
// today <= DataLemb; with LembrarSempre "S" also on every day after.
bool lembreteDevido(const Anotacao& a, const QDate& today);

// Every note by reminder date, notes without one first (the notes grid).
std::vector<Anotacao> anotacoesPorDataLemb(Connection& db);
// The notes whose reminder date falls in a year, by date, whatever their
// Lembrar (the yearly calendar).
std::vector<Anotacao> anotacoesDoAno(Connection& db, int ano);
std::optional<Anotacao> findAnotacao(Connection& db, std::int64_t codigo);
// The notes due today, in the table's order.
std::vector<Anotacao> lembretesDevidos(Connection& db, const QDate& today);

std::int64_t addAnotacao(Connection& db, const Anotacao& a);
void updateAnotacao(Connection& db, const Anotacao& a);
void deleteAnotacao(Connection& db, std::int64_t codigo);

} // namespace data
