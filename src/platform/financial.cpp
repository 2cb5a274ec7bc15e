#include "platform/financial.h"

#include <array>
#include <cmath>

namespace platform {
namespace {

void conferirPeriodos(double nper)
{
    if (!std::isfinite(nper) || nper == 0.0)
        throw FinancialError("número de períodos inválido");
}

void conferirTaxa(double rate)
{
    if (!std::isfinite(rate) || rate <= -1.0)
        throw FinancialError("taxa inválida");
}

double resultado(double valor)
{
    if (!std::isfinite(valor))
        throw FinancialError("resultado fora do alcance");
    return valor;
}

// (1+r)^n, computed through logarithms so that small rates keep their digits.
double crescimento(double r, double n) { return std::exp(n * std::log1p(r)); }

// ((1+r)^n − 1)/r, which tends to n as r tends to 0.
double fatorAnuidade(double r, double n)
{
    if (std::fabs(r) < 1e-12)
        return n + n * (n - 1.0) / 2.0 * r;
    return std::expm1(n * std::log1p(r)) / r;
}

// The instalment a rate asks for, less the instalment given: zero at the
// rate sought. Being in instalment units, one tolerance fits loans of any size
// and term. It is written with discount factors where (1+r)^n grows and with
// growth factors where it shrinks, so that neither overflows; for n > 0 it is
// continuous on (−100 %, ∞), so a change of sign holds a root.
struct Equacao {
    double n, pmt, pv, fv;

    double residuo(double r) const
    {
        if (r == 0.0)
            return pmt + (pv + fv) / n;
        const double nl = n * std::log1p(r);
        if (nl > 0.0) {
            const double a = -std::expm1(-nl) / r; // (1 − (1+r)^−n)/r
            return pmt + (pv + fv * std::exp(-nl)) / a;
        }
        const double s = std::expm1(nl) / r; // ((1+r)^n − 1)/r
        return pmt + (pv * std::exp(nl) + fv) / s;
    }

    // How far from the instalment a root may leave it: a tiny fraction of the
    // instalment, or of the amounts spread over the term when that is larger.
    double tolerancia() const
    {
        return 1e-9 * (std::fabs(pmt) + (std::fabs(pv) + std::fabs(fv)) / std::fabs(n));
    }
};

bool sinaisOpostos(double fa, double fb)
{
    return std::isfinite(fa) && std::isfinite(fb) && ((fa <= 0.0 && fb >= 0.0) || (fa >= 0.0 && fb <= 0.0));
}

// A loan with nothing owed at the end has one rate whenever the loan and the
// payments go opposite ways, and the interval follows from the amounts: at
// lo the payments' present value is at least the loan (the residual has the
// instalment's sign), at hi the interest alone outgrows the payment.
bool intervaloDoEmprestimo(const Equacao& eq, double& lo, double& hi)
{
    if (eq.fv != 0.0 || !(eq.n > 0.0) || eq.pv == 0.0 || eq.pmt == 0.0 || (eq.pv > 0.0) == (eq.pmt > 0.0))
        return false;
    const double x = std::fabs(eq.pv / eq.pmt);
    lo = std::expm1(-std::log1p(x) / eq.n);
    hi = 1.0 / x;
    // Rounding at the ends only ever needs a little more room.
    for (int i = 0; i < 64 && !sinaisOpostos(eq.residuo(lo), eq.residuo(hi)); ++i) {
        lo = -1.0 + (1.0 + lo) / 16.0;
        hi *= 4.0;
    }
    return sinaisOpostos(eq.residuo(lo), eq.residuo(hi));
}

// Any other annuity: the change of sign between rates from just above −100 %
// to 10^6 % nearest the guess.
bool intervaloVarrido(const Equacao& eq, double guess, double& lo, double& hi)
{
    static constexpr std::array<double, 27> pontos = {
        -0.999999, -0.9999, -0.99, -0.9,  -0.5, -0.2, -0.1, -0.05, -0.02, -0.01, -0.001, 0.0,  0.001, 0.01,
        0.02,      0.05,    0.1,   0.2,   0.5,  1.0,  2.0,  5.0,   20.0,  100.0, 1e3,    1e4,  1e6};
    bool achou = false;
    double melhor = 0.0;
    for (size_t i = 0; i + 1 < pontos.size(); ++i) {
        const double a = pontos[i], b = pontos[i + 1];
        if (!sinaisOpostos(eq.residuo(a), eq.residuo(b)))
            continue;
        const double distancia = guess < a ? a - guess : guess > b ? guess - b : 0.0;
        if (!achou || distancia < melhor) {
            achou = true;
            melhor = distancia;
            lo = a;
            hi = b;
        }
    }
    return achou;
}

// Halves the interval down to two neighbouring doubles and keeps the end
// nearer the root.
double bissecao(const Equacao& eq, double a, double b)
{
    double fa = eq.residuo(a), fb = eq.residuo(b);
    for (int k = 0; k < 4000 && fa != 0.0 && fb != 0.0; ++k) {
        const double m = a + (b - a) / 2.0;
        if (m <= a || m >= b)
            break;
        const double fm = eq.residuo(m);
        if (sinaisOpostos(fa, fm)) {
            b = m;
            fb = fm;
        } else {
            a = m;
            fa = fm;
        }
    }
    return std::fabs(fa) <= std::fabs(fb) ? a : b;
}

} // namespace

double Pmt(double rate, double nper, double pv, double fv)
{
    conferirPeriodos(nper);
    conferirTaxa(rate);
    const double fator = fatorAnuidade(rate, nper);
    if (fator == 0.0 || !std::isfinite(fator))
        throw FinancialError("resultado fora do alcance");
    return resultado(-(pv * crescimento(rate, nper) + fv) / fator);
}

double PV(double rate, double nper, double pmt, double fv)
{
    conferirPeriodos(nper);
    conferirTaxa(rate);
    const double g = crescimento(rate, nper);
    if (g == 0.0)
        throw FinancialError("resultado fora do alcance");
    return resultado(-(pmt * fatorAnuidade(rate, nper) + fv) / g);
}

double Rate(double nper, double pmt, double pv, double fv, double guess)
{
    conferirPeriodos(nper);
    if (!std::isfinite(pmt) || !std::isfinite(pv) || !std::isfinite(fv))
        throw FinancialError("valor inválido");
    if (pmt == 0.0 && pv == 0.0 && fv == 0.0)
        throw FinancialError("qualquer taxa serve");
    if (pmt == 0.0) {
        // pv·(1+r)^n = −fv has its one answer in closed form. Searching for it
        // would not do: (1+r)^n underflows to exactly 0 near −100 % on long
        // terms, which looks like a root where there is none.
        const double fator = -fv / pv;
        if (pv == 0.0 || !(fator > 0.0) || !std::isfinite(fator))
            throw FinancialError("taxa não encontrada");
        return resultado(std::expm1(std::log(fator) / nper));
    }
    const Equacao eq{nper, pmt, pv, fv};
    if (eq.residuo(0.0) == 0.0)
        return 0.0;
    double lo = 0.0, hi = 0.0;
    if (!intervaloDoEmprestimo(eq, lo, hi) && !intervaloVarrido(eq, std::isfinite(guess) ? guess : 0.0, lo, hi))
        throw FinancialError("taxa não encontrada");
    const double raiz = bissecao(eq, lo, hi);
    if (!(std::fabs(eq.residuo(raiz)) <= eq.tolerancia()))
        throw FinancialError("taxa não encontrada");
    return raiz;
}

} // namespace platform
