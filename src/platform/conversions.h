#pragma once
// Conversions the windows apply to what the user typed.
#include <QDate>
#include <QString>

#include "platform/financial.h"

namespace platform {

// A date typed as day/month/year ("DD/MM/YYYY", also with one-digit day or
// month); a text that is not a real date gives a null QDate.
QDate parseDate(const QString& text);
bool IsDate(const QString& text);

// A day and month typed "DD/MM" in a given year; null when not a real day.
QDate parseDayMonth(const QString& text, int year);

// The run time's reading of a leading number: blanks are skipped, a sign,
// digits and one "." are read up to the first other character; nothing
// readable gives 0. "12abc" is 12, "2.5" is 2.5, "2,5" is 2.
double Val(const QString& text);

// A whole number typed by the user: digits only, with an optional sign and
// blanks around; anything else (a decimal, a word, empty) gives false.
bool parseWholeNumber(const QString& text, qint64& out);

// A decimal number typed with a decimal comma ("1.234,56" or "1234,5");
// false when the text is not a number.
bool parseDecimalComma(const QString& text, double& out);
// The same number read to the wide real's digits (see financial.h), where
// a double would round an amount's last digits; taken where the double
// reading takes it.
bool parseDecimalComma(const QString& text, WideReal& out);

// Months added to a date, clamped to the last day of a shorter month
// (31/01 + 1 month is 28/02 or 29/02).
QDate addMonths(const QDate& date, int months);

} // namespace platform
