#include "platform/PrivateFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {
QByteArray nativo(const QString& path) { return QFile::encodeName(path); }
} // namespace

void protectMemory() { prctl(PR_SET_DUMPABLE, 0, 0, 0, 0); }

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        release();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

FileLock::Result FileLock::lock(const QString& path)
{
    release();
    const QByteArray nome = nativo(path);
    for (int tentativa = 0; tentativa < 3; ++tentativa) {
        const int fd = ::open(nome.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return Result::Error;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool emUso = errno == EWOULDBLOCK;
            ::close(fd);
            return emUso ? Result::InUse : Result::Error;
        }
        // The holder may have renamed a new file over the path after we
        // opened the old one: only the file at the path counts.
        if (sameFile(fd, path)) {
            fd_ = fd;
            return Result::Locked;
        }
        ::close(fd);
    }
    return Result::InUse;
}

bool FileLock::sameFile(int fd, const QString& path)
{
    struct stat aberto {}, atual {};
    return fd >= 0 && ::fstat(fd, &aberto) == 0 && ::stat(nativo(path).constData(), &atual) == 0 &&
           aberto.st_dev == atual.st_dev && aberto.st_ino == atual.st_ino;
}

FileLock::Result FileLock::adopt(int fd)
{
    release();
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return Result::Error;
    }
    fd_ = fd;
    return Result::Locked;
}

void FileLock::release()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

int createPrivateFile(const QString& path)
{
    const int fd = ::open(nativo(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    // The umask can only take bits away; this puts back none beyond 0600.
    if (fd >= 0 && ::fchmod(fd, 0600) != 0) {
        ::close(fd);
        ::unlink(nativo(path).constData());
        return -1;
    }
    return fd;
}

bool freeForRegularFile(const QString& path)
{
    struct stat st {};
    if (::lstat(nativo(path).constData(), &st) != 0)
        return errno == ENOENT;
    return S_ISREG(st.st_mode);
}

bool syncFile(int fd) { return fd >= 0 && ::fsync(fd) == 0; }

bool syncFolder(const QString& pasta)
{
    const int fd = ::open(nativo(pasta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool replaceFile(const QString& temp, const QString& path)
{
    if (::rename(nativo(temp).constData(), nativo(path).constData()) != 0)
        return false;
    // The rename is done; a folder that cannot be synced only delays it.
    syncFolder(QFileInfo(path).absolutePath());
    return true;
}

namespace {
// The end of the hidden name a file is written under until it is whole.
const char kBeingWritten[] = ".criando";
} // namespace

QString nameBeingWritten(const QString& hidden)
{
    const QLatin1String fim(kBeingWritten);
    if (!hidden.startsWith(QLatin1Char('.')) || !hidden.endsWith(fim) || hidden.size() <= 1 + fim.size())
        return QString();
    return hidden.mid(1, hidden.size() - 1 - fim.size());
}

bool writeAsName(const QString& pasta, const QString& nome, bool privado, const std::function<bool(int fd)>& escrever)
{
    // Every step goes through the folder's descriptor: the folder swapped
    // for another meanwhile does not move the write elsewhere.
    const int dir = ::open(nativo(pasta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return false;
    const QByteArray alvo = nativo(nome);
    // A name of our own, hidden; what an interrupted run left there goes
    // first (a link there is removed, not followed).
    const QByteArray temp = "." + alvo + kBeingWritten;
    ::unlinkat(dir, temp.constData(), 0);
    const int fd = ::openat(dir, temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                            privado ? 0600 : 0666);
    bool ok = false;
    if (fd >= 0) {
        // The umask can only take bits away; this puts back none beyond 0600.
        const bool escrito = (!privado || ::fchmod(fd, 0600) == 0) && escrever(fd) && ::fsync(fd) == 0;
        const bool fechado = ::close(fd) == 0;
        // rename() replaces the name: a link there goes, its target stays.
        ok = escrito && fechado && ::renameat(dir, temp.constData(), dir, alvo.constData()) == 0;
        if (ok)
            ::fsync(dir);  // the rename is done; a folder not synced only delays it
        else
            ::unlinkat(dir, temp.constData(), 0);
    }
    ::close(dir);
    return ok;
}

bool isFolder(const QString& path)
{
    struct stat st {};
    return ::lstat(nativo(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeFolderPrivate(const QString& pasta) { return ::chmod(nativo(pasta).constData(), 0700) == 0; }

void Descriptor::reset(int f)
{
    if (fd >= 0)
        ::close(fd);
    fd = f;
}

int openRegularFile(const QString& path)
{
    const QFileInfo info(path);
    const QByteArray name = nativo(info.fileName());
    if (name.isEmpty()) {
        errno = ENOENT;
        return -1;
    }
    const int folder = ::open(nativo(info.absolutePath()).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return -1;
    const int fd = ::openat(folder, name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    const int error = errno;
    ::close(folder);
    if (fd < 0) {
        errno = error;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    // A regular file never makes a read wait; it reads as any file does.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

} // namespace platform
