#include "queries/frmConsHistorico.h"

#include "data/Conexao.h"
#include "data/Despesas.h"
#include "platform/Clock.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "queries/frmZOrdem.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

QString frmConsHistorico::ClausulaOrdem;
double frmConsHistorico::SomaValores = 0;

namespace {
const QString kDataVazia = QStringLiteral("__/__/____");
}

frmConsHistorico::frmConsHistorico(QWidget* parent) : Form(parent)
{
    setWindowTitle(QStringLiteral("Consulta por Histórico"));
    setEnterAsTab(true);

    auto* fraConsulta = new QGroupBox(QStringLiteral("Consulta por Histórico"), this);
    optConsulta[0] = new QRadioButton(QStringLiteral("Comece com:"), fraConsulta);
    optConsulta[1] = new QRadioButton(QStringLiteral("Contenha:"), fraConsulta);
    optConsulta[2] = new QRadioButton(QStringLiteral("Exatamente:"), fraConsulta);
    optConsulta[1]->setChecked(true);
    txtConsulta = new QLineEdit(fraConsulta);
    auto* lblFaixa = new QLabel(QStringLiteral("Faixa de datas opcional"), fraConsulta);
    txtDataI = new QLabel(QStringLiteral("Data Inicial"), fraConsulta);
    txtDataF = new QLabel(QStringLiteral("Data Final"), fraConsulta);
    txtDataVen1 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraConsulta);
    txtDataVen2 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraConsulta);
    for (auto* caixa : {txtDataVen1, txtDataVen2}) {
        caixa->setSelectAllOnFocus(true);
        caixa->setMaximumWidth(caixa->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    }
    for (auto* rotulo : {txtDataI, txtDataF}) {
        rotulo->setCursor(Qt::PointingHandCursor);
        rotulo->installEventFilter(this);
    }
    auto* lblFiltro = new QLabel(QStringLiteral("Filtro"), fraConsulta);
    txtFiltro = new QComboBox(fraConsulta);
    txtFiltro->addItem(QString());
    for (char c = 'A'; c <= 'Z'; ++c)
        txtFiltro->addItem(QString(QLatin1Char(c)));
    txtDespesa = new QComboBox(this);
    txtCodDesp = new QComboBox(this);
    txtDespesa->hide();
    txtCodDesp->hide();
    cmdConsulta = new QPushButton(QStringLiteral("Consultar"), fraConsulta);
    cmdSubTotal = new QPushButton(QStringLiteral("Aplicar SubTotal"), fraConsulta);
    cmdOrdem = new QPushButton(QStringLiteral("&Ordem"), fraConsulta);
    cmdOrdem->setEnabled(false);

    auto* consulta = new QGridLayout(fraConsulta);
    consulta->addWidget(optConsulta[0], 0, 0);
    consulta->addWidget(optConsulta[1], 0, 1);
    consulta->addWidget(optConsulta[2], 0, 2);
    consulta->addWidget(txtConsulta, 1, 0, 1, 4);
    consulta->addWidget(lblFaixa, 2, 0, 1, 2);
    consulta->addWidget(txtDataI, 3, 0);
    consulta->addWidget(txtDataF, 3, 1);
    consulta->addWidget(lblFiltro, 3, 2);
    consulta->addWidget(txtDataVen1, 4, 0);
    consulta->addWidget(txtDataVen2, 4, 1);
    consulta->addWidget(txtFiltro, 4, 2);
    auto* botoes = new QVBoxLayout;
    botoes->addWidget(cmdConsulta);
    botoes->addWidget(cmdSubTotal);
    botoes->addWidget(cmdOrdem);
    botoes->addStretch(1);
    consulta->addLayout(botoes, 0, 4, 5, 1);
    consulta->setColumnStretch(3, 1);

    auto* fraLancamentos = new QGroupBox(QStringLiteral("Lançamentos"), this);
    flxConsulta = new platform::FlexGrid(fraLancamentos);
    txtLanc = new QLabel(fraLancamentos);
    auto* lblTotal = new QLabel(QStringLiteral("Total R$"), fraLancamentos);
    txtSaldo2 = new QLabel(fraLancamentos);
    txtSaldo2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtSaldo2->setMinimumWidth(txtSaldo2->fontMetrics().horizontalAdvance(QStringLiteral("-000.000.000,00")));
    cmdApagar = new QPushButton(QStringLiteral("&Apagar Todos"), fraLancamentos);
    auto* rodape = new QHBoxLayout;
    rodape->addWidget(txtLanc);
    rodape->addStretch(1);
    rodape->addWidget(cmdApagar);
    rodape->addSpacing(12);
    rodape->addWidget(lblTotal);
    rodape->addWidget(txtSaldo2);
    auto* lancamentos = new QVBoxLayout(fraLancamentos);
    lancamentos->addWidget(flxConsulta, 1);
    lancamentos->addLayout(rodape);

    cmdFecha = new QToolButton(this);
    cmdFecha->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    cmdFecha->setToolTip(QStringLiteral("Fechar"));
    cmdFecha->setAutoRaise(true);
    cmdFecha->setFocusPolicy(Qt::NoFocus);

    auto* topo = new QHBoxLayout;
    topo->addWidget(fraConsulta, 1);
    topo->addWidget(cmdFecha, 0, Qt::AlignTop);
    auto* janela = new QVBoxLayout(this);
    janela->addLayout(topo);
    janela->addWidget(fraLancamentos, 1);
    resize(1080, 640);

    queries::Comportamento c;
    c.layout = queries::Layout::B;
    c.teclaDelete = true;
    c.diaDaSemana = true;
    c.mais = queries::TeclaMais::Marca;
    c.teclaInsert = true;
    c.teclaSoma = Qt::Key_F12;
    c.previsaoAzul = true;
    c.rolarSubtotalAcimaDe = 18;
    grade_ = new queries::GradeConsulta(*flxConsulta, txtLanc, txtSaldo2, c, [this] { cmdConsulta->click(); },
                                        &SomaValores, this);
    grade_->limpar();

    connect(cmdConsulta, &QPushButton::clicked, this, [this] { cmdConsulta_Click(); });
    connect(cmdSubTotal, &QPushButton::clicked, this, [this] { cmdSubTotal_Click(); });
    connect(cmdOrdem, &QPushButton::clicked, this, [this] { cmdOrdem_Click(); });
    connect(cmdApagar, &QPushButton::clicked, this, [this] { cmdApagar_Click(); });
    connect(cmdFecha, &QToolButton::clicked, this, [this] { cmdFecha_Click(); });
    for (int i = 0; i < 3; ++i)
        connect(optConsulta[size_t(i)], &QRadioButton::clicked, this, [this, i] { optConsulta_Click(i); });
    connect(flxConsulta, &platform::FlexGrid::cellDoubleClicked, this, [this] { flxConsulta_DblClick(); });
    connect(flxConsulta, &platform::FlexGrid::keyPressed, this, [this](QKeyEvent* e) { flxConsulta_KeyDown(e); });
    connect(flxConsulta, &platform::FlexGrid::rightClicked, this, [this] { flxConsulta_MouseDown(2); });
}

void frmConsHistorico::Form_Load()
{
    NomeConsultaAtiva = QStringLiteral("Consulta por Histórico");
    txtDespesa->clear();
    txtCodDesp->clear();
    QHash<std::int64_t, QString> nomes;
    for (const data::Despesa& d : data::classificacoes(ConexaoBanco, QString(), data::OrdemDespesas::PorCodigo)) {
        txtDespesa->addItem(d.nome);
        txtCodDesp->addItem(QString::number(d.codigo));
        nomes.insert(d.codigo, d.nome);
    }
    // The plan is read once, here: the grid names classifications from it.
    grade_->setNomes(std::move(nomes));
    setWindowTitle(CaptionAtivo(QStringLiteral("Consulta por Histórico")));
}

void frmConsHistorico::cmdConsulta_Click()
{
    const QString inicio = txtDataVen1->Text();
    if (inicio != kDataVazia && !platform::IsDate(inicio)) {
        platform::MsgBox(QStringLiteral("Data inicial inválida."), platform::vbCritical | platform::vbOKOnly,
                         QStringLiteral("Atenção,"));
        txtDataVen1->setFocus();
        return;
    }
    const QString fim = txtDataVen2->Text();
    if (fim != kDataVazia && !platform::IsDate(fim)) {
        platform::MsgBox(QStringLiteral("Data final inválida."), platform::vbCritical | platform::vbOKOnly,
                         QStringLiteral("Atenção,"));
        txtDataVen2->setFocus();
        return;
    }
    const std::vector<queries::LinhaConsulta> linhas = ler();
    grade_->preencher(linhas);
    // Once a query has listed entries the order can be chosen for as long
    // as the window is open.
    if (!linhas.empty())
        cmdOrdem->setEnabled(true);
}

void frmConsHistorico::cmdSubTotal_Click() { Lancamentos(); }

void frmConsHistorico::cmdOrdem_Click() { platform::Forms::show<frmZOrdem>(); }

void frmConsHistorico::cmdApagar_Click() { grade_->apagarTodos(); }

void frmConsHistorico::cmdFecha_Click() { Unload(); }

void frmConsHistorico::optConsulta_Click(int) { txtConsulta->setFocus(); }

void frmConsHistorico::txtDataI_Click()
{
    txtDataVen1->setText(QStringLiteral("01/01/") + QString::number(platform::Today().year()));
}

void frmConsHistorico::txtDataF_Click()
{
    txtDataVen2->setText(QStringLiteral("31/12/") + QString::number(platform::Today().year()));
}

void frmConsHistorico::flxConsulta_DblClick() { grade_->abrirLancamento(); }

void frmConsHistorico::flxConsulta_KeyDown(QKeyEvent* event) { grade_->teclaPressionada(event); }

void frmConsHistorico::flxConsulta_MouseDown(int button)
{
    if (button == 2)
        grade_->mostrarDiaSemana();
}

void frmConsHistorico::Lancamentos()
{
    // No date messages here: a box without a valid date leaves the period out.
    grade_->preencherComSubtotais(ler());
}

void frmConsHistorico::ContaSaldo(double& quantos)
{
    quantos = queries::contarMeses(ler());
}

std::vector<queries::LinhaConsulta> frmConsHistorico::ler()
{
    queries::ModoHistorico modo = queries::ModoHistorico::Contenha;
    if (optConsulta[0]->isChecked())
        modo = queries::ModoHistorico::ComeceCom;
    else if (optConsulta[2]->isChecked())
        modo = queries::ModoHistorico::Exatamente;
    const queries::Selecao s =
        queries::selecaoPorHistorico(modo, txtConsulta->text(), platform::parseDate(txtDataVen1->Text()),
                                     platform::parseDate(txtDataVen2->Text()), txtFiltro->currentText());
    return queries::lerSelecao(ConexaoBanco, s, queries::ordemComDesempate(ClausulaOrdem));
}

bool frmConsHistorico::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == txtDataI)
            txtDataI_Click();
        else if (watched == txtDataF)
            txtDataF_Click();
    }
    return Form::eventFilter(watched, event);
}
