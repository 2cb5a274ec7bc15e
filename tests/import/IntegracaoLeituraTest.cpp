// Reading a statement file into the window's grid, pre-classifying its lines
// and the catch-all button.
#include "IntegracaoFixture.h"
#include "platform/Confinement.h"
#include "platform/sheets.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QTimer>

using testsupport::MsgRecorder;

namespace {

class IntegracaoLeitura : public IntegracaoFixture {
protected:
    // One BRADESCO line: date in 1-10, description in 25-48, credit in
    // 74-98, debit in 99-122.
    static QString bradesco(const QString& data, const QString& historico, const QString& credito,
                            const QString& debito)
    {
        return data.leftJustified(24, QLatin1Char(' ')) + historico.leftJustified(24, QLatin1Char(' ')) +
               QString(25, QLatin1Char(' ')) + credito.rightJustified(25, QLatin1Char(' ')) +
               debito.rightJustified(24, QLatin1Char(' '));
    }

    static const QString kFalha;
};

const QString IntegracaoLeitura::kFalha = QStringLiteral(
    "Não foi possível importar o extrato. Verifique o modelo escolhido e tente novamente.\r"
    "Clique em ''Ver modelos'' para ter certeza que escolheu o modelo correto.");

} // namespace

TEST_F(IntegracaoLeitura, NothingSelectedAsksForAFile)
{
    escreverArquivo(QStringLiteral("a.txt"), QStringLiteral("10/03/2024;X;-1,00\r\n"));
    frmIntegracao& f = janela();
    f.txtCaminho->setText(QStringLiteral("C:\\Extratos"));
    f.txtCaminho_LostFocus();
    MsgRecorder msgs;
    f.cmdImportar_Click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "Selecione um extrato clicando em um nome de extrato na lista.");
    EXPECT_EQ(msgs.last().icon(), platform::vbExclamation);
    EXPECT_EQ(msgs.last().title, "Atenção,");
    EXPECT_FALSE(f.flxExtrato->isEnabled());
}

TEST_F(IntegracaoLeitura, AFileGoneSinceTheListingIsReportedAndTheListRebuilt)
{
    lerItau({QStringLiteral("10/03/2024;PADARIA CENTRAL;-12,50")});
    escreverArquivo(QStringLiteral("some.txt"), QStringLiteral("x"));
    frmIntegracao& f = janela();
    f.Atualizar_Extratos();
    ASSERT_EQ(f.lstExtratos->count(), 2);
    QFile::remove(QDir(pastaExtratos()).filePath(QStringLiteral("some.txt")));
    MsgRecorder msgs;
    f.lstExtratos->setCurrentRow(1);
    f.cmdImportar_Click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "Arquivo não encontrado na pasta.");
    EXPECT_EQ(msgs.last().title, "Atenção");
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_EQ(f.lstExtratos->count(), 1);
    EXPECT_EQ(f.flxExtrato->TextMatrix(1, 1), "PADARIA CENTRAL");
}

TEST_F(IntegracaoLeitura, AStatementFillsTheGridCountsAndPreClassifies)
{
    lerItau({QStringLiteral("10/03/2024;SUPERMERC ECONOMICO;-1.234,50"), QStringLiteral("11/03/2024;salario marco;3.000,00"),
             QStringLiteral("12/03/2024;supermerc estorno;45,90"), QStringLiteral("13/03/2024;CINEMA;-40,00")});
    frmIntegracao& f = janela();
    EXPECT_EQ(f.ArquivoExtrato, "C:\\Extratos\\itau.txt");
    EXPECT_EQ(f.flxExtrato->Rows(), 5);
    EXPECT_TRUE(f.flxExtrato->isEnabled());
    EXPECT_TRUE(f.cmdAtualiza->isEnabled());
    EXPECT_EQ(f.lblQtde->text(), "4 lançamento(s)");
    EXPECT_EQ(linhaDoExtrato(1),
              (QStringList{"10/03/2024", "SUPERMERC ECONOMICO", "-1.234,50", "Supermercado", "A", "Alimentação"}));
    EXPECT_EQ(linhaDoExtrato(2), (QStringList{"11/03/2024", "salario marco", "3.000,00", "Salário", "A", "Trabalho"}));
    // Incoming lines are matched against incoming keywords only.
    EXPECT_EQ(linhaDoExtrato(3),
              (QStringList{"12/03/2024", "supermerc estorno", "45,90", "Importado do Extrato", "A", ""}));
    EXPECT_EQ(f.flxExtrato->TextMatrix(4, 3), "Importado do Extrato");
    EXPECT_EQ(f.flxExtrato->cellBackColor(1, 0), QColor(255, 255, 255));
    EXPECT_EQ(f.flxExtrato->cellBackColor(2, 5), QColor(225, 255, 255));
    EXPECT_TRUE(f.ExisteNaoClassificado());
}

TEST_F(IntegracaoLeitura, TheCatchAllClassifiesTheRestBySign)
{
    lerItau({QStringLiteral("10/03/2024;SUPERMERC ECONOMICO;-1.234,50"), QStringLiteral("11/03/2024;PIX RECEBIDO;300,00"),
             QStringLiteral("13/03/2024;CINEMA;-40,00")});
    frmIntegracao& f = janela();
    carregar(1);
    f.txtFiltro->setCurrentText(QStringLiteral("D"));
    f.cmdAltera_Click();
    EXPECT_TRUE(f.ExisteNaoClassificado());
    f.flxExtrato->setRows(5);
    f.cmdNaoClassificar_Click();
    EXPECT_EQ(linhaDoExtrato(1).mid(3), (QStringList{"Supermercado", "D", "Alimentação"}));
    EXPECT_EQ(linhaDoExtrato(2).mid(3), (QStringList{"Entrada Não Classificada", "A", "Outras Entradas"}));
    EXPECT_EQ(linhaDoExtrato(3).mid(3), (QStringList{"Saída Não Classificada", "A", "Outras Saídas"}));
    // An empty row below the lines holds no line: nothing is written into it,
    // and nothing is left to block the posting.
    EXPECT_EQ(f.flxExtrato->TextMatrix(4, 3), "");
    EXPECT_FALSE(f.ExisteNaoClassificado());
}

TEST_F(IntegracaoLeitura, ABradescoStatementLeavesNoEmptyRowsBehind)
{
    lerItau({QStringLiteral("01/03/2024;A1;-1,00"), QStringLiteral("02/03/2024;A2;-1,00"),
             QStringLiteral("03/03/2024;A3;-1,00"), QStringLiteral("04/03/2024;A4;-1,00")});
    const QStringList linhas = {
        QStringLiteral("Extrato de: Agência: 1234 | Conta: 56789-0"),
        bradesco(QStringLiteral("01/03/24"), QStringLiteral("SALDO ANTERIOR"), QString(), QString()),
        bradesco(QStringLiteral("04/03/24"), QStringLiteral("CONTA DE AGUA"), QString(), QStringLiteral("-85,40")),
        bradesco(QString(), QStringLiteral("COMPANHIA DE SANEAMENTO"), QString(), QString()),
        bradesco(QStringLiteral("05/03/2024"), QStringLiteral("CRED SALARIO"), QStringLiteral("3.500,00"), QString()),
    };
    escreverArquivo(QStringLiteral("bradesco.txt"), linhas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    lerExtrato(QStringLiteral("BRADESCO"), QStringLiteral("bradesco.txt"));
    frmIntegracao& f = janela();
    EXPECT_EQ(f.flxExtrato->Rows(), 3);
    EXPECT_EQ(linhaDoExtrato(1).mid(0, 3), (QStringList{"04/03/2024", "CONTA DE AGUA", "-85,40"}));
    EXPECT_EQ(linhaDoExtrato(2).mid(0, 4), (QStringList{"05/03/2024", "CRED SALARIO", "3.500,00", "Salário"}));
    EXPECT_EQ(f.lblQtde->text(), "2 lançamento(s)");
}

TEST_F(IntegracaoLeitura, AFailedReadSaysSoAndDoesNotCount)
{
    lerItau({QStringLiteral("10/03/2024;PADARIA CENTRAL;-12,50")});
    frmIntegracao& f = janela();
    escreverArquivo(QStringLiteral("ruim.txt"), QStringLiteral("10/03/2024;SUPERMERC;-1,00\r\nnão é data;X;-2,00\r\n"));
    MsgRecorder msgs;
    lerExtrato(QStringLiteral("ITAÚ"), QStringLiteral("ruim.txt"));
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, kFalha + QStringLiteral("\r\rLinha 2: data ''não é data'' inválida."));
    EXPECT_EQ(msgs.last().icon(), platform::vbExclamation);
    EXPECT_EQ(msgs.last().title, "Atenção,");
    EXPECT_EQ(f.lblQtde->text(), "1 lançamento(s)");
    // The line read before the fault is shown, not pre-classified.
    EXPECT_EQ(f.flxExtrato->TextMatrix(1, 1), "SUPERMERC");
    EXPECT_EQ(f.flxExtrato->TextMatrix(1, 3), "Importado do Extrato");
}

TEST_F(IntegracaoLeitura, AnAmountBeyondThirteenDigitsStopsTheReadAndNothingIsPosted)
{
    escreverArquivo(QStringLiteral("absurdo.txt"), QStringLiteral("01/11/2026;ABSURDO NEGATIVO;-92233720368547758,07\r\n"
                                                                  "01/11/2026;PEQUENO;-1,00\r\n"
                                                                  "05/12/2026;ABSURDO POSITIVO;92233720368547758,08\r\n"));
    {
        MsgRecorder msgs;
        lerExtrato(QStringLiteral("ITAÚ"), QStringLiteral("absurdo.txt"));
        ASSERT_EQ(msgs.calls.size(), 1u);
        EXPECT_EQ(msgs.last().text,
                  kFalha + QStringLiteral("\r\rLinha 1: valor ''-92233720368547758,07'' inválido."));
        frmIntegracao& f = janela();
        EXPECT_FALSE(f.cmdAtualiza->isEnabled());
        f.cmdAtualiza_Click();
        EXPECT_EQ(msgs.lastText(), "Não há lançamentos para atualizar!");
    }
    EXPECT_EQ(contarLancamentos(), 0);
    // The window opens again on the account, its balance readable.
    platform::Forms::unload<frmIntegracao>();
    MsgRecorder msgs;
    frmIntegracao& f = janela();
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_EQ(f.txtSaldo->text(), "0,00");
}

TEST_F(IntegracaoLeitura, NoLinesReadCountsZeroAndEnablesNothing)
{
    escreverArquivo(QStringLiteral("vazio.txt"), QString());
    MsgRecorder msgs;
    lerExtrato(QStringLiteral("ITAÚ"), QStringLiteral("vazio.txt"));
    frmIntegracao& f = janela();
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_EQ(f.lblQtde->text(), "0 lançamento(s)");
    EXPECT_FALSE(f.cmdAtualiza->isEnabled());
    EXPECT_FALSE(f.flxExtrato->isEnabled());
}

TEST_F(IntegracaoLeitura, WithoutALayoutTheGridIsOnlyCleared)
{
    lerItau({QStringLiteral("10/03/2024;PADARIA CENTRAL;-12,50")});
    frmIntegracao& f = janela();
    const QSignalBlocker semGravar(f.cbxBancos);
    f.cbxBancos->setCurrentIndex(-1);
    f.cmdImportar_Click();
    EXPECT_EQ(f.flxExtrato->TextMatrix(1, 1), "");
    EXPECT_EQ(f.flxExtrato->TextMatrix(0, 1), "Histórico");
    EXPECT_EQ(f.lblQtde->text(), "1 lançamento(s)");
}

TEST_F(IntegracaoLeitura, WhereTheSystemCannotKeepTheReaderFromTheUsersFilesNoSpreadsheetIsReadAndTextStillIs)
{
    escreverArquivo(QStringLiteral("extrato.xlsx"), QStringLiteral("PK\x03\x04\n"));
    // A kernel whose Yama keeps the reader's memory from the program, and
    // without Landlock.
    platform::setSheetReaderLayers(platform::kAllLayers & ~(platform::kNameReadingLayer | platform::kLandlockLayer));
    const auto restaurar = qScopeGuard([] { platform::setSheetReaderLayers(platform::kAllLayers); });
    MsgRecorder msgs;
    lerExtrato(QStringLiteral("PLANILHA"), QStringLiteral("extrato.xlsx"));
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, kFalha + QStringLiteral("\r\rOs extratos em planilha não podem ser lidos com segurança "
                                                        "neste sistema. Os modelos de texto (BRADESCO, ITAÚ e CAIXA) "
                                                        "continuam funcionando."));
    lerItau({QStringLiteral("10/03/2024;PADARIA CENTRAL;-12,50")});
    EXPECT_EQ(janela().lblQtde->text(), "1 lançamento(s)");
}

TEST_F(IntegracaoLeitura, ASlowReadKeepsTheWindowPaintingBusyAndOpenAndReadsOnce)
{
    // A reader that answers after two seconds, standing in for a large file.
    escreverArquivo(QStringLiteral("lento.xls"), QStringLiteral("PK\x03\x04\nmodo=lento\n"));
    platform::setSheetReaderProgram(QStringLiteral(VORSAL_HOSTILE_READER));
    frmIntegracao& f = janela();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    testsupport::Pinturas pinturas(&f);
    // Half-way through: what the user would see, a second press of the
    // button and an attempt to close the window.
    Qt::CursorShape cursor = Qt::ArrowCursor;
    QTimer::singleShot(500, &f, [&] {
        cursor = testsupport::cursorAtual();
        f.cmdImportar_Click();
        f.Unload();
    });
    MsgRecorder msgs;
    lerExtrato(QStringLiteral("PLANILHA"), QStringLiteral("lento.xls"));
    platform::setSheetReaderProgram(QStringLiteral(VORSAL_SHEET_READER));
    EXPECT_GE(pinturas.n, 20);
    EXPECT_EQ(cursor, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(f.isVisible());
    // One read, whose empty sheet has no columns: one message.
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_TRUE(msgs.last().text.startsWith(kFalha));
}
