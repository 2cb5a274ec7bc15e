#include "platform/Accessibility.h"
#include "platform/FlexGrid.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QStyle>
#include <QTextDocument>
#include <QTimer>
#include <QVersionNumber>

#include <algorithm>

namespace platform {

namespace {
const char* const kResult = "vorsalResult";

// A read-only text of one line for a screen reader: no selection, the caret
// at its start.
class ReadOnlyText : public QAccessibleTextInterface {
public:
    virtual QString shownText() const = 0;

    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override
    {
        return shownText().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(shownText().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    // One run of no attributes over the whole text: a reader that reads a
    // line run by run reads it to its end.
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }
    // One line: a character is a character, any longer piece is the whole.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override
    {
        const QString t = shownText();
        if (boundary == QAccessible::CharBoundary) {
            *startOffset = std::clamp(offset, 0, int(t.size()));
            *endOffset = std::min(*startOffset + 1, int(t.size()));
            return t.mid(*startOffset, *endOffset - *startOffset);
        }
        *startOffset = 0;
        *endOffset = int(t.size());
        return t;
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override
    {
        if (boundary == QAccessible::CharBoundary && offset > 0)
            return textAtOffset(offset - 1, boundary, startOffset, endOffset);
        *startOffset = *endOffset = 0;
        return QString();
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override
    {
        const int size = int(shownText().size());
        if (boundary == QAccessible::CharBoundary && offset + 1 < size)
            return textAtOffset(offset + 1, boundary, startOffset, endOffset);
        *startOffset = *endOffset = size;
        return QString();
    }
};

// A label that shows a result, heard as a read-only field: its name is its
// caption, its value and text what it shows.
class ResultAccessible : public QAccessibleWidget, public ReadOnlyText {
public:
    explicit ResultAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::EditableText) {}

    QString shownText() const override
    {
        const auto* label = static_cast<const QLabel*>(widget());
        QString t = label->text();
        if (Qt::mightBeRichText(t)) {
            QTextDocument d;
            d.setHtml(t);
            t = d.toPlainText();
        }
        return t.simplified();
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return shownText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.editable = false;
        s.focusable = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    using ReadOnlyText::text;
};

// A drop-down list that is not typed into. Qt names it by its value and
// gives it no text, so a screen reader that reads the value from the list's
// text, or from the list's selected item, finds none: here its name is its
// caption and its text its value. The list of items stays its child, as Qt
// has it, so the opened list is read as before.
class ComboAccessible : public QAccessibleWidget, public ReadOnlyText {
public:
    explicit ComboAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
    QString shownText() const override { return list()->currentText(); }

    // A reader takes a caret that did not move for no change: each new
    // value puts it at the other end of the text.
    int cursorPosition() const override { return caret_; }
    void valueChanged() { caret_ = caret_ == 0 ? std::max(1, int(shownText().size())) : 0; }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Value:
            return shownText();
        default:
            return QAccessibleWidget::text(t);
        }
    }
    int childCount() const override { return list()->view() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 && list()->view() ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return list()->view() && child && child->object() == list()->view() ? 0 : -1;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = list()->view() && list()->view()->isVisible();
        s.collapsed = !s.expanded;
        s.readOnly = true;
        return s;
    }
    QStringList actionNames() const override
    {
        return QAccessibleWidget::actionNames() << showMenuAction() << pressAction();
    }
    void doAction(const QString& name) override
    {
        if (name == showMenuAction() || name == pressAction()) {
            if (list()->view() && list()->view()->isVisible())
                list()->hidePopup();
            else
                list()->showPopup();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    using ReadOnlyText::text;

private:
    int caret_ = 0;
};

// A message for a screen reader, shown for a moment out of sight.
class NoticeAccessible : public QAccessibleWidget {
public:
    explicit NoticeAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

// ----------------------------------------------------------- text boxes

// A text box as a screen reader reads it: its text is what the box shows
// (a password as its marks, a date box with its blanks), whole whatever the
// reader asks for: the line at any offset, the caret at the end included.
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }
    QString shown() const { return box()->displayText(); }
    int size() const { return int(shown().size()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return shown();
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override
    {
        if (t == QAccessible::Value && !box()->isReadOnly())
            box()->setText(text);
        else
            QAccessibleWidget::setText(t, text);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !box()->isReadOnly();
        s.readOnly = box()->isReadOnly();
        s.passwordEdit = box()->echoMode() != QLineEdit::Normal;
        s.selectableText = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // Text.
    void selection(int index, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (index == 0 && box()->hasSelectedText()) {
            *startOffset = box()->selectionStart();
            *endOffset = box()->selectionEnd();
        }
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int index) override
    {
        if (index == 0)
            box()->deselect();
    }
    void setSelection(int, int startOffset, int endOffset) override
    {
        box()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override
    {
        const int n = size();
        if (endOffset < 0 || endOffset > n)
            endOffset = n;
        startOffset = std::clamp(startOffset, 0, endOffset);
        return shown().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return size(); }
    QRect characterRect(int offset) const override
    {
        const QString t = shown();
        const QFontMetrics m(box()->font());
        const QRect caret = box()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int x = caret.x() + m.horizontalAdvance(t.left(offset)) - m.horizontalAdvance(t.left(box()->cursorPosition()));
        const int w = offset < t.size() ? m.horizontalAdvance(t.at(offset)) : 1;
        return QRect(box()->mapToGlobal(QPoint(x, caret.y())), QSize(w, caret.height()));
    }
    int offsetAtPoint(const QPoint& point) const override { return box()->cursorPositionAt(box()->mapFromGlobal(point)); }
    void scrollToSubstring(int startIndex, int) override { box()->setCursorPosition(startIndex); }
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = size();
        return QString();
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override
    {
        const QString t = shown();
        const int n = int(t.size());
        if (boundary == QAccessible::CharBoundary) {
            *startOffset = std::clamp(offset, 0, n);
            *endOffset = std::min(*startOffset + 1, n);
        } else if (boundary == QAccessible::WordBoundary) {
            int start = std::clamp(offset, 0, n), end = start;
            while (start > 0 && !t.at(start - 1).isSpace())
                --start;
            while (end < n && !t.at(end).isSpace())
                ++end;
            while (end < n && t.at(end).isSpace())
                ++end;
            *startOffset = start;
            *endOffset = end;
        } else {
            // One line: the whole text at any offset.
            *startOffset = 0;
            *endOffset = n;
        }
        return t.mid(*startOffset, *endOffset - *startOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override
    {
        if (boundary == QAccessible::CharBoundary || boundary == QAccessible::WordBoundary) {
            int s = 0, e = 0;
            textAtOffset(offset, boundary, &s, &e);
            if (s > 0)
                return textAtOffset(s - 1, boundary, startOffset, endOffset);
        }
        *startOffset = *endOffset = 0;
        return QString();
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override
    {
        const int n = size();
        if (boundary == QAccessible::CharBoundary || boundary == QAccessible::WordBoundary) {
            int s = 0, e = 0;
            textAtOffset(offset, boundary, &s, &e);
            if (e < n)
                return textAtOffset(e, boundary, startOffset, endOffset);
        }
        *startOffset = *endOffset = n;
        return QString();
    }

    // Editing, as typing would.
    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override
    {
        if (box()->isReadOnly())
            return;
        box()->setSelection(startOffset, endOffset - startOffset);
        box()->insert(text);
    }
};

QAccessibleInterface* ownInterfaces(const QString&, QObject* object)
{
    if (auto* box = qobject_cast<QLineEdit*>(object))
        return new LineEditAccessible(box);
    return nullptr;
}

// ----------------------------------------------------------- lists

const char* const kFocusedOnlyWithKeyboard = "vorsalFocusedOnlyWithKeyboard";

class ListItemAccessible : public QAccessibleInterface {
public:
    ListItemAccessible(QListWidget* list, int row) : list_(list), row_(row) {}

    bool isValid() const override { return list_ && row_ < list_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list_ ? list_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(list_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value))
            return QString();
        return list_->item(row_)->text();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        QRect r = list_->visualItemRect(list_->item(row_));
        r.moveTopLeft(list_->viewport()->mapToGlobal(r.topLeft()));
        return r;
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.selectable = true;
        s.focusable = true;
        s.selected = list_->item(row_)->isSelected();
        s.focused = QApplication::focusWidget() == list_ && list_->currentRow() == row_;
        s.invisible = !list_->viewport()->rect().intersects(list_->visualItemRect(list_->item(row_)));
        return s;
    }

private:
    QPointer<QListWidget> list_;
    int row_;
};

class ListAccessible : public QAccessibleWidget {
public:
    explicit ListAccessible(QListWidget* list) : QAccessibleWidget(list, QAccessible::List)
    {
        // Rows come and go: their interfaces are made again when asked for.
        QAbstractItemModel* model = list->model();
        for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            links_ << QObject::connect(model, signal, list, [this] { forget(); });
        links_ << QObject::connect(model, &QAbstractItemModel::modelReset, list, [this] { forget(); });
    }
    // Qt deletes the interface as the list starts going, before its model
    // has gone.
    ~ListAccessible() override
    {
        for (const QMetaObject::Connection& link : std::as_const(links_))
            QObject::disconnect(link);
        forget();
    }

    QListWidget* list() const { return static_cast<QListWidget*>(widget()); }
    int childCount() const override { return list()->count(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= list()->count())
            return nullptr;
        auto it = items_.constFind(index);
        if (it != items_.constEnd())
            return QAccessible::accessibleInterface(*it);
        auto* item = new ListItemAccessible(list(), index);
        items_.insert(index, QAccessible::registerAccessibleInterface(item));
        return item;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (auto it = items_.constBegin(); it != items_.constEnd(); ++it)
            if (QAccessible::accessibleInterface(*it) == child)
                return it.key();
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint p = list()->viewport()->mapFromGlobal(QPoint(x, y));
        QListWidgetItem* item = list()->itemAt(p);
        return item ? child(list()->row(item)) : nullptr;
    }

private:
    void forget()
    {
        for (QAccessible::Id id : std::as_const(items_))
            QAccessible::deleteAccessibleInterface(id);
        items_.clear();
    }
    mutable QHash<int, QAccessible::Id> items_;
    QList<QMetaObject::Connection> links_;
};

// Qt makes a widget's interface by its class name, before any factory the
// program installs is asked: the program's own takes the place of Qt's in
// the cache, before the window is shown.
void replaceInterface(QObject* object, QAccessibleInterface* own)
{
    if (QAccessibleInterface* qt = QAccessible::queryAccessibleInterface(object))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(qt));
    QAccessible::registerAccessibleInterface(own);
}

// ----------------------------------------------------------- passwords

// A password box's own events carry what was typed: they are masked in
// Qt's update handler, between the box and the screen reader's bridge. That
// handler and its way of reaching the bridge were proven with a screen
// reader on Qt 6.4 only; another Qt must be proven before it is built with,
// and the program checks at start that it runs on the Qt it was built for.
#if QT_VERSION < QT_VERSION_CHECK(6, 4, 0) || QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
#error "The password filter for screen readers is proven on Qt 6.4 only."
#endif

bool isPasswordBox(QObject* object)
{
    auto* box = qobject_cast<QLineEdit*>(object);
    return box && box->echoMode() != QLineEdit::Normal;
}

QString masked(QObject* object, const QString& text)
{
    auto* box = static_cast<QLineEdit*>(object);
    if (box->echoMode() == QLineEdit::NoEcho)
        return QString();
    const QChar mask(box->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, box));
    return QString(text.size(), mask);
}

// The widgets that need the handler below: password boxes, and lists whose
// items are focused only with the keyboard.
int& holders() { static int n = 0; return n; }
QAccessible::UpdateHandler& nextHandler() { static QAccessible::UpdateHandler h = nullptr; return h; }
bool& installed() { static bool b = false; return b; }

void forward(QAccessibleEvent* event)
{
    if (nextHandler()) {
        nextHandler()(event);
        return;
    }
    // Qt hands the event to the screen reader's bridge when no handler is
    // installed.
    QAccessible::UpdateHandler self = QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(self);
}

// A password box's event handed on with its texts masked.
template <class Event, class... Texts> void forwardMasked(QObject* box, int position, const Texts&... texts)
{
    Event m(box, position, masked(box, texts)...);
    forward(&m);
}

void filter(QAccessibleEvent* event)
{
    QObject* object = event->object();
    if (isPasswordBox(object)) {
        switch (event->type()) {
        case QAccessible::TextInserted: {
            auto* e = static_cast<QAccessibleTextInsertEvent*>(event);
            return forwardMasked<QAccessibleTextInsertEvent>(object, e->changePosition(), e->textInserted());
        }
        case QAccessible::TextRemoved: {
            auto* e = static_cast<QAccessibleTextRemoveEvent*>(event);
            return forwardMasked<QAccessibleTextRemoveEvent>(object, e->changePosition(), e->textRemoved());
        }
        case QAccessible::TextUpdated: {
            auto* e = static_cast<QAccessibleTextUpdateEvent*>(event);
            return forwardMasked<QAccessibleTextUpdateEvent>(object, e->changePosition(), e->textRemoved(),
                                                             e->textInserted());
        }
        case QAccessible::ValueChanged: {
            QAccessibleValueChangeEvent m(object,
                                          masked(object, static_cast<QAccessibleValueChangeEvent*>(event)->value().toString()));
            return forward(&m);
        }
        default:
            break;
        }
    }
    switch (event->type()) {
    case QAccessible::Focus:
        // Qt's list tells the reader that its current item took the focus
        // whenever the current item changes, the keyboard elsewhere.
        if (auto* list = qobject_cast<QListWidget*>(object);
            list && list->property(kFocusedOnlyWithKeyboard).toBool() && QApplication::focusWidget() != list)
            return;
        break;
    case QAccessible::TableModelChanged:
        // Qt has already applied it to the table's interface, and its
        // bridge on this system makes nothing of it: handing it on would
        // apply it twice.
        return;
    default:
        break;
    }
    forward(event);
}

void holdFilter(QObject& holder)
{
    // The filter stands between Qt and the reader's bridge while a widget
    // that needs it lives: the windows that hold them are short-lived, and
    // it hands every other event on unchanged.
    if (holders()++ == 0) {
        nextHandler() = QAccessible::installUpdateHandler(filter);
        installed() = true;
    }
    QObject::connect(&holder, &QObject::destroyed, [] {
        if (--holders() == 0 && installed()) {
            QAccessible::installUpdateHandler(nextHandler());
            nextHandler() = nullptr;
            installed() = false;
        }
    });
}
} // namespace

bool readerFilterProven()
{
    const QVersionNumber running = QVersionNumber::fromString(QString::fromLatin1(qVersion()));
    return running.majorVersion() == QT_VERSION_MAJOR && running.minorVersion() == QT_VERSION_MINOR;
}

void installReaderInterfaces()
{
    static bool done = false;
    if (!done) {
        done = true;
        QAccessible::installFactory(ownInterfaces);
    }
}

void hideFromReader(QLineEdit& passwordBox)
{
    holdFilter(passwordBox);
}

void focusedOnlyWithKeyboard(QListWidget& list)
{
    if (list.property(kFocusedOnlyWithKeyboard).toBool())
        return;
    list.setProperty(kFocusedOnlyWithKeyboard, true);
    replaceInterface(&list, new ListAccessible(&list));
    holdFilter(list);
}

namespace {
const char* const kWidest = "vorsalResultWidest";

// The least width that shows the result's largest value whole in the
// label's font: set again whenever the font changes (a bold total, a font
// the window or the desktop raises).
class ResultWidth : public QObject {
public:
    explicit ResultWidth(QLabel& label) : QObject(&label), label_(label)
    {
        label.installEventFilter(this);
        apply();
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            apply();
        return false;
    }

private:
    void apply()
    {
        const int width = shapeWidth(label_.font(), resultWidest(label_));
        const QMargins m = label_.contentsMargins();
        label_.setMinimumWidth(width + m.left() + m.right() + 2 * label_.frameWidth() + 2 * label_.margin() +
                               label_.fontMetrics().averageCharWidth() / 2 + 2);
    }
    QLabel& label_;
};
} // namespace

QString resultWidest(const QLabel& label)
{
    const QString widest = label.property(kWidest).toString();
    return widest.isEmpty() ? kWidestSum : widest;
}

void showsResult(QLabel& label, const QString& widest)
{
    if (isResult(label))
        return;
    label.setProperty(kResult, true);
    label.setProperty(kWidest, widest);
    new ResultWidth(label);
    replaceInterface(&label, new ResultAccessible(&label));
    // Selectable by the keyboard, the label takes Tab and shows a caret
    // where it has the focus.
    label.setTextInteractionFlags(label.textInteractionFlags() | Qt::TextSelectableByMouse |
                                  Qt::TextSelectableByKeyboard);
    label.setFocusPolicy(Qt::StrongFocus);
}

void announce(QWidget& window, const QString& message)
{
    auto* notice = window.findChild<QLabel*>(QStringLiteral("vorsalNotice"), Qt::FindDirectChildrenOnly);
    if (!notice) {
        notice = new QLabel(&window);
        notice->setObjectName(QStringLiteral("vorsalNotice"));
        notice->setGeometry(0, 0, 1, 1);
        replaceInterface(notice, new NoticeAccessible(notice));
    }
    // The reader says a notification as it is shown.
    notice->hide();
    notice->setText(message);
    notice->show();
    QTimer::singleShot(1000, notice, &QWidget::hide);
}

bool isResult(const QLabel& label) { return label.property(kResult).toBool(); }

void speakValue(QComboBox& list)
{
    if (list.isEditable() || list.property("vorsalSpeaksValue").toBool())
        return;
    list.setProperty("vorsalSpeaksValue", true);
    replaceInterface(&list, new ComboAccessible(&list));
    QPointer<QComboBox> guard(&list);
    QObject::connect(&list, &QComboBox::currentIndexChanged, &list, [guard] {
        if (!guard || !guard->hasFocus())
            return;
        // The reader says the line its caret moved to when an arrow moved
        // it, as in a text box.
        auto* own = dynamic_cast<ComboAccessible*>(QAccessible::queryAccessibleInterface(guard.data()));
        if (!own)
            return;
        own->valueChanged();
        QAccessibleTextCursorEvent moved(guard.data(), own->cursorPosition());
        QAccessible::updateAccessibility(&moved);
    });
}

} // namespace platform
