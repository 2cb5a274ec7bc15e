#pragma once
// The watch-list editor: picks outgoing classifications from a filtered
// grid of the plan, sets their planned monthly value, and lists and deletes
// the watched lines. Opened only by planned versus actual, which it makes
// recompute when it closes.
#include "platform/Form.h"

class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class FlexGrid;
class NumberKeyFilter;
}

class frmPrevRel : public platform::Form {
    Q_OBJECT
public:
    explicit frmPrevRel(QWidget* parent = nullptr);

    // Controls.
    QLineEdit* txtConsulta = nullptr;            // filter: part of a classification name
    platform::FlexGrid* flxDespesas = nullptr;   // "Classificação" | "Número"
    platform::FlexGrid* flxLancamentos = nullptr;  // the watch list
    QGroupBox* Frame1 = nullptr;                 // "LANÇAMENTO"
    QLabel* lblDespesa = nullptr;                // name of the chosen classification
    QLabel* lblCodigo = nullptr;                 // its code as picked, "000"
    QLineEdit* txtValor = nullptr;               // planned monthly value
    QPushButton* cmdLancar = nullptr;

    void Form_Load() override;
    void Form_Unload(bool& cancel) override;

    // Handlers.
    void txtConsulta_Change();
    void flxDespesas_DblClick();
    void cmdLancar_Click();
    void flxLancamentos_KeyDown(QKeyEvent* event);
    void txtValor_GotFocus();
    // The value box's key filter: true when the typed character goes in
    // as it is.

    // Refills the watch-list grid.
    void Atualiza();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    platform::NumberKeyFilter* filtroValor_ = nullptr;
};
