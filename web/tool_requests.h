#pragma once

#include <string>
#include <string_view>

namespace qilo::web {

// The trader's tools for the page, read and answered as FeesForPage does:
// "name=value" lines named as the command's options without their dashes and
// its positionals in lower case; the lines `qilo-cli COMMAND --fields`
// prints, or one "error.NAME=message" line per bad input. The rule inputs
// (date, market, kind, commission, min-commission, other, rounding, code) are
// ReadFeeTerms's. None of them throws for any text.

// limits: code, board, st ("1" or empty), percent, date, prev-close. A code
// gives the board; a board also given must be the code's.
std::string LimitsForPage(std::string_view input_lines);

// average: the rule inputs; the orders as price.1, count.1, price.2, ...
// (a row with both empty is skipped, at least one order is needed; errors
// are named as the row's input: "error.count.2=..."); target-average and at,
// given together, and lot (default 100).
std::string AverageForPage(std::string_view input_lines);

// t: the rule inputs, first (buy, the default, or sell), first-price,
// second-price, count, and holding and average, given together.
std::string DayTradeForPage(std::string_view input_lines);

// What a code (input `code`, on the trade date `date`) tells: "market=",
// "kind=" and "board=" lines with their codes, or "error.code=" /
// "error.date=" lines.
std::string SecurityForPage(std::string_view input_lines);

}  // namespace qilo::web
