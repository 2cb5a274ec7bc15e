#pragma once
// The account's login record: the first row of the table Senha.
#include "data/Database.h"

namespace data {

struct SenhaRecord {
    bool found = false;
    QString senha;          // null when the column is empty
    QDate ultimoAcesso;
    QDate backup;           // null when the column holds no date
};

SenhaRecord readSenha(Connection& db);
void updateUltimoAcesso(Connection& db, const QDate& date);
void updateBackup(Connection& db, const QDate& date);
void updateSenha(Connection& db, const QString& senha);

} // namespace data
