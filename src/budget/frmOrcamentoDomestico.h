#pragma once
// The household budget: the three yearly income amounts, one line per
// outgoing classification (start day and month, description, recurrence,
// value per occurrence), the yearly totals and the final balance; posting a
// budget year as forecast entries and copying the lines into the watch list.
#include "data/Money.h"
#include "data/Orcamento.h"
#include "platform/Form.h"

#include <vector>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class FlexGrid;
class MaskEdBox;
} // namespace platform

class frmOrcamentoDomestico : public platform::Form {
    Q_OBJECT
public:
    explicit frmOrcamentoDomestico(QWidget* parent = nullptr);

    // Controls.
    QLabel* lblOrcamento = nullptr;
    QLineEdit* txtAdiantamento = nullptr;    // row 1000
    QLineEdit* txtSalario = nullptr;         // row 2000
    QLineEdit* txtOutrasEntradas = nullptr;  // row 3000
    QPushButton* cmdAtualizar = nullptr;
    QLabel* txtTotalEntrada = nullptr;
    QLabel* txtTotalSaida = nullptr;
    QLabel* txtSaldoFinal = nullptr;
    QLineEdit* txtConsulta = nullptr;
    platform::FlexGrid* flxDespesas = nullptr;
    QLabel* lblDespesa = nullptr;
    QLabel* lblCodigo = nullptr;
    QLineEdit* txtReferente = nullptr;
    platform::MaskEdBox* txtDataLan = nullptr;  // "##/##"
    QLineEdit* txtValor = nullptr;
    QComboBox* txtOcorre = nullptr;
    QPushButton* cmdGravaLan = nullptr;
    platform::FlexGrid* flxOrcamento = nullptr;
    QComboBox* cbxAnos = nullptr;
    QPushButton* cmdLancarOrcamento = nullptr;
    QPushButton* cmdPrevistoRealizado = nullptr;

    void Form_Load() override;

    // Handlers.
    void txtConsulta_Change();
    void flxDespesas_DblClick();
    void lblDespesa_Change();
    void cmdGravaLan_Click();
    void flxOrcamento_DblClick();
    void flxOrcamento_KeyDown(QKeyEvent* event);
    void cmdAtualizar_Click();
    void txtDataLan_GotFocus();
    void txtValor_GotFocus();
    void txtDataLan_KeyDown(int key);
    void cmdLancarOrcamento_Click();
    void cmdPrevistoRealizado_Click();

    // Procedures.
    void Consulta_Orcamento();
    void Atualizar_Entradas();
    void Incluir_Entradas();
    void Recalcula_Saldo();
    // Both write everything or nothing and throw data::DbError on failure;
    // their buttons' handlers report it.
    void Lancar_Orcamento_Anual();
    void Lancar_PrevRealizado();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Sets the chosen classification's name; the code lookup follows.
    void mostrarDespesa(const QString& nome);
    void mostrarOcorre(const QString& ocorre);

    // The totals as shown, kept in centavos: a label's text can hold more than
    // a typed amount may.
    data::Centavos totalEntrada_ = 0;
    data::Centavos totalSaida_ = 0;
    // The budget lines listed: flxOrcamento's row r is linhasDaGrade_[r - 1].
    std::vector<data::LinhaOrcamento> linhasDaGrade_;
    const data::LinhaOrcamento* linhaSelecionada() const;
};
