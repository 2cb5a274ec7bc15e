#include "calculator/frmCalculosFin.h"

#include "app/Textos.h"
#include "data/Money.h"

#include "platform/Accessibility.h"
#include "platform/MsgBox.h"
#include "platform/NumberKeys.h"
#include "platform/conversions.h"
#include "platform/financial.h"
#include "platform/formats.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <cmath>

namespace {

struct Calculo {
    const char* opcao;
    const char* rotulos[4];  // lbl1 .. lbl4
    const char* teclas[4];   // lb1 .. lb4
};

const std::array<Calculo, 4> kCalculos = {{
    {"Qual é o valor da PARCELA?",
     {"Digite o valor TOTAL FINANCIADO:", "Digite a quantidade de MESES do financiamento:",
      "Digite a TAXA do financiamento:", "O Valor de cada PARCELA será de R$"},
     {"PV", "N", "I", "PMT"}},
    {"Qual é a TAXA de JUROS?",
     {"Digite o valor TOTAL FINANCIADO:", "Digite a quantidade de MESES do financiamento:",
      "Digite o valor de cada PARCELA:", "O valor da TAXA de Juros é:"},
     {"PV", "N", "PMT", "I"}},
    {"Quanto devo guardar por mês para comprar determinado produto?",
     {"Digite o VALOR do Item a comprar:", "Digite a quantidade de MESES a poupar:",
      "Digite a TAXA de JUROS da Investimento:", "Você terá que POUPAR por mês o VALOR de:"},
     {"PV", "N", "I", "PMT"}},
    {"Quanto devo guardar para me aposentar com uma determinada renda?",
     {"Digite o valor da RENDA de deseja receber por mês:",
      "Digite a quantidade de MESES que FALTAM para se aposentar:", "Digite a TAXA juros do investimento:",
      "Você terá que POUPAR por mês o VALOR de:"},
     {"PMT", "N", "I", "PMT"}},
}};

// A number without thousands points, with the decimal comma only when it
// has a fraction: 360, 30, 1,2.
QString numeroSimples(double valor)
{
    QString texto = QString::number(valor, 'f', 10);
    while (texto.endsWith(QLatin1Char('0')))
        texto.chop(1);
    if (texto.endsWith(QLatin1Char('.')))
        texto.chop(1);
    return texto.replace(QLatin1Char('.'), QLatin1Char(','));
}

// A box's number as typed, "1.234,56" read as 1234.56 exactly to the wide
// real's digits (a double would already round the amount's last digits).
bool lerNumero(const QLineEdit* caixa, platform::WideReal& valor)
{
    return platform::parseDecimalComma(caixa->text(), valor);
}

// An amount in reais to the centavo, as "#,##0.00".
bool formatarValor(platform::WideReal reais, QString& texto)
{
    long long centavos = 0;
    if (!platform::roundToCents(reais, centavos))
        return false;
    texto = data::formatMoney(centavos);
    return true;
}

// The amounts are computed with 33 digits and their results shown to the
// centavo: up to 15 digits typed (not counting the zeros before the first
// digit or after the last decimal one), every result keeps its centavos.
constexpr int kAlgarismosDoValor = 15;

int algarismos(const QString& texto)
{
    QString inteiro = texto.section(QLatin1Char(','), 0, 0);
    QString fracao = texto.section(QLatin1Char(','), 1);
    inteiro.remove(QRegularExpression(QStringLiteral("\\D")));
    fracao.remove(QRegularExpression(QStringLiteral("\\D")));
    QString digitos = inteiro + fracao;
    while (digitos.endsWith(QLatin1Char('0')) && fracao.endsWith(QLatin1Char('0'))) {
        digitos.chop(1);
        fracao.chop(1);
    }
    while (digitos.startsWith(QLatin1Char('0')))
        digitos.remove(0, 1);
    return int(digitos.size());
}

} // namespace

frmCalculosFin::frmCalculosFin(QWidget* parent) : Form(parent)
{
    setWindowTitle(QStringLiteral("Cálculos Financeiros"));
    setEnterAsTab(true);

    Frame1 = new QGroupBox(QStringLiteral("Escolha o cálculo que deseja fazer:"), this);
    auto* opcoes = new QVBoxLayout(Frame1);
    for (int i = 0; i < 4; ++i) {
        optCalculo[size_t(i)] = new QRadioButton(QString::fromUtf8(kCalculos[size_t(i)].opcao), Frame1);
        opcoes->addWidget(optCalculo[size_t(i)]);
    }
    optCalculo[0]->setChecked(true);

    lbl1 = new QLabel(this);
    lbl2 = new QLabel(this);
    lbl3 = new QLabel(this);
    lbl4 = new QLabel(this);
    txt1 = new QLineEdit(this);
    txt2 = new QLineEdit(this);
    txt3 = new QLineEdit(this);
    txt4 = new QLabel(this);
    txt4->setFrameShape(QFrame::Panel);
    txt4->setFrameShadow(QFrame::Sunken);
    txt4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // An instalment of a 15-digit loan at a high rate runs to 18 digits.
    platform::showsResult(*txt4, QStringLiteral("999.999.999.999.999.999,99"));
    lb1 = new QLabel(this);
    lb2 = new QLabel(this);
    lb3 = new QLabel(this);
    lb4 = new QLabel(this);
    QFont negrito = font();
    negrito.setBold(true);
    const int larguraCaixa = txt1->fontMetrics().horizontalAdvance(QStringLiteral("000.000.000.000,00")) + 16;
    for (QLineEdit* caixa : {txt1, txt2, txt3}) {
        caixa->setAlignment(Qt::AlignRight);
        caixa->setFixedWidth(larguraCaixa);
    }
    for (QLabel* tecla : {lb1, lb2, lb3, lb4}) {
        tecla->setFont(negrito);
        tecla->setMinimumWidth(tecla->fontMetrics().horizontalAdvance(QStringLiteral("PMT")) + 6);
    }
    lblObs = new QLabel(QStringLiteral("Obs: Para transformar meses em anos no campo MESES, digite primeiro a quantidade "
                                       "de anos seguida de asterisco e tecle 'Enter' Ex: 30* resultará em 360, ou seja, "
                                       "30 anos corresponde a 360 meses."),
                        this);
    lblObs->setWordWrap(true);
    lblObs->hide();
    // The hint appears and goes without moving the boxes around.
    QSizePolicy politica = lblObs->sizePolicy();
    politica.setRetainSizeWhenHidden(true);
    lblObs->setSizePolicy(politica);
    cmdCalcular = new QPushButton(QStringLiteral("&Calcular"), this);
    cmdLimpar = new QPushButton(QStringLiteral("&Limpar"), this);

    auto* campos = new QGridLayout;
    const std::array<QLabel*, 4> rotulos = {lbl1, lbl2, lbl3, lbl4};
    const std::array<QWidget*, 4> caixas = {txt1, txt2, txt3, txt4};
    const std::array<QLabel*, 4> teclas = {lb1, lb2, lb3, lb4};
    for (int i = 0; i < 4; ++i) {
        campos->addWidget(rotulos[size_t(i)], i, 0);
        campos->addWidget(caixas[size_t(i)], i, 1);
        campos->addWidget(teclas[size_t(i)], i, 2);
    }
    campos->setColumnStretch(0, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    botoes->addWidget(cmdCalcular);
    botoes->addWidget(cmdLimpar);
    auto* janela = new QVBoxLayout(this);
    janela->addWidget(Frame1);
    janela->addLayout(campos);
    janela->addWidget(lblObs);
    janela->addLayout(botoes);
    // Room for the longest prompt beside the boxes.
    const int largura = fontMetrics().horizontalAdvance(QString::fromUtf8(kCalculos[3].rotulos[1])) +
                        larguraCaixa + lb1->minimumWidth() + 60;
    resize(std::max(largura, 640), sizeHint().height());

    setTabOrder(txt1, txt2);
    setTabOrder(txt2, txt3);
    setTabOrder(txt3, cmdCalcular);
    // The result comes right after the button that computes it.
    setTabOrder(cmdCalcular, txt4);
    setTabOrder(txt4, optCalculo[0]);
    for (int i = 0; i < 3; ++i)
        setTabOrder(optCalculo[size_t(i)], optCalculo[size_t(i + 1)]);
    setTabOrder(optCalculo[3], cmdLimpar);

    new platform::NumberKeyFilter(txt1);
    new platform::NumberKeyFilter(txt2, QStringLiteral("*"));
    new platform::NumberKeyFilter(txt3);
    txt2->installEventFilter(this);

    for (int i = 0; i < 4; ++i)
        connect(optCalculo[size_t(i)], &QRadioButton::clicked, this, [this, i] { optCalculo_Click(i); });
    connect(cmdCalcular, &QPushButton::clicked, this, [this] { cmdCalcular_Click(); });
    connect(cmdLimpar, &QPushButton::clicked, this, [this] { cmdLimpar_Click(); });

    const Calculo& inicial = kCalculos[0];
    for (int i = 0; i < 4; ++i) {
        rotulos[size_t(i)]->setText(QString::fromUtf8(inicial.rotulos[i]));
        teclas[size_t(i)]->setText(QString::fromUtf8(inicial.teclas[i]));
    }
}

void frmCalculosFin::cmdCalcular_Click()
{
    int escolha = -1;
    for (int i = 0; i < 4 && escolha < 0; ++i)
        if (optCalculo[size_t(i)]->isChecked())
            escolha = i;
    if (escolha < 0)
        return;

    platform::WideReal a = 0, n = 0, b = 0;
    if (!lerNumero(txt1, a) || !lerNumero(txt2, n) || !lerNumero(txt3, b)) {
        erroDeCalculo();
        return;
    }
    // The first box is an amount in every choice, the third one in choice 1
    // (the instalment). The calculator posts nothing, so the ledger's range
    // does not bind them; only the digits it computes with do.
    for (QLineEdit* valor : {txt1, escolha == 1 ? txt3 : nullptr}) {
        if (valor && algarismos(valor->text()) > kAlgarismosDoValor) {
            platform::MsgBox(QStringLiteral("Valor grande demais para o cálculo.") + QChar(13) +
                                 QStringLiteral("Digite até 15 algarismos."),
                             platform::vbCritical, app::kAtencao);
            valor->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    const platform::WideReal i = b / 100;
    QString resultado;
    try {
        bool cabe = true;
        switch (escolha) {
        case 0:
            cabe = formatarValor(platform::Pmt(i, n, -a), resultado);
            break;
        case 1:
            // Here the third box is the instalment, not a rate; a rate is
            // shown to a hundredth of a percent, which a double holds.
            resultado = platform::formatNumber(platform::Rate(double(n), double(-b), double(a)),
                                               QStringLiteral("0.00%"));
            break;
        case 2:
            cabe = formatarValor(platform::Pmt(i, n, platform::WideReal(0), -a), resultado);
            break;
        default: {
            // The capital that pays the income for N months, then the
            // monthly saving that builds it in the same N months.
            const platform::WideReal capital = platform::PV(i, n, -a);
            cabe = formatarValor(platform::Pmt(i, n, platform::WideReal(0), -capital), resultado);
            break;
        }
        }
        if (!cabe)
            throw platform::FinancialError("resultado fora do alcance");
    } catch (const platform::FinancialError&) {
        erroDeCalculo();
        return;
    }
    txt4->setText(resultado);
}

void frmCalculosFin::cmdLimpar_Click()
{
    txt1->clear();
    txt2->clear();
    txt3->clear();
    txt4->clear();
}

void frmCalculosFin::optCalculo_Click(int index)
{
    if (index < 0 || index > 3)
        return;
    const Calculo& c = kCalculos[size_t(index)];
    const std::array<QLabel*, 4> rotulos = {lbl1, lbl2, lbl3, lbl4};
    const std::array<QLabel*, 4> teclas = {lb1, lb2, lb3, lb4};
    for (int i = 0; i < 4; ++i) {
        rotulos[size_t(i)]->setText(QString::fromUtf8(c.rotulos[i]));
        teclas[size_t(i)]->setText(QString::fromUtf8(c.teclas[i]));
    }
    // The boxes are spoken by their new captions.
    platform::nameControls(*this);
    txt1->setFocus(Qt::OtherFocusReason);
    cmdLimpar_Click();
}

void frmCalculosFin::txt2_KeyDown(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    QString texto = txt2->text();
    if (!texto.contains(QLatin1Char('*')))
        return;
    texto.remove(QLatin1Char('*'));
    double anos = 0;
    // Nothing left to convert ("*" alone): the box stays as it is, and the
    // calculation reports it.
    if (!platform::parseDecimalComma(texto, anos))
        return;
    txt2->setText(numeroSimples(anos * 12.0));
}

void frmCalculosFin::txt2_GotFocus()
{
    if (optCalculo[3]->isChecked())
        lblObs->show();
}

void frmCalculosFin::txt2_LostFocus() { lblObs->hide(); }

void frmCalculosFin::erroDeCalculo()
{
    platform::MsgBox(QStringLiteral("Valor digitado incorretamente.") + QChar(13) +
                         QStringLiteral("Corrija e tente novamente."),
                     platform::vbCritical, app::kAtencao);
    txt1->setFocus(Qt::OtherFocusReason);
}

bool frmCalculosFin::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txt2) {
        switch (event->type()) {
        case QEvent::KeyPress:
            // The conversion runs, then the Enter reaches the window, which
            // moves the focus on.
            txt2_KeyDown(static_cast<QKeyEvent*>(event)->key());
            break;
        case QEvent::FocusIn:
            txt2_GotFocus();
            break;
        case QEvent::FocusOut:
            txt2_LostFocus();
            break;
        default:
            break;
        }
    }
    return Form::eventFilter(watched, event);
}
