#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/gbk.h"

namespace qilo {

// Reads a whole number: leading blanks (byte 32), one optional sign, then
// decimal digits or hexadecimal digits after "$", "x", "X", "0x" or "0X", and
// nothing after them. Decimal values must fit 32 bits signed; hexadecimal ones
// may have eight significant digits, 80000000 and up coming out negative.
// Gives no number for anything else, the empty text included.
std::optional<int32_t> TextToInteger(std::string_view text);

// Header lines ("Name: value") in the order received, unchanged.
using THeaderList = std::vector<std::string>;

// The value of the first line named `name` (ASCII case ignored, the name not
// trimmed), joined with the lines after it that begin with a blank or a tab,
// trimmed; empty when no line has that name.
std::string HeaderValue(const THeaderList& lines, std::string_view name);

// The values of every line named `name`, in order, each read as HeaderValue
// reads the first.
std::vector<std::string> HeaderValues(const THeaderList& lines,
                                      std::string_view name);

// Reads an internet date (RFC 1123, RFC 850 or asctime form) as seconds since
// 1970-01-01 UTC; 0 for a text that is not such a date. Never fails.
int64_t InternetDateToUnix(std::string_view text);

}  // namespace qilo
