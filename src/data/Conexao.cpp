#include "data/Conexao.h"

#include "data/Listagem.h"
#include "data/Schema.h"
#include "data/Senha.h"
#include "platform/PrivateFile.h"
#include "platform/Drives.h"
#include "platform/Form.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

data::Connection ConexaoBanco;
QString CaminhoBanco;
QString NomeBanco;
QString DriveBanco;
bool SenhaAceita = false;
QString SituacaoSenha;
QString NomeConsultaAtiva;
bool IncluirLancamento = false;
QByteArray ChaveBanco;

data::FormaConta openAccountFile(data::Connection& connection, const QString& localPath, const QByteArray& senha)
{
    using data::CipherSettings;
    using data::FormaConta;
    using data::Keying;
    auto naoEConta = [&](const QString& why) {
        return data::DbError(QStringLiteral("Não foi possível abrir o arquivo \"%1\": %2").arg(localPath, why));
    };
    QFile arquivo(localPath);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw naoEConta(arquivo.errorString());
    const qint64 tamanho = arquivo.size();
    const QByteArray inicio = arquivo.read(16);
    arquivo.close();
    // An unencrypted file starts with the format's name; an encrypted one
    // with its random salt.
    if (inicio == QByteArray("SQLite format 3", 16)) {
        connection.open(localPath, Keying());
        return FormaConta::SemCifra;
    }
    if (tamanho == 0 || tamanho % CipherSettings::legacyPageSize != 0)
        throw naoEConta(QStringLiteral("não é um arquivo de conta."));

    struct Tentativa {
        Keying keying;
        FormaConta forma;
    };
    const QByteArray antiga(data::kSenhaBancoDados);
    const bool paginas4096 = tamanho % CipherSettings::pageSize == 0;
    std::vector<Tentativa> tentativas;
    if (paginas4096 && !senha.isEmpty())
        tentativas.push_back({Keying(senha), FormaConta::Senha});
    if (paginas4096)
        tentativas.push_back(
            {Keying(antiga, CipherSettings::pageSize, CipherSettings::legacyKdfIterations), FormaConta::ChaveAntiga});
    tentativas.push_back(
        {Keying(antiga, CipherSettings::legacyPageSize, CipherSettings::legacyKdfIterations), FormaConta::ChaveAntiga});
    for (const Tentativa& t : tentativas) {
        try {
            connection.open(localPath, t.keying);
            return t.forma;
        } catch (const data::DbError& e) {
            // A file another program still holds after the wait says
            // nothing about the password.
            if (e.cause() == data::DbCause::Busy)
                throw;
            // The next keying, on a fresh connection.
        }
    }
    throw data::SenhaRecusada(QStringLiteral("A senha não abre o arquivo \"%1\".").arg(localPath));
}

namespace {
// How the user is told of an object of a file's schema.
QString descreverObjeto(const data::SchemaObject& o, bool nomeDoPrograma)
{
    QString tipo = o.type;
    bool feminino = true;
    if (o.type == QLatin1String("table")) {
        tipo = o.sql.simplified().startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive)
                   ? QStringLiteral("tabela virtual")
                   : QStringLiteral("tabela");
    } else if (o.type == QLatin1String("index")) {
        tipo = QStringLiteral("índice");
        feminino = false;
    } else if (o.type == QLatin1String("trigger")) {
        tipo = QStringLiteral("gatilho");
        feminino = false;
    } else if (o.type == QLatin1String("view")) {
        tipo = QStringLiteral("visão");
    }
    QString texto = tipo + QStringLiteral(" \"") + o.name + QLatin1Char('"');
    if (nomeDoPrograma)
        texto += feminino ? QStringLiteral(" alterada") : QStringLiteral(" alterado");
    return texto;
}
} // namespace

void data::checkAccountTables(Connection& db)
{
    // The schema's own list, read as rows: nothing it defines is used (no
    // table of a module connected, no index expression or constraint
    // computed) before it is known to be the program's own.
    std::vector<SchemaObject> objetos;
    {
        Statement s(db, QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY type, name"));
        while (s.next())
            objetos.push_back({s.text(0), s.text(1), s.text(2), s.text(3)});
    }
    const std::vector<SchemaObject>& proprio = programSchema();
    QStringList alheios;
    for (const SchemaObject& o : objetos) {
        bool mesmoNome = false;
        bool igual = false;
        for (const SchemaObject& p : proprio) {
            if (p.type != o.type || p.name != o.name)
                continue;
            mesmoNome = true;
            igual = igual || (p.table == o.table && !o.sql.isEmpty() && sameDefinition(p.sql, o.sql));
        }
        if (!igual)
            alheios.append(descreverObjeto(o, mesmoNome));
    }
    if (!alheios.isEmpty())
        throw EsquemaAlheio(QStringLiteral("ele contém o que o programa nunca grava (") +
                            alheios.join(QStringLiteral(", ")) +
                            QStringLiteral("), que poderia alterar os dados por conta própria. Nada disso foi "
                                           "executado; abra uma cópia de segurança ou uma conta feita pelo programa."));
    // Every table is the program's own: one missing is no whole account.
    for (const SchemaObject& p : proprio) {
        if (p.type != QLatin1String("table") || p.name.startsWith(QLatin1String("sqlite_")))
            continue;
        const bool presente = std::any_of(objetos.begin(), objetos.end(), [&](const SchemaObject& o) {
            return o.type == p.type && o.name == p.name;
        });
        if (!presente)
            throw DbError(QStringLiteral("falta a tabela \"%1\".").arg(p.name));
    }
    // Every page read once, its checksum and its place in the tables
    // checked: a page another program overwrote is told here, as damage,
    // and not at whichever window first reads it. Nothing is computed from
    // the rows.
    try {
        Statement s(db, QStringLiteral("PRAGMA quick_check(1)"));
        if (s.next() && s.text(0) == QLatin1String("ok"))
            return;
    } catch (const DbError& e) {
        if (e.cause() == DbCause::Busy)
            throw;
    }
    throw DbError(QStringLiteral("uma parte do arquivo não pode ser lida."), DbCause::Damaged);
}

data::FormaConta AbrirConexao()
{
    // Our own earlier hold on the file would count as another copy's.
    closeAccount();
    const QString path = caminhoLocalBanco();
    platform::FileLock trava;
    switch (trava.lock(path)) {
    case platform::FileLock::Result::Locked: break;
    case platform::FileLock::Result::InUse:
        throw data::ContaEmUso(QStringLiteral("O arquivo \"%1\" está aberto em outra janela.").arg(path));
    case platform::FileLock::Result::Error:
        throw data::DbError(QStringLiteral("Não foi possível abrir o arquivo \"%1\".").arg(path));
    }
    const data::FormaConta forma = openAccountFile(ConexaoBanco, path, ChaveBanco);
    ConexaoBanco.hold(std::move(trava));
    return forma;
}

void closeAccount()
{
    ConexaoBanco.close();
    data::forgetListedTexts();
}

namespace {
using data::DbCause;
using data::DbError;

DbError naoGravada(DbCause causa)
{
    return DbError(QStringLiteral("A conta não foi gravada de novo com a senha."), causa);
}

// Refuses, before anything is written, a rewrite the file or its folder
// cannot take: the file or the folder not writable (read-only, immutable,
// another owner), or less room on the disk than `espaco` bytes.
void conferirGravavel(const QString& arquivo, qint64 espaco)
{
    const QByteArray nome = QFile::encodeName(arquivo);
    const int fd = ::open(nome.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        throw naoGravada(data::causeOfSystemError(errno));
    ::close(fd);
    const QByteArray pasta = QFile::encodeName(QFileInfo(arquivo).absolutePath());
    if (::access(pasta.constData(), W_OK) != 0)
        throw naoGravada(data::causeOfSystemError(errno));
    struct statvfs disco {};
    if (::statvfs(pasta.constData(), &disco) == 0 && qint64(disco.f_bavail) * qint64(disco.f_frsize) < espaco)
        throw naoGravada(DbCause::Full);
}

// The room the journal of a change of every page takes: each page with its
// number and checksum (8 bytes), after the journal's header, in blocks of
// the disk; with room to spare for the file system's own blocks.
qint64 espacoDoDiario(qint64 tamanho, int pagina)
{
    const qint64 paginas = (tamanho + pagina - 1) / pagina;
    return paginas * (pagina + 8) + 64 * 1024;
}

// The room a file written whole anew beside the account takes.
qint64 espacoDoArquivoNovo(qint64 tamanho) { return tamanho + 64 * 1024; }

// The file a name reaches: a link's target, or the name itself.
QString alvoDe(const QString& path)
{
    const QString real = QFileInfo(path).canonicalFilePath();
    return real.isEmpty() ? path : real;
}

// Whether a file keyed with `atual` changes its key in place: keyed as the
// program keys its files now. One of the older scheme is written anew.
bool recifraNoLugar(const data::Keying& atual)
{
    return !atual.key.isEmpty() && atual.sameScheme(data::Keying());
}

// The file's key changed in place, and its Senha record with it, in one
// transaction of the engine: a crash leaves the journal that gives the file
// back whole with its former key. Every write another program committed
// before the lock is in it; a connection another program opened before
// reads nothing afterwards ("not a database"), so it cannot write into it
// unseen.
void recifrar(data::Connection& db, const data::Keying& chave, const QString& senha,
              const std::function<void(data::PassoRegravar)>& avisar)
{
    using data::PassoRegravar;
    const data::Keying antiga = db.keying();
    const QString path = db.path();
    // Every page goes into the journal first. Checked before the lock: a
    // descriptor of the file closed while the engine holds its lock would
    // let the lock go.
    const QString alvo = alvoDe(path);
    const qint64 espaco = espacoDoDiario(QFileInfo(alvo).size(), antiga.pageSize);
    conferirGravavel(alvo, espaco);
    // Opens the connection again with a keying, still holding the account;
    // true when the file opens with it and its record holds `registro`.
    auto reabrir = [&](const data::Keying& keying, const QString& registro) {
        platform::FileLock trava = db.takeHold();
        bool abriu = false;
        try {
            db.open(path, keying);
            abriu = registro.isNull() || data::readSenha(db).senha == registro;
        } catch (const DbError&) {
        }
        db.hold(std::move(trava));
        return abriu;
    };
    bool recifrando = false;
    try {
        data::Transaction t(db);
        avisar(PassoRegravar::Travada);
        data::updateSenha(db, senha);
        avisar(PassoRegravar::SenhaGravada);
        recifrando = true;
        db.rekey(chave.key);
        // The write lock still held: the engine left its commit undone (a
        // reader kept the file past the wait, or the disk refused); the
        // transaction is rolled back.
        if (db.holdsWriteLock())
            throw naoGravada(DbCause::Busy);
        t.commit();
    } catch (const DbError&) {
        if (!recifrando)
            throw;
        reabrir(antiga, QString());
        // The engine tells no cause for what it gave up; the file's state
        // may.
        conferirGravavel(alvo, espaco);
        throw;
    } catch (...) {
        if (recifrando)
            reabrir(antiga, QString());
        throw;
    }
    // Committed or given up by the engine: the file tells which.
    if (!reabrir(chave, senha)) {
        reabrir(antiga, QString());
        conferirGravavel(alvo, espaco);
        throw naoGravada(DbCause::Other);
    }
    try {
        avisar(PassoRegravar::Recifrada);
    } catch (const DbError&) {
        // The change is done.
    }
}

// The former file, renamed away but still open in another program that
// opened it before, loses its first 1024 bytes (the salt of its key or the
// format's name, and the change counter that tells that program its cached
// pages are stale): that program's next read or write fails instead of going
// into a file that is no longer the account, and the former key reads
// nothing of it. Done while the write lock is held, through the lock's
// descriptor, so it is that very file; the descriptor opened for it drops
// the engine's locks on it when closed, which the rollback right after
// would do anyway.
void inutilizarAntigo(data::Connection& db, const struct stat& antes)
{
    const int trava = db.heldFd();
    struct stat agora {};
    if (trava < 0 || ::fstat(trava, &agora) != 0 || agora.st_dev != antes.st_dev || agora.st_ino != antes.st_ino)
        return;
    const QByteArray caminho = "/proc/self/fd/" + QByteArray::number(trava);
    const int fd = ::open(caminho.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    const char zeros[data::CipherSettings::legacyPageSize] = {};
    if (::pwrite(fd, zeros, sizeof zeros, 0) == ssize_t(sizeof zeros))
        ::fdatasync(fd);
    ::close(fd);
}

// A file of an earlier format (another page size, no encryption) written
// whole beside the file it replaces, synced and renamed over it, all under
// the file's write lock, so that no write of another program is left out
// and none slips in between. A link is followed: the new file replaces its
// target and the link stays.
void regravar(data::Connection& db, const QString& localPath, const data::Keying& chave, const QString& senha,
              const std::function<void(data::PassoRegravar)>& avisar)
{
    using data::PassoRegravar;
    const QString alvo = alvoDe(localPath);
    const QString temp = alvo + QStringLiteral(".novo");
    struct stat info {};
    if (::stat(QFile::encodeName(alvo).constData(), &info) == 0 && info.st_nlink > 1)
        throw DbError(QStringLiteral("O arquivo da conta tem mais de um nome no disco; ele não foi gravado "
                                     "de novo, para que nenhum dos nomes fique com a chave anterior."));
    // Before the lock, as for a change in place.
    conferirGravavel(alvo, espacoDoArquivoNovo(QFileInfo(alvo).size()));
    platform::FileLock trava;
    {
        data::Transaction t(db);
        avisar(PassoRegravar::Travada);
        // What a run that ended midway left here is of no use, and no other
        // copy writes it: this one holds the account.
        for (const QString& resto : {temp, temp + QStringLiteral("-journal")})
            QFile::remove(resto);
        const int fd = platform::createPrivateFile(temp);
        if (fd < 0)
            throw naoGravada(data::causeOfSystemError(errno));
        if (trava.adopt(fd) != platform::FileLock::Result::Locked)
            throw naoGravada(DbCause::Other);
        try {
            avisar(PassoRegravar::Criada);
            {
                // Read by a connection of its own: this one keeps the write
                // lock, which a reader does not wait for.
                data::Connection leitura;
                leitura.open(alvo, db.keying());
                leitura.exportTo(temp, chave);
            }
            avisar(PassoRegravar::Exportada);
            {
                // Opening it proves the new key before it replaces anything.
                data::Connection nova;
                nova.open(temp, chave);
                data::updateSenha(nova, senha);
            }
            avisar(PassoRegravar::SenhaGravada);
            if (!platform::syncFile(trava.fd()))
                throw naoGravada(data::causeOfSystemError(errno));
            avisar(PassoRegravar::Sincronizada);
            if (!platform::replaceFile(temp, alvo))
                throw naoGravada(data::causeOfSystemError(errno));
        } catch (...) {
            QFile::remove(temp);
            throw;
        }
        inutilizarAntigo(db, info);
    }
    // From here the new file is the account; the connection follows it,
    // and the hold moves with it (this copy has held both files all along).
    bool reaberta = false;
    try {
        avisar(PassoRegravar::Renomeada);
        db.open(localPath, chave);
        db.hold(std::move(trava));
        reaberta = true;
        avisar(PassoRegravar::Reaberta);
    } catch (const DbError&) {
        if (!reaberta) {
            db.open(localPath, chave);
            db.hold(std::move(trava));
        }
    }
}
} // namespace

qint64 data::rewriteRoom(const Connection& db, const QString& localPath)
{
    const qint64 tamanho = QFileInfo(alvoDe(localPath)).size();
    const Keying& atual = db.keying();
    return recifraNoLugar(atual) ? espacoDoDiario(tamanho, atual.pageSize) : espacoDoArquivoNovo(tamanho);
}

void data::rewriteAccount(Connection& db, const QString& localPath, const QString& senha,
                         const std::function<void(PassoRegravar)>& passo)
{
    const Keying chave(senha.toUtf8());
    auto avisar = [&](PassoRegravar p) {
        if (passo)
            passo(p);
    };
    if (recifraNoLugar(db.keying()))
        recifrar(db, chave, senha, avisar);
    else
        regravar(db, localPath, chave, senha, avisar);
}

void changeAccountPassword(const QString& nova)
{
    data::rewriteAccount(ConexaoBanco, caminhoLocalBanco(), nova);
    ChaveBanco = nova.toUtf8();
}

QString CaptionAtivo(const QString& title)
{
    return platform::bancoAtivoCaption(title, DriveBanco, NomeBanco);
}

QString caminhoLocalBanco() { return platform::Drives::toLocal(CaminhoBanco); }
