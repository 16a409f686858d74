#include <emscripten/bind.h>

#include "web/fee_request.h"

// The engine's face to the page's script: one function per command, text in,
// text out, so the glue stays small.
EMSCRIPTEN_BINDINGS(qilo_engine) {
  emscripten::function("fees", &qilo::web::FeesForPage);
}
