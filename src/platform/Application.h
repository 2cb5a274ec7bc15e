#pragma once
// The application object: Portuguese texts in Qt's own dialogs, Brazilian
// number separators, and the last word on errors no window catches.
#include <QApplication>
#include <chrono>
#include <exception>
#include <functional>

namespace platform {

class Application : public QApplication {
public:
    Application(int& argc, char** argv);

    // A handler that throws a failure the reporter knows (a write the file
    // refused, a sum that does not fit) has the user told and the program
    // goes on: every multi-row write is one transaction, so nothing
    // half-written is left. Any other error is reported in a critical box
    // naming it, and the program ends.
    bool notify(QObject* receiver, QEvent* event) override;
};

// What became of a failure shown to the user.
enum class Reported {
    No,          // not one the program can go on after
    Yes,         // told; the action was abandoned
    KeepWindow,  // told; a window whose load it stopped stays open (a sum)
};
// Installed once at start (and by the tests): tells the user about a failure
// the program goes on after, and says what it was; with onlyKeepWindow it
// tells only of the failures a window stays open after.
using FailureReporter = std::function<Reported(const std::exception&, bool onlyKeepWindow)>;
void setFailureReporter(FailureReporter reporter);
Reported reportFailure(const std::exception& e, bool onlyKeepWindow = false);

// The wait cursor on or off, for a wait that begins and ends in separate
// calls (another program's lock).
void showWaitCursor(bool on);

// Waits for the given time while the windows go on painting; the user's
// input waits until it is over, and no window closes meanwhile (its unload
// would run in the middle of the work that waits). Without an application,
// or off its thread, a plain sleep.
void waitPainting(std::chrono::milliseconds wait);

// The wait cursor for as long as it lives, over a piece of work the user
// waits for (a login's conversion, a password change, a statement read).
class WaitCursor {
public:
    WaitCursor() { showWaitCursor(true); }
    ~WaitCursor() { showWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Loads Qt's Brazilian Portuguese translation and sets the number locale.
void installPortuguese(QCoreApplication& app);

// Shows the critical message for an error nobody caught and ends the program.
[[noreturn]] void fatalError(const QString& what);

} // namespace platform
