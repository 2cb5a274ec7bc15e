#include "platform/Application.h"

#include "platform/MsgBox.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace platform {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Vorsal"));
    installPortuguese(*this);
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

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        fatalError(QString::fromUtf8(e.what()));
    } catch (...) {
        fatalError(QStringLiteral("erro desconhecido"));
    }
}

} // namespace platform
