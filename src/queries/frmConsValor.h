#pragma once
// Query by value range: the entries of one side whose amount lies between
// two bounds typed without sign, optionally due within a period, with their
// classification names, the count, the total, and a running sum the user
// builds with keys.
#include "platform/Form.h"
#include "queries/GradeConsulta.h"

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace platform {
class FlexGrid;
class MaskEdBox;
} // namespace platform

class frmConsValor : public platform::Form {
    Q_OBJECT
public:
    // The name this window writes into NomeConsultaAtiva: the entry editor
    // refreshes it after a save, and no other window answers to it.
    static const QString kNomeConsulta;

    explicit frmConsValor(QWidget* parent = nullptr);

    // Controls, frame "Consulta por Valor".
    QComboBox* txtTipo = nullptr;    // "Entrada" (0), "Saída" (1)
    QLineEdit* txtValor1 = nullptr;  // "Do Valor"
    QLineEdit* txtValor2 = nullptr;  // "Até o Valor"
    platform::MaskEdBox* txtDataVen1 = nullptr;
    platform::MaskEdBox* txtDataVen2 = nullptr;
    QPushButton* cmdConsulta = nullptr;
    // Frame "Lançamentos".
    platform::FlexGrid* flxConsulta = nullptr;  // layout C
    QLabel* txtLanc = nullptr;
    QLabel* txtSaldo2 = nullptr;
    QPushButton* cmdApagar = nullptr;
    QToolButton* cmdFecha = nullptr;
    // Hidden: every classification's code and name, item for item.
    QComboBox* txtCodDesp = nullptr;
    QComboBox* txtDespesa = nullptr;

    // The ORDER BY text and the running sum of the summing keys; both last
    // for the whole run.
    static QString ClausulaOrdem;
    static data::Centavos SomaValores;

    void Form_Load() override;

    // Handlers.
    void cmdConsulta_Click();
    void txtValor1_LostFocus();
    void txtCodDesp_Click();
    void flxConsulta_DblClick();
    void flxConsulta_KeyDown(QKeyEvent* event);
    void flxConsulta_MouseDown(int button);
    void cmdApagar_Click();
    void cmdFecha_Click();

    queries::GradeConsulta& grade() { return *grade_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    queries::GradeConsulta* grade_ = nullptr;
};
