#pragma once
// The cash-flow register: every entry due in a period, in due-date order,
// with the balance before the period, a balance row each time the due date
// changes and the final balance; a balances-only view of the same period;
// the period's positive balances, largest first; and the lowest balance of
// each of the twelve months from today. Entries are changed and added
// through the entry editor and deleted here.
//
// The window previews the keyboard: Insert and Delete act whichever control
// has the focus. Escape closes it and Enter moves on, as in every window.
#include "cashflow/Fluxo.h"
#include "platform/Form.h"

#include <array>
#include <memory>
#include <utility>

class QLabel;
class QPushButton;

namespace platform {
class FlexGrid;
class MaskEdBox;
} // namespace platform

class frmFluxo : public platform::Form {
    Q_OBJECT
public:
    // The name this window writes into NomeConsultaAtiva: the entry editor
    // refreshes it after a save, and no other window answers to it.
    static const QString kNomeConsulta;

    explicit frmFluxo(QWidget* parent = nullptr);

    // Controls.
    platform::MaskEdBox* txtDataInicial = nullptr;
    platform::MaskEdBox* txtDataFinal = nullptr;
    QPushButton* cmdOK = nullptr;                 // "Gerar Fluxo"
    QLabel* lblIMes = nullptr;                    // "Início mês"
    QLabel* lblFMes = nullptr;                    // "Final mês"
    QLabel* lblIAno = nullptr;                    // "Início ano"
    QLabel* lblFAno = nullptr;                    // "Final ano"
    QLabel* txtMesAi = nullptr;                   // "<<Mês" of the start box
    QLabel* txtMesPi = nullptr;                   // "Mês>>" of the start box
    QLabel* txtMesAf = nullptr;                   // "<<Mês" of the end box
    QLabel* txtMesPf = nullptr;                   // "Mês>>" of the end box
    platform::FlexGrid* flxConsulta = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* txtSaldo = nullptr;                   // the period's final balance
    QLabel* lblSoSaldo = nullptr;                 // balances-only view, a picture
    QLabel* Label1 = nullptr;                     // "Maiores Saldos"
    platform::FlexGrid* flxValoresPos = nullptr;
    QLabel* Label17 = nullptr;                    // "Menores saldos"
    std::array<QLabel*, 13> txtDataTempo{};
    std::array<QLabel*, 12> txtValorTempo{};

    void Form_Load() override;
    // A register loaded hidden earlier (by the editor's instalments) names
    // itself again when the user brings it up, so that its edits refresh it.
    void Form_Activate() override;

    // Rebuilds the full view, the final balance and both summaries from the
    // two period boxes.
    void Lancamentos();
    // The number of distinct due dates among the entries of the period.
    double ContaSaldo();
    // Refills the lowest-balance panel from today.
    void Tempo2();

    // Handlers.
    void cmdOK_Click();
    // Insert and Delete; true when the key is used up here (Delete still
    // reaches the control that has the focus).
    bool Form_KeyDown(int KeyCode, Qt::KeyboardModifiers Shift = Qt::NoModifier);
    void lblIMes_Click();
    void lblFMes_Click();
    void lblIAno_Click();
    void lblFAno_Click();
    void txtMesAi_Click();
    void txtMesPi_Click();
    void txtMesAf_Click();
    void txtMesPf_Click();
    void txtSaldo_Change();
    void flxConsulta_DblClick();
    void txtDataInicial_KeyDown(int KeyCode);
    void txtDataFinal_KeyDown(int KeyCode);
    // Typing replaces the whole date.
    void txtDataInicial_GotFocus();
    void txtDataFinal_GotFocus();
    void lblSoSaldo_Click();
    void flxValoresPos_DblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The period boxes' dates; false when one is no date, which is then
    // said and given the focus.
    bool datasDoPeriodo(QDate& inicio, QDate& fim);
    // The labels that act on a click, each with its handler.
    std::array<std::pair<QLabel*, void (frmFluxo::*)()>, 9> cliques() const;
    void SaldosPositivos();
    void escreverSaldo(data::Centavos saldo);
    void mostrarVistaCompleta(bool completa);
    // The entry number of the selected row in the full view; 0 otherwise.
    std::int64_t lancamentoSelecionado() const;
    void apagarLancamento();
    void incluirLancamento();
    void limparGrade();
    // The register, its final balance and its positive balances emptied.
    void esvaziarRegistro();

    // The balances of the last full view: the opening row's, every balance
    // row's and the final one, in grid order.
    std::vector<data::Centavos> saldosDaVista_;
    // The rows of the full view, which the grid shows as it paints them.
    class Registro;
    std::shared_ptr<const Registro> registro_;
    // What each row of the balances-only view was filled from: a balance
    // with the date its row shows.
    struct LinhaDaGrade {
        data::Centavos saldo = 0;
        QString data;
    };
    std::vector<LinhaDaGrade> linhasDaGrade_;  // grid row r is linhasDaGrade_[r - 1]
    std::vector<data::Centavos> positivos_;    // flxValoresPos's rows, in order
    std::optional<data::Centavos> saldoFinal_; // what txtSaldo shows
};
