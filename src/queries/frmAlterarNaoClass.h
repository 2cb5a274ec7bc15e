#pragma once
// Bulk change of unclassified exits: the outgoing entries that still carry
// the plan's catch-all classification, found as the query by description
// finds entries, are moved all at once to one outgoing classification and
// its group.
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

class frmAlterarNaoClass : public platform::Form {
    Q_OBJECT
public:
    explicit frmAlterarNaoClass(QWidget* parent = nullptr);

    // The name this window writes into NomeConsultaAtiva: the entry editor
    // refreshes it after a save, and no other window answers to it.
    static const QString kNomeConsulta;

    // Controls, frame "Consulta por Histórico - saídas não classificadas".
    std::array<QRadioButton*, 3> optConsulta{};  // 0 "Comece com:", 1 "Contenha:", 2 "Exatamente:"
    QLineEdit* txtConsulta = nullptr;
    QComboBox* txtFiltro = nullptr;  // "", "A" .. "Z"
    QLabel* txtDataI = nullptr;      // "Data Inicial"
    QLabel* txtDataF = nullptr;      // "Data Final"
    platform::MaskEdBox* txtDataVen1 = nullptr;
    platform::MaskEdBox* txtDataVen2 = nullptr;
    QPushButton* cmdConsulta = nullptr;
    QPushButton* cmdSubTotal = nullptr;
    QComboBox* txtDespesaPara = nullptr;     // names of the outgoing classifications
    QComboBox* txtCodDespesaPara = nullptr;  // hidden: their codes, item for item
    QLabel* txtConta = nullptr;              // the group of the chosen target
    QPushButton* cmdAlterarMassa = nullptr;
    QPushButton* cmdOrdem = nullptr;
    // Frame "Lançamentos".
    platform::FlexGrid* flxConsulta = nullptr;  // layout B
    QLabel* txtLanc = nullptr;
    QLabel* txtSaldo2 = nullptr;
    QPushButton* cmdApagar = nullptr;
    QToolButton* cmdFecha = nullptr;
    // Hidden.
    QComboBox* txtDespesa = nullptr;  // every classification's name
    QComboBox* txtCodDesp = nullptr;  // their codes, item for item
    QLabel* lblCodNaoClass = nullptr;  // the catch-all code; empty when the plan has none

    // The ORDER BY text of this window's queries and the running sum of the
    // summing keys; both last for the whole run.
    static QString ClausulaOrdem;
    static data::Centavos SomaValores;

    void Form_Load() override;

    // Handlers.
    void cmdConsulta_Click();
    void cmdSubTotal_Click();
    void txtDespesaPara_Click();
    void txtCodDespesaPara_Click();
    void txtCodDesp_Click();
    void cmdAlterarMassa_Click();
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
    // The description selection of the current inputs, narrowed to
    // outgoing entries of the catch-all classification.
    data::Selecao selecao() const;
    // Its entries, in the window's order.
    std::vector<data::LinhaConsulta> ler();

    queries::GradeConsulta* grade_ = nullptr;
};
