#pragma once
// The entry editor: the modal dialog through which other windows change one
// entry, or add one. It holds the entry fields without the posting window's
// aids, saves with the posting window's checks, offers the monthly
// instalments, closes itself after a save and refreshes the window that
// opened it.
//
// To change an entry the caller sets IncluirLancamento to false, writes the
// entry number into txtNumLan (which loads the entry at once) and shows the
// window modally. To add one it sets IncluirLancamento to true, selects
// "Saída" in txtTipo and shows the window.
#include "entries/CamposLancamento.h"
#include "platform/Form.h"

class QLineEdit;
class QPushButton;

class frmZalteracao : public platform::Form, public entries::CamposLancamento {
    Q_OBJECT
public:
    explicit frmZalteracao(QWidget* parent = nullptr);

    // Hidden: the number of the entry being changed, as decimal text; empty
    // when adding. Writing it loads that entry.
    QLineEdit* txtNumLan = nullptr;
    QPushButton* cmdGravaLan = nullptr;  // save (a picture, no caption)
    QPushButton* cmdParcelas = nullptr;  // "&Gerar Parcelas"

    // Remembers which window opened the editor, so that the refresh after a
    // save reaches that window.
    void Form_Load() override;

    // Handlers.
    void txtNumLan_Change();
    void cmdGravaLan_Click();
    void cmdParcelas_Click();

    // The window whose name NomeConsultaAtiva held when the editor loaded.
    const QString& consultaDeOrigem() const { return consultaDeOrigem_; }

    // Refreshes the window known by a NomeConsultaAtiva name, as that window
    // registered (app/Atualizacoes.h); any other name refreshes nothing.
    static void AtualizarConsulta(const QString& nomeConsulta);

private:
    QString consultaDeOrigem_;
};
