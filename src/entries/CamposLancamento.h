#pragma once
// The fields of a window that edits one entry: side, classification (with
// its hidden code and group), group letter, posting and due dates,
// description and value. The posting window (frmLancar) and the entry
// editor (frmZalteracao) are built from the same fields with the same
// behaviour; the posting window adds three aids (a classification code typed
// into the classification box, a filterable picker grid, a help panel).
//
// A window derives from platform::Form and from CamposLancamento, so the
// controls and handlers below are the window's own members under their
// names (frmLancar.txtValor, frmZalteracao.txtTipo_Click()):
//
//     class frmZalteracao : public platform::Form, public entries::CamposLancamento {
//     public:
//         frmZalteracao() : CamposLancamento(this, entries::OpcoesCampos::editor()) { ... }
//     };
//
// The constructor creates the controls as children of the window and wires
// their behaviour; it does not lay them out: the window puts them into its
// own layouts with its own captions, and sets its tab order (setTabOrder).
// The window must turn on setEnterAsTab(true): the fields rely on Enter
// reaching the window as Tab once a field has handled it.
#include "data/Lancamentos.h"

#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace platform {
class Form;
class MaskEdBox;
class FlexGrid;
} // namespace platform

namespace entries {

class CamposFiltro;

struct OpcoesCampos {
    // Typed classification code (txtNumConta), picker grid (txtConsulta,
    // flxDespesas, lblEnter) and help panel (txtDescricao, txtDescricao2,
    // txtDica). Without them those members stay nullptr.
    bool auxilios = false;
    // The classification list sorted by name (blank first); otherwise in
    // table order (by code).
    bool listaOrdenada = false;
    // txtFiltro starts with a blank item before "A" to "Z".
    bool ordemComBranco = false;

    // frmLancar: every aid, sorted list, letters "A" to "Z".
    static OpcoesCampos lancar() { return {true, true, false}; }
    // frmZalteracao: no aids, table order, blank letter first.
    static OpcoesCampos editor() { return {false, false, true}; }
};

// How the due-date check treats a date in the past.
enum class ConferenciaVencimento {
    // Single save: asks when the due date is 30 or more days before today,
    // naming the days.
    TrintaDias,
    // Instalments: asks for any due date before today, without a count.
    AntesDeHoje,
};

class CamposLancamento {
public:
    CamposLancamento(platform::Form* janela, const OpcoesCampos& opcoes);
    virtual ~CamposLancamento();
    CamposLancamento(const CamposLancamento&) = delete;
    CamposLancamento& operator=(const CamposLancamento&) = delete;

    // --- Fields of both windows ---------------------------------------
    QComboBox* txtTipo = nullptr;     // "Saída" (index 0), "Entrada" (index 1); none selected at first
    QComboBox* txtDespesa = nullptr;  // blank item, then the names of the side's classifications
    QLabel* txtCodDesp = nullptr;     // hidden: code of the chosen classification, plain digits
    QLabel* txtConta = nullptr;       // hidden: group of the chosen classification
    QComboBox* txtFiltro = nullptr;   // "A".."Z" (with a blank first item in the editor)
    platform::MaskEdBox* txtDataLan = nullptr;  // posting date, "##/##/####"
    platform::MaskEdBox* txtDataVen = nullptr;  // due date, "##/##/####"
    QLineEdit* txtReferente = nullptr;          // description, at most 70 characters
    QLineEdit* txtValor = nullptr;              // amount without sign, decimal comma, right-aligned

    // --- Posting window aids (nullptr without OpcoesCampos::auxilios) --
    QLabel* txtNumConta = nullptr;   // the code typed into txtDespesa, as its leading digits
    QLineEdit* txtConsulta = nullptr;          // filter of the picker grid ("Filtrar Despesas")
    platform::FlexGrid* flxDespesas = nullptr; // "Classificação" | "Número"
    QLabel* lblEnter = nullptr;      // "{ENTER}", shown while the grid lists exactly one row
    QLabel* txtDescricao = nullptr;  // help panel: the focused field's name
    QLabel* txtDescricao2 = nullptr; // its explanation
    QLabel* txtDica = nullptr;       // a hint ("" when the field has none)

    // --- Handlers -----------------------------------------------------
    // Choosing a side: refills the classification list (blank item, no item
    // selected) and, with the aids, the picker grid. Runs whenever the
    // side's index is set, by the user or by the program.
    void txtTipo_Click();
    // Choosing a classification: looks its name up (whole name, any case)
    // and sets txtCodDesp and txtConta; a blank choice looks nothing up and
    // empties both. Clears txtNumConta. Runs whenever the index is set.
    void txtDespesa_Click();
    // Aids: leaving the classification box with a code typed selects that
    // classification, or names the wrong side and keeps the focus there.
    void txtDespesa_LostFocus();
    // Aids: the filter text changed.
    void txtConsulta_Change();
    // Aids: a double-click on the picker grid takes its current row.
    void flxDespesas_DblClick();
    // Leaving the due date 30 or more days in the past warns with the days.
    void txtDataVen_LostFocus();

    // Aids: fills the picker grid with the side's classifications whose
    // name contains the filter text.
    void MostraDespesas();

    // --- Procedures both windows use ----------------------------------
    // Selects a classification by name and always runs txtDespesa_Click,
    // also when that name was already selected. A name not in the list
    // selects the blank item.
    void escolherClassificacao(const QString& nome);

    // The eight checks of a save, in order, stopping at the first failure
    // with its message (`app::kAtencao`, critical) and the focus on its field.
    // mensagemClassificacao is check 1's text: "Campo ''Classificação'' em
    // branco" (posting window, instalments) or "Campo ''Despesa'' em branco"
    // (the editor's single save). Check 8 also refuses a value that is not a
    // number ("," alone), with "Conteúdo inválido do campo ''Valor''.".
    // Whether the account's total still holds the amount is the write's
    // own check, under its lock (data::addLancamentos).
    bool conferirCampos(const QString& mensagemClassificacao, ConferenciaVencimento vencimento);

    // The row the fields describe (NumLan 0): Tipo "1" for Saída with the
    // value negated, "2" for Entrada; Despesa txtCodDesp, Conta txtConta,
    // Filtro the chosen letter. Call after conferirCampos().
    data::Lancamento lancamentoDosCampos() const;

    // "&Gerar Parcelas" after the window's checks: asks the count, confirms,
    // writes every instalment in one transaction, empties the dates, the
    // value and the description, selects the blank classification, puts the
    // focus there and says "Parcelas lançadas com sucesso!". Returns true
    // when the instalments were written; a refusal, a No or a database error
    // (reported in a message, nothing written) returns false with the
    // fields untouched.
    bool gerarParcelas();

    // The side as Lancamentos codes it: "1" Saída, "2" Entrada.
    QString tipoLancamento() const;

protected:
    // A write the account's total refused (data::checkTotalFits): the cause
    // told as the checks tell theirs, the focus on the value; false, telling
    // nothing, for any other failure.
    bool recusaDoLimite(const data::DbError& e);

    // Tab order through the fields in the order the user fills them, then
    // the window's own buttons.
    void ordenarTabulacao(std::initializer_list<QWidget*> depoisDoValor);

    platform::Form* janela_;
    OpcoesCampos opcoes_;

private:
    friend class CamposFiltro;
    void criarControles();
    void ligarComportamento();
    void preencherClassificacoes();
    void tomarDaGrade(int row);
    void mostrarAjuda(QWidget* campo);
    void teclaCodigo(int key, const QString& texto);
    void limparCodigoDigitado();
    void teclaF2(platform::MaskEdBox* caixa);

    CamposFiltro* filtro_ = nullptr;
    // Every digit, Backspace and Enter typed into the classification box
    // since it was last cleared.
    QString codigoDigitado_;
};

} // namespace entries
