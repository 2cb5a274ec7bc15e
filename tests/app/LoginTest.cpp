#include "AppFixture.h"

#include "data/Conexao.h"
#include "data/Senha.h"
#include "platform/Accessibility.h"
#include "platform/Drives.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>

#include <chrono>
#include <string>
#include <thread>

using namespace testsupport;

namespace {

QStringList listados(const frmSenha& f)
{
    QStringList out;
    for (int i = 0; i < f.lstBancos->count(); ++i)
        out << f.lstBancos->item(i)->text();
    return out;
}

QByteArray lerArquivo(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void escrever(const QString& path, const QByteArray& conteudo)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(conteudo);
}

// Every text the accessibility events of a box carried to the screen
// reader's bridge.
QStringList& ouvidos()
{
    static QStringList textos;
    return textos;
}

QObject*& ouvida()
{
    static QObject* caixa = nullptr;
    return caixa;
}

void ouvir(QAccessibleEvent* e)
{
    if (e->object() != ouvida())
        return;
    switch (e->type()) {
    case QAccessible::TextInserted:
        ouvidos() << static_cast<QAccessibleTextInsertEvent*>(e)->textInserted();
        break;
    case QAccessible::TextRemoved:
        ouvidos() << static_cast<QAccessibleTextRemoveEvent*>(e)->textRemoved();
        break;
    case QAccessible::TextUpdated:
        ouvidos() << static_cast<QAccessibleTextUpdateEvent*>(e)->textRemoved()
                  << static_cast<QAccessibleTextUpdateEvent*>(e)->textInserted();
        break;
    case QAccessible::ValueChanged:
        ouvidos() << static_cast<QAccessibleValueChangeEvent*>(e)->value().toString();
        break;
    case QAccessible::Focus:
        ouvidos() << QStringLiteral("foco");
        break;
    default:
        break;
    }
}

} // namespace

class LoginTest : public AppFixture {
protected:
    // Shows the login dialog and hands it to act while it is open.
    void comDialogo(std::function<void(frmSenha&)> act)
    {
        ModalHook vez;
        vez.on<frmSenha>(std::move(act));
        platform::Forms::show<frmSenha>();
    }
};

TEST_F(LoginTest, AccountListLeavesOutCopiesCaseSensitively)
{
    createAccount(QStringLiteral("Casa"));
    const QString pasta = bancoFolder();
    for (const char* nome : {"Casa Backup 01-02-2024.mdb", "Cópia de Casa.mdb", "Copia Casa.mdb",
                             "casa backup.mdb", "notas.txt"})
        escrever(QDir(pasta).filePath(QString::fromUtf8(nome)), "x");

    comDialogo([](frmSenha& f) {
        EXPECT_EQ(listados(f), (QStringList{QStringLiteral("casa backup"), QStringLiteral("Casa")}));
        EXPECT_EQ(f.lstBancos->currentRow(), 0);
        f.Unload();
    });
    EXPECT_EQ(NomeBanco, QStringLiteral("casa backup"));
    EXPECT_EQ(DriveBanco, QStringLiteral("C:"));
}

TEST_F(LoginTest, CapitalExtensionIsListedWithoutItAndOpensTheRealFile)
{
    const QString real = createAccount(QStringLiteral("Casa"), QStringLiteral("abcd"));
    ASSERT_TRUE(QFile::rename(real, QDir(bancoFolder()).filePath(QStringLiteral("CASA.MDB"))));

    comDialogo([](frmSenha& f) {
        EXPECT_EQ(listados(f), QStringList{QStringLiteral("CASA")});
        entrar(f, QStringLiteral("abcd"));
    });
    EXPECT_TRUE(SenhaAceita);
    EXPECT_EQ(NomeBanco, QStringLiteral("CASA"));
    EXPECT_EQ(CaminhoBanco, QStringLiteral("C:\\Banco\\CASA.MDB"));
    EXPECT_TRUE(ConexaoBanco.isOpen());
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(LoginTest, DriveTxtChoosesTheDriveOnlyWhenItsFirstLineIsALetter)
{
    struct Caso {
        const char* conteudo;
        const char* drive;
    } casos[] = {
        {"D\r\nE\r\nlixo\r\n", "D:"},
        {"d\n", "D:"},
        {"", "C:"},
        {"1\n", "C:"},
        {"DE\n", "C:"},
        {"Ç\n", "C:"},
    };
    createAccount(QStringLiteral("Casa"), QStringLiteral("1234"), QStringLiteral("C"));
    createAccount(QStringLiteral("Outra"), QStringLiteral("1234"), QStringLiteral("D"));
    const QString driveTxt = QDir(bancoFolder()).filePath(QStringLiteral("Drive.txt"));
    for (const Caso& c : casos) {
        escrever(driveTxt, QByteArray(c.conteudo));
        comDialogo([&](frmSenha& f) {
            EXPECT_EQ(DriveBanco, QString::fromLatin1(c.drive)) << c.conteudo;
            EXPECT_EQ(f.txtFiltro->currentText() + QLatin1Char(':'), DriveBanco);
            f.Unload();
        });
    }
    QFile::remove(driveTxt);
    comDialogo([](frmSenha& f) {
        EXPECT_EQ(DriveBanco, QStringLiteral("C:"));
        EXPECT_EQ(NomeBanco, QStringLiteral("Casa"));
        f.Unload();
    });
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(LoginTest, ChoosingADriveListsItsAccountsOrSaysThereAreNone)
{
    createAccount(QStringLiteral("Casa"));
    createAccount(QStringLiteral("Outra"), QStringLiteral("1234"), QStringLiteral("D"));
    comDialogo([this](frmSenha& f) {
        f.txtFiltro->setCurrentText(QStringLiteral("D"));
        EXPECT_EQ(DriveBanco, QStringLiteral("D:"));
        EXPECT_EQ(listados(f), QStringList{QStringLiteral("Outra")});
        EXPECT_EQ(NomeBanco, QStringLiteral("Outra"));
        EXPECT_TRUE(msgs.calls.empty());

        f.txtFiltro->setCurrentText(QStringLiteral("E"));
        EXPECT_EQ(f.lstBancos->count(), 0);
        ASSERT_EQ(msgs.calls.size(), 1u);
        EXPECT_EQ(msgs.last().text, QStringLiteral("Nenhum Banco de Dados encontrado neste Drive!"));
        EXPECT_EQ(msgs.last().icon(), platform::vbExclamation);
        EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));

        // Nothing listed: Enter and the arrows do nothing.
        QTest::keyClicks(f.txtSenha, QStringLiteral("1234"));
        QTest::keyClick(f.txtSenha, Qt::Key_Down);
        QTest::keyClick(f.txtSenha, Qt::Key_Return);
        EXPECT_EQ(f.txtSenha->text(), QStringLiteral("1234"));
        EXPECT_FALSE(SenhaAceita);
        EXPECT_EQ(msgs.calls.size(), 1u);
        f.Unload();
    });
}

TEST_F(LoginTest, EmptyDriveAtLoadIsReportedByTheChoiceAndByTheSecondSearch)
{
    bancoFolder();
    comDialogo([](frmSenha& f) { f.Unload(); });
    ASSERT_EQ(msgs.calls.size(), 2u);
    const QString nenhum = QStringLiteral("Nenhum Banco de Dados encontrado neste Drive!");
    EXPECT_EQ(msgs.calls[0].text, nenhum);
    // The second, and only it, says how to make an account and where it goes.
    const QString pasta =
        QDir::toNativeSeparators(QDir(platform::Drives::folder(QStringLiteral("C"))).filePath(QStringLiteral("Banco")));
    EXPECT_EQ(msgs.calls[1].text, nenhum + QStringLiteral("\n\n") + frmSenha::comoCriarConta(QStringLiteral("C")));
    EXPECT_TRUE(msgs.calls[1].text.contains(QStringLiteral("vorsal-nova-conta C Casa")));
    EXPECT_TRUE(msgs.calls[1].text.contains(QStringLiteral("C:\\Banco\\Casa.mdb, na pasta ") + pasta));
}

TEST_F(LoginTest, LoadSelectsTheFirstAccountAfterSearchingAgain)
{
    createAccount(QStringLiteral("Casa"));
    createAccount(QStringLiteral("Outra"));
    comDialogo([this](frmSenha& f) {
        EXPECT_EQ(listados(f), (QStringList{QStringLiteral("Casa"), QStringLiteral("Outra")}));
        EXPECT_EQ(f.lstBancos->currentRow(), 0);
        EXPECT_EQ(NomeBanco, QStringLiteral("Casa"));
        EXPECT_TRUE(msgs.calls.empty());
        f.Unload();
    });
}

// As the program runs: no handler stands before the password filter, which
// hands each event on by way of Qt's own delivery to the reader's bridge and
// stands in place again after each; it goes with the dialog. The program
// runs on the Qt it was proven on.
TEST_F(LoginTest, ThePasswordFilterStandsAloneAndGoesWithTheDialog)
{
    createAccount(QStringLiteral("Ana"));
    EXPECT_TRUE(platform::readerFilterProven());
    ASSERT_EQ(QAccessible::installUpdateHandler(nullptr), nullptr);
    comDialogo([](frmSenha& f) {
        const QAccessible::UpdateHandler filtro = QAccessible::installUpdateHandler(nullptr);
        QAccessible::installUpdateHandler(filtro);
        ASSERT_TRUE(filtro);
        // Offscreen Qt delivers nothing: the events are handed as Qt hands them.
        QAccessibleTextInsertEvent digitado(f.txtSenha, 0, QStringLiteral("demo"));
        QAccessibleEvent foco(f.lstBancos, QAccessible::Focus);
        QAccessibleEvent outro(f.txtFiltro, QAccessible::Focus);
        for (QAccessibleEvent* e : std::initializer_list<QAccessibleEvent*>{&digitado, &foco, &outro}) {
            filtro(e);
            const QAccessible::UpdateHandler depois = QAccessible::installUpdateHandler(nullptr);
            QAccessible::installUpdateHandler(depois);
            EXPECT_EQ(depois, filtro);
        }
        f.Unload();
    });
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(QAccessible::installUpdateHandler(nullptr), nullptr);
}

// A screen reader hears that a character came, never which: what typing,
// erasing or replacing the password tells it carries marks only, and the
// list, without the keyboard, does not tell it that an account took the
// focus. Offscreen, Qt hands no event on: the events it sends with a screen
// reader running are handed to the handler in place.
TEST_F(LoginTest, APasswordReachesAScreenReaderOnlyAsMarks)
{
    createAccount(QStringLiteral("Ana"));
    createAccount(QStringLiteral("Bia"));
    QAccessible::UpdateHandler antes = QAccessible::installUpdateHandler(ouvir);
    ouvidos().clear();
    comDialogo([](frmSenha& f) {
        QAccessible::UpdateHandler emPosto = QAccessible::installUpdateHandler(nullptr);
        QAccessible::installUpdateHandler(emPosto);
        ASSERT_TRUE(emPosto);
        ouvida() = f.txtSenha;
        QAccessibleTextInsertEvent digitado(f.txtSenha, 0, QStringLiteral("demo"));
        QAccessibleTextRemoveEvent apagado(f.txtSenha, 3, QStringLiteral("o"));
        QAccessibleTextUpdateEvent trocado(f.txtSenha, 0, QStringLiteral("dem"), QStringLiteral("x"));
        QAccessibleValueChangeEvent valor(f.txtSenha, QStringLiteral("x"));
        for (QAccessibleEvent* e : std::initializer_list<QAccessibleEvent*>{&digitado, &apagado, &trocado, &valor})
            emPosto(e);
        EXPECT_EQ(ouvidos(), (QStringList{QStringLiteral("$$$$"), QStringLiteral("$"), QStringLiteral("$$$"),
                                          QStringLiteral("$"), QStringLiteral("$")}));
        // What the reader reads of the box itself.
        f.txtSenha->setText(QStringLiteral("demo"));
        f.txtSenha->selectAll();
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(f.txtSenha);
        ASSERT_TRUE(a && a->textInterface());
        int inicio = 0, fim = 0;
        a->textInterface()->selection(0, &inicio, &fim);
        for (const QString& t : {a->text(QAccessible::Value), a->textInterface()->text(0, 4),
                                 a->textInterface()->text(inicio, fim)})
            EXPECT_FALSE(t.contains(QRegularExpression(QStringLiteral("[demo]")))) << t.toStdString();
        // Other boxes are told as they are.
        QLineEdit aberta;
        ouvida() = &aberta;
        QAccessibleTextInsertEvent outro(&aberta, 0, QStringLiteral("abc"));
        emPosto(&outro);
        EXPECT_EQ(ouvidos().last(), QStringLiteral("abc"));
        // The list's current account changes with the keyboard in the box.
        ouvida() = f.lstBancos;
        ouvidos().clear();
        QAccessibleEvent foco(f.lstBancos, QAccessible::Focus);
        foco.setChild(1);
        emPosto(&foco);
        EXPECT_TRUE(ouvidos().isEmpty());
        ouvida() = nullptr;
        f.Unload();
    });
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QAccessible::installUpdateHandler(antes);
}

TEST_F(LoginTest, ArrowsWrapAroundAndClearThePassword)
{
    for (const char* nome : {"Ana", "Bia", "Caio"})
        createAccount(QString::fromLatin1(nome));
    comDialogo([](frmSenha& f) {
        ASSERT_EQ(listados(f), (QStringList{QStringLiteral("Ana"), QStringLiteral("Bia"), QStringLiteral("Caio")}));
        struct Passo {
            Qt::Key tecla;
            const char* conta;
        } passos[] = {
            {Qt::Key_Up, "Caio"}, {Qt::Key_Down, "Ana"}, {Qt::Key_Down, "Bia"},
            {Qt::Key_Down, "Caio"}, {Qt::Key_Down, "Ana"}, {Qt::Key_Up, "Caio"},
        };
        for (const Passo& p : passos) {
            QTest::keyClicks(f.txtSenha, QStringLiteral("xy"));
            QTest::keyClick(f.txtSenha, p.tecla);
            EXPECT_EQ(f.txtSenha->text(), QString());
            EXPECT_EQ(f.lstBancos->currentItem()->text(), QString::fromLatin1(p.conta));
            EXPECT_EQ(NomeBanco, QString::fromLatin1(p.conta));
            // The account is told where the keys are, and the list, without
            // them, calls none of its items focused.
            auto* aviso = f.findChild<QLabel*>(QStringLiteral("vorsalNotice"));
            ASSERT_TRUE(aviso);
            QAccessibleInterface* dito = QAccessible::queryAccessibleInterface(aviso);
            EXPECT_EQ(dito->role(), QAccessible::Notification);
            EXPECT_EQ(dito->text(QAccessible::Name), QString::fromLatin1(p.conta));
            EXPECT_TRUE(aviso->isVisibleTo(&f));
            QAccessibleInterface* lista = QAccessible::queryAccessibleInterface(f.lstBancos);
            ASSERT_EQ(lista->childCount(), 3);
            EXPECT_EQ(lista->child(f.lstBancos->currentRow())->text(QAccessible::Name), QString::fromLatin1(p.conta));
            for (int i = 0; i < 3; ++i)
                EXPECT_FALSE(lista->child(i)->state().focused) << i;
        }
        f.Unload();
    });
}

TEST_F(LoginTest, WrongPasswordOrCaseKeepsTheDialogOpenForAnotherTry)
{
    createAccount(QStringLiteral("Casa"), QStringLiteral("Segredo"));
    comDialogo([this](frmSenha& f) {
        for (const char* errada : {"segredo", "SEGREDO", "Segredo ", ""}) {
            msgs.clear();
            entrar(f, QString::fromLatin1(errada));
            ASSERT_EQ(msgs.calls.size(), 1u) << errada;
            EXPECT_EQ(msgs.last().text, QStringLiteral("Senha inválida!"));
            EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
            EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
            EXPECT_EQ(f.txtSenha->text(), QString());
            EXPECT_FALSE(SenhaAceita);
            EXPECT_FALSE(ConexaoBanco.isOpen());
            EXPECT_TRUE(f.isVisible());
        }
        msgs.clear();
        entrar(f, QStringLiteral("Segredo"));
    });
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_TRUE(SenhaAceita);
    EXPECT_EQ(SituacaoSenha, QStringLiteral("OK"));
    EXPECT_TRUE(ConexaoBanco.isOpen());
    EXPECT_EQ(CaminhoBanco, QStringLiteral("C:\\Banco\\Casa.mdb"));
    EXPECT_EQ(encerrado, 0);
}

TEST_F(LoginTest, FilesThatCannotBeLoggedIntoAreNamedAndAnotherCanBeChosen)
{
    createAccount(QStringLiteral("Boa"), QStringLiteral("1234"));
    escrever(QDir(bancoFolder()).filePath(QStringLiteral("Estragada.mdb")), QByteArray(4000, 'x'));
    {
        const QString semSenha = createAccount(QStringLiteral("SemSenha"));
        const QString vazia = createAccount(QStringLiteral("Vazia"));
        data::Connection db;
        openAccountFile(db, semSenha, "1234");
        db.exec(QStringLiteral("DELETE FROM Senha"));
        db.close();
        openAccountFile(db, vazia, "1234");
        db.exec(QStringLiteral("UPDATE Senha SET Senha = NULL"));
        db.close();
        // Databases with the right password that are not whole accounts,
        // encrypted or not.
        for (const char* nome : {"SoSenha", "SoSenhaAberta"}) {
            const QString caminho = QDir(bancoFolder()).filePath(QString::fromLatin1(nome) + QStringLiteral(".mdb"));
            db.open(caminho,
                    nome == std::string("SoSenha")
                        ? data::Keying(data::kSenhaBancoDados, 4096, data::CipherSettings::legacyKdfIterations)
                        : data::Keying(),
                    true);
            db.exec(QStringLiteral("CREATE TABLE Senha (Senha TEXT, UltimoAcesso TEXT, Backup TEXT, Drive TEXT);"
                                   "INSERT INTO Senha VALUES ('1234', '2024-03-01', '2024-03-01', 'C');"));
            db.close();
        }
        const QString semColuna = createAccount(QStringLiteral("SemColuna"));
        openAccountFile(db, semColuna, "1234");
        db.exec(QStringLiteral("DROP TABLE PrevistoRealizado; CREATE TABLE PrevistoRealizado (Despesa INTEGER);"));
        db.close();
        // Whole accounts with the right password whose schema would act by
        // itself: triggers on the login record and on the ledger, a view.
        const QString comGatilho = createAccount(QStringLiteral("ComGatilho"));
        openAccountFile(db, comGatilho, "1234");
        permitirGatilhos(db);
        db.exec(QStringLiteral("CREATE TRIGGER dez AFTER UPDATE ON Senha BEGIN UPDATE Lancamentos SET Valor = Valor * 10; END;"
                               "CREATE TRIGGER copia AFTER INSERT ON Lancamentos BEGIN DELETE FROM Despesas; END;"));
        db.close();
        const QString comVisao = createAccount(QStringLiteral("ComVisao"));
        openAccountFile(db, comVisao, "1234");
        permitirGatilhos(db);
        db.exec(QStringLiteral("CREATE VIEW Todos AS SELECT * FROM Lancamentos"));
    }
    comDialogo([this](frmSenha& f) {
        ASSERT_EQ(listados(f), (QStringList{QStringLiteral("Boa"), QStringLiteral("ComGatilho"), QStringLiteral("ComVisao"),
                                            QStringLiteral("Estragada"),
                                            QStringLiteral("SemColuna"), QStringLiteral("SemSenha"),
                                            QStringLiteral("SoSenha"), QStringLiteral("SoSenhaAberta"),
                                            QStringLiteral("Vazia")}));
        for (int linha : {1, 2, 3, 4, 5, 6, 7, 8}) {
            msgs.clear();
            f.lstBancos->setCurrentRow(linha);
            entrar(f, QStringLiteral("1234"));
            ASSERT_EQ(msgs.calls.size(), 1u) << linha;
            EXPECT_TRUE(msgs.last().text.contains(QStringLiteral("C:\\Banco\\") + f.lstBancos->item(linha)->text() +
                                                  QStringLiteral(".mdb")))
                << msgs.last().text.toStdString();
            EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
            EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
            EXPECT_FALSE(SenhaAceita);
            EXPECT_FALSE(ConexaoBanco.isOpen());
            EXPECT_TRUE(f.isVisible());
            if (linha == 1) {
                EXPECT_EQ(msgs.last().text,
                          QStringLiteral("O banco de dados ''C:\\Banco\\ComGatilho.mdb'' não foi aberto: ele contém o que o "
                                         "programa nunca grava (gatilho \"copia\", gatilho \"dez\"), que poderia alterar "
                                         "os dados por conta própria. Nada disso foi executado; abra uma cópia de "
                                         "segurança ou uma conta feita pelo programa."));
            }
        }
        f.lstBancos->setCurrentRow(0);
        entrar(f, QStringLiteral("1234"));
    });
    EXPECT_TRUE(SenhaAceita);
    EXPECT_EQ(NomeBanco, QStringLiteral("Boa"));
    EXPECT_EQ(encerrado, 0);
}

// Every kind of file the login meets: the file keyed with the password,
// those of earlier versions (converted once their stored password is
// typed), a wrong password, files that are plainly no account, and an
// account another copy of the program holds.
TEST_F(LoginTest, LoginOverTheKindsOfFile)
{
    const QByteArray antiga(data::kSenhaBancoDados);
    const int antigas = data::CipherSettings::legacyKdfIterations;
    enum Mensagem { Nenhuma, SenhaInvalida, NomeiaArquivo, OutraJanela };
    struct Caso {
        const char* nome;
        std::function<void(const QString&)> preparar;
        const char* digitada;
        Mensagem mensagem;
    } casos[] = {
        {"senha", [](const QString&) {}, "abcd", Nenhuma},
        {"chave antiga 4096", [&](const QString& p) { regravarComo(p, data::Keying(antiga, 4096, antigas)); }, "abcd",
         Nenhuma},
        {"chave antiga 1024", [&](const QString& p) { regravarComo(p, data::Keying(antiga, 1024, antigas)); }, "abcd",
         Nenhuma},
        {"sem cifra", [&](const QString& p) { regravarComo(p, data::Keying()); }, "abcd", Nenhuma},
        {"senha errada", [](const QString&) {}, "abce", SenhaInvalida},
        {"senha errada, chave antiga", [&](const QString& p) { regravarComo(p, data::Keying(antiga, 4096, antigas)); },
         "abce", SenhaInvalida},
        {"estragado", [](const QString& p) { QFile::resize(p, QFileInfo(p).size() - 100); }, "abcd", NomeiaArquivo},
        {"vazio", [](const QString& p) { QFile::resize(p, 0); }, "abcd", NomeiaArquivo},
        {"aberto em outra janela", [](const QString&) {}, "abcd", OutraJanela},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        const QString path = QDir(bancoFolder()).filePath(QStringLiteral("Casa.mdb"));
        QFile::remove(path);
        createAccount(QStringLiteral("Casa"), QStringLiteral("abcd"));
        c.preparar(path);
        const QByteArray antes = lerArquivo(path);
        platform::FileLock outraCopia;
        if (c.mensagem == OutraJanela) {
            ASSERT_EQ(outraCopia.lock(path), platform::FileLock::Result::Locked);
        }
        msgs.clear();
        comDialogo([&](frmSenha& f) {
            entrar(f, QString::fromLatin1(c.digitada));
            if (c.mensagem == Nenhuma)
                return;
            EXPECT_TRUE(f.isVisible());
            f.Unload();
        });
        EXPECT_EQ(SenhaAceita, c.mensagem == Nenhuma);
        EXPECT_EQ(ConexaoBanco.isOpen(), c.mensagem == Nenhuma);
        const QStringList esperadas[] = {
            {},
            {QStringLiteral("Senha inválida!")},
            {QStringLiteral("Não foi possível abrir o banco de dados ''C:\\Banco\\Casa.mdb''.")},
            {QStringLiteral("O banco de dados ''C:\\Banco\\Casa.mdb'' está aberto em outra janela da Vo$sal.")}};
        QStringList vistas;
        for (const auto& m : msgs.calls)
            vistas << m.text;
        EXPECT_EQ(vistas, esperadas[c.mensagem]);
        if (c.mensagem != Nenhuma) {
            // A refused file is left exactly as it was.
            EXPECT_EQ(lerArquivo(path), antes);
            continue;
        }
        // In use the account is held; the file is keyed with the password
        // now, and only the password opens it.
        platform::FileLock outra;
        EXPECT_EQ(outra.lock(path), platform::FileLock::Result::InUse);
        EXPECT_EQ(data::readSenha(ConexaoBanco).senha, QStringLiteral("abcd"));
        ConexaoBanco.close();
        data::Connection db;
        EXPECT_EQ(openAccountFile(db, path, "abcd"), data::FormaConta::Senha);
        EXPECT_THROW(openAccountFile(db, path, "abce"), data::SenhaRecusada);
        EXPECT_EQ(modoDe(path), 0600);
        EXPECT_EQ(QDir(bancoFolder()).entryList(QDir::Files), QStringList{QStringLiteral("Casa.mdb")});
    }
}

// Another program holds the file exclusively (as it does while it
// commits): the login waits; released within the wait, the right password
// logs in; held past it, the file is said to be in use, never a wrong
// password, and once it is released the same password logs in.
TEST_F(LoginTest, AFileAnotherProgramHoldsIsWaitedForNeverAWrongPassword)
{
    using namespace std::chrono_literals;
    const QString path = createAccount(QStringLiteral("Casa"), QStringLiteral("abcd"));
    data::Connection::setBusyWait(500ms);
    for (const auto soltaEm : {150ms, 900ms}) {
        SCOPED_TRACE(soltaEm.count());
        ConexaoBanco.close();
        data::Connection outro;
        outro.open(path, data::Keying("abcd"));
        outro.exec(QStringLiteral("BEGIN EXCLUSIVE"));
        std::thread soltar([&] {
            std::this_thread::sleep_for(soltaEm);
            outro.exec(QStringLiteral("COMMIT"));
        });
        msgs.clear();
        const bool presa = soltaEm > data::Connection::busyWait();
        comDialogo([&](frmSenha& f) {
            entrar(f, QStringLiteral("abcd"));
            if (!presa)
                return;
            ASSERT_EQ(msgs.calls.size(), 1u);
            EXPECT_EQ(msgs.last().text,
                      QStringLiteral("O banco de dados está em uso por outro programa; nada foi gravado.\r"
                                     "Aguarde o outro programa terminar e tente novamente."));
            EXPECT_FALSE(SenhaAceita);
            EXPECT_TRUE(f.isVisible());
            soltar.join();
            msgs.clear();
            entrar(f, QStringLiteral("abcd"));
        });
        if (soltar.joinable())
            soltar.join();
        EXPECT_TRUE(msgs.calls.empty()) << msgs.lastText().toStdString();
        EXPECT_TRUE(SenhaAceita);
        EXPECT_TRUE(ConexaoBanco.isOpen());
    }
    data::Connection::setBusyWait(data::Connection::kDefaultBusyWait);
}

TEST_F(LoginTest, LeavingWithoutAMatchEndsTheProgram)
{
    createAccount(QStringLiteral("Casa"));
    comDialogo([](frmSenha& f) { QTest::keyClick(f.txtSenha, Qt::Key_Escape); });
    EXPECT_EQ(encerrado, 1);
    EXPECT_FALSE(SenhaAceita);
    EXPECT_EQ(SituacaoSenha, QString());

    comDialogo([](frmSenha& f) {
        entrar(f, QStringLiteral("errada"));
        f.close();
    });
    EXPECT_EQ(encerrado, 2);
    EXPECT_FALSE(ConexaoBanco.isOpen());
}

// The keyboard never rests on the list, where a screen reader would echo
// a password's character as a key pressed on a list: Tab and Shift+Tab go
// round the drive and the password, and a click on the list chooses the
// account with the keys still in the password box, which takes the
// password whole, "b" choosing no other account.
TEST_F(LoginTest, ListKeysSendTheFocusAndTheKeyToThePassword)
{
    createAccount(QStringLiteral("Ana"), QStringLiteral("bb12"));
    createAccount(QStringLiteral("Bia"));
    comDialogo([](frmSenha& f) {
        f.activateWindow();
        QApplication::setActiveWindow(&f);
        const QList<QWidget*> roda{f.txtFiltro, f.txtSenha};
        for (int i = 0; i < 2; ++i) {
            for (const auto mods : {Qt::NoModifier, Qt::ShiftModifier}) {
                roda[i]->setFocus();
                QTest::keyClick(roda[i], Qt::Key_Tab, mods);
                EXPECT_EQ(QApplication::focusWidget(), roda[(i + 1) % 2]) << i;
            }
        }
        f.txtFiltro->setFocus();
        QListWidgetItem* bia = f.lstBancos->item(1);
        QTest::mouseClick(f.lstBancos->viewport(), Qt::LeftButton, {}, f.lstBancos->visualItemRect(bia).center());
        EXPECT_EQ(f.lstBancos->currentItem(), bia);
        EXPECT_TRUE(f.txtSenha->hasFocus());
        QTest::mouseClick(f.lstBancos->viewport(), Qt::LeftButton, {},
                          f.lstBancos->visualItemRect(f.lstBancos->item(0)).center());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("bb12"));
        EXPECT_TRUE(f.txtSenha->hasFocus());
        EXPECT_EQ(f.txtSenha->text(), QStringLiteral("bb12"));
        EXPECT_EQ(f.lstBancos->currentItem()->text(), QStringLiteral("Ana"));
        QTest::keyClick(f.txtSenha, Qt::Key_Return);
        EXPECT_TRUE(SenhaAceita);
    });
    EXPECT_EQ(NomeBanco, QStringLiteral("Ana"));
}

// Files with the password and the program's tables that hold what the
// program never writes, or a page another program overwrote: the login
// names each foreign object (or the damage), runs nothing of the file and
// lets another account be chosen.
TEST_F(LoginTest, OnlyTheProgramsOwnSchemaIsAcceptedAndEachForeignObjectIsNamed)
{
    struct Caso {
        const char* conta;
        const char* sql;
        const char* diz;
    } casos[] = {
        {"Extra", "CREATE TABLE Extra (x INTEGER)", "(tabela \"Extra\")"},
        {"Busca", "CREATE VIRTUAL TABLE Busca USING fts4(Referente)", "tabela virtual \"Busca\""},
        {"Arvore",
         "DROP TABLE Lancamentos; CREATE VIRTUAL TABLE Lancamentos USING rtree(NumLan, DataVen, Valor)",
         "tabela virtual \"Lancamentos\" alterada"},
        {"Expressao", "CREATE INDEX Lancamentos_Dobro ON Lancamentos(Valor * 9223372036854775807)",
         "(índice \"Lancamentos_Dobro\")"},
        {"Parcial", "CREATE INDEX Lancamentos_Parcial ON Lancamentos(Referente) WHERE Valor > 0",
         "(índice \"Lancamentos_Parcial\")"},
        {"Restrita",
         "DROP TABLE Senha; CREATE TABLE Senha (Senha TEXT CHECK (length(Senha) < 9), UltimoAcesso TEXT,"
         " Backup TEXT, Drive TEXT); INSERT INTO Senha VALUES ('1234', '2024-03-01', '2024-03-01', 'C')",
         "(tabela \"Senha\" alterada)"},
        {"Coluna", "DROP TABLE PrevistoRealizado; CREATE TABLE PrevistoRealizado (Despesa INTEGER, Valor TEXT)",
         "(tabela \"PrevistoRealizado\" alterada)"},
        {"Danificada", "", "está danificado"},
    };
    {
        // The due-date index as earlier versions wrote it is the program's.
        data::Connection db;
        openAccountFile(db, createAccount(QStringLiteral("Boa")), "1234");
        db.exec(QStringLiteral("DROP INDEX Lancamentos_DataVen;"
                               "CREATE INDEX Lancamentos_DataVen ON Lancamentos(DataVen)"));
    }
    for (const Caso& c : casos) {
        const QString caminho = createAccount(QString::fromUtf8(c.conta));
        data::Connection db;
        openAccountFile(db, caminho, "1234");
        if (*c.sql) {
            db.exec(QString::fromUtf8(c.sql));
            continue;
        }
        // Enough entries for pages past the schema's; one in the middle
        // overwritten.
        data::Transaction t(db);
        for (int i = 0; i < 3000; ++i)
            data::Statement(db, QStringLiteral("INSERT INTO Lancamentos (DataVen, Referente, Valor) VALUES (?, ?, ?)"),
                            QStringLiteral("2024-03-01"), QString(60, QLatin1Char('x')), i)
                .exec();
        t.commit();
        db.close();
        QFile f(caminho);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const qint64 paginas = f.size() / 4096;
        ASSERT_GT(paginas, 20);
        f.seek((paginas / 2) * 4096);
        f.write(QByteArray(4096, '\x5a'));
    }
    const QString antes = QString::number(QFileInfo(QDir(bancoFolder()).filePath(QStringLiteral("Arvore.mdb"))).size());
    comDialogo([&](frmSenha& f) {
        for (const Caso& c : casos) {
            const QString conta = QString::fromUtf8(c.conta);
            f.lstBancos->setCurrentItem(f.lstBancos->findItems(conta, Qt::MatchExactly).value(0));
            msgs.clear();
            entrar(f, QStringLiteral("1234"));
            ASSERT_EQ(msgs.calls.size(), 1u) << c.conta;
            EXPECT_TRUE(msgs.last().text.startsWith(QStringLiteral("O banco de dados ''C:\\Banco\\") + conta +
                                                    QStringLiteral(".mdb''")))
                << msgs.last().text.toStdString();
            EXPECT_TRUE(msgs.last().text.contains(QString::fromUtf8(c.diz))) << msgs.last().text.toStdString();
            EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
            EXPECT_FALSE(SenhaAceita);
            EXPECT_FALSE(ConexaoBanco.isOpen());
        }
        f.lstBancos->setCurrentItem(f.lstBancos->findItems(QStringLiteral("Boa"), Qt::MatchExactly).value(0));
        entrar(f, QStringLiteral("1234"));
    });
    EXPECT_TRUE(SenhaAceita);
    EXPECT_EQ(NomeBanco, QStringLiteral("Boa"));
    EXPECT_EQ(QString::number(QFileInfo(QDir(bancoFolder()).filePath(QStringLiteral("Arvore.mdb"))).size()), antes);
}
