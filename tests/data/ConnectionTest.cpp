#include "data/AccountFile.h"
#include "data/Collation.h"
#include "data/Conexao.h"
#include "data/Lancamentos.h"
#include "data/Like.h"
#include "data/Senha.h"
#include "support/Fixtures.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <QFile>
#include <QProcess>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <sqlcipher/sqlite3.h>

using testsupport::DrivesFixture;

namespace {

class AccountFileTest : public DrivesFixture {};

QStringList columnsOf(data::Connection& db, const QString& table)
{
    QStringList out;
    data::Statement s(db, QStringLiteral("SELECT * FROM \"%1\" LIMIT 0").arg(table));
    for (int i = 0; i < s.columnCount(); ++i)
        out << s.columnName(i);
    return out;
}

// A plain SQLite open that does not know the key must not read a thing.
bool plainOpenCanRead(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const int rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc == SQLITE_OK;
}

TEST_F(AccountFileTest, NewAccountIsEncryptedAndOpensWithTheKey)
{
    const QString path = createAccount(QStringLiteral("Casa"));
    EXPECT_FALSE(plainOpenCanRead(path));
    login(QStringLiteral("Casa"));
    EXPECT_TRUE(ConexaoBanco.isOpen());
    const auto senha = data::readSenha(ConexaoBanco);
    EXPECT_TRUE(senha.found);
    EXPECT_EQ(senha.senha, QStringLiteral("1234"));
    EXPECT_EQ(senha.backup, today);
    EXPECT_EQ(senha.ultimoAcesso, today);
}

TEST_F(AccountFileTest, TablesKeepTheColumnOrderThatReadersRelyOn)
{
    createAccount(QStringLiteral("Casa"));
    login(QStringLiteral("Casa"));
    const QStringList lanc = columnsOf(ConexaoBanco, QStringLiteral("Lancamentos"));
    ASSERT_GE(lanc.size(), 7);
    EXPECT_EQ(lanc.mid(0, 5), (QStringList{"NumLan", "DataVen", "Referente", "Valor", "DataLan"}));
    EXPECT_EQ(lanc[6], QStringLiteral("Despesa"));
    EXPECT_TRUE(lanc.contains("Tipo") && lanc.contains("Filtro") && lanc.contains("Conta"));
    EXPECT_EQ(columnsOf(ConexaoBanco, QStringLiteral("Despesas")).mid(0, 2), (QStringList{"Codigo", "Despesa"}));
    const QStringList anot = columnsOf(ConexaoBanco, QStringLiteral("Anotacoes"));
    EXPECT_EQ(anot[0], QStringLiteral("Codigo"));
    EXPECT_EQ(anot[1], QStringLiteral("Titulo"));
    EXPECT_EQ(anot[2], QStringLiteral("Texto"));
    EXPECT_EQ(anot[4], QStringLiteral("DataLemb"));
    EXPECT_EQ(anot[5], QStringLiteral("Lembrar"));
    EXPECT_TRUE(columnsOf(ConexaoBanco, QStringLiteral("Orcamento")).contains(QStringLiteral("Total Ano")));
}

TEST_F(AccountFileTest, NewAccountHoldsTheFixedContent)
{
    createAccount(QStringLiteral("Casa"));
    login(QStringLiteral("Casa"));
    for (int code : {1000, 2000, 3000, 10000, 10001})
        EXPECT_TRUE(data::scalar(ConexaoBanco, QStringLiteral("SELECT ID FROM Orcamento WHERE Despesa = ?"), code).isValid())
            << code;
    auto tipoEGrupo = [](const QString& nome) {
        data::Statement s(ConexaoBanco, QStringLiteral("SELECT Tipo, Conta FROM Despesas WHERE Despesa = ?"), nome);
        return s.next() ? s.text(0) + QLatin1Char('|') + s.text(1) : QString();
    };
    EXPECT_EQ(tipoEGrupo(QStringLiteral("Saída Não Classificada")), QStringLiteral("2|Outras Saídas"));
    EXPECT_EQ(tipoEGrupo(QStringLiteral("Entrada Não Classificada")), QStringLiteral("1|Outras Entradas"));
    for (int code : {94, 95})
        EXPECT_TRUE(data::scalar(ConexaoBanco, QStringLiteral("SELECT Despesa FROM Despesas WHERE Codigo = ?"), code).isValid());
    // Every classification's group belongs to its own side.
    data::Statement s(ConexaoBanco, QStringLiteral("SELECT Tipo, Conta FROM Despesas"));
    const QStringList saidas = {"Alimentação", "Transporte", "Saúde", "Moradia", "Educação",
                                "Bancos / Financiamentos", "Comunicação", "Gastos Pessoais", "Lazer",
                                "Seguros", "Impostos / Taxas / Contribuições", "Investimentos", "Outras Saídas"};
    const QStringList entradas = {"Patrimoniais", "Trabalho", "Outras Entradas"};
    while (s.next())
        EXPECT_TRUE((s.text(0) == "2" ? saidas : entradas).contains(s.text(1))) << s.text(1).toStdString();
}

TEST_F(AccountFileTest, CreatorRefusesExistingFilesBadNamesAndPasswords)
{
    createAccount(QStringLiteral("Casa"));
    EXPECT_THROW(createAccount(QStringLiteral("Casa")), data::DbError);
    EXPECT_FALSE(data::checkNewAccount(QStringLiteral("a/b"), QStringLiteral("1234")).isEmpty());
    EXPECT_FALSE(data::checkNewAccount(QStringLiteral("Casa"), QStringLiteral("123")).isEmpty());
    EXPECT_FALSE(data::checkNewAccount(QStringLiteral("Casa"), QStringLiteral("123456789")).isEmpty());
    EXPECT_TRUE(data::checkNewAccount(QStringLiteral("Casa"), QStringLiteral("12345678")).isEmpty());
    // Names the login takes for backup copies and never lists.
    for (const char* copia : {"Casa Backup", "Cópia de Casa", "Copia"})
        EXPECT_FALSE(data::checkNewAccount(QString::fromUtf8(copia), QStringLiteral("1234")).isEmpty()) << copia;
    EXPECT_TRUE(data::checkNewAccount(QStringLiteral("casa backup"), QStringLiteral("1234")).isEmpty());
}

// The passwords among the given ones that open a file as the login does:
// the file opens with it and its Senha record holds it.
QStringList senhasQueAbrem(const QString& path, const QStringList& candidatas)
{
    QStringList out;
    for (const QString& senha : candidatas) {
        try {
            data::Connection db;
            openAccountFile(db, path, senha.toUtf8());
            if (data::readSenha(db).senha == senha)
                out << senha;
        } catch (const data::DbError&) {
        }
    }
    return out;
}

// A password change (the file encrypted again in place), and the
// conversion of a file of an earlier version (written beside it and renamed
// over it), each interrupted by a fault at every step: the file as a crash
// at that moment leaves it, and the file after the failure, open with
// exactly one of the two passwords, and the connection goes on with that
// one.
TEST_F(AccountFileTest, RewriteInterruptedAtEveryStepLeavesExactlyOnePassword)
{
    using data::PassoRegravar;
    struct Caso {
        const char* nome;
        bool antiga;
        const char* nova;
        std::vector<PassoRegravar> passos;
        PassoRegravar feito;  // from this step on the change stands
    } casos[] = {{"troca de senha", false, "nova1",
                  {PassoRegravar::Travada, PassoRegravar::SenhaGravada, PassoRegravar::Recifrada},
                  PassoRegravar::Recifrada},
                 {"conversão", true, "abcd",
                  {PassoRegravar::Travada, PassoRegravar::Criada, PassoRegravar::Exportada,
                   PassoRegravar::SenhaGravada, PassoRegravar::Sincronizada, PassoRegravar::Renomeada,
                   PassoRegravar::Reaberta},
                  PassoRegravar::Renomeada}};
    const QString path = QDir(bancoFolder()).filePath(QStringLiteral("Casa.mdb"));
    const QString retrato = path + QStringLiteral(".retrato");
    for (const Caso& c : casos) {
        const QString nova = QString::fromLatin1(c.nova);
        const QStringList candidatas =
            c.antiga ? QStringList{nova} : QStringList{QStringLiteral("abcd"), nova};
        for (const PassoRegravar passo : c.passos) {
            SCOPED_TRACE(std::string(c.nome) + " " + std::to_string(int(passo)));
            ConexaoBanco.close();
            QFile::remove(path);
            QFile::remove(retrato);
            createAccount(QStringLiteral("Casa"), QStringLiteral("abcd"));
            if (c.antiga)
                regravarComo(path, data::Keying(data::kSenhaBancoDados, 4096,
                                                data::CipherSettings::legacyKdfIterations));
            login(QStringLiteral("Casa"));
            const bool depois = passo >= c.feito;
            try {
                data::rewriteAccount(ConexaoBanco, path, nova, [&](PassoRegravar p) {
                    if (p == passo) {
                        QFile::copy(path, retrato);
                        throw data::DbError(QStringLiteral("falha"));
                    }
                });
                EXPECT_TRUE(depois);
            } catch (const data::DbError&) {
                EXPECT_FALSE(depois);
            }
            const QString vale = depois ? nova : QStringLiteral("abcd");
            EXPECT_EQ(senhasQueAbrem(retrato, candidatas), QStringList{vale});
            EXPECT_EQ(senhasQueAbrem(path, candidatas), QStringList{vale});
            EXPECT_EQ(data::readSenha(ConexaoBanco).senha, vale);
            // The account stays held by this copy, on whichever file.
            platform::FileLock outra;
            EXPECT_EQ(outra.lock(path), platform::FileLock::Result::InUse);
            EXPECT_FALSE(QFile::exists(path + QStringLiteral(".novo")));
            if (depois || !c.antiga) {
                EXPECT_EQ(modoDe(path), 0600);
            }
            if (c.antiga) {
                data::Connection db;
                EXPECT_EQ(openAccountFile(db, path, "abcd"),
                          depois ? data::FormaConta::Senha : data::FormaConta::ChaveAntiga);
            }
        }
    }
    // Closing the connection lets another copy take the account.
    ConexaoBanco.close();
    platform::FileLock outra;
    EXPECT_EQ(outra.lock(path), platform::FileLock::Result::Locked);
}

// Another program holds a write transaction (a note inserted, not yet
// committed) while the account is rewritten: committed within the wait, its
// note is in the rewritten account; held past it, the rewrite is refused as
// busy, nothing changes and its commit stands. A reader that keeps its read
// past the wait makes the rewrite's last step busy: refused, the file and
// the connection as they were. Either way the file opens with exactly one
// password, for a password change and for a conversion.
TEST_F(AccountFileTest, RewriteAgainstAnotherWriterKeepsItsCommitOrIsRefused)
{
    using namespace std::chrono_literals;
    struct Caso {
        const char* nome;
        bool antiga;
        const char* nova;
        std::chrono::milliseconds soltaEm;
        bool recusada;
        bool leitor = false;  // the other program only reads
    } casos[] = {
        {"troca de senha, solta a tempo", false, "nova1", 150ms, false},
        {"troca de senha, presa além da espera", false, "nova1", 900ms, true},
        {"troca de senha, leitura além da espera", false, "nova1", 1500ms, true, true},
        {"conversão, solta a tempo", true, "abcd", 150ms, false},
        {"conversão, presa além da espera", true, "abcd", 900ms, true},
    };
    const QString path = QDir(bancoFolder()).filePath(QStringLiteral("Casa.mdb"));
    data::Connection::setBusyWait(500ms);
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ConexaoBanco.close();
        QFile::remove(path);
        createAccount(QStringLiteral("Casa"), QStringLiteral("abcd"));
        const data::Keying chaveAntiga(data::kSenhaBancoDados, 4096, data::CipherSettings::legacyKdfIterations);
        if (c.antiga)
            regravarComo(path, chaveAntiga);
        login(QStringLiteral("Casa"));
        data::Connection outro;
        outro.open(path, c.antiga ? chaveAntiga : data::Keying("abcd"));
        if (c.leitor) {
            outro.exec(QStringLiteral("BEGIN"));
            data::scalar(outro, QStringLiteral("SELECT count(*) FROM Anotacoes"));
        } else {
            outro.exec(QStringLiteral("BEGIN IMMEDIATE"));
            outro.exec(QStringLiteral("INSERT INTO Anotacoes (Titulo) VALUES ('do outro programa')"));
        }
        std::thread soltar([&] {
            std::this_thread::sleep_for(c.soltaEm);
            outro.exec(QStringLiteral("COMMIT"));
        });
        const QString nova = QString::fromLatin1(c.nova);
        try {
            data::rewriteAccount(ConexaoBanco, path, nova);
            EXPECT_FALSE(c.recusada);
        } catch (const data::DbError& e) {
            EXPECT_TRUE(c.recusada) << e.what();
            EXPECT_EQ(e.cause(), data::DbCause::Busy);
        }
        soltar.join();
        const QString vale = c.recusada ? QStringLiteral("abcd") : nova;
        const QStringList candidatas =
            c.antiga ? QStringList{nova} : QStringList{QStringLiteral("abcd"), nova};
        EXPECT_EQ(senhasQueAbrem(path, candidatas), QStringList{vale});
        EXPECT_EQ(data::readSenha(ConexaoBanco).senha, vale);
        EXPECT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT count(*) FROM Anotacoes")).toInt(), c.leitor ? 0 : 1);
        data::updateBackup(ConexaoBanco, today);
        if (c.antiga) {
            data::Connection db;
            EXPECT_EQ(openAccountFile(db, path, "abcd"),
                      c.recusada ? data::FormaConta::ChaveAntiga : data::FormaConta::Senha);
        }
        if (!c.recusada) {
            // A connection opened before the change reads nothing after it
            // and writes nothing: the file it has open is no longer keyed as
            // it knows, or no longer readable at all.
            EXPECT_THROW(data::scalar(outro, QStringLiteral("SELECT count(*) FROM Anotacoes")), data::DbError);
            EXPECT_THROW(outro.exec(QStringLiteral("INSERT INTO Anotacoes (Titulo) VALUES ('perdida')")),
                         data::DbError);
            EXPECT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT count(*) FROM Anotacoes")).toInt(), 1);
        }
    }
    data::Connection::setBusyWait(data::Connection::kDefaultBusyWait);
}

// An account that is a link to a file elsewhere, converted at login and
// then given a new password: the link stays a link to the same file, which
// holds the account, and the former keys open nothing in either folder.
TEST_F(AccountFileTest, ALinkedAccountIsRewrittenAtItsTarget)
{
    const QString fora = QDir(dir.path()).filePath(QStringLiteral("fora"));
    QDir().mkpath(fora);
    const QString alvo = QDir(fora).filePath(QStringLiteral("Casa.mdb"));
    const QString link = QDir(bancoFolder()).filePath(QStringLiteral("Casa.mdb"));
    data::createAccountFile(alvo, QStringLiteral("abcd"), today);
    senhas[alvo] = QStringLiteral("abcd");
    senhas[link] = QStringLiteral("abcd");
    regravarComo(alvo, data::Keying(data::kSenhaBancoDados, 1024, data::CipherSettings::legacyKdfIterations));
    ASSERT_TRUE(QFile::link(alvo, link));
    login(QStringLiteral("Casa"));
    data::rewriteAccount(ConexaoBanco, caminhoLocalBanco(), QStringLiteral("abcd"));
    ChaveBanco = "abcd";
    changeAccountPassword(QStringLiteral("nova1"));
    EXPECT_EQ(data::readSenha(ConexaoBanco).senha, QStringLiteral("nova1"));
    ConexaoBanco.close();

    EXPECT_EQ(QFileInfo(link).symLinkTarget(), alvo);
    EXPECT_EQ(QDir(fora).entryList(QDir::Files), QStringList{QStringLiteral("Casa.mdb")});
    EXPECT_EQ(QDir(bancoFolder()).entryList(QDir::Files | QDir::System), QStringList{QStringLiteral("Casa.mdb")});
    for (const QString& arquivo : {alvo, link}) {
        EXPECT_EQ(senhasQueAbrem(arquivo, {QStringLiteral("abcd"), QStringLiteral("nova1")}),
                  QStringList{QStringLiteral("nova1")});
        data::Connection db;
        EXPECT_THROW(openAccountFile(db, arquivo, "abcd"), data::SenhaRecusada);
    }
}

TEST_F(AccountFileTest, CreatorMakesTheFolderAndFileTheUsersAloneWhateverTheUmask)
{
    // The creator keys as the program does, with the full count.
    data::setPasswordKdfIterationsForTests(data::CipherSettings::kdfIterations);
    const mode_t antes = ::umask(022);
    QProcess criador;
    criador.start(QStringLiteral(VORSAL_CREATOR), {QStringLiteral("C"), QStringLiteral("Casa")});
    criador.write("abcd\n");
    criador.closeWriteChannel();
    ASSERT_TRUE(criador.waitForFinished(60000));
    ::umask(antes);
    EXPECT_EQ(criador.exitCode(), 0) << criador.readAllStandardError().toStdString();
    const QString path = QDir(bancoFolder()).filePath(QStringLiteral("Casa.mdb"));
    EXPECT_EQ(modoDe(bancoFolder()), 0700);
    EXPECT_EQ(modoDe(path), 0600);
    // The password came from standard input, and nothing else opens it.
    EXPECT_EQ(senhasQueAbrem(path, {QStringLiteral("abcd"), QString::fromLatin1(data::kSenhaBancoDados)}),
              QStringList{QStringLiteral("abcd")});
    EXPECT_FALSE(plainOpenCanRead(path));
}

// The creator as a user meets it: on a terminal (a pseudo-terminal here),
// from a pipe, asked for its usage, or given the password the old way.
TEST_F(AccountFileTest, CreatorSaysWhatHappenedAndAsksAgainOnATerminal)
{
    struct Caso {
        const char* nome;
        QStringList args;
        bool terminal;
        const char* entrada;
        int saida;
        const char* diz;  // on the terminal, standard output or error
        const char* naoDiz;
        bool cria;
    };
    const Caso casos[] = {
        {"duas vezes diferentes", {"C", "Casa"}, true, "abcd\nabce\nabcd\nabcf\n", 1,
         "As senhas não conferem. Digite outra vez.", "Nenhuma senha foi dada.", false},
        {"certa na segunda vez", {"C", "Casa"}, true, "abcd\nabce\nabcd\nabcd\n", 0,
         "As senhas não conferem. Digite outra vez.", "Nenhuma senha foi dada.", true},
        {"ajuda", {"--help"}, false, "", 0, "Uso: vorsal-nova-conta DRIVE NOME", "", false},
        {"senha como argumento", {"C", "Casa", "abcd"}, false, "abcd\n", 1, "Uso: vorsal-nova-conta DRIVE NOME", "",
         false},
        {"entrada vazia", {"C", "Casa"}, false, "", 1, "Nenhuma senha foi dada.", "", false},
        // Refused before the confirmation, and asked again.
        {"senha curta, depois certa", {"C", "Casa"}, true, "abc\nabcd\nabcd\n", 0,
         "A senha deve ter de 4 a 8 caracteres. Digite outra vez.", "As senhas não conferem", true},
        // Refused before any password is asked.
        {"conta que já existe", {"C", "OUTRA"}, true, "", 1, "A conta \"OUTRA\" já existe", "Senha:", false},
        {"nome que a entrada não lista", {"C", ".Casa"}, false, "abcd\n", 1,
         "O nome da conta não pode começar com ponto", ".Casa.mdb", false},
    };
    QFile outra(QDir(bancoFolder()).filePath(QStringLiteral("Outra.mdb")));
    ASSERT_TRUE(QDir().mkpath(bancoFolder()) && outra.open(QIODevice::WriteOnly));
    outra.close();
    const QString path = QDir(bancoFolder()).filePath(QStringLiteral("Casa.mdb"));
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        QFile::remove(path);
        QByteArray dito;
        int saida = -1;
        if (c.terminal) {
            int mestre = -1;
            const QByteArray programa(VORSAL_CREATOR);
            std::vector<QByteArray> args{programa};
            for (const QString& a : c.args)
                args.push_back(a.toLocal8Bit());
            std::vector<char*> argv;
            for (QByteArray& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            const pid_t filho = ::forkpty(&mestre, nullptr, nullptr, nullptr);
            ASSERT_GE(filho, 0);
            if (filho == 0) {
                ::execv(argv[0], argv.data());
                ::_exit(127);
            }
            // A line at a time, each once the prompt for it is out.
            for (const QByteArray& linha : QByteArray(c.entrada).split('\n')) {
                if (linha.isEmpty())
                    continue;
                for (;;) {
                    char buffer[256];
                    const ssize_t n = ::read(mestre, buffer, sizeof buffer);
                    if (n <= 0)
                        break;
                    dito.append(buffer, n);
                    if (dito.endsWith(": "))
                        break;
                }
                ASSERT_EQ(::write(mestre, linha.constData(), size_t(linha.size())), linha.size());
                ASSERT_EQ(::write(mestre, "\n", 1), 1);
            }
            char buffer[256];
            for (ssize_t n; (n = ::read(mestre, buffer, sizeof buffer)) > 0;)
                dito.append(buffer, n);
            int status = 0;
            ::waitpid(filho, &status, 0);
            ::close(mestre);
            saida = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        } else {
            QProcess criador;
            criador.start(QStringLiteral(VORSAL_CREATOR), c.args);
            criador.write(c.entrada);
            criador.closeWriteChannel();
            ASSERT_TRUE(criador.waitForFinished(60000));
            dito = criador.readAllStandardOutput() + criador.readAllStandardError();
            saida = criador.exitCode();
        }
        const QString texto = QString::fromUtf8(dito);
        EXPECT_EQ(saida, c.saida) << texto.toStdString();
        EXPECT_TRUE(texto.contains(QString::fromUtf8(c.diz))) << texto.toStdString();
        if (*c.naoDiz) {
            EXPECT_FALSE(texto.contains(QString::fromUtf8(c.naoDiz))) << texto.toStdString();
        }
        EXPECT_EQ(QFile::exists(path), c.cria);
    }
}

TEST_F(AccountFileTest, UnencryptedAccountFileOpensThroughTheSecondAttempt)
{
    const QString path = QDir(bancoFolder()).filePath(QStringLiteral("Aberta.mdb"));
    {
        data::Connection db;
        db.open(path, QByteArray(), true);
        db.exec(QStringLiteral("CREATE TABLE Senha (Senha TEXT, UltimoAcesso TEXT, Backup TEXT, Drive TEXT);"
                               "INSERT INTO Senha VALUES ('abcd', '2024-01-01', '2024-01-01', 'C');"));
    }
    login(QStringLiteral("Aberta"));
    EXPECT_EQ(data::readSenha(ConexaoBanco).senha, QStringLiteral("abcd"));
}

TEST_F(AccountFileTest, FileWithTheFormerPageSizeStillOpens)
{
    const QString path = QDir(bancoFolder()).filePath(QStringLiteral("Antiga.mdb"));
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
              SQLITE_OK);
    const QByteArray key(data::kSenhaBancoDados);
    sqlite3_key(raw, key.constData(), key.size());
    EXPECT_EQ(sqlite3_exec(raw,
                           "PRAGMA cipher_page_size = 1024; PRAGMA kdf_iter = 64000;"
                           "CREATE TABLE Senha (Senha TEXT, UltimoAcesso TEXT, Backup TEXT, Drive TEXT);"
                           "INSERT INTO Senha VALUES ('abcd', '2024-01-01', '2024-01-01', 'C');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
    EXPECT_FALSE(plainOpenCanRead(path));
    login(QStringLiteral("Antiga"));
    EXPECT_EQ(data::readSenha(ConexaoBanco).senha, QStringLiteral("abcd"));
    // A change written through the program keeps the file readable.
    data::updateBackup(ConexaoBanco, QDate(2024, 5, 6));
    ConexaoBanco.close();
    login(QStringLiteral("Antiga"));
    EXPECT_EQ(data::readSenha(ConexaoBanco).backup, QDate(2024, 5, 6));
}

TEST_F(AccountFileTest, FilesThatAreNoAccountFailWithAnErrorNamingThem)
{
    const QString garbage = QDir(bancoFolder()).filePath(QStringLiteral("Lixo.mdb"));
    QFile f(garbage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    for (const QString& nome : {QStringLiteral("Lixo"), QStringLiteral("Inexistente")}) {
        try {
            login(nome);
            ADD_FAILURE() << "opened " << nome.toStdString();
        } catch (const data::DbError& e) {
            EXPECT_TRUE(e.message().contains(nome + QStringLiteral(".mdb"))) << e.what();
        }
        EXPECT_FALSE(ConexaoBanco.isOpen());
    }
    // Nothing was written into the damaged file, and no file was created.
    EXPECT_EQ(QFileInfo(garbage).size(), 4096);
    EXPECT_FALSE(QFileInfo::exists(QDir(bancoFolder()).filePath(QStringLiteral("Inexistente.mdb"))));
}

// A file made elsewhere with the right key and the program's tables, and
// triggers and a view of its own: none of it runs on the program's writes
// or reads, none can be added, and the login's check names each.
TEST_F(AccountFileTest, ASchemasTriggersAndViewsNeverRunAndAreNamed)
{
    const QString path = createAccount(QStringLiteral("Casa"));
    {
        data::Connection db;
        openAccountFile(db, path, "1234");
        testsupport::permitirGatilhos(db);
        db.exec(QStringLiteral(
            "CREATE TABLE Escondida (Valor INTEGER);"
            "CREATE TRIGGER copia AFTER INSERT ON Lancamentos BEGIN INSERT INTO Escondida VALUES (NEW.Valor);"
            " UPDATE Lancamentos SET Valor = Valor * 10; END;"
            "CREATE TRIGGER senha AFTER UPDATE ON Senha BEGIN UPDATE Lancamentos SET Referente = 'trocado'; END;"
            "CREATE VIEW Visao AS SELECT * FROM Lancamentos;"));
    }
    data::Connection db;
    openAccountFile(db, path, "1234");
    data::Lancamento l;
    l.dataVen = QDate(2024, 3, 20);
    l.referente = QStringLiteral("Padaria");
    l.tipo = data::kTipoSaida;
    l.valor = -4550;
    data::addLancamentos(db, {l});
    data::updateUltimoAcesso(db, QDate(2024, 3, 21));
    EXPECT_EQ(data::scalar(db, QStringLiteral("SELECT Valor || ' ' || Referente FROM Lancamentos")).toString(),
              QStringLiteral("-4550 Padaria"));
    EXPECT_EQ(data::scalar(db, QStringLiteral("SELECT COUNT(*) FROM Escondida")).toLongLong(), 0);
    EXPECT_THROW(data::scalar(db, QStringLiteral("SELECT COUNT(*) FROM Visao")), data::DbError);
    EXPECT_THROW(db.exec(QStringLiteral("CREATE TEMP TRIGGER t AFTER INSERT ON Lancamentos BEGIN SELECT 1; END")),
                 data::DbError);
    try {
        data::checkAccountTables(db);
        ADD_FAILURE() << "accepted";
    } catch (const data::EsquemaAlheio& e) {
        EXPECT_TRUE(e.message().contains(
            QStringLiteral("(tabela \"Escondida\", gatilho \"copia\", gatilho \"senha\", visão \"Visao\")")))
            << e.what();
    }
}

// The journal of a password change holds every page of the file, with 8
// bytes more each: a disk with room for a second file and 64 KiB, but not
// for that journal, refuses the change before it starts, naming the full
// disk, and the file keeps its password.
TEST_F(AccountFileTest, APasswordChangeAsksForTheRoomItsJournalTakes)
{
    const QString pasta = QDir(dir.path()).filePath(QStringLiteral("D"));
    QDir().mkpath(pasta);
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                   QStringLiteral("size=256m"), QStringLiteral("tmpfs"), pasta}) != 0)
        GTEST_SKIP() << "no memory file system can be mounted here";
    struct Desmontar {
        QString pasta;
        ~Desmontar()
        {
            ConexaoBanco.close();
            QProcess::execute(QStringLiteral("umount"), {pasta});
        }
    } desmontar{pasta};
    const QString path = createAccount(QStringLiteral("Casa"), QStringLiteral("abcd"), QStringLiteral("D"));
    login(QStringLiteral("Casa"), QStringLiteral("D"));
    // 64 MB: 16 000 pages, whose page headers in the journal take 125 KiB.
    ConexaoBanco.exec(QStringLiteral("INSERT INTO Anotacoes (Titulo, Texto) VALUES ('grande', randomblob(64000000))"));
    const qint64 tamanho = QFileInfo(path).size();
    const qint64 paginas = tamanho / data::CipherSettings::pageSize;
    const qint64 livre = tamanho + 64 * 1024 + paginas * 8 / 4;
    ASSERT_EQ(QProcess::execute(QStringLiteral("mount"),
                                {QStringLiteral("-o"), QStringLiteral("remount,size=%1").arg(tamanho + livre), pasta}),
              0);
    try {
        data::rewriteAccount(ConexaoBanco, path, QStringLiteral("nova1"));
        ADD_FAILURE() << "changed";
    } catch (const data::DbError& e) {
        EXPECT_EQ(e.cause(), data::DbCause::Full) << e.what();
    }
    EXPECT_EQ(senhasQueAbrem(path, {QStringLiteral("abcd"), QStringLiteral("nova1")}), QStringList{"abcd"});
    EXPECT_EQ(data::readSenha(ConexaoBanco).senha, QStringLiteral("abcd"));
}

TEST_F(AccountFileTest, BoundValuesKeepApostrophesAndPatternCharacters)
{
    createAccount(QStringLiteral("Casa"));
    login(QStringLiteral("Casa"));
    const QString titulo = QStringLiteral("D'Ávila 100% _ok_ '; DROP TABLE Senha; --");
    data::Statement(ConexaoBanco, QStringLiteral("INSERT INTO Anotacoes (Titulo) VALUES (?)"), titulo).exec();
    EXPECT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT Titulo FROM Anotacoes")).toString(), titulo);
    EXPECT_TRUE(data::readSenha(ConexaoBanco).found);
    // A literal search matches the very text and nothing that only looks like it.
    data::Statement(ConexaoBanco, QStringLiteral("INSERT INTO Anotacoes (Titulo) VALUES ('D''Ávila 100x aok_')")).exec();
    data::Statement s(ConexaoBanco, QStringLiteral("SELECT count(*) FROM Anotacoes WHERE Titulo LIKE ? ESCAPE '\\'"),
                      data::likeLiteral(QStringLiteral("d'ávila 100% _OK_")) + QLatin1Char('%'));
    ASSERT_TRUE(s.next());
    EXPECT_EQ(s.integer(0), 1);
}

TEST_F(AccountFileTest, TransactionLeavesNothingWhenInterrupted)
{
    createAccount(QStringLiteral("Casa"));
    login(QStringLiteral("Casa"));
    try {
        data::Transaction t(ConexaoBanco);
        data::Statement(ConexaoBanco, QStringLiteral("INSERT INTO Lancamentos (Referente, Valor) VALUES ('a', 1)")).exec();
        data::Statement(ConexaoBanco, QStringLiteral("INSERT INTO Tabela_Que_Nao_Existe VALUES (1)")).exec();
        t.commit();
    } catch (const data::DbError&) {
    }
    EXPECT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT count(*) FROM Lancamentos")).toInt(), 0);
}

TEST(SqlDate, OnlyDaysThatReadBackAreWritten)
{
    const struct {
        QDate dia;
        const char* texto;  // nullptr: refused
    } casos[] = {
        {QDate(9999, 12, 31), "9999-12-31"},
        {QDate(1, 1, 1), "0001-01-01"},
        {QDate(2024, 2, 29), "2024-02-29"},
        {QDate(), ""},
        {QDate(10000, 1, 30), nullptr},
        {QDate(-1, 12, 31), nullptr},
        {QDate(-5, 6, 1), nullptr},
    };
    for (const auto& c : casos) {
        if (!c.texto) {
            EXPECT_THROW(data::toSqlDate(c.dia), data::DbError) << c.dia.year();
            continue;
        }
        const QString texto = data::toSqlDate(c.dia);
        EXPECT_EQ(texto, QString::fromUtf8(c.texto));
        EXPECT_EQ(data::fromSqlDate(texto), c.dia);
    }
}

// What the user is told when the system refuses a write: a quota spent is a
// full disk to the user, as much as a disk with no room left.
TEST(SystemErrors, EachRefusalIsToldAsTheCauseTheUserCanAct)
{
    const struct {
        int erro;
        data::DbCause causa;
    } casos[] = {
        {ENOSPC, data::DbCause::Full},      {EDQUOT, data::DbCause::Full},   {EROFS, data::DbCause::ReadOnly},
        {EACCES, data::DbCause::ReadOnly},  {EPERM, data::DbCause::ReadOnly}, {ENOENT, data::DbCause::Moved},
        {EIO, data::DbCause::Other},
    };
    for (const auto& c : casos)
        EXPECT_EQ(data::causeOfSystemError(c.erro), c.causa) << c.erro;
    EXPECT_TRUE(data::DbError(QStringLiteral("x"), data::causeOfSystemError(EDQUOT))
                    .userMessage()
                    .startsWith(QStringLiteral("Não há espaço livre no disco")));
}

TEST_F(AccountFileTest, DeletedEntryNumbersAreNeverReused)
{
    createAccount(QStringLiteral("Casa"));
    login(QStringLiteral("Casa"));
    auto add = [] {
        data::Statement(ConexaoBanco, QStringLiteral("INSERT INTO Lancamentos (Referente, Valor) VALUES ('x', 1)")).exec();
        return ConexaoBanco.lastInsertId();
    };
    add();
    const auto second = add();
    data::Statement(ConexaoBanco, QStringLiteral("DELETE FROM Lancamentos WHERE NumLan = ?"), second).exec();
    EXPECT_GT(add(), second);
}

struct LikeCase {
    const char* text;
    const char* pattern;
    bool matches;
};

std::ostream& operator<<(std::ostream& os, const LikeCase& c)
{
    return os << '"' << c.text << "\" like \"" << c.pattern << '"';
}

class LikeTest : public ::testing::TestWithParam<LikeCase> {};

TEST_P(LikeTest, MatchesWithoutRegardToCaseForEveryLetter)
{
    const auto& c = GetParam();
    EXPECT_EQ(data::likeMatch(QString::fromUtf8(c.text), QString::fromUtf8(c.pattern)), c.matches)
        << c.text << " like " << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(Patterns, LikeTest,
                         ::testing::Values(LikeCase{"PREVISÃO aluguel", "%previsão%", true},
                                           LikeCase{"Aluguel previsão", "%PREVISÃO%", true},
                                           LikeCase{"Prev. aluguel", "%previsão%", false},
                                           LikeCase{"Previsao sem acento", "%previsão%", false},
                                           LikeCase{"Saída Não Classificada", "%não%class%", true},
                                           LikeCase{"SAÍDA", "saída", true},
                                           LikeCase{"abc", "a_c", true},
                                           LikeCase{"abbc", "a_c", false},
                                           LikeCase{"", "%", true},
                                           LikeCase{"x", "", false},
                                           LikeCase{"Água e Esgoto", "água%", true}));

TEST(LikeInSql, RegisteredFunctionFoldsAccentedCapitals)
{
    QTemporaryDir dir;
    data::Connection db;
    db.open(dir.filePath(QStringLiteral("t.db")), QByteArray(), true);
    db.exec(QStringLiteral("CREATE TABLE t (x TEXT); INSERT INTO t VALUES ('PREVISÃO DE GÁS'), ('outro');"));
    EXPECT_EQ(data::scalar(db, QStringLiteral("SELECT count(*) FROM t WHERE x LIKE ?"), QStringLiteral("%previsão%gás"))
                  .toInt(),
              1);
    EXPECT_EQ(data::scalar(db, QStringLiteral("SELECT count(*) FROM t WHERE x LIKE ? ESCAPE '\\'"),
                           QStringLiteral("\\%%"))
                  .toInt(),
              0);
    EXPECT_FALSE(data::scalar(db, QStringLiteral("SELECT NULL LIKE 'a'")).isValid());
}

// Dictionary order: letters first, then accents, then case, lower case
// first; the same in SQL and in memory.
TEST(OrderOfTexts, CollationOrdersAsAPortugueseReaderExpects)
{
    const QStringList esperado = {"", "abacate", "Abacate", "ABACATE", "Ábaco", "água", "Agulha",
                                  "b", "C", "ção", "Casa", "Óleo", "ônibus", "zebra"};
    QTemporaryDir dir;
    data::Connection db;
    db.open(dir.filePath(QStringLiteral("t.db")), QByteArray(), true);
    db.exec(QStringLiteral("CREATE TABLE t (x TEXT)"));
    for (qsizetype i = esperado.size(); i-- > 0;)
        data::Statement(db, QStringLiteral("INSERT INTO t VALUES (?)"), esperado[i]).exec();
    QStringList lidos;
    data::Statement s(db, QStringLiteral("SELECT x FROM t ORDER BY x") + data::kCollate);
    while (s.next())
        lidos << s.text(0);
    EXPECT_EQ(lidos, esperado);

    QStringList ordenados = esperado;
    std::reverse(ordenados.begin(), ordenados.end());
    std::stable_sort(ordenados.begin(), ordenados.end(),
                     [](const QString& a, const QString& b) { return data::compareText(a, b) < 0; });
    EXPECT_EQ(ordenados, esperado);
}

} // namespace
