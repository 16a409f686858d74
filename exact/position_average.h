#pragma once

#include <optional>
#include <span>
#include <string>

#include "exact/decimal.h"
#include "exact/trade_fees.h"

namespace qilo {

// One buy order: `count` shares at `price`, with its own minimum commission.
struct BuyOrder {
  Decimal price;
  Decimal count;
};

// Where to bring the average: to `average` or below by buying at `at`, in
// whole multiples of `lot` shares.
struct AverageTarget {
  Decimal average;
  Decimal at;
  Decimal lot = Decimal(100, 0);
};

struct AverageResult {
  Date rules_from;
  Decimal count;       // shares of all orders
  Decimal amount;      // their amounts
  Decimal fees;        // their fees, each order's rounded as the terms say
  Decimal cost;        // amount + fees
  Decimal average;     // cost / count, half up to 3 decimals
  Decimal break_even;  // the lowest tick price selling it all nets >= cost
  // With a target: the fewest shares that bring the exact average to it or
  // below (0 when it already is), and the average then, as `average`.
  std::optional<Decimal> buy_count;
  std::optional<Decimal> new_average;
};

// The cost and average of a position bought in `orders` under `terms`, and
// with a target the shares to buy. Throws EFeeInputError for no orders, a
// price or count CheckPrice or CheckCount refuses, shares beyond kMaxCount in
// all, no rules for the date, a target no count within kMaxCount reaches, and
// one where the average moves so little per lot that the fees' rounding
// decides among more than 10000 lots (a larger lot then answers).
AverageResult ComputeAverage(const FeeTerms& terms,
                             std::span<const BuyOrder> orders,
                             const std::optional<AverageTarget>& target = {});

// "NAME=VALUE" lines, each ended by "\n": count, amount, fees, cost, average,
// break_even, and with a target buy_count and new_average.
std::string AverageFieldLines(const AverageResult& result, SecurityKind kind);

// The same in readable Chinese lines (UTF-8).
std::string AverageSummary(const AverageResult& result, SecurityKind kind);

}  // namespace qilo
