#pragma once
// The posting window: new entries one after another, singly with "Gravar"
// or as monthly instalments with "&Gerar Parcelas". It only adds rows and
// stays open after each, ready for the next entry.
#include "entries/CamposLancamento.h"
#include "platform/Form.h"

class QPushButton;

class frmLancar : public platform::Form, public entries::CamposLancamento {
    Q_OBJECT
public:
    explicit frmLancar(QWidget* parent = nullptr);

    QPushButton* cmdGravaLan = nullptr;  // "Gravar"
    QPushButton* cmdParcelas = nullptr;  // "&Gerar Parcelas"

    // Selects "Saída", fills the picker grid and names the active account.
    void Form_Load() override;

    // Handlers.
    void cmdGravaLan_Click();
    void cmdParcelas_Click();

private:
    void prepararProximo();
};
