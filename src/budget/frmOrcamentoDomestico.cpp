#include "budget/frmOrcamentoDomestico.h"

#include "app/CaixaValor.h"
#include "app/Textos.h"
#include "budget/LancamentoAnual.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Orcamento.h"
#include "data/PrevistoRealizado.h"
#include "platform/Accessibility.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "platform/TypingLimit.h"
#include "platform/formats.h"

#include <QComboBox>
#include <QFrame>
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

const QChar kCR = QChar(13);

const QColor kSaldoPositivo(192, 255, 192);
const QColor kSaldoNegativo(255, 192, 192);

QString titulos(std::initializer_list<std::pair<const char*, int>> colunas)
{
    QStringList partes;
    for (const auto& [titulo, brancos] : colunas)
        partes << QString::fromUtf8(titulo) + QString(brancos, QLatin1Char(' '));
    return partes.join(QLatin1Char('|'));
}

const QString kCabecalhoDespesas = titulos({{"Classificação", 66}, {"Número", 1}});
const QString kCabecalhoOrcamento = titulos({{"ID", 7},
                                             {"Data Início", 2},
                                             {"Ocorre", 22},
                                             {"Referente", 40},
                                             {"Despesa", 50},
                                             {"Valor Mês", 10},
                                             {"Valor Ano", 12}});
const QStringList kMaioresDespesas{QString(), platform::kWidestCode};
const QStringList kMaioresOrcamento{platform::kWidestCode, QStringLiteral("00/00"),    QString(), QString(),
                                    QString(),             platform::kWidestAmount, platform::kWidestSum};

void colorirLinha(platform::FlexGrid* grade, int row)
{
    grade->setAlternateRowColor(row);
}

QLabel* rotuloValor(QWidget* pai)
{
    auto* rotulo = new QLabel(pai);
    rotulo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    rotulo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    platform::showsResult(*rotulo);
    return rotulo;
}

QLineEdit* caixaValor(QWidget* pai)
{
    auto* caixa = new QLineEdit(pai);
    caixa->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caixa->setMaximumWidth(caixa->fontMetrics().horizontalAdvance(QStringLiteral("000.000.000,000")) + 16);
    platform::keepWhole(caixa, QStringLiteral("000.000.000,00"));
    return caixa;
}

} // namespace

frmOrcamentoDomestico::frmOrcamentoDomestico(QWidget* parent) : Form(parent)
{
    setWindowTitle(QStringLiteral("Orçamento Doméstico Anual"));
    setEnterAsTab(true);

    lblOrcamento = new QLabel(QStringLiteral("ORÇAMENTO DOMÉSTICO ANUAL"), this);
    QFont titulo = lblOrcamento->font();
    titulo.setBold(true);
    titulo.setPointSizeF(titulo.pointSizeF() * 1.5);
    lblOrcamento->setFont(titulo);
    lblOrcamento->setAlignment(Qt::AlignCenter);

    // Income and totals.
    txtAdiantamento = caixaValor(this);
    txtSalario = caixaValor(this);
    txtOutrasEntradas = caixaValor(this);
    cmdAtualizar = new QPushButton(QStringLiteral("Atualizar Entradas"), this);
    txtTotalEntrada = rotuloValor(this);
    txtTotalSaida = rotuloValor(this);
    txtTotalSaida->setText(QStringLiteral("0,00"));
    txtSaldoFinal = rotuloValor(this);
    txtSaldoFinal->setAutoFillBackground(true);

    auto* entradas = new QGridLayout;
    entradas->addWidget(new QLabel(QStringLiteral("Adto salarial (ano) R$"), this), 0, 0);
    entradas->addWidget(txtAdiantamento, 0, 1);
    entradas->addWidget(new QLabel(QStringLiteral("Salário (ano) R$"), this), 1, 0);
    entradas->addWidget(txtSalario, 1, 1);
    entradas->addWidget(new QLabel(QStringLiteral("Outras Entradas (ano) R$"), this), 2, 0);
    entradas->addWidget(txtOutrasEntradas, 2, 1);
    entradas->addWidget(cmdAtualizar, 3, 1);
    entradas->setColumnMinimumWidth(2, 24);
    entradas->addWidget(new QLabel(QStringLiteral("Total Entradas (ano) R$"), this), 0, 3);
    entradas->addWidget(txtTotalEntrada, 0, 4);
    entradas->addWidget(new QLabel(QStringLiteral("Total Saídas (ano) R$"), this), 1, 3);
    entradas->addWidget(txtTotalSaida, 1, 4);
    entradas->addWidget(new QLabel(QStringLiteral("Saldo Final (ano) R$"), this), 2, 3);
    entradas->addWidget(txtSaldoFinal, 2, 4);
    entradas->setColumnStretch(5, 1);

    // The line editor with its classification picker.
    auto* fraLancar = new QGroupBox(QStringLiteral("LANÇAR ORÇAMENTO"), this);
    txtConsulta = new QLineEdit(fraLancar);
    flxDespesas = new platform::FlexGrid(fraLancar);
    auto* picker = new QGridLayout;
    picker->addWidget(new QLabel(QStringLiteral("Filtrar"), fraLancar), 0, 0);
    picker->addWidget(txtConsulta, 0, 1);
    picker->addWidget(flxDespesas, 1, 0, 1, 2);

    auto* fraDespesa = new QGroupBox(QStringLiteral("Lançar Despesa"), fraLancar);
    lblDespesa = new QLabel(fraDespesa);
    lblDespesa->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblCodigo = new QLabel(fraDespesa);
    lblCodigo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblCodigo->setMinimumWidth(lblCodigo->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 8);
    txtReferente = new QLineEdit(fraDespesa);
    platform::limitTyping(txtReferente, 70);
    txtReferente->setMinimumWidth(txtReferente->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 30);
    txtDataLan = new platform::MaskEdBox(QStringLiteral("##/##"), fraDespesa);
    txtDataLan->setMaximumWidth(txtDataLan->fontMetrics().horizontalAdvance(QStringLiteral("00/000")) + 16);
    txtValor = caixaValor(fraDespesa);
    txtOcorre = new QComboBox(fraDespesa);
    cmdGravaLan = new QPushButton(QStringLiteral("Gravar"), fraDespesa);

    auto* despesa = new QGridLayout(fraDespesa);
    despesa->addWidget(new QLabel(QStringLiteral("Despesa"), fraDespesa), 0, 0);
    despesa->addWidget(lblDespesa, 0, 1, 1, 3);
    despesa->addWidget(new QLabel(QStringLiteral("Código"), fraDespesa), 0, 4);
    despesa->addWidget(lblCodigo, 0, 5);
    despesa->addWidget(new QLabel(QStringLiteral("Histórico / Referente"), fraDespesa), 1, 0);
    despesa->addWidget(txtReferente, 1, 1, 1, 5);
    despesa->addWidget(new QLabel(QStringLiteral("Início (dia/mês)"), fraDespesa), 2, 0);
    despesa->addWidget(txtDataLan, 2, 1);
    despesa->addWidget(new QLabel(QStringLiteral("Valor R$"), fraDespesa), 2, 2, Qt::AlignRight);
    despesa->addWidget(txtValor, 2, 3);
    despesa->addWidget(new QLabel(QStringLiteral("Ocorre"), fraDespesa), 3, 0);
    despesa->addWidget(txtOcorre, 3, 1, 1, 3);
    despesa->addWidget(cmdGravaLan, 4, 5);
    despesa->setRowStretch(5, 1);
    despesa->setColumnStretch(3, 1);

    auto* lancar = new QHBoxLayout(fraLancar);
    lancar->addLayout(picker, 1);
    lancar->addWidget(fraDespesa, 1);

    // The budget lines and the two postings.
    flxOrcamento = new platform::FlexGrid(this);
    cbxAnos = new QComboBox(this);
    cmdLancarOrcamento = new QPushButton(QStringLiteral("Lançar Orçamento Anual"), this);
    cmdPrevistoRealizado = new QPushButton(QStringLiteral("Lançar em Previsto/Realizado"), this);
    guardFromEnter(cmdLancarOrcamento);
    guardFromEnter(cmdPrevistoRealizado);
    auto* rodape = new QHBoxLayout;
    rodape->addWidget(new QLabel(QStringLiteral("Ano"), this));
    rodape->addWidget(cbxAnos);
    rodape->addWidget(cmdLancarOrcamento);
    rodape->addStretch(1);
    rodape->addWidget(cmdPrevistoRealizado);

    auto* janela = new QVBoxLayout(this);
    janela->addWidget(lblOrcamento);
    janela->addLayout(entradas);
    janela->addWidget(fraLancar, 1);
    janela->addWidget(flxOrcamento, 1);
    janela->addLayout(rodape);
    resize(1180, 760);

    flxDespesas->FormatString(kCabecalhoDespesas, kMaioresDespesas);
    flxOrcamento->FormatString(kCabecalhoOrcamento, kMaioresOrcamento);
    // A smaller screen shortens the names, never the numbers.
    flxDespesas->setGivingWayCol(0);
    flxOrcamento->setGivingWayCols({3, 4});

    setTabOrder(txtAdiantamento, txtSalario);
    setTabOrder(txtSalario, txtOutrasEntradas);
    setTabOrder(txtOutrasEntradas, cmdAtualizar);
    setTabOrder(cmdAtualizar, txtConsulta);
    setTabOrder(txtConsulta, flxDespesas);
    setTabOrder(flxDespesas, txtReferente);
    setTabOrder(txtReferente, txtDataLan);
    setTabOrder(txtDataLan, txtValor);
    setTabOrder(txtValor, txtOcorre);
    setTabOrder(txtOcorre, cmdGravaLan);
    setTabOrder(cmdGravaLan, flxOrcamento);
    setTabOrder(flxOrcamento, cbxAnos);
    setTabOrder(cbxAnos, cmdLancarOrcamento);
    setTabOrder(cmdLancarOrcamento, cmdPrevistoRealizado);

    app::instalarCaixaValor(txtAdiantamento);
    app::instalarCaixaValor(txtSalario);
    app::instalarCaixaValor(txtOutrasEntradas);
    app::instalarCaixaValor(txtValor);
    for (QWidget* w : std::initializer_list<QWidget*>{txtValor, txtDataLan})
        w->installEventFilter(this);

    connect(txtConsulta, &QLineEdit::textChanged, this, [this] { txtConsulta_Change(); });
    connect(flxDespesas, &platform::FlexGrid::cellDoubleClicked, this, [this] { flxDespesas_DblClick(); });
    connect(cmdGravaLan, &QPushButton::clicked, this, platform::guarded([this] { cmdGravaLan_Click(); }));
    connect(flxOrcamento, &platform::FlexGrid::cellDoubleClicked, this, [this] { flxOrcamento_DblClick(); });
    connect(flxOrcamento, &platform::FlexGrid::keyPressed, this,
            platform::guarded([this](QKeyEvent* e) { flxOrcamento_KeyDown(e); }));
    connect(cmdAtualizar, &QPushButton::clicked, this, platform::guarded([this] { cmdAtualizar_Click(); }));
    connect(cmdLancarOrcamento, &QPushButton::clicked, this, platform::guarded([this] { cmdLancarOrcamento_Click(); }));
    connect(cmdPrevistoRealizado, &QPushButton::clicked, this,
            platform::guarded([this] { cmdPrevistoRealizado_Click(); }));
}

void frmOrcamentoDomestico::Form_Load()
{
    const int ano = platform::Today().year();
    for (int i = 0; i < 5; ++i)
        cbxAnos->addItem(QString::number(ano + i));
    cbxAnos->setCurrentIndex(1);

    txtConsulta_Change();
    Consulta_Orcamento();
    Atualizar_Entradas();
    Recalcula_Saldo();

    txtOcorre->addItems(data::recorrencias());
    txtOcorre->setCurrentIndex(0);
}

// Classification picker ------------------------------------------------------

void frmOrcamentoDomestico::txtConsulta_Change()
{
    const std::vector<data::Despesa> lista = data::classificacoesContendo(
        ConexaoBanco, data::kDespesaSaida, txtConsulta->text(), data::OrdemDespesas::PorCodigo);
    flxDespesas->Clear();
    flxDespesas->setRows(2);
    flxDespesas->FormatString(kCabecalhoDespesas, kMaioresDespesas);
    flxDespesas->setRows(int(lista.size()) + 1);
    int row = 1;
    for (const data::Despesa& d : lista) {
        flxDespesas->setTextMatrix(row, 0, d.nome);
        flxDespesas->setTextMatrix(row, 1, platform::formatNumber(qint64(d.codigo), QStringLiteral("000")));
        colorirLinha(flxDespesas, row);
        ++row;
    }
}

void frmOrcamentoDomestico::flxDespesas_DblClick()
{
    const int row = flxDespesas->Row();
    if (row < 1)
        return;
    const qint64 codigo = qint64(platform::Val(flxDespesas->TextMatrix(row, 1)));
    if (data::despesaNoOrcamento(ConexaoBanco, codigo)) {
        platform::MsgBox(QStringLiteral("Despesa já no orçamento."), platform::vbCritical, app::kAtencao);
        return;
    }
    mostrarDespesa(flxDespesas->TextMatrix(row, 0));
}

void frmOrcamentoDomestico::lblDespesa_Change()
{
    // The whole name: a name contained in another one ("Luz" in "Conta de
    // Luz") must give its own code, not the first that contains it.
    const QString nome = lblDespesa->text();
    if (nome.isEmpty())
        return;
    for (const data::Despesa& d :
         data::classificacoesContendo(ConexaoBanco, data::kDespesaSaida, nome, data::OrdemDespesas::PorCodigo))
        if (d.nome == nome) {
            lblCodigo->setText(QString::number(d.codigo));
            return;
        }
}

// Saving a line ----------------------------------------------------------------

void frmOrcamentoDomestico::cmdGravaLan_Click()
{
    auto recusar = [](const QString& mensagem, QWidget* foco) {
        platform::MsgBox(mensagem, platform::vbCritical, app::kAtencao);
        foco->setFocus();
    };
    if (lblCodigo->text().isEmpty())
        return recusar(QStringLiteral("Campo ''Despesa'' vazio."), txtReferente);
    if (txtReferente->text().isEmpty())
        return recusar(QStringLiteral("Campo ''Referente'' não pode ficar em Branco."), txtReferente);
    const QDate inicio = platform::parseDayMonth(txtDataLan->Text(), platform::Today().year());
    if (!inicio.isValid())
        return recusar(QStringLiteral("Data de Lançamento inválida"), txtDataLan);
    if (txtValor->text().isEmpty())
        return recusar(QStringLiteral("Campo ''Valor'' não pode ficar em Branco."), txtValor);
    data::Centavos valor = 0;
    if (!app::lerValor(txtValor->text(), valor, true))
        return recusar(app::kConteudoInvalido, txtValor);

    data::LinhaOrcamento linha;
    linha.data = inicio;
    linha.referente = txtReferente->text();
    linha.despesa = lblCodigo->text().toLongLong();
    linha.ocorre = txtOcorre->currentText();
    linha.valor = valor;
    data::saveLinhaOrcamento(ConexaoBanco, linha);

    mostrarDespesa(QString());
    lblCodigo->clear();
    txtReferente->clear();
    txtValor->clear();
    txtDataLan->setText(QStringLiteral("__/__"));

    Consulta_Orcamento();
    Incluir_Entradas();
    Atualizar_Entradas();
    Recalcula_Saldo();
}

// Budget grid ------------------------------------------------------------------

void frmOrcamentoDomestico::Consulta_Orcamento()
{
    linhasDaGrade_ = data::linhasOrcamento(ConexaoBanco, data::OrdemLinhas::MaiorValorPrimeiro);
    const std::vector<data::LinhaOrcamento>& linhas = linhasDaGrade_;
    flxOrcamento->Clear();
    flxOrcamento->setRows(2);
    flxOrcamento->FormatString(kCabecalhoOrcamento, kMaioresOrcamento);
    flxOrcamento->setRows(int(linhas.size()) + 1);
    int row = 1;
    for (const data::LinhaOrcamento& l : linhas) {
        flxOrcamento->setTextMatrix(row, 0, QString::number(l.id));
        flxOrcamento->setTextMatrix(row, 1, platform::formatDate(l.data, QStringLiteral("DD/MM")));
        flxOrcamento->setTextMatrix(row, 2, l.ocorre);
        flxOrcamento->setTextMatrix(row, 3, l.referente);
        flxOrcamento->setTextMatrix(row, 4, l.nomeDespesa);
        flxOrcamento->setTextMatrix(row, 5, data::formatMoney(l.valor));
        flxOrcamento->setTextMatrix(row, 6, l.totalAno ? data::formatMoney(*l.totalAno) : QString());
        colorirLinha(flxOrcamento, row);
        ++row;
    }

    const std::pair<std::int64_t, QLineEdit*> entradas[] = {{data::kOrcamentoAdiantamento, txtAdiantamento},
                                                            {data::kOrcamentoSalario, txtSalario},
                                                            {data::kOrcamentoOutrasEntradas, txtOutrasEntradas}};
    for (const auto& [codigo, caixa] : entradas)
        if (const auto valor = data::valorFixo(ConexaoBanco, codigo))
            caixa->setText(data::formatMoney(*valor));

    totalSaida_ = data::totalSaidasOrcamento(ConexaoBanco);
    txtTotalSaida->setText(data::formatMoney(totalSaida_));
}

void frmOrcamentoDomestico::flxOrcamento_DblClick()
{
    const data::LinhaOrcamento* l = linhaSelecionada();
    if (!l)
        return;
    txtDataLan->setText(platform::formatDate(l->data, QStringLiteral("DD/MM")));
    mostrarOcorre(l->ocorre);
    platform::showStoredText(txtReferente, l->referente);
    mostrarDespesa(l->nomeDespesa);
    txtValor->setText(data::formatMoney(l->valor));
}

void frmOrcamentoDomestico::mostrarOcorre(const QString& ocorre)
{
    // A recurrence outside the six is shown as stored, as one more item, so
    // that saving the line untouched keeps it; the item goes with the next
    // line loaded.
    const int fixas = int(data::recorrencias().size());
    while (txtOcorre->count() > fixas)
        txtOcorre->removeItem(fixas);
    int i = txtOcorre->findText(ocorre, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i < 0) {
        txtOcorre->addItem(ocorre);
        i = fixas;
    }
    txtOcorre->setCurrentIndex(i);
}

void frmOrcamentoDomestico::flxOrcamento_KeyDown(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Delete)
        return;
    const int row = flxOrcamento->Row();
    const data::LinhaOrcamento* l = linhaSelecionada();
    if (!l)
        return;
    const std::int64_t id = l->id;
    const int resposta = platform::MsgBox(app::perguntaExcluir(flxOrcamento->TextMatrix(row, 3) + QStringLiteral(" R$ ") +
                                                                 flxOrcamento->TextMatrix(row, 6)),
                                          platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2,
                                          app::kConfirmacao);
    if (resposta != platform::vbYes)
        return;
    data::deleteLinhaOrcamento(ConexaoBanco, id);
    Consulta_Orcamento();
    Recalcula_Saldo();
}

// Income and balance -----------------------------------------------------------

void frmOrcamentoDomestico::cmdAtualizar_Click()
{
    Incluir_Entradas();
    Atualizar_Entradas();
    Recalcula_Saldo();
}

void frmOrcamentoDomestico::Incluir_Entradas()
{
    const std::pair<std::int64_t, QLineEdit*> entradas[] = {{data::kOrcamentoAdiantamento, txtAdiantamento},
                                                            {data::kOrcamentoSalario, txtSalario},
                                                            {data::kOrcamentoOutrasEntradas, txtOutrasEntradas}};
    // Every box is read before anything is stored, so a box that holds no
    // amount stores none of the three. A box whose row is missing stores
    // nothing anyway and is not looked at.
    std::vector<std::pair<std::int64_t, data::Centavos>> valores;
    for (const auto& [codigo, caixa] : entradas) {
        if (!data::valorFixo(ConexaoBanco, codigo))
            continue;
        data::Centavos valor = 0;
        if (!app::lerValor(caixa->text(), valor, true)) {
            platform::MsgBox(app::kConteudoInvalido, platform::vbCritical, app::kAtencao);
            caixa->setFocus();
            return;
        }
        valores.emplace_back(codigo, valor);
    }
    data::Transaction t(ConexaoBanco);
    for (const auto& [codigo, valor] : valores)
        data::updateValorFixo(ConexaoBanco, codigo, valor);
    t.commit();
}

void frmOrcamentoDomestico::Atualizar_Entradas()
{
    totalEntrada_ = data::totalEntradasOrcamento(ConexaoBanco);
    txtTotalEntrada->setText(data::formatMoney(totalEntrada_));
}

void frmOrcamentoDomestico::Recalcula_Saldo()
{
    const data::Centavos saldo = data::addMoney(totalEntrada_, -totalSaida_);
    txtSaldoFinal->setText(data::formatMoney(saldo));
    QPalette p = txtSaldoFinal->palette();
    p.setColor(QPalette::Window, saldo >= 0 ? kSaldoPositivo : kSaldoNegativo);
    txtSaldoFinal->setPalette(p);
}

// Keys and focus ---------------------------------------------------------------

void frmOrcamentoDomestico::txtDataLan_GotFocus() { QTimer::singleShot(0, txtDataLan, &QLineEdit::selectAll); }

void frmOrcamentoDomestico::txtValor_GotFocus() { QTimer::singleShot(0, txtValor, &QLineEdit::selectAll); }

void frmOrcamentoDomestico::txtDataLan_KeyDown(int key)
{
    if (key != Qt::Key_F2)
        return;
    txtDataLan->setText(platform::formatDate(platform::Today(), QStringLiteral("DD/MM")));
    txtValor->setFocus(Qt::TabFocusReason);
}

bool frmOrcamentoDomestico::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        // The value boxes' keys go through their own filters.
        if (watched == txtDataLan && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2) {
            txtDataLan_KeyDown(Qt::Key_F2);
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtDataLan)
            txtDataLan_GotFocus();
        else if (watched == txtValor)
            txtValor_GotFocus();
    }
    return platform::Form::eventFilter(watched, event);
}

// Posting the year ---------------------------------------------------------------

void frmOrcamentoDomestico::cmdLancarOrcamento_Click()
{
    const int resposta = platform::MsgBox(QStringLiteral("Deseja realmente lançar o Orçamento para o ano de ") +
                                              cbxAnos->currentText() + QStringLiteral("?"),
                                          platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2, app::kAtencao);
    if (resposta != platform::vbYes)
        return;
    try {
        Lancar_Orcamento_Anual();
    } catch (const data::DbError& e) {
        platform::MsgBox(QStringLiteral("O Orçamento não foi lançado; nenhum lançamento foi gravado.") + kCR +
                             e.userMessage(),
                         platform::vbCritical, app::kAtencao);
        return;
    }
    platform::MsgBox(QStringLiteral("Orçamento Lançado com sucesso!"), platform::vbInformation, app::kOk);
}

void frmOrcamentoDomestico::Lancar_Orcamento_Anual()
{
    budget::lancarOrcamentoAnual(ConexaoBanco, cbxAnos->currentText().toInt(), platform::Today());
}

// Copying into the watch list ----------------------------------------------------

void frmOrcamentoDomestico::cmdPrevistoRealizado_Click()
{
    const int resposta = platform::MsgBox(QStringLiteral("Deseja realmente lançar em ''Previsto e Realizado''?"),
                                          platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2, app::kAtencao);
    if (resposta != platform::vbYes)
        return;
    try {
        Lancar_PrevRealizado();
    } catch (const data::DbError& e) {
        platform::MsgBox(QStringLiteral("''Previsto e Realizado'' não foi lançado; nada foi gravado.") + kCR +
                             e.userMessage(),
                         platform::vbCritical, app::kAtencao);
        return;
    }
    platform::MsgBox(QStringLiteral("''Previsto e Realizado'' Lançado com sucesso!"), platform::vbInformation,
                     app::kOk);
}

void frmOrcamentoDomestico::Lancar_PrevRealizado()
{
    data::Transaction t(ConexaoBanco);
    for (const data::LinhaOrcamento& l : linhasDaGrade_) {
        // Only an amount a box can hold is copied (the watch list's editor
        // takes no sign and thirteen digits).
        if (l.valor < 0 || l.valor > data::kMaxCentavos)
            continue;
        // A row deleted behind the grid's back has no classification to copy.
        if (const auto codigo = data::despesaDaLinha(ConexaoBanco, l.id))
            data::addPrevistoIfMissing(ConexaoBanco, *codigo, l.valor);
    }
    t.commit();
}

// Procedures ---------------------------------------------------------------------

const data::LinhaOrcamento* frmOrcamentoDomestico::linhaSelecionada() const
{
    const int row = flxOrcamento->Row();
    return row >= 1 && row <= int(linhasDaGrade_.size()) ? &linhasDaGrade_[size_t(row) - 1] : nullptr;
}

void frmOrcamentoDomestico::mostrarDespesa(const QString& nome)
{
    lblDespesa->setText(nome);
    lblDespesa_Change();
}
