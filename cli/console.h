#pragma once

#include <string>
#include <vector>

namespace qilo::cli {

// Readies the standard streams for the commands (bytes pass unchanged, text
// is UTF-8) and gives the program's arguments as UTF-8 texts, without the
// program's name.
std::vector<std::string> StartConsole(int argc, char** argv);

}  // namespace qilo::cli
