#include "text/utf16.h"

namespace qilo {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct Decoded {
  char32_t code_point;
  size_t size;
  bool ok;
};

bool IsContinuation(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The character at `at` (not the end of `text`).
Decoded DecodeUtf8(std::string_view text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1, true};
  size_t length = 1;
  if (lead >= 0xC0 && lead < 0xE0) length = 2;
  if (lead >= 0xE0 && lead < 0xF0) length = 3;
  if (lead >= 0xF0 && lead < 0xF8) length = 4;
  if (length == 1) return {kReplacement, 1, false};
  char32_t cp = lead & (0x7F >> length);
  size_t size = 1;
  while (size < length && at + size < text.size() &&
         IsContinuation(text[at + size])) {
    cp = (cp << 6) | (static_cast<unsigned char>(text[at + size]) & 0x3F);
    ++size;
  }
  // Only the shortest form of a character outside the surrogates counts.
  static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (size < length || cp < kLeast[length] || cp > 0x10FFFF ||
      (cp >= 0xD800 && cp <= 0xDFFF)) {
    return {kReplacement, size, false};
  }
  return {cp, size, true};
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
    return;
  }
  if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  }
  out += static_cast<char>(0x80 | (cp & 0x3F));
}

bool IsHigh(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

size_t Utf8CharSize(std::string_view text, size_t at) {
  return at < text.size() ? DecodeUtf8(text, at).size : 0;
}

Conversion<Utf16String> Utf8ToUtf16(std::string_view utf8) {
  Conversion<Utf16String> out;
  out.text.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const Decoded d = DecodeUtf8(utf8, i);
    i += d.size;
    out.lossless = out.lossless && d.ok;
    if (d.code_point < 0x10000) {
      out.text += static_cast<Utf16Unit>(d.code_point);
    } else {
      const char32_t v = d.code_point - 0x10000;
      out.text += static_cast<Utf16Unit>(0xD800 + (v >> 10));
      out.text += static_cast<Utf16Unit>(0xDC00 + (v & 0x3FF));
    }
  }
  return out;
}

Conversion<std::string> Utf16ToUtf8(Utf16View utf16) {
  Conversion<std::string> out;
  out.text.reserve(utf16.size() * 3);
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = static_cast<char16_t>(utf16[i]);
    if (IsHigh(cp) && i + 1 < utf16.size() &&
        IsLow(static_cast<char16_t>(utf16[i + 1]))) {
      cp = 0x10000 + ((cp - 0xD800) << 10) +
           (static_cast<char16_t>(utf16[++i]) - 0xDC00);
    } else if (IsHigh(cp) || IsLow(cp)) {
      cp = kReplacement;
      out.lossless = false;
    }
    AppendUtf8(out.text, cp);
  }
  return out;
}

}  // namespace qilo
