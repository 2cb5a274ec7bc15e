#include "Janelas.h"
#include "app/Falhas.h"
#include "app/frmPrincipal.h"
#include "platform/Application.h"

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    app::instalarAvisoDeFalhas();
    registrarJanelas();
    // Loading the main window shows it and asks for the account; a login
    // left without a match ends the program there.
    platform::Forms::get<frmPrincipal>();
    return app.exec();
}
