#include "platform/planilha/trava.h"

#include "platform/SeccompFilter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace platform::planilha {

const char kInputName[] = "entrada.xls";

namespace {

const QByteArray* g_input = nullptr;
bool g_locked = false;

// The input read as a file reads: a seek past the end is allowed and the
// read there finds nothing (fmemopen refuses such a seek, and FreeXL would
// take a damaged file otherwise than from disk).
struct InputCursor {
    off64_t at = 0;
};

ssize_t readInput(void* cookie, char* buffer, size_t size)
{
    auto* cursor = static_cast<InputCursor*>(cookie);
    const off64_t length = g_input->size();
    if (cursor->at >= length)
        return 0;
    const size_t n = std::min<size_t>(size, size_t(length - cursor->at));
    std::memcpy(buffer, g_input->constData() + cursor->at, n);
    cursor->at += off64_t(n);
    return ssize_t(n);
}

int seekInput(void* cookie, off64_t* offset, int whence)
{
    auto* cursor = static_cast<InputCursor*>(cookie);
    const off64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? cursor->at : off64_t(g_input->size());
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) {
        errno = EINVAL;
        return -1;
    }
    if (*offset < -base) {
        errno = EINVAL;
        return -1;
    }
    cursor->at = base + *offset;
    *offset = cursor->at;
    return 0;
}

int closeInput(void* cookie)
{
    delete static_cast<InputCursor*>(cookie);
    return 0;
}

int seccompFilter(sock_fprog* program) { return int(syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, program)); }

} // namespace

void holdInput(const QByteArray& bytes) { g_input = &bytes; }

void loadConverters(int codePage)
{
    // FreeXL's names: UTF-16LE for the strings of every BIFF8 workbook and
    // for code page 1200, ASCII for 367, "CP" and the number for the rest;
    // a workbook without the record is read as CP1252.
    QByteArray names[] = {"UTF-16LE", "CP1252", QByteArray()};
    if (codePage == 367)
        names[2] = "ASCII";
    else if (codePage > 0 && codePage != 1200)
        names[2] = "CP" + QByteArray::number(codePage);
    // Never closed: a converter closed may be unloaded, and loading it again
    // would open its module.
    for (const QByteArray& name : names)
        if (!name.isEmpty())
            iconv_open("UTF-8", name.constData());
}

bool lockDown()
{
    seccomp::Filter f;
    f.begin();
    for (const long nr :
         {long(SYS_read), long(SYS_lseek), long(SYS_close), long(SYS_brk), long(SYS_mmap), long(SYS_mprotect),
          long(SYS_munmap), long(SYS_mremap), long(SYS_madvise), long(SYS_futex), long(SYS_getrandom),
          long(SYS_rt_sigreturn), long(SYS_restart_syscall), long(SYS_clock_gettime), long(SYS_clock_getres), long(SYS_gettimeofday),
          long(SYS_getpid), long(SYS_gettid), long(SYS_tgkill), long(SYS_sched_yield), long(SYS_exit),
          long(SYS_exit_group)})
        f.allow(nr);
    f.onlyValues(SYS_write, 0, {1, 2});
    std::vector<sock_filter> code = f.end();
    sock_fprog program{std::uint16_t(code.size()), code.data()};
    // Started by the launcher, the reader already has no new privileges;
    // started by hand, it takes them on first.
    if (seccompFilter(&program) != 0
        && (errno != EACCES || ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || seccompFilter(&program) != 0))
        return false;
    g_locked = true;
    return true;
}

} // namespace platform::planilha

// FreeXL opens its file by name. Its one fopen, of the input's name, reads
// the bytes in memory; before the lock every other name goes to the C
// library, after it none opens.
extern "C" FILE* fopen(const char* path, const char* mode)
{
    using namespace platform::planilha;
    if (path && std::strcmp(path, kInputName) == 0 && g_input && std::strcmp(mode, "rb") == 0)
        return fopencookie(new InputCursor, "r", cookie_io_functions_t{readInput, nullptr, seekInput, closeInput});
    if (g_locked) {
        errno = EACCES;
        return nullptr;
    }
    using Fopen = FILE* (*)(const char*, const char*);
    static const Fopen real = reinterpret_cast<Fopen>(dlsym(RTLD_NEXT, "fopen"));
    if (!real) {
        errno = ENOSYS;
        return nullptr;
    }
    return real(path, mode);
}
