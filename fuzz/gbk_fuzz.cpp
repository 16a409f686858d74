// The GBK and UTF-8 conversions at the screen's edge: no input breaks them,
// GBK always becomes valid UTF-8, and text that came from GBK goes back to
// the same bytes unless it held bytes GBK cannot name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/gbk.h"

namespace {

bool ValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t n = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
    if (n == 0 || b > 0xF4 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string utf8 = qilo::GbkToUtf8(bytes);
  if (!ValidUtf8(utf8)) std::abort();
  if (utf8.find("\xEF\xBF\xBD") == std::string::npos &&
      qilo::Utf8ToGbk(utf8) != bytes) {
    std::abort();
  }
  // The other way, from whatever UTF-8 (or not) the user's desktop gives.
  const std::string gbk = qilo::Utf8ToGbk(bytes);
  if (!ValidUtf8(qilo::GbkToUtf8(gbk))) std::abort();
  qilo::ForwardSlashes(bytes);
  qilo::SameText(bytes, gbk);
  return 0;
}
