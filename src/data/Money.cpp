#include "data/Money.h"

#include <QRegularExpression>
#include <cmath>
#include <stdexcept>

namespace data {

bool parseDecimal(const QString& text, Decimal& out)
{
    QString t = text.trimmed();
    bool negative = false;
    if (!t.isEmpty() && (t[0] == QLatin1Char('-') || t[0] == QLatin1Char('+'))) {
        negative = t[0] == QLatin1Char('-');
        t = t.mid(1).trimmed();
    }
    static const QRegularExpression grouped(QStringLiteral("^\\d{1,3}(\\.\\d{3})+(,\\d*)?$"));
    if (grouped.match(t).hasMatch())
        t.remove(QLatin1Char('.'));
    else if (!t.contains(QLatin1Char(',')) && t.count(QLatin1Char('.')) == 1)
        t.replace(QLatin1Char('.'), QLatin1Char(','));
    static const QRegularExpression plain(QStringLiteral("^(\\d*)(,(\\d*))?$"));
    const auto m = plain.match(t);
    if (!m.hasMatch())
        return false;
    const QString whole = m.captured(1);
    const QString frac = m.captured(3);
    if (whole.isEmpty() && frac.isEmpty())
        return false;
    if (whole.size() + frac.size() > 30)
        return false;
    __int128 mant = 0;
    for (QChar c : whole + frac)
        mant = mant * 10 + (c.unicode() - '0');
    out.mantissa = negative ? -mant : mant;
    out.scale = int(frac.size());
    return true;
}

bool toCentavos(const Decimal& value, Centavos& out)
{
    __int128 m = value.mantissa < 0 ? -value.mantissa : value.mantissa;
    int scale = value.scale;
    // parseDecimal keeps at most 30 digits, so two more still fit.
    while (scale < 2) {
        m *= 10;
        ++scale;
    }
    __int128 divisor = 1;
    for (int i = 2; i < scale; ++i)
        divisor *= 10;
    __int128 q = m / divisor;
    const __int128 r = m % divisor;
    const __int128 twice = r * 2;
    if (twice > divisor || (twice == divisor && (q % 2) != 0))
        ++q;
    if (q > kMaxCentavos)
        return false;
    const Centavos c = Centavos(q);
    out = value.mantissa < 0 ? -c : c;
    return true;
}

bool toCentavos(double reais, Centavos& out)
{
    if (!std::isfinite(reais) || std::fabs(reais) >= 1e16)
        return false;
    // Through the decimal text of the double, so 0.1 + 0.2 style noise does
    // not decide a half.
    Decimal d;
    QString s = QString::number(reais, 'f', 10);
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    if (!parseDecimal(s, d))
        return false;
    return toCentavos(d, out);
}

bool parseMoney(const QString& text, Centavos& out)
{
    Decimal d;
    return parseDecimal(text, d) && toCentavos(d, out);
}

bool parseMoneyBound(const QString& text, Centavos& out)
{
    Decimal d;
    if (!parseDecimal(text, d))
        return false;
    if (!toCentavos(d, out))
        out = d.mantissa < 0 ? -kMaxCentavos : kMaxCentavos;
    return true;
}

Centavos addMoney(Centavos a, Centavos b)
{
    Centavos sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        throw std::overflow_error("Soma de valores fora do limite.");
    return sum;
}

namespace {
// Written backwards into a buffer, without a general formatter: a listing
// may write a hundred thousand amounts a screenful at a time, and every
// window's amounts come from here.
QString format(Centavos value, bool grouping)
{
    char buf[40];
    char* const end = buf + sizeof buf;
    char* p = end;
    const bool negative = value < 0;
    unsigned long long v = negative ? 0ULL - static_cast<unsigned long long>(value)
                                    : static_cast<unsigned long long>(value);
    const unsigned cents = unsigned(v % 100);
    v /= 100;
    *--p = char('0' + cents % 10);
    *--p = char('0' + cents / 10);
    *--p = ',';
    int digits = 0;
    do {
        if (grouping && digits > 0 && digits % 3 == 0)
            *--p = '.';
        *--p = char('0' + v % 10);
        v /= 10;
        ++digits;
    } while (v > 0);
    if (negative)
        *--p = '-';
    return QString::fromLatin1(p, end - p);
}
} // namespace

QString formatMoney(Centavos value) { return format(value, true); }
QString formatMoneyPlain(Centavos value) { return format(value, false); }

} // namespace data
