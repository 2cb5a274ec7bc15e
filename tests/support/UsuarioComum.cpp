#include "support/UsuarioComum.h"

#include "platform/PrivateFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace testsupport {

namespace {

// Names the folder of the copies; set only in the child.
constexpr const char* kVariavel = "VORSAL_TESTE_COMO_USUARIO";

bool copiar(const QString& de, const QString& para, QFile::Permissions permissoes)
{
    return QFile::copy(de, para) && QFile::setPermissions(para, permissoes);
}

const QFile::Permissions kLeitura = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
const QFile::Permissions kPrograma =
    kLeitura | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;

// The programs and files the reader's cases use, where the ordinary user
// reads them whatever the build tree's folders allow.
bool copiarParaOUsuario(const QString& pasta)
{
    if (!QFile::setPermissions(pasta, kPrograma))
        return false;
    for (const char* programa : {VORSAL_SHEET_READER, VORSAL_HOSTILE_READER, VORSAL_LOCKED_READER})
        if (!copiar(QString::fromUtf8(programa), QDir(pasta).filePath(QFileInfo(QString::fromUtf8(programa)).fileName()),
                    kPrograma))
            return false;
    const QDir corpus(QStringLiteral(VORSAL_DAMAGED_CORPUS));
    const QDir destino(QDir(pasta).filePath(corpus.dirName()));
    if (!QDir().mkpath(destino.path()) || !QFile::setPermissions(destino.path(), kPrograma))
        return false;
    for (const QString& nome : corpus.entryList(QDir::Files))
        if (!copiar(corpus.filePath(nome), destino.filePath(nome), kLeitura))
            return false;
    // Its temporary files and home.
    const QString tmp = QDir(pasta).filePath(QStringLiteral("tmp"));
    return QDir().mkpath(tmp)
        && (::geteuid() != 0 || ::chown(QFile::encodeName(tmp).constData(), kUsuarioComum, kGrupoComum) == 0);
}

} // namespace

void prepararComoOPrograma()
{
    if (!comoUsuarioComum())
        return;
    if (::geteuid() == 0
        && (::setgroups(0, nullptr) != 0 || ::setgid(kGrupoComum) != 0 || ::setuid(kUsuarioComum) != 0
            || ::getuid() != kUsuarioComum || ::getegid() != kGrupoComum || ::getgroups(0, nullptr) != 0)) {
        std::perror("deixar de ser root");
        std::_Exit(3);
    }
    platform::protectMemory();
}

bool comoUsuarioComum() { return std::getenv(kVariavel) != nullptr; }

QString deTeste(const char* caminho)
{
    const char* pasta = std::getenv(kVariavel);
    const QString original = QString::fromUtf8(caminho);
    return pasta ? QDir(QString::fromLocal8Bit(pasta)).filePath(QFileInfo(original).fileName()) : original;
}

int rodarComoUsuarioComum(const QString& filtro)
{
    QTemporaryDir copias;
    if (!copias.isValid() || !copiarParaOUsuario(copias.path())) {
        std::fprintf(stderr, "as cópias para o usuário comum não puderam ser feitas\n");
        return -1;
    }
    const QByteArray pasta = QFile::encodeName(copias.path());
    const QByteArray tmp = pasta + "/tmp";
    std::vector<std::string> ambiente;
    for (char** e = environ; *e; ++e) {
        const std::string v(*e);
        if (v.rfind("TMPDIR=", 0) != 0 && v.rfind("HOME=", 0) != 0 && v.rfind(kVariavel, 0) != 0)
            ambiente.push_back(v);
    }
    ambiente.push_back(std::string(kVariavel) + "=" + pasta.toStdString());
    ambiente.push_back("TMPDIR=" + tmp.toStdString());
    ambiente.push_back("HOME=" + tmp.toStdString());
    std::vector<char*> envp;
    for (std::string& v : ambiente)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    QByteArray nome = QFile::encodeName(QCoreApplication::applicationFilePath());
    QByteArray filtroArg = "--gtest_filter=" + filtro.toUtf8();
    char* argv[] = {nome.data(), filtroArg.data(), nullptr};

    // This very program, whatever folders lead to it.
    const int programa = ::open("/proc/self/exe", O_PATH | O_CLOEXEC);
    if (programa < 0)
        return -1;
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t filho = ::fork();
    if (filho == 0) {
        if (::chdir(tmp.constData()) == 0)
            ::syscall(SYS_execveat, programa, "", argv, envp.data(), AT_EMPTY_PATH);
        ::_exit(127);
    }
    ::close(programa);
    if (filho < 0)
        return -1;
    int status = 0;
    while (::waitpid(filho, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace testsupport
