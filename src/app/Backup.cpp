#include "app/Backup.h"

#include "app/Textos.h"
#include "app/frmSenha.h"

#include "data/Conexao.h"
#include "data/Senha.h"
#include "platform/Application.h"
#include "platform/PrivateFile.h"
#include "platform/Drives.h"
#include "platform/MsgBox.h"
#include "platform/formats.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <memory>
#include <optional>

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace app {

QString nomeCopia(const QString& nomeBanco, const QDate& dia)
{
    return nomeBanco + QStringLiteral(" Backup ") + platform::formatDate(dia, QStringLiteral("DD-MM-YYYY")) +
           QStringLiteral(".mdb");
}

QString pastaCopias() { return platform::Drives::toLocal(QStringLiteral("C:\\Banco")); }

bool ehCopiaDe(const QString& nomeArquivo, const QString& nomeBanco)
{
    // A file the login dialog lists as an account ("casa backup.mdb") is
    // never taken for a copy: deleting it would delete an account.
    if (!frmSenha::nomeDaConta(nomeArquivo).isEmpty())
        return false;
    return nomeArquivo.startsWith(nomeBanco + QStringLiteral(" Backup"), Qt::CaseInsensitive) &&
           nomeArquivo.endsWith(QStringLiteral(".mdb"), Qt::CaseInsensitive);
}

QStringList copiasDe(const QString& nomeBanco)
{
    QStringList out;
    const QDir pasta(pastaCopias());
    for (const QString& nome : pasta.entryList(QDir::Files, QDir::Name))
        if (ehCopiaDe(nome, nomeBanco))
            out.append(nome);
    return out;
}

void apagarCopiasAntigas(const QString& nomeBanco, const QString& manter)
{
    const QDir pasta(pastaCopias());
    for (const QString& nome : copiasDe(nomeBanco))
        if (nome.compare(manter, Qt::CaseInsensitive) != 0)
            QFile::remove(pasta.filePath(nome));
    // And what a copy cut short on an earlier day left, hidden.
    for (const QString& oculto : pasta.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (const QString nome = platform::nameBeingWritten(oculto); !nome.isEmpty() && ehCopiaDe(nome, nomeBanco))
            QFile::remove(pasta.filePath(oculto));
}

namespace {
// Writes what `origem` reads, from its start, into `destino` from its
// current offset; the number of bytes, or -1 when a read or write failed.
// Read with pread: `origem` is never moved or closed here, so one the
// program holds its account with keeps its locks.
qint64 copiarDescritor(int origem, int destino)
{
    char bloco[1 << 16];
    for (off_t lido = 0;;) {
        const ssize_t n = ::pread(origem, bloco, sizeof bloco, lido);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0 ? qint64(lido) : -1;
        for (ssize_t escrito = 0; escrito < n;) {
            const ssize_t w = ::write(destino, bloco + escrito, size_t(n - escrito));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                return -1;
            escrito += w;
        }
        lido += n;
    }
}

// Writes what a descriptor reads as the file `destino`, through a temporary
// file of its folder that takes the name only once it is complete.
bool gravarCopia(int origem, const QString& destino)
{
    // Whatever is at the copy's name and is no plain file (a link, a
    // folder, a device) is left alone, and nothing is written through it.
    if (origem < 0 || !platform::freeForRegularFile(destino))
        return false;
    const QFileInfo copia(destino);
    return platform::writeAsName(copia.absolutePath(), copia.fileName(), true,
                                 [origem](int fd) { return copiarDescritor(origem, fd) >= 0; });
}

// Copies the file ConexaoBanco holds (not whatever its name names now) as
// `destino`, under a read of the engine's, so that no other program's
// write lands in the middle of it; true once the copy is whole.
bool copiarContaAberta(const QString& destino)
{
    bool copiada = false;
    qint64 tamanho = -1;
    try {
        // A read holds the file against writers (not against one that only
        // waits to write) until it ends.
        ConexaoBanco.exec(QStringLiteral("BEGIN"));
        data::scalar(ConexaoBanco, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        struct stat arquivo {};
        if (::fstat(ConexaoBanco.heldFd(), &arquivo) == 0)
            tamanho = arquivo.st_size;
        copiada = tamanho >= 0 && gravarCopia(ConexaoBanco.heldFd(), destino);
        ConexaoBanco.exec(QStringLiteral("COMMIT"));
    } catch (const data::DbError&) {
        try {
            ConexaoBanco.exec(QStringLiteral("ROLLBACK"));
        } catch (const data::DbError&) {
        }
        copiada = false;
    }
    if (!copiada)
        return false;
    // Read under the engine's lock, every byte written checked and synced:
    // a copy as long as the file is the file. No key is derived again to
    // prove it (a tenth of a second each time the program is left).
    if (QFileInfo(destino).size() == tamanho)
        return true;
    QFile::remove(destino);
    return false;
}
} // namespace

QString guardarConflito(const QDate& hoje)
{
    if (!ConexaoBanco.isOpen() || platform::FileLock::sameFile(ConexaoBanco.heldFd(), caminhoLocalBanco()))
        return QString();
    // The file written once for the file held keeps its name for the run:
    // written again on leaving, it is the same conflict.
    static QString escrito;
    static std::pair<dev_t, ino_t> deQual{};
    struct stat held {};
    if (::fstat(ConexaoBanco.heldFd(), &held) != 0)
        return QString();
    const QString pasta = QFileInfo(caminhoLocalBanco()).absolutePath();
    const QString base = NomeBanco + QStringLiteral(" (conflito ") +
                         platform::formatDate(hoje, QStringLiteral("DD-MM-YYYY"));
    QString nome = escrito;
    if (nome.isEmpty() || deQual != std::pair<dev_t, ino_t>{held.st_dev, held.st_ino}) {
        nome = base + QStringLiteral(").mdb");
        for (int n = 2; QFileInfo::exists(QDir(pasta).filePath(nome)); ++n)
            nome = base + QStringLiteral(") %1.mdb").arg(n);
    }
    if (!copiarContaAberta(QDir(pasta).filePath(nome)))
        return QString();
    escrito = nome;
    deQual = {held.st_dev, held.st_ino};
    return DriveBanco + QStringLiteral("\\Banco\\") + nome;
}

QString avisoDeConflito(const QString& onde)
{
    if (onde.isEmpty())
        return QString();
    return QStringLiteral("O que a conta guardava neste programa foi gravado em ''") + onde +
           QStringLiteral("'', com a mesma senha.");
}

namespace {
// The file a copy is written to with the new password: hidden, beside the
// copy's name in the copies folder. Its name says which copy it is for, so
// that a change cut short is finished or undone from it alone.
const QString kSufixoOculta = QStringLiteral(".senha");

QString ocultaDe(const QString& nome) { return QDir(pastaCopias()).filePath(QLatin1Char('.') + nome + kSufixoOculta); }

void removerOculta(const QString& oculta)
{
    QFile::remove(oculta);
    QFile::remove(oculta + QStringLiteral("-journal"));
}

// Whether the name is a plain file with no other name: renamed over, it
// leaves nothing behind that opens with the former password. False too
// when the name cannot be looked at.
bool arquivoDeUmNome(const QString& copia)
{
    struct stat nome {};
    return ::lstat(QFile::encodeName(copia).constData(), &nome) == 0 && S_ISREG(nome.st_mode) &&
           nome.st_nlink == 1;
}

// Puts a copy's rewrite in its place. A plain file with one name is
// replaced by it (renamed over); a link's target, or a file with more names
// than this one, is written over in place, so that every name of it
// follows. False when it could not be; the rewrite is then left for the
// next login or change to finish.
bool assentar(const QString& oculta, const QString& copia)
{
    if (arquivoDeUmNome(copia))
        return platform::replaceFile(oculta, copia);
    const QString alvo = QFileInfo(copia).canonicalFilePath();
    if (alvo.isEmpty())
        return false;
    const int destino = ::open(QFile::encodeName(alvo).constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (destino < 0)
        return false;
    bool ok = false;
    struct stat info {};
    const int origem = ::open(QFile::encodeName(oculta).constData(), O_RDONLY | O_CLOEXEC);
    if (origem >= 0 && ::fstat(destino, &info) == 0 && S_ISREG(info.st_mode)) {
        const qint64 n = copiarDescritor(origem, destino);
        ok = n >= 0 && ::ftruncate(destino, off_t(n)) == 0 && platform::syncFile(destino);
    }
    if (origem >= 0)
        ::close(origem);
    ::close(destino);
    if (ok)
        removerOculta(oculta);
    return ok;
}

// A copy that may open with the former password, and whether it was
// written again hidden beside itself.
struct CopiaAntiga {
    QString nome;
    QString copia;
    qint64 tamanho = 0;
    bool regravada = false;
};

// Removes every copy's hidden rewrite: the change did not happen.
void descartar(const std::vector<CopiaAntiga>& copias)
{
    for (const CopiaAntiga& c : copias)
        removerOculta(ocultaDe(c.nome));
}

// Whether the copy's name reaches a file that can be written again: a plain
// file, or through a link or another name, a writable one.
bool regravavel(const QString& copia)
{
    if (arquivoDeUmNome(copia))
        return true;
    const QString alvo = QFileInfo(copia).canonicalFilePath();
    return !alvo.isEmpty() && ::access(QFile::encodeName(alvo).constData(), W_OK) == 0;
}

// Opens a copy as the login would: with the account's key or one of the
// older scheme (the former fixed key, no encryption), whatever password
// its record holds. False when it opens with none; a copy another program
// holds past the wait throws (it may still open with the former password).
bool abrirCopia(data::Connection& velha, const QString& copia, const data::Keying& antiga)
{
    try {
        openAccountFile(velha, copia, antiga.key);
        return true;
    } catch (const data::DbError& e) {
        if (e.cause() == data::DbCause::Busy)
            throw;
        return false;
    }
}

// The account's copies, each file once (one reached by several names or
// links is one copy), the account itself left out. A copy that opens with
// the former password but cannot be written again goes into `presas`.
std::vector<CopiaAntiga> copiasAntigas(const data::Keying& antiga, QStringList& presas)
{
    std::vector<CopiaAntiga> out;
    std::vector<std::pair<dev_t, ino_t>> vistos;
    struct stat conta {};
    if (::fstat(ConexaoBanco.heldFd(), &conta) == 0)
        vistos.push_back({conta.st_dev, conta.st_ino});
    const QDir pasta(pastaCopias());
    for (const QString& nome : copiasDe(NomeBanco)) {
        const QString copia = pasta.filePath(nome);
        struct stat info {};
        // A file of no whole number of pages is no database of any kind.
        if (::stat(QFile::encodeName(copia).constData(), &info) != 0 || !S_ISREG(info.st_mode) ||
            info.st_size == 0 || info.st_size % 512 != 0)
            continue;
        const std::pair<dev_t, ino_t> id{info.st_dev, info.st_ino};
        if (std::find(vistos.begin(), vistos.end(), id) != vistos.end())
            continue;
        vistos.push_back(id);
        if (!regravavel(copia)) {
            data::Connection velha;
            if (abrirCopia(velha, copia, antiga))
                presas.append(nome);
            continue;
        }
        out.push_back({nome, copia, qint64(info.st_size)});
    }
    return out;
}

data::DbError copiaNaoGravada(const QString& nome, const QString& porque, data::DbCause causa)
{
    return data::DbError(
        QStringLiteral("A cópia de segurança \"%1\" não foi gravada com a nova senha: %2").arg(nome, porque), causa);
}

// Refuses, before anything is written, a change the disk cannot hold: each
// copy written again beside itself, and the account's own rewrite where it
// shares the disk.
void conferirEspaco(const std::vector<CopiaAntiga>& copias)
{
    const QByteArray pasta = QFile::encodeName(pastaCopias());
    qint64 preciso = 0;
    for (const CopiaAntiga& c : copias)
        preciso += c.tamanho + 64 * 1024;
    struct stat dela {};
    struct stat conta {};
    if (::stat(pasta.constData(), &dela) == 0 && ::fstat(ConexaoBanco.heldFd(), &conta) == 0 &&
        dela.st_dev == conta.st_dev)
        preciso += data::rewriteRoom(ConexaoBanco, caminhoLocalBanco());
    struct statvfs disco {};
    if (!copias.empty() && ::statvfs(pasta.constData(), &disco) == 0 &&
        qint64(disco.f_bavail) * qint64(disco.f_frsize) < preciso)
        throw copiaNaoGravada(copias.front().nome, QStringLiteral("não há espaço no disco."), data::DbCause::Full);
}

// Writes one copy again into the empty file `fd` names (`nova`), keyed with
// `chave` and holding `senha`; false when the copy opens with neither the
// former key nor the older scheme (no copy of this account's).
bool recifrarCopia(const CopiaAntiga& c, int fd, const QString& nova, const data::Keying& antiga,
                   const data::Keying& chave, const QString& senha)
{
    // Keyed as the account (a copy made on leaving): its bytes, keyed
    // again in place; the file is new and nobody else's, so no journal.
    // The key is derived once, on it.
    const int de = ::open(QFile::encodeName(c.copia).constData(), O_RDONLY | O_CLOEXEC);
    qint64 n = -1;
    int erro = errno;
    platform::runPainting([&] {
        n = de >= 0 ? copiarDescritor(de, fd) : -1;
        erro = errno;
    });
    if (de >= 0)
        ::close(de);
    if (n < 0)
        throw data::DbError(QString::fromLocal8Bit(::strerror(erro)), data::causeOfSystemError(erro));
    bool mesmaChave = false;
    if (antiga.sameScheme(chave)) {
        try {
            data::Connection escrita;
            escrita.open(nova, antiga);
            mesmaChave = true;
            escrita.exec(QStringLiteral("PRAGMA journal_mode = OFF"));
            data::Transaction t(escrita);
            data::updateSenha(escrita, senha);
            escrita.rekey(chave.key);
            // The write lock let go: the engine committed the new key with
            // the record (a commit it gave up keeps the lock).
            if (escrita.holdsWriteLock())
                throw data::DbError(QStringLiteral("a chave não foi trocada."));
            t.commit();
            // Read back from the disk through the new key, without a second
            // key derivation: the cached pages dropped first.
            escrita.exec(QStringLiteral("PRAGMA shrink_memory"));
            if (data::readSenha(escrita).senha != senha)
                throw data::DbError(QStringLiteral("a senha não foi gravada."));
            return true;
        } catch (const data::DbError& e) {
            if (mesmaChave || e.cause() == data::DbCause::Busy)
                throw;
        }
    }
    // Another scheme: written whole with the account's; opening it proves
    // the new key.
    if (::ftruncate(fd, 0) != 0)
        throw data::DbError(QString::fromLocal8Bit(::strerror(errno)), data::causeOfSystemError(errno));
    data::Connection velha;
    if (!abrirCopia(velha, c.copia, antiga))
        return false;
    velha.exportTo(nova, chave);
    velha.close();
    data::Connection escrita;
    escrita.open(nova, chave);
    data::updateSenha(escrita, senha);
    return true;
}

// Writes each copy again, hidden beside it, keyed with `chave` and holding
// `senha`. Throws DbError, leaving nothing behind, when any cannot be.
void recifrarCopias(std::vector<CopiaAntiga>& copias, const data::Keying& antiga, const data::Keying& chave,
                    const QString& senha, const std::function<void(const QString&)>& aviso)
{
    int n = 0;
    try {
        for (CopiaAntiga& c : copias) {
            ++n;
            if (aviso)
                aviso(QStringLiteral("Regravando a cópia %1 de %2…").arg(n).arg(copias.size()));
            const QString nova = ocultaDe(c.nome);
            removerOculta(nova);
            const int fd = platform::createPrivateFile(nova);
            if (fd < 0)
                throw copiaNaoGravada(c.nome, QString::fromLocal8Bit(::strerror(errno)),
                                      data::causeOfSystemError(errno));
            try {
                c.regravada = recifrarCopia(c, fd, nova, antiga, chave, senha);
            } catch (const data::DbError& e) {
                ::close(fd);
                throw copiaNaoGravada(c.nome, e.message(), e.cause());
            }
            bool sincronizada = true;
            int erro = 0;
            platform::runPainting([&] {
                sincronizada = !c.regravada || platform::syncFile(fd);
                erro = errno;
            });
            ::close(fd);
            if (!c.regravada)
                removerOculta(nova);
            else if (!sincronizada)
                throw copiaNaoGravada(c.nome, QString::fromLocal8Bit(::strerror(erro)),
                                      data::causeOfSystemError(erro));
        }
    } catch (...) {
        descartar(copias);
        throw;
    }
}
} // namespace

QStringList concluirTrocaInterrompida()
{
    QStringList presas;
    const QDir pasta(pastaCopias());
    const data::Keying atual = ConexaoBanco.keying();
    for (const QString& oculta : pasta.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        const bool diario = oculta.endsWith(kSufixoOculta + QStringLiteral("-journal"));
        if (!oculta.startsWith(QLatin1Char('.')) || !(diario || oculta.endsWith(kSufixoOculta)))
            continue;
        const QString nome = oculta.mid(1, oculta.indexOf(kSufixoOculta, 1) - 1);
        if (!ehCopiaDe(nome, NomeBanco))
            continue;
        const QString caminho = pasta.filePath(QLatin1Char('.') + nome + kSufixoOculta);
        // A rewrite still being written when the change stopped: the
        // account was not keyed yet, and the copy is as it was.
        if (diario || QFileInfo::exists(caminho + QStringLiteral("-journal"))) {
            removerOculta(caminho);
            continue;
        }
        bool daConta = false;
        try {
            data::Connection c;
            c.open(caminho, atual);
            daConta = true;
        } catch (const data::DbError&) {
        }
        // Keyed as the account is: the account changed, and its copy is
        // put in place. Otherwise the account never changed: it goes.
        const QString copia = pasta.filePath(nome);
        if (daConta && QFileInfo::exists(copia)) {
            if (!assentar(caminho, copia))
                presas.append(nome);
        }
        removerOculta(caminho);
    }
    return presas;
}

QStringList alterarSenha(const QString& nova, const std::function<void(const QString&)>& aviso)
{
    // What a change cut short left is finished or undone first.
    QStringList presas = concluirTrocaInterrompida();
    const data::Keying antiga = ConexaoBanco.keying();
    std::vector<CopiaAntiga> copias = copiasAntigas(antiga, presas);
    conferirEspaco(copias);
    recifrarCopias(copias, antiga, data::Keying(nova.toUtf8()), nova, aviso);
    try {
        if (aviso)
            aviso(QStringLiteral("Regravando a conta…"));
        changeAccountPassword(nova);
    } catch (...) {
        descartar(copias);
        throw;
    }
    if (aviso && !copias.empty())
        aviso(QStringLiteral("Substituindo as cópias…"));
    for (const CopiaAntiga& c : copias) {
        const QString oculta = ocultaDe(c.nome);
        if (c.regravada && !assentar(oculta, c.copia)) {
            // A plain copy that cannot be replaced goes: it would open
            // with the former password.
            if (!arquivoDeUmNome(c.copia) || !QFile::remove(c.copia))
                presas.append(c.nome);
            removerOculta(oculta);
        }
    }
    presas.removeDuplicates();
    return presas;
}

void avisarUltimoAcessoNaoGravado(const data::DbError& e, const QString& depois)
{
    platform::MsgBox(QStringLiteral("O último acesso não foi gravado.") + depois + QChar(13) + e.userMessage(),
                     platform::vbCritical | platform::vbOKOnly, kAtencao);
}

bool fazerBackup(const QDate& hoje)
{
    data::SenhaRecord senha;
    try {
        senha = data::readSenha(ConexaoBanco);
    } catch (const data::DbError& e) {
        // Nothing could be read (the file held longer than the wait, or no
        // longer the account): no copy is made of what may not be a whole
        // account.
        ConexaoBanco.close();
        avisarUltimoAcessoNaoGravado(e, QStringLiteral(" A cópia de segurança não foi feita."));
        return false;
    }
    // The account's name no longer names the file the program holds (a
    // sync tool renamed another file over it, or moved it away): a copy
    // under the account's name would be of another file, and the older
    // copies may be the only good ones.
    if (!platform::FileLock::sameFile(ConexaoBanco.heldFd(), caminhoLocalBanco())) {
        // What the user was told is stored lives only in the file held: it
        // is written beside the account before the connection lets it go.
        const QString conflito = avisoDeConflito(guardarConflito(hoje));
        ConexaoBanco.close();
        platform::MsgBox(QStringLiteral("O arquivo da conta ''") + CaminhoBanco +
                             QStringLiteral("'' foi substituído, movido ou apagado enquanto o programa estava "
                                            "aberto: a cópia de segurança não foi feita, e as cópias anteriores "
                                            "foram mantidas.") +
                             QChar(13) + QStringLiteral("O último acesso não foi gravado.") +
                             (conflito.isEmpty() ? QString() : QChar(13) + conflito),
                         platform::vbCritical | platform::vbOKOnly, kAtencao);
        return false;
    }
    // A missing date counts as a copy made long ago, and so does one later
    // than today (stored by a use with the clock ahead).
    const bool devida = !senha.backup.isValid() || senha.backup > hoje || senha.backup.daysTo(hoje) >= 10;

    // The last access is stored first; the copy's date only once the copy
    // is whole, so that a copy cut short (a kill, a full disk) is due again
    // at the next exit. The copy is made of the file as the connection
    // holds it: the account is not opened again. A last access the file
    // refuses (read-only, moved, busy past the wait) does not keep the copy
    // from being made: the copy only reads.
    std::optional<data::DbError> recusa;
    try {
        data::updateUltimoAcesso(ConexaoBanco, hoje);
    } catch (const data::DbError& e) {
        recusa = e;
    }

    bool copiada = false;
    if (devida) {
        // Today's copy is whole before any older one goes, so the account
        // is never without a copy; a failed copy leaves everything as it was.
        const QString nome = nomeCopia(NomeBanco, hoje);
        copiada = copiarContaAberta(QDir(pastaCopias()).filePath(nome));
        if (copiada) {
            try {
                data::updateBackup(ConexaoBanco, hoje);
            } catch (const data::DbError&) {
                // Left unstored, the copy is made again next time.
            }
            apagarCopiasAntigas(NomeBanco, nome);
        }
    }
    ConexaoBanco.close();
    if (recusa)
        avisarUltimoAcessoNaoGravado(*recusa, copiada ? QStringLiteral(" A cópia de segurança foi feita.")
                                                      : QString());
    return copiada;
}

} // namespace app
