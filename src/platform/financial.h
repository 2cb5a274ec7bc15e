#pragma once
// Payment, present value and rate of an annuity with payments at the end of
// every period. The usual sign convention holds: money paid out is negative.
// Every amount satisfies
//     pv·(1+r)^n + pmt·((1+r)^n − 1)/r + fv = 0
// (for r = 0: pv + pmt·n + fv = 0).
#include <stdexcept>

namespace platform {

// An annuity question without an answer: no periods, a rate of −100 % or
// less, a result too large to hold, or a rate that cannot be found.
class FinancialError : public std::domain_error {
public:
    using std::domain_error::domain_error;
};

// The constant payment per period.
double Pmt(double rate, double nper, double pv, double fv = 0.0);

// The present value of the payments.
double PV(double rate, double nper, double pmt, double fv = 0.0);

// The rate per period, found numerically by halving an interval that holds
// it. A loan (fv = 0) has at most one rate; otherwise the guess picks the
// root nearest it.
double Rate(double nper, double pmt, double pv, double fv = 0.0, double guess = 0.1);

} // namespace platform
