#include "queries/frmAlterarNaoClass.h"

#include "app/Textos.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "platform/Application.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "queries/PartesDaConsulta.h"
#include "queries/frmZOrdem.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

const QString frmAlterarNaoClass::kNomeConsulta = QStringLiteral("Alterar saidas em Massa");
QString frmAlterarNaoClass::ClausulaOrdem;
data::Centavos frmAlterarNaoClass::SomaValores = 0;

namespace {
const QString kCR = QString(QChar(13));
} // namespace

frmAlterarNaoClass::frmAlterarNaoClass(QWidget* parent) : Form(parent)
{
    setWindowTitle(QStringLiteral("Alterar saidas em Massa"));
    setEnterAsTab(true);

    auto* fraConsulta = new QGroupBox(QStringLiteral("Consulta por Histórico - saídas não classificadas"), this);
    queries::criarOpcoesHistorico(optConsulta, fraConsulta);
    // The options above it say how it is compared; it holds the description.
    QWidget* caixaConsulta = queries::caixaHistorico(txtConsulta, fraConsulta);
    auto* lblFiltro = new QLabel(QStringLiteral("Filtro"), fraConsulta);
    txtFiltro = new QComboBox(fraConsulta);
    queries::preencherLetras(txtFiltro);
    auto* lblPeriodo = new QLabel(QStringLiteral("Faixa de datas opcional"), fraConsulta);
    txtDataI = new QLabel(QStringLiteral("Data Inicial"), fraConsulta);
    txtDataVen1 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraConsulta);
    txtDataF = new QLabel(QStringLiteral("Data Final"), fraConsulta);
    txtDataVen2 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraConsulta);
    cmdConsulta = new QPushButton(QStringLiteral("Consultar"), fraConsulta);
    cmdSubTotal = new QPushButton(QStringLiteral("Aplicar SubTotal"), fraConsulta);
    auto* lblPara = new QLabel(QStringLiteral("Alterar parar:"), fraConsulta);
    txtDespesaPara = new QComboBox(fraConsulta);
    txtCodDespesaPara = new QComboBox(fraConsulta);
    txtCodDespesaPara->hide();
    txtConta = new QLabel(fraConsulta);
    txtConta->setMinimumWidth(txtConta->fontMetrics().horizontalAdvance(QStringLiteral("Manutenção do Veículo")));
    cmdAlterarMassa = new QPushButton(QStringLiteral("&Alterar Todos"), fraConsulta);
    guardFromEnter(cmdAlterarMassa);
    cmdAlterarMassa->setEnabled(false);
    cmdOrdem = new QPushButton(QStringLiteral("&Ordem"), fraConsulta);
    cmdOrdem->setEnabled(false);

    for (auto* caixa : {txtDataVen1, txtDataVen2})
        queries::prepararCaixaData(caixa);
    queries::aoClicar(txtDataI, [this] { txtDataI_Click(); });
    queries::aoClicar(txtDataF, [this] { txtDataF_Click(); });

    auto* opcoes = new QVBoxLayout;
    for (auto* opcao : optConsulta)
        opcoes->addWidget(opcao);
    auto* consulta = new QGridLayout;
    consulta->addWidget(caixaConsulta, 0, 0, 1, 3);
    consulta->addWidget(lblFiltro, 0, 3, Qt::AlignRight);
    consulta->addWidget(txtFiltro, 0, 4);
    consulta->addWidget(lblPeriodo, 1, 0, 1, 2, Qt::AlignCenter);
    consulta->addWidget(txtDataI, 2, 0);
    consulta->addWidget(txtDataF, 2, 1);
    consulta->addWidget(txtDataVen1, 3, 0);
    consulta->addWidget(txtDataVen2, 3, 1);
    consulta->addWidget(cmdConsulta, 3, 3);
    consulta->addWidget(cmdSubTotal, 3, 4);
    consulta->addWidget(cmdOrdem, 3, 5);
    consulta->addWidget(lblPara, 4, 0);
    consulta->addWidget(txtDespesaPara, 4, 1, 1, 2);
    consulta->addWidget(txtConta, 4, 3);
    consulta->addWidget(cmdAlterarMassa, 4, 4);
    consulta->setColumnStretch(2, 1);
    auto* superior = new QHBoxLayout(fraConsulta);
    superior->addLayout(opcoes);
    superior->addSpacing(8);
    superior->addLayout(consulta, 1);

    auto* fraLancamentos = queries::quadroLancamentos(this, flxConsulta, txtLanc, txtSaldo2, &cmdApagar, true);
    cmdFecha = queries::botaoFechar(this);

    txtDespesa = new QComboBox(this);
    txtCodDesp = new QComboBox(this);
    lblCodNaoClass = new QLabel(this);
    for (QWidget* oculto : std::initializer_list<QWidget*>{txtDespesa, txtCodDesp, lblCodNaoClass})
        oculto->hide();

    queries::disporJanela(this, fraConsulta, cmdFecha)->addWidget(fraLancamentos, 1);
    resize(1100, 640);

    queries::Comportamento c;
    c.layout = queries::LayoutGrade::B;
    c.teclaDelete = true;
    c.diaDaSemana = true;
    c.mais = queries::TeclaMais::Marca;
    c.teclaInsert = true;
    c.teclaSoma = Qt::Key_F12;
    c.previsaoAzul = true;
    c.rolarSubtotalAcimaDe = 18;
    grade_ = new queries::GradeConsulta(*flxConsulta, txtLanc, txtSaldo2, c, [this] { cmdConsulta_Click(); },
                                        &SomaValores, this);
    grade_->limpar();

    queries::ligarPartesComuns(this);
    connect(cmdSubTotal, &QPushButton::clicked, this, [this] { cmdSubTotal_Click(); });
    connect(cmdAlterarMassa, &QPushButton::clicked, this, platform::guarded([this] { cmdAlterarMassa_Click(); }));
    connect(cmdOrdem, &QPushButton::clicked, this, [this] { cmdOrdem_Click(); });
    connect(txtDespesaPara, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            txtDespesaPara_Click();
    });
    connect(txtCodDespesaPara, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            txtCodDespesaPara_Click();
    });
    connect(txtCodDesp, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            txtCodDesp_Click();
    });
    for (int i = 0; i < 3; ++i)
        connect(optConsulta[size_t(i)], &QRadioButton::clicked, this, [this, i] { optConsulta_Click(i); });
}

void frmAlterarNaoClass::Form_Load()
{
    NomeConsultaAtiva = kNomeConsulta;
    queries::carregarClassificacoes(txtDespesa, txtCodDesp);
    setWindowTitle(CaptionAtivo(QStringLiteral("Alterar saidas em Massa")));
    if (const auto naoClassificada = data::classificacaoNaoClassificada(ConexaoBanco))
        lblCodNaoClass->setText(QString::number(naoClassificada->codigo));
    {
        // Filling is not choosing: no target until the user picks one.
        const QSignalBlocker nomes(txtDespesaPara);
        const QSignalBlocker codigos(txtCodDespesaPara);
        txtDespesaPara->clear();
        txtCodDespesaPara->clear();
        for (const data::Despesa& d : data::classificacoes(ConexaoBanco, data::kDespesaSaida)) {
            txtDespesaPara->addItem(d.nome);
            txtCodDespesaPara->addItem(QString::number(d.codigo));
        }
        txtDespesaPara->setCurrentIndex(-1);
        txtCodDespesaPara->setCurrentIndex(-1);
    }
    txtConta->clear();
}

void frmAlterarNaoClass::cmdConsulta_Click()
{
    if (!queries::conferirPeriodoOpcional(*txtDataVen1, *txtDataVen2))
        return;
    grade_->setNomes(queries::nomesDasListas(txtCodDesp, txtDespesa));
    grade_->preencher(ler());
    const bool achou = !grade_->lancamentos().empty();
    if (achou)
        cmdOrdem->setEnabled(true);
    cmdAlterarMassa->setEnabled(achou);
}

void frmAlterarNaoClass::cmdSubTotal_Click() { Lancamentos(); }

void frmAlterarNaoClass::txtDespesaPara_Click()
{
    txtCodDespesaPara->setCurrentIndex(txtDespesaPara->currentIndex());
}

void frmAlterarNaoClass::txtCodDespesaPara_Click()
{
    bool ok = false;
    const std::int64_t codigo = txtCodDespesaPara->currentText().toLongLong(&ok);
    if (!ok)
        return;
    if (const auto d = data::findClassificacao(ConexaoBanco, codigo))
        txtConta->setText(d->conta);
}

void frmAlterarNaoClass::txtCodDesp_Click() { queries::acompanharCodigo(*txtCodDesp, *txtDespesa); }

void frmAlterarNaoClass::cmdAlterarMassa_Click()
{
    // Without a target every listed entry would lose its classification.
    const QString codigo = txtCodDespesaPara->currentText();
    if (txtDespesaPara->currentIndex() < 0 || codigo.isEmpty()) {
        platform::MsgBox(QStringLiteral("Escolha a classificação para a qual os lançamentos serão alterados."),
                         platform::vbCritical, app::kAtencao);
        txtDespesaPara->setFocus();
        return;
    }
    const int resposta = platform::MsgBox(QStringLiteral("Todos os lançamentos desta consulta serão Alterados!") + kCR +
                                              QStringLiteral("Deseja Continuar?"),
                                          platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2,
                                          app::kAtencao);
    if (resposta == platform::vbYes) {
        // One transaction: every listed entry changes, or none when the file
        // fails midway.
        data::Transaction t(ConexaoBanco);
        {
            data::Statement muda(ConexaoBanco,
                                 QStringLiteral("UPDATE Lancamentos SET Despesa = ?, Conta = ? WHERE NumLan = ?"));
            for (int row = 1; row < flxConsulta->Rows(); ++row) {
                const std::int64_t n = grade_->numLanDaLinha(row);
                if (n == 0)
                    continue;
                muda.bind(1, codigo);
                muda.bind(2, txtConta->text());
                muda.bind(3, n);
                muda.exec();
                muda.reset();
            }
        }
        t.commit();
    }
    cmdConsulta->click();
}

void frmAlterarNaoClass::cmdOrdem_Click()
{
    // The ordering dialog hands its clause only to the query windows it
    // knows by name; this window takes the clause itself when OK is pressed.
    frmZOrdem& ordem = platform::Forms::get<frmZOrdem>();
    bool escolhida = false;
    const QMetaObject::Connection ligacao = connect(ordem.cmdOK, &QToolButton::clicked, this, [&ordem, &escolhida] {
        ClausulaOrdem = ordem.Clausula();
        escolhida = true;
    });
    platform::showModal(ordem);
    disconnect(ligacao);
    if (escolhida)
        cmdConsulta->click();
}

void frmAlterarNaoClass::cmdApagar_Click() { grade_->apagarTodos(); }

void frmAlterarNaoClass::cmdFecha_Click() { Unload(); }

void frmAlterarNaoClass::optConsulta_Click(int) { txtConsulta->setFocus(); }

void frmAlterarNaoClass::txtDataI_Click() { queries::primeiroDiaDoAno(*txtDataVen1); }

void frmAlterarNaoClass::txtDataF_Click() { queries::ultimoDiaDoAno(*txtDataVen2); }

void frmAlterarNaoClass::flxConsulta_DblClick() { grade_->abrirLancamento(); }

void frmAlterarNaoClass::flxConsulta_KeyDown(QKeyEvent* event) { grade_->teclaPressionada(event); }

void frmAlterarNaoClass::flxConsulta_MouseDown(int button) { grade_->botaoPressionado(button); }

void frmAlterarNaoClass::Lancamentos()
{
    std::vector<data::LinhaConsulta> linhas = ler();
    if (linhas.empty()) {
        // Nothing found: the grid empties and the count and total stay.
        grade_->limpar();
        flxConsulta->setEnabled(false);
        return;
    }
    grade_->preencherComSubtotais(std::move(linhas));
}

void frmAlterarNaoClass::ContaSaldo(double& quantos)
{
    quantos = queries::contarMeses(ler());
}

std::vector<data::LinhaConsulta> frmAlterarNaoClass::ler()
{
    return data::lerSelecao(ConexaoBanco, selecao(), data::ordemComDesempate(ClausulaOrdem));
}

data::Selecao frmAlterarNaoClass::selecao() const
{
    data::Selecao s =
        queries::selecaoPorHistorico(queries::modoEscolhido(optConsulta), txtConsulta->text(),
                                     platform::parseDate(txtDataVen1->Text()), platform::parseDate(txtDataVen2->Text()),
                                     txtFiltro->currentText());
    s.e(QStringLiteral("Tipo = ?"), {data::kTipoSaida});
    s.e(QStringLiteral("Despesa = ?"), {lblCodNaoClass->text()});
    return s;
}
