#pragma once
// Making a new account file: the tables and the content every account file
// must hold, and the names the login lists. Only the command-line creator
// (and tests) make files; the program itself never creates an account file.
#include <QDate>
#include <QString>

namespace data {

// A file name the login takes for a backup copy and never lists.
bool nomeDeCopia(const QString& nomeArquivo);

// An empty text when the name is acceptable; otherwise the reason.
QString checkAccountName(const QString& name);

// An empty text when the name and password are acceptable; otherwise the
// reason, as shown to the user.
QString checkNewAccount(const QString& name, const QString& senha);

// Writes a new account file at localPath, keyed with its password and
// readable by the user alone (0600). Throws DbError (or std::runtime_error)
// when the file exists or cannot be written; a failure leaves no file
// behind.
void createAccountFile(const QString& localPath, const QString& senha, const QDate& today);

} // namespace data
