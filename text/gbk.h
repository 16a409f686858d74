#pragma once

#include <string>
#include <string_view>

namespace qilo {

// GBK (code page 936) bytes to UTF-8. A byte sequence that does not convert
// becomes U+FFFD; the input itself is never changed.
std::string GbkToUtf8(std::string_view gbk);

// UTF-8 to GBK. A character GBK cannot hold becomes "?".
std::string Utf8ToGbk(std::string_view utf8);

// The GBK bytes of a UTF-8 source literal, converted once and kept for the
// life of the process. Only for literals: the cache is keyed by the text.
const std::string& Gbk(std::string_view utf8_literal);

}  // namespace qilo
