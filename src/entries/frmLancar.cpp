#include "entries/frmLancar.h"

#include "app/Textos.h"
#include "data/Conexao.h"
#include "platform/Application.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "platform/MsgBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

using entries::CamposLancamento;
using entries::ConferenciaVencimento;
using entries::OpcoesCampos;

namespace {
const QString kClassificacaoEmBranco = QStringLiteral("Campo ''Classificação'' em branco");

QLabel* legenda(const QString& texto, QWidget* parent)
{
    return new QLabel(texto, parent);
}
} // namespace

frmLancar::frmLancar(QWidget* parent) : platform::Form(parent), CamposLancamento(this, OpcoesCampos::lancar())
{
    setObjectName(QStringLiteral("frmLancar"));
    setWindowTitle(QStringLiteral("Efetuar Lançamentos"));
    setEnterAsTab(true);

    cmdGravaLan = new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Gravar"), this);
    cmdGravaLan->setObjectName(QStringLiteral("cmdGravaLan"));
    cmdParcelas = new QPushButton(QStringLiteral("&Gerar Parcelas"), this);
    cmdParcelas->setObjectName(QStringLiteral("cmdParcelas"));

    // The frame "Lançar": captions above their fields.
    auto* fraLancar = new QGroupBox(QStringLiteral("Lançar"), this);
    auto* campos = new QGridLayout(fraLancar);
    campos->addWidget(legenda(QStringLiteral("Tipo do Lançamento"), fraLancar), 0, 0, 1, 3);
    campos->addWidget(txtTipo, 1, 0, 1, 2);
    campos->addWidget(legenda(QStringLiteral("Classificação do Lançamento"), fraLancar), 2, 0, 1, 2);
    campos->addWidget(txtNumConta, 2, 2, Qt::AlignRight | Qt::AlignBottom);
    campos->addWidget(txtDespesa, 3, 0, 1, 3);
    campos->addWidget(legenda(QStringLiteral("Ordem"), fraLancar), 4, 0);
    campos->addWidget(legenda(QStringLiteral("Data Lanc."), fraLancar), 4, 1);
    campos->addWidget(legenda(QStringLiteral("Vencimento"), fraLancar), 4, 2);
    campos->addWidget(txtFiltro, 5, 0);
    campos->addWidget(txtDataLan, 5, 1);
    campos->addWidget(txtDataVen, 5, 2);
    campos->addWidget(legenda(QStringLiteral("Histórico / Referente"), fraLancar), 6, 0, 1, 3);
    campos->addWidget(txtReferente, 7, 0, 1, 3);
    campos->addWidget(legenda(QStringLiteral("Valor"), fraLancar), 8, 0);
    campos->addWidget(txtValor, 9, 0);
    campos->addWidget(cmdGravaLan, 9, 1);
    campos->addWidget(cmdParcelas, 9, 2);
    campos->setRowStretch(10, 1);
    // On a short screen the fields' rows stand closer; the hint below keeps
    // its ten lines.
    platform::givesWay(*campos, 2);
    txtDespesa->setMinimumWidth(320);
    txtReferente->setMinimumWidth(420);
    txtDataLan->setMinimumWidth(100);
    txtDataVen->setMinimumWidth(100);
    txtValor->setMinimumWidth(110);

    // Beside it: the filter and the picker grid.
    auto* seletor = new QVBoxLayout;
    seletor->addWidget(legenda(QStringLiteral("Filtrar Despesas"), this));
    seletor->addWidget(txtConsulta);
    seletor->addWidget(flxDespesas, 1);
    auto* rodapeGrade = new QHBoxLayout;
    rodapeGrade->addWidget(legenda(QStringLiteral("Duplo clique ou enter quando única linha"), this));
    rodapeGrade->addStretch(1);
    QFont negrito = lblEnter->font();
    negrito.setBold(true);
    lblEnter->setFont(negrito);
    rodapeGrade->addWidget(lblEnter);
    seletor->addLayout(rodapeGrade);
    flxDespesas->setMinimumSize(330, 240);
    platform::givesWay(*flxDespesas, 120);

    // Below: the help panel.
    auto* fraAjuda = new QFrame(this);
    fraAjuda->setFrameShape(QFrame::StyledPanel);
    auto* ajuda = new QGridLayout(fraAjuda);
    ajuda->addWidget(legenda(QStringLiteral("O campo:"), fraAjuda), 0, 0, Qt::AlignTop);
    txtDescricao->setFont(negrito);
    ajuda->addWidget(txtDescricao, 0, 1);
    ajuda->addWidget(txtDescricao2, 1, 1);
    ajuda->addWidget(legenda(QStringLiteral("Dica:"), fraAjuda), 2, 0, Qt::AlignTop);
    ajuda->addWidget(txtDica, 2, 1);
    ajuda->setColumnStretch(1, 1);
    txtDica->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txtDica->setMinimumHeight(fontMetrics().lineSpacing() * 10);  // the longest hint, the value's
    // With a large font on a laptop's screen the hint gives way to the
    // fields above it.
    platform::givesWay(*txtDica, fontMetrics().lineSpacing() * 6);
    txtDescricao2->setMinimumHeight(fontMetrics().lineSpacing() * 2);
    txtDescricao2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* topo = new QHBoxLayout;
    topo->addWidget(fraLancar);
    topo->addLayout(seletor, 1);
    auto* janela = new QVBoxLayout(this);
    janela->addLayout(topo, 1);
    janela->addWidget(fraAjuda);

    ordenarTabulacao({cmdGravaLan, cmdParcelas, flxDespesas, txtConsulta});

    connect(cmdGravaLan, &QPushButton::clicked, this, platform::guarded([this] { cmdGravaLan_Click(); }));
    connect(cmdParcelas, &QPushButton::clicked, this, [this] { cmdParcelas_Click(); });
}

void frmLancar::Form_Load()
{
    txtTipo->setCurrentIndex(0);
    MostraDespesas();
    setWindowTitle(CaptionAtivo(QStringLiteral("Efetuar Lançamentos")));
    txtTipo->setFocus();
}

void frmLancar::cmdGravaLan_Click()
{
    if (!conferirCampos(kClassificacaoEmBranco, ConferenciaVencimento::TrintaDias))
        return;
    try {
        data::addLancamentos(ConexaoBanco, {lancamentoDosCampos()});
    } catch (const data::DbError& e) {
        if (recusaDoLimite(e))
            return;
        throw;
    }
    platform::MsgBox(QStringLiteral("Lançamento efetuado com sucesso!"), platform::vbInformation,
                     app::kOk);
    prepararProximo();
}

void frmLancar::cmdParcelas_Click()
{
    if (!conferirCampos(kClassificacaoEmBranco, ConferenciaVencimento::AntesDeHoje))
        return;
    gerarParcelas();
}

// Ready for the next entry: the side, the filter and the grid stay, and
// "Ordem" starts again at "A".
void frmLancar::prepararProximo()
{
    txtValor->clear();
    txtReferente->clear();
    escolherClassificacao(QString());
    txtDespesa->setFocus();
    txtFiltro->setCurrentIndex(txtFiltro->findText(QStringLiteral("A")));
    txtDataLan->setText(QString());
    txtDataVen->setText(QString());
}
