#pragma once
// A text box whose length limit applies to what the user types, never to a
// stored text it shows: a text saved longer than the limit (a description
// with " Parc. 1/2" added, a budget forecast) is shown whole, so a save
// writes back what the user left and not a shortened copy. Until the user
// brings the text back within the limit, the box takes no more characters
// than the stored text had.
#include <QString>

class QLineEdit;

namespace platform {

// Sets the typing limit of a box (in place of QLineEdit::setMaxLength).
void limitTyping(QLineEdit* caixa, int limite);

// Shows a stored text whole in a box set up by limitTyping.
void showStoredText(QLineEdit* caixa, const QString& texto);

} // namespace platform
