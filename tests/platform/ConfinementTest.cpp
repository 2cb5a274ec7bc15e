#include "platform/Confinement.h"
#include "support/Planilhas.h"
#include "support/UsuarioComum.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <netinet/in.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

// A home folder as a subverted reader would find it, and the sockets it
// would try to reach.
struct Casa {
    QTemporaryDir dir;
    int tcp = -1;
    int porta = 0;
    int unixSocket = -1;
    int abstrato = -1;
    QString nomeAbstrato = QStringLiteral("vorsal-teste-%1").arg(::getpid());

    static int ouvir(int family, const sockaddr* a, socklen_t size)
    {
        const int s = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (s >= 0 && (::bind(s, a, size) != 0 || ::listen(s, 4) != 0)) {
            ::close(s);
            return -1;
        }
        return s;
    }

    Casa()
    {
        QDir(dir.path()).mkpath(QStringLiteral("Banco"));
        QDir(dir.path()).mkpath(QStringLiteral(".ssh"));
        testsupport::escreverArquivo(dir.filePath(QStringLiteral("Banco/Casa.mdb")), "a conta");
        testsupport::escreverArquivo(dir.filePath(QStringLiteral(".ssh/id_rsa")), "a chave");
        QFile::link(QStringLiteral("Banco/Casa.mdb"), dir.filePath(QStringLiteral("atalho")));
        sockaddr_in in{};
        in.sin_family = AF_INET;
        in.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        tcp = ouvir(AF_INET, reinterpret_cast<sockaddr*>(&in), sizeof in);
        socklen_t size = sizeof in;
        ::getsockname(tcp, reinterpret_cast<sockaddr*>(&in), &size);
        porta = ntohs(in.sin_port);
        sockaddr_un un{};
        un.sun_family = AF_UNIX;
        const QByteArray caminho = QFile::encodeName(dir.filePath(QStringLiteral("unix.sock")));
        std::memcpy(un.sun_path, caminho.constData(), std::size_t(caminho.size()));
        unixSocket = ouvir(AF_UNIX, reinterpret_cast<sockaddr*>(&un), sizeof un);
        sockaddr_un ab{};
        ab.sun_family = AF_UNIX;
        const QByteArray nome = nomeAbstrato.toUtf8();
        std::memcpy(ab.sun_path + 1, nome.constData(), std::size_t(nome.size()));
        abstrato = ouvir(AF_UNIX, reinterpret_cast<sockaddr*>(&ab),
                         socklen_t(offsetof(sockaddr_un, sun_path) + 1 + nome.size()));
    }
    ~Casa()
    {
        for (int s : {tcp, unixSocket, abstrato})
            if (s >= 0)
                ::close(s);
    }

    QString pedido() const
    {
        const QString path = dir.filePath(QStringLiteral("extrato.xls"));
        testsupport::escreverArquivo(path, QStringLiteral("modo=escapes\ncasa=%1\nporta=%2\nabstrato=%3\n")
                                               .arg(dir.path())
                                               .arg(porta)
                                               .arg(nomeAbstrato)
                                               .toUtf8());
        return path;
    }
};

// The stand-in (or `program`) run on the request in the file `path`.
ConfinedRun rodar(const QString& path, unsigned layers, const QString& program = testsupport::deTeste(VORSAL_HOSTILE_READER))
{
    QFile pedido(path);
    EXPECT_TRUE(pedido.open(QIODevice::ReadOnly));
    ConfinedCommand command;
    command.program = program;
    command.input = pedido.handle();
    command.arguments = {QStringLiteral("Plan1")};
    command.memoryBytes = 512LL * 1024 * 1024;
    command.seconds = 10;
    command.maxOutputBytes = 1 << 20;
    command.layers = layers;
    return runConfined(command);
}

// Each escape's line: "nome recusado ERRNO" or "nome conseguiu".
std::map<QString, QString> escapes(unsigned layers, const Casa& casa, ConfinedRun& run,
                                   const QString& program = testsupport::deTeste(VORSAL_HOSTILE_READER))
{
    run = rodar(casa.pedido(), layers, program);
    std::map<QString, QString> out;
    for (const QByteArray& line : run.output.split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() >= 2)
            out[QString::fromUtf8(parts[0])] = QString::fromUtf8(parts.mid(1).join(' '));
    }
    return out;
}

const char* const kEscapes[] = {
    "ler-conta", "ler-ssh", "ler-ssh-pela-biblioteca", "ler-ssh-relativo", "ler-ssh-pela-pasta", "ler-etc", "listar-casa",
    "ler-memoria-do-pai", "tcp", "unix", "servidor-x", "unix-abstrato",
    "escrever-conta", "criar-arquivo", "renomear-conta", "apagar-conta", "truncar-conta", "mudar-permissoes",
    "criar-pasta", "criar-link", "mapear-conta-para-escrita", "executar-sh", "ptrace-do-pai",
    "ler-memoria-do-pai-direto", "sinal-ao-pai", "sinal-a-todos", "sinal-ao-grupo-do-pai", "executar-sh-direto",
};

// Refused whatever the kernel has, by the seccomp filter and its listener
// alone: the user's files and their facts, another process's memory,
// limits, priority and scheduling; a process made; the new mount calls; and
// every way to carry a byte out that another process can read.
const char* const kRefusedEverywhere[] = {
    "ler-conta", "ler-ssh", "ler-ssh-pela-biblioteca", "ler-ssh-relativo", "ler-ssh-pela-pasta", "ler-etc", "listar-casa",
    "ler-memoria-do-pai", "tcp", "unix", "servidor-x", "unix-abstrato",
    "escrever-conta", "criar-arquivo", "renomear-conta", "apagar-conta", "truncar-conta", "mudar-permissoes",
    "criar-pasta", "criar-link", "mapear-conta-para-escrita", "executar-sh", "ptrace-do-pai",
    "ler-memoria-do-pai-direto", "sinal-ao-pai", "sinal-a-todos", "sinal-ao-grupo-do-pai", "limite-cpu-do-pai",
    "limite-tamanho-do-pai", "limite-arquivos-do-pai", "prioridade-do-pai", "escalonador-do-pai",
    "afinidade-do-pai", "ioprio-do-pai", "criar-processo", "clone-com-namespaces", "clone3", "montar-tmpfs",
    "copiar-arvore", "limite-proprio", "prioridade-propria", "escalonador-proprio", "ioprio-proprio",
    "nome-proprio", "afinidade-propria", "mascara-de-sinais", "ignorar-sinal", "flock-entrada",
    "trava-posix-entrada", "stat-conta", "access-conta", "readlink-casa", "inotify-casa", "fanotify",
    "limites-do-pai", "prioridade-do-pai-lida", "escalonador-do-pai-lido", "executar-sh-direto",
};

// Whether, on this kernel, nothing refuses the attempt: a file's facts,
// which Landlock does not cover, where the names go unchecked (no seccomp
// listener). Without Landlock either the program does not run.
bool alcancaArquivos(const char* escape, const ConfinedRun& run)
{
    return !run.namesChecked && std::strcmp(escape, "stat-conta") == 0;
}

// The kernels the launcher may meet, by the layers lifted; where the user's
// files would be left within reach, the reader is not run.
struct Configuracao {
    const char* nome;
    unsigned layers;
    bool roda;
};
const Configuracao kConfiguracoes[] = {
    {"completa", kAllLayers, true},
    {"sem Landlock", kAllLayers & ~(kLandlockLayer | kNamespaceLayer), true},
    {"sem listener", kAllLayers & ~kListenerLayer, true},
    {"nomes ilegiveis", kAllLayers & ~kNameReadingLayer, false},
    {"nomes ilegiveis sem Landlock", kAllLayers & ~(kNameReadingLayer | kLandlockLayer), false},
    {"sem listener nem Landlock", kAllLayers & ~(kListenerLayer | kLandlockLayer), false},
};

// What the test process is, as another process would change it.
struct Estado {
    rlimit cpu{}, tamanho{}, arquivos{};
    int prioridade = 0;
    int escalonador = 0;
    static Estado agora()
    {
        Estado e;
        ::getrlimit(RLIMIT_CPU, &e.cpu);
        ::getrlimit(RLIMIT_FSIZE, &e.tamanho);
        ::getrlimit(RLIMIT_NOFILE, &e.arquivos);
        errno = 0;
        e.prioridade = ::getpriority(PRIO_PROCESS, 0);
        e.escalonador = ::sched_getscheduler(0);
        return e;
    }
    bool operator==(const Estado& o) const
    {
        const auto igual = [](const rlimit& a, const rlimit& b) {
            return a.rlim_cur == b.rlim_cur && a.rlim_max == b.rlim_max;
        };
        return igual(cpu, o.cpu) && igual(tamanho, o.tamanho) && igual(arquivos, o.arquivos)
            && prioridade == o.prioridade && escalonador == o.escalonador;
    }
};

// A library the program loaded from the user's home (a plugin or theme
// installed there, a preloaded library): a copy of the compression library
// every test program links, loaded from `pasta`.
struct BibliotecaNaCasa {
    void* handle = nullptr;
    explicit BibliotecaNaCasa(const QString& pasta)
    {
        QByteArray original;
        dl_iterate_phdr(
            [](dl_phdr_info* info, size_t, void* data) {
                if (info->dlpi_name && std::strstr(info->dlpi_name, "/libz.so")) {
                    *static_cast<QByteArray*>(data) = info->dlpi_name;
                    return 1;
                }
                return 0;
            },
            &original);
        const QString copia = QDir(pasta).filePath(QStringLiteral("libz-tema.so"));
        if (!original.isEmpty() && QFile::copy(QFile::decodeName(original), copia))
            handle = ::dlopen(QFile::encodeName(copia).constData(), RTLD_NOW | RTLD_LOCAL);
    }
    ~BibliotecaNaCasa()
    {
        if (handle)
            ::dlclose(handle);
    }
};

} // namespace

TEST(ConfinementTest, OnEveryKernelTheStandInChangesNoOtherProcessMakesNoneAndCarriesNothingOut)
{
    for (const Configuracao& c : kConfiguracoes) {
        Casa casa;
        const Estado antes = Estado::agora();
        ConfinedRun run;
        const auto resultado = escapes(c.layers, casa, run);
        EXPECT_TRUE(Estado::agora() == antes) << c.nome;
        if (!c.roda) {
            EXPECT_TRUE(run.unsafe) << c.nome;
            EXPECT_FALSE(run.ended) << c.nome;
            EXPECT_TRUE(run.output.isEmpty()) << c.nome;
            continue;
        }
        EXPECT_FALSE(run.unsafe) << c.nome;
        ASSERT_TRUE(run.ended) << c.nome;
        EXPECT_EQ(run.exitCode, 0) << c.nome;
        for (const char* escape : kRefusedEverywhere) {
            const auto it = resultado.find(QString::fromUtf8(escape));
            ASSERT_NE(it, resultado.end()) << escape;
            if (!alcancaArquivos(escape, run)) {
                EXPECT_TRUE(it->second.startsWith(QLatin1String("recusado"))) << c.nome << " " << escape << ": "
                                                                              << it->second.toStdString();
            }
        }
    }
}

TEST(ConfinementTest, ALinkFlippedByAnotherProcessWhileTheReaderOpensItNeverReadsTheOtherFile)
{
    // Another user's folder, where a link goes back and forth between a
    // file the reader may read and the user's key.
    Casa casa;
    ASSERT_TRUE(QDir(casa.dir.path()).mkpath(QStringLiteral("troca")));
    const QByteArray pasta = QFile::encodeName(casa.dir.filePath(QStringLiteral("troca")));
    const QByteArray atalho = pasta + "/atalho", a = pasta + "/a", b = pasta + "/b";
    const QByteArray chave = QFile::encodeName(casa.dir.filePath(QStringLiteral(".ssh/id_rsa")));
    const QByteArray livre = "/etc/ld.so.cache";
    ASSERT_EQ(::symlink(livre.constData(), atalho.constData()), 0);
    const pid_t troca = ::fork();
    ASSERT_GE(troca, 0);
    if (troca == 0) {
        for (;;) {
            ::symlink(chave.constData(), a.constData());
            ::rename(a.constData(), atalho.constData());
            ::symlink(livre.constData(), b.constData());
            ::rename(b.constData(), atalho.constData());
        }
    }
    const QString path = casa.dir.filePath(QStringLiteral("corrida.xls"));
    testsupport::escreverArquivo(path, "modo=corrida\nalvo=" + atalho + "\nvezes=10000\n");
    const ConfinedRun run = rodar(path, kAllLayers & ~kLandlockLayer);
    ::kill(troca, SIGKILL);
    ::waitpid(troca, nullptr, 0);
    ASSERT_TRUE(run.ended);
    const QList<QByteArray> contagem = run.output.trimmed().split(' ');
    ASSERT_EQ(contagem.size(), 4) << run.output.toStdString();
    std::cout << "opens let through " << contagem[1].toStdString() << ", reading the key " << contagem[3].toStdString()
              << " of 10000\n";
    EXPECT_EQ(contagem[3], "0");
}

TEST(ConfinementTest, OnceTheReaderHasLockedItselfItOpensStatsAndRunsNothingButReadsItsInput)
{
    for (const unsigned layers : {unsigned(kAllLayers), unsigned(kAllLayers & ~(kLandlockLayer | kNamespaceLayer))}) {
        Casa casa;
        ConfinedRun run;
        const auto r = escapes(layers, casa, run, testsupport::deTeste(VORSAL_LOCKED_READER));
        ASSERT_TRUE(run.ended) << layers;
        EXPECT_EQ(run.exitCode, 0) << layers;
        // What the launcher alone lets through.
        for (const char* tentativa : {"abrir-biblioteca", "stat-biblioteca", "executar", "fopen-outro"}) {
            const auto it = r.find(QString::fromUtf8(tentativa));
            ASSERT_NE(it, r.end()) << tentativa;
            EXPECT_TRUE(it->second.startsWith(QLatin1String("recusado"))) << layers << " " << tentativa;
        }
        EXPECT_EQ(r.count(QStringLiteral("fopen-entrada")) ? r.at(QStringLiteral("fopen-entrada")) : QString(),
                  QStringLiteral("conseguiu"));
    }
}

TEST(ConfinementTest, AReaderPutInPlaceOfTheRealOneReachesNothingButItsAnswer)
{
    Casa casa;
    ASSERT_TRUE(casa.tcp >= 0 && casa.unixSocket >= 0 && casa.abstrato >= 0);
    const BibliotecaNaCasa biblioteca(casa.dir.path());
    ASSERT_NE(biblioteca.handle, nullptr) << ::dlerror();
    // What it may open by name, exactly: its program, the loader and its
    // cache, the system's library folders; nothing of the home, nor the
    // rest of /etc.
    const QString leitor = testsupport::deTeste(VORSAL_HOSTILE_READER);
    const ReadablePlaces lugares = readablePlaces(leitor);
    const QByteArray programa = QFile::encodeName(QFileInfo(leitor).absoluteFilePath());
    EXPECT_EQ(lugares.program, programa);
    EXPECT_TRUE(lugares.loader.startsWith("/lib") || lugares.loader.startsWith("/usr/lib")) << lugares.loader.toStdString();
    const auto lista = [](const std::vector<QByteArray>& v) { return QByteArrayList(v.begin(), v.end()).join(' ').toStdString(); };
    EXPECT_EQ(lista(lugares.files), (programa + " /etc/ld.so.cache " + lugares.loader).toStdString());
    EXPECT_EQ(lista(lugares.folders), "/lib /lib64 /usr/lib /usr/lib64 /usr/local/lib");
    ConfinedRun run;
    const auto resultado = escapes(kAllLayers, casa, run);
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0);
    for (const char* escape : kEscapes) {
        const auto it = resultado.find(QString::fromUtf8(escape));
        ASSERT_NE(it, resultado.end()) << escape;
        if (!alcancaArquivos(escape, run)) {
            EXPECT_TRUE(it->second.startsWith(QLatin1String("recusado"))) << escape << ": " << it->second.toStdString();
        }
    }
    QFile conta(casa.dir.filePath(QStringLiteral("Banco/Casa.mdb")));
    ASSERT_TRUE(conta.open(QIODevice::ReadOnly));
    EXPECT_EQ(conta.readAll(), QByteArray("a conta"));
    EXPECT_TRUE(QDir(casa.dir.path()).entryList({QStringLiteral("nov*"), QStringLiteral("link")}).isEmpty());

    // Which layer refuses what, on this kernel, each layer alone.
    std::cout << "Landlock ABI " << run.landlockAbi << ", layers in place " << run.applied << ", names checked "
              << run.namesChecked << "\n";
    for (const unsigned layers :
         {unsigned(kSeccompLayer | kListenerLayer | kNameReadingLayer), unsigned(kLandlockLayer), unsigned(kNamespaceLayer)}) {
        Casa sozinha;
        ConfinedRun parcial;
        const auto r = escapes(layers, sozinha, parcial);
        std::cout << "layer " << layers << " (in place " << parcial.applied << "):";
        for (const char* escape : kEscapes) {
            const auto it = r.find(QString::fromUtf8(escape));
            std::cout << " " << escape << "=" << (it == r.end() ? "?" : it->second.toStdString());
        }
        std::cout << "\n";
    }
}

// The reader's cases above and the sheets' again, as the program's users run
// them: an ordinary user (when the tests run as root), whose memory is
// closed to other processes from the start.
TEST(ComoUsuarioComum, TheReadersCasesPassForAnOrdinaryUserWhoseMemoryIsProtected)
{
    EXPECT_EQ(testsupport::rodarComoUsuarioComum(QStringLiteral("ConfinementTest.*:SheetsTest.*")), 0);
}
