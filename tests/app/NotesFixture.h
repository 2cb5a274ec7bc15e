#pragma once
// Notes tests: an account logged in without the dialog, notes written
// straight into the file, and windows shown (modelessly) so that focus and
// keys behave as for a user.
#include "data/Anotacoes.h"
#include "data/Conexao.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QTest>

namespace testsupport {

class NotesFixture : public LoggedInFixture {
protected:
    std::int64_t nota(const QString& titulo, const QDate& dataLemb = QDate(), const QString& lembrar = QStringLiteral("N"),
                      int dias = 0, const QString& sempre = QStringLiteral("N"),
                      const QString& texto = QStringLiteral("texto"), const QDate& dataAlter = QDate(2024, 1, 10))
    {
        data::Anotacao a;
        a.titulo = titulo;
        a.texto = texto;
        a.dataLemb = dataLemb;
        a.lembrar = lembrar;
        a.qtdeDias = dias;
        a.lembrarSempre = sempre;
        a.dataAlter = dataAlter;
        return data::addAnotacao(ConexaoBanco, a);
    }

    data::Anotacao lida(std::int64_t codigo)
    {
        auto a = data::findAnotacao(ConexaoBanco, codigo);
        EXPECT_TRUE(a.has_value());
        return a.value_or(data::Anotacao{});
    }

    MsgRecorder msgs;
    ModalHook hook;
};

} // namespace testsupport
