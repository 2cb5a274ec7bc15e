#pragma once
// The engine's own aggregates of the account file, registered on every
// connection beside like() and the PORTUGUES collation.
struct sqlite3;

namespace data {

// soma(x): SUM whose total cannot overflow unseen; a total past int64 fails
// with kSomaForaDoLimite, which DbCause::Overflow reports.
void registerSoma(sqlite3* db);

// saltos(x, passo): how many times x, over the rows in the order read, moves
// more than passo from the row before; what planoDoPeriodo weighs an index by.
void registerSaltos(sqlite3* db);

} // namespace data
