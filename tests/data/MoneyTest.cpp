#include "data/Money.h"

#include <gtest/gtest.h>
#include <limits>
#include <ostream>
#include <stdexcept>

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
                                           ParseCase{"12a", false, 0}, ParseCase{"-", false, 0},
                                           // The one range: thirteen whole digits either way.
                                           ParseCase{"9999999999999,99", true, 999999999999999},
                                           ParseCase{"-9.999.999.999.999,99", true, -999999999999999},
                                           ParseCase{"9999999999999,995", false, 0},
                                           ParseCase{"10000000000000", false, 0},
                                           ParseCase{"92233720368547758,08", false, 0},
                                           ParseCase{"-92233720368547758,07", false, 0},
                                           ParseCase{"99999999999999999999", false, 0},
                                           ParseCase{"123456789012345678901234567890", false, 0}));

TEST(MoneyFormat, EveryAmountOfEveryWindowInBrazilianSeparatorsWithTheSignInFront)
{
    const struct {
        data::Centavos centavos;
        const char* agrupado;
        const char* simples;
    } casos[] = {
        {0, "0,00", "0,00"},
        {5, "0,05", "0,05"},
        {-50, "-0,50", "-0,50"},
        {99'999, "999,99", "999,99"},
        {100'000, "1.000,00", "1000,00"},
        {123'456, "1.234,56", "1234,56"},
        {-123'456'789, "-1.234.567,89", "-1234567,89"},
        {data::kMaxCentavos, "9.999.999.999.999,99", "9999999999999,99"},
        {-data::kMaxCentavos, "-9.999.999.999.999,99", "-9999999999999,99"},
        // Sums past what an entry holds, to the ends of the centavos' range.
        {std::numeric_limits<data::Centavos>::max(), "92.233.720.368.547.758,07", "92233720368547758,07"},
        {std::numeric_limits<data::Centavos>::min(), "-92.233.720.368.547.758,08", "-92233720368547758,08"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(data::formatMoney(c.centavos), QString::fromLatin1(c.agrupado)) << c.centavos;
        EXPECT_EQ(data::formatMoneyPlain(c.centavos), QString::fromLatin1(c.simples)) << c.centavos;
    }
}

TEST(MoneyFromDouble, HalvesToEvenWithoutBinaryNoiseAndStaysInRange)
{
    const struct {
        double reais;
        bool ok;
        data::Centavos centavos;
    } casos[] = {
        {2.675, true, 268},  // 2.675 is stored as 2.67499999...; typed, it is a half
        {0.125, true, 12},
        {-1.005, true, -100},
        {100.0 / 3.0, true, 3333},
        {9999999999999.99, true, 999999999999999},
        {1e13, false, 0},
        {-9.3e16, false, 0},
        {1e300, false, 0},
        {std::numeric_limits<double>::quiet_NaN(), false, 0},
        {std::numeric_limits<double>::infinity(), false, 0},
        {-std::numeric_limits<double>::infinity(), false, 0},
    };
    for (const auto& c : casos) {
        data::Centavos v = -1;
        EXPECT_EQ(data::toCentavos(c.reais, v), c.ok) << c.reais;
        if (c.ok) {
            EXPECT_EQ(v, c.centavos) << c.reais;
        }
    }
}

TEST(MoneyBound, BeyondTheRangeStandsForItsEnd)
{
    const struct {
        const char* texto;
        bool ok;
        data::Centavos centavos;
    } casos[] = {
        {"12,5", true, 1250},
        {"99999999999999999999", true, data::kMaxCentavos},
        {"-92233720368547758,08", true, -data::kMaxCentavos},
        {",", false, 0},
    };
    for (const auto& c : casos) {
        data::Centavos v = -1;
        EXPECT_EQ(data::parseMoneyBound(QString::fromUtf8(c.texto), v), c.ok) << c.texto;
        if (c.ok) {
            EXPECT_EQ(v, c.centavos) << c.texto;
        }
    }
}

TEST(MoneySum, RefusesToWrapRound)
{
    EXPECT_EQ(data::addMoney(data::kMaxCentavos, -data::kMaxCentavos), 0);
    EXPECT_THROW(data::addMoney(std::numeric_limits<data::Centavos>::max(), 1), std::overflow_error);
    EXPECT_THROW(data::addMoney(std::numeric_limits<data::Centavos>::min(), -1), std::overflow_error);
}

} // namespace
