#include "import/PreClassificacao.h"

#include <exception>

namespace importacao {

QString ladoDoValor(data::Centavos valor)
{
    return valor > 0 ? data::kDespesaEntrada : data::kDespesaSaida;
}

std::optional<data::Despesa> classificacaoPorPalavra(const QString& historico, data::Centavos valor,
                                                     const std::vector<data::Despesa>& plano)
{
    const QString lado = ladoDoValor(valor);
    std::optional<data::Despesa> achada;
    for (const data::Despesa& d : plano)
        if (d.tipo == lado && !d.preClass.isEmpty() && historico.contains(d.preClass, Qt::CaseInsensitive))
            achada = d;
    return achada;
}

void preClassificar(std::vector<LinhaExtrato>& linhas, const std::vector<data::Despesa>& plano)
{
    for (LinhaExtrato& l : linhas) {
        if (const auto d = classificacaoPorPalavra(l.historico, l.valor, plano)) {
            l.classificacao = d->nome;
            l.codigo = d->codigo;
            l.conta = d->conta;
        }
    }
}

void preClassificar(std::vector<LinhaExtrato>& linhas, data::Connection& db)
{
    std::vector<data::Despesa> plano;
    try {
        plano = data::classificacoes(db, QString(), data::OrdemDespesas::PorCodigo);
    } catch (const std::exception&) {
        // The lines stay as read; the user classifies them by hand.
        return;
    }
    preClassificar(linhas, plano);
}

NaoClassificado naoClassificadoDoValor(data::Centavos valor)
{
    if (valor > 0)
        return {data::kEntradaNaoClassificada, QStringLiteral("Outras Entradas")};
    return {data::kSaidaNaoClassificada, QStringLiteral("Outras Saídas")};
}

void colocarNaoClassificado(std::vector<LinhaExtrato>& linhas)
{
    for (LinhaExtrato& l : linhas) {
        if (l.classificacao != kImportadoDoExtrato)
            continue;
        const NaoClassificado n = naoClassificadoDoValor(l.valor);
        l.classificacao = n.classificacao;
        l.conta = n.conta;
        l.ordem = kOrdemInicial;
        l.codigo = 0;
    }
}

bool existeNaoClassificado(const std::vector<LinhaExtrato>& linhas)
{
    for (const LinhaExtrato& l : linhas)
        if (l.classificacao == kImportadoDoExtrato)
            return true;
    return false;
}

} // namespace importacao
