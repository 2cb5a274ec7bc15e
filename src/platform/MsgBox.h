#pragma once
// Message and input boxes. Every window goes through these two functions so
// that tests can record what the user would have seen and answer for them.
#include <QString>
#include <functional>

namespace platform {

// Style flags, combined with |: one button set, one icon, one default button.
enum MsgStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
};

// Answers.
enum MsgResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

struct MsgCall {
    QString text;
    int style = 0;
    QString title;

    int buttons() const { return style & 7; }
    int icon() const { return style & 0x70; }
    bool defaultSecond() const { return (style & vbDefaultButton2) != 0; }
};

struct InputCall {
    QString prompt;
    QString title;
    QString defaultText;
};

int MsgBox(const QString& text, int style = vbOKOnly, const QString& title = QString());

// Returns the typed text; Cancel gives an empty text, as the user cannot tell
// the two apart in the windows that ask.
QString InputBox(const QString& prompt, const QString& title = QString(),
                 const QString& defaultText = QString());

// Replaces the real boxes (tests). An empty function restores them.
using MsgHandler = std::function<int(const MsgCall&)>;
using InputHandler = std::function<QString(const InputCall&)>;
void setMsgBoxHandler(MsgHandler handler);
void setInputBoxHandler(InputHandler handler);

} // namespace platform
