#pragma once
// The failures the program goes on after: a write the account file refused
// (busy, full, read-only, moved, or any other engine failure) and a sum of
// amounts that does not fit. The user is told in a critical `app::kAtencao` box;
// the window stays with what was typed.
#include "platform/Application.h"

namespace app {

// Tells of the failure and says what it was (see platform::FailureReporter).
platform::Reported avisarFalha(const std::exception& e, bool somenteSeJanelaFica);

// Makes avisarFalha the program's reporter.
void instalarAvisoDeFalhas();

} // namespace app
