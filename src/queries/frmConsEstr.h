#pragma once
// Structured query: the entries of a period of due dates, of one side or
// both, optionally of up to three classifications of that side, with their
// count, total, average and largest and smallest values, monthly subtotals
// and the ordering dialog.
#include "platform/Form.h"
#include "queries/GradeConsulta.h"

#include <array>

class QComboBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class QToolButton;

namespace platform {
class FlexGrid;
class MaskEdBox;
} // namespace platform

class frmConsEstr : public platform::Form {
    Q_OBJECT
public:
    // The name this window writes into NomeConsultaAtiva: the entry editor
    // refreshes it after a save, and no other window answers to it.
    static const QString kNomeConsulta;

    explicit frmConsEstr(QWidget* parent = nullptr);

    // Controls.
    QComboBox* txtTipo2 = nullptr;  // "Saída", "Entrada", "Ambos"
    QComboBox* txtDespesa1 = nullptr;
    QComboBox* txtDespesa2 = nullptr;
    QComboBox* txtDespesa3 = nullptr;
    QComboBox* txtCodDesp1 = nullptr;  // hidden: the codes of txtDespesa1, item for item
    QComboBox* txtCodDesp2 = nullptr;
    QComboBox* txtCodDesp3 = nullptr;
    QLabel* lblDataI = nullptr;  // "Data Inicial"
    QLabel* lblDataF = nullptr;  // "Data Final"
    platform::MaskEdBox* txtDataVen1 = nullptr;
    platform::MaskEdBox* txtDataVen2 = nullptr;
    QPushButton* cmdConsulta = nullptr;
    QPushButton* cmdSubTotal = nullptr;
    QPushButton* cmdOrdem = nullptr;
    QPushButton* cmdApagar = nullptr;
    QToolButton* cmdFecha = nullptr;
    platform::FlexGrid* flxConsulta = nullptr;  // layout A
    QLabel* txtLanc = nullptr;
    QLabel* txtSaldo2 = nullptr;
    QLabel* txtMedia = nullptr;
    QLabel* txtMaior = nullptr;
    QLabel* txtMenor = nullptr;

    // The Lancamentos.Tipo of the chosen side: "1" Saída, "2" Entrada, "0" Ambos.
    QString TipoConsulta;
    // The ORDER BY text of this window's queries, written by the ordering
    // dialog; it lasts for the whole run.
    static QString ClausulaOrdem;

    void Form_Load() override;

    // Handlers.
    void txtTipo2_Click();
    void txtDespesa1_Click();
    void txtDespesa2_Click();
    void txtDespesa3_Click();
    void cmdConsulta_Click();
    void cmdSubTotal_Click();
    void cmdOrdem_Click();
    void cmdApagar_Click();
    void cmdFecha_Click();
    void lblDataI_Click();
    void lblDataF_Click();
    void txtDataVen1_KeyDown(int key);
    void txtDataVen2_KeyDown(int key);
    void flxConsulta_DblClick();
    void flxConsulta_KeyDown(QKeyEvent* event);
    void flxConsulta_MouseDown(int button);

    // The number of month runs of the selection in due-date order.
    void ContaSaldo(double& quantos);

    queries::GradeConsulta& grade() { return *grade_; }

private:
    // Both date boxes must hold dates; false after telling the user.
    bool conferirDatas();
    // The entries of the period, side and classifications chosen, in an order.
    std::vector<data::LinhaConsulta> ler(QString& ordem);
    void mostrarMaiorEMenor(const std::vector<data::LinhaConsulta>& linhas);

    queries::GradeConsulta* grade_ = nullptr;
};
