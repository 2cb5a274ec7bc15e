#pragma once
// The picture of the five statement layouts: one panel per layout, headed by
// its name and the kind of file, with a few sample lines of its format.
// Drawn in code.
#include <QPixmap>

namespace importacao {

// The full picture, 1341 by 842 pixels, on the import window's teal.
QPixmap desenharModelosExtrato();

// The same picture scaled to a width, for the import window's clickable
// thumbnail.
QPixmap miniaturaModelosExtrato(int largura);

} // namespace importacao
