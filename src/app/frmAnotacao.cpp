#include "app/frmAnotacao.h"

#include "app/Textos.h"
#include "app/frmPrincipal.h"
#include "data/Anotacoes.h"
#include "data/Conexao.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/MaskEdBox.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "platform/TypingLimit.h"
#include "platform/formats.h"

#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using platform::MsgBox;

namespace {
const QString kInclusao = QStringLiteral("Inclusão");
const QString kAltera = QStringLiteral("Altera");
const QString kDataVazia = QStringLiteral("__/__/____");
} // namespace

frmAnotacao::frmAnotacao(QWidget* parent) : platform::Form(parent)
{
    construir();
}

void frmAnotacao::construir()
{
    setWindowTitle(QStringLiteral("Inclusão de Anotações"));
    setEnterAsTab(true);

    fraAnota = new QGroupBox(kInclusao, this);

    txtTitulo = new QLineEdit(fraAnota);
    platform::limitTyping(txtTitulo, 40);

    txtTexto = new QPlainTextEdit(fraAnota);
    txtTexto->setTabChangesFocus(true);
    txtTexto->setMinimumHeight(110);
    platform::givesWay(*txtTexto, txtTexto->fontMetrics().lineSpacing() * 3 + 10);

    chkLembrar = new QCheckBox(QStringLiteral("Lembrar"), fraAnota);

    txtDataLemb = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraAnota);
    txtDataLemb->setEnabled(false);
    // As wide as a whole date in the font of the desktop, no wider.
    txtDataLemb->setMaximumWidth(txtDataLemb->sizeHint().width());

    txtQtdeDias = new QLineEdit(QStringLiteral("0"), fraAnota);
    txtQtdeDias->setMaxLength(2);
    txtQtdeDias->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), txtQtdeDias));
    txtQtdeDias->setEnabled(false);
    txtQtdeDias->setMaximumWidth(std::max(40, platform::boxWidthFor(txtQtdeDias, QStringLiteral("00"))));
    txtQtdeDias->installEventFilter(this);

    chkLembrarSempre = new QCheckBox(QStringLiteral("Lembrar depois data"), fraAnota);

    txtDataAlter = new QLabel(fraAnota);
    txtDia = new QLabel(fraAnota);

    cmdGravar = new QPushButton(QStringLiteral("Gravar"), fraAnota);
    cmdGravar->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));

    txtCodigo = new QLineEdit(fraAnota);
    txtCodigo->setReadOnly(true);
    txtCodigo->setVisible(false);

    auto* lembrete = new QHBoxLayout;
    lembrete->addWidget(chkLembrar);
    lembrete->addSpacing(12);
    lembrete->addWidget(new QLabel(QStringLiteral("Data lembrete"), fraAnota));
    lembrete->addWidget(txtDataLemb);
    lembrete->addSpacing(12);
    lembrete->addWidget(new QLabel(QStringLiteral("Lembrar antes"), fraAnota));
    lembrete->addWidget(txtQtdeDias);
    lembrete->addWidget(new QLabel(QStringLiteral("Dia(s)"), fraAnota));
    lembrete->addSpacing(12);
    lembrete->addWidget(chkLembrarSempre);
    lembrete->addStretch();

    auto* alteracao = new QHBoxLayout;
    alteracao->addWidget(new QLabel(QStringLiteral("Última Alteração"), fraAnota));
    alteracao->addWidget(txtDataAlter);
    alteracao->addSpacing(8);
    alteracao->addWidget(txtDia);
    alteracao->addStretch();
    alteracao->addWidget(cmdGravar);

    auto* frame = new QVBoxLayout(fraAnota);
    frame->addWidget(new QLabel(QStringLiteral("Título da Anotação"), fraAnota));
    frame->addWidget(txtTitulo);
    frame->addWidget(new QLabel(QStringLiteral("Texto da anotação"), fraAnota));
    frame->addWidget(txtTexto);
    frame->addLayout(lembrete);
    frame->addLayout(alteracao);
    frame->addWidget(txtCodigo);

    flxAnotacoes = new platform::FlexGrid(this);
    flxAnotacoes->setMinimumHeight(200);
    platform::givesWay(*flxAnotacoes, 120);

    cmdFecha = new QToolButton(this);
    cmdFecha->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    cmdFecha->setIconSize(QSize(32, 32));
    cmdFecha->setAutoRaise(true);
    cmdFecha->setToolTip(QStringLiteral("Fechar"));

    auto* fecha = new QHBoxLayout;
    fecha->addStretch();
    fecha->addWidget(cmdFecha);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraAnota);
    layout->addWidget(flxAnotacoes, 1);
    layout->addLayout(fecha);
    resize(960, 620);

    setTabOrder(txtTitulo, txtTexto);
    setTabOrder(txtTexto, chkLembrar);
    setTabOrder(chkLembrar, txtDataLemb);
    setTabOrder(txtDataLemb, txtQtdeDias);
    setTabOrder(txtQtdeDias, chkLembrarSempre);
    setTabOrder(chkLembrarSempre, cmdGravar);
    setTabOrder(cmdGravar, flxAnotacoes);
    setTabOrder(flxAnotacoes, cmdFecha);

    connect(chkLembrar, &QCheckBox::toggled, this, [this] { chkLembrar_Click(); });
    connect(txtCodigo, &QLineEdit::textChanged, this, [this] { txtCodigo_Change(); });
    connect(flxAnotacoes, &platform::FlexGrid::cellDoubleClicked, this, [this] { flxAnotacoes_DblClick(); });
    connect(flxAnotacoes, &platform::FlexGrid::keyPressed, this,
            platform::guarded([this](QKeyEvent* e) { flxAnotacoes_KeyDown(e); }));
    connect(cmdGravar, &QPushButton::clicked, this, platform::guarded([this] { cmdGravar_Click(); }));
    connect(txtTexto, &QPlainTextEdit::textChanged, this, [this] { txtTexto_Change(); });
    connect(cmdFecha, &QToolButton::clicked, this, [this] { cmdFecha_Click(); });
}

// Load: today as the last change, inclusion mode, the grid filled.
void frmAnotacao::Form_Load()
{
    const QDate hoje = platform::Today();
    txtDataAlter->setText(platform::fmtDate(hoje));
    txtDia->setText(platform::formatDate(hoje, QStringLiteral("dddd")));
    marcaLembrar_ = QStringLiteral("N");
    PreencherAnotacoes();
    textoAlterado_ = false;
}

void frmAnotacao::chkLembrar_Click()
{
    if (chkLembrar->isChecked()) {
        marcaLembrar_ = QStringLiteral("S");
        txtDataLemb->setEnabled(true);
        txtQtdeDias->setEnabled(true);
        return;
    }
    marcaLembrar_ = QStringLiteral("N");
    txtDataLemb->setEnabled(false);
    txtQtdeDias->setEnabled(false);
    txtDataLemb->setText(kDataVazia);
    txtQtdeDias->setText(QStringLiteral("0"));
    txtTexto->setFocus();
}

void frmAnotacao::txtCodigo_Change()
{
    const auto codigo = std::int64_t(platform::Val(txtCodigo->text()));
    if (codigo == 0)
        return;
    const auto nota = data::findAnotacao(ConexaoBanco, codigo);
    if (!nota)
        return;

    platform::showStoredText(txtTitulo, nota->titulo);
    txtTexto->setPlainText(nota->texto);
    if (nota->lembrar == QLatin1String("S"))
        txtDataLemb->setText(platform::fmtDate(nota->dataLemb));
    dataAlterCarregada_ = nota->dataAlter;
    txtDataAlter->setText(platform::fmtDate(nota->dataAlter));
    txtQtdeDias->setText(QString::number(nota->qtdeDias.value_or(0)));
    txtDia->setText(platform::formatDate(nota->dataAlter, QStringLiteral("dddd")));
    // A change of the box's state has the effects of a click on it.
    chkLembrar->setChecked(nota->lembrar == QLatin1String("S"));
    chkLembrarSempre->setChecked(nota->lembrarSempre == QLatin1String("S"));

    fraAnota->setTitle(kAltera);
    // Loading a note is no change of its text.
    textoAlterado_ = false;
}

void frmAnotacao::flxAnotacoes_DblClick()
{
    if (!flxAnotacoes->isEnabled() || flxAnotacoes->Rows() <= 1 || flxAnotacoes->Row() < 1)
        return;
    const QString codigo = flxAnotacoes->TextMatrix(flxAnotacoes->Row(), 0);
    if (txtCodigo->text() == codigo)
        txtCodigo_Change();  // the same number again still brings the stored note back
    else
        txtCodigo->setText(codigo);
}

void frmAnotacao::cmdGravar_Click()
{
    if (txtTitulo->text().isEmpty()) {
        MsgBox(QStringLiteral("Digitar campo ''Título''"), platform::vbCritical | platform::vbOKOnly, app::kAtencao);
        txtTitulo->setFocus();
        return;
    }
    QDate dataLemb;
    if (chkLembrar->isChecked()) {
        dataLemb = platform::parseDate(txtDataLemb->Text());
        if (!dataLemb.isValid()) {
            MsgBox(QStringLiteral("Data inválida para lembrete"), platform::vbCritical | platform::vbOKOnly, app::kAtencao);
            txtDataLemb->setFocus();
            return;
        }
    }
    if (txtQtdeDias->text().isEmpty())
        txtQtdeDias->setText(QStringLiteral("0"));
    qint64 dias = 0;
    if (!platform::parseWholeNumber(txtQtdeDias->text(), dias) || dias < 0 || dias > 99) {
        MsgBox(QStringLiteral("Quantidade de dias inválida para lembrete"), platform::vbCritical | platform::vbOKOnly,
               app::kAtencao);
        txtQtdeDias->setFocus();
        return;
    }
    if (txtTexto->toPlainText().isEmpty()) {
        MsgBox(QStringLiteral("Digitar campo ''Texto da anotação''"), platform::vbCritical | platform::vbOKOnly,
               app::kAtencao);
        txtTexto->setFocus();
        return;
    }

    data::Anotacao nota;
    nota.titulo = txtTitulo->text();
    nota.texto = txtTexto->toPlainText();
    nota.qtdeDias = int(dias);
    nota.lembrar = marcaLembrar_;
    nota.lembrarSempre = chkLembrarSempre->isChecked() ? QStringLiteral("S") : QStringLiteral("N");
    if (txtDataLemb->Text() != kDataVazia)
        nota.dataLemb = platform::parseDate(txtDataLemb->Text());

    if (fraAnota->title() != kAltera) {
        nota.dataAlter = platform::Today();
        data::addAnotacao(ConexaoBanco, nota);
    } else {
        const auto guardada = data::findAnotacao(ConexaoBanco, std::int64_t(platform::Val(txtCodigo->text())));
        if (guardada) {
            nota.codigo = guardada->codigo;
            // An empty date box keeps the stored reminder date.
            if (txtDataLemb->Text() == kDataVazia)
                nota.dataLemb = guardada->dataLemb;
            nota.dataAlter = textoAlterado_ ? platform::Today() : dataAlterCarregada_;
            data::updateAnotacao(ConexaoBanco, nota);
        }
        fraAnota->setTitle(kInclusao);
    }

    txtCodigo->clear();
    txtTitulo->clear();
    txtTexto->clear();
    txtDataLemb->setText(kDataVazia);
    txtDataAlter->setText(kDataVazia);
    txtQtdeDias->setText(QStringLiteral("0"));
    chkLembrar->setChecked(false);
    chkLembrarSempre->setChecked(false);
    PreencherAnotacoes();
    txtTitulo->setFocus();
    textoAlterado_ = false;
}

void frmAnotacao::flxAnotacoes_KeyDown(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        Unload();
        return;
    }
    if (event->key() == Qt::Key_Delete)
        excluirAnotacao();
}

void frmAnotacao::txtTexto_Change() { textoAlterado_ = true; }

// A value is always typed anew.
void frmAnotacao::txtQtdeDias_GotFocus() { txtQtdeDias->clear(); }

void frmAnotacao::cmdFecha_Click() { Unload(); }

void frmAnotacao::Form_Unload(bool& cancel)
{
    (void)cancel;
    if (platform::Forms::isLoaded<frmPrincipal>())
        platform::Forms::get<frmPrincipal>().VerificaAnot();
}

bool frmAnotacao::eventFilter(QObject* watched, QEvent* event)
{
    // The focus coming back with the window (after a message box) is not the
    // user entering the box.
    if (watched == txtQtdeDias && event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            txtQtdeDias_GotFocus();
    }
    return platform::Form::eventFilter(watched, event);
}

// Notes without a reminder date first, then by date.
void frmAnotacao::PreencherAnotacoes()
{
    const auto notas = data::anotacoesPorDataLemb(ConexaoBanco);
    const QDate hoje = platform::Today();

    flxAnotacoes->setRows(1);
    flxAnotacoes->FormatString(QStringLiteral("Núm") + QString(4, QLatin1Char(' ')) + QLatin1Char('|') +
                               QStringLiteral("Título") + QString(58, QLatin1Char(' ')) + QLatin1Char('|') +
                               QStringLiteral("Texto") + QString(83, QLatin1Char(' ')) + QLatin1Char('|') +
                               QStringLiteral("Lembrar") + QString(13, QLatin1Char(' ')),
                               {platform::kWidestCode});
    flxAnotacoes->setEnabled(!notas.empty());
    flxAnotacoes->setRows(int(notas.size()) + 1);

    int r = 0;
    for (const auto& nota : notas) {
        ++r;
        QString lembrar;
        if (nota.lembrar != QLatin1String("S"))
            lembrar = QStringLiteral("Não");
        else if (nota.dataLemb < hoje)
            lembrar = QStringLiteral("Data Passada");
        else
            lembrar = platform::fmtDate(nota.dataLemb);
        flxAnotacoes->setTextMatrix(r, 0, QString::number(nota.codigo));
        flxAnotacoes->setTextMatrix(r, 1, nota.titulo);
        flxAnotacoes->setTextMatrix(r, 2, nota.texto.left(45) + QStringLiteral(" ..."));
        flxAnotacoes->setTextMatrix(r, 3, lembrar);
        flxAnotacoes->setAlternateRowColor(r);
    }
}

// Delete in the grid: the selected row's note, after the question.
void frmAnotacao::excluirAnotacao()
{
    if (!flxAnotacoes->isEnabled() || flxAnotacoes->Rows() <= 1 || flxAnotacoes->Row() < 1)
        return;
    const auto codigo = std::int64_t(platform::Val(flxAnotacoes->TextMatrix(flxAnotacoes->Row(), 0)));
    const auto nota = data::findAnotacao(ConexaoBanco, codigo);
    if (!nota)
        return;
    const int resposta = MsgBox(app::perguntaExcluir(nota->titulo),
                                platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2,
                                app::kConfirmacao);
    if (resposta != platform::vbYes)
        return;
    data::deleteAnotacao(ConexaoBanco, codigo);
    if (fraAnota->title() == kAltera)
        limparEditor();
    PreencherAnotacoes();
}

// After a delete made while altering: the editor back to inclusion. The
// "Lembrar depois data" box and the last-change labels stay as they are.
void frmAnotacao::limparEditor()
{
    txtTitulo->clear();
    txtTexto->clear();
    txtDataLemb->setText(kDataVazia);
    txtQtdeDias->setText(QStringLiteral("0"));
    chkLembrar->setChecked(false);
    txtCodigo->clear();
    fraAnota->setTitle(kInclusao);
}
