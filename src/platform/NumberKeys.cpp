#include "platform/NumberKeys.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace platform {
namespace {

bool clipboardKey(QKeyEvent* e)
{
    return e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut) || e->matches(QKeySequence::Undo) ||
           e->matches(QKeySequence::Redo) ||
           (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

} // namespace

NumberKeyFilter::NumberKeyFilter(QLineEdit* box, const QString& extra)
    : NumberKeyFilter(box, NumberKeyOptions{extra, QString(), false, true, {}})
{
}

NumberKeyFilter::NumberKeyFilter(QLineEdit* box, NumberKeyOptions options)
    : QObject(box), box_(box), options_(std::move(options))
{
    box->installEventFilter(this);
    box->setAcceptDrops(false);
}

bool NumberKeyFilter::accept(const QString& typed)
{
    if (typed.size() != 1)
        return typed.isEmpty();
    const QChar c = typed[0];
    if (c.isDigit() && c.unicode() < 128)
        return true;
    switch (c.unicode()) {
    case '\b': case '\r': case '\n': case '\t': case 0x1b: case 0x7f:
        return true;  // Backspace, Enter, Tab, Escape, Delete keep their meaning
    default:
        break;
    }
    if (options_.repeated.contains(c))
        return true;
    if (c == QLatin1Char('=') && options_.onEquals) {
        options_.onEquals();
        return false;
    }
    // What typing leaves of the present text: a selection is replaced.
    QString restante = box_->text();
    if (box_->hasSelectedText() && !options_.commaInWholeText)
        restante.remove(box_->selectionStart(), box_->selectedText().size());
    if (c == QLatin1Char('.')) {
        if (!restante.contains(QLatin1Char(',')))
            box_->insert(QStringLiteral(","));
        return false;
    }
    if (c == QLatin1Char(',') || options_.once.contains(c))
        return !restante.contains(c);
    return false;
}

bool NumberKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != box_)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // The box keeps Ctrl keys to itself so no window shortcut pastes.
        auto* e = static_cast<QKeyEvent*>(event);
        if (e->modifiers() & Qt::ControlModifier) {
            event->accept();
            return true;
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* e = static_cast<QKeyEvent*>(event);
    if (options_.allowCopy && (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::SelectAll)))
        return false;
    if (clipboardKey(e))
        return true;
    switch (e->key()) {
    case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Escape:
    case Qt::Key_Backspace: case Qt::Key_Delete: case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up:
    case Qt::Key_Down: case Qt::Key_Home: case Qt::Key_End: case Qt::Key_PageUp: case Qt::Key_PageDown:
        return false;
    default:
        break;
    }
    return !accept(e->text());
}

} // namespace platform
