#include "entries/frmZalteracao.h"

#include "app/Atualizacoes.h"
#include "app/Textos.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "platform/Application.h"
#include "platform/MaskEdBox.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "platform/TypingLimit.h"
#include "platform/formats.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The amount as the value box holds it: decimal comma, no thousands points,
// no trailing decimal zeros, no sign ("-45,50" shows 45,5).
QString textoValorSemSinal(data::Centavos c)
{
    QString s = data::formatMoneyPlain(c);
    if (s.endsWith(QStringLiteral(",00")))
        s.chop(3);
    else if (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    const int menos = int(s.indexOf(QLatin1Char('-')));
    if (menos >= 0)
        s.remove(0, menos + 1);
    return s;
}

std::int64_t numeroDoTexto(const QString& texto)
{
    const double n = platform::Val(texto);
    return n >= 1 ? std::int64_t(n) : 0;
}

} // namespace

frmZalteracao::frmZalteracao(QWidget* parent)
    : Form(parent), CamposLancamento(this, entries::OpcoesCampos::editor())
{
    setWindowTitle(QStringLiteral("Alterações em lançamentos"));
    setEnterAsTab(true);

    txtNumLan = new QLineEdit(this);
    txtNumLan->setReadOnly(true);
    txtNumLan->hide();
    txtCodDesp->hide();
    txtConta->hide();

    cmdGravaLan = new QPushButton(this);
    cmdGravaLan->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    cmdGravaLan->setIconSize(QSize(24, 24));
    cmdGravaLan->setToolTip(QStringLiteral("Gravar"));
    cmdGravaLan->setMinimumSize(48, 36);
    cmdParcelas = new QPushButton(QStringLiteral("&Gerar Parcelas"), this);

    auto* frame = new QGroupBox(this);
    auto* campos = new QGridLayout(frame);
    auto rotulo = [frame](const char* texto) { return new QLabel(QString::fromUtf8(texto), frame); };
    campos->addWidget(rotulo("Tipo do Lançamento"), 0, 0);
    campos->addWidget(rotulo("Classificação do Lançamento"), 0, 1, 1, 2);
    campos->addWidget(rotulo("Filtro"), 0, 3);
    campos->addWidget(txtTipo, 1, 0);
    campos->addWidget(txtDespesa, 1, 1, 1, 2);
    campos->addWidget(txtFiltro, 1, 3);
    campos->addWidget(rotulo("Data Lanc."), 2, 0);
    campos->addWidget(rotulo("Vencimento"), 2, 1);
    campos->addWidget(txtDataLan, 3, 0);
    campos->addWidget(txtDataVen, 3, 1);
    campos->addWidget(rotulo("Histórico / Referente"), 4, 0, 1, 3);
    campos->addWidget(rotulo("Valor"), 4, 3);
    campos->addWidget(txtReferente, 5, 0, 1, 3);
    campos->addWidget(txtValor, 5, 3);
    campos->setColumnStretch(1, 1);
    campos->setColumnStretch(2, 2);
    txtReferente->setMinimumWidth(txtReferente->fontMetrics().averageCharWidth() * 50);
    txtDespesa->setMinimumWidth(txtDespesa->fontMetrics().averageCharWidth() * 28);

    auto* botoes = new QHBoxLayout;
    botoes->addWidget(cmdGravaLan);
    botoes->addWidget(cmdParcelas);
    botoes->addStretch(1);
    auto* janela = new QVBoxLayout(this);
    janela->addWidget(frame);
    janela->addLayout(botoes);

    ordenarTabulacao({cmdGravaLan, cmdParcelas});

    connect(txtNumLan, &QLineEdit::textChanged, this, [this] { txtNumLan_Change(); });
    connect(cmdGravaLan, &QPushButton::clicked, this, platform::guarded([this] { cmdGravaLan_Click(); }));
    connect(cmdParcelas, &QPushButton::clicked, this, [this] { cmdParcelas_Click(); });
}

void frmZalteracao::Form_Load()
{
    // Read now rather than after the save: a window that something loads
    // invisibly meanwhile writes its own name there, and the refresh must
    // still reach the window that handed the entry over.
    consultaDeOrigem_ = NomeConsultaAtiva;
}

void frmZalteracao::txtNumLan_Change()
{
    const std::int64_t numero = numeroDoTexto(txtNumLan->text());
    if (numero == 0)
        return;
    const auto l = data::findLancamento(ConexaoBanco, numero);
    if (!l) {
        platform::MsgBox(QStringLiteral("O lançamento ") + QString::number(numero) +
                             QStringLiteral(" não foi encontrado."),
                         platform::vbCritical, app::kAtencao);
        return;
    }

    txtTipo->setCurrentIndex(l->tipo == data::kTipoSaida ? 0 : 1);
    txtCodDesp->setText(l->despesa);
    txtDataLan->setText(platform::fmtDate(l->dataLan));
    txtDataVen->setText(platform::fmtDate(l->dataVen));
    platform::showStoredText(txtReferente, l->referente);
    txtValor->setText(textoValorSemSinal(l->valor));
    const int letra = l->filtro.isEmpty() ? 0 : txtFiltro->findText(l->filtro);
    txtFiltro->setCurrentIndex(letra < 0 ? 0 : letra);

    // The classification must be one of the side's, so that the list holds
    // it; otherwise the user is told and picks one before saving.
    bool ok = false;
    const std::int64_t codigo = l->despesa.trimmed().toLongLong(&ok);
    const auto d = ok ? data::findClassificacao(ConexaoBanco, codigo) : std::nullopt;
    if (!d) {
        escolherClassificacao(QString());
        platform::MsgBox(QStringLiteral("A classificação deste lançamento não existe no plano de contas. "
                                        "Escolha uma classificação."),
                         platform::vbExclamation, app::kAtencao);
        return;
    }
    if (d->tipo != data::despesaTipoOf(l->tipo)) {
        escolherClassificacao(QString());
        platform::MsgBox(QStringLiteral("A Classificação ''") + d->nome + QStringLiteral("'' não é do tipo ''") +
                             txtTipo->currentText() + QStringLiteral("''"),
                         platform::vbExclamation, app::kAtencao);
        return;
    }
    escolherClassificacao(d->nome);
}

void frmZalteracao::cmdGravaLan_Click()
{
    if (!conferirCampos(QStringLiteral("Campo ''Despesa'' em branco"), entries::ConferenciaVencimento::TrintaDias))
        return;
    data::Lancamento l = lancamentoDosCampos();
    l.numLan = IncluirLancamento ? 0 : numeroDoTexto(txtNumLan->text());
    bool existe = true;
    try {
        if (IncluirLancamento)
            data::addLancamentos(ConexaoBanco, {l});
        else
            existe = l.numLan != 0 && data::updateLancamentoWithinLimit(ConexaoBanco, l);
    } catch (const data::DbError& e) {
        if (recusaDoLimite(e))
            return;
        throw;
    }
    if (!existe) {
        platform::MsgBox(QStringLiteral("O lançamento ") + txtNumLan->text().trimmed() +
                             QStringLiteral(" não existe mais e não foi alterado."),
                         platform::vbCritical, app::kAtencao);
        // The window that listed it stops listing it; what was typed stays
        // in the editor.
        AtualizarConsulta(consultaDeOrigem_);
        return;
    }
    IncluirLancamento = false;
    const QString origem = consultaDeOrigem_;
    Unload();
    AtualizarConsulta(origem);
}

void frmZalteracao::cmdParcelas_Click()
{
    if (!conferirCampos(QStringLiteral("Campo ''Classificação'' em branco"),
                        entries::ConferenciaVencimento::AntesDeHoje))
        return;
    if (!gerarParcelas())
        return;
    const QString origem = consultaDeOrigem_;
    Unload();
    // The cash-flow register is refreshed whoever opened the editor; loading
    // it hidden makes it name itself in NomeConsultaAtiva, which is given
    // back so that later saves still refresh the window that opened the
    // editor.
    app::atualizarAposParcelas();
    NomeConsultaAtiva = origem;
    IncluirLancamento = false;
}

void frmZalteracao::AtualizarConsulta(const QString& nomeConsulta)
{
    app::atualizarConsulta(nomeConsulta);
}
