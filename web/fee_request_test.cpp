#include "web/fee_request.h"

#include <gtest/gtest.h>

#include <string>

namespace qilo::web {
namespace {

constexpr const char* kTrade = "date=2026-12-09\nbuy=10\nsell=11\ncount=1000\n";

TEST(FeeRequestTest, ResultsOrEachBadInputByName) {
  const struct {
    std::string inputs;
    const char* expected;  // the whole answer, or a line it must hold
  } kCases[] = {
      // The command's defaults stand in for options left out or empty.
      {kTrade, "rules=2023-08-28\n"},
      {std::string(kTrade) + "commission=\nmin-commission=\nother=\n",
       "buy.fees=5.10\n"},
      {std::string(kTrade) + "market=sz\nkind=fund\nmin-commission=0\n",
       "buy.fees=2.50\n"},
      {std::string(kTrade) + "rounding=none\ntarget-rate=10\n",
       "target=11.02\n"},
      // Every bad input at once, each under its own name, in a fixed order.
      {"date=2026-12-09\nbuy=10.005\nsell=x\ncount=0\n",
       "error.buy=price '10.005' is not on the 0.01 tick\n"
       "error.sell=price 'x' is not a number\n"
       "error.count=count '0' is not a whole number above zero\n"},
      {"date=2023-02-30\ncommission=150\nmarket=hk\n"
       "buy=10\nsell=11\ncount=1000\n",
       "error.date='2023-02-30' is not a date (YYYY-MM-DD)\n"
       "error.market=market 'hk' is not sh, sz or bj\n"
       "error.commission=commission '150' is above 100, the largest the "
       "exact arithmetic takes\n"},
      // Required inputs left out are errors, not defaults.
      {"buy=10\nsell=11\n",
       "error.date='' is not a date (YYYY-MM-DD)\n"
       "error.count=count '' is not a number\n"},
      {std::string(kTrade) + "target-profit=5\ntarget-rate=1\n",
       "error.target-rate=takes target profit or target rate, not both\n"},
      // A code sets market and kind; one they contradict is its error.
      {std::string(kTrade) + "code=159915\nmin-commission=0\n",
       "buy.fees=2.50\n"},
      {std::string(kTrade) + "code=600000\nmarket=sz\n",
       "error.code=market 'sz' contradicts code '600000'\n"},
      {std::string(kTrade) + "stop-rate=5\n", "stop=9.51\n"},
      {std::string(kTrade) + "stop-loss=1\nstop-rate=1\n",
       "error.stop-rate=takes stop loss or stop rate, not both\n"},
      // Errors found only by the computation go to the input that caused them.
      {"date=2020-01-02\nmarket=bj\nbuy=10\nsell=11\ncount=1000\n",
       "error.date=no fee rules for 2020-01-02\n"},
      {std::string(kTrade) + "stop-loss=20000\n",
       "error.stop-loss=no price on the tick loses 20000.00 of the cost "
       "10005.10\n"},
  };
  for (const auto& c : kCases) {
    const std::string answer = FeesForPage(c.inputs);
    const std::string expected = c.expected;
    if (expected.starts_with("error.") && expected.ends_with("\n")) {
      EXPECT_EQ(answer, expected) << c.inputs;
    } else {
      EXPECT_NE(answer.find(expected), std::string::npos)
          << c.inputs << "gave\n"
          << answer;
    }
  }
}

}  // namespace
}  // namespace qilo::web
