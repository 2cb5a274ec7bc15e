#include "entries/Parcelas.h"

#include "platform/conversions.h"
#include "platform/formats.h"

#include <cmath>

namespace entries {

int lerQuantidadeParcelas(const QString& resposta)
{
    const double lido = std::nearbyint(platform::Val(resposta));  // to nearest, halves to even
    // Anything far outside the valid range is as invalid as 101; keep it
    // within int without wrapping into the range.
    if (!(lido > -1000.0 && lido < 1000.0))
        return lido > 0 ? kMaxParcelas + 1 : 0;
    return int(lido);
}

bool quantidadeValida(int n) { return n >= kMinParcelas && n <= kMaxParcelas; }

bool parcelasNoCalendario(const QDate& primeiroVencimento, int n)
{
    return data::inSqlDateRange(platform::addMonths(primeiroVencimento, n - 1));
}

QString textoParcelasForaDoCalendario(const QDate& primeiroVencimento, int n)
{
    return QStringLiteral("A última parcela venceria em ") +
           platform::formatDate(platform::addMonths(primeiroVencimento, n - 1), QStringLiteral("DD/MM/YYYY")) +
           QStringLiteral(", depois de 31/12/9999.") + QLatin1Char('\r') +
           QStringLiteral("Nenhuma parcela foi lançada; diminua o número de parcelas.");
}

data::Centavos valorParcela(data::Centavos total, int n)
{
    const bool negativo = total < 0;
    const data::Centavos a = negativo ? -total : total;
    data::Centavos q = a / n;
    const data::Centavos r = a % n;
    if (2 * r > n || (2 * r == n && q % 2 != 0))
        ++q;
    return negativo ? -q : q;
}

QString textoConfirmacao(data::Centavos total, int n)
{
    const double quociente = std::fabs(data::toReais(total) / double(n));
    return QStringLiteral("Serão geradas ") + QString::number(n) + QStringLiteral(" parcelas de R$ ") +
           platform::formatNumber(quociente, QStringLiteral("#,##0.00")) + QLatin1Char('\r') +
           QStringLiteral("Confirma ?");
}

std::vector<data::Lancamento> montarParcelas(const Parcelamento& p)
{
    std::vector<data::Lancamento> linhas;
    if (!quantidadeValida(p.quantidade) || !parcelasNoCalendario(p.primeiroVencimento, p.quantidade))
        return linhas;
    const data::Centavos valor = data::signedValue(p.tipo, valorParcela(p.total, p.quantidade));
    linhas.reserve(std::size_t(p.quantidade));
    for (int i = 1; i <= p.quantidade; ++i) {
        data::Lancamento l;
        l.dataVen = platform::addMonths(p.primeiroVencimento, i - 1);
        l.tipo = p.tipo;
        l.valor = valor;
        l.despesa = p.despesa;
        l.dataLan = p.dataLan;
        l.referente = p.referente + QStringLiteral(" Parc. ") + QString::number(i) + QLatin1Char('/') +
                      QString::number(p.quantidade);
        l.filtro = p.filtro;
        l.conta = p.conta;
        linhas.push_back(l);
    }
    return linhas;
}

void gravarParcelas(data::Connection& db, const Parcelamento& p)
{
    data::addLancamentos(db, montarParcelas(p));
}

} // namespace entries
