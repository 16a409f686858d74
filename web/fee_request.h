#pragma once

#include <string>
#include <string_view>

namespace qilo::web {

// The fees command for the page. Takes "name=value" lines ("\n" ends each)
// named as qilo-cli's options without their dashes and its positionals:
// date, market, kind, commission, min-commission, other, rounding, code,
// target-profit, target-rate, stop-loss, stop-rate, buy, sell, count. date,
// buy, sell and count are required; an option left out or empty takes the
// command's default (no target or stop when both of its inputs are empty).
// Gives the lines `qilo-cli fees
// --fields` prints, or, when any input is bad, one "error.NAME=message" line
// per bad input, in the order above, each with the engine's message naming
// the value and the bound it broke. Never throws for any text.
std::string FeesForPage(std::string_view input_lines);

}  // namespace qilo::web
