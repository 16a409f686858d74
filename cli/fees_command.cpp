#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/fee_options.h"
#include "exact/fee_inputs.h"
#include "exact/fee_report.h"
#include "exact/trade_fees.h"

namespace qilo::cli {
namespace {

int RunFees(const std::vector<std::string>& args) {
  std::vector<std::string> with_value = FeeRuleOptions();
  with_value.insert(with_value.end(),
                    {"--date", "--target-profit", "--target-rate",
                     "--stop-loss", "--stop-rate"});
  ParsedArgs parsed;
  std::string error;
  if (!ParseArgs(args, with_value, {"--fields"}, &parsed, &error) ||
      parsed.positionals.size() != 3) {
    return UsageError("fees", error.empty() ? "needs BUY SELL COUNT" : error);
  }
  if (parsed.Has("--target-profit") && parsed.Has("--target-rate")) {
    return UsageError("fees",
                      "takes --target-profit or --target-rate, not both");
  }
  if (parsed.Has("--stop-loss") && parsed.Has("--stop-rate")) {
    return UsageError("fees", "takes --stop-loss or --stop-rate, not both");
  }
  FeeTerms terms;
  try {
    if (!ReadFeeTerms(parsed, &terms, &error)) return UsageError("fees", error);
    const std::vector<std::string>& p = parsed.positionals;
    const Decimal buy = ParsePrice(p[0], terms.kind);
    const Decimal sell = ParsePrice(p[1], terms.kind);
    const Decimal count = ParseCount(p[2]);
    using Kind = TradeTarget::Kind;
    std::optional<TradeTarget> target;
    if (parsed.Has("--target-profit")) {
      target = TradeTarget{Kind::kProfit,
                           ParseTargetProfit(parsed.Get("--target-profit"))};
    } else if (parsed.Has("--target-rate")) {
      target = TradeTarget{Kind::kRate,
                           ParseTargetRate(parsed.Get("--target-rate"))};
    }
    std::optional<TradeTarget> stop;
    if (parsed.Has("--stop-loss")) {
      stop =
          TradeTarget{Kind::kProfit, ParseStopLoss(parsed.Get("--stop-loss"))};
    } else if (parsed.Has("--stop-rate")) {
      stop = TradeTarget{Kind::kRate, ParseStopRate(parsed.Get("--stop-rate"))};
    }
    const TradeResult result =
        ComputeTrade(terms, buy, sell, count, target, stop);
    const std::string out = parsed.Has("--fields")
                                ? FeeFieldLines(result, terms.kind)
                                : FeeSummary(terms, buy, sell, count, result);
    std::fputs(out.c_str(), stdout);
    return 0;
  } catch (const Exception& e) {
    return FeeError(e);
  }
}

const Registrar kRegistrar(
    "fees",
    "fees [--date YYYY-MM-DD] " QILO_FEE_RULE_USAGE
    " [--target-profit YUAN | --target-rate PERCENT] [--stop-loss YUAN | "
    "--stop-rate PERCENT] [--fields] BUY SELL COUNT",
    "the fees of a trade under the exchange rules of its date (default "
    "today), each rounded to the fen, with the profit, the break-even price, "
    "a target price and a stop price (the highest at which the loss reaches "
    "YUAN, or PERCENT of the cost, fees included); --code sets the market "
    "and kind from a six-digit code; with --fields, NAME=VALUE lines; exit 2 "
    "on an error",
    &RunFees);

}  // namespace
}  // namespace qilo::cli
