#include <emscripten/bind.h>

#include <string>

#include "web/fee_request.h"

namespace {

// embind passes JavaScript strings as std::string (UTF-8) only.
std::string Fees(const std::string& inputs) {
  return qilo::web::FeesForPage(inputs);
}

}  // namespace

// The engine's face to the page's script: one function per command, text in,
// text out, so the glue stays small.
EMSCRIPTEN_BINDINGS(qilo_engine) { emscripten::function("fees", &Fees); }
