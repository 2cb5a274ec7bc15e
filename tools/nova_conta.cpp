// vorsal-nova-conta DRIVE NOME
// Creates a new account file NOME.mdb in the Banco folder of DRIVE, a letter
// mapped as the program maps it or a folder that stands for a drive. The
// password is asked twice on the terminal, without echo, or read from the
// first line of standard input when that is no terminal; never from the
// command line, which every user of the computer can read.
#include "SenhaTerminal.h"
#include "data/AccountFile.h"
#include "data/Database.h"
#include "platform/PrivateFile.h"
#include "platform/Clock.h"
#include "platform/Drives.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    platform::protectMemory();
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto err = [](const QString& text) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return 1;
    };
    const QString uso = QStringLiteral("Uso: vorsal-nova-conta DRIVE NOME\n"
                                       "Cria a conta NOME (o arquivo NOME.mdb na pasta Banco do drive DRIVE).\n"
                                       "A senha é pedida duas vezes no terminal, ou lida da primeira linha da entrada.");
    if (args.size() == 2 && (args[1] == QLatin1String("--help") || args[1] == QLatin1String("-h"))) {
        std::printf("%s\n", uso.toLocal8Bit().constData());
        return 0;
    }
    if (args.size() != 3)
        return err(uso);
    const QString drive = args[1];
    const QString nome = args[2];
    // The name is judged before a password is asked for it.
    if (const QString problem = data::checkAccountName(nome); !problem.isEmpty())
        return err(problem);
    bool diferentes = false;
    const std::optional<QString> lida = lerSenha(2, &diferentes);
    // Answers that differed twice have been told on the terminal already.
    if (!lida)
        return diferentes ? 1 : err(QStringLiteral("Nenhuma senha foi dada."));
    const QString senha = *lida;
    const QString problem = data::checkNewAccount(nome, senha);
    if (!problem.isEmpty())
        return err(problem);

    const bool isLetter = (drive.size() == 1 && drive[0].isLetter()) ||
                          (drive.size() == 2 && drive[0].isLetter() && drive[1] == QLatin1Char(':'));
    const QString root = isLetter ? platform::Drives::folder(drive.left(1)) : drive;
    const QString banco = QDir(root).filePath(QStringLiteral("Banco"));
    if (!QDir().mkpath(banco) || !platform::makeFolderPrivate(banco))
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
