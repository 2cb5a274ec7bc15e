#include "import/CamposAlteracao.h"
#include "app/CaixaValor.h"

#include "app/Textos.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "platform/MaskEdBox.h"
#include "platform/MsgBox.h"
#include "platform/NumberKeys.h"
#include "platform/conversions.h"
#include "platform/formats.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace importacao {
namespace {

const QString kSaida = QStringLiteral("Saída");
const QString kEntrada = QStringLiteral("Entrada");
const QColor kVermelho(255, 0, 0);
const QColor kPreto(0, 0, 0);

void corDoTexto(QLineEdit* caixa, const QColor& cor)
{
    QPalette p = caixa->palette();
    p.setColor(QPalette::Text, cor);
    caixa->setPalette(p);
}

} // namespace

CamposAlteracao::CamposAlteracao(QWidget* janela)
{
    fraAltera = new QGroupBox(QStringLiteral("Alterações"), janela);
    auto rotulo = [this](const char* texto) { return new QLabel(QString::fromUtf8(texto), fraAltera); };

    txtVencimento = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraAltera);
    txtDataLanc = new platform::MaskEdBox(QStringLiteral("##/##/####"), fraAltera);
    lblDataLanc = rotulo("Data Lanc.");
    txtDataLanc->hide();
    lblDataLanc->hide();
    for (auto* caixa : {txtVencimento, txtDataLanc})
        caixa->setMaximumWidth(caixa->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    txtHistorico = new QLineEdit(fraAltera);
    txtValorLan = new QLineEdit(fraAltera);
    txtValorLan->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtValorLan->setMaximumWidth(txtValorLan->fontMetrics().horizontalAdvance(QStringLiteral("000.000.000,000")) + 16);
    platform::keepWhole(txtValorLan, QStringLiteral("-000.000.000,00"));
    txtTipos = new QComboBox(fraAltera);
    txtTipos->addItems({kSaida, kEntrada});
    txtTipos->setCurrentIndex(-1);
    txtDespesas = new QComboBox(fraAltera);
    txtDespesas->setMinimumWidth(txtDespesas->fontMetrics().averageCharWidth() * 30);
    txtCodDesps = new QComboBox(fraAltera);
    txtCodDesps->hide();
    txtConta = new QLabel(fraAltera);
    txtConta->hide();
    txtFiltro = new QComboBox(fraAltera);
    for (char letra = 'A'; letra <= 'Z'; ++letra)
        txtFiltro->addItem(QString(QLatin1Char(letra)));
    cmdAltera = new QPushButton(QStringLiteral("&Alterar"), fraAltera);

    auto* campos = new QGridLayout(fraAltera);
    campos->addWidget(rotulo("Vencimento"), 0, 0);
    campos->addWidget(rotulo("Histórico / Referente"), 0, 1);
    campos->addWidget(rotulo("Valor"), 0, 2);
    campos->addWidget(lblDataLanc, 0, 4);
    campos->addWidget(txtVencimento, 1, 0);
    campos->addWidget(txtHistorico, 1, 1);
    campos->addWidget(txtValorLan, 1, 2);
    campos->addWidget(txtDataLanc, 1, 4);
    campos->addWidget(rotulo("Tipo do Lançamento"), 2, 0);
    campos->addWidget(rotulo("Classificação do Lançamento"), 2, 1);
    campos->addWidget(rotulo("Ordem"), 2, 2);
    campos->addWidget(txtTipos, 3, 0);
    campos->addWidget(txtDespesas, 3, 1);
    campos->addWidget(txtFiltro, 3, 2, Qt::AlignLeft);
    campos->addWidget(cmdAltera, 3, 3);
    campos->addWidget(txtCodDesps, 3, 4);
    campos->addWidget(txtConta, 3, 5);
    campos->setColumnStretch(1, 1);
    fraAltera->setEnabled(false);

    // An amount has two decimals, typed or pasted, as in the entry windows.
    platform::NumberKeyOptions opcoesValor;
    opcoesValor.maxDecimals = 2;
    filtroValor_ = new platform::NumberKeyFilter(txtValorLan, std::move(opcoesValor));

    QObject::connect(txtTipos, &QComboBox::currentIndexChanged, fraAltera, [this] { txtTipos_Click(); });
    QObject::connect(txtDespesas, &QComboBox::currentIndexChanged, fraAltera, [this] { txtDespesas_Click(); });
    QObject::connect(txtCodDesps, &QComboBox::currentIndexChanged, fraAltera, [this] { txtCodDesps_Click(); });
}

CamposAlteracao::~CamposAlteracao() = default;

void CamposAlteracao::txtTipos_Click()
{
    const QString lado = txtTipos->currentText() == kEntrada ? data::kDespesaEntrada : data::kDespesaSaida;
    const std::vector<data::Despesa> lista =
        data::classificacoes(ConexaoBanco, lado, data::OrdemDespesas::PorCodigo);
    const QSignalBlocker b1(txtDespesas);
    const QSignalBlocker b2(txtCodDesps);
    txtDespesas->clear();
    txtCodDesps->clear();
    txtDespesas->addItem(QString());
    txtCodDesps->addItem(QString());
    for (const data::Despesa& d : lista) {
        txtDespesas->addItem(d.nome);
        txtCodDesps->addItem(QString::number(d.codigo));
    }
    txtDespesas->setCurrentIndex(-1);
    txtCodDesps->setCurrentIndex(-1);
    txtConta->clear();
}

void CamposAlteracao::txtDespesas_Click()
{
    const QString nome = txtDespesas->currentText();
    // The empty item finds no classification and leaves no group.
    const auto d = nome.isEmpty() ? std::nullopt : data::findClassificacaoByName(ConexaoBanco, nome);
    txtConta->setText(d ? d->conta : QString());
    if (txtCodDesps->currentIndex() != txtDespesas->currentIndex())
        txtCodDesps->setCurrentIndex(txtDespesas->currentIndex());
}

void CamposAlteracao::txtCodDesps_Click()
{
    if (txtDespesas->currentIndex() != txtCodDesps->currentIndex())
        txtDespesas->setCurrentIndex(txtCodDesps->currentIndex());
}

bool CamposAlteracao::txtValorLan_KeyPress(const QString& tecla) { return filtroValor_->accept(tecla); }

bool CamposAlteracao::carregarLinha(const LinhaExtrato* linha, int row)
{
    if (row < 1 || !linha)
        return false;
    const data::Centavos valor = linha->valor;
    LinhaAlterada = row;
    txtHistorico->setText(linha->historico);
    txtValorLan->setText(data::formatMoney(valor < 0 ? -valor : valor));
    txtVencimento->setText(platform::fmtDate(linha->data));
    txtDataLanc->setText(platform::fmtDate(linha->data));
    if (valor > 0) {
        txtTipos->setCurrentIndex(1);
        corDoTexto(txtValorLan, kPreto);
    } else {
        corDoTexto(txtValorLan, kVermelho);
        txtTipos->setCurrentIndex(0);
    }
    fraAltera->setEnabled(true);
    const int posicao = txtDespesas->findText(linha->classificacao, Qt::MatchFixedString);
    txtDespesas->setCurrentIndex(posicao > 0 ? posicao : 0);
    return true;
}

bool CamposAlteracao::escreverLinha(LinhaExtrato& linha)
{
    if (txtDespesas->currentText().isEmpty()) {
        platform::MsgBox(QStringLiteral("Lançamento não classificado!"), platform::vbExclamation, app::kAtencao);
        txtDespesas->setFocus();
        return false;
    }
    // A date or an amount the posting could not read would only stop the
    // posting later, far from the line at fault.
    if (!platform::IsDate(txtVencimento->Text())) {
        platform::MsgBox(QStringLiteral("Data de vencimento inválida."), platform::vbCritical, app::kAtencao);
        txtVencimento->setFocus();
        return false;
    }
    data::Centavos valor = 0;
    if (!data::parseMoney(txtValorLan->text(), valor) || valor < 0) {
        platform::MsgBox(app::kConteudoInvalido, platform::vbCritical, app::kAtencao);
        txtValorLan->setFocus();
        return false;
    }
    linha.data = platform::parseDate(txtVencimento->Text());
    linha.historico = txtHistorico->text();
    linha.valor = txtTipos->currentText() == kEntrada ? valor : -valor;
    linha.classificacao = txtDespesas->currentText();
    linha.codigo = txtCodDesps->currentText().toLongLong();
    linha.ordem = txtFiltro->currentText();
    linha.conta = txtConta->text();
    limparCampos();
    return true;
}

void CamposAlteracao::limparCampos()
{
    fraAltera->setEnabled(false);
    txtCodDesps->setCurrentIndex(0);
    txtVencimento->setText(QString());
    txtDataLanc->setText(QString());
    txtDespesas->setCurrentIndex(0);
    txtHistorico->clear();
    txtTipos->setCurrentIndex(0);
    txtValorLan->clear();
}

void CamposAlteracao::mostrarClassificacao(const QString& tipoLancamento, const QString& nome)
{
    txtTipos->setCurrentIndex(tipoLancamento == data::kTipoEntrada ? 1 : 0);
    const int posicao = txtDespesas->findText(nome, Qt::MatchFixedString);
    txtDespesas->setCurrentIndex(posicao > 0 ? posicao : 0);
}

} // namespace importacao
