// The value boxes' rules without a window: the product, reading an amount
// and the keys; the windows' own tests type into their boxes.
#include "app/CaixaValor.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <memory>

TEST(CaixaValor, ProductRoundedToTheCentavoReadsBothSidesWithADecimalComma)
{
    struct Caso {
        const char* texto;
        bool ok;
        const char* resultado;
    };
    const Caso casos[] = {
        {"2,5*3", true, "7,5"},   {"2,5*4", true, "10"},    {"12*45", true, "540"},  {"0,1*0,1", true, "0,01"},
        {"*4", false, ""},        {"4*", false, ""},        {"2*3*4", false, ""},   {",*3", false, ""},
        {"2,5", false, ""},       {"9999999999999*10", false, ""}, {"1,333*3", true, "4"}, {"0,125*1", true, "0,12"},
        {"0,15*0,15", true, "0,02"}, {"12345678901234*1", false, ""}, {"2**3", false, ""},
    };
    for (const Caso& c : casos) {
        QString r;
        EXPECT_EQ(app::produtoValor(QString::fromUtf8(c.texto), r), c.ok) << c.texto;
        if (c.ok) {
            EXPECT_EQ(r, QString::fromUtf8(c.resultado)) << c.texto;
        }
    }
}

TEST(CaixaValor, AmountsAsTheBoxesShowThemThousandsPointsIncluded)
{
    struct Caso {
        const char* texto;
        bool ok;
        data::Centavos valor;
    };
    const Caso casos[] = {
        {"150", true, 15000},      {"1.234,56", true, 123456}, {"7,5", true, 750},   {"0,005", true, 0},
        {"0,015", true, 2},        {"", false, 0},             {",", false, 0},       {"2*3", false, 0},
        {"-5", false, 0},          {"abc", false, 0},          {"12 ", false, 0},     {"99999999999999", false, 0},
        {"9.999.999.999.999,99", true, 999999999999999},
    };
    for (const Caso& c : casos) {
        data::Centavos v = -1;
        EXPECT_EQ(app::lerValor(QString::fromUtf8(c.texto), v, true), c.ok) << c.texto;
        if (c.ok) {
            EXPECT_EQ(v, c.valor) << c.texto;
        }
    }
}

TEST(CaixaValor, KeysOfTheValueBoxes)
{
    testsupport::MsgRecorder msgs;
    QLineEdit caixa;
    platform::NumberKeyFilter* filtro = app::instalarCaixaValor(&caixa);
    struct Caso {
        const char* antes;
        const char* tecla;
        bool passa;
        const char* depois;
        bool mensagem;
    };
    const Caso casos[] = {
        {"12", "5", true, "12", false},        {"12", "*", true, "12", false},     {"2*", "*", true, "2*", false},
        {"12", ".", false, "12,", false},      {"12,5", ".", false, "12,5", false}, {"12", ",", true, "12", false},
        {"12,5", ",", false, "12,5", false},   {"2,5*4", "=", false, "10", false},  {"*4", "=", false, "*4", true},
        {"25", "=", false, "25", false},       {"12", "a", false, "12", false},     {"12", "-", false, "12", false},
        {"12", "\b", true, "12", false},       {"12", "\r", true, "12", false},     {"12", "", true, "12", false},
        {"12", "\x16", false, "12", false},    {"12,3", "4", true, "12,3", false},  {"12,34", "5", false, "12,34", false},
        {"2*1,25", "0", false, "2*1,25", false},
    };
    for (const Caso& c : casos) {
        msgs.clear();
        caixa.setText(QString::fromUtf8(c.antes));
        EXPECT_EQ(filtro->accept(QString::fromUtf8(c.tecla)), c.passa) << c.antes << " " << c.tecla;
        EXPECT_EQ(caixa.text(), QString::fromUtf8(c.depois)) << c.antes << " " << c.tecla;
        EXPECT_EQ(!msgs.calls.empty(), c.mensagem) << c.antes << " " << c.tecla;
        if (c.mensagem) {
            EXPECT_EQ(msgs.lastText(), QStringLiteral("Conteúdo inválido do campo ''Valor''."));
            EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
            EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
        }
    }
}

TEST(CaixaValor, EntryBoxesReadNoThousandsPoints)
{
    data::Centavos v = -1;
    EXPECT_FALSE(app::lerValor(QStringLiteral("1.234,56"), v));
    EXPECT_TRUE(app::lerValor(QStringLiteral("1234,56"), v));
    EXPECT_EQ(v, 123456);
}

TEST(CaixaValor, ACommaAnywhereDropsTheCommaEvenWhenSelectedUnlikeANumberBox)
{
    // A value box looks at its whole text; a plain number box at what typing
    // over the selection leaves.
    QLineEdit valor;
    platform::NumberKeyFilter* filtroValor = app::instalarCaixaValor(&valor);
    QLineEdit numero;
    platform::NumberKeyFilter filtroNumero(&numero);
    for (QLineEdit* caixa : {&valor, &numero}) {
        caixa->setText(QStringLiteral("12,5"));
        caixa->selectAll();
    }
    EXPECT_FALSE(filtroValor->accept(QStringLiteral(",")));
    EXPECT_FALSE(filtroValor->accept(QStringLiteral(".")));
    EXPECT_EQ(valor.text(), QStringLiteral("12,5"));
    EXPECT_TRUE(filtroNumero.accept(QStringLiteral(",")));
    EXPECT_FALSE(filtroNumero.accept(QStringLiteral("*")));
    EXPECT_FALSE(filtroNumero.accept(QStringLiteral("=")));
}

TEST(CaixaValor, ClipboardAndCopyKeysAreDroppedInAValueBoxButCopyPassesInANumberBox)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("-1"));
    QLineEdit valor;
    app::instalarCaixaValor(&valor);
    QLineEdit numero;
    platform::NumberKeyFilter filtroNumero(&numero);
    for (QLineEdit* caixa : {&valor, &numero}) {
        caixa->setText(QStringLiteral("45"));
        caixa->selectAll();
        QTest::keyClick(caixa, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(caixa, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(caixa, Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_EQ(caixa->text(), QStringLiteral("45"));
    }
    EXPECT_TRUE(valor.hasSelectedText());
    numero.deselect();
    QTest::keyClick(&numero, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(numero.hasSelectedText());
    valor.deselect();
    QTest::keyClick(&valor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(valor.hasSelectedText());
}

TEST(CaixaValor, PastedTextFollowsTheKeysOrIsRefusedWhole)
{
    testsupport::MsgRecorder msgs;
    enum Caixa { Numero, Meses, Valor, Sinal };
    struct Caso {
        Caixa caixa;
        const char* antes;
        const char* colado;
        const char* depois;
    };
    const Caso casos[] = {
        {Numero, "", "12", "12"},         {Numero, "", "-12", ""},          {Numero, "", "1.5", "1,5"},
        {Numero, "", " 30\n", "30"},      {Numero, "", "12abc", ""},        {Numero, "1,5", "2,3", "1,5"},
        {Numero, "1,5", "2.3", "1,5"},    {Numero, "7", "1e9", "7"},        {Meses, "3", "0*", "30*"},
        {Meses, "30*", "*", "30*"},       {Valor, "", "12*45", "12*45"},    {Valor, "", "=", ""},
        // An amount as the program writes it is that amount; a third decimal
        // is refused like a letter.
        {Valor, "", "10.000", "10000"},   {Valor, "", "1.234,56", "1234,56"}, {Valor, "", "10.000,00", "10000,00"},
        {Numero, "", "10.000", "10000"},  {Valor, "", "-1.234", ""},        {Sinal, "", "-1.234", "-1234"},
        {Valor, "", "1.234.5", ""},       {Valor, "", "12.34", "12,34"},    {Valor, "", "0,125", ""},
        {Valor, "2*", "1.5", "2*1,5"},    {Valor, "", "1.23,4", ""},        {Numero, "", "0,125", "0,125"},
    };
    for (const Caso& c : casos) {
        QLineEdit caixa;
        std::unique_ptr<platform::NumberKeyFilter> numero;
        if (c.caixa == Valor)
            app::instalarCaixaValor(&caixa);
        else
            numero = std::make_unique<platform::NumberKeyFilter>(
                &caixa, c.caixa == Meses ? QStringLiteral("*") : c.caixa == Sinal ? QStringLiteral("-") : QString());
        caixa.setText(QString::fromUtf8(c.antes));
        QGuiApplication::clipboard()->setText(QString::fromUtf8(c.colado));
        QTest::keyClick(&caixa, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(caixa.text(), QString::fromUtf8(c.depois)) << c.colado;
        // Shift+Insert and an input method's text go the same way.
        caixa.setText(QString::fromUtf8(c.antes));
        QTest::keyClick(&caixa, Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_EQ(caixa.text(), QString::fromUtf8(c.depois)) << c.colado;
        caixa.setText(QString::fromUtf8(c.antes));
        QInputMethodEvent im;
        im.setCommitString(QString::fromUtf8(c.colado));
        QApplication::sendEvent(&caixa, &im);
        EXPECT_EQ(caixa.text(), QString::fromUtf8(c.depois)) << c.colado;
        // The context menu's "Colar".
        caixa.setText(QString::fromUtf8(c.antes));
        QTimer::singleShot(0, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* a : menu->actions())
                if (a->text().section(QLatin1Char('\t'), 0, 0) == QCoreApplication::translate("QLineEdit", "&Paste"))
                    a->trigger();
            menu->close();
        });
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(2, 2), caixa.mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(&caixa, &menu);
        EXPECT_EQ(caixa.text(), QString::fromUtf8(c.depois)) << c.colado;
    }
    EXPECT_TRUE(msgs.calls.empty());
}
