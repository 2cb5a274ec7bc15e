#include "queries/frmZOrdem.h"

#include "app/Textos.h"
#include "data/Conexao.h"
#include "platform/FlexGrid.h"
#include "platform/MsgBox.h"
#include "queries/frmConsEstr.h"
#include "queries/frmConsHistorico.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The column a field stands for. Only these names ever reach the clause.
QString colunaDoCampo(const QString& campo)
{
    if (campo == QStringLiteral("Data de Vencimento"))
        return QStringLiteral("DataVen");
    if (campo == QStringLiteral("Data de Lançamento"))
        return QStringLiteral("DataLan");
    if (campo == QStringLiteral("Classificação da Conta"))
        return QStringLiteral("Despesa");
    if (campo == QStringLiteral("Histórico"))
        return QStringLiteral("Referente");
    return QStringLiteral("Valor");
}

} // namespace

frmZOrdem::frmZOrdem(QWidget* parent) : Form(parent)
{
    setWindowTitle(QStringLiteral("Ordenar colunas"));

    auto* lblLista = new QLabel(QStringLiteral("Classificar por:"), this);
    lstListaClass = new QListWidget(this);
    lstListaClass->addItems({QStringLiteral("Data de Vencimento"), QStringLiteral("Data de Lançamento"),
                             QStringLiteral("Classificação da Conta"), QStringLiteral("Histórico"),
                             QStringLiteral("Valor")});
    auto* lblFiltro = new QLabel(QStringLiteral("Campos para ordem:"), this);
    lstFiltroClass = new QListWidget(this);
    lstFiltroClass->installEventFilter(this);
    const int largura = lstListaClass->fontMetrics().horizontalAdvance(QStringLiteral("Classificação da Conta")) + 40;
    const int altura = lstListaClass->fontMetrics().height() * 6 + 12;
    for (auto* lista : {lstListaClass, lstFiltroClass})
        lista->setMinimumSize(largura, altura);

    auto* fraOrdem = new QGroupBox(QStringLiteral("Ordem para o PRIMEIRO CAMPO escolhido"), this);
    optOrdem[1] = new QRadioButton(QStringLiteral("Crescente"), fraOrdem);
    optOrdem[2] = new QRadioButton(QStringLiteral("Decrescente"), fraOrdem);
    optOrdem[1]->setChecked(true);
    auto* ordem = new QVBoxLayout(fraOrdem);
    ordem->addWidget(optOrdem[1]);
    ordem->addWidget(optOrdem[2]);

    cmdOK = new QToolButton(this);
    cmdOK->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    cmdOK->setIconSize(QSize(32, 32));
    cmdOK->setAccessibleName(QStringLiteral("OK"));
    cmdOK->setToolTip(QStringLiteral("OK"));

    auto* grade = new QGridLayout(this);
    grade->addWidget(lblLista, 0, 0);
    grade->addWidget(lblFiltro, 0, 1);
    grade->addWidget(lstListaClass, 1, 0);
    grade->addWidget(lstFiltroClass, 1, 1);
    grade->addWidget(fraOrdem, 2, 0);
    grade->addWidget(cmdOK, 2, 1, Qt::AlignRight | Qt::AlignBottom);

    connect(lstListaClass, &QListWidget::itemDoubleClicked, this, [this] { lstListaClass_DblClick(); });
    platform::openListRowOnKey(*lstListaClass, QStringLiteral("acrescenta o campo à ordem."));
    connect(cmdOK, &QToolButton::clicked, this, [this] { cmdOK_Click(); });
}

void frmZOrdem::lstListaClass_DblClick()
{
    const QListWidgetItem* item = lstListaClass->currentItem();
    if (!item)
        return;
    if (lstFiltroClass->count() >= 3) {
        platform::MsgBox(QStringLiteral("Escolha no máximo três campos."), platform::vbCritical | platform::vbOKOnly,
                         app::kAtencao);
        return;
    }
    if (!lstFiltroClass->findItems(item->text(), Qt::MatchExactly).isEmpty()) {
        platform::MsgBox(QStringLiteral("Classificação já existente no filtro."),
                         platform::vbInformation | platform::vbOKOnly, app::kAtencao);
        return;
    }
    lstFiltroClass->addItem(item->text());
}

void frmZOrdem::lstFiltroClass_KeyDown(int key)
{
    if (key != Qt::Key_Delete || lstFiltroClass->count() == 0)
        return;
    const QList<QListWidgetItem*> escolhidos = lstFiltroClass->selectedItems();
    if (escolhidos.isEmpty())
        return;
    delete lstFiltroClass->takeItem(lstFiltroClass->row(escolhidos.first()));
    if (lstFiltroClass->count() > 0)
        lstFiltroClass->setCurrentRow(lstFiltroClass->count() - 1);
    else
        lstFiltroClass->setCurrentRow(-1);
}

QString frmZOrdem::Clausula() const
{
    const int n = lstFiltroClass->count();
    if (n == 0)
        return QStringLiteral("Order By DataVen");
    QString f1 = colunaDoCampo(lstFiltroClass->item(0)->text());
    if (optOrdem[2]->isChecked())
        f1 += QStringLiteral(" Desc");
    QString clausula = QStringLiteral(" Order By ") + f1;
    if (n >= 2)
        clausula += QStringLiteral(", ") + colunaDoCampo(lstFiltroClass->item(1)->text());
    if (n >= 3)
        clausula += QLatin1Char(',') + colunaDoCampo(lstFiltroClass->item(2)->text());
    return clausula;
}

void frmZOrdem::cmdOK_Click()
{
    const QString clausula = Clausula();
    if (NomeConsultaAtiva == frmConsHistorico::kNomeConsulta) {
        frmConsHistorico::ClausulaOrdem = clausula;
        platform::Forms::get<frmConsHistorico>().cmdConsulta->click();
    } else if (NomeConsultaAtiva == frmConsEstr::kNomeConsulta) {
        frmConsEstr::ClausulaOrdem = clausula;
        platform::Forms::get<frmConsEstr>().cmdConsulta->click();
    }
    Unload();
}

bool frmZOrdem::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstFiltroClass && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete) {
            lstFiltroClass_KeyDown(key);
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}
