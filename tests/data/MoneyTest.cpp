#include "data/Money.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

struct ParseCase {
    const char* text;
    bool ok;
    data::Centavos centavos;
};

std::ostream& operator<<(std::ostream& os, const ParseCase& c) { return os << '"' << c.text << '"'; }

class MoneyParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(MoneyParse, TypedTextBecomesCentavosHalvesToEven)
{
    const auto& c = GetParam();
    data::Centavos v = -1;
    EXPECT_EQ(data::parseMoney(QString::fromUtf8(c.text), v), c.ok) << c.text;
    if (c.ok) {
        EXPECT_EQ(v, c.centavos) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, MoneyParse,
                         ::testing::Values(ParseCase{"1234,56", true, 123456}, ParseCase{"1.234,56", true, 123456},
                                           ParseCase{"1.234.567,8", true, 123456780}, ParseCase{"12", true, 1200},
                                           ParseCase{",5", true, 50}, ParseCase{"0,125", true, 12},
                                           ParseCase{"0,135", true, 14}, ParseCase{"0,1251", true, 13},
                                           ParseCase{"-2,005", true, -200}, ParseCase{"-2,015", true, -202},
                                           ParseCase{"12.5", true, 1250}, ParseCase{"1.234", true, 123400},
                                           ParseCase{",", false, 0}, ParseCase{"", false, 0},
                                           ParseCase{"abc", false, 0}, ParseCase{"1,2,3", false, 0},
                                           ParseCase{"12a", false, 0}, ParseCase{"-", false, 0}));

TEST(MoneyFormat, BrazilianSeparatorsWithTheSignInFront)
{
    EXPECT_EQ(data::formatMoney(0), QStringLiteral("0,00"));
    EXPECT_EQ(data::formatMoney(5), QStringLiteral("0,05"));
    EXPECT_EQ(data::formatMoney(-50), QStringLiteral("-0,50"));
    EXPECT_EQ(data::formatMoney(123456), QStringLiteral("1.234,56"));
    EXPECT_EQ(data::formatMoney(-123456789), QStringLiteral("-1.234.567,89"));
    EXPECT_EQ(data::formatMoney(100000), QStringLiteral("1.000,00"));
    EXPECT_EQ(data::formatMoneyPlain(-123456789), QStringLiteral("-1234567,89"));
}

TEST(MoneyProduct, ExactBeforeRounding)
{
    data::Centavos v = 0;
    ASSERT_TRUE(data::multiplyMoney(QStringLiteral("12"), QStringLiteral("45"), v));
    EXPECT_EQ(v, 54000);
    ASSERT_TRUE(data::multiplyMoney(QStringLiteral("1,5"), QStringLiteral("3"), v));
    EXPECT_EQ(v, 450);
    ASSERT_TRUE(data::multiplyMoney(QStringLiteral("0,05"), QStringLiteral("0,5"), v));
    EXPECT_EQ(v, 2);  // 0,025 to even
    EXPECT_FALSE(data::multiplyMoney(QString(), QString(), v));
}

TEST(MoneyFromDouble, HalvesToEvenWithoutBinaryNoise)
{
    EXPECT_EQ(data::toCentavos(2.675), 268);  // 2.675 is stored as 2.67499999...; typed, it is a half
    EXPECT_EQ(data::toCentavos(0.125), 12);
    EXPECT_EQ(data::toCentavos(-1.005), -100);
    EXPECT_EQ(data::toCentavos(100.0 / 3.0), 3333);
}

} // namespace
