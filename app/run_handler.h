#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/desktop.h"

namespace qilo {

// Runs one handler under the default error handler's rule and gives the
// error-box text (ErrorBoxText of its message) of an exception derived from
// std::exception that escapes it; nothing when the handler ran to its end.
// What the handler wrote before the throw stays written. Anything not derived
// from std::exception passes through.
std::optional<std::string> CatchHandlerError(
    const std::function<void()>& handler);

// The default error handler around one handler: CatchHandlerError, then
// desktop.ShowError with the text when the handler raised, and the program
// goes on. True when the handler ran to its end.
bool RunHandler(Desktop& desktop, const std::function<void()>& handler);

}  // namespace qilo
