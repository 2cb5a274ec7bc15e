#pragma once
// An account with a few classifications looked up by name and a way to post
// entries straight into the file, for the chart tests.
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "support/Fixtures.h"

class GraficosFixture : public testsupport::LoggedInFixture {
protected:
    // An entry of a classification; the side follows the classification,
    // the group is copied from it as the entry windows do.
    static void lancar(const QString& classificacao, data::Centavos valor, const QDate& ven)
    {
        const auto d = data::findClassificacaoByName(ConexaoBanco, classificacao);
        data::Lancamento l = novoLancamento(ven, QStringLiteral("Teste"), valor, QString::number(d->codigo), d->conta);
        l.tipo = d->tipo == data::kDespesaSaida ? data::kTipoSaida : data::kTipoEntrada;
        gravar(l);
    }
};
