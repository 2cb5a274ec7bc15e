#pragma once
// Query by description text: the entries whose description starts with,
// contains or equals a typed pattern, optionally within a period of due
// dates and for one group letter; marking and summing values, monthly
// subtotals and the ordering dialog.
#include "platform/Form.h"
#include "queries/GradeConsulta.h"

#include <array>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace platform {
class FlexGrid;
class MaskEdBox;
} // namespace platform

class frmConsHistorico : public platform::Form {
    Q_OBJECT
public:
    // The name this window writes into NomeConsultaAtiva: the entry editor
    // refreshes it after a save, and no other window answers to it.
    static const QString kNomeConsulta;

    explicit frmConsHistorico(QWidget* parent = nullptr);

    // Controls.
    std::array<QRadioButton*, 3> optConsulta{};  // 0 "Comece com:", 1 "Contenha:", 2 "Exatamente:"
    QLineEdit* txtConsulta = nullptr;
    QLabel* txtDataI = nullptr;  // "Data Inicial"
    QLabel* txtDataF = nullptr;  // "Data Final"
    platform::MaskEdBox* txtDataVen1 = nullptr;
    platform::MaskEdBox* txtDataVen2 = nullptr;
    QComboBox* txtFiltro = nullptr;    // "", "A" .. "Z"
    QComboBox* txtDespesa = nullptr;   // hidden: every classification's name
    QComboBox* txtCodDesp = nullptr;   // hidden: the codes, item for item
    QPushButton* cmdConsulta = nullptr;
    QPushButton* cmdSubTotal = nullptr;
    QPushButton* cmdOrdem = nullptr;
    QPushButton* cmdApagar = nullptr;
    QToolButton* cmdFecha = nullptr;
    platform::FlexGrid* flxConsulta = nullptr;  // layout B
    QLabel* txtLanc = nullptr;
    QLabel* txtSaldo2 = nullptr;

    // The ORDER BY text of this window's queries, written by the ordering
    // dialog, and the running sum of the summing keys; both last for the
    // whole run.
    static QString ClausulaOrdem;
    static data::Centavos SomaValores;

    void Form_Load() override;
    void Form_Activate() override;

    // Handlers.
    void cmdConsulta_Click();
    void cmdSubTotal_Click();
    void cmdOrdem_Click();
    void cmdApagar_Click();
    void cmdFecha_Click();
    void optConsulta_Click(int index);
    void txtDataI_Click();
    void txtDataF_Click();
    void flxConsulta_DblClick();
    void flxConsulta_KeyDown(QKeyEvent* event);
    void flxConsulta_MouseDown(int button);

    // The monthly-subtotal view of the current inputs.
    void Lancamentos();
    // The number of month runs of the current selection.
    void ContaSaldo(double& quantos);

    queries::GradeConsulta& grade() { return *grade_; }

private:
    // The entries the current inputs select, in the window's order; the
    // period only when both boxes hold valid dates.
    std::vector<data::LinhaConsulta> ler();

    queries::GradeConsulta* grade_ = nullptr;
};
