#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exact/trade_fees.h"

namespace qilo {

// The columns a statement adds to each trade line.
inline constexpr char kStatementAddedColumns[] =
    "amount,commission,stamp_tax,transfer_fee,other_fee,fees,net";

// What a statement gives: the lines to write, each without its "\n" (the
// header and every good trade line, as they came, with the added columns),
// and for each bad line "line N: reason".
struct StatementOutput {
  std::vector<std::string> lines;
  std::vector<std::string> errors;
};

// Reads a CSV of trades in UTF-8 (lines ended by "\n" or "\r\n", a leading
// byte order mark allowed): a header naming the columns date, side, price and
// count, in any order and letter case, and optionally market, kind and code,
// then a trade per line; blank lines are skipped. A field in double quotes may
// hold commas ("" stands for one quote). Each line is priced under `terms`
// (their date is not used) with its own date, and the market and kind its own
// columns give; its code, or `code` when it gives none, sets both (see
// ApplySecurityCode). A header without a required column gives no lines and
// the error "line 1: missing column 'NAME'".
StatementOutput ComputeStatement(std::string_view text, const FeeTerms& terms,
                                 std::string_view code = {});

}  // namespace qilo
