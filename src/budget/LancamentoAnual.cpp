#include "budget/LancamentoAnual.h"

#include "platform/conversions.h"

namespace budget {

std::vector<Ocorrencia> ocorrenciasDoAno(const QDate& inicio, const QString& ocorre, int ano)
{
    std::vector<Ocorrencia> out;
    const int n = data::ocorrenciasPorAno(ocorre);
    if (n == 0 || !inicio.isValid())
        return out;
    QDate vencimento = QDate(ano, inicio.month(), 1).addDays(inicio.day() - 1);
    const int meses = data::mesesEntreOcorrencias(ocorre);
    for (int k = 1; k <= n; ++k) {
        out.push_back({vencimento, k, n});
        vencimento = platform::addMonths(vencimento, meses);
    }
    return out;
}

std::vector<data::Lancamento> previsoesDaLinha(const data::LinhaOrcamento& linha, int ano, const QDate& hoje)
{
    std::vector<data::Lancamento> out;
    for (const Ocorrencia& o : ocorrenciasDoAno(linha.data, linha.ocorre, ano)) {
        data::Lancamento l;
        l.despesa = QString::number(linha.despesa);
        l.conta = linha.conta;
        l.tipo = data::kTipoSaida;
        l.dataLan = hoje;
        l.dataVen = o.vencimento;
        l.referente = QStringLiteral("Previsão ") + linha.referente + QStringLiteral(" Parc. ") +
                      QString::number(o.numero) + QStringLiteral(" de ") + QString::number(o.total);
        l.filtro = QStringLiteral("O");
        l.valor = -linha.valor;
        out.push_back(l);
    }
    return out;
}

int lancarOrcamentoAnual(data::Connection& db, int ano, const QDate& hoje)
{
    const std::vector<data::LinhaOrcamento> linhas = data::linhasOrcamento(db, data::OrdemLinhas::PorId);
    std::vector<data::Lancamento> previsoes;
    for (const data::LinhaOrcamento& linha : linhas)
        for (const data::Lancamento& l : previsoesDaLinha(linha, ano, hoje))
            previsoes.push_back(l);
    data::addLancamentos(db, previsoes);
    return int(previsoes.size());
}

} // namespace budget
