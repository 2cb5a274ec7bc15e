#include "Janelas.h"

#include "app/Atualizacoes.h"
#include "app/frmAnotacao.h"
#include "app/frmPlanCalend.h"
#include "app/frmPrincipal.h"
#include "app/frmSobre.h"
#include "app/frmZAlteraSenha.h"
#include "budget/frmPreXReal.h"
#include "calculator/frmCalculosFin.h"
#include "budget/frmOrcamentoDomestico.h"
#include "cashflow/frmFluxo.h"
#include "cashflow/frmGraficos.h"
#include "entries/frmClassificacao.h"
#include "import/frmIntegracao.h"
#include "queries/frmAlterarNaoClass.h"
#include "queries/frmConsConta.h"
#include "queries/frmConsEstr.h"
#include "queries/frmConsHistorico.h"
#include "queries/frmConsValor.h"
#include "queries/frmConsVen.h"
#include "queries/frmConsultaEstr.h"
#include "entries/frmLancar.h"

#include <QPushButton>

namespace {

// A query window's refresh: its query button pressed.
template <class Janela> std::function<void()> consultarDeNovo()
{
    return [] { platform::Forms::get<Janela>().cmdConsulta->click(); };
}

}  // namespace

void registrarAtualizacoes()
{
    // Compared in this order; the first exact match refreshes. A window not
    // loaded is loaded invisibly by the access and then refreshed.
    app::registrarAtualizacao(frmConsHistorico::kNomeConsulta, consultarDeNovo<frmConsHistorico>());
    app::registrarAtualizacao(frmConsVen::kNomeConsulta, consultarDeNovo<frmConsVen>());
    app::registrarAtualizacao(frmConsEstr::kNomeConsulta, consultarDeNovo<frmConsEstr>());
    app::registrarAtualizacao(frmIntegracao::kNomeConsulta,
                              [] { platform::Forms::get<frmIntegracao>().cmdOK->click(); });
    app::registrarAtualizacao(frmFluxo::kNomeConsulta,
                              [] { platform::Forms::get<frmFluxo>().Lancamentos(); });
    app::registrarAtualizacao(frmConsValor::kNomeConsulta, consultarDeNovo<frmConsValor>());
    app::registrarAtualizacao(frmConsultaEstr::kNomeConsulta, consultarDeNovo<frmConsultaEstr>());
    app::registrarAtualizacao(frmConsConta::kNomeConsulta, consultarDeNovo<frmConsConta>());
    app::registrarAtualizacao(frmAlterarNaoClass::kNomeConsulta, consultarDeNovo<frmAlterarNaoClass>());
    // Instalments refresh the cash-flow register whoever opened the editor.
    app::registrarAtualizacaoAposParcelas([] { platform::Forms::get<frmFluxo>().cmdOK->click(); });
}

void registrarJanelas()
{
    registrarAtualizacoes();
    frmPrincipal::registrarJanela("frmAnotacao", [] { platform::Forms::show<frmAnotacao>(); });
    frmPrincipal::registrarJanela("frmPlanCalend", [] { platform::Forms::show<frmPlanCalend>(); });
    frmPrincipal::registrarJanela("frmClassificacao", [] { platform::Forms::show<frmClassificacao>(); });
    frmPrincipal::registrarJanela("frmLancar", [] { platform::Forms::show<frmLancar>(); });
    frmPrincipal::registrarJanela("frmFluxo", [] { platform::Forms::show<frmFluxo>(); });
    frmPrincipal::registrarJanela("frmGraficos", [] { platform::Forms::show<frmGraficos>(); });
    // A reminder opens its own note: the number goes into the editor, whose
    // change loads the note, before the editor is shown.
    frmPrincipal::registrarAbrirAnotacao([](std::int64_t codigo) {
        platform::Forms::get<frmAnotacao>().txtCodigo->setText(QString::number(codigo));
        platform::Forms::show<frmAnotacao>();
    });
    frmPrincipal::registrarJanela("frmZAlteraSenha", [] { platform::Forms::show<frmZAlteraSenha>(); });
    frmPrincipal::registrarJanela("frmSobre", [] { platform::Forms::show<frmSobre>(); });
    frmPrincipal::registrarJanela("frmConsVen", [] { platform::Forms::show<frmConsVen>(); });
    frmPrincipal::registrarJanela("frmIntegracao", [] { platform::Forms::show<frmIntegracao>(); });
    frmPrincipal::registrarJanela("frmOrcamentoDomestico", [] { platform::Forms::show<frmOrcamentoDomestico>(); });
    frmPrincipal::registrarJanela("frmConsHistorico", [] { platform::Forms::show<frmConsHistorico>(); });
    frmPrincipal::registrarJanela("frmConsEstr", [] { platform::Forms::show<frmConsEstr>(); });
    frmPrincipal::registrarJanela("frmConsConta", [] { platform::Forms::show<frmConsConta>(); });
    frmPrincipal::registrarJanela("frmConsultaEstr", [] { platform::Forms::show<frmConsultaEstr>(); });
    frmPrincipal::registrarJanela("frmConsValor", [] { platform::Forms::show<frmConsValor>(); });
    frmPrincipal::registrarJanela("frmAlterarNaoClass", [] { platform::Forms::show<frmAlterarNaoClass>(); });
    frmPrincipal::registrarJanela("frmPreXReal", [] { platform::Forms::show<frmPreXReal>(); });
    frmPrincipal::registrarJanela("frmCalculosFin", [] { platform::Forms::show<frmCalculosFin>(); });
}
