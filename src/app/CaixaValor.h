#pragma once
// The value boxes of the entry windows and the budget: the keys they take
// (those of every number box, plus "*" and "="), the product "a*b" worked
// out by "=", and reading a box's text as an amount.
#include "data/Money.h"
#include "platform/NumberKeys.h"

#include <QString>

class QLineEdit;

namespace app {

// The message of a product or a value that is no number.
inline const QString kConteudoInvalido = QStringLiteral("Conteúdo inválido do campo ''Valor''.");

// The product of the text before the first "*" and the text after it,
// rounded to the centavo (halves to even) and written with a decimal comma,
// no thousands points and no trailing zeros ("1,333*3" gives "4", "12*45"
// gives "540"); false without a "*", when either side is no number typed in
// a value box (an empty side, ",", another "*") or the product has more than
// thirteen whole digits.
bool produtoValor(const QString& texto, QString& resultado);

// A box's text as an amount: digits with one optional decimal comma, no
// sign, at most thirteen whole digits; with pontosDeMilhar also "." between
// thousands, as a box shows an amount filled in by the program
// ("1.234,56"). False for anything else, an empty text included.
bool lerValor(const QString& texto, data::Centavos& out, bool pontosDeMilhar = false);

// Makes a line edit a value box: the number keys with "*" any number of
// times, the comma test on the whole text (selected or not), at most two
// digits after the comma, and "=" which,
// when the box holds a "*", replaces the text with the product or shows
// kConteudoInvalido (critical, `app::kAtencao`) and leaves it. Every other Ctrl
// and Alt key is dropped; a paste goes through the same keys as a whole.
// The filter belongs to the box.
platform::NumberKeyFilter* instalarCaixaValor(QLineEdit* caixa);

} // namespace app
