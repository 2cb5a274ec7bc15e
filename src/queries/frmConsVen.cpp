#include "queries/frmConsVen.h"

#include "data/Conexao.h"
#include "data/Despesas.h"
#include "platform/Clock.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "platform/formats.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

double frmConsVen::SomaValores = 0;

frmConsVen::frmConsVen(QWidget* parent) : Form(parent)
{
    setWindowTitle(QStringLiteral("Consulta por Data"));
    setEnterAsTab(true);

    auto* fraConsulta = new QGroupBox(QStringLiteral("Consulta por Data"), this);
    optConsulta[0] = new QRadioButton(QStringLiteral("Vencimento"), fraConsulta);
    optConsulta[1] = new QRadioButton(QStringLiteral("Lançamento"), fraConsulta);
    optConsulta[0]->setChecked(true);
    txtDataI = new QLabel(QStringLiteral("Data Inicial"), fraConsulta);
    txtData1 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraConsulta);
    txtDataF = new QLabel(QStringLiteral("Data Final"), fraConsulta);
    txtData2 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraConsulta);
    auto* lblTipo = new QLabel(QStringLiteral("Tipo"), fraConsulta);
    txtTipo = new QComboBox(fraConsulta);
    txtTipo->addItems({QStringLiteral("Entrada"), QStringLiteral("Saída"), QStringLiteral("Ambos")});
    cmdConsulta = new QPushButton(QStringLiteral("Consultar"), fraConsulta);
    for (auto* caixa : {txtData1, txtData2}) {
        caixa->setSelectAllOnFocus(true);
        caixa->setMaximumWidth(caixa->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
        caixa->installEventFilter(this);
    }
    for (auto* rotulo : {txtDataI, txtDataF}) {
        rotulo->setCursor(Qt::PointingHandCursor);
        rotulo->installEventFilter(this);
    }

    auto* consulta = new QGridLayout(fraConsulta);
    consulta->addWidget(optConsulta[0], 0, 0);
    consulta->addWidget(optConsulta[1], 0, 1);
    consulta->addWidget(txtDataI, 1, 0);
    consulta->addWidget(txtDataF, 1, 1);
    consulta->addWidget(lblTipo, 1, 2);
    consulta->addWidget(txtData1, 2, 0);
    consulta->addWidget(txtData2, 2, 1);
    consulta->addWidget(txtTipo, 2, 2);
    consulta->addWidget(cmdConsulta, 2, 3);
    consulta->setColumnStretch(4, 1);

    auto* fraLancamentos = new QGroupBox(QStringLiteral("Lançamentos"), this);
    flxConsulta = new platform::FlexGrid(fraLancamentos);
    txtLanc = new QLabel(fraLancamentos);
    txtSaldo2 = new QLabel(fraLancamentos);
    txtSaldo2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtSaldo2->setMinimumWidth(txtSaldo2->fontMetrics().horizontalAdvance(QStringLiteral("-000.000.000,00")));
    cmdApagar = new QPushButton(QStringLiteral("&Apagar Todos"), fraLancamentos);
    auto* rodape = new QHBoxLayout;
    rodape->addWidget(txtLanc);
    rodape->addStretch(1);
    rodape->addWidget(cmdApagar);
    rodape->addSpacing(12);
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
    resize(980, 620);

    queries::Comportamento c;
    c.layout = queries::Layout::C;
    c.teclaDelete = true;
    c.mais = queries::TeclaMais::SomaValor;
    c.teclaInsert = true;
    c.teclaSoma = Qt::Key_F12;
    c.previsaoAzul = true;
    grade_ = new queries::GradeConsulta(*flxConsulta, txtLanc, txtSaldo2, c, [this] { cmdConsulta_Click(); },
                                        &SomaValores, this);
    grade_->limpar();

    connect(cmdConsulta, &QPushButton::clicked, this, [this] { cmdConsulta_Click(); });
    connect(cmdApagar, &QPushButton::clicked, this, [this] { cmdApagar_Click(); });
    connect(cmdFecha, &QToolButton::clicked, this, [this] { cmdFecha_Click(); });
    connect(flxConsulta, &platform::FlexGrid::cellDoubleClicked, this, [this] { flxConsulta_DblClick(); });
    connect(flxConsulta, &platform::FlexGrid::keyPressed, this, [this](QKeyEvent* e) { flxConsulta_KeyDown(e); });
    for (int i = 0; i < 2; ++i)
        connect(optConsulta[size_t(i)], &QRadioButton::clicked, this, [this, i] { optConsulta_Click(i); });
}

void frmConsVen::Form_Load()
{
    txtTipo->setCurrentIndex(1);
    NomeConsultaAtiva = QStringLiteral("Consulta por Vencimento");
    setWindowTitle(CaptionAtivo(QStringLiteral("Consulta por Vencimento")));
}

void frmConsVen::cmdConsulta_Click()
{
    const QDate inicio = platform::parseDate(txtData1->Text());
    if (!inicio.isValid()) {
        platform::MsgBox(QStringLiteral("Digitar data válida para a consulta"), platform::vbCritical,
                         QStringLiteral("Atenção,"));
        txtData1->setFocus();
        return;
    }
    const QDate fim = platform::parseDate(txtData2->Text());
    if (!fim.isValid()) {
        platform::MsgBox(QStringLiteral("Digitar data válida para a consulta"), platform::vbCritical,
                         QStringLiteral("Atenção,"));
        txtData2->setFocus();
        return;
    }

    // The side is told by the sign; the order is by due date also when the
    // period is of posting dates.
    const QString lado = txtTipo->currentText();
    QString condicao;
    if (lado == QStringLiteral("Saída"))
        condicao = QStringLiteral(" AND Valor < 0");
    else if (lado == QStringLiteral("Entrada"))
        condicao = QStringLiteral(" AND Valor > 0");
    const std::vector<queries::LinhaConsulta> linhas =
        queries::lerPeriodo(ConexaoBanco, optConsulta[0]->isChecked() ? QStringLiteral("DataVen") : QStringLiteral("DataLan"),
                            inicio, fim, condicao);
    grade_->setNomes(data::nomesPorCodigo(ConexaoBanco));
    grade_->preencher(linhas);
}

void frmConsVen::flxConsulta_DblClick() { grade_->abrirLancamento(); }

void frmConsVen::flxConsulta_KeyDown(QKeyEvent* event) { grade_->teclaPressionada(event); }

void frmConsVen::cmdApagar_Click() { grade_->apagarTodos(); }

void frmConsVen::txtData1_KeyDown(int key)
{
    if (key == Qt::Key_F2) {
        txtData1->setText(platform::fmtDate(platform::Today()));
        txtData2->setFocus();
    }
}

void frmConsVen::txtData2_KeyDown(int key)
{
    if (key == Qt::Key_F2) {
        txtData2->setText(platform::fmtDate(platform::Today()));
        cmdConsulta->setFocus();
    }
}

void frmConsVen::txtDataI_Click()
{
    txtData1->setText(QStringLiteral("01/01/") + QString::number(platform::Today().year()));
}

void frmConsVen::txtDataF_Click()
{
    txtData2->setText(QStringLiteral("31/12/") + QString::number(platform::Today().year()));
}

void frmConsVen::optConsulta_Click(int) { txtData1->setFocus(); }

void frmConsVen::cmdFecha_Click() { Unload(); }

bool frmConsVen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == txtData1 && key == Qt::Key_F2) {
            txtData1_KeyDown(key);
            return true;
        }
        if (watched == txtData2 && key == Qt::Key_F2) {
            txtData2_KeyDown(key);
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == txtDataI)
            txtDataI_Click();
        else if (watched == txtDataF)
            txtDataF_Click();
    }
    return Form::eventFilter(watched, event);
}
