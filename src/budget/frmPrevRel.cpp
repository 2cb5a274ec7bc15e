#include "budget/frmPrevRel.h"

#include "app/Textos.h"
#include "budget/MesOrcamento.h"
#include "budget/frmPreXReal.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Money.h"
#include "data/PrevistoRealizado.h"
#include "platform/Application.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "platform/MsgBox.h"
#include "platform/NumberKeys.h"
#include "platform/conversions.h"
#include "platform/formats.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kCabecalhoDespesas = QStringLiteral("Classificação") + QString(66, QLatin1Char(' ')) +
                                   QStringLiteral("|Número ");
const QString kCabecalhoLista = QStringLiteral("NUM.DESP.|DESPESA                                 |VALOR          ");
const QStringList kMaioresDespesas{QString(), platform::kWidestCode};
const QStringList kMaioresLista{platform::kWidestCode, QString(), platform::kWidestAmount};

} // namespace

frmPrevRel::frmPrevRel(QWidget* parent) : Form(parent)
{
    setWindowTitle(QStringLiteral("Previsto e Realizado"));
    setEnterAsTab(true);

    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);

    auto* lblFiltro = new QLabel(QStringLiteral("DESPESA:"), this);
    txtConsulta = new QLineEdit(this);
    flxDespesas = new platform::FlexGrid(this);
    flxDespesas->FormatString(kCabecalhoDespesas, kMaioresDespesas);
    flxDespesas->setGivingWayCol(0);

    Frame1 = new QGroupBox(QStringLiteral("LANÇAMENTO"), this);
    auto* lblDespesaTitulo = new QLabel(QStringLiteral("DESPESA:"), Frame1);
    lblDespesa = new QLabel(Frame1);
    lblDespesa->setFrameShape(QFrame::Panel);
    lblDespesa->setFrameShadow(QFrame::Sunken);
    lblDespesa->setMinimumWidth(lblDespesa->fontMetrics().horizontalAdvance(QString(34, QLatin1Char('M'))) / 2);
    lblCodigo = new QLabel(Frame1);
    lblCodigo->setFrameShape(QFrame::Panel);
    lblCodigo->setFrameShadow(QFrame::Sunken);
    lblCodigo->setMinimumWidth(lblCodigo->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    auto* lblValorTitulo = new QLabel(QStringLiteral("VALOR"), Frame1);
    txtValor = new QLineEdit(Frame1);
    txtValor->setAlignment(Qt::AlignRight);
    txtValor->setMaximumWidth(txtValor->fontMetrics().horizontalAdvance(QStringLiteral("000.000.000,00")) + 16);
    platform::keepWhole(txtValor, QStringLiteral("000.000.000,00"));
    cmdLancar = new QPushButton(QStringLiteral("Lançar"), Frame1);

    auto* linha = new QGridLayout(Frame1);
    linha->addWidget(lblDespesaTitulo, 0, 0);
    linha->addWidget(lblDespesa, 0, 1);
    linha->addWidget(lblCodigo, 0, 2);
    linha->addWidget(lblValorTitulo, 1, 0);
    linha->addWidget(txtValor, 1, 1, Qt::AlignLeft);
    linha->addWidget(cmdLancar, 1, 2);
    linha->setColumnStretch(1, 1);

    flxLancamentos = new platform::FlexGrid(this);
    flxLancamentos->setFont(courier);
    flxLancamentos->FormatString(kCabecalhoLista, kMaioresLista);
    flxLancamentos->setGivingWayCol(1);

    auto* esquerda = new QVBoxLayout;
    auto* filtro = new QHBoxLayout;
    filtro->addWidget(lblFiltro);
    filtro->addWidget(txtConsulta, 1);
    esquerda->addLayout(filtro);
    esquerda->addWidget(flxDespesas, 1);
    auto* direita = new QVBoxLayout;
    direita->addWidget(Frame1);
    direita->addWidget(flxLancamentos, 1);
    auto* janela = new QHBoxLayout(this);
    janela->addLayout(esquerda, 1);
    janela->addLayout(direita, 1);
    resize(1040, 480);

    setTabOrder(txtConsulta, flxDespesas);
    setTabOrder(flxDespesas, txtValor);
    setTabOrder(txtValor, cmdLancar);
    setTabOrder(cmdLancar, flxLancamentos);

    // An amount has two decimals, typed or pasted, as in the entry windows.
    platform::NumberKeyOptions opcoesValor;
    opcoesValor.maxDecimals = 2;
    filtroValor_ = new platform::NumberKeyFilter(txtValor, std::move(opcoesValor));
    txtValor->installEventFilter(this);

    connect(txtConsulta, &QLineEdit::textChanged, this, [this] { txtConsulta_Change(); });
    connect(flxDespesas, &platform::FlexGrid::cellDoubleClicked, this, [this] { flxDespesas_DblClick(); });
    connect(cmdLancar, &QPushButton::clicked, this, platform::guarded([this] { cmdLancar_Click(); }));
    connect(flxLancamentos, &platform::FlexGrid::keyPressed, this,
            platform::guarded([this](QKeyEvent* e) { flxLancamentos_KeyDown(e); }));
}

void frmPrevRel::Form_Load()
{
    txtConsulta_Change();
    Atualiza();
}

void frmPrevRel::Form_Unload(bool&)
{
    if (platform::Forms::isLoaded<frmPreXReal>())
        platform::Forms::get<frmPreXReal>().Atualiza();
}

// The filter is part of the name, taken literally: "%", "_" and
// apostrophes are letters like any other.
void frmPrevRel::txtConsulta_Change()
{
    const auto linhas = data::classificacoesContendo(ConexaoBanco, data::kDespesaSaida, txtConsulta->text(),
                                                     data::OrdemDespesas::PorCodigo);
    budget::recomecarGrade(flxDespesas, kCabecalhoDespesas, kMaioresDespesas, 2);
    flxDespesas->setRows(int(linhas.size()) + 1);
    for (int r = 1; r <= int(linhas.size()); ++r) {
        const data::Despesa& d = linhas[size_t(r - 1)];
        flxDespesas->setTextMatrix(r, 0, d.nome);
        flxDespesas->setTextMatrix(r, 1, platform::formatNumber(qint64(d.codigo), QStringLiteral("000")));
        flxDespesas->setAlternateRowColor(r);
    }
}

void frmPrevRel::flxDespesas_DblClick()
{
    const int r = flxDespesas->Row();
    qint64 codigo = 0;
    if (r < 1 || !platform::parseWholeNumber(flxDespesas->TextMatrix(r, 1), codigo))
        return;
    if (data::isWatched(ConexaoBanco, codigo)) {
        platform::MsgBox(QStringLiteral("Despesa já no Previsto/Realizado."), platform::vbCritical, app::kAtencao);
        return;
    }
    lblDespesa->setText(flxDespesas->TextMatrix(r, 0));
    lblCodigo->setText(flxDespesas->TextMatrix(r, 1));
    txtValor->setFocus(Qt::OtherFocusReason);
}

void frmPrevRel::cmdLancar_Click()
{
    qint64 codigo = 0;
    if (lblDespesa->text().isEmpty() || !platform::parseWholeNumber(lblCodigo->text(), codigo)) {
        platform::MsgBox(QStringLiteral("Selecione a despesa."), platform::vbCritical, app::kAtencao);
        return;
    }
    data::Centavos valor = 0;
    // A lone "," is no value either.
    if (txtValor->text().isEmpty() || !data::parseMoney(txtValor->text(), valor)) {
        platform::MsgBox(QStringLiteral("Digite um valor para a Previsão."), platform::vbCritical, app::kAtencao);
        txtValor->setFocus(Qt::OtherFocusReason);
        return;
    }
    data::savePrevisto(ConexaoBanco, codigo, valor);
    lblDespesa->clear();
    lblCodigo->clear();
    txtValor->setText(QStringLiteral("0"));
    Atualiza();
}

void frmPrevRel::flxLancamentos_KeyDown(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && budget::excluirVigiada(flxLancamentos))
        Atualiza();
}

void frmPrevRel::txtValor_GotFocus()
{
    // After the click that gave the focus, which would place the cursor.
    QTimer::singleShot(0, txtValor, [box = txtValor] { box->selectAll(); });
}


void frmPrevRel::Atualiza()
{
    budget::recomecarGrade(flxLancamentos, kCabecalhoLista, kMaioresLista, 2);
    flxLancamentos->setEnabled(false);
    const std::vector<data::Previsto> linhas = data::previstos(ConexaoBanco);
    flxLancamentos->setRows(int(linhas.size()) + 1);
    for (int r = 1; r <= int(linhas.size()); ++r) {
        const data::Previsto& p = linhas[size_t(r - 1)];
        flxLancamentos->setEnabled(true);
        flxLancamentos->setTextMatrix(r, 0, QString::number(p.despesa));
        flxLancamentos->setTextMatrix(r, 1, p.nome);
        flxLancamentos->setTextMatrix(r, 2, data::formatMoney(p.valor));
        flxLancamentos->setRowBackColor(r, budget::corDaLinha(r));
    }
}

bool frmPrevRel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtValor && event->type() == QEvent::FocusIn)
        txtValor_GotFocus();
    return Form::eventFilter(watched, event);
}
