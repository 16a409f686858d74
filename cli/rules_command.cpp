#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/fee_options.h"
#include "exact/fee_inputs.h"
#include "exact/fee_report.h"
#include "exact/fee_schedule.h"

namespace qilo::cli {
namespace {

int RunRules(const std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error;
  if (!ParseArgs(args, {"--date"}, {}, &parsed, &error) ||
      !parsed.positionals.empty()) {
    return UsageError("rules", error.empty() ? "takes no arguments" : error);
  }
  try {
    if (parsed.Has("--date")) {
      const Date date = ParseTradeDate(parsed.Get("--date"));
      std::printf("%s\n", FeeRowText(FeeRowOn(date)).c_str());
      return 0;
    }
  } catch (const Exception& e) {
    return FeeError(e);
  }
  for (const FeeRow& row : FeeSchedule()) {
    std::printf("%s\n", FeeRowText(row).c_str());
  }
  return 0;
}

const Registrar kRegistrar(
    "rules", "rules [--date YYYY-MM-DD]",
    "prints the exchange fee rules by trade date: stamp tax and transfer fee "
    "from each row's first day (with --date, the row in force that day)",
    &RunRules);

}  // namespace
}  // namespace qilo::cli
