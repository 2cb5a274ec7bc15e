#include "platform/Form.h"

#include "platform/Accessibility.h"
#include "platform/Application.h"
#include "platform/FlexGrid.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QApplication>
#include <QPushButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QShowEvent>
#include <QStyle>

#include <algorithm>

namespace platform {

namespace {
const QString kBancoAtivo = QStringLiteral(" - Banco ativo: ''");
} // namespace

void colourBySign(QLabel& label, qint64 amount)
{
    const bool negative = amount < 0;
    QPalette p = label.palette();
    p.setColor(QPalette::WindowText, negative ? kNegativeColor : QColor(Qt::black));
    label.setPalette(p);
}

QString bancoAtivoCaption(const QString& title, const QString& drive, const QString& banco)
{
    return title + kBancoAtivo + drive + QLatin1Char('\\') + banco +
           QStringLiteral("''");
}

namespace {
ModalHook& modalHook() { static ModalHook h; return h; }

const char* const kGuardedFromEnter = "vorsalGuardedFromEnter";
const char* const kNotACaption = "vorsalNotACaption";
const char* const kFitted = "vorsalFitted";
} // namespace

Form::Form(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

void Form::Unload()
{
    done(QDialog::Rejected);
}

void Form::Hide()
{
    hiding_ = true;
    QDialog::done(QDialog::Rejected);
    hiding_ = false;
}

void Form::done(int r)
{
    if (hiding_ || !loaded_) {
        QDialog::done(r);
        return;
    }
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel)
        return;
    loaded_ = false;
    QDialog::done(r);
    Forms::release(this);
}

void Form::guardFromEnter(QAbstractButton* button)
{
    // Qt's dialogs let a focused push button take Enter by itself; this one
    // leaves Enter to the window, which decides below.
    if (auto* push = qobject_cast<QPushButton*>(button)) {
        push->setAutoDefault(false);
        push->setDefault(false);
    }
    button->setProperty(kGuardedFromEnter, true);
    if (!watchingFocus_) {
        watchingFocus_ = true;
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget*) {
            if (!movingByEnter_)
                enterMovedTo_ = nullptr;
        });
    }
}

void Form::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        escapePressed();
        event->accept();
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter) {
        QWidget* focused = focusWidget();
        auto* guarded = qobject_cast<QAbstractButton*>(focused);
        if (guarded && guarded->property(kGuardedFromEnter).toBool() && focused != enterMovedTo_ &&
            guarded->isEnabled()) {
            event->accept();
            guarded->click();
            return;
        }
    }
    if (enterAsTab_ && enter) {
        movingByEnter_ = true;
        focusNextChild();
        movingByEnter_ = false;
        enterMovedTo_ = focusWidget();
        event->accept();
        return;
    }
    // Keep Qt's dialog handling of Return (default button) but never let it
    // close the window behind the program's back.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Form::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        Form_Activate();
        // What the window filled in as it came may have widened it.
        if (isLoaded() && property(kFitted).toBool())
            fitOnScreen(*this);
    }
}

void Form::closeEvent(QCloseEvent* event)
{
    // The close box unloads the window like Escape does; a cancelled unload
    // keeps it open.
    if (loaded_ && !hiding_) {
        bool cancel = false;
        Form_Unload(cancel);
        if (cancel) {
            event->ignore();
            return;
        }
        loaded_ = false;
        event->accept();
        QDialog::done(QDialog::Rejected);
        Forms::release(this);
        return;
    }
    QDialog::closeEvent(event);
}

MainForm::MainForm(QWidget* parent) : QMainWindow(parent) {}

namespace {
// Captions and names are given once, when a window is first shown.
void tieAndNameOnce(QWidget& window)
{
    if (window.property("vorsalCaptionsTied").toBool())
        return;
    window.setProperty("vorsalCaptionsTied", true);
    tieCaptions(window);
    nameControls(window);
}
} // namespace

void MainForm::showEvent(QShowEvent* event)
{
    tieAndNameOnce(*this);
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        Form_Activate();
}

std::unordered_map<std::type_index, QWidget*>& Forms::registry()
{
    static std::unordered_map<std::type_index, QWidget*> r;
    return r;
}

void Forms::release(QWidget* form)
{
    for (auto& [type, slot] : registry())
        if (slot == form) {
            slot = nullptr;
            form->deleteLater();
        }
}

void Forms::loadFailed(QWidget* form, const std::exception& e)
{
    if (reportFailure(e, true) == Reported::KeepWindow)
        return;
    if (auto* f = dynamic_cast<FormHooks*>(form))
        f->loaded_ = false;
    release(form);
    throw;
}

void Forms::clear()
{
    std::vector<QWidget*> all;
    for (auto& [type, slot] : registry())
        if (slot) {
            all.push_back(slot);
            slot = nullptr;
        }
    registry().clear();
    for (QWidget* w : all) {
        if (auto* f = dynamic_cast<FormHooks*>(w))
            f->loaded_ = false;
        delete w;
    }
}

void Forms::unloadHidden()
{
    // Gathered first: an unload may load another window into the registry.
    std::vector<Form*> hidden;
    for (auto& [type, slot] : registry())
        if (auto* form = dynamic_cast<Form*>(slot); form && !form->isVisible())
            hidden.push_back(form);
    for (Form* form : hidden)
        if (form->isLoaded())
            form->Unload();
}

void Forms::showModalForm(Form& form) { showModal(form); }

namespace {
// The layout, at any depth under root, that holds the widget.
QLayout* layoutHolding(QLayout* root, QWidget* widget, int& index)
{
    if (!root)
        return nullptr;
    for (int i = 0; i < root->count(); ++i) {
        QLayoutItem* item = root->itemAt(i);
        if (item->widget() == widget) {
            index = i;
            return root;
        }
        if (QLayout* inner = item->layout())
            if (QLayout* found = layoutHolding(inner, widget, index))
                return found;
    }
    return nullptr;
}

// A label the user clicks (a link-like step "<<Mês") is no caption, and
// stands between a caption and its box.
bool clickable(const QWidget* w)
{
    return qobject_cast<const QLabel*>(w) && w->testAttribute(Qt::WA_SetCursor) &&
           w->cursor().shape() == Qt::PointingHandCursor;
}

// A control a caption can name: one that takes the focus and carries no
// text of its own.
QWidget* boxIn(QLayoutItem* item)
{
    if (!item)
        return nullptr;
    if (QLayout* inner = item->layout()) {
        for (int i = 0; i < inner->count(); ++i) {
            QLayoutItem* first = inner->itemAt(i);
            if (first->spacerItem() || clickable(first->widget()))
                continue;
            return boxIn(first);
        }
        return nullptr;
    }
    QWidget* w = item->widget();
    auto* label = qobject_cast<QLabel*>(w);
    if (!w || qobject_cast<QAbstractButton*>(w) || (label && !isResult(*label)) || !(w->focusPolicy() & Qt::TabFocus))
        return nullptr;
    return w;
}

QWidget* boxAfter(QLayout* layout, int index)
{
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        int r, c, rs, cs;
        grid->getItemPosition(index, &r, &c, &rs, &cs);
        // The cell that starts right of the caption, past clickable labels,
        // or else the one that starts right under it.
        auto startsAt = [grid](int row, int col) -> QLayoutItem* {
            QLayoutItem* item = grid->itemAtPosition(row, col);
            if (!item)
                return nullptr;
            int ir, ic, irs, ics;
            grid->getItemPosition(grid->indexOf(item), &ir, &ic, &irs, &ics);
            return ir == row && ic == col ? item : nullptr;
        };
        for (int col = c + cs; col < grid->columnCount(); ++col) {
            QLayoutItem* item = startsAt(r, col);
            if (item && clickable(item->widget()))
                continue;
            if (QWidget* w = boxIn(item))
                return w;
            break;
        }
        return boxIn(startsAt(r + rs, c));
    }
    for (int i = index + 1; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->spacerItem() || clickable(item->widget()))
            continue;
        return boxIn(item);
    }
    return nullptr;
}
} // namespace

void notACaption(QLabel& label) { label.setProperty(kNotACaption, true); }

void tieCaptions(QWidget& window)
{
    // A box with a caption and a clickable label before it ("Data Inicial",
    // "<<Mês", the box) is named by the caption; a clickable label alone
    // before a box is its caption.
    QHash<QWidget*, QLabel*> captions;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->buddy() || isResult(*label) || label->text().trimmed().isEmpty() || !label->parentWidget() ||
            label->property(kNotACaption).toBool())
            continue;
        int index = -1;
        QLayout* layout = layoutHolding(label->parentWidget()->layout(), label, index);
        if (!layout)
            continue;
        QWidget* box = boxAfter(layout, index);
        if (!box)
            continue;
        QLabel*& caption = captions[box];
        if (!caption || (clickable(caption) && !clickable(label)))
            caption = label;
    }
    for (auto it = captions.cbegin(); it != captions.cend(); ++it)
        it.value()->setBuddy(it.key());
}

QList<QWidget*> keyboardControls(QWidget& window)
{
    QList<QWidget*> r;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || w->isWindow())
            continue;
        if (qobject_cast<QComboBox*>(w->parentWidget()) || qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
            continue;
        r.append(w);
    }
    return r;
}

namespace {
// A caption as spoken: its "&" marks dropped, "&&" kept as one "&".
QString spoken(const QString& caption)
{
    QString r;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&'))
                r += caption[++i];
            continue;
        }
        r += caption[i];
    }
    return r.simplified();
}

// Boxes the user types into or chooses from, and the results a window
// shows: named by their own caption.
bool isBox(const QWidget* w)
{
    auto* label = qobject_cast<const QLabel*>(w);
    return (label && isResult(*label)) || qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w);
}

QString frameTitle(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (auto* frame = qobject_cast<const QGroupBox*>(p))
            if (!spoken(frame->title()).isEmpty())
                return spoken(frame->title());
    return QString();
}

const char* const kNamedByCaption = "vorsalNamedByCaption";
} // namespace

void nameControls(QWidget& window)
{
    QHash<QWidget*, QLabel*> captions;
    for (QLabel* label : window.findChildren<QLabel*>())
        if (label->buddy() && !spoken(label->text()).isEmpty())
            captions.insert(label->buddy(), label);
    for (QWidget* w : keyboardControls(window)) {
        QLabel* caption = captions.value(w);
        // A name taken from a caption follows the caption when the window
        // rewrites it and names its controls again.
        if (caption && w->property(kNamedByCaption).toBool())
            w->setAccessibleName(QString());
        if (auto* list = qobject_cast<QComboBox*>(w))
            speakValue(*list);
        if (w->accessibleName().isEmpty()) {
            QString name;
            auto* button = qobject_cast<QAbstractButton*>(w);
            if (caption) {
                name = spoken(caption->text());
                w->setProperty(kNamedByCaption, true);
            } else if (button)
                name = spoken(button->text()).isEmpty() ? spoken(button->toolTip()) : QString();
            else if (!isBox(w)) {
                // The window's title without the account it works on.
                name = frameTitle(w, &window);
                if (name.isEmpty())
                    name = spoken(window.windowTitle().section(kBancoAtivo, 0, 0));
            }
            if (!name.isEmpty())
                w->setAccessibleName(name);
        }
        // A drop-down list says its value where others say their name; its
        // name reaches the screen reader as the caption it is labelled by.
        if (qobject_cast<QComboBox*>(w) && !caption && !w->accessibleName().isEmpty()) {
            auto* unseen = new QLabel(w->accessibleName(), w->parentWidget());
            unseen->setBuddy(w);
            unseen->hide();
        }
    }
}

namespace {
QRect& areaOverride() { static QRect r; return r; }
} // namespace

void setAvailableAreaOverride(const QRect& area) { areaOverride() = area; }

QRect availableArea(const QWidget* window)
{
    if (!areaOverride().isEmpty())
        return areaOverride();
    const QScreen* screen = window ? window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QMargins frameMargins(const QWidget* window)
{
    // A title bar as tall as the style draws one, or as the title's text
    // with room around it, and thin borders; or the frame itself once the
    // window was shown with a larger one. The same before and after the
    // window is shown, so that fitting it again does not move it.
    const int titulo = std::max(window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window),
                                2 * QFontMetrics(QApplication::font()).height() + 8);
    const int borda = 4;
    QMargins m(borda, titulo + borda, borda, borda);
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    if (window->isVisible() && frame != client) {
        m.setLeft(std::max(m.left(), client.left() - frame.left()));
        m.setTop(std::max(m.top(), client.top() - frame.top()));
        m.setRight(std::max(m.right(), frame.right() - client.right()));
        m.setBottom(std::max(m.bottom(), frame.bottom() - client.bottom()));
    }
    return m;
}

namespace {
const char* const kFullHeight = "vorsalFullHeight";
const char* const kFloorHeight = "vorsalFloorHeight";
const char* const kAcross = "vorsalGivesWayAcross";
const char* const kScrolls = "vorsalScrolls";

// The layout of what the window shows: inside its scrolling frame once it
// has one.
QLayout* contentLayout(QWidget& window)
{
    if (window.property(kScrolls).toBool())
        if (auto* scroll = window.findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly))
            if (scroll->widget())
                return scroll->widget()->layout();
    return window.layout();
}

// The least size the window's content takes now. A part's new size reaches
// the window through every frame around it.
QSize leastSize(QWidget& window)
{
    for (QWidget* w : window.findChildren<QWidget*>())
        if (QLayout* inner = w->layout()) {
            inner->invalidate();
            w->updateGeometry();
        }
    QLayout* l = contentLayout(window);
    l->invalidate();
    l->activate();
    return l->totalMinimumSize();
}

int leastWidth(QWidget& window) { return leastSize(window).width(); }

// The rows of panels side by side where the window fits the screen's width;
// else one under the other, the first marked first, as few as it takes.
void giveWayAcross(QWidget& window, int room)
{
    if (!window.layout())
        return;
    QList<QBoxLayout*> rows;
    for (QBoxLayout* l : window.findChildren<QBoxLayout*>())
        if (l->property(kAcross).isValid())
            rows.append(l);
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end(), [](const QBoxLayout* a, const QBoxLayout* b) {
        return a->property(kAcross).toInt() < b->property(kAcross).toInt();
    });
    for (QBoxLayout* l : rows)
        l->setDirection(QBoxLayout::LeftToRight);
    for (QBoxLayout* l : rows) {
        if (leastWidth(window) <= room)
            return;
        l->setDirection(QBoxLayout::TopToBottom);
    }
    leastWidth(window);
}

int leastHeight(QWidget& window) { return leastSize(window).height(); }

// The parts that give way take their full height where the window fits, and
// else the same share of what each may give, the least that lets it fit.
void giveWay(QWidget& window, int room)
{
    if (!window.layout())
        return;
    QList<QWidget*> parts;
    for (QWidget* w : window.findChildren<QWidget*>())
        if (w->property(kFullHeight).isValid())
            parts.append(w);
    QList<QLayout*> rows;
    for (QLayout* l : window.findChildren<QLayout*>())
        if (l->property(kFullHeight).isValid())
            rows.append(l);
    if (parts.isEmpty() && rows.isEmpty())
        return;
    const auto share = [&parts, &rows](int per1000) {
        const auto part = [per1000](const QObject* o) {
            const int full = o->property(kFullHeight).toInt();
            const int floor = o->property(kFloorHeight).toInt();
            return floor + (full - floor) * per1000 / 1000;
        };
        for (QWidget* w : parts)
            w->setMinimumHeight(part(w));
        for (QLayout* l : rows) {
            if (auto* grid = qobject_cast<QGridLayout*>(l))
                grid->setVerticalSpacing(part(l));
            else
                l->setSpacing(part(l));
        }
    };
    share(1000);
    if (leastHeight(window) <= room)
        return;
    int low = 0, high = 1000;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        share(mid);
        if (leastHeight(window) <= room)
            low = mid;
        else
            high = mid - 1;
    }
    share(low);
    leastHeight(window);
}
} // namespace

void givesWay(QWidget& part, int floor)
{
    // A grid keeps its least rows in sight.
    if (auto* grid = qobject_cast<FlexGrid*>(&part))
        floor = std::max(floor, grid->leastHeight());
    const int full = std::max(part.minimumHeight(), part.minimumSizeHint().height());
    part.setProperty(kFullHeight, full);
    part.setProperty(kFloorHeight, std::min(floor, full));
}

void givesWay(QLayout& rows, int floor)
{
    auto* grid = qobject_cast<QGridLayout*>(&rows);
    int full = grid ? grid->verticalSpacing() : rows.spacing();
    if (full < 0) {
        const QWidget* w = rows.parentWidget();
        full = (w ? w->style() : QApplication::style())->pixelMetric(QStyle::PM_LayoutVerticalSpacing, nullptr, w);
    }
    rows.setProperty(kFullHeight, full);
    rows.setProperty(kFloorHeight, std::min(floor, full));
}

void bringIntoView(QWidget& part)
{
    for (QWidget* w = part.parentWidget(); w; w = w->parentWidget())
        if (auto* scroll = qobject_cast<QScrollArea*>(w)) {
            scroll->ensureWidgetVisible(&part, 0, 0);
            return;
        }
}

void givesWayAcross(QBoxLayout& row)
{
    static int order = 0;
    row.setProperty(kAcross, ++order);
}

void fitOnScreen(QWidget& window)
{
    const QRect area = availableArea(&window);
    const QMargins m = frameMargins(&window);
    const QSize room(area.width() - m.left() - m.right(), area.height() - m.top() - m.bottom());
    window.setProperty(kFitted, true);
    giveWayAcross(window, room.width());
    giveWay(window, room.height());
    // The layout sets the least size the window may take.
    if (QLayout* l = window.layout())
        l->activate();
    // A window that still needs more than the screen holds scrolls: its
    // parts stay whole, each in sight as Tab reaches it.
    if (QLayout* l = window.layout(); l && !window.property(kScrolls).toBool() &&
                                      (l->totalMinimumSize().width() > room.width() ||
                                       l->totalMinimumSize().height() > room.height())) {
        window.setProperty(kScrolls, true);
        // The box the window chose to start in keeps the focus.
        QPointer<QWidget> focused = window.focusWidget();
        // The size the window asked for, as far as the screen lets it.
        const QSize asked = window.size();
        auto* inner = new QWidget;
        inner->setLayout(l);
        auto* scroll = new QScrollArea(&window);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        scroll->setFocusPolicy(Qt::NoFocus);
        scroll->setWidget(inner);
        auto* outer = new QVBoxLayout(&window);
        outer->setContentsMargins(0, 0, 0, 0);
        outer->addWidget(scroll);
        // As large as its contents, or as it asked to be, as far as the
        // screen lets it.
        QSize wanted = (inner->minimumSizeHint() + QSize(scroll->verticalScrollBar()->sizeHint().width(),
                                                         scroll->horizontalScrollBar()->sizeHint().height()))
                           .expandedTo(asked);
        outer->activate();
        window.resize(wanted.boundedTo(room));
        if (window.isVisible())
            inner->show();
        if (focused)
            focused->setFocus();
    }
    QSize size = window.size();
    if (size.width() > room.width() || size.height() > room.height()) {
        size = size.boundedTo(room).expandedTo(window.minimumSize());
        window.resize(size);
        size = window.size();
    }
    // The frame's top left corner, kept inside the area; a window whose
    // layout needs more than the area starts at its top left.
    QRect frame(window.pos(), QSize(size.width() + m.left() + m.right(), size.height() + m.top() + m.bottom()));
    if (!window.testAttribute(Qt::WA_Moved))
        frame.moveCenter(area.center());
    frame.moveRight(std::min(frame.right(), area.right()));
    frame.moveBottom(std::min(frame.bottom(), area.bottom()));
    frame.moveLeft(std::max(frame.left(), area.left()));
    frame.moveTop(std::max(frame.top(), area.top()));
    window.move(frame.topLeft());
}

void setModalHook(ModalHook hook) { modalHook() = std::move(hook); }

void showModal(Form& form)
{
    if (!form.isLoaded()) {
        // A window unloaded by its own load cannot be shown.
        return;
    }
    tieAndNameOnce(form);
    // A window designed for a large screen still fits a smaller one.
    fitOnScreen(form);
    // When the window closes, the keyboard goes back where it came from,
    // and a screen reader says where that is.
    const QPointer<QWidget> opener = QApplication::focusWidget();
    const auto giveBack = [&opener] {
        if (!opener || !opener->isVisible() || !opener->isEnabled())
            return;
        opener->activateWindow();
        QApplication::setActiveWindow(opener->window());
        opener->setFocus(Qt::OtherFocusReason);
    };
    if (modalHook()) {
        form.show();
        form.activateWindow();
        QApplication::setActiveWindow(&form);
        modalHook()(form);
        if (form.isLoaded() && form.isVisible())
            form.Hide();
        giveBack();
        return;
    }
    form.setWindowModality(Qt::ApplicationModal);
    form.exec();
    giveBack();
}

} // namespace platform
