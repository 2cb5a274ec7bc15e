#include "platform/MaskEdBox.h"

#include "platform/conversions.h"
#include "platform/formats.h"

#include <QStyle>
#include <QStyleOptionFrame>
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
    updateGeometry();
}

QSize MaskEdBox::minimumSizeHint() const
{
    QSize hint = QLineEdit::minimumSizeHint();
    QString vazia = mask_, cheia = mask_;
    vazia.replace(QLatin1Char('#'), QLatin1Char('_'));
    cheia.replace(QLatin1Char('#'), QLatin1Char('0'));
    hint.setWidth(std::max({hint.width(), boxWidthFor(this, vazia), boxWidthFor(this, cheia)}));
    return hint;
}

int boxWidthFor(const QLineEdit* box, const QString& text)
{
    const QFontMetrics metrics(box->font());
    const QMargins texto = box->textMargins();
    const QMargins conteudo = box->contentsMargins();
    // The line edit's own margin on each side, and room for the cursor.
    const int largura = metrics.horizontalAdvance(text) + 2 * 2 + 2 + texto.left() + texto.right() +
                        conteudo.left() + conteudo.right();
    QStyleOptionFrame opcao;
    opcao.initFrom(box);
    opcao.rect = box->rect();
    opcao.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opcao, box) : 0;
    opcao.midLineWidth = 0;
    opcao.state |= QStyle::State_Sunken;
    opcao.features = QStyleOptionFrame::None;
    return box->style()->sizeFromContents(QStyle::CT_LineEdit, &opcao, QSize(largura, metrics.height()), box).width();
}

void keepWhole(QLineEdit* box, const QString& widest)
{
    const int largura = boxWidthFor(box, widest);
    box->setMinimumWidth(largura);
    box->setMaximumWidth(std::max(box->maximumWidth(), largura));
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
