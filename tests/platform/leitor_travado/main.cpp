// The real reader's own lock, tried: a program that takes its input and
// locks itself down as vorsal-leitor-planilha does, then tries what a
// parser subverted by the file would, and writes one line per attempt,
// "nome recusado ERRNO" or "nome conseguiu". What it tries the launcher
// alone lets through (a library file, its facts, the input's bytes).
// Not installed: it exists for the tests only.
#include "platform/planilha/trava.h"

#include <QByteArray>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void relatar(const char* nome, bool conseguiu)
{
    if (conseguiu)
        std::printf("%s conseguiu\n", nome);
    else
        std::printf("%s recusado %s\n", nome, strerrorname_np(errno) ? strerrorname_np(errno) : "?");
}

} // namespace

int main()
{
    using namespace platform::planilha;
    QByteArray entrada;
    char bloco[4096];
    ssize_t n = 0;
    while ((n = ::read(0, bloco, sizeof bloco)) > 0)
        entrada.append(bloco, qsizetype(n));
    loadConverters(1252);
    holdInput(entrada);
    if (!lockDown())
        return 1;
    errno = 0;
    const int fd = ::open("/etc/ld.so.cache", O_RDONLY);
    relatar("abrir-biblioteca", fd >= 0);
    struct stat st {};
    errno = 0;
    relatar("stat-biblioteca", ::stat("/etc/ld.so.cache", &st) == 0);
    errno = 0;
    char* const argv[] = {const_cast<char*>("/bin/true"), nullptr};
    relatar("executar", ::execve("/bin/true", argv, argv + 1) == 0);
    errno = 0;
    relatar("fopen-outro", std::fopen("/etc/ld.so.cache", "rb") != nullptr);
    // What FreeXL does: its one file is the input, in memory.
    FILE* f = std::fopen(kInputName, "rb");
    char c[8] = {};
    errno = 0;
    relatar("fopen-entrada", f && std::fseek(f, 1, SEEK_SET) == 0 && std::fread(c, 1, 4, f) == 4
                                 && std::memcmp(c, entrada.constData() + 1, 4) == 0);
    std::fflush(stdout);
    return 0;
}
