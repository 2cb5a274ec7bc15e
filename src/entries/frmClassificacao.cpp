#include "entries/frmClassificacao.h"

#include "app/Textos.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "platform/Application.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "platform/TypingLimit.h"
#include "platform/formats.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

using platform::MsgBox;

namespace {
const QString kInclusao = QStringLiteral("Inclusão");
const QString kAltera = QStringLiteral("Altera");

// The keys of the group nodes, in the order of gruposDoLado().
const QStringList& chavesDosGrupos(const QString& despesaTipo)
{
    static const QStringList saidas = {
        QStringLiteral("alimentação"), QStringLiteral("transporte"),    QStringLiteral("saude"),
        QStringLiteral("moradia"),     QStringLiteral("educacao"),      QStringLiteral("bancos"),
        QStringLiteral("comunicacao"), QStringLiteral("gastospessoais"), QStringLiteral("lazer"),
        QStringLiteral("seguros"),     QStringLiteral("impostos"),      QStringLiteral("investimentos"),
        QStringLiteral("outrassaidas")};
    static const QStringList entradas = {QStringLiteral("patrimoniais"), QStringLiteral("trabalho"),
                                         QStringLiteral("entradas")};
    return despesaTipo == data::kDespesaSaida ? saidas : entradas;
}

QTreeWidgetItem* novoNo(const QString& texto, const QString& chave)
{
    auto* no = new QTreeWidgetItem(QStringList{texto});
    no->setData(0, Qt::UserRole, chave);
    return no;
}

// Selects an item from the program and runs the list's choice handler, also
// when the item was already selected.
void selecionar(QComboBox* lista, int indice, const std::function<void()>& handler)
{
    if (lista->currentIndex() == indice)
        handler();
    else
        lista->setCurrentIndex(indice);
}
} // namespace

frmClassificacao::frmClassificacao(QWidget* parent) : platform::Form(parent)
{
    setEnterAsTab(true);

    trwContas = new QTreeWidget(this);
    trwContas->setHeaderHidden(true);
    trwContas->setMinimumWidth(280);

    auto* plano = new QVBoxLayout;
    plano->addWidget(new QLabel(QStringLiteral("Plano de Contas"), this));
    plano->addWidget(trwContas, 1);

    auto* cadastradas = new QGroupBox(QStringLiteral("Tipos Classificação - já cadastrados"), this);
    txtCodDesp = new QComboBox(cadastradas);
    txtCodDesp->addItems({QStringLiteral("Saída"), QStringLiteral("Entrada")});
    txtConsulta = new QLineEdit(cadastradas);
    flxDespesas = new platform::FlexGrid(cadastradas);
    flxDespesas->setMinimumHeight(260);
    txtTotalDespesas = new QLabel(cadastradas);

    auto* filtros = new QHBoxLayout;
    filtros->addWidget(new QLabel(QStringLiteral("Tipo"), cadastradas));
    filtros->addWidget(txtCodDesp);
    filtros->addSpacing(16);
    filtros->addWidget(new QLabel(QStringLiteral("Filtrar por Descrição"), cadastradas));
    filtros->addWidget(txtConsulta, 1);
    auto* total = new QHBoxLayout;
    total->addStretch();
    total->addWidget(new QLabel(QStringLiteral("Total de Classificações cadastradas"), cadastradas));
    total->addWidget(txtTotalDespesas);
    auto* listagem = new QVBoxLayout(cadastradas);
    listagem->addLayout(filtros);
    listagem->addWidget(flxDespesas, 1);
    listagem->addLayout(total);

    fraAltAltera = new QGroupBox(kInclusao, this);
    txtAltDesp = new QLineEdit(fraAltAltera);
    platform::limitTyping(txtAltDesp, 30);
    txtPreClass = new QLineEdit(fraAltAltera);
    platform::limitTyping(txtPreClass, 25);
    cbxContas = new QComboBox(fraAltAltera);
    cbxContas->setMinimumContentsLength(28);
    cmdAltAltera = new QPushButton(QStringLiteral("&Incluir"), fraAltAltera);
    txtCodigo = new QLabel(fraAltAltera);
    txtCodigo->setVisible(false);
    txtTipo = new QLabel(fraAltAltera);
    txtTipo->setVisible(false);

    auto* edicao = new QGridLayout(fraAltAltera);
    edicao->addWidget(new QLabel(QStringLiteral("Classificação"), fraAltAltera), 0, 0);
    edicao->addWidget(txtAltDesp, 1, 0);
    edicao->addWidget(new QLabel(QStringLiteral("Pré-Classificação"), fraAltAltera), 0, 1);
    edicao->addWidget(txtPreClass, 1, 1);
    edicao->addWidget(new QLabel(QStringLiteral("Conta"), fraAltAltera), 0, 2);
    edicao->addWidget(cbxContas, 1, 2);
    edicao->addWidget(cmdAltAltera, 1, 3);
    edicao->setColumnStretch(0, 3);
    edicao->setColumnStretch(1, 2);
    edicao->setColumnStretch(2, 3);

    auto* direita = new QVBoxLayout;
    direita->addWidget(cadastradas, 1);
    direita->addWidget(fraAltAltera);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(plano);
    layout->addLayout(direita, 1);
    resize(1240, 640);

    setTabOrder(txtCodDesp, txtAltDesp);
    setTabOrder(txtAltDesp, txtPreClass);
    setTabOrder(txtPreClass, cbxContas);
    setTabOrder(cbxContas, cmdAltAltera);
    setTabOrder(cmdAltAltera, txtConsulta);
    setTabOrder(txtConsulta, flxDespesas);
    setTabOrder(flxDespesas, trwContas);

    connect(txtCodDesp, &QComboBox::currentIndexChanged, this, [this] { txtCodDesp_Click(); });
    connect(txtConsulta, &QLineEdit::textChanged, this, [this] { txtConsulta_Change(); });
    connect(flxDespesas, &platform::FlexGrid::cellDoubleClicked, this, [this] { flxDespesas_DblClick(); });
    connect(cmdAltAltera, &QPushButton::clicked, this, platform::guarded([this] { cmdAltAltera_Click(); }));
}

void frmClassificacao::Form_Load()
{
    selecionar(txtCodDesp, txtCodDesp->findText(QStringLiteral("Saída")), [this] { txtCodDesp_Click(); });
    setWindowTitle(CaptionAtivo(QStringLiteral("Classificação de Lançamentos - Inclusão/Alteração")));
    txtCodDesp->setFocus();
}

// The whole side: a change of side shows every classification of it, even
// while the filter box holds text.
void frmClassificacao::txtCodDesp_Click() { listarLado(QString()); }

void frmClassificacao::txtConsulta_Change() { listarLado(txtConsulta->text()); }

void frmClassificacao::flxDespesas_DblClick()
{
    const int row = flxDespesas->Row();
    if (flxDespesas->Rows() <= 1 || row < 1)
        return;
    const auto codigo = std::int64_t(platform::Val(flxDespesas->TextMatrix(row, 0)));
    if (codigo == 0)
        return;
    if (data::codigoReservado(codigo)) {
        MsgBox(QStringLiteral("Essa conta não pode ser alterada."), platform::vbExclamation | platform::vbOKOnly,
               app::kAtencao);
        return;
    }
    fraAltAltera->setTitle(kAltera);
    cmdAltAltera->setText(QStringLiteral("&Alterar"));
    platform::showStoredText(txtAltDesp, flxDespesas->TextMatrix(row, 1));
    txtCodigo->setText(flxDespesas->TextMatrix(row, 0));
    platform::showStoredText(txtPreClass, flxDespesas->TextMatrix(row, 2));
    cbxContas->setCurrentIndex(cbxContas->findText(flxDespesas->TextMatrix(row, 3)));
}

void frmClassificacao::cmdAltAltera_Click()
{
    if (fraAltAltera->title() == kAltera)
        alterar();
    else
        incluir();
}

// Rebuilds the tree from the whole plan; writes nothing.
void frmClassificacao::PreencherPlano()
{
    trwContas->clear();
    const struct {
        QString tipo;
        QString texto;
        QString chave;
    } raizes[] = {
        {data::kDespesaSaida, QStringLiteral("Classificação de SAÍDAS"), QStringLiteral("Saidas")},
        {data::kDespesaEntrada, QStringLiteral("Classificação de ENTRADAS"), QStringLiteral("Entradas")},
    };
    for (const auto& raiz : raizes) {
        QTreeWidgetItem* no = novoNo(raiz.texto, raiz.chave);
        trwContas->addTopLevelItem(no);
        const QStringList& grupos = data::gruposDoLado(raiz.tipo);
        const QStringList& chaves = chavesDosGrupos(raiz.tipo);
        for (int g = 0; g < grupos.size(); ++g)
            no->addChild(novoNo(grupos[g], chaves[g]));
        // A classification whose group is none of its side's is not shown.
        for (const auto& d : data::classificacoes(ConexaoBanco, raiz.tipo, data::OrdemDespesas::PorCodigo)) {
            const int g = int(grupos.indexOf(d.conta));
            if (g >= 0)
                no->child(g)->addChild(novoNo(d.nome, QStringLiteral("#") + QString::number(d.codigo)));
        }
    }
    for (const QString& chave : {QStringLiteral("alimentação"), QStringLiteral("patrimoniais")})
        if (QTreeWidgetItem* grupo = noPorChave(chave)) {
            grupo->parent()->setExpanded(true);
            trwContas->scrollToItem(grupo);
        }
}

QString frmClassificacao::chaveDoNo(const QTreeWidgetItem* no)
{
    return no ? no->data(0, Qt::UserRole).toString() : QString();
}

QTreeWidgetItem* frmClassificacao::noPorChave(const QString& chave) const
{
    std::function<QTreeWidgetItem*(QTreeWidgetItem*)> procurar = [&](QTreeWidgetItem* no) -> QTreeWidgetItem* {
        if (chaveDoNo(no) == chave)
            return no;
        for (int i = 0; i < no->childCount(); ++i)
            if (QTreeWidgetItem* achado = procurar(no->child(i)))
                return achado;
        return nullptr;
    };
    for (int i = 0; i < trwContas->topLevelItemCount(); ++i)
        if (QTreeWidgetItem* achado = procurar(trwContas->topLevelItem(i)))
            return achado;
    return nullptr;
}

// Lists the side shown by the side list, its names containing the filter
// text; every listing leaves alteration mode.
void frmClassificacao::listarLado(const QString& filtro)
{
    txtAltDesp->clear();
    txtPreClass->clear();
    modoInclusao();

    const QString tipo = txtCodDesp->currentText() == QStringLiteral("Saída") ? data::kDespesaSaida
                                                                               : data::kDespesaEntrada;
    txtTipo->setText(tipo);
    const auto lista = data::classificacoesContendo(ConexaoBanco, tipo, filtro);

    flxDespesas->Clear();
    flxDespesas->setRows(2);
    flxDespesas->FormatString(QStringLiteral("Núm") + QString(2, QLatin1Char(' ')) + QLatin1Char('|') +
                              QStringLiteral("Classificação") + QString(45, QLatin1Char(' ')) + QLatin1Char('|') +
                              QStringLiteral("Pré-Classificação") + QString(3, QLatin1Char(' ')) + QLatin1Char('|') +
                              QStringLiteral("Conta") + QString(55, QLatin1Char(' ')),
                              {platform::kWidestCode});

    flxDespesas->setRows(int(lista.size()) + 1);
    int r = 0;
    for (const auto& d : lista) {
        ++r;
        flxDespesas->setTextMatrix(r, 0, platform::formatNumber(qint64(d.codigo), QStringLiteral("000000")));
        flxDespesas->setTextMatrix(r, 1, d.nome);
        flxDespesas->setTextMatrix(r, 2, d.preClass);
        flxDespesas->setTextMatrix(r, 3, d.conta);
        flxDespesas->setAlternateRowColor(r);
    }
    txtTotalDespesas->setText(platform::formatNumber(qint64(lista.size()), QStringLiteral("00")));

    PreencherPlano();

    cbxContas->clear();
    cbxContas->addItems(data::gruposDoLado(tipo));
    cbxContas->setCurrentIndex(-1);
}

void frmClassificacao::incluir()
{
    const QString nome = txtAltDesp->text();
    if (data::outraComNome(ConexaoBanco, nome)) {
        MsgBox(QStringLiteral("Já existe uma classificação com este nome."), platform::vbCritical | platform::vbOKOnly,
               app::kAtencao);
        txtAltDesp->setFocus();
        return;
    }
    if (nome.trimmed().isEmpty()) {
        MsgBox(QStringLiteral("Falta digitar o campo ''Despesa"), platform::vbCritical | platform::vbOKOnly, app::kAtencao);
        txtAltDesp->setFocus();
        return;
    }
    if (txtTipo->text().isEmpty()) {
        MsgBox(QStringLiteral("Falta escolher ''Tipo de Despesa''"), platform::vbCritical | platform::vbOKOnly,
               app::kAtencao);
        txtAltDesp->setFocus();
        return;
    }
    if (cbxContas->currentIndex() < 0) {
        MsgBox(QStringLiteral("Falta escolher ''Conta''"), platform::vbCritical | platform::vbOKOnly, app::kAtencao);
        cbxContas->setFocus();
        return;
    }

    data::Despesa d;
    d.nome = nome;
    d.tipo = txtTipo->text();
    d.preClass = txtPreClass->text();
    d.conta = cbxContas->currentText();
    data::addClassificacao(ConexaoBanco, d);
    txtAltDesp->clear();
    txtPreClass->clear();
    txtCodDesp_Click();
}

void frmClassificacao::alterar()
{
    const QString nome = txtAltDesp->text();
    const QString tipo = txtTipo->text();
    const auto codigo = std::int64_t(platform::Val(txtCodigo->text()));
    if (nome.trimmed().isEmpty()) {
        MsgBox(QStringLiteral("Falta digitar o campo ''Despesa"), platform::vbCritical | platform::vbOKOnly, app::kAtencao);
        txtAltDesp->setFocus();
        return;
    }
    if (tipo.isEmpty()) {
        MsgBox(QStringLiteral("Falta escolher ''Tipo de Despesa''"), platform::vbCritical | platform::vbOKOnly,
               app::kAtencao);
        txtAltDesp->setFocus();
        return;
    }
    // Names are unique over both sides: the tree and the other windows'
    // lookups find a classification by its name.
    if (const auto outra = data::outraComNome(ConexaoBanco, nome, codigo)) {
        if (outra->tipo != tipo)
            MsgBox(tipo == data::kDespesaSaida
                       ? QStringLiteral("Já existe um classificação com este nome nas ''Entradas''.")
                       : QStringLiteral("Já existe um classificação com este nome nas ''Saídas''."),
                   platform::vbCritical | platform::vbOKOnly, QStringLiteral("Atenção"));
        else
            MsgBox(QStringLiteral("Já existe uma classificação com este nome."),
                   platform::vbCritical | platform::vbOKOnly, app::kAtencao);
        txtAltDesp->setFocus();
        return;
    }
    // Every classification keeps a group of its side.
    if (cbxContas->currentIndex() < 0) {
        MsgBox(QStringLiteral("Falta escolher ''Conta''"), platform::vbCritical | platform::vbOKOnly, app::kAtencao);
        cbxContas->setFocus();
        return;
    }

    data::Despesa d;
    d.codigo = codigo;
    d.nome = nome;
    d.tipo = tipo;
    d.preClass = txtPreClass->text();
    d.conta = cbxContas->currentText();
    data::updateClassificacao(ConexaoBanco, d);
    modoInclusao();
    txtAltDesp->clear();
    txtPreClass->clear();
    txtCodDesp_Click();
}

void frmClassificacao::modoInclusao()
{
    fraAltAltera->setTitle(kInclusao);
    cmdAltAltera->setText(QStringLiteral("&Incluir"));
}
