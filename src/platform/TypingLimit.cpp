#include "platform/TypingLimit.h"

#include <QLineEdit>
#include <QVariant>
#include <algorithm>

namespace platform {
namespace {
const char* const kLimite = "limiteDigitacao";
}

void limitTyping(QLineEdit* caixa, int limite)
{
    caixa->setProperty(kLimite, limite);
    caixa->setMaxLength(limite);
    QObject::connect(caixa, &QLineEdit::textChanged, caixa, [caixa, limite](const QString& texto) {
        // Back within the limit: from here on the limit holds again. Never
        // lowered below the text, which setMaxLength would cut.
        if (texto.size() <= limite && caixa->maxLength() != limite)
            caixa->setMaxLength(limite);
    });
}

void showStoredText(QLineEdit* caixa, const QString& texto)
{
    const QVariant limite = caixa->property(kLimite);
    if (limite.isValid())
        caixa->setMaxLength(std::max(limite.toInt(), int(texto.size())));
    else if (texto.size() > caixa->maxLength())
        caixa->setMaxLength(int(texto.size()));
    caixa->setText(texto);
}

} // namespace platform
