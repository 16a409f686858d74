#pragma once

#include <optional>

#include "exact/decimal.h"
#include "exact/fee_schedule.h"

namespace qilo {

// kFen: each fee is rounded half up to the fen before the commission's
// minimum applies and before fees are added, as brokers print them. kNone:
// fees stay exact; only the printing rounds.
enum class Rounding { kFen, kNone };

enum class Side { kBuy, kSell };

// Everything but prices and count that sets a trade's fees. The commission
// (per mille of the amount, at least `min_commission` yuan; 0 waives the
// minimum) covers the exchanges' handling and regulation fees, as brokers
// charge them; `other_fee` is yuan per side. Values as the parsers of
// exact/fee_inputs.h give them.
struct FeeTerms {
  Date date;
  Exchange exchange = Exchange::kShanghai;
  SecurityKind kind = SecurityKind::kStock;
  Decimal commission_per_mille = Decimal(25, 2);
  Decimal min_commission = Decimal(5, 0);
  Decimal other_fee = Decimal(0, 0);
  Rounding rounding = Rounding::kFen;
};

// One side of a trade in yuan; `amount` is price × count, exact.
struct SideFees {
  Decimal amount;
  Decimal commission;
  Decimal stamp_tax;
  Decimal transfer_fee;
  Decimal other_fee;
  Decimal fees;  // the four added
};

// The fees of buying or selling `count` shares at `price` under `row`, the
// row in force for the terms' date and exchange. No checks: price and count
// as CheckPrice and CheckCount pass them.
SideFees FeesOfSide(const FeeRow& row, const FeeTerms& terms, Side side,
                    const Decimal& price, const Decimal& count);

// FeesOfSide under the row in force for the terms, after CheckPrice and
// CheckCount. Throws EFeeInputError as ComputeTrade does.
SideFees ComputeSide(const FeeTerms& terms, Side side, const Decimal& price,
                     const Decimal& count);

// What the sell price should reach: a profit of `value` yuan, or a profit
// rate of `value` percent of the cost. As a stop, the loss (a profit of
// -`value` yuan, or -`value` percent of the cost) it should not come above.
struct TradeTarget {
  enum class Kind { kProfit, kRate };
  Kind kind = Kind::kProfit;
  Decimal value;
};

struct TradeResult {
  Date rules_from;  // the first day of the row applied
  SideFees buy;
  SideFees sell;
  Decimal cost;         // buy amount + buy fees
  Decimal proceeds;     // sell amount - sell fees
  Decimal profit;       // proceeds - cost
  Decimal profit_rate;  // profit × 100 / cost, half up to 2 decimals
  // The lowest price on the tick at which selling nets a profit >= 0 under
  // the same terms (fees rounded as the terms say).
  Decimal break_even;
  // The lowest price on the tick reaching the target, when one was given.
  std::optional<Decimal> target;
  // The highest price on the tick at which the profit is at most minus the
  // stop's loss, when one was given.
  std::optional<Decimal> stop;
};

// Buys and sells `count` shares under `terms`. Throws EFeeInputError when
// there are no rules for the date on the exchange, a price or the count
// fails CheckPrice or CheckCount, or no price loses the stop's loss;
// EDecimalError only for terms beyond the bounds of exact/fee_inputs.h.
TradeResult ComputeTrade(const FeeTerms& terms, const Decimal& buy_price,
                         const Decimal& sell_price, const Decimal& count,
                         const std::optional<TradeTarget>& target = {},
                         const std::optional<TradeTarget>& stop = {});

// The lowest price on the tick of the terms' kind at which selling `count`
// shares against `cost` gives a profit of at least `goal` yuan (under `row`,
// the row in force for the terms). A rounded fee can make one tick more net
// less, so the answer is the lowest such price, not the edge of a range.
Decimal LowestSellPrice(const FeeRow& row, const FeeTerms& terms,
                        const Decimal& count, const Decimal& cost,
                        const Decimal& goal);

// The highest price on the tick at which selling `count` shares nets at most
// `proceeds` (amount less fees); nothing when even the lowest tick nets more.
std::optional<Decimal> HighestSellPrice(const FeeRow& row,
                                        const FeeTerms& terms,
                                        const Decimal& count,
                                        const Decimal& proceeds);

// The highest price on the tick at which buying `count` shares costs at most
// `outlay` (amount and fees); nothing when even the lowest tick costs more.
std::optional<Decimal> HighestBuyPrice(const FeeRow& row, const FeeTerms& terms,
                                       const Decimal& count,
                                       const Decimal& outlay);

}  // namespace qilo
