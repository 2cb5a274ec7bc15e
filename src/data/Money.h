#pragma once
// Amounts are whole centavos, exact in sums. A typed amount is rounded to the
// centavo, halves to even, when it is converted; only the financial
// calculator works in double.
#include <QString>
#include <cstdint>

namespace data {

using Centavos = std::int64_t;

// An exact decimal number: mantissa / 10^scale.
struct Decimal {
    __int128 mantissa = 0;
    int scale = 0;
};

// A number typed with a decimal comma: "1234,56", "1.234,56", "12", ",5",
// with an optional sign. "." groups thousands when it stands before groups of
// three digits and a comma or the end, and is the decimal mark otherwise
// ("12.5"). Empty text, "," alone or anything else is not a number.
bool parseDecimal(const QString& text, Decimal& out);

// The one range of amounts, whatever they come from (a box, a grid cell, a
// statement file, a spreadsheet's double): at most thirteen whole digits,
// so -9.999.999.999.999,99 to 9.999.999.999.999,99, the limit of the entry
// windows. Within it no realistic sum comes near the centavos' range.
inline constexpr int kMaxDigitosInteiros = 13;
inline constexpr Centavos kMaxCentavos = 999'999'999'999'999;

// Rounds to centavos, halves to even; false when the amount (rounded) lies
// outside the range, or the double is NaN or infinite.
bool toCentavos(const Decimal& value, Centavos& out);
bool toCentavos(double reais, Centavos& out);

// Typed text to centavos; false when the text is not a number or lies
// outside the range.
bool parseMoney(const QString& text, Centavos& out);

// A bound of a searched range of amounts: like parseMoney, but a number
// beyond the range stands for the range's end, past which nothing is stored.
bool parseMoneyBound(const QString& text, Centavos& out);

// a + b; a sum that leaves the centavos' range throws std::overflow_error
// instead of wrapping round to a wrong balance.
Centavos addMoney(Centavos a, Centavos b);


// "#,##0.00": "1.234,56", "-0,50", "0,00".
QString formatMoney(Centavos value);
// The same without thousands points ("1234,56"), as value boxes hold it.
QString formatMoneyPlain(Centavos value);

inline double toReais(Centavos value) { return double(value) / 100.0; }

} // namespace data
