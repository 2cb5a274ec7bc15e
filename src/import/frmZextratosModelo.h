#pragma once
// The picture of the five statement layouts, shown modally from the import
// window's "Ver modelos".
#include "platform/Form.h"

class QKeyEvent;
class QLabel;

class frmZextratosModelo : public platform::Form {
    Q_OBJECT
public:
    explicit frmZextratosModelo(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;

    // Escape closes the window; Enter moves on as Tab does.
    void Form_KeyDown(int keyCode);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
