#include <emscripten/bind.h>

#include <string>

#include "web/fee_request.h"
#include "web/tool_requests.h"

namespace {

// embind passes JavaScript strings as std::string (UTF-8) only.
template <std::string (*ForPage)(std::string_view)>
std::string Bound(const std::string& inputs) {
  return ForPage(inputs);
}

}  // namespace

// The engine's face to the page's script: one function per command, text in,
// text out, so the glue stays small.
EMSCRIPTEN_BINDINGS(qilo_engine) {
  emscripten::function("fees", &Bound<qilo::web::FeesForPage>);
  emscripten::function("limits", &Bound<qilo::web::LimitsForPage>);
  emscripten::function("average", &Bound<qilo::web::AverageForPage>);
  emscripten::function("t", &Bound<qilo::web::DayTradeForPage>);
  emscripten::function("security", &Bound<qilo::web::SecurityForPage>);
}
