#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/sheets.h"
#include "support/Fixtures.h"
#include "support/UsuarioComum.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // As the program's main does, before anything else, in a child run as
    // its users run.
    testsupport::prepararComoOPrograma();
    // Test discovery runs the programs without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's own application object: a handler's failure is told
    // and the run goes on, as in the program.
    platform::Application app(argc, argv);
    // The tests run from their own folder, not the program's.
    platform::setSheetReaderProgram(testsupport::deTeste(VORSAL_SHEET_READER));
    testsupport::installTestDefaults();
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    platform::Forms::clear();
    return rc;
}
