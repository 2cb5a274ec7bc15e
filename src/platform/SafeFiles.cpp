#include "platform/SafeFiles.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

bool replaceFileInFolder(const QString& folder, const QString& name, const QByteArray& bytes)
{
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return false;
    const QByteArray target = QFile::encodeName(name);
    bool ok = false;
    struct stat st {};
    // A folder under the name is refused; anything else there is replaced.
    if (::fstatat(dir, target.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0 ? errno == ENOENT : !S_ISDIR(st.st_mode)) {
        // A fresh name that nothing stands under: O_EXCL with O_NOFOLLOW
        // creates the file itself or fails, never opens what is there.
        for (int attempt = 0; attempt < 16 && !ok; ++attempt) {
            const QByteArray temp =
                "." + target + "." + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
            const int fd = ::openat(dir, temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd < 0) {
                if (errno == EEXIST)
                    continue;
                break;
            }
            const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
            const bool closed = ::close(fd) == 0;
            // rename() replaces the name: a link there goes, its target stays.
            if (written && closed && ::renameat(dir, temp.constData(), dir, target.constData()) == 0)
                ok = true;
            else
                ::unlinkat(dir, temp.constData(), 0);
            break;
        }
    }
    ::close(dir);
    return ok;
}

} // namespace platform
