// The entry editor: loading, both modes, saving, the refresh of the window
// that opened it, and instalments.
#include "Janelas.h"
#include "cashflow/frmFluxo.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "entries/frmZalteracao.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "queries/frmConsVen.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using testsupport::ModalHook;
using testsupport::MsgRecorder;

namespace {

class Zalteracao : public testsupport::DrivesFixture {
protected:
    void SetUp() override
    {
        DrivesFixture::SetUp();
        // The editor's refreshes, registered as at start-up.
        registrarAtualizacoes();
        createAccount(QStringLiteral("Casa"));
        login(QStringLiteral("Casa"));
        luz = *data::findClassificacaoByName(ConexaoBanco, QStringLiteral("Energia Elétrica"));
        salario = *data::findClassificacaoByName(ConexaoBanco, QStringLiteral("Salário"));
    }

    std::int64_t lancar(const QString& tipo, data::Centavos valor, const QString& despesa,
                        const QString& filtro = QStringLiteral("B"), const QString& conta = QStringLiteral("Moradia"))
    {
        data::Lancamento l;
        l.dataVen = QDate(2024, 3, 10);
        l.dataLan = QDate(2024, 3, 1);
        l.referente = QStringLiteral("Conta de luz");
        l.valor = valor;
        l.tipo = tipo;
        l.despesa = despesa;
        l.filtro = filtro;
        l.conta = conta;
        return data::addLancamento(ConexaoBanco, l);
    }

    // The editor as a query window opens it on an existing entry.
    static frmZalteracao& abrir(std::int64_t numero)
    {
        IncluirLancamento = false;
        frmZalteracao& f = platform::Forms::get<frmZalteracao>();
        f.txtNumLan->setText(QString::number(numero));
        return f;
    }

    static void fechar()
    {
        platform::Forms::unload<frmZalteracao>();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    data::Despesa luz, salario;
};

} // namespace

TEST_F(Zalteracao, LoadsAnOutgoingEntryWithoutItsSign)
{
    MsgRecorder msgs;
    const auto n = lancar(data::kTipoSaida, -4550, QString::number(luz.codigo));
    frmZalteracao& f = abrir(n);
    EXPECT_EQ(f.windowTitle(), "Alterações em lançamentos");
    EXPECT_EQ(f.txtTipo->currentText(), "Saída");
    EXPECT_EQ(f.txtDespesa->currentText(), "Energia Elétrica");
    EXPECT_EQ(f.txtCodDesp->text(), QString::number(luz.codigo));
    EXPECT_EQ(f.txtConta->text(), "Moradia");
    EXPECT_EQ(f.txtFiltro->currentText(), "B");
    EXPECT_EQ(f.txtDataLan->Text(), "01/03/2024");
    EXPECT_EQ(f.txtDataVen->Text(), "10/03/2024");
    EXPECT_EQ(f.txtReferente->text(), "Conta de luz");
    EXPECT_EQ(f.txtValor->text(), "45,5");
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(Zalteracao, ValueTexts)
{
    MsgRecorder msgs;
    const struct {
        QString tipo;
        data::Centavos valor;
        QString texto;
    } casos[] = {
        {data::kTipoSaida, -4500, "45"},    {data::kTipoSaida, -123456, "1234,56"},
        {data::kTipoEntrada, 5, "0,05"},    {data::kTipoEntrada, 0, "0"},
        {data::kTipoEntrada, 100010, "1000,1"},
    };
    for (const auto& caso : casos) {
        const auto despesa = caso.tipo == data::kTipoSaida ? luz.codigo : salario.codigo;
        frmZalteracao& f = abrir(lancar(caso.tipo, caso.valor, QString::number(despesa)));
        EXPECT_EQ(f.txtValor->text(), caso.texto);
        EXPECT_EQ(f.txtTipo->currentIndex(), caso.tipo == data::kTipoSaida ? 0 : 1);
        fechar();
    }
}

TEST_F(Zalteracao, SavingUnchangedRewritesTheEntryWithTheCurrentGroup)
{
    MsgRecorder msgs;
    // Posted while the classification stood in another group.
    const auto n = lancar(data::kTipoSaida, -4550, QString::number(luz.codigo), QStringLiteral("B"),
                          QStringLiteral("Outras Saídas"));
    frmZalteracao& f = abrir(n);
    f.cmdGravaLan_Click();
    EXPECT_TRUE(msgs.calls.empty());
    const auto l = data::findLancamento(ConexaoBanco, n);
    EXPECT_EQ(l->valor, -4550);
    EXPECT_EQ(l->tipo, "1");
    EXPECT_EQ(l->conta, "Moradia");
    EXPECT_EQ(l->filtro, "B");
    EXPECT_EQ(l->dataVen, QDate(2024, 3, 10));
    EXPECT_EQ(l->dataLan, QDate(2024, 3, 1));
    EXPECT_FALSE(platform::Forms::isLoaded<frmZalteracao>());
    EXPECT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM Lancamentos")).toInt(), 1);
}

TEST_F(Zalteracao, StoredDescriptionsLongerThanTheBoxAreSavedWhole)
{
    MsgRecorder msgs;
    const QString setenta = QStringLiteral("Loja de Eletrodomésticos Centro - Geladeira Frost Free 2 portas 480 Lt");
    ASSERT_EQ(setenta.size(), 70);
    const struct {
        QString referente;
        QString valorNovo;  // empty: saved unchanged
        QString gravado;
    } casos[] = {
        {setenta + QStringLiteral(" Parc. 1/2"), QStringLiteral("120"), setenta + QStringLiteral(" Parc. 1/2")},
        {QStringLiteral("Previsão ") + setenta + QStringLiteral(" Parc. 3 de 12"), QString(),
         QStringLiteral("Previsão ") + setenta + QStringLiteral(" Parc. 3 de 12")},
        {QStringLiteral("Curta"), QString(), QStringLiteral("Curta")},
    };
    for (const auto& c : casos) {
        const auto n = lancar(data::kTipoSaida, -4550, QString::number(luz.codigo));
        data::Statement(ConexaoBanco, QStringLiteral("UPDATE Lancamentos SET Referente = ? WHERE NumLan = ?"),
                        c.referente, n)
            .exec();
        frmZalteracao& f = abrir(n);
        EXPECT_EQ(f.txtReferente->text(), c.referente);
        if (!c.valorNovo.isEmpty())
            f.txtValor->setText(c.valorNovo);
        f.cmdGravaLan_Click();
        EXPECT_EQ(data::findLancamento(ConexaoBanco, n)->referente, c.gravado);
        fechar();
    }
    EXPECT_TRUE(msgs.calls.empty());

    // Once back within the limit, typing stops at 70 again.
    const auto n = lancar(data::kTipoSaida, -4550, QString::number(luz.codigo));
    data::Statement(ConexaoBanco, QStringLiteral("UPDATE Lancamentos SET Referente = ? WHERE NumLan = ?"),
                    setenta + QStringLiteral(" Parc. 1/2"), n)
        .exec();
    frmZalteracao& f = abrir(n);
    f.txtReferente->setFocus();
    f.txtReferente->selectAll();
    QTest::keyClicks(f.txtReferente, QString(75, QLatin1Char('x')));
    EXPECT_EQ(f.txtReferente->text(), QString(70, QLatin1Char('x')));
}

TEST_F(Zalteracao, ChangingTheSideNeedsANewClassification)
{
    MsgRecorder msgs;
    const auto n = lancar(data::kTipoSaida, -4550, QString::number(luz.codigo));
    frmZalteracao& f = abrir(n);
    f.txtTipo->setCurrentIndex(1);
    EXPECT_EQ(f.txtDespesa->currentText(), "");
    f.cmdGravaLan_Click();
    EXPECT_EQ(msgs.lastText(), "Campo ''Despesa'' em branco");
    EXPECT_EQ(f.focusWidget(), f.txtDespesa);
    f.txtDespesa->setCurrentText(QStringLiteral("Salário"));
    f.cmdGravaLan_Click();
    const auto l = data::findLancamento(ConexaoBanco, n);
    EXPECT_EQ(l->valor, 4550);
    EXPECT_EQ(l->tipo, "2");
    EXPECT_EQ(l->despesa, QString::number(salario.codigo));
    EXPECT_EQ(l->conta, "Trabalho");
}

TEST_F(Zalteracao, EmptyLetterOpensBlankAndSaveAsksForIt)
{
    MsgRecorder msgs;
    const auto n = lancar(data::kTipoSaida, -100, QString::number(luz.codigo), QString());
    frmZalteracao& f = abrir(n);
    EXPECT_EQ(f.txtFiltro->currentIndex(), 0);
    EXPECT_EQ(f.txtFiltro->count(), 27);
    f.cmdGravaLan_Click();
    EXPECT_EQ(msgs.lastText(), "Campo ''Ordem'' vazio.");
    EXPECT_TRUE(platform::Forms::isLoaded<frmZalteracao>());
}

TEST_F(Zalteracao, UnknownNumberSaysSoAndLeavesFieldsEmpty)
{
    MsgRecorder msgs;
    frmZalteracao& f = abrir(4242);
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "O lançamento 4242 não foi encontrado.");
    EXPECT_EQ(msgs.last().title, "Atenção,");
    EXPECT_EQ(f.txtTipo->currentIndex(), -1);
    EXPECT_EQ(f.txtReferente->text(), "");
    f.cmdGravaLan_Click();
    EXPECT_EQ(msgs.lastText(), "Campo ''Despesa'' em branco");
    EXPECT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM Lancamentos")).toInt(), 0);
}

TEST_F(Zalteracao, ClassificationMissingOrOfTheOtherSideIsLeftForTheUser)
{
    const struct {
        QString despesa;
        QString mensagem;
    } casos[] = {
        {"9999", "A classificação deste lançamento não existe no plano de contas. Escolha uma classificação."},
        {"", "A classificação deste lançamento não existe no plano de contas. Escolha uma classificação."},
        {"abc", "A classificação deste lançamento não existe no plano de contas. Escolha uma classificação."},
        {"SALARIO", "A classificação deste lançamento não existe no plano de contas. Escolha uma classificação."},
    };
    for (const auto& caso : casos) {
        MsgRecorder msgs;
        frmZalteracao& f = abrir(lancar(data::kTipoSaida, -100, caso.despesa));
        ASSERT_EQ(msgs.calls.size(), 1u);
        EXPECT_EQ(msgs.last().text, caso.mensagem);
        EXPECT_EQ(f.txtDespesa->currentText(), "");
        EXPECT_EQ(f.txtCodDesp->text(), "");
        EXPECT_EQ(f.txtReferente->text(), "Conta de luz");
        f.cmdGravaLan_Click();
        EXPECT_EQ(msgs.lastText(), "Campo ''Despesa'' em branco");
        fechar();
    }
    MsgRecorder msgs;
    frmZalteracao& f = abrir(lancar(data::kTipoSaida, -100, QString::number(salario.codigo)));
    EXPECT_EQ(msgs.lastText(), "A Classificação ''Salário'' não é do tipo ''Saída''");
    EXPECT_EQ(f.txtDespesa->currentText(), "");
    f.txtDespesa->setCurrentText(QStringLiteral("Energia Elétrica"));
    f.cmdGravaLan_Click();
    EXPECT_EQ(data::findLancamento(ConexaoBanco, f.txtNumLan->text().toLongLong())->despesa,
              QString::number(luz.codigo));
}

TEST_F(Zalteracao, EntryDeletedWhileOpenIsNotWrittenAndTheUserIsTold)
{
    MsgRecorder msgs;
    const auto n = lancar(data::kTipoSaida, -100, QString::number(luz.codigo));
    frmZalteracao& f = abrir(n);
    data::deleteLancamento(ConexaoBanco, n);
    f.cmdGravaLan_Click();
    EXPECT_EQ(msgs.lastText(), QStringLiteral("O lançamento ") + QString::number(n) +
                                   QStringLiteral(" não existe mais e não foi alterado."));
    EXPECT_TRUE(platform::Forms::isLoaded<frmZalteracao>());
    EXPECT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM Lancamentos")).toInt(), 0);
}

TEST_F(Zalteracao, AddingModeAddsARowAndClearsTheFlag)
{
    MsgRecorder msgs;
    const auto existente = lancar(data::kTipoSaida, -100, QString::number(luz.codigo));
    IncluirLancamento = true;
    frmZalteracao& f = platform::Forms::get<frmZalteracao>();
    f.txtTipo->setCurrentIndex(0);
    f.txtDespesa->setCurrentText(QStringLiteral("Energia Elétrica"));
    f.txtFiltro->setCurrentText(QStringLiteral("D"));
    f.txtDataLan->setText(QStringLiteral("14/03/2024"));
    f.txtDataVen->setText(QStringLiteral("20/03/2024"));
    f.txtReferente->setText(QStringLiteral("Nova conta"));
    f.txtValor->setText(QStringLiteral("1,5"));
    f.cmdGravaLan_Click();
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_FALSE(IncluirLancamento);
    const auto l = data::findLancamento(ConexaoBanco, existente + 1);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->referente, "Nova conta");
    EXPECT_EQ(l->valor, -150);
    EXPECT_EQ(l->filtro, "D");
    EXPECT_EQ(l->conta, "Moradia");
    EXPECT_EQ(data::findLancamento(ConexaoBanco, existente)->referente, "Conta de luz");
}

TEST_F(Zalteracao, ChecksStopTheSaveWithTheEditorsWording)
{
    MsgRecorder msgs;
    const auto n = lancar(data::kTipoSaida, -100, QString::number(luz.codigo));
    const struct {
        std::function<void(frmZalteracao&)> estragar;
        QString mensagem;
    } casos[] = {
        {[](frmZalteracao& f) { f.txtDataLan->setText(QString()); }, "Data de Lançamento inválida"},
        {[](frmZalteracao& f) { f.txtDataVen->setText(QStringLiteral("31/02/2024")); }, "Data de Vencimento inválida"},
        {[](frmZalteracao& f) { f.txtReferente->clear(); }, "Campo ''Referente'' em branco"},
        {[](frmZalteracao& f) { f.txtValor->clear(); }, "Campo ''Valor'' em branco"},
        {[](frmZalteracao& f) { f.txtValor->setText(QStringLiteral("12*3")); }, "Conteúdo inválido do campo ''Valor''."},
        // Another program left the account near the limit: the write names it.
        {[](frmZalteracao& f) {
             ConexaoBanco.exec(QStringLiteral("INSERT INTO Lancamentos (DataVen, Referente, Valor, Tipo)"
                                              " VALUES ('2024-01-01', 'quase no limite', 9223372036854700000, '2')"));
             f.txtValor->setText(QStringLiteral("1000"));
         },
         "Soma de valores fora do limite."},
    };
    for (const auto& caso : casos) {
        frmZalteracao& f = abrir(n);
        caso.estragar(f);
        f.cmdGravaLan_Click();
        EXPECT_EQ(msgs.lastText(), caso.mensagem);
        EXPECT_EQ(msgs.last().title, "Atenção,");
        EXPECT_TRUE(platform::Forms::isLoaded<frmZalteracao>());
        fechar();
    }
    EXPECT_EQ(data::findLancamento(ConexaoBanco, n)->valor, -100);
}

TEST_F(Zalteracao, DueDateThirtyDaysAgoAsksAndNoKeepsTheWindow)
{
    MsgRecorder msgs;
    const auto n = lancar(data::kTipoSaida, -100, QString::number(luz.codigo));
    frmZalteracao& f = abrir(n);
    f.txtDataVen->setText(QStringLiteral("14/02/2024"));
    msgs.answer(platform::vbNo);
    f.cmdGravaLan_Click();
    EXPECT_EQ(msgs.lastText(), QStringLiteral("Data de vencimento MENOR que data atual em: 30 dias!") + QChar(13) +
                                   QStringLiteral("Deseja continuar?"));
    EXPECT_TRUE(platform::Forms::isLoaded<frmZalteracao>());
    EXPECT_EQ(data::findLancamento(ConexaoBanco, n)->dataVen, QDate(2024, 3, 10));
}

class ZalteracaoAtualiza : public Zalteracao {
protected:
    // Lists March in the query by date, as the user would.
    void listarMarco()
    {
        frmConsVen& c = platform::Forms::get<frmConsVen>();
        c.txtData1->setText(QStringLiteral("01/03/2024"));
        c.txtData2->setText(QStringLiteral("31/03/2024"));
        c.cmdConsulta_Click();
    }
};

TEST_F(ZalteracaoAtualiza, SaveRefreshesTheWindowThatOpenedTheEditor)
{
    MsgRecorder msgs;
    const auto n = lancar(data::kTipoSaida, -4550, QString::number(luz.codigo));
    listarMarco();
    frmConsVen& c = platform::Forms::get<frmConsVen>();
    ASSERT_EQ(c.flxConsulta->TextMatrix(1, 4), "-45,50");

    frmZalteracao& f = abrir(n);
    EXPECT_EQ(f.consultaDeOrigem(), "Consulta por Vencimento");
    // Another window loaded invisibly meanwhile names itself.
    NomeConsultaAtiva = QStringLiteral("Fluxo de Lançamentos");
    f.txtValor->setText(QStringLiteral("60"));
    f.cmdGravaLan_Click();
    EXPECT_EQ(c.flxConsulta->TextMatrix(1, 4), "-60,00");
    EXPECT_EQ(c.txtSaldo2->text(), "-60,00");
}

TEST_F(ZalteracaoAtualiza, RefreshFollowsTheNameExactly)
{
    MsgRecorder msgs;
    const struct {
        QString nome;
        bool atualiza;
    } casos[] = {
        {"Consulta por Vencimento", true},
        {"consulta por vencimento", false},
        {"Consulta por Vencimento ", false},
        {"", false},
        {"Consulta Estruturada", false},
    };
    for (const auto& caso : casos) {
        platform::Forms::unload<frmConsVen>();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        msgs.clear();
        frmZalteracao::AtualizarConsulta(caso.nome);
        EXPECT_EQ(platform::Forms::isLoaded<frmConsVen>(), caso.atualiza) << caso.nome.toStdString();
        if (caso.atualiza) {
            // Loaded invisibly and pressed: its empty dates are refused.
            EXPECT_EQ(msgs.lastText(), "Digitar data válida para a consulta");
            EXPECT_FALSE(platform::Forms::get<frmConsVen>().isVisible());
        }
    }
}

TEST_F(ZalteracaoAtualiza, InstalmentsFromTheEditorAreNewEntries)
{
    MsgRecorder msgs;
    const auto n = lancar(data::kTipoSaida, -4550, QString::number(luz.codigo));
    listarMarco();
    frmZalteracao& f = abrir(n);
    f.txtDataVen->setText(QStringLiteral("15/04/2024"));
    f.txtValor->setText(QStringLiteral("100"));
    f.txtReferente->setText(QStringLiteral("Geladeira"));
    msgs.answerInput(QStringLiteral("3"));
    f.cmdParcelas_Click();
    EXPECT_EQ(msgs.lastText(), "Parcelas lançadas com sucesso!");
    EXPECT_FALSE(platform::Forms::isLoaded<frmZalteracao>());
    EXPECT_FALSE(IncluirLancamento);
    // The cash-flow register is refreshed whoever opened the editor: loaded
    // hidden when it was not open, and the query window stays the target of
    // later saves.
    ASSERT_TRUE(platform::Forms::isLoaded<frmFluxo>());
    EXPECT_FALSE(platform::Forms::get<frmFluxo>().isVisible());
    EXPECT_EQ(NomeConsultaAtiva, "Consulta por Vencimento");

    data::Statement s(ConexaoBanco,
                      QStringLiteral("SELECT Referente, Valor, DataVen, Tipo FROM Lancamentos WHERE NumLan > ? ORDER BY NumLan"),
                      n);
    QStringList linhas;
    while (s.next())
        linhas << s.text(0) + "|" + QString::number(s.integer(1)) + "|" + s.text(2) + "|" + s.text(3);
    EXPECT_EQ(linhas, (QStringList{"Geladeira Parc. 1/3|-3333|2024-04-15|1", "Geladeira Parc. 2/3|-3333|2024-05-15|1",
                                   "Geladeira Parc. 3/3|-3333|2024-06-15|1"}));
    const auto original = data::findLancamento(ConexaoBanco, n);
    EXPECT_EQ(original->valor, -4550);
    EXPECT_EQ(original->referente, "Conta de luz");
}

TEST_F(ZalteracaoAtualiza, RefusedInstalmentsKeepTheEditorOpen)
{
    MsgRecorder msgs;
    const auto n = lancar(data::kTipoSaida, -4550, QString::number(luz.codigo));
    frmZalteracao& f = abrir(n);
    f.txtDespesa->setCurrentIndex(0);
    f.cmdParcelas_Click();
    EXPECT_EQ(msgs.lastText(), "Campo ''Classificação'' em branco");
    f.txtDespesa->setCurrentText(QStringLiteral("Energia Elétrica"));
    f.txtDataVen->setText(QStringLiteral("20/03/2024"));
    msgs.answerInput(QStringLiteral("0"));
    f.cmdParcelas_Click();
    EXPECT_EQ(msgs.lastText(), "Número de parcela inválido");
    // The third instalment would fall in the year 10000.
    f.txtDataVen->setText(QStringLiteral("30/11/9999"));
    msgs.answerInput(QStringLiteral("3"));
    f.cmdParcelas_Click();
    EXPECT_EQ(msgs.lastText(), "A última parcela venceria em 30/01/10000, depois de 31/12/9999.\r"
                               "Nenhuma parcela foi lançada; diminua o número de parcelas.");
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_EQ(msgs.last().title, "Atenção,");
    EXPECT_TRUE(platform::Forms::isLoaded<frmZalteracao>());
    EXPECT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM Lancamentos")).toInt(), 1);
}

TEST_F(Zalteracao, EscapeClosesWithoutSavingAndKeepsTheFlag)
{
    MsgRecorder msgs;
    ModalHook hook;
    const auto n = lancar(data::kTipoSaida, -100, QString::number(luz.codigo));
    hook.on<frmZalteracao>([](frmZalteracao& f) {
        f.txtReferente->setText(QStringLiteral("mudado"));
        QTest::keyClick(&f, Qt::Key_Escape);
    });
    IncluirLancamento = true;
    platform::Forms::show<frmZalteracao>();
    EXPECT_TRUE(IncluirLancamento);
    EXPECT_FALSE(platform::Forms::isLoaded<frmZalteracao>());
    EXPECT_EQ(data::findLancamento(ConexaoBanco, n)->referente, "Conta de luz");
}
