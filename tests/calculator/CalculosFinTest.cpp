// The financial calculator: the four calculations, the error step, the
// key filters, the years-to-months shortcut and the hint.
#include "calculator/frmCalculosFin.h"
#include "platform/MsgBox.h"
#include "support/Fixtures.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using testsupport::ModalHook;
using testsupport::MsgRecorder;

namespace {

class CalculosFin : public ::testing::Test {
protected:
    void TearDown() override
    {
        platform::Forms::clear();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Every box of a test is recorded, so none waits for a user.
    MsgRecorder rec;

    static frmCalculosFin& janela() { return platform::Forms::get<frmCalculosFin>(); }

    static void digitar(QLineEdit* caixa, const QString& texto)
    {
        for (QChar c : texto)
            QTest::sendKeyEvent(QTest::KeyAction::Click, caixa, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    static QString calcular(int escolha, const char* a, const char* n, const char* b)
    {
        frmCalculosFin& f = janela();
        f.optCalculo[size_t(escolha)]->setChecked(true);
        f.optCalculo_Click(escolha);
        f.txt1->setText(QString::fromUtf8(a));
        f.txt2->setText(QString::fromUtf8(n));
        f.txt3->setText(QString::fromUtf8(b));
        f.cmdCalcular->click();
        return f.txt4->text();
    }

    // Shows the window through the modal hook so that focus can be checked.
    static void naJanela(std::function<void(frmCalculosFin&)> acao)
    {
        ModalHook hook;
        hook.on<frmCalculosFin>([&](frmCalculosFin& f) {
            acao(f);
            f.Unload();
        });
        platform::Forms::show<frmCalculosFin>();
    }
};

} // namespace

TEST_F(CalculosFin, OpensOnTheInstalmentWithEmptyFields)
{
    frmCalculosFin& f = janela();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Cálculos Financeiros"));
    EXPECT_TRUE(f.optCalculo[0]->isChecked());
    EXPECT_EQ(f.lbl1->text(), QStringLiteral("Digite o valor TOTAL FINANCIADO:"));
    EXPECT_EQ(f.lbl4->text(), QStringLiteral("O Valor de cada PARCELA será de R$"));
    EXPECT_EQ((QStringList{f.lb1->text(), f.lb2->text(), f.lb3->text(), f.lb4->text()}),
              (QStringList{"PV", "N", "I", "PMT"}));
    EXPECT_EQ(f.txt1->text() + f.txt2->text() + f.txt3->text() + f.txt4->text(), QString());
    EXPECT_TRUE(f.lblObs->isHidden());
}

TEST_F(CalculosFin, CalculationsGiveTheKnownResults)
{
    struct Caso {
        int escolha;
        const char *a, *n, *b, *resultado;
    };
    const Caso casos[] = {
        {0, "10000", "12", "1", "888,49"},
        {1, "10000", "12", "888,49", "1,00%"},
        {2, "12000", "12", "1", "946,19"},
        {3, "1000", "360", "0,5", "166,04"},
        {0, "12000", "12", "0", "1.000,00"},
        {3, "1000", "360", "0", "1.000,00"},
        {1, "12000", "12", "1000", "0,00%"},
        {1, "12000", "12", "900", "-1,58%"},
        {1, "10000", "360", "800", "8,00%"},
        {2, "12000", "12", "0", "1.000,00"},
        // Past the ledger's thirteen integer digits, up to the fifteen the
        // boxes take, every centavo as a 50-digit computation gives it.
        {0, "99999999999999", "360", "1", "1.028.612.596.925,49"},
        {2, "12.000.000.000.000", "12", "0", "1.000.000.000.000,00"},
        {3, "8550106542624", "2", "1", "8.381.635.665.742,57"},
        {3, "70851266384911", "24", "0,5", "62.858.228.159.483,61"},
        {0, "560030294565,94", "420", "25", "140.007.573.641,49"},
        {3, "93102705873798", "1", "0,5", "92.639.508.332.137,31"},
        // An exact half centavo goes up, as the shown amounts round.
        {0, "100,50", "1", "1", "101,51"},
        {2, "10,01", "2", "0", "5,01"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.a) + " " + c.n + " " + c.b);
        EXPECT_EQ(calcular(c.escolha, c.a, c.n, c.b), QString::fromUtf8(c.resultado));
    }
    EXPECT_TRUE(rec.calls.empty());
}

TEST_F(CalculosFin, UnreadableInputGivesTheErrorAndKeepsThePreviousResult)
{
    naJanela([this](frmCalculosFin& f) {
        f.txt1->setText(QStringLiteral("10000"));
        f.txt2->setText(QStringLiteral("12"));
        f.txt3->setText(QStringLiteral("1"));
        f.cmdCalcular_Click();
        ASSERT_EQ(f.txt4->text(), QStringLiteral("888,49"));

        struct Caso {
            int escolha;
            const char *a, *n, *b;
            // Past what a double holds to the centavo: too large, not
            // mistyped, with the focus on the amount (the instalment in
            // choice 1).
            bool grande = false;
            bool noTerceiro = false;
        };
        const Caso casos[] = {
            {0, "", "12", "1"},       {0, "10000", "0", "1"}, {1, "10000", "0", "888,49"},
            {3, "1000", "0", "0"},    {0, ",", "12", "1"},    {1, "10000", "12", "0"},  // no rate pays it back
            {1, "10000", "48", "0"},  {1, "10000", "60", "0"},  {1, "10000", "120", "0"},
            {1, "10000", "180", "0"}, {1, "10000", "309", "0"}, {1, "10000", "360", "0"},
            {0, "10000", "30*", "1"}, {2, "1000", "99999999", "999999"},                  // overflow
            {0, "1000000000000000", "12", "1", true}, {3, "99999999999999,99", "12", "1", true},
            {2, "1.234.567.890.123.456", "12", "1", true}, {1, "10000", "12", "9999999999999999", true, true},
        };
        for (const Caso& c : casos) {
            SCOPED_TRACE(std::string(c.a) + " " + c.n + " " + c.b);
            rec.clear();
            f.optCalculo[size_t(c.escolha)]->setChecked(true);
            f.txt1->setText(QString::fromUtf8(c.a));
            f.txt2->setText(QString::fromUtf8(c.n));
            f.txt3->setText(QString::fromUtf8(c.b));
            f.cmdLimpar->setFocus();
            f.cmdCalcular_Click();
            ASSERT_EQ(rec.calls.size(), 1u);
            EXPECT_EQ(rec.last().text, c.grande ? QStringLiteral("Valor grande demais para o cálculo.") + QChar(13) +
                                                      QStringLiteral("Digite até 15 algarismos.")
                                                : QStringLiteral("Valor digitado incorretamente.") + QChar(13) +
                                                      QStringLiteral("Corrija e tente novamente."));
            EXPECT_EQ(rec.last().title, QStringLiteral("Atenção,"));
            EXPECT_EQ(rec.last().icon(), platform::vbCritical);
            EXPECT_TRUE((c.noTerceiro ? f.txt3 : f.txt1)->hasFocus());
            EXPECT_EQ(f.txt4->text(), QStringLiteral("888,49"));
        }
    });
}

TEST_F(CalculosFin, ChoosingACalculationSetsItsLabelsAndClearsEverything)
{
    naJanela([](frmCalculosFin& f) {
        f.txt1->setText(QStringLiteral("10000"));
        f.txt2->setText(QStringLiteral("12"));
        f.txt3->setText(QStringLiteral("1"));
        f.cmdCalcular_Click();
        f.cmdCalcular->setFocus();
        f.optCalculo[1]->click();
        EXPECT_EQ(f.txt1->text() + f.txt2->text() + f.txt3->text() + f.txt4->text(), QString());
        EXPECT_TRUE(f.txt1->hasFocus());
        EXPECT_EQ(f.lbl3->text(), QStringLiteral("Digite o valor de cada PARCELA:"));
        EXPECT_EQ(f.lbl4->text(), QStringLiteral("O valor da TAXA de Juros é:"));
        EXPECT_EQ(f.lb3->text() + f.lb4->text(), QStringLiteral("PMTI"));
        // A screen reader names the boxes and the result by the new captions.
        auto falado = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
        EXPECT_EQ(falado(f.txt3), QStringLiteral("Digite o valor de cada PARCELA:"));
        EXPECT_EQ(falado(f.txt4), QStringLiteral("O valor da TAXA de Juros é:"));

        f.optCalculo_Click(3);
        EXPECT_EQ(f.lbl1->text(), QStringLiteral("Digite o valor da RENDA de deseja receber por mês:"));
        EXPECT_EQ(f.lb1->text(), QStringLiteral("PMT"));
        f.optCalculo_Click(2);
        EXPECT_EQ(f.lbl3->text(), QStringLiteral("Digite a TAXA de JUROS da Investimento:"));
        EXPECT_EQ(falado(f.txt3), QStringLiteral("Digite a TAXA de JUROS da Investimento:"));
        EXPECT_EQ(falado(f.txt1), QStringLiteral("Digite o VALOR do Item a comprar:"));
    });
}

TEST_F(CalculosFin, BoxesKeepDigitsAndOneDecimalComma)
{
    frmCalculosFin& f = janela();
    struct Caso {
        QLineEdit* caixa;
        const char* teclas;
        const char* texto;
    };
    const Caso casos[] = {
        {f.txt1, ".", ","},       {f.txt1, "1.5,.", "1,5"}, {f.txt3, "1a,5x", "1,5"},
        {f.txt1, "3*", "3"},      {f.txt2, "30**", "30*"},  {f.txt2, "2.5*", "2,5*"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.teclas);
        c.caixa->clear();
        digitar(c.caixa, QString::fromUtf8(c.teclas));
        EXPECT_EQ(c.caixa->text(), QString::fromUtf8(c.texto));
    }
}

TEST_F(CalculosFin, YearsFollowedByAnAsteriskBecomeMonthsOnEnter)
{
    naJanela([](frmCalculosFin& f) {
        struct Caso {
            const char* teclas;
            const char* texto;
        };
        const Caso casos[] = {{"30*", "360"}, {"2,5*", "30"}, {"0,1*", "1,2"}, {"24", "24"}, {"*", "*"}};
        for (const Caso& c : casos) {
            SCOPED_TRACE(c.teclas);
            f.txt2->setFocus();
            f.txt2->clear();
            digitar(f.txt2, QString::fromUtf8(c.teclas));
            QTest::keyClick(f.txt2, Qt::Key_Return);
            EXPECT_EQ(f.txt2->text(), QString::fromUtf8(c.texto));
            EXPECT_TRUE(f.txt3->hasFocus());
        }
    });
}

TEST_F(CalculosFin, HintShowsOnlyInTheRetirementChoiceWhileMonthsHaveTheFocus)
{
    naJanela([](frmCalculosFin& f) {
        f.txt2->setFocus();
        EXPECT_TRUE(f.lblObs->isHidden());
        f.optCalculo[3]->setChecked(true);
        f.optCalculo_Click(3);
        EXPECT_TRUE(f.lblObs->isHidden());
        f.txt2->setFocus();
        EXPECT_FALSE(f.lblObs->isHidden());
        f.txt3->setFocus();
        EXPECT_TRUE(f.lblObs->isHidden());
    });
}

TEST_F(CalculosFin, EscapeClosesAndReopeningStartsAfresh)
{
    naJanela([](frmCalculosFin& f) {
        f.optCalculo[2]->setChecked(true);
        f.txt1->setText(QStringLiteral("5"));
        QTest::keyClick(&f, Qt::Key_Escape);
    });
    EXPECT_FALSE(platform::Forms::isLoaded<frmCalculosFin>());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(janela().optCalculo[0]->isChecked());
    EXPECT_EQ(janela().txt1->text(), QString());
}
