#pragma once
// The program's own pictures, drawn in code: the toolbar's icons and the
// logo.
#include <QIcon>
#include <QPixmap>
#include <QString>

// The icon of a toolbar key, "A" .. "O".
QIcon iconeBarra(const QString& key);
// The program's logo; the files in resources/icons/ are exported from it.
QPixmap logoVorsal(int tamanho);
QIcon iconeVorsal();
// A green tick for the "OK" picture buttons.
QIcon iconeOk();
