#pragma once
// The tables of an account file. Used by the account-file creator and the
// tests; the program itself never creates a table.
#include "data/Database.h"

namespace data {

void createSchema(Connection& db);

} // namespace data
