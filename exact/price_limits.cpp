#include "exact/price_limits.h"

#include <algorithm>

#include "exact/fee_inputs.h"

namespace qilo {
namespace {

constexpr Date kLimitsBegan{1996, 12, 16};

[[noreturn]] void NoLimits(const char* what, Date from, Date date) {
  throw EFeeInputError(std::string("no price limits for ") + what + " on " +
                       DateText(date) + ": they begin on " + DateText(from));
}

SecurityKind KindOf(Board board) {
  return board == Board::kFund ? SecurityKind::kFund : SecurityKind::kStock;
}

const char* BoardName(Board board) {
  switch (board) {
    case Board::kMain:
      return "主板";
    case Board::kChiNext:
      return "创业板";
    case Board::kStar:
      return "科创板";
    case Board::kBeijing:
      return "北交所";
    case Board::kFund:
      return "基金";
  }
  return "主板";
}

}  // namespace

Decimal LimitPercent(Board board, bool st, Date date) {
  if (date < kLimitsBegan) NoLimits("any board", kLimitsBegan, date);
  switch (board) {
    case Board::kMain:
      return Decimal(st && date < Date{2026, 7, 6} ? 5 : 10, 0);
    case Board::kChiNext:
      if (date < Date{2009, 10, 30}) {
        NoLimits("ChiNext", Date{2009, 10, 30}, date);
      }
      if (date >= Date{2020, 8, 24}) return Decimal(20, 0);
      return Decimal(st ? 5 : 10, 0);
    case Board::kStar:
      if (date < Date{2019, 7, 22}) NoLimits("STAR", Date{2019, 7, 22}, date);
      return Decimal(20, 0);
    case Board::kBeijing:
      if (date < Date{2021, 11, 15}) {
        NoLimits("Beijing", Date{2021, 11, 15}, date);
      }
      return Decimal(30, 0);
    case Board::kFund:
      if (st) throw EFeeInputError("a fund is never ST");
      return Decimal(10, 0);
  }
  return Decimal(10, 0);
}

PriceLimits ComputePriceLimits(Board board, bool st, Date date,
                               const Decimal& previous_close,
                               const std::optional<Decimal>& percent) {
  PriceLimits l;
  l.board = board;
  l.st = st;
  l.percent = LimitPercent(board, st, date);
  if (percent) l.percent = *percent;
  l.tick = Tick(KindOf(board));
  CheckPrice(previous_close, KindOf(board));
  const Decimal change = (previous_close * l.percent).MovePointLeft(2);
  const int decimals = l.tick.Decimals();
  l.limit_up = (previous_close + change).Round(decimals);
  l.limit_down = std::max((previous_close - change).Round(decimals), l.tick);
  return l;
}

std::string LimitFieldLines(const PriceLimits& limits) {
  const int decimals = limits.tick.Decimals();
  return std::string("board=") + BoardCode(limits.board) +
         "\nst=" + (limits.st ? "1" : "0") +
         "\npercent=" + limits.percent.Text() + "\ntick=" + limits.tick.Text() +
         "\nlimit_up=" + limits.limit_up.Text(decimals) +
         "\nlimit_down=" + limits.limit_down.Text(decimals) + "\n";
}

std::string LimitSummary(const PriceLimits& limits) {
  const int decimals = limits.tick.Decimals();
  return std::string(BoardName(limits.board)) + (limits.st ? " ST" : "") +
         "，涨跌幅 " + limits.percent.Text() + "%，最小价位 " +
         limits.tick.Text() + "\n涨停价 " + limits.limit_up.Text(decimals) +
         "\n跌停价 " + limits.limit_down.Text(decimals) + "\n";
}

}  // namespace qilo
