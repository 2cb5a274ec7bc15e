#pragma once
// A masked edit box for dates ("##/##/####") and days of the year ("##/##").
// The windows read its text with the prompt characters in place: an empty
// date box reads "__/__/____", a partly typed one "12/0_/____". QLineEdit's
// own text() drops the prompts ("//", "12/0/"), so windows use Text().
#include <QLineEdit>

namespace platform {

class MaskEdBox : public QLineEdit {
    Q_OBJECT
public:
    // "#" stands for one digit; every other character is shown as it is.
    explicit MaskEdBox(const QString& mask = QStringLiteral("##/##/####"),
                       QWidget* parent = nullptr);

    QString Mask() const { return mask_; }
    void setMask(const QString& mask);

    // The text as shown, prompt characters "_" included. QLineEdit's
    // setText() takes "DD/MM/YYYY", a partly filled "12/0_/____", the empty
    // "__/__/____" or "": digits land in their places, "_" leaves one empty.
    QString Text() const { return displayText(); }

    // No digit typed.
    bool isEmptyDate() const;

    // Moves the date shown by months (the day clamped to a shorter month),
    // then by days. A box without a real date, or a step that would leave
    // 01/01/0001 to 31/12/9999, is left as it is.
    void stepDate(int months, int days = 0);

    // When set, getting the focus selects the whole text, whether the focus
    // came by Tab or by a click inside the box.
    void setSelectAllOnFocus(bool on) { selectAllOnFocus_ = on; }

    // Never narrower than its mask, filled or empty, in its own font.
    QSize minimumSizeHint() const override;

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    QString mask_;
    bool selectAllOnFocus_ = false;
};

// The width a text box needs to show a text whole in its own font, its frame
// and margins included.
int boxWidthFor(const QLineEdit* box, const QString& text);
// Keeps a box at least that wide for its widest text (an amount, a date),
// and lets it grow to no more than it was allowed, or that width.
void keepWhole(QLineEdit* box, const QString& widest);

} // namespace platform
