#include "Janelas.h"
#include "AppFixture.h"

#include "data/Anotacoes.h"
#include "data/Conexao.h"
#include "data/Lancamentos.h"
#include "data/Money.h"
#include "data/Senha.h"
#include "cashflow/frmFluxo.h"
#include "import/frmIntegracao.h"
#include "platform/MaskEdBox.h"
#include "platform/Clock.h"
#include "platform/FlexGrid.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QMenuBar>
#include <QToolBar>

using namespace testsupport;

class PrincipalTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        createAccount(QStringLiteral("Casa"));
    }

    static QColor fundo(const DiaCalendario* c) { return c->palette().color(QPalette::Window); }
    static QColor texto(const DiaCalendario* c) { return c->palette().color(QPalette::WindowText); }

    // Shows a month of a year in the two lists, as the user picks them.
    static void mostrar(frmPrincipal& w, int mes, int ano)
    {
        w.cbxAnos->setCurrentText(QString::number(ano));
        w.cbxMeses->setCurrentIndex(mes - 1);
    }

    std::int64_t nota(const QString& titulo, const QDate& lemb, std::optional<int> dias, const char* lembrar,
                      const char* sempre)
    {
        data::Anotacao a;
        a.titulo = titulo;
        a.dataLemb = lemb;
        a.qtdeDias = dias;
        a.lembrar = QString::fromLatin1(lembrar);
        a.lembrarSempre = QString::fromLatin1(sempre);
        return data::addAnotacao(ConexaoBanco, a);
    }

    static QStringList titulos(const frmPrincipal& w)
    {
        QStringList out;
        for (int i = 0; i < w.lstAnotacoes->count(); ++i)
            out << w.lstAnotacoes->item(i)->text();
        return out;
    }
};

TEST_F(PrincipalTest, StartUpShowsTheDateTheAccountAndTheCalendar)
{
    {
        data::Connection db;
        openAccountFile(db, QDir(bancoFolder()).filePath(QStringLiteral("Casa.mdb")), "1234");
        data::updateUltimoAcesso(db, QDate(2024, 3, 10));
    }
    frmPrincipal& w = iniciar();

    EXPECT_EQ(hook.shown, std::vector<QString>{QStringLiteral("frmSenha")});
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Sexta-feira, 15 de março de 2024"));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(SituacaoSenha, QStringLiteral("OK"));
    EXPECT_EQ(w.lblBancoAtivo->text(), QStringLiteral("Nome do banco ativo: ''C:\\Casa''"));
    EXPECT_EQ(w.lblUltimoAcesso->text(), QStringLiteral("Último acesso em: 10/03/2024 - domingo"));

    ASSERT_EQ(w.cbxMeses->count(), 12);
    EXPECT_EQ(w.cbxMeses->itemText(0), QStringLiteral("JANEIRO"));
    EXPECT_EQ(w.cbxMeses->currentText(), QStringLiteral("MARÇO"));
    ASSERT_EQ(w.cbxAnos->count(), 21);
    EXPECT_EQ(w.cbxAnos->itemText(0), QStringLiteral("2014"));
    EXPECT_EQ(w.cbxAnos->itemText(20), QStringLiteral("2034"));
    EXPECT_EQ(w.cbxAnos->currentText(), QStringLiteral("2024"));

    // March 2024 starts on a Friday: cell 6 holds the 1st, today is cell 20.
    EXPECT_EQ(w.D[5]->text(), QStringLiteral("1"));
    EXPECT_EQ(w.D[19]->Tag(), QStringLiteral("15/03/2024"));
    EXPECT_EQ(w.D[19]->toolTip(), QStringLiteral("Hoje"));
    EXPECT_EQ(fundo(w.D[19]), QColor(255, 255, 128));
    EXPECT_TRUE(w.D[0]->font().bold());
    EXPECT_FALSE(w.D[1]->font().bold());
    EXPECT_EQ(encerrado, 0);
}

TEST_F(PrincipalTest, LongDateCaptionForEveryWeekday)
{
    struct Caso {
        QDate dia;
        const char* titulo;
    } casos[] = {
        {QDate(2024, 3, 17), "Domingo, 17 de março de 2024"},
        {QDate(2024, 1, 1), "Segunda-feira, 01 de janeiro de 2024"},
        {QDate(2023, 12, 30), "Sábado, 30 de dezembro de 2023"},
        {QDate(2024, 2, 29), "Quinta-feira, 29 de fevereiro de 2024"},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(frmPrincipal::dataPorExtenso(c.dia), QString::fromUtf8(c.titulo));
}

TEST_F(PrincipalTest, LoginLeftWithoutAMatchEndsTheProgramBeforeTheCalendar)
{
    hook.on<frmSenha>([](frmSenha& f) { f.Unload(); });
    frmPrincipal& w = platform::Forms::get<frmPrincipal>();
    EXPECT_EQ(encerrado, 1);
    EXPECT_EQ(w.cbxMeses->count(), 0);
    EXPECT_FALSE(ConexaoBanco.isOpen());
}

TEST_F(PrincipalTest, CalendarMonthsFillAllFortyTwoCells)
{
    frmPrincipal& w = iniciar();
    struct Caso {
        int mes, ano;
        QDate celula1;
        int celulaDoDia1;
    } casos[] = {
        {9, 2024, QDate(2024, 9, 1), 1},    // starts on a Sunday
        {6, 2024, QDate(2024, 5, 26), 7},   // starts on a Saturday
        {2, 2024, QDate(2024, 1, 28), 5},   // leap February
        {2, 2023, QDate(2023, 1, 29), 4},
    };
    for (const Caso& c : casos) {
        mostrar(w, c.mes, c.ano);
        const QDate primeiro(c.ano, c.mes, 1);
        for (int k = 0; k < 42; ++k) {
            const QDate d = c.celula1.addDays(k);
            ASSERT_EQ(w.D[k]->Tag(), d.toString(QStringLiteral("dd/MM/yyyy"))) << c.mes << "/" << c.ano << " " << k;
            EXPECT_EQ(w.D[k]->text(), QString::number(d.day()));
            EXPECT_EQ(texto(w.D[k]), d.month() == c.mes ? QColor(0, 0, 0) : QColor(128, 128, 128));
        }
        EXPECT_EQ(w.D[c.celulaDoDia1 - 1]->data, primeiro);
    }
    // February: the cells after the last day are grey, whatever the year.
    mostrar(w, 2, 2024);
    EXPECT_EQ(w.D[4 + 28]->text(), QStringLiteral("29"));
    EXPECT_EQ(texto(w.D[4 + 28]), QColor(0, 0, 0));
    EXPECT_EQ(texto(w.D[4 + 29]), QColor(128, 128, 128));
    mostrar(w, 2, 2023);
    EXPECT_EQ(w.D[3 + 28]->text(), QStringLiteral("1"));
    EXPECT_EQ(texto(w.D[3 + 28]), QColor(128, 128, 128));
}

TEST_F(PrincipalTest, TodayIsMarkedOnlyInItsOwnMonth)
{
    frmPrincipal& w = iniciar();
    auto marcadas = [&] {
        int n = 0;
        for (auto* c : w.D)
            if (c->toolTip() == QStringLiteral("Hoje") || fundo(c) != QColor(224, 224, 224))
                ++n;
        return n;
    };
    EXPECT_EQ(marcadas(), 1);
    mostrar(w, 5, 2024);
    EXPECT_EQ(marcadas(), 0);
    // April shows the last days of March only: 31/03 but not today.
    mostrar(w, 4, 2024);
    EXPECT_EQ(marcadas(), 0);
    // February 2024 runs to 09/03; today is not in its cells.
    mostrar(w, 2, 2024);
    EXPECT_EQ(marcadas(), 0);
    // The year changes, the month stays.
    w.cbxAnos->setCurrentText(QStringLiteral("2025"));
    EXPECT_EQ(w.cbxMeses->currentText(), QStringLiteral("FEVEREIRO"));
    EXPECT_EQ(w.D[6]->Tag(), QStringLiteral("01/02/2025"));
    mostrar(w, 3, 2024);
    EXPECT_EQ(marcadas(), 1);
    EXPECT_EQ(w.D[19]->toolTip(), QStringLiteral("Hoje"));
}

TEST_F(PrincipalTest, GreyCellOfTheMonthBeforeShowsTodayWhenItIsThere)
{
    frmPrincipal& w = iniciar();
    // February 2024 shows the first days of March after its 29th.
    platform::setToday(QDate(2024, 3, 5));
    mostrar(w, 2, 2024);
    const int hoje = 4 + 29 + 5 - 1;  // cell of 05/03
    EXPECT_EQ(w.D[hoje]->Tag(), QStringLiteral("05/03/2024"));
    EXPECT_EQ(w.D[hoje]->toolTip(), QStringLiteral("Hoje"));
    EXPECT_EQ(fundo(w.D[hoje]), QColor(255, 255, 128));
    EXPECT_EQ(texto(w.D[hoje]), QColor(128, 128, 128));
}

TEST_F(PrincipalTest, DayCountsCarryTheirSigns)
{
    struct Caso {
        QDate hoje, dia;
        const char* corridos;
        const char* uteis;
    } casos[] = {
        {QDate(2024, 3, 15), QDate(2024, 3, 15), "00", "00"},
        {QDate(2024, 3, 15), QDate(2024, 3, 18), "03", "01"},    // Friday to next Monday
        {QDate(2024, 3, 18), QDate(2024, 3, 15), "-03", "-01"},  // Monday to last Friday
        {QDate(2024, 3, 15), QDate(2024, 4, 15), "31", "21"},
        {QDate(2024, 3, 16), QDate(2024, 3, 17), "01", "00"},
        {QDate(2024, 3, 15), QDate(2024, 2, 1), "-43", "-31"},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(frmPrincipal::textoDiasCorridos(c.hoje, c.dia),
                  QStringLiteral("DIAS CORRIDOS da data clicada: ") + QString::fromLatin1(c.corridos) + QChar(13) +
                      QStringLiteral("DIAS ÚTEIS da data clicada:          ") + QString::fromLatin1(c.uteis))
            << c.dia.toString().toStdString();
}

// The keyboard reaches the same cell: Tab from the year enters the days on
// today, the arrows move among them, Enter counts as the double-click.
TEST_F(PrincipalTest, DoubleClickOrEnterOnAGreyCellCountsToItsOwnDate)
{
    frmPrincipal& w = iniciar();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    w.cbxAnos->setFocus();
    QTest::keyClick(w.cbxAnos, Qt::Key_Tab);
    ASSERT_EQ(w.focusWidget(), w.D[19]);  // Friday 15/03
    EXPECT_EQ(w.D[19]->accessibleName(), QStringLiteral("15/03/2024 sexta-feira"));
    for (int k : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left})
        QTest::keyClick(w.focusWidget(), Qt::Key(k));
    ASSERT_EQ(w.focusWidget(), w.D[0]);
    QTest::keyClick(w.D[0], Qt::Key_Return);
    // Cell 1 of March 2024 is Sunday 25/02.
    QTest::mouseDClick(w.D[0], Qt::LeftButton);
    ASSERT_EQ(msgs.calls.size(), 2u);
    for (const platform::MsgCall& m : msgs.calls) {
        EXPECT_EQ(m.title, QStringLiteral("Data clicada: 25/02/2024 dom"));
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("DIAS CORRIDOS da data clicada: -19")));
        EXPECT_TRUE(m.text.endsWith(QStringLiteral("-14")));
        EXPECT_EQ(m.style, platform::vbInformation | platform::vbOKOnly);
    }
}

TEST_F(PrincipalTest, SaldoAtualSumsEntriesDueUpToToday)
{
    frmPrincipal& w = iniciar();
    EXPECT_EQ(w.SaldoAtualTexto(), QStringLiteral("R$ 0,00"));

    auto lancar = [](const QDate& ven, data::Centavos valor) {
        data::Lancamento l;
        l.dataVen = ven;
        l.dataLan = ven;
        l.referente = QStringLiteral("x");
        l.valor = valor;
        l.tipo = valor < 0 ? data::kTipoSaida : data::kTipoEntrada;
        l.despesa = QStringLiteral("1");
        l.filtro = QStringLiteral("A");
        data::addLancamento(ConexaoBanco, l);
    };
    lancar(QDate(2024, 3, 16), 50000);  // tomorrow: not yet
    EXPECT_EQ(w.SaldoAtualTexto(), QStringLiteral("R$ 0,00"));
    lancar(QDate(2024, 3, 15), 123456);  // today
    lancar(QDate(2023, 1, 2), -200001);
    EXPECT_EQ(w.SaldoAtualTexto(), QStringLiteral("R$ -765,45"));
    lancar(QDate(2024, 3, 1), 1000000);
    EXPECT_EQ(w.SaldoAtualTexto(), QStringLiteral("R$ 9.234,55"));

    w.mnuSaldo->trigger();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("R$ 9.234,55"));
    EXPECT_EQ(msgs.last().title, QStringLiteral("Saldo Atual"));
    EXPECT_EQ(msgs.last().style, platform::vbInformation | platform::vbOKOnly);
}

// Forecasts and the reserved classifications 94 and 95 before and inside
// the period: every window's balance is the engine's up to the same day, so
// a rule of which entries count changed in one place only shows here.
TEST_F(PrincipalTest, EveryBalanceShownIsTheEnginesUpToItsDay)
{
    frmPrincipal& w = iniciar();
    const struct {
        QDate ven;
        const char* referente;
        data::Centavos valor;
        const char* despesa;
    } entradas[] = {
        {QDate(2024, 2, 1), "Salário", 100000, "10"},
        {QDate(2024, 2, 10), "Previsão do aluguel", -30000, "10"},
        {QDate(2024, 2, 20), "Aplicação", -5000, "94"},
        {QDate(2024, 3, 5), "Mercado", -20000, "10"},
        {QDate(2024, 3, 10), "Previsão da luz", -7000, "10"},
        {QDate(2024, 3, 15), "Resgate", 4000, "95"},
        {QDate(2024, 3, 20), "Previsão do IPVA", -90000, "10"},  // the month's lowest
        {QDate(2024, 3, 25), "Farmácia", 1000, "10"},
    };
    for (const auto& e : entradas) {
        data::Lancamento l;
        l.dataVen = l.dataLan = e.ven;
        l.referente = QString::fromUtf8(e.referente);
        l.valor = e.valor;
        l.tipo = e.valor < 0 ? data::kTipoSaida : data::kTipoEntrada;
        l.despesa = QString::fromLatin1(e.despesa);
        l.filtro = QStringLiteral("A");
        data::addLancamento(ConexaoBanco, l);
    }
    const auto ate = [](const QDate& d) { return data::formatMoney(data::balanceUntil(ConexaoBanco, d)); };
    const QDate hoje(2024, 3, 15);

    EXPECT_EQ(w.SaldoAtualTexto(), QStringLiteral("R$ ") + ate(hoje));

    frmFluxo& fluxo = platform::Forms::get<frmFluxo>();
    EXPECT_EQ(fluxo.txtValorTempo[0]->text(), ate(QDate(2024, 3, 20)));
    fluxo.txtDataInicial->setText(QStringLiteral("01/03/2024"));
    fluxo.txtDataFinal->setText(QStringLiteral("15/03/2024"));
    fluxo.cmdOK_Click();
    EXPECT_EQ(fluxo.txtSaldo->text(), ate(hoje));
    fluxo.lblSoSaldo_Click();
    EXPECT_EQ(fluxo.txtSaldo->text(), ate(hoje));

    frmIntegracao& integracao = platform::Forms::get<frmIntegracao>();
    integracao.txtDataInicial->setText(QStringLiteral("01/03/2024"));
    integracao.txtDataFinal->setText(QStringLiteral("15/03/2024"));
    integracao.cmdOK_Click();
    EXPECT_EQ(integracao.txtSaldo->text(), ate(hoje));
}

TEST_F(PrincipalTest, RemindersAreListedAtTheirBorders)
{
    frmPrincipal& w = iniciar();
    const QDate hoje = QDate(2024, 3, 15);
    nota(QStringLiteral("em 3 dias, aviso de 5"), hoje.addDays(3), 5, "S", "N");
    nota(QStringLiteral("em 3 dias, aviso de 2"), hoje.addDays(3), 2, "S", "N");
    nota(QStringLiteral("em 3 dias, aviso de 3"), hoje.addDays(3), 3, "S", "N");
    nota(QStringLiteral("hoje, aviso 0"), hoje, 0, "S", "N");
    nota(QStringLiteral("ontem, sempre"), hoje.addDays(-1), 0, "S", "S");
    nota(QStringLiteral("ontem, não sempre"), hoje.addDays(-1), 5, "S", "N");
    nota(QStringLiteral("ontem, não lembrar"), hoje.addDays(-1), 5, "N", "S");
    nota(QStringLiteral("amanhã, sempre, sem dias"), hoje.addDays(1), std::nullopt, "S", "S");
    nota(QStringLiteral("sem data"), QDate(), 5, "S", "S");
    nota(QStringLiteral("hoje, sem dias"), hoje, std::nullopt, "S", "S");
    w.VerificaAnot();
    EXPECT_EQ(titulos(w), (QStringList{QStringLiteral("em 3 dias, aviso de 5"), QStringLiteral("em 3 dias, aviso de 3"),
                                       QStringLiteral("hoje, aviso 0"), QStringLiteral("ontem, sempre"),
                                       QStringLiteral("hoje, sem dias")}));
    // The list is filled afresh each time.
    w.VerificaAnot();
    EXPECT_EQ(w.lstAnotacoes->count(), 5);
}

TEST_F(PrincipalTest, DoubleClickOpensTheVeryNoteListed)
{
    frmPrincipal& w = iniciar();
    const QDate hoje(2024, 3, 15);
    nota(QStringLiteral("Pagar 100% d'água"), hoje.addDays(-30), 0, "N", "N");
    const auto segunda = nota(QStringLiteral("Pagar 100% d'água"), hoje, 0, "S", "N");
    const auto outra = nota(QStringLiteral("Pagar ____"), hoje, 0, "S", "N");
    w.VerificaAnot();

    std::vector<std::int64_t> abertas;
    frmPrincipal::registrarAbrirAnotacao([&](std::int64_t codigo) { abertas.push_back(codigo); });

    w.lstAnotacoes_DblClick();  // nothing selected
    EXPECT_TRUE(abertas.empty());

    for (int linha : {0, 1}) {
        // A double-click is a click followed by a second press.
        const QPoint ponto = w.lstAnotacoes->visualItemRect(w.lstAnotacoes->item(linha)).center();
        QTest::mouseClick(w.lstAnotacoes->viewport(), Qt::LeftButton, {}, ponto);
        QTest::mouseDClick(w.lstAnotacoes->viewport(), Qt::LeftButton, {}, ponto);
    }
    // The open-row key does what the double-click does.
    w.lstAnotacoes->setCurrentRow(0);
    QTest::keyClick(w.lstAnotacoes, platform::kOpenRowKey);
    EXPECT_EQ(abertas, (std::vector<std::int64_t>{segunda, outra, segunda}));
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(PrincipalTest, EscapeAsksAndNoLeavesEverythingAsItWas)
{
    frmPrincipal& w = iniciar();
    data::updateUltimoAcesso(ConexaoBanco, QDate(2024, 1, 1));
    for (QWidget* alvo : std::initializer_list<QWidget*>{w.lstAnotacoes, w.cbxMeses, w.cbxAnos}) {
        msgs.clear();
        msgs.answer(platform::vbNo);
        QTest::keyClick(alvo, Qt::Key_Escape);
        ASSERT_EQ(msgs.calls.size(), 1u);
        EXPECT_EQ(msgs.last().text, QStringLiteral("Deseja encerrar a Vo$sal?"));
        EXPECT_EQ(msgs.last().title, QStringLiteral("Encerrar"));
        EXPECT_EQ(msgs.last().style, platform::vbYesNo | platform::vbQuestion);
    }
    EXPECT_EQ(encerrado, 0);
    EXPECT_TRUE(ConexaoBanco.isOpen());
    EXPECT_EQ(data::readSenha(ConexaoBanco).ultimoAcesso, QDate(2024, 1, 1));

    msgs.answer(platform::vbYes);
    QTest::keyClick(w.cbxAnos, Qt::Key_Escape);
    EXPECT_EQ(encerrado, 1);
    EXPECT_FALSE(ConexaoBanco.isOpen());
}

TEST_F(PrincipalTest, EveryRoadOutStoresTheLastUseFirst)
{
    const QString arquivo = QDir(bancoFolder()).filePath(QStringLiteral("Casa.mdb"));
    auto ultimoAcesso = [&] {
        data::Connection db;
        openAccountFile(db, arquivo, "1234");
        return data::readSenha(db).ultimoAcesso;
    };
    int n = 0;
    for (auto sair : std::vector<std::function<void(frmPrincipal&)>>{
             [](frmPrincipal& w) { w.mnuSair->trigger(); },
             [](frmPrincipal& w) { w.Toolbar1_ButtonClick(QStringLiteral("J")); },
             [](frmPrincipal& w) { w.close(); },
         }) {
        platform::setToday(QDate(2024, 3, 15).addDays(++n));
        frmPrincipal& w = iniciar();
        sair(w);
        EXPECT_EQ(encerrado, n);
        EXPECT_EQ(ultimoAcesso(), platform::Today());
        platform::Forms::clear();
        hook.shown.clear();
    }
}

TEST_F(PrincipalTest, MenuAndToolbarOpenTheirRegisteredWindows)
{
    std::vector<QString> abertas;
    for (const char* nome : {"frmLancar", "frmConsVen", "frmAnotacao"})
        frmPrincipal::registrarJanela(QString::fromLatin1(nome),
                                      [&abertas, nome] { abertas.push_back(QString::fromLatin1(nome)); });
    frmPrincipal& w = iniciar();

    QStringList chaves;
    for (QAction* a : w.Toolbar1->actions())
        chaves << a->data().toString();
    EXPECT_EQ(chaves.join(QString()), QStringLiteral("ABCDEFGNOHIKMLJ"));
    for (QAction* a : w.Toolbar1->actions()) {
        EXPECT_FALSE(a->toolTip().isEmpty());
        EXPECT_FALSE(a->icon().isNull());
    }

    auto acao = [&](const QString& key) {
        for (QAction* a : w.Toolbar1->actions())
            if (a->data().toString() == key)
                return a;
        return static_cast<QAction*>(nullptr);
    };
    EXPECT_EQ(acao(QStringLiteral("C"))->toolTip(), QStringLiteral("Fazer Lançamentos"));
    EXPECT_TRUE(acao(QStringLiteral("C"))->isEnabled());
    EXPECT_TRUE(acao(QStringLiteral("E"))->isEnabled());
    EXPECT_TRUE(acao(QStringLiteral("I"))->isEnabled());
    EXPECT_TRUE(acao(QStringLiteral("J"))->isEnabled());

    acao(QStringLiteral("C"))->trigger();
    acao(QStringLiteral("E"))->trigger();
    acao(QStringLiteral("I"))->trigger();
    w.mnuLancar->trigger();
    w.mnuPorData->trigger();
    EXPECT_EQ(abertas, (std::vector<QString>{QStringLiteral("frmLancar"), QStringLiteral("frmConsVen"),
                                             QStringLiteral("frmAnotacao"), QStringLiteral("frmLancar"),
                                             QStringLiteral("frmConsVen")}));

    EXPECT_EQ(w.mnuLancar->shortcut(), QKeySequence(QStringLiteral("Ctrl+L")));
    EXPECT_EQ(w.mnuSaldo->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
    EXPECT_EQ(w.mnuTrocar->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));
    EXPECT_FALSE(w.mnuVisualizar->isEnabled());
    EXPECT_EQ(encerrado, 0);

    for (const char* nome : {"frmLancar", "frmConsVen", "frmAnotacao"})
        frmPrincipal::registrarJanela(QString::fromLatin1(nome), {});
}

TEST_F(PrincipalTest, ItemsWithoutAWindowWaitDisabled)
{
    // A window whose opener is missing: its toolbar key and menu item wait.
    frmPrincipal::registrarJanela(QStringLiteral("frmFluxo"), {});
    frmPrincipal& w = iniciar();
    for (QAction* a : w.Toolbar1->actions()) {
        if (a->data().toString() == QStringLiteral("G")) {
            EXPECT_FALSE(a->isEnabled());
        }
    }
    EXPECT_FALSE(w.mnuFluxo->isEnabled());
    EXPECT_FALSE(w.mnuVisualizar->isEnabled());
    // Pressing a key whose window is missing does nothing.
    w.Toolbar1_ButtonClick(QStringLiteral("G"));
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_EQ(hook.shown.size(), 1u);
    registrarJanelas();
}

TEST_F(PrincipalTest, SwitchingAccountStoresTheLastUseAndLoadsTheOther)
{
    createAccount(QStringLiteral("Outra"), QStringLiteral("4321"));
    frmPrincipal& w = iniciar();
    mostrar(w, 7, 2025);

    platform::setToday(QDate(2024, 3, 20));
    // A refresh loads the register out of sight, with this account's rows.
    platform::Forms::get<frmFluxo>();
    {
        ModalHook outro;
        outro.on<frmSenha>([](frmSenha& f) {
            EXPECT_FALSE(ConexaoBanco.isOpen());
            QTest::keyClick(f.txtSenha, Qt::Key_Down);
            entrar(f, QStringLiteral("4321"));
        });
        w.mnuTrocar->trigger();
    }
    EXPECT_EQ(NomeBanco, QStringLiteral("Outra"));
    EXPECT_EQ(w.lblBancoAtivo->text(), QStringLiteral("Nome do banco ativo: ''C:\\Outra''"));
    EXPECT_EQ(w.cbxMeses->currentText(), QStringLiteral("JULHO"));
    EXPECT_EQ(w.cbxAnos->currentText(), QStringLiteral("2025"));
    EXPECT_EQ(w.cbxMeses->count(), 12);
    // The other account's windows start afresh.
    EXPECT_FALSE(platform::Forms::isLoaded<frmFluxo>());

    data::Connection db;
    openAccountFile(db, QDir(bancoFolder()).filePath(QStringLiteral("Casa.mdb")), "1234");
    EXPECT_EQ(data::readSenha(db).ultimoAcesso, QDate(2024, 3, 20));
    EXPECT_EQ(encerrado, 0);
}

TEST_F(PrincipalTest, SwitchingAndThenEscapeEndsWithoutABackup)
{
    frmPrincipal& w = iniciar();
    data::updateBackup(ConexaoBanco, QDate(2024, 1, 1));
    {
        ModalHook outro;
        outro.on<frmSenha>([](frmSenha& f) { QTest::keyClick(f.txtSenha, Qt::Key_Escape); });
        w.mnuTrocar->trigger();
    }
    EXPECT_EQ(encerrado, 1);
    EXPECT_TRUE(QDir(bancoFolder()).entryList({QStringLiteral("*Backup*")}).isEmpty());
    data::Connection db;
    openAccountFile(db, QDir(bancoFolder()).filePath(QStringLiteral("Casa.mdb")), "1234");
    EXPECT_EQ(data::readSenha(db).ultimoAcesso, QDate(2024, 3, 15));
    EXPECT_EQ(data::readSenha(db).backup, QDate(2024, 1, 1));
}
