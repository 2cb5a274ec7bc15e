#include "queries/frmConsEstr.h"

#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "platform/conversions.h"
#include "queries/PartesDaConsulta.h"
#include "queries/frmZOrdem.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

QString frmConsEstr::ClausulaOrdem;

namespace {

const QString kZero = QStringLiteral("0,00");

// An amount without its sign, as the average and the extremes are shown.
QString semSinal(data::Centavos c) { return data::formatMoney(c < 0 ? -c : c); }

} // namespace

const QString frmConsEstr::kNomeConsulta = QStringLiteral("Consulta Estruturada");

frmConsEstr::frmConsEstr(QWidget* parent) : Form(parent)
{
    setWindowTitle(QStringLiteral("Consulta por tipo de Classificação e Datas"));
    setEnterAsTab(true);

    auto* fraConsulta = new QGroupBox(this);
    auto* lblTipo = new QLabel(QStringLiteral("Tipo do Lançamento"), fraConsulta);
    txtTipo2 = new QComboBox(fraConsulta);
    txtTipo2->addItems({QStringLiteral("Saída"), QStringLiteral("Entrada"), QStringLiteral("Ambos")});
    txtTipo2->setCurrentIndex(-1);
    txtDespesa1 = new QComboBox(fraConsulta);
    txtDespesa2 = new QComboBox(fraConsulta);
    txtDespesa3 = new QComboBox(fraConsulta);
    txtCodDesp1 = new QComboBox(this);
    txtCodDesp2 = new QComboBox(this);
    txtCodDesp3 = new QComboBox(this);
    for (auto* codigos : {txtCodDesp1, txtCodDesp2, txtCodDesp3})
        codigos->hide();
    lblDataI = new QLabel(QStringLiteral("Data Inicial"), fraConsulta);
    lblDataF = new QLabel(QStringLiteral("Data Final"), fraConsulta);
    txtDataVen1 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraConsulta);
    txtDataVen2 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraConsulta);
    for (auto* caixa : {txtDataVen1, txtDataVen2})
        queries::prepararCaixaData(caixa);
    queries::aoTeclar(txtDataVen1, {Qt::Key_PageUp, Qt::Key_PageDown}, [this](int key) { txtDataVen1_KeyDown(key); });
    queries::aoTeclar(txtDataVen2, {Qt::Key_PageUp, Qt::Key_PageDown}, [this](int key) { txtDataVen2_KeyDown(key); });
    queries::aoClicar(lblDataI, [this] { lblDataI_Click(); });
    queries::aoClicar(lblDataF, [this] { lblDataF_Click(); });
    cmdConsulta = new QPushButton(QStringLiteral("Consultar"), fraConsulta);
    cmdSubTotal = new QPushButton(QStringLiteral("Aplicar SubTotal"), fraConsulta);
    cmdOrdem = new QPushButton(QStringLiteral("&Ordem"), fraConsulta);
    cmdOrdem->setEnabled(false);
    cmdApagar = new QPushButton(QStringLiteral("&Apagar Todos"), fraConsulta);
    guardFromEnter(cmdApagar);

    auto* consulta = new QGridLayout(fraConsulta);
    consulta->addWidget(lblTipo, 0, 0);
    consulta->addWidget(txtTipo2, 1, 0);
    int linha = 0;
    for (auto* nomes : {txtDespesa1, txtDespesa2, txtDespesa3}) {
        nomes->setMinimumContentsLength(28);
        nomes->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        consulta->addWidget(new QLabel(QStringLiteral("Tipo da Classificação"), fraConsulta), 2 + linha, 0);
        consulta->addWidget(nomes, 3 + linha, 0);
        linha += 2;
    }
    auto* datas = new QGridLayout;
    datas->addWidget(lblDataI, 0, 0);
    datas->addWidget(lblDataF, 0, 1);
    datas->addWidget(txtDataVen1, 1, 0);
    datas->addWidget(txtDataVen2, 1, 1);
    consulta->addLayout(datas, 1, 1, 2, 1, Qt::AlignTop);
    auto* botoes = new QVBoxLayout;
    for (auto* botao : {cmdConsulta, cmdSubTotal, cmdOrdem, cmdApagar})
        botoes->addWidget(botao);
    botoes->addStretch(1);
    consulta->addLayout(botoes, 0, 2, 8, 1);
    consulta->setColumnStretch(3, 1);

    flxConsulta = new platform::FlexGrid(this);
    txtLanc = new QLabel(this);
    queries::prepararContagem(txtLanc);
    txtSaldo2 = new QLabel(this);
    txtMedia = new QLabel(kZero, this);
    txtMaior = new QLabel(kZero, this);
    txtMenor = new QLabel(kZero, this);
    auto* rodape = new QHBoxLayout;
    rodape->addWidget(txtLanc);
    rodape->addStretch(1);
    const std::pair<const char*, QLabel*> valores[] = {
        {"Total R$", txtSaldo2}, {"Média", txtMedia}, {"Maior", txtMaior}, {"Menor", txtMenor}};
    // Two pairs of results side by side, or one pair over the other on a
    // narrow screen.
    auto* pares = new QHBoxLayout;
    QHBoxLayout* par = nullptr;
    for (const auto& [titulo, rotulo] : valores) {
        if (!par || par->count() == 6) {
            par = new QHBoxLayout;
            pares->addLayout(par);
        }
        queries::prepararRotuloValor(rotulo);
        par->addSpacing(12);
        par->addWidget(new QLabel(QString::fromUtf8(titulo), this));
        par->addWidget(rotulo);
    }
    rodape->addLayout(pares);
    platform::givesWayAcross(*pares);

    cmdFecha = queries::botaoFechar(this);

    auto* janela = queries::disporJanela(this, fraConsulta, cmdFecha);
    janela->addWidget(flxConsulta, 1);
    janela->addLayout(rodape);
    resize(1000, 680);

    queries::Comportamento c;
    c.layout = queries::LayoutGrade::A;
    c.teclaDelete = true;
    c.diaDaSemana = true;
    c.contagemVaziaEmBranco = true;
    c.rolarAcimaDe = 27;
    c.rolarSubtotalAcimaDe = 27;
    c.subtotalNegativoVermelho = true;
    grade_ = new queries::GradeConsulta(*flxConsulta, txtLanc, txtSaldo2, c, [this] { cmdConsulta->click(); },
                                        nullptr, this);
    grade_->limpar();

    connect(txtTipo2, &QComboBox::currentIndexChanged, this, [this] { txtTipo2_Click(); });
    connect(txtDespesa1, &QComboBox::currentIndexChanged, this, [this] { txtDespesa1_Click(); });
    connect(txtDespesa2, &QComboBox::currentIndexChanged, this, [this] { txtDespesa2_Click(); });
    connect(txtDespesa3, &QComboBox::currentIndexChanged, this, [this] { txtDespesa3_Click(); });
    queries::ligarPartesComuns(this);
    connect(cmdSubTotal, &QPushButton::clicked, this, [this] { cmdSubTotal_Click(); });
    connect(cmdOrdem, &QPushButton::clicked, this, [this] { cmdOrdem_Click(); });
}

void frmConsEstr::Form_Load()
{
    NomeConsultaAtiva = kNomeConsulta;
    txtTipo2->setCurrentIndex(0);
    grade_->limpar();
    setWindowTitle(CaptionAtivo(QStringLiteral("Consulta por tipo de Classificação e Datas")));
}

void frmConsEstr::txtTipo2_Click()
{
    const QString lado = txtTipo2->currentText();
    // The plan codes sides the other way round: an outgoing classification
    // has Tipo "2".
    QString ladoDespesas;
    if (lado == QStringLiteral("Saída")) {
        TipoConsulta = data::kTipoSaida;
        ladoDespesas = data::kDespesaSaida;
    } else if (lado == QStringLiteral("Entrada")) {
        TipoConsulta = data::kTipoEntrada;
        ladoDespesas = data::kDespesaEntrada;
    } else {
        TipoConsulta = QStringLiteral("0");
    }
    const std::array<QComboBox*, 6> listas{txtDespesa1, txtDespesa2, txtDespesa3,
                                           txtCodDesp1, txtCodDesp2, txtCodDesp3};
    for (QComboBox* lista : listas) {
        lista->clear();
        lista->addItem(QString());
    }
    if (!ladoDespesas.isEmpty()) {
        for (const data::Despesa& d :
             data::classificacoes(ConexaoBanco, ladoDespesas, data::OrdemDespesas::PorCodigo)) {
            for (QComboBox* nomes : {txtDespesa1, txtDespesa2, txtDespesa3})
                nomes->addItem(d.nome);
            for (QComboBox* codigos : {txtCodDesp1, txtCodDesp2, txtCodDesp3})
                codigos->addItem(QString::number(d.codigo));
        }
    }
    for (QComboBox* lista : listas)
        lista->setCurrentIndex(-1);
}

void frmConsEstr::txtDespesa1_Click() { txtCodDesp1->setCurrentIndex(txtDespesa1->currentIndex()); }

void frmConsEstr::txtDespesa2_Click() { txtCodDesp2->setCurrentIndex(txtDespesa2->currentIndex()); }

void frmConsEstr::txtDespesa3_Click() { txtCodDesp3->setCurrentIndex(txtDespesa3->currentIndex()); }

void frmConsEstr::cmdConsulta_Click()
{
    if (!conferirDatas())
        return;
    txtLanc->clear();
    grade_->preencher(ler(ClausulaOrdem));
    const std::vector<data::LinhaConsulta>& linhas = grade_->lancamentos();
    if (!linhas.empty())
        cmdOrdem->setEnabled(true);
    txtMenor->setText(kZero);
    txtMaior->setText(kZero);
    txtMedia->setText(kZero);
    if (!linhas.empty()) {
        // The average of the amounts, without its sign, rounded half away
        // from zero to the centavo.
        const data::Centavos total = std::llabs(grade_->total());
        const data::Centavos n = data::Centavos(linhas.size());
        txtMedia->setText(semSinal((2 * total + n) / (2 * n)));
    }
    mostrarMaiorEMenor(linhas);
}

void frmConsEstr::cmdSubTotal_Click()
{
    if (!conferirDatas())
        return;
    txtLanc->clear();
    // Months are told apart in the order of the rows, so the subtotal view
    // always lists by due date, and later queries keep that order.
    ClausulaOrdem = data::kOrdemPadrao;
    grade_->preencherComSubtotais(ler(ClausulaOrdem));
}

void frmConsEstr::cmdOrdem_Click() { platform::Forms::show<frmZOrdem>(); }

void frmConsEstr::cmdApagar_Click() { grade_->apagarTodos(); }

void frmConsEstr::cmdFecha_Click() { Unload(); }

void frmConsEstr::lblDataI_Click() { queries::primeiroDiaDoAno(*txtDataVen1); }

void frmConsEstr::lblDataF_Click()
{
    queries::ultimoDiaDoAno(*txtDataVen2);
    cmdConsulta->setFocus();
}

void frmConsEstr::txtDataVen1_KeyDown(int key) { queries::moverMes(*txtDataVen1, key); }

void frmConsEstr::txtDataVen2_KeyDown(int key) { queries::moverMes(*txtDataVen2, key); }

void frmConsEstr::flxConsulta_DblClick() { grade_->abrirLancamento(); }

void frmConsEstr::flxConsulta_KeyDown(QKeyEvent* event) { grade_->teclaPressionada(event); }

void frmConsEstr::flxConsulta_MouseDown(int button) { grade_->botaoPressionado(button); }

void frmConsEstr::ContaSaldo(double& quantos)
{
    QString ordem = data::kOrdemPadrao;
    quantos = queries::contarMeses(ler(ordem));
}

bool frmConsEstr::conferirDatas()
{
    return queries::conferirData(*txtDataVen1, false, QStringLiteral("Data inicial inválida")) &&
           queries::conferirData(*txtDataVen2, false, QStringLiteral("Data final inválida"));
}

std::vector<data::LinhaConsulta> frmConsEstr::ler(QString& ordem)
{
    data::Selecao s;
    s.vencimentoEntre(platform::parseDate(txtDataVen1->Text()), platform::parseDate(txtDataVen2->Text()));
    if (TipoConsulta != QStringLiteral("0")) {
        s.e(QStringLiteral("Tipo = ?"), {TipoConsulta});
        const bool algumaEscolhida = !txtDespesa1->currentText().isEmpty() ||
                                     !txtDespesa2->currentText().isEmpty() ||
                                     !txtDespesa3->currentText().isEmpty();
        // One term per list, always all three: a list left empty asks for
        // the empty code, which is text, never NULL (a list without a
        // selection gives a null text).
        const auto codigo = [](const QComboBox* lista) {
            const QString texto = lista->currentText();
            return texto.isNull() ? QStringLiteral("") : texto;
        };
        if (algumaEscolhida)
            s.e(QStringLiteral("Despesa IN (?, ?, ?)"),
                {codigo(txtCodDesp1), codigo(txtCodDesp2), codigo(txtCodDesp3)});
    }
    return data::lerSelecao(ConexaoBanco, s, data::ordemComDesempate(ordem));
}

void frmConsEstr::mostrarMaiorEMenor(const std::vector<data::LinhaConsulta>& linhas)
{
    // The largest and the smallest amount listed, whatever the list's order.
    if (linhas.empty())
        return;
    const auto [menor, maior] = std::minmax_element(
        linhas.begin(), linhas.end(), [](const data::LinhaConsulta& a, const data::LinhaConsulta& b) {
            return std::llabs(a.valor) < std::llabs(b.valor);
        });
    txtMaior->setText(semSinal(maior->valor));
    txtMenor->setText(semSinal(menor->valor));
}
