#pragma once

#include <string>

// What each platform's socket file gives the shared socket layer.
namespace qilo {

// Loads and starts the socket library once: 0, kSocketLibraryNotLoaded or
// the start-up's error number.
int StartSocketLibrary();

// True for names under the reserved top-level domain "invalid".
bool IsReservedInvalidName(const std::string& name);

}  // namespace qilo
