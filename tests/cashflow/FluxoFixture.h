#pragma once
// An account to post entries into straight, for the cash-flow register's
// tests (today is 15/03/2024).
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "support/Fixtures.h"

class FluxoFixture : public testsupport::DrivesFixture {
protected:
    void SetUp() override
    {
        DrivesFixture::SetUp();
        createAccount(QStringLiteral("Casa"));
        login(QStringLiteral("Casa"));
    }

    // An entry due on a day; the side follows the sign.
    static std::int64_t lancar(const QDate& ven, const QString& referente, data::Centavos valor,
                               const QString& despesa = QStringLiteral("10"))
    {
        data::Lancamento l;
        l.dataVen = ven;
        l.dataLan = ven;
        l.referente = referente;
        l.valor = valor;
        l.tipo = valor < 0 ? data::kTipoSaida : data::kTipoEntrada;
        l.despesa = despesa;
        l.filtro = QStringLiteral("A");
        l.conta = QStringLiteral("Moradia");
        return data::addLancamento(ConexaoBanco, l);
    }

    static QDate dia(int d, int m, int a = 2024) { return QDate(a, m, d); }
};
