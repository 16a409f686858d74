// Text to number and back: any bytes either convert or raise the program's
// own errors; a converted value formats at every precision the window uses,
// and the fixed text reads back as the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calc/number_text.h"
#include "text/exception.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  qilo::Number value;
  try {
    value = qilo::TextToNumber(text);
  } catch (const qilo::Exception&) {
    return 0;  // not a number: the message box's case
  }
  for (const int decimals : {0, 2, 3, 18}) {
    std::string fixed;
    try {
      fixed = qilo::FormatFixed(value, decimals);
    } catch (const qilo::Exception&) {
      continue;
    }
    // What the window shows must read back as itself.
    try {
      if (qilo::FormatFixed(qilo::TextToNumber(fixed), decimals) != fixed) {
        std::abort();
      }
    } catch (const qilo::Exception&) {
      std::abort();
    }
  }
  return 0;
}
