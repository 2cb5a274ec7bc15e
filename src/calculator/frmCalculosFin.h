#pragma once
// The financial calculator: the instalment of a loan, the monthly rate of a
// loan, the monthly saving to buy an item and the monthly saving for a
// retirement income. It touches no file and no shared state.
#include "platform/Form.h"

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmCalculosFin : public platform::Form {
    Q_OBJECT
public:
    explicit frmCalculosFin(QWidget* parent = nullptr);

    // Controls.
    QGroupBox* Frame1 = nullptr;  // "Escolha o cálculo que deseja fazer:"
    std::array<QRadioButton*, 4> optCalculo{};
    QLineEdit* txt1 = nullptr;
    QLineEdit* txt2 = nullptr;  // months; "30*" and Enter make 360
    QLineEdit* txt3 = nullptr;
    QLabel* txt4 = nullptr;     // the result
    QLabel* lbl1 = nullptr;
    QLabel* lbl2 = nullptr;
    QLabel* lbl3 = nullptr;
    QLabel* lbl4 = nullptr;
    QLabel* lb1 = nullptr;      // the calculator keys the boxes stand for
    QLabel* lb2 = nullptr;
    QLabel* lb3 = nullptr;
    QLabel* lb4 = nullptr;
    QLabel* lblObs = nullptr;   // hint on the years-to-months shortcut
    QPushButton* cmdCalcular = nullptr;
    QPushButton* cmdLimpar = nullptr;

    // Handlers.
    void cmdCalcular_Click();
    void cmdLimpar_Click();
    void optCalculo_Click(int index);
    void txt2_KeyDown(int key);
    void txt2_GotFocus();
    void txt2_LostFocus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void erroDeCalculo();
};
