// The cash-flow register: the full view, its checks and shortcuts, editing
// from it through the entry editor, the balances-only view and the two
// summaries.
#include "FluxoFixture.h"
#include "Janelas.h"
#include "app/AppFixture.h"
#include "cashflow/frmFluxo.h"
#include "entries/frmZalteracao.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "queries/frmConsVen.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using testsupport::ModalHook;
using testsupport::MsgRecorder;

namespace {

const QColor kVermelho(255, 0, 0);
const QColor kAzul(0, 0, 255);
const QColor kFundo(225, 255, 255);

class FluxoJanela : public FluxoFixture {
protected:
    static frmFluxo& janela() { return platform::Forms::get<frmFluxo>(); }

    // The register over a period, as "Gerar Fluxo" builds it.
    static frmFluxo& gerar(const QString& inicio, const QString& fim)
    {
        frmFluxo& f = janela();
        f.txtDataInicial->setText(inicio);
        f.txtDataFinal->setText(fim);
        f.cmdOK_Click();
        return f;
    }

    static QString linha(int r)
    {
        QStringList cells;
        for (int c = 0; c < janela().flxConsulta->Cols(); ++c)
            cells << janela().flxConsulta->TextMatrix(r, c);
        return cells.join(QLatin1Char('|'));
    }

    static QStringList linhas()
    {
        QStringList out;
        for (int r = 1; r < janela().flxConsulta->Rows(); ++r)
            out << linha(r);
        return out;
    }

    static QStringList positivos() { return coluna(janela().flxValoresPos, 0); }

    static QColor corTexto(QLabel* l) { return l->palette().color(QPalette::WindowText); }

    // Shown and active, so that keys reach the focused control.
    static frmFluxo& mostrar() { return ativa<frmFluxo>(); }

    static std::int64_t luz()
    {
        return data::findClassificacaoByName(ConexaoBanco, QStringLiteral("Energia Elétrica"))->codigo;
    }

    // The worked example: 100,00 before March; 02/03 -30,00 and -20,00;
    // 03/03 +10,00.
    void exemplo()
    {
        lancar(dia(1, 2), QStringLiteral("Salário"), 10000);
        lancar(dia(2, 3), QStringLiteral("Mercado"), -3000);
        lancar(dia(2, 3), QStringLiteral("Farmácia"), -2000);
        lancar(dia(3, 3), QStringLiteral("Reembolso"), 1000);
    }

    MsgRecorder msgs;
};

} // namespace

TEST_F(FluxoJanela, LoadNamesTheWindowAndListsTheLast45Days)
{
    lancar(dia(1, 1), QStringLiteral("Antigo"), 5000);
    lancar(dia(10, 3), QStringLiteral("Luz"), -1000);
    NomeConsultaAtiva = QStringLiteral("Consulta por Vencimento");
    frmFluxo& f = janela();
    EXPECT_EQ(NomeConsultaAtiva, "Fluxo de Lançamentos");
    EXPECT_EQ(f.windowTitle(), "Fluxo de Caixa - Banco ativo: ''C:\\Casa''");
    EXPECT_EQ(f.txtDataFinal->Text(), "15/03/2024");
    EXPECT_EQ(f.txtDataInicial->Text(), "30/01/2024");
    EXPECT_EQ(linhas(), (QStringList{"|30/01/2024|Saldo Inicial|50,00", "000002|10/03/2024|Luz|-10,00"}));
    EXPECT_EQ(f.txtSaldo->text(), "40,00");
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.flxConsulta->TextMatrix(0, 0), "Nº Lanc.");
    EXPECT_EQ(f.flxConsulta->TextMatrix(0, 3), "Valor");
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(FluxoJanela, WorkedExampleRowsAndStyles)
{
    exemplo();
    frmFluxo& f = gerar("01/03/2024", "31/03/2024");
    EXPECT_EQ(linhas(), (QStringList{"|01/03/2024|Saldo Inicial|100,00", "000003|02/03/2024|Farmácia|-20,00",
                                     "000002|02/03/2024|Mercado|-30,00", "|02/03/2024|Saldo|50,00",
                                     "000004|03/03/2024|Reembolso|10,00"}));
    EXPECT_EQ(f.flxConsulta->Rows(), 6);
    EXPECT_EQ(f.ContaSaldo(), 2.0);
    EXPECT_EQ(f.txtSaldo->text(), "60,00");
    EXPECT_EQ(corTexto(f.txtSaldo), QColor(0, 0, 0));
    EXPECT_TRUE(f.flxConsulta->isEnabled());
    // The rebuild ends on the last row.
    EXPECT_EQ(f.flxConsulta->Row(), 5);

    platform::FlexGrid& g = *f.flxConsulta;
    for (int r : {1, 4})
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(g.cellBackColor(r, c), kFundo) << r << "," << c;
    EXPECT_FALSE(g.cellBold(1, 0));
    EXPECT_TRUE(g.cellBold(4, 0));
    for (int c = 1; c < 4; ++c) {
        EXPECT_TRUE(g.cellBold(1, c));
        EXPECT_TRUE(g.cellBold(4, c));
    }
    g.setRow(4);
    g.setCol(1);
    EXPECT_EQ(g.CellFontSize(), 8);
    g.setCol(2);
    EXPECT_EQ(g.CellAlignment(), Qt::AlignRight | Qt::AlignBottom);
    // Entry rows are plain.
    EXPECT_FALSE(g.cellBold(2, 2));
    EXPECT_NE(g.cellBackColor(2, 0), kFundo);
}

TEST_F(FluxoJanela, NegativeBalancesAreRedButNotTheOpeningDateNorEntryValues)
{
    lancar(dia(1, 2), QStringLiteral("Dívida"), -5000);
    lancar(dia(2, 3), QStringLiteral("Conta"), -1000);
    lancar(dia(3, 3), QStringLiteral("Salário"), 20000);
    lancar(dia(4, 3), QStringLiteral("Previsão ALUGUEL"), -100);
    lancar(dia(4, 3), QStringLiteral("Tarifa"), -100, QStringLiteral("94"));
    frmFluxo& f = gerar("01/03/2024", "31/03/2024");
    platform::FlexGrid& g = *f.flxConsulta;
    ASSERT_EQ(linhas(), (QStringList{"|01/03/2024|Saldo Inicial|-50,00", "000002|02/03/2024|Conta|-10,00",
                                     "|02/03/2024|Saldo|-60,00", "000003|03/03/2024|Salário|200,00",
                                     "|03/03/2024|Saldo|140,00", "000004|04/03/2024|Previsão ALUGUEL|-1,00",
                                     "000005|04/03/2024|Tarifa|-1,00"}));
    EXPECT_NE(g.cellForeColor(1, 1), kVermelho);
    EXPECT_EQ(g.cellForeColor(1, 2), kVermelho);
    EXPECT_EQ(g.cellForeColor(1, 3), kVermelho);
    for (int c = 1; c < 4; ++c)
        EXPECT_EQ(g.cellForeColor(3, c), kVermelho);
    EXPECT_NE(g.cellForeColor(2, 3), kVermelho);
    for (int c = 1; c < 4; ++c)
        EXPECT_NE(g.cellForeColor(5, c), kVermelho);
    EXPECT_EQ(g.cellForeColor(6, 2), kAzul);
    EXPECT_EQ(g.cellForeColor(7, 2), kAzul);
    EXPECT_NE(g.cellForeColor(4, 2), kAzul);
    EXPECT_EQ(f.txtSaldo->text(), "138,00");

    gerar("01/03/2024", "02/03/2024");
    EXPECT_EQ(f.txtSaldo->text(), "-60,00");
    EXPECT_EQ(corTexto(f.txtSaldo), kVermelho);
}

// Red marks a balance below zero: one of exactly zero is not, in the
// register, in its balances-only view or in the final balance.
TEST_F(FluxoJanela, AZeroBalanceIsNotRed)
{
    lancar(dia(1, 2), QStringLiteral("Salário"), 5000);
    lancar(dia(2, 3), QStringLiteral("Conta"), -5000);
    lancar(dia(3, 3), QStringLiteral("Troco"), 0);
    frmFluxo& f = gerar("01/03/2024", "31/03/2024");
    platform::FlexGrid& g = *f.flxConsulta;
    ASSERT_EQ(linhas(), (QStringList{"|01/03/2024|Saldo Inicial|50,00", "000002|02/03/2024|Conta|-50,00",
                                     "|02/03/2024|Saldo|0,00", "000003|03/03/2024|Troco|0,00"}));
    for (int c = 0; c < 4; ++c)
        EXPECT_NE(g.cellForeColor(3, c), kVermelho) << c;
    EXPECT_EQ(f.txtSaldo->text(), "0,00");
    EXPECT_NE(corTexto(f.txtSaldo), kVermelho);
    f.lblSoSaldo_Click();
    ASSERT_EQ(linhas(), (QStringList{"01/03/2024|50,00", "02/03/2024|0,00"}));
    for (int c = 0; c < 2; ++c)
        EXPECT_NE(g.cellForeColor(2, c), kVermelho) << c;
}

TEST_F(FluxoJanela, PeriodWithoutEntriesShowsTheHeaderAndTheOpeningBalance)
{
    lancar(dia(1, 1), QStringLiteral("Antigo"), 5000);
    frmFluxo& f = gerar("01/03/2024", "31/03/2024");
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
    EXPECT_FALSE(f.flxConsulta->isEnabled());
    EXPECT_EQ(f.txtSaldo->text(), "50,00");
    EXPECT_EQ(positivos(), QStringList{"50,00"});
}

TEST_F(FluxoJanela, AccountWithoutEntriesKeepsTheStartAndEndsOnZero)
{
    frmFluxo& f = gerar("01/03/2024", "31/03/2024");
    EXPECT_EQ(f.txtDataInicial->Text(), "01/03/2024");
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
    EXPECT_EQ(f.txtSaldo->text(), "0,00");
    EXPECT_TRUE(positivos().isEmpty());
}

TEST_F(FluxoJanela, StartBeforeTheEarliestEntryMovesToIt)
{
    lancar(dia(10, 3), QStringLiteral("Primeiro"), 1000);
    frmFluxo& f = gerar("01/01/2024", "31/03/2024");
    EXPECT_EQ(f.txtDataInicial->Text(), "10/03/2024");
    EXPECT_EQ(linha(1), "|10/03/2024|Saldo Inicial|0,00");
    // Also past the end date: nothing is listed.
    gerar("01/01/2024", "05/03/2024");
    EXPECT_EQ(f.txtDataInicial->Text(), "10/03/2024");
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(FluxoJanela, GerarFluxoChecksTheDatesInOrder)
{
    const struct {
        QString inicio, fim, mensagem;
        bool focoInicial;
    } casos[] = {
        {"__/__/____", "31/03/2024", "Data Inicial inválida.", true},
        {"31/02/2024", "xx", "Data Inicial inválida.", true},
        {"01/03/2024", "32/03/2024", "Data Final inválida.", false},
        {"02/03/2024", "01/03/2024", "Data final menor que a data inicial.", false},
    };
    lancar(dia(2, 3), QStringLiteral("Conta"), -1000);
    frmFluxo& f = mostrar();
    for (const auto& c : casos) {
        gerar("01/03/2024", "31/03/2024");
        f.cmdOK->setFocus();
        msgs.clear();
        gerar(c.inicio, c.fim);
        ASSERT_EQ(msgs.calls.size(), 1u) << c.inicio.toStdString();
        EXPECT_EQ(msgs.last().text, c.mensagem);
        EXPECT_EQ(msgs.last().title, "Atenção,");
        EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
        if (c.mensagem.startsWith("Data final menor"))
            EXPECT_EQ(QApplication::focusWidget(), f.cmdOK);
        else
            EXPECT_EQ(QApplication::focusWidget(), c.focoInicial ? static_cast<QWidget*>(f.txtDataInicial)
                                                                  : static_cast<QWidget*>(f.txtDataFinal));
        // The grid keeps what it showed.
        EXPECT_EQ(linha(2), "000001|02/03/2024|Conta|-10,00");
    }
    msgs.clear();
    gerar("02/03/2024", "02/03/2024");
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_EQ(linhas(), (QStringList{"|02/03/2024|Saldo Inicial|0,00", "000001|02/03/2024|Conta|-10,00"}));
}

TEST_F(FluxoJanela, PeriodShortcutsMoveTheDatesWithoutRebuilding)
{
    frmFluxo& f = mostrar();
    using H = void (frmFluxo::*)();
    const struct {
        H handler;
        bool inicial;
        QString antes, depois;
    } casos[] = {
        {&frmFluxo::lblIMes_Click, true, "15/02/2024", "01/02/2024"},
        {&frmFluxo::lblFMes_Click, false, "15/02/2024", "29/02/2024"},
        {&frmFluxo::lblFMes_Click, false, "__/__/____", "__/__/____"},
        {&frmFluxo::lblIAno_Click, true, "__/__/____", "01/01/2024"},
        {&frmFluxo::lblFAno_Click, false, "15/02/2020", "31/12/2024"},
        {&frmFluxo::txtMesPi_Click, true, "31/01/2025", "28/02/2025"},
        {&frmFluxo::txtMesAi_Click, true, "31/03/2025", "28/02/2025"},
        {&frmFluxo::txtMesPf_Click, false, "31/01/2024", "29/02/2024"},
        {&frmFluxo::txtMesAf_Click, false, "15/01/2024", "15/12/2023"},
        {&frmFluxo::txtMesAf_Click, false, "99/99/9999", "99/99/9999"},
        {&frmFluxo::txtMesPf_Click, false, "15/12/9999", "15/12/9999"},
        {&frmFluxo::txtMesAi_Click, true, "31/01/0001", "31/01/0001"},
    };
    lancar(dia(2, 3), QStringLiteral("Conta"), -1000);
    gerar("01/03/2024", "31/03/2024");
    const QStringList antes = linhas();
    for (const auto& c : casos) {
        platform::MaskEdBox* caixa = c.inicial ? f.txtDataInicial : f.txtDataFinal;
        caixa->setText(c.antes);
        (f.*c.handler)();
        EXPECT_EQ(caixa->Text(), c.depois) << c.antes.toStdString();
    }
    EXPECT_EQ(linhas(), antes);
    // A click on the label is the user's way.
    f.txtDataInicial->setText("15/02/2024");
    QTest::mouseClick(f.lblIMes, Qt::LeftButton);
    EXPECT_EQ(f.txtDataInicial->Text(), "01/02/2024");
}

TEST_F(FluxoJanela, DateBoxKeys)
{
    frmFluxo& f = mostrar();
    f.txtDataInicial->setFocus();
    f.txtDataInicial->setText("31/12/2024");
    QTest::keyClick(f.txtDataInicial, Qt::Key_PageUp);
    EXPECT_EQ(f.txtDataInicial->Text(), "01/01/2025");
    f.txtDataFinal->setText("01/03/2024");
    QTest::keyClick(f.txtDataFinal, Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_EQ(f.txtDataFinal->Text(), "29/02/2024");
    f.txtDataFinal->setText("__/__/____");
    QTest::keyClick(f.txtDataFinal, Qt::Key_PageUp);
    EXPECT_EQ(f.txtDataFinal->Text(), "__/__/____");
    // The calendar's ends stay where they are.
    f.txtDataFinal->setText("31/12/9999");
    QTest::keyClick(f.txtDataFinal, Qt::Key_PageUp);
    EXPECT_EQ(f.txtDataFinal->Text(), "31/12/9999");
    f.txtDataInicial->setText("01/01/0001");
    QTest::keyClick(f.txtDataInicial, Qt::Key_PageDown);
    EXPECT_EQ(f.txtDataInicial->Text(), "01/01/0001");

    QTest::keyClick(f.txtDataInicial, Qt::Key_F2);
    EXPECT_EQ(f.txtDataInicial->Text(), "15/03/2024");
    EXPECT_EQ(QApplication::focusWidget(), f.txtDataFinal);
    QTest::keyClick(f.txtDataFinal, Qt::Key_F2);
    EXPECT_EQ(f.txtDataFinal->Text(), "15/03/2024");
    EXPECT_EQ(QApplication::focusWidget(), f.txtDataFinal);
    EXPECT_TRUE(msgs.calls.empty());

    // A box that gets the focus has its whole date selected, so typing
    // replaces it.
    QTest::keyClick(f.txtDataFinal, Qt::Key_Tab, Qt::ShiftModifier);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), f.txtDataInicial);
    EXPECT_EQ(f.txtDataInicial->selectionStart(), 0);
    EXPECT_EQ(f.txtDataInicial->selectedText(), "15/03/2024");
    QTest::keyClicks(f.txtDataInicial, "01022024");
    EXPECT_EQ(f.txtDataInicial->Text(), "01/02/2024");
}

TEST_F(FluxoJanela, LongListScrollsToItsEnd)
{
    for (int i = 0; i < 40; ++i)
        lancar(dia(1, 3).addDays(i / 2), QStringLiteral("Conta %1").arg(i, 2, 10, QLatin1Char('0')), -100);
    frmFluxo& f = mostrar();
    gerar("01/03/2024", "31/03/2024");
    QApplication::processEvents();
    EXPECT_GT(f.flxConsulta->TopRow(), 20);
    EXPECT_EQ(f.flxConsulta->Rows(), 40 + 20 + 1);

    gerar("01/03/2024", "05/03/2024");
    QApplication::processEvents();
    EXPECT_EQ(f.flxConsulta->TopRow(), 1);
}

TEST_F(FluxoJanela, DoubleClickOpensTheEntryInTheEditor)
{
    exemplo();
    ModalHook hook;
    QString titulo, numero, referente;
    hook.on<frmZalteracao>([&](frmZalteracao& e) {
        titulo = e.windowTitle();
        numero = e.txtNumLan->text();
        referente = e.txtReferente->text();
        e.Unload();
    });
    frmFluxo& f = gerar("01/03/2024", "31/03/2024");
    IncluirLancamento = true;
    f.flxConsulta->setRow(3);
    f.flxConsulta_DblClick();
    EXPECT_EQ(hook.shown, std::vector<QString>{"frmZalteracao"});
    EXPECT_EQ(titulo, "Alteração em Lançamentos");
    EXPECT_EQ(numero, "2");
    EXPECT_EQ(referente, "Mercado");
    EXPECT_FALSE(IncluirLancamento);

    // Opening and balance rows open nothing; neither does the
    // balances-only view.
    for (int r : {1, 4}) {
        f.flxConsulta->setRow(r);
        f.flxConsulta_DblClick();
    }
    f.lblSoSaldo_Click();
    f.flxConsulta->setRow(1);
    f.flxConsulta_DblClick();
    EXPECT_EQ(hook.shown.size(), 1u);
}

TEST_F(FluxoJanela, InsertOpensTheEditorOnceToAddAnExit)
{
    ModalHook hook;
    QString titulo, tipo;
    hook.on<frmZalteracao>([&](frmZalteracao& e) {
        titulo = e.windowTitle();
        tipo = e.txtTipo->currentText();
        e.Unload();
    });
    frmFluxo& f = mostrar();
    f.txtDataInicial->setFocus();
    f.txtDataInicial->setText("01/03/2024");
    QTest::keyClick(f.txtDataInicial, Qt::Key_Insert);
    EXPECT_EQ(hook.shown, std::vector<QString>{"frmZalteracao"});
    EXPECT_EQ(titulo, "Inclusão de Lançamentos");
    EXPECT_EQ(tipo, "Saída");
    EXPECT_TRUE(IncluirLancamento);
    EXPECT_EQ(f.txtDataInicial->Text(), "01/03/2024");
}

TEST_F(FluxoJanela, SavingInTheEditorRebuildsTheRegister)
{
    lancar(dia(10, 3), QStringLiteral("Luz"), -4550, QString::number(luz()));
    ModalHook hook;
    hook.on<frmZalteracao>([](frmZalteracao& e) {
        e.txtValor->setText(QStringLiteral("60"));
        e.cmdGravaLan_Click();
    });
    frmFluxo& f = gerar("01/03/2024", "31/03/2024");
    f.flxConsulta->setRow(2);
    // The open-row key opens the editor as a double-click does.
    QTest::keyClick(f.flxConsulta, platform::kOpenRowKey);
    EXPECT_EQ(linha(2), "000001|10/03/2024|Luz|-60,00");
    EXPECT_EQ(f.txtSaldo->text(), "-60,00");
}

TEST_F(FluxoJanela, DeleteAsksAboutTheSelectedEntry)
{
    exemplo();
    frmFluxo& f = mostrar();
    gerar("01/03/2024", "31/03/2024");
    f.cmdOK->setFocus();

    // Right after a rebuild the last row is selected.
    msgs.answer(platform::vbNo);
    QTest::keyClick(f.cmdOK, Qt::Key_Delete);
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("Deseja realmente excluir o registro?") + QChar(13) +
                                    QStringLiteral("10,00 - Reembolso"));
    EXPECT_EQ(msgs.last().title, "Confirmação");
    EXPECT_EQ(msgs.last().buttons(), platform::vbYesNo);
    EXPECT_EQ(msgs.last().icon(), platform::vbQuestion);
    EXPECT_TRUE(msgs.last().defaultSecond());
    EXPECT_EQ(data::scalar(ConexaoBanco, "SELECT COUNT(*) FROM Lancamentos").toInt(), 4);
    EXPECT_EQ(f.txtSaldo->text(), "60,00");

    msgs.clear();
    f.flxConsulta->setRow(2);
    msgs.answer(platform::vbYes);
    QTest::keyClick(f.flxConsulta, Qt::Key_Delete);
    EXPECT_EQ(msgs.calls.size(), 1u);
    EXPECT_FALSE(data::findLancamento(ConexaoBanco, 3).has_value());
    EXPECT_EQ(linhas(), (QStringList{"|01/03/2024|Saldo Inicial|100,00", "000002|02/03/2024|Mercado|-30,00",
                                     "|02/03/2024|Saldo|70,00", "000004|03/03/2024|Reembolso|10,00"}));
    EXPECT_EQ(f.txtSaldo->text(), "80,00");

    // A balance row, or an empty period: nothing is asked.
    msgs.clear();
    f.flxConsulta->setRow(3);
    QTest::keyClick(f.flxConsulta, Qt::Key_Delete);
    gerar("01/04/2024", "30/04/2024");
    QTest::keyClick(f.flxConsulta, Qt::Key_Delete);
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_EQ(data::scalar(ConexaoBanco, "SELECT COUNT(*) FROM Lancamentos").toInt(), 3);
}

TEST_F(FluxoJanela, DeleteStillReachesTheDateBox)
{
    lancar(dia(2, 3), QStringLiteral("Conta"), -1000);
    frmFluxo& f = mostrar();
    gerar("01/03/2024", "31/03/2024");
    f.txtDataFinal->setFocus();
    QApplication::processEvents();
    f.txtDataFinal->deselect();
    f.txtDataFinal->setCursorPosition(0);
    msgs.answer(platform::vbNo);
    QTest::keyClick(f.txtDataFinal, Qt::Key_Delete);
    EXPECT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(f.txtDataFinal->Text(), "_1/03/2024");
}

TEST_F(FluxoJanela, RebuildWithABoxLeftInvalidEmptiesTheRegisterAndSaysWhy)
{
    exemplo();
    frmFluxo& f = gerar("01/03/2024", "31/03/2024");
    f.txtDataFinal->setText("__/__/____");
    msgs.answer(platform::vbYes);
    f.flxConsulta->setRow(2);
    f.Form_KeyDown(Qt::Key_Delete);
    EXPECT_FALSE(data::findLancamento(ConexaoBanco, 3).has_value());
    EXPECT_EQ(msgs.lastText(), "Data Final inválida.");
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
    EXPECT_TRUE(f.txtSaldo->text().isEmpty());
    EXPECT_TRUE(positivos().isEmpty());
}

TEST_F(FluxoJanela, BalancesOnlyViewAndBack)
{
    exemplo();
    lancar(dia(5, 3), QStringLiteral("Aluguel"), -20000);
    lancar(dia(6, 3), QStringLiteral("Salário"), 50000);
    frmFluxo& f = gerar("01/03/2024", "31/03/2024");
    const QStringList completa = linhas();
    f.lblSoSaldo_Click();
    EXPECT_EQ(f.lblSoSaldo->toolTip(), "Visualizar todas as colunas");
    EXPECT_EQ(f.flxConsulta->Cols(), 2);
    EXPECT_EQ(f.flxConsulta->TextMatrix(0, 0), "Data");
    EXPECT_EQ(f.flxConsulta->TextMatrix(0, 1), "Valor");
    EXPECT_EQ(linhas(), (QStringList{"01/03/2024|100,00", "02/03/2024|50,00", "03/03/2024|60,00",
                                     "05/03/2024|-140,00"}));
    EXPECT_EQ(f.flxConsulta->Rows(), int(f.ContaSaldo()) + 1);
    EXPECT_EQ(f.flxConsulta->cellForeColor(4, 0), kVermelho);
    EXPECT_EQ(f.flxConsulta->cellForeColor(4, 1), kVermelho);
    EXPECT_NE(f.flxConsulta->cellForeColor(3, 1), kVermelho);
    EXPECT_FALSE(f.flxConsulta->cellBold(1, 1));
    EXPECT_EQ(f.txtSaldo->text(), "360,00");

    f.lblSoSaldo_Click();
    EXPECT_EQ(f.lblSoSaldo->toolTip(), "Visualizar Somente Saldos");
    EXPECT_EQ(linhas(), completa);
}

TEST_F(FluxoJanela, BalancesOnlyViewChecksBothDatesButNotTheirOrder)
{
    lancar(dia(2, 3), QStringLiteral("Conta"), -1000);
    frmFluxo& f = gerar("01/03/2024", "31/03/2024");
    f.txtDataInicial->setText("xx");
    f.lblSoSaldo_Click();
    EXPECT_EQ(msgs.lastText(), "Data Inicial inválida.");
    EXPECT_EQ(f.lblSoSaldo->toolTip(), "Visualizar todas as colunas");
    EXPECT_EQ(f.flxConsulta->Cols(), 4);

    // Reversed dates: an empty view ending on the opening balance.
    f.txtDataInicial->setText("10/03/2024");
    f.txtDataFinal->setText("01/03/2024");
    f.lblSoSaldo_Click();
    EXPECT_EQ(f.flxConsulta->Cols(), 2);
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
    EXPECT_FALSE(f.flxConsulta->isEnabled());
    EXPECT_EQ(f.txtSaldo->text(), "-10,00");

    // The way back is refused too: the view stays.
    msgs.clear();
    f.lblSoSaldo_Click();
    EXPECT_EQ(msgs.lastText(), "Data final menor que a data inicial.");
    EXPECT_EQ(f.flxConsulta->Cols(), 2);
    EXPECT_EQ(f.lblSoSaldo->toolTip(), "Visualizar Somente Saldos");
}

TEST_F(FluxoJanela, PositiveBalancesLargestFirstAndWhereTheyStood)
{
    lancar(dia(1, 2), QStringLiteral("Saldo anterior"), 95000);  // opening 950,00
    lancar(dia(2, 3), QStringLiteral("Bônus"), 25000);           // 1.200,00
    lancar(dia(3, 3), QStringLiteral("Compra"), -25000);         // 950,00
    lancar(dia(4, 3), QStringLiteral("Saldo"), 5000);
    lancar(dia(4, 3), QStringLiteral("Multa"), -105000);         // -50,00
    lancar(dia(5, 3), QStringLiteral("Devolução"), 5000);        // 0,00
    lancar(dia(6, 3), QStringLiteral("Salário"), 30000);         // final 300,00
    frmFluxo& f = gerar("01/03/2024", "31/03/2024");
    // An entry described "Saldo" is not a balance.
    EXPECT_EQ(positivos(), (QStringList{"1.200,00", "950,00", "950,00", "300,00"}));

    f.flxValoresPos->setRow(2);
    f.flxValoresPos_DblClick();
    ASSERT_EQ(msgs.calls.size(), 2u);
    EXPECT_EQ(msgs.calls[0].text, "01/03/2024");
    EXPECT_EQ(msgs.calls[1].text, "03/03/2024");
    EXPECT_EQ(msgs.calls[0].title, "Data");
    EXPECT_EQ(msgs.calls[0].icon(), platform::vbInformation);

    // The final balance has no row: the end of the period is named.
    msgs.clear();
    f.flxValoresPos->setRow(4);
    f.flxValoresPos_DblClick();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "31/03/2024");

    // The same in the balances-only view, which leaves the list as it was.
    f.lblSoSaldo_Click();
    EXPECT_EQ(positivos().size(), 4);
    msgs.clear();
    f.flxValoresPos->setRow(1);
    f.flxValoresPos_DblClick();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "02/03/2024");
}

TEST_F(FluxoJanela, NoPositiveBalanceLeavesTheListEmpty)
{
    lancar(dia(1, 2), QStringLiteral("Dívida"), -5000);
    lancar(dia(2, 3), QStringLiteral("Conta"), -1000);
    frmFluxo& f = gerar("01/03/2024", "31/03/2024");
    EXPECT_EQ(f.flxValoresPos->Rows(), 1);
    EXPECT_EQ(f.flxValoresPos->TextMatrix(0, 0), "Positivos");
    f.flxValoresPos_DblClick();
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(FluxoJanela, LowestBalancePanelFromToday)
{
    lancar(dia(1, 3), QStringLiteral("Salário"), 10000);
    lancar(dia(15, 3), QStringLiteral("Hoje"), -2000);
    lancar(dia(15, 4), QStringLiteral("Fronteira"), -8000);
    lancar(dia(10, 5), QStringLiteral("Tarifa"), -1);
    frmFluxo& f = janela();
    EXPECT_EQ(f.txtDataTempo[0]->text(), "15/03/24");
    EXPECT_EQ(f.txtDataTempo[1]->text(), "15/04/24");
    EXPECT_EQ(f.txtDataTempo[12]->text(), "15/03/25");
    EXPECT_EQ(f.txtValorTempo[0]->text(), "0,00");
    EXPECT_EQ(corTexto(f.txtValorTempo[0]), QColor(255, 255, 255));
    EXPECT_EQ(f.txtValorTempo[1]->text(), "-0,01");
    EXPECT_EQ(corTexto(f.txtValorTempo[1]), QColor(255, 255, 0));
    EXPECT_TRUE(f.txtValorTempo[2]->text().isEmpty());
}

TEST_F(FluxoJanela, LowestBalancePanelKeepsItsDesignWithoutAnEarlierEntry)
{
    lancar(dia(20, 3), QStringLiteral("Futuro"), -100);
    frmFluxo& f = janela();
    EXPECT_EQ(f.txtDataTempo[0]->text(), "mm/dd/aa");
    EXPECT_TRUE(f.txtValorTempo[0]->text().isEmpty());
}

// The editor's side of the register: instalments refresh it whichever
// window opened the editor.
TEST_F(FluxoJanela, InstalmentsFromAQueryRefreshTheRegisterAndLeaveTheQueryInCharge)
{
    const auto n = lancar(dia(10, 3), QStringLiteral("Luz"), -4550, QString::number(luz()));
    frmConsVen& c = platform::Forms::get<frmConsVen>();
    c.txtData1->setText(QStringLiteral("01/03/2024"));
    c.txtData2->setText(QStringLiteral("31/03/2024"));
    c.cmdConsulta_Click();
    ASSERT_FALSE(platform::Forms::isLoaded<frmFluxo>());

    IncluirLancamento = false;
    frmZalteracao& e = platform::Forms::get<frmZalteracao>();
    e.txtNumLan->setText(QString::number(n));
    e.txtDataVen->setText(QStringLiteral("15/03/2024"));
    e.txtValor->setText(QStringLiteral("100"));
    e.txtReferente->setText(QStringLiteral("Geladeira"));
    msgs.answerInput(QStringLiteral("2"));
    e.cmdParcelas_Click();
    EXPECT_EQ(msgs.lastText(), "Parcelas lançadas com sucesso!");

    ASSERT_TRUE(platform::Forms::isLoaded<frmFluxo>());
    frmFluxo& f = janela();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(linha(4), "000002|15/03/2024|Geladeira Parc. 1/2|-50,00");
    EXPECT_EQ(NomeConsultaAtiva, "Consulta por Vencimento");
    EXPECT_FALSE(IncluirLancamento);

    // A later save from the query refreshes the query.
    frmZalteracao& e2 = platform::Forms::get<frmZalteracao>();
    e2.txtNumLan->setText(QString::number(n));
    e2.txtValor->setText(QStringLiteral("70"));
    e2.cmdGravaLan_Click();
    EXPECT_EQ(c.txtSaldo2->text(), "-120,00");
}

TEST_F(FluxoJanela, RegisterLoadedHiddenTakesOverTheRefreshWhenShown)
{
    const auto n = lancar(dia(10, 3), QStringLiteral("Luz"), -4550, QString::number(luz()));
    janela();
    platform::Forms::get<frmConsVen>();
    ASSERT_EQ(NomeConsultaAtiva, "Consulta por Vencimento");

    ModalHook hook;
    hook.on<frmFluxo>([](frmFluxo& f) {
        f.flxConsulta->setRow(2);
        f.flxConsulta_DblClick();
    });
    hook.on<frmZalteracao>([](frmZalteracao& e) {
        e.txtValor->setText(QStringLiteral("80"));
        e.cmdGravaLan_Click();
    });
    platform::Forms::show<frmFluxo>();
    EXPECT_EQ(data::findLancamento(ConexaoBanco, n)->valor, -8000);
    EXPECT_EQ(linha(2), "000001|10/03/2024|Luz|-80,00");
}

TEST_F(FluxoJanela, InstalmentsFromTheRegisterRebuildIt)
{
    const auto n = lancar(dia(10, 3), QStringLiteral("Luz"), -4550, QString::number(luz()));
    ModalHook hook;
    hook.on<frmZalteracao>([&](frmZalteracao& e) {
        e.txtDataVen->setText(QStringLiteral("15/03/2024"));
        e.txtValor->setText(QStringLiteral("30"));
        e.txtReferente->setText(QStringLiteral("Curso"));
        msgs.answerInput(QStringLiteral("3"));
        e.cmdParcelas_Click();
    });
    frmFluxo& f = gerar("01/03/2024", "31/03/2024");
    f.flxConsulta->setRow(2);
    f.flxConsulta_DblClick();
    EXPECT_EQ(data::findLancamento(ConexaoBanco, n)->valor, -4550);
    EXPECT_EQ(linhas(), (QStringList{"|10/03/2024|Saldo Inicial|0,00", "000001|10/03/2024|Luz|-45,50",
                                     "|10/03/2024|Saldo|-45,50", "000002|15/03/2024|Curso Parc. 1/3|-10,00"}));
    EXPECT_EQ(NomeConsultaAtiva, "Fluxo de Lançamentos");
}

namespace {
class FluxoPrincipal : public testsupport::AppFixture {};
} // namespace

TEST_F(FluxoPrincipal, MenuAndToolbarKeyGOpenTheRegister)
{
    createAccount(QStringLiteral("Casa"));
    registrarJanelas();
    std::vector<QString> titulos;
    hook.on<frmFluxo>([&](frmFluxo& f) {
        titulos.push_back(f.windowTitle());
        QTest::keyClick(&f, Qt::Key_Escape);
    });
    frmPrincipal& p = iniciar();
    p.Toolbar1_ButtonClick(QStringLiteral("G"));
    EXPECT_FALSE(platform::Forms::isLoaded<frmFluxo>());
    p.mnuFluxo->trigger();
    EXPECT_EQ(titulos, (std::vector<QString>(2, QStringLiteral("Fluxo de Caixa - Banco ativo: ''C:\\Casa''"))));
}
