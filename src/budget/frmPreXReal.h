#pragma once
// Planned versus actual: for one month at a time, the planned monthly value
// of every classification on the watch list beside the actual sum of its
// entries due in that month, the differences, the totals and a face that
// tells how the month's spending compares with the plan.
#include "platform/Form.h"

class QKeyEvent;
class QLabel;
class QPushButton;

namespace platform {
class FlexGrid;
}
namespace budget {
class Figura;
}

class frmPreXReal : public platform::Form {
    Q_OBJECT
public:
    explicit frmPreXReal(QWidget* parent = nullptr);

    // Controls.
    QLabel* txtData = nullptr;  // "MARÇO - 2026"; its tag holds a date of the shown month
    budget::Figura* imgAumenta = nullptr;
    budget::Figura* imgDiminui = nullptr;
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

    void Form_Load() override;

    // Handlers.
    void imgAumenta_Click();
    void imgDiminui_Click();
    void cmdLancarPrev_Click();
    void flxConsulta_DblClick();
    void flxConsulta_KeyDown(QKeyEvent* event);
    void imgHelpPrevRel_Click();

    // Recomputes the grid, the totals and the face for the shown month.
    void Atualiza();

private:
    void mostrarRosto(const QString& percentual, std::int64_t diferenca);
};
