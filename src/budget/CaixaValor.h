#pragma once
// The value boxes of the household budget (the three yearly income amounts
// and the line's value): what a typed key does, the product "a*b" closed
// with "=", and reading a box's text as an amount.
#include "data/Money.h"

#include <QString>

class QLineEdit;

namespace budget {

// The message of a product or a value that is no number.
inline const QString kConteudoInvalido = QStringLiteral("Conteúdo inválido do campo ''Valor''.");

// A key typed into a value box, given by the text it types; true when the
// box is to receive it. Digits, "*", Backspace, Enter and keys that type no
// character pass; "." becomes "," and "," passes while the box holds no ","
// (both are dropped once it does); "=" is dropped and, when the box holds a
// "*", replaces its text with the product, or shows kConteudoInvalido when
// either side is no number. Every other character is dropped.
bool teclaValor(QLineEdit* caixa, const QString& texto);

// The product of the text before the first "*" and the text after it,
// written with a decimal comma, no thousands points and no trailing zeros
// ("2,5*3" gives "7,5", "2,5*4" gives "10"), rounded to the centavo; false
// when either side is no number (an empty side included) or the product is
// too large for an amount.
bool produtoValor(const QString& texto, QString& resultado);

// A box's text as an amount: digits with a decimal comma and "." between
// thousands, as the box shows it after a fill ("1.234,56", "150", "7,5"); no
// sign. False for anything else, an empty text included, and for amounts
// of more than thirteen whole digits.
bool lerValor(const QString& texto, data::Centavos& out);

} // namespace budget
