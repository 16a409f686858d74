// GBK conversions through the code page 936 functions of Windows, one
// character at a time, so that each one that does not convert is known.
#include <windows.h>

#include "text/gbk.h"

namespace qilo {
namespace {

constexpr UINT kGbkCodePage = 936;
constexpr wchar_t kReplacement = 0xFFFD;

bool IsSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

}  // namespace

Conversion<Utf16String> GbkToUtf16(std::string_view gbk) {
  Conversion<Utf16String> out;
  out.text.reserve(gbk.size());
  for (size_t i = 0; i < gbk.size();) {
    const auto byte = static_cast<unsigned char>(gbk[i]);
    if (byte < 0x80) {
      out.text += static_cast<wchar_t>(byte);
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
      out.text += wide[0];
      i += static_cast<size_t>(length);
    } else {
      out.text += kReplacement;
      out.lossless = false;
      ++i;
    }
  }
  return out;
}

Conversion<std::string> Utf16ToGbk(Utf16View utf16) {
  Conversion<std::string> out;
  out.text.reserve(utf16.size() * 2);
  for (size_t i = 0; i < utf16.size(); ++i) {
    const wchar_t unit = utf16[i];
    if (unit < 0x80) {
      out.text += static_cast<char>(unit);
      continue;
    }
    // GBK holds no character beyond the basic plane: a surrogate pair is one
    // "?", as a lone surrogate is.
    char bytes[4];
    BOOL defaulted = FALSE;
    const int n =
        IsSurrogate(unit)
            ? 0
            : WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, &unit, 1,
                                  bytes, sizeof bytes, nullptr, &defaulted);
    if (n <= 0 || defaulted) {
      out.text += '?';
      out.lossless = false;
      if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() &&
          utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
        ++i;
      }
    } else {
      out.text.append(bytes, static_cast<size_t>(n));
    }
  }
  return out;
}

std::string GbkToUtf8(std::string_view gbk) {
  return Utf16ToUtf8(GbkToUtf16(gbk).text).text;
}

std::string Utf8ToGbk(std::string_view utf8) {
  return Utf16ToGbk(Utf8ToUtf16(utf8).text).text;
}

bool GbkHolds(std::string_view utf8) {
  const Conversion<Utf16String> utf16 = Utf8ToUtf16(utf8);
  return utf16.lossless && Utf16ToGbk(utf16.text).lossless;
}

}  // namespace qilo
