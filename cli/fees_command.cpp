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
                    {"--date", "--target-profit", "--target-rate"});
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
  FeeTerms terms;
  try {
    if (!ReadFeeTerms(parsed, &terms, &error)) return UsageError("fees", error);
    terms.date = parsed.Has("--date") ? ParseTradeDate(parsed.Get("--date"))
                                      : LocalToday();
    const std::vector<std::string>& p = parsed.positionals;
    const Decimal buy = ParsePrice(p[0], terms.kind);
    const Decimal sell = ParsePrice(p[1], terms.kind);
    const Decimal count = ParseCount(p[2]);
    std::optional<TradeTarget> target;
    if (parsed.Has("--target-profit")) {
      target = TradeTarget{TradeTarget::Kind::kProfit,
                           ParseTargetProfit(parsed.Get("--target-profit"))};
    } else if (parsed.Has("--target-rate")) {
      target = TradeTarget{TradeTarget::Kind::kRate,
                           ParseTargetRate(parsed.Get("--target-rate"))};
    }
    const TradeResult result = ComputeTrade(terms, buy, sell, count, target);
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
    " [--target-profit YUAN | --target-rate PERCENT] [--fields] BUY SELL "
    "COUNT",
    "the fees of a trade under the exchange rules of its date (default "
    "today), each rounded to the fen, with the profit, the break-even price "
    "and a target price; with --fields, NAME=VALUE lines; exit 2 on an error",
    &RunFees);

}  // namespace
}  // namespace qilo::cli
