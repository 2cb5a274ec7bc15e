#pragma once
// Making a new account file: the tables and the content every account file
// must hold. Only the command-line creator (and tests) use it; the program
// itself never creates an account file.
#include <QDate>
#include <QString>

namespace data {

// An empty text when the name and password are acceptable; otherwise the
// reason, as shown to the user.
QString checkNewAccount(const QString& name, const QString& senha);

// Writes a new encrypted account file at localPath. Throws DbError (or
// std::runtime_error) when the file exists or cannot be written; a failure
// leaves no file behind.
void createAccountFile(const QString& localPath, const QString& senha, const QDate& today);

} // namespace data
