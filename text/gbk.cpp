#include "text/gbk.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace qilo {

std::string ForwardSlashes(std::string_view text) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    if (IsGbkLeadByte(out[i])) {
      ++i;  // the trail byte may be 0x5C and must stay
    } else if (out[i] == '\\') {
      out[i] = '/';
    }
  }
  return out;
}

// "?" is never part of a longer UTF-8 or GBK character, so each "?" the
// conversion adds stands for a character it could not keep.
bool GbkHolds(std::string_view utf8) {
  const std::string gbk = Utf8ToGbk(utf8);
  return std::count(utf8.begin(), utf8.end(), '?') ==
         std::count(gbk.begin(), gbk.end(), '?');
}

bool SameText(std::string_view a, std::string_view b) {
  auto fold = [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (IsGbkLeadByte(a[i]) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (fold(a[i]) != fold(b[i])) {
      return false;
    }
  }
  return true;
}

const std::string& Gbk(std::string_view utf8_literal) {
  static std::mutex mutex;
  static std::map<std::string, std::string, std::less<>> cache;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = cache.find(utf8_literal);
  if (it == cache.end()) {
    it =
        cache.emplace(std::string(utf8_literal), Utf8ToGbk(utf8_literal)).first;
  }
  return it->second;
}

}  // namespace qilo
