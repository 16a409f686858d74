#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/fee_options.h"
#include "exact/day_trade.h"
#include "exact/fee_inputs.h"

namespace qilo::cli {
namespace {

int RunT(const std::vector<std::string>& args) {
  std::vector<std::string> with_value = FeeRuleOptions();
  with_value.insert(with_value.end(),
                    {"--date", "--first", "--holding", "--average"});
  ParsedArgs parsed;
  std::string error;
  if (!ParseArgs(args, with_value, {"--fields"}, &parsed, &error) ||
      parsed.positionals.size() != 3) {
    return UsageError(
        "t", error.empty() ? "needs FIRST_PRICE SECOND_PRICE COUNT" : error);
  }
  const std::string first = parsed.Get("--first", "buy");
  if (first != "buy" && first != "sell") {
    return UsageError("t", "--first takes buy or sell");
  }
  if (parsed.Has("--holding") != parsed.Has("--average")) {
    return UsageError("t", "--holding and --average go together");
  }
  FeeTerms terms;
  try {
    if (!ReadFeeTerms(parsed, &terms, &error)) return UsageError("t", error);
    const std::vector<std::string>& p = parsed.positionals;
    const Decimal first_price = ParsePrice(p[0], terms.kind);
    const Decimal second_price = ParsePrice(p[1], terms.kind);
    const Decimal count = ParseCount(p[2]);
    std::optional<Holding> holding;
    if (parsed.Has("--holding")) {
      holding = Holding{ParseCount(parsed.Get("--holding")),
                        ParseAveragePrice(parsed.Get("--average"))};
    }
    const DayTradeResult result =
        ComputeDayTrade(terms, first == "buy" ? Side::kBuy : Side::kSell,
                        first_price, second_price, count, holding);
    const std::string out = parsed.Has("--fields")
                                ? DayTradeFieldLines(result, terms.kind)
                                : DayTradeSummary(result, terms.kind);
    std::fputs(out.c_str(), stdout);
    return 0;
  } catch (const Exception& e) {
    return FeeError(e);
  }
}

const Registrar kRegistrar(
    "t",
    "t [--date YYYY-MM-DD] " QILO_FEE_RULE_USAGE
    " [--first buy|sell] [--holding COUNT --average PRICE] [--fields] "
    "FIRST_PRICE SECOND_PRICE COUNT",
    "a day trade (做T) of COUNT shares, both legs single orders on the same "
    "date: buying first (正T, the default) or selling first (倒T); the gain "
    "after both legs' fees and the break-even price of the second leg; with "
    "a holding and its average, the new average; with --fields, NAME=VALUE "
    "lines; exit 2 on an error",
    &RunT);

}  // namespace
}  // namespace qilo::cli
