#include "budget/frmPreXReal.h"

#include "budget/MesOrcamento.h"
#include "budget/frmPrevRel.h"
#include "data/Conexao.h"
#include "data/Money.h"
#include "data/PrevistoRealizado.h"
#include "platform/Application.h"
#include "platform/FlexGrid.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "platform/formats.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kCabecalho = QStringLiteral(
    "ID  |DESPESA                           |PREVISTO       |REALIZADO      |DIFERENÇA    R$|DIFERENÇA     %");
const QStringList kMaiores{platform::kWidestCode, QString(), platform::kWidestSum, platform::kWidestSum,
                           platform::kWidestSum, QStringLiteral("-99.999,99%")};
const QString kZero = QStringLiteral("0,00");
// A difference over a plan of zero has no percentage.
const QString kSemPercentual = QStringLiteral("—");

QString percentual(data::Centavos diferenca, data::Centavos previsto)
{
    if (previsto == 0)
        return kSemPercentual;
    return platform::formatNumber(double(diferenca) / double(previsto), QStringLiteral("#,##0.00%"));
}

QLabel* rotuloTotal(QWidget* pai, const QFont& fonte, const QString& maior)
{
    QLabel* l = budget::rotuloDeValor(pai, maior);
    l->setFont(fonte);
    l->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return l;
}

} // namespace

frmPreXReal::frmPreXReal(QWidget* parent) : JanelaDoMes(parent)
{
    setWindowTitle(QStringLiteral("Previsto X Realizado"));
    setEnterAsTab(true);

    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);

    txtData->setText(QStringLiteral("JANEIRO - 2011"));
    imgHelpPrevRel = new budget::Figura(budget::interrogacao(), this);
    imgHelpPrevRel->setToolTip(QStringLiteral("Ajuda"));
    cmdLancarPrev = new QPushButton(QStringLiteral("Lançar/Alterar \"Previsto\""), this);

    flxConsulta = new platform::FlexGrid(this);
    flxConsulta->setFont(courier);
    flxConsulta->FormatString(kCabecalho, kMaiores);
    // The classification's name gives way to the amounts on a small screen.
    flxConsulta->setGivingWayCol(1);

    Label1 = new QLabel(QStringLiteral("TOTAIS: "), this);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtTotalPrev = rotuloTotal(this, courier, kMaiores[2]);
    txtTotalReal = rotuloTotal(this, courier, kMaiores[3]);
    txtTotalDiferenca = rotuloTotal(this, courier, kMaiores[4]);
    txtTotalDifPerc = rotuloTotal(this, courier, kMaiores[5]);
    // The caption stands before all four: none is named by it.
    platform::notACaption(*Label1);
    // One caption stands before the four totals; each is named by its column.
    txtTotalPrev->setAccessibleName(QStringLiteral("Total previsto"));
    txtTotalReal->setAccessibleName(QStringLiteral("Total realizado"));
    txtTotalDiferenca->setAccessibleName(QStringLiteral("Total da diferença R$"));
    txtTotalDifPerc->setAccessibleName(QStringLiteral("Total da diferença %"));
    // The totals stand under the grid's columns 2 to 5, also when the name
    // gives way.
    // The caption and the face stand under the first two columns, as narrow
    // as the name may get, so that the row never holds the window wider than
    // the grid needs.
    auto* cabeca = new QWidget(this);
    cabeca->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    const auto alinharTotais = [this, cabeca] {
        cabeca->setMinimumWidth(flxConsulta->ColWidth(0) + flxConsulta->leastWidth(1));
        cabeca->setMaximumWidth(flxConsulta->ColWidth(0) + flxConsulta->ColWidth(1));
        txtTotalPrev->setFixedWidth(flxConsulta->ColWidth(2));
        txtTotalReal->setFixedWidth(flxConsulta->ColWidth(3));
        txtTotalDiferenca->setFixedWidth(flxConsulta->ColWidth(4));
        txtTotalDifPerc->setFixedWidth(flxConsulta->ColWidth(5));
    };
    alinharTotais();
    connect(flxConsulta->horizontalHeader(), &QHeaderView::sectionResized, this, [alinharTotais] { alinharTotais(); });

    imgIgual = new QLabel(this);
    imgIgual->setPixmap(budget::rosto(budget::Rosto::Igual));
    imgNegativo = new QLabel(this);
    imgNegativo->setPixmap(budget::rosto(budget::Rosto::Negativo));
    imgPositivo = new QLabel(this);
    imgPositivo->setPixmap(budget::rosto(budget::Rosto::Positivo));
    // The face before the totals repeats the sign of the difference.
    auto* rostos = new QHBoxLayout(cabeca);
    rostos->setContentsMargins(0, 0, 0, 0);
    for (QLabel* rosto : {imgIgual, imgNegativo, imgPositivo})
        rostos->addWidget(rosto);
    rostos->addWidget(Label1, 1);

    auto* topo = new QHBoxLayout;
    topo->addWidget(imgDiminui);
    topo->addWidget(txtData);
    topo->addWidget(imgAumenta);
    topo->addStretch(1);
    topo->addWidget(imgHelpPrevRel);
    topo->addSpacing(8);
    topo->addWidget(cmdLancarPrev);

    auto* totais = new QHBoxLayout;
    totais->setSpacing(0);
    totais->addSpacing(flxConsulta->frameWidth());
    totais->addWidget(cabeca);
    totais->addWidget(txtTotalPrev);
    totais->addWidget(txtTotalReal);
    totais->addWidget(txtTotalDiferenca);
    totais->addWidget(txtTotalDifPerc, 0, Qt::AlignLeft);

    auto* janela = new QVBoxLayout(this);
    janela->addLayout(topo);
    janela->addWidget(flxConsulta, 1);
    janela->addLayout(totais);
    int largura = flxConsulta->frameWidth() * 2 + flxConsulta->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < flxConsulta->Cols(); ++c)
        largura += flxConsulta->ColWidth(c);
    resize(std::max(largura, 760), 460);

    connect(imgHelpPrevRel, &budget::Figura::clicked, this, [this] { imgHelpPrevRel_Click(); });
    connect(cmdLancarPrev, &QPushButton::clicked, this, [this] { cmdLancarPrev_Click(); });
    connect(flxConsulta, &platform::FlexGrid::cellDoubleClicked, this, [this] { flxConsulta_DblClick(); });
    connect(flxConsulta, &platform::FlexGrid::keyPressed, this,
            platform::guarded([this](QKeyEvent* e) { flxConsulta_KeyDown(e); }));
}

void frmPreXReal::cmdLancarPrev_Click() { platform::Forms::show<frmPrevRel>(); }

void frmPreXReal::flxConsulta_DblClick()
{
    // Only a watched line presets the editor; the header row is no line.
    const int r = flxConsulta->Row();
    if (r < 1 || flxConsulta->TextMatrix(r, 0).isEmpty())
        return;
    frmPrevRel& editor = platform::Forms::get<frmPrevRel>();
    editor.lblCodigo->setText(flxConsulta->TextMatrix(r, 0));
    editor.lblDespesa->setText(flxConsulta->TextMatrix(r, 1));
    editor.txtValor->setText(flxConsulta->TextMatrix(r, 2));
    platform::Forms::show<frmPrevRel>();
}

void frmPreXReal::flxConsulta_KeyDown(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && budget::excluirVigiada(flxConsulta))
        Atualiza();
}

void frmPreXReal::imgHelpPrevRel_Click()
{
    platform::MsgBox(
        QStringLiteral("O ''Previsto e Realizado'' é um controle bem simples:") + QChar(13) +
            QStringLiteral("Lance as despesas que deseja acompanhar. O programa se encarregará de buscar no banco de "
                           "dados essas despesas e compará-las no mês escolhido. Serão considerados na pesquisa todos "
                           "os lançamentos do mês, inclusive aqueles lançados como ''Previsão''."),
        platform::vbInformation | platform::vbOKOnly, QStringLiteral("Previsto e Realizado - Vo$sal"));
}

void frmPreXReal::Atualiza()
{
    const std::vector<data::Previsto> linhas = data::previstos(ConexaoBanco);
    for (QLabel* total : {txtTotalPrev, txtTotalReal, txtTotalDiferenca, txtTotalDifPerc})
        total->setText(kZero);
    data::Centavos totalPrevisto = 0;
    data::Centavos totalRealizado = 0;

    const QDate mes = budget::mesDoRotulo(txtData);
    const QDate primeiro = budget::primeiroDiaDoMes(mes);
    const QDate ultimo = budget::ultimoDiaDoMes(mes);
    const QHash<QString, data::Centavos> somas = data::somasDoPeriodo(ConexaoBanco, primeiro, ultimo);

    budget::recomecarGrade(flxConsulta, kCabecalho, kMaiores);
    // Percentages are numbers too, though their "%" makes them text.
    flxConsulta->setColAlignment(5, Qt::AlignRight | Qt::AlignVCenter);
    flxConsulta->setRows(int(linhas.size()) + 1);
    for (int r = 1; r <= int(linhas.size()); ++r) {
        const data::Previsto& p = linhas[size_t(r - 1)];
        flxConsulta->setTextMatrix(r, 0, platform::formatNumber(qint64(p.despesa), QStringLiteral("000")));
        flxConsulta->setTextMatrix(r, 1, p.nome);
        flxConsulta->setTextMatrix(r, 2, data::formatMoney(p.valor));
        totalPrevisto = data::addMoney(totalPrevisto, p.valor);
        // Entries keep their code as digits without leading zeros.
        const auto soma = somas.constFind(QString::number(p.despesa));
        if (soma == somas.cend()) {
            for (int c = 3; c <= 5; ++c)
                flxConsulta->setTextMatrix(r, c, kZero);
        } else {
            // Outgoing entries are negative: spending shows positive.
            const data::Centavos realizado = -*soma;
            totalRealizado = data::addMoney(totalRealizado, realizado);
            const data::Centavos diferenca = realizado - p.valor;
            flxConsulta->setTextMatrix(r, 3, data::formatMoney(realizado));
            flxConsulta->setTextMatrix(r, 4, data::formatMoney(diferenca));
            flxConsulta->setTextMatrix(r, 5, diferenca == 0 ? kZero : percentual(diferenca, p.valor));
        }
        flxConsulta->setRowBackColor(r, budget::corDaLinha(r));
    }
    // Each row is made current as it is added: the last one stays current.
    if (flxConsulta->Rows() > 1) {
        flxConsulta->setRow(flxConsulta->Rows() - 1);
        flxConsulta->setCol(0);
    }

    const data::Centavos diferencaTotal = totalRealizado - totalPrevisto;
    txtTotalReal->setText(data::formatMoney(totalRealizado));
    txtTotalDiferenca->setText(data::formatMoney(diferencaTotal));
    txtTotalDifPerc->setText(diferencaTotal == 0 && totalPrevisto == 0 ? QStringLiteral("0")
                                                                       : percentual(diferencaTotal, totalPrevisto));
    txtTotalPrev->setText(data::formatMoney(totalPrevisto));
    mostrarRosto(txtTotalDifPerc->text(), diferencaTotal);
}

// Up to 5 % above the plan is even; the shown percentage decides, so 5,00%
// is still even. Over a plan of zero only the sign of the difference tells.
void frmPreXReal::mostrarRosto(const QString& percentual, std::int64_t diferenca)
{
    imgIgual->hide();
    imgPositivo->hide();
    imgNegativo->hide();
    double p = 0;
    if (percentual == kSemPercentual) {
        p = diferenca > 0 ? 100.0 : -100.0;
    } else {
        QString numero = percentual;
        numero.remove(QLatin1Char('%'));
        if (!platform::parseDecimalComma(numero, p))
            p = 0;
    }
    if (p >= 0 && p <= 5)
        imgIgual->show();
    else if (p > 0)
        imgNegativo->show();
    else
        imgPositivo->show();
}
