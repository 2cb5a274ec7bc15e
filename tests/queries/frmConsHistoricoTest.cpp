// The query by description text.
#include "OrdemFixture.h"

#include "Janelas.h"
#include "app/frmPrincipal.h"
#include "entries/frmZalteracao.h"
#include "platform/MaskEdBox.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using testsupport::MsgRecorder;

namespace {

class ConsHistorico : public OrdemFixture {
protected:
    static frmConsHistorico& janela() { return platform::Forms::get<frmConsHistorico>(); }

    static void consultar(const QString& texto, int modo = 1, const QString& inicio = QString(),
                          const QString& fim = QString(), const QString& letra = QString())
    {
        frmConsHistorico& f = janela();
        f.optConsulta[size_t(modo)]->setChecked(true);
        f.txtConsulta->setText(texto);
        f.txtDataVen1->setText(inicio);
        f.txtDataVen2->setText(fim);
        f.txtFiltro->setCurrentText(letra);
        f.cmdConsulta->click();
    }

    static QStringList referentes() { return coluna(*janela().flxConsulta, 4); }
};

} // namespace

TEST_F(ConsHistorico, MainWindowOpensTheDescriptionAndStructuredQueries)
{
    registrarJanelas();
    EXPECT_TRUE(frmPrincipal::janelaRegistrada(QStringLiteral("frmConsHistorico")));
    EXPECT_TRUE(frmPrincipal::janelaRegistrada(QStringLiteral("frmConsEstr")));
}

TEST_F(ConsHistorico, LoadNamesTheWindowAndStartsFromTheDesign)
{
    frmConsHistorico& f = janela();
    EXPECT_EQ(NomeConsultaAtiva, "Consulta por Histórico");
    EXPECT_EQ(f.windowTitle(), "Consulta por Histórico - Banco ativo: ''C:\\Casa''");
    EXPECT_TRUE(f.optConsulta[1]->isChecked());
    EXPECT_EQ(f.txtFiltro->count(), 27);
    EXPECT_EQ(f.txtFiltro->itemText(0), "");
    EXPECT_EQ(f.txtFiltro->itemText(26), "Z");
    EXPECT_FALSE(f.cmdOrdem->isEnabled());
    EXPECT_EQ(f.txtLanc->text(), "");
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
    // The hidden lists pair every classification's name with its code.
    ASSERT_GT(f.txtDespesa->count(), 10);
    ASSERT_EQ(f.txtDespesa->count(), f.txtCodDesp->count());
    const int i = f.txtDespesa->findText(QStringLiteral("Padaria"));
    EXPECT_EQ(f.txtCodDesp->itemText(i), QString::number(codigo("Padaria")));
}

// Shown, the window takes a search typed at once whole, blanks included,
// with "Contenha:" still chosen.
TEST_F(ConsHistorico, ASearchTypedAtOnceLandsWholeInTheBox)
{
    testsupport::ModalHook hook;
    hook.on<frmConsHistorico>([](frmConsHistorico& f) {
        ASSERT_TRUE(QApplication::focusWidget());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Pao da"));
        EXPECT_EQ(f.txtConsulta->text(), QStringLiteral("Pao da"));
        EXPECT_TRUE(f.optConsulta[1]->isChecked());
        f.Unload();
    });
    platform::Forms::show<frmConsHistorico>();
}

TEST_F(ConsHistorico, MatchModesPatternsAndTypedApostrophes)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("Conta de luz"), -100, {2024, 3, 1});
    lancar(QStringLiteral("luz do dia"), -100, {2024, 3, 2});
    lancar(QStringLiteral("LUZ"), -100, {2024, 3, 3});
    lancar(QStringLiteral(""), -100, {2024, 3, 4});
    lancar(QStringLiteral("Pão d'Ouro 50%"), -100, {2024, 3, 5});
    lancar(QStringLiteral("Pão francês"), -100, {2024, 3, 6});
    const struct {
        int modo;
        QString texto;
        QStringList esperado;
    } casos[] = {
        {1, "luz", {"Conta de luz", "luz do dia", "LUZ"}},
        {0, "luz", {"luz do dia", "LUZ"}},
        {2, "luz", {"LUZ"}},
        {2, "l_z", {"LUZ"}},
        {0, "%dia", {"luz do dia"}},
        {1, "", {"Conta de luz", "luz do dia", "LUZ", "", "Pão d'Ouro 50%", "Pão francês"}},
        {2, "", {""}},
        {1, "d'ouro", {"Pão d'Ouro 50%"}},
        {1, "PÃO", {"Pão d'Ouro 50%", "Pão francês"}},
        {1, "'; DELETE FROM Lancamentos; --", {}},
    };
    for (const auto& caso : casos) {
        consultar(caso.texto, caso.modo);
        EXPECT_EQ(referentes(), caso.esperado) << caso.texto.toStdString();
    }
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM Lancamentos")).toInt(), 6);
}

TEST_F(ConsHistorico, PeriodNeedsBothDatesAndLetterNarrows)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("luz fevereiro"), -100, {2024, 2, 29}, nullptr, QStringLiteral("B"));
    lancar(QStringLiteral("luz março"), -200, {2024, 3, 1}, nullptr, QStringLiteral("B"));
    lancar(QStringLiteral("luz março A"), -300, {2024, 3, 31}, nullptr, QStringLiteral("A"));
    lancar(QStringLiteral("luz abril"), -400, {2024, 4, 1}, nullptr, QStringLiteral("B"));
    const struct {
        QString inicio, fim, letra;
        QStringList esperado;
    } casos[] = {
        {"01/03/2024", "31/03/2024", "", {"luz março", "luz março A"}},
        {"01/03/2024", "31/03/2024", "B", {"luz março"}},
        {"01/03/2024", "", "", {"luz fevereiro", "luz março", "luz março A", "luz abril"}},
        {"", "", "B", {"luz fevereiro", "luz março", "luz abril"}},
        {"31/03/2024", "01/03/2024", "", {}},
    };
    for (const auto& caso : casos) {
        consultar(QStringLiteral("luz"), 1, caso.inicio, caso.fim, caso.letra);
        EXPECT_EQ(referentes(), caso.esperado) << caso.inicio.toStdString() << " " << caso.letra.toStdString();
    }
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(ConsHistorico, InvalidDatesStopTheQueryAndKeepTheList)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("luz"), -100, {2024, 3, 1});
    consultar(QStringLiteral("luz"));
    ASSERT_EQ(referentes(), QStringList{"luz"});
    const struct {
        QString inicio, fim, mensagem;
        bool focoNoInicio;
    } casos[] = {
        {"12/03", "", "Data inicial inválida.", true},
        {"31/02/2024", "31/03/2024", "Data inicial inválida.", true},
        {"01/03/2024", "32/03/2024", "Data final inválida.", false},
    };
    for (const auto& caso : casos) {
        msgs.clear();
        consultar(QStringLiteral("nada"), 1, caso.inicio, caso.fim);
        ASSERT_EQ(msgs.calls.size(), 1u);
        EXPECT_EQ(msgs.last().text, caso.mensagem);
        EXPECT_EQ(msgs.last().title, "Atenção,");
        EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
        QWidget* foco = caso.focoNoInicio ? static_cast<QWidget*>(janela().txtDataVen1) : janela().txtDataVen2;
        EXPECT_EQ(janela().focusWidget(), foco);
        EXPECT_EQ(referentes(), QStringList{"luz"});
    }
}

TEST_F(ConsHistorico, GridShowsLayoutBWithNamesLettersAndForecastsInBlue)
{
    MsgRecorder msgs;
    const auto n = lancar(QStringLiteral("luz (previsão)"), -12345, {2024, 3, 8}, "Energia Elétrica",
                          QStringLiteral("C"));
    lancar(QStringLiteral("luz paga"), 50000, {2024, 3, 9});
    consultar(QStringLiteral("luz"));
    platform::FlexGrid& g = *janela().flxConsulta;
    ASSERT_EQ(g.Rows(), 3);
    const QStringList linha1 = {QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0')), "08/03/2024", "C",
                                "Energia Elétrica", "luz (previsão)", "-123,45"};
    for (int col = 0; col < 6; ++col)
        EXPECT_EQ(g.TextMatrix(1, col), linha1[col]) << col;
    EXPECT_EQ(g.cellForeColor(1, 4), QColor(0, 0, 255));
    EXPECT_EQ(g.cellForeColor(2, 4), QColor(0, 0, 0));
    EXPECT_EQ(g.cellBackColor(2, 0), QColor(225, 255, 255));
    EXPECT_EQ(janela().txtLanc->text(), "2 Lançamento(s)");
    EXPECT_EQ(janela().txtSaldo2->text(), "376,55");
    EXPECT_TRUE(janela().cmdOrdem->isEnabled());

    // Marking the forecast's description turns it red, a second "+" black.
    g.setRow(1);
    g.setCol(4);
    QTest::keyClick(&g, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(g.cellForeColor(1, 4), QColor(255, 0, 0));
    QTest::keyClick(&g, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(g.cellForeColor(1, 4), QColor(0, 0, 0));

    // Nothing found: count 0, total 0,00, a disabled grid; "Ordem" stays.
    consultar(QStringLiteral("inexistente"));
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_FALSE(g.isEnabled());
    EXPECT_EQ(janela().txtLanc->text(), "0 Lançamento(s)");
    EXPECT_EQ(janela().txtSaldo2->text(), "0,00");
    EXPECT_TRUE(janela().cmdOrdem->isEnabled());
}

TEST_F(ConsHistorico, RunningSumAndOrderLastAcrossReopening)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("luz a"), -1000, {2024, 1, 10});
    lancar(QStringLiteral("luz b"), -3000, {2024, 2, 10});
    frmConsHistorico::ClausulaOrdem = QStringLiteral(" Order By Valor");
    consultar(QStringLiteral("luz"));
    EXPECT_EQ(referentes(), (QStringList{"luz b", "luz a"}));
    msgs.answerInput(QStringLiteral("2,5"));
    QTest::keyClick(janela().flxConsulta, Qt::Key_Insert);
    fechar<frmConsHistorico>();

    consultar(QStringLiteral("luz"));
    EXPECT_EQ(referentes(), (QStringList{"luz b", "luz a"}));
    platform::FlexGrid& g = *janela().flxConsulta;
    g.setRow(1);
    g.setCol(5);
    QTest::keyClick(&g, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(&g, Qt::Key_F12);
    EXPECT_EQ(msgs.last().text, "32,50");
    EXPECT_EQ(msgs.last().title, "Total");
}

TEST_F(ConsHistorico, SubtotalViewFollowsTheChosenOrderAndLeavesTheCount)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("a jan"), -100, {2024, 1, 5}, nullptr, QStringLiteral("B"));
    lancar(QStringLiteral("b fev"), -200, {2024, 2, 5}, nullptr, QStringLiteral("A"));
    lancar(QStringLiteral("c jan"), -400, {2024, 1, 20}, nullptr, QStringLiteral("B"));
    lancar(QStringLiteral("d mar"), -800, {2024, 3, 5}, nullptr, QStringLiteral("B"));
    consultar(QString());
    ASSERT_EQ(janela().txtLanc->text(), "4 Lançamento(s)");

    // Ordered by description, one month comes back and gets a second run.
    frmConsHistorico::ClausulaOrdem = QStringLiteral(" Order By Referente");
    janela().cmdSubTotal->click();
    platform::FlexGrid& g = *janela().flxConsulta;
    EXPECT_EQ(coluna(g, 4), (QStringList{"a jan", "Janeiro/24", "b fev", "Fevereiro/24", "c jan", "Janeiro/24",
                                         "d mar", "Março/24"}));
    EXPECT_EQ(g.cellForeColor(2, 5), QColor(0, 0, 0));
    EXPECT_EQ(janela().txtLanc->text(), "4 Lançamento(s)");
    EXPECT_EQ(janela().txtSaldo2->text(), "-15,00");
    double meses = 0;
    janela().ContaSaldo(meses);
    EXPECT_EQ(meses, 4);

    // A letter that removes a whole month: one row per entry and per run.
    frmConsHistorico::ClausulaOrdem.clear();
    janela().txtFiltro->setCurrentText(QStringLiteral("B"));
    janela().Lancamentos();
    EXPECT_EQ(coluna(g, 4), (QStringList{"a jan", "c jan", "Janeiro/24", "d mar", "Março/24"}));
    EXPECT_EQ(frmConsHistorico::ClausulaOrdem, " order by DataVen, Referente");

    ASSERT_EQ(janela().txtSaldo2->text(), "-13,00");

    // Nothing found: the grid keeps its header only, disabled, and the count
    // and the total stay as they were.
    janela().txtFiltro->setCurrentText(QStringLiteral("Z"));
    janela().Lancamentos();
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_FALSE(g.isEnabled());
    EXPECT_EQ(janela().txtLanc->text(), "4 Lançamento(s)");
    EXPECT_EQ(janela().txtSaldo2->text(), "-13,00");
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(ConsHistorico, EditorSaveRefreshesTheList)
{
    MsgRecorder msgs;
    const auto n = lancar(QStringLiteral("luz"), -100, {2024, 3, 1});
    consultar(QStringLiteral("luz"));
    ASSERT_EQ(referentes(), QStringList{"luz"});
    auto l = *data::findLancamento(ConexaoBanco, n);
    l.referente = QStringLiteral("luz corrigida");
    data::updateLancamento(ConexaoBanco, l);
    frmZalteracao::AtualizarConsulta(NomeConsultaAtiva);
    EXPECT_EQ(referentes(), QStringList{"luz corrigida"});
}
