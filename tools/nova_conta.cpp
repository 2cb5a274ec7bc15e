// vorsal-nova-conta DRIVE NOME SENHA
// Creates a new account file NOME.mdb in the Banco folder of DRIVE, a letter
// mapped as the program maps it or a folder that stands for a drive.
#include "data/AccountFile.h"
#include "data/Database.h"
#include "platform/Clock.h"
#include "platform/Drives.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto err = [](const QString& text) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return 1;
    };
    if (args.size() != 4)
        return err(QStringLiteral("Uso: vorsal-nova-conta DRIVE NOME SENHA"));
    const QString drive = args[1];
    const QString nome = args[2];
    const QString senha = args[3];
    const QString problem = data::checkNewAccount(nome, senha);
    if (!problem.isEmpty())
        return err(problem);

    const bool isLetter = (drive.size() == 1 && drive[0].isLetter()) ||
                          (drive.size() == 2 && drive[0].isLetter() && drive[1] == QLatin1Char(':'));
    const QString root = isLetter ? platform::Drives::folder(drive.left(1)) : drive;
    const QString banco = QDir(root).filePath(QStringLiteral("Banco"));
    if (!QDir().mkpath(banco))
        return err(QStringLiteral("Não foi possível criar a pasta \"%1\".").arg(banco));
    const QString path = QDir(banco).filePath(nome + QStringLiteral(".mdb"));
    try {
        data::createAccountFile(path, senha, platform::Today());
    } catch (const std::exception& e) {
        return err(QString::fromUtf8(e.what()));
    }
    std::printf("%s\n", QFileInfo(path).absoluteFilePath().toLocal8Bit().constData());
    return 0;
}
