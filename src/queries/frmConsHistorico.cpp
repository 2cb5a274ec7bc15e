#include "queries/frmConsHistorico.h"

#include "data/Conexao.h"
#include "data/Despesas.h"
#include "platform/MaskEdBox.h"
#include "platform/conversions.h"
#include "queries/PartesDaConsulta.h"
#include "queries/frmZOrdem.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

QString frmConsHistorico::ClausulaOrdem;
data::Centavos frmConsHistorico::SomaValores = 0;

const QString frmConsHistorico::kNomeConsulta = QStringLiteral("Consulta por Histórico");

frmConsHistorico::frmConsHistorico(QWidget* parent) : Form(parent)
{
    setWindowTitle(QStringLiteral("Consulta por Histórico"));
    setEnterAsTab(true);

    auto* fraConsulta = new QGroupBox(QStringLiteral("Consulta por Histórico"), this);
    queries::criarOpcoesHistorico(optConsulta, fraConsulta);
    // The options above it say how it is compared; it holds the description.
    QWidget* caixaConsulta = queries::caixaHistorico(txtConsulta, fraConsulta);
    auto* lblFaixa = new QLabel(QStringLiteral("Faixa de datas opcional"), fraConsulta);
    txtDataI = new QLabel(QStringLiteral("Data Inicial"), fraConsulta);
    txtDataF = new QLabel(QStringLiteral("Data Final"), fraConsulta);
    txtDataVen1 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraConsulta);
    txtDataVen2 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraConsulta);
    for (auto* caixa : {txtDataVen1, txtDataVen2})
        queries::prepararCaixaData(caixa);
    queries::aoClicar(txtDataI, [this] { txtDataI_Click(); });
    queries::aoClicar(txtDataF, [this] { txtDataF_Click(); });
    auto* lblFiltro = new QLabel(QStringLiteral("Filtro"), fraConsulta);
    txtFiltro = new QComboBox(fraConsulta);
    queries::preencherLetras(txtFiltro);
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
    consulta->addWidget(caixaConsulta, 1, 0, 1, 4);
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

    auto* fraLancamentos = queries::quadroLancamentos(this, flxConsulta, txtLanc, txtSaldo2, &cmdApagar, true);
    cmdFecha = queries::botaoFechar(this);
    queries::disporJanela(this, fraConsulta, cmdFecha)->addWidget(fraLancamentos, 1);
    resize(1080, 640);

    queries::Comportamento c;
    c.layout = queries::LayoutGrade::B;
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

    queries::ligarPartesComuns(this);
    connect(cmdSubTotal, &QPushButton::clicked, this, [this] { cmdSubTotal_Click(); });
    connect(cmdOrdem, &QPushButton::clicked, this, [this] { cmdOrdem_Click(); });
    for (int i = 0; i < 3; ++i)
        connect(optConsulta[size_t(i)], &QRadioButton::clicked, this, [this, i] { optConsulta_Click(i); });
}

void frmConsHistorico::Form_Load()
{
    NomeConsultaAtiva = kNomeConsulta;
    // The plan is read once, here: the grid names classifications from it.
    grade_->setNomes(queries::carregarClassificacoes(txtDespesa, txtCodDesp));
    setWindowTitle(CaptionAtivo(QStringLiteral("Consulta por Histórico")));
}

void frmConsHistorico::Form_Activate()
{
    // The search is typed at once: a first Tab stop on the options would
    // take its first letters, and a space would choose another option.
    txtConsulta->setFocus();
}

void frmConsHistorico::cmdConsulta_Click()
{
    if (!queries::conferirPeriodoOpcional(*txtDataVen1, *txtDataVen2))
        return;
    grade_->preencher(ler());
    // Once a query has listed entries the order can be chosen for as long
    // as the window is open.
    if (!grade_->lancamentos().empty())
        cmdOrdem->setEnabled(true);
}

void frmConsHistorico::cmdSubTotal_Click() { Lancamentos(); }

void frmConsHistorico::cmdOrdem_Click() { platform::Forms::show<frmZOrdem>(); }

void frmConsHistorico::cmdApagar_Click() { grade_->apagarTodos(); }

void frmConsHistorico::cmdFecha_Click() { Unload(); }

void frmConsHistorico::optConsulta_Click(int) { txtConsulta->setFocus(); }

void frmConsHistorico::txtDataI_Click() { queries::primeiroDiaDoAno(*txtDataVen1); }

void frmConsHistorico::txtDataF_Click() { queries::ultimoDiaDoAno(*txtDataVen2); }

void frmConsHistorico::flxConsulta_DblClick() { grade_->abrirLancamento(); }

void frmConsHistorico::flxConsulta_KeyDown(QKeyEvent* event) { grade_->teclaPressionada(event); }

void frmConsHistorico::flxConsulta_MouseDown(int button) { grade_->botaoPressionado(button); }

void frmConsHistorico::Lancamentos()
{
    // No date messages here: a box without a valid date leaves the period out.
    grade_->preencherComSubtotais(ler());
}

void frmConsHistorico::ContaSaldo(double& quantos)
{
    quantos = queries::contarMeses(ler());
}

std::vector<data::LinhaConsulta> frmConsHistorico::ler()
{
    const data::Selecao s =
        queries::selecaoPorHistorico(queries::modoEscolhido(optConsulta), txtConsulta->text(),
                                     platform::parseDate(txtDataVen1->Text()), platform::parseDate(txtDataVen2->Text()),
                                     txtFiltro->currentText());
    return data::lerSelecao(ConexaoBanco, s, data::ordemComDesempate(ClausulaOrdem));
}
