// A reader that misbehaves, started in place of vorsal-leitor-planilha
// through the same launcher: what a reader subverted by a crafted file could
// try. Its input file says what to do, one "chave=valor" a line (after
// whatever header bytes the file starts with):
//   modo=escapes   try every escape and write one line per escape,
//                  "nome recusado ERRNO" or "nome conseguiu";
//                  casa= the folder standing for the user's home (with
//                  Banco/Casa.mdb, .ssh/id_rsa and unix.sock in it),
//                  porta= a TCP port listening on 127.0.0.1,
//                  abstrato= the name of an abstract Unix socket listening;
//   modo=cai       die of a segmentation fault;
//   modo=cortada   an answer cut short;     modo=sobra   bytes after the end;
//   modo=erro      a whole answer, exit code 3;
//   modo=lento     a whole empty answer after two seconds.
// Not installed: it exists for the tests only.
#include <arpa/inet.h>
#include <cerrno>
#include <cstddef>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <netinet/in.h>
#include <string>
#include <sys/mman.h>
#include <sys/ptrace.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::map<std::string, std::string> lerPedido(const char* path)
{
    std::map<std::string, std::string> pedido;
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return pedido;
    char linha[4096];
    while (std::fgets(linha, sizeof linha, f)) {
        std::string s(linha);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
            s.pop_back();
        // The key may follow the header bytes of a workbook on the first line.
        for (const char* chave : {"modo=", "casa=", "porta=", "abstrato="}) {
            const auto at = s.find(chave);
            if (at != std::string::npos)
                pedido[std::string(chave, std::strlen(chave) - 1)] = s.substr(at + std::strlen(chave));
        }
    }
    std::fclose(f);
    return pedido;
}

void relatar(const char* nome, bool conseguiu, int erro)
{
    if (conseguiu)
        std::printf("%s conseguiu\n", nome);
    else
        std::printf("%s recusado %s\n", nome, strerrorname_np(erro) ? strerrorname_np(erro) : "?");
}

// Runs `tentativa`, which returns true when the escape worked.
template <typename F>
void tentar(const char* nome, F tentativa)
{
    errno = 0;
    const bool ok = tentativa();
    relatar(nome, ok, errno);
}

bool abrirELer(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    char c;
    const bool ok = ::read(fd, &c, 1) >= 0;
    ::close(fd);
    return ok;
}

bool conectar(const sockaddr* addr, socklen_t size, int family)
{
    const int s = ::socket(family, SOCK_STREAM, 0);
    if (s < 0)
        return false;
    const bool ok = ::connect(s, addr, size) == 0;
    const int erro = errno;
    ::close(s);
    errno = erro;
    return ok;
}

// exec in a child of its own, so that a successful exec shows as its exit.
bool executar(const char* programa)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        char* const argv[] = {const_cast<char*>(programa), const_cast<char*>("-c"), const_cast<char*>("exit 0"), nullptr};
        ::execve(programa, argv, argv + 3);
        ::_exit(100 + (errno & 0x7f));
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return true;
    errno = WIFEXITED(status) && WEXITSTATUS(status) >= 100 ? WEXITSTATUS(status) - 100 : 0;
    return false;
}

void escapes(const std::map<std::string, std::string>& pedido, const char* entrada)
{
    const std::string casa = pedido.count("casa") ? pedido.at("casa") : "/root";
    const std::string conta = casa + "/Banco/Casa.mdb";
    const pid_t pai = ::getppid();

    tentar("ler-conta", [&] { return abrirELer(conta); });
    tentar("ler-ssh", [&] { return abrirELer(casa + "/.ssh/id_rsa"); });
    tentar("listar-casa", [&] {
        DIR* d = ::opendir(casa.c_str());
        if (!d)
            return false;
        const bool ok = ::readdir(d) != nullptr;
        ::closedir(d);
        return ok;
    });
    tentar("ler-memoria-do-pai", [&] {
        const std::string mem = "/proc/" + std::to_string(pai) + "/mem";
        const int fd = ::open(mem.c_str(), O_RDONLY);
        if (fd < 0)
            return false;
        ::close(fd);
        return true;
    });
    tentar("tcp", [&] {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(std::uint16_t(std::atoi(pedido.count("porta") ? pedido.at("porta").c_str() : "6000")));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return conectar(reinterpret_cast<sockaddr*>(&a), sizeof a, AF_INET);
    });
    tentar("unix", [&] {
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::snprintf(a.sun_path, sizeof a.sun_path, "%s/unix.sock", casa.c_str());
        return conectar(reinterpret_cast<sockaddr*>(&a), sizeof a, AF_UNIX);
    });
    tentar("servidor-x", [&] {
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::snprintf(a.sun_path, sizeof a.sun_path, "/tmp/.X11-unix/X0");
        return conectar(reinterpret_cast<sockaddr*>(&a), sizeof a, AF_UNIX);
    });
    tentar("unix-abstrato", [&] {
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        const std::string nome = pedido.count("abstrato") ? pedido.at("abstrato") : "X0";
        std::memcpy(a.sun_path + 1, nome.data(), std::min(nome.size(), sizeof a.sun_path - 2));
        return conectar(reinterpret_cast<sockaddr*>(&a), socklen_t(offsetof(sockaddr_un, sun_path) + 1 + nome.size()),
                        AF_UNIX);
    });
    tentar("escrever-conta", [&] {
        const int fd = ::open(conta.c_str(), O_WRONLY);
        if (fd < 0)
            return false;
        const bool ok = ::write(fd, "x", 1) == 1;
        ::close(fd);
        return ok;
    });
    tentar("criar-arquivo", [&] {
        const int fd = ::open((casa + "/novo.txt").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0)
            return false;
        ::close(fd);
        return true;
    });
    tentar("renomear-conta", [&] { return ::rename(conta.c_str(), (casa + "/Banco/Outra.mdb").c_str()) == 0; });
    tentar("apagar-conta", [&] { return ::unlink(conta.c_str()) == 0; });
    tentar("truncar-conta", [&] { return ::truncate(conta.c_str(), 0) == 0; });
    tentar("mudar-permissoes", [&] { return ::chmod(conta.c_str(), 0666) == 0; });
    tentar("criar-pasta", [&] { return ::mkdir((casa + "/nova").c_str(), 0700) == 0; });
    tentar("criar-link", [&] { return ::symlink(conta.c_str(), (casa + "/link").c_str()) == 0; });
    tentar("mapear-conta-para-escrita", [&] {
        int fd = ::open(conta.c_str(), O_RDWR);
        if (fd < 0)
            fd = ::open(entrada, O_RDONLY);
        if (fd < 0)
            return false;
        void* p = ::mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        const int erro = errno;
        ::close(fd);
        errno = erro;
        if (p == MAP_FAILED)
            return false;
        static_cast<char*>(p)[0] = 'x';
        return true;
    });
    tentar("executar-sh", [&] { return executar("/bin/sh"); });
    tentar("ptrace-do-pai", [&] {
        // Seized, not attached: a tracer that got through stops nothing and
        // lets go when it ends.
        return ::ptrace(PTRACE_SEIZE, pai, nullptr, nullptr) == 0;
    });
    tentar("ler-memoria-do-pai-direto", [&] {
        char c;
        iovec local{&c, 1};
        // The permission is checked first: EFAULT means it was granted and
        // only the address was wrong.
        iovec remoto{reinterpret_cast<void*>(0x10000), 1};
        return ::process_vm_readv(pai, &local, 1, &remoto, 1, 0) == 1 || errno == EFAULT;
    });
    // SIGCONT, so that a signal that did get through harms nothing.
    tentar("sinal-ao-pai", [&] { return ::kill(pai, SIGCONT) == 0; });
    tentar("sinal-a-todos", [&] { return ::kill(-1, SIGCONT) == 0; });
    tentar("sinal-ao-grupo-do-pai", [&] { return ::kill(-::getpgid(pai), SIGCONT) == 0; });
    std::fflush(stdout);
}

void responder(const void* bytes, std::size_t size)
{
    std::fwrite(bytes, 1, size, stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const auto pedido = lerPedido(argv[1]);
    const std::string modo = pedido.count("modo") ? pedido.at("modo") : "";
    if (modo == "escapes") {
        // A write past the file-size limit then fails instead of ending the run.
        std::signal(SIGXFSZ, SIG_IGN);
        escapes(pedido, argv[1]);
        return 0;
    }
    if (modo == "cai") {
        std::raise(SIGSEGV);
        return 0;
    }
    if (modo == "cortada") {
        responder("VPL1Os\0\0\0\0", 10);
        return 0;
    }
    if (modo == "sobra") {
        responder("VPL1NZ", 6);
        return 0;
    }
    if (modo == "erro") {
        responder("VPL1OZ", 6);
        return 3;
    }
    if (modo == "lento") {
        const timespec dois{2, 0};
        ::nanosleep(&dois, nullptr);
        responder("VPL1OZ", 6);
        return 0;
    }
    return 2;
}
