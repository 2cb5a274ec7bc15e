#pragma once
// An account with a few entries for the description-text query, the
// structured query and the ordering dialog; the run-long members of those
// windows start from the program's start.
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "platform/FlexGrid.h"
#include "queries/frmConsEstr.h"
#include "queries/frmConsHistorico.h"
#include "support/Fixtures.h"

#include <QApplication>

class OrdemFixture : public testsupport::DrivesFixture {
protected:
    void SetUp() override
    {
        DrivesFixture::SetUp();
        frmConsHistorico::ClausulaOrdem.clear();
        frmConsHistorico::SomaValores = 0;
        frmConsEstr::ClausulaOrdem.clear();
        createAccount(QStringLiteral("Casa"));
        login(QStringLiteral("Casa"));
    }

    static std::int64_t codigo(const char* classificacao)
    {
        return data::classificacaoPorNome(ConexaoBanco, QString::fromUtf8(classificacao))->codigo;
    }

    // An entry of a classification of the plan; its side follows the sign.
    std::int64_t lancar(const QString& referente, data::Centavos valor, const QDate& ven,
                        const char* classificacao = nullptr, const QString& filtro = QStringLiteral("A"))
    {
        if (!classificacao)
            classificacao = valor < 0 ? "Supermercado" : "Salário";
        data::Lancamento l;
        l.dataVen = ven;
        l.dataLan = ven.addDays(-1);
        l.referente = referente;
        l.valor = valor;
        l.tipo = valor < 0 ? data::kTipoSaida : data::kTipoEntrada;
        l.despesa = QString::number(codigo(classificacao));
        l.filtro = filtro;
        l.conta = QStringLiteral("Alimentação");
        return data::addLancamento(ConexaoBanco, l);
    }

    static QStringList coluna(const platform::FlexGrid& g, int col)
    {
        QStringList out;
        for (int r = 1; r < g.Rows(); ++r)
            out << g.TextMatrix(r, col);
        return out;
    }

    // Closes a window as the user does and lets it be destroyed.
    template <class T> static void fechar()
    {
        platform::Forms::unload<T>();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};
