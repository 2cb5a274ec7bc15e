#include "queries/PartesDaConsulta.h"

#include "app/Textos.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "platform/Accessibility.h"
#include "platform/Clock.h"
#include "platform/Form.h"
#include "platform/MaskEdBox.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

namespace queries {

namespace {

const QString kDataVazia = QStringLiteral("__/__/____");

// Hands a left click on a label to an action; the label still sees it.
class CliqueDoRotulo : public QObject {
public:
    CliqueDoRotulo(QLabel* rotulo, std::function<void()> acao) : QObject(rotulo), acao_(std::move(acao))
    {
        rotulo->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            acao_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> acao_;
};

// Hands some keys of a control to an action instead of the control.
class TeclasDoControle : public QObject {
public:
    TeclasDoControle(QWidget* controle, std::initializer_list<int> teclas, std::function<void(int)> acao)
        : QObject(controle), teclas_(teclas), acao_(std::move(acao))
    {
        controle->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (std::find(teclas_.begin(), teclas_.end(), key) != teclas_.end()) {
                acao_(key);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::vector<int> teclas_;
    std::function<void(int)> acao_;
};

} // namespace

int larguraData(const QWidget* caixa)
{
    return caixa->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16;
}

void prepararCaixaData(platform::MaskEdBox* caixa)
{
    caixa->setSelectAllOnFocus(true);
    caixa->setMaximumWidth(std::max(larguraData(caixa), caixa->minimumSizeHint().width()));
}

void prepararCaixaValor(QLineEdit* caixa)
{
    caixa->setAlignment(Qt::AlignRight);
    caixa->setMaximumWidth(larguraData(caixa) + 20);
    platform::keepWhole(caixa, kMaiorValorDigitado);
}

void aoClicar(QLabel* rotulo, std::function<void()> acao)
{
    rotulo->setCursor(Qt::PointingHandCursor);
    new CliqueDoRotulo(rotulo, std::move(acao));
}

void aoTeclar(QWidget* controle, std::initializer_list<int> teclas, std::function<void(int)> acao)
{
    new TeclasDoControle(controle, teclas, std::move(acao));
}

void primeiroDiaDoAno(platform::MaskEdBox& caixa)
{
    caixa.setText(QStringLiteral("01/01/") + QString::number(platform::Today().year()));
}

void ultimoDiaDoAno(platform::MaskEdBox& caixa)
{
    caixa.setText(QStringLiteral("31/12/") + QString::number(platform::Today().year()));
}

bool conferirData(platform::MaskEdBox& caixa, bool vaziaAceita, const QString& mensagem)
{
    const QString texto = caixa.Text();
    if ((vaziaAceita && texto == kDataVazia) || platform::IsDate(texto))
        return true;
    platform::MsgBox(mensagem, platform::vbCritical, app::kAtencao);
    caixa.setFocus();
    return false;
}

bool conferirPeriodoOpcional(platform::MaskEdBox& inicio, platform::MaskEdBox& fim)
{
    return conferirData(inicio, true, QStringLiteral("Data inicial inválida.")) &&
           conferirData(fim, true, QStringLiteral("Data final inválida."));
}

void prepararRotuloValor(QLabel* rotulo)
{
    platform::showsResult(*rotulo);
    rotulo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

QGroupBox* quadroLancamentos(QWidget* janela, platform::FlexGrid*& flxConsulta, QLabel*& txtLanc, QLabel*& txtSaldo2,
                             QPushButton** cmdApagar, bool rotuloTotal)
{
    auto* quadro = new QGroupBox(QStringLiteral("Lançamentos"), janela);
    flxConsulta = new platform::FlexGrid(quadro);
    txtLanc = new QLabel(quadro);
    prepararContagem(txtLanc);
    txtSaldo2 = new QLabel(quadro);
    prepararRotuloValor(txtSaldo2);
    // Without its caption the total is still named as one.
    if (!rotuloTotal)
        txtSaldo2->setAccessibleName(QStringLiteral("Total R$"));
    auto* rodape = new QHBoxLayout;
    rodape->addWidget(txtLanc);
    rodape->addStretch(1);
    if (cmdApagar) {
        *cmdApagar = new QPushButton(QStringLiteral("&Apagar Todos"), quadro);
        if (auto* form = qobject_cast<platform::Form*>(janela))
            form->guardFromEnter(*cmdApagar);
        rodape->addWidget(*cmdApagar);
        rodape->addSpacing(12);
    }
    if (rotuloTotal)
        rodape->addWidget(new QLabel(QStringLiteral("Total R$"), quadro));
    rodape->addWidget(txtSaldo2);
    // Enter held on the grid stops at "Apagar Todos" before the count and
    // the total are reached.
    if (cmdApagar) {
        QWidget::setTabOrder(*cmdApagar, txtLanc);
        QWidget::setTabOrder(txtLanc, txtSaldo2);
    }
    auto* lancamentos = new QVBoxLayout(quadro);
    lancamentos->addWidget(flxConsulta, 1);
    lancamentos->addLayout(rodape);
    return quadro;
}

void prepararContagem(QLabel* rotulo)
{
    platform::showsResult(*rotulo, QStringLiteral("999999999 Lançamento(s)"));
    rotulo->setAccessibleName(QStringLiteral("Lançamentos listados"));
}

QWidget* caixaHistorico(QLineEdit*& caixa, QWidget* quadro)
{
    auto* suporte = new QWidget(quadro);
    auto* l = new QHBoxLayout(suporte);
    l->setContentsMargins(0, 0, 0, 0);
    caixa = new QLineEdit(suporte);
    caixa->setAccessibleName(QStringLiteral("Histórico"));
    l->addWidget(caixa);
    return suporte;
}

QToolButton* botaoFechar(QWidget* janela)
{
    auto* botao = new QToolButton(janela);
    botao->setIcon(janela->style()->standardIcon(QStyle::SP_DialogCloseButton));
    botao->setToolTip(QStringLiteral("Fechar"));
    botao->setAutoRaise(true);
    botao->setFocusPolicy(Qt::NoFocus);
    return botao;
}

QVBoxLayout* disporJanela(QWidget* janela, QWidget* fraConsulta, QToolButton* cmdFecha)
{
    auto* topo = new QHBoxLayout;
    topo->addWidget(fraConsulta, 1);
    topo->addWidget(cmdFecha, 0, Qt::AlignTop);
    auto* vertical = new QVBoxLayout(janela);
    vertical->addLayout(topo);
    return vertical;
}

void criarOpcoesHistorico(std::array<QRadioButton*, 3>& opcoes, QWidget* pai)
{
    opcoes[0] = new QRadioButton(QStringLiteral("Comece com:"), pai);
    opcoes[1] = new QRadioButton(QStringLiteral("Contenha:"), pai);
    opcoes[2] = new QRadioButton(QStringLiteral("Exatamente:"), pai);
    opcoes[1]->setChecked(true);
}

ModoHistorico modoEscolhido(const std::array<QRadioButton*, 3>& opcoes)
{
    if (opcoes[0]->isChecked())
        return ModoHistorico::ComeceCom;
    if (opcoes[2]->isChecked())
        return ModoHistorico::Exatamente;
    return ModoHistorico::Contenha;
}

void preencherLetras(QComboBox* lista)
{
    lista->addItem(QString());
    for (char letra = 'A'; letra <= 'Z'; ++letra)
        lista->addItem(QString(QLatin1Char(letra)));
}

QHash<std::int64_t, QString> carregarClassificacoes(QComboBox* nomes, QComboBox* codigos)
{
    nomes->clear();
    codigos->clear();
    QHash<std::int64_t, QString> porCodigo;
    for (const data::Despesa& d : data::classificacoes(ConexaoBanco, QString(), data::OrdemDespesas::PorCodigo)) {
        nomes->addItem(d.nome);
        codigos->addItem(QString::number(d.codigo));
        porCodigo.insert(d.codigo, d.nome);
    }
    return porCodigo;
}

QHash<std::int64_t, QString> nomesDasListas(const QComboBox* codigos, const QComboBox* nomes)
{
    QHash<std::int64_t, QString> porCodigo;
    for (int i = 0; i < codigos->count() && i < nomes->count(); ++i)
        porCodigo.insert(codigos->itemText(i).toLongLong(), nomes->itemText(i));
    return porCodigo;
}

void acompanharCodigo(const QComboBox& codigos, QComboBox& nomes)
{
    if (codigos.currentIndex() < nomes.count())
        nomes.setCurrentIndex(codigos.currentIndex());
}

} // namespace queries
