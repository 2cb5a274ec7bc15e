#pragma once
// The order of texts a Portuguese reader expects: letters first, case and
// accents only breaking ties ("água" beside "Agulha", "b" before "C"), as the
// pt_BR collator orders them; texts equal to it are ordered by their bytes,
// so the order is total. Registered on every connection as PORTUGUES, for
// ORDER BY of the texts a user reads; sums, filters and Like are unchanged.
#include <QString>

struct sqlite3;

namespace data {

// Appended to a text column in ORDER BY: "Referente" + kCollate.
inline const QString kCollate = QStringLiteral(" COLLATE PORTUGUES");

// The same order for lists sorted in memory: <0, 0 or >0.
int compareText(const QString& a, const QString& b);

void registerCollation(sqlite3* db);

} // namespace data
