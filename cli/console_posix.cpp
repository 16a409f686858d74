#include "cli/console.h"

namespace qilo::cli {

// The arguments and the terminal are UTF-8 already.
std::vector<std::string> StartConsole(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace qilo::cli
