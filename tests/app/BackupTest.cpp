#include "AppFixture.h"

#include "app/Backup.h"
#include "app/frmSenha.h"
#include "data/Conexao.h"
#include "data/Senha.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <chrono>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace testsupport;

class BackupTest : public AppFixture {
protected:
    // The account "Casa" open, with its last copy made on a given day.
    void abrir(const QString& nome, const QDate& ultimaCopia, const QString& drive = QStringLiteral("C"))
    {
        createAccount(nome, QStringLiteral("1234"), drive);
        login(nome, drive);
        data::updateBackup(ConexaoBanco, ultimaCopia);
        data::updateUltimoAcesso(ConexaoBanco, QDate(2020, 1, 1));
    }

    void copiaAntiga(const QString& nome)
    {
        QFile f(QDir(bancoFolder()).filePath(nome));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("antiga");
    }

    QStringList arquivosC() const
    {
        return QDir(bancoFolder()).entryList(QDir::Files, QDir::Name);
    }

    data::SenhaRecord registro(const QString& nome, const QString& drive = QStringLiteral("C"))
    {
        return registroDe(QDir(bancoFolder(drive)).filePath(nome + QStringLiteral(".mdb")));
    }

    static data::SenhaRecord registroDe(const QString& path)
    {
        data::Connection db;
        openAccountFile(db, path, "1234");
        return data::readSenha(db);
    }

    static void backup() { frmPrincipal().Backup(); }

    // The passwords among candidatas that open a file, and the password its
    // login record holds when one does (a file of the older scheme opens
    // with the password its record holds).
    static QStringList abrem(const QString& path, const QStringList& candidatas = {"1234", "nova1"})
    {
        QStringList out;
        for (const QString& senha : candidatas) {
            try {
                data::Connection db;
                const bool chave = openAccountFile(db, path, senha.toUtf8()) == data::FormaConta::Senha;
                const QString registro = data::readSenha(db).senha;
                if (chave || registro == senha)
                    out << senha + QStringLiteral(" (") + registro + QLatin1Char(')');
            } catch (const data::DbError&) {
            }
        }
        return out;
    }
    QString emC(const QString& nome) const { return QDir(bancoFolder()).filePath(nome); }
};

TEST_F(BackupTest, CopyIsMadeFromTheTenthDayOnly)
{
    struct Caso {
        int diasAtras;
        bool copia;
    } casos[] = {{9, false}, {10, true}, {0, false}, {400, true},
                 // A date later than today (stored by a use with the clock
                 // ahead) is due: kept, it would stop the copies until then.
                 {-5, true}, {-730, true}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.diasAtras);
        for (const QString& f : arquivosC())
            QFile::remove(QDir(bancoFolder()).filePath(f));
        abrir(QStringLiteral("Casa"), today.addDays(-c.diasAtras));
        backup();
        EXPECT_EQ(arquivosC().contains(QStringLiteral("Casa Backup 15-03-2024.mdb")), c.copia);
        const data::SenhaRecord r = registro(QStringLiteral("Casa"));
        EXPECT_EQ(r.ultimoAcesso, today);
        EXPECT_EQ(r.backup, c.copia ? today : today.addDays(-c.diasAtras));
        // The account is not opened again after the copy: its key is
        // derived once on the way out.
        EXPECT_FALSE(ConexaoBanco.isOpen());
    }
}

TEST_F(BackupTest, CopyIsTheAccountFileAndTheOnlyCopyOfThatAccount)
{
    abrir(QStringLiteral("Casa"), today.addDays(-10));
    createAccount(QStringLiteral("Casa Nova"));
    copiaAntiga(QStringLiteral("Casa Backup 01-01-2024.mdb"));
    copiaAntiga(QStringLiteral("casa backup 02-01-2024.MDB"));
    copiaAntiga(QStringLiteral("Casa Backup 15-03-2024.mdb"));
    copiaAntiga(QStringLiteral("Casa Nova Backup 01-01-2024.mdb"));
    copiaAntiga(QStringLiteral("Casa Backup.txt"));

    backup();
    // "casa backup 02-01-2024.MDB" stays: the login lists it as an account
    // of its own, and an account is never deleted as a copy.
    EXPECT_EQ(arquivosC(), (QStringList{QStringLiteral("Casa Backup 15-03-2024.mdb"), QStringLiteral("Casa Backup.txt"),
                                        QStringLiteral("Casa Nova Backup 01-01-2024.mdb"),
                                        QStringLiteral("Casa Nova.mdb"), QStringLiteral("Casa.mdb"),
                                        QStringLiteral("casa backup 02-01-2024.MDB")}));

    // The copy is a whole account file: it opens and holds the last use.
    data::Connection db;
    openAccountFile(db, QDir(bancoFolder()).filePath(QStringLiteral("Casa Backup 15-03-2024.mdb")), "1234");
    EXPECT_EQ(data::readSenha(db).ultimoAcesso, today);
    EXPECT_EQ(data::readSenha(db).senha, QStringLiteral("1234"));
}

TEST_F(BackupTest, AccountOnDriveDIsCopiedToDriveC)
{
    bancoFolder(QStringLiteral("C"));
    abrir(QStringLiteral("Viagem"), today.addDays(-30), QStringLiteral("D"));
    backup();
    EXPECT_EQ(arquivosC(), QStringList{QStringLiteral("Viagem Backup 15-03-2024.mdb")});
    EXPECT_EQ(QDir(bancoFolder(QStringLiteral("D"))).entryList(QDir::Files), QStringList{QStringLiteral("Viagem.mdb")});
    EXPECT_EQ(registro(QStringLiteral("Viagem"), QStringLiteral("D")).backup, today);
}

TEST_F(BackupTest, FailedCopyKeepsOlderCopiesAndTheDate)
{
    // No folder "C:\Banco\": the copy cannot be made.
    abrir(QStringLiteral("Viagem"), today.addDays(-30), QStringLiteral("D"));
    backup();
    EXPECT_FALSE(QDir(QDir(dir.path()).filePath(QStringLiteral("C/Banco"))).exists() &&
                 !QDir(QDir(dir.path()).filePath(QStringLiteral("C/Banco"))).isEmpty());
    EXPECT_EQ(registro(QStringLiteral("Viagem"), QStringLiteral("D")).backup, today.addDays(-30));
    EXPECT_EQ(registro(QStringLiteral("Viagem"), QStringLiteral("D")).ultimoAcesso, today);
    EXPECT_FALSE(ConexaoBanco.isOpen());
}

TEST_F(BackupTest, FailedCopyOnDriveCLeavesTheOldCopyInPlace)
{
    abrir(QStringLiteral("Casa"), today.addDays(-30));
    copiaAntiga(QStringLiteral("Casa Backup 01-01-2024.mdb"));
    // A folder where today's copy should go: the copy cannot take its name.
    ASSERT_TRUE(QDir(bancoFolder()).mkdir(QStringLiteral("Casa Backup 15-03-2024.mdb")));
    backup();
    EXPECT_EQ(arquivosC(), (QStringList{QStringLiteral("Casa Backup 01-01-2024.mdb"), QStringLiteral("Casa.mdb")}));
    EXPECT_EQ(registro(QStringLiteral("Casa")).backup, today.addDays(-30));
    EXPECT_EQ(registro(QStringLiteral("Casa")).ultimoAcesso, today);
    // Nothing half-written is left beside the copies.
    EXPECT_EQ(QDir(bancoFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 3);
}

TEST_F(BackupTest, CopyNeverGoesThroughALinkAndIsTheUsersAlone)
{
    const QString pasta = bancoFolder();
    const QString nome = QDir(pasta).filePath(QStringLiteral("Casa Backup 15-03-2024.mdb"));
    const QString alvo = QDir(dir.path()).filePath(QStringLiteral("alvo.txt"));
    struct Caso {
        const char* nome;
        std::function<void()> preparar;
        bool copia;
    } casos[] = {
        {"link", [&] { QFile::link(alvo, nome); }, false},
        {"link sem alvo", [&] { QFile::link(alvo + QStringLiteral(".nada"), nome); }, false},
        {"pasta", [&] { QDir().mkpath(nome); }, false},
        {"arquivo", [&] { copiaAntiga(QStringLiteral("Casa Backup 15-03-2024.mdb")); }, true},
    };
    const mode_t antes = ::umask(022);
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ConexaoBanco.close();
        QDir(pasta).removeRecursively();
        QFile::remove(alvo);
        {
            QFile f(alvo);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("alvo");
        }
        abrir(QStringLiteral("Casa"), today.addDays(-30));
        c.preparar();
        backup();
        QFile f(alvo);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray("alvo"));
        EXPECT_EQ(registro(QStringLiteral("Casa")).backup, c.copia ? today : today.addDays(-30));
        EXPECT_EQ(QFileInfo(nome).isSymLink(), QByteArray(c.nome).startsWith("link"));
        if (c.copia) {
            EXPECT_EQ(modoDe(nome), 0600);
            EXPECT_EQ(registroDe(nome).senha, QStringLiteral("1234"));
        }
        EXPECT_EQ(QDir(pasta).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("criando")), QStringList());
    }
    ::umask(antes);
}

TEST_F(BackupTest, ColumnWithoutADateCountsAsVeryOld)
{
    abrir(QStringLiteral("Casa"), QDate());
    backup();
    EXPECT_TRUE(arquivosC().contains(QStringLiteral("Casa Backup 15-03-2024.mdb")));
    EXPECT_EQ(registro(QStringLiteral("Casa")).backup, today);
}

// Leaving an account whose file refuses the last access: the cause is named
// (never as a file that could not be opened) and the copy, which only
// reads, is still made when due; a file that cannot even be read is named
// and not copied.
TEST_F(BackupTest, LeavingAFileThatRefusesNamesTheCauseAndStillCopiesWhatItCanRead)
{
    data::Connection::setBusyWait(std::chrono::milliseconds(100));
    data::Connection outro;
    const QString arquivo = QDir(bancoFolder()).filePath(QStringLiteral("Casa.mdb"));
    struct Caso {
        const char* nome;
        std::function<void()> causa;
        QString mensagem;
        bool copia;
    } casos[] = {
        {"another program holds the file past the wait",
         [&] {
             openAccountFile(outro, arquivo, ChaveBanco);
             outro.exec(QStringLiteral("BEGIN IMMEDIATE"));
         },
         QStringLiteral("O último acesso não foi gravado. A cópia de segurança foi feita.\r"
                        "O banco de dados está em uso por outro programa; nada foi gravado.\r"
                        "Aguarde o outro programa terminar e tente novamente."),
         true},
        {"a read-only account",
         [&] {
             if (tornarSomenteLeitura(arquivo))
                 login(QStringLiteral("Casa"));
             else
                 ConexaoBanco.exec(QStringLiteral("PRAGMA query_only = 1"));
         },
         QStringLiteral("O último acesso não foi gravado. A cópia de segurança foi feita.\r"
                        "O banco de dados está somente para leitura; nada pode ser gravado nele.\r"
                        "Ele pode ser consultado e o programa pode ser encerrado normalmente."),
         true},
        {"a file that lost its login table", [] { ConexaoBanco.exec(QStringLiteral("DROP TABLE Senha")); },
         QStringLiteral("O último acesso não foi gravado. A cópia de segurança não foi feita.\r"
                        "O banco de dados não concluiu a operação; nada foi gravado.\r"
                        "no such table: Senha"),
         false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        for (const QString& f : arquivosC())
            QFile::remove(QDir(bancoFolder()).filePath(f));
        msgs.clear();
        abrir(QStringLiteral("Casa"), today.addDays(-30));
        c.causa();
        backup();
        ASSERT_EQ(msgs.calls.size(), 1u);
        EXPECT_TRUE(msgs.last().text.startsWith(c.mensagem)) << msgs.last().text.toStdString();
        EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
        EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
        EXPECT_EQ(arquivosC().contains(QStringLiteral("Casa Backup 15-03-2024.mdb")), c.copia);
        outro.close();
        tornarGravaveis();
        ConexaoBanco.close();
        if (c.copia) {
            EXPECT_EQ(registro(QStringLiteral("Casa")).ultimoAcesso, QDate(2020, 1, 1));
        }
    }
    data::Connection::setBusyWait(data::Connection::kDefaultBusyWait);
}

TEST_F(BackupTest, SecondExitOnTheSameDayMakesNoCopy)
{
    abrir(QStringLiteral("Casa"), today.addDays(-20));
    backup();
    login(QStringLiteral("Casa"));
    const QString copia = QDir(bancoFolder()).filePath(QStringLiteral("Casa Backup 15-03-2024.mdb"));
    const QDateTime feita = QFileInfo(copia).lastModified();
    backup();
    EXPECT_EQ(arquivosC(), (QStringList{QStringLiteral("Casa Backup 15-03-2024.mdb"), QStringLiteral("Casa.mdb")}));
    EXPECT_EQ(QFileInfo(copia).lastModified(), feita);
    EXPECT_FALSE(ConexaoBanco.isOpen());
}

TEST_F(BackupTest, VerificaExistenteDeletesOnlyThatAccountsCopies)
{
    createAccount(QStringLiteral("Casa"));
    login(QStringLiteral("Casa"));
    for (const char* nome : {"Casa Backup 01-01-2024.mdb", "CASA Backup 03-01-2024.Mdb", "Casa Backup.mdb",
                             "Casa Nova Backup 01-01-2024.mdb", "Casa Backupx.txt", "Minha Casa Backup 01.mdb",
                             // What copies cut short left, hidden.
                             ".Casa Backup 02-01-2024.mdb.criando", ".Casa Nova Backup 02-01-2024.mdb.criando"})
        copiaAntiga(QString::fromUtf8(nome));
    // Accounts the login lists ("Backup" in another case) are never copies.
    createAccount(QStringLiteral("casa backup"));
    createAccount(QStringLiteral("CASA BACKUP 03-01-2024"));
    frmPrincipal w;
    w.VerificaExistente();
    EXPECT_EQ(arquivosC(), (QStringList{QStringLiteral("CASA BACKUP 03-01-2024.mdb"), QStringLiteral("Casa Backupx.txt"),
                                        QStringLiteral("Casa Nova Backup 01-01-2024.mdb"), QStringLiteral("Casa.mdb"),
                                        QStringLiteral("Minha Casa Backup 01.mdb"), QStringLiteral("casa backup.mdb")}));
    EXPECT_EQ(QDir(bancoFolder()).entryList({QStringLiteral(".*.criando")}, QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral(".Casa Nova Backup 02-01-2024.mdb.criando")});
}

// A sync tool renamed another account over the one the program holds, or
// deleted it: on leaving, no copy is made of that other file under this
// account's name, no older copy goes, what the program held (an entry the
// user was told is stored) is written beside the account with the same
// password, and the user is told where.
TEST_F(BackupTest, LeavingAfterTheAccountWasReplacedKeepsWhatItHeldAndTheCopies)
{
    for (const bool apagada : {false, true}) {
        SCOPED_TRACE(apagada ? "deleted" : "replaced");
        for (const QString& f : arquivosC())
            QFile::remove(emC(f));
        abrir(QStringLiteral("Casa"), today.addDays(-30));
        ASSERT_TRUE(QFile::copy(emC(QStringLiteral("Casa.mdb")), emC(QStringLiteral("Casa Backup 01-01-2024.mdb"))));
        data::Statement(ConexaoBanco, QStringLiteral("INSERT INTO Lancamentos (DataVen, Referente, Valor) VALUES (?, ?, ?)"),
                        QStringLiteral("2024-03-15"), QStringLiteral("Padaria"), -4550)
            .exec();
        ASSERT_TRUE(QFile::remove(emC(QStringLiteral("Casa.mdb"))));
        if (!apagada) {
            createAccount(QStringLiteral("Outra"), QStringLiteral("9999"));
            ASSERT_TRUE(QFile::rename(emC(QStringLiteral("Outra.mdb")), emC(QStringLiteral("Casa.mdb"))));
        }
        msgs.clear();
        backup();
        ASSERT_EQ(msgs.calls.size(), 1u);
        EXPECT_EQ(msgs.last().text,
                  QStringLiteral("O arquivo da conta ''C:\\Banco\\Casa.mdb'' foi substituído, movido ou apagado enquanto o "
                                 "programa estava aberto: a cópia de segurança não foi feita, e as cópias anteriores foram "
                                 "mantidas.\rO último acesso não foi gravado.\rO que a conta guardava neste programa foi "
                                 "gravado em ''C:\\Banco\\Casa (conflito 15-03-2024).mdb'', com a mesma senha."));
        EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
        QStringList esperados{QStringLiteral("Casa (conflito 15-03-2024).mdb"), QStringLiteral("Casa Backup 01-01-2024.mdb")};
        if (!apagada)
            esperados << QStringLiteral("Casa.mdb");
        EXPECT_EQ(arquivosC(), esperados);
        EXPECT_EQ(abrem(emC(QStringLiteral("Casa Backup 01-01-2024.mdb")), {"1234", "9999"}), QStringList{"1234 (1234)"});
        if (!apagada) {
            EXPECT_EQ(abrem(emC(QStringLiteral("Casa.mdb")), {"1234", "9999"}), QStringList{"9999 (9999)"});
        }
        const QString conflito = emC(QStringLiteral("Casa (conflito 15-03-2024).mdb"));
        EXPECT_EQ(abrem(conflito, {"1234", "9999"}), QStringList{"1234 (1234)"});
        data::Connection db;
        openAccountFile(db, conflito, "1234");
        EXPECT_EQ(data::scalar(db, QStringLiteral("SELECT Referente FROM Lancamentos")).toString(), QStringLiteral("Padaria"));
        EXPECT_EQ(modoDe(conflito), 0600);
        EXPECT_FALSE(ConexaoBanco.isOpen());
    }
}

// The copy made on leaving, and any other copy that opens with the former
// password, is keyed with the new one when the password changes; a file
// that is no account is left alone. A change the account refuses leaves
// every copy as it was, and nothing beside them.
TEST_F(BackupTest, APasswordChangeKeysEveryCopyWithTheNewPasswordOrNone)
{
    abrir(QStringLiteral("Casa"), today.addDays(-30));
    backup();
    const QString hoje = emC(QStringLiteral("Casa Backup 15-03-2024.mdb"));
    const QString outra = emC(QStringLiteral("Casa Backup 01-03-2024.mdb"));
    ASSERT_TRUE(QFile::copy(hoje, outra));
    copiaAntiga(QStringLiteral("Casa Backup 02-03-2024.mdb"));
    // Every other name a copy can have: a link to a file elsewhere, a file
    // with a second name elsewhere, a copy under the older scheme (the
    // fixed key, 1 KiB pages).
    const QString fora = QDir(dir.path()).filePath(QStringLiteral("fora"));
    QDir().mkpath(fora);
    const QString alvo = QDir(fora).filePath(QStringLiteral("alvo.mdb"));
    const QString outroNome = QDir(fora).filePath(QStringLiteral("outro nome.mdb"));
    const QString velha = emC(QStringLiteral("Casa Backup 05-03-2024.mdb"));
    ASSERT_TRUE(QFile::copy(hoje, alvo));
    ASSERT_TRUE(QFile::link(alvo, emC(QStringLiteral("Casa Backup 03-03-2024.mdb"))));
    ASSERT_TRUE(QFile::copy(hoje, emC(QStringLiteral("Casa Backup 04-03-2024.mdb"))));
    ASSERT_EQ(::link(QFile::encodeName(emC(QStringLiteral("Casa Backup 04-03-2024.mdb"))).constData(),
                     QFile::encodeName(outroNome).constData()),
              0);
    ASSERT_TRUE(QFile::copy(hoje, velha));
    regravarComo(velha, data::Keying(data::kSenhaBancoDados, data::CipherSettings::legacyPageSize,
                                     data::CipherSettings::legacyKdfIterations));
    const QStringList nomes = {emC(QStringLiteral("Casa.mdb")), hoje, outra, alvo, outroNome, velha};
    login(QStringLiteral("Casa"));

    data::Connection::setBusyWait(std::chrono::milliseconds(100));
    {
        data::Connection outro;
        openAccountFile(outro, emC(QStringLiteral("Casa.mdb")), "1234");
        outro.exec(QStringLiteral("BEGIN IMMEDIATE"));
        EXPECT_THROW(app::alterarSenha(QStringLiteral("nova1")), data::DbError);
    }
    data::Connection::setBusyWait(data::Connection::kDefaultBusyWait);
    for (const QString& f : nomes)
        EXPECT_EQ(abrem(f), QStringList{"1234 (1234)"}) << f.toStdString();
    const QStringList antes = QDir(bancoFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);

    QStringList passos;
    EXPECT_EQ(app::alterarSenha(QStringLiteral("nova1"), [&](const QString& p) { passos << p; }), QStringList());
    EXPECT_EQ(passos, (QStringList{"Regravando a cópia 1 de 5…", "Regravando a cópia 2 de 5…", "Regravando a cópia 3 de 5…",
                                   "Regravando a cópia 4 de 5…", "Regravando a cópia 5 de 5…", "Regravando a conta…",
                                   "Substituindo as cópias…"}));
    for (const QString& f : nomes)
        EXPECT_EQ(abrem(f), QStringList{"nova1 (nova1)"}) << f.toStdString();
    EXPECT_EQ(QFileInfo(emC(QStringLiteral("Casa Backup 03-03-2024.mdb"))).symLinkTarget(), alvo);
    EXPECT_EQ(QDir(bancoFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name), antes);
    QFile junk(emC(QStringLiteral("Casa Backup 02-03-2024.mdb")));
    ASSERT_TRUE(junk.open(QIODevice::ReadOnly));
    EXPECT_EQ(junk.readAll(), QByteArray("antiga"));
    EXPECT_EQ(modoDe(hoje), 0600);
}

// A password change stopped after the copies were written hidden beside
// them, before (the account on the former password) or after the account
// was keyed (the copies not yet replaced): the next login, or the next
// change, finishes or undoes it, so that every copy opens with the
// account's password alone and no hidden file is left.
TEST_F(BackupTest, AChangeCutShortIsFinishedOrUndoneAtTheNextLoginOrChange)
{
    struct Caso {
        const char* conta;
        bool contaTrocada;
        bool porTroca;  // the next step is another change, not a login
        const char* abre;
    } casos[] = {
        {"Um", true, false, "nova1 (nova1)"},
        {"Dois", false, false, "1234 (1234)"},
        {"Tres", true, true, "terc1 (terc1)"},
        {"Quatro", false, true, "terc1 (terc1)"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.conta);
        const QString nome = QString::fromUtf8(c.conta);
        const QString conta = createAccount(nome);
        login(nome);
        QStringList copias;
        for (const char* dia : {" Backup 01-03-2024.mdb", " Backup 02-03-2024.mdb"}) {
            copias << emC(nome + QString::fromUtf8(dia));
            ASSERT_TRUE(QFile::copy(conta, copias.last()));
            const QString oculta = emC(QLatin1Char('.') + nome + QString::fromUtf8(dia) + QStringLiteral(".senha"));
            data::Connection velha;
            openAccountFile(velha, copias.last(), "1234");
            QFile(oculta).open(QIODevice::WriteOnly);
            velha.exportTo(oculta, data::Keying("nova1"));
            data::Connection nova;
            nova.open(oculta, data::Keying("nova1"));
            data::updateSenha(nova, QStringLiteral("nova1"));
        }
        QString atual = QStringLiteral("1234");
        if (c.contaTrocada) {
            changeAccountPassword(QStringLiteral("nova1"));
            atual = QStringLiteral("nova1");
        }
        if (c.porTroca) {
            EXPECT_EQ(app::alterarSenha(QStringLiteral("terc1")), QStringList());
        } else {
            ConexaoBanco.close();
            ModalHook vez;
            vez.on<frmSenha>([&](frmSenha& f) {
                f.lstBancos->setCurrentItem(f.lstBancos->findItems(nome, Qt::MatchExactly).value(0));
                entrar(f, atual);
            });
            platform::Forms::show<frmSenha>();
            EXPECT_TRUE(SenhaAceita);
        }
        ConexaoBanco.close();
        for (const QString& f : QStringList{conta} + copias)
            EXPECT_EQ(abrem(f, {"1234", "nova1", "terc1"}), QStringList{QString::fromUtf8(c.abre)}) << f.toStdString();
        for (const QString& f : QDir(bancoFolder()).entryList(QDir::Files | QDir::Hidden))
            EXPECT_FALSE(f.startsWith(QLatin1Char('.'))) << f.toStdString();
    }
}
