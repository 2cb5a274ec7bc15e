#include "Janelas.h"
#include "app/Icones.h"
#include "app/Falhas.h"
#include "app/frmPrincipal.h"
#include "platform/Application.h"
#include "platform/PrivateFile.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUso =
    "Uso: vorsal [--help | --version]\n"
    "\n"
    "Vorsal controla as contas bancárias de uma casa. Sem opções, abre a\n"
    "janela de entrada, que pede a conta e a senha.\n"
    "\n"
    "  --help     mostra esta ajuda e sai\n"
    "  --version  mostra a versão e sai\n"
    "\n"
    "As contas ficam em C:\\Banco\\ (~/Banco/); uma conta nova é criada com\n"
    "vorsal-nova-conta DRIVE NOME. Veja vorsal(1).\n";

// --help and --version are answered on the terminal before anything needs a
// display; -1 when neither was asked for.
int answerOnTerminal(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUso, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Vorsal %s\n", qPrintable(QCoreApplication::applicationVersion()));
            return 0;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    platform::protectMemory();
    QCoreApplication::setApplicationVersion(QStringLiteral(VORSAL_VERSION));
    if (const int code = answerOnTerminal(argc, argv); code >= 0)
        return code;
    platform::Application app(argc, argv);
    // The desktop matches the windows to the menu entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(VORSAL_APP_ID));
    QApplication::setWindowIcon(iconeVorsal());
    app::instalarAvisoDeFalhas();
    registrarJanelas();
    // Loading the main window shows it and asks for the account; a login
    // left without a match ends the program there.
    platform::Forms::get<frmPrincipal>();
    return app.exec();
}
