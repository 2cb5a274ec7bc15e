#include "platform/conversions.h"

#include <QRegularExpression>

#include <cmath>

namespace platform {

QDate parseDate(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4})\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return QDate();
    return QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
}

bool IsDate(const QString& text) { return parseDate(text).isValid(); }

QDate parseDayMonth(const QString& text, int year)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return QDate();
    return QDate(year, m.captured(2).toInt(), m.captured(1).toInt());
}

double Val(const QString& text)
{
    QString s;
    for (QChar c : text)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            s += c;
    int i = 0;
    QString num;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        num += s[i++];
    bool point = false;
    bool digits = false;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c.isDigit() && c.unicode() < 128) {
            num += c;
            digits = true;
        } else if (c == QLatin1Char('.') && !point) {
            num += c;
            point = true;
        } else {
            break;
        }
        ++i;
    }
    if (!digits)
        return 0.0;
    return num.toDouble();
}

bool parseWholeNumber(const QString& text, qint64& out)
{
    static const QRegularExpression re(QStringLiteral("^\\s*[+-]?\\d{1,18}\\s*$"));
    if (!re.match(text).hasMatch())
        return false;
    out = text.trimmed().toLongLong();
    return true;
}

namespace {
// A number typed with a decimal comma, written with a decimal point and no
// grouping ("1.234,56" as "1234.56"); an empty text when it is no number.
QString comPonto(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*[+-]?(\\d{1,3}(\\.\\d{3})+|\\d+)?(,\\d*)?\\s*$"));
    const QString t = text.trimmed();
    if (t.isEmpty() || !re.match(t).hasMatch())
        return QString();
    QString s = t;
    s.remove(QLatin1Char('.'));
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    if (s == QLatin1String(".") || s == QLatin1String("-.") || s == QLatin1String("+."))
        return QString();
    return s;
}
} // namespace

bool parseDecimalComma(const QString& text, double& out)
{
    const QString s = comPonto(text);
    bool ok = false;
    if (!s.isEmpty())
        out = s.toDouble(&ok);
    return ok;
}

bool parseDecimalComma(const QString& text, WideReal& out)
{
    double conferido = 0;
    if (!parseDecimalComma(text, conferido) || !std::isfinite(conferido))
        return false;
    const QByteArray s = comPonto(text).toLatin1();
    return parseWide(std::string_view(s.constData(), size_t(s.size())), out);
}

QDate addMonths(const QDate& date, int months) { return date.addMonths(months); }

} // namespace platform
