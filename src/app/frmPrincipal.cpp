#include "app/frmPrincipal.h"

#include "app/Backup.h"
#include "app/Icones.h"
#include "app/Textos.h"
#include "app/frmSenha.h"
#include "data/Anotacoes.h"
#include "data/Conexao.h"
#include "data/Lancamentos.h"
#include "data/Money.h"
#include "data/Senha.h"
#include "platform/Clock.h"
#include "platform/FlexGrid.h"
#include "platform/FocusGroup.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "platform/formats.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QToolBar>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

std::map<QString, std::function<void()>>& openers()
{
    static std::map<QString, std::function<void()>> o;
    return o;
}

std::function<void(std::int64_t)>& abrirAnotacao()
{
    static std::function<void(std::int64_t)> f;
    return f;
}

// The toolbar's buttons in their order on the bar: key, tool tip, window.
struct BotaoBarra {
    const char* key;
    const char* toolTip;
    const char* janela;  // empty for "Encerrar"
};
const BotaoBarra kBotoes[] = {
    {"A", "Classificação de Lançamentos", "frmClassificacao"},
    {"B", "Importar Extrato Bancário", "frmIntegracao"},
    {"C", "Fazer Lançamentos", "frmLancar"},
    {"D", "Consultar por Histórico", "frmConsHistorico"},
    {"E", "Consultar por Data", "frmConsVen"},
    {"F", "Consulta Estruturada", "frmConsEstr"},
    {"G", "Fluxo de Caixa", "frmFluxo"},
    {"N", "Previsto e Realizado", "frmPreXReal"},
    {"O", "Orçamento Doméstico", "frmOrcamentoDomestico"},
    {"H", "Gráficos", "frmGraficos"},
    {"I", "Anotações e Lembretes", "frmAnotacao"},
    {"K", "Calendário Anual de Lembretes", "frmPlanCalend"},
    {"M", "Cálculos Financeiros", "frmCalculosFin"},
    {"L", "Alterar em massa Não Class", "frmAlterarNaoClass"},
    {"J", "Encerrar", ""},
};

// The window a menu item opens is kept in the action's data; actions with
// their own handler carry none.
const char kPropJanela[] = "janela";

const QColor kFundoJanela(31, 58, 95);
const QColor kFundoCelula(224, 224, 224);
const QColor kFundoHoje(255, 255, 128);
const QColor kTextoMes(0, 0, 0);
const QColor kTextoForaDoMes(128, 128, 128);

void pintar(QWidget* w, const QColor& fundo, const QColor& texto)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, fundo);
    p.setColor(QPalette::WindowText, texto);
    w->setPalette(p);
}

} // namespace

std::function<void()> frmPrincipal::encerrarPrograma = &frmPrincipal::encerrarProcesso;

// ---------------------------------------------------------------- day cell

DiaCalendario::DiaCalendario(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setFrameShape(QFrame::Box);
    setMinimumSize(40, 30);
    pintar(this, kFundoCelula, kTextoMes);
}

QString DiaCalendario::Tag() const { return platform::fmtDate(data); }

void DiaCalendario::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit duploClique();
    QLabel::mouseDoubleClickEvent(event);
}

// The day in focus is framed, so that the keyboard's place is seen.
void DiaCalendario::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter p(this);
    p.setPen(QPen(QColor(31, 58, 95), 3));
    p.drawRect(rect().adjusted(2, 2, -2, -2));
}

void DiaCalendario::focusInEvent(QFocusEvent* event)
{
    QLabel::focusInEvent(event);
    update();
}

void DiaCalendario::focusOutEvent(QFocusEvent* event)
{
    QLabel::focusOutEvent(event);
    update();
}

// ------------------------------------------------------------- the window

frmPrincipal::frmPrincipal(QWidget* parent) : MainForm(parent)
{
    auto* central = new QWidget(this);
    central->setAutoFillBackground(true);
    pintar(central, kFundoJanela, Qt::white);
    setCentralWidget(central);

    auto* corpo = new QHBoxLayout;
    construirCalendario(central);
    corpo->addWidget(fraCalendario, 3);

    auto* lembretes = new QVBoxLayout;
    auto* lblLembretes = new QLabel(QStringLiteral("Lembretes:"), central);
    QFont negrito = lblLembretes->font();
    negrito.setBold(true);
    negrito.setPointSize(negrito.pointSize() + 1);
    lblLembretes->setFont(negrito);
    pintar(lblLembretes, kFundoJanela, Qt::white);
    lembretes->addWidget(lblLembretes);
    lstAnotacoes = new QListWidget(central);
    lstAnotacoes->setMinimumWidth(260);
    lstAnotacoes->installEventFilter(this);
    platform::openListRowOnKey(*lstAnotacoes, app::kAbrirAnotacao);
    lembretes->addWidget(lstAnotacoes, 1);
    corpo->addLayout(lembretes, 2);

    lblBancoAtivo = new QLabel(central);
    lblUltimoAcesso = new QLabel(central);
    for (QLabel* l : {lblBancoAtivo, lblUltimoAcesso}) {
        l->setFont(negrito);
        pintar(l, kFundoJanela, Qt::white);
        l->setTextInteractionFlags(Qt::NoTextInteraction);
    }

    auto* rodape = new QHBoxLayout;
    auto* logo = new QLabel(central);
    logo->setPixmap(logoVorsal(48));
    rodape->addWidget(logo);
    auto* contas = new QVBoxLayout;
    contas->addWidget(lblBancoAtivo);
    contas->addWidget(lblUltimoAcesso);
    rodape->addLayout(contas, 1);
    auto* creditos = new QLabel(QStringLiteral("Programa desenvolvido por: Equipe Vorsal\n"
                                               "contato@vorsal.example"),
                                central);
    creditos->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    pintar(creditos, kFundoJanela, QColor(200, 215, 235));
    rodape->addWidget(creditos);

    auto* tudo = new QVBoxLayout(central);
    tudo->addLayout(corpo, 1);
    tudo->addLayout(rodape);

    construirMenu();
    construirToolbar();

    connect(lstAnotacoes, &QListWidget::itemDoubleClicked, this, [this] { lstAnotacoes_DblClick(); });

    // The keyboard goes from the toolbar to the month, the year, the days
    // and the reminders.
    QWidget* anterior = nullptr;
    auto seguinte = [&anterior](QWidget* w) {
        if (anterior)
            setTabOrder(anterior, w);
        anterior = w;
    };
    for (QAction* a : Toolbar1->actions())
        seguinte(Toolbar1->widgetForAction(a));
    seguinte(cbxMeses);
    seguinte(cbxAnos);
    for (DiaCalendario* d : D)
        seguinte(d);
    seguinte(lstAnotacoes);
    resize(900, 560);
}

frmPrincipal::~frmPrincipal() = default;

void frmPrincipal::construirCalendario(QWidget* parent)
{
    fraCalendario = new QFrame(parent);
    fraCalendario->setFrameShape(QFrame::StyledPanel);
    fraCalendario->setAutoFillBackground(true);
    pintar(fraCalendario, QColor(240, 240, 240), Qt::black);

    cbxMeses = new QComboBox(fraCalendario);
    cbxAnos = new QComboBox(fraCalendario);
    cbxMeses->setEditable(false);
    cbxAnos->setEditable(false);
    cbxMeses->setAccessibleName(QStringLiteral("Mês"));
    cbxAnos->setAccessibleName(QStringLiteral("Ano"));
    cbxMeses->installEventFilter(this);
    cbxAnos->installEventFilter(this);
    connect(cbxMeses, &QComboBox::currentIndexChanged, this, [this] { cbxMeses_Click(); });
    connect(cbxAnos, &QComboBox::currentIndexChanged, this, [this] { cbxAnos_Click(); });

    auto* escolha = new QHBoxLayout;
    escolha->addWidget(cbxMeses, 2);
    escolha->addWidget(cbxAnos, 1);

    auto* grade = new QGridLayout;
    grade->setSpacing(2);
    const char* semana[] = {"DOM", "SEG", "TER", "QUA", "QUI", "SEX", "SÁB"};
    for (int c = 0; c < 7; ++c) {
        lblSemana[c] = new QLabel(QString::fromUtf8(semana[c]), fraCalendario);
        lblSemana[c]->setAlignment(Qt::AlignCenter);
        QFont f = lblSemana[c]->font();
        f.setBold(true);
        lblSemana[c]->setFont(f);
        pintar(lblSemana[c], QColor(240, 240, 240), c == 0 ? QColor(160, 0, 0) : QColor(0, 0, 90));
        grade->addWidget(lblSemana[c], 0, c);
    }
    for (int k = 0; k < 42; ++k) {
        D[k] = new DiaCalendario(fraCalendario);
        D[k]->setFont(QFont(QStringLiteral("Calibri"), 12));
        grade->addWidget(D[k], 1 + k / 7, k % 7);
        connect(D[k], &DiaCalendario::duploClique, this, [this, k] { D_DblClick(k + 1); });
        D[k]->setFocusPolicy(Qt::StrongFocus);
    }
    // Enter on a day counts the days as a double-click does.
    dias_ = new platform::FocusGroup(QList<QWidget*>(D.begin(), D.end()), 7, [this](int i) { D_DblClick(i + 1); },
                                     this);

    auto* v = new QVBoxLayout(fraCalendario);
    v->addLayout(escolha);
    v->addLayout(grade, 1);
}

void frmPrincipal::construirMenu()
{
    auto item = [this](QMenu* menu, const QString& texto, const QString& tecla, const char* janela) {
        QAction* a = menu->addAction(texto);
        if (!tecla.isEmpty())
            a->setShortcut(QKeySequence(tecla));
        if (janela && *janela) {
            a->setProperty(kPropJanela, QString::fromUtf8(janela));
            const QString nome = QString::fromUtf8(janela);
            connect(a, &QAction::triggered, this, [this, nome] { abrirJanela(nome); });
        }
        return a;
    };

    QMenu* arquivo = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    mnuImportar = item(arquivo, QStringLiteral("Impotar &Extrato"), QStringLiteral("Ctrl+T"), "frmIntegracao");
    arquivo->addSeparator();
    mnuVisualizar = item(arquivo, QStringLiteral("&Visualizar Extrato"), QStringLiteral("Ctrl+R"), nullptr);
    // It has no action: shown greyed out so that nobody waits for it.
    mnuVisualizar->setEnabled(false);
    arquivo->addSeparator();
    mnuTrocar = item(arquivo, QStringLiteral("Trocar Banco - conta"), QStringLiteral("Ctrl+D"), nullptr);
    connect(mnuTrocar, &QAction::triggered, this, [this] { mnuTrocar_Click(); });
    arquivo->addSeparator();
    mnuCalculos = item(arquivo, QStringLiteral("Cálculos Financeiros"), QStringLiteral("Ctrl+Q"), "frmCalculosFin");
    arquivo->addSeparator();
    mnuSair = item(arquivo, QStringLiteral("&Sair"), QStringLiteral("Ctrl+S"), nullptr);
    connect(mnuSair, &QAction::triggered, this, [this] { mnuSair_Click(); });

    QMenu* consultas = menuBar()->addMenu(QStringLiteral("&Consultas"));
    mnuPorData = item(consultas, QStringLiteral("Por Data"), QStringLiteral("Ctrl+V"), "frmConsVen");
    consultas->addSeparator();
    mnuPorHistorico = item(consultas, QStringLiteral("Por &Histórico"), QStringLiteral("Ctrl+H"), "frmConsHistorico");
    consultas->addSeparator();
    mnuEstruturada = item(consultas, QStringLiteral("Consulta &Estruturada"), QStringLiteral("Ctrl+E"), "frmConsEstr");
    mnuEstruturada2 =
        item(consultas, QStringLiteral("Consulta &Estruturada 2"), QStringLiteral("Ctrl+Z"), "frmConsultaEstr");
    mnuPorConta = item(consultas, QStringLiteral("Consulta por C&onta"), QStringLiteral("Ctrl+B"), "frmConsConta");
    consultas->addSeparator();
    mnuPorValor = item(consultas, QStringLiteral("Consulta por Valor"), QStringLiteral("Ctrl+O"), "frmConsValor");
    consultas->addSeparator();
    mnuFluxo = item(consultas, QStringLiteral("Fluxo de Lançamentos"), QStringLiteral("Ctrl+F"), "frmFluxo");
    consultas->addSeparator();
    mnuSaldo = item(consultas, QStringLiteral("Saldo Atual"), QStringLiteral("Ctrl+A"), nullptr);
    connect(mnuSaldo, &QAction::triggered, this, [this] { mnuSaldo_Click(); });

    QMenu* lancamentos = menuBar()->addMenu(QStringLiteral("&Lançamentos"));
    mnuLancar = item(lancamentos, QStringLiteral("&Lançar"), QStringLiteral("Ctrl+L"), "frmLancar");

    QMenu* cadastros = menuBar()->addMenu(QStringLiteral("&Cadastros"));
    mnuClassificacao = item(cadastros, QStringLiteral("&Classificação de Lançamentos"), QStringLiteral("Ctrl+C"),
                            "frmClassificacao");
    cadastros->addSeparator();
    mnuSenha = item(cadastros, QStringLiteral("Alteração de &Senha"), QStringLiteral("Ctrl+X"), "frmZAlteraSenha");
    mnuSobre = item(cadastros, QStringLiteral("Sobre Vo$sal"), QString(), "frmSobre");
}

void frmPrincipal::construirToolbar()
{
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setIconSize(QSize(32, 32));
    for (const BotaoBarra& b : kBotoes) {
        const QString key = QString::fromLatin1(b.key);
        QAction* a = Toolbar1->addAction(iconeBarra(key), QString::fromUtf8(b.toolTip));
        a->setToolTip(QString::fromUtf8(b.toolTip));
        a->setData(key);
        if (*b.janela)
            a->setProperty(kPropJanela, QString::fromUtf8(b.janela));
        connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }
    platform::reachToolBarByKeyboard(*Toolbar1);
    atualizarDisponiveis();
}

// Items whose window has no opener wait disabled.
void frmPrincipal::atualizarDisponiveis()
{
    QList<QAction*> todas = Toolbar1->actions();
    for (QAction* m : {mnuImportar, mnuCalculos, mnuPorData, mnuPorHistorico, mnuEstruturada, mnuEstruturada2,
                       mnuPorConta, mnuPorValor, mnuFluxo, mnuLancar, mnuClassificacao, mnuSenha, mnuSobre})
        todas.append(m);
    for (QAction* a : todas) {
        const QString janela = a->property(kPropJanela).toString();
        if (!janela.isEmpty())
            a->setEnabled(janelaRegistrada(janela));
    }
}

// ------------------------------------------------------------- start-up

void frmPrincipal::Form_Load()
{
    SituacaoSenha = QStringLiteral("Inicio");
    setWindowTitle(dataPorExtenso(platform::Today()));
    atualizarDisponiveis();
    platform::fitOnScreen(*this);
    show();

    platform::Forms::show<frmSenha>();
    if (!SenhaAceita)
        return;

    preencherMesesAnos();
    Montar_Calendario();
    // Back from the login, the keyboard belongs to this window again.
    activateWindow();
}

void frmPrincipal::preencherMesesAnos()
{
    const QDate hoje = platform::Today();
    for (int m = 1; m <= 12; ++m)
        cbxMeses->addItem(platform::monthName(m).toUpper());
    cbxMeses->setCurrentIndex(hoje.month() - 1);
    for (int y = hoje.year() - 10; y <= hoje.year() + 10; ++y)
        cbxAnos->addItem(QString::number(y));
    cbxAnos->setCurrentIndex(10);
}

QString frmPrincipal::dataPorExtenso(const QDate& d)
{
    return platform::capitalizeFirst(platform::weekdayName(d.dayOfWeek())) + QStringLiteral(", ") +
           platform::formatDate(d, QStringLiteral("dd")) + QStringLiteral(" de ") + platform::monthName(d.month()) +
           QStringLiteral(" de ") + platform::formatDate(d, QStringLiteral("yyyy"));
}

// ------------------------------------------------------ menu and toolbar

void frmPrincipal::registrarJanela(const QString& nomeJanela, std::function<void()> abrir)
{
    openers()[nomeJanela] = std::move(abrir);
}

bool frmPrincipal::janelaRegistrada(const QString& nomeJanela)
{
    auto it = openers().find(nomeJanela);
    return it != openers().end() && it->second;
}

void frmPrincipal::registrarAbrirAnotacao(std::function<void(std::int64_t)> abrir)
{
    abrirAnotacao() = std::move(abrir);
}

void frmPrincipal::abrirJanela(const QString& nomeJanela)
{
    auto it = openers().find(nomeJanela);
    if (it != openers().end() && it->second)
        it->second();
}

void frmPrincipal::Toolbar1_ButtonClick(const QString& key)
{
    if (key == QLatin1String("J")) {
        Encerrar();
        return;
    }
    for (const BotaoBarra& b : kBotoes)
        if (key == QLatin1String(b.key)) {
            abrirJanela(QString::fromUtf8(b.janela));
            return;
        }
}

void frmPrincipal::mnuSair_Click() { Encerrar(); }

// --------------------------------------------------------------- reminders

void frmPrincipal::VerificaAnot()
{
    lstAnotacoes->clear();
    for (const data::Anotacao& a : data::lembretesDevidos(ConexaoBanco, platform::Today())) {
        auto* item = new QListWidgetItem(a.titulo);
        item->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(a.codigo));
        lstAnotacoes->addItem(item);
    }
}

// Opens the very note that was listed, by its number: titles may repeat or
// hold characters a pattern would misread.
void frmPrincipal::lstAnotacoes_DblClick()
{
    const QList<QListWidgetItem*> escolhidos = lstAnotacoes->selectedItems();
    if (escolhidos.isEmpty() || !abrirAnotacao())
        return;
    const std::int64_t codigo = escolhidos.first()->data(Qt::UserRole).toLongLong();
    abrirAnotacao()(codigo);
}

// ------------------------------------------------------------ Saldo Atual

QString frmPrincipal::SaldoAtualTexto()
{
    return QStringLiteral("R$ ") + data::formatMoney(data::balanceUntil(ConexaoBanco, platform::Today()));
}

void frmPrincipal::mnuSaldo_Click()
{
    platform::MsgBox(SaldoAtualTexto(), platform::vbInformation | platform::vbOKOnly, QStringLiteral("Saldo Atual"));
}

// ------------------------------------------------------------ leaving

bool frmPrincipal::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        (watched == lstAnotacoes || watched == cbxMeses || watched == cbxAnos)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            if (platform::MsgBox(QStringLiteral("Deseja encerrar a Vo$sal?"),
                                 platform::vbYesNo | platform::vbQuestion,
                                 QStringLiteral("Encerrar")) == platform::vbYes)
                Encerrar();
            return true;
        }
    }
    return MainForm::eventFilter(watched, event);
}

void frmPrincipal::closeEvent(QCloseEvent* event)
{
    if (encerrando_) {
        event->accept();
        return;
    }
    encerrando_ = true;
    Backup();
    event->accept();
    encerrarPrograma();
}

void frmPrincipal::Encerrar()
{
    encerrando_ = true;
    Backup();
    encerrarPrograma();
}

void frmPrincipal::encerrarProcesso()
{
    // Everything is written as it happens; closing the file is all that is
    // left before the process goes.
    ConexaoBanco.close();
    std::fflush(nullptr);
    std::_Exit(0);
}

// -------------------------------------------------------- month calendar

void frmPrincipal::cbxMeses_Click()
{
    if (!cbxMeses->currentText().isEmpty())
        Montar_Calendario();
}

void frmPrincipal::cbxAnos_Click() { Montar_Calendario(); }

void frmPrincipal::Montar_Calendario()
{
    if (cbxMeses->currentText().size() < 2 || cbxAnos->currentText().isEmpty())
        return;
    const int ano = int(platform::Val(cbxAnos->currentText()));
    const int mes = cbxMeses->currentIndex() + 1;
    const QDate primeiro(ano, mes, 1);
    if (!primeiro.isValid())
        return;
    const int w = primeiro.dayOfWeek() % 7 + 1;  // Sunday 1 .. Saturday 7
    const QDate hoje = platform::Today();

    QFont fonte(QStringLiteral("Calibri"), 12);
    // Tab enters the days on today, or else on the 1st of the month, unless
    // a day has the focus already.
    int entrada = w;
    for (int k = 1; k <= 42; ++k) {
        DiaCalendario* cel = D[k - 1];
        const QDate d = primeiro.addDays(k - w);
        cel->data = d;
        QFont f = fonte;
        f.setBold(cel->font().bold());
        cel->setFont(f);
        cel->setText(QString::number(d.day()));
        const bool doMes = d.month() == mes;
        const bool ehHoje = d == hoje;
        pintar(cel, ehHoje ? kFundoHoje : kFundoCelula, doMes ? kTextoMes : kTextoForaDoMes);
        cel->setToolTip(ehHoje ? QStringLiteral("Hoje") : QString());
        cel->setAccessibleName(platform::formatDate(d, QStringLiteral("DD/MM/YYYY dddd")));
        if (ehHoje)
            entrada = k;
    }
    if (!dias_->members().contains(QApplication::focusWidget()))
        dias_->setTabStop(entrada - 1);
}

QString frmPrincipal::textoDiasCorridos(const QDate& hoje, const QDate& d)
{
    const qint64 n = hoje.daysTo(d);
    qint64 m = 0;
    auto util = [](const QDate& x) { return x.dayOfWeek() <= 5; };
    if (n >= 0) {
        for (qint64 i = 1; i <= n; ++i)
            m += util(hoje.addDays(i)) ? 1 : 0;
    } else {
        for (qint64 i = n; i <= -1; ++i)
            m -= util(hoje.addDays(i)) ? 1 : 0;
    }
    return QStringLiteral("DIAS CORRIDOS da data clicada: ") + platform::formatNumber(n, QStringLiteral("00")) +
           QChar(13) + QStringLiteral("DIAS ÚTEIS da data clicada:") + QString(10, QLatin1Char(' ')) +
           platform::formatNumber(m, QStringLiteral("00"));
}

void frmPrincipal::D_DblClick(int index)
{
    if (index < 1 || index > 42)
        return;
    const QDate d = D[index - 1]->data;
    if (!d.isValid())
        return;
    platform::MsgBox(textoDiasCorridos(platform::Today(), d), platform::vbInformation | platform::vbOKOnly,
                     QStringLiteral("Data clicada: ") + platform::formatDate(d, QStringLiteral("DD/MM/YYYY ddd")));
}

// ---------------------------------------------------- backup and switching

void frmPrincipal::Backup()
{
    app::fazerBackup(platform::Today());
}

void frmPrincipal::VerificaExistente(const QString& manter)
{
    app::apagarCopiasAntigas(NomeBanco, manter);
}

void frmPrincipal::mnuTrocar_Click()
{
    // A read-only account, or one held by another program, is still left
    // for another: the refusal is named and the switch goes on.
    try {
        data::updateUltimoAcesso(ConexaoBanco, platform::Today());
    } catch (const data::DbError& e) {
        app::avisarUltimoAcessoNaoGravado(e, QString());
    }
    // A window a refresh loaded out of sight still holds this account's rows.
    platform::Forms::unloadHidden();
    closeAccount();
    platform::Forms::show<frmSenha>();
}
