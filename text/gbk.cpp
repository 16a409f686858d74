#include "text/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <mutex>

namespace qilo {
namespace {

// glibc's "CP936" matches the Windows ANSI code page (0x80 is the euro sign).
constexpr const char kGbkName[] = "CP936";

// The length of the UTF-8 sequence a lead byte starts (1 for a stray byte).
size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

// Converts with iconv, replacing each character that does not convert by
// `replacement`: one byte of GBK input, or one whole UTF-8 sequence.
std::string Convert(const char* to, const char* from, std::string_view in,
                    std::string_view replacement) {
  const bool from_utf8 = from[0] == 'U';
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  out.reserve(in.size() * 2);
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char buffer[256];
  while (src_left > 0) {
    char* dst = buffer;
    size_t dst_left = sizeof buffer;
    size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(buffer, dst - buffer);
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      out.append(replacement);
      size_t skip =
          from_utf8 ? Utf8Length(static_cast<unsigned char>(*src)) : 1;
      if (skip > src_left) skip = src_left;
      src += skip;
      src_left -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  return Convert("UTF-8", kGbkName, gbk, "\xEF\xBF\xBD");
}

std::string Utf8ToGbk(std::string_view utf8) {
  return Convert(kGbkName, "UTF-8", utf8, "?");
}

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
