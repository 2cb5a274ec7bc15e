#pragma once
// Changes the login password of the active account, once the current one
// has been confirmed.
#include "platform/Form.h"

#include <array>

class QGroupBox;
class QLineEdit;
class QToolButton;

class frmZAlteraSenha : public platform::Form {
    Q_OBJECT
public:
    explicit frmZAlteraSenha(QWidget* parent = nullptr);

    QString SenhaAtual;

    QGroupBox* fraAtual = nullptr;
    QLineEdit* txtSenhaDig = nullptr;
    QToolButton* cmdOK = nullptr;
    QGroupBox* fraNova = nullptr;
    std::array<QLineEdit*, 2> txtNovaSenha{};  // txtNovaSenha[0] is txtNovaSenha(1)
    QToolButton* cmdAltera = nullptr;

    void Form_Load() override;

    void cmdOK_Click();
    void cmdAltera_Click();
};
