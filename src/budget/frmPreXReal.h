#pragma once
// Planned versus actual: for one month at a time, the planned monthly value
// of every classification on the watch list beside the actual sum of its
// entries due in that month, the differences, the totals and a face that
// tells how the month's spending compares with the plan.
#include "budget/MesOrcamento.h"

class QKeyEvent;
class QLabel;
class QPushButton;

namespace platform {
class FlexGrid;
}

// The month header (txtData, imgDiminui, imgAumenta) and its handlers come
// from JanelaDoMes.
class frmPreXReal : public budget::JanelaDoMes {
    Q_OBJECT
public:
    explicit frmPreXReal(QWidget* parent = nullptr);

    // Controls.
    budget::Figura* imgHelpPrevRel = nullptr;
    QPushButton* cmdLancarPrev = nullptr;
    platform::FlexGrid* flxConsulta = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* txtTotalPrev = nullptr;
    QLabel* txtTotalReal = nullptr;
    QLabel* txtTotalDiferenca = nullptr;
    QLabel* txtTotalDifPerc = nullptr;
    QLabel* imgIgual = nullptr;     // up to 5 % above the plan
    QLabel* imgNegativo = nullptr;  // more than 5 % above the plan
    QLabel* imgPositivo = nullptr;  // below the plan

    // Handlers.
    void cmdLancarPrev_Click();
    void flxConsulta_DblClick();
    void flxConsulta_KeyDown(QKeyEvent* event);
    void imgHelpPrevRel_Click();

    // Recomputes the grid, the totals and the face for the shown month.
    void Atualiza() override;

private:
    void mostrarRosto(const QString& percentual, std::int64_t diferenca);
};
