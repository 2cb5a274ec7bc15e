#pragma once
// A password box that shows every typed character as a chosen character
// ("$" in the login dialog, "*" in the password change), and tells a screen
// reader only that a character came.
#include <QChar>

class QLineEdit;

void mascararSenha(QLineEdit* box, QChar mostrado);
