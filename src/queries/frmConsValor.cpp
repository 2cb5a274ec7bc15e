#include "queries/frmConsValor.h"

#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Money.h"
#include "platform/MaskEdBox.h"
#include "platform/NumberKeys.h"
#include "platform/conversions.h"
#include "queries/PartesDaConsulta.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

QString frmConsValor::ClausulaOrdem;
data::Centavos frmConsValor::SomaValores = 0;

namespace {

// A bound as the query first reads it: its leading digits only, so an empty
// box reads 0, "12,50" reads 12 and "0,50" reads 0.
qint64 digitosIniciais(const QString& texto)
{
    qint64 n = 0;
    for (const QChar c : texto) {
        if (!c.isDigit())
            break;
        n = n * 10 + c.digitValue();
        if (n > 1'000'000'000'000LL)
            break;
    }
    return n;
}

// A bound as an amount (decimal comma); a text that parseMoney refuses
// ("12," typed before the cents) counts by its leading digits.
data::Centavos valorDaCaixa(const QString& texto)
{
    data::Centavos c = 0;
    if (data::parseMoney(texto, c))
        return c;
    return digitosIniciais(texto) * 100;
}

} // namespace

const QString frmConsValor::kNomeConsulta = QStringLiteral("Consulta por Valor");

frmConsValor::frmConsValor(QWidget* parent) : Form(parent)
{
    setWindowTitle(QStringLiteral("Consulta por faixa de Valores"));
    setEnterAsTab(true);

    auto* fraConsulta = new QGroupBox(QStringLiteral("Consulta por Valor"), this);
    auto* lblTipo = new QLabel(QStringLiteral("Tipo"), fraConsulta);
    txtTipo = new QComboBox(fraConsulta);
    txtTipo->addItems({QStringLiteral("Entrada"), QStringLiteral("Saída")});
    auto* lblValor1 = new QLabel(QStringLiteral("Do Valor"), fraConsulta);
    txtValor1 = new QLineEdit(fraConsulta);
    auto* lblValor2 = new QLabel(QStringLiteral("Até o Valor"), fraConsulta);
    txtValor2 = new QLineEdit(fraConsulta);
    auto* lblPeriodo = new QLabel(QStringLiteral("Faixa de datas opcional"), fraConsulta);
    auto* lblDataI = new QLabel(QStringLiteral("Data Inicial"), fraConsulta);
    txtDataVen1 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraConsulta);
    auto* lblDataF = new QLabel(QStringLiteral("Data Final"), fraConsulta);
    txtDataVen2 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraConsulta);
    cmdConsulta = new QPushButton(QStringLiteral("Consultar"), fraConsulta);

    for (auto* caixa : {txtDataVen1, txtDataVen2})
        queries::prepararCaixaData(caixa);
    for (auto* caixa : {txtValor1, txtValor2}) {
        caixa->setAlignment(Qt::AlignRight);
        caixa->setMaximumWidth(queries::larguraData(txtDataVen1) + 20);
        new platform::NumberKeyFilter(caixa);
        caixa->installEventFilter(this);
    }

    auto* consulta = new QGridLayout(fraConsulta);
    consulta->addWidget(lblPeriodo, 0, 3, 1, 2, Qt::AlignCenter);
    consulta->addWidget(lblTipo, 1, 0);
    consulta->addWidget(lblValor1, 1, 1);
    consulta->addWidget(lblValor2, 1, 2);
    consulta->addWidget(lblDataI, 1, 3);
    consulta->addWidget(lblDataF, 1, 4);
    consulta->addWidget(txtTipo, 2, 0);
    consulta->addWidget(txtValor1, 2, 1);
    consulta->addWidget(txtValor2, 2, 2);
    consulta->addWidget(txtDataVen1, 2, 3);
    consulta->addWidget(txtDataVen2, 2, 4);
    consulta->addWidget(cmdConsulta, 2, 5);
    consulta->setColumnStretch(6, 1);

    auto* fraLancamentos = queries::quadroLancamentos(this, flxConsulta, txtLanc, txtSaldo2, &cmdApagar, false);
    cmdFecha = queries::botaoFechar(this);

    txtCodDesp = new QComboBox(this);
    txtDespesa = new QComboBox(this);
    txtCodDesp->hide();
    txtDespesa->hide();

    queries::disporJanela(this, fraConsulta, cmdFecha)->addWidget(fraLancamentos, 1);
    resize(980, 620);

    setTabOrder(txtValor1, txtValor2);
    setTabOrder(txtValor2, txtDataVen1);
    setTabOrder(txtDataVen1, txtDataVen2);
    setTabOrder(txtDataVen2, cmdConsulta);
    setTabOrder(cmdConsulta, txtTipo);

    queries::Comportamento c;
    c.layout = queries::LayoutGrade::C;
    c.teclaDelete = true;
    c.diaDaSemana = true;
    c.mais = queries::TeclaMais::SomaValor;
    c.teclaInsert = true;
    c.teclaSoma = Qt::Key_F10;
    grade_ = new queries::GradeConsulta(*flxConsulta, txtLanc, txtSaldo2, c, [this] { cmdConsulta_Click(); },
                                        &SomaValores, this);

    queries::ligarPartesComuns(this);
    connect(txtCodDesp, &QComboBox::currentIndexChanged, this, [this] { txtCodDesp_Click(); });
}

void frmConsValor::Form_Load()
{
    NomeConsultaAtiva = kNomeConsulta;
    grade_->limpar();
    queries::carregarClassificacoes(txtDespesa, txtCodDesp);
    txtTipo->setCurrentIndex(1);
    setWindowTitle(CaptionAtivo(QStringLiteral("Consulta por faixa de Valores")));
}

void frmConsValor::cmdConsulta_Click()
{
    if (digitosIniciais(txtValor1->text()) == 0)
        txtValor1->setText(QStringLiteral("0"));
    if (digitosIniciais(txtValor2->text()) == 0)
        txtValor2->setText(QStringLiteral("0"));
    if (digitosIniciais(txtValor1->text()) != 0 && digitosIniciais(txtValor2->text()) == 0)
        txtValor2->setText(txtValor1->text());

    if (!queries::conferirPeriodoOpcional(*txtDataVen1, *txtDataVen2))
        return;
    const QDate inicio = platform::parseDate(txtDataVen1->Text());
    const QDate fim = platform::parseDate(txtDataVen2->Text());

    // The side is told by the sign of the amount, not by Tipo.
    const bool saida = txtTipo->currentText() == QStringLiteral("Saída");
    const data::Centavos a1 = valorDaCaixa(txtValor1->text());
    const data::Centavos a2 = valorDaCaixa(txtValor2->text());
    data::Selecao s;
    if (inicio.isValid() && fim.isValid())
        s.vencimentoEntre(inicio, fim);
    if (saida)
        s.e(QStringLiteral("Valor >= ? AND Valor <= ?"), {qint64(-a2), qint64(-a1)});
    else
        s.e(QStringLiteral("Valor >= ? AND Valor <= ?"), {qint64(a1), qint64(a2)});

    std::vector<data::LinhaConsulta> linhas =
        data::lerSelecao(ConexaoBanco, s, data::ordemComDesempate(ClausulaOrdem));
    grade_->setNomes(queries::nomesDasListas(txtCodDesp, txtDespesa));
    grade_->preencher(std::move(linhas));
}

void frmConsValor::txtValor1_LostFocus() { txtValor2->setText(txtValor1->text()); }

void frmConsValor::txtCodDesp_Click() { queries::acompanharCodigo(*txtCodDesp, *txtDespesa); }

void frmConsValor::flxConsulta_DblClick() { grade_->abrirLancamento(); }

void frmConsValor::flxConsulta_KeyDown(QKeyEvent* event) { grade_->teclaPressionada(event); }

void frmConsValor::flxConsulta_MouseDown(int button) { grade_->botaoPressionado(button); }

void frmConsValor::cmdApagar_Click() { grade_->apagarTodos(); }

void frmConsValor::cmdFecha_Click() { Unload(); }

bool frmConsValor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtValor1 || watched == txtValor2) {
        auto* caixa = static_cast<QLineEdit*>(watched);
        if (event->type() == QEvent::FocusIn)
            QTimer::singleShot(0, caixa, [caixa] { caixa->selectAll(); });
        else if (event->type() == QEvent::FocusOut && watched == txtValor1)
            txtValor1_LostFocus();
    }
    return Form::eventFilter(watched, event);
}
