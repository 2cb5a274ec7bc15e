#include "platform/formats.h"

#include <cmath>

namespace platform {
namespace {
const char* const kWeekdays[] = {"segunda-feira", "terça-feira", "quarta-feira", "quinta-feira",
                                 "sexta-feira", "sábado", "domingo"};
const char* const kWeekdaysShort[] = {"seg", "ter", "qua", "qui", "sex", "sáb", "dom"};
const char* const kMonths[] = {"janeiro", "fevereiro", "março", "abril", "maio", "junho",
                               "julho", "agosto", "setembro", "outubro", "novembro", "dezembro"};
const char* const kMonthsShort[] = {"jan", "fev", "mar", "abr", "mai", "jun",
                                    "jul", "ago", "set", "out", "nov", "dez"};

QString pad(int v, int width) { return QString::number(v).rightJustified(width, QLatin1Char('0')); }

// Groups the digits of a whole number text in threes with ".".
QString groupThousands(const QString& digits)
{
    QString out;
    const int n = digits.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char('.');
        out += digits[i];
    }
    return out;
}
} // namespace

QString weekdayName(int d) { return d >= 1 && d <= 7 ? QString::fromUtf8(kWeekdays[d - 1]) : QString(); }
QString weekdayShortName(int d) { return d >= 1 && d <= 7 ? QString::fromUtf8(kWeekdaysShort[d - 1]) : QString(); }
QString monthName(int m) { return m >= 1 && m <= 12 ? QString::fromUtf8(kMonths[m - 1]) : QString(); }
QString monthShortName(int m) { return m >= 1 && m <= 12 ? QString::fromUtf8(kMonthsShort[m - 1]) : QString(); }

QString formatDate(const QDate& date, const QString& format)
{
    if (!date.isValid())
        return QString();
    QString out;
    int i = 0;
    const int n = format.size();
    while (i < n) {
        const QChar c = format[i].toLower();
        if (c == QLatin1Char('d') || c == QLatin1Char('m') || c == QLatin1Char('y')) {
            int run = 1;
            while (i + run < n && format[i + run].toLower() == c)
                ++run;
            i += run;
            if (c == QLatin1Char('d')) {
                if (run == 1) out += QString::number(date.day());
                else if (run == 2) out += pad(date.day(), 2);
                else if (run == 3) out += weekdayShortName(date.dayOfWeek());
                else out += weekdayName(date.dayOfWeek());
            } else if (c == QLatin1Char('m')) {
                if (run == 1) out += QString::number(date.month());
                else if (run == 2) out += pad(date.month(), 2);
                else if (run == 3) out += monthShortName(date.month());
                else out += monthName(date.month());
            } else {
                if (run <= 2) out += pad(date.year() % 100, 2);
                else out += pad(date.year(), 4);
            }
            continue;
        }
        out += format[i];
        ++i;
    }
    return out;
}

QString fmtDate(const QDate& date) { return formatDate(date, QStringLiteral("DD/MM/YYYY")); }

QString formatNumber(double value, const QString& format)
{
    QString f = format;
    const bool percent = f.endsWith(QLatin1Char('%'));
    if (percent) {
        f.chop(1);
        value *= 100.0;
    }
    const int point = f.indexOf(QLatin1Char('.'));
    const QString intPart = point >= 0 ? f.left(point) : f;
    const int decimals = point >= 0 ? int(f.size() - point - 1) : 0;
    const bool grouping = intPart.contains(QLatin1Char(','));
    const int minDigits = int(intPart.count(QLatin1Char('0')));

    const double scale = std::pow(10.0, decimals);
    // Half away from zero, after removing binary noise such as 2.675 -> 2.67499...
    double scaled = std::fabs(value) * scale;
    scaled = std::round(std::nearbyint(scaled * 1e6) / 1e6);
    const bool negative = value < 0 && scaled != 0.0;
    QString digits = QString::number(scaled, 'f', 0);
    QString whole, frac;
    if (decimals > 0) {
        digits = digits.rightJustified(decimals + 1, QLatin1Char('0'));
        whole = digits.left(digits.size() - decimals);
        frac = digits.right(decimals);
    } else {
        whole = digits;
    }
    if (whole == QLatin1String("0") && minDigits == 0)
        whole.clear();
    whole = whole.rightJustified(minDigits, QLatin1Char('0'));
    if (grouping)
        whole = groupThousands(whole);
    QString out = negative ? QStringLiteral("-") : QString();
    out += whole;
    if (decimals > 0)
        out += QLatin1Char(',') + frac;
    if (percent)
        out += QLatin1Char('%');
    return out;
}

QString formatNumber(qint64 value, const QString& format)
{
    if (format.contains(QLatin1Char('.')) || format.contains(QLatin1Char('%')))
        return formatNumber(double(value), format);
    const bool grouping = format.contains(QLatin1Char(','));
    const int minDigits = int(format.count(QLatin1Char('0')));
    const bool negative = value < 0;
    QString whole = QString::number(negative ? -value : value);
    if (whole == QLatin1String("0") && minDigits == 0)
        whole.clear();
    whole = whole.rightJustified(minDigits, QLatin1Char('0'));
    if (grouping)
        whole = groupThousands(whole);
    return (negative ? QStringLiteral("-") : QString()) + whole;
}

QString capitalizeFirst(const QString& text)
{
    if (text.isEmpty())
        return text;
    return text.left(1).toUpper() + text.mid(1);
}

} // namespace platform
