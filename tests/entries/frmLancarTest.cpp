// The posting window: the save's checks and what it writes, the reset for
// the next entry, the instalments, and a user working from the keyboard.
#include "Janelas.h"
#include "app/frmPrincipal.h"
#include "LancarFixture.h"

#include <chrono>
#include <thread>

using testsupport::LancarFixture;

namespace {
const QString kAtencao = QStringLiteral("Atenção,");
} // namespace

class PostingWindow : public LancarFixture {
protected:
    // A complete Saída, ready for "Gravar".
    void preencher(frmLancar& f)
    {
        f.escolherClassificacao(QStringLiteral("Combustível"));
        f.txtFiltro->setCurrentText(QStringLiteral("C"));
        f.txtDataLan->setText(QStringLiteral("14/03/2024"));
        f.txtDataVen->setText(QStringLiteral("20/03/2024"));
        f.txtReferente->setText(QStringLiteral("Posto Shell gasolina"));
        f.txtValor->setText(QStringLiteral("150,50"));
    }
};

TEST_F(PostingWindow, IsRegisteredForTheMenuAndTheToolbar)
{
    registrarJanelas();
    EXPECT_TRUE(frmPrincipal::janelaRegistrada(QStringLiteral("frmLancar")));
}

TEST_F(PostingWindow, SaveChecksRunInOrderAndPutTheFocusOnTheField)
{
    frmLancar& f = abrir();
    struct Passo {
        std::function<void()> preencher;
        const char* mensagem;
        QWidget* foco;
    };
    const Passo passos[] = {
        {[] {}, "Campo ''Classificação'' em branco", f.txtDespesa},
        {[&] { f.escolherClassificacao(QStringLiteral("Água")); }, "Campo ''Ordem'' vazio.", f.txtFiltro},
        {[&] { f.txtFiltro->setCurrentText(QStringLiteral("B")); }, "Data de Lançamento inválida", f.txtDataLan},
        {[&] { f.txtDataLan->setText(QStringLiteral("31/02/2024")); }, "Data de Lançamento inválida", f.txtDataLan},
        {[&] { f.txtDataLan->setText(QStringLiteral("01/03/2024")); }, "Data de Vencimento inválida", f.txtDataVen},
        {[&] { f.txtDataVen->setText(QStringLiteral("15/02/2024")); }, "Campo ''Referente'' em branco", f.txtReferente},
        {[&] { f.txtReferente->setText(QStringLiteral("Conta de água")); }, "Campo ''Valor'' em branco", f.txtValor},
        {[&] { f.txtValor->setText(QStringLiteral("12*45")); }, "Conteúdo inválido do campo ''Valor''.", f.txtValor},
        {[&] { f.txtValor->setText(QStringLiteral(",")); }, "Conteúdo inválido do campo ''Valor''.", f.txtValor},
        // An amount that would take the ledger's total past what the
        // centavos hold (another tool left it near the limit): the cause
        // is named.
        {[&] {
             f.txtValor->setText(QStringLiteral("1000"));
             ConexaoBanco.exec(QStringLiteral("INSERT INTO Lancamentos (DataVen, Referente, Valor, Tipo)"
                                              " VALUES ('2024-01-01', 'quase no limite', 9223372036854700000, '2')"));
         },
         "Soma de valores fora do limite.", f.txtValor},
        // Another tool took the stored total itself past it: even 0,01 is
        // refused, saying so.
        {[&] {
             f.txtValor->setText(QStringLiteral("0,01"));
             ConexaoBanco.exec(QStringLiteral("INSERT INTO Lancamentos (DataVen, Referente, Valor, Tipo)"
                                              " VALUES ('2024-01-01', 'além do limite', -9223372036854700000, '1')"));
         },
         "Os valores já gravados na conta somam mais do que o limite que ela pode guardar (gravados por outro "
         "programa); nada foi gravado.",
         f.txtValor},
    };
    for (const auto& p : passos) {
        p.preencher();
        msgs.clear();
        f.txtTipo->setFocus();
        f.cmdGravaLan_Click();
        ASSERT_EQ(msgs.calls.size(), 1u) << p.mensagem;
        EXPECT_EQ(msgs.last().text, QString::fromUtf8(p.mensagem));
        EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
        EXPECT_EQ(msgs.last().buttons(), platform::vbOKOnly);
        EXPECT_EQ(msgs.last().title, kAtencao);
        EXPECT_EQ(foco(), p.foco) << p.mensagem;
    }
    ASSERT_EQ(linhas().size(), 2u);
    ConexaoBanco.exec(QStringLiteral("DELETE FROM Lancamentos"));

    // 29 days back passed without a question; 540 is saved.
    msgs.clear();
    f.txtValor->setText(QStringLiteral("540"));
    f.cmdGravaLan_Click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("Lançamento efetuado com sucesso!"));
    EXPECT_EQ(msgs.last().icon(), platform::vbInformation);
    EXPECT_EQ(msgs.last().title, QStringLiteral("Ok"));
    ASSERT_EQ(linhas().size(), 1u);
    EXPECT_EQ(linhas()[0].valor, -54000);
}

TEST_F(PostingWindow, DueDateThirtyDaysAgoAsksAndNoKeepsEverything)
{
    frmLancar& f = abrir();
    preencher(f);
    f.txtDataVen->setText(QStringLiteral("14/02/2024"));
    msgs.answer(platform::vbNo);
    f.cmdGravaLan_Click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("Data de vencimento MENOR que data atual em: 30 dias!\rDeseja continuar?"));
    EXPECT_EQ(msgs.last().buttons(), platform::vbYesNo);
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_FALSE(msgs.last().defaultSecond());
    EXPECT_EQ(msgs.last().title, kAtencao);
    EXPECT_EQ(foco(), f.txtDataVen);
    EXPECT_TRUE(linhas().empty());
    EXPECT_EQ(f.txtReferente->text(), QStringLiteral("Posto Shell gasolina"));
    EXPECT_EQ(f.txtDataVen->Text(), QStringLiteral("14/02/2024"));

    // Yes goes on to the description check; the focus leaving the due date
    // for the description then warns as leaving it always does.
    msgs.clear();
    f.txtReferente->clear();
    msgs.answer(platform::vbYes);
    f.cmdGravaLan_Click();
    ASSERT_EQ(msgs.calls.size(), 3u);
    EXPECT_EQ(msgs.calls[1].text, QStringLiteral("Campo ''Referente'' em branco"));
    EXPECT_EQ(msgs.calls[2].text, QStringLiteral("Data de vencimento MENOR que data atual em: 30 dias!"));
    EXPECT_EQ(foco(), f.txtReferente);
}

TEST_F(PostingWindow, StoredSignAndTipoFollowTheSide)
{
    const struct {
        int lado;
        const char* teclas;
        data::Centavos valor;
        const char* tipo;
        const char* classe;
        const char* codigo;
        const char* conta;
    } casos[] = {
        {1, "1.5", 150, "2", "Salário", "20", "Trabalho"},
        {0, "1.5", -150, "1", "Combustível", "12", "Transporte"},
        {1, "0", 0, "2", "Aluguel Recebido", "21", "Patrimoniais"},
        {0, "12*45=", -54000, "1", "Água", "7", "Moradia"},
    };
    frmLancar& f = abrir();
    for (const auto& c : casos) {
        f.txtTipo->setCurrentIndex(c.lado);
        preencher(f);
        f.escolherClassificacao(QString::fromUtf8(c.classe));
        f.txtValor->clear();
        f.txtValor->setFocus();
        digitar(QString::fromLatin1(c.teclas));
        f.cmdGravaLan_Click();
        const auto l = linhas().back();
        EXPECT_EQ(l.valor, c.valor) << c.teclas;
        EXPECT_EQ(l.tipo, QString::fromLatin1(c.tipo));
        EXPECT_EQ(l.despesa, QString::fromLatin1(c.codigo));
        EXPECT_EQ(l.conta, QString::fromUtf8(c.conta));
        EXPECT_EQ(l.filtro, QStringLiteral("C"));
        EXPECT_EQ(l.dataLan, QDate(2024, 3, 14));
        EXPECT_EQ(l.dataVen, QDate(2024, 3, 20));
        EXPECT_EQ(l.referente, QStringLiteral("Posto Shell gasolina"));
    }
    EXPECT_EQ(linhas().size(), 4u);
}

TEST_F(PostingWindow, OnlyAnEmptyDescriptionIsRefusedAndBlanksAreSavedAsTyped)
{
    frmLancar& f = abrir();
    preencher(f);
    f.txtReferente->setText(QStringLiteral("   "));
    f.cmdGravaLan_Click();
    ASSERT_EQ(linhas().size(), 1u);
    EXPECT_EQ(linhas()[0].referente, QStringLiteral("   "));
    EXPECT_EQ(msgs.lastText(), QStringLiteral("Lançamento efetuado com sucesso!"));
}

TEST_F(PostingWindow, SaveResetsForTheNextEntryWithOrdemA)
{
    frmLancar& f = abrir();
    f.txtTipo->setCurrentIndex(1);
    f.txtConsulta->setText(QStringLiteral("sal"));
    preencher(f);
    f.escolherClassificacao(QStringLiteral("Salário"));
    f.cmdGravaLan_Click();

    EXPECT_EQ(f.txtTipo->currentText(), QStringLiteral("Entrada"));
    EXPECT_EQ(f.txtConsulta->text(), QStringLiteral("sal"));
    EXPECT_EQ(f.flxDespesas->Rows(), 2);
    EXPECT_TRUE(f.txtDespesa->currentText().isEmpty());
    EXPECT_EQ(f.txtFiltro->currentText(), QStringLiteral("A"));
    EXPECT_EQ(f.txtDataLan->Text(), QStringLiteral("__/__/____"));
    EXPECT_EQ(f.txtDataVen->Text(), QStringLiteral("__/__/____"));
    EXPECT_TRUE(f.txtReferente->text().isEmpty());
    EXPECT_TRUE(f.txtValor->text().isEmpty());
    EXPECT_EQ(foco(), f.txtDespesa);

    // The next entry needs no letter, but everything else again.
    msgs.clear();
    f.escolherClassificacao(QStringLiteral("Salário"));
    f.cmdGravaLan_Click();
    EXPECT_EQ(msgs.lastText(), QStringLiteral("Data de Lançamento inválida"));
    f.txtDataLan->setText(QStringLiteral("15/03/2024"));
    f.txtDataVen->setText(QStringLiteral("15/03/2024"));
    f.txtReferente->setText(QStringLiteral("Bônus"));
    f.txtValor->setText(QStringLiteral("100"));
    f.cmdGravaLan_Click();
    ASSERT_EQ(linhas().size(), 2u);
    EXPECT_EQ(linhas()[1].filtro, QStringLiteral("A"));
}

TEST_F(PostingWindow, InstalmentsAreAskedConfirmedWrittenAndTheFieldsCleared)
{
    frmLancar& f = abrir();
    f.txtConsulta->setText(QStringLiteral("a"));
    preencher(f);
    f.txtDataVen->setText(QStringLiteral("10/01/2025"));
    f.txtValor->setText(QStringLiteral("540"));
    msgs.answerInput(QStringLiteral("12"));
    f.cmdParcelas_Click();

    ASSERT_EQ(msgs.inputs.size(), 1u);
    EXPECT_EQ(msgs.inputs[0].prompt, QStringLiteral("Digite o número de parcelas,"));
    EXPECT_EQ(msgs.inputs[0].title, QStringLiteral("Núm. Parcelas"));
    EXPECT_TRUE(msgs.inputs[0].defaultText.isEmpty());
    ASSERT_EQ(msgs.calls.size(), 2u);
    EXPECT_EQ(msgs.calls[0].text, QStringLiteral("Serão geradas 12 parcelas de R$ 45,00\rConfirma ?"));
    EXPECT_EQ(msgs.calls[0].buttons(), platform::vbYesNo);
    EXPECT_EQ(msgs.calls[0].icon(), platform::vbQuestion);
    EXPECT_TRUE(msgs.calls[0].defaultSecond());
    EXPECT_EQ(msgs.calls[0].title, kAtencao);
    EXPECT_EQ(msgs.calls[1].text, QStringLiteral("Parcelas lançadas com sucesso!"));
    EXPECT_EQ(msgs.calls[1].icon(), platform::vbInformation);
    EXPECT_EQ(msgs.calls[1].title, QStringLiteral("Ok"));

    const auto rows = linhas();
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[2].referente, QStringLiteral("Posto Shell gasolina Parc. 3/12"));
    EXPECT_EQ(rows[11].dataVen, QDate(2025, 12, 10));
    EXPECT_EQ(rows[11].valor, -4500);

    EXPECT_EQ(f.txtDataLan->Text(), QStringLiteral("__/__/____"));
    EXPECT_EQ(f.txtDataVen->Text(), QStringLiteral("__/__/____"));
    EXPECT_TRUE(f.txtValor->text().isEmpty());
    EXPECT_TRUE(f.txtReferente->text().isEmpty());
    EXPECT_TRUE(f.txtDespesa->currentText().isEmpty());
    EXPECT_EQ(foco(), f.txtDespesa);
    EXPECT_EQ(f.txtFiltro->currentText(), QStringLiteral("C"));  // instalments keep the letter
    EXPECT_EQ(f.txtTipo->currentText(), QStringLiteral("Saída"));
    EXPECT_EQ(f.txtConsulta->text(), QStringLiteral("a"));
}

TEST_F(PostingWindow, ThreeIncomingInstalmentsOfAHundred)
{
    frmLancar& f = abrir();
    f.txtTipo->setCurrentIndex(1);
    preencher(f);
    f.escolherClassificacao(QStringLiteral("Salário"));
    f.txtValor->setText(QStringLiteral("100,00"));
    msgs.answerInput(QStringLiteral("3"));
    f.cmdParcelas_Click();
    EXPECT_EQ(msgs.calls[0].text, QStringLiteral("Serão geradas 3 parcelas de R$ 33,33\rConfirma ?"));
    const auto rows = linhas();
    ASSERT_EQ(rows.size(), 3u);
    for (const auto& l : rows) {
        EXPECT_EQ(l.valor, 3333);
        EXPECT_EQ(l.tipo, QStringLiteral("2"));
    }
}

TEST_F(PostingWindow, RefusedCountsWriteNothingAndKeepTheFields)
{
    frmLancar& f = abrir();
    preencher(f);
    for (const char* resposta : {"0", "101", "300", "-2", "", "doze"}) {
        msgs.clear();
        msgs.answerInput(QString::fromUtf8(resposta));
        f.cmdParcelas_Click();
        ASSERT_EQ(msgs.calls.size(), 1u) << resposta;
        EXPECT_EQ(msgs.last().text, QStringLiteral("Número de parcela inválido"));
        EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
        EXPECT_EQ(msgs.last().title, kAtencao);
    }
    // Answers read as a number: 2.5 is 2, 3.5 is 4, 2,5 is 2.
    const struct {
        const char* resposta;
        int n;
    } lidas[] = {{"2.5", 2}, {"3.5", 4}, {"2,5", 2}};
    for (const auto& c : lidas) {
        msgs.clear();
        msgs.answerInput(QString::fromUtf8(c.resposta));
        msgs.answer(platform::vbNo);
        f.cmdParcelas_Click();
        ASSERT_EQ(msgs.calls.size(), 1u);
        EXPECT_TRUE(msgs.last().text.startsWith(QStringLiteral("Serão geradas %1 parcelas").arg(c.n))) << c.resposta;
    }
    EXPECT_TRUE(linhas().empty());
    EXPECT_EQ(f.txtValor->text(), QStringLiteral("150,50"));
    EXPECT_EQ(f.txtReferente->text(), QStringLiteral("Posto Shell gasolina"));
    EXPECT_EQ(f.txtDespesa->currentText(), QStringLiteral("Combustível"));
}

TEST_F(PostingWindow, InstalmentsAskForAnyDueDateBeforeToday)
{
    frmLancar& f = abrir();
    preencher(f);
    f.txtDataVen->setText(QStringLiteral("14/03/2024"));
    msgs.answer(platform::vbNo);
    f.cmdParcelas_Click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("Data de Vencimento MENOR que a data atual!\rDeseja continuar?"));
    EXPECT_EQ(msgs.last().buttons(), platform::vbYesNo);
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_EQ(foco(), f.txtDataVen);
    EXPECT_TRUE(msgs.inputs.empty());

    // The instalments check the classification with their own words too.
    msgs.clear();
    f.escolherClassificacao(QString());
    f.cmdParcelas_Click();
    EXPECT_EQ(msgs.lastText(), QStringLiteral("Campo ''Classificação'' em branco"));
}

// Another program puts the account near the limit while the posting waits
// for its lock, or while the instalments' count is asked: the write checks
// under the lock and is refused, naming the cause; nothing of it stored.
TEST_F(PostingWindow, AnotherProgramsWriteBeforeTheLockIsCheckedUnderIt)
{
    using namespace std::chrono_literals;
    const QString quase = QStringLiteral("INSERT INTO Lancamentos (DataVen, Referente, Valor, Tipo)"
                                         " VALUES ('2024-01-01', 'outro programa', 9223372036854700000, '2')");
    frmLancar& f = abrir();
    preencher(f);
    f.txtValor->setText(QStringLiteral("1000"));
    {
        // The posting's wait: the other program commits 300 ms into it.
        data::Connection outro;
        openAccountFile(outro, caminhoLocalBanco(), ChaveBanco);
        outro.exec(QStringLiteral("BEGIN IMMEDIATE"));
        outro.exec(quase);
        ASSERT_TRUE(data::totalFitsWith(ConexaoBanco, 100000));
        std::thread soltar([&] {
            std::this_thread::sleep_for(300ms);
            outro.exec(QStringLiteral("COMMIT"));
        });
        msgs.clear();
        f.cmdGravaLan_Click();
        soltar.join();
        ASSERT_EQ(msgs.calls.size(), 1u);
        EXPECT_EQ(msgs.last().text, QStringLiteral("Soma de valores fora do limite."));
        EXPECT_EQ(foco(), f.txtValor);
        ASSERT_EQ(linhas().size(), 1u);
        EXPECT_EQ(linhas()[0].referente, QStringLiteral("outro programa"));
    }
    ConexaoBanco.exec(QStringLiteral("DELETE FROM Lancamentos"));
    // The instalments: the other program commits while the count is asked.
    platform::setInputBoxHandler([&](const platform::InputCall&) {
        data::Connection outro;
        openAccountFile(outro, caminhoLocalBanco(), ChaveBanco);
        outro.exec(quase);
        return QStringLiteral("12");
    });
    msgs.clear();
    f.cmdParcelas_Click();
    ASSERT_EQ(msgs.calls.size(), 2u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("Não foi possível gravar as parcelas; nenhuma parcela foi lançada.\r"
                                               "Soma de valores fora do limite."));
    ASSERT_EQ(linhas().size(), 1u);
    EXPECT_EQ(linhas()[0].referente, QStringLiteral("outro programa"));
    EXPECT_EQ(f.txtValor->text(), QStringLiteral("1000"));
}

TEST_F(PostingWindow, AFailedGenerationWritesNoneAndSaysSo)
{
    frmLancar& f = abrir();
    preencher(f);
    testsupport::permitirGatilhos(ConexaoBanco);
    ConexaoBanco.exec(QStringLiteral(
        "CREATE TRIGGER falha BEFORE INSERT ON Lancamentos WHEN NEW.Referente LIKE '% Parc. 7/12'"
        " BEGIN SELECT RAISE(ABORT, 'disco cheio'); END"));
    msgs.answerInput(QStringLiteral("12"));
    f.cmdParcelas_Click();
    ASSERT_EQ(msgs.calls.size(), 2u);
    EXPECT_TRUE(msgs.last().text.startsWith(QStringLiteral("Não foi possível gravar as parcelas; nenhuma parcela foi lançada.")));
    EXPECT_TRUE(msgs.last().text.contains(QStringLiteral("disco cheio")));
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_TRUE(linhas().empty());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.txtValor->text(), QStringLiteral("150,50"));
    EXPECT_EQ(f.txtDataVen->Text(), QStringLiteral("20/03/2024"));
}

TEST_F(PostingWindow, UserPostsAnEntryAndTwelveInstalmentsWithTheKeyboardAlone)
{
    frmLancar& f = abrir();
    ASSERT_EQ(foco(), f.txtTipo);  // "Saída"

    // A single Saída: code 12 typed, letter C, F2 for the posting date.
    tecla(Qt::Key_Return);
    digitar(QStringLiteral("12"));
    tecla(Qt::Key_Return);
    ASSERT_EQ(foco(), f.txtFiltro);
    digitar(QStringLiteral("C"));
    tecla(Qt::Key_Return);
    ASSERT_EQ(foco(), f.txtDataLan);
    tecla(Qt::Key_F2);
    ASSERT_EQ(foco(), f.txtDataVen);
    digitar(QStringLiteral("20032024"));
    tecla(Qt::Key_Return);
    ASSERT_EQ(foco(), f.txtReferente);
    digitar(QStringLiteral("Posto Shell gasolina"));
    tecla(Qt::Key_Return);
    ASSERT_EQ(foco(), f.txtValor);
    digitar(QStringLiteral("150.5"));
    tecla(Qt::Key_Return);
    ASSERT_EQ(foco(), f.cmdGravaLan);
    tecla(Qt::Key_Return);
    ASSERT_EQ(msgs.lastText(), QStringLiteral("Lançamento efetuado com sucesso!"));
    ASSERT_EQ(foco(), f.txtDespesa);

    // A year of forecast water bills: 12*45 = 540 in twelve instalments.
    digitar(QStringLiteral("7"));
    tecla(Qt::Key_Return);
    ASSERT_EQ(f.txtDespesa->currentText(), QStringLiteral("Água"));
    tecla(Qt::Key_Return);  // "Ordem" already holds "A"
    tecla(Qt::Key_F2);
    digitar(QStringLiteral("10042024"));
    tecla(Qt::Key_Return);
    digitar(QStringLiteral("Previsão conta de água"));
    tecla(Qt::Key_Return);
    digitar(QStringLiteral("12*45="));
    ASSERT_EQ(f.txtValor->text(), QStringLiteral("540"));
    tecla(Qt::Key_Return);
    tecla(Qt::Key_Tab);
    ASSERT_EQ(foco(), f.cmdParcelas);
    msgs.answerInput(QStringLiteral("12"));
    tecla(Qt::Key_Return);
    EXPECT_EQ(msgs.lastText(), QStringLiteral("Parcelas lançadas com sucesso!"));

    const auto rows = linhas();
    ASSERT_EQ(rows.size(), 13u);
    const auto& l = rows[0];
    EXPECT_EQ(l.tipo, QStringLiteral("1"));
    EXPECT_EQ(l.valor, -15050);
    EXPECT_EQ(l.despesa, QStringLiteral("12"));
    EXPECT_EQ(l.conta, QStringLiteral("Transporte"));
    EXPECT_EQ(l.filtro, QStringLiteral("C"));
    EXPECT_EQ(l.dataLan, QDate(2024, 3, 15));
    EXPECT_EQ(l.dataVen, QDate(2024, 3, 20));
    EXPECT_EQ(l.referente, QStringLiteral("Posto Shell gasolina"));
    for (int i = 1; i <= 12; ++i) {
        const auto& p = rows[std::size_t(i)];
        EXPECT_EQ(p.tipo, QStringLiteral("1"));
        EXPECT_EQ(p.valor, -4500);
        EXPECT_EQ(p.despesa, QStringLiteral("7"));
        EXPECT_EQ(p.conta, QStringLiteral("Moradia"));
        EXPECT_EQ(p.filtro, QStringLiteral("A"));
        EXPECT_EQ(p.dataLan, QDate(2024, 3, 15));
        EXPECT_EQ(p.dataVen, QDate(2024, 3 + i, 10).isValid() ? QDate(2024, 3 + i, 10) : QDate(2025, i - 9, 10));
        EXPECT_EQ(p.referente, QStringLiteral("Previsão conta de água Parc. %1/12").arg(i));
        EXPECT_TRUE(data::isForecast(p.referente));
    }
    EXPECT_EQ(foco(), f.txtDespesa);
}

TEST_F(PostingWindow, EscapeClosesWithoutSaving)
{
    frmLancar& f = abrir();
    preencher(f);
    f.txtReferente->setFocus();
    tecla(Qt::Key_Escape);
    EXPECT_FALSE(platform::Forms::isLoaded<frmLancar>());
    EXPECT_TRUE(linhas().empty());
    (void)f;
}

TEST_F(PostingWindow, ClickingGravarFromAnOldDueDateWarnsOnlyAfterTheClick)
{
    frmLancar& f = abrir();
    preencher(f);
    f.txtReferente->clear();
    f.txtDataVen->setText(QStringLiteral("05/02/2024"));
    f.txtDataVen->setFocus();
    QTest::mouseClick(f.cmdGravaLan, Qt::LeftButton);
    ASSERT_EQ(msgs.calls.size(), 2u);
    EXPECT_EQ(msgs.calls[0].text, QStringLiteral("Data de vencimento MENOR que data atual em: 39 dias!\rDeseja continuar?"));
    EXPECT_EQ(msgs.calls[1].text, QStringLiteral("Campo ''Referente'' em branco"));
    QCoreApplication::processEvents();
    ASSERT_EQ(msgs.calls.size(), 3u);
    EXPECT_EQ(msgs.calls[2].text, QStringLiteral("Data de vencimento MENOR que data atual em: 39 dias!"));
    EXPECT_FALSE(f.cmdGravaLan->isDown());
}
