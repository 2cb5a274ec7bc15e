// The structured query.
#include "OrdemFixture.h"

#include "platform/MaskEdBox.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using testsupport::MsgRecorder;

namespace {

class ConsEstr : public OrdemFixture {
protected:
    static frmConsEstr& janela() { return platform::Forms::get<frmConsEstr>(); }

    static void consultar(const QString& tipo, const QStringList& classificacoes = {},
                          const QString& inicio = QStringLiteral("01/03/2024"),
                          const QString& fim = QStringLiteral("31/03/2024"))
    {
        frmConsEstr& f = janela();
        f.txtTipo2->setCurrentText(tipo);
        QComboBox* listas[] = {f.txtDespesa1, f.txtDespesa2, f.txtDespesa3};
        for (int i = 0; i < 3; ++i)
            listas[i]->setCurrentText(i < classificacoes.size() ? classificacoes[i] : QString());
        f.txtDataVen1->setText(inicio);
        f.txtDataVen2->setText(fim);
        f.cmdConsulta->click();
    }

    static QStringList referentes() { return coluna(*janela().flxConsulta, 3); }

    void lancarMarco()
    {
        lancar(QStringLiteral("mercado"), -10000, {2024, 3, 5}, "Supermercado");
        lancar(QStringLiteral("pão"), -1550, {2024, 3, 6}, "Padaria");
        lancar(QStringLiteral("luz"), -20000, {2024, 3, 7}, "Energia Elétrica");
        lancar(QStringLiteral("salário"), 500000, {2024, 3, 8}, "Salário");
        lancar(QStringLiteral("abril"), -999, {2024, 4, 1}, "Supermercado");
    }
};

} // namespace

TEST_F(ConsEstr, LoadSelectsSaidaWithItsClassificationsInCodeOrder)
{
    frmConsEstr& f = janela();
    EXPECT_EQ(NomeConsultaAtiva, "Consulta Estruturada");
    EXPECT_EQ(f.windowTitle(), "Consulta por tipo de Classificação e Datas - Banco ativo: ''C:\\Casa''");
    EXPECT_EQ(f.txtTipo2->currentText(), "Saída");
    EXPECT_EQ(f.TipoConsulta, "1");
    EXPECT_FALSE(f.cmdOrdem->isEnabled());
    for (QLabel* l : {f.txtMedia, f.txtMaior, f.txtMenor})
        EXPECT_EQ(l->text(), "0,00");

    const auto saidas = data::classificacoes(ConexaoBanco, data::kDespesaSaida, data::OrdemDespesas::PorCodigo);
    for (QComboBox* nomes : {f.txtDespesa1, f.txtDespesa2, f.txtDespesa3}) {
        ASSERT_EQ(nomes->count(), int(saidas.size()) + 1);
        EXPECT_EQ(nomes->itemText(0), "");
        EXPECT_EQ(nomes->currentIndex(), -1);
        EXPECT_EQ(nomes->itemText(1), saidas.front().nome);
    }
    f.txtDespesa2->setCurrentText(QStringLiteral("Padaria"));
    EXPECT_EQ(f.txtCodDesp2->currentText(), QString::number(codigo("Padaria")));
    f.txtDespesa2->setCurrentIndex(0);
    EXPECT_EQ(f.txtCodDesp2->currentText(), "");

    // Another side empties the choices and lists its own classifications.
    f.txtDespesa1->setCurrentText(QStringLiteral("Padaria"));
    f.txtTipo2->setCurrentText(QStringLiteral("Entrada"));
    EXPECT_EQ(f.TipoConsulta, "2");
    EXPECT_EQ(f.txtDespesa1->currentText(), "");
    EXPECT_EQ(f.txtCodDesp1->currentText(), "");
    EXPECT_NE(f.txtDespesa1->findText(QStringLiteral("Salário")), -1);
    EXPECT_EQ(f.txtDespesa1->findText(QStringLiteral("Padaria")), -1);
    f.txtTipo2->setCurrentText(QStringLiteral("Ambos"));
    EXPECT_EQ(f.TipoConsulta, "0");
    EXPECT_EQ(f.txtDespesa3->count(), 1);
}

TEST_F(ConsEstr, SidesAndClassificationsSelectTheEntriesOfThePeriod)
{
    MsgRecorder msgs;
    lancarMarco();
    // An exit without a classification code: a list left empty asks for it.
    data::Lancamento semCodigo = novoLancamento({2024, 3, 9}, QStringLiteral("sem código"), -300, QStringLiteral(""),
                                                QStringLiteral("Alimentação"));
    gravar(semCodigo);
    const struct {
        QString tipo;
        QStringList classificacoes;
        QStringList esperado;
    } casos[] = {
        {"Saída", {}, {"mercado", "pão", "luz", "sem código"}},
        {"Entrada", {}, {"salário"}},
        {"Ambos", {}, {"mercado", "pão", "luz", "salário", "sem código"}},
        {"Saída", {"", "Padaria"}, {"pão", "sem código"}},
        {"Saída", {"Energia Elétrica"}, {"luz", "sem código"}},
        {"Saída", {"Padaria", "Energia Elétrica", "Padaria"}, {"pão", "luz"}},
    };
    for (const auto& caso : casos) {
        consultar(caso.tipo, caso.classificacoes);
        EXPECT_EQ(referentes(), caso.esperado) << caso.tipo.toStdString() << caso.classificacoes.join(',').toStdString();
    }
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(ConsEstr, TotalsAverageWithoutSignAndLargestAndSmallestAmounts)
{
    MsgRecorder msgs;
    lancarMarco();
    consultar(QStringLiteral("Saída"));
    frmConsEstr& f = janela();
    EXPECT_EQ(f.txtLanc->text(), "3 Lançamento(s)");
    EXPECT_EQ(f.txtSaldo2->text(), "-315,50");
    EXPECT_EQ(f.txtMedia->text(), "105,17");
    EXPECT_EQ(f.txtMaior->text(), "200,00");
    EXPECT_EQ(f.txtMenor->text(), "15,50");
    EXPECT_TRUE(f.cmdOrdem->isEnabled());
    // Finding the extremes leaves the order of later queries alone.
    EXPECT_EQ(frmConsEstr::ClausulaOrdem, " order by DataVen, Referente");
    platform::FlexGrid& g = *f.flxConsulta;
    EXPECT_EQ(g.TextMatrix(1, 1), "04/03/2024");
    EXPECT_EQ(g.TextMatrix(1, 2), "05/03/2024");
    EXPECT_EQ(g.TextMatrix(1, 4), "-100,00");

    // Nothing found: empty count, zeros, disabled grid; "Ordem" stays.
    consultar(QStringLiteral("Saída"), {}, QStringLiteral("01/01/2023"), QStringLiteral("31/01/2023"));
    EXPECT_EQ(f.txtLanc->text(), "");
    EXPECT_FALSE(g.isEnabled());
    EXPECT_EQ(g.Rows(), 1);
    for (QLabel* l : {f.txtSaldo2, f.txtMedia, f.txtMaior, f.txtMenor})
        EXPECT_EQ(l->text(), "0,00");
    EXPECT_TRUE(f.cmdOrdem->isEnabled());
}

TEST_F(ConsEstr, BothDatesAreRequired)
{
    MsgRecorder msgs;
    const struct {
        QString inicio, fim, mensagem;
        bool focoNoInicio;
    } casos[] = {
        {"", "31/03/2024", "Data inicial inválida", true},
        {"30/02/2024", "31/03/2024", "Data inicial inválida", true},
        {"01/03/2024", "", "Data final inválida", false},
    };
    for (const auto& caso : casos) {
        for (bool subtotal : {false, true}) {
            msgs.clear();
            janela().txtDataVen1->setText(caso.inicio);
            janela().txtDataVen2->setText(caso.fim);
            (subtotal ? janela().cmdSubTotal : janela().cmdConsulta)->click();
            ASSERT_EQ(msgs.calls.size(), 1u);
            EXPECT_EQ(msgs.last().text, caso.mensagem);
            EXPECT_EQ(msgs.last().title, "Atenção,");
            EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
            QWidget* foco = caso.focoNoInicio ? static_cast<QWidget*>(janela().txtDataVen1) : janela().txtDataVen2;
            EXPECT_EQ(janela().focusWidget(), foco);
        }
    }
}

TEST_F(ConsEstr, SubtotalViewResetsTheOrderAndColoursNegativeMonths)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("a"), -1000, {2024, 1, 10});
    lancar(QStringLiteral("b"), -500, {2024, 1, 20});
    lancar(QStringLiteral("c"), -300, {2024, 2, 1});
    frmConsEstr::ClausulaOrdem = QStringLiteral(" Order By Valor Desc");
    frmConsEstr& f = janela();
    consultar(QStringLiteral("Saída"), {}, QStringLiteral("01/01/2024"), QStringLiteral("29/02/2024"));
    EXPECT_EQ(referentes(), (QStringList{"c", "b", "a"}));
    f.txtMedia->setText(QStringLiteral("9,99"));

    f.cmdSubTotal->click();
    EXPECT_EQ(frmConsEstr::ClausulaOrdem, " order by DataVen, Referente");
    EXPECT_EQ(referentes(), (QStringList{"a", "b", "Janeiro/24", "c", "Fevereiro/24"}));
    platform::FlexGrid& g = *f.flxConsulta;
    EXPECT_EQ(g.TextMatrix(3, 4), "-15,00");
    EXPECT_EQ(g.cellForeColor(3, 4), QColor(255, 0, 0));
    EXPECT_EQ(g.cellForeColor(5, 4), QColor(0, 0, 0));
    EXPECT_EQ(f.txtLanc->text(), "");
    EXPECT_EQ(f.txtSaldo2->text(), "-18,00");
    EXPECT_EQ(f.txtMedia->text(), "9,99");
    double meses = 0;
    f.ContaSaldo(meses);
    EXPECT_EQ(meses, 2);

    // One month only: the entries and one subtotal row at the end.
    f.txtDataVen2->setText(QStringLiteral("31/01/2024"));
    f.cmdSubTotal->click();
    EXPECT_EQ(g.Rows(), 2 + 2);
    // The order stays by due date after the subtotal view.
    f.cmdConsulta->click();
    EXPECT_EQ(referentes(), (QStringList{"a", "b"}));

    // A period without entries: the header alone, a disabled grid, and the
    // total of the last list stays.
    f.txtDataVen1->setText(QStringLiteral("01/06/2024"));
    f.txtDataVen2->setText(QStringLiteral("30/06/2024"));
    f.cmdSubTotal->click();
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_FALSE(g.isEnabled());
    EXPECT_EQ(f.txtSaldo2->text(), "-15,00");
    EXPECT_EQ(f.txtLanc->text(), "");
}

TEST_F(ConsEstr, DateBoxKeysAndLabelClicks)
{
    frmConsEstr& f = janela();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.txtDataVen1->setText(QStringLiteral("31/01/2024"));
    f.txtDataVen1->setFocus();
    QTest::keyClick(f.txtDataVen1, Qt::Key_PageUp);
    EXPECT_EQ(f.txtDataVen1->Text(), "29/02/2024");
    QTest::keyClick(f.txtDataVen1, Qt::Key_PageDown);
    EXPECT_EQ(f.txtDataVen1->Text(), "29/01/2024");
    f.txtDataVen2->setText(QString());
    QTest::keyClick(f.txtDataVen2, Qt::Key_PageUp);
    EXPECT_EQ(f.txtDataVen2->Text(), "__/__/____");

    QTest::mouseClick(f.lblDataI, Qt::LeftButton);
    EXPECT_EQ(f.txtDataVen1->Text(), "01/01/2024");
    QTest::mouseClick(f.lblDataF, Qt::LeftButton);
    EXPECT_EQ(f.txtDataVen2->Text(), "31/12/2024");
    EXPECT_EQ(f.focusWidget(), f.cmdConsulta);
}
