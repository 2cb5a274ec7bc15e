#pragma once
// An account with a small plan of classifications for the watch list, the
// planned-versus-actual window and the monthly summary, and helpers to post
// entries and read the watch list as the file holds it.
#include "data/Conexao.h"
#include "data/Lancamentos.h"
#include "data/PrevistoRealizado.h"
#include "platform/Clock.h"
#include "platform/FlexGrid.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QTest>
#include <map>

namespace previstotest {

class PrevistoFixture : public testsupport::LoggedInFixture {
protected:
    void SetUp() override
    {
        LoggedInFixture::SetUp();
        limparPlano();
        classe(7, "Supermercado", "2", "Alimentação");
        classe(8, "Farmácia", "2", "Saúde");
        classe(9, "Aluguel", "2", "Moradia");
        classe(20, "Salário", "1", "Trabalho");
        classe(21, "Aluguéis Recebidos", "1", "Patrimoniais");
        classe(30, "O'Brien Pet Shop", "2", "Gastos Pessoais");
        classe(31, "100% Natural", "2", "Alimentação");
        classe(62, "Transferência entre contas", "1", "Outras Entradas");
    }

    // An entry with its side told by the sign (0 counts as incoming).
    static std::int64_t lancar(const QDate& ven, data::Centavos valor, std::int64_t despesa,
                               const QString& conta = QStringLiteral("Alimentação"),
                               const QString& referente = QStringLiteral("Compra"))
    {
        return gravar(novoLancamento(ven, referente, valor, QString::number(despesa), conta));
    }

    // The watch list as the file holds it: code -> planned value.
    static std::map<std::int64_t, data::Centavos> vigiadas()
    {
        std::map<std::int64_t, data::Centavos> out;
        data::Statement s(ConexaoBanco, QStringLiteral("SELECT Despesa, Valor FROM PrevistoRealizado"));
        while (s.next())
            out[s.integer(0)] = s.integer(1);
        return out;
    }

    static int linhasDoCodigo(std::int64_t codigo)
    {
        return int(data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM PrevistoRealizado WHERE Despesa = ?"),
                                codigo)
                       .toLongLong());
    }

    static void tecla(QWidget* w, Qt::Key key) { QTest::keyClick(w, key); }

    // Every box of a test is recorded, so none waits for a user.
    testsupport::MsgRecorder rec;
};

} // namespace previstotest
