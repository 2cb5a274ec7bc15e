#include "NotesFixture.h"

#include "app/frmAnotacao.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

using namespace testsupport;

namespace {
// Every note of the file, by number.
std::vector<data::Anotacao> todasAnotacoes()
{
    std::vector<data::Anotacao> out;
    data::Statement s(ConexaoBanco, QStringLiteral("SELECT Codigo FROM Anotacoes ORDER BY Codigo"));
    while (s.next())
        out.push_back(*data::findAnotacao(ConexaoBanco, s.integer(0)));
    return out;
}
} // namespace

// ------------------------------------------------------------ reminder rule

TEST(ReminderRule, DueFromTheWarningDayToTheDateAndAfterOnlyWhenAskedTo)
{
    const QDate hoje(2024, 3, 15);
    struct Caso {
        const char* nome;
        QDate dataLemb;
        const char* lembrar;
        std::optional<int> dias;
        const char* sempre;
        bool devido;
    } casos[] = {
        {"in three days, five of warning", hoje.addDays(3), "S", 5, "N", true},
        {"in three days, exactly three of warning", hoje.addDays(3), "S", 3, "N", true},
        {"in three days, two of warning", hoje.addDays(3), "S", 2, "N", false},
        {"today, no warning", hoje, "S", 0, "N", true},
        {"yesterday", hoje.addDays(-1), "S", 5, "N", false},
        {"yesterday, keep reminding", hoje.addDays(-1), "S", 0, "S", true},
        {"in three days, two of warning, keep reminding", hoje.addDays(3), "S", 2, "S", false},
        {"Lembrar off, today", hoje, "N", 5, "S", false},
        {"Lembrar off, yesterday, keep reminding", hoje.addDays(-1), "N", 0, "S", false},
        {"no date", QDate(), "S", 5, "S", false},
        {"today without a day count", hoje, "S", std::nullopt, "N", false},
        {"yesterday without a day count, keep reminding", hoje.addDays(-1), "S", std::nullopt, "S", true},
    };
    for (const Caso& c : casos) {
        data::Anotacao a;
        a.dataLemb = c.dataLemb;
        a.lembrar = QString::fromLatin1(c.lembrar);
        a.qtdeDias = c.dias;
        a.lembrarSempre = QString::fromLatin1(c.sempre);
        EXPECT_EQ(data::lembreteDevido(a, hoje), c.devido) << c.nome;
    }
}

class AnotacaoTest : public NotesFixture {};

TEST_F(AnotacaoTest, DueRemindersComeInTableOrder)
{
    const auto b = nota(QStringLiteral("B"), today.addDays(1), QStringLiteral("S"), 1);
    nota(QStringLiteral("não lembra"), today, QStringLiteral("N"), 5);
    const auto a = nota(QStringLiteral("A"), today.addDays(-30), QStringLiteral("S"), 0, QStringLiteral("S"));
    const auto devidos = data::lembretesDevidos(ConexaoBanco, today);
    ASSERT_EQ(devidos.size(), 2u);
    EXPECT_EQ(devidos[0].codigo, b);
    EXPECT_EQ(devidos[1].codigo, a);
}

// ------------------------------------------------------------------- grid

TEST_F(AnotacaoTest, GridListsNotesWithoutDateFirstThenByDate)
{
    const QString longo = QStringLiteral("Renovar o seguro do carro antes do vencimento da apólice anual");
    nota(QStringLiteral("Amanhã"), today.addDays(1), QStringLiteral("S"), 2, QStringLiteral("N"), longo);
    nota(QStringLiteral("Ontem"), today.addDays(-1), QStringLiteral("S"), 0, QStringLiteral("S"));
    nota(QStringLiteral("Sem data"), QDate(), QStringLiteral("N"), 0, QStringLiteral("N"), QStringLiteral("curto"));
    nota(QStringLiteral("Desligada"), today, QStringLiteral("N"));
    nota(QStringLiteral("Hoje"), today, QStringLiteral("S"));

    auto& f = platform::Forms::get<frmAnotacao>();
    const auto* g = f.flxAnotacoes;
    EXPECT_EQ(g->TextMatrix(0, 0), QStringLiteral("Núm"));
    EXPECT_EQ(g->TextMatrix(0, 1), QStringLiteral("Título"));
    EXPECT_EQ(g->TextMatrix(0, 2), QStringLiteral("Texto"));
    EXPECT_EQ(g->TextMatrix(0, 3), QStringLiteral("Lembrar"));
    ASSERT_EQ(g->Rows(), 6);
    EXPECT_TRUE(g->isEnabled());

    const QStringList titulos = {QStringLiteral("Sem data"), QStringLiteral("Ontem"), QStringLiteral("Desligada"),
                                 QStringLiteral("Hoje"), QStringLiteral("Amanhã")};
    const QStringList lembrar = {QStringLiteral("Não"), QStringLiteral("Data Passada"), QStringLiteral("Não"),
                                 QStringLiteral("15/03/2024"), QStringLiteral("16/03/2024")};
    for (int r = 1; r <= 5; ++r) {
        EXPECT_EQ(g->TextMatrix(r, 1), titulos[r - 1]) << r;
        EXPECT_EQ(g->TextMatrix(r, 3), lembrar[r - 1]) << r;
        EXPECT_EQ(g->cellBackColor(r, 2), r % 2 ? QColor(255, 255, 255) : QColor(225, 255, 255)) << r;
    }
    EXPECT_EQ(g->TextMatrix(1, 2), QStringLiteral("curto ..."));
    EXPECT_EQ(g->TextMatrix(5, 2), longo.left(45) + QStringLiteral(" ..."));
    EXPECT_EQ(g->TextMatrix(1, 0).toLongLong(), 3);
}

TEST_F(AnotacaoTest, EmptyTableLeavesOnlyTheHeaderAndTheGridInert)
{
    auto& f = aberta<frmAnotacao>();
    EXPECT_EQ(f.flxAnotacoes->Rows(), 1);
    EXPECT_FALSE(f.flxAnotacoes->isEnabled());
    f.flxAnotacoes_DblClick();
    EXPECT_EQ(f.fraAnota->title(), QStringLiteral("Inclusão"));
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    f.flxAnotacoes_KeyDown(&del);
    EXPECT_TRUE(msgs.calls.empty());
}

// ------------------------------------------------------------------ load

TEST_F(AnotacaoTest, OpensInInclusionWithTodayAsLastChange)
{
    auto& f = platform::Forms::get<frmAnotacao>();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Inclusão de Anotações"));
    EXPECT_EQ(f.fraAnota->title(), QStringLiteral("Inclusão"));
    EXPECT_EQ(f.txtDataAlter->text(), QStringLiteral("15/03/2024"));
    EXPECT_EQ(f.txtDia->text(), QStringLiteral("sexta-feira"));
    EXPECT_EQ(f.marcaLembrar(), QStringLiteral("N"));
    EXPECT_EQ(f.txtQtdeDias->text(), QStringLiteral("0"));
    EXPECT_FALSE(f.txtDataLemb->isEnabled());
    EXPECT_FALSE(f.txtQtdeDias->isEnabled());
    EXPECT_FALSE(f.txtCodigo->isVisible());
    EXPECT_EQ(f.cmdFecha->toolTip(), QStringLiteral("Fechar"));
}

TEST_F(AnotacaoTest, WritingTheNumberLoadsTheNoteForAlteration)
{
    const auto c = nota(QStringLiteral("Dentista"), QDate(2024, 4, 2), QStringLiteral("S"), 7, QStringLiteral("S"),
                        QStringLiteral("Consulta às 14h"), QDate(2024, 2, 5));
    auto& f = platform::Forms::get<frmAnotacao>();
    f.txtCodigo->setText(QString::number(c));
    EXPECT_EQ(f.fraAnota->title(), QStringLiteral("Altera"));
    EXPECT_EQ(f.txtTitulo->text(), QStringLiteral("Dentista"));
    EXPECT_EQ(f.txtTexto->toPlainText(), QStringLiteral("Consulta às 14h"));
    EXPECT_EQ(f.txtDataLemb->Text(), QStringLiteral("02/04/2024"));
    EXPECT_EQ(f.txtQtdeDias->text(), QStringLiteral("7"));
    EXPECT_EQ(f.txtDataAlter->text(), QStringLiteral("05/02/2024"));
    EXPECT_EQ(f.txtDia->text(), QStringLiteral("segunda-feira"));
    EXPECT_TRUE(f.chkLembrar->isChecked());
    EXPECT_TRUE(f.chkLembrarSempre->isChecked());
    EXPECT_TRUE(f.txtDataLemb->isEnabled());
    EXPECT_EQ(f.marcaLembrar(), QStringLiteral("S"));
    EXPECT_FALSE(f.textoAlterado());
}

TEST_F(AnotacaoTest, NumberZeroEmptyOrUnknownLoadsNothing)
{
    auto& f = platform::Forms::get<frmAnotacao>();
    for (const char* texto : {"0", "", "abc", "999"}) {
        f.txtCodigo->setText(QStringLiteral("1"));
        f.txtCodigo->setText(QString::fromLatin1(texto));
        EXPECT_EQ(f.fraAnota->title(), QStringLiteral("Inclusão")) << texto;
        EXPECT_TRUE(f.txtTitulo->text().isEmpty()) << texto;
    }
}

TEST_F(AnotacaoTest, LoadingANoteWithoutReminderClearsTheReminderBoxes)
{
    const auto com = nota(QStringLiteral("Com"), QDate(2024, 5, 1), QStringLiteral("S"), 4);
    const auto sem = nota(QStringLiteral("Sem"), QDate(2024, 6, 1), QStringLiteral("N"), 9);
    auto& f = platform::Forms::get<frmAnotacao>();
    f.txtCodigo->setText(QString::number(com));
    f.txtCodigo->setText(QString::number(sem));
    EXPECT_FALSE(f.chkLembrar->isChecked());
    EXPECT_EQ(f.txtDataLemb->Text(), QStringLiteral("__/__/____"));
    EXPECT_EQ(f.txtQtdeDias->text(), QStringLiteral("0"));
    EXPECT_EQ(f.marcaLembrar(), QStringLiteral("N"));
}

// ------------------------------------------------------------------ saving

TEST_F(AnotacaoTest, SavingANewNoteStoresItAndResetsTheEditor)
{
    auto& f = aberta<frmAnotacao>();
    QTest::keyClicks(f.txtTitulo, QStringLiteral("D"));
    digitar(f.txtTitulo, QStringLiteral("'Ávila – revisão"));
    QTest::keyClicks(f.txtTexto, QStringLiteral("Levar"));
    digitar(f.txtTexto, QStringLiteral(" documentação"));
    QTest::keyClick(f.chkLembrar, Qt::Key_Space);
    ASSERT_TRUE(f.chkLembrar->isChecked());
    f.txtDataLemb->setFocus();
    QTest::keyClicks(f.txtDataLemb, QStringLiteral("18032024"));
    QTest::keyClick(f.txtDataLemb, Qt::Key_Return);  // Enter moves on, to the days box
    EXPECT_TRUE(f.txtQtdeDias->hasFocus());
    QTest::keyClicks(f.txtQtdeDias, QStringLiteral("5"));
    f.chkLembrarSempre->setChecked(true);
    QTest::mouseClick(f.cmdGravar, Qt::LeftButton);

    EXPECT_TRUE(msgs.calls.empty());
    const auto todas = todasAnotacoes();
    ASSERT_EQ(todas.size(), 1u);
    const auto& a = todas[0];
    EXPECT_EQ(a.titulo, QStringLiteral("D'Ávila – revisão"));
    EXPECT_EQ(a.texto, QStringLiteral("Levar documentação"));
    EXPECT_EQ(a.dataLemb, QDate(2024, 3, 18));
    EXPECT_EQ(a.dataAlter, today);
    EXPECT_EQ(a.qtdeDias, 5);
    EXPECT_EQ(a.lembrar, QStringLiteral("S"));
    EXPECT_EQ(a.lembrarSempre, QStringLiteral("S"));

    EXPECT_EQ(f.fraAnota->title(), QStringLiteral("Inclusão"));
    EXPECT_TRUE(f.txtTitulo->text().isEmpty());
    EXPECT_TRUE(f.txtTexto->toPlainText().isEmpty());
    EXPECT_EQ(f.txtDataLemb->Text(), QStringLiteral("__/__/____"));
    EXPECT_EQ(f.txtDataAlter->text(), QStringLiteral("__/__/____"));
    EXPECT_EQ(f.txtDia->text(), QStringLiteral("sexta-feira"));
    EXPECT_EQ(f.txtQtdeDias->text(), QStringLiteral("0"));
    EXPECT_FALSE(f.chkLembrar->isChecked());
    EXPECT_FALSE(f.chkLembrarSempre->isChecked());
    EXPECT_TRUE(f.txtTitulo->hasFocus());
    EXPECT_FALSE(f.textoAlterado());
    ASSERT_EQ(f.flxAnotacoes->Rows(), 2);
    EXPECT_EQ(f.flxAnotacoes->TextMatrix(1, 1), QStringLiteral("D'Ávila – revisão"));
    EXPECT_EQ(f.flxAnotacoes->TextMatrix(1, 3), QStringLiteral("18/03/2024"));
}

TEST_F(AnotacaoTest, NoteWithoutReminderIsSavedWithoutDateAndNeverReminds)
{
    auto& f = platform::Forms::get<frmAnotacao>();
    f.txtTitulo->setText(QStringLiteral("Ideia"));
    f.txtTexto->setPlainText(QStringLiteral("Pintar a sala"));
    f.cmdGravar_Click();
    const auto todas = todasAnotacoes();
    ASSERT_EQ(todas.size(), 1u);
    EXPECT_FALSE(todas[0].dataLemb.isValid());
    EXPECT_EQ(todas[0].lembrar, QStringLiteral("N"));
    EXPECT_EQ(todas[0].qtdeDias, 0);
    EXPECT_EQ(f.flxAnotacoes->TextMatrix(1, 3), QStringLiteral("Não"));
    EXPECT_TRUE(data::lembretesDevidos(ConexaoBanco, today).empty());
}

TEST_F(AnotacaoTest, SaveIsRefusedFieldByFieldKeepingWhatWasTyped)
{
    struct Caso {
        const char* titulo;
        bool lembrar;
        const char* data;
        const char* dias;
        const char* texto;
        const char* mensagem;
    } casos[] = {
        {"", true, "", "", "", "Digitar campo ''Título''"},
        {"Título", true, "31/02/2024", "3", "", "Data inválida para lembrete"},
        {"Título", true, "", "3", "texto", "Data inválida para lembrete"},
        {"Título", true, "01/04/2024", "x", "texto", "Quantidade de dias inválida para lembrete"},
        {"Título", true, "01/04/2024", "3", "", "Digitar campo ''Texto da anotação''"},
        {"Título", false, "", "0", "", "Digitar campo ''Texto da anotação''"},
    };
    for (const Caso& c : casos) {
        auto& f = aberta<frmAnotacao>();
        f.txtTitulo->setText(QString::fromUtf8(c.titulo));
        f.chkLembrar->setChecked(c.lembrar);
        f.txtDataLemb->setText(QString::fromLatin1(c.data));
        f.txtTexto->setPlainText(QString::fromUtf8(c.texto));
        f.txtQtdeDias->setText(QString::fromLatin1(c.dias));
        msgs.clear();
        f.cmdGravar_Click();
        ASSERT_EQ(msgs.calls.size(), 1u) << c.mensagem;
        EXPECT_EQ(msgs.last().text, QString::fromUtf8(c.mensagem));
        EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
        EXPECT_EQ(msgs.last().buttons(), platform::vbOKOnly);
        EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
        EXPECT_EQ(f.txtTitulo->text(), QString::fromUtf8(c.titulo));
        EXPECT_EQ(f.txtTexto->toPlainText(), QString::fromUtf8(c.texto));
        EXPECT_EQ(f.chkLembrar->isChecked(), c.lembrar);
        EXPECT_TRUE(todasAnotacoes().empty());
        f.Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(AnotacaoTest, FocusGoesBackToTheFieldConcerned)
{
    auto& f = aberta<frmAnotacao>();
    f.cmdGravar_Click();
    EXPECT_TRUE(f.txtTitulo->hasFocus());
    f.txtTitulo->setText(QStringLiteral("T"));
    f.chkLembrar->setChecked(true);
    f.cmdGravar_Click();
    EXPECT_TRUE(f.txtDataLemb->hasFocus());
    f.txtDataLemb->setText(QStringLiteral("20/03/2024"));
    f.cmdGravar_Click();
    EXPECT_TRUE(f.txtTexto->hasFocus());
}

TEST_F(AnotacaoTest, DaysBoxTakesDigitsOnlyAndIsEmptiedOnEntry)
{
    auto& f = aberta<frmAnotacao>();
    f.txtTitulo->setText(QStringLiteral("Boleto"));
    f.txtTexto->setPlainText(QStringLiteral("Pagar"));
    f.chkLembrar->setChecked(true);
    f.txtDataLemb->setText(QStringLiteral("20/03/2024"));
    f.txtDataLemb->setFocus();
    QTest::keyClick(f.txtDataLemb, Qt::Key_Tab);
    ASSERT_TRUE(f.txtQtdeDias->hasFocus());
    EXPECT_EQ(f.txtQtdeDias->text(), QString());
    QTest::keyClicks(f.txtQtdeDias, QStringLiteral("a1,b2c3"));
    EXPECT_EQ(f.txtQtdeDias->text(), QStringLiteral("12"));

    // Tabbing through once more empties it; the save stores 0 days.
    f.txtDataLemb->setFocus();
    QTest::keyClick(f.txtDataLemb, Qt::Key_Tab);
    QTest::keyClick(f.txtQtdeDias, Qt::Key_Tab);
    f.cmdGravar_Click();
    EXPECT_TRUE(msgs.calls.empty());
    const auto todas = todasAnotacoes();
    ASSERT_EQ(todas.size(), 1u);
    EXPECT_EQ(todas[0].qtdeDias, 0);
}

TEST_F(AnotacaoTest, UntickingLembrarEmptiesTheReminderBoxesAndMovesToTheText)
{
    auto& f = aberta<frmAnotacao>();
    f.chkLembrar->setChecked(true);
    f.txtDataLemb->setText(QStringLiteral("20/03/2024"));
    f.txtQtdeDias->setText(QStringLiteral("4"));
    QTest::keyClick(f.chkLembrar, Qt::Key_Space);
    EXPECT_EQ(f.marcaLembrar(), QStringLiteral("N"));
    EXPECT_EQ(f.txtDataLemb->Text(), QStringLiteral("__/__/____"));
    EXPECT_EQ(f.txtQtdeDias->text(), QStringLiteral("0"));
    EXPECT_FALSE(f.txtDataLemb->isEnabled());
    EXPECT_FALSE(f.txtQtdeDias->isEnabled());
    EXPECT_TRUE(f.txtTexto->hasFocus());
}

// --------------------------------------------------------------- altering

TEST_F(AnotacaoTest, AlteringKeepsTheLastChangeDateUnlessTheTextChanged)
{
    const QDate antes(2024, 1, 10);
    const auto c = nota(QStringLiteral("Seguro"), QDate(2024, 3, 20), QStringLiteral("S"), 5, QStringLiteral("N"),
                        QStringLiteral("Renovar"), antes);
    auto& f = aberta<frmAnotacao>();

    f.txtCodigo->setText(QString::number(c));
    f.txtTitulo->setText(QStringLiteral("Seguro do carro"));
    f.txtDataLemb->setText(QStringLiteral("22/03/2024"));
    f.chkLembrarSempre->setChecked(true);
    f.cmdGravar_Click();
    auto a = lida(c);
    EXPECT_EQ(a.titulo, QStringLiteral("Seguro do carro"));
    EXPECT_EQ(a.dataLemb, QDate(2024, 3, 22));
    EXPECT_EQ(a.lembrarSempre, QStringLiteral("S"));
    EXPECT_EQ(a.dataAlter, antes);
    EXPECT_EQ(f.fraAnota->title(), QStringLiteral("Inclusão"));
    EXPECT_TRUE(f.txtCodigo->text().isEmpty());
    EXPECT_EQ(todasAnotacoes().size(), 1u);

    f.txtCodigo->setText(QString::number(c));
    f.txtTexto->setFocus();
    QTest::keyClick(f.txtTexto, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(f.txtTexto, QStringLiteral(" hoje"));
    f.cmdGravar_Click();
    a = lida(c);
    EXPECT_EQ(a.texto, QStringLiteral("Renovar hoje"));
    EXPECT_EQ(a.dataAlter, today);
}

TEST_F(AnotacaoTest, SwitchingLembrarOffKeepsTheStoredDate)
{
    const auto c = nota(QStringLiteral("Vacina"), QDate(2024, 3, 17), QStringLiteral("S"), 5);
    ASSERT_EQ(data::lembretesDevidos(ConexaoBanco, today).size(), 1u);
    auto& f = aberta<frmAnotacao>();
    f.txtCodigo->setText(QString::number(c));
    f.chkLembrar->setChecked(false);
    f.cmdGravar_Click();
    const auto a = lida(c);
    EXPECT_EQ(a.lembrar, QStringLiteral("N"));
    EXPECT_EQ(a.dataLemb, QDate(2024, 3, 17));
    EXPECT_EQ(a.qtdeDias, 0);
    EXPECT_TRUE(data::lembretesDevidos(ConexaoBanco, today).empty());
}

TEST_F(AnotacaoTest, DoubleClickOpensTheRowsOwnNoteWhenTitlesRepeat)
{
    const auto primeira = nota(QStringLiteral("Reunião"), QDate(), QStringLiteral("N"), 0, QStringLiteral("N"),
                               QStringLiteral("primeira"));
    const auto segunda = nota(QStringLiteral("Reunião"), QDate(2024, 4, 1), QStringLiteral("S"), 1,
                              QStringLiteral("N"), QStringLiteral("segunda"));
    auto& f = aberta<frmAnotacao>();
    ASSERT_EQ(f.flxAnotacoes->Rows(), 3);

    f.flxAnotacoes->setRow(2);
    f.flxAnotacoes_DblClick();
    EXPECT_EQ(f.txtCodigo->text(), QString::number(segunda));
    EXPECT_EQ(f.txtTexto->toPlainText(), QStringLiteral("segunda"));

    // A real double-click on the first row.
    const QRect celula = f.flxAnotacoes->visualRect(f.flxAnotacoes->model()->index(0, 1));
    QTest::mouseDClick(f.flxAnotacoes->viewport(), Qt::LeftButton, Qt::NoModifier, celula.center());
    EXPECT_EQ(f.txtCodigo->text(), QString::number(primeira));
    EXPECT_EQ(f.txtTexto->toPlainText(), QStringLiteral("primeira"));
    EXPECT_EQ(f.fraAnota->title(), QStringLiteral("Altera"));

    // The same row again brings back what is stored, dropping unsaved edits.
    f.txtTexto->setPlainText(QStringLiteral("rascunho"));
    f.flxAnotacoes_DblClick();
    EXPECT_EQ(f.txtTexto->toPlainText(), QStringLiteral("primeira"));
    EXPECT_FALSE(f.textoAlterado());
}

// ---------------------------------------------------------------- deleting

TEST_F(AnotacaoTest, DeleteAsksAndWhileAlteringEmptiesTheEditor)
{
    nota(QStringLiteral("Apagar"));
    const auto outra = nota(QStringLiteral("Aberta"), QDate(2024, 4, 1), QStringLiteral("S"), 1, QStringLiteral("S"));
    auto& f = aberta<frmAnotacao>();
    f.txtCodigo->setText(QString::number(outra));
    ASSERT_EQ(f.flxAnotacoes->TextMatrix(1, 1), QStringLiteral("Apagar"));
    f.flxAnotacoes->setRow(1);
    f.flxAnotacoes->setFocus();

    msgs.answer(platform::vbNo);
    QTest::keyClick(f.flxAnotacoes, Qt::Key_Delete);
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("Deseja realmente excluir o registro?\rApagar"));
    EXPECT_EQ(msgs.last().buttons(), platform::vbYesNo);
    EXPECT_EQ(msgs.last().icon(), platform::vbQuestion);
    EXPECT_TRUE(msgs.last().defaultSecond());
    EXPECT_EQ(msgs.last().title, QStringLiteral("Confirmação"));
    EXPECT_EQ(todasAnotacoes().size(), 2u);
    EXPECT_EQ(f.fraAnota->title(), QStringLiteral("Altera"));

    msgs.answer(platform::vbYes);
    QTest::keyClick(f.flxAnotacoes, Qt::Key_Delete);
    const auto restantes = todasAnotacoes();
    ASSERT_EQ(restantes.size(), 1u);
    EXPECT_EQ(restantes[0].codigo, outra);
    EXPECT_EQ(f.fraAnota->title(), QStringLiteral("Inclusão"));
    EXPECT_TRUE(f.txtTitulo->text().isEmpty());
    EXPECT_TRUE(f.txtCodigo->text().isEmpty());
    EXPECT_FALSE(f.chkLembrar->isChecked());
    EXPECT_EQ(f.txtDataLemb->Text(), QStringLiteral("__/__/____"));
    EXPECT_TRUE(f.chkLembrarSempre->isChecked());  // stays as it was
    EXPECT_EQ(f.flxAnotacoes->Rows(), 2);
}

TEST_F(AnotacaoTest, EscapeFromAFieldOrTheGridClosesWithoutSaving)
{
    nota(QStringLiteral("Uma"));
    for (int vez = 0; vez < 2; ++vez) {
        auto& f = aberta<frmAnotacao>();
        f.txtTitulo->setText(QStringLiteral("não gravar"));
        f.txtTexto->setPlainText(QStringLiteral("nada"));
        QWidget* alvo = vez == 0 ? static_cast<QWidget*>(f.txtTexto) : f.flxAnotacoes;
        alvo->setFocus();
        QTest::keyClick(alvo, Qt::Key_Escape);
        EXPECT_FALSE(platform::Forms::isLoaded<frmAnotacao>());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(todasAnotacoes().size(), 1u);
}
