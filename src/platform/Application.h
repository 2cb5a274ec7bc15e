#pragma once
// The application object: Portuguese texts in Qt's own dialogs, Brazilian
// number separators, and the last word on errors no window catches.
#include <QApplication>

namespace platform {

class Application : public QApplication {
public:
    Application(int& argc, char** argv);

    // A handler that throws (a database failure, a conversion that cannot
    // be made) is reported in a critical box naming the error, and the
    // program ends: nothing half-done is carried on.
    bool notify(QObject* receiver, QEvent* event) override;
};

// Loads Qt's Brazilian Portuguese translation and sets the number locale.
void installPortuguese(QCoreApplication& app);

// Shows the critical message for an error nobody caught and ends the program.
[[noreturn]] void fatalError(const QString& what);

} // namespace platform
