#include "AppFixture.h"

#include "app/frmZAlteraSenha.h"
#include "data/Conexao.h"
#include "data/Senha.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QProcess>
#include <QToolButton>

#include <chrono>
#include <vector>

using namespace testsupport;

class AlteraSenhaTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        createAccount(QStringLiteral("Casa"), QStringLiteral("Abc1"));
        login(QStringLiteral("Casa"));
    }

    // Opens the dialog and hands it to act while it is open.
    void comDialogo(std::function<void(frmZAlteraSenha&)> act)
    {
        hook.on<frmZAlteraSenha>(std::move(act));
        platform::Forms::show<frmZAlteraSenha>();
    }

    static void digitar(QLineEdit* box, const QString& texto)
    {
        box->clear();
        QTest::keyClicks(box, texto);
    }

    QString senhaGravada() { return data::readSenha(ConexaoBanco).senha; }
};

TEST_F(AlteraSenhaTest, CurrentPasswordMustMatchExactlyBeforeANewOne)
{
    comDialogo([this](frmZAlteraSenha& f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Alteração de Senha - Banco ativo: ''C:\\Casa''"));
        EXPECT_TRUE(f.fraAtual->isEnabled());
        EXPECT_FALSE(f.fraNova->isEnabled());

        f.cmdOK->click();
        ASSERT_EQ(msgs.calls.size(), 1u);
        EXPECT_EQ(msgs.last().text, QStringLiteral("Digite a Senha atual para a alteração."));
        EXPECT_EQ(msgs.last().icon(), platform::vbInformation);
        EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));

        digitar(f.txtSenhaDig, QStringLiteral("abc1"));
        f.cmdOK->click();
        EXPECT_EQ(msgs.last().text, QStringLiteral("A Senha digitada não confere com a Senha atual!"));
        EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
        EXPECT_EQ(f.txtSenhaDig->text(), QStringLiteral("abc1"));
        EXPECT_FALSE(f.fraNova->isEnabled());

        digitar(f.txtSenhaDig, QStringLiteral("Abc1"));
        f.cmdOK->click();
        EXPECT_EQ(msgs.calls.size(), 2u);
        EXPECT_FALSE(f.fraAtual->isEnabled());
        EXPECT_TRUE(f.fraNova->isEnabled());
        EXPECT_EQ(f.txtSenhaDig->text(), QString());
        f.Unload();
    });
    EXPECT_EQ(senhaGravada(), QStringLiteral("Abc1"));
}

TEST_F(AlteraSenhaTest, NewPasswordRules)
{
    struct Caso {
        const char* nova;
        const char* confirmacao;
        const char* mensagem;
        int icone;
    } casos[] = {
        {"abc", "abc", "Digite uma Senha contendo de 4 a 8 caracteres.", platform::vbInformation},
        {"", "", "Digite uma Senha contendo de 4 a 8 caracteres.", platform::vbInformation},
        {"nova1", "NOVA1", "Senha de confirmação não confere com a nova Senha!", platform::vbCritical},
        {"nova1", "nova12", "Senha de confirmação não confere com a nova Senha!", platform::vbCritical},
        {"Abc1", "Abc1", "Essa Senha não pode ser utilizada!", platform::vbExclamation},
    };
    comDialogo([&](frmZAlteraSenha& f) {
        digitar(f.txtSenhaDig, QStringLiteral("Abc1"));
        f.cmdOK->click();
        for (const Caso& c : casos) {
            msgs.clear();
            digitar(f.txtNovaSenha[0], QString::fromLatin1(c.nova));
            digitar(f.txtNovaSenha[1], QString::fromLatin1(c.confirmacao));
            f.cmdAltera->click();
            ASSERT_EQ(msgs.calls.size(), 1u) << c.nova;
            EXPECT_EQ(msgs.last().text, QString::fromUtf8(c.mensagem));
            EXPECT_EQ(msgs.last().icon(), c.icone);
            EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
            EXPECT_EQ(f.txtNovaSenha[0]->text(), QString::fromLatin1(c.nova));
            EXPECT_EQ(senhaGravada(), QStringLiteral("Abc1"));
        }
        f.Unload();
    });
}

TEST_F(AlteraSenhaTest, BoxesTakeEightCharactersAndAFourCharacterPasswordIsStored)
{
    comDialogo([this](frmZAlteraSenha& f) {
        digitar(f.txtSenhaDig, QStringLiteral("Abc1"));
        f.cmdOK->click();
        digitar(f.txtNovaSenha[0], QStringLiteral("123456789"));
        EXPECT_EQ(f.txtNovaSenha[0]->text(), QStringLiteral("12345678"));
        digitar(f.txtNovaSenha[0], QStringLiteral("a b "));
        digitar(f.txtNovaSenha[1], QStringLiteral("a b "));
        msgs.clear();
        f.cmdAltera->click();
        ASSERT_EQ(msgs.calls.size(), 1u);
        EXPECT_EQ(msgs.last().text, QStringLiteral("Senha alterada com sucesso!"));
        EXPECT_EQ(msgs.last().icon(), platform::vbInformation);
        EXPECT_EQ(msgs.last().title, QStringLiteral("Senha Alterada"));
    });
    EXPECT_FALSE(platform::Forms::isLoaded<frmZAlteraSenha>());
    EXPECT_EQ(senhaGravada(), QStringLiteral("a b "));
    // The file is keyed with the new password, which the program opens it
    // with from now on; the old one opens nothing.
    AbrirConexao();
    EXPECT_EQ(senhaGravada(), QStringLiteral("a b "));
    data::Connection db;
    EXPECT_THROW(openAccountFile(db, caminhoLocalBanco(), "Abc1"), data::SenhaRecusada);
}

// A change the file refuses, for each reason: the cause in Portuguese, no
// engine text and no file name of ours; the password and the file's key as
// they were; once the cause is gone, the same change goes through.
TEST_F(AlteraSenhaTest, EachRefusalNamesItsCauseAndASecondTryChanges)
{
    using namespace std::chrono_literals;
    data::Connection::setBusyWait(100ms);
    data::Connection outro;
    // Unmounted however the test ends, before the drives folder goes.
    struct Montagem {
        QStringList pastas;
        ~Montagem()
        {
            ConexaoBanco.close();
            for (const QString& pasta : pastas)
                QProcess::execute(QStringLiteral("umount"), {pasta});
        }
    } montagem;
    QString atual = QStringLiteral("Abc1");
    std::vector<CausaDeRecusa> casos = {
        {"another program holds the file longer than the wait",
         [&] {
             outro.open(caminhoLocalBanco(), data::Keying(ChaveBanco));
             outro.exec(QStringLiteral("BEGIN IMMEDIATE"));
         },
         [&] { outro.close(); }, kRecusaOcupado},
    };
    // A disk with no room for the journal: a small memory file system, where
    // this machine lets the tests mount one.
    const QString pequeno = QDir(dir.path()).filePath(QStringLiteral("D"));
    QDir().mkpath(pequeno);
    const qint64 tamanho = QFileInfo(caminhoLocalBanco()).size();
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                   QStringLiteral("size=%1").arg(tamanho + 16 * 1024), QStringLiteral("tmpfs"),
                                                   pequeno}) == 0) {
        montagem.pastas << pequeno;
        casos.push_back({"disk full",
                         [&] {
                             ConexaoBanco.close();
                             ASSERT_TRUE(QFile::copy(QDir(bancoFolder()).filePath(QStringLiteral("Casa.mdb")),
                                                     QDir(bancoFolder(QStringLiteral("D"))).filePath(QStringLiteral("Casa.mdb"))));
                             senhas[QDir(bancoFolder(QStringLiteral("D"))).filePath(QStringLiteral("Casa.mdb"))] =
                                 atual;
                             login(QStringLiteral("Casa"), QStringLiteral("D"));
                         },
                         [&] {
                             QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,size=8m"),
                                                                         pequeno});
                         },
                         kRecusaSemEspaco});
    }
    if (imutavelFunciona()) {
        casos.push_back({"immutable file", [&] { ASSERT_TRUE(tornarSomenteLeitura(caminhoLocalBanco())); },
                         [&] { tornarGravaveis(); }, kRecusaSomenteLeitura});
    }
    // The copies' folder with room for the account and its copy, not for
    // the copy written again: refused before anything is written.
    const QString copias = QDir(dir.path()).filePath(QStringLiteral("E"));
    QDir().mkpath(copias);
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                   QStringLiteral("size=%1").arg(2 * tamanho + 64 * 1024),
                                                   QStringLiteral("tmpfs"), copias}) == 0) {
        montagem.pastas.prepend(copias);
        casos.push_back({"disk full for the copies",
                         [&] {
                             ConexaoBanco.close();
                             const QString conta = QDir(bancoFolder(QStringLiteral("D"))).filePath(QStringLiteral("Casa.mdb"));
                             const QString origem = QFileInfo::exists(conta)
                                                        ? conta
                                                        : QDir(bancoFolder()).filePath(QStringLiteral("Casa.mdb"));
                             const QString banco = QDir(copias).filePath(QStringLiteral("Banco"));
                             QDir().mkpath(banco);
                             ASSERT_TRUE(QFile::copy(origem, QDir(banco).filePath(QStringLiteral("Casa.mdb"))));
                             ASSERT_TRUE(QFile::copy(origem, QDir(banco).filePath(QStringLiteral("Casa Backup 01-03-2024.mdb"))));
                             // Drive C is the folder on the small disk.
                             ASSERT_TRUE(QDir(dir.path()).rename(QStringLiteral("C"), QStringLiteral("C.antes")));
                             ASSERT_TRUE(QFile::link(copias, QDir(dir.path()).filePath(QStringLiteral("C"))));
                             senhas[QDir(bancoFolder()).filePath(QStringLiteral("Casa.mdb"))] = atual;
                             login(QStringLiteral("Casa"));
                         },
                         [&] {
                             QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,size=8m"),
                                                                         copias});
                         },
                         kRecusaSemEspaco});
    }
    int vez = 0;
    for (const CausaDeRecusa& c : casos) {
        SCOPED_TRACE(c.nome);
        c.causa();
        const QString nova = QStringLiteral("nova%1").arg(++vez);
        ModalHook estaVez;
        estaVez.on<frmZAlteraSenha>([&](frmZAlteraSenha& f) {
            digitar(f.txtSenhaDig, atual);
            f.cmdOK->click();
            digitar(f.txtNovaSenha[0], nova);
            digitar(f.txtNovaSenha[1], nova);
            msgs.clear();
            f.cmdAltera->click();
            ASSERT_EQ(msgs.calls.size(), 1u);
            EXPECT_EQ(msgs.last().text, QStringLiteral("A Senha não foi alterada.\r") + c.mensagem)
                << msgs.last().text.toStdString();
            EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
            EXPECT_TRUE(f.isVisible());
            EXPECT_EQ(senhaGravada(), atual);
            for (const QString& nome : QDir(bancoFolder()).entryList(QDir::Files | QDir::Hidden))
                EXPECT_FALSE(nome.startsWith(QLatin1Char('.'))) << nome.toStdString();

            c.fim();
            msgs.clear();
            f.cmdAltera->click();
            ASSERT_EQ(msgs.calls.size(), 1u);
            EXPECT_EQ(msgs.last().text, QStringLiteral("Senha alterada com sucesso!"));
        });
        platform::Forms::show<frmZAlteraSenha>();
        EXPECT_EQ(senhaGravada(), nova);
        atual = nova;
        data::Connection db;
        EXPECT_THROW(openAccountFile(db, caminhoLocalBanco(), QStringLiteral("Abc1").toUtf8()), data::SenhaRecusada);
    }
    data::Connection::setBusyWait(data::Connection::kDefaultBusyWait);
}

TEST_F(AlteraSenhaTest, EscapeStoresNothing)
{
    comDialogo([](frmZAlteraSenha& f) {
        digitar(f.txtSenhaDig, QStringLiteral("Abc1"));
        f.cmdOK->click();
        digitar(f.txtNovaSenha[0], QStringLiteral("nova1"));
        digitar(f.txtNovaSenha[1], QStringLiteral("nova1"));
        QTest::keyClick(f.txtNovaSenha[1], Qt::Key_Escape);
    });
    EXPECT_FALSE(platform::Forms::isLoaded<frmZAlteraSenha>());
    EXPECT_EQ(senhaGravada(), QStringLiteral("Abc1"));
    EXPECT_EQ(encerrado, 0);
}
