#pragma once
// The yearly reminder calendar: every note whose reminder date falls in the
// typed year, in twelve month lists. A double-click opens the line's note in
// the notes editor.
#include "platform/Form.h"

#include <array>

class QLineEdit;
class QListWidget;

class frmPlanCalend : public platform::Form {
    Q_OBJECT
public:
    explicit frmPlanCalend(QWidget* parent = nullptr);

    QLineEdit* txtAno = nullptr;
    // Index 1 is January, 12 December; index 0 is not used. Each line keeps
    // its note's Codigo in Qt::UserRole.
    std::array<QListWidget*, 13> txtMes{};

    void Form_Load() override;

    // Handlers.
    // A character typed in the year box; false drops it.
    bool txtAno_KeyPress(const QString& text);
    void txtAno_KeyDown(int key);
    void txtMes_DblClick(int index);

    // Procedures.
    void AtulizaCalen();

    // A month list's line: "DD (ddd) - " and the title.
    static QString linhaDoMes(const QDate& dataLemb, const QString& titulo);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
