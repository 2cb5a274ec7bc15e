#pragma once
// The notes editor: lists every note, adds notes, alters a loaded note and
// deletes notes. Other windows open a note by writing its number into
// txtCodigo before showing the window.
#include "platform/FlexGrid.h"
#include "platform/Form.h"
#include "platform/MaskEdBox.h"

#include <QDate>

class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

class frmAnotacao : public platform::Form {
    Q_OBJECT
public:
    explicit frmAnotacao(QWidget* parent = nullptr);

    // The frame's caption is the mode: "Inclusão" or "Altera".
    QGroupBox* fraAnota = nullptr;
    QLineEdit* txtTitulo = nullptr;
    QPlainTextEdit* txtTexto = nullptr;
    QCheckBox* chkLembrar = nullptr;
    platform::MaskEdBox* txtDataLemb = nullptr;
    QLineEdit* txtQtdeDias = nullptr;
    QCheckBox* chkLembrarSempre = nullptr;
    QLabel* txtDataAlter = nullptr;
    QLabel* txtDia = nullptr;
    QPushButton* cmdGravar = nullptr;
    // Not shown: the number of the note loaded for alteration. Writing a
    // number here loads that note; "" or 0 loads nothing.
    QLineEdit* txtCodigo = nullptr;
    platform::FlexGrid* flxAnotacoes = nullptr;
    QToolButton* cmdFecha = nullptr;

    void Form_Load() override;
    void Form_Unload(bool& cancel) override;

    // Handlers.
    void chkLembrar_Click();
    void txtCodigo_Change();
    void flxAnotacoes_DblClick();
    void cmdGravar_Click();
    void flxAnotacoes_KeyDown(QKeyEvent* event);
    void txtTexto_Change();
    void txtQtdeDias_GotFocus();
    void cmdFecha_Click();

    // Procedures.
    void PreencherAnotacoes();

    // "S" or "N": follows the "Lembrar" box and is saved as Lembrar.
    QString marcaLembrar() const { return marcaLembrar_; }
    // Set by any change of the text; decides whether an altered note gets
    // today as its last-change date.
    bool textoAlterado() const { return textoAlterado_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void construir();
    void limparEditor();
    void excluirAnotacao();

    QString marcaLembrar_ = QStringLiteral("N");
    bool textoAlterado_ = false;
    QDate dataAlterCarregada_;
};
