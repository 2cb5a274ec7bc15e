#include "entries/CamposLancamento.h"

#include "app/CaixaValor.h"
#include "app/Textos.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "entries/Parcelas.h"
#include "platform/Clock.h"
#include "platform/FlexGrid.h"
#include "platform/Form.h"
#include "platform/MaskEdBox.h"
#include "platform/MsgBox.h"
#include "platform/TypingLimit.h"
#include "platform/conversions.h"
#include "platform/formats.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>

namespace entries {

namespace {

const QString kCabecalhoGrade = QStringLiteral("Classificação                              |Número ");

// The leaving of a field that counts as the user moving on: not the
// window losing the activation (another program, a message box) and not a
// list's own popup.
bool saidaDoCampo(const QFocusEvent* e)
{
    return e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason;
}

struct Ajuda {
    QString campo;
    QString explicacao;
    QString dica;
};

const Ajuda& ajudaDe(const QString& nome)
{
    static const QHash<QString, Ajuda> textos = {
        {QStringLiteral("txtTipo"),
         {QStringLiteral("Tipo do Lançamento:"),
          QStringLiteral("Escolha uma das opções: ''Entrada'' ou  ''Saída'' para lançar débito ou crédito de valores."),
          QString()}},
        {QStringLiteral("txtDespesa"),
         {QStringLiteral("Classificação de Lançamentos:"),
          QStringLiteral("Classifica o lançamento de acordo com sua origem, baseado no plano de contas estabelecido."),
          QStringLiteral("Pode ser digitado o número da classificação ao invés de usar a caixa de rolagem, digite o "
                         "número correspondente e tecle ''enter''. Se preferir dê um duplo clique na classificação "
                         "na lista ao lado.")}},
        {QStringLiteral("txtFiltro"),
         {QStringLiteral("Ordem:"),
          QStringLiteral("As letras do campo ordem servem como um outro tipo filtro para gerar grupos de lançamentos, "
                         "usado opcionalmente na consulta por histórico."),
          QStringLiteral("Um exemplo para o uso do campo Ordem é o agrupamento de tipos de lançamentos que possuam a "
                         "mesma forma de pagamento, por exemplo, use a letra ''C'' para lançamentos onde a forma de "
                         "pagamento usada tenha sido o cartão de crédito. Assim quando for consultar lançamentos por "
                         "histórico coloque a letra ''C'' para encontrar todos os lançamentos pagos com cartão de "
                         "crédito.")}},
        {QStringLiteral("txtDataLan"),
         {QStringLiteral("Data de Lançamento:"),
          QStringLiteral("Refere-se à data que originou o lançamento como, por exemplo, a data da compra de um produto."),
          QStringLiteral("Use a tecla de função F2 para colocar automaticamente a data do dia.")}},
        {QStringLiteral("txtDataVen"),
         {QStringLiteral("Vencimento:"),
          QStringLiteral("Refere-se à data que ocorrerá o débito ou o crédito na conta."),
          QStringLiteral("Use a tecla de função F2 para colocar automaticamente a data do dia.")}},
        {QStringLiteral("txtReferente"),
         {QStringLiteral("Referente / Histórico:"),
          QStringLiteral("Este campo cria uma referência do lançamento, permitindo assim, que ele possa ser localizado "
                         "mais facilmente nas opções de consulta."),
          QStringLiteral("É importante que este campo seja preenchido com informações claras e diretas quando à origem "
                         "do lançamento.") +
              QLatin1Char('\r') +
              QStringLiteral("Quando o valor se tratar de uma ''previsão'',  ou seja, indicando que o lançamento pode ou "
                             "não acontecer na data de vencimento, comece este com a palavra ''Previsão'', o que fará "
                             "com que este lançamento se torne azul, diferenciando-o dos demais. Logo que este "
                             "lançamento se tornar efetivo (acontecer) apague a palavra Previsão e altere os campos "
                             "(valor, datas, etc.) se necessário.") +
              QLatin1Char('\r') +
              QStringLiteral("Para compras de produtos/serviços tente utilizar o padrão de colocar primeiro o nome do "
                             "estabelecimento e em seguida ao que se refere esta compra.")}},
        {QStringLiteral("txtValor"),
         {QStringLiteral("Valor:"),
          QStringLiteral("Refere-se ao valor do lançamento ou ao valor total das parcelas que serão geradas."),
          QStringLiteral(
              "Quando for fazer lançamento em parcelas coloque neste campo o valor total das parcelas e no campo "
              "vencimento coloque a primeira data de vencimento, lembrando que o sistema gerará parcelas com contagem "
              "de 30 em 30 dias a partir do primeiro vencimento. Por exemplo, se você for fazer os lançamentos de "
              "previsão de todas as contas de água do ano, comece o lançamento assim: ''Previsão de conta de água "
              "mensal'', depois no campo ''Valor'' coloque o total da soma dessas contas. Imagine que você paga, em "
              "média, um valor de R$ 45,00 por mês de conta de água e que você irá lançar os 12 meses de previsão, "
              "então coloque no campo ''Valor'' o total de R$ 540,00 e clique no botão ''Gerar Parcelas''. Para fazer "
              "a multiplicação use a tecla asterisco '' * '' que funcionará como o operador dessa multiplicação e "
              "bastará pressionar no final da conta a tecla de igual '' = ''. Exemplo: 12*45=    o resultado "
              "aparecerá automaticamente: 540.")}},
    };
    static const Ajuda nenhuma;
    auto it = textos.constFind(nome);
    return it == textos.constEnd() ? nenhuma : *it;
}

} // namespace

// Sees the fields' keys and focus changes before the fields do.
class CamposFiltro : public QObject {
public:
    CamposFiltro(CamposLancamento& campos, QObject* parent) : QObject(parent), c_(campos) {}

    bool eventFilter(QObject* obj, QEvent* ev) override
    {
        switch (ev->type()) {
        case QEvent::KeyPress:
            return tecla(obj, static_cast<QKeyEvent*>(ev));
        case QEvent::FocusIn:
            entrada(obj);
            return false;
        case QEvent::FocusOut:
            if (saidaDoCampo(static_cast<QFocusEvent*>(ev))) {
                if (obj == c_.txtDespesa && c_.opcoes_.auxilios)
                    c_.txtDespesa_LostFocus();
                else if (obj == c_.txtDataVen)
                    saidaDoVencimento(static_cast<QFocusEvent*>(ev));
            }
            return false;
        default:
            return false;
        }
    }

private:
    bool tecla(QObject* obj, QKeyEvent* e)
    {
        if (obj == c_.txtDataLan || obj == c_.txtDataVen) {
            if (e->key() == Qt::Key_F2) {
                c_.teclaF2(static_cast<platform::MaskEdBox*>(obj));
                return true;
            }
            return false;
        }
        if (obj == c_.txtDespesa && c_.opcoes_.auxilios) {
            c_.teclaCodigo(e->key(), e->text());
            // Digits make up the code; they must not jump the list to a name
            // and so throw the collected digits away.
            return e->text().size() == 1 && e->text()[0].isDigit();
        }
        if (obj == c_.txtConsulta && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
            if (c_.flxDespesas->Rows() == 2)
                c_.tomarDaGrade(1);
            return false;  // the window then passes the Enter on as Tab
        }
        return false;
    }

    // Left by a click, the warning waits until the click is done: a message
    // box opened in the middle of a mouse press would swallow the release
    // and leave the clicked button held down.
    void saidaDoVencimento(const QFocusEvent* e)
    {
        if (e->reason() == Qt::MouseFocusReason)
            QTimer::singleShot(0, c_.txtDataVen, [campos = &c_] { campos->txtDataVen_LostFocus(); });
        else
            c_.txtDataVen_LostFocus();
    }

    void entrada(QObject* obj)
    {
        if (obj == c_.txtReferente || obj == c_.txtValor) {
            auto* box = static_cast<QLineEdit*>(obj);
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
        }
        if (c_.opcoes_.auxilios)
            c_.mostrarAjuda(static_cast<QWidget*>(obj));
    }

    CamposLancamento& c_;
};

CamposLancamento::CamposLancamento(platform::Form* janela, const OpcoesCampos& opcoes)
    : janela_(janela), opcoes_(opcoes)
{
    criarControles();
    ligarComportamento();
}

CamposLancamento::~CamposLancamento()
{
    // The window's controls outlive this part of it by a moment: their
    // last events (the focus leaving a box being destroyed) must not reach
    // handlers whose fields are gone.
    delete filtro_;
    for (QObject* controle : janela_->findChildren<QObject*>())
        QObject::disconnect(controle, nullptr, janela_, nullptr);
}

void CamposLancamento::criarControles()
{
    txtTipo = new QComboBox(janela_);
    txtTipo->setObjectName(QStringLiteral("txtTipo"));
    txtTipo->addItems({QStringLiteral("Saída"), QStringLiteral("Entrada")});
    txtTipo->setCurrentIndex(-1);

    txtDespesa = new QComboBox(janela_);
    txtDespesa->setObjectName(QStringLiteral("txtDespesa"));
    txtDespesa->setMaxVisibleItems(20);

    txtCodDesp = new QLabel(janela_);
    txtCodDesp->setObjectName(QStringLiteral("txtCodDesp"));
    txtCodDesp->hide();
    txtConta = new QLabel(janela_);
    txtConta->setObjectName(QStringLiteral("txtConta"));
    txtConta->hide();

    txtFiltro = new QComboBox(janela_);
    txtFiltro->setObjectName(QStringLiteral("txtFiltro"));
    if (opcoes_.ordemComBranco)
        txtFiltro->addItem(QString());
    for (char16_t letra = u'A'; letra <= u'Z'; ++letra)
        txtFiltro->addItem(QString(QChar(letra)));
    txtFiltro->setCurrentIndex(-1);

    txtDataLan = new platform::MaskEdBox(QStringLiteral("##/##/####"), janela_);
    txtDataLan->setObjectName(QStringLiteral("txtDataLan"));
    txtDataLan->setSelectAllOnFocus(true);
    txtDataVen = new platform::MaskEdBox(QStringLiteral("##/##/####"), janela_);
    txtDataVen->setObjectName(QStringLiteral("txtDataVen"));
    txtDataVen->setSelectAllOnFocus(true);

    txtReferente = new QLineEdit(janela_);
    txtReferente->setObjectName(QStringLiteral("txtReferente"));
    platform::limitTyping(txtReferente, 70);

    txtValor = new QLineEdit(janela_);
    txtValor->setObjectName(QStringLiteral("txtValor"));
    txtValor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    app::instalarCaixaValor(txtValor);

    if (!opcoes_.auxilios)
        return;

    txtNumConta = new QLabel(janela_);
    txtNumConta->setObjectName(QStringLiteral("txtNumConta"));
    txtNumConta->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    txtConsulta = new QLineEdit(janela_);
    txtConsulta->setObjectName(QStringLiteral("txtConsulta"));

    flxDespesas = new platform::FlexGrid(janela_);
    flxDespesas->setObjectName(QStringLiteral("flxDespesas"));
    flxDespesas->FormatString(kCabecalhoGrade, {QString(), platform::kWidestCode});
    flxDespesas->setGivingWayCol(0);
    flxDespesas->setRows(1);

    lblEnter = new QLabel(QStringLiteral("{ENTER}"), janela_);
    lblEnter->setObjectName(QStringLiteral("lblEnter"));
    lblEnter->hide();

    txtDescricao = new QLabel(janela_);
    txtDescricao->setObjectName(QStringLiteral("txtDescricao"));
    txtDescricao2 = new QLabel(janela_);
    txtDescricao2->setObjectName(QStringLiteral("txtDescricao2"));
    txtDescricao2->setWordWrap(true);
    txtDica = new QLabel(janela_);
    txtDica->setObjectName(QStringLiteral("txtDica"));
    txtDica->setWordWrap(true);
}

void CamposLancamento::ligarComportamento()
{
    filtro_ = new CamposFiltro(*this, janela_);
    for (QWidget* w : {static_cast<QWidget*>(txtTipo), static_cast<QWidget*>(txtDespesa),
                       static_cast<QWidget*>(txtFiltro), static_cast<QWidget*>(txtDataLan),
                       static_cast<QWidget*>(txtDataVen), static_cast<QWidget*>(txtReferente),
                       static_cast<QWidget*>(txtValor)})
        w->installEventFilter(filtro_);

    QObject::connect(txtTipo, &QComboBox::currentIndexChanged, janela_, [this](int i) {
        if (i >= 0)
            txtTipo_Click();
    });
    QObject::connect(txtDespesa, &QComboBox::currentIndexChanged, janela_, [this](int i) {
        if (i >= 0)
            txtDespesa_Click();
    });

    if (!opcoes_.auxilios)
        return;
    txtConsulta->installEventFilter(filtro_);
    QObject::connect(txtConsulta, &QLineEdit::textChanged, janela_, [this] { txtConsulta_Change(); });
    QObject::connect(flxDespesas, &platform::FlexGrid::cellDoubleClicked, janela_,
                     [this](int, int) { flxDespesas_DblClick(); });
}

// Side box ------------------------------------------------------------

void CamposLancamento::txtTipo_Click()
{
    preencherClassificacoes();
    if (opcoes_.auxilios) {
        MostraDespesas();
        lblEnter->setVisible(flxDespesas->Rows() == 2);
    }
}

void CamposLancamento::preencherClassificacoes()
{
    QStringList nomes;
    for (const auto& d : data::classificacoes(ConexaoBanco, data::despesaTipoOf(tipoLancamento()),
                                              opcoes_.listaOrdenada ? data::OrdemDespesas::PorNome
                                                                    : data::OrdemDespesas::PorCodigo))
        nomes << d.nome;
    const QSignalBlocker bloqueio(txtDespesa);
    txtDespesa->clear();
    txtDespesa->addItem(QString());
    txtDespesa->addItems(nomes);
    txtDespesa->setCurrentIndex(-1);
}

// Classification box ---------------------------------------------------

void CamposLancamento::txtDespesa_Click()
{
    const QString nome = txtDespesa->currentText();
    limparCodigoDigitado();
    if (nome.trimmed().isEmpty()) {
        txtCodDesp->clear();
        txtConta->clear();
        return;
    }
    if (const auto d = data::findClassificacaoByName(ConexaoBanco, nome)) {
        txtCodDesp->setText(QString::number(d->codigo));
        txtConta->setText(d->conta);
    }
}

void CamposLancamento::escolherClassificacao(const QString& nome)
{
    const int i = nome.isEmpty() ? 0 : txtDespesa->findText(nome, Qt::MatchExactly | Qt::MatchCaseSensitive);
    {
        const QSignalBlocker bloqueio(txtDespesa);
        txtDespesa->setCurrentIndex(i < 0 ? 0 : i);
    }
    txtDespesa_Click();
}

// Typed classification code --------------------------------------------

void CamposLancamento::teclaCodigo(int key, const QString& texto)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        codigoDigitado_ += QLatin1Char('\r');
    else if (key == Qt::Key_Backspace)
        codigoDigitado_ += QLatin1Char('\b');
    else if (texto.size() == 1 && texto[0] >= QLatin1Char('0') && texto[0] <= QLatin1Char('9'))
        codigoDigitado_ += texto;
    else
        return;
    // The label shows the code that leaving the box will look up: the
    // leading digits. A Backspace or Enter ends them and has no glyph.
    qsizetype n = 0;
    while (n < codigoDigitado_.size() && codigoDigitado_[n].isDigit())
        ++n;
    txtNumConta->setText(codigoDigitado_.left(n));
}

void CamposLancamento::limparCodigoDigitado()
{
    codigoDigitado_.clear();
    if (txtNumConta)
        txtNumConta->clear();
}

void CamposLancamento::txtDespesa_LostFocus()
{
    const QString digitado = codigoDigitado_;
    limparCodigoDigitado();
    const double numero = platform::Val(digitado);
    if (!(numero > 1) || numero > 1e15)
        return;
    const auto d = data::findClassificacao(ConexaoBanco, std::int64_t(numero));
    if (!d)
        return;
    const bool entrada = txtTipo->currentIndex() == 1;
    if (!entrada && d->tipo != data::kDespesaSaida) {
        platform::MsgBox(QStringLiteral("A Classificação ''") + d->nome + QStringLiteral("'' não do tipo saída!"),
                         platform::vbCritical, app::kAtencao);
        txtDespesa->setFocus();
        return;
    }
    if (entrada && d->tipo != data::kDespesaEntrada) {
        platform::MsgBox(QStringLiteral("A Classificação ''") + d->nome + QStringLiteral("'' não do tipo entrada!"),
                         platform::vbCritical, app::kAtencao);
        txtDespesa->setFocus();
        return;
    }
    escolherClassificacao(d->nome);
}

// Picker grid ------------------------------------------------------------

void CamposLancamento::MostraDespesas()
{
    const auto linhas = data::classificacoesContendo(ConexaoBanco, data::despesaTipoOf(tipoLancamento()),
                                                     txtConsulta->text(), data::OrdemDespesas::PorCodigo);
    flxDespesas->Clear();
    flxDespesas->FormatString(kCabecalhoGrade, {QString(), platform::kWidestCode});
    flxDespesas->setGivingWayCol(0);
    flxDespesas->setRows(int(linhas.size()) + 1);
    for (int i = 1; i <= int(linhas.size()); ++i) {
        const auto& d = linhas[std::size_t(i - 1)];
        flxDespesas->setTextMatrix(i, 0, d.nome);
        flxDespesas->setTextMatrix(i, 1, platform::formatNumber(qint64(d.codigo), QStringLiteral("000")));
        flxDespesas->setAlternateRowColor(i);
    }
}

void CamposLancamento::txtConsulta_Change()
{
    MostraDespesas();
    lblEnter->setVisible(flxDespesas->Rows() == 2);
}

void CamposLancamento::flxDespesas_DblClick()
{
    const int row = flxDespesas->Row();
    if (row >= 1 && row < flxDespesas->Rows())
        tomarDaGrade(row);
}

void CamposLancamento::tomarDaGrade(int row)
{
    const QString nome = flxDespesas->TextMatrix(row, 0);
    if (txtDespesa->findText(nome, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        const QString lado = txtTipo->currentIndex() == 1 ? QStringLiteral("Entrada") : QStringLiteral("Saída");
        platform::MsgBox(QStringLiteral("A Classificação ''") + nome + QStringLiteral("'' não é do tipo ''") + lado +
                             QStringLiteral("''"),
                         platform::vbCritical, app::kAtencao);
        txtDespesa->setFocus();
        return;
    }
    escolherClassificacao(nome);
    txtFiltro->setFocus();
}

// Date boxes ---------------------------------------------------------------

void CamposLancamento::teclaF2(platform::MaskEdBox* caixa)
{
    caixa->setText(platform::formatDate(platform::Today(), QStringLiteral("DD/MM/YYYY")));
    if (caixa == txtDataVen) {
        txtReferente->setFocus(Qt::TabFocusReason);
    } else if (opcoes_.auxilios) {
        txtDataVen->setFocus(Qt::TabFocusReason);
    } else {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(caixa, &tab);
    }
}

void CamposLancamento::txtDataVen_LostFocus()
{
    const QDate vencimento = platform::parseDate(txtDataVen->Text());
    if (!vencimento.isValid())
        return;
    const qint64 dias = vencimento.daysTo(platform::Today());
    if (dias >= 30)
        platform::MsgBox(QStringLiteral("Data de vencimento MENOR que data atual em: ") + QString::number(dias) +
                             QStringLiteral(" dias!"),
                         platform::vbCritical, app::kAtencao);
}

// Help panel ---------------------------------------------------------------

void CamposLancamento::mostrarAjuda(QWidget* campo)
{
    const Ajuda& a = ajudaDe(campo->objectName());
    if (a.campo.isEmpty())
        return;
    txtDescricao->setText(a.campo);
    txtDescricao2->setText(a.explicacao);
    // The label breaks lines at "\n"; the paragraphs are kept apart by CR.
    txtDica->setText(QString(a.dica).replace(QLatin1Char('\r'), QLatin1Char('\n')));
}

// Checks, the entry, instalments -------------------------------------------

QString CamposLancamento::tipoLancamento() const
{
    return txtTipo->currentIndex() == 1 ? data::kTipoEntrada : data::kTipoSaida;
}

bool CamposLancamento::conferirCampos(const QString& mensagemClassificacao, ConferenciaVencimento vencimento)
{
    auto falha = [](const QString& texto, QWidget* campo) {
        platform::MsgBox(texto, platform::vbCritical | platform::vbOKOnly, app::kAtencao);
        campo->setFocus();
        return false;
    };
    if (txtDespesa->currentText().trimmed().isEmpty())
        return falha(mensagemClassificacao, txtDespesa);
    if (txtFiltro->currentText().isEmpty())
        return falha(QStringLiteral("Campo ''Ordem'' vazio."), txtFiltro);
    if (!platform::parseDate(txtDataLan->Text()).isValid())
        return falha(QStringLiteral("Data de Lançamento inválida"), txtDataLan);
    const QDate dataVen = platform::parseDate(txtDataVen->Text());
    if (!dataVen.isValid())
        return falha(QStringLiteral("Data de Vencimento inválida"), txtDataVen);

    const qint64 dias = dataVen.daysTo(platform::Today());
    QString pergunta;
    if (vencimento == ConferenciaVencimento::TrintaDias && dias >= 30)
        pergunta = QStringLiteral("Data de vencimento MENOR que data atual em: ") + QString::number(dias) +
                   QStringLiteral(" dias!") + QLatin1Char('\r') + QStringLiteral("Deseja continuar?");
    else if (vencimento == ConferenciaVencimento::AntesDeHoje && dias > 0)
        pergunta = QStringLiteral("Data de Vencimento MENOR que a data atual!") + QLatin1Char('\r') +
                   QStringLiteral("Deseja continuar?");
    if (!pergunta.isEmpty() &&
        platform::MsgBox(pergunta, platform::vbYesNo | platform::vbCritical, app::kAtencao) != platform::vbYes) {
        txtDataVen->setFocus();
        return false;
    }

    if (txtReferente->text().isEmpty())
        return falha(QStringLiteral("Campo ''Referente'' em branco"), txtReferente);
    if (txtValor->text().isEmpty())
        return falha(QStringLiteral("Campo ''Valor'' em branco"), txtValor);
    data::Centavos valor = 0;
    if (txtValor->text().contains(QLatin1Char('*')) || !app::lerValor(txtValor->text(), valor))
        return falha(app::kConteudoInvalido, txtValor);
    return true;
}

bool CamposLancamento::recusaDoLimite(const data::DbError& e)
{
    if (!e.aboutTheTotal())
        return false;
    platform::MsgBox(e.userMessage(), platform::vbCritical | platform::vbOKOnly, app::kAtencao);
    txtValor->setFocus();
    return true;
}

data::Lancamento CamposLancamento::lancamentoDosCampos() const
{
    data::Lancamento l;
    data::Centavos digitado = 0;
    app::lerValor(txtValor->text(), digitado);
    l.tipo = tipoLancamento();
    l.valor = data::signedValue(l.tipo, digitado);
    l.despesa = txtCodDesp->text();
    l.dataLan = platform::parseDate(txtDataLan->Text());
    l.dataVen = platform::parseDate(txtDataVen->Text());
    l.referente = txtReferente->text();
    l.filtro = txtFiltro->currentText();
    l.conta = txtConta->text();
    return l;
}

bool CamposLancamento::gerarParcelas()
{
    const QString resposta = platform::InputBox(QStringLiteral("Digite o número de parcelas,"),
                                                QStringLiteral("Núm. Parcelas"), QString());
    const int n = lerQuantidadeParcelas(resposta);
    if (!quantidadeValida(n)) {
        platform::MsgBox(QStringLiteral("Número de parcela inválido"), platform::vbCritical, app::kAtencao);
        return false;
    }

    const data::Lancamento l = lancamentoDosCampos();
    if (!parcelasNoCalendario(l.dataVen, n)) {
        platform::MsgBox(textoParcelasForaDoCalendario(l.dataVen, n), platform::vbCritical, app::kAtencao);
        return false;
    }
    Parcelamento p;
    p.tipo = l.tipo;
    p.total = l.valor < 0 ? -l.valor : l.valor;
    p.despesa = l.despesa;
    p.conta = l.conta;
    p.filtro = l.filtro;
    p.dataLan = l.dataLan;
    p.primeiroVencimento = l.dataVen;
    p.referente = l.referente;
    p.quantidade = n;

    if (platform::MsgBox(textoConfirmacao(p.total, n),
                         platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2, app::kAtencao) !=
        platform::vbYes)
        return false;

    try {
        gravarParcelas(ConexaoBanco, p);
    } catch (const data::DbError& e) {
        platform::MsgBox(QStringLiteral("Não foi possível gravar as parcelas; nenhuma parcela foi lançada.") +
                             QLatin1Char('\r') + e.userMessage(),
                         platform::vbCritical, app::kAtencao);
        return false;
    }

    txtDataLan->setText(QString());
    txtDataVen->setText(QString());
    txtValor->clear();
    txtReferente->clear();
    escolherClassificacao(QString());
    txtDespesa->setFocus();
    platform::MsgBox(QStringLiteral("Parcelas lançadas com sucesso!"), platform::vbInformation, app::kOk);
    return true;
}

void CamposLancamento::ordenarTabulacao(std::initializer_list<QWidget*> depoisDoValor)
{
    QWidget* anterior = txtTipo;
    auto seguir = [&anterior](QWidget* proximo) {
        QWidget::setTabOrder(anterior, proximo);
        anterior = proximo;
    };
    for (QWidget* w : {static_cast<QWidget*>(txtDespesa), static_cast<QWidget*>(txtFiltro),
                       static_cast<QWidget*>(txtDataLan), static_cast<QWidget*>(txtDataVen),
                       static_cast<QWidget*>(txtReferente), static_cast<QWidget*>(txtValor)})
        seguir(w);
    for (QWidget* w : depoisDoValor)
        seguir(w);
}

} // namespace entries
