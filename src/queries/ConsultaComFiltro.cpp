#include "queries/ConsultaComFiltro.h"

#include "app/Textos.h"
#include "data/Collation.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "platform/MaskEdBox.h"
#include "platform/NumberKeys.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "queries/PartesDaConsulta.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace queries {

ConsultaComFiltro::ConsultaComFiltro(const Desenho& desenho, QWidget* parent) : Form(parent), desenho_(desenho)
{
    setEnterAsTab(true);

    auto* fraFiltros = new QGroupBox(QStringLiteral("Filtros"), this);
    auto* lblConsulta = new QLabel(QStringLiteral("Referente"), fraFiltros);
    txtConsulta = new QLineEdit(fraFiltros);
    lblDataI = new QLabel(QStringLiteral("Data Inicial"), fraFiltros);
    txtDataVen1 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraFiltros);
    lblDataF = new QLabel(QStringLiteral("Data Final"), fraFiltros);
    txtDataVen2 = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraFiltros);
    auto* lblValor1 = new QLabel(QStringLiteral("Do Valor"), fraFiltros);
    txtValor1 = new QLineEdit(fraFiltros);
    auto* lblValor2 = new QLabel(QStringLiteral("Até o Valor"), fraFiltros);
    txtValor2 = new QLineEdit(fraFiltros);
    auto* lblTipo = new QLabel(QStringLiteral("Tipo do Lançamento"), fraFiltros);
    txtTipo = new QComboBox(fraFiltros);
    txtTipo->addItems({QStringLiteral("Saída"), QStringLiteral("Entrada")});
    // No side until the load chooses one, so that choosing it fills the list.
    txtTipo->setCurrentIndex(-1);
    auto* lblLista = new QLabel(desenho.rotuloLista, fraFiltros);
    lstListaClass = new QListWidget(fraFiltros);
    auto* lblFiltro = new QLabel(desenho.rotuloFiltro, fraFiltros);
    lstFiltroClass = new QListWidget(fraFiltros);
    cmdConsulta = new QPushButton(QStringLiteral("Consultar"), fraFiltros);
    cmdApagar = new QPushButton(QStringLiteral("&Apagar Todos"), fraFiltros);
    guardFromEnter(cmdApagar);

    for (auto* caixa : {txtDataVen1, txtDataVen2})
        prepararCaixaData(caixa);
    aoTeclar(txtDataVen1, {Qt::Key_PageUp, Qt::Key_PageDown}, [this](int key) { txtDataVen1_KeyDown(key); });
    aoTeclar(txtDataVen2, {Qt::Key_PageUp, Qt::Key_PageDown}, [this](int key) { txtDataVen2_KeyDown(key); });
    for (auto* caixa : {txtValor1, txtValor2}) {
        prepararCaixaValor(caixa);
        new platform::NumberKeyFilter(caixa);
    }
    aoClicar(lblDataI, [this] { lblDataI_Click(); });
    aoClicar(lblDataF, [this] { lblDataF_Click(); });
    aoTeclar(lstFiltroClass, {Qt::Key_Delete}, [this](int key) { lstFiltroClass_KeyDown(key); });
    // Wide enough for a code and the start of a name; a longer name scrolls
    // sideways, so that both lists fit a laptop's screen with a large font.
    for (auto* lista : {lstListaClass, lstFiltroClass})
        lista->setMinimumWidth(lista->fontMetrics().horizontalAdvance(QStringLiteral("000 - Manutenção")));

    auto* campos = new QGridLayout;
    campos->addWidget(lblConsulta, 0, 0);
    campos->addWidget(txtConsulta, 0, 1, 1, 3);
    campos->addWidget(lblDataI, 1, 0);
    campos->addWidget(txtDataVen1, 1, 1);
    campos->addWidget(lblDataF, 1, 2);
    campos->addWidget(txtDataVen2, 1, 3);
    campos->addWidget(lblValor1, 2, 0);
    campos->addWidget(txtValor1, 2, 1);
    campos->addWidget(lblValor2, 2, 2);
    campos->addWidget(txtValor2, 2, 3);
    campos->addWidget(lblTipo, 3, 0);
    campos->addWidget(txtTipo, 3, 1, 1, 2);
    campos->setRowStretch(4, 1);
    auto* lista = new QVBoxLayout;
    lista->addWidget(lblLista);
    lista->addWidget(lstListaClass, 1);
    auto* filtroLista = new QVBoxLayout;
    filtroLista->addWidget(lblFiltro);
    filtroLista->addWidget(lstFiltroClass, 1);
    auto* botoes = new QVBoxLayout;
    botoes->addStretch(1);
    botoes->addWidget(cmdConsulta);
    botoes->addWidget(cmdApagar);
    // The lists and the buttons go under the boxes on a narrow screen.
    auto* listas = new QHBoxLayout;
    listas->addLayout(lista, 1);
    listas->addLayout(filtroLista, 1);
    listas->addLayout(botoes);
    auto* filtros = new QHBoxLayout(fraFiltros);
    filtros->addLayout(campos);
    filtros->addSpacing(8);
    filtros->addLayout(listas, 1);
    platform::givesWayAcross(*filtros);

    auto* fraLancamentos = quadroLancamentos(this, flxConsulta, txtLanc, txtSaldo2, nullptr, desenho.rotuloTotal);

    auto* janela = new QVBoxLayout(this);
    janela->addWidget(fraFiltros);
    janela->addWidget(fraLancamentos, 1);
    resize(1000, 640);

    Comportamento c;
    c.layout = LayoutGrade::A;
    c.gradeSempreHabilitada = true;
    c.rolarAcimaDe = 27;
    grade_ = new GradeConsulta(*flxConsulta, txtLanc, txtSaldo2, c, [this] { cmdConsulta_Click(); }, nullptr, this);
    grade_->limpar();

    ligarPartesComuns(this);
    connect(txtTipo, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            txtTipo_Click();
    });
    connect(lstListaClass, &QListWidget::itemDoubleClicked, this, [this] { lstListaClass_DblClick(); });
    platform::openListRowOnKey(*lstListaClass, QStringLiteral("acrescenta ao filtro."));
}

void ConsultaComFiltro::selecionarPrimeiroLado() { txtTipo->setCurrentIndex(0); }

void ConsultaComFiltro::cmdConsulta_Click()
{
    const bool saida = txtTipo->currentText() == QStringLiteral("Saída");
    data::Selecao s;
    s.e(QStringLiteral("Referente LIKE ?"), {QLatin1Char('%') + txtConsulta->text() + QLatin1Char('%')});
    const QDate inicio = platform::parseDate(txtDataVen1->Text());
    const QDate fim = platform::parseDate(txtDataVen2->Text());
    if (inicio.isValid() && fim.isValid())
        s.vencimentoEntre(inicio, fim);
    // A box without a number (empty, or a lone comma) leaves the range out,
    // as an empty one does. The bounds are typed without sign; the range
    // lies between them, whichever was typed first.
    data::Centavos v1 = 0;
    data::Centavos v2 = 0;
    if (data::parseMoneyBound(txtValor1->text(), v1) && data::parseMoneyBound(txtValor2->text(), v2)) {
        if (saida) {
            v1 = -v1;
            v2 = -v2;
        }
        s.e(QStringLiteral("Valor BETWEEN ? AND ?"),
            {qint64(std::min(v1, v2)), qint64(std::max(v1, v2))});
    }
    s.e(QStringLiteral("Tipo = ?"), {saida ? data::kTipoSaida : data::kTipoEntrada});

    std::vector<data::LinhaConsulta> linhas =
        data::lerSelecao(ConexaoBanco, s, QStringLiteral(" ORDER BY DataVen, Referente") + data::kCollate + QStringLiteral(", Valor, NumLan"));
    QStringList itens;
    for (int i = 0; i < lstFiltroClass->count(); ++i)
        itens << lstFiltroClass->item(i)->text();
    if (!itens.isEmpty()) {
        const auto deixa = filtro(itens);
        linhas.erase(std::remove_if(linhas.begin(), linhas.end(), [&deixa](const data::LinhaConsulta& l) { return !deixa(l); }),
                     linhas.end());
    }
    grade_->preencher(std::move(linhas));
}

void ConsultaComFiltro::txtTipo_Click()
{
    lstFiltroClass->clear();
    const bool saida = txtTipo->currentText() == QStringLiteral("Saída");
    const QStringList itens = itensDoLado(saida ? data::kDespesaSaida : data::kDespesaEntrada);
    lstListaClass->clear();
    lstListaClass->addItems(itens);
}

void ConsultaComFiltro::lstListaClass_DblClick()
{
    QListWidgetItem* escolhido = lstListaClass->currentItem();
    if (!escolhido)
        return;
    const QString texto = escolhido->text();
    for (int i = 0; i < lstFiltroClass->count(); ++i) {
        if (lstFiltroClass->item(i)->text() == texto) {
            platform::MsgBox(QStringLiteral("Classificação já existente no filtro."), platform::vbInformation,
                             app::kAtencao);
            return;
        }
    }
    lstFiltroClass->addItem(texto);
}

void ConsultaComFiltro::lstFiltroClass_KeyDown(int key)
{
    if (key != Qt::Key_Delete || lstFiltroClass->count() == 0)
        return;
    QListWidgetItem* escolhido = lstFiltroClass->currentItem();
    if (!escolhido || !escolhido->isSelected())
        return;
    delete lstFiltroClass->takeItem(lstFiltroClass->row(escolhido));
    if (lstFiltroClass->count() > 0)
        lstFiltroClass->setCurrentRow(lstFiltroClass->count() - 1);
}

void ConsultaComFiltro::lblDataI_Click() { primeiroDiaDoAno(*txtDataVen1); }

void ConsultaComFiltro::lblDataF_Click()
{
    ultimoDiaDoAno(*txtDataVen2);
    cmdConsulta->setFocus();
}

void ConsultaComFiltro::txtDataVen1_KeyDown(int key)
{
    if (desenho_.mesComPagina)
        moverMes(*txtDataVen1, key);
}

void ConsultaComFiltro::txtDataVen2_KeyDown(int key)
{
    if (desenho_.mesComPagina)
        moverMes(*txtDataVen2, key);
}

void ConsultaComFiltro::flxConsulta_DblClick() { grade_->abrirLancamento(); }

void ConsultaComFiltro::cmdApagar_Click() { grade_->apagarTodos(); }

} // namespace queries
