#include "platform/conversions.h"
#include "platform/Drives.h"
#include "platform/formats.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(DateFormats, FixedPortugueseNamesWithoutPeriods)
{
    const QDate sat(2024, 3, 16);
    EXPECT_EQ(formatDate(sat, "DD/MM/YYYY"), QStringLiteral("16/03/2024"));
    EXPECT_EQ(formatDate(sat, "dddd"), QStringLiteral("sábado"));
    EXPECT_EQ(formatDate(sat, "ddd"), QStringLiteral("sáb"));
    EXPECT_EQ(formatDate(QDate(2024, 3, 17), "ddd"), QStringLiteral("dom"));
    EXPECT_EQ(formatDate(sat, "mmmm"), QStringLiteral("março"));
    EXPECT_EQ(formatDate(sat, "DD-MM-YYYY"), QStringLiteral("16-03-2024"));
    EXPECT_EQ(formatDate(sat, "MM/DD/YYYY"), QStringLiteral("03/16/2024"));
    EXPECT_EQ(formatDate(sat, "DD/MM"), QStringLiteral("16/03"));
    EXPECT_EQ(formatDate(QDate(2024, 1, 5), "DD/MM/YY"), QStringLiteral("05/01/24"));
    EXPECT_EQ(formatDate(QDate(), "DD/MM/YYYY"), QString());
    EXPECT_EQ(capitalizeFirst(formatDate(QDate(2024, 3, 18), "dddd")), QStringLiteral("Segunda-feira"));
}

TEST(NumberFormats, BrazilianSeparatorsAndPadding)
{
    EXPECT_EQ(formatNumber(qint64(7), "000"), QStringLiteral("007"));
    EXPECT_EQ(formatNumber(qint64(1234), "000000"), QStringLiteral("001234"));
    EXPECT_EQ(formatNumber(qint64(5), "00"), QStringLiteral("05"));
    EXPECT_EQ(formatNumber(1234567.891, "#,##0.00"), QStringLiteral("1.234.567,89"));
    EXPECT_EQ(formatNumber(-0.5, "#,##0.00"), QStringLiteral("-0,50"));
    EXPECT_EQ(formatNumber(-0.001, "#,##0.00"), QStringLiteral("0,00"));
    EXPECT_EQ(formatNumber(0.0125, "0.00%"), QStringLiteral("1,25%"));
    EXPECT_EQ(formatNumber(12.345, "#,##0.00%"), QStringLiteral("1.234,50%"));
    EXPECT_EQ(formatNumber(2.675, "0.00"), QStringLiteral("2,68"));
}

TEST(Conversions, OnlyRealDatesTypedDayFirst)
{
    EXPECT_EQ(parseDate("29/02/2024"), QDate(2024, 2, 29));
    EXPECT_FALSE(parseDate("29/02/2023").isValid());
    EXPECT_FALSE(parseDate("31/04/2024").isValid());
    EXPECT_FALSE(parseDate("__/__/____").isValid());
    EXPECT_FALSE(parseDate("12/0_/____").isValid());
    EXPECT_EQ(parseDate("1/2/2024"), QDate(2024, 2, 1));
    EXPECT_EQ(parseDayMonth("05/03", 2026), QDate(2026, 3, 5));
    EXPECT_FALSE(parseDayMonth("30/02", 2026).isValid());
}

TEST(Conversions, LeadingNumberIsReadLikeTheRunTime)
{
    EXPECT_DOUBLE_EQ(Val("12abc"), 12);
    EXPECT_DOUBLE_EQ(Val(" 2.5"), 2.5);
    EXPECT_DOUBLE_EQ(Val("2,5"), 2);
    EXPECT_DOUBLE_EQ(Val("1 2"), 12);
    EXPECT_DOUBLE_EQ(Val("-3"), -3);
    EXPECT_DOUBLE_EQ(Val("abc"), 0);
    EXPECT_DOUBLE_EQ(Val(""), 0);
    qint64 n = 0;
    EXPECT_TRUE(parseWholeNumber(" 12 ", n));
    EXPECT_EQ(n, 12);
    EXPECT_FALSE(parseWholeNumber("2.5", n));
    EXPECT_FALSE(parseWholeNumber("dois", n));
    EXPECT_FALSE(parseWholeNumber("", n));
}

TEST(Conversions, AddingMonthsClampsToTheMonthEnd)
{
    EXPECT_EQ(addMonths(QDate(2024, 1, 31), 1), QDate(2024, 2, 29));
    EXPECT_EQ(addMonths(QDate(2023, 1, 31), 1), QDate(2023, 2, 28));
    EXPECT_EQ(addMonths(QDate(2024, 1, 31), 2), QDate(2024, 3, 31));
    EXPECT_EQ(addMonths(QDate(2024, 12, 10), 1), QDate(2025, 1, 10));
    EXPECT_EQ(addMonths(QDate(2024, 3, 31), -1), QDate(2024, 2, 29));
}

TEST(DrivesMapping, LettersBecomeFolders)
{
    const QByteArray old = qgetenv("VORSAL_DRIVES");
    qputenv("VORSAL_DRIVES", "/tmp/drives");
    EXPECT_EQ(Drives::folder("d"), QStringLiteral("/tmp/drives/D"));
    EXPECT_EQ(Drives::toLocal("C:\\Banco\\Casa Nova.mdb"), QStringLiteral("/tmp/drives/C/Banco/Casa Nova.mdb"));
    qunsetenv("VORSAL_DRIVES");
    EXPECT_EQ(Drives::folder("C:"), QDir::homePath());
    EXPECT_EQ(Drives::folder("E"), QStringLiteral("/mnt/e"));
    if (!old.isEmpty())
        qputenv("VORSAL_DRIVES", old);
}

} // namespace
