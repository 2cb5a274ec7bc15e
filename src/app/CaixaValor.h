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

// How a product is written back into its box.
enum class EscritaProduto {
    // As a number is written as text: decimal comma, no thousands points, at
    // most 15 significant digits, no trailing zeros ("1,333*3" gives "3,999").
    Numero,
    // Rounded to the centavo first, then written the same way ("1,333*3"
    // gives "4"); a product of more than thirteen whole digits is refused.
    Centavos,
};

// The product of the text before the first "*" and the text after it; false
// without a "*", when either side is no number typed in a value box (an
// empty side, ",", another "*") or the product is too large.
bool produtoValor(const QString& texto, EscritaProduto escrita, QString& resultado);

// A box's text as an amount: digits with one optional decimal comma, no
// sign, at most thirteen whole digits; with pontosDeMilhar also "." between
// thousands, as a box shows an amount filled in by the program
// ("1.234,56"). False for anything else, an empty text included.
bool lerValor(const QString& texto, data::Centavos& out, bool pontosDeMilhar = false);

// Makes a line edit a value box: the number keys with "*" any number of
// times, the comma test on the whole text (selected or not), and "=" which,
// when the box holds a "*", replaces the text with the product or shows
// kConteudoInvalido (critical, `app::kAtencao`) and leaves it. Every other Ctrl
// and Alt key is dropped; a paste goes through the same keys as a whole.
// The filter belongs to the box.
platform::NumberKeyFilter* instalarCaixaValor(QLineEdit* caixa, EscritaProduto escrita);

} // namespace app
