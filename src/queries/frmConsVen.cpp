#include "queries/frmConsVen.h"

#include "data/Conexao.h"
#include "data/Despesas.h"
#include "platform/Clock.h"
#include "platform/MaskEdBox.h"
#include "platform/conversions.h"
#include "platform/formats.h"
#include "queries/PartesDaConsulta.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

data::Centavos frmConsVen::SomaValores = 0;

const QString frmConsVen::kNomeConsulta = QStringLiteral("Consulta por Vencimento");

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
    for (auto* caixa : {txtData1, txtData2})
        queries::prepararCaixaData(caixa);
    queries::aoTeclar(txtData1, {Qt::Key_F2}, [this](int key) { txtData1_KeyDown(key); });
    queries::aoTeclar(txtData2, {Qt::Key_F2}, [this](int key) { txtData2_KeyDown(key); });
    queries::aoClicar(txtDataI, [this] { txtDataI_Click(); });
    queries::aoClicar(txtDataF, [this] { txtDataF_Click(); });

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

    auto* fraLancamentos = queries::quadroLancamentos(this, flxConsulta, txtLanc, txtSaldo2, &cmdApagar, false);
    cmdFecha = queries::botaoFechar(this);
    queries::disporJanela(this, fraConsulta, cmdFecha)->addWidget(fraLancamentos, 1);
    resize(980, 620);

    queries::Comportamento c;
    c.layout = queries::LayoutGrade::C;
    c.teclaDelete = true;
    c.mais = queries::TeclaMais::SomaValor;
    c.teclaInsert = true;
    c.teclaSoma = Qt::Key_F12;
    c.previsaoAzul = true;
    grade_ = new queries::GradeConsulta(*flxConsulta, txtLanc, txtSaldo2, c, [this] { cmdConsulta_Click(); },
                                        &SomaValores, this);
    grade_->limpar();

    queries::ligarPartesComuns(this);
    for (int i = 0; i < 2; ++i)
        connect(optConsulta[size_t(i)], &QRadioButton::clicked, this, [this, i] { optConsulta_Click(i); });
}

void frmConsVen::Form_Load()
{
    txtTipo->setCurrentIndex(1);
    NomeConsultaAtiva = kNomeConsulta;
    setWindowTitle(CaptionAtivo(QStringLiteral("Consulta por Vencimento")));
}

void frmConsVen::cmdConsulta_Click()
{
    const QString mensagem = QStringLiteral("Digitar data válida para a consulta");
    if (!queries::conferirData(*txtData1, false, mensagem) || !queries::conferirData(*txtData2, false, mensagem))
        return;
    const QDate inicio = platform::parseDate(txtData1->Text());
    const QDate fim = platform::parseDate(txtData2->Text());

    // The side is told by the sign; the order is by due date also when the
    // period is of posting dates.
    const QString lado = txtTipo->currentText();
    QString condicao;
    if (lado == QStringLiteral("Saída"))
        condicao = QStringLiteral(" AND Valor < 0");
    else if (lado == QStringLiteral("Entrada"))
        condicao = QStringLiteral(" AND Valor > 0");
    // The rows shown go before the next ones are read: a listing of the
    // whole account is never held twice.
    grade_->limpar();
    std::vector<data::LinhaConsulta> linhas =
        data::lerPeriodo(ConexaoBanco, optConsulta[0]->isChecked() ? QStringLiteral("DataVen") : QStringLiteral("DataLan"),
                            inicio, fim, condicao);
    grade_->setNomes(data::nomesPorCodigo(ConexaoBanco));
    grade_->preencher(std::move(linhas));
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

void frmConsVen::txtDataI_Click() { queries::primeiroDiaDoAno(*txtData1); }

void frmConsVen::txtDataF_Click() { queries::ultimoDiaDoAno(*txtData2); }

void frmConsVen::optConsulta_Click(int) { txtData1->setFocus(); }

void frmConsVen::cmdFecha_Click() { Unload(); }
