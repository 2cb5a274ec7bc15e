#include "app/Backup.h"

#include "app/Textos.h"
#include "app/frmSenha.h"

#include "data/Conexao.h"
#include "data/Senha.h"
#include "platform/PrivateFile.h"
#include "platform/Drives.h"
#include "platform/MsgBox.h"
#include "platform/formats.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

#include <cerrno>
#include <cstring>
#include <vector>

#include <sys/stat.h>
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
}

namespace {
// Writes what a descriptor reads, from its start, as the file `destino`,
// through a temporary file of its folder that takes the name only once it
// is complete. Read with pread: the descriptor is never closed here, so
// one the program holds its account with keeps its locks.
bool gravarCopia(int origem, const QString& destino)
{
    // Whatever is at the copy's name and is no plain file (a link, a
    // folder, a device) is left alone, and nothing is written through it.
    if (origem < 0 || !platform::freeForRegularFile(destino))
        return false;
    const QFileInfo copia(destino);
    return platform::writeAsName(copia.absolutePath(), copia.fileName(), true, [origem](int fd) {
        char bloco[1 << 16];
        for (off_t lido = 0;;) {
            const ssize_t n = ::pread(origem, bloco, sizeof bloco, lido);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return n == 0;
            for (ssize_t escrito = 0; escrito < n;) {
                const ssize_t w = ::write(fd, bloco + escrito, size_t(n - escrito));
                if (w < 0 && errno == EINTR)
                    continue;
                if (w <= 0)
                    return false;
                escrito += w;
            }
            lido += n;
        }
    });
}

// Whether a copy is whole: as long as the file it was read from, and it
// opens with the account's keying (the key proved on its pages). Read under
// the engine's lock and written with every byte checked and synced, its
// pages are the file's.
bool copiaInteira(const QString& caminho, qint64 tamanho, const data::Keying& chave)
{
    if (QFileInfo(caminho).size() != tamanho)
        return false;
    try {
        data::Connection copia;
        copia.open(caminho, chave);
        return true;
    } catch (const data::DbError&) {
        return false;
    }
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
    if (copiaInteira(destino, tamanho, ConexaoBanco.keying()))
        return true;
    QFile::remove(destino);
    return false;
}

// A copy written again with the new password, beside the copy it replaces.
struct CopiaNova {
    QString copia;
    QString nova;
};

void descartar(const std::vector<CopiaNova>& novas)
{
    for (const CopiaNova& c : novas)
        QFile::remove(c.nova);
}

// Writes, beside each copy that opens with `antiga`, the same account keyed
// with `chave` and holding `senha`. Throws DbError, leaving nothing
// behind, when any of them cannot be written.
std::vector<CopiaNova> recifrarCopias(const data::Keying& antiga, const data::Keying& chave, const QString& senha)
{
    std::vector<CopiaNova> novas;
    const QDir pasta(pastaCopias());
    try {
        for (const QString& nome : copiasDe(NomeBanco)) {
            const QString copia = pasta.filePath(nome);
            if (!platform::freeForRegularFile(copia))
                continue;
            data::Connection velha;
            try {
                velha.open(copia, antiga);
            } catch (const data::DbError& e) {
                // A copy another program holds may still open with the
                // former password; one that opens with no such key is
                // none of its concern.
                if (e.cause() == data::DbCause::Busy)
                    throw;
                continue;
            }
            // What a run that ended midway left here goes first.
            const QString nova = pasta.filePath(QLatin1Char('.') + nome + QStringLiteral(".senha"));
            QFile::remove(nova);
            auto naoGravada = [&nome](const QString& porque, data::DbCause causa) {
                return data::DbError(QStringLiteral("A cópia de segurança \"%1\" não foi gravada com a nova "
                                                    "senha: %2").arg(nome, porque),
                                     causa);
            };
            const int fd = platform::createPrivateFile(nova);
            if (fd < 0)
                throw naoGravada(QString::fromLocal8Bit(::strerror(errno)), data::causeOfSystemError(errno));
            novas.push_back({copia, nova});
            try {
                velha.exportTo(nova, chave);
                velha.close();
                data::Connection escrita;
                escrita.open(nova, chave);
                data::updateSenha(escrita, senha);
            } catch (const data::DbError& e) {
                ::close(fd);
                throw naoGravada(e.message(), e.cause());
            }
            const bool sincronizada = platform::syncFile(fd);
            const int erro = errno;
            ::close(fd);
            if (!sincronizada)
                throw naoGravada(QString::fromLocal8Bit(::strerror(erro)), data::causeOfSystemError(erro));
        }
    } catch (...) {
        descartar(novas);
        throw;
    }
    return novas;
}
} // namespace

void alterarSenha(const QString& nova)
{
    const data::Keying antiga = ConexaoBanco.keying();
    const std::vector<CopiaNova> novas = recifrarCopias(antiga, data::Keying(nova.toUtf8()), nova);
    try {
        changeAccountPassword(nova);
    } catch (...) {
        descartar(novas);
        throw;
    }
    for (const CopiaNova& c : novas)
        if (!platform::replaceFile(c.nova, c.copia)) {
            QFile::remove(c.copia);
            QFile::remove(c.nova);
        }
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
        ConexaoBanco.close();
        platform::MsgBox(QStringLiteral("O arquivo da conta ''") + CaminhoBanco +
                             QStringLiteral("'' foi substituído, movido ou apagado enquanto o programa estava "
                                            "aberto: a cópia de segurança não foi feita, e as cópias anteriores "
                                            "foram mantidas.") +
                             QChar(13) + QStringLiteral("O último acesso não foi gravado."),
                         platform::vbCritical | platform::vbOKOnly, kAtencao);
        return false;
    }
    // A missing date counts as a copy made long ago, and so does one later
    // than today (stored by a use with the clock ahead).
    const bool devida = !senha.backup.isValid() || senha.backup > hoje || senha.backup.daysTo(hoje) >= 10;

    // The copy's date goes in with the last access, and the copy is made of
    // the file as the connection holds it: the account is not opened again.
    // A last access the file refuses (read-only, moved, busy past the wait)
    // does not keep the copy from being made: the copy only reads; the date
    // then stays unstored, and the copy is made again next time.
    std::optional<data::DbError> recusa;
    try {
        data::Transaction t(ConexaoBanco);
        data::updateUltimoAcesso(ConexaoBanco, hoje);
        if (devida)
            data::updateBackup(ConexaoBanco, hoje);
        t.commit();
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
            apagarCopiasAntigas(NomeBanco, nome);
        } else if (!recusa) {
            // The date stored names a copy that was not made: the old one
            // goes back (none for one later than today), so the copy is
            // tried again on the next exit. The program is ending: a file
            // that refuses it now is left as it is.
            try {
                data::updateBackup(ConexaoBanco, senha.backup > hoje ? QDate() : senha.backup);
            } catch (const data::DbError&) {
            }
        }
    }
    ConexaoBanco.close();
    if (recusa)
        avisarUltimoAcessoNaoGravado(*recusa, copiada ? QStringLiteral(" A cópia de segurança foi feita.")
                                                      : QString());
    return copiada;
}

} // namespace app
