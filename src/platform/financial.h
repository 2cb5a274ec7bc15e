#pragma once
// Payment, present value and rate of an annuity with payments at the end of
// every period. The usual sign convention holds: money paid out is negative.
// Every amount satisfies
//     pv·(1+r)^n + pmt·((1+r)^n − 1)/r + fv = 0
// (for r = 0: pv + pmt·n + fv = 0).
#include <stdexcept>
#include <string_view>

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

// A real with at least 33 significant digits where the machine has one in
// software or hardware (GCC's on x86, long double on ARM64): amounts of up
// to 15 digits and what they give keep every centavo, where a double keeps
// 15 to 16 digits in all and loses centavos on large amounts.
#if defined(VORSAL_QUADMATH)
using WideReal = __float128;
#else
using WideReal = long double;
#endif

// Payment and present value as above, computed in the wide real.
WideReal Pmt(WideReal rate, WideReal nper, WideReal pv, WideReal fv = 0);
WideReal PV(WideReal rate, WideReal nper, WideReal pmt, WideReal fv = 0);

// A number written [+-]digits[.digits] (a point before the decimals, no
// grouping), read to the nearest wide real; false for any other text.
bool parseWide(std::string_view text, WideReal& out);

// An amount in reais as whole centavos, half away from zero. A result
// within the computation's own error of a half centavo is taken as the half
// it is meant to be (10,005 is a half, not 10,00499...). False when it does
// not fit 64 bits.
bool roundToCents(WideReal reais, long long& centavos);

} // namespace platform
