#include "data/Money.h"

#include <QRegularExpression>
#include <cmath>

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

Centavos toCentavos(const Decimal& value)
{
    __int128 m = value.mantissa < 0 ? -value.mantissa : value.mantissa;
    int scale = value.scale;
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
    const Centavos c = Centavos(q);
    return value.mantissa < 0 ? -c : c;
}

Centavos toCentavos(double reais)
{
    // Through the shortest decimal text of the double, so 0.1 + 0.2 style
    // noise does not decide a half.
    Decimal d;
    QString s = QString::number(reais, 'f', 10);
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    if (!parseDecimal(s, d))
        return Centavos(std::llround(reais * 100.0));
    return toCentavos(d);
}

bool parseMoney(const QString& text, Centavos& out)
{
    Decimal d;
    if (!parseDecimal(text, d))
        return false;
    out = toCentavos(d);
    return true;
}

bool multiplyMoney(const QString& a, const QString& b, Centavos& out)
{
    Decimal x, y;
    if (!parseDecimal(a, x) || !parseDecimal(b, y))
        return false;
    if (x.scale + y.scale > 30)
        return false;
    Decimal p{x.mantissa * y.mantissa, x.scale + y.scale};
    out = toCentavos(p);
    return true;
}

namespace {
QString format(Centavos value, bool grouping)
{
    const bool negative = value < 0;
    const unsigned long long v = negative ? 0ULL - static_cast<unsigned long long>(value)
                                          : static_cast<unsigned long long>(value);
    QString whole = QString::number(v / 100);
    const QString frac = QString::number(v % 100).rightJustified(2, QLatin1Char('0'));
    if (grouping) {
        QString g;
        const int n = int(whole.size());
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                g += QLatin1Char('.');
            g += whole[i];
        }
        whole = g;
    }
    return (negative ? QStringLiteral("-") : QString()) + whole + QLatin1Char(',') + frac;
}
} // namespace

QString formatMoney(Centavos value) { return format(value, true); }
QString formatMoneyPlain(Centavos value) { return format(value, false); }

} // namespace data
