#pragma once
// The ledger: table Lancamentos. Tipo "1" is outgoing (Valor <= 0), "2"
// incoming (Valor >= 0); Despesa is the classification code as text.
#include "data/Database.h"
#include "data/Listagem.h"
#include "data/Money.h"

#include <QDate>
#include <optional>
#include <vector>

namespace data {

struct Lancamento {
    std::int64_t numLan = 0;  // assigned by the database
    QDate dataVen;
    QString referente;
    Centavos valor = 0;
    QDate dataLan;
    QString tipo;     // "1" Saída, "2" Entrada
    QString despesa;  // classification code, digits without leading zeros
    QString filtro;   // "A".."Z"
    QString conta;    // the classification's group when saved
};

// The sides as the entry windows name them.
inline const QString kTipoSaida = QStringLiteral("1");
inline const QString kTipoEntrada = QStringLiteral("2");

// "Previsão" anywhere in the description, in any case, accents included.
bool isForecast(const QString& referente);

// The stored value for an amount typed on a side: negated for a Saída.
Centavos signedValue(const QString& tipo, Centavos typed);

// Adds one row and returns its number.
std::int64_t addLancamento(Connection& db, const Lancamento& l);
std::optional<Lancamento> findLancamento(Connection& db, std::int64_t numLan);
// Updates every column but NumLan of the row l.numLan; false when gone.
bool updateLancamento(Connection& db, const Lancamento& l);
bool deleteLancamento(Connection& db, std::int64_t numLan);

// The earliest due date of the account; none when it holds no entry.
std::optional<QDate> firstDueDate(Connection& db);

// Which entries count in a balance: every one, forecasts and the reserved
// classifications 94 and 95 included. The rule has two halves that change
// together: countsInBalance for a listed row a window carries a balance
// over (the register, the import's balance), and balanceCondition for the
// sums the engine makes (balanceBefore, so every opening balance and
// "Saldo Atual"; the balances-only view's and the lowest-balance panel's
// day sums, and the panel's look for anything before today). A test
// compares every window's balance with the engine's, so changing one half
// alone fails it. The date index holds DataVen and Valor only: a rule on
// another column makes those sums read the table.
inline bool countsInBalance(const LinhaConsulta&) { return true; }
// A condition on Lancamentos narrowed to the entries that count in a balance.
inline QString balanceCondition(const QString& condicao) { return condicao; }

// The balance a day opens with: the sum of every entry due before it that
// counts in a balance (0 when there is none). Every balance of the account
// starts from this sum: the opening balance of the register, of its
// balances-only view, of the import window and of the lowest-balance panel,
// and "Saldo Atual".
Centavos balanceBefore(Connection& db, const QDate& day);

// The sum of every entry due on or before a day that counts in a balance:
// the balance the next day opens with.
Centavos balanceUntil(Connection& db, const QDate& day);

// Where a listing of the account's balances starts and what it opens with:
// a period that starts before the first due date starts on it, and opens
// with balanceBefore() of its start (0 for an account without entries).
struct Opening {
    QDate start;
    Centavos balance = 0;
};
Opening openingBalance(Connection& db, const QDate& start);

// A classification code held as text (Despesa), read as a number: blanks
// around it and a zero fraction written by another tool (" 94", "94.0",
// "94,00") read as 94; a fraction that is not zero, or no number, is no code.
std::optional<std::int64_t> codeAsNumber(const QString& despesa);

// Shown in blue in the register and beside a statement: a forecast, or an
// entry of the reserved classifications 94 and 95 (Despesa as text, read as
// a number; a code that is not a number is neither).
bool shownInBlue(const QString& referente, const QString& despesa);

// How to read the entries of a period of one date column ("DataVen" or
// "DataLan") when more than the index holds is needed: through the column's
// index, which costs a page (decrypted) each time the next row lies
// elsewhere in the table, or in one pass over the table, which costs every
// page. Chosen from the file itself, the period's rows and how they lie
// against the pages of the file, so the choice holds at any size of the
// account.
struct PlanoPeriodo {
    // Entries in the period; at least as many when the period holds every
    // entry (then it is not counted).
    qint64 linhas = 0;
    bool varrer = false;  // one pass over the table
    // The period's condition as condicaoDoPeriodo writes it for the plan.
    QString condicao;
};
PlanoPeriodo planoDoPeriodo(Connection& db, const QString& coluna, const QDate& inicio, const QDate& fim);

// "DataVen BETWEEN ? AND ?" (the date column, both days included); read in
// one pass, "+DataVen BETWEEN ? AND ?", whose "+" keeps the index out of the
// engine's plan. Every read that chooses writes its period here.
QString condicaoDoPeriodo(const QString& coluna, bool varrer);

// What reading the entries of a condition that one index answers (a
// condition of the program's own, "?" for each value) would cost through
// that index, and what one pass over the table keeping them would cost, in
// the same unit; from one walk over the index alone.
struct LeituraPorIndice {
    qint64 linhas = 0;
    double custo = 0;
    double passagem = 0;
};
LeituraPorIndice leituraPorIndice(Connection& db, const QString& condicao, const QVariantList& valores);

// Reads the columns of "SELECT NumLan, DataVen, Referente, Valor, DataLan,
// Tipo, Despesa, Filtro, Conta" starting at a column.
Lancamento readLancamento(const Statement& s, int first = 0);
inline const QString kLancamentoColumns =
    QStringLiteral("NumLan, DataVen, Referente, Valor, DataLan, Tipo, Despesa, Filtro, Conta");

// Whether the ledger's total of absolute amounts, with added more and
// removed less, stays within what Centavos hold: then no sum of its entries,
// in any order, leaves the range. A write that would pass it is refused
// before anything is stored. The total is read once for the connection and
// kept as it writes, so a check costs the same at any size of the account.
bool totalFitsWith(Connection& db, __int128 added, __int128 removed = 0);

// Throws DbError unless totalFitsWith: DbCause::Overflow, or
// DbCause::StoredPastLimit when the stored amounts alone are already past
// it. Inside the write transaction, after its lock is held, so that no other
// program's write comes between the check and the rows.
void checkTotalFits(Connection& db, __int128 added, __int128 removed = 0);

// Adds entries as a window posts them: in one transaction, the total
// checked under its lock first; every row or, on any failure, none.
void addLancamentos(Connection& db, const std::vector<Lancamento>& novos);

// Changes a stored entry as the editor saves it: in one transaction, the
// total checked under its lock against the value stored then; false when
// the entry is gone.
bool updateLancamentoWithinLimit(Connection& db, const Lancamento& l);

} // namespace data
