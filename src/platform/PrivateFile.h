#pragma once
// Files only the user reads: made 0600 whatever the umask, written beside
// the file they replace and renamed over it, held by one copy of the
// program at a time.
#include <QString>

#include <functional>

namespace platform {

// No core file, and no other process of the user reads this one's memory:
// the password typed at the login stays in it for the whole run.
void protectMemory();

// A BSD lock (flock) on a file, on a descriptor of its own. It is
// independent of the engine's POSIX locks on the same file, but the
// descriptor must stay open until the engine has closed the file: closing
// any descriptor of a file drops every POSIX lock the process has on it.
// A crash releases it with the process.
class FileLock {
public:
    enum class Result { Locked, InUse, Error };

    FileLock() = default;
    ~FileLock() { release(); }
    FileLock(FileLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the file at path without waiting. A file renamed over the
    // path meanwhile is taken again at its new place.
    Result lock(const QString& path);
    // Takes a descriptor already open on a file this process made.
    Result adopt(int fd);
    void release();
    int fd() const { return fd_; }
    // Whether path (through links) names the very file a descriptor is
    // open on: a file renamed over the name, or the held one moved away,
    // is not.
    static bool sameFile(int fd, const QString& path);

private:
    int fd_ = -1;
};

// Creates a new, empty file for writing, mode 0600. Fails (-1) when
// anything is at the name, a symbolic link included.
int createPrivateFile(const QString& path);

// True when path holds a regular file (not through a link) or nothing.
bool freeForRegularFile(const QString& path);

// Writes a file's data and a folder's entries to the disk.
bool syncFile(int fd);
bool syncFolder(const QString& pasta);

// Renames temp over path and syncs the folder: a crash leaves either the
// old file or the new one at path.
bool replaceFile(const QString& temp, const QString& path);

// Writes the file `nome` of `pasta` as a name, never through it: `escrever`
// fills a new file of the folder (made with O_EXCL and O_NOFOLLOW, so it
// opens nothing that stood there), which is synced and renamed over the
// name. A link at the name is replaced and its target never opened; a
// reader never sees half a file, and a crash leaves the old file or the
// new one. `privado` makes the file 0600 whatever the umask; otherwise the
// umask decides, as for any file the user makes. False, with the name
// untouched, when anything fails. What may stand at the name is the
// caller's rule.
bool writeAsName(const QString& pasta, const QString& nome, bool privado, const std::function<bool(int fd)>& escrever);
// The name writeAsName was writing when `hidden` (a name in the same
// folder) is what a run cut short left of it; an empty text otherwise.
QString nameBeingWritten(const QString& hidden);

// Whether what stands at path (not through a link) is a folder.
bool isFolder(const QString& path);

// Makes a folder the user's alone (0700).
bool makeFolderPrivate(const QString& pasta);

// Opens a file from outside for reading as it stands under its name in its
// folder, which another user may be able to write: through the folder's
// descriptor, never through a link at the name (O_NOFOLLOW), never waiting
// on what is no file (O_NONBLOCK: a FIFO opens at once), and kept only when
// the descriptor is a regular file (fstat). The descriptor (close-on-exec),
// or -1 with errno: ENOENT when nothing is there, ELOOP for a link, EINVAL
// for anything that is not a regular file.
int openRegularFile(const QString& path);

// A descriptor closed when it goes out of scope or is replaced.
struct Descriptor {
    int fd = -1;
    Descriptor() = default;
    explicit Descriptor(int f) : fd(f) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }
    void reset(int f = -1);
};

} // namespace platform
