#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

#include "web/fee_request.h"
#include "web/tool_requests.h"

// The engine's face to the page's script: text in, text out, through one
// input and one output buffer in the module's memory, so the page needs no
// glue beyond a few lines of its own. Single-threaded, like the page.
namespace {

std::string input;
std::string output;

}  // namespace

extern "C" {

// Room for the next command's input, `size` bytes of UTF-8.
EMSCRIPTEN_KEEPALIVE char* qilo_input(size_t size) {
  input.resize(size);
  return input.data();
}

// Runs a command on the input: 0 fees, 1 limits, 2 average, 3 t, 4 the
// security a code names. Gives the answer's bytes; qilo_output_size() their
// number.
EMSCRIPTEN_KEEPALIVE const char* qilo_run(size_t command) {
  using Command = std::string (*)(std::string_view);
  static constexpr Command kCommands[] = {
      qilo::web::FeesForPage, qilo::web::LimitsForPage,
      qilo::web::AverageForPage, qilo::web::DayTradeForPage,
      qilo::web::SecurityForPage};
  output = kCommands[std::min(command, std::size(kCommands) - 1)](input);
  return output.data();
}

EMSCRIPTEN_KEEPALIVE size_t qilo_output_size() { return output.size(); }

}  // extern "C"
