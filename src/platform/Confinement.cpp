#include "platform/Confinement.h"

#include "platform/PrivateFile.h"
#include "platform/SeccompFilter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <link.h>
#include <linux/close_range.h>
#include <linux/filter.h>
#include <linux/landlock.h>
#include <linux/seccomp.h>
#if __has_include(<linux/openat2.h>)
#include <linux/openat2.h>
#endif
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <algorithm>
#include <optional>
#include <vector>

// The system headers may be older than the kernel: what Linux 5.6 (openat2,
// pidfd_getfd), 5.9 (handing a descriptor in) and 5.14 (handing it in as the
// answer) added is spelled out here.
#ifndef SYS_openat2
#define SYS_openat2 437
#endif
#ifndef SYS_pidfd_open
#define SYS_pidfd_open 434
#endif
#ifndef SYS_pidfd_getfd
#define SYS_pidfd_getfd 438
#endif
#ifndef RESOLVE_BENEATH
struct open_how {
    std::uint64_t flags;
    std::uint64_t mode;
    std::uint64_t resolve;
};
#define RESOLVE_NO_XDEV 0x01
#define RESOLVE_NO_MAGICLINKS 0x02
#define RESOLVE_NO_SYMLINKS 0x04
#define RESOLVE_BENEATH 0x08
#endif
#ifndef SECCOMP_IOCTL_NOTIF_ADDFD
struct seccomp_notif_addfd {
    std::uint64_t id;
    std::uint32_t flags;
    std::uint32_t srcfd;
    std::uint32_t newfd;
    std::uint32_t newfd_flags;
};
#define SECCOMP_IOCTL_NOTIF_ADDFD SECCOMP_IOW(3, struct seccomp_notif_addfd)
#endif
#ifndef SECCOMP_ADDFD_FLAG_SEND
#define SECCOMP_ADDFD_FLAG_SEND (1UL << 1)
#endif

namespace platform {

namespace {

// ---- Landlock -------------------------------------------------------------
// The system headers may be older than the kernel: the rights and fields of
// later ABI versions are spelled out here.

constexpr std::uint64_t kLandlockTruncate = 1ULL << 14;  // ABI 3
constexpr std::uint64_t kLandlockIoctlDev = 1ULL << 15;  // ABI 5
constexpr std::uint64_t kLandlockNetBindTcp = 1ULL << 0;  // ABI 4
constexpr std::uint64_t kLandlockNetConnectTcp = 1ULL << 1;
constexpr std::uint64_t kLandlockScopeAbstractUnix = 1ULL << 0;  // ABI 6
constexpr std::uint64_t kLandlockScopeSignal = 1ULL << 1;

struct LandlockRulesetAttr {
    std::uint64_t handledAccessFs;
    std::uint64_t handledAccessNet;
    std::uint64_t scoped;
};

int landlockAbi()
{
    const long abi = syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
    return abi < 0 ? 0 : int(abi);
}

bool allowBeneath(int ruleset, const QByteArray& path, std::uint64_t access)
{
    const int fd = ::open(path.constData(), O_PATH | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;  // a library folder this system does not have
    struct stat st {};
    const std::uint64_t fileRights =
        LANDLOCK_ACCESS_FS_EXECUTE | LANDLOCK_ACCESS_FS_READ_FILE | LANDLOCK_ACCESS_FS_WRITE_FILE;
    if (::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode))
        access &= fileRights;
    landlock_path_beneath_attr rule{};
    rule.allowed_access = access;
    rule.parent_fd = fd;
    const bool ok = syscall(SYS_landlock_add_rule, ruleset, LANDLOCK_RULE_PATH_BENEATH, &rule, 0) == 0;
    ::close(fd);
    return ok;
}

// The dynamic loader named by the running program: the kernel opens it to
// start the reader, so it must be executable inside the sandbox.
int collectLoader(dl_phdr_info* info, size_t, void* data)
{
    auto* out = static_cast<QByteArray*>(data);
    for (int i = 0; i < info->dlpi_phnum; ++i)
        if (info->dlpi_phdr[i].p_type == PT_INTERP) {
            *out = reinterpret_cast<const char*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr);
            return 1;
        }
    return 0;
}

// The system's library folders, root's: the only folders a confined program
// reads beneath.
const char* const kLibraryFolders[] = {"/lib", "/lib64", "/usr/lib", "/usr/lib64", "/usr/local/lib"};
const char kLoaderCache[] = "/etc/ld.so.cache";

} // namespace

ReadablePlaces readablePlaces(const QString& program)
{
    ReadablePlaces r;
    r.program = QFile::encodeName(QFileInfo(program).absoluteFilePath());
    dl_iterate_phdr(collectLoader, &r.loader);
    r.files = {r.program, kLoaderCache};
    if (!r.loader.isEmpty())
        r.files.push_back(r.loader);
    r.folders.assign(std::begin(kLibraryFolders), std::end(kLibraryFolders));
    return r;
}

namespace {

// The ruleset the child takes on: nothing but reading the libraries and
// running the program. The input comes as a descriptor already open. -1
// when the kernel has no Landlock; -2 when it has and the ruleset cannot be
// made (the run is refused then).
int makeLandlockRuleset(int abi, const ReadablePlaces& places)
{
    if (abi < 1)
        return -1;
    LandlockRulesetAttr attr{};
    attr.handledAccessFs = (LANDLOCK_ACCESS_FS_MAKE_SYM << 1) - 1;
    if (abi >= 2)
        attr.handledAccessFs |= LANDLOCK_ACCESS_FS_REFER;
    if (abi >= 3)
        attr.handledAccessFs |= kLandlockTruncate;
    if (abi >= 5)
        attr.handledAccessFs |= kLandlockIoctlDev;
    std::size_t size = sizeof attr.handledAccessFs;
    if (abi >= 4) {
        attr.handledAccessNet = kLandlockNetBindTcp | kLandlockNetConnectTcp;
        size = offsetof(LandlockRulesetAttr, scoped);
    }
    if (abi >= 6) {
        attr.scoped = kLandlockScopeAbstractUnix | kLandlockScopeSignal;
        size = sizeof attr;
    }
    const int ruleset = int(syscall(SYS_landlock_create_ruleset, &attr, size, 0));
    if (ruleset < 0)
        return -2;
    const std::uint64_t read = LANDLOCK_ACCESS_FS_READ_FILE;
    const std::uint64_t run = LANDLOCK_ACCESS_FS_READ_FILE | LANDLOCK_ACCESS_FS_EXECUTE;
    bool ok = true;
    for (const QByteArray& file : places.files)
        ok = ok && allowBeneath(ruleset, file, file == places.program || file == places.loader ? run : read);
    for (const QByteArray& folder : places.folders)
        ok = ok && allowBeneath(ruleset, folder, read);
    if (!ok) {
        ::close(ruleset);
        return -2;
    }
    return ruleset;
}

// ---- seccomp --------------------------------------------------------------

// Every call is refused but those the reader was seen to make while it loads
// and reads an .xls or an .xlsx, and the few the launcher makes between the
// filter and the exec. Arguments are checked where a call could reach
// outside the process: no file opened for writing, no shared writable
// mapping, signals and affinity only on itself, limits only read, no
// process or thread made. Nothing is left that another process can see
// change: no limit, priority, scheduling, name or lock.
// `supervised` decides the calls that name a file (exec, open, stat): the
// launcher's listener lets the first exec through and the others name only
// what readablePlaces() lists; without a listener (an older kernel) they
// are allowed and Landlock alone says which files they reach (without
// Landlock either, the program is not run).
std::vector<sock_filter> buildFilter(std::uint32_t supervised, int control, std::vector<std::size_t>& pidSlots)
{
    using seccomp::argHigh;
    using seccomp::argLow;
    using seccomp::kAllow;
    using seccomp::refuse;
    seccomp::Filter f;
    f.begin();

    f.on(SYS_execve, [&] { f.ret(supervised); });
    f.on(SYS_execveat, [&] { f.ret(supervised); });
    // The launcher's word before the exec, on its socket alone.
    f.onlyValues(SYS_sendmsg, 0, {std::uint32_t(control)});

    // Files: read through descriptors, opened for reading only (Landlock
    // says which), never written but the answer on standard output.
    const std::uint32_t writing = O_WRONLY | O_RDWR | O_CREAT | O_TRUNC;
    const auto openForReading = [&](long nr, int flags) {
        f.on(nr, [&] {
            f.load(argLow(flags));
            f.add(BPF_JMP | BPF_JSET | BPF_K, writing, 0, 1);
            f.ret(refuse());
            f.ret(supervised);
        });
    };
#ifdef SYS_open
    openForReading(SYS_open, 1);
#endif
    openForReading(SYS_openat, 2);
    f.on(SYS_newfstatat, [&] { f.ret(supervised); });
    f.on(SYS_statx, [&] { f.ret(supervised); });
    for (const long nr : {long(SYS_read), long(SYS_pread64), long(SYS_readv), long(SYS_lseek), long(SYS_close)})
        f.allow(nr);
#ifdef SYS_fstat
    f.allow(SYS_fstat);
#endif
    f.onlyValues(SYS_write, 0, {1, 2});
    f.onlyValues(SYS_writev, 0, {1, 2});
    f.onlyValues(SYS_fcntl, 1, {F_GETFD, F_GETFL});
    // The C library asks whether its output is a terminal; it is a pipe.
    f.deny(SYS_ioctl, ENOTTY);

    // Memory.
    f.mmapNotSharedWritable();
    for (const long nr : {long(SYS_mprotect), long(SYS_munmap), long(SYS_mremap), long(SYS_madvise), long(SYS_brk)})
        f.allow(nr);

    // The process itself: its thread set-up, time, identity. Its signal
    // mask and dispositions stay as they are: any process reads them in
    // /proc/PID/status.
    for (const long nr :
         {long(SYS_futex), long(SYS_set_robust_list), long(SYS_set_tid_address), long(SYS_rseq), long(SYS_getrandom),
          long(SYS_rt_sigreturn), long(SYS_restart_syscall), long(SYS_clock_gettime), long(SYS_clock_getres), long(SYS_gettimeofday),
          long(SYS_nanosleep), long(SYS_clock_nanosleep), long(SYS_sched_yield), long(SYS_getpid), long(SYS_gettid),
          long(SYS_getppid), long(SYS_getuid), long(SYS_geteuid), long(SYS_getgid), long(SYS_getegid),
          long(SYS_exit), long(SYS_exit_group)})
        f.allow(nr);
#ifdef SYS_arch_prctl
    f.onlyValues(SYS_arch_prctl, 0, {0x1002 /* ARCH_SET_FS */}, EINVAL);
#endif
    f.onlySelf(SYS_kill, 0);
    f.onlySelf(SYS_tkill, 0);
    f.onlySelf(SYS_tgkill, 0);
    f.onlySelfOrZero(SYS_sched_getaffinity, 0);
    // Its own limits, read and never set: the loader reads its stack size.
    f.on(SYS_prlimit64, [&] {
        f.load(argLow(2));
        f.add(BPF_JMP | BPF_JEQ | BPF_K, 0, 0, 5);
        f.load(argHigh(2));
        f.add(BPF_JMP | BPF_JEQ | BPF_K, 0, 0, 3);
        f.load(argLow(0));
        f.add(BPF_JMP | BPF_JEQ | BPF_K, 0, 2, 0);
        f.pidSlots.push_back(f.code.size());
        f.add(BPF_JMP | BPF_JEQ | BPF_K, 0, 1, 0);
        f.ret(refuse());
        f.ret(kAllow);
    });
    // A further filter may narrow this one, but never take over its exec
    // decisions through a listener of its own.
    f.on(SYS_seccomp, [&] {
        f.load(argLow(0));
        f.add(BPF_JMP | BPF_JEQ | BPF_K, SECCOMP_SET_MODE_FILTER, 0, 2);
        f.load(argLow(1));
        f.add(BPF_JMP | BPF_JSET | BPF_K, SECCOMP_FILTER_FLAG_NEW_LISTENER, 0, 1);
        f.ret(refuse());
        f.ret(kAllow);
    });
    // A process is never made (so the memory limit bounds the whole
    // reader); the C library falls back from clone3 to clone when told the
    // kernel lacks it.
    f.deny(SYS_clone3, ENOSYS);
    pidSlots = f.pidSlots;
    return f.end();
}

int seccompCall(unsigned op, unsigned flags, void* args) { return int(syscall(SYS_seccomp, op, flags, args)); }

// ---- the child, between fork and exec: async-signal-safe calls only -------

struct ChildPlan {
    const char* program;
    char* const* argv;
    int input = -1;          // the standard input
    int null = -1;           // /dev/null, read and write
    int output = -1;         // the pipe's writing end
    int control = -1;        // socket to the launcher
    int ruleset = -1;        // Landlock, or -1
    unsigned layers = 0;
    rlim_t memory = 0;
    rlim_t seconds = 0;
    sock_fprog withListener{};
    sock_fprog withoutListener{};
    const std::size_t* pidSlots = nullptr;
    std::size_t pidSlotCount = 0;
};

// What the child tells the launcher before its exec: the layers in place,
// with the seccomp listener's descriptor when there is one.
void sendToLauncher(int control, unsigned applied, int listener)
{
    char payload[sizeof applied];
    std::memcpy(payload, &applied, sizeof applied);
    iovec iov{payload, sizeof payload};
    alignas(cmsghdr) char space[CMSG_SPACE(sizeof(int))] = {};
    msghdr msg{};
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    if (listener >= 0) {
        msg.msg_control = space;
        msg.msg_controllen = sizeof space;
        cmsghdr* c = CMSG_FIRSTHDR(&msg);
        c->cmsg_level = SOL_SOCKET;
        c->cmsg_type = SCM_RIGHTS;
        c->cmsg_len = CMSG_LEN(sizeof(int));
        std::memcpy(CMSG_DATA(c), &listener, sizeof(int));
    }
    while (::sendmsg(control, &msg, MSG_NOSIGNAL) < 0 && errno == EINTR) {
    }
}

char* const kNoEnvironment[] = {nullptr};

[[noreturn]] void runChild(ChildPlan& plan, pid_t launcher)
{
    // Dies with the program, and is a session of its own that the launcher
    // kills whole.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != launcher)
        ::_exit(127);
    ::setsid();
    if (::dup2(plan.input, 0) < 0 || ::dup2(plan.output, 1) < 0 || ::dup2(plan.null, 2) < 0)
        ::_exit(127);
    if (::chdir("/") != 0)
        ::_exit(127);

    const rlimit memory{plan.memory, plan.memory};
    const rlimit cpu{plan.seconds, plan.seconds};
    const rlimit none{0, 0};
    if (::setrlimit(RLIMIT_AS, &memory) != 0 || ::setrlimit(RLIMIT_CPU, &cpu) != 0
        || ::setrlimit(RLIMIT_FSIZE, &none) != 0 || ::setrlimit(RLIMIT_CORE, &none) != 0)
        ::_exit(127);
    // No descriptor of the program (the account file above all) survives
    // the exec.
    if (syscall(SYS_close_range, 3u, ~0u, CLOSE_RANGE_CLOEXEC) != 0) {
        rlimit files{};
        const int top = ::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < 65536 ? int(files.rlim_cur) : 65536;
        for (int fd = 3; fd < top; ++fd)
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }

    unsigned applied = 0;
    if (plan.layers & kNamespaceLayer) {
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) == 0 || ::unshare(CLONE_NEWNET) == 0)
            applied |= kNamespaceLayer;
    }
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        ::_exit(127);
    if (plan.ruleset >= 0) {
        if (syscall(SYS_landlock_restrict_self, plan.ruleset, 0) != 0)
            ::_exit(127);
        applied |= kLandlockLayer;
    }
    int listener = -1;
    if (plan.layers & kSeccompLayer) {
        const std::uint32_t self = std::uint32_t(::getpid());
        for (sock_fprog* prog : {&plan.withListener, &plan.withoutListener})
            for (std::size_t i = 0; i < plan.pidSlotCount; ++i)
                prog->filter[plan.pidSlots[i]].k = self;
        if (plan.layers & kListenerLayer)
            listener = seccompCall(SECCOMP_SET_MODE_FILTER, SECCOMP_FILTER_FLAG_NEW_LISTENER, &plan.withListener);
        if (listener < 0 && seccompCall(SECCOMP_SET_MODE_FILTER, 0, &plan.withoutListener) != 0)
            ::_exit(127);
        applied |= kSeccompLayer;
    }
    sendToLauncher(plan.control, applied, listener);
    if (listener >= 0)
        ::close(listener);
    // The launcher's word: without it (what the kernel gives is not enough)
    // the program does not run.
    char go = 0;
    while (::read(plan.control, &go, 1) < 0 && errno == EINTR) {
    }
    if (go != 'G')
        ::_exit(127);
    ::execve(plan.program, plan.argv, kNoEnvironment);
    ::_exit(127);
}

// ---- the launcher ----------------------------------------------------------

// Reads what the child sent before its exec; -1 for the listener when none
// came. False when nothing came in time.
bool receiveFromChild(int control, int millis, unsigned& applied, int& listener)
{
    listener = -1;
    pollfd p{control, POLLIN, 0};
    if (::poll(&p, 1, millis) <= 0)
        return false;
    char payload[sizeof applied];
    iovec iov{payload, sizeof payload};
    alignas(cmsghdr) char space[CMSG_SPACE(sizeof(int))] = {};
    msghdr msg{};
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    msg.msg_control = space;
    msg.msg_controllen = sizeof space;
    const ssize_t n = ::recvmsg(control, &msg, MSG_CMSG_CLOEXEC);
    if (n != ssize_t(sizeof payload))
        return false;
    std::memcpy(&applied, payload, sizeof applied);
    for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c))
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_RIGHTS)
            std::memcpy(&listener, CMSG_DATA(c), sizeof(int));
    return true;
}

// Whether no one but root can change what `path` names: every folder on
// it, and on `real`, the path it resolves to, is root's and writable by no
// one else. Only such a name is let through to the kernel, where it cannot
// be opened here and handed in.
bool heldByRoot(const QByteArray& path, const QByteArray& real)
{
    for (const QByteArray& p : {path, real})
        for (qsizetype slash = p.indexOf('/'); slash >= 0; slash = p.indexOf('/', slash + 1)) {
            struct stat st {};
            const QByteArray folder = slash == 0 ? QByteArray("/") : p.left(slash);
            if (::stat(folder.constData(), &st) != 0 || st.st_uid != 0 || (st.st_mode & (S_IWGRP | S_IWOTH)))
                return false;
        }
    return true;
}

// The launcher's side of the listener: lets the child's one exec through
// and refuses every later one. Whether it can read the names the program
// asks for is found on the program itself, at its first request after the
// exec: before the exec the child is a copy of the launcher, whose memory
// the kernel closes to every other process of the user (and which must stay
// closed: it holds the account's key). Where the kernel keeps the program's
// memory from the launcher too (Yama's ptrace_scope 3, or 2 without user
// namespaces), nothing is answered and the run is over. An open by name is
// made here, beneath the place of readablePlaces() the name starts in, never
// through a link out of it, and the descriptor is handed in: the kernel
// does not look at the name again, so a link flipped meanwhile changes
// nothing. A stat by name is refused; a stat of a descriptor is answered
// from a copy of it. A kernel too old to hand a descriptor in (before 5.9)
// gets the name, but only one that no one but root can change.
class Supervisor {
public:
    Supervisor(int listener, pid_t child, const ReadablePlaces& places, bool readNames)
        : listener_(listener), child_(child), readNames_(readNames)
    {
        const auto resolved = [](const QByteArray& path) {
            char real[PATH_MAX];
            return ::realpath(path.constData(), real) ? QByteArray(real) : path;
        };
        const auto addPlace = [&](const QByteArray& name, const QByteArray& folder, const QByteArray& leaf) {
            const int fd = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (fd >= 0)
                places_.push_back(Place{name, leaf, fd});
        };
        // A file is opened by its last name from its folder, as it resolves
        // now; a folder holds whatever lies beneath it.
        for (const QByteArray& file : places.files) {
            const QByteArray real = resolved(file);
            const qsizetype slash = real.lastIndexOf('/');
            if (slash < 0)
                continue;
            const QByteArray folder = slash == 0 ? QByteArray("/") : real.left(slash);
            for (const QByteArray& name : {file, real})
                addPlace(name, folder, real.mid(slash + 1));
            files_.push_back(real);
        }
        for (const QByteArray& folder : places.folders) {
            const QByteArray real = resolved(folder);
            for (const QByteArray& name : {folder, real})
                addPlace(name + '/', real, QByteArray());
            folders_.push_back(real + '/');
        }
        pidfd_.reset(int(syscall(SYS_pidfd_open, child, 0)));
        seccomp_notif_sizes sizes{};
        if (seccompCall(SECCOMP_GET_NOTIF_SIZES, 0, &sizes) == 0) {
            request_.resize(std::max<std::size_t>(sizes.seccomp_notif, sizeof(seccomp_notif)));
            response_.resize(std::max<std::size_t>(sizes.seccomp_notif_resp, sizeof(seccomp_notif_resp)));
        }
    }
    ~Supervisor()
    {
        for (const Place& p : places_)
            ::close(p.folder);
    }
    Supervisor(const Supervisor&) = delete;
    Supervisor& operator=(const Supervisor&) = delete;

    int fd() const { return listener_; }
    // Whether the kernel kept a name the program asked for from the
    // launcher: the program may no longer run.
    bool namesUnreadable() const { return namesUnreadable_; }

    // Answers the requests waiting, without blocking; false when the
    // listener is gone (the child has ended) or broken, or the names cannot
    // be read.
    bool serve()
    {
        for (;;) {
            pollfd p{listener_, POLLIN, 0};
            if (::poll(&p, 1, 0) < 0)
                return errno == EINTR;
            if (!(p.revents & POLLIN))
                return !(p.revents & (POLLHUP | POLLERR | POLLNVAL));
            if (!serveOne())
                return false;
        }
    }

    // Waits up to `millis` for the child's one exec and lets it through.
    bool letTheExecThrough(int millis)
    {
        QElapsedTimer clock;
        clock.start();
        while (!execDone_) {
            pollfd p{listener_, POLLIN, 0};
            const int left = int(std::max<qint64>(0, millis - clock.elapsed()));
            if (left == 0 || ::poll(&p, 1, left) <= 0 || !(p.revents & POLLIN) || !serveOne())
                return false;
        }
        return true;
    }

private:
    // A place the child may open beneath: the name it asks by (a folder's
    // ending in '/'), and the folder it is opened from, with the file's last
    // name for a file.
    struct Place {
        QByteArray name;
        QByteArray leaf;
        int folder;
    };

    // How a request is answered: let through, failed with an error, given a
    // value, or answered already (a descriptor handed in).
    struct Answer {
        enum Kind { Continue, Fail, Value, Done } kind = Fail;
        int error = EACCES;
        std::int64_t value = 0;
    };
    static Answer fail(int error) { return Answer{Answer::Fail, error, 0}; }

    bool serveOne()
    {
        if (request_.empty())
            return false;
        std::fill(request_.begin(), request_.end(), 0);
        if (::ioctl(listener_, SECCOMP_IOCTL_NOTIF_RECV, request_.data()) != 0)
            return errno == EINTR || errno == ENOENT;
        const auto* notif = reinterpret_cast<const seccomp_notif*>(request_.data());
        const Answer answer = decide(*notif);
        if (namesUnreadable_)
            return false;
        if (answer.kind == Answer::Done)
            return true;
        std::fill(response_.begin(), response_.end(), 0);
        auto* resp = reinterpret_cast<seccomp_notif_resp*>(response_.data());
        resp->id = notif->id;
        resp->flags = answer.kind == Answer::Continue ? SECCOMP_USER_NOTIF_FLAG_CONTINUE : 0;
        resp->error = answer.kind == Answer::Fail ? -answer.error : 0;
        resp->val = answer.kind == Answer::Value ? answer.value : 0;
        // A request the child gave up (it was killed) is no error here.
        return ::ioctl(listener_, SECCOMP_IOCTL_NOTIF_SEND, resp) == 0 || errno == ENOENT;
    }

    Answer decide(const seccomp_notif& n)
    {
        if (n.pid != std::uint32_t(child_))
            return fail(EPERM);
        const long nr = long(n.data.nr);
        if (nr == SYS_execve || nr == SYS_execveat) {
            if (execDone_ || nr != SYS_execve)
                return fail(EPERM);
            execDone_ = true;
            return Answer{Answer::Continue};
        }
        // Where the call has its folder, its name and its flags.
        int dirArg = 0, pathArg = 1, flagsArg = 2;
        bool isStat = false;
#ifdef SYS_open
        if (nr == SYS_open) {
            dirArg = -1;
            pathArg = 0;
            flagsArg = 1;
        }
#endif
        if (nr == SYS_newfstatat) {
            isStat = true;
            flagsArg = 3;
        } else if (nr == SYS_statx) {
            isStat = true;
        } else if (nr != SYS_openat && pathArg != 0) {
            return fail(EPERM);
        }
        QByteArray path;
        if (!readPath(n.data.args[pathArg], path) || ::ioctl(listener_, SECCOMP_IOCTL_NOTIF_ID_VALID, &n.id) != 0)
            return fail(EACCES);
        const int flags = int(n.data.args[flagsArg]);
        if (isStat) {
            // Only a stat of a descriptor: a file's size and dates are facts
            // of the user's too.
            if (!path.isEmpty() || !(flags & AT_EMPTY_PATH) || dirArg < 0)
                return fail(path.isEmpty() ? ENOENT : EACCES);
            return statDescriptor(n, int(n.data.args[dirArg]), flags);
        }
        if (path.isEmpty())
            return fail(ENOENT);
        // The child's folder is "/" and stays so; a name relative to a
        // descriptor is not needed by the loader.
        if (!path.startsWith('/')) {
            if (dirArg >= 0 && int(n.data.args[dirArg]) != AT_FDCWD)
                return fail(EACCES);
            path.prepend('/');
        }
        return openFor(n, path, flags);
    }

    // Opens `path` for the child and hands the descriptor in.
    Answer openFor(const seccomp_notif& n, const QByteArray& path, int flags)
    {
        const Place* place = nullptr;
        for (const Place& p : places_) {
            const bool under = p.leaf.isEmpty() ? path.startsWith(p.name) : path == p.name;
            if (under && (!place || p.name.size() > place->name.size()))
                place = &p;
        }
        if (!place)
            return fail(EACCES);
        QByteArray rest = place->leaf.isEmpty() ? path.mid(place->name.size()) : place->leaf;
        while (rest.startsWith('/'))
            rest.remove(0, 1);
        if (rest.isEmpty())
            return fail(EACCES);
        // Never waiting on a FIFO; never through a link out of the place.
        open_how how{};
        how.flags = O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC | (flags & O_NOFOLLOW);
        how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
        Descriptor file(int(syscall(SYS_openat2, place->folder, rest.constData(), &how, sizeof how)));
        if (file.fd < 0 && errno == ENOSYS) {
            // A kernel without openat2: only a name no one but root changes.
            QByteArray real;
            if (!heldOnOldKernel(path, real))
                return fail(errno == ENOENT || errno == ENOTDIR ? errno : EACCES);
            file.reset(::open(real.constData(), int(how.flags) | O_NOFOLLOW));
        }
        if (file.fd < 0)
            return fail(errno == ENOENT || errno == ENOTDIR ? errno : EACCES);
        struct stat st {};
        if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode))
            return fail(EACCES);
        ::fcntl(file.fd, F_SETFL, flags & O_NONBLOCK);
        return handIn(n, file.fd, flags & O_CLOEXEC, path);
    }

    // Puts `fd` into the child as the call's result. A kernel before 5.9
    // cannot: the name then goes to the kernel, if no one but root can
    // change it.
    Answer handIn(const seccomp_notif& n, int fd, bool closeOnExec, const QByteArray& path)
    {
        seccomp_notif_addfd add{};
        add.id = n.id;
        add.srcfd = std::uint32_t(fd);
        add.newfd_flags = closeOnExec ? O_CLOEXEC : 0;
        if (addFd_ != AddFd::Plain && addFd_ != AddFd::None) {
            add.flags = SECCOMP_ADDFD_FLAG_SEND;
            if (::ioctl(listener_, SECCOMP_IOCTL_NOTIF_ADDFD, &add) >= 0) {
                addFd_ = AddFd::Send;
                return Answer{Answer::Done};
            }
            if (errno != EINVAL || addFd_ == AddFd::Send)
                return errno == ENOENT ? Answer{Answer::Done} : fail(errno);
            addFd_ = AddFd::Plain;
        }
        if (addFd_ == AddFd::Plain) {
            add.flags = 0;
            const int got = ::ioctl(listener_, SECCOMP_IOCTL_NOTIF_ADDFD, &add);
            if (got >= 0)
                return Answer{Answer::Value, 0, got};
            if (errno != EINVAL)
                return errno == ENOENT ? Answer{Answer::Done} : fail(errno);
            addFd_ = AddFd::None;
        }
        QByteArray real;
        return heldOnOldKernel(path, real) ? Answer{Answer::Continue} : fail(EACCES);
    }

    // Whether `path` resolves (to `real`) into a readable place, and no one
    // but root can change what it names.
    bool heldOnOldKernel(const QByteArray& path, QByteArray& real) const
    {
        char resolved[PATH_MAX];
        if (!::realpath(path.constData(), resolved))
            return false;
        real = resolved;
        errno = EACCES;
        return readable(real) && heldByRoot(path, real);
    }

    // fstat or statx of the child's descriptor `fd`, made on a copy of it
    // and written into the child's memory.
    Answer statDescriptor(const seccomp_notif& n, int fd, int flags)
    {
        if (fd == AT_FDCWD)
            return fail(EACCES);
        if (pidfd_.fd < 0)
            return Answer{Answer::Continue};  // before 5.6: nothing is named
        Descriptor copy(int(syscall(SYS_pidfd_getfd, pidfd_.fd, fd, 0)));
        if (copy.fd < 0)
            return fail(errno == EBADF ? EBADF : EACCES);
        const bool isStatx = long(n.data.nr) == SYS_statx;
        struct stat st {};
        struct statx stx {};
        const int sync = flags & AT_STATX_SYNC_TYPE;
        if (isStatx ? ::statx(copy.fd, "", AT_EMPTY_PATH | sync, unsigned(n.data.args[3]), &stx) != 0
                    : ::fstat(copy.fd, &st) != 0)
            return fail(errno);
        iovec local = isStatx ? iovec{&stx, sizeof stx} : iovec{&st, sizeof st};
        iovec remote{reinterpret_cast<void*>(n.data.args[isStatx ? 4 : 2]), local.iov_len};
        if (::process_vm_writev(child_, &local, 1, &remote, 1, 0) != ssize_t(local.iov_len))
            return fail(EFAULT);
        return Answer{Answer::Value, 0, 0};
    }

    bool readable(const QByteArray& path) const
    {
        return std::find(files_.begin(), files_.end(), path) != files_.end()
            || std::any_of(folders_.begin(), folders_.end(),
                           [&](const QByteArray& folder) { return path.startsWith(folder); });
    }

    // The name at `address` in the child's memory, up to PATH_MAX bytes.
    bool readPath(std::uint64_t address, QByteArray& path)
    {
        char buffer[PATH_MAX];
        std::size_t got = 0;
        // Piece by piece, so a name near the end of a mapping still reads.
        while (got < sizeof buffer) {
            const std::uint64_t at = address + got;
            const std::size_t toPage = 4096 - std::size_t(at % 4096);
            iovec local{buffer + got, std::min(toPage, sizeof buffer - got)};
            iovec remote{reinterpret_cast<void*>(at), local.iov_len};
            const ssize_t n = readNames_ ? ::process_vm_readv(child_, &local, 1, &remote, 1, 0) : -1;
            if (n <= 0) {
                // EPERM: the kernel keeps the program's memory from the
                // launcher, so no name it asks for can be checked.
                namesUnreadable_ = namesUnreadable_ || !readNames_ || errno == EPERM;
                return false;
            }
            const void* end = std::memchr(buffer + got, 0, std::size_t(n));
            if (end) {
                path = QByteArray(buffer, qsizetype(static_cast<const char*>(end) - buffer));
                return true;
            }
            got += std::size_t(n);
        }
        return false;
    }

    int listener_;
    pid_t child_;
    bool readNames_;
    bool namesUnreadable_ = false;
    Descriptor pidfd_;
    std::vector<Place> places_;
    // For a kernel without openat2 or without handing a descriptor in.
    std::vector<QByteArray> files_;
    std::vector<QByteArray> folders_;  // each ending in '/'
    enum class AddFd { Unknown, Send, Plain, None } addFd_ = AddFd::Unknown;

    bool execDone_ = false;
    std::vector<char> request_, response_;
};

// Waits for the output to end, within the time and size; false when the
// run has to be stopped.
bool collectOutput(int out, Supervisor* supervisor, const QElapsedTimer& clock, qint64 millis, qint64 maxBytes,
                   QByteArray& output)
{
    bool ok = true;
    bool done = false;
    const auto readSome = [&] {
        char buffer[64 * 1024];
        for (;;) {
            const ssize_t n = ::read(out, buffer, sizeof buffer);
            if (n > 0) {
                output.append(buffer, qsizetype(n));
                if (output.size() > maxBytes) {
                    ok = false;
                    done = true;
                    return;
                }
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n == 0 || errno != EAGAIN)
                done = true;
            return;
        }
    };
    ::fcntl(out, F_SETFL, ::fcntl(out, F_GETFL) | O_NONBLOCK);
    if (QCoreApplication::instance()) {
        QEventLoop loop;
        QSocketNotifier readable(out, QSocketNotifier::Read);
        QObject::connect(&readable, &QSocketNotifier::activated, &loop, [&] {
            readSome();
            if (done)
                loop.quit();
        });
        std::optional<QSocketNotifier> asking;
        if (supervisor) {
            asking.emplace(supervisor->fd(), QSocketNotifier::Read);
            QObject::connect(&*asking, &QSocketNotifier::activated, &loop, [&] {
                if (supervisor->serve())
                    return;
                asking->setEnabled(false);
                if (supervisor->namesUnreadable()) {
                    ok = false;
                    done = true;
                    loop.quit();
                }
            });
        }
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
            ok = false;
            done = true;
            loop.quit();
        });
        deadline.start(int(std::max<qint64>(0, millis - clock.elapsed())));
        readSome();
        if (!done)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    } else {
        bool asking = supervisor != nullptr;
        while (!done) {
            const qint64 left = millis - clock.elapsed();
            pollfd p[2] = {{out, POLLIN, 0}, {asking ? supervisor->fd() : -1, POLLIN, 0}};
            if (left <= 0 || ::poll(p, 2, int(left)) <= 0) {
                ok = false;
                break;
            }
            if (p[1].revents && !(asking = supervisor->serve()) && supervisor->namesUnreadable()) {
                ok = false;
                break;
            }
            if (p[0].revents)
                readSome();
        }
    }
    return ok;
}

// Waits (without reaping) for the child to end, until the time is up,
// answering what it still asks.
bool waitForEnd(pid_t child, Supervisor* supervisor, const QElapsedTimer& clock, qint64 millis)
{
    for (;;) {
        siginfo_t info{};
        if (::waitid(P_PID, id_t(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == child)
            return true;
        if (clock.elapsed() >= millis)
            return false;
        if (supervisor && !supervisor->serve()) {
            if (supervisor->namesUnreadable())
                return false;
            supervisor = nullptr;
        }
        if (QCoreApplication::instance()) {
            QEventLoop loop;
            QTimer::singleShot(5, &loop, &QEventLoop::quit);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        } else {
            ::usleep(5000);
        }
    }
}

} // namespace

ConfinedRun runConfined(const ConfinedCommand& command)
{
    ConfinedRun run;
    QElapsedTimer clock;
    clock.start();
    const qint64 millis = qint64(command.seconds) * 1000;

    // Everything that allocates happens here, before the fork.
    const QByteArray program = QFile::encodeName(QFileInfo(command.program).absoluteFilePath());
    std::vector<QByteArray> args{program};
    for (const QString& a : command.arguments)
        args.push_back(a.toUtf8());
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    run.landlockAbi = landlockAbi();
    const ReadablePlaces places = readablePlaces(command.program);
    Descriptor ruleset;
    if (command.layers & kLandlockLayer) {
        ruleset.reset(makeLandlockRuleset(run.landlockAbi, places));
        if (ruleset.fd == -2)
            return run;
    }
    int pipeFds[2];
    int controlFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return run;
    Descriptor out(pipeFds[0]), outChild(pipeFds[1]);
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, controlFds) != 0)
        return run;
    Descriptor control(controlFds[0]), controlChild(controlFds[1]);
    Descriptor null(::open("/dev/null", O_RDWR | O_CLOEXEC));
    if (null.fd < 0)
        return run;
    std::vector<std::size_t> pidSlots;
    std::vector<sock_filter> withListener = buildFilter(SECCOMP_RET_USER_NOTIF, controlChild.fd, pidSlots);
    std::vector<sock_filter> withoutListener = buildFilter(SECCOMP_RET_ALLOW, controlChild.fd, pidSlots);

    ChildPlan plan;
    plan.program = program.constData();
    plan.argv = argv.data();
    plan.input = command.input >= 0 ? command.input : null.fd;
    plan.null = null.fd;
    plan.output = outChild.fd;
    plan.control = controlChild.fd;
    plan.ruleset = ruleset.fd;
    plan.layers = command.layers;
    plan.memory = rlim_t(command.memoryBytes);
    plan.seconds = rlim_t(command.seconds);
    plan.withListener = sock_fprog{std::uint16_t(withListener.size()), withListener.data()};
    plan.withoutListener = sock_fprog{std::uint16_t(withoutListener.size()), withoutListener.data()};
    plan.pidSlots = pidSlots.data();
    plan.pidSlotCount = pidSlots.size();

    const pid_t launcher = ::getpid();
    const pid_t child = ::fork();
    if (child < 0)
        return run;
    if (child == 0)
        runChild(plan, launcher);
    outChild.reset();
    controlChild.reset();
    ruleset.reset();

    bool ok = false;
    int listener = -1;
    Descriptor listening;
    std::optional<Supervisor> supervisor;
    if (receiveFromChild(control.fd, int(std::max<qint64>(1, millis - clock.elapsed())), run.applied, listener)) {
        listening.reset(listener);
        // Every layer asked for and present on this kernel is in place, and
        // the one exec is let through; anything less and the program does
        // not run.
        const bool landlockWanted = (command.layers & kLandlockLayer) && run.landlockAbi >= 1;
        const bool layersIn = (!(command.layers & kSeccompLayer) || (run.applied & kSeccompLayer))
            && (!landlockWanted || (run.applied & kLandlockLayer));
        if (listener >= 0)
            run.applied |= kListenerLayer;
        // The user's files stay out of reach only through names the
        // launcher reads and opens itself, or through Landlock. A listener
        // that cannot read the names could only let them through unread:
        // the supervisor ends the run at the first it cannot read.
        run.unsafe = listener < 0 && !(run.applied & kLandlockLayer);
        if (layersIn && !run.unsafe && listener >= 0)
            supervisor.emplace(listener, child, places, (command.layers & kNameReadingLayer) != 0);
        ok = layersIn && !run.unsafe && ::send(control.fd, "G", 1, MSG_NOSIGNAL) == 1
            && (!supervisor || supervisor->letTheExecThrough(int(std::max<qint64>(1, millis - clock.elapsed()))));
    }
    control.reset();
    Supervisor* asking = supervisor ? &*supervisor : nullptr;
    if (ok)
        ok = collectOutput(out.fd, asking, clock, millis, command.maxOutputBytes, run.output);
    out.reset();
    if (ok)
        ok = waitForEnd(child, asking, clock, millis);
    if (supervisor && supervisor->namesUnreadable()) {
        run.unsafe = true;
        run.output.clear();
        ok = false;
    }
    run.namesChecked = supervisor && !supervisor->namesUnreadable();
    if (run.namesChecked)
        run.applied |= kNameReadingLayer;
    // The whole session goes, whatever it left behind; the child is not
    // reaped yet, so its number cannot have been given to another process.
    ::kill(-child, SIGKILL);
    ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!ok)
        return run;
    run.ended = true;
    run.exitedNormally = WIFEXITED(status);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace platform
