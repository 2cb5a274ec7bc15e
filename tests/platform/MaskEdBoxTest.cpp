#include "platform/MaskEdBox.h"

#include <QTest>
#include <gtest/gtest.h>

using platform::MaskEdBox;

namespace {

// A box on screen in an active window, so that it can take the focus.
class MaskEdBoxFocused : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(300, 80);
        date = new MaskEdBox("##/##/####", &window);
        other = new MaskEdBox("##/##", &window);
        date->setGeometry(10, 10, 120, 24);
        other->setGeometry(10, 40, 120, 24);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        other->setFocus();
    }

    QWidget window;
    MaskEdBox* date = nullptr;
    MaskEdBox* other = nullptr;
};

} // namespace

TEST(MaskEdBox, EmptyDateBoxReadsPromptCharacters)
{
    const std::pair<QString, QString> cases[] = {{"##/##/####", "__/__/____"}, {"##/##", "__/__"}};
    for (const auto& [mask, empty] : cases) {
        MaskEdBox box(mask);
        EXPECT_EQ(box.Text(), empty) << mask.toStdString();
        EXPECT_EQ(box.Mask(), mask);
        EXPECT_TRUE(box.isEmptyDate());
    }
}

TEST(MaskEdBox, SetTextRoundTripsWhatTheWindowsWrite)
{
    struct Case { QString mask, written, read; bool empty; };
    const Case cases[] = {
        {"##/##/####", "12/03/2024", "12/03/2024", false},
        {"##/##/####", "__/__/____", "__/__/____", true},
        {"##/##/####", "", "__/__/____", true},
        {"##/##/####", "12/0_/____", "12/0_/____", false},
        {"##/##", "25/12", "25/12", false},
        {"##/##", "__/__", "__/__", true},
    };
    for (const Case& c : cases) {
        MaskEdBox box(c.mask);
        box.setText("01/01/2000");
        box.setText(c.written);
        EXPECT_EQ(box.Text(), c.read) << c.written.toStdString();
        EXPECT_EQ(box.isEmptyDate(), c.empty) << c.written.toStdString();
    }
}

TEST_F(MaskEdBoxFocused, TypingFillsDigitsOverThePromptsAndSkipsSeparators)
{
    const std::pair<QString, QString> cases[] = {
        {"120", "12/0_/____"},
        {"12032024", "12/03/2024"},
        {"ab1x", "1_/__/____"},  // only digits are taken
    };
    for (const auto& [typed, read] : cases) {
        date->setText("");
        date->setFocus();
        date->setCursorPosition(0);
        QTest::keyClicks(date, typed);
        EXPECT_EQ(date->Text(), read) << typed.toStdString();
    }
}

TEST_F(MaskEdBoxFocused, SelectAllOnFocusSurvivesTheClickThatGivesTheFocus)
{
    date->setText("12/03/2024");
    date->setSelectAllOnFocus(true);
    QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(30, 12));
    ASSERT_TRUE(date->hasFocus());
    QCoreApplication::processEvents();
    EXPECT_EQ(date->selectedText(), "12/03/2024");

    other->setFocus();
    date->deselect();
    QTest::keyClick(other, Qt::Key_Backtab);  // by keyboard as well
    QCoreApplication::processEvents();
    ASSERT_TRUE(date->hasFocus());
    EXPECT_EQ(date->selectedText(), "12/03/2024");
}

TEST_F(MaskEdBoxFocused, WithoutSelectAllOnFocusAClickOnlyPlacesTheCursor)
{
    date->setText("12/03/2024");
    QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(30, 12));
    QCoreApplication::processEvents();
    ASSERT_TRUE(date->hasFocus());
    EXPECT_FALSE(date->hasSelectedText());
}
