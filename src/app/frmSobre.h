#pragma once
// The About window.
#include "platform/Form.h"

class QLabel;

class frmSobre : public platform::Form {
    Q_OBJECT
public:
    explicit frmSobre(QWidget* parent = nullptr);

    QLabel* lblCreditos = nullptr;
    QLabel* lblVersao = nullptr;
    QLabel* lblDistribuicao = nullptr;
};
