#pragma once
// The account file's "Like": "%" any run of characters, "_" one character,
// compared without regard to case for every letter, accented ones included
// ("PREVISÃO" is like "%previsão%"). Registered on every connection in place
// of SQLite's own, which folds only ASCII letters.
#include <QString>

struct sqlite3;

namespace data {

bool likeMatch(const QString& text, const QString& pattern, QChar escape = QChar());

// A text as like() compares it, every character case-folded: a text is
// like another matched literally exactly when their folded forms are equal.
QString likeFolded(const QString& text);

// Escapes "%", "_" and "\" so that a text is matched literally with ESCAPE '\'.
QString likeLiteral(const QString& text);

void registerLike(sqlite3* db);

} // namespace data
