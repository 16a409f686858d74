#include "text/gbk.h"

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
