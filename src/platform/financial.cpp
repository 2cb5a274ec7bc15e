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

// The annuity equation's left side and its derivative in r.
struct Equacao {
    double n, pmt, pv, fv;

    double valor(double r) const { return pv * crescimento(r, n) + pmt * fatorAnuidade(r, n) + fv; }

    double derivada(double r) const
    {
        const double g = crescimento(r, n);
        const double dg = n * g / (1.0 + r);
        double da;
        if (std::fabs(r) < 1e-8)
            da = n * (n - 1.0) / 2.0 + n * (n - 1.0) * (n - 2.0) / 3.0 * r;
        else
            da = (dg * r - std::expm1(n * std::log1p(r))) / (r * r);
        return pv * dg + pmt * da;
    }

    // How far from zero a root may leave the equation: a tiny fraction of
    // the amounts involved.
    double tolerancia() const { return 1e-9 * (std::fabs(pv) + std::fabs(pmt) * std::fabs(n) + std::fabs(fv) + 1.0); }
};

bool newton(const Equacao& eq, double guess, double& raiz)
{
    double r = guess;
    bool assentou = false;
    for (int i = 0; i < 100 && !assentou; ++i) {
        const double f = eq.valor(r);
        const double df = eq.derivada(r);
        if (!std::isfinite(f) || !std::isfinite(df) || df == 0.0)
            return false;
        double proximo = r - f / df;
        // Stay above −100 %, where the equation is defined.
        if (proximo <= -1.0)
            proximo = (r - 1.0) / 2.0;
        assentou = std::fabs(proximo - r) <= 1e-13 * (1.0 + std::fabs(r));
        r = proximo;
    }
    // A run that only creeps towards −100 % has found no rate.
    const double f = eq.valor(r);
    if (!assentou || !std::isfinite(f) || std::fabs(f) > eq.tolerancia())
        return false;
    raiz = r;
    return true;
}

// Looks for a change of sign between rates from −99 % to 10 000 % and
// halves the interval down to the root.
bool bissecao(const Equacao& eq, double& raiz)
{
    static constexpr std::array<double, 21> pontos = {-0.99, -0.9, -0.5, -0.2, -0.1, -0.05, -0.02, -0.01, -0.001, 0.0,
                                                      0.001, 0.01, 0.02, 0.05, 0.1,  0.2,   0.5,   1.0,   5.0,    20.0,
                                                      100.0};
    for (size_t i = 0; i + 1 < pontos.size(); ++i) {
        double a = pontos[i], b = pontos[i + 1];
        double fa = eq.valor(a), fb = eq.valor(b);
        if (std::isnan(fa) || std::isnan(fb))
            continue;
        if (fa == 0.0) {
            raiz = a;
            return true;
        }
        if ((fa < 0) == (fb < 0))
            continue;
        for (int k = 0; k < 200 && b - a > 1e-15 * (1.0 + std::fabs(a)); ++k) {
            const double m = (a + b) / 2.0;
            const double fm = eq.valor(m);
            if ((fm < 0) == (fa < 0)) {
                a = m;
                fa = fm;
            } else {
                b = m;
            }
        }
        raiz = (a + b) / 2.0;
        return std::fabs(eq.valor(raiz)) <= eq.tolerancia() * 1e3;
    }
    return false;
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
    const Equacao eq{nper, pmt, pv, fv};
    double raiz = 0.0;
    if (std::isfinite(guess) && guess > -1.0 && newton(eq, guess, raiz))
        return raiz;
    if (bissecao(eq, raiz))
        return raiz;
    throw FinancialError("taxa não encontrada");
}

} // namespace platform
