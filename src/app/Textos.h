#pragma once
// The texts every window shares: message titles and the one-record delete
// question. Written once so a window cannot drift from the others.
#include <QChar>
#include <QString>

namespace app {

// Title of input, validation and failure messages (with the comma).
inline const QString kAtencao = QStringLiteral("Atenção,");
// Title of the delete question.
inline const QString kConfirmacao = QStringLiteral("Confirmação");
// Title of success messages.
inline const QString kOk = QStringLiteral("Ok");

// What the open-row key and the double-click do in a grid of entries.
inline const QString kAbrirNoEditor = QStringLiteral("abre o lançamento no editor de lançamentos.");
// The same in the lists of reminders.
inline const QString kAbrirAnotacao = QStringLiteral("abre a anotação.");

// The question asked before one record is deleted: the fixed line, a line
// break, then what names the record (its description, title or value).
inline QString perguntaExcluir(const QString& registro) {
    return QStringLiteral("Deseja realmente excluir o registro?") + QChar(13) + registro;
}

} // namespace app
