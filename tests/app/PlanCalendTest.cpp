#include "NotesFixture.h"

#include "app/frmAnotacao.h"
#include "app/frmPlanCalend.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

using namespace testsupport;

namespace {
QStringList linhas(const frmPlanCalend& f, int mes)
{
    QStringList out;
    for (int i = 0; i < f.txtMes[size_t(mes)]->count(); ++i)
        out << f.txtMes[size_t(mes)]->item(i)->text();
    return out;
}

int totalDeLinhas(const frmPlanCalend& f)
{
    int n = 0;
    for (int m = 1; m <= 12; ++m)
        n += f.txtMes[size_t(m)]->count();
    return n;
}
} // namespace

class PlanCalendTest : public NotesFixture {};

TEST_F(PlanCalendTest, LineIsDayWeekdayAndTitleWithAnElevenCharacterPrefix)
{
    struct Caso {
        QDate data;
        const char* linha;
    } casos[] = {
        {QDate(2024, 3, 18), "18 (seg) - Título"}, {QDate(2024, 3, 19), "19 (ter) - Título"},
        {QDate(2024, 3, 20), "20 (qua) - Título"}, {QDate(2024, 3, 21), "21 (qui) - Título"},
        {QDate(2024, 3, 22), "22 (sex) - Título"}, {QDate(2024, 3, 23), "23 (sáb) - Título"},
        {QDate(2024, 3, 3), "03 (dom) - Título"},
    };
    for (const Caso& c : casos) {
        const QString linha = frmPlanCalend::linhaDoMes(c.data, QStringLiteral("Título"));
        EXPECT_EQ(linha, QString::fromUtf8(c.linha));
        EXPECT_EQ(linha.mid(11), QStringLiteral("Título"));
    }
}

TEST_F(PlanCalendTest, ListsEveryDatedNoteOfTheYearUnderItsMonthInDateOrder)
{
    nota(QStringLiteral("Desligada"), QDate(2024, 3, 18), QStringLiteral("N"));
    nota(QStringLiteral("Natal"), QDate(2024, 12, 25), QStringLiteral("S"), 10);
    nota(QStringLiteral("Segunda do dia"), QDate(2024, 3, 18), QStringLiteral("S"), 2);
    nota(QStringLiteral("Primeiro dia"), QDate(2024, 1, 1), QStringLiteral("S"));
    nota(QStringLiteral("Antes"), QDate(2024, 3, 2), QStringLiteral("S"), 0, QStringLiteral("S"));
    nota(QStringLiteral("Ano passado"), QDate(2023, 12, 31), QStringLiteral("S"));
    nota(QStringLiteral("Ano que vem"), QDate(2025, 1, 1), QStringLiteral("S"));
    nota(QStringLiteral("Sem data"));

    auto& f = platform::Forms::get<frmPlanCalend>();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Calendário Anual de Lembretes"));
    EXPECT_EQ(f.txtAno->text(), QStringLiteral("2024"));
    EXPECT_EQ(linhas(f, 1), QStringList{QStringLiteral("01 (seg) - Primeiro dia")});
    EXPECT_EQ(linhas(f, 3), (QStringList{QStringLiteral("02 (sáb) - Antes"), QStringLiteral("18 (seg) - Desligada"),
                                         QStringLiteral("18 (seg) - Segunda do dia")}));
    EXPECT_EQ(linhas(f, 12), QStringList{QStringLiteral("25 (qua) - Natal")});
    EXPECT_EQ(totalDeLinhas(f), 5);

    f.txtAno->setText(QStringLiteral("2023"));
    QTest::keyClick(f.txtAno, Qt::Key_Return);
    EXPECT_EQ(totalDeLinhas(f), 1);
    EXPECT_EQ(linhas(f, 12), QStringList{QStringLiteral("31 (dom) - Ano passado")});

    f.txtAno->setText(QStringLiteral("2030"));
    QTest::keyClick(f.txtAno, Qt::Key_Enter);
    EXPECT_EQ(totalDeLinhas(f), 0);
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(PlanCalendTest, YearBoxTakesDigitsAndRefusesFewerThanFour)
{
    nota(QStringLiteral("Março"), QDate(2024, 3, 20), QStringLiteral("S"));
    auto& f = aberta<frmPlanCalend>();
    f.txtAno->clear();
    QTest::keyClicks(f.txtAno, QStringLiteral("2a0-2 ."));
    EXPECT_EQ(f.txtAno->text(), QStringLiteral("202"));
    QTest::keyClick(f.txtAno, Qt::Key_Return);
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("Digite quatro dígitos para o ano!"));
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
    // The lists keep what they showed.
    EXPECT_EQ(linhas(f, 3), QStringList{QStringLiteral("20 (qua) - Março")});

    QTest::keyClicks(f.txtAno, QStringLiteral("49"));
    EXPECT_EQ(f.txtAno->text(), QStringLiteral("2024"));
    QTest::keyClick(f.txtAno, Qt::Key_Backspace);
    EXPECT_EQ(f.txtAno->text(), QStringLiteral("202"));
    EXPECT_TRUE(platform::Forms::isLoaded<frmPlanCalend>());
}

TEST_F(PlanCalendTest, DoubleClickOpensTheLinesOwnNoteAfterClosingTheCalendar)
{
    const auto primeira = nota(QStringLiteral("Pagar IPVA"), QDate(2024, 2, 10), QStringLiteral("S"), 0,
                               QStringLiteral("N"), QStringLiteral("cota única"));
    const auto segunda = nota(QStringLiteral("Pagar IPVA"), QDate(2024, 2, 20), QStringLiteral("N"), 0,
                              QStringLiteral("N"), QStringLiteral("segunda parcela"));
    std::int64_t aberto = 0;
    bool calendarioCarregado = true;
    hook.on<frmAnotacao>([&](frmAnotacao& a) {
        aberto = a.txtCodigo->text().toLongLong();
        EXPECT_EQ(a.fraAnota->title(), QStringLiteral("Altera"));
        EXPECT_EQ(a.txtTexto->toPlainText(), QStringLiteral("segunda parcela"));
        calendarioCarregado = platform::Forms::isLoaded<frmPlanCalend>();
        a.Unload();
    });
    hook.on<frmPlanCalend>([&](frmPlanCalend& f) {
        ASSERT_EQ(f.txtMes[2]->count(), 2);
        const QRect linha = f.txtMes[2]->visualItemRect(f.txtMes[2]->item(1));
        // As a user: the first click chooses the line, the second opens it.
        QTest::mouseClick(f.txtMes[2]->viewport(), Qt::LeftButton, Qt::NoModifier, linha.center());
        QTest::mouseDClick(f.txtMes[2]->viewport(), Qt::LeftButton, Qt::NoModifier, linha.center());
    });
    platform::Forms::show<frmPlanCalend>();
    EXPECT_EQ(aberto, segunda);
    EXPECT_NE(aberto, primeira);
    EXPECT_FALSE(calendarioCarregado);
    EXPECT_FALSE(platform::Forms::isLoaded<frmPlanCalend>());
    EXPECT_EQ(hook.shown, (std::vector<QString>{QStringLiteral("frmPlanCalend"), QStringLiteral("frmAnotacao")}));
}

TEST_F(PlanCalendTest, DoubleClickWithNoLineChosenDoesNothing)
{
    nota(QStringLiteral("Aniversário"), QDate(2024, 5, 5), QStringLiteral("S"));
    auto& f = platform::Forms::get<frmPlanCalend>();
    for (int m = 1; m <= 12; ++m)
        f.txtMes_DblClick(m);
    EXPECT_TRUE(platform::Forms::isLoaded<frmPlanCalend>());
    EXPECT_FALSE(platform::Forms::isLoaded<frmAnotacao>());
    EXPECT_TRUE(hook.shown.empty());
}

TEST_F(PlanCalendTest, TitlesWithApostrophesAndPatternCharactersOpenTheirNote)
{
    const auto c = nota(QStringLiteral("D'Ávila 100%_ok"), QDate(2024, 7, 1), QStringLiteral("S"));
    nota(QStringLiteral("D'Ávila 100%Xok"), QDate(2024, 7, 1), QStringLiteral("S"));
    std::int64_t aberto = 0;
    hook.on<frmAnotacao>([&](frmAnotacao& a) {
        aberto = a.txtCodigo->text().toLongLong();
        EXPECT_EQ(a.txtTitulo->text(), QStringLiteral("D'Ávila 100%_ok"));
        a.Unload();
    });
    auto& f = platform::Forms::get<frmPlanCalend>();
    f.txtMes[7]->setCurrentRow(0);
    f.txtMes_DblClick(7);
    EXPECT_EQ(aberto, c);
}
