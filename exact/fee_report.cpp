#include "exact/fee_report.h"

#include <tuple>
#include <utility>

namespace qilo {
namespace {

std::string Money(const Decimal& yuan) { return yuan.Text(2); }

// The cash a side moves, the fees added (a buy) or taken off (a sell). Fees
// to the fen move the amount to the fen, as its column shows it: from the
// exact amount, a sale of a half fen's worth that nets less than nothing
// printed one fen off its own columns (4.63 - 5.00 as -0.38). Unrounded
// fees keep the exact amount.
Decimal Cash(const SideFees& fees, Side side) {
  const Decimal amount =
      fees.fees.Decimals() <= 2 ? fees.amount.Round(2) : fees.amount;
  return side == Side::kBuy ? amount + fees.fees : amount - fees.fees;
}

std::string ExchangeName(Exchange exchange) {
  switch (exchange) {
    case Exchange::kShanghai:
      return "上海";
    case Exchange::kShenzhen:
      return "深圳";
    case Exchange::kBeijing:
      return "北京";
  }
  return "上海";
}

std::string TransferRuleText(const TransferRule& rule) {
  using Basis = TransferRule::Basis;
  switch (rule.basis) {
    case Basis::kNotTraded:
      return "未开市";
    case Basis::kNone:
      return "无";
    case Basis::kPerThousandShares:
      return "每千股 " + rule.rate.Text() + " 元，最低 " + rule.minimum.Text() +
             " 元";
    case Basis::kPerMilleOfAmount:
      break;
  }
  std::string text = "成交金额的 " + rule.rate.Text() + "‰";
  if (rule.trades_from != Date{}) {
    text += "，" + DateText(rule.trades_from) + " 起";
  }
  return text;
}

}  // namespace

std::string PriceText(const Decimal& price, SecurityKind kind) {
  return price.Text(Tick(kind).Decimals());
}

std::string FeeFieldLines(const TradeResult& result, SecurityKind kind) {
  std::string out = "rules=" + DateText(result.rules_from) + "\n";
  for (const auto& [name, side] :
       {std::pair{"buy", &result.buy}, std::pair{"sell", &result.sell}}) {
    const std::string prefix = std::string(name) + ".";
    out += prefix + "amount=" + Money(side->amount) + "\n";
    out += prefix + "commission=" + Money(side->commission) + "\n";
    out += prefix + "stamp_tax=" + Money(side->stamp_tax) + "\n";
    out += prefix + "transfer_fee=" + Money(side->transfer_fee) + "\n";
    out += prefix + "other_fee=" + Money(side->other_fee) + "\n";
    out += prefix + "fees=" + Money(side->fees) + "\n";
  }
  out += "cost=" + Money(Cash(result.buy, Side::kBuy)) + "\n";
  out += "proceeds=" + Money(Cash(result.sell, Side::kSell)) + "\n";
  out += "profit=" + Money(result.profit) + "\n";
  out += "profit_rate=" + result.profit_rate.Text(2) + "\n";
  out += "break_even=" + PriceText(result.break_even, kind) + "\n";
  if (result.target) {
    out += "target=" + PriceText(*result.target, kind) + "\n";
  }
  if (result.stop) out += "stop=" + PriceText(*result.stop, kind) + "\n";
  return out;
}

std::string FeeSummary(const FeeTerms& terms, const Decimal& buy_price,
                       const Decimal& sell_price, const Decimal& count,
                       const TradeResult& result) {
  std::string out = "规则：" + DateText(result.rules_from) + " 起，" +
                    ExchangeName(terms.exchange) + "，" +
                    (terms.kind == SecurityKind::kFund ? "基金" : "股票");
  if (terms.rounding == Rounding::kNone) out += "，费用不取整";
  out += "\n";
  for (const auto& [name, price, side] :
       {std::tuple{"买入 ", &buy_price, &result.buy},
        std::tuple{"卖出 ", &sell_price, &result.sell}}) {
    out += name + PriceText(*price, terms.kind) + " × " + count.Text() +
           "：金额 " + Money(side->amount) + "，佣金 " +
           Money(side->commission) + "，印花税 " + Money(side->stamp_tax) +
           "，过户费 " + Money(side->transfer_fee) + "，其他 " +
           Money(side->other_fee) + "，费用 " + Money(side->fees) + "\n";
  }
  out += "买入成本 " + Money(Cash(result.buy, Side::kBuy)) + "，卖出收入 " +
         Money(Cash(result.sell, Side::kSell)) + "，费用合计 " +
         Money(result.buy.fees + result.sell.fees) + "\n";
  out += "净利润 " + Money(result.profit) + "，利润率 " +
         result.profit_rate.Text(2) + "%\n";
  out += "保本价 " + PriceText(result.break_even, terms.kind) + "\n";
  if (result.target) {
    out += "目标价 " + PriceText(*result.target, terms.kind) + "\n";
  }
  if (result.stop) {
    out += "止损价 " + PriceText(*result.stop, terms.kind) + "\n";
  }
  return out;
}

std::string SideColumns(const SideFees& fees, Side side) {
  const Decimal net = Cash(fees, side);
  std::string out;
  for (const Decimal* yuan :
       {&fees.amount, &fees.commission, &fees.stamp_tax, &fees.transfer_fee,
        &fees.other_fee, &fees.fees, &net}) {
    if (!out.empty()) out += ",";
    out += Money(*yuan);
  }
  return out;
}

std::string FeeRowText(const FeeRow& row) {
  std::string out = DateText(row.from) + " 起 | 印花税 " +
                    row.stamp_tax_per_mille.Text() + "‰，" +
                    (row.stamp_tax_on_buy ? "买卖双边" : "仅卖出") +
                    " | 过户费（买卖双边）";
  for (Exchange exchange :
       {Exchange::kShanghai, Exchange::kShenzhen, Exchange::kBeijing}) {
    out += std::string(exchange == Exchange::kShanghai ? "" : "；") +
           ExchangeName(exchange) + " " +
           TransferRuleText(row.TransferOn(exchange));
  }
  return out;
}

}  // namespace qilo
