#pragma once

#include <string>
#include <string_view>

#include "exact/decimal.h"
#include "exact/fee_schedule.h"

namespace qilo {

// The bounds of a trade's inputs. Within them every amount, fee, profit, rate
// and searched price fits the exact arithmetic with room to spare (the widest
// value, a target rate times a cost at 14 decimals, stays below 10^37 of
// Decimal's 1.7e38 units); the commission bound also keeps the sell side's
// rates under the whole amount, so that a higher price always nets more.
inline constexpr long long kMaxPrice = 10'000'000;        // yuan
inline constexpr long long kMaxCount = 10'000'000'000;    // shares
inline constexpr long long kMaxCommissionPerMille = 100;  // per mille
inline constexpr long long kMaxFeeYuan = 1'000'000'000;   // minimum, other
inline constexpr long long kMaxTargetProfit = 1'000'000'000'000'000;  // yuan
inline constexpr long long kMaxTargetRate = 10'000;                   // %

// Each function reads a UTF-8 text and throws EFeeInputError with a message
// that names the input and its value: "price '10.005' is not on the 0.01 tick",
// "count '0' is not a whole number above zero", "commission '150' is above
// 100, the largest the exact arithmetic takes", "... is not a number", "... has
// more than 4 decimals".

// "YYYY-MM-DD": "'2023-02-30' is not a date (YYYY-MM-DD)" otherwise.
Date ParseTradeDate(std::string_view text);
// Above zero, at most kMaxPrice, on the kind's tick.
Decimal ParsePrice(std::string_view text, SecurityKind kind);
// Whole, from 1 to kMaxCount shares.
Decimal ParseCount(std::string_view text);
// Per mille, up to 4 decimals, from 0 to kMaxCommissionPerMille.
Decimal ParseCommissionRate(std::string_view text);
// Yuan per side (`what` names it: "min commission", "other fee"), up to 2
// decimals, from 0 to kMaxFeeYuan.
Decimal ParseFeeYuan(std::string_view text, std::string_view what);
// Yuan, up to 2 decimals, at most kMaxTargetProfit either way.
Decimal ParseTargetProfit(std::string_view text);
// Percent, up to 4 decimals, at most kMaxTargetRate either way.
Decimal ParseTargetRate(std::string_view text);

// Percent, up to 2 decimals, above 0 and at most 100: a price limit.
Decimal ParseLimitPercent(std::string_view text);
// Yuan, up to 3 decimals, above 0 and at most kMaxPrice: an average cost,
// which need not be on the tick.
Decimal ParseAveragePrice(std::string_view text);
// Yuan, up to 2 decimals, from 0 to kMaxTargetProfit: a loss to stop at.
Decimal ParseStopLoss(std::string_view text);
// Percent of the cost, up to 4 decimals, from 0 to 100: a loss to stop at.
Decimal ParseStopRate(std::string_view text);

// `what` and the text as given, in quotes ("price '10.005'", "'x'" without a
// what), for a message: bytes that are not UTF-8, and control characters,
// show as U+FFFD, so that the message is one line of UTF-8 whatever was
// typed or pasted.
std::string QuotedInput(std::string_view what, std::string_view text);

// The checks of ParsePrice and ParseCount for values given as numbers.
void CheckPrice(const Decimal& price, SecurityKind kind);
void CheckCount(const Decimal& count);

}  // namespace qilo
