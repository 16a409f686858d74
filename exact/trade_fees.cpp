#include "exact/trade_fees.h"

#include <algorithm>

#include "exact/fee_inputs.h"
#include "exact/tick_search.h"

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

namespace {

// The profit or the outlay of trading `count` at a price counted in ticks,
// with the fees exact or rounded as the terms say.
struct TickPrices {
  const FeeRow& row;
  FeeTerms terms;
  FeeTerms exact;
  Decimal tick;
  Decimal count;

  TickPrices(const FeeRow& r, const FeeTerms& t, const Decimal& c)
      : row(r), terms(t), exact(t), tick(Tick(t.kind)), count(c) {
    exact.rounding = Rounding::kNone;
  }
  Decimal Price(Units ticks) const {
    return tick * Decimal::FromUnits(ticks, 0);
  }
  Decimal Proceeds(Units ticks, const FeeTerms& at) const {
    const SideFees s = FeesOfSide(row, at, Side::kSell, Price(ticks), count);
    return s.amount - s.fees;
  }
  Decimal Outlay(Units ticks, const FeeTerms& at) const {
    const SideFees s = FeesOfSide(row, at, Side::kBuy, Price(ticks), count);
    return s.amount + s.fees;
  }
};

}  // namespace

// Unrounded, proceeds and outlay grow with the price (the sell side's rates
// stay far below the whole amount), which is what the tick searches need.
Decimal LowestSellPrice(const FeeRow& row, const FeeTerms& terms,
                        const Decimal& count, const Decimal& cost,
                        const Decimal& goal) {
  const TickPrices p(row, terms, count);
  return p.Price(LowestTickReaching(
      [&](Units t) { return p.Proceeds(t, p.exact); },
      [&](Units t) { return p.Proceeds(t, p.terms); }, cost + goal));
}

std::optional<Decimal> HighestSellPrice(const FeeRow& row,
                                        const FeeTerms& terms,
                                        const Decimal& count,
                                        const Decimal& proceeds) {
  const TickPrices p(row, terms, count);
  const std::optional<Units> t = HighestTickWithin(
      [&](Units at) { return p.Proceeds(at, p.exact); },
      [&](Units at) { return p.Proceeds(at, p.terms); }, proceeds);
  if (!t) return std::nullopt;
  return p.Price(*t);
}

std::optional<Decimal> HighestBuyPrice(const FeeRow& row, const FeeTerms& terms,
                                       const Decimal& count,
                                       const Decimal& outlay) {
  const TickPrices p(row, terms, count);
  const std::optional<Units> t = HighestTickWithin(
      [&](Units at) { return p.Outlay(at, p.exact); },
      [&](Units at) { return p.Outlay(at, p.terms); }, outlay);
  if (!t) return std::nullopt;
  return p.Price(*t);
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
                         const std::optional<TradeTarget>& target,
                         const std::optional<TradeTarget>& stop) {
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
  if (stop) {
    const Decimal loss = stop->kind == TradeTarget::Kind::kProfit
                             ? stop->value
                             : (stop->value * r.cost).MovePointLeft(2);
    r.stop = HighestSellPrice(row, terms, count, r.cost - loss);
    if (!r.stop) {
      throw EFeeInputError("no price on the tick loses " + loss.Text(2) +
                           " of the cost " + r.cost.Text(2));
    }
  }
  return r;
}

}  // namespace qilo
