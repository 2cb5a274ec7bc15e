#include "platform/MaskEdBox.h"

#include "platform/conversions.h"
#include "platform/formats.h"

#include <QTimer>

#include <algorithm>

namespace platform {

namespace {

constexpr QChar Prompt = u'_';

// Our mask in QLineEdit's notation: "#" is a digit place ("9"); any other
// character stands for itself, escaped where QLineEdit gives it a meaning.
QString inputMaskFor(const QString& mask)
{
    static const QString special = QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{};");
    QString result;
    for (QChar ch : mask) {
        if (ch == u'#') {
            result += u'9';
            continue;
        }
        if (special.contains(ch))
            result += u'\\';
        result += ch;
    }
    return result + u';' + Prompt;
}

} // namespace

MaskEdBox::MaskEdBox(const QString& mask, QWidget* parent) : QLineEdit(parent)
{
    setMask(mask);
}

void MaskEdBox::setMask(const QString& mask)
{
    mask_ = mask;
    setInputMask(inputMaskFor(mask));
}

void MaskEdBox::stepDate(int months, int days)
{
    const QDate data = parseDate(Text());
    if (!data.isValid())
        return;
    const QDate nova = addMonths(data, months).addDays(days);
    // The box holds four digits of a year after Christ; anything else would
    // come out cut ("15/01/1000" for 10000) or signed ("15/12/_001").
    if (nova.isValid() && nova.year() >= 1 && nova.year() <= 9999)
        setText(fmtDate(nova));
}

bool MaskEdBox::isEmptyDate() const
{
    const QString shown = displayText();
    return std::none_of(shown.begin(), shown.end(), [](QChar ch) { return ch.isDigit(); });
}

void MaskEdBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // A click that gives the focus places the cursor after this event; the
    // selection is made once the click has been handled.
    if (selectAllOnFocus_)
        QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

} // namespace platform
