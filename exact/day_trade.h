#pragma once

#include <optional>
#include <string>

#include "exact/decimal.h"
#include "exact/trade_fees.h"

namespace qilo {

// A position held before a day trade: `count` shares at an average cost.
struct Holding {
  Decimal count;
  Decimal average;
};

// A day trade (做T): `first` buys (正T) or sells (倒T) `count` shares at one
// price, and the second leg does the other side at another, each as one order
// on the terms' date.
struct DayTradeResult {
  Date rules_from;
  Side first = Side::kBuy;
  SideFees first_leg;
  SideFees second_leg;
  Decimal fees;  // both legs'
  // The sell leg's amount less its fees, less the buy leg's amount and fees.
  Decimal gain;
  // Buying first, the lowest tick sell price, selling first the highest tick
  // buy-back price, that leaves the gain at 0 or more.
  Decimal break_even;
  // With a holding: (holding × average - gain) / holding, half up to 3
  // decimals.
  std::optional<Decimal> new_average;
};

// Throws EFeeInputError for a price or count CheckPrice or CheckCount refuses,
// a date without rules, and, selling first, a sale no buy-back price covers.
DayTradeResult ComputeDayTrade(const FeeTerms& terms, Side first,
                               const Decimal& first_price,
                               const Decimal& second_price,
                               const Decimal& count,
                               const std::optional<Holding>& holding = {});

// "NAME=VALUE" lines, each ended by "\n": first.amount, first.fees,
// second.amount, second.fees, fees, gain, break_even, and with a holding
// new_average.
std::string DayTradeFieldLines(const DayTradeResult& result, SecurityKind kind);

// The same in readable Chinese lines (UTF-8).
std::string DayTradeSummary(const DayTradeResult& result, SecurityKind kind);

}  // namespace qilo
