#pragma once
// The base of every window, the registry that keeps one live instance of
// each window class, and the one road by which a window is shown modally.
#include <QColor>
#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <exception>
#include <functional>
#include <typeindex>
#include <unordered_map>

class QAbstractButton;
class QBoxLayout;
class QLabel;

namespace platform {

// A window's title followed by " - Banco ativo: ''", the drive, "\", the
// account and "''".
// A negative amount or balance is shown in red.
inline const QColor kNegativeColor{255, 0, 0};
// A label that shows an amount: red when the amount is negative (whatever
// its size), black otherwise. The amount is given, not read from the text,
// so the colour holds whatever the text around the number.
void colourBySign(QLabel& label, qint64 amount);

QString bancoAtivoCaption(const QString& title, const QString& drive, const QString& banco);

// Services every window shares; mixed into Form (dialogs) and MainForm.
class FormHooks {
public:
    virtual ~FormHooks() = default;
    // Runs once when the window is loaded (also when another window's access
    // loads it invisibly).
    virtual void Form_Load() {}
    // Runs each time the window is shown.
    virtual void Form_Activate() {}
    // Runs when the window is being unloaded; setting cancel keeps it open.
    virtual void Form_Unload(bool& cancel) { (void)cancel; }

    bool isLoaded() const { return loaded_; }

protected:
    friend class Forms;
    bool loaded_ = false;
};

class Form : public QDialog, public FormHooks {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);

    // Unload Me: runs Form_Unload, closes the window and lets the registry
    // forget it, so the next access loads a fresh one.
    void Unload();
    // Hides the window; it stays loaded and keeps its contents.
    void Hide();

    // Enter moves the focus on, as Tab does, once the focused control has
    // had its chance to handle the key.
    void setEnterAsTab(bool on) { enterAsTab_ = on; }

    // A button whose click deletes or changes many rows. Enter presses it
    // only when the user chose it (Tab, Shift+Tab, the mouse); when Enter
    // itself moved the focus onto it, the next Enter moves on again, so
    // that Enter held through a grid never presses it. Space always does.
    void guardFromEnter(QAbstractButton* button);

    void done(int r) override;

protected:
    // Escape: the default closes the window.
    virtual void escapePressed() { Unload(); }

    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool enterAsTab_ = false;
    bool hiding_ = false;
    // The widget Enter moved the focus to, until the focus moves otherwise.
    QPointer<QWidget> enterMovedTo_;
    bool movingByEnter_ = false;
    bool watchingFocus_ = false;
};

// The main window: the same hooks on a QMainWindow.
class MainForm : public QMainWindow, public FormHooks {
    Q_OBJECT
public:
    explicit MainForm(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

// One live instance of each window class.
class Forms {
public:
    // The loaded instance, loading it (invisibly) first when needed.
    template <class T> static T& get()
    {
        auto& slot = registry()[std::type_index(typeid(T))];
        if (!slot) {
            T* form = new T();
            slot = form;
            form->loaded_ = true;
            try {
                form->Form_Load();
            } catch (const std::exception& e) {
                loadFailed(form, e);
            }
        }
        return *static_cast<T*>(slot);
    }

    template <class T> static bool isLoaded()
    {
        auto it = registry().find(std::type_index(typeid(T)));
        return it != registry().end() && it->second;
    }

    // Unloads the window when it is loaded.
    template <class T> static void unload()
    {
        auto it = registry().find(std::type_index(typeid(T)));
        if (it != registry().end() && it->second)
            if (auto* form = dynamic_cast<Form*>(it->second))
                form->Unload();
    }

    // Loads when needed, then shows modally; returns when it closes.
    template <class T> static void show() { showModalForm(get<T>()); }

    // The registry forgets the window and deletes it once control is back
    // in the event loop.
    static void release(QWidget* form);
    // Deletes every window at once (end of the program, between tests).
    static void clear();
    // Unloads every window loaded out of sight (a refresh loads a window
    // invisibly, and it keeps what it read), as when the account changes.
    static void unloadHidden();

private:
    // A load stopped by a sum that does not fit is told and the window
    // stays, usable for other periods; any other failure unloads the window
    // and goes on to the caller.
    static void loadFailed(QWidget* form, const std::exception& e);
    static void showModalForm(Form& form);
    static std::unordered_map<std::type_index, QWidget*>& registry();
};

// The part of the screen a window may cover (the screen less its panels).
QRect availableArea(const QWidget* window);
// Tests stand in a screen of their own; an empty rectangle restores the
// real one.
void setAvailableAreaOverride(const QRect& area);
// What the window manager adds around a window's client area: the frame
// itself once the window was shown with one, an estimate of a title bar and
// borders before.
QMargins frameMargins(const QWidget* window);
// Shrinks a window (down to what its layout needs) and moves it so that its
// frame, title bar included, lies inside the available area. On a screen too
// short for the window's layout, the parts that give way lose height first.
void fitOnScreen(QWidget& window);
// Marks a part of a window (a chart, a list, a text box) that may lose height
// on a short screen: from its least height as it stands, down to `floor`.
// A grid never goes below its least rows (FlexGrid::leastHeight).
void givesWay(QWidget& part, int floor);
// Marks a layout whose rows may stand closer on a short screen: its vertical
// spacing, from what it stands at down to `floor`.
void givesWay(QLayout& rows, int floor);
// Marks a row of panels that stand one under the other on a screen too
// narrow for them side by side; rows marked first turn first, each only
// while the window is still wider than the screen.
void givesWayAcross(QBoxLayout& row);
// In a window that scrolls as a whole (fitOnScreen on a small screen),
// scrolls so that `part` is in sight; the focus stays where it is.
void bringIntoView(QWidget& part);

// Ties each caption label of a window to the box it names (the next
// focusable control after it in its layout, to its right or below it), so
// that a screen reader names the box by its caption and a caption's "&" key
// reaches the box. Labels already tied, and captions of buttons, stay.
void tieCaptions(QWidget& window);
// A label that stands before several boxes, each named on its own: it names
// none of them.
void notACaption(QLabel& label);

// Names, for a screen reader, every control of a window that the keyboard
// reaches and that the window left unnamed: by the caption tied to it; an
// icon-only button by its tool tip; a grid, a list, a tree or a picture by
// the frame it stands in, or else the window's title. A text box is named
// by its caption only, never by the frame around it. A drop-down list is
// spoken by the caption it is labelled by, so a name the window gave it
// becomes a caption out of sight. A result (showsResult) is named as a box
// is. Run after tieCaptions; showModal and the main window's first showing
// run both; a window that rewrites its captions runs it again, and the names
// it took from them follow.
void nameControls(QWidget& window);
// The controls of a window that Tab can reach (the inner box of a drop-down
// list or a number box is spoken as its owner), hidden ones included.
QList<QWidget*> keyboardControls(QWidget& window);

// Shows a window modally: exec() in the program; a test's hook otherwise.
void showModal(Form& form);

// Tests replace the modal loop: the hook receives the window, already shown
// modelessly, acts on it and closes it. An empty hook restores exec().
using ModalHook = std::function<void(Form&)>;
void setModalHook(ModalHook hook);

} // namespace platform
