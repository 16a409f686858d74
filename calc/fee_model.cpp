#include "calc/fee_model.h"

namespace qilo {

Number TransferFee(const TradeInputs& in) {
  Number fee = in.transfer * in.count / 1000;
  if (in.shanghai && in.count < 1000) fee = 1;
  return fee;
}

Number Commission(Number price, const TradeInputs& in) {
  Number commission = price * in.count * in.commission / 1000;
  if (commission < 5) commission = 5;
  return commission;
}

BuySide ComputeBuySide(const TradeInputs& in, Number transfer_fee) {
  BuySide buy;
  buy.commission = Commission(in.price_buy, in);
  buy.fees = buy.commission + transfer_fee + in.other;
  buy.cost = in.price_buy * in.count + buy.fees;
  return buy;
}

SellSide ComputeSellSide(const TradeInputs& in, Number transfer_fee) {
  SellSide sell;
  sell.commission = Commission(in.price_sell, in);
  sell.fees = in.price_sell * in.count * in.stamp_tax / 1000 + sell.commission +
              transfer_fee + in.other;
  sell.proceeds = in.price_sell * in.count - sell.fees;
  return sell;
}

Number ProfitRate(const BuySide& buy, const SellSide& sell) {
  return (sell.proceeds - buy.cost) * 100 / buy.cost;
}

Number BreakEvenPrice(const TradeInputs& in, const BuySide& buy,
                      Number transfer_fee) {
  const Number a =
      in.price_buy * in.count + buy.commission + 2 * (transfer_fee + in.other);
  Number e = a / ((1 - in.stamp_tax / 1000 - in.commission / 1000) * in.count);
  if (e * in.count * in.commission / 1000 < 5) {
    e = (a + 5) / ((1 - in.stamp_tax / 1000) * in.count);
  }
  return e;
}

}  // namespace qilo
