#include "entries/AcoesLancamento.h"

#include "app/Textos.h"
#include "data/Conexao.h"
#include "data/Lancamentos.h"
#include "entries/frmZalteracao.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/MsgBox.h"

#include <QLineEdit>

namespace entries {

void abrirNoEditor(std::int64_t numLan, const QString& titulo)
{
    IncluirLancamento = false;
    frmZalteracao& editor = platform::Forms::get<frmZalteracao>();
    if (!titulo.isEmpty())
        editor.setWindowTitle(titulo);
    editor.txtNumLan->setText(QString::number(numLan));
    platform::showModal(editor);
}

bool excluirComPergunta(std::int64_t numLan)
{
    if (numLan <= 0)
        return false;
    const auto l = data::findLancamento(ConexaoBanco, numLan);
    if (!l)
        return false;
    const int resposta =
        platform::MsgBox(app::perguntaExcluir(data::formatMoney(l->valor) + QStringLiteral(" - ") + l->referente),
                         platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2, app::kConfirmacao);
    if (resposta != platform::vbYes)
        return false;
    // Every window deletes through here, from its keys as from its buttons.
    bool apagado = false;
    return platform::reportFailures([&] { apagado = data::deleteLancamento(ConexaoBanco, numLan); }) && apagado;
}

} // namespace entries
