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

class LancarFixture : public LoggedInFixture {
protected:
    void SetUp() override
    {
        LoggedInFixture::SetUp();
        limparPlano();
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

    // The posting window, loaded and shown as the main window shows it.
    static frmLancar& abrir() { return ativa<frmLancar>(); }

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
    static std::vector<data::Lancamento> linhas() { return lancamentos(); }

    static QString d(int day, int month, int year) { return QDate(year, month, day).toString(QStringLiteral("dd/MM/yyyy")); }

    MsgRecorder msgs;
    ModalHook hook;
};

} // namespace testsupport
