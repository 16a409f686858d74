#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "exact/day_trade.h"
#include "exact/fee_inputs.h"
#include "exact/position_average.h"
#include "exact/price_limits.h"
#include "exact/security_code.h"
#include "text/expect_error.h"

namespace qilo {
namespace {

Decimal D(const char* text) { return *Decimal::Parse(text); }
Date On(const char* text) { return ParseTradeDate(text); }

// The default terms (Shanghai stock, 0.25 per mille, at least 5 yuan) on a
// day of the 2023-08-28 rules.
FeeTerms Terms2026() {
  FeeTerms t;
  t.date = On("2026-12-09");
  return t;
}

// A result's field lines, or the error's message.
template <typename Compute>
std::string LinesOrError(const Compute& compute) {
  try {
    return compute();
  } catch (const EFeeInputError& e) {
    return "error: " + e.Message();
  }
}

TEST(ToolsTest, PriceLimits) {
  const struct {
    Board board;
    bool st;
    const char* date;
    const char* previous_close;
    const char* percent;  // nullptr: the board's
    const char* lines;    // percent, limit_up, limit_down, or the error
  } kCases[] = {
      // 1.265 and 1.035 are ties, rounded up (doubles give 1.26 and 1.03).
      {Board::kMain, false, "2026-12-09", "1.15", nullptr, "10 1.27 1.04"},
      {Board::kMain, true, "2026-07-05", "10.00", nullptr, "5 10.50 9.50"},
      {Board::kMain, true, "2026-07-06", "10.00", nullptr, "10 11.00 9.00"},
      {Board::kMain, false, "1996-12-15", "10.00", nullptr,
       "error: no price limits for any board on 1996-12-15: they begin on "
       "1996-12-16"},
      {Board::kMain, false, "1996-12-16", "10.00", nullptr, "10 11.00 9.00"},
      {Board::kChiNext, false, "2009-10-29", "10.00", nullptr,
       "error: no price limits for ChiNext on 2009-10-29: they begin on "
       "2009-10-30"},
      {Board::kChiNext, false, "2009-10-30", "10.00", nullptr, "10 11.00 9.00"},
      {Board::kChiNext, true, "2020-08-21", "10.00", nullptr, "5 10.50 9.50"},
      {Board::kChiNext, true, "2020-08-24", "10.00", nullptr, "20 12.00 8.00"},
      {Board::kStar, false, "2019-07-21", "10.00", nullptr,
       "error: no price limits for STAR on 2019-07-21: they begin on "
       "2019-07-22"},
      {Board::kStar, true, "2019-07-22", "10.00", nullptr, "20 12.00 8.00"},
      {Board::kBeijing, false, "2021-11-12", "3.33", nullptr,
       "error: no price limits for Beijing on 2021-11-12: they begin on "
       "2021-11-15"},
      // 4.329 and 2.331.
      {Board::kBeijing, false, "2021-11-15", "3.33", nullptr, "30 4.33 2.33"},
      // Ties on the fund tick: 1.2265 and 1.0035.
      {Board::kFund, false, "1996-12-16", "1.115", nullptr, "10 1.227 1.004"},
      {Board::kFund, false, "2026-12-09", "1.000", "20", "20 1.200 0.800"},
      {Board::kFund, true, "2026-12-09", "1.000", nullptr,
       "error: a fund is never ST"},
      // 0.004 would round to nothing: one tick.
      {Board::kMain, false, "2026-12-09", "0.01", "60", "60 0.02 0.01"},
      {Board::kMain, false, "2026-12-09", "0.015", nullptr,
       "error: price '0.015' is not on the 0.01 tick"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(BoardCode(c.board)) + " " + c.date + " " +
                 c.previous_close);
    EXPECT_EQ(LinesOrError([&] {
                std::optional<Decimal> percent;
                if (c.percent) percent = D(c.percent);
                const PriceLimits l = ComputePriceLimits(
                    c.board, c.st, On(c.date), D(c.previous_close), percent);
                const int decimals = l.tick.Decimals();
                return l.percent.Text() + " " + l.limit_up.Text(decimals) +
                       " " + l.limit_down.Text(decimals);
              }),
              c.lines);
  }
}

TEST(ToolsTest, SecurityCodes) {
  const struct {
    const char* code;
    const char* date;
    const char* security;  // market kind board, or the error
  } kCases[] = {
      {"600000", "2026-12-09", "sh stock main"},
      {"605599", "2026-12-09", "sh stock main"},
      {"688981", "2026-12-09", "sh stock star"},
      {"689009", "2026-12-09", "sh stock star"},
      {"000001", "2026-12-09", "sz stock main"},
      {"003816", "2026-12-09", "sz stock main"},
      {"300750", "2026-12-09", "sz stock chinext"},
      {"302132", "2026-12-09", "sz stock chinext"},
      {"430047", "2021-11-15", "bj stock bj"},
      {"830799", "2026-12-09", "bj stock bj"},
      {"889999", "2026-12-09", "bj stock bj"},
      {"920001", "2024-04-19",
       "error: code '920001' was not in use before 2024-04-22"},
      {"920001", "2024-04-22", "bj stock bj"},
      {"510300", "2026-12-09", "sh fund fund"},
      {"588000", "2026-12-09", "sh fund fund"},
      {"159915", "2026-12-09", "sz fund fund"},
      {"180101", "2026-12-09", "sz fund fund"},
      {"900901", "2026-12-09",
       "error: code '900901' is not an A share or fund of Shanghai, Shenzhen "
       "or Beijing"},
      {"200002", "2026-12-09",
       "error: code '200002' is not an A share or fund of Shanghai, Shenzhen "
       "or Beijing"},
      {"110001", "2026-12-09",
       "error: code '110001' is not an A share or fund of Shanghai, Shenzhen "
       "or Beijing"},
      {"60000", "2026-12-09", "error: code '60000' is not six digits"},
      {"60000a", "2026-12-09", "error: code '60000a' is not six digits"},
      // Pasted bytes that are not UTF-8, and line breaks, are quoted as
      // U+FFFD: the message stays one line of UTF-8.
      {"\n81919", "2026-12-09", "error: code '\uFFFD81919' is not six digits"},
      {"60\xC0\xAF"
       "00",
       "2026-12-09", "error: code '60\uFFFD00' is not six digits"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(LinesOrError([&] {
                const Security s = SecurityFromCode(c.code, On(c.date));
                return std::string(ExchangeCode(s.exchange)) + " " +
                       SecurityKindCode(s.kind) + " " + BoardCode(s.board);
              }),
              c.security);
  }
  FeeTerms terms = Terms2026();
  EXPECT_ERROR(ApplySecurityCode("600000", Exchange::kShenzhen, {}, &terms),
               EFeeInputError, "market 'sz' contradicts code '600000'");
  EXPECT_ERROR(ApplySecurityCode("600000", {}, SecurityKind::kFund, &terms),
               EFeeInputError, "kind 'fund' contradicts code '600000'");
}

TEST(ToolsTest, Average) {
  const struct {
    const char* terms;  // "", "fund" (without commission) or "exact fund"
    std::vector<BuyOrder> orders;
    std::optional<AverageTarget> target;
    const char* lines;
  } kCases[] = {
      // 10000 + 5 + 0.10.
      {"",
       {{D("10"), D("1000")}},
       {},
       "count=1000\namount=10000.00\nfees=5.10\ncost=10005.10\n"
       "average=10.005\nbreak_even=10.02\n"},
      // Each order pays its own minimum: 2 × (5 + 0.01), not 5 + 0.02. At
      // 10.09 selling nets 2018 - 6.03 = 2011.97, at 10.08 2009.97.
      {"",
       {{D("10"), D("100")}, {D("10"), D("100")}},
       {},
       "count=200\namount=2000.00\nfees=10.02\ncost=2010.02\n"
       "average=10.050\nbreak_even=10.09\n"},
      // 2.001 / 2 = 1.0005, a tie, up.
      {"fund",
       {{D("1.001"), D("1")}, {D("1.000"), D("1")}},
       {},
       "count=2\namount=2.00\nfees=0.00\ncost=2.00\naverage=1.001\n"
       "break_even=1.001\n"},
      // 340 shares: 10005.10 + 2720 + 5.03 = 12730.13 > 9.50 × 1340; 341:
      // 12738.13 <= 12739.50, average 9.49898. Without the order's minimum
      // the closed form would say 337.
      {"",
       {{D("10"), D("1000")}},
       AverageTarget{D("9.50"), D("8"), D("1")},
       "count=1000\namount=10000.00\nfees=5.10\ncost=10005.10\n"
       "average=10.005\nbreak_even=10.02\nbuy_count=341\nnew_average=9.499\n"},
      // In lots: 300 leaves 12410.12 > 12350; 400 gives 13210.13 / 1400.
      {"",
       {{D("10"), D("1000")}},
       AverageTarget{D("9.50"), D("8"), D("100")},
       "count=1000\namount=10000.00\nfees=5.10\ncost=10005.10\n"
       "average=10.005\nbreak_even=10.02\nbuy_count=400\nnew_average=9.436\n"},
      // Rounding decides: 756 at 8.50 cost 6426 + 5 + 0.06 (0.06426), making
      // 16436.16, exactly 9.36 × 1756; with the fee exact it would be 757.
      {"",
       {{D("10"), D("1000")}},
       AverageTarget{D("9.36"), D("8.5"), D("1")},
       "count=1000\namount=10000.00\nfees=5.10\ncost=10005.10\n"
       "average=10.005\nbreak_even=10.02\nbuy_count=756\nnew_average=9.360\n"},
      {"",
       {{D("10"), D("1000")}},
       AverageTarget{D("10.01"), D("8"), D("100")},
       "count=1000\namount=10000.00\nfees=5.10\ncost=10005.10\n"
       "average=10.005\nbreak_even=10.02\nbuy_count=0\nnew_average=10.005\n"},
      {"",
       {{D("10"), D("1000")}},
       AverageTarget{D("9.50"), D("9.60"), D("1")},
       "error: no count up to 10000000000 bought at 9.60 brings the average "
       "to 9.50"},
      // With exact fees 25 at 0.5 brings 100 + 12.5 to exactly 0.9 × 125.
      {"exact fund",
       {{D("1.000"), D("100")}},
       AverageTarget{D("0.9"), D("0.5"), D("1")},
       "count=100\namount=100.00\nfees=0.00\ncost=100.00\naverage=1.000\n"
       "break_even=1.000\nbuy_count=25\nnew_average=0.900\n"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.lines);
    FeeTerms terms = Terms2026();
    if (std::string(c.terms).ends_with("fund")) {
      terms.kind = SecurityKind::kFund;
      terms.commission_per_mille = terms.min_commission = Decimal();
    }
    if (std::string(c.terms) == "exact fund") terms.rounding = Rounding::kNone;
    EXPECT_EQ(LinesOrError([&] {
                return AverageFieldLines(
                    ComputeAverage(terms, c.orders, c.target), terms.kind);
              }),
              c.lines);
  }
}

TEST(ToolsTest, DayTrade) {
  const struct {
    bool fund;  // without a minimum commission
    Side first;
    const char *first_price, *second_price, *count;
    std::optional<Holding> holding;
    const char* lines;
  } kCases[] = {
      // Buy 10000 + 5.10; sell 10500 - (5 + 5.25 + 0.11).
      {false,
       Side::kBuy,
       "10",
       "10.5",
       "1000",
       {},
       "first.amount=10000.00\nfirst.fees=5.10\nsecond.amount=10500.00\n"
       "second.fees=10.36\nfees=15.46\ngain=484.54\nbreak_even=10.02\n"},
      // Selling first nets 10489.64; buying back at 10.48 costs 10485.10, at
      // 10.49 10495.10. (20400 - 484.54) / 2000 = 9.95773.
      {false, Side::kSell, "10.5", "10", "1000", Holding{D("2000"), D("10.2")},
       "first.amount=10500.00\nfirst.fees=10.36\nsecond.amount=10000.00\n"
       "second.fees=5.10\nfees=15.46\ngain=484.54\nbreak_even=10.48\n"
       "new_average=9.958\n"},
      // A loss: 9989.90 - 10505.11; 9.98 buys back for 9985.10.
      {false,
       Side::kSell,
       "10",
       "10.5",
       "1000",
       {},
       "first.amount=10000.00\nfirst.fees=10.10\nsecond.amount=10500.00\n"
       "second.fees=5.11\nfees=15.21\ngain=-515.21\nbreak_even=9.98\n"},
      // Selling a fund share at 20.000 nets 20 - 0.01 (0.005 up); buying
      // back at 19.990 costs 19.99 + 0.00 (0.0049975), at 19.991 19.991.
      {true,
       Side::kSell,
       "20",
       "20",
       "1",
       {},
       "first.amount=20.00\nfirst.fees=0.01\nsecond.amount=20.00\n"
       "second.fees=0.01\nfees=0.02\ngain=-0.02\nbreak_even=19.990\n"},
      {false,
       Side::kSell,
       "0.01",
       "0.01",
       "1",
       {},
       "error: no buy-back price on the tick is covered by the sale's "
       "proceeds -4.99"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.lines);
    FeeTerms terms = Terms2026();
    if (c.fund) {
      terms.kind = SecurityKind::kFund;
      terms.min_commission = Decimal();
    }
    EXPECT_EQ(LinesOrError([&] {
                return DayTradeFieldLines(
                    ComputeDayTrade(terms, c.first, D(c.first_price),
                                    D(c.second_price), D(c.count), c.holding),
                    terms.kind);
              }),
              c.lines);
  }
}

}  // namespace
}  // namespace qilo
