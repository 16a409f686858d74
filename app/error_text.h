#pragma once

#include <string>
#include <string_view>

namespace qilo {

// The text of the default error handler's message box: the message, with "."
// appended when its last byte sorts after "." (a letter or a double-byte
// character gets a period; "!" or "." does not).
std::string ErrorBoxText(std::string_view message);

}  // namespace qilo
