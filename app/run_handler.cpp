#include "app/run_handler.h"

#include <exception>

#include "app/error_text.h"
#include "text/exception.h"

namespace qilo {

std::optional<std::string> CatchHandlerError(
    const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    return ErrorBoxText(ErrorMessage(e));
  }
  return std::nullopt;
}

bool RunHandler(Desktop& desktop, const std::function<void()>& handler) {
  const std::optional<std::string> error = CatchHandlerError(handler);
  if (error) desktop.ShowError(*error);
  return !error;
}

}  // namespace qilo
