#pragma once
// What every window that lists entries does with one of them: open it in the
// entry editor, or delete it after the delete question. Written once, so the
// windows ask the same question and hand the editor an entry the same way.
#include <QString>
#include <cstdint>

namespace entries {

// Shows the entry editor, modally, on an entry: IncluirLancamento off, the
// number written into the editor (which loads the entry). A window that
// names the editor's caption passes it; an empty one keeps the editor's own.
void abrirNoEditor(std::int64_t numLan, const QString& titulo = QString());

// Asks the delete question (app::perguntaExcluir) naming the entry's value and
// description (Yes/No, No the default) and deletes it on Yes. True when the
// entry was deleted; false when it no longer exists, was kept, or the
// number is 0.
bool excluirComPergunta(std::int64_t numLan);

} // namespace entries
