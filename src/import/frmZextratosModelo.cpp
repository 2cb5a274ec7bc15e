#include "import/frmZextratosModelo.h"

#include "import/ModelosExtrato.h"

#include <QKeyEvent>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

frmZextratosModelo::frmZextratosModelo(QWidget* parent) : Form(parent)
{
    setWindowTitle(QStringLiteral("MODELOS DE EXTRATOS"));
    QPalette fundo = palette();
    fundo.setColor(QPalette::Window, QColor(0, 128, 128));
    setPalette(fundo);
    setAutoFillBackground(true);

    // 16515 by 9855 twips, 360 twips in from the edges, at 15 twips a pixel.
    Image1 = new QLabel(this);
    Image1->setFixedSize(1101, 657);
    Image1->setScaledContents(true);
    Image1->setPixmap(importacao::desenharModelosExtrato());
    // On a screen smaller than the drawing, the drawing scrolls.
    auto* rolagem = new QScrollArea(this);
    rolagem->setFrameShape(QFrame::NoFrame);
    rolagem->setWidget(Image1);
    rolagem->setAlignment(Qt::AlignCenter);
    rolagem->setMinimumSize(320, 240);
    auto* janela = new QVBoxLayout(this);
    janela->setContentsMargins(24, 24, 15, 26);
    janela->addWidget(rolagem);
    resize(Image1->width() + 24 + 15 + 2, Image1->height() + 24 + 26 + 2);
}

void frmZextratosModelo::Form_KeyDown(int keyCode)
{
    if (keyCode == Qt::Key_Escape)
        Unload();
    else if (keyCode == Qt::Key_Return || keyCode == Qt::Key_Enter)
        focusNextChild();
}

void frmZextratosModelo::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
        Form_KeyDown(key);
        event->accept();
        return;
    }
    Form::keyPressEvent(event);
}
