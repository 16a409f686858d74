#include "exact/position_average.h"

#include <string>

#include "exact/fee_inputs.h"
#include "exact/fee_report.h"

namespace qilo {
namespace {

using Units = Decimal::Units;

// The most counts the buy-count solver tries one by one (about a millisecond).
constexpr Units kMostCountsTried = 10'000;

// How far the target's cost test is from holding when `lots` lots are bought:
// cost + the new order's outlay - target × all shares, under `at` (the terms,
// or the same with exact fees). At or below zero the target is reached.
struct BuyCountTest {
  const FeeRow& row;
  const AverageResult& position;
  const AverageTarget& target;

  Decimal Excess(Units lots, const FeeTerms& at) const {
    const Decimal count = target.lot * Decimal::FromUnits(lots, 0);
    const SideFees buy = FeesOfSide(row, at, Side::kBuy, target.at, count);
    return position.cost + buy.amount + buy.fees -
           target.average * (position.count + count);
  }
};

// The buy order's outlay rounds to less than this below its exact value:
// half a fen for each fee that rounds (an other fee of 2 decimals never does).
Decimal BuyRoundingSlack(const FeeRow& row, const FeeTerms& terms) {
  if (terms.rounding == Rounding::kNone) return Decimal();
  int rounded = 1 + (terms.other_fee.Decimals() > 2 ? 1 : 0);
  if (terms.kind == SecurityKind::kStock) {
    rounded += row.stamp_tax_on_buy ? 1 : 0;
    const TransferRule::Basis basis = row.TransferOn(terms.exchange).basis;
    rounded += basis == TransferRule::Basis::kPerThousandShares ||
                       basis == TransferRule::Basis::kPerMilleOfAmount
                   ? 1
                   : 0;
  }
  return Decimal(5 * rounded, 3);
}

// The fewest lots that pass the test, or nothing. With exact fees the excess
// is convex in the lots (straight lines and the maxima of straight lines
// added up), so it falls to its lowest point and rises after; rounding takes
// less than `slack` off it, so the answer lies where the exact excess is
// below the slack, found by halving; only from there is each count tried.
std::optional<Units> FewestLots(const BuyCountTest& test, const FeeTerms& terms,
                                Units most) {
  FeeTerms exact = terms;
  exact.rounding = Rounding::kNone;
  const Decimal slack = BuyRoundingSlack(test.row, terms);
  auto excess = [&](Units lots) { return test.Excess(lots, exact); };
  auto first = [](Units low, Units high, const auto& holds) {
    while (low < high) {
      const Units middle = low + (high - low) / 2;
      if (holds(middle)) {
        high = middle;
      } else {
        low = middle + 1;
      }
    }
    return low;
  };
  // A count the fees' rounding may bring to the target: with exact fees,
  // one that reaches it exactly too.
  auto may_pass = [&](Units lots) {
    const Decimal e = excess(lots);
    return e < slack || e.Sign() <= 0;
  };
  const Units lowest = first(Units(1), most, [&](Units lots) {
    return excess(lots + 1) >= excess(lots);
  });
  if (!may_pass(lowest)) return std::nullopt;
  Units lots = first(Units(1), lowest, may_pass);
  for (Units tried = 0; lots <= most; ++lots, ++tried) {
    if (test.Excess(lots, terms).Sign() <= 0) return lots;
    if (lots > lowest && !may_pass(lots)) break;
    // Where the average barely moves with each lot, rounding alone decides
    // among a run of counts that can be as long as the bounds; rather than
    // try them all, stop with an error the caller can act on.
    if (tried == kMostCountsTried) {
      throw EFeeInputError(
          "the fen rounding of the fees decides the count among more than " +
          std::to_string(static_cast<long long>(kMostCountsTried)) +
          " lots from " +
          (test.target.lot * Decimal::FromUnits(lots - tried, 0)).Text() +
          " shares on: give a larger lot");
    }
  }
  return std::nullopt;
}

std::string Average(const Decimal& average) { return average.Text(3); }

}  // namespace

AverageResult ComputeAverage(const FeeTerms& terms,
                             std::span<const BuyOrder> orders,
                             const std::optional<AverageTarget>& target) {
  if (orders.empty()) throw EFeeInputError("no buy orders");
  const FeeRow& row = FeeRowOn(terms.date, terms.exchange);
  AverageResult r;
  r.rules_from = row.from;
  for (const BuyOrder& order : orders) {
    CheckPrice(order.price, terms.kind);
    CheckCount(order.count);
    const SideFees buy =
        FeesOfSide(row, terms, Side::kBuy, order.price, order.count);
    r.count = r.count + order.count;
    r.amount = r.amount + buy.amount;
    r.fees = r.fees + buy.fees;
  }
  if (r.count > Decimal(kMaxCount, 0)) {
    throw EFeeInputError("the orders' " + r.count.Text() +
                         " shares are above " + Decimal(kMaxCount, 0).Text() +
                         ", the largest the exact arithmetic takes");
  }
  r.cost = r.amount + r.fees;
  r.average = Decimal::Quotient(r.cost, r.count, 3);
  r.break_even = LowestSellPrice(row, terms, r.count, r.cost, Decimal());
  if (!target) return r;

  CheckPrice(target->average, terms.kind);
  CheckPrice(target->at, terms.kind);
  CheckCount(target->lot);
  if (r.cost <= target->average * r.count) {
    r.buy_count = Decimal();
    r.new_average = r.average;
    return r;
  }
  const Units most = Units(kMaxCount) / target->lot.Round(0).units();
  const BuyCountTest test{row, r, *target};
  const std::optional<Units> lots =
      most < 1 ? std::nullopt : FewestLots(test, terms, most);
  if (!lots) {
    throw EFeeInputError("no count up to " + Decimal(kMaxCount, 0).Text() +
                         " bought at " + PriceText(target->at, terms.kind) +
                         " brings the average to " +
                         PriceText(target->average, terms.kind));
  }
  const Decimal count = target->lot * Decimal::FromUnits(*lots, 0);
  const SideFees buy = FeesOfSide(row, terms, Side::kBuy, target->at, count);
  r.buy_count = count;
  r.new_average =
      Decimal::Quotient(r.cost + buy.amount + buy.fees, r.count + count, 3);
  return r;
}

std::string AverageFieldLines(const AverageResult& result, SecurityKind kind) {
  std::string out =
      "count=" + result.count.Text() + "\namount=" + result.amount.Text(2) +
      "\nfees=" + result.fees.Text(2) + "\ncost=" + result.cost.Text(2) +
      "\naverage=" + Average(result.average) +
      "\nbreak_even=" + PriceText(result.break_even, kind) + "\n";
  if (result.buy_count) {
    out += "buy_count=" + result.buy_count->Text() +
           "\nnew_average=" + Average(*result.new_average) + "\n";
  }
  return out;
}

std::string AverageSummary(const AverageResult& result, SecurityKind kind) {
  std::string out = "持仓 " + result.count.Text() + " 股，金额 " +
                    result.amount.Text(2) + "，费用 " + result.fees.Text(2) +
                    "，成本 " + result.cost.Text(2) + "\n成本价 " +
                    Average(result.average) + "，保本价 " +
                    PriceText(result.break_even, kind) + "\n";
  if (result.buy_count) {
    out += "补仓 " + result.buy_count->Text() + " 股，成本价降至 " +
           Average(*result.new_average) + "\n";
  }
  return out;
}

}  // namespace qilo
