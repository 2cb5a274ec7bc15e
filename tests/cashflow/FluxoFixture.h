#pragma once
// An account to post entries into straight, for the cash-flow register's
// tests (today is 15/03/2024).
#include "Janelas.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "support/Fixtures.h"

class FluxoFixture : public testsupport::LoggedInFixture {
protected:
    void SetUp() override
    {
        LoggedInFixture::SetUp();
        // The editor's refreshes, registered as at start-up.
        registrarAtualizacoes();
    }

    // An entry due on a day; the side follows the sign.
    static std::int64_t lancar(const QDate& ven, const QString& referente, data::Centavos valor,
                               const QString& despesa = QStringLiteral("10"))
    {
        return gravar(novoLancamento(ven, referente, valor, despesa, QStringLiteral("Moradia")));
    }

    static QDate dia(int d, int m, int a = 2024) { return QDate(a, m, d); }
};
