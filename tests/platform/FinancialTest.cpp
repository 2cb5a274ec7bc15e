// Payment, present value and rate of an annuity.
#include "platform/financial.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

using platform::FinancialError;

TEST(Financial, PaymentAndPresentValueOfKnownLoans)
{
    struct Caso {
        double rate, nper, pv, fv, pmt;
    };
    const Caso casos[] = {
        {0.01, 12, -10000, 0, 888.4878867834},      // a loan's instalment
        {0.01, 12, 0, -12000, 946.1854641401},      // saving towards an item
        {0.0, 12, -12000, 0, 1000.0},               // no interest
        {0.0, 10, -500, -500, 100.0},
        {0.005, 360, 0, -166791.6144, 166.0419},    // saving towards a capital
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.rate);
        EXPECT_NEAR(platform::Pmt(c.rate, c.nper, c.pv, c.fv), c.pmt, 1e-4);
    }
    EXPECT_NEAR(platform::PV(0.005, 360, -1000), 166791.6144, 1e-3);
    EXPECT_NEAR(platform::PV(0.0, 360, -1000), 360000.0, 1e-9);
}

TEST(Financial, RateUndoesPayment)
{
    struct Caso {
        double rate, nper;
    };
    const Caso casos[] = {{0.01, 12}, {0.0, 12}, {0.035, 48}, {-0.02, 10}, {0.25, 6}, {0.000001, 360}, {1.5, 3}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.rate);
        const double pmt = platform::Pmt(c.rate, c.nper, 10000);
        EXPECT_NEAR(platform::Rate(c.nper, pmt, 10000), c.rate, 1e-9);
    }
}

TEST(Financial, RateFindsTheRootFarFromTheGuess)
{
    // Paying back 100 000 on a loan of 1 000 in two instalments: a rate
    // near 990 % a month, where Newton from 10 % overshoots.
    const double pmt = platform::Pmt(9.9, 2, 1000);
    EXPECT_NEAR(platform::Rate(2, pmt, 1000), 9.9, 1e-8);
    EXPECT_NEAR(platform::Rate(12, -888.49, 10000), 0.01, 1e-5);
}

struct CasoTaxa {
    double n, pv, pmt, taxa;
};
#include "RateCases.inc"

// Loans at rates of 0 to 30 % a month over 1 to 600 months, from tens of
// reais to hundreds of millions, with the instalment rounded to centavos as
// a user types it; the rates come from an independent computation.
TEST(Financial, RateMatchesAnIndependentComputation)
{
    for (const CasoTaxa& c : casosComTaxa) {
        SCOPED_TRACE(std::to_string(c.n) + " " + std::to_string(c.pv) + " " + std::to_string(c.pmt));
        EXPECT_NEAR(platform::Rate(c.n, c.pmt, c.pv), c.taxa, 1e-10 * std::max(1.0, std::fabs(c.taxa)));
    }
    for (const CasoTaxa& c : casosSemTaxa) {
        SCOPED_TRACE(std::to_string(c.n) + " " + std::to_string(c.pv) + " " + std::to_string(c.pmt));
        EXPECT_THROW(platform::Rate(c.n, c.pmt, c.pv), FinancialError);
    }
    EXPECT_THROW(platform::Rate(12, 0, 0), FinancialError); // every rate fits
}

TEST(Financial, QuestionsWithoutAnAnswerFail)
{
    EXPECT_THROW(platform::Pmt(0.01, 0, -1000), FinancialError);
    EXPECT_THROW(platform::Pmt(0.0, 0, -1000), FinancialError);
    EXPECT_THROW(platform::PV(0.01, 0, -1000), FinancialError);
    EXPECT_THROW(platform::Rate(0, -100, 1000), FinancialError);
    EXPECT_THROW(platform::Pmt(-1.0, 12, -1000), FinancialError);
    EXPECT_THROW(platform::Pmt(1e6, 1e6, -1000), FinancialError);  // beyond a double
    // Payments of the same sign as the loan never pay it back.
    EXPECT_THROW(platform::Rate(12, 100, 1000), FinancialError);
    EXPECT_THROW(platform::Rate(12, std::nan(""), 1000), FinancialError);
}

TEST(Financial, RateOfAnUnpaidLoanIsNotMinusOneHundredPercent)
{
    // Nothing paid back: the equation only tends to zero towards −100 %, and
    // on long terms it reaches an exact 0 there by underflow.
    for (double n : {12.0, 48.0, 60.0, 100.0, 120.0, 180.0, 309.0, 360.0, 600.0}) {
        SCOPED_TRACE(n);
        EXPECT_THROW(platform::Rate(n, 0, 10000), FinancialError);
        EXPECT_THROW(platform::Rate(n, 0, 0, 10000), FinancialError);
        EXPECT_THROW(platform::Rate(n, 0, 10000, 500), FinancialError);
    }
    // Without instalments a sum that grows into another still has its rate.
    EXPECT_NEAR(platform::Rate(12, 0, -10000, 11268.25), 0.01, 1e-7);
    EXPECT_NEAR(platform::Rate(360, 0, -10000, 1000), std::expm1(std::log(0.1) / 360), 1e-12);
}
