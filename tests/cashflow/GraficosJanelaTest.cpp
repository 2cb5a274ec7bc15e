// The charts window: its fields and checks, and what its chart and group
// grid show once drawn.
#include "GraficosFixture.h"
#include "Janelas.h"
#include "app/AppFixture.h"
#include "cashflow/frmGraficos.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QRegularExpression>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using testsupport::MsgRecorder;

namespace {

class GraficosJanela : public GraficosFixture {
protected:
    static QDate d_(int mes) { return QDate(2024, mes, 10); }

    static frmGraficos& janela() { return platform::Forms::get<frmGraficos>(); }

    // The chart's picture once it has settled. The chart, its scene and the
    // window's layout follow one another in posted events, some of which
    // change nothing in sight: it is grabbed until three rounds of them in a
    // row leave the picture as it was.
    static QImage assentado(QWidget* grafico)
    {
        QImage anterior;
        int iguais = 0;
        EXPECT_TRUE(QTest::qWaitFor([&] {
            const QImage atual = grafico->grab().toImage();
            iguais = atual == anterior ? iguais + 1 : 0;
            anterior = atual;
            return iguais == 3;
        }));
        return anterior;
    }

    static QStringList itens(QComboBox* lista)
    {
        QStringList out;
        for (int i = 0; i < lista->count(); ++i)
            out << lista->itemText(i);
        return out;
    }

    static void escolher(QComboBox* lista, const QString& nome) { lista->setCurrentIndex(lista->findText(nome)); }

    // What the chart shows: the categories under the bars, the series with
    // their legend texts and values, and the legend entries in sight.
    static QBarSeries* serie()
    {
        const auto series = janela().chtGrafico->chart()->series();
        return series.isEmpty() ? nullptr : qobject_cast<QBarSeries*>(series.front());
    }
    static QStringList categorias()
    {
        const auto eixos = janela().chtGrafico->chart()->axes(Qt::Horizontal);
        QStringList out;
        for (const QString& c : qobject_cast<QBarCategoryAxis*>(eixos.front())->categories())
            out << QString(c).remove(QChar(0x200B));
        return out;
    }
    static std::vector<double> barras(int conjunto)
    {
        std::vector<double> out;
        QBarSet* s = serie()->barSets().at(conjunto);
        for (int i = 0; i < s->count(); ++i)
            out.push_back(s->at(i));
        return out;
    }
    static QStringList legenda()
    {
        QStringList out;
        // The legend lays its entries out once the chart is on screen.
        janela().show();
        QApplication::processEvents();
        QLegend* l = janela().chtGrafico->chart()->legend();
        if (!l->isVisible())
            return out;
        for (QLegendMarker* m : l->markers())
            if (m->isVisible())
                out << m->label();
        return out;
    }
    static QStringList um_a_doze()
    {
        QStringList out;
        for (int i = 1; i <= 12; ++i)
            out << QString::number(i);
        return out;
    }
};

} // namespace

TEST_F(GraficosJanela, OpensWithNoKindChosenAndTheOutgoingClassificationsInTableOrder)
{
    frmGraficos& f = janela();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Geração de Gráficos - Banco ativo: ''C:\\Casa''"));
    for (auto* opcao : {f.optDespesa, f.optCompara, f.optEntraSai, f.optGrupoContas})
        EXPECT_FALSE(opcao->isChecked());
    EXPECT_FALSE(f.cmdGerarGrafico->isEnabled());
    EXPECT_EQ(f.txtTipo->currentText(), QStringLiteral("Saída"));
    EXPECT_EQ(f.txtAno->text(), QStringLiteral("2023"));
    EXPECT_EQ(f.txtDataVen1->Text(), QStringLiteral("__/__/____"));

    QStringList saidas{QString()};
    QStringList codigos{QString()};
    for (const auto& d : data::classificacoes(ConexaoBanco, data::kDespesaSaida, data::OrdemDespesas::PorCodigo)) {
        saidas << d.nome;
        codigos << QString::number(d.codigo);
    }
    for (auto* nomes : {f.txtDespesa1, f.txtDespesa2, f.txtDespesa3}) {
        EXPECT_EQ(itens(nomes), saidas);
        EXPECT_TRUE(nomes->currentText().isEmpty());
    }
    EXPECT_EQ(itens(f.txtCodDesp2), codigos);
    EXPECT_EQ(f.larguraGraficoTwips(), 14415);
    EXPECT_TRUE(f.flxDespesas->isHidden());
}

TEST_F(GraficosJanela, ChoosingASideRefillsEveryPickerAndANameSelectsItsCode)
{
    frmGraficos& f = janela();
    f.optDespesa->click();
    escolher(f.txtDespesa1, QStringLiteral("Padaria"));
    escolher(f.txtDespesa3, QStringLiteral("Gás"));
    EXPECT_EQ(f.txtCodDesp1->currentText(), QString::number(codigo(QStringLiteral("Padaria"))));
    EXPECT_EQ(f.txtCodDesp3->currentText(), QString::number(codigo(QStringLiteral("Gás"))));

    f.txtTipo->setCurrentText(QStringLiteral("Entrada"));
    QStringList entradas{QString()};
    for (const auto& d : data::classificacoes(ConexaoBanco, data::kDespesaEntrada, data::OrdemDespesas::PorCodigo))
        entradas << d.nome;
    for (auto* nomes : {f.txtDespesa1, f.txtDespesa2, f.txtDespesa3}) {
        EXPECT_EQ(itens(nomes), entradas);
        EXPECT_TRUE(nomes->currentText().isEmpty());
    }
    for (auto* codigos : {f.txtCodDesp1, f.txtCodDesp2, f.txtCodDesp3})
        EXPECT_TRUE(codigos->currentText().isEmpty());

    escolher(f.txtDespesa2, QStringLiteral("Salário"));
    EXPECT_EQ(f.txtCodDesp2->currentText(), QString::number(codigo(QStringLiteral("Salário"))));
    f.txtDespesa2->setCurrentIndex(0);
    EXPECT_TRUE(f.txtCodDesp2->currentText().isEmpty());
}

TEST_F(GraficosJanela, EachKindShowsItsOwnFieldsAndResetsTheChart)
{
    frmGraficos& f = janela();
    struct Caso {
        QRadioButton* opcao;
        bool tipo, datas, despesa1, despesas23, ano;
    };
    const Caso casos[] = {
        {f.optDespesa, true, true, true, false, false},
        {f.optCompara, true, false, true, true, true},
        {f.optEntraSai, false, true, false, false, false},
        {f.optGrupoContas, false, true, false, false, false},
    };
    for (const Caso& c : casos) {
        c.opcao->click();
        SCOPED_TRACE(c.opcao->text().toStdString());
        EXPECT_TRUE(f.cmdGerarGrafico->isEnabled());
        EXPECT_EQ(!f.txtTipo->isHidden(), c.tipo);
        EXPECT_EQ(!f.lblTipo->isHidden(), c.tipo);
        EXPECT_EQ(!f.txtDataVen2->isHidden(), c.datas);
        EXPECT_EQ(!f.lblDataVen1->isHidden(), c.datas);
        EXPECT_EQ(!f.txtDespesa1->isHidden(), c.despesa1);
        EXPECT_EQ(!f.txtDespesa3->isHidden(), c.despesas23);
        EXPECT_EQ(!f.lblDespesa2->isHidden(), c.despesas23);
        EXPECT_EQ(!f.txtAno->isHidden(), c.ano);
        EXPECT_EQ(!f.txtAnoAvan->isHidden(), c.ano);
        EXPECT_EQ(categorias(), um_a_doze());
        EXPECT_EQ(barras(0), std::vector<double>(12, 0.0));
        EXPECT_TRUE(legenda().isEmpty());
        EXPECT_EQ(f.larguraGraficoTwips(), 14415);
    }
}

TEST_F(GraficosJanela, DateLabelsPageKeysAndYearArrows)
{
    frmGraficos& f = janela();
    f.optDespesa->click();
    QTest::mouseClick(f.lblDataVen1, Qt::LeftButton);
    QTest::mouseClick(f.lblDataVen2, Qt::LeftButton);
    EXPECT_EQ(f.txtDataVen1->Text(), QStringLiteral("01/01/2024"));
    EXPECT_EQ(f.txtDataVen2->Text(), QStringLiteral("31/12/2024"));

    const struct {
        QString antes;
        Qt::Key tecla;
        QString depois;
    } casos[] = {
        {QStringLiteral("31/01/2025"), Qt::Key_PageUp, QStringLiteral("28/02/2025")},
        {QStringLiteral("31/03/2024"), Qt::Key_PageDown, QStringLiteral("29/02/2024")},
        {QStringLiteral("15/12/2024"), Qt::Key_PageUp, QStringLiteral("15/01/2025")},
        {QString(), Qt::Key_PageUp, QStringLiteral("__/__/____")},
        {QStringLiteral("15/12/9999"), Qt::Key_PageUp, QStringLiteral("15/12/9999")},
        {QStringLiteral("15/01/0001"), Qt::Key_PageDown, QStringLiteral("15/01/0001")},
    };
    for (const auto& c : casos) {
        for (auto* caixa : {f.txtDataVen1, f.txtDataVen2}) {
            caixa->setText(c.antes);
            QTest::keyClick(caixa, c.tecla);
            EXPECT_EQ(caixa->Text(), c.depois) << c.antes.toStdString();
        }
    }

    f.optCompara->click();
    f.txtAno->clear();
    QTest::keyClicks(f.txtAno, QStringLiteral("2a0x25"));
    EXPECT_EQ(f.txtAno->text(), QStringLiteral("2025"));
    QTest::keyClick(f.txtAno, Qt::Key_9);
    EXPECT_EQ(f.txtAno->text(), QStringLiteral("2025"));
    QTest::mouseClick(f.txtAnoAvan, Qt::LeftButton);
    EXPECT_EQ(f.txtAno->text(), QStringLiteral("2026"));
    QTest::mouseClick(f.txtAnoRet, Qt::LeftButton);
    QTest::mouseClick(f.txtAnoRet, Qt::LeftButton);
    EXPECT_EQ(f.txtAno->text(), QStringLiteral("2024"));
    // An empty box has no year to step from.
    f.txtAno->clear();
    f.txtAnoAvan_Click();
    EXPECT_EQ(f.txtAno->text(), QString());
}

TEST_F(GraficosJanela, GerarChecksTheFieldsOfEachKindBeforeDrawing)
{
    MsgRecorder msgs;
    frmGraficos& f = janela();
    f.show();
    const QString dataInvalida = QStringLiteral("Digitar data válida para seleção.");

    f.optDespesa->click();
    f.cmdGerarGrafico->click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("Selecionar classificação."));
    EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
    EXPECT_EQ(msgs.last().style, platform::vbCritical);
    EXPECT_EQ(f.focusWidget(), f.txtDespesa1);

    escolher(f.txtDespesa1, QStringLiteral("Padaria"));
    f.txtDataVen1->setText(QStringLiteral("01/01/2024"));
    f.txtDataVen2->setText(QStringLiteral("31/02/2024"));
    f.txtDataVen2->setFocus();
    f.cmdGerarGrafico_Click();
    EXPECT_EQ(msgs.lastText(), dataInvalida);
    EXPECT_EQ(f.focusWidget(), f.txtDataVen2);

    f.optCompara->click();
    f.txtTipo->setCurrentIndex(0);
    escolher(f.txtDespesa3, QStringLiteral("Gás"));
    for (const QString& ano : {QStringLiteral("202"), QStringLiteral("0000")}) {
        f.txtAno->setText(ano);
        msgs.clear();
        f.cmdGerarGrafico_Click();
        ASSERT_EQ(msgs.calls.size(), 1u) << ano.toStdString();
        EXPECT_EQ(msgs.lastText(), QStringLiteral("Digitar ANO válido para geração do gráfico de comparação."));
        EXPECT_EQ(f.focusWidget(), f.txtAno);
    }
    f.txtTipo->setCurrentIndex(1);
    f.txtAno->setText(QStringLiteral("2023"));
    msgs.clear();
    f.cmdGerarGrafico_Click();
    EXPECT_EQ(msgs.lastText(),
              QStringLiteral("Selecionar pelo menos uma classificação, para geração do gráfico de comparação."));
    EXPECT_EQ(f.focusWidget(), f.txtDespesa1);

    for (auto* opcao : {f.optEntraSai, f.optGrupoContas}) {
        opcao->click();
        f.txtDataVen1->setText(QString());
        f.txtDataVen2->setText(QStringLiteral("31/12/2024"));
        f.cmdGerarGrafico->setFocus();
        msgs.clear();
        f.cmdGerarGrafico_Click();
        EXPECT_EQ(msgs.lastText(), dataInvalida);
        EXPECT_EQ(f.focusWidget(), f.txtDataVen1);
    }

    // A start after the end is not refused.
    f.txtDataVen1->setText(QStringLiteral("31/12/2024"));
    f.txtDataVen2->setText(QStringLiteral("01/01/2024"));
    msgs.clear();
    f.cmdGerarGrafico_Click();
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(GraficosJanela, ProjectionChartShowsTheMonthsAndTheClassificationInTheLegend)
{
    lancar(QStringLiteral("Padaria"), -35000, d_(3));
    lancar(QStringLiteral("Padaria"), -1000, d_(5));
    frmGraficos& f = janela();
    f.optDespesa->click();
    escolher(f.txtDespesa1, QStringLiteral("Padaria"));
    f.txtDataVen1->setText(QStringLiteral("01/01/2024"));
    f.txtDataVen2->setText(QStringLiteral("31/12/2024"));
    f.cmdGerarGrafico_Click();

    EXPECT_EQ(categorias(), (QStringList{QStringLiteral("março"), QStringLiteral("maio")}));
    EXPECT_EQ(barras(0), (std::vector<double>{350.0, 10.0}));
    EXPECT_EQ(legenda(), QStringList{QStringLiteral("Padaria")});
    EXPECT_EQ(f.chtGrafico->chart()->legend()->alignment(), Qt::AlignBottom);
    EXPECT_EQ(f.larguraGraficoTwips(), 14415);
    // What a screen reader hears of the chart: its bars.
    EXPECT_EQ(f.chtGrafico->accessibleDescription(), QStringLiteral("março: Padaria 350,00; maio: Padaria 10,00"));

    // A classification without entries leaves the reset chart.
    escolher(f.txtDespesa1, QStringLiteral("Gás"));
    f.cmdGerarGrafico_Click();
    EXPECT_EQ(categorias(), um_a_doze());
    EXPECT_TRUE(legenda().isEmpty());
}

TEST_F(GraficosJanela, ComparisonChartNamesOnlyThePickersThatHaveData)
{
    lancar(QStringLiteral("Gás"), -12345, QDate(2023, 8, 1));
    frmGraficos& f = janela();
    f.optCompara->click();
    escolher(f.txtDespesa2, QStringLiteral("Gás"));
    f.cmdGerarGrafico_Click();

    EXPECT_EQ(categorias().front(), QStringLiteral("janeiro"));
    EXPECT_EQ(serie()->count(), 3);
    EXPECT_EQ(legenda(), QStringList{QStringLiteral("Gás")});
    EXPECT_EQ(barras(1)[7], 123.45);
    EXPECT_EQ(barras(0), std::vector<double>(12, 0.0));
}

TEST_F(GraficosJanela, EntriesAgainstExitsOverMoreThanAYearKeepsBothMonthsOfTheSameName)
{
    lancar(QStringLiteral("Padaria"), -1000, QDate(2023, 2, 10));
    lancar(QStringLiteral("Salário"), 200000, QDate(2024, 2, 5));
    frmGraficos& f = janela();
    f.optEntraSai->click();
    f.txtDataVen1->setText(QStringLiteral("01/01/2023"));
    f.txtDataVen2->setText(QStringLiteral("31/12/2024"));
    f.cmdGerarGrafico_Click();

    EXPECT_EQ(categorias(), (QStringList{QStringLiteral("fevereiro"), QStringLiteral("fevereiro")}));
    EXPECT_EQ(barras(0), (std::vector<double>{10.0, 0.0}));
    EXPECT_EQ(barras(1), (std::vector<double>{0.0, 2000.0}));
    EXPECT_EQ(legenda(), (QStringList{QStringLiteral("Saída"), QStringLiteral("Entrada")}));
}

TEST_F(GraficosJanela, TwentyYearsOfMonthsKeepEveryBarInSightAndOneLabelInAFew)
{
    {
        data::Transaction t(ConexaoBanco);
        for (int m = 0; m < 240; ++m) {
            lancar(QStringLiteral("Padaria"), -100, QDate(2000, 1, 10).addMonths(m));
            lancar(QStringLiteral("Salário"), 150, QDate(2000, 1, 5).addMonths(m));
        }
        t.commit();
    }
    frmGraficos& f = janela();
    f.show();
    f.optEntraSai->click();
    f.txtDataVen1->setText(QStringLiteral("01/01/2000"));
    f.txtDataVen2->setText(QStringLiteral("31/12/2019"));
    f.cmdGerarGrafico_Click();

    // Every bar in sight: a good part of the plot in the bars' own colours
    // (none at all when thin bars drowned in their outlines).
    const QImage imagem = assentado(f.chtGrafico).convertToFormat(QImage::Format_RGB32);
    const QRect area = f.chtGrafico->chart()->plotArea().toRect().adjusted(1, 1, -1, -1);
    const QRgb saida = serie()->barSets().at(0)->brush().color().rgb();
    const QRgb entrada = serie()->barSets().at(1)->brush().color().rgb();
    int pintados = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (const QRgb p = imagem.pixel(x, y); p == saida || p == entrada)
                ++pintados;
    EXPECT_GT(pintados, area.width() * area.height() / 5);

    const QStringList c = categorias();
    ASSERT_EQ(c.size(), 240);
    EXPECT_EQ(c.front(), QStringLiteral("janeiro"));
    int mostradas = 0;
    for (int i = 0; i < int(c.size()); ++i)
        if (c[i].contains(QRegularExpression(QStringLiteral("\\w"))))
            ++mostradas;
    // As many as stand upright side by side: a label every few months.
    EXPECT_GT(mostradas, 20);
    EXPECT_LT(mostradas, 120);
    const auto eixos = f.chtGrafico->chart()->axes(Qt::Horizontal);
    EXPECT_FALSE(eixos.front()->truncateLabels());
}

TEST_F(GraficosJanela, GroupChartFillsTheGridAndTheTotalsBesideANarrowChart)
{
    lancar(QStringLiteral("Aluguel"), -60000, d_(3));
    lancar(QStringLiteral("Supermercado"), -30000, d_(3));
    lancar(QStringLiteral("Cinema e Passeios"), -10000, d_(3));
    lancar(QStringLiteral("Condomínio"), -123456789, d_(4));
    frmGraficos& f = janela();
    f.optGrupoContas->click();
    f.txtDataVen1->setText(QStringLiteral("01/03/2024"));
    f.txtDataVen2->setText(QStringLiteral("31/03/2024"));
    f.cmdGerarGrafico_Click();

    platform::FlexGrid* g = f.flxDespesas;
    EXPECT_FALSE(g->isHidden());
    EXPECT_EQ(f.larguraGraficoTwips(), 10935);
    EXPECT_EQ(g->Rows(), 13);
    EXPECT_EQ(g->TextMatrix(0, 0), QStringLiteral("Despesa"));
    const QStringList esperado[] = {
        {QStringLiteral("Moradia"), QStringLiteral("60,00%"), QStringLiteral("600,00")},
        {QStringLiteral("Alimentação"), QStringLiteral("30,00%"), QStringLiteral("300,00")},
        {QStringLiteral("Lazer"), QStringLiteral("10,00%"), QStringLiteral("100,00")},
    };
    for (int k = 1; k <= 3; ++k)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(g->TextMatrix(k, c), esperado[k - 1][c]);
    EXPECT_TRUE(g->TextMatrix(4, 0).isEmpty());
    EXPECT_EQ(g->cellBackColor(1, 2), QColor(Qt::white));
    EXPECT_EQ(g->cellBackColor(2, 0), QColor(225, 255, 255));
    // No line selected: the selection would hide the first line's colours.
    QCoreApplication::processEvents();
    EXPECT_FALSE(g->selectionModel()->hasSelection());
    EXPECT_EQ(f.lblTotal->text(), QStringLiteral("1.000,00"));
    EXPECT_EQ(f.lblPerc->text(), QStringLiteral("100%"));
    EXPECT_FALSE(f.lblPerc->isHidden());

    EXPECT_EQ(categorias().mid(0, 4), (QStringList{QStringLiteral("Moradia"), QStringLiteral("Alimentação"),
                                                   QStringLiteral("Lazer"), QStringLiteral("4")}));
    EXPECT_DOUBLE_EQ(barras(0)[0], 60.0);
    EXPECT_TRUE(legenda().isEmpty());
    EXPECT_EQ(f.chtGrafico->accessibleDescription(),
              QStringLiteral("Moradia: 60,00%; Alimentação: 30,00%; Lazer: 10,00%"));

    // A whole share and a large total are shown whole.
    f.txtDataVen1->setText(QStringLiteral("01/04/2024"));
    f.txtDataVen2->setText(QStringLiteral("30/04/2024"));
    f.cmdGerarGrafico_Click();
    EXPECT_EQ(g->TextMatrix(1, 1), QStringLiteral("100,00%"));
    EXPECT_EQ(g->TextMatrix(1, 2), QStringLiteral("1.234.567,89"));
    const QFontMetrics medida(g->font());
    for (int c = 0; c < 3; ++c)
        EXPECT_LT(medida.horizontalAdvance(g->TextMatrix(1, c)) + 6, g->ColWidth(c)) << "column " << c;

    // Another kind hides the totals and widens the chart; the group kind
    // leaves the totals as they were.
    f.optDespesa->click();
    EXPECT_TRUE(f.lblPerc->isHidden());
    EXPECT_TRUE(f.lblTotal->isHidden());
    EXPECT_TRUE(g->isHidden());
    f.optGrupoContas->click();
    EXPECT_TRUE(f.lblPerc->isHidden());

    // A period without exits shows the header alone.
    f.txtDataVen1->setText(QStringLiteral("01/01/2020"));
    f.txtDataVen2->setText(QStringLiteral("31/01/2020"));
    f.cmdGerarGrafico_Click();
    EXPECT_EQ(g->Rows(), 1);
    EXPECT_EQ(f.lblPerc->text(), QStringLiteral("0"));
    EXPECT_TRUE(f.lblTotal->text().isEmpty());
    EXPECT_EQ(categorias(), um_a_doze());
    EXPECT_EQ(f.chtGrafico->accessibleDescription(), QStringLiteral("Sem dados"));
}

TEST_F(GraficosJanela, EnterMovesToTheNextFieldAndEscapeCloses)
{
    frmGraficos& f = ativa<frmGraficos>();
    f.optEntraSai->click();
    f.txtDataVen1->setFocus();
    QTest::keyClick(f.txtDataVen1, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.txtDataVen2);
    EXPECT_TRUE(platform::Forms::isLoaded<frmGraficos>());
    QTest::keyClick(f.txtDataVen2, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(platform::Forms::isLoaded<frmGraficos>());
}

// Drawing again replaces the chart's labels and grid lines instead of
// painting over the old ones: a chart reset after a drawing looks like the
// reset chart of a window just opened.
TEST_F(GraficosJanela, RedrawingLeavesNoEarlierAxisBehind)
{
    lancar(QStringLiteral("Aluguel"), -60000, d_(3));
    auto mostrar = [] {
        frmGraficos& f = janela();
        f.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        f.optGrupoContas->click();
        return &f;
    };
    const QImage limpo = assentado(mostrar()->chtGrafico);
    platform::Forms::unload<frmGraficos>();
    QApplication::processEvents();

    frmGraficos* f = mostrar();
    f->txtDataVen1->setText(QStringLiteral("01/03/2024"));
    f->txtDataVen2->setText(QStringLiteral("31/03/2024"));
    f->cmdGerarGrafico_Click();
    assentado(f->chtGrafico);
    f->optGrupoContas->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->chtGrafico->grab().toImage() == limpo; }));
    platform::Forms::unload<frmGraficos>();
    QApplication::processEvents();
}

namespace {
class GraficosPrincipal : public testsupport::AppFixture {};
} // namespace

TEST_F(GraficosPrincipal, ToolbarKeyHOpensTheChartsOnTheActiveAccount)
{
    createAccount(QStringLiteral("Casa"));
    registrarJanelas();
    QString titulo;
    hook.on<frmGraficos>([&](frmGraficos& f) {
        titulo = f.windowTitle();
        f.Unload();
    });
    frmPrincipal& p = iniciar();
    p.Toolbar1_ButtonClick(QStringLiteral("H"));
    EXPECT_EQ(titulo, QStringLiteral("Geração de Gráficos - Banco ativo: ''C:\\Casa''"));
}
