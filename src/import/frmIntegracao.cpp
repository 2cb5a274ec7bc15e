#include "import/frmIntegracao.h"

#include "app/Icones.h"
#include "app/Textos.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "data/Listagem.h"
#include "entries/AcoesLancamento.h"
#include "import/ConfiguracaoImportacao.h"
#include "import/LancamentosExtrato.h"
#include "import/ModelosExtrato.h"
#include "import/PreClassificacao.h"
#include "import/frmZextratosModelo.h"
#include "platform/Accessibility.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "platform/formats.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QScopeGuard>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kCR = QString(QChar(13));

const QString kCabecalhoLanc = QStringLiteral("|Vencimento|Referente") + QString(76, QLatin1Char(' ')) +
                               QStringLiteral("|Valor") + QString(19, QLatin1Char(' '));
const QString kCabecalhoExtrato =
    QStringLiteral("Data            |Histórico                                            |Valor              "
                   "|Tipo de Classificação             |Ordem|Conta");
const QStringList kMaioresLanc{QString(), platform::kWidestDate, QString(), platform::kWidestAmount};
const QStringList kMaioresExtrato{platform::kWidestDate, QString(), platform::kWidestAmount};
// What is left of the statement header once its last line is removed.
const QString kCabecalhoExtratoVazio =
    QStringLiteral("Data            |Histórico                                            |Valor              "
                   "|Tipo de Classificação             ");

const QColor kFundo(0, 128, 128);
const QColor kAmarelo(255, 255, 128);
const QColor kBranco(255, 255, 255);
const QColor kAzul(0, 0, 255);
const QColor kPreto(0, 0, 0);


void corDoTexto(QWidget* w, const QColor& cor)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, cor);
    w->setPalette(p);
}

QLabel* rotulo(const QString& texto, const QColor& cor, QWidget* pai)
{
    auto* l = new QLabel(texto, pai);
    corDoTexto(l, cor);
    return l;
}

// The headers of the two grids, as every listing writes them; the window
// is arranged by the widths they take.
void cabecalhoExtrato(platform::FlexGrid& grade)
{
    grade.FormatString(kCabecalhoExtrato, kMaioresExtrato);
    grade.setGivingWayCol(1);
}

void cabecalhoLanc(platform::FlexGrid& grade)
{
    grade.FormatString(kCabecalhoLanc, kMaioresLanc);
    // Every width first, so that the description gives way to all of them.
    grade.setColWidth(0, grade.fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 8);
    grade.setGivingWayCol(2);
}

// The due date of a grid cell and its weekday, as both grids show them.
void mostrarDiaSemana(const QString& texto)
{
    const QDate data = platform::parseDate(texto);
    if (!data.isValid())
        return;
    platform::MsgBox(texto + kCR + platform::formatDate(data, QStringLiteral("dddd")), platform::vbInformation,
                     QStringLiteral("Dia da Semana"));
}

} // namespace

// The folder, the files and the layout stand in a column right of the grids
// where the three columns fit the screen; else in a row under the change of
// an entry, the grids side by side above it; and where side by side the
// grids would cut every description short of a readable width (a large font
// on a laptop's screen), the statement over the whole width, the entries
// under it.
frmIntegracao::Arranjo frmIntegracao::escolherArranjo(QLayout& esquerda, QLayout& meio,
                                                    std::initializer_list<QLayout*> linhasDireita)
{
    int direitaLargura = 0;
    for (QLayout* l : linhasDireita)
        direitaLargura = std::max(direitaLargura, l->minimumSize().width());
    for (QWidget* w : std::initializer_list<QWidget*>{Label6, txtCaminho, Label7, lstExtratos, Label4, cbxBancos})
        direitaLargura = std::max(direitaLargura, w->minimumSizeHint().width());
    const QMargins moldura = platform::frameMargins(this);
    const int espaco = style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
    const int bordas = style()->pixelMetric(QStyle::PM_LayoutLeftMargin) +
                       style()->pixelMetric(QStyle::PM_LayoutRightMargin) + moldura.left() + moldura.right();
    const int tela = platform::availableArea(this).width();
    const int alteracao = fraAltera->minimumSizeHint().width();
    const int tresColunas = esquerda.minimumSize().width() +
                            std::max(meio.minimumSize().width() + direitaLargura, alteracao) + 2 * espaco + bordas;
    if (tresColunas <= tela)
        return Arranjo::TresColunas;
    const int ladoALado = std::max(esquerda.minimumSize().width(), flxLanc->readableSizeWidth()) +
                          std::max(meio.minimumSize().width(), flxExtrato->readableSizeWidth()) + espaco + bordas;
    return ladoALado <= tela ? Arranjo::LadoALado : Arranjo::Empilhada;
}

const QString frmIntegracao::kNomeConsulta = QStringLiteral("Integração");

frmIntegracao::frmIntegracao(QWidget* parent) : Form(parent), CamposAlteracao(this)
{
    setWindowTitle(QStringLiteral("Integração de Extrato"));
    QPalette fundo = palette();
    fundo.setColor(QPalette::Window, kFundo);
    fundo.setColor(QPalette::WindowText, kBranco);
    setPalette(fundo);
    setAutoFillBackground(true);

    // Left: the entries of the period.
    Label1 = rotulo(QStringLiteral("Lançamentos do Sistema"), kAmarelo, this);
    flxLanc = new platform::FlexGrid(this);
    auto* lblDataInicial = rotulo(QStringLiteral("Data Inicial"), kBranco, this);
    auto* lblDataFinal = rotulo(QStringLiteral("Data Final"), kBranco, this);
    auto* lblSaldo = rotulo(QStringLiteral("Saldo"), kBranco, this);
    txtDataInicial = new platform::MaskEdBox(QStringLiteral("##/##/####"), this);
    txtDataFinal = new platform::MaskEdBox(QStringLiteral("##/##/####"), this);
    for (auto* caixa : {txtDataInicial, txtDataFinal})
        caixa->setMaximumWidth(caixa->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    cmdOK = new QPushButton(this);
    cmdOK->setIcon(iconeOk());
    cmdOK->setIconSize(QSize(20, 20));
    cmdOK->setToolTip(QStringLiteral("Gravar"));
    txtSaldo = new QLabel(this);
    txtSaldo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtSaldo->setFrameShape(QFrame::Panel);
    txtSaldo->setFrameShadow(QFrame::Sunken);
    txtSaldo->setAutoFillBackground(true);
    platform::showsResult(*txtSaldo);
    {
        QPalette p = txtSaldo->palette();
        p.setColor(QPalette::Window, kBranco);
        p.setColor(QPalette::WindowText, kPreto);
        txtSaldo->setPalette(p);
    }

    auto* periodo = new QGridLayout;
    periodo->addWidget(lblDataInicial, 0, 0);
    periodo->addWidget(lblDataFinal, 0, 1);
    periodo->addWidget(lblSaldo, 0, 4);
    periodo->addWidget(txtDataInicial, 1, 0);
    periodo->addWidget(txtDataFinal, 1, 1);
    periodo->addWidget(cmdOK, 1, 2);
    periodo->setColumnStretch(3, 1);
    periodo->addWidget(txtSaldo, 1, 4);
    auto* esquerda = new QVBoxLayout;
    esquerda->addWidget(Label1);
    esquerda->addWidget(flxLanc, 1);
    esquerda->addLayout(periodo);

    // Middle: the statement lines.
    Label2 = rotulo(QStringLiteral("Lançamentos do Extrato"), kAmarelo, this);
    flxExtrato = new platform::FlexGrid(this);
    flxExtrato->setRows(2);
    flxExtrato->setEnabled(false);
    lblQtde = rotulo(QStringLiteral("Lançamento(s)"), kAmarelo, this);
    cmdNaoClassificar = new QPushButton(QStringLiteral("Colocar \"Não Classificado\""), this);
    auto* contagem = new QHBoxLayout;
    contagem->addWidget(lblQtde);
    contagem->addStretch(1);
    contagem->addWidget(cmdNaoClassificar);
    auto* meio = new QVBoxLayout;
    meio->addWidget(Label2);
    meio->addWidget(flxExtrato, 1);
    meio->addLayout(contagem);

    // Right: folder, files, layout.
    Label6 = rotulo(QStringLiteral("Caminho dos Extratos:"), kAmarelo, this);
    txtCaminho = new QLineEdit(this);
    txtCaminho->setToolTip(QStringLiteral("Cole o caminho aqui e tecle \"ENTER\""));
    Label7 = rotulo(QStringLiteral("Arquivos de Extrato (xls / txt):"), kAmarelo, this);
    lstExtratos = new QListWidget(this);
    lstExtratos->setSortingEnabled(false);
    Label4 = rotulo(QStringLiteral("Selecionar tipo do  Extrato:"), kAmarelo, this);
    cbxBancos = new QComboBox(this);
    lblVerModelos = rotulo(QStringLiteral("Ver modelos"), kBranco, this);
    {
        QFont f = lblVerModelos->font();
        f.setUnderline(true);
        lblVerModelos->setFont(f);
    }
    lblVerModelos->setCursor(Qt::PointingHandCursor);
    frmExtratos = new QLabel(this);
    frmExtratos->setPixmap(importacao::miniaturaModelosExtrato(96));
    frmExtratos->setCursor(Qt::PointingHandCursor);
    frmExtratos->setToolTip(QStringLiteral("Ver modelos"));
    cmdImportar = new QPushButton(QStringLiteral("Extrair E&xtrato"), this);
    cmdAtualiza = new QPushButton(QStringLiteral("&Importar Extrato"), this);
    cmdAtualiza->setEnabled(false);
    cmdFecha = new QToolButton(this);
    cmdFecha->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    cmdFecha->setIconSize(QSize(24, 24));
    cmdFecha->setToolTip(QStringLiteral("Fechar"));
    cmdFecha->setAutoRaise(true);

    auto* modelos = new QVBoxLayout;
    modelos->addWidget(lblVerModelos);
    modelos->addWidget(frmExtratos);
    auto* leitura = new QHBoxLayout;
    leitura->addLayout(modelos);
    leitura->addWidget(cmdImportar, 0, Qt::AlignBottom);
    auto* fim = new QHBoxLayout;
    fim->addWidget(cmdAtualiza, 1);
    fim->addWidget(cmdFecha);
    corDoTexto(fraAltera, kBranco);
    auto* janela = new QGridLayout(this);
    cabecalhoLanc(*flxLanc);
    cabecalhoExtrato(*flxExtrato);
    auto* direita = new QGridLayout;
    const Arranjo arranjo = escolherArranjo(*esquerda, *meio, {leitura, fim});
    if (arranjo == Arranjo::TresColunas) {
        direita->addWidget(Label6, 0, 0);
        direita->addWidget(txtCaminho, 1, 0);
        direita->addWidget(Label7, 2, 0);
        direita->addWidget(lstExtratos, 3, 0);
        direita->addWidget(Label4, 4, 0);
        direita->addWidget(cbxBancos, 5, 0);
        direita->addLayout(leitura, 6, 0);
        direita->setRowMinimumHeight(7, 12);
        direita->addLayout(fim, 8, 0);
        direita->setRowStretch(3, 1);
        janela->addLayout(esquerda, 0, 0, 2, 1);
        janela->addLayout(meio, 0, 1);
        janela->addLayout(direita, 0, 2);
        janela->addWidget(fraAltera, 1, 1, 1, 2);
        janela->setColumnStretch(0, 6);
        janela->setColumnStretch(1, 7);
        janela->setColumnStretch(2, 2);
        janela->setRowStretch(0, 1);
    } else {
        direita->addWidget(Label6, 0, 0);
        direita->addWidget(txtCaminho, 1, 0);
        direita->addWidget(Label4, 2, 0);
        direita->addWidget(cbxBancos, 3, 0);
        direita->addLayout(fim, 4, 0);
        direita->addWidget(Label7, 0, 1);
        direita->addWidget(lstExtratos, 1, 1, 4, 1);
        direita->addLayout(leitura, 0, 2, 5, 1);
        direita->setColumnStretch(1, 1);
        if (arranjo == Arranjo::LadoALado) {
            janela->addLayout(esquerda, 0, 0);
            janela->addLayout(meio, 0, 1);
            janela->addWidget(fraAltera, 1, 0, 1, 2);
            janela->addLayout(direita, 2, 0, 1, 2);
            janela->setColumnStretch(0, 6);
            janela->setColumnStretch(1, 7);
            // The room the choice counted on: each grid's descriptions readable.
            janela->setColumnMinimumWidth(0, flxLanc->readableSizeWidth());
            janela->setColumnMinimumWidth(1, flxExtrato->readableSizeWidth());
            janela->setRowStretch(0, 1);
        } else {
            // The statement, read to classify it, on top; the keyboard
            // meets it first too.
            janela->addLayout(meio, 0, 0);
            janela->addLayout(esquerda, 1, 0);
            janela->addWidget(fraAltera, 2, 0);
            janela->addLayout(direita, 3, 0);
            janela->setRowStretch(0, 1);
            janela->setRowStretch(1, 1);
            setTabOrder(cmdNaoClassificar, flxLanc);
            setTabOrder(flxLanc, txtDataInicial);
            setTabOrder(txtDataInicial, txtDataFinal);
            setTabOrder(txtDataFinal, cmdOK);
        }
    }
    // Wide enough for every column of both grids, the values of the entries
    // included; a smaller screen shortens the descriptions.
    resize(1580, 800);

    txtCaminho->installEventFilter(this);
    lblVerModelos->installEventFilter(this);
    frmExtratos->installEventFilter(this);

    connect(cbxBancos, &QComboBox::currentIndexChanged, this, platform::guarded([this] { cbxBancos_Click(); }));
    connect(cmdFecha, &QToolButton::clicked, this, [this] { cmdFecha_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(flxLanc, &platform::FlexGrid::cellDoubleClicked, this, [this] { flxLanc_DblClick(); });
    platform::describeOpenRow(*flxLanc, app::kAbrirNoEditor);
    connect(flxLanc, &platform::FlexGrid::keyPressed, this, [this](QKeyEvent* e) { flxLanc_KeyDown(e->key()); });
    connect(flxLanc, &platform::FlexGrid::rightClicked, this, [this] { flxLanc_MouseDown(2); });
    connect(cmdImportar, &QPushButton::clicked, this, [this] { cmdImportar_Click(); });
    connect(cmdNaoClassificar, &QPushButton::clicked, this, [this] { cmdNaoClassificar_Click(); });
    connect(flxExtrato, &platform::FlexGrid::cellDoubleClicked, this, [this] { flxExtrato_DblClick(); });
    connect(flxExtrato, &platform::FlexGrid::keyPressed, this, [this](QKeyEvent* e) { flxExtrato_KeyDown(e->key()); });
    connect(flxExtrato, &platform::FlexGrid::rightClicked, this, [this] { flxExtrato_MouseDown(2); });
    connect(cmdAltera, &QPushButton::clicked, this, [this] { cmdAltera_Click(); });
    connect(cmdAtualiza, &QPushButton::clicked, this, platform::guarded([this] { cmdAtualiza_Click(); }));
}

// Window and settings -------------------------------------------------------

void frmIntegracao::Form_Load()
{
    const QDate hoje = platform::Today();
    txtDataFinal->setText(platform::fmtDate(hoje));
    txtDataInicial->setText(platform::fmtDate(hoje.addDays(-30)));
    MostrarLancamentos();
    txtFiltro->setCurrentIndex(0);
    NomeConsultaAtiva = kNomeConsulta;
    setWindowTitle(CaptionAtivo(QStringLiteral("Integração de Extrato")));

    {
        // Filling the list must not store its first item over the setting.
        const QSignalBlocker bloqueio(cbxBancos);
        cbxBancos->addItems(importacao::nomesLayouts());
        cbxBancos->setCurrentIndex(-1);
    }
    if (const auto modelo = importacao::lerModeloExtrato(ConexaoBanco)) {
        const int i = cbxBancos->findText(*modelo, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (i >= 0)
            cbxBancos->setCurrentIndex(i);
    }
    if (const auto pasta = importacao::lerPastaExtratos(ConexaoBanco))
        txtCaminho->setText(*pasta);
    Atualizar_Extratos();
}

void frmIntegracao::Form_KeyDown(int keyCode)
{
    if (keyCode == Qt::Key_Escape)
        Unload();
    else if (keyCode == Qt::Key_Return || keyCode == Qt::Key_Enter)
        focusNextChild();
}

void frmIntegracao::cbxBancos_Click()
{
    if (cbxBancos->currentIndex() >= 0)
        importacao::gravarModeloExtrato(ConexaoBanco, cbxBancos->currentText());
}

void frmIntegracao::txtCaminho_LostFocus()
{
    importacao::gravarPastaExtratos(ConexaoBanco, txtCaminho->text());
    Atualizar_Extratos();
}

void frmIntegracao::cmdFecha_Click() { Unload(); }

void frmIntegracao::lblVerModelos_Click() { platform::Forms::show<frmZextratosModelo>(); }

void frmIntegracao::frmExtratos_Click() { platform::Forms::show<frmZextratosModelo>(); }

// Entries of the period -----------------------------------------------------

void frmIntegracao::cmdOK_Click()
{
    const QDate inicio = platform::parseDate(txtDataInicial->Text());
    const QDate fim = platform::parseDate(txtDataFinal->Text());
    if (!inicio.isValid() || !fim.isValid())
        return;
    if (inicio > fim) {
        platform::MsgBox(QStringLiteral("Data final menor que a data inicial."), platform::vbCritical, app::kAtencao);
        return;
    }
    MostrarLancamentos();
}

void frmIntegracao::MostrarLancamentos()
{
    // Read and summed before anything shown changes: a read or a sum that
    // fails leaves both grids and the boxes as they were.
    const QDate inicio = platform::parseDate(txtDataInicial->Text());
    const QDate fim = platform::parseDate(txtDataFinal->Text());
    const bool comPeriodo = inicio.isValid() && fim.isValid();
    data::Opening abertura;
    std::vector<data::LinhaConsulta> lancamentos;
    if (comPeriodo) {
        abertura = data::openingBalance(ConexaoBanco, inicio);
        lancamentos =
            data::lerPeriodo(ConexaoBanco, QStringLiteral("DataVen"), abertura.start, fim, QString(), true);
    }
    data::Centavos saldo = abertura.balance;
    for (const data::LinhaConsulta& l : lancamentos)
        if (data::countsInBalance(l))
            saldo = data::addMoney(saldo, l.valor);

    cabecalhoExtrato(*flxExtrato);
    // Run after a deletion or a posting while a period box holds no date,
    // the list keeps what it shows: there is no period to list.
    if (!comPeriodo)
        return;
    if (abertura.start != inicio)
        txtDataInicial->setText(platform::fmtDate(abertura.start));

    flxLanc->Clear();
    numerosDaGrade_.clear();
    for (const data::LinhaConsulta& l : lancamentos)
        numerosDaGrade_.push_back(l.numLan);
    cabecalhoLanc(*flxLanc);
    const int n = int(lancamentos.size());
    flxLanc->setEnabled(n > 0);
    flxLanc->setRows(n + 1);
    for (int i = 1; i <= n; ++i) {
        const data::LinhaConsulta& l = lancamentos[size_t(i - 1)];
        flxLanc->setTextMatrix(i, 0, platform::formatNumber(qint64(l.numLan), QStringLiteral("000000")));
        flxLanc->setTextMatrix(i, 1, l.dataVen);
        flxLanc->setTextMatrix(i, 2, l.referente);
        if (data::shownInBlue(l.referente, l.despesa))
            flxLanc->setCellForeColor(i, 2, kAzul);
        flxLanc->setTextMatrix(i, 3, data::formatMoney(l.valor));
        flxLanc->setAlternateRowColor(i);
    }
    if (flxLanc->Rows() > 25)
        flxLanc->setTopRow(n - 1);
    txtSaldo->setText(data::formatMoney(saldo));
    txtSaldo_Change(saldo);
}

void frmIntegracao::txtSaldo_Change(data::Centavos saldo) { platform::colourBySign(*txtSaldo, saldo); }

std::int64_t frmIntegracao::lancamentoSelecionado() const
{
    const int row = flxLanc->Row();
    return row >= 1 && row <= int(numerosDaGrade_.size()) ? numerosDaGrade_[size_t(row) - 1] : 0;
}

void frmIntegracao::flxLanc_DblClick()
{
    const std::int64_t numero = lancamentoSelecionado();
    if (numero == 0)
        return;
    entries::abrirNoEditor(numero);
}

void frmIntegracao::flxLanc_KeyDown(int keyCode)
{
    if (keyCode != Qt::Key_Delete || flxLanc->Row() < 1)
        return;
    const std::int64_t numero = lancamentoSelecionado();
    // Also when the entry was gone meanwhile (deleted from another window):
    // the list is stale.
    if (entries::excluirComPergunta(numero) || !data::findLancamento(ConexaoBanco, numero))
        MostrarLancamentos();
}

void frmIntegracao::flxLanc_MouseDown(int button)
{
    if (button == 2 && flxLanc->Row() >= 1)
        mostrarDiaSemana(flxLanc->TextMatrix(flxLanc->Row(), 1));
}

// Reading a statement -------------------------------------------------------

void frmIntegracao::Atualizar_Extratos()
{
    lstExtratos->clear();
    lstExtratos->addItems(importacao::listarExtratos(txtCaminho->text()));
}

void frmIntegracao::cmdImportar_Click()
{
    if (lendoExtrato_)
        return;
    QListWidgetItem* item = lstExtratos->currentItem();
    const QString nome = item && item->isSelected() ? item->text() : QString();
    if (nome.isEmpty()) {
        platform::MsgBox(QStringLiteral("Selecione um extrato clicando em um nome de extrato na lista."),
                         platform::vbExclamation, app::kAtencao);
        return;
    }
    const QString caminho = txtCaminho->text() + QLatin1Char('\\') + nome;
    if (!QFileInfo(importacao::caminhoLocal(caminho)).isFile()) {
        platform::MsgBox(QStringLiteral("Arquivo não encontrado na pasta."), platform::vbCritical,
                         QStringLiteral("Atenção"));
        Atualizar_Extratos();
        return;
    }
    ArquivoExtrato = caminho;
    linhasDoExtrato_.clear();
    flxExtrato->Clear();
    cabecalhoExtrato(*flxExtrato);
    // A line loaded from the statement that was there must not be written
    // back over a line of the new one.
    limparCampos();

    const auto layout = importacao::layoutPorNome(cbxBancos->currentText());
    if (!layout)
        return;
    switch (*layout) {
    case importacao::LayoutExtrato::Itau: Itau_Extrato(); break;
    case importacao::LayoutExtrato::Santander: Santander_Extrato(); break;
    case importacao::LayoutExtrato::Caixa: CEF_Extrato(); break;
    case importacao::LayoutExtrato::Bradesco: Bradesco_Extrato(); break;
    case importacao::LayoutExtrato::Planilha: Planilha_Extrato(); break;
    }
}

void frmIntegracao::Planilha_Extrato() { lerExtratoNaGrade(importacao::LayoutExtrato::Planilha); }

void frmIntegracao::Santander_Extrato() { lerExtratoNaGrade(importacao::LayoutExtrato::Santander); }

void frmIntegracao::Bradesco_Extrato() { lerExtratoNaGrade(importacao::LayoutExtrato::Bradesco); }

void frmIntegracao::Itau_Extrato() { lerExtratoNaGrade(importacao::LayoutExtrato::Itau); }

void frmIntegracao::CEF_Extrato() { lerExtratoNaGrade(importacao::LayoutExtrato::Caixa); }

void frmIntegracao::Form_Unload(bool& cancel)
{
    if (lendoExtrato_)
        cancel = true;
}

void frmIntegracao::lerExtratoNaGrade(importacao::LayoutExtrato layout)
{
    if (lendoExtrato_)
        return;
    importacao::LeituraExtrato leitura;
    {
        // A spreadsheet is read by a process of its own, for up to seconds;
        // the window keeps painting meanwhile and shows that it is busy.
        lendoExtrato_ = true;
        const platform::WaitCursor espera;
        const auto fim = qScopeGuard([this] { lendoExtrato_ = false; });
        leitura = importacao::lerExtrato(layout, ArquivoExtrato);
    }
    const int n = int(leitura.linhas.size());
    // The grid holds exactly the lines read, so no empty row of an earlier,
    // longer statement stays below them.
    if (n > 0 || (leitura.ok() && layout == importacao::LayoutExtrato::Caixa))
        mostrarLinhasDoExtrato(std::move(leitura.linhas));
    if (n > 0) {
        flxExtrato->setEnabled(true);
        cmdAtualiza->setEnabled(true);
    }
    if (!leitura.ok()) {
        platform::MsgBox(QStringLiteral("Não foi possível importar o extrato. Verifique o modelo escolhido e tente "
                                        "novamente.") +
                             kCR +
                             QStringLiteral("Clique em ''Ver modelos'' para ter certeza que escolheu o modelo correto.") +
                             kCR + kCR + leitura.erro,
                         platform::vbExclamation, app::kAtencao);
        return;
    }
    lblQtde->setText(QString::number(n) + QStringLiteral(" lançamento(s)"));
    PreClassicar();
    // Where the window scrolls, the lines just read are what the user wants
    // to see, wherever the button that read them stands.
    platform::bringIntoView(*flxExtrato);
}

importacao::LinhaExtrato* frmIntegracao::linhaDoExtrato(int row)
{
    return row >= 1 && row <= int(linhasDoExtrato_.size()) ? &linhasDoExtrato_[size_t(row) - 1] : nullptr;
}

void frmIntegracao::mostrarLinhaDoExtrato(int row)
{
    const importacao::LinhaGrade texto = importacao::linhaDaGrade(linhasDoExtrato_[size_t(row) - 1]);
    flxExtrato->setTextMatrix(row, 0, texto.data);
    flxExtrato->setTextMatrix(row, 1, texto.historico);
    flxExtrato->setTextMatrix(row, 2, texto.valor);
    flxExtrato->setTextMatrix(row, 3, texto.classificacao);
    flxExtrato->setTextMatrix(row, 4, texto.ordem);
    flxExtrato->setTextMatrix(row, 5, texto.conta);
}

void frmIntegracao::mostrarLinhasDoExtrato(std::vector<importacao::LinhaExtrato> linhas)
{
    // The grid holds exactly these lines, so no empty row of an earlier,
    // longer statement stays below them.
    flxExtrato->setRows(int(linhas.size()) + 1);
    linhasDoExtrato_ = std::move(linhas);
    for (int r = 1; r <= int(linhasDoExtrato_.size()); ++r) {
        mostrarLinhaDoExtrato(r);
        flxExtrato->setAlternateRowColor(r);
    }
}

void frmIntegracao::PreClassicar()
{
    importacao::preClassificar(linhasDoExtrato_, ConexaoBanco);
    for (int r = 1; r <= int(linhasDoExtrato_.size()); ++r)
        mostrarLinhaDoExtrato(r);
}

void frmIntegracao::cmdNaoClassificar_Click()
{
    importacao::colocarNaoClassificado(linhasDoExtrato_);
    for (int r = 1; r <= int(linhasDoExtrato_.size()); ++r)
        mostrarLinhaDoExtrato(r);
    // Done with no other sign a screen reader would hear.
    platform::announce(*this, QStringLiteral("\"Não Classificado\" colocado nas linhas sem classificação"));
}

bool frmIntegracao::ExisteNaoClassificado() const { return importacao::existeNaoClassificado(linhasDoExtrato_); }

// The statement grid ----------------------------------------------------------

void frmIntegracao::flxExtrato_MouseDown(int button)
{
    if (button == 2 && flxExtrato->Row() >= 1)
        mostrarDiaSemana(flxExtrato->TextMatrix(flxExtrato->Row(), 0));
}

void frmIntegracao::flxExtrato_KeyDown(int keyCode)
{
    const int r = flxExtrato->Row();
    if (keyCode != Qt::Key_Delete || r < 1)
        return;
    const int resposta = platform::MsgBox(QStringLiteral("Deseja excluir este lançamento?") + kCR +
                                              flxExtrato->TextMatrix(r, 1) + QStringLiteral("   R$ ") +
                                              flxExtrato->TextMatrix(r, 2),
                                          platform::vbYesNo | platform::vbQuestion, app::kAtencao);
    if (resposta != platform::vbYes)
        return;
    if (r <= int(linhasDoExtrato_.size()))
        linhasDoExtrato_.erase(linhasDoExtrato_.begin() + (r - 1));
    if (flxExtrato->Rows() == 2) {
        linhasDoExtrato_.clear();
        flxExtrato->Clear();
        flxExtrato->FormatString(kCabecalhoExtratoVazio, kMaioresExtrato);
        flxExtrato->setEnabled(false);
        cmdAtualiza->setEnabled(false);
    } else {
        flxExtrato->RemoveItem(r);
    }
    // The frame may hold the removed line, or a row number that now names
    // another line.
    fraAltera->setEnabled(false);
}

void frmIntegracao::flxExtrato_DblClick()
{
    carregarLinha(linhaDoExtrato(flxExtrato->Row()), flxExtrato->Row());
}

void frmIntegracao::cmdAltera_Click()
{
    // A row past the lines read has no line to keep the correction in.
    importacao::LinhaExtrato fora;
    importacao::LinhaExtrato* linha = linhaDoExtrato(LinhaAlterada);
    if (escreverLinha(linha ? *linha : fora) && linha)
        mostrarLinhaDoExtrato(LinhaAlterada);
}

// Posting ---------------------------------------------------------------------

void frmIntegracao::cmdAtualiza_Click()
{
    if (ExisteNaoClassificado()) {
        platform::MsgBox(QStringLiteral("Não foi possível atualizar, pois existem lançamentos não classificados."),
                         platform::vbExclamation, app::kAtencao);
        return;
    }
    if (!platform::IsDate(txtDataFinal->Text())) {
        platform::MsgBox(QStringLiteral("Data Final inválida"), platform::vbCritical, app::kAtencao);
        txtDataFinal->setFocus();
        return;
    }
    if (linhasDoExtrato_.empty()) {
        platform::MsgBox(QStringLiteral("Não há lançamentos para atualizar!"), platform::vbInformation,
                         QStringLiteral("Sem lançamentos,"));
        return;
    }

    std::vector<importacao::LinhaGrade> linhas;
    for (const importacao::LinhaExtrato& linha : linhasDoExtrato_)
        linhas.push_back(importacao::linhaDaGrade(linha));
    const importacao::ResultadoLancamento resultado =
        importacao::lancarLinhas(ConexaoBanco, linhas, [](const QString& pergunta) {
            return platform::MsgBox(pergunta, platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2,
                                    QStringLiteral("Já existe um lançamento.")) == platform::vbYes;
        });
    if (!resultado.gravado) {
        // Nothing was written: the statement stays in the grid to be
        // corrected or posted again.
        platform::MsgBox(resultado.erro, platform::vbCritical, app::kAtencao);
        return;
    }

    esvaziarExtrato();
    if (resultado.ultimaLinha >= 0) {
        const importacao::LinhaGrade& ultima = linhas[size_t(resultado.ultimaLinha)];
        data::Centavos valor = 0;
        data::parseMoney(ultima.valor, valor);
        mostrarClassificacao(importacao::tipoDaLinha(valor), ultima.classificacao);
    }
    MostrarLancamentos();
    platform::announce(*this, resultado.lancados == 1 ? QStringLiteral("1 lançamento importado")
                                                       : QStringLiteral("%1 lançamentos importados").arg(resultado.lancados));
    if (!resultado.aviso.isEmpty())
        platform::MsgBox(resultado.aviso, platform::vbCritical, app::kAtencao);
}

void frmIntegracao::esvaziarExtrato()
{
    linhasDoExtrato_.clear();
    flxExtrato->Clear();
    flxExtrato->setRows(2);
    flxExtrato->setEnabled(false);
    // The posted lines are gone from the grid: a line still loaded in the
    // frame must not come back as an empty statement's first line.
    limparCampos();
}

// Keys and clicks -------------------------------------------------------------

void frmIntegracao::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            Form_KeyDown(key);
            event->accept();
            return;
        }
    }
    Form::keyPressEvent(event);
}

bool frmIntegracao::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtCaminho && event->type() == QEvent::FocusOut) {
        // Switching to another window or opening a menu is not leaving the box.
        const auto razao = static_cast<QFocusEvent*>(event)->reason();
        if (isLoaded() && razao != Qt::ActiveWindowFocusReason && razao != Qt::PopupFocusReason)
            platform::reportFailures([this] { txtCaminho_LostFocus(); });
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lblVerModelos)
            lblVerModelos_Click();
        else if (watched == frmExtratos)
            frmExtratos_Click();
    }
    return Form::eventFilter(watched, event);
}
