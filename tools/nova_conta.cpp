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
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

// Why the login could not list or open an account of this name, or an
// empty text when it can.
QString nomeRecusado(const QString& nome)
{
    if (const QString problem = data::checkAccountName(nome); !problem.isEmpty())
        return problem;
    if (nome.startsWith(QLatin1Char('.')))
        return QStringLiteral("O nome da conta não pode começar com ponto: o arquivo ficaria oculto e a entrada não "
                              "o listaria.");
    for (const QChar c : nome)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return QStringLiteral("O nome da conta não pode conter caracteres de controle.");
    if (nome.contains(QStringLiteral(".mdb"), Qt::CaseInsensitive))
        return QStringLiteral("O nome da conta não pode conter \".mdb\": a entrada mostraria outro nome.");
    if (nome != nome.trimmed())
        return QStringLiteral("O nome da conta não pode começar nem terminar com espaço.");
    // The file's name, with its extension, within what a folder holds.
    if ((nome + QStringLiteral(".mdb.criando")).toLocal8Bit().size() > NAME_MAX)
        return QStringLiteral("O nome da conta é longo demais.");
    return QString();
}

// The system's reason for a failure, in the user's words where the program
// has them.
QString motivoDoSistema(int erro)
{
    switch (data::causeOfSystemError(erro)) {
    case data::DbCause::Full: return QStringLiteral("não há espaço livre no disco");
    case data::DbCause::ReadOnly: return QStringLiteral("sem permissão para gravar nesse lugar");
    default: return QString::fromLocal8Bit(std::strerror(erro));
    }
}

} // namespace

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
    // The name is judged before a password is asked for it: one the file
    // system or the login would not take, and one an account already has.
    if (const QString problem = nomeRecusado(nome); !problem.isEmpty())
        return err(problem);
    const bool isLetter = (drive.size() == 1 && drive[0].isLetter()) ||
                          (drive.size() == 2 && drive[0].isLetter() && drive[1] == QLatin1Char(':'));
    const QString root = isLetter ? platform::Drives::folder(drive.left(1)) : drive;
    const QString banco = QDir(root).filePath(QStringLiteral("Banco"));
    const QString arquivo = nome + QStringLiteral(".mdb");
    const QString path = QDir(banco).filePath(arquivo);
    // The login lists "CASA.MDB" as the account "CASA": no second file of
    // the same name in other letters beside it.
    const auto jaExiste = [&nome, &err](const QString& arquivoDela) {
        return err(
            QStringLiteral("A conta \"%1\" já existe (arquivo \"%2\"); escolha outro nome.").arg(nome, arquivoDela));
    };
    for (const QString& existente : QDir(banco).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (existente.compare(arquivo, Qt::CaseInsensitive) == 0)
            return jaExiste(QDir(banco).filePath(existente));
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return jaExiste(path);

    bool diferentes = false;
    const std::optional<QString> lida = lerSenha(2, &diferentes, [&nome](const QString& senha) {
        return data::checkNewAccount(nome, senha);
    });
    // Answers that differed or were refused twice have been told on the
    // terminal already.
    if (!lida)
        return diferentes ? 1 : err(QStringLiteral("Nenhuma senha foi dada."));
    const QString senha = *lida;
    const QString problem = data::checkNewAccount(nome, senha);
    if (!problem.isEmpty())
        return err(problem);

    if (!QDir().mkpath(banco) || !platform::makeFolderPrivate(banco))
        return err(QStringLiteral("Não foi possível criar a pasta \"%1\": %2.")
                       .arg(banco, motivoDoSistema(errno)));
    try {
        data::createAccountFile(path, senha, platform::Today());
    } catch (const data::DbError& e) {
        // A refusal the user can act on (a full disk, a folder only for
        // reading) is told as the program tells it; anything else as it came.
        if (e.cause() == data::DbCause::Other)
            return err(e.message());
        return err(QStringLiteral("A conta não foi criada.\n") + e.userMessage().replace(QChar(13), QChar(10)));
    } catch (const std::exception& e) {
        return err(QString::fromUtf8(e.what()));
    }
    std::printf("%s\n", QFileInfo(path).absoluteFilePath().toLocal8Bit().constData());
    return 0;
}
