// The trader's tools on small trades (prices up to 100 yuan, counts up to
// 10,000 shares, any day the schedule covers, any commission and minimum):
// every price and count they search for is the one a plain scan over every
// tick or lot finds, and every search ends. The scans price each tick with
// ComputeSide, as a broker's statement would, and stop where the exact value
// has moved further than rounding could take it back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "exact/day_trade.h"
#include "exact/position_average.h"
#include "exact/price_limits.h"
#include "exact/trade_fees.h"
#include "fuzz/fuzz_bytes.h"
#include "text/exception.h"

namespace {

using qilo::Decimal;
using qilo::FeeTerms;
using qilo::Side;

// What `count` shares at tick `t` bring in (sold) or cost (bought), under
// the terms or with the fees exact.
struct Pricing {
  FeeTerms terms;
  Decimal tick;
  Decimal count;
  Side side;
  Decimal operator()(long t, bool exact = false) const {
    FeeTerms at = terms;
    if (exact) at.rounding = qilo::Rounding::kNone;
    const qilo::SideFees s =
        qilo::ComputeSide(at, side, Decimal::FromUnits(t, 0) * tick, count);
    return side == Side::kSell ? s.amount - s.fees : s.amount + s.fees;
  }
};

// Rounding four fees to the fen moves a value by two fen at the most; the
// scans look this far past it.
const Decimal kWide(5, 2);

long Ticks(const Decimal& price, const Decimal& tick) {
  const Decimal ticks = Decimal::Quotient(price, tick, 0);
  Require(ticks * tick == price && ticks.Sign() > 0);
  return static_cast<long>(ticks.units());
}

// `found` is the lowest tick whose value reaches `goal`: every lower tick
// falls short, down to tick 1 or to where the exact value, which grows with
// the tick, lies so far below that no rounding reaches.
void RequireLowest(const Pricing& value, const Decimal& goal,
                   const Decimal& found) {
  const long at = Ticks(found, value.tick);
  Require(value(at) >= goal);
  for (long t = at - 1; t >= 1; --t) {
    Require(value(t) < goal);
    if (value(t, true) < goal - kWide) break;
  }
}

// `found` is the highest tick whose value stays within `limit` (nothing:
// none does): every higher tick is past it, up to where the exact value is
// past it by more than rounding moves.
void RequireHighest(const Pricing& value, const Decimal& limit,
                    const std::optional<Decimal>& found) {
  const long at = found ? Ticks(*found, value.tick) : 0;
  if (found) Require(value(at) <= limit);
  for (long t = at + 1;; ++t) {
    Require(value(t) > limit);
    if (value(t, true) > limit + kWide) break;
  }
}

void CheckTrade(const FeeTerms& terms, const Decimal& tick, const Decimal& buy,
                const Decimal& sell, const Decimal& count, FuzzBytes& in) {
  using Kind = qilo::TradeTarget::Kind;
  const qilo::TradeTarget target{in.Next() % 2 ? Kind::kRate : Kind::kProfit,
                                 Decimal::FromUnits(in.Below(4000), 2)};
  const qilo::TradeTarget stop{in.Next() % 2 ? Kind::kRate : Kind::kProfit,
                               Decimal::FromUnits(in.Below(4000), 2)};
  qilo::TradeResult r;
  try {
    r = qilo::ComputeTrade(terms, buy, sell, count, target, stop);
  } catch (const qilo::Exception& e) {
    // A day without rules, or a stop no price reaches.
    Require(std::string_view(e.ClassName()) == "EFeeInputError");
    return;
  }
  const Pricing proceeds{terms, tick, count, Side::kSell};
  // Proceeds giving a profit of `goal.value` yuan, or percent of the cost.
  const auto at = [&](const qilo::TradeTarget& goal, int sign) {
    const Decimal yuan = goal.kind == Kind::kProfit
                             ? goal.value
                             : (goal.value * r.cost).MovePointLeft(2);
    return sign > 0 ? r.cost + yuan : r.cost - yuan;
  };
  RequireLowest(proceeds, r.cost, r.break_even);
  RequireLowest(proceeds, at(target, 1), *r.target);
  RequireHighest(proceeds, at(stop, -1), r.stop);
}

void CheckAverage(const FeeTerms& terms, const Decimal& tick, FuzzBytes& in) {
  qilo::BuyOrder orders[3];
  const size_t n = 1 + in.Next() % 3;
  for (size_t i = 0; i < n; ++i) {
    orders[i] = {Decimal::FromUnits(1 + in.Below(10'000), tick.scale()),
                 Decimal(100 * (1 + in.Below(100)), 0)};
  }
  const qilo::AverageTarget target{
      Decimal::FromUnits(1 + in.Below(100'000), 3),
      Decimal::FromUnits(1 + in.Below(10'000), tick.scale()),
      Decimal(in.Next() % 2 ? 100 : 1 + in.Below(1000), 0)};
  qilo::AverageResult r;
  try {
    r = qilo::ComputeAverage(terms, {orders, n}, target);
  } catch (const qilo::Exception& e) {
    Require(std::string_view(e.ClassName()) == "EFeeInputError");
    return;
  }
  RequireLowest({terms, tick, r.count, Side::kSell}, r.cost, r.break_even);
  // The fewest lots bought at `at` that bring the exact average to the
  // target: a scan from none, up to 2000 lots.
  const Decimal lots = Decimal::Quotient(*r.buy_count, target.lot, 0);
  Require(lots * target.lot == *r.buy_count);
  for (long k = 0; k <= 2000; ++k) {
    const Decimal count = Decimal::FromUnits(k, 0) * target.lot;
    Decimal cost = r.cost;
    if (k > 0) {
      const qilo::SideFees buy =
          qilo::ComputeSide(terms, Side::kBuy, target.at, count);
      cost = cost + buy.amount + buy.fees;
    }
    const bool reached = cost <= target.average * (r.count + count);
    Require(reached == (Decimal::FromUnits(k, 0) == lots));
    if (reached) break;
  }
}

void CheckDayTrade(const FeeTerms& terms, const Decimal& tick,
                   const Decimal& first, const Decimal& second,
                   const Decimal& count, FuzzBytes& in) {
  const Side side = in.Next() % 2 ? Side::kBuy : Side::kSell;
  qilo::DayTradeResult r;
  try {
    r = qilo::ComputeDayTrade(terms, side, first, second, count);
  } catch (const qilo::Exception& e) {
    Require(std::string_view(e.ClassName()) == "EFeeInputError");
    return;
  }
  if (side == Side::kBuy) {
    RequireLowest({terms, tick, count, Side::kSell},
                  r.first_leg.amount + r.first_leg.fees, r.break_even);
  } else {
    RequireHighest({terms, tick, count, Side::kBuy},
                   r.first_leg.amount - r.first_leg.fees, r.break_even);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes in(std::string_view(reinterpret_cast<const char*>(data), size));
  FeeTerms terms;
  const unsigned days = in.Below(6800);
  terms.date = {2008 + static_cast<int>(days / 365),
                1 + static_cast<int>(days / 28 % 12),
                1 + static_cast<int>(days % 28)};
  if (terms.date < qilo::Date{2008, 4, 24}) terms.date = {2008, 4, 24};
  terms.exchange = static_cast<qilo::Exchange>(in.Next() % 3);
  terms.kind =
      in.Next() % 4 ? qilo::SecurityKind::kStock : qilo::SecurityKind::kFund;
  terms.commission_per_mille = Decimal::FromUnits(in.Below(30'000), 4);
  terms.min_commission = Decimal::FromUnits(in.Below(1'000), 2);
  terms.other_fee = Decimal::FromUnits(in.Below(500), 2);
  terms.rounding = in.Next() % 4 ? qilo::Rounding::kFen : qilo::Rounding::kNone;
  const bool fund = terms.kind == qilo::SecurityKind::kFund;
  const Decimal tick = fund ? Decimal(1, 3) : Decimal(1, 2);
  const Decimal first = Decimal::FromUnits(1 + in.Below(10'000), tick.scale());
  const Decimal second = Decimal::FromUnits(1 + in.Below(10'000), tick.scale());
  const Decimal count = Decimal(1 + in.Below(10'000), 0);
  switch (in.Next() % 3) {
    case 0:
      CheckTrade(terms, tick, first, second, count, in);
      break;
    case 1:
      CheckAverage(terms, tick, in);
      break;
    default:
      CheckDayTrade(terms, tick, first, second, count, in);
      break;
  }
  return 0;
}
