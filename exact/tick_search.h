#pragma once

#include <optional>

#include "exact/decimal.h"

namespace qilo {

// How far a value made of fees each rounded half up to the fen (at most four
// of them) may lie from the same value with the fees exact.
inline constexpr Decimal kRoundingSlack(2, 2);

// Searches over prices counted in ticks from 1. `exact(t)` gives a value that
// grows with t, `rounded(t)` the same value with the fees rounded, within
// kRoundingSlack of it; rounding can make one tick more give less, so only the
// ticks whose exact value lies within the slack of the bound need a look.
// Both throw EDecimalError when no tick the arithmetic holds gets past the
// bound.

// The first tick t >= 1 for which `past(t)` holds, for a test that once true
// stays true as t grows: doubling, then halving.
template <typename Past>
Decimal::Units FirstTick(const Past& past) {
  using Units = Decimal::Units;
  Units high = 1;
  while (!past(high)) {
    if (high > (Units(1) << 100)) {
      throw EDecimalError("no price the exact arithmetic holds is far enough");
    }
    high *= 2;
  }
  Units low = high == 1 ? 1 : high / 2 + 1;
  while (low < high) {
    const Units middle = low + (high - low) / 2;
    if (past(middle)) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

// The lowest tick with rounded(t) >= goal.
template <typename Exact, typename Rounded>
Decimal::Units LowestTickReaching(const Exact& exact, const Rounded& rounded,
                                  const Decimal& goal) {
  const Decimal maybe = goal - kRoundingSlack;
  Decimal::Units t =
      FirstTick([&](Decimal::Units at) { return exact(at) >= maybe; });
  while (rounded(t) < goal) ++t;
  return t;
}

// The highest tick with rounded(t) <= limit; nothing when no tick has it.
template <typename Exact, typename Rounded>
std::optional<Decimal::Units> HighestTickWithin(const Exact& exact,
                                                const Rounded& rounded,
                                                const Decimal& limit) {
  // From this tick up every value is past the limit, rounded or not.
  const Decimal surely = limit + kRoundingSlack;
  const Decimal::Units past =
      FirstTick([&](Decimal::Units at) { return exact(at) > surely; });
  for (Decimal::Units t = past - 1; t >= 1; --t) {
    if (rounded(t) <= limit) return t;
  }
  return std::nullopt;
}

}  // namespace qilo
