#pragma once
// The main window's tests: a temporary drives folder, recorded boxes, modal
// windows handed to the test, and the end of the program observed instead
// of carried out.
#include "app/frmPrincipal.h"
#include "app/frmSenha.h"
#include "support/Fixtures.h"

#include <QLineEdit>
#include <QTest>

namespace testsupport {

class AppFixture : public DrivesFixture {
protected:
    void SetUp() override
    {
        DrivesFixture::SetUp();
        encerrado = 0;
        antigo_ = frmPrincipal::encerrarPrograma;
        frmPrincipal::encerrarPrograma = [this] { ++encerrado; };
    }
    void TearDown() override
    {
        DrivesFixture::TearDown();
        frmPrincipal::encerrarPrograma = antigo_;
        frmPrincipal::registrarAbrirAnotacao({});
    }

    // Types a password in the login dialog and presses Enter.
    static void entrar(frmSenha& f, const QString& senha)
    {
        f.txtSenha->clear();
        QTest::keyClicks(f.txtSenha, senha);
        QTest::keyClick(f.txtSenha, Qt::Key_Return);
    }

    // Starts the main window, logging in to the first account listed.
    frmPrincipal& iniciar(const QString& senha = QStringLiteral("1234"))
    {
        hook.on<frmSenha>([senha](frmSenha& f) { entrar(f, senha); });
        return platform::Forms::get<frmPrincipal>();
    }

    int encerrado = 0;
    MsgRecorder msgs;
    ModalHook hook;

private:
    std::function<void()> antigo_;
};

} // namespace testsupport
