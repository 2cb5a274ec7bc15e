#include "Janelas.h"
#include "app/frmPrincipal.h"
#include "platform/Application.h"
#include "platform/ArquivoPrivado.h"

int main(int argc, char** argv)
{
    platform::protegerMemoria();
    platform::Application app(argc, argv);
    registrarJanelas();
    // Loading the main window shows it and asks for the account; a login
    // left without a match ends the program there.
    platform::Forms::get<frmPrincipal>();
    return app.exec();
}
