#pragma once
// A row or a table of controls that is one stop of the window's Tab chain,
// as a toolbar or a calendar is: Tab and Shift+Tab enter it on the control
// last in focus and leave it, the arrow keys move among its controls, and
// Enter presses the one in focus. A control that gets the focus by the
// keyboard shows its tool tip, as the pointer resting on it would.
#include <QList>
#include <QObject>
#include <functional>

class QToolBar;
class QWidget;

namespace platform {

class FocusGroup : public QObject {
    Q_OBJECT
public:
    // members in reading order, `columns` to a row; `press` runs on Enter
    // with the member's index. The members keep their mouse focus as they
    // had it.
    FocusGroup(QList<QWidget*> members, int columns, std::function<void(int)> press, QObject* parent);

    // The member Tab enters the group on.
    void setTabStop(int index);
    const QList<QWidget*>& members() const { return members_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void move(int from, int step);

    QList<QWidget*> members_;
    int columns_;
    std::function<void(int)> press_;
    int tabStop_ = -1;
};

// Makes a toolbar's buttons reachable by the keyboard as one focus group;
// Enter or Space presses the button in focus. Returns the group.
FocusGroup* reachToolBarByKeyboard(QToolBar& bar);

} // namespace platform
