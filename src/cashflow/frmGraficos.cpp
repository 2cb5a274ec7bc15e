#include "cashflow/frmGraficos.h"

#include "app/Textos.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "platform/Accessibility.h"
#include "platform/Clock.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "platform/formats.h"

#include <QBarCategoryAxis>
#include <QBarLegendMarker>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLegendMarker>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

namespace {

constexpr int kLarguraGrande = 14415;
constexpr int kLarguraPequena = 10935;

const QString kDataInvalida = QStringLiteral("Digitar data válida para seleção.");
const QString kCabecalhoGrupos = QStringLiteral("Despesa                   |Perc.     |Total          R$");

// The bars of a chart as a screen reader says them: "março: Padaria
// 350,00; maio: Padaria 10,00"; a row of no bar is left out.
QString descricaoDosDados(const cashflow::TabelaGrafico& tabela, bool percentuais)
{
    QStringList linhas;
    for (int r = 0; r < tabela.rowCount(); ++r) {
        const auto& valores = tabela.valores[size_t(r)];
        if (std::all_of(valores.begin(), valores.end(), [](double v) { return v == 0; }))
            continue;
        QStringList barras;
        for (int c = 0; c < tabela.columnCount(); ++c) {
            const QString valor = platform::formatNumber(valores[size_t(c)], QStringLiteral("#,##0.00")) +
                                  (percentuais ? QStringLiteral("%") : QString());
            barras << (tabela.colunas[c].isEmpty() ? valor : tabela.colunas[c] + QLatin1Char(' ') + valor);
        }
        linhas << tabela.linhas[r] + QStringLiteral(": ") + barras.join(QStringLiteral(", "));
    }
    return linhas.isEmpty() ? QStringLiteral("Sem dados") : linhas.join(QStringLiteral("; "));
}

QLabel* rotuloClicavel(const QString& texto, QWidget* pai)
{
    auto* rotulo = new QLabel(texto, pai);
    rotulo->setCursor(Qt::PointingHandCursor);
    return rotulo;
}

} // namespace

frmGraficos::frmGraficos(QWidget* parent) : Form(parent)
{
    setWindowTitle(QStringLiteral("Geração de Gráficos"));
    setEnterAsTab(true);

    auto* fraDemonstracao = new QGroupBox(QStringLiteral("Tipos de Demonstração"), this);
    optDespesa = new QRadioButton(QStringLiteral("Projeção do lançamento"), fraDemonstracao);
    optCompara = new QRadioButton(QStringLiteral("Comparação de lançamentos"), fraDemonstracao);
    optEntraSai = new QRadioButton(QStringLiteral("Entradas e Saídas mensais"), fraDemonstracao);
    optGrupoContas = new QRadioButton(QStringLiteral("Grupo de Contas"), fraDemonstracao);
    auto* demonstracao = new QVBoxLayout(fraDemonstracao);
    for (auto* opcao : {optDespesa, optCompara, optEntraSai, optGrupoContas})
        demonstracao->addWidget(opcao);
    demonstracao->addStretch(1);

    auto* fraSelecao = new QGroupBox(QStringLiteral("Tipos de Seleção"), this);
    lblTipo = new QLabel(QStringLiteral("Tipo do Lançamento"), fraSelecao);
    txtTipo = new QComboBox(fraSelecao);
    txtTipo->addItems({QStringLiteral("Saída"), QStringLiteral("Entrada")});
    txtTipo->setCurrentIndex(-1);
    lblDespesa1 = new QLabel(QStringLiteral("Tipo da Classificação"), fraSelecao);
    lblDespesa2 = new QLabel(QStringLiteral("Tipo da Classificação"), fraSelecao);
    lblDespesa3 = new QLabel(QStringLiteral("Tipo da Classificação"), fraSelecao);
    txtDespesa1 = new QComboBox(fraSelecao);
    txtDespesa2 = new QComboBox(fraSelecao);
    txtDespesa3 = new QComboBox(fraSelecao);
    txtCodDesp1 = new QComboBox(this);
    txtCodDesp2 = new QComboBox(this);
    txtCodDesp3 = new QComboBox(this);
    for (auto* nomes : {txtDespesa1, txtDespesa2, txtDespesa3}) {
        nomes->setMinimumContentsLength(18);
        nomes->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    for (auto* codigos : {txtCodDesp1, txtCodDesp2, txtCodDesp3})
        codigos->hide();
    lblDataVen1 = rotuloClicavel(QStringLiteral("Data Inicial"), fraSelecao);
    lblDataVen2 = rotuloClicavel(QStringLiteral("Data Final"), fraSelecao);
    txtDataVen1 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraSelecao);
    txtDataVen2 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraSelecao);
    for (auto* caixa : {txtDataVen1, txtDataVen2}) {
        caixa->setMaximumWidth(caixa->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
        caixa->installEventFilter(this);
    }
    lblAno = new QLabel(QStringLiteral("Ano"), fraSelecao);
    txtAno = new QLineEdit(fraSelecao);
    txtAno->setMaxLength(4);
    txtAno->setFixedWidth(platform::boxWidthFor(txtAno, QStringLiteral("00000")));
    // Pasted text obeys the same rule as typed keys.
    txtAno->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), txtAno));
    txtAno->installEventFilter(this);
    txtAnoRet = rotuloClicavel(QStringLiteral("<<"), fraSelecao);
    txtAnoAvan = rotuloClicavel(QStringLiteral(">>"), fraSelecao);
    cmdGerarGrafico = new QPushButton(QStringLiteral("&Gerar"), fraSelecao);
    cmdGerarGrafico->setEnabled(false);
    for (auto* rotulo : {lblDataVen1, lblDataVen2, txtAnoRet, txtAnoAvan})
        rotulo->installEventFilter(this);

    auto* ano = new QHBoxLayout;
    ano->addWidget(txtAnoRet);
    ano->addWidget(txtAno);
    ano->addWidget(txtAnoAvan);
    ano->addStretch(1);
    auto* selecao = new QGridLayout(fraSelecao);
    selecao->addWidget(lblTipo, 0, 0);
    selecao->addWidget(txtTipo, 0, 1);
    selecao->addWidget(lblDespesa1, 1, 0);
    selecao->addWidget(txtDespesa1, 1, 1);
    selecao->addWidget(lblDespesa2, 2, 0);
    selecao->addWidget(txtDespesa2, 2, 1);
    selecao->addWidget(lblDespesa3, 3, 0);
    selecao->addWidget(txtDespesa3, 3, 1);
    selecao->addWidget(lblDataVen1, 0, 3);
    selecao->addWidget(txtDataVen1, 0, 4);
    selecao->addWidget(lblDataVen2, 1, 3);
    selecao->addWidget(txtDataVen2, 1, 4);
    selecao->addWidget(lblAno, 2, 3);
    selecao->addLayout(ano, 2, 4);
    selecao->addWidget(cmdGerarGrafico, 3, 4);
    selecao->setColumnMinimumWidth(2, 16);
    selecao->setColumnStretch(5, 1);

    for (Partes& g : graficos_) {
        g.grafico = new QChart;
        g.grafico->setLocalizeNumbers(true);
        g.grafico->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
        g.grafico->legend()->setAlignment(Qt::AlignBottom);
        g.eixoX = new QBarCategoryAxis;
        g.eixoY = new QValueAxis;
        g.grafico->addAxis(g.eixoX, Qt::AlignBottom);
        g.grafico->addAxis(g.eixoY, Qt::AlignLeft);
    }
    grafico_ = graficos_[kLimpo].grafico;
    eixoX_ = graficos_[kLimpo].eixoX;
    eixoY_ = graficos_[kLimpo].eixoY;
    // The chart keeps its width in a frame that scrolls where the screen is
    // narrower, and gives up height on a short one.
    rolagem_ = new QScrollArea(this);
    rolagem_->setFrameShape(QFrame::NoFrame);
    rolagem_->setWidgetResizable(true);
    rolagem_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rolagem_->setFocusPolicy(Qt::NoFocus);
    chtGrafico = new QChartView(grafico_, rolagem_);
    chtGrafico->setRenderHint(QPainter::Antialiasing);
    chtGrafico->setAccessibleName(QStringLiteral("Gráfico"));
    rolagem_->setWidget(chtGrafico);
    rolagem_->setMinimumHeight(380);
    platform::givesWay(*rolagem_, 240);

    painelGrupos_ = new QWidget(this);
    flxDespesas = new platform::FlexGrid(painelGrupos_);
    flxDespesas->FormatString(kCabecalhoGrupos, {QString(), QStringLiteral("100,00%"), platform::kWidestSum});
    flxDespesas->setGivingWayCol(0);
    flxDespesas->setRows(1);
    Label1 = new QLabel(QStringLiteral("Total"), painelGrupos_);
    lblTotal = new QLabel(painelGrupos_);
    lblPerc = new QLabel(painelGrupos_);
    for (auto* valor : {lblTotal, lblPerc}) {
        valor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        valor->setFrameShape(QFrame::Panel);
        valor->setFrameShadow(QFrame::Sunken);
    }
    // Results Tab reaches, each named for a screen reader.
    platform::showsResult(*lblPerc, QStringLiteral("100%"));
    platform::showsResult(*lblTotal);
    lblPerc->setAccessibleName(QStringLiteral("Total %"));
    platform::notACaption(*Label1);
    lblTotal->setAccessibleName(QStringLiteral("Total R$"));
    auto* totais = new QHBoxLayout;
    totais->addStretch(1);
    totais->addWidget(Label1);
    totais->addWidget(lblPerc);
    totais->addWidget(lblTotal);
    auto* grupos = new QVBoxLayout(painelGrupos_);
    grupos->setContentsMargins(0, 0, 0, 0);
    grupos->addWidget(flxDespesas, 1);
    grupos->addLayout(totais);

    auto* topo = new QHBoxLayout;
    topo->addWidget(fraDemonstracao);
    topo->addWidget(fraSelecao, 1);
    platform::givesWayAcross(*topo);
    auto* corpo = new QHBoxLayout;
    corpo->addWidget(rolagem_, 1);
    corpo->addWidget(painelGrupos_);
    auto* janela = new QVBoxLayout(this);
    janela->addLayout(topo);
    janela->addLayout(corpo, 1);
    resize(1180, 720);

    desenhar(kLimpo, cashflow::graficoLimpo());

    connect(optDespesa, &QRadioButton::clicked, this, [this] { optDespesa_Click(); });
    connect(optCompara, &QRadioButton::clicked, this, [this] { optCompara_Click(); });
    connect(optEntraSai, &QRadioButton::clicked, this, [this] { optEntraSai_Click(); });
    connect(optGrupoContas, &QRadioButton::clicked, this, [this] { optGrupoContas_Click(); });
    connect(txtTipo, &QComboBox::currentIndexChanged, this, [this] { txtTipo_Click(); });
    connect(txtDespesa1, &QComboBox::currentIndexChanged, this, [this] { txtDespesa1_Click(); });
    connect(txtDespesa2, &QComboBox::currentIndexChanged, this, [this] { txtDespesa2_Click(); });
    connect(txtDespesa3, &QComboBox::currentIndexChanged, this, [this] { txtDespesa3_Click(); });
    connect(cmdGerarGrafico, &QPushButton::clicked, this, [this] { cmdGerarGrafico_Click(); });
}

frmGraficos::~frmGraficos()
{
    // The view owns the chart in sight; the other charts are the window's.
    for (const Partes& g : graficos_)
        if (g.grafico != grafico_)
            delete g.grafico;
}

void frmGraficos::Form_Load()
{
    txtTipo->setCurrentIndex(0);
    txtAno->setText(QString::number(platform::Today().year() - 1).rightJustified(4, QLatin1Char('0')));
    setWindowTitle(CaptionAtivo(QStringLiteral("Geração de Gráficos")));
    GraficoGrande();
}

void frmGraficos::Form_KeyDown(int KeyCode)
{
    if (KeyCode == Qt::Key_Escape)
        Unload();
    else if (KeyCode == Qt::Key_Return || KeyCode == Qt::Key_Enter)
        focusNextChild();
}

void frmGraficos::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((key == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) || key == Qt::Key_Return ||
        key == Qt::Key_Enter) {
        Form_KeyDown(key);
        event->accept();
        return;
    }
    Form::keyPressEvent(event);
}

void frmGraficos::optDespesa_Click()
{
    mostrarPainel(true, true, true, false, false, true);
    cmdGerarGrafico->setEnabled(true);
    LimpaGrafico();
}

void frmGraficos::optCompara_Click()
{
    mostrarPainel(true, false, true, true, true, true);
    cmdGerarGrafico->setEnabled(true);
    LimpaGrafico();
}

void frmGraficos::optEntraSai_Click()
{
    mostrarPainel(false, true, false, false, false, true);
    cmdGerarGrafico->setEnabled(true);
    LimpaGrafico();
}

void frmGraficos::optGrupoContas_Click()
{
    mostrarPainel(false, true, false, false, false, false);
    cmdGerarGrafico->setEnabled(true);
    LimpaGrafico();
}

void frmGraficos::txtTipo_Click()
{
    // Outgoing classifications are Tipo "2" in Despesas.
    const QString lado = txtTipo->currentIndex() == 1 ? data::kDespesaEntrada : data::kDespesaSaida;
    const auto lista = data::classificacoes(ConexaoBanco, lado, data::OrdemDespesas::PorCodigo);
    const std::array<std::pair<QComboBox*, QComboBox*>, 3> pares{
        {{txtDespesa1, txtCodDesp1}, {txtDespesa2, txtCodDesp2}, {txtDespesa3, txtCodDesp3}}};
    for (auto [nomes, codigos] : pares) {
        const QSignalBlocker b1(nomes);
        const QSignalBlocker b2(codigos);
        nomes->clear();
        codigos->clear();
        nomes->addItem(QString());
        codigos->addItem(QString());
        for (const auto& d : lista) {
            nomes->addItem(d.nome);
            codigos->addItem(QString::number(d.codigo));
        }
        nomes->setCurrentIndex(-1);
        codigos->setCurrentIndex(-1);
    }
}

void frmGraficos::txtDespesa1_Click() { escolherCodigo(txtDespesa1, txtCodDesp1); }

void frmGraficos::txtDespesa2_Click() { escolherCodigo(txtDespesa2, txtCodDesp2); }

void frmGraficos::txtDespesa3_Click() { escolherCodigo(txtDespesa3, txtCodDesp3); }

void frmGraficos::lblDataVen1_Click()
{
    txtDataVen1->setText(QStringLiteral("01/01/") + QString::number(platform::Today().year()));
}

void frmGraficos::lblDataVen2_Click()
{
    txtDataVen2->setText(QStringLiteral("31/12/") + QString::number(platform::Today().year()));
}

void frmGraficos::txtDataVen1_KeyDown(int key)
{
    if (key == Qt::Key_PageUp)
        txtDataVen1->stepDate(1);
    else if (key == Qt::Key_PageDown)
        txtDataVen1->stepDate(-1);
}

void frmGraficos::txtDataVen2_KeyDown(int key)
{
    if (key == Qt::Key_PageUp)
        txtDataVen2->stepDate(1);
    else if (key == Qt::Key_PageDown)
        txtDataVen2->stepDate(-1);
}

bool frmGraficos::txtAno_KeyPress(const QString& text)
{
    // Keys that type no character (arrows, Tab, Escape, Backspace, Enter)
    // keep their meaning.
    if (text.isEmpty() || !text.front().isPrint())
        return true;
    return text.front() >= QLatin1Char('0') && text.front() <= QLatin1Char('9');
}

void frmGraficos::txtAnoAvan_Click() { somarAno(1); }

void frmGraficos::txtAnoRet_Click() { somarAno(-1); }

void frmGraficos::cmdGerarGrafico_Click()
{
    if (optDespesa->isChecked()) {
        if (txtDespesa1->currentText().isEmpty()) {
            platform::MsgBox(QStringLiteral("Selecionar classificação."), platform::vbCritical, app::kAtencao);
            txtDespesa1->setFocus();
            return;
        }
        if (!datasValidas()) {
            platform::MsgBox(kDataInvalida, platform::vbCritical, app::kAtencao);
            return;
        }
        ProjLancamentos();
        GraficoGrande();
    } else if (optCompara->isChecked()) {
        if (txtDespesa1->currentText().isEmpty() && txtDespesa2->currentText().isEmpty() &&
            txtDespesa3->currentText().isEmpty()) {
            platform::MsgBox(QStringLiteral("Selecionar pelo menos uma classificação, para geração do gráfico de comparação."),
                             platform::vbCritical, app::kAtencao);
            txtDespesa1->setFocus();
            return;
        }
        // Year 0000 names no calendar year.
        if (txtAno->text().size() < 4 || txtAno->text().toInt() < 1) {
            platform::MsgBox(QStringLiteral("Digitar ANO válido para geração do gráfico de comparação."),
                             platform::vbCritical, app::kAtencao);
            txtAno->setFocus();
            return;
        }
        ComparacaoLan();
        GraficoGrande();
    } else if (optEntraSai->isChecked()) {
        if (!datasValidas()) {
            txtDataVen1->setFocus();
            platform::MsgBox(kDataInvalida, platform::vbCritical, app::kAtencao);
            return;
        }
        EntradaSaida();
        GraficoGrande();
    } else if (optGrupoContas->isChecked()) {
        if (!datasValidas()) {
            txtDataVen1->setFocus();
            platform::MsgBox(kDataInvalida, platform::vbCritical, app::kAtencao);
            return;
        }
        PorGrupoConta();
        GraficoPequeno();
    } else {
        return;
    }
    grafico_->legend()->setAlignment(Qt::AlignBottom);
}

void frmGraficos::ProjLancamentos()
{
    // The chart is drawn once, blank only where nothing was found: every
    // drawing lays out each category label again.
    GraficoGrande();
    const auto tabela = cashflow::projecaoLancamentos(
        ConexaoBanco, periodo(), {txtCodDesp1->currentText(), txtDespesa1->currentText()});
    desenhar(tabela ? kProjecao : kLimpo, tabela ? *tabela : cashflow::graficoLimpo());
}

void frmGraficos::ComparacaoLan()
{
    const std::array<cashflow::ClassificacaoEscolhida, 3> escolhidas{{
        {txtCodDesp1->currentText(), txtDespesa1->currentText()},
        {txtCodDesp2->currentText(), txtDespesa2->currentText()},
        {txtCodDesp3->currentText(), txtDespesa3->currentText()},
    }};
    desenhar(kComparacao, cashflow::comparacaoLancamentos(ConexaoBanco, txtAno->text().toInt(), escolhidas));
}

void frmGraficos::EntradaSaida()
{
    GraficoGrande();
    const auto tabela = cashflow::entradasSaidas(ConexaoBanco, periodo());
    desenhar(tabela ? kEntradasSaidas : kLimpo, tabela ? *tabela : cashflow::graficoLimpo());
}

void frmGraficos::PorGrupoConta()
{
    flxDespesas->Clear();
    flxDespesas->setRows(1);
    flxDespesas->FormatString(kCabecalhoGrupos, {QString(), QStringLiteral("100,00%"), platform::kWidestSum});
    flxDespesas->setGivingWayCol(0);
    const cashflow::Periodo p = periodo();
    lblPerc->setText(QStringLiteral("0"));
    lblTotal->setText(QString());

    const auto despesas = cashflow::despesasPorGrupo(ConexaoBanco, p);
    if (!despesas) {
        LimpaGrafico();
        return;
    }

    lblPerc->show();
    lblTotal->show();
    flxDespesas->setRows(1 + despesas->grafico.rowCount());
    int k = 1;
    for (const auto& g : despesas->grupos) {
        flxDespesas->setTextMatrix(k, 0, g.conta);
        flxDespesas->setTextMatrix(k, 1, platform::formatNumber(g.percentual, QStringLiteral("#,##0.00")) +
                                             QStringLiteral("%"));
        flxDespesas->setTextMatrix(k, 2, data::formatMoney(-g.total));
        flxDespesas->setAlternateRowColor(k);
        ++k;
    }
    // Long group names, and shares and totals wider than their titles, are
    // shown whole.
    const QFontMetrics medida(flxDespesas->font());
    for (int c = 0; c < 3; ++c) {
        int largura = flxDespesas->ColWidth(c);
        for (int r = 1; r < k; ++r)
            largura = std::max(largura, medida.horizontalAdvance(flxDespesas->TextMatrix(r, c)) + 12);
        flxDespesas->setColWidth(c, largura);
    }
    // No line selected: the selection would hide the first line's colours.
    flxDespesas->setRow(0);
    desenhar(kGrupos, despesas->grafico);
    lblTotal->setText(data::formatMoney(-despesas->total));
    lblPerc->setText(platform::formatNumber(despesas->somaPercentuais, QStringLiteral("0")) + QStringLiteral("%"));
    GraficoPequeno();
}

void frmGraficos::GraficoGrande()
{
    ajustarLargura(kLarguraGrande);
    flxDespesas->hide();
    painelGrupos_->hide();
}

void frmGraficos::GraficoPequeno()
{
    ajustarLargura(kLarguraPequena);
    flxDespesas->show();
    painelGrupos_->show();
}

void frmGraficos::LimpaGrafico()
{
    desenhar(kLimpo, cashflow::graficoLimpo());
    GraficoGrande();
}

bool frmGraficos::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* tecla = static_cast<QKeyEvent*>(event);
        const int key = tecla->key();
        if ((watched == txtDataVen1 || watched == txtDataVen2) &&
            (key == Qt::Key_PageUp || key == Qt::Key_PageDown)) {
            if (watched == txtDataVen1)
                txtDataVen1_KeyDown(key);
            else
                txtDataVen2_KeyDown(key);
            return true;
        }
        if (watched == txtAno && !txtAno_KeyPress(tecla->text()))
            return true;
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lblDataVen1)
            lblDataVen1_Click();
        else if (watched == lblDataVen2)
            lblDataVen2_Click();
        else if (watched == txtAnoAvan)
            txtAnoAvan_Click();
        else if (watched == txtAnoRet)
            txtAnoRet_Click();
    }
    return Form::eventFilter(watched, event);
}

void frmGraficos::mostrarPainel(bool tipo, bool datas, bool despesa1, bool despesas23, bool ano, bool ocultarTotais)
{
    for (QWidget* w : std::initializer_list<QWidget*>{txtTipo, lblTipo})
        w->setVisible(tipo);
    for (QWidget* w : std::initializer_list<QWidget*>{txtDataVen1, lblDataVen1, txtDataVen2, lblDataVen2})
        w->setVisible(datas);
    for (QWidget* w : std::initializer_list<QWidget*>{txtDespesa1, lblDespesa1})
        w->setVisible(despesa1);
    for (QWidget* w : std::initializer_list<QWidget*>{txtDespesa2, lblDespesa2, txtDespesa3, lblDespesa3})
        w->setVisible(despesas23);
    for (QWidget* w : std::initializer_list<QWidget*>{txtAno, lblAno, txtAnoRet, txtAnoAvan})
        w->setVisible(ano);
    if (ocultarTotais) {
        lblPerc->hide();
        lblTotal->hide();
    }
}

void frmGraficos::mostrarGrafico(Grafico qual)
{
    const Partes& g = graficos_[size_t(qual)];
    if (g.grafico == grafico_)
        return;
    chtGrafico->setChart(g.grafico);
    grafico_ = g.grafico;
    eixoX_ = g.eixoX;
    eixoY_ = g.eixoY;
}

void frmGraficos::desenhar(Grafico qual, const cashflow::TabelaGrafico& tabela)
{
    // Each change of a chart lays out every category label again, and a
    // label is measured as a small document: the window takes its new width
    // first, while the chart in sight may be another, and the chart shown
    // then keeps the size it was drawn at.
    if (QLayout* l = layout())
        l->activate();
    mostrarGrafico(qual);
    // The axes stay for the window's life: an axis taken out of the chart
    // leaves its labels and grid lines drawn behind the new ones. A series
    // of the same shape takes the new values in place, which spares laying
    // out the whole chart (legend, axes, every label) again.
    const auto series = grafico_->series();
    auto* serie = series.size() == 1 ? qobject_cast<QBarSeries*>(series.front()) : nullptr;
    // Bars a few pixels wide vanish under their outlines and the blending of
    // their edges: over many months the bars widen, lose their outline and
    // are drawn on whole pixels, each at least one pixel in its full colour.
    const int barrasPorEixo = std::max(1, int(tabela.linhas.size()) * std::max(1, tabela.columnCount()));
    const bool estreitas = areaDoEixo() / barrasPorEixo < 4;
    bool mesmaForma = serie && serie->count() == tabela.columnCount() && estreitas == barrasEstreitas_;
    for (int c = 0; mesmaForma && c < tabela.columnCount(); ++c)
        mesmaForma = serie->barSets().at(c)->count() == tabela.rowCount();

    double maximo = 0;
    for (const auto& linha : tabela.valores)
        for (const double v : linha)
            maximo = std::max(maximo, v);
    if (mesmaForma) {
        const auto conjuntos = serie->barSets();
        for (int c = 0; c < tabela.columnCount(); ++c) {
            QBarSet* conjunto = conjuntos.at(c);
            if (conjunto->label() != tabela.colunas[c])
                conjunto->setLabel(tabela.colunas[c]);
            for (int r = 0; r < tabela.rowCount(); ++r)
                if (const double v = tabela.valores[size_t(r)][size_t(c)]; conjunto->at(r) != v)
                    conjunto->replace(r, v);
        }
    } else {
        grafico_->removeAllSeries();
        serie = new QBarSeries;
        for (int c = 0; c < tabela.columnCount(); ++c) {
            auto* conjunto = new QBarSet(tabela.colunas[c]);
            for (int r = 0; r < tabela.rowCount(); ++r)
                *conjunto << tabela.valores[size_t(r)][size_t(c)];
            serie->append(conjunto);
        }
        grafico_->addSeries(serie);
        if (estreitas) {
            // Side by side, a month's bars touch (their colours tell them
            // apart); a single series keeps a gap between its months.
            serie->setBarWidth(tabela.columnCount() > 1 ? 1.0 : 0.6);
            for (QBarSet* conjunto : serie->barSets())
                conjunto->setPen(Qt::NoPen);
        }
    }
    barrasEstreitas_ = estreitas;
    chtGrafico->setRenderHint(QPainter::Antialiasing, !estreitas);

    // The axis refuses repeated categories, while a period longer than a
    // year names a month twice: an invisible mark keeps each label apart.
    // Where the labels cannot all stand upright side by side, one in every
    // few is shown, as many as fit; the others are left blank.
    const int n = int(tabela.linhas.size());
    const int porCategoria = std::max(1, areaDoEixo() / std::max(1, n));
    const int salto = (QFontMetrics(eixoX_->labelsFont()).height() + 2 + porCategoria - 1) / porCategoria;
    QStringList categorias;
    std::set<QString> vistas;
    for (int i = 0; i < n; ++i) {
        QString rotulo;
        if (salto > 1 && i % salto != 0) {
            // A blank kept apart from the others by a few invisible marks.
            static constexpr char16_t kMarcas[] = {0x200C, 0x200D, 0x2060, 0xFEFF};
            for (int k = i; k > 0; k /= 4)
                rotulo += QChar(kMarcas[k % 4]);
        } else {
            rotulo = tabela.linhas[size_t(i)];
        }
        while (!vistas.insert(rotulo).second)
            rotulo += QChar(0x200B);
        categorias << rotulo;
    }
    // Every change of the chart lays out the labels of both axes again: the
    // old labels go first, then the scale changes, then the angle is set and
    // the new labels come, laid out once. The same categories (the same
    // chart drawn again) are left as they are.
    const bool novasCategorias = eixoX_->categories() != categorias;
    if (novasCategorias)
        eixoX_->clear();
    // An empty chart still gets a scale of whole numbers. The scale is
    // worked out on an axis outside the chart, so that the chart's own axis
    // changes only where its scale does.
    QValueAxis escala;
    escala.setTickCount(eixoY_->tickCount());
    escala.setRange(0, maximo > 0 ? maximo : 5);
    escala.applyNiceNumbers();
    if (eixoY_->min() != escala.min() || eixoY_->max() != escala.max())
        eixoY_->setRange(escala.min(), escala.max());
    if (eixoY_->tickCount() != escala.tickCount())
        eixoY_->setTickCount(escala.tickCount());
    const double passo = (escala.max() - escala.min()) / std::max(1, escala.tickCount() - 1);
    const QString formato = passo == std::floor(passo) ? QStringLiteral("%.0f") : QStringLiteral("%.2f");
    if (eixoY_->labelFormat() != formato)
        eixoY_->setLabelFormat(formato);
    ajustarRotulos(categorias);
    // Thinned-out labels are never cut short: narrower than its label, each
    // would read "...", at a dozen measurements apiece. A label taller than
    // the room under the chart still is.
    if (eixoX_->truncateLabels() != (salto <= 1))
        eixoX_->setTruncateLabels(salto <= 1);
    if (novasCategorias) {
        // Laid out once, when shown, rather than as they come.
        eixoX_->setLabelsVisible(false);
        eixoX_->append(categorias);
        eixoX_->setLabelsVisible(true);
    }
    if (!mesmaForma) {
        serie->attachAxis(eixoX_);
        serie->attachAxis(eixoY_);
    }

    // A screen reader hears the chart as its data: each bar's label and value.
    chtGrafico->setAccessibleDescription(descricaoDosDados(tabela, qual == kGrupos));

    grafico_->legend()->setVisible(tabela.legenda);
    // A series without a name has no legend entry.
    const auto marcadores = grafico_->legend()->markers(serie);
    for (QLegendMarker* m : marcadores)
        if (auto* barra = qobject_cast<QBarLegendMarker*>(m))
            m->setVisible(!barra->barset()->label().isEmpty());
    tabela_ = tabela;
}

void frmGraficos::ajustarLargura(int twips)
{
    larguraTwips_ = twips;
    const int pixels = twips * logicalDpiX() / 1440;
    chtGrafico->setMinimumWidth(pixels);
    rolagem_->setMaximumWidth(twips == kLarguraPequena ? pixels : QWIDGETSIZE_MAX);
    ajustarRotulos(eixoX_->categories());
}

void frmGraficos::ajustarRotulos(const QStringList& categorias)
{
    // Labels wider than their category stand upright rather than being cut short.
    const QFontMetrics medida(eixoX_->labelsFont());
    int maior = 0;
    for (const QString& rotulo : categorias)
        maior = std::max(maior, medida.horizontalAdvance(rotulo));
    const int porCategoria = areaDoEixo() / std::max(1, int(categorias.size()));
    const int angulo = maior + 8 > porCategoria ? -90 : 0;
    if (eixoX_->labelsAngle() != angulo)
        eixoX_->setLabelsAngle(angulo);
}

int frmGraficos::areaDoEixo() const { return larguraTwips_ * logicalDpiX() / 1440 - 100; }

void frmGraficos::somarAno(int passo)
{
    // A box that holds no year is left as it is.
    qint64 ano = 0;
    if (!platform::parseWholeNumber(txtAno->text(), ano) || ano < std::numeric_limits<qint16>::min() ||
        ano > std::numeric_limits<qint16>::max())
        return;
    const qint64 novo = ano + passo;
    if (novo < 0 || novo > 9999)
        return;
    txtAno->setText(QString::number(novo));
}

void frmGraficos::escolherCodigo(QComboBox* nomes, QComboBox* codigos)
{
    codigos->setCurrentIndex(nomes->currentIndex());
}

cashflow::Periodo frmGraficos::periodo() const
{
    return {platform::parseDate(txtDataVen1->Text()), platform::parseDate(txtDataVen2->Text())};
}

bool frmGraficos::datasValidas() const
{
    return platform::IsDate(txtDataVen1->Text()) && platform::IsDate(txtDataVen2->Text());
}
