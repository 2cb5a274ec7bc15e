#pragma once
// Fixed Brazilian Portuguese formats, independent of the machine's locale:
// dates in the "DD/MM/YYYY" family with our own weekday and month names, and
// numbers with "." for thousands and "," for decimals.
#include <QDate>
#include <QString>

namespace platform {

// Full and short names; weekday 1 is Monday as in QDate::dayOfWeek().
QString weekdayName(int dayOfWeek);       // "segunda-feira"
QString weekdayShortName(int dayOfWeek);  // "seg" (no period)
QString monthName(int month);             // "janeiro"
QString monthShortName(int month);        // "jan"

// Date formats made of the tokens d, dd, ddd, dddd, m, mm, mmm, mmmm, yy,
// yyyy in either case; any other character stands as it is.
// An invalid date formats as an empty text.
QString formatDate(const QDate& date, const QString& format);

// "DD/MM/YYYY".
QString fmtDate(const QDate& date);

// Number formats: "#,##0.00", "000", "000000", "00", "0", "0.00%",
// "#,##0.00%". Rounds half away from zero; a negative number carries "-" in
// front. Thousands "." and decimal "," as the program shows them.
QString formatNumber(double value, const QString& format);
QString formatNumber(qint64 value, const QString& format);

// The first letter in capitals, the rest as it stands.
QString capitalizeFirst(const QString& text);

} // namespace platform
