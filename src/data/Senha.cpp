#include "data/Senha.h"

namespace data {
namespace {
// The record the program uses is the first one the table shows.
const QString kFirst = QStringLiteral("(SELECT rowid FROM Senha ORDER BY rowid LIMIT 1)");

void updateColumn(Connection& db, const QString& column, const QVariant& value)
{
    Statement s(db, QStringLiteral("UPDATE Senha SET ") + column + QStringLiteral(" = ? WHERE rowid = ") + kFirst,
                value);
    s.exec();
}
} // namespace

SenhaRecord readSenha(Connection& db)
{
    SenhaRecord r;
    Statement s(db, QStringLiteral("SELECT Senha, UltimoAcesso, Backup FROM Senha ORDER BY rowid LIMIT 1"));
    if (s.next()) {
        r.found = true;
        r.senha = s.isNull(0) ? QString() : s.text(0);
        r.ultimoAcesso = s.date(1);
        r.backup = s.date(2);
    }
    return r;
}

void updateUltimoAcesso(Connection& db, const QDate& date) { updateColumn(db, QStringLiteral("UltimoAcesso"), date); }
void updateBackup(Connection& db, const QDate& date) { updateColumn(db, QStringLiteral("Backup"), date); }
void updateSenha(Connection& db, const QString& senha) { updateColumn(db, QStringLiteral("Senha"), senha); }

} // namespace data
