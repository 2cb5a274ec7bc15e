#pragma once
// An account with a few entries for the description-text query, the
// structured query and the ordering dialog; the run-long members of those
// windows start from the program's start.
#include "Janelas.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "platform/FlexGrid.h"
#include "queries/frmConsEstr.h"
#include "queries/frmConsHistorico.h"
#include "support/Fixtures.h"

#include <QApplication>

class OrdemFixture : public testsupport::LoggedInFixture {
protected:
    void SetUp() override
    {
        LoggedInFixture::SetUp();
        // The editor's refreshes, registered as at start-up.
        registrarAtualizacoes();
        frmConsHistorico::ClausulaOrdem.clear();
        frmConsHistorico::SomaValores = 0;
        frmConsEstr::ClausulaOrdem.clear();
    }

    // An entry of a classification of the plan; its side follows the sign.
    std::int64_t lancar(const QString& referente, data::Centavos valor, const QDate& ven,
                        const char* classificacao = nullptr, const QString& filtro = QStringLiteral("A"))
    {
        if (!classificacao)
            classificacao = valor < 0 ? "Supermercado" : "Salário";
        data::Lancamento l = novoLancamento(ven, referente, valor, QString::number(codigo(QString::fromUtf8(classificacao))),
                                            QStringLiteral("Alimentação"));
        l.dataLan = ven.addDays(-1);
        l.filtro = filtro;
        return gravar(l);
    }

    // Closes a window as the user does and lets it be destroyed.
    template <class T> static void fechar()
    {
        platform::Forms::unload<T>();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};
