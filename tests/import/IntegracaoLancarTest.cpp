// Posting the statement lines as entries.
#include "IntegracaoFixture.h"

#include "import/LancamentosExtrato.h"

#include <chrono>

using testsupport::MsgRecorder;

namespace {

class IntegracaoLancar : public IntegracaoFixture {
protected:
    static void classificarTudo() { janela().cmdNaoClassificar_Click(); }
};

} // namespace

TEST_F(IntegracaoLancar, PostsEachLineWithItsSideClassificationAndLetter)
{
    lerItau({QStringLiteral("10/03/2024;SUPERMERCADO BOM PRECO;-1.234,50"),
             QStringLiteral("11/03/2024;SALARIO MARCO;3.000,00"), QStringLiteral("12/03/2024;ESTORNO;0,00")});
    frmIntegracao& f = janela();
    carregar(1);
    f.txtFiltro->setCurrentText(QStringLiteral("C"));
    f.cmdAltera_Click();
    classificarTudo();
    // A name is found as the plan's lookup compares names: case aside,
    // accented letters included.
    mudarLinha(2, [](importacao::LinhaExtrato& l) { l.classificacao = QStringLiteral("SALÁRIO"); });

    MsgRecorder msgs;
    f.cmdAtualiza_Click();
    EXPECT_TRUE(msgs.calls.empty());
    // A screen reader is told what was done.
    const auto* aviso = f.findChild<QLabel*>(QStringLiteral("vorsalNotice"));
    ASSERT_TRUE(aviso);
    EXPECT_EQ(aviso->text(), QStringLiteral("3 lançamentos importados"));
    const auto l = lancamentos();
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0].dataVen, QDate(2024, 3, 10));
    EXPECT_EQ(l[0].dataLan, QDate(2024, 3, 10));
    EXPECT_EQ(l[0].referente, "SUPERMERCADO BOM PRECO");
    EXPECT_EQ(l[0].valor, -123450);
    EXPECT_EQ(l[0].tipo, "1");
    EXPECT_EQ(l[0].despesa, QString::number(codigo(QStringLiteral("Supermercado"))));
    EXPECT_EQ(l[0].filtro, "C");
    EXPECT_EQ(l[0].conta, "Alimentação");
    EXPECT_EQ(l[1].tipo, "2");
    EXPECT_EQ(l[1].despesa, QString::number(codigo(QStringLiteral("Salário"))));
    // A zero line is outgoing, its classification one of the outgoing side.
    EXPECT_EQ(l[2].tipo, "1");
    EXPECT_EQ(l[2].despesa, QString::number(codigo(QStringLiteral("Saída Não Classificada"))));
    EXPECT_EQ(l[2].conta, "Outras Saídas");

    // The grid is emptied and the period lists what falls within it.
    EXPECT_EQ(f.flxExtrato->Rows(), 2);
    EXPECT_EQ(f.flxExtrato->TextMatrix(1, 0), "");
    EXPECT_FALSE(f.flxExtrato->isEnabled());
    EXPECT_EQ(f.flxExtrato->Cols(), 6);
    EXPECT_EQ(f.flxExtrato->TextMatrix(0, 0), "Data");
    EXPECT_TRUE(f.cmdAtualiza->isEnabled());
    EXPECT_EQ(f.lblQtde->text(), "3 lançamento(s)");
    EXPECT_EQ(coluna(f.flxLanc, 2), (QStringList{"SUPERMERCADO BOM PRECO", "SALARIO MARCO", "ESTORNO"}));
    EXPECT_EQ(f.txtSaldo->text(), "1.765,50");
    // The frame's lists show the last posted line.
    EXPECT_EQ(f.txtTipos->currentText(), "Saída");
    EXPECT_EQ(f.txtDespesas->currentText(), "Saída Não Classificada");

    f.cmdAtualiza_Click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "Não há lançamentos para atualizar!");
    EXPECT_EQ(msgs.last().title, "Sem lançamentos,");
    EXPECT_EQ(msgs.last().icon(), platform::vbInformation);
}

TEST_F(IntegracaoLancar, RefusalsWriteNothing)
{
    lerItau({QStringLiteral("10/03/2024;PIX;-12,50"), QStringLiteral("11/03/2024;FEIRA LIVRE;-40,00")});
    frmIntegracao& f = janela();
    MsgRecorder msgs;

    // A short line still unclassified blocks the posting all the same.
    classificar(2, QStringLiteral("Supermercado"));
    f.cmdAtualiza_Click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "Não foi possível atualizar, pois existem lançamentos não classificados.");
    EXPECT_EQ(msgs.last().icon(), platform::vbExclamation);
    EXPECT_EQ(msgs.last().title, "Atenção,");

    classificarTudo();
    f.txtDataFinal->setText(QStringLiteral("31/02/2024"));
    f.cmdAtualiza_Click();
    EXPECT_EQ(msgs.last().text, "Data Final inválida");
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_EQ(contarLancamentos(), 0);
    EXPECT_EQ(f.flxExtrato->TextMatrix(2, 1), "FEIRA LIVRE");
}

TEST_F(IntegracaoLancar, ShortHistoriesArePassedOverAndDropped)
{
    lerItau({QStringLiteral("10/03/2024;TED;-12,50"), QStringLiteral("10/03/2024;APAGADO;-1,50"),
             QStringLiteral("11/03/2024;FEIRA LIVRE;-40,00")});
    frmIntegracao& f = janela();
    classificarTudo();
    carregar(2);
    f.txtHistorico->clear();
    f.cmdAltera_Click();
    MsgRecorder msgs;
    f.cmdAtualiza_Click();
    // One message, after the posting, names the lines passed over.
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "Os lançamentos abaixo não foram lançados, pois o histórico tem três caracteres ou "
                                "menos:\r10/03/2024  ''TED''  R$ -12,50\r10/03/2024  ''''  R$ -1,50\r"
                                "Lance-os pela tela de lançamentos, se forem movimentos reais.");
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_EQ(msgs.last().title, "Atenção,");
    const auto l = lancamentos();
    ASSERT_EQ(l.size(), 1u);
    EXPECT_EQ(l[0].referente, "FEIRA LIVRE");
    EXPECT_EQ(f.flxExtrato->TextMatrix(1, 1), "");
}

TEST_F(IntegracaoLancar, ASameDayAndValueEntryIsAskedAboutLineByLine)
{
    // The probe is by due date: an entry posted on another day but due on
    // the line's date is asked about; one posted on the line's date but due
    // on another day is not.
    data::Lancamento antiga = novoLancamento({2024, 3, 11}, QStringLiteral("Compra antiga"), -4000,
                                             QString::number(codigo(QStringLiteral("Supermercado"))));
    antiga.dataLan = QDate(2024, 3, 1);
    gravar(antiga);
    data::Lancamento futura = novoLancamento({2024, 4, 13}, QStringLiteral("Parcela futura"), -4000,
                                             QString::number(codigo(QStringLiteral("Supermercado"))));
    futura.dataLan = QDate(2024, 3, 13);
    gravar(futura);
    lerItau({QStringLiteral("11/03/2024;FEIRA LIVRE;-40,00"), QStringLiteral("12/03/2024;PADARIA CENTRAL;-9,90"),
             QStringLiteral("12/03/2024;PADARIA NOVA;-9,90"), QStringLiteral("13/03/2024;FARMACIA;-40,00"),
             QStringLiteral("14/03/2024;POSTO A;-70,00"), QStringLiteral("14/03/2024;POSTO B;-70,00"),
             QStringLiteral("14/03/2024;POSTO C;-70,00")});
    classificarTudo();

    MsgRecorder msgs;
    msgs.answer(platform::vbNo);   // FEIRA LIVRE beside "Compra antiga"
    msgs.answer(platform::vbYes);  // PADARIA NOVA beside PADARIA CENTRAL, posted a moment ago
    msgs.answer(platform::vbNo);   // POSTO B beside POSTO A
    msgs.answer(platform::vbNo);   // POSTO C beside POSTO A, never beside the declined POSTO B
    janela().cmdAtualiza_Click();
    ASSERT_EQ(msgs.calls.size(), 4u);
    EXPECT_EQ(msgs.calls[0].text,
              QStringLiteral("Já existe um valor idêndico lançado nesta mesma data. Veja os dois lançamentos:\r"
                             "Sistema: Compra antiga R$ -40,00\rExtrato: FEIRA LIVRE R$ -40,00\r"
                             "Deseja efetuar este lançamento?"));
    EXPECT_EQ(msgs.calls[0].title, "Já existe um lançamento.");
    EXPECT_EQ(msgs.calls[0].buttons(), platform::vbYesNo);
    EXPECT_EQ(msgs.calls[0].icon(), platform::vbQuestion);
    EXPECT_TRUE(msgs.calls[0].defaultSecond());
    EXPECT_TRUE(msgs.calls[1].text.contains(QStringLiteral("Sistema: PADARIA CENTRAL R$ -9,90\r"
                                                           "Extrato: PADARIA NOVA R$ -9,90")));
    EXPECT_TRUE(msgs.calls[2].text.contains(QStringLiteral("Sistema: POSTO A R$ -70,00\rExtrato: POSTO B")));
    EXPECT_TRUE(msgs.calls[3].text.contains(QStringLiteral("Sistema: POSTO A R$ -70,00\rExtrato: POSTO C")));

    QStringList referentes;
    for (const auto& l : lancamentos())
        referentes << l.referente;
    EXPECT_EQ(referentes, (QStringList{"Compra antiga", "Parcela futura", "PADARIA CENTRAL", "PADARIA NOVA",
                                       "FARMACIA", "POSTO A"}));
}

TEST_F(IntegracaoLancar, AnEntryOutsideThePeriodIsPostedButNotListed)
{
    lerItau({QStringLiteral("10/01/2024;ANUIDADE CARTAO;-120,00")});
    classificarTudo();
    janela().cmdAtualiza_Click();
    EXPECT_EQ(contarLancamentos(), 1);
    EXPECT_EQ(janela().flxLanc->Rows(), 1);
    EXPECT_EQ(janela().txtSaldo->text(), "-120,00");
}

TEST_F(IntegracaoLancar, ALineWhoseClassificationIsOfTheOtherSideStopsEverything)
{
    lerItau({QStringLiteral("10/03/2024;FEIRA LIVRE;-40,00"), QStringLiteral("11/03/2024;ESTORNO TARIFA;0,00")});
    frmIntegracao& f = janela();
    classificarTudo();
    mudarLinha(2, [](importacao::LinhaExtrato& l) { l.classificacao = QStringLiteral("Entrada Não Classificada"); });
    MsgRecorder msgs;
    f.cmdAtualiza_Click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text,
              QStringLiteral("O lançamento ''ESTORNO TARIFA'' tem a Classificação ''Entrada Não Classificada'', que "
                             "não é do tipo ''Saída''.\rNenhum lançamento foi gravado."));
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_EQ(contarLancamentos(), 0);
    EXPECT_EQ(f.flxExtrato->TextMatrix(1, 1), "FEIRA LIVRE");
}

TEST_F(IntegracaoLancar, AFailureMidwayWritesNothingAndKeepsTheStatement)
{
    testsupport::permitirGatilhos(ConexaoBanco);
    ConexaoBanco.exec(QStringLiteral("CREATE TRIGGER falha BEFORE INSERT ON Lancamentos WHEN NEW.Referente = 'FALHA'"
                                     " BEGIN SELECT RAISE(ABORT, 'disco cheio'); END"));
    lerItau({QStringLiteral("10/03/2024;FEIRA LIVRE;-40,00"), QStringLiteral("11/03/2024;FALHA;-1,00"),
             QStringLiteral("12/03/2024;PADARIA;-2,00")});
    frmIntegracao& f = janela();
    classificarTudo();
    MsgRecorder msgs;
    f.cmdAtualiza_Click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_TRUE(msgs.last().text.startsWith(QStringLiteral("Não foi possível importar o extrato:\r")));
    EXPECT_TRUE(msgs.last().text.contains(QStringLiteral("disco cheio")));
    EXPECT_TRUE(msgs.last().text.endsWith(QStringLiteral("Nenhum lançamento foi gravado.")));
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_EQ(contarLancamentos(), 0);
    EXPECT_EQ(coluna(f.flxExtrato, 1), (QStringList{"FEIRA LIVRE", "FALHA", "PADARIA"}));
    EXPECT_TRUE(f.flxExtrato->isEnabled());
}

TEST_F(IntegracaoLancar, AStatementThatWouldPassTheSumsLimitIsRefusedWhole)
{
    // 9 300 lines of -9.999.999.999.999,99, one centavo apart: each in the
    // range, their total past what the centavos hold.
    QStringList linhas;
    for (int i = 0; i < 9300; ++i)
        linhas << QStringLiteral("10/03/2024;ABSURDO;") + data::formatMoney(-data::kMaxCentavos + i);
    lerItau(linhas);
    frmIntegracao& f = janela();
    classificarTudo();
    MsgRecorder msgs;
    f.cmdAtualiza_Click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "Os valores do extrato, somados aos lançamentos da conta, passam do limite de valores "
                                "que a conta pode guardar; o extrato não foi importado.\rNenhum lançamento foi gravado.");
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_EQ(contarLancamentos(), 0);
    EXPECT_EQ(f.flxExtrato->Rows(), 9301);
}

// Another program writes while a duplicate question is open: the file is
// not held, so its write goes through at once. The posting then checks, in
// its transaction, what the answers were given on: an unrelated write lets
// it post; an entry that now matches another line, or the entry the question
// named gone, stops it before anything is written.
TEST_F(IntegracaoLancar, AnotherProgramWritesWhileAQuestionIsOpen)
{
    using namespace std::chrono_literals;
    data::Connection::setBusyWait(200ms);
    const std::vector<importacao::LinhaGrade> linhas = {
        {"12/03/2024", "PADARIA CENTRAL", "-9,90", "Supermercado", "A", "Alimentação"},
        {"11/03/2024", "FEIRA LIVRE", "-40,00", "Supermercado", "A", "Alimentação"},
    };
    const QString despesa = QString::number(codigo(QStringLiteral("Supermercado")));
    struct Caso {
        const char* nome;
        const char* escrita;  // what the other program commits meanwhile
        bool lancado;
    } casos[] = {
        {"a note", "INSERT INTO Anotacoes (Titulo) VALUES ('do outro programa')", true},
        {"an entry matching the line probed before",
         "INSERT INTO Lancamentos (DataVen, Referente, Valor, DataLan, Tipo, Despesa, Filtro, Conta)"
         " VALUES ('2024-03-12', 'OUTRO', -990, '2024-03-12', '1', '%1', 'A', '')",
         false},
        {"the entry the question named deleted", "DELETE FROM Lancamentos WHERE Referente = 'Compra antiga'", false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ConexaoBanco.exec(QStringLiteral("DELETE FROM Lancamentos; DELETE FROM Anotacoes"));
        lancar(QStringLiteral("Compra antiga"), -4000, {2024, 3, 11});
        data::Connection outro;
        openAccountFile(outro, caminhoLocalBanco(), ChaveBanco);
        int perguntas = 0;
        const auto r = importacao::lancarLinhas(ConexaoBanco, linhas, [&](const QString&) {
            ++perguntas;
            EXPECT_NO_THROW(outro.exec(QString::fromUtf8(c.escrita).arg(despesa)));
            return true;
        });
        EXPECT_EQ(perguntas, 1);
        EXPECT_EQ(r.gravado, c.lancado) << r.erro.toStdString();
        const qint64 antes = c.escrita[0] == 'D' ? 0 : 1;
        const qint64 doOutro = QString::fromUtf8(c.escrita).contains(QStringLiteral("Lancamentos (")) ? 1 : 0;
        EXPECT_EQ(contarLancamentos(), antes + doOutro + (c.lancado ? 2 : 0));
        if (!c.lancado) {
            EXPECT_EQ(r.erro, QStringLiteral("O banco de dados foi alterado por outro programa enquanto as perguntas "
                                             "eram respondidas; o extrato não foi importado.\rNenhum lançamento foi "
                                             "gravado.\rImporte o extrato novamente."));
        }
    }
    data::Connection::setBusyWait(data::Connection::kDefaultBusyWait);
}

TEST(LancamentosExtrato, UnreadableDatesAndValuesAreRefusedBeforeWriting)
{
    const struct {
        importacao::LinhaGrade linha;
        QString motivo;
    } casos[] = {
        {{"__/__/____", "FEIRA LIVRE", "-40,00", "Supermercado", "A", "Alimentação"},
         "O lançamento ''FEIRA LIVRE'' tem data inválida: ''__/__/____''."},
        {{"31/02/2024", "FEIRA LIVRE", "-40,00", "Supermercado", "A", "Alimentação"},
         "O lançamento ''FEIRA LIVRE'' tem data inválida: ''31/02/2024''."},
        {{"10/03/2024", "FEIRA LIVRE", "", "Supermercado", "A", "Alimentação"},
         "O lançamento ''FEIRA LIVRE'' tem valor inválido: ''''."},
        {{"10/03/2024", "FEIRA LIVRE", "-40,00", "Nenhuma", "A", ""},
         "O lançamento ''FEIRA LIVRE'' tem a Classificação ''Nenhuma'', que não é do tipo ''Saída''."},
    };
    for (const auto& caso : casos) {
        data::Connection db;
        db.open(QStringLiteral(":memory:"), QByteArray(), true);
        db.exec(QStringLiteral("CREATE TABLE Lancamentos (NumLan INTEGER PRIMARY KEY AUTOINCREMENT, DataVen TEXT,"
                               " Referente TEXT, Valor INTEGER, DataLan TEXT, Tipo TEXT, Despesa TEXT, Filtro TEXT,"
                               " Conta TEXT);"
                               "CREATE TABLE Despesas (Codigo INTEGER PRIMARY KEY AUTOINCREMENT, Despesa TEXT,"
                               " Tipo TEXT, PreClass TEXT, Conta TEXT);"
                               "INSERT INTO Despesas (Despesa, Tipo, PreClass, Conta)"
                               " VALUES ('Supermercado', '2', '', 'Alimentação');"));
        bool perguntou = false;
        const auto r = importacao::lancarLinhas(db, {caso.linha}, [&](const QString&) { return perguntou = true; });
        EXPECT_FALSE(r.gravado);
        EXPECT_FALSE(perguntou);
        EXPECT_EQ(r.erro, caso.motivo + QStringLiteral("\rNenhum lançamento foi gravado."));
        EXPECT_EQ(data::scalar(db, QStringLiteral("SELECT COUNT(*) FROM Lancamentos")).toLongLong(), 0);
    }
}
