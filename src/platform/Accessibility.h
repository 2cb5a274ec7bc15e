#pragma once
// What a screen reader is told beyond what Qt tells it by itself (each an
// interface of the program's own in the place of Qt's): a password
// box tells only that a character came, a drop-down list says its value, and
// a label that shows what a window computed is heard as a read-only field.
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QWidget;

namespace platform {

// The program's own interfaces, in the place of Qt's, for the widgets a
// screen reader reads as text: every text box is heard as it shows its
// text, whole. Installed once, as the application starts.
void installReaderInterfaces();
// Whether the Qt the program runs on is the one its password filter was
// proven with a screen reader on (the one it was built for).
bool readerFilterProven();

// While the box lives, its text, typed, removed or replaced, reaches the
// screen reader as the box shows it: one mask character for each.
void hideFromReader(QLineEdit& passwordBox);

// A list whose current item a screen reader sees as focused only while the
// list has the keyboard (Qt's own list calls it focused whenever it is
// current), for a list that keeps its choice while another box beside it
// takes the keys.
void focusedOnlyWithKeyboard(QListWidget& list);

// Tells a screen reader a short message without moving the focus: a
// notification, shown for a moment out of sight in the window.
void announce(QWidget& window, const QString& message);

// A label that shows what the window computed (a total, a balance, a
// result): Tab reaches it and a screen reader hears it as a read-only field
// named by its caption (tieCaptions, nameControls), whose value is what the
// label shows. It is kept as wide as `widest` (its largest value, each
// digit as wide as the font's widest) in whatever font it takes; a sum of
// amounts when none is given.
void showsResult(QLabel& label, const QString& widest = QString());
bool isResult(const QLabel& label);
QString resultWidest(const QLabel& label);

// A drop-down list that is not typed into tells a screen reader its value:
// as its text when it takes the focus, and as the line its caret moved to
// when the value changes while it has the focus. nameControls runs it on
// every list of a window.
void speakValue(QComboBox& list);

} // namespace platform
