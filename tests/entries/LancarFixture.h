#pragma once
// An account with a small, fixed plan of classifications, recorded boxes
// and the posting window driven from the keyboard.
#include "data/Conexao.h"
#include "data/Lancamentos.h"
#include "entries/frmLancar.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace testsupport {

class LancarFixture : public DrivesFixture {
protected:
    void SetUp() override
    {
        DrivesFixture::SetUp();
        createAccount(QStringLiteral("Casa"));
        login(QStringLiteral("Casa"));
        ConexaoBanco.exec(QStringLiteral("DELETE FROM Despesas"));
        // Codes chosen for the cases: 1 (a typed 1 selects nothing), 12 and
        // 13, names with an apostrophe and a pattern character.
        classe(1, "Padaria", "2", "Alimentação");
        classe(3, "Supermercado", "2", "Alimentação");
        classe(7, "Água", "2", "Moradia");
        classe(12, "Combustível", "2", "Transporte");
        classe(13, "Conta de Luz", "2", "Moradia");
        classe(20, "Salário", "1", "Trabalho");
        classe(21, "Aluguel Recebido", "1", "Patrimoniais");
        classe(30, "O'Brien Pet Shop", "2", "Gastos Pessoais");
        classe(31, "100% Natural", "2", "Alimentação");
    }

    static void classe(int codigo, const char* nome, const char* tipo, const char* conta)
    {
        data::Statement s(ConexaoBanco,
                          QStringLiteral("INSERT INTO Despesas (Codigo, Despesa, Tipo, PreClass, Conta) VALUES (?, ?, ?, '', ?)"),
                          codigo, QString::fromUtf8(nome), QString::fromUtf8(tipo), QString::fromUtf8(conta));
        s.exec();
    }

    // The posting window, loaded and shown as the main window shows it.
    frmLancar& abrir()
    {
        frmLancar& f = platform::Forms::get<frmLancar>();
        f.show();
        f.activateWindow();
        QApplication::setActiveWindow(&f);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        return f;
    }

    static QWidget* foco() { return QApplication::focusWidget(); }

    // Keys as the user presses them: each goes to whatever has the focus.
    static void tecla(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(foco(), key, mods);
    }
    static void digitar(const QString& texto)
    {
        for (QChar c : texto) {
            if (c.unicode() < 128)
                QTest::keyClick(foco(), c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::KeyAction::Click, foco(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    // Every row of the ledger, oldest first.
    static std::vector<data::Lancamento> linhas()
    {
        std::vector<data::Lancamento> out;
        data::Statement s(ConexaoBanco, QStringLiteral("SELECT ") + data::kLancamentoColumns +
                                            QStringLiteral(" FROM Lancamentos ORDER BY NumLan"));
        while (s.next())
            out.push_back(data::readLancamento(s));
        return out;
    }

    static QString d(int day, int month, int year) { return QDate(year, month, day).toString(QStringLiteral("dd/MM/yyyy")); }

    MsgRecorder msgs;
    ModalHook hook;
};

} // namespace testsupport
