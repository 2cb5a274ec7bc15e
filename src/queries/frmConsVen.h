#pragma once
// Query by date: the entries whose due date, or whose posting date, lies in
// a period, for one side or both, with their classification names, the
// total, and a running sum the user builds with keys.
#include "platform/Form.h"
#include "queries/GradeConsulta.h"

#include <array>

class QComboBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace platform {
class FlexGrid;
class MaskEdBox;
} // namespace platform

class frmConsVen : public platform::Form {
    Q_OBJECT
public:
    // The name this window writes into NomeConsultaAtiva: the entry editor
    // refreshes it after a save, and no other window answers to it.
    static const QString kNomeConsulta;

    explicit frmConsVen(QWidget* parent = nullptr);

    // Controls.
    std::array<QRadioButton*, 2> optConsulta{};  // 0 "Vencimento", 1 "Lançamento"
    QLabel* txtDataI = nullptr;                  // "Data Inicial"
    QLabel* txtDataF = nullptr;                  // "Data Final"
    platform::MaskEdBox* txtData1 = nullptr;
    platform::MaskEdBox* txtData2 = nullptr;
    QComboBox* txtTipo = nullptr;                // "Entrada", "Saída", "Ambos"
    QPushButton* cmdConsulta = nullptr;
    platform::FlexGrid* flxConsulta = nullptr;   // layout C
    QLabel* txtLanc = nullptr;
    QLabel* txtSaldo2 = nullptr;
    QPushButton* cmdApagar = nullptr;
    QToolButton* cmdFecha = nullptr;

    // The running sum of the summing keys; it lasts for the whole run.
    static data::Centavos SomaValores;

    void Form_Load() override;

    // Handlers.
    void cmdConsulta_Click();
    void flxConsulta_DblClick();
    void flxConsulta_KeyDown(QKeyEvent* event);
    void cmdApagar_Click();
    void txtData1_KeyDown(int key);
    void txtData2_KeyDown(int key);
    void txtDataI_Click();
    void txtDataF_Click();
    void optConsulta_Click(int index);
    void cmdFecha_Click();

    queries::GradeConsulta& grade() { return *grade_; }

private:
    queries::GradeConsulta* grade_ = nullptr;
};
