#include "app/calculation.h"

#include "calc/fee_model.h"
#include "calc/input_filter.h"
#include "calc/number_text.h"
#include "text/gbk.h"

namespace qilo {
namespace {

// Fills `out` stage by stage, so that an error leaves what came before it.
void Run(const CalculationInputs& in, Calculation& out) {
  const std::string* const texts[] = {
      &in.commission, &in.stamp_tax,  &in.transfer, &in.other,
      &in.price_buy,  &in.price_sell, &in.count};
  for (int i = 0; i < 7; ++i) {
    const auto input = static_cast<CalculationInput>(i);
    const bool missing = input == CalculationInput::kCount
                             ? CountMissing(*texts[i])
                             : FieldMissing(*texts[i]);
    if (missing) out.missing.push_back(input);
  }
  if (!out.missing.empty()) return;

  TradeInputs trade;
  trade.commission = TextToNumber(in.commission);
  trade.stamp_tax = TextToNumber(in.stamp_tax);
  trade.transfer = TextToNumber(in.transfer);
  trade.other = TextToNumber(in.other);
  trade.price_buy = TextToNumber(in.price_buy);
  trade.price_sell = TextToNumber(in.price_sell);
  trade.count = TextToNumber(in.count);
  trade.shanghai = in.shanghai;

  static const std::string& kBuyFees = Gbk("买入费用: ");
  static const std::string& kSellFees = Gbk("卖出费用: ");
  static const std::string& kTotalFees = Gbk("费用合计： ");
  static const std::string& kProfitRate = Gbk("利润率：");
  const Number transfer_fee = TransferFee(trade);
  const BuySide buy = ComputeBuySide(trade, transfer_fee);
  out.cost_buy = FormatFixed(buy.cost, 2);
  out.cost_buy_hint = kBuyFees + FormatFixed(buy.fees, 2);
  out.reached = CalculationStage::kBuy;

  const SellSide sell = ComputeSellSide(trade, transfer_fee);
  out.cost_sell = FormatFixed(sell.proceeds, 2);
  out.cost_sell_hint = kSellFees + FormatFixed(sell.fees, 2);
  out.reached = CalculationStage::kSell;

  const Number profit = sell.proceeds - buy.cost;
  out.profit_colour = profit >= 0 ? kRed : kGreen;
  out.profit = FormatFixed(profit, 2);
  out.reached = CalculationStage::kProfit;

  const Number rate = ProfitRate(buy, sell);
  out.profit_hint = kTotalFees + FormatFixed(buy.fees + sell.fees, 2) + "\r\n" +
                    kProfitRate + FormatFixed(rate, 2) + "%";
  out.reached = CalculationStage::kProfitHint;

  out.break_even =
      FormatPattern(BreakEvenPrice(trade, buy, transfer_fee), in.price_format);
  out.reached = CalculationStage::kBreakEven;
}

}  // namespace

Calculation Calculate(const CalculationInputs& in) {
  Calculation out;
  try {
    Run(in, out);
  } catch (...) {
    // Kept whatever its type: the caller rethrows it where the window's own
    // handler would have let it escape.
    out.error = std::current_exception();
  }
  return out;
}

const std::string& MissingInputMessage() { return Gbk("没有数据，请输入！"); }

}  // namespace qilo
