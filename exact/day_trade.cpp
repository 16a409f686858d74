#include "exact/day_trade.h"

#include "exact/fee_inputs.h"
#include "exact/fee_report.h"

namespace qilo {

DayTradeResult ComputeDayTrade(const FeeTerms& terms, Side first,
                               const Decimal& first_price,
                               const Decimal& second_price,
                               const Decimal& count,
                               const std::optional<Holding>& holding) {
  CheckPrice(first_price, terms.kind);
  CheckPrice(second_price, terms.kind);
  CheckCount(count);
  if (holding) {
    CheckCount(holding->count);
    if (holding->average.Sign() <= 0) {
      throw EFeeInputError("average '" + holding->average.Text() +
                           "' is not above zero");
    }
  }
  const FeeRow& row = FeeRowOn(terms.date, terms.exchange);
  const Side second = first == Side::kBuy ? Side::kSell : Side::kBuy;
  DayTradeResult r;
  r.rules_from = row.from;
  r.first = first;
  r.first_leg = FeesOfSide(row, terms, first, first_price, count);
  r.second_leg = FeesOfSide(row, terms, second, second_price, count);
  const SideFees& buy = first == Side::kBuy ? r.first_leg : r.second_leg;
  const SideFees& sell = first == Side::kBuy ? r.second_leg : r.first_leg;
  r.fees = buy.fees + sell.fees;
  const Decimal outlay = buy.amount + buy.fees;
  const Decimal proceeds = sell.amount - sell.fees;
  r.gain = proceeds - outlay;
  if (first == Side::kBuy) {
    r.break_even = LowestSellPrice(row, terms, count, outlay, Decimal());
  } else {
    const std::optional<Decimal> price =
        HighestBuyPrice(row, terms, count, proceeds);
    if (!price) {
      throw EFeeInputError(
          "no buy-back price on the tick is covered by the "
          "sale's proceeds " +
          proceeds.Text(2));
    }
    r.break_even = *price;
  }
  if (holding) {
    r.new_average = Decimal::Quotient(
        holding->count * holding->average - r.gain, holding->count, 3);
  }
  return r;
}

std::string DayTradeFieldLines(const DayTradeResult& result,
                               SecurityKind kind) {
  std::string out = "first.amount=" + result.first_leg.amount.Text(2) +
                    "\nfirst.fees=" + result.first_leg.fees.Text(2) +
                    "\nsecond.amount=" + result.second_leg.amount.Text(2) +
                    "\nsecond.fees=" + result.second_leg.fees.Text(2) +
                    "\nfees=" + result.fees.Text(2) +
                    "\ngain=" + result.gain.Text(2) +
                    "\nbreak_even=" + PriceText(result.break_even, kind) + "\n";
  if (result.new_average) {
    out += "new_average=" + result.new_average->Text(3) + "\n";
  }
  return out;
}

std::string DayTradeSummary(const DayTradeResult& result, SecurityKind kind) {
  const bool buy_first = result.first == Side::kBuy;
  std::string out = std::string(buy_first ? "正T：先买 " : "倒T：先卖 ") +
                    "金额 " + result.first_leg.amount.Text(2) + "，费用 " +
                    result.first_leg.fees.Text(2) + "；" +
                    (buy_first ? "后卖 " : "后买 ") + "金额 " +
                    result.second_leg.amount.Text(2) + "，费用 " +
                    result.second_leg.fees.Text(2) + "\n费用合计 " +
                    result.fees.Text(2) + "，差价收益 " + result.gain.Text(2) +
                    "\n" + (buy_first ? "保本卖出价 " : "保本买回价 ") +
                    PriceText(result.break_even, kind) + "\n";
  if (result.new_average) {
    out += "成本价变为 " + result.new_average->Text(3) + "\n";
  }
  return out;
}

}  // namespace qilo
