#include "cli/fee_options.h"

#include <cstdio>
#include <ctime>

#include "exact/fee_inputs.h"

namespace qilo::cli {

std::vector<std::string> FeeRuleOptions() {
  return {"--market", "--kind",     "--commission", "--min-commission",
          "--other",  "--rounding", "--code"};
}

bool ReadFeeTerms(const ParsedArgs& parsed, FeeTerms* terms,
                  std::string* problem) {
  const std::optional<Exchange> exchange =
      ExchangeFromCode(parsed.Get("--market", "sh"));
  const std::optional<SecurityKind> kind =
      SecurityKindFromCode(parsed.Get("--kind", "stock"));
  const std::string rounding = parsed.Get("--rounding", "fen");
  if (!exchange || !kind || (rounding != "fen" && rounding != "none")) {
    *problem =
        "--market takes sh, sz or bj, --kind stock or fund, --rounding "
        "fen or none";
    return false;
  }
  terms->exchange = *exchange;
  terms->kind = *kind;
  terms->rounding = rounding == "fen" ? Rounding::kFen : Rounding::kNone;
  if (parsed.Has("--commission")) {
    terms->commission_per_mille =
        ParseCommissionRate(parsed.Get("--commission"));
  }
  if (parsed.Has("--min-commission")) {
    terms->min_commission =
        ParseFeeYuan(parsed.Get("--min-commission"), "min commission");
  }
  if (parsed.Has("--other")) {
    terms->other_fee = ParseFeeYuan(parsed.Get("--other"), "other fee");
  }
  terms->date = parsed.Has("--date") ? ParseTradeDate(parsed.Get("--date"))
                                     : LocalToday();
  if (parsed.Has("--code")) {
    ApplySecurityCode(parsed.Get("--code"),
                      parsed.Has("--market") ? exchange : std::nullopt,
                      parsed.Has("--kind") ? kind : std::nullopt, terms);
  }
  return true;
}

Date LocalToday() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  if (local == nullptr) {
    throw EFeeInputError("the local date is unknown: give --date");
  }
  return Date{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
}

int FeeError(const Exception& error) {
  std::fflush(stdout);
  std::fprintf(stderr, "%s\n", error.Message().c_str());
  return 2;
}

}  // namespace qilo::cli
