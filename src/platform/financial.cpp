#include "platform/financial.h"

#include <array>
#include <cfloat>
#include <cmath>

#if defined(VORSAL_QUADMATH)
#include <quadmath.h>
#endif

namespace platform {
namespace {

// The few functions the annuities need, for both reals.
double mlog1p(double x) { return std::log1p(x); }
double mexpm1(double x) { return std::expm1(x); }
double mexp(double x) { return std::exp(x); }
double mfabs(double x) { return std::fabs(x); }
bool mfinite(double x) { return std::isfinite(x); }
#if defined(VORSAL_QUADMATH)
WideReal mlog1p(WideReal x) { return log1pq(x); }
WideReal mexpm1(WideReal x) { return expm1q(x); }
WideReal mexp(WideReal x) { return expq(x); }
WideReal mfabs(WideReal x) { return fabsq(x); }
bool mfinite(WideReal x) { return finiteq(x) != 0; }
WideReal mfloor(WideReal x) { return floorq(x); }
#else
WideReal mlog1p(WideReal x) { return std::log1p(x); }
WideReal mexpm1(WideReal x) { return std::expm1(x); }
WideReal mexp(WideReal x) { return std::exp(x); }
WideReal mfabs(WideReal x) { return std::fabs(x); }
bool mfinite(WideReal x) { return std::isfinite(x); }
WideReal mfloor(WideReal x) { return std::floor(x); }
#endif

template <class T> void conferirPeriodos(T nper)
{
    if (!mfinite(nper) || nper == T(0))
        throw FinancialError("número de períodos inválido");
}

template <class T> void conferirTaxa(T rate)
{
    if (!mfinite(rate) || rate <= T(-1))
        throw FinancialError("taxa inválida");
}

template <class T> T resultado(T valor)
{
    if (!mfinite(valor))
        throw FinancialError("resultado fora do alcance");
    return valor;
}

// (1+r)^n, computed through logarithms so that small rates keep their digits.
template <class T> T crescimento(T r, T n) { return mexp(n * mlog1p(r)); }

// ((1+r)^n − 1)/r, which tends to n as r tends to 0.
template <class T> T fatorAnuidade(T r, T n)
{
    if (r == T(0))
        return n;
    // Below this a rate's own digits, not the series, limit the result.
    const T pequena = sizeof(T) > sizeof(double) ? T(1e-30) : T(1e-12);
    if (mfabs(r) < pequena)
        return n + n * (n - T(1)) / T(2) * r;
    return mexpm1(n * mlog1p(r)) / r;
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

namespace {

template <class T> T pagamento(T rate, T nper, T pv, T fv)
{
    conferirPeriodos(nper);
    conferirTaxa(rate);
    const T fator = fatorAnuidade(rate, nper);
    if (fator == T(0) || !mfinite(fator))
        throw FinancialError("resultado fora do alcance");
    return resultado(-(pv * crescimento(rate, nper) + fv) / fator);
}

template <class T> T valorPresente(T rate, T nper, T pmt, T fv)
{
    conferirPeriodos(nper);
    conferirTaxa(rate);
    const T g = crescimento(rate, nper);
    if (g == T(0))
        throw FinancialError("resultado fora do alcance");
    return resultado(-(pmt * fatorAnuidade(rate, nper) + fv) / g);
}

} // namespace

double Pmt(double rate, double nper, double pv, double fv) { return pagamento(rate, nper, pv, fv); }

double PV(double rate, double nper, double pmt, double fv) { return valorPresente(rate, nper, pmt, fv); }

WideReal Pmt(WideReal rate, WideReal nper, WideReal pv, WideReal fv) { return pagamento(rate, nper, pv, fv); }

WideReal PV(WideReal rate, WideReal nper, WideReal pmt, WideReal fv) { return valorPresente(rate, nper, pmt, fv); }

bool parseWide(std::string_view text, WideReal& out)
{
    size_t i = 0;
    const bool negativo = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        ++i;
    // Up to 33 digits are kept exactly in the integer; the rest only move
    // the point (a wide real holds no more than that anyway).
    unsigned __int128 mantissa = 0;
    int guardados = 0, expoente = 0, lidos = 0;
    bool ponto = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !ponto) {
            ponto = true;
            continue;
        }
        if (c < '0' || c > '9')
            return false;
        ++lidos;
        if (mantissa == 0 && c == '0') {
            if (ponto)
                --expoente;
            continue;
        }
        if (guardados < 33) {
            mantissa = mantissa * 10 + unsigned(c - '0');
            ++guardados;
            if (ponto)
                --expoente;
        } else if (!ponto) {
            ++expoente;
        }
    }
    if (lidos == 0)
        return false;
    WideReal potencia = 1;
    for (int k = 0; k < (expoente < 0 ? -expoente : expoente); ++k)
        potencia *= 10;
    // 10^k is exact up to 10^48, and one division or product rounds once.
    WideReal valor = WideReal(mantissa);
    valor = expoente < 0 ? valor / potencia : valor * potencia;
    out = negativo ? -valor : valor;
    return mfinite(out);
}

bool roundToCents(WideReal reais, long long& centavos)
{
    if (!mfinite(reais))
        return false;
    const WideReal escala = mfabs(reais) * 100;
    if (!(escala < WideReal(9.2e18)))
        return false;
    WideReal inteiro = mfloor(escala);
    const WideReal resto = escala - inteiro;
    // The computation is good to about 10^-30 of the amount (10^-17 with
    // a long double of 64 bits); a half closer than that is the exact half
    // a decimal amount gives.
#if defined(VORSAL_QUADMATH) || LDBL_MANT_DIG >= 113
    const WideReal erro(1e-26);
#else
    const WideReal erro(1e-15);
#endif
    const WideReal folga = escala * erro + erro;
    if (resto >= WideReal(0.5) - folga)
        inteiro += 1;
    const long long c = (long long)inteiro;
    centavos = reais < 0 ? -c : c;
    return true;
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
