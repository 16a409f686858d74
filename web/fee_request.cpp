#include "web/fee_request.h"

#include <optional>
#include <string>

#include "exact/fee_inputs.h"
#include "exact/fee_report.h"
#include "exact/trade_fees.h"
#include "web/page_inputs.h"

namespace qilo::web {
namespace {

using Kind = TradeTarget::Kind;

// One of two inputs that each give a TradeTarget, `both` recorded when the
// two are given. Sets `*name` to the one read.
template <typename ParseProfit, typename ParseRate>
std::optional<TradeTarget> ReadEither(InputReader& in, const char* profit_name,
                                      ParseProfit parse_profit,
                                      const char* rate_name,
                                      ParseRate parse_rate, const char* both,
                                      const char** name) {
  if (!in.Text(profit_name).empty() && !in.Text(rate_name).empty()) {
    in.Fail(rate_name, both);
    return std::nullopt;
  }
  if (auto profit = in.Optional(profit_name, parse_profit)) {
    *name = profit_name;
    return TradeTarget{Kind::kProfit, *profit};
  }
  if (auto rate = in.Optional(rate_name, parse_rate)) {
    *name = rate_name;
    return TradeTarget{Kind::kRate, *rate};
  }
  return std::nullopt;
}

}  // namespace

std::string FeesForPage(const std::string_view input_lines) {
  InputReader in(input_lines);
  const std::optional<FeeTerms> terms = ReadFeeTerms(in);
  const char* target_name = "date";
  const char* stop_name = "date";
  const std::optional<TradeTarget> target = ReadEither(
      in, "target-profit", ParseTargetProfit, "target-rate", ParseTargetRate,
      "takes target profit or target rate, not both", &target_name);
  const std::optional<TradeTarget> stop =
      ReadEither(in, "stop-loss", ParseStopLoss, "stop-rate", ParseStopRate,
                 "takes stop loss or stop rate, not both", &stop_name);
  const auto price = PriceReader(terms);
  const std::optional<Decimal> buy = in.Required("buy", price);
  const std::optional<Decimal> sell = in.Required("sell", price);
  const std::optional<Decimal> count = in.Required("count", ParseCount);
  return Answer(
      in,
      [&] {
        return FeeFieldLines(
            ComputeTrade(*terms, *buy, *sell, *count, target, stop),
            terms->kind);
      },
      // The inputs passed their parsers: what is left is a date without
      // rules on the market, a target no price reaches or a stop none loses.
      [&](const std::string& message) {
        if (message.starts_with("no fee rules")) return "date";
        return message.starts_with("no price on the tick loses") ? stop_name
                                                                 : target_name;
      });
}

}  // namespace qilo::web
