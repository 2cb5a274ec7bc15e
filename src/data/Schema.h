#pragma once
// The tables of an account file. The account-file creator and the tests
// make them; the login compares a file's schema with them. The program
// itself never creates a table.
#include "data/Database.h"

#include <vector>

namespace data {

void createSchema(Connection& db);

// One row of a file's schema list, as the engine keeps it.
struct SchemaObject {
    QString type;   // "table", "index", "trigger", "view"
    QString name;
    QString table;  // the table an index belongs to
    QString sql;    // the definition as written; empty for the engine's own indexes
};

// Every object a file made by the program may hold: what createSchema
// writes (the engine's own sequence table included) and the index
// definitions earlier versions wrote.
const std::vector<SchemaObject>& programSchema();

// Two definitions are the same when they differ only in blanks and line
// breaks.
bool sameDefinition(const QString& a, const QString& b);

} // namespace data
