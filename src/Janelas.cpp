#include "Janelas.h"

#include "app/frmAnotacao.h"
#include "app/frmPlanCalend.h"
#include "app/frmPrincipal.h"
#include "app/frmSobre.h"
#include "app/frmZAlteraSenha.h"
#include "entries/frmClassificacao.h"
#include "queries/frmConsVen.h"
#include "entries/frmLancar.h"

void registrarJanelas()
{
    frmPrincipal::registrarJanela("frmAnotacao", [] { platform::Forms::show<frmAnotacao>(); });
    frmPrincipal::registrarJanela("frmPlanCalend", [] { platform::Forms::show<frmPlanCalend>(); });
    frmPrincipal::registrarJanela("frmClassificacao", [] { platform::Forms::show<frmClassificacao>(); });
    frmPrincipal::registrarJanela("frmLancar", [] { platform::Forms::show<frmLancar>(); });
    // A reminder opens its own note: the number goes into the editor, whose
    // change loads the note, before the editor is shown.
    frmPrincipal::registrarAbrirAnotacao([](std::int64_t codigo) {
        platform::Forms::get<frmAnotacao>().txtCodigo->setText(QString::number(codigo));
        platform::Forms::show<frmAnotacao>();
    });
    frmPrincipal::registrarJanela("frmZAlteraSenha", [] { platform::Forms::show<frmZAlteraSenha>(); });
    frmPrincipal::registrarJanela("frmSobre", [] { platform::Forms::show<frmSobre>(); });
    frmPrincipal::registrarJanela("frmConsVen", [] { platform::Forms::show<frmConsVen>(); });
}
