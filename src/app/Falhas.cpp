#include "app/Falhas.h"

#include "app/Backup.h"
#include "app/Textos.h"
#include "data/Database.h"
#include "platform/Clock.h"
#include "platform/MsgBox.h"

#include <stdexcept>

namespace app {

platform::Reported avisarFalha(const std::exception& e, bool somenteSeJanelaFica)
{
    QString texto;
    platform::Reported r = platform::Reported::Yes;
    if (const auto* falha = dynamic_cast<const data::DbError*>(&e)) {
        texto = falha->userMessage();
        // The file held is all that keeps what was stored until now.
        if (falha->cause() == data::DbCause::Moved)
            if (const QString conflito = avisoDeConflito(guardarConflito(platform::Today())); !conflito.isEmpty())
                texto += QChar(13) + conflito;
        if (falha->aboutTheTotal())
            r = platform::Reported::KeepWindow;
    } else if (dynamic_cast<const std::overflow_error*>(&e)) {
        texto = data::kSomaForaDoLimite;
        r = platform::Reported::KeepWindow;
    } else {
        return platform::Reported::No;
    }
    if (somenteSeJanelaFica && r != platform::Reported::KeepWindow)
        return r;
    platform::MsgBox(texto, platform::vbCritical | platform::vbOKOnly, kAtencao);
    return r;
}

void instalarAvisoDeFalhas() { platform::setFailureReporter(&avisarFalha); }

} // namespace app
