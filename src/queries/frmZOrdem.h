#pragma once
// The ordering dialog: up to three fields by which the description-text or
// the structured query orders its list, the first ascending or descending.
// It hands the ORDER BY text to the query window named by
// NomeConsultaAtiva and runs that window's query again.
#include "platform/Form.h"

#include <array>

class QListWidget;
class QRadioButton;
class QToolButton;

class frmZOrdem : public platform::Form {
    Q_OBJECT
public:
    explicit frmZOrdem(QWidget* parent = nullptr);

    // Controls.
    QListWidget* lstListaClass = nullptr;   // the five fields
    QListWidget* lstFiltroClass = nullptr;  // the chosen fields, in the order chosen
    std::array<QRadioButton*, 3> optOrdem{};  // 1 "Crescente", 2 "Decrescente"; 0 unused
    QToolButton* cmdOK = nullptr;

    // Handlers.
    void lstListaClass_DblClick();
    void lstFiltroClass_KeyDown(int key);
    void cmdOK_Click();

    // The ORDER BY text of the fields chosen so far.
    QString Clausula() const;

protected:
    // The dialog has no keys of its own: only OK or the close box end it.
    void escapePressed() override {}
    bool eventFilter(QObject* watched, QEvent* event) override;
};
