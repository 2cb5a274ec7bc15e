#include "cashflow/frmFluxo.h"

#include "app/Periodo.h"
#include "app/Textos.h"
#include "data/Conexao.h"
#include "data/Lancamentos.h"
#include "entries/AcoesLancamento.h"
#include "entries/frmZalteracao.h"
#include "platform/Accessibility.h"
#include "platform/Clock.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "platform/formats.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QColor& kFundoSaldo = platform::kAlternateRowColor;
const QColor& kVermelho = platform::kNegativeColor;
const QColor kAzul(0, 0, 255);
const QColor kBranco(255, 255, 255);
const QColor kAmarelo(255, 255, 0);
// The panels whose captions and values are written in white.
const QColor kFundoPainel(0, 0, 128);

const QString kSaldoInicial = QStringLiteral("Saldo Inicial");
const QString kSaldo = QStringLiteral("Saldo");

QString brancos(int n) { return QString(n, QLatin1Char(' ')); }

QString cabecalhoCompleto()
{
    return QStringLiteral("Nº Lanc.|Vencimento  |Referente") + brancos(103) + QStringLiteral("|Valor") + brancos(24);
}

QString cabecalhoSaldos() { return QStringLiteral("Data") + brancos(13) + QStringLiteral("|Valor") + brancos(24); }

QString cabecalhoPositivos() { return QStringLiteral("Positivos") + brancos(16); }

void pintarTexto(QLabel* rotulo, const QColor& cor)
{
    QPalette p = rotulo->palette();
    p.setColor(QPalette::WindowText, cor);
    rotulo->setPalette(p);
}

void pintarFundo(QWidget* w, const QColor& cor)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, cor);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QLabel* rotuloClicavel(const QString& texto, QWidget* pai, const QString& dica = QString())
{
    auto* l = new QLabel(texto, pai);
    l->setCursor(Qt::PointingHandCursor);
    QFont f = l->font();
    f.setUnderline(true);
    l->setFont(f);
    if (!dica.isEmpty())
        l->setToolTip(dica);
    return l;
}

} // namespace

// The full view's rows: the period's entries, and the opening and balance
// rows between them; a row's texts are written when the grid shows it.
class frmFluxo::Registro final : public platform::FlexRows {
public:
    std::vector<data::LinhaConsulta> lancamentos;
    cashflow::Fluxo fluxo;  // points into lancamentos

    QString text(int row, int col) const override
    {
        const cashflow::LinhaFluxo& linha = fluxo.linhas[size_t(row) - 1];
        const bool lancamento = linha.tipo == cashflow::LinhaFluxo::Tipo::Lancamento;
        switch (col) {
        case 0: return lancamento ? data::textoNumLan(linha.lancamento->numLan) : QString();
        case 1: return linha.data;
        case 2:
            if (lancamento)
                return linha.lancamento->referente;
            return linha.tipo == cashflow::LinhaFluxo::Tipo::Abertura ? kSaldoInicial : kSaldo;
        case 3: return data::formatMoney(linha.valor);
        default: return QString();
        }
    }

    platform::FlexCellStyle style(int row, int col) const override
    {
        const cashflow::LinhaFluxo& linha = fluxo.linhas[size_t(row) - 1];
        platform::FlexCellStyle st;
        if (linha.tipo == cashflow::LinhaFluxo::Tipo::Lancamento) {
            if (col == 2 && data::shownInBlue(linha.lancamento->referente, linha.lancamento->despesa))
                st.fore = kAzul.rgb();
            return st;
        }
        const bool abertura = linha.tipo == cashflow::LinhaFluxo::Tipo::Abertura;
        st.back = kFundoSaldo.rgb();
        st.bold = col >= (abertura ? 1 : 0);
        // The opening row keeps its date black; a balance row is red
        // throughout when the balance is below zero.
        if (linha.valor < 0 && col >= (abertura ? 2 : 1))
            st.fore = kVermelho.rgb();
        if (col == 1)
            st.fontSize = 8;
        if (col == 2)
            st.align = quint16((Qt::AlignRight | Qt::AlignBottom).toInt());
        return st;
    }
};

const QString frmFluxo::kNomeConsulta = QStringLiteral("Fluxo de Lançamentos");

frmFluxo::frmFluxo(QWidget* parent) : Form(parent)
{
    setWindowTitle(QStringLiteral("Fluxo de Caixa"));
    setEnterAsTab(true);

    // The period.
    auto* fraPeriodo = new QGroupBox(this);
    txtDataInicial = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraPeriodo);
    txtDataFinal = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraPeriodo);
    for (auto* caixa : {txtDataInicial, txtDataFinal}) {
        caixa->setMaximumWidth(caixa->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    }
    txtMesAi = rotuloClicavel(QStringLiteral("<<Mês"), fraPeriodo, QStringLiteral("Mês Anterior"));
    txtMesPi = rotuloClicavel(QStringLiteral("Mês>>"), fraPeriodo, QStringLiteral("Mês Posterior"));
    txtMesAf = rotuloClicavel(QStringLiteral("<<Mês"), fraPeriodo, QStringLiteral("Mês Anterior"));
    txtMesPf = rotuloClicavel(QStringLiteral("Mês>>"), fraPeriodo, QStringLiteral("Mês Posterior"));
    cmdOK = new QPushButton(QStringLiteral("Gerar Fluxo"), fraPeriodo);
    auto* periodo = new QGridLayout(fraPeriodo);
    periodo->addWidget(new QLabel(QStringLiteral("Data Inicial"), fraPeriodo), 0, 0);
    periodo->addWidget(txtMesAi, 0, 1);
    periodo->addWidget(txtDataInicial, 0, 2);
    periodo->addWidget(txtMesPi, 0, 3);
    periodo->addWidget(new QLabel(QStringLiteral("Data Final"), fraPeriodo), 1, 0);
    periodo->addWidget(txtMesAf, 1, 1);
    periodo->addWidget(txtDataFinal, 1, 2);
    periodo->addWidget(txtMesPf, 1, 3);
    periodo->addWidget(cmdOK, 0, 4, 2, 1);
    periodo->setColumnMinimumWidth(4, cmdOK->sizeHint().width() + 12);

    auto* fraIntervalo = new QGroupBox(QStringLiteral("Intervalo de Tempo"), this);
    lblIMes = rotuloClicavel(QStringLiteral("Início mês"), fraIntervalo);
    lblFMes = rotuloClicavel(QStringLiteral("Final mês"), fraIntervalo);
    lblIAno = rotuloClicavel(QStringLiteral("Início ano"), fraIntervalo);
    lblFAno = rotuloClicavel(QStringLiteral("Final ano"), fraIntervalo);
    auto* intervalo = new QGridLayout(fraIntervalo);
    intervalo->addWidget(lblIMes, 0, 0);
    intervalo->addWidget(lblFMes, 0, 1);
    intervalo->addWidget(lblIAno, 1, 0);
    intervalo->addWidget(lblFAno, 1, 1);
    intervalo->setHorizontalSpacing(18);

    // The register.
    auto* fraLancamentos = new QGroupBox(QStringLiteral("Lançamentos"), this);
    flxConsulta = new platform::FlexGrid(fraLancamentos);
    lblSoSaldo = new QLabel(fraLancamentos);
    lblSoSaldo->setPixmap(style()->standardIcon(QStyle::SP_FileDialogListView).pixmap(20, 20));
    lblSoSaldo->setToolTip(QStringLiteral("Visualizar Somente Saldos"));
    lblSoSaldo->setCursor(Qt::PointingHandCursor);
    auto* linhaGrade = new QHBoxLayout;
    // The balances-only view narrows the grid against the right edge.
    linhaGrade->addStretch(0);
    linhaGrade->addWidget(flxConsulta, 1);
    auto* lancamentos = new QVBoxLayout(fraLancamentos);
    auto* topoGrade = new QHBoxLayout;
    topoGrade->addStretch(1);
    topoGrade->addWidget(lblSoSaldo);
    lancamentos->addLayout(topoGrade);
    lancamentos->addLayout(linhaGrade, 1);

    // The summaries.
    Label1 = new QLabel(QStringLiteral("Maiores Saldos"), this);
    flxValoresPos = new platform::FlexGrid(this);
    flxValoresPos->FormatString(cabecalhoPositivos(), {platform::kWidestSum});
    flxValoresPos->setFixedWidth(flxValoresPos->ColWidth(0) + flxValoresPos->verticalScrollBar()->sizeHint().width() +
                                 2 * flxValoresPos->frameWidth() + 2);
    Label17 = new QLabel(QStringLiteral("Menores saldos"), this);
    auto* fraMenores = new QFrame(this);
    pintarFundo(fraMenores, kFundoPainel);
    auto* menores = new QGridLayout(fraMenores);
    menores->setVerticalSpacing(0);
    menores->setHorizontalSpacing(12);
    // Each value stands between the two dates of its month.
    for (int i = 0; i < int(txtDataTempo.size()); ++i) {
        auto* d = new QLabel(QStringLiteral("mm/dd/aa"), fraMenores);
        pintarTexto(d, kBranco);
        txtDataTempo[size_t(i)] = d;
        menores->addWidget(d, 2 * i, 0, 2, 1);
    }
    for (int i = 0; i < int(txtValorTempo.size()); ++i) {
        auto* v = new QLabel(fraMenores);
        v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        pintarTexto(v, kBranco);
        platform::showsResult(*v);
        v->setAccessibleName(QStringLiteral("Menores saldos"));
        txtValorTempo[size_t(i)] = v;
        menores->addWidget(v, 2 * i + 1, 1, 2, 1);
    }
    auto* resumos = new QVBoxLayout;
    resumos->addWidget(Label1);
    resumos->addWidget(flxValoresPos, 1);
    resumos->addSpacing(8);
    resumos->addWidget(Label17);
    resumos->addWidget(fraMenores);
    // On a short screen with a large font the summaries stand closer.
    platform::givesWay(*resumos, 0);

    // The hints and the final balance.
    Label4 = new QLabel(QStringLiteral("- Para fazer Alterações dê um duplo clique no lançamento."), this);
    Label3 = new QLabel(QStringLiteral("- Para fazer um lançamento pressione a tecle \"Insert\"."), this);
    auto* fraSaldo = new QFrame(this);
    pintarFundo(fraSaldo, kFundoPainel);
    auto* lblSaldoFinal = new QLabel(QStringLiteral("Saldo Final"), fraSaldo);
    pintarTexto(lblSaldoFinal, kBranco);
    txtSaldo = new QLabel(fraSaldo);
    platform::showsResult(*txtSaldo);
    txtSaldo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont negrito = txtSaldo->font();
    negrito.setBold(true);
    txtSaldo->setFont(negrito);
    pintarFundo(txtSaldo, kBranco);
    auto* saldo = new QHBoxLayout(fraSaldo);
    saldo->addWidget(lblSaldoFinal);
    saldo->addWidget(txtSaldo);

    auto* dicas = new QVBoxLayout;
    dicas->addWidget(Label4);
    dicas->addWidget(Label3);
    auto* rodape = new QHBoxLayout;
    rodape->addLayout(dicas);
    rodape->addStretch(1);
    rodape->addWidget(fraSaldo, 0, Qt::AlignBottom);

    auto* topo = new QHBoxLayout;
    topo->addWidget(fraPeriodo);
    topo->addWidget(fraIntervalo);
    topo->addStretch(1);
    auto* meio = new QHBoxLayout;
    meio->addWidget(fraLancamentos, 1);
    meio->addLayout(resumos);
    auto* janela = new QVBoxLayout(this);
    janela->addLayout(topo);
    janela->addLayout(meio, 1);
    janela->addLayout(rodape);
    resize(1240, 700);

    setTabOrder(txtDataInicial, txtDataFinal);
    setTabOrder(txtDataFinal, cmdOK);
    // The final balance comes right after the button that builds it.
    setTabOrder(cmdOK, txtSaldo);
    setTabOrder(txtSaldo, flxConsulta);
    setTabOrder(flxConsulta, flxValoresPos);

    for (const auto& [rotulo, clique] : cliques())
        rotulo->installEventFilter(this);
    // Insert and Delete act whichever control has the focus.
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(flxConsulta, &platform::FlexGrid::cellDoubleClicked, this, [this] { flxConsulta_DblClick(); });
    platform::describeOpenRow(*flxConsulta, app::kAbrirNoEditor);
    connect(flxValoresPos, &platform::FlexGrid::cellDoubleClicked, this, [this] { flxValoresPos_DblClick(); });

    limparGrade();
}

void frmFluxo::Form_Load()
{
    NomeConsultaAtiva = kNomeConsulta;
    const QDate hoje = platform::Today();
    txtDataFinal->setText(platform::fmtDate(hoje));
    txtDataInicial->setText(platform::fmtDate(hoje.addDays(-45)));
    setWindowTitle(CaptionAtivo(QStringLiteral("Fluxo de Caixa")));
    Lancamentos();
}

void frmFluxo::Form_Activate() { NomeConsultaAtiva = kNomeConsulta; }

void frmFluxo::cmdOK_Click()
{
    QDate inicio, fim;
    if (!datasDoPeriodo(inicio, fim))
        return;
    if (inicio > fim) {
        platform::MsgBox(QStringLiteral("Data final menor que a data inicial."), platform::vbCritical, app::kAtencao);
        return;
    }
    Lancamentos();
}

bool frmFluxo::Form_KeyDown(int KeyCode, Qt::KeyboardModifiers)
{
    switch (KeyCode) {
    case Qt::Key_Insert:
        incluirLancamento();
        return true;
    case Qt::Key_Delete:
        apagarLancamento();
        return false;
    default:
        return false;
    }
}

void frmFluxo::lblIMes_Click()
{
    const QDate d = platform::parseDate(txtDataInicial->Text());
    if (d.isValid())
        txtDataInicial->setText(platform::fmtDate(QDate(d.year(), d.month(), 1)));
}

void frmFluxo::lblFMes_Click()
{
    const QDate d = platform::parseDate(txtDataFinal->Text());
    if (d.isValid())
        txtDataFinal->setText(platform::fmtDate(QDate(d.year(), d.month(), d.daysInMonth())));
}

void frmFluxo::lblIAno_Click()
{
    txtDataInicial->setText(platform::fmtDate(QDate(platform::Today().year(), 1, 1)));
}

void frmFluxo::lblFAno_Click()
{
    txtDataFinal->setText(platform::fmtDate(QDate(platform::Today().year(), 12, 31)));
}


void frmFluxo::txtMesAi_Click() { txtDataInicial->stepDate(-1); }
void frmFluxo::txtMesPi_Click() { txtDataInicial->stepDate(1); }
void frmFluxo::txtMesAf_Click() { txtDataFinal->stepDate(-1); }
void frmFluxo::txtMesPf_Click() { txtDataFinal->stepDate(1); }

void frmFluxo::txtSaldo_Change() { platform::colourBySign(*txtSaldo, saldoFinal_.value_or(0)); }

void frmFluxo::flxConsulta_DblClick()
{
    const std::int64_t numero = lancamentoSelecionado();
    if (numero == 0)
        return;
    entries::abrirNoEditor(numero, QStringLiteral("Alteração em Lançamentos"));
}

void frmFluxo::txtDataInicial_KeyDown(int KeyCode)
{
    switch (KeyCode) {
    case Qt::Key_F2:
        txtDataInicial->setText(platform::fmtDate(platform::Today()));
        txtDataFinal->setFocus();
        break;
    case Qt::Key_PageUp: txtDataInicial->stepDate(0, 1); break;
    case Qt::Key_PageDown: txtDataInicial->stepDate(0, -1); break;
    default: break;
    }
}

void frmFluxo::txtDataFinal_KeyDown(int KeyCode)
{
    switch (KeyCode) {
    case Qt::Key_F2: txtDataFinal->setText(platform::fmtDate(platform::Today())); break;
    case Qt::Key_PageUp: txtDataFinal->stepDate(0, 1); break;
    case Qt::Key_PageDown: txtDataFinal->stepDate(0, -1); break;
    default: break;
    }
}

// A click that gives the focus places the cursor after this event; the
// selection is made once the click has been handled.
void frmFluxo::txtDataInicial_GotFocus() { QTimer::singleShot(0, txtDataInicial, &QLineEdit::selectAll); }

void frmFluxo::txtDataFinal_GotFocus() { QTimer::singleShot(0, txtDataFinal, &QLineEdit::selectAll); }

void frmFluxo::lblSoSaldo_Click()
{
    if (flxConsulta->Cols() <= 2) {
        cmdOK_Click();
        lblSoSaldo->setToolTip(QStringLiteral("Visualizar Somente Saldos"));
        return;
    }

    lblSoSaldo->setToolTip(QStringLiteral("Visualizar todas as colunas"));
    QDate inicio, fim;
    if (!datasDoPeriodo(inicio, fim))
        return;
    const data::Centavos abertura = app::abrirPeriodo(*txtDataInicial, inicio);
    const cashflow::Saldos saldos =
        cashflow::saldosDosDias(txtDataInicial->Text(), abertura, cashflow::somasPorDia(ConexaoBanco, inicio, fim));

    flxConsulta->setRows(1);
    flxConsulta->Clear();
    registro_.reset();
    linhasDaGrade_.clear();
    flxConsulta->FormatString(cabecalhoSaldos(), {platform::kWidestDate, platform::kWidestSum});
    mostrarVistaCompleta(false);
    const int linhas = int(saldos.linhas.size());
    flxConsulta->setRows(linhas + 1);
    linhasDaGrade_.reserve(size_t(linhas));
    for (int i = 0; i < linhas; ++i) {
        const int r = i + 1;
        const cashflow::SaldoDoDia& s = saldos.linhas[size_t(i)];
        linhasDaGrade_.push_back({s.saldo, s.data});
        flxConsulta->setTextMatrix(r, 0, s.data);
        flxConsulta->setTextMatrix(r, 1, data::formatMoney(s.saldo));
        if (s.saldo < 0) {
            flxConsulta->setCellForeColor(r, 0, kVermelho);
            flxConsulta->setCellForeColor(r, 1, kVermelho);
        }
    }
    flxConsulta->setEnabled(linhas > 0);
    if (flxConsulta->Rows() > 28)
        flxConsulta->setTopRow(flxConsulta->Rows() - 2);
    escreverSaldo(saldos.saldoFinal);
}

void frmFluxo::flxValoresPos_DblClick()
{
    const int escolhida = flxValoresPos->Row();
    if (flxValoresPos->Rows() <= 1 || escolhida < 1 || escolhida > int(positivos_.size()))
        return;
    const data::Centavos valor = positivos_[size_t(escolhida) - 1];
    auto mostrar = [](const QString& data) {
        platform::MsgBox(data, platform::vbInformation, QStringLiteral("Data"));
    };
    // Every balance row of either view that holds it, then the final one.
    const size_t mostradas = size_t(std::max(0, flxConsulta->Rows() - 1));
    if (registro_) {
        const std::vector<cashflow::LinhaFluxo>& linhas = registro_->fluxo.linhas;
        for (size_t i = 0; i < std::min(linhas.size(), mostradas); ++i)
            if (linhas[i].tipo != cashflow::LinhaFluxo::Tipo::Lancamento && linhas[i].valor == valor)
                mostrar(linhas[i].data);
    }
    for (size_t i = 0; i < std::min(linhasDaGrade_.size(), mostradas); ++i)
        if (linhasDaGrade_[i].saldo == valor)
            mostrar(linhasDaGrade_[i].data);
    if (saldoFinal_ == valor)
        mostrar(txtDataFinal->Text());
}

bool frmFluxo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* tecla = static_cast<QKeyEvent*>(event);
        const int key = tecla->key();
        if (Form_KeyDown(key, tecla->modifiers()))
            return true;
        if ((watched == txtDataInicial || watched == txtDataFinal) &&
            (key == Qt::Key_F2 || key == Qt::Key_PageUp || key == Qt::Key_PageDown)) {
            if (watched == txtDataInicial)
                txtDataInicial_KeyDown(key);
            else
                txtDataFinal_KeyDown(key);
            return true;
        }
    } else if (event->type() == QEvent::FocusIn) {
        if (watched == txtDataInicial)
            txtDataInicial_GotFocus();
        else if (watched == txtDataFinal)
            txtDataFinal_GotFocus();
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (const auto& [rotulo, clique] : cliques())
            if (watched == rotulo) {
                (this->*clique)();
                break;
            }
    }
    return Form::eventFilter(watched, event);
}

void frmFluxo::Lancamentos()
{
    QDate inicio = platform::parseDate(txtDataInicial->Text());
    const QDate fim = platform::parseDate(txtDataFinal->Text());
    if (!inicio.isValid() || !fim.isValid()) {
        // Reached without the checks of "Gerar Fluxo" (after a save or a
        // deletion): an empty register and the reason, rather than rows
        // that may no longer be in the file.
        esvaziarRegistro();
        const bool inicial = !inicio.isValid();
        platform::MsgBox(inicial ? QStringLiteral("Data Inicial inválida.") : QStringLiteral("Data Final inválida."),
                         platform::vbCritical, app::kAtencao);
        (inicial ? txtDataInicial : txtDataFinal)->setFocus();
        return;
    }

    // The rows shown go before the next ones are read: a register of the
    // whole account is never held twice. Their balances go with them, so a
    // read that fails leaves an empty register, not old balances beside no
    // rows.
    esvaziarRegistro();
    const data::Centavos abertura = app::abrirPeriodo(*txtDataInicial, inicio);
    auto registro = std::make_shared<Registro>();
    registro->lancamentos = cashflow::lancamentosDoPeriodo(ConexaoBanco, inicio, fim);
    registro->fluxo = cashflow::montarFluxo(txtDataInicial->Text(), abertura, registro->lancamentos);
    const cashflow::Fluxo& fluxo = registro->fluxo;

    const int linhas = int(fluxo.linhas.size());
    saldosDaVista_.clear();
    for (const cashflow::LinhaFluxo& linha : fluxo.linhas)
        if (linha.tipo != cashflow::LinhaFluxo::Tipo::Lancamento)
            saldosDaVista_.push_back(linha.valor);
    flxConsulta->setRowSource(registro, linhas);
    registro_ = std::move(registro);
    saldosDaVista_.push_back(fluxo.saldoFinal);
    flxConsulta->setEnabled(linhas > 0);
    if (linhas > 0) {
        // The rebuild ends on the last row, which is then the selected one.
        flxConsulta->setRow(linhas);
        flxConsulta->setCol(0);
    }
    if (flxConsulta->Rows() > 25)
        flxConsulta->setTopRow(flxConsulta->Rows() - 2);

    escreverSaldo(fluxo.saldoFinal);
    SaldosPositivos();
    Tempo2();
}

double frmFluxo::ContaSaldo()
{
    const QDate inicio = platform::parseDate(txtDataInicial->Text());
    const QDate fim = platform::parseDate(txtDataFinal->Text());
    if (!inicio.isValid() || !fim.isValid())
        return 0;
    return data::scalar(ConexaoBanco,
                        QStringLiteral("SELECT COUNT(DISTINCT DataVen) FROM Lancamentos WHERE DataVen BETWEEN ? AND ?"),
                        inicio, fim)
        .toDouble();
}

void frmFluxo::Tempo2()
{
    const std::optional<cashflow::MenoresSaldos> m = cashflow::menoresSaldos(ConexaoBanco, platform::Today());
    if (!m)
        return;
    for (size_t i = 0; i < txtDataTempo.size(); ++i)
        txtDataTempo[i]->setText(platform::formatDate(m->datas[i], QStringLiteral("DD/MM/YY")));
    // A month without entries has no lowest balance: its label is emptied
    // rather than left with the value of an earlier build.
    for (size_t i = 0; i < txtValorTempo.size(); ++i) {
        const std::optional<data::Centavos>& v = m->valores[i];
        txtValorTempo[i]->setText(v ? data::formatMoney(*v) : QString());
        // Heard with the month it stands for, as it is seen between its dates.
        txtValorTempo[i]->setAccessibleName(QStringLiteral("Menores saldos, %1 a %2")
                                                .arg(txtDataTempo[i]->text(), txtDataTempo[i + 1]->text()));
        pintarTexto(txtValorTempo[i], v && *v < 0 ? kAmarelo : kBranco);
    }
}

void frmFluxo::SaldosPositivos()
{
    flxValoresPos->setRows(1);
    flxValoresPos->Clear();
    flxValoresPos->FormatString(cabecalhoPositivos(), {platform::kWidestSum});
    positivos_ = cashflow::saldosPositivos(saldosDaVista_);
    flxValoresPos->setRows(int(positivos_.size()) + 1);
    for (size_t i = 0; i < positivos_.size(); ++i)
        flxValoresPos->setTextMatrix(int(i) + 1, 0, data::formatMoney(positivos_[i]));
}


void frmFluxo::escreverSaldo(data::Centavos saldo)
{
    txtSaldo->setText(data::formatMoney(saldo));
    saldoFinal_ = saldo;
    txtSaldo_Change();
}

void frmFluxo::mostrarVistaCompleta(bool completa)
{
    if (completa) {
        flxConsulta->setMaximumWidth(QWIDGETSIZE_MAX);
        return;
    }
    int largura = 2 * flxConsulta->frameWidth() + flxConsulta->verticalScrollBar()->sizeHint().width() + 2;
    for (int c = 0; c < flxConsulta->Cols(); ++c)
        largura += flxConsulta->ColWidth(c);
    flxConsulta->setMaximumWidth(largura);
}

bool frmFluxo::datasDoPeriodo(QDate& inicio, QDate& fim)
{
    inicio = platform::parseDate(txtDataInicial->Text());
    if (!inicio.isValid()) {
        platform::MsgBox(QStringLiteral("Data Inicial inválida."), platform::vbCritical, app::kAtencao);
        txtDataInicial->setFocus();
        return false;
    }
    fim = platform::parseDate(txtDataFinal->Text());
    if (!fim.isValid()) {
        platform::MsgBox(QStringLiteral("Data Final inválida."), platform::vbCritical, app::kAtencao);
        txtDataFinal->setFocus();
        return false;
    }
    return true;
}

std::array<std::pair<QLabel*, void (frmFluxo::*)()>, 9> frmFluxo::cliques() const
{
    return {{{lblIMes, &frmFluxo::lblIMes_Click},
             {lblFMes, &frmFluxo::lblFMes_Click},
             {lblIAno, &frmFluxo::lblIAno_Click},
             {lblFAno, &frmFluxo::lblFAno_Click},
             {txtMesAi, &frmFluxo::txtMesAi_Click},
             {txtMesPi, &frmFluxo::txtMesPi_Click},
             {txtMesAf, &frmFluxo::txtMesAf_Click},
             {txtMesPf, &frmFluxo::txtMesPf_Click},
             {lblSoSaldo, &frmFluxo::lblSoSaldo_Click}}};
}

std::int64_t frmFluxo::lancamentoSelecionado() const
{
    if (flxConsulta->Cols() <= 2)
        return 0;
    const int row = flxConsulta->RowSel();
    if (!registro_ || row < 1 || row >= flxConsulta->Rows() || row > int(registro_->fluxo.linhas.size()))
        return 0;
    const cashflow::LinhaFluxo& linha = registro_->fluxo.linhas[size_t(row) - 1];
    return linha.lancamento ? linha.lancamento->numLan : 0;
}

void frmFluxo::apagarLancamento()
{
    if (entries::excluirComPergunta(lancamentoSelecionado()))
        Lancamentos();
}

void frmFluxo::incluirLancamento()
{
    IncluirLancamento = true;
    frmZalteracao& editor = platform::Forms::get<frmZalteracao>();
    editor.setWindowTitle(QStringLiteral("Inclusão de Lançamentos"));
    editor.txtTipo->setCurrentIndex(0);
    platform::showModal(editor);
}

void frmFluxo::esvaziarRegistro()
{
    limparGrade();
    txtSaldo->clear();
    saldoFinal_.reset();
    txtSaldo_Change();
    saldosDaVista_.clear();
    SaldosPositivos();
}

void frmFluxo::limparGrade()
{
    flxConsulta->setRows(1);
    flxConsulta->Clear();
    registro_.reset();
    linhasDaGrade_.clear();
    flxConsulta->FormatString(cabecalhoCompleto(), {platform::kWidestCode, platform::kWidestDate, QString(), platform::kWidestSum});
    flxConsulta->setGivingWayCol(2);
    mostrarVistaCompleta(true);
    flxConsulta->setEnabled(false);
}
