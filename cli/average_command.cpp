#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/fee_options.h"
#include "exact/fee_inputs.h"
#include "exact/position_average.h"

namespace qilo::cli {
namespace {

int RunAverage(const std::vector<std::string>& args) {
  std::vector<std::string> with_value = FeeRuleOptions();
  with_value.insert(with_value.end(),
                    {"--date", "--target-average", "--at", "--lot"});
  ParsedArgs parsed;
  std::string error;
  const std::vector<std::string>& p = parsed.positionals;
  if (!ParseArgs(args, with_value, {"--fields"}, &parsed, &error) ||
      p.empty() || p.size() % 2 != 0) {
    return UsageError("average",
                      error.empty() ? "needs PRICE COUNT pairs" : error);
  }
  if (parsed.Has("--target-average") != parsed.Has("--at") ||
      (parsed.Has("--lot") && !parsed.Has("--at"))) {
    return UsageError("average",
                      "--target-average and --at go together, --lot with them");
  }
  FeeTerms terms;
  try {
    if (!ReadFeeTerms(parsed, &terms, &error)) {
      return UsageError("average", error);
    }
    std::vector<BuyOrder> orders;
    for (size_t i = 0; i < p.size(); i += 2) {
      orders.push_back({ParsePrice(p[i], terms.kind), ParseCount(p[i + 1])});
    }
    std::optional<AverageTarget> target;
    if (parsed.Has("--at")) {
      target =
          AverageTarget{ParsePrice(parsed.Get("--target-average"), terms.kind),
                        ParsePrice(parsed.Get("--at"), terms.kind),
                        ParseCount(parsed.Get("--lot", "100"))};
    }
    const AverageResult result = ComputeAverage(terms, orders, target);
    const std::string out = parsed.Has("--fields")
                                ? AverageFieldLines(result, terms.kind)
                                : AverageSummary(result, terms.kind);
    std::fputs(out.c_str(), stdout);
    return 0;
  } catch (const Exception& e) {
    return FeeError(e);
  }
}

const Registrar kRegistrar(
    "average",
    "average [--date YYYY-MM-DD] " QILO_FEE_RULE_USAGE
    " [--target-average PRICE --at PRICE [--lot N]] [--fields] PRICE COUNT "
    "[PRICE COUNT ...]",
    "the cost and average price of a position bought in orders (each PRICE "
    "COUNT one order, with its own minimum commission), and the break-even "
    "price of selling it all; with a target, the fewest shares, in lots of N "
    "(default 100), to buy at --at as one more order to bring the average "
    "to the target or below (补仓); with --fields, NAME=VALUE lines; exit 2 "
    "on an error or an unreachable target",
    &RunAverage);

}  // namespace
}  // namespace qilo::cli
