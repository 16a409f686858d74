#include "exact/trade_fees.h"

#include <algorithm>

#include "exact/fee_inputs.h"

namespace qilo {
namespace {

using Units = Decimal::Units;
using Basis = TransferRule::Basis;

// `rate` per mille of `base`, rounded to the fen when the terms round.
Decimal PerMilleOf(const Decimal& base, const Decimal& rate,
                   Rounding rounding) {
  const Decimal exact = (base * rate).MovePointLeft(3);
  return rounding == Rounding::kFen ? exact.Round(2) : exact;
}

}  // namespace

SideFees FeesOfSide(const FeeRow& row, const FeeTerms& terms, Side side,
                    const Decimal& price, const Decimal& count) {
  const Rounding rounding = terms.rounding;
  SideFees s;
  s.amount = price * count;
  s.commission =
      std::max(PerMilleOf(s.amount, terms.commission_per_mille, rounding),
               terms.min_commission);
  if (terms.kind == SecurityKind::kStock) {
    if (side == Side::kSell || row.stamp_tax_on_buy) {
      s.stamp_tax = PerMilleOf(s.amount, row.stamp_tax_per_mille, rounding);
    }
    const TransferRule& transfer = row.TransferOn(terms.exchange);
    // Yuan per 1000 shares: the rate per mille of the count.
    if (transfer.basis == Basis::kPerThousandShares) {
      s.transfer_fee = std::max(PerMilleOf(count, transfer.rate, rounding),
                                transfer.minimum);
    } else if (transfer.basis == Basis::kPerMilleOfAmount) {
      s.transfer_fee = std::max(PerMilleOf(s.amount, transfer.rate, rounding),
                                transfer.minimum);
    }
  }
  s.other_fee =
      rounding == Rounding::kFen ? terms.other_fee.Round(2) : terms.other_fee;
  s.fees = s.commission + s.stamp_tax + s.transfer_fee + s.other_fee;
  return s;
}

Decimal LowestSellPrice(const FeeRow& row, const FeeTerms& terms,
                        const Decimal& count, const Decimal& cost,
                        const Decimal& goal) {
  const Decimal tick = Tick(terms.kind);
  FeeTerms exact = terms;
  exact.rounding = Rounding::kNone;
  auto profit_at = [&](Units ticks, const FeeTerms& at) {
    const SideFees sell = FeesOfSide(
        row, at, Side::kSell, tick * Decimal::FromUnits(ticks, 0), count);
    return sell.amount - sell.fees - cost;
  };
  // Unrounded, the profit grows with the price (the sell side's rates stay
  // far below the whole amount). Rounding moves each of the four fees by at
  // most half a fen, so a price whose exact profit is under `maybe` misses
  // the goal and one whose exact profit reaches `surely` meets it: only the
  // ticks between need a look.
  const Decimal slack(2, 2);
  const Decimal maybe = goal - slack;
  const Decimal surely = goal + slack;
  Units high = 1;
  while (profit_at(high, exact) < surely) {
    if (high > (Units(1) << 120)) {
      throw EDecimalError("no price the exact arithmetic holds reaches " +
                          goal.Text(2));
    }
    high *= 2;
  }
  Units low = 1;
  while (low < high) {
    const Units middle = low + (high - low) / 2;
    if (profit_at(middle, exact) >= maybe) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  Units ticks = low;
  while (profit_at(ticks, terms) < goal) ++ticks;
  return tick * Decimal::FromUnits(ticks, 0);
}

SideFees ComputeSide(const FeeTerms& terms, Side side, const Decimal& price,
                     const Decimal& count) {
  CheckPrice(price, terms.kind);
  CheckCount(count);
  return FeesOfSide(FeeRowOn(terms.date, terms.exchange), terms, side, price,
                    count);
}

TradeResult ComputeTrade(const FeeTerms& terms, const Decimal& buy_price,
                         const Decimal& sell_price, const Decimal& count,
                         const std::optional<TradeTarget>& target) {
  CheckPrice(buy_price, terms.kind);
  CheckPrice(sell_price, terms.kind);
  CheckCount(count);
  const FeeRow& row = FeeRowOn(terms.date, terms.exchange);
  TradeResult r;
  r.rules_from = row.from;
  r.buy = FeesOfSide(row, terms, Side::kBuy, buy_price, count);
  r.sell = FeesOfSide(row, terms, Side::kSell, sell_price, count);
  r.cost = r.buy.amount + r.buy.fees;
  r.proceeds = r.sell.amount - r.sell.fees;
  r.profit = r.proceeds - r.cost;
  r.profit_rate = Decimal::Quotient(r.profit * Decimal(100, 0), r.cost, 2);
  r.break_even = LowestSellPrice(row, terms, count, r.cost, Decimal());
  if (target) {
    // A rate of the cost is a profit of rate × cost / 100.
    const Decimal goal = target->kind == TradeTarget::Kind::kProfit
                             ? target->value
                             : (target->value * r.cost).MovePointLeft(2);
    r.target = LowestSellPrice(row, terms, count, r.cost, goal);
  }
  return r;
}

}  // namespace qilo
