#include "platform/MsgBox.h"

#include "platform/Form.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QStyle>

#include <algorithm>

namespace platform {
namespace {
MsgHandler& msgHandler() { static MsgHandler h; return h; }
InputHandler& inputHandler() { static InputHandler h; return h; }

QString applicationTitle() { return QStringLiteral("Vorsal"); }

// A box sized for a short text ("1.234,56") leaves its title bar too narrow
// for the title, and the window manager shortens it ("T…"). The title bar's
// font is the window manager's; the application's bold font stands in for
// it, and the frame's icon and buttons take about five title-bar heights.
void larguraParaTitulo(QMessageBox& box)
{
    QFont fonte = QApplication::font();
    fonte.setBold(true);
    const int botoes = 5 * box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    const int largura = QFontMetrics(fonte).horizontalAdvance(box.windowTitle()) + botoes;
    // QMessageBox fixes its own size from its layout, so the minimum width
    // goes into the layout.
    if (auto* grade = qobject_cast<QGridLayout*>(box.layout()))
        grade->addItem(new QSpacerItem(largura, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grade->rowCount(), 0,
                       1, grade->columnCount());
}

// A text taller than the screen leaves the box's end and its buttons off
// the screen. Such a text goes into a scrolling area as tall as the screen
// allows, above the buttons.
void rolagemParaTextoLongo(QMessageBox& box)
{
    auto* rotulo = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    auto* grade = qobject_cast<QGridLayout*>(box.layout());
    if (!rotulo || !grade)
        return;
    const int indice = grade->indexOf(rotulo);
    if (indice < 0)
        return;
    const QRect area = availableArea(box.parentWidget());
    const QMargins moldura = frameMargins(&box);
    // What the box needs besides its text: the frame, the margins, the
    // button row.
    const int botoes = 3 * QFontMetrics(box.font()).height() + 4 * box.style()->pixelMetric(QStyle::PM_LayoutTopMargin);
    const int espaco = area.height() - moldura.top() - moldura.bottom() - botoes;
    const QSize texto = rotulo->sizeHint();
    if (texto.height() <= espaco)
        return;
    int linha, coluna, linhas, colunas;
    grade->getItemPosition(indice, &linha, &coluna, &linhas, &colunas);
    grade->removeWidget(rotulo);
    auto* rolagem = new QScrollArea(&box);
    rolagem->setFrameShape(QFrame::NoFrame);
    rolagem->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rolagem->setWidget(rotulo);
    rolagem->setWidgetResizable(true);
    const int largura = std::min(texto.width() + rolagem->verticalScrollBar()->sizeHint().width(),
                                 area.width() - moldura.left() - moldura.right() - 100);
    rolagem->setFixedSize(largura, std::max(espaco, 3 * QFontMetrics(box.font()).height()));
    grade->addWidget(rolagem, linha, coluna, linhas, colunas);
}
} // namespace

void setMsgBoxHandler(MsgHandler handler) { msgHandler() = std::move(handler); }
void setInputBoxHandler(InputHandler handler) { inputHandler() = std::move(handler); }

int MsgBox(const QString& text, int style, const QString& title)
{
    MsgCall call{text, style, title};
    if (msgHandler())
        return msgHandler()(call);

    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
    // A line may end with CR (as the program's messages do), LF or both: the
    // box breaks each where it ends, and a screen reader hears them as lines
    // rather than run together.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(lines);
    switch (call.icon()) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    QList<QPair<QAbstractButton*, int>> buttons;
    auto add = [&](QMessageBox::StandardButton b, int result) {
        buttons.append({box.addButton(b), result});
    };
    switch (call.buttons()) {
    case vbOKCancel: add(QMessageBox::Ok, vbOK); add(QMessageBox::Cancel, vbCancel); break;
    case vbYesNoCancel:
        add(QMessageBox::Yes, vbYes); add(QMessageBox::No, vbNo); add(QMessageBox::Cancel, vbCancel);
        break;
    case vbYesNo: add(QMessageBox::Yes, vbYes); add(QMessageBox::No, vbNo); break;
    default: add(QMessageBox::Ok, vbOK); break;
    }
    const int defaultIndex = call.defaultSecond() && buttons.size() > 1 ? 1 : 0;
    box.setDefaultButton(qobject_cast<QPushButton*>(buttons[defaultIndex].first));
    if (buttons.size() == 1 || call.buttons() == vbOKCancel || call.buttons() == vbYesNoCancel)
        box.setEscapeButton(buttons.back().first);
    larguraParaTitulo(box);
    rolagemParaTextoLongo(box);
    box.exec();
    for (const auto& [button, result] : buttons)
        if (box.clickedButton() == button)
            return result;
    return call.buttons() == vbYesNo ? vbNo : vbCancel;
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    InputCall call{prompt, title, defaultText};
    if (inputHandler())
        return inputHandler()(call);
    bool ok = false;
    QString text = QInputDialog::getText(QApplication::activeWindow(),
                                         title.isEmpty() ? applicationTitle() : title, prompt,
                                         QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

} // namespace platform
