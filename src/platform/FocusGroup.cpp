#include "platform/FocusGroup.h"

#include <QAbstractButton>
#include <QAction>
#include <QKeyEvent>
#include <QToolBar>
#include <QToolTip>
#include <QWidget>

namespace platform {

FocusGroup::FocusGroup(QList<QWidget*> members, int columns, std::function<void(int)> press, QObject* parent)
    : QObject(parent), members_(std::move(members)), columns_(std::max(1, columns)), press_(std::move(press))
{
    for (QWidget* w : members_) {
        w->setFocusPolicy(Qt::FocusPolicy(w->focusPolicy() & ~Qt::TabFocus));
        w->installEventFilter(this);
    }
    if (!members_.isEmpty())
        setTabStop(0);
}

void FocusGroup::setTabStop(int index)
{
    if (index < 0 || index >= members_.size() || index == tabStop_)
        return;
    if (tabStop_ >= 0) {
        QWidget* old = members_[tabStop_];
        old->setFocusPolicy(Qt::FocusPolicy(old->focusPolicy() & ~Qt::TabFocus));
    }
    tabStop_ = index;
    QWidget* w = members_[index];
    w->setFocusPolicy(Qt::FocusPolicy(w->focusPolicy() | Qt::TabFocus));
}

// Moves by step, passing over members that cannot take the focus; stops at
// the group's edges.
void FocusGroup::move(int from, int step)
{
    for (int i = from + step; i >= 0 && i < members_.size(); i += step) {
        QWidget* w = members_[i];
        if (w->isEnabled() && w->isVisible()) {
            setTabStop(i);
            w->setFocus(Qt::TabFocusReason);
            return;
        }
        if (std::abs(step) > 1)
            return;
    }
}

bool FocusGroup::eventFilter(QObject* watched, QEvent* event)
{
    const int index = members_.indexOf(static_cast<QWidget*>(watched));
    if (index < 0)
        return QObject::eventFilter(watched, event);
    QWidget* w = members_[index];
    if (event->type() == QEvent::FocusIn) {
        setTabStop(index);
    } else if (event->type() == QEvent::FocusOut) {
        QToolTip::hideText();
    } else if (event->type() == QEvent::KeyRelease) {
        // A tool tip goes at the next key, its release included: the one of
        // the key that brought the focus here shows it.
        const int k = static_cast<QKeyEvent*>(event)->key();
        const bool navega = k == Qt::Key_Tab || k == Qt::Key_Backtab || k == Qt::Key_Left || k == Qt::Key_Right ||
                            k == Qt::Key_Up || k == Qt::Key_Down;
        if (navega && w->hasFocus() && !w->toolTip().isEmpty())
            QToolTip::showText(w->mapToGlobal(QPoint(0, w->height())), w->toolTip(), w);
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        switch (key->key()) {
        case Qt::Key_Left: move(index, -1); return true;
        case Qt::Key_Right: move(index, 1); return true;
        case Qt::Key_Up: move(index, -columns_); return true;
        case Qt::Key_Down: move(index, columns_); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (press_)
                press_(index);
            return true;
        default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}

FocusGroup* reachToolBarByKeyboard(QToolBar& bar)
{
    QList<QWidget*> buttons;
    QList<QAbstractButton*> pressable;
    for (QAction* a : bar.actions())
        if (auto* b = qobject_cast<QAbstractButton*>(bar.widgetForAction(a))) {
            // A toolbar's buttons take no focus by default; Space presses
            // a button that has it.
            b->setFocusPolicy(Qt::TabFocus);
            buttons.append(b);
            pressable.append(b);
        }
    return new FocusGroup(buttons, int(buttons.size()), [pressable](int i) { pressable[i]->click(); }, &bar);
}

} // namespace platform
