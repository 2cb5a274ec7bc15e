#pragma once
// The two settings of the statement import kept in the account file: the
// layout chosen last and the statements folder, in the Referente column of
// the fixed Orcamento rows 10000 and 10001. Every account file holds both
// rows; these functions only read and update them, never add them.
#include "data/Database.h"

#include <optional>

namespace importacao {

inline constexpr int kLinhaModeloExtrato = 10000;
inline constexpr int kLinhaPastaExtratos = 10001;

// The stored text, empty for a NULL; nullopt when the row is missing.
std::optional<QString> lerModeloExtrato(data::Connection& db);
std::optional<QString> lerPastaExtratos(data::Connection& db);

// Stores the text as it stands (apostrophes included). A missing row
// changes nothing, so the choice is simply not remembered.
void gravarModeloExtrato(data::Connection& db, const QString& modelo);
void gravarPastaExtratos(data::Connection& db, const QString& pasta);

} // namespace importacao
