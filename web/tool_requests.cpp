#include "web/tool_requests.h"

#include <optional>
#include <string>
#include <vector>

#include "exact/day_trade.h"
#include "exact/fee_inputs.h"
#include "exact/position_average.h"
#include "exact/price_limits.h"
#include "exact/security_code.h"
#include "web/page_inputs.h"

namespace qilo::web {
namespace {

// Where a computation's error belongs when it is not about one input.
const char* DateOr(const std::string& message, const char* other) {
  return message.starts_with("no fee rules") ||
                 message.starts_with("no price limits")
             ? "date"
             : other;
}

std::optional<Side> SideFromCode(std::string_view code) {
  if (code == "buy") return Side::kBuy;
  if (code == "sell") return Side::kSell;
  return std::nullopt;
}

}  // namespace

std::string LimitsForPage(const std::string_view input_lines) {
  InputReader in(input_lines);
  const std::optional<Date> date = in.Required("date", ParseTradeDate);
  const bool board_given = !in.Text("board").empty();
  std::optional<Board> board = Board::kMain;
  if (board_given) {
    board = ReadChoice<Board>(in, "board", BoardFromCode,
                              "main, chinext, star, bj or fund");
  }
  if (date && board) {
    in.Optional("code", [&](const std::string& code) {
      const Board coded = SecurityFromCode(code, *date).board;
      if (board_given && coded != *board) {
        throw EFeeInputError(QuotedInput("board", in.Text("board")) +
                             " contradicts " + QuotedInput("code", code));
      }
      board = coded;
      return coded;
    });
  }
  const bool st = !in.Text("st").empty();
  const std::optional<Decimal> percent =
      in.Optional("percent", ParseLimitPercent);
  const SecurityKind kind =
      board == Board::kFund ? SecurityKind::kFund : SecurityKind::kStock;
  const std::optional<Decimal> prev_close = in.Required(
      "prev-close",
      [kind](const std::string& text) { return ParsePrice(text, kind); });
  return Answer(
      in,
      [&] {
        return LimitFieldLines(
            ComputePriceLimits(*board, st, *date, *prev_close, percent));
      },
      [](const std::string& message) { return DateOr(message, "st"); });
}

std::string AverageForPage(const std::string_view input_lines) {
  InputReader in(input_lines);
  const std::optional<FeeTerms> terms = ReadFeeTerms(in);
  const auto price = PriceReader(terms);
  std::vector<BuyOrder> orders;
  for (int row = 1;; ++row) {
    const std::string price_name = "price." + std::to_string(row);
    const std::string count_name = "count." + std::to_string(row);
    if (!in.Has(price_name) && !in.Has(count_name)) break;
    if (in.Text(price_name).empty() && in.Text(count_name).empty()) continue;
    const std::optional<Decimal> at = in.Required(price_name, price);
    const std::optional<Decimal> count = in.Required(count_name, ParseCount);
    if (at && count) orders.push_back({*at, *count});
  }
  if (orders.empty() && in.Errors().empty()) in.Required("price.1", price);
  std::optional<AverageTarget> target;
  if (!in.Text("target-average").empty() || !in.Text("at").empty()) {
    const std::optional<Decimal> average = in.Required("target-average", price);
    const std::optional<Decimal> at = in.Required("at", price);
    const std::optional<Decimal> lot = in.Optional("lot", ParseCount);
    if (average && at) {
      target = AverageTarget{*average, *at, lot.value_or(Decimal(100, 0))};
    }
  }
  return Answer(
      in,
      [&] {
        return AverageFieldLines(ComputeAverage(*terms, orders, target),
                                 terms->kind);
      },
      [](const std::string& message) {
        if (message.starts_with("the orders'")) return "count.1";
        if (message.starts_with("the fen rounding")) return "lot";
        return DateOr(message, "target-average");
      });
}

std::string DayTradeForPage(const std::string_view input_lines) {
  InputReader in(input_lines);
  const std::optional<FeeTerms> terms = ReadFeeTerms(in);
  const Side first = ReadChoice<Side>(in, "first", SideFromCode, "buy or sell")
                         .value_or(Side::kBuy);
  const auto price = PriceReader(terms);
  const std::optional<Decimal> first_price = in.Required("first-price", price);
  const std::optional<Decimal> second_price =
      in.Required("second-price", price);
  const std::optional<Decimal> count = in.Required("count", ParseCount);
  std::optional<Holding> holding;
  if (!in.Text("holding").empty() || !in.Text("average").empty()) {
    const std::optional<Decimal> shares = in.Required("holding", ParseCount);
    const std::optional<Decimal> average =
        in.Required("average", ParseAveragePrice);
    if (shares && average) holding = Holding{*shares, *average};
  }
  return Answer(
      in,
      [&] {
        return DayTradeFieldLines(
            ComputeDayTrade(*terms, first, *first_price, *second_price, *count,
                            holding),
            terms->kind);
      },
      [](const std::string& message) {
        return DateOr(message, "second-price");
      });
}

std::string SecurityForPage(const std::string_view input_lines) {
  InputReader in(input_lines);
  const std::optional<Date> date = in.Required("date", ParseTradeDate);
  if (!date) return in.Errors();
  const std::optional<Security> security = in.Required(
      "code",
      [&](const std::string& code) { return SecurityFromCode(code, *date); });
  if (!security) return in.Errors();
  return std::string("market=") + ExchangeCode(security->exchange) +
         "\nkind=" + SecurityKindCode(security->kind) +
         "\nboard=" + BoardCode(security->board) + "\n";
}

}  // namespace qilo::web
