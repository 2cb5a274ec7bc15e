#include "NotesFixture.h"

#include "app/frmAnotacao.h"
#include "app/frmPrincipal.h"
#include "budget/frmOrcamento.h"
#include "budget/frmPreXReal.h"
#include "data/PrevistoRealizado.h"
#include "cashflow/frmFluxo.h"
#include "cashflow/frmGraficos.h"
#include "import/frmIntegracao.h"
#include "queries/frmConsVen.h"
#include "platform/MaskEdBox.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <future>
#include <thread>
#include <utility>
#include <vector>

using namespace testsupport;
using namespace std::chrono_literals;

// Saving a note while the file refuses the write, for each reason a file
// refuses one: the user is told why in Portuguese, the note stays in the
// boxes, the file is left as it was and the program goes on; once the cause
// is gone, pressing "Gravar" again stores the note.
class FalhaGravacao : public NotesFixture {
protected:
    void SetUp() override
    {
        NotesFixture::SetUp();
        data::Connection::setBusyWait(100ms);
    }
    void TearDown() override
    {
        data::Connection::setBusyWait(data::Connection::kDefaultBusyWait);
        NotesFixture::TearDown();
    }

    QString arquivo() const { return QDir(bancoFolder()).filePath(QStringLiteral("Casa.mdb")); }
    QByteArray impressao() const
    {
        QFile f(arquivo());
        return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                           : QByteArray();
    }
    // The file replaced behind the program's back by a copy of itself.
    void substituir()
    {
        const QString copia = arquivo() + QStringLiteral(".copia");
        ASSERT_TRUE(QFile::copy(arquivo(), copia));
        ASSERT_EQ(std::rename(QFile::encodeName(copia).constData(), QFile::encodeName(arquivo()).constData()), 0);
    }
};

TEST_F(FalhaGravacao, EachRefusalIsToldTheNoteKeptAndASecondPressStoresIt)
{
    data::Connection outro;
    QByteArray guardado;
    std::vector<CausaDeRecusa> casos = {
        {"another program holds the file longer than the wait",
         [&] {
             openAccountFile(outro, arquivo(), ChaveBanco);
             outro.exec(QStringLiteral("BEGIN IMMEDIATE"));
         },
         [&] { outro.close(); }, kRecusaOcupado},
        {"disk full", [] { ConexaoBanco.exec(QStringLiteral("PRAGMA max_page_count = 1")); },
         [] { ConexaoBanco.exec(QStringLiteral("PRAGMA max_page_count = 1073741823")); }, kRecusaSemEspaco},
        {"read-only file, logged in to",
         [&] {
             if (tornarSomenteLeitura(arquivo()))
                 login(QStringLiteral("Casa"));
             else  // a machine where every file can be written: the engine's own switch
                 ConexaoBanco.exec(QStringLiteral("PRAGMA query_only = 1"));
         },
         [&] {
             tornarGravaveis();
             login(QStringLiteral("Casa"));
         },
         kRecusaSomenteLeitura},
        {"file replaced by a copy while open", [&] { substituir(); },
         [&] { login(QStringLiteral("Casa")); },
         QStringLiteral("O arquivo do banco de dados foi movido, substituído ou apagado enquanto estava aberto; "
                        "nada foi gravado.\rSaia do programa e entre novamente.\rO que a conta guardava neste "
                        "programa foi gravado em ''C:\\Banco\\Casa (conflito 15-03-2024).mdb'', com a mesma senha.")},
        {"file deleted while open",
         [&] {
             QFile f(arquivo());
             ASSERT_TRUE(f.open(QIODevice::ReadOnly));
             guardado = f.readAll();
             f.close();
             ASSERT_TRUE(QFile::remove(arquivo()));
         },
         [&] {
             QFile f(arquivo());
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(guardado);
             f.close();
             login(QStringLiteral("Casa"));
         },
         QStringLiteral("O arquivo do banco de dados foi movido, substituído ou apagado enquanto estava aberto; "
                        "nada foi gravado.\rSaia do programa e entre novamente.\rO que a conta guardava neste "
                        "programa foi gravado em ''C:\\Banco\\Casa (conflito 15-03-2024) 2.mdb'', com a mesma senha.")},
        {"any other failure of the engine",
         [] {
             permitirGatilhos(ConexaoBanco);
             ConexaoBanco.exec(QStringLiteral("CREATE TEMP TRIGGER recusa BEFORE INSERT ON main.Anotacoes"
                                              " BEGIN SELECT RAISE(ABORT, 'recusa simulada'); END"));
         },
         [] { ConexaoBanco.exec(QStringLiteral("DROP TRIGGER temp.recusa")); },
         QStringLiteral("O banco de dados não concluiu a operação; nada foi gravado.\rrecusa simulada")},
    };
    // Made immutable while open: the system refuses the write (EPERM) on a
    // descriptor that was opened for writing.
    if (imutavelFunciona()) {
        casos.push_back({"file made immutable while open", [&] { ASSERT_TRUE(tornarSomenteLeitura(arquivo())); },
                         [&] {
                             tornarGravaveis();
                             login(QStringLiteral("Casa"));
                         },
                         kRecusaSomenteLeitura});
    }
    int gravadas = 0;
    for (const CausaDeRecusa& c : casos) {
        SCOPED_TRACE(c.nome);
        msgs.clear();
        auto& f = aberta<frmAnotacao>();
        f.txtTitulo->setText(QStringLiteral("Conta de luz"));
        // Longer than a page, so that even a file with room in its pages
        // needs a new one.
        const QString texto = QStringLiteral("Pagar até o dia 10. ").repeated(400);
        f.txtTexto->setPlainText(texto);
        c.causa();
        const QByteArray antes = impressao();

        // The button's signal, outside any event delivery: the handler
        // itself catches the failure, not the application object.
        f.cmdGravar->click();
        ASSERT_EQ(msgs.calls.size(), 1u);
        EXPECT_EQ(msgs.last().text, c.mensagem);
        EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
        EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
        EXPECT_TRUE(f.isLoaded());
        EXPECT_EQ(f.txtTitulo->text(), QStringLiteral("Conta de luz"));
        EXPECT_EQ(f.txtTexto->toPlainText(), texto);
        EXPECT_EQ(impressao(), antes);

        c.fim();
        msgs.clear();
        QTest::mouseClick(f.cmdGravar, Qt::LeftButton);
        EXPECT_TRUE(msgs.calls.empty()) << msgs.lastText().toStdString();
        EXPECT_TRUE(f.txtTitulo->text().isEmpty());
        EXPECT_EQ(contar(QStringLiteral("Anotacoes")), ++gravadas);
        f.Unload();
    }
}

// The wait keeps the windows painting under the wait cursor, and no window
// closes in the middle of it.
TEST_F(FalhaGravacao, ALockShorterThanTheWaitIsWaitedFor)
{
    // The other program lets go once this one is seen waiting for the file:
    // under the wait cursor, asked to close, and painted five times since.
    // However busy the machine, that is well within the wait.
    data::Connection::setBusyWait(30s);
    data::Connection outro;
    openAccountFile(outro, arquivo(), ChaveBanco);
    outro.exec(QStringLiteral("BEGIN IMMEDIATE"));
    std::promise<void> visto;
    std::thread soltar([&outro, esperado = visto.get_future()] {
        esperado.wait();
        outro.exec(QStringLiteral("COMMIT"));
    });
    bool solto = false;
    const auto soltarOutro = [&] {
        if (!std::exchange(solto, true))
            visto.set_value();
    };
    auto& f = aberta<frmAnotacao>();
    f.txtTitulo->setText(QStringLiteral("Conta de luz"));
    f.txtTexto->setPlainText(QStringLiteral("Pagar"));
    Pinturas pinturas(&f);
    Qt::CursorShape cursor = Qt::ArrowCursor;
    int pinturasAoEsperar = 0;
    QTimer olhar;
    QObject::connect(&olhar, &QTimer::timeout, &f, [&] {
        if (cursor != Qt::WaitCursor && cursorAtual() == Qt::WaitCursor) {
            cursor = Qt::WaitCursor;
            pinturasAoEsperar = pinturas.n;
            f.close();
        }
        if (cursor == Qt::WaitCursor && pinturas.n - pinturasAoEsperar >= 5)
            soltarOutro();
    });
    olhar.start(5);
    QTest::mouseClick(f.cmdGravar, Qt::LeftButton);
    olhar.stop();
    soltarOutro();
    soltar.join();
    EXPECT_TRUE(msgs.calls.empty()) << msgs.lastText().toStdString();
    EXPECT_EQ(contar(QStringLiteral("Anotacoes")), 1);
    EXPECT_EQ(cursor, Qt::WaitCursor);
    EXPECT_GE(pinturas.n - pinturasAoEsperar, 5);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(f.isVisible());
}

TEST_F(FalhaGravacao, AWindowWhoseLoadCannotReadClosesWithAMessage)
{
    ConexaoBanco.exec(QStringLiteral("DROP TABLE Anotacoes"));
    QObject alvo;
    QMetaObject::invokeMethod(&alvo, [] { platform::Forms::show<frmAnotacao>(); }, Qt::QueuedConnection);
    QCoreApplication::sendPostedEvents(&alvo, QEvent::MetaCall);
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_TRUE(msgs.last().text.startsWith(
        QStringLiteral("O banco de dados não concluiu a operação; nada foi gravado.\rno such table: Anotacoes")))
        << msgs.last().text.toStdString();
    EXPECT_FALSE(platform::Forms::isLoaded<frmAnotacao>());
    EXPECT_TRUE(hook.shown.empty());
}

// An account another tool filled with 9 300 entries of -9.999.999.999.999,99
// in the first half of this month: their total passes what the centavos hold. Every window
// that sums says so and stays open; the program goes on.
class SomaForaDoLimite : public NotesFixture {
protected:
    void SetUp() override
    {
        NotesFixture::SetUp();
        data::Transaction t(ConexaoBanco);
        data::Statement s(ConexaoBanco, QStringLiteral("INSERT INTO Lancamentos (DataVen, Referente, Valor, DataLan,"
                                                       " Tipo, Despesa, Filtro, Conta) VALUES (?, ?, ?, ?, '1', ?, 'A', '')"));
        const QString despesa = QString::number(codigo(QStringLiteral("Saída Não Classificada")));
        for (int i = 0; i < 9300; ++i) {
            s.reset();
            s.bind(1, QDate(2024, 3, 1 + i % 15));
            s.bind(2, QStringLiteral("ABSURDO"));
            s.bind(3, std::int64_t(-data::kMaxCentavos + i));
            s.bind(4, QDate(2024, 3, 1));
            s.bind(5, despesa);
            s.exec();
        }
        t.commit();
    }

    // Runs an action as a user's click would: delivered by the event loop,
    // so that a failure goes where a handler's goes.
    static void comoUsuario(const std::function<void()>& acao)
    {
        QObject alvo;
        QMetaObject::invokeMethod(&alvo, acao, Qt::QueuedConnection);
        QCoreApplication::sendPostedEvents(&alvo, QEvent::MetaCall);
    }
};

TEST_F(SomaForaDoLimite, EveryWindowThatSumsSaysSoAndStaysOpen)
{
    const QString kMensagem = QStringLiteral("Soma de valores fora do limite.");
    struct Caso {
        const char* janela;
        std::function<platform::FormHooks*()> abrir;
    };
    const Caso casos[] = {
        {"Saldo Atual",
         []() -> platform::FormHooks* {
             frmPrincipal principal;
             comoUsuario([&principal] { principal.mnuSaldo_Click(); });
             return nullptr;  // the main window itself, not a window of its own
         }},
        {"Importar Extrato",
         [] {
             auto& f = aberta<frmIntegracao>();
             gravar(novoLancamento(QDate(2024, 2, 20), QStringLiteral("Padaria"), -450,
                                   QString::number(codigo(QStringLiteral("Saída Não Classificada")))));
             f.txtDataInicial->setText(QStringLiteral("01/02/2024"));
             f.txtDataFinal->setText(QStringLiteral("29/02/2024"));
             f.cmdOK_Click();
             f.txtDataFinal->setText(QStringLiteral("31/03/2024"));
             comoUsuario([&f] { f.cmdOK_Click(); });
             // What the list showed before the press, it still shows.
             EXPECT_EQ(f.flxLanc->Rows(), 2);
             EXPECT_EQ(f.flxLanc->TextMatrix(1, 2), QStringLiteral("Padaria"));
             EXPECT_EQ(f.txtSaldo->text(), QStringLiteral("-4,50"));
             return &f;
         }},
        {"Por Data",
         [] {
             auto& f = aberta<frmConsVen>();
             f.txtData1->setText(QStringLiteral("01/03/2024"));
             f.txtData2->setText(QStringLiteral("31/03/2024"));
             QTest::mouseClick(f.cmdConsulta, Qt::LeftButton);
             return &f;
         }},
        {"Fluxo de Lançamentos",
         [] {
             auto& f = aberta<frmFluxo>();
             f.txtDataInicial->setText(QStringLiteral("01/01/2024"));
             f.txtDataFinal->setText(QStringLiteral("29/02/2024"));
             comoUsuario([&f] { f.cmdOK_Click(); });
             EXPECT_FALSE(f.txtSaldo->text().isEmpty());
             f.txtDataFinal->setText(QStringLiteral("31/03/2024"));
             comoUsuario([&f] { f.cmdOK_Click(); });
             // An empty register, not the balance of the period before
             // beside no rows.
             EXPECT_EQ(f.flxConsulta->Rows(), 1);
             EXPECT_TRUE(f.txtSaldo->text().isEmpty());
             return &f;
         }},
        {"Gráficos",
         [] {
             auto& f = aberta<frmGraficos>();
             f.optEntraSai->setChecked(true);
             f.txtDataVen1->setText(QStringLiteral("01/01/2024"));
             f.txtDataVen2->setText(QStringLiteral("31/12/2024"));
             comoUsuario([&f] { f.cmdGerarGrafico_Click(); });
             return &f;
         }},
        {"Orçamento do mês", [] { return &aberta<frmOrcamento>(); }},
        {"Previsto e Realizado",
         [] {
             data::addPrevistoIfMissing(ConexaoBanco, codigo(QStringLiteral("Saída Não Classificada")), 100);
             return &aberta<frmPreXReal>();
         }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.janela);
        msgs.clear();
        platform::FormHooks* janela = c.abrir();
        ASSERT_FALSE(msgs.calls.empty());
        for (const auto& m : msgs.calls) {
            EXPECT_EQ(m.text, kMensagem);
            EXPECT_EQ(m.title, QStringLiteral("Atenção,"));
        }
        if (janela) {
            EXPECT_TRUE(janela->isLoaded());
        }
    }
}
