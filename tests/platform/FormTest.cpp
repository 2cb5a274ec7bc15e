#include "platform/Form.h"
#include "platform/MsgBox.h"
#include "support/Fixtures.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace {

class frmTeste : public platform::Form {
public:
    frmTeste()
    {
        auto* l = new QVBoxLayout(this);
        l->addWidget(txtA = new QLineEdit(this));
        l->addWidget(txtB = new QLineEdit(this));
        setEnterAsTab(true);
    }
    void Form_Load() override { ++loads; }
    void Form_Unload(bool& cancel) override
    {
        ++unloads;
        cancel = keepOpen;
    }
    QLineEdit* txtA;
    QLineEdit* txtB;
    static inline int loads = 0;
    static inline int unloads = 0;
    bool keepOpen = false;
};

class FormTest : public ::testing::Test {
protected:
    void SetUp() override { frmTeste::loads = frmTeste::unloads = 0; }
    void TearDown() override { platform::Forms::clear(); }
};

TEST_F(FormTest, OneInstanceLoadedOnFirstAccess)
{
    EXPECT_FALSE(platform::Forms::isLoaded<frmTeste>());
    auto& a = platform::Forms::get<frmTeste>();
    auto& b = platform::Forms::get<frmTeste>();
    EXPECT_EQ(&a, &b);
    EXPECT_EQ(frmTeste::loads, 1);
    EXPECT_FALSE(a.isVisible());
}

TEST_F(FormTest, EscapeUnloadsAndTheNextAccessLoadsAgain)
{
    testsupport::ModalHook hook;
    hook.on<frmTeste>([](frmTeste& f) { QTest::keyClick(f.txtA, Qt::Key_Escape); });
    platform::Forms::show<frmTeste>();
    EXPECT_EQ(frmTeste::unloads, 1);
    EXPECT_FALSE(platform::Forms::isLoaded<frmTeste>());
    platform::Forms::get<frmTeste>();
    EXPECT_EQ(frmTeste::loads, 2);
}

TEST_F(FormTest, CancelledUnloadKeepsTheWindowLoaded)
{
    auto& f = platform::Forms::get<frmTeste>();
    f.keepOpen = true;
    f.Unload();
    EXPECT_TRUE(platform::Forms::isLoaded<frmTeste>());
    EXPECT_EQ(frmTeste::unloads, 1);
}

TEST_F(FormTest, EnterMovesTheFocusOnLikeTab)
{
    testsupport::ModalHook hook;
    bool moved = false;
    hook.on<frmTeste>([&](frmTeste& f) {
        f.txtA->setFocus();
        QTest::keyClick(f.txtA, Qt::Key_Return);
        moved = f.txtB->hasFocus();
        f.Unload();
    });
    platform::Forms::show<frmTeste>();
    EXPECT_TRUE(moved);
}

// Closing a window gives the keyboard back to the box it was opened from.
TEST_F(FormTest, ClosingAWindowGivesTheFocusBackWhereItCameFrom)
{
    QWidget opener;
    auto* l = new QVBoxLayout(&opener);
    QLineEdit* first = new QLineEdit(&opener);
    QLineEdit* second = new QLineEdit(&opener);
    l->addWidget(first);
    l->addWidget(second);
    opener.show();
    QApplication::setActiveWindow(&opener);
    second->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), second);
    testsupport::ModalHook hook;
    hook.on<frmTeste>([](frmTeste& f) {
        f.txtB->setFocus();
        QTest::keyClick(f.txtB, Qt::Key_Escape);
    });
    platform::Forms::show<frmTeste>();
    EXPECT_EQ(QApplication::focusWidget(), second);
}

TEST_F(FormTest, WindowHiddenByTheTestStaysLoaded)
{
    testsupport::ModalHook hook;
    hook.on<frmTeste>([](frmTeste& f) { f.Hide(); });
    platform::Forms::show<frmTeste>();
    EXPECT_TRUE(platform::Forms::isLoaded<frmTeste>());
    EXPECT_EQ(frmTeste::unloads, 0);
}

TEST(Caption, NamesTheActiveAccount)
{
    EXPECT_EQ(platform::bancoAtivoCaption(QStringLiteral("Consulta por Data"), QStringLiteral("C:"),
                                          QStringLiteral("Casa")),
              QStringLiteral("Consulta por Data - Banco ativo: ''C:\\Casa''"));
}

TEST(MsgBoxRecorder, KeepsCallsAndAnswersFromTheScript)
{
    testsupport::MsgRecorder rec;
    rec.answer(platform::vbNo);
    EXPECT_EQ(platform::MsgBox(QStringLiteral("Deseja?"), platform::vbYesNo | platform::vbQuestion, QStringLiteral("T")),
              platform::vbNo);
    EXPECT_EQ(platform::MsgBox(QStringLiteral("Ok?"), platform::vbYesNo), platform::vbYes);
    ASSERT_EQ(rec.calls.size(), 2u);
    EXPECT_EQ(rec.calls[0].icon(), platform::vbQuestion);
    EXPECT_EQ(rec.calls[0].title, QStringLiteral("T"));
}

// The box itself, not a recorder: a notice of more lines than the screen
// holds keeps its OK button on the screen, the lines scrolling above it.
TEST(MsgBoxReal, ALongNoticeScrollsAndKeepsItsButtonOnTheScreen)
{
    const QRect tela(0, 0, 1366, 728);
    platform::setAvailableAreaOverride(tela);
    platform::setMsgBoxHandler({});
    QStringList linhas;
    for (int i = 0; i < 300; ++i)
        linhas << QStringLiteral("IOF");
    for (const bool longa : {true, false}) {
        QRect moldura, botao;
        bool rola = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            moldura = QRect(box->pos(), box->size().grownBy(platform::frameMargins(box)));
            QAbstractButton* ok = box->buttons().front();
            botao = QRect(ok->mapTo(box, QPoint(0, 0)), ok->size());
            rola = box->findChild<QScrollArea*>() != nullptr;
            ok->click();
        });
        EXPECT_EQ(platform::MsgBox(longa ? linhas.join(QChar(13)) : QStringLiteral("IOF"), platform::vbInformation),
                  platform::vbOK);
        EXPECT_EQ(rola, longa);
        EXPECT_LE(moldura.height(), tela.height()) << longa;
        EXPECT_TRUE(QRect(QPoint(0, 0), moldura.size()).contains(botao)) << longa;
    }
    platform::setAvailableAreaOverride(QRect());
    testsupport::installTestDefaults();
}

} // namespace
