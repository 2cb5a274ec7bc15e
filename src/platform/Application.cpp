#include "platform/Application.h"

#include "platform/Accessibility.h"
#include "platform/MsgBox.h"

#include <QEventLoop>
#include <QLibraryInfo>
#include <QLocale>
#include <QThread>
#include <QTimer>
#include <QTranslator>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <thread>

namespace platform {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Vorsal"));
    installPortuguese(*this);
    // A Qt the password filter was not proven on might let a screen reader
    // hear a password: the program does not start on it.
    if (!readerFilterProven())
        fatalError(QStringLiteral("Esta cópia da Vo$sal foi feita para o Qt %1 e encontrou o Qt %2. "
                                  "Instale a versão do Qt para a qual ela foi feita.")
                       .arg(QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion())));
    installReaderInterfaces();
}

void installPortuguese(QCoreApplication& app)
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_pt_BR"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

void fatalError(const QString& what)
{
    MsgBox(QStringLiteral("Erro em tempo de execução:\n") + what, vbCritical,
           QStringLiteral("Vorsal"));
    std::fflush(nullptr);
    std::_Exit(1);
}

namespace {
FailureReporter& reporter()
{
    static FailureReporter r;
    return r;
}
} // namespace

void setFailureReporter(FailureReporter r) { reporter() = std::move(r); }

Reported reportFailure(const std::exception& e, bool onlyKeepWindow)
{
    if (!reporter())
        return Reported::No;
    // The cursor of a wait that ended in the failure must not outlive it.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    return reporter()(e, onlyKeepWindow);
}

bool reportFailures(const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        if (reportFailure(e) == Reported::No)
            throw;
        return false;
    }
}

namespace {
QCoreApplication* appOnItsThread();
} // namespace

void showWaitCursor(bool on)
{
    // The cursor belongs to the windows' thread; a wait on another thread
    // (a call runPainting runs) shows none.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) || !appOnItsThread())
        return;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

namespace {
// While it lives, no window closes: its unload would run in the middle of
// the work that is letting the windows paint.
class SemFechar : public QObject {
public:
    explicit SemFechar(QCoreApplication& app) : app_(app) { app_.installEventFilter(this); }
    ~SemFechar() override { app_.removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Close)
            return false;
        event->ignore();
        return true;
    }

private:
    QCoreApplication& app_;
};

// The application, when there is one and this is its thread: only there
// may the windows be painted.
QCoreApplication* appOnItsThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread() ? app : nullptr;
}
} // namespace

void waitPainting(std::chrono::milliseconds wait)
{
    QCoreApplication* app = appOnItsThread();
    if (!app) {
        std::this_thread::sleep_for(wait);
        return;
    }
    SemFechar semFechar(*app);
    QEventLoop loop;
    QTimer::singleShot(wait, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void runPainting(const std::function<void()>& work)
{
    QCoreApplication* app = appOnItsThread();
    if (!app) {
        work();
        return;
    }
    std::exception_ptr falha;
    std::atomic<bool> fim{false};
    std::thread t([&] {
        try {
            work();
        } catch (...) {
            falha = std::current_exception();
        }
        fim = true;
    });
    {
        SemFechar semFechar(*app);
        while (!fim) {
            QEventLoop loop;
            QTimer::singleShot(std::chrono::milliseconds(15), Qt::PreciseTimer, &loop, &QEventLoop::quit);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
    }
    t.join();
    if (falha)
        std::rethrow_exception(falha);
}

LongWork::~LongWork()
{
    if (cursor_)
        showWaitCursor(false);
}

void LongWork::look()
{
    const qint64 ms = clock_.elapsed();
    if (ms < 500)
        return;
    if (!cursor_) {
        cursor_ = true;
        showWaitCursor(true);
    }
    QCoreApplication* app = appOnItsThread();
    if (ms - painted_ >= 100 && app) {
        painted_ = ms;
        SemFechar semFechar(*app);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (reportFailure(e) != Reported::No)
            return true;
        fatalError(QString::fromUtf8(e.what()));
    } catch (...) {
        fatalError(QStringLiteral("erro desconhecido"));
    }
}

} // namespace platform
