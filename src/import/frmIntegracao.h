#pragma once
// The statement import window: the account's entries of a period on the
// left, the lines of a bank statement in the middle with the frame that
// corrects one line below them, and on the right the statements folder, its
// files, the layout and the button that reads the chosen file. The lines are
// pre-classified by keyword, corrected by the user and posted as entries.
//
// The window keeps two settings in the account file (the layout chosen last
// and the statements folder) and names itself "Integração" in
// NomeConsultaAtiva, so the entry editor presses cmdOK after a save.
#include "import/CamposAlteracao.h"
#include "import/Extrato.h"
#include "platform/Form.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace platform {
class FlexGrid;
class MaskEdBox;
} // namespace platform

class frmIntegracao : public platform::Form, public importacao::CamposAlteracao {
    Q_OBJECT
public:
    // The name this window writes into NomeConsultaAtiva: the entry editor
    // refreshes it after a save, and no other window answers to it.
    static const QString kNomeConsulta;

    explicit frmIntegracao(QWidget* parent = nullptr);

    // Entries of the period.
    QLabel* Label1 = nullptr;  // "Lançamentos do Sistema"
    platform::FlexGrid* flxLanc = nullptr;
    platform::MaskEdBox* txtDataInicial = nullptr;
    platform::MaskEdBox* txtDataFinal = nullptr;
    QPushButton* cmdOK = nullptr;  // picture button, tool tip "Gravar"
    QLabel* txtSaldo = nullptr;

    // Statement lines.
    QLabel* Label2 = nullptr;  // "Lançamentos do Extrato"
    platform::FlexGrid* flxExtrato = nullptr;
    QLabel* lblQtde = nullptr;
    QPushButton* cmdNaoClassificar = nullptr;

    // Statements folder, files and layout.
    QLabel* Label6 = nullptr;
    QLineEdit* txtCaminho = nullptr;
    QLabel* Label7 = nullptr;
    QListWidget* lstExtratos = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* cbxBancos = nullptr;
    QLabel* lblVerModelos = nullptr;
    QLabel* frmExtratos = nullptr;  // clickable picture of the layouts
    QPushButton* cmdImportar = nullptr;
    QPushButton* cmdAtualiza = nullptr;
    QToolButton* cmdFecha = nullptr;

    // The statement being read: folder text, "\" and the file name.
    QString ArquivoExtrato;

    void Form_Load() override;
    // The window stays while a statement is being read.
    void Form_Unload(bool& cancel) override;
    // Escape closes the window; Enter moves the focus on as Tab does.
    void Form_KeyDown(int keyCode);

    // Settings.
    void cbxBancos_Click();
    void txtCaminho_LostFocus();
    void cmdFecha_Click();
    void lblVerModelos_Click();
    void frmExtratos_Click();

    // Entries of the period.
    void cmdOK_Click();
    void MostrarLancamentos();
    // Colours the balance just written by its amount.
    void txtSaldo_Change(data::Centavos saldo);
    void flxLanc_DblClick();
    void flxLanc_KeyDown(int keyCode);
    void flxLanc_MouseDown(int button);

    // Reading a statement.
    void Atualizar_Extratos();
    void cmdImportar_Click();
    void Planilha_Extrato();
    void Santander_Extrato();
    void Bradesco_Extrato();
    void Itau_Extrato();
    void CEF_Extrato();
    void PreClassicar();
    void cmdNaoClassificar_Click();
    bool ExisteNaoClassificado() const;

    // The statement grid.
    void flxExtrato_MouseDown(int button);
    void flxExtrato_KeyDown(int keyCode);
    void flxExtrato_DblClick();
    void cmdAltera_Click();

    // Posting.
    void cmdAtualiza_Click();

    // The statement lines behind the grid, and putting lines there as a read
    // does: the grid then holds exactly them, shown.
    const std::vector<importacao::LinhaExtrato>& linhasDoExtrato() const { return linhasDoExtrato_; }
    void mostrarLinhasDoExtrato(std::vector<importacao::LinhaExtrato> linhas);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Arranjo { TresColunas, LadoALado, Empilhada };
    Arranjo escolherArranjo(QLayout& esquerda, QLayout& meio, std::initializer_list<QLayout*> linhasDireita);
    // True while a statement is read: the read waits with the window
    // painting, and nothing may start a second read or close the window.
    bool lendoExtrato_ = false;
    void lerExtratoNaGrade(importacao::LayoutExtrato layout);
    // The statement lines shown: flxExtrato's row r is linhasDoExtrato_[r - 1]
    // (a row past its end, of a grid made longer by hand, holds no line).
    // Kept in step with every change the window makes to the grid.
    std::vector<importacao::LinhaExtrato> linhasDoExtrato_;
    importacao::LinhaExtrato* linhaDoExtrato(int row);
    // Writes row `row`'s six cells from its line.
    void mostrarLinhaDoExtrato(int row);
    void esvaziarExtrato();
    // The entries listed beside the statement: flxLanc's row r is
    // numerosDaGrade_[r - 1]; 0 for no row.
    std::vector<std::int64_t> numerosDaGrade_;
    std::int64_t lancamentoSelecionado() const;
};
