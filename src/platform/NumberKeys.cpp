#include "platform/NumberKeys.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QRegularExpression>
#include <algorithm>
#include <memory>

namespace platform {
namespace {

bool clipboardKey(QKeyEvent* e)
{
    return e->matches(QKeySequence::Cut) || e->matches(QKeySequence::Undo) ||
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
        return !tooManyDecimals(typed);
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
        if (!restante.contains(QLatin1Char(',')) && !tooManyDecimals(QStringLiteral(",")))
            box_->insert(QStringLiteral(","));
        return false;
    }
    if (c == QLatin1Char(','))
        return !restante.contains(c) && !tooManyDecimals(typed);
    if (options_.once.contains(c))
        return !restante.contains(c);
    return false;
}

namespace {
// The most digits standing after one comma of the text.
qsizetype mostDecimals(const QString& text)
{
    qsizetype most = 0;
    for (qsizetype comma = text.indexOf(QLatin1Char(',')); comma >= 0;
         comma = text.indexOf(QLatin1Char(','), comma + 1)) {
        qsizetype end = comma + 1;
        while (end < text.size() && text[end].isDigit())
            ++end;
        most = std::max(most, end - comma - 1);
    }
    return most;
}
} // namespace

bool NumberKeyFilter::tooManyDecimals(const QString& inserted) const
{
    if (options_.maxDecimals < 0)
        return false;
    const QString before = box_->text();
    QString after = before;
    int cursor = box_->cursorPosition();
    if (box_->hasSelectedText()) {
        cursor = box_->selectionStart();
        after.remove(cursor, box_->selectedText().size());
    }
    after.insert(cursor, inserted);
    // A text the program put there is not held against the user's key.
    const qsizetype decimals = mostDecimals(after);
    return decimals > options_.maxDecimals && decimals > mostDecimals(before);
}

bool NumberKeyFilter::paste(const QString& text)
{
    QString colado = text.trimmed();
    static const QRegularExpression comPontos(QStringLiteral("^-?\\d{1,3}(\\.\\d{3})+(,\\d+)?$"));
    if (comPontos.match(colado).hasMatch())
        colado.remove(QLatin1Char('.'));
    // What the comma and once-only tests look at, as for a typed key.
    QString base = box_->text();
    if (box_->hasSelectedText() && !options_.commaInWholeText)
        base.remove(box_->selectionStart(), box_->selectedText().size());
    QString inserir;
    for (const QChar c : colado) {
        if ((c.isDigit() && c.unicode() < 128) || options_.repeated.contains(c))
            inserir += c;
        else if (c == QLatin1Char('.') && !(base + inserir).contains(QLatin1Char(',')))
            inserir += QLatin1Char(',');
        else if ((c == QLatin1Char(',') || options_.once.contains(c)) && !(base + inserir).contains(c))
            inserir += c;
        else
            return false;
    }
    if (tooManyDecimals(inserir))
        return false;
    if (!inserir.isEmpty())
        box_->insert(inserir);
    return true;
}

void NumberKeyFilter::contextMenu(const QPoint& globalPos)
{
    // The line edit's own menu, its items told apart by their captions (as
    // translated, without the shortcut after the tab).
    std::unique_ptr<QMenu> menu(box_->createStandardContextMenu());
    auto item = [](const char* texto) { return QCoreApplication::translate("QLineEdit", texto); };
    for (QAction* action : menu->actions()) {
        const QString nome = action->text().section(QLatin1Char('\t'), 0, 0);
        if (nome == item("&Paste")) {
            QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
            QObject::connect(action, &QAction::triggered, this,
                             [this] { paste(QGuiApplication::clipboard()->text()); });
        } else if (nome == item("&Undo") || nome == item("&Redo") || nome == item("Cu&t")) {
            action->setEnabled(false);
        }
    }
    menu->exec(globalPos);
}

bool NumberKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != box_)
        return false;
    switch (event->type()) {
    case QEvent::ContextMenu:
        if (box_->contextMenuPolicy() != Qt::DefaultContextMenu)
            return false;
        contextMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton)
            return false;
        if (QGuiApplication::clipboard()->supportsSelection() && !box_->isReadOnly())
            paste(QGuiApplication::clipboard()->text(QClipboard::Selection));
        return true;
    case QEvent::InputMethod: {
        auto* e = static_cast<QInputMethodEvent*>(event);
        if (e->commitString().isEmpty())
            return false;
        paste(e->commitString());
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        event->ignore();
        return true;
    default:
        break;
    }
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
    if (e->matches(QKeySequence::Paste)) {
        if (!box_->isReadOnly())
            paste(QGuiApplication::clipboard()->text());
        return true;
    }
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
