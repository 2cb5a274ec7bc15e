#include "import/PreClassificacao.h"

#include <exception>

namespace importacao {

QString ladoDoValor(data::Centavos valor)
{
    return valor > 0 ? data::kDespesaEntrada : data::kDespesaSaida;
}

PalavrasDoPlano palavrasDoPlano(const std::vector<data::Despesa>& plano)
{
    PalavrasDoPlano p;
    for (const data::Despesa& d : plano) {
        if (d.preClass.isEmpty())
            continue;
        if (d.tipo == data::kDespesaSaida)
            p.saidas.push_back(d);
        else if (d.tipo == data::kDespesaEntrada)
            p.entradas.push_back(d);
    }
    return p;
}

std::optional<data::Despesa> classificacaoPorPalavra(const QString& historico, data::Centavos valor,
                                                     const PalavrasDoPlano& palavras)
{
    const std::vector<data::Despesa>& lado =
        ladoDoValor(valor) == data::kDespesaEntrada ? palavras.entradas : palavras.saidas;
    // The last match in the plan's order wins: look from the end.
    for (auto d = lado.rbegin(); d != lado.rend(); ++d)
        if (historico.contains(d->preClass, Qt::CaseInsensitive))
            return *d;
    return std::nullopt;
}

void preClassificar(std::vector<LinhaExtrato>& linhas, const std::vector<data::Despesa>& plano)
{
    const PalavrasDoPlano palavras = palavrasDoPlano(plano);
    for (LinhaExtrato& l : linhas) {
        if (const auto d = classificacaoPorPalavra(l.historico, l.valor, palavras)) {
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
