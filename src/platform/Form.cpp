#include "platform/Form.h"

#include "platform/Application.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QShowEvent>

namespace platform {

QString bancoAtivoCaption(const QString& title, const QString& drive, const QString& banco)
{
    return title + QStringLiteral(" - Banco ativo: ''") + drive + QLatin1Char('\\') + banco +
           QStringLiteral("''");
}

namespace {
ModalHook& modalHook() { static ModalHook h; return h; }
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

void Form::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        escapePressed();
        event->accept();
        return;
    }
    if (enterAsTab_ && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        focusNextChild();
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
    if (!event->spontaneous())
        Form_Activate();
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

void MainForm::showEvent(QShowEvent* event)
{
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

void Forms::showModalForm(Form& form) { showModal(form); }

void setModalHook(ModalHook hook) { modalHook() = std::move(hook); }

void showModal(Form& form)
{
    if (!form.isLoaded()) {
        // A window unloaded by its own load cannot be shown.
        return;
    }
    if (modalHook()) {
        form.show();
        form.activateWindow();
        QApplication::setActiveWindow(&form);
        modalHook()(form);
        if (form.isLoaded() && form.isVisible())
            form.Hide();
        return;
    }
    // A window designed for a large screen still fits a smaller one.
    if (const QScreen* screen = form.screen()) {
        const QSize room = screen->availableGeometry().size();
        if (form.width() > room.width() || form.height() > room.height())
            form.resize(form.size().boundedTo(room));
    }
    form.setWindowModality(Qt::ApplicationModal);
    form.exec();
}

} // namespace platform
