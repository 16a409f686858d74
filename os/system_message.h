#pragma once

#include <string>

namespace qilo {

// Windows only: the system's text for an error code (GetLastError, a socket
// error) in GBK, without its line end; empty when the system has none.
std::string SystemMessage(unsigned long code);

}  // namespace qilo
