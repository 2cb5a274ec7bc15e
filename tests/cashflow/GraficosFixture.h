#pragma once
// An account with a few classifications looked up by name and a way to post
// entries straight into the file, for the chart tests.
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "support/Fixtures.h"

class GraficosFixture : public testsupport::DrivesFixture {
protected:
    void SetUp() override
    {
        DrivesFixture::SetUp();
        createAccount(QStringLiteral("Casa"));
        login(QStringLiteral("Casa"));
    }

    static std::int64_t codigo(const QString& nome)
    {
        return data::classificacaoPorNome(ConexaoBanco, nome)->codigo;
    }

    // An entry of a classification; the side follows the classification,
    // the group is copied from it as the entry windows do.
    static void lancar(const QString& classificacao, data::Centavos valor, const QDate& ven)
    {
        const auto d = data::classificacaoPorNome(ConexaoBanco, classificacao);
        data::Lancamento l;
        l.dataVen = ven;
        l.dataLan = ven;
        l.referente = QStringLiteral("Teste");
        l.valor = valor;
        l.tipo = d->tipo == data::kDespesaSaida ? data::kTipoSaida : data::kTipoEntrada;
        l.despesa = QString::number(d->codigo);
        l.filtro = QStringLiteral("A");
        l.conta = d->conta;
        data::addLancamento(ConexaoBanco, l);
    }
};
