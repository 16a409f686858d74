// GBK conversions through the code page 936 functions of Windows.
#include <windows.h>

#include <cstdint>

#include "text/gbk.h"

namespace qilo {
namespace {

constexpr UINT kGbkCodePage = 936;

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The length of the UTF-8 sequence a lead byte starts (1 for a stray byte).
size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

// The code point of the UTF-8 sequence of `length` bytes at `s`, or -1 when
// it is no valid, shortest-form encoding of a character.
int32_t DecodeUtf8(const unsigned char* s, size_t length) {
  static constexpr uint32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
  if (length == 1) return s[0] < 0x80 ? s[0] : -1;
  uint32_t cp = s[0] & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((s[i] & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (s[i] & 0x3F);
  }
  if (cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    return -1;
  return static_cast<int32_t>(cp);
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size() * 2);
  for (size_t i = 0; i < gbk.size();) {
    const auto byte = static_cast<unsigned char>(gbk[i]);
    if (byte < 0x80) {
      out += static_cast<char>(byte);
      ++i;
      continue;
    }
    // One character: a single byte (0x80, the euro sign) or a lead byte and
    // its trail; what the code page refuses is U+FFFD, one byte at a time.
    const int length = IsGbkLeadByte(gbk[i]) && i + 1 < gbk.size() ? 2 : 1;
    wchar_t wide[2];
    const int n = MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS,
                                      gbk.data() + i, length, wide, 2);
    if (n == 1 && (length == 2 || byte == 0x80)) {
      AppendUtf8(out, static_cast<uint16_t>(wide[0]));
      i += length;
    } else {
      out += "\xEF\xBF\xBD";
      ++i;
    }
  }
  return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  for (size_t i = 0; i < utf8.size();) {
    size_t length = Utf8Length(s[i]);
    if (length > utf8.size() - i) length = utf8.size() - i;
    const int32_t cp = DecodeUtf8(s + i, length);
    i += length;
    if (cp < 0) {
      out += '?';
      continue;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    // GBK holds no character beyond the basic plane; no best-fit stand-ins.
    char bytes[4];
    BOOL defaulted = FALSE;
    const wchar_t wide = static_cast<wchar_t>(cp);
    const int n =
        cp > 0xFFFF
            ? 0
            : WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1,
                                  bytes, sizeof bytes, nullptr, &defaulted);
    if (n <= 0 || defaulted) {
      out += '?';
    } else {
      out.append(bytes, static_cast<size_t>(n));
    }
  }
  return out;
}

}  // namespace qilo
