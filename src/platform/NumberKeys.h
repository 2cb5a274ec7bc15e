#pragma once
// The key filter of the boxes that take an amount or a number with the
// decimal comma: digits, Backspace and Enter pass; "." becomes "," while the
// box holds no comma and is dropped otherwise; a second "," is dropped; every
// other character is dropped. Keys that type nothing (arrows, Delete, Tab)
// pass. Text that arrives any other way (Ctrl+V, Shift+Insert, the context
// menu's paste, the middle button, an input method) goes through the same
// rules as a whole: it is inserted as typing it would insert it, or, when a
// character of it could not be typed there, not at all. Drops are refused;
// undo, redo and cut are not offered.
// The value boxes of the entry windows and the budget are this filter with
// the product ("*" and "="); see app/CaixaValor.h.
#include <QObject>
#include <QString>

#include <functional>

class QLineEdit;

namespace platform {

struct NumberKeyOptions {
    // Characters also allowed, each at most once in the box ("*").
    QString once;
    // Characters also allowed any number of times.
    QString repeated;
    // Where the box already holds a comma: in the text left once typing has
    // replaced the selection (false), or anywhere in the text, selected or
    // not (true).
    bool commaInWholeText = false;
    // Ctrl+C and Ctrl+A pass (they change nothing); false drops them too.
    bool allowCopy = true;
    // "=" is never typed; when set, it runs this instead.
    std::function<void()> onEquals;
    // The most digits after a comma that the text may hold (an amount: 2);
    // a key or paste that would put more there is dropped. -1: any number.
    int maxDecimals = -1;
};

class NumberKeyFilter : public QObject {
    Q_OBJECT
public:
    // extra: characters also allowed, each at most once in the box ("*").
    NumberKeyFilter(QLineEdit* box, const QString& extra = QString());
    NumberKeyFilter(QLineEdit* box, NumberKeyOptions options);

    // Applies the filter to one typed character; true when the box should
    // receive it as it is (a "." is inserted as "," here and returns false).
    bool accept(const QString& typed);

    // Inserts a pasted text (blanks and line breaks around it ignored) at the
    // cursor, replacing the selection, as typing its characters one by one
    // would; false, with the box unchanged, when typing could not produce it.
    // An amount as the program writes it, with points between thousands
    // ("1.234,56", "10.000"), is inserted as that amount without the points.
    bool paste(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void contextMenu(const QPoint& globalPos);
    // Whether inserting text at the cursor, over the selection, would leave
    // more digits after a comma than the box allows.
    bool tooManyDecimals(const QString& inserted) const;

    QLineEdit* box_;
    NumberKeyOptions options_;
};

} // namespace platform
