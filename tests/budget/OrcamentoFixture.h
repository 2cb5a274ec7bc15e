#pragma once
// An account with a small, fixed plan of classifications for the budget's
// tests, recorded boxes, and helpers to read what the file holds.
#include "data/Conexao.h"
#include "data/Lancamentos.h"
#include "data/Orcamento.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QTest>

namespace orcamentotest {

class OrcamentoFixture : public testsupport::LoggedInFixture {
protected:
    void SetUp() override
    {
        LoggedInFixture::SetUp();
        limparPlano();
        // "Luz" lies inside "Conta de Luz", whose code comes first.
        classe(10, "Aluguel", "2", "Moradia");
        classe(11, "Conta de Luz", "2", "Moradia");
        classe(12, "Luz", "2", "Moradia");
        classe(13, "Supermercado", "2", "Alimentação");
        classe(20, "Salário", "1", "Trabalho");
        classe(30, "O'Brien Pet Shop", "2", "Gastos Pessoais");
        classe(31, "100% Natural", "2", "Alimentação");
    }

    // A budget line written straight into the table.
    static std::int64_t linha(std::int64_t despesa, const QString& ocorre, data::Centavos valor, const QDate& inicio,
                              const QString& referente = QStringLiteral("Linha"))
    {
        data::LinhaOrcamento l;
        l.despesa = despesa;
        l.ocorre = ocorre;
        l.valor = valor;
        l.data = inicio;
        l.referente = referente;
        return data::saveLinhaOrcamento(ConexaoBanco, l);
    }

    // Watched codes and their planned values, by code.
    static std::vector<std::pair<std::int64_t, data::Centavos>> vigiados()
    {
        std::vector<std::pair<std::int64_t, data::Centavos>> out;
        data::Statement s(ConexaoBanco, QStringLiteral("SELECT Despesa, Valor FROM PrevistoRealizado ORDER BY Despesa"));
        while (s.next())
            out.emplace_back(s.integer(0), s.integer(1));
        return out;
    }

    // Every insert into Lancamentos after the first `n` rows fails.
    static void falharDepoisDe(int n)
    {
        testsupport::permitirGatilhos(ConexaoBanco);
        ConexaoBanco.exec(QStringLiteral("CREATE TRIGGER falha BEFORE INSERT ON Lancamentos"
                                         " WHEN (SELECT COUNT(*) FROM Lancamentos) >= %1"
                                         " BEGIN SELECT RAISE(ABORT, 'disco cheio'); END;")
                              .arg(n));
    }

    static QDate d(int day, int month, int year) { return QDate(year, month, day); }

    testsupport::MsgRecorder msgs;
    testsupport::ModalHook hook;
};

} // namespace orcamentotest
