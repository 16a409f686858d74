#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qilo {

// A code unit of UTF-16 text as the platform's wide calls take it: wchar_t on
// Windows, char16_t elsewhere (where wchar_t has 32 bits).
#ifdef _WIN32
using Utf16Unit = wchar_t;
#else
using Utf16Unit = char16_t;
#endif
using Utf16String = std::basic_string<Utf16Unit>;
using Utf16View = std::basic_string_view<Utf16Unit>;

// A converted text, and whether every character of the input came through.
// A character without an equivalent (a broken sequence, a lone surrogate, a
// character the code page has no code for) is replaced, by U+FFFD in Unicode
// and by "?" in GBK, and `lossless` is false.
template <typename Text>
struct Conversion {
  Text text;
  bool lossless = true;
};

// The bytes the UTF-8 character at `at` of `text` takes: a whole sequence, or
// of a broken one its first byte and the continuation bytes after it (a
// stray byte stands alone). 0 at the end of the text.
size_t Utf8CharSize(std::string_view text, size_t at);

// UTF-8 to UTF-16 and back. A broken UTF-8 sequence (also an overlong form or
// an encoded surrogate) and a lone surrogate each become one U+FFFD.
Conversion<Utf16String> Utf8ToUtf16(std::string_view utf8);
Conversion<std::string> Utf16ToUtf8(Utf16View utf16);

}  // namespace qilo
