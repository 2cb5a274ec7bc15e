#pragma once
// The application object: Portuguese texts in Qt's own dialogs, Brazilian
// number separators, and the last word on errors no window catches.
#include <QApplication>
#include <QElapsedTimer>
#include <chrono>
#include <exception>
#include <functional>

namespace platform {

class Application : public QApplication {
public:
    Application(int& argc, char** argv);

    // The last guard, for a failure that reached Qt's event delivery: the
    // handlers that write catch theirs with reportFailures. One the reporter
    // knows (a sum a reading window could not make) has the user told and
    // the program goes on: every multi-row write is one transaction, so
    // nothing half-written is left. Any other error is reported in a
    // critical box naming it, and the program ends.
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

// Runs a handler's work and catches, there, a failure the reporter knows (a
// write the file refused, a sum that does not fit), so that it never unwinds
// through Qt's own frames (event delivery, signal emission), which do not
// carry exceptions. The user is told; the work ends where the failure
// stopped it, and since a handler writes before it changes its window, the
// window stays as it was before the press. True when the work ran to its
// end. Any other error goes on to Application::notify, the last guard.
bool reportFailures(const std::function<void()>& work);

namespace detail {
template <class F, class Call> struct Guarded;
template <class F, class C, class R, class... A> struct Guarded<F, R (C::*)(A...) const> {
    F handler;
    void operator()(A... args) const
    {
        reportFailures([&] { handler(args...); });
    }
};
} // namespace detail

// A handler that writes, connected through reportFailures:
//     connect(cmdGravar, &QPushButton::clicked, this, platform::guarded([this] { cmdGravar_Click(); }));
template <class F> auto guarded(F handler)
{
    return detail::Guarded<F, decltype(&F::operator())>{std::move(handler)};
}

// The wait cursor on or off, for a wait that begins and ends in separate
// calls (another program's lock).
void showWaitCursor(bool on);

// Waits for the given time while the windows go on painting; the user's
// input waits until it is over, and no window closes meanwhile (its unload
// would run in the middle of the work that waits). Without an application,
// or off its thread, a plain sleep.
void waitPainting(std::chrono::milliseconds wait);

// Runs one long call that cannot stop to let the windows paint (the
// engine's re-encryption of a file) on a thread of its own, while this
// thread goes on painting as in waitPainting; returns when it ends,
// throwing what it threw. What the call works on must be touched by
// nothing else meanwhile. Without an application, or off its thread, the
// call runs here.
void runPainting(const std::function<void()>& work);

// The wait cursor for as long as it lives, over a piece of work the user
// waits for (a login's conversion, a password change, a statement read).
class WaitCursor {
public:
    WaitCursor() { showWaitCursor(true); }
    ~WaitCursor() { showWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// A long read the user waits for: once it has taken half a second the wait
// cursor shows, and each step() the work takes now and then lets the
// windows paint again (every tenth of a second; input waits for the end,
// and no window closes meanwhile, as in waitPainting).
class LongWork {
public:
    LongWork() { clock_.start(); }
    ~LongWork();
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;
    // Cheap enough for every row: the clock is looked at once in 4096 calls.
    void step()
    {
        if (++calls_ % 4096 == 0)
            look();
    }

private:
    void look();
    QElapsedTimer clock_;
    qint64 painted_ = 0;
    unsigned calls_ = 0;
    bool cursor_ = false;
};

// Loads Qt's Brazilian Portuguese translation and sets the number locale.
void installPortuguese(QCoreApplication& app);

// Shows the critical message for an error nobody caught and ends the program.
[[noreturn]] void fatalError(const QString& what);

} // namespace platform
