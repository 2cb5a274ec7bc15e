#pragma once
// The frame "Alterações" of the statement import window: one statement line
// loaded from the grid by a double-click, corrected (date, history, amount,
// side, classification, Ordem letter) and written back by "&Alterar".
// Nothing here touches the account file but the reads of the plan of
// classifications.
//
// The import window derives from platform::Form and from CamposAlteracao, so
// the controls and handlers are the window's own members under their names
// (frmIntegracao.txtTipos, frmIntegracao.txtTipos_Click()). The constructor
// creates the frame and its controls as children of the window and wires
// their behaviour; the window places the frame in its layout.
#include "import/Extrato.h"

#include <QString>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace platform {
class MaskEdBox;
} // namespace platform

namespace platform {
class NumberKeyFilter;
}

namespace importacao {

class CamposAlteracao {
public:
    explicit CamposAlteracao(QWidget* janela);
    virtual ~CamposAlteracao();
    CamposAlteracao(const CamposAlteracao&) = delete;
    CamposAlteracao& operator=(const CamposAlteracao&) = delete;

    QGroupBox* fraAltera = nullptr;             // "Alterações"; disabled until a line is loaded
    platform::MaskEdBox* txtVencimento = nullptr;
    platform::MaskEdBox* txtDataLanc = nullptr; // hidden with its label
    QLabel* lblDataLanc = nullptr;              // "Data Lanc.", hidden
    QLineEdit* txtHistorico = nullptr;
    QLineEdit* txtValorLan = nullptr;           // the amount without sign, "#,##0.00"
    QComboBox* txtTipos = nullptr;              // "Saída", "Entrada"
    QComboBox* txtDespesas = nullptr;           // blank item, then the side's classification names
    QComboBox* txtCodDesps = nullptr;           // hidden: the codes, position for position
    QLabel* txtConta = nullptr;                 // hidden: the chosen classification's group
    QComboBox* txtFiltro = nullptr;             // Ordem, "A" to "Z"
    QPushButton* cmdAltera = nullptr;           // "&Alterar"

    // The grid row the frame was loaded from.
    int LinhaAlterada = 0;

    // Choosing a side refills the classification names and codes (a blank
    // item first, nothing selected). Runs whenever the side's index changes.
    void txtTipos_Click();
    // Choosing a name shows its group and moves the code list alongside.
    void txtDespesas_Click();
    // Choosing a code moves the name list alongside.
    void txtCodDesps_Click();
    // The value box's key filter: digits, Enter and Backspace pass, "."
    // becomes "," while the box holds none, a second "," and every other key
    // are dropped, so no sign can be typed. True when the box receives the
    // typed text as it is.
    bool txtValorLan_KeyPress(const QString& tecla);

    // The double-click: loads the statement line behind grid row `row` into
    // the frame and enables it. A row without a line (the header, an empty
    // row) loads nothing; false then.
    bool carregarLinha(const LinhaExtrato* linha, int row);
    // "&Alterar": checks the frame, writes it into `linha`, the statement
    // line behind row LinhaAlterada, and resets the frame; false, with a
    // message and the focus on the field at fault, when a check fails. The
    // window shows the corrected line.
    bool escreverLinha(LinhaExtrato& linha);
    // Disabled, blank dates, history and value, no classification, "Saída";
    // the Ordem letter stays.
    void limparCampos();
    // Shows a side ("1" Saída, "2" Entrada, as Lancamentos codes it) and a
    // classification name in the lists, as the posting leaves them.
    void mostrarClassificacao(const QString& tipoLancamento, const QString& nome);

private:
    platform::NumberKeyFilter* filtroValor_ = nullptr;
};

} // namespace importacao
