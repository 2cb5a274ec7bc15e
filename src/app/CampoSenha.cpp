#include "app/CampoSenha.h"

#include "platform/Accessibility.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace {

class EstiloSenha : public QProxyStyle {
public:
    explicit EstiloSenha(QChar mostrado) : mostrado_(mostrado) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return mostrado_.unicode();
        if (hint == SH_LineEdit_PasswordMaskDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    QChar mostrado_;
};

} // namespace

void mascararSenha(QLineEdit* box, QChar mostrado)
{
    auto* estilo = new EstiloSenha(mostrado);
    estilo->setParent(box);
    box->setStyle(estilo);
    box->setEchoMode(QLineEdit::Password);
    platform::hideFromReader(*box);
}
