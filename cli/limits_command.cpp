#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/fee_options.h"
#include "exact/fee_inputs.h"
#include "exact/price_limits.h"
#include "exact/security_code.h"

namespace qilo::cli {
namespace {

int RunLimits(const std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error;
  if (!ParseArgs(args, {"--date", "--code", "--board", "--percent"},
                 {"--st", "--fields"}, &parsed, &error) ||
      parsed.positionals.size() != 1) {
    return UsageError("limits", error.empty() ? "needs PREV_CLOSE" : error);
  }
  const std::optional<Board> given_board =
      parsed.Has("--board") ? BoardFromCode(parsed.Get("--board"))
                            : std::optional<Board>(Board::kMain);
  if (!given_board) {
    return UsageError("limits",
                      "--board takes main, chinext, star, bj or fund");
  }
  try {
    const Date date = parsed.Has("--date")
                          ? ParseTradeDate(parsed.Get("--date"))
                          : LocalToday();
    Board board = *given_board;
    if (parsed.Has("--code")) {
      const std::string code = parsed.Get("--code");
      board = SecurityFromCode(code, date).board;
      if (parsed.Has("--board") && board != *given_board) {
        throw EFeeInputError("board '" + parsed.Get("--board") +
                             "' contradicts code '" + code + "'");
      }
    }
    std::optional<Decimal> percent;
    if (parsed.Has("--percent")) {
      percent = ParseLimitPercent(parsed.Get("--percent"));
    }
    const SecurityKind kind =
        board == Board::kFund ? SecurityKind::kFund : SecurityKind::kStock;
    const PriceLimits limits =
        ComputePriceLimits(board, parsed.Has("--st"), date,
                           ParsePrice(parsed.positionals[0], kind), percent);
    const std::string out =
        parsed.Has("--fields") ? LimitFieldLines(limits) : LimitSummary(limits);
    std::fputs(out.c_str(), stdout);
    return 0;
  } catch (const Exception& e) {
    return FeeError(e);
  }
}

const Registrar kRegistrar(
    "limits",
    "limits [--date YYYY-MM-DD] [--code CODE | --board "
    "main|chinext|star|bj|fund] [--st] [--percent P] [--fields] PREV_CLOSE",
    "the day's limit-up and limit-down prices: PREV_CLOSE × (1 ± the limit), "
    "half up to the tick (0.01, funds 0.001), by board and trade date (main "
    "10%, ST 5% until 2026-07-05; ChiNext 20% from 2020-08-24; STAR 20%; "
    "Beijing 30%; funds 10%, --percent 20 for those following STAR or "
    "ChiNext indices); new listings have no limit in their first days; with "
    "--fields, NAME=VALUE lines; exit 2 on an error",
    &RunLimits);

}  // namespace
}  // namespace qilo::cli
