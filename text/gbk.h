#pragma once

#include <string>
#include <string_view>

#include "text/utf16.h"

namespace qilo {

// GBK (code page 936, 0x80 the euro sign) to UTF-16 and back, with whether
// every character came through. A byte that starts no character GBK has
// becomes U+FFFD; a character GBK has no code of its own for (no best-fit
// stand-in is taken) becomes "?". The input itself is never changed.
Conversion<Utf16String> GbkToUtf16(std::string_view gbk);
Conversion<std::string> Utf16ToGbk(Utf16View utf16);

// The same between GBK and UTF-8, for texts where a replaced character only
// shows: the screen, the command line. A broken UTF-8 sequence becomes "?".
std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

// True when Utf8ToGbk keeps every character of the UTF-8 text: none of them
// (nor a broken sequence) would become "?".
bool GbkHolds(std::string_view utf8);

// True for a byte that starts a two-byte GBK character; the byte after it may
// be any value, "\\" and ASCII letters included.
inline bool IsGbkLeadByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x81 && byte <= 0xFE;
}

// The text with every "\\" that is not the second byte of a GBK character
// turned into "/".
std::string ForwardSlashes(std::string_view text);

// Equal but for the letter case of ASCII letters; both bytes of a GBK
// character compare exactly, so two Chinese texts never match by accident.
bool SameText(std::string_view a, std::string_view b);

// The GBK bytes of a UTF-8 source literal, converted once and kept for the
// life of the process. Only for literals: the cache is keyed by the text.
const std::string& Gbk(std::string_view utf8_literal);

}  // namespace qilo
