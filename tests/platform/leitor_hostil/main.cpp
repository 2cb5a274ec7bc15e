// A reader that misbehaves, started in place of vorsal-leitor-planilha
// through the same launcher: what a reader subverted by a crafted file could
// try. Its input (on standard input, as the real reader's) says what to do, one "chave=valor" a line (after
// whatever header bytes the file starts with):
//   modo=escapes   try every escape and write one line per escape,
//                  "nome recusado ERRNO" or "nome conseguiu";
//                  casa= the folder standing for the user's home (with
//                  Banco/Casa.mdb, .ssh/id_rsa, unix.sock and a link
//                  "atalho" in it),
//                  porta= a TCP port listening on 127.0.0.1,
//                  abstrato= the name of an abstract Unix socket listening;
//   modo=corrida   open alvo= vezes= times (a link that another process
//                  flips meanwhile) and write "abertas N chave M": the opens
//                  that got through, and those that read the key ("a chave");
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
#include <linux/sched.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/ptrace.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The request comes on standard input, as the real reader's file does.
std::map<std::string, std::string> lerPedido()
{
    std::string texto;
    char bloco[4096];
    ssize_t n = 0;
    while ((n = ::read(0, bloco, sizeof bloco)) > 0)
        texto.append(bloco, std::size_t(n));
    std::map<std::string, std::string> pedido;
    std::size_t inicio = 0;
    while (inicio < texto.size()) {
        std::size_t fim = texto.find('\n', inicio);
        if (fim == std::string::npos)
            fim = texto.size();
        std::string s = texto.substr(inicio, fim - inicio);
        inicio = fim + 1;
        while (!s.empty() && s.back() == '\r')
            s.pop_back();
        // The key may follow the header bytes of a workbook on the first line.
        for (const char* chave : {"modo=", "casa=", "porta=", "abstrato=", "alvo=", "vezes="}) {
            const auto at = s.find(chave);
            if (at != std::string::npos)
                pedido[std::string(chave, std::strlen(chave) - 1)] = s.substr(at + std::strlen(chave));
        }
    }
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

// A process made, seen by its end; it ends at once.
bool criouProcesso(long pid)
{
    if (pid == 0)
        ::_exit(0);
    if (pid < 0)
        return false;
    ::waitpid(pid_t(pid), nullptr, 0);
    return true;
}

void escapes(const std::map<std::string, std::string>& pedido)
{
    const std::string casa = pedido.count("casa") ? pedido.at("casa") : "/root";
    const std::string conta = casa + "/Banco/Casa.mdb";
    const pid_t pai = ::getppid();

    tentar("ler-conta", [&] { return abrirELer(conta); });
    tentar("ler-ssh", [&] { return abrirELer(casa + "/.ssh/id_rsa"); });
    // The same key through names that start in a folder the loader may
    // read, or that are relative to one.
    tentar("ler-ssh-pela-biblioteca", [&] { return abrirELer("/usr/lib/../.." + casa + "/.ssh/id_rsa"); });
    tentar("ler-ssh-relativo", [&] { return abrirELer("." + casa + "/.ssh/id_rsa"); });
    // Beside the loader's cache, the one file of /etc it may read.
    tentar("ler-etc", [&] { return abrirELer("/etc/passwd"); });
    tentar("ler-ssh-pela-pasta", [&] {
        const int pasta = ::open("/usr/lib", O_PATH | O_DIRECTORY);
        const int fd = ::openat(pasta, ("../.." + casa + "/.ssh/id_rsa").c_str(), O_RDONLY);
        const int erro = errno;
        if (pasta >= 0)
            ::close(pasta);
        if (fd >= 0)
            ::close(fd);
        errno = erro;
        return fd >= 0;
    });
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
            fd = 0;
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

    // Another process's limits, priority and scheduling, set to what they
    // most likely are already (the stand-in inherited them, where the
    // launcher did not lower them), so that a change that got through harms
    // nothing.
    rlimit arquivos{};
    ::prlimit(0, RLIMIT_NOFILE, nullptr, &arquivos);
    const rlimit infinito{RLIM_INFINITY, RLIM_INFINITY};
    tentar("limite-cpu-do-pai", [&] { return ::prlimit(pai, RLIMIT_CPU, &infinito, nullptr) == 0; });
    tentar("limite-tamanho-do-pai", [&] { return ::prlimit(pai, RLIMIT_FSIZE, &infinito, nullptr) == 0; });
    tentar("limite-arquivos-do-pai", [&] { return ::prlimit(pai, RLIMIT_NOFILE, &arquivos, nullptr) == 0; });
    errno = 0;
    int prioridade = ::getpriority(PRIO_PROCESS, 0);
    if (prioridade == -1 && errno != 0)
        prioridade = 0;
    cpu_set_t cpus;
    if (::sched_getaffinity(0, sizeof cpus, &cpus) != 0) {
        CPU_ZERO(&cpus);
        for (int i = 0; i < CPU_SETSIZE; ++i)
            CPU_SET(i, &cpus);
    }
    tentar("prioridade-do-pai", [&] { return ::setpriority(PRIO_PROCESS, id_t(pai), prioridade) == 0; });
    tentar("escalonador-do-pai", [&] {
        const sched_param p{};
        return ::sched_setscheduler(pai, SCHED_OTHER, &p) == 0;
    });
    tentar("afinidade-do-pai", [&] { return ::sched_setaffinity(pai, sizeof cpus, &cpus) == 0; });
    tentar("ioprio-do-pai", [&] { return ::syscall(SYS_ioprio_set, 1 /* IOPRIO_WHO_PROCESS */, pai, 0) == 0; });

    // Processes: any one made would hold memory of its own, outside the
    // reader's bound, and could outlive it.
    tentar("criar-processo", [&] { return criouProcesso(::fork()); });
    tentar("clone-com-namespaces", [&] {
        return criouProcesso(::syscall(SYS_clone, CLONE_NEWUSER | CLONE_NEWNS | SIGCHLD, nullptr, nullptr, nullptr, 0));
    });
    tentar("clone3", [&] {
        clone_args args{};
        args.exit_signal = SIGCHLD;
        return criouProcesso(::syscall(SYS_clone3, &args, sizeof args));
    });
    // The new mount calls, with or without a namespace of its own.
    tentar("montar-tmpfs", [&] {
        const long fs = ::syscall(SYS_fsopen, "tmpfs", 0);
        if (fs < 0)
            return false;
        ::close(int(fs));
        return true;
    });
    tentar("copiar-arvore", [&] {
        const long fd = ::syscall(SYS_open_tree, AT_FDCWD, "/", 1 /* OPEN_TREE_CLONE */);
        if (fd < 0)
            return false;
        ::close(int(fd));
        return true;
    });

    // Ways to carry bytes out that another process reads: its own limits
    // (/proc/PID/limits), priority and scheduling (/proc/PID/stat), I/O
    // priority, name (/proc/PID/comm), CPU set, signal mask and
    // dispositions (/proc/PID/status), a lock (/proc/locks).
    tentar("limite-proprio", [&] {
        rlimit menos = arquivos;
        menos.rlim_cur = menos.rlim_cur > 64 ? menos.rlim_cur - 1 : menos.rlim_cur;
        return ::setrlimit(RLIMIT_NOFILE, &menos) == 0;
    });
    tentar("prioridade-propria", [&] { return ::setpriority(PRIO_PROCESS, 0, 19) == 0; });
    tentar("escalonador-proprio", [&] {
        const sched_param p{};
        return ::sched_setscheduler(0, SCHED_IDLE, &p) == 0;
    });
    tentar("ioprio-proprio", [&] { return ::syscall(SYS_ioprio_set, 1, 0, 3 << 13 /* IDLE */) == 0; });
    tentar("nome-proprio", [&] { return ::prctl(PR_SET_NAME, "id_rsa", 0, 0, 0) == 0; });
    tentar("afinidade-propria", [&] {
        cpu_set_t cpus;
        CPU_ZERO(&cpus);
        CPU_SET(0, &cpus);
        return ::sched_setaffinity(0, sizeof cpus, &cpus) == 0;
    });
    tentar("mascara-de-sinais", [&] {
        sigset_t sinais;
        sigemptyset(&sinais);
        sigaddset(&sinais, SIGUSR1);
        return ::syscall(SYS_rt_sigprocmask, SIG_BLOCK, &sinais, nullptr, 8) == 0;
    });
    tentar("ignorar-sinal", [&] {
        struct sigaction ignorar{};
        ignorar.sa_handler = SIG_IGN;
        return ::sigaction(SIGUSR2, &ignorar, nullptr) == 0;
    });
    tentar("flock-entrada", [&] { return ::flock(0, LOCK_SH | LOCK_NB) == 0; });
    tentar("trava-posix-entrada", [&] {
        struct flock trava{};
        trava.l_type = F_RDLCK;
        trava.l_whence = SEEK_SET;
        return ::fcntl(0, F_SETLK, &trava) == 0;
    });

    // What it might learn of the user's files and of other processes.
    tentar("stat-conta", [&] {
        struct stat st{};
        return ::stat(conta.c_str(), &st) == 0;
    });
    tentar("access-conta", [&] { return ::access(conta.c_str(), F_OK) == 0; });
    tentar("readlink-casa", [&] {
        char alvo[256];
        return ::readlink((casa + "/atalho").c_str(), alvo, sizeof alvo) > 0;
    });
    tentar("inotify-casa", [&] {
        const int fd = ::inotify_init1(IN_CLOEXEC);
        if (fd < 0)
            return false;
        const bool ok = ::inotify_add_watch(fd, casa.c_str(), IN_ALL_EVENTS) >= 0;
        const int erro = errno;
        ::close(fd);
        errno = erro;
        return ok;
    });
    tentar("fanotify", [&] {
        const long fd = ::syscall(SYS_fanotify_init, 0, O_RDONLY);
        if (fd < 0)
            return false;
        ::close(int(fd));
        return true;
    });
    tentar("limites-do-pai", [&] {
        rlimit lido{};
        return ::prlimit(pai, RLIMIT_CPU, nullptr, &lido) == 0;
    });
    tentar("prioridade-do-pai-lida", [&] {
        errno = 0;
        return ::getpriority(PRIO_PROCESS, id_t(pai)) != -1 || errno == 0;
    });
    tentar("escalonador-do-pai-lido", [&] { return ::sched_getscheduler(pai) >= 0; });

    // Last, with no process of its own to run it in: an exec that got
    // through ends the stand-in, and its line is missing.
    std::fflush(stdout);
    char* const argv[] = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), const_cast<char*>("exit 0"), nullptr};
    errno = 0;
    ::execve(argv[0], argv, argv + 3);
    relatar("executar-sh-direto", false, errno);
    std::fflush(stdout);
}

void corrida(const std::map<std::string, std::string>& pedido)
{
    const std::string alvo = pedido.count("alvo") ? pedido.at("alvo") : "";
    const int vezes = pedido.count("vezes") ? std::atoi(pedido.at("vezes").c_str()) : 0;
    int abertas = 0, chave = 0;
    for (int i = 0; i < vezes; ++i) {
        const int fd = ::open(alvo.c_str(), O_RDONLY);
        if (fd < 0)
            continue;
        ++abertas;
        char lido[8] = {};
        if (::read(fd, lido, 7) == 7 && std::memcmp(lido, "a chave", 7) == 0)
            ++chave;
        ::close(fd);
    }
    std::printf("abertas %d chave %d\n", abertas, chave);
    std::fflush(stdout);
}

void responder(const void* bytes, std::size_t size)
{
    std::fwrite(bytes, 1, size, stdout);
    std::fflush(stdout);
}

} // namespace

int main()
{
    const auto pedido = lerPedido();
    const std::string modo = pedido.count("modo") ? pedido.at("modo") : "";
    if (modo == "escapes") {
        // A write past the file-size limit then fails instead of ending the run.
        std::signal(SIGXFSZ, SIG_IGN);
        escapes(pedido);
        return 0;
    }
    if (modo == "corrida") {
        corrida(pedido);
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
