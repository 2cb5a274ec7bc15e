#pragma once
// The monthly budget summary: one month's outgoing entries totalled per
// account group, its incoming entries per classification, both totals and
// the balance. It only reads the account file; the Delete key takes rows out
// of the grids for totals without them.
#include "platform/Form.h"

class QKeyEvent;
class QLabel;

namespace platform {
class FlexGrid;
}
namespace budget {
class Figura;
}

class frmOrcamento : public platform::Form {
    Q_OBJECT
public:
    explicit frmOrcamento(QWidget* parent = nullptr);

    // Controls.
    QLabel* txtData = nullptr;  // "MARÇO - 2026"; its tag holds a date of the shown month
    budget::Figura* imgAumenta = nullptr;
    budget::Figura* imgDiminui = nullptr;
    platform::FlexGrid* flxSaidas = nullptr;    // group | value
    platform::FlexGrid* flxEntradas = nullptr;  // classification | value
    QLabel* txtTotalSaidas = nullptr;
    QLabel* txtTotalEntradas = nullptr;
    QLabel* txtSaldo = nullptr;

    void Form_Load() override;

    // Handlers.
    void imgAumenta_Click();
    void imgDiminui_Click();
    void flxSaidas_KeyDown(QKeyEvent* event);
    void flxEntradas_KeyDown(QKeyEvent* event);

    // Rebuilds both grids, the totals and the balance for the shown month.
    void Atualiza();
    // Orders the exits grid by value, the largest outgoing group first, and
    // colours its rows.
    void Ordem();

protected:
    // This window leaves Escape alone; its close box closes it.
    void escapePressed() override {}

private:
    void tirarLinha(platform::FlexGrid* grade, const QString& cabecalho, QLabel* total);
};
