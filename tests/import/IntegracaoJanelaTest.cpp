// The statement import window as a whole: its load, its two settings, its
// keys, the picture of the layouts and the statement grid's own handlers.
#include "IntegracaoFixture.h"

#include "Janelas.h"
#include "app/AppFixture.h"
#include "app/frmPrincipal.h"
#include "import/ConfiguracaoImportacao.h"
#include "import/frmZextratosModelo.h"

#include <QGroupBox>

using testsupport::ModalHook;
using testsupport::MsgRecorder;

namespace {

class IntegracaoJanela : public IntegracaoFixture {};

QString referenteDaLinha(int despesa)
{
    return data::scalar(ConexaoBanco, QStringLiteral("SELECT Referente FROM Orcamento WHERE Despesa = ?"), despesa)
        .toString();
}

} // namespace

TEST_F(IntegracaoJanela, LoadSetsThePeriodTheCaptionAndTheLists)
{
    frmIntegracao& f = janela();
    EXPECT_EQ(f.txtDataFinal->Text(), "15/03/2024");
    EXPECT_EQ(f.txtDataInicial->Text(), "14/02/2024");
    EXPECT_EQ(f.windowTitle(), "Integração de Extrato - Banco ativo: ''C:\\Casa''");
    EXPECT_EQ(NomeConsultaAtiva, "Integração");
    ASSERT_EQ(f.cbxBancos->count(), 5);
    EXPECT_EQ(f.cbxBancos->itemText(0), "BRADESCO");
    EXPECT_EQ(f.cbxBancos->itemText(2), "ITAÚ");
    EXPECT_EQ(f.cbxBancos->itemText(4), "PLANILHA");
    // A fresh account remembers no layout; filling the list stored none.
    EXPECT_EQ(f.cbxBancos->currentIndex(), -1);
    EXPECT_EQ(referenteDaLinha(10000), "");
    EXPECT_EQ(f.txtFiltro->currentText(), "A");
    EXPECT_FALSE(f.flxExtrato->isEnabled());
    EXPECT_FALSE(f.cmdAtualiza->isEnabled());
    EXPECT_FALSE(f.fraAltera->isEnabled());
    EXPECT_EQ(f.flxExtrato->Cols(), 6);
    EXPECT_EQ(f.flxExtrato->TextMatrix(0, 3), "Tipo de Classificação");
}

TEST_F(IntegracaoJanela, TheChosenLayoutIsPreselectedNextTimeForThatAccountOnly)
{
    janela().cbxBancos->setCurrentText(QStringLiteral("ITAÚ"));
    EXPECT_EQ(referenteDaLinha(10000), "ITAÚ");
    platform::Forms::unload<frmIntegracao>();
    EXPECT_EQ(janela().cbxBancos->currentText(), "ITAÚ");
    platform::Forms::unload<frmIntegracao>();

    createAccount(QStringLiteral("Outra"));
    login(QStringLiteral("Outra"));
    EXPECT_EQ(janela().cbxBancos->currentIndex(), -1);
    janela().cbxBancos->setCurrentText(QStringLiteral("CAIXA"));
    platform::Forms::unload<frmIntegracao>();
    login(QStringLiteral("Casa"));
    EXPECT_EQ(janela().cbxBancos->currentText(), "ITAÚ");
}

TEST_F(IntegracaoJanela, AStoredTextThatIsNoLayoutLeavesTheListWithoutChoice)
{
    importacao::gravarModeloExtrato(ConexaoBanco, QStringLiteral("itaú"));
    EXPECT_EQ(janela().cbxBancos->currentIndex(), -1);
    EXPECT_EQ(referenteDaLinha(10000), "itaú");
}

TEST_F(IntegracaoJanela, MissingSettingsRowsOpenEmptyAndRememberNothing)
{
    ConexaoBanco.exec(QStringLiteral("DELETE FROM Orcamento WHERE Despesa IN (10000, 10001)"));
    frmIntegracao& f = janela();
    EXPECT_EQ(f.cbxBancos->currentIndex(), -1);
    EXPECT_EQ(f.txtCaminho->text(), "");
    f.cbxBancos->setCurrentIndex(1);
    f.txtCaminho->setText(QStringLiteral("C:\\Extratos"));
    f.txtCaminho_LostFocus();
    EXPECT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM Orcamento WHERE Despesa >= 10000"))
                  .toLongLong(),
              0);
}

TEST_F(IntegracaoJanela, EnterInTheFolderBoxStoresItAndListsTextFilesFirst)
{
    escreverArquivo(QStringLiteral("b.xlsx"), QStringLiteral("x"));
    escreverArquivo(QStringLiteral("z.txt"), QStringLiteral("x"));
    escreverArquivo(QStringLiteral("a.xls"), QStringLiteral("x"));
    escreverArquivo(QStringLiteral("m.txt"), QStringLiteral("x"));
    escreverArquivo(QStringLiteral("nota.doc"), QStringLiteral("x"));
    frmIntegracao& f = janela();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    f.txtCaminho->setFocus();
    QTest::keyClicks(f.txtCaminho, QStringLiteral("C:\\Extratos"));
    QTest::keyClick(f.txtCaminho, Qt::Key_Return);
    EXPECT_NE(f.focusWidget(), f.txtCaminho);
    EXPECT_EQ(referenteDaLinha(10001), "C:\\Extratos");
    QStringList nomes;
    for (int i = 0; i < f.lstExtratos->count(); ++i)
        nomes << f.lstExtratos->item(i)->text();
    EXPECT_EQ(nomes, (QStringList{"m.txt", "z.txt", "a.xls", "b.xlsx"}));

    // Reopened, the window lists the stored folder at once.
    platform::Forms::unload<frmIntegracao>();
    EXPECT_EQ(janela().txtCaminho->text(), "C:\\Extratos");
    EXPECT_EQ(janela().lstExtratos->count(), 4);
}

TEST_F(IntegracaoJanela, AFolderWithAnApostropheIsStoredAsTyped)
{
    const QString pasta = QStringLiteral("C:\\Extratos d'Ana'); DELETE FROM Lancamentos; --");
    lancar(QStringLiteral("Mercado"), -1000, {2024, 3, 1});
    janela().txtCaminho->setText(pasta);
    janela().txtCaminho_LostFocus();
    EXPECT_EQ(referenteDaLinha(10001), pasta);
    EXPECT_EQ(contarLancamentos(), 1);
    platform::Forms::unload<frmIntegracao>();
    EXPECT_EQ(janela().txtCaminho->text(), pasta);
}

TEST_F(IntegracaoJanela, EscapeClosesThePictureWindowAloneThenTheImportWindow)
{
    ModalHook hook;
    bool picture = false;
    hook.on<frmZextratosModelo>([&](frmZextratosModelo& m) {
        picture = true;
        EXPECT_EQ(m.windowTitle(), "MODELOS DE EXTRATOS");
        EXPECT_FALSE(m.Image1->pixmap().isNull());
        QTest::keyClick(&m, Qt::Key_Escape);
        EXPECT_FALSE(platform::Forms::isLoaded<frmZextratosModelo>());
        EXPECT_TRUE(platform::Forms::isLoaded<frmIntegracao>());
    });
    frmIntegracao& f = janela();
    f.show();
    QTest::mouseClick(f.lblVerModelos, Qt::LeftButton);
    EXPECT_TRUE(picture);
    picture = false;
    f.frmExtratos_Click();
    EXPECT_TRUE(picture);
    QTest::keyClick(f.txtDataInicial, Qt::Key_Escape);
    EXPECT_FALSE(platform::Forms::isLoaded<frmIntegracao>());
}

TEST_F(IntegracaoJanela, DeletingTheOnlyStatementLineLeavesTheShortHeader)
{
    lerItau({QStringLiteral("10/03/2024;PADARIA CENTRAL;-12,50")});
    frmIntegracao& f = janela();
    ASSERT_EQ(f.flxExtrato->Rows(), 2);
    f.flxExtrato->setRow(1);

    MsgRecorder msgs;
    msgs.answer(platform::vbNo);
    f.flxExtrato_KeyDown(Qt::Key_Delete);
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("Deseja excluir este lançamento?\rPADARIA CENTRAL   R$ -12,50"));
    EXPECT_EQ(msgs.last().title, "Atenção,");
    EXPECT_EQ(msgs.last().buttons(), platform::vbYesNo);
    EXPECT_FALSE(msgs.last().defaultSecond());
    EXPECT_EQ(f.flxExtrato->TextMatrix(1, 1), "PADARIA CENTRAL");

    msgs.answer(platform::vbYes);
    f.flxExtrato_KeyDown(Qt::Key_Delete);
    EXPECT_EQ(f.flxExtrato->Rows(), 2);
    EXPECT_EQ(f.flxExtrato->Cols(), 4);
    EXPECT_EQ(f.flxExtrato->TextMatrix(1, 1), "");
    EXPECT_FALSE(f.flxExtrato->isEnabled());
    EXPECT_FALSE(f.cmdAtualiza->isEnabled());
}

TEST_F(IntegracaoJanela, DeletingOneOfSeveralLinesRemovesItAndDisablesTheFrame)
{
    lerItau({QStringLiteral("10/03/2024;PADARIA CENTRAL;-12,50"), QStringLiteral("11/03/2024;FEIRA LIVRE;-40,00"),
             QStringLiteral("12/03/2024;SALARIO MARCO;3.000,00")});
    frmIntegracao& f = janela();
    f.flxExtrato->setRow(3);
    f.flxExtrato_DblClick();
    ASSERT_TRUE(f.fraAltera->isEnabled());

    MsgRecorder msgs;
    f.flxExtrato->setRow(2);
    QTest::keyClick(f.flxExtrato, Qt::Key_Delete);
    EXPECT_EQ(coluna(f.flxExtrato, 1), (QStringList{"PADARIA CENTRAL", "SALARIO MARCO"}));
    EXPECT_FALSE(f.fraAltera->isEnabled());
    EXPECT_EQ(f.lblQtde->text(), "3 lançamento(s)");
    EXPECT_TRUE(f.cmdAtualiza->isEnabled());
}

TEST_F(IntegracaoJanela, RightClickNamesTheLinesDateAndWeekday)
{
    lerItau({QStringLiteral("14/03/2024;PADARIA CENTRAL;-12,50"), QStringLiteral("15/03/2024;FEIRA LIVRE;-40,00")});
    frmIntegracao& f = janela();
    MsgRecorder msgs;
    f.flxExtrato->setRow(2);
    f.flxExtrato_MouseDown(1);
    EXPECT_TRUE(msgs.calls.empty());
    f.flxExtrato_MouseDown(2);
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("15/03/2024\rsexta-feira"));
    EXPECT_EQ(msgs.last().title, "Dia da Semana");
    EXPECT_EQ(msgs.last().icon(), platform::vbInformation);
}

class IntegracaoPrincipal : public testsupport::AppFixture {};

TEST_F(IntegracaoPrincipal, TheMenuItemAndToolbarKeyBOpenTheImportWindow)
{
    createAccount(QStringLiteral("Casa"));
    registrarJanelas();
    frmPrincipal& p = iniciar();
    ASSERT_TRUE(SenhaAceita);
    EXPECT_EQ(p.mnuImportar->text(), "Impotar &Extrato");
    ASSERT_TRUE(p.mnuImportar->isEnabled());
    p.mnuImportar->trigger();
    p.Toolbar1_ButtonClick(QStringLiteral("B"));
    int abertas = 0;
    for (const QString& nome : hook.shown)
        abertas += nome == QStringLiteral("frmIntegracao");
    EXPECT_EQ(abertas, 2);
}
