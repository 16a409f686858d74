#include <gtest/gtest.h>

#include <string>

#include "web/fee_request.h"
#include "web/tool_requests.h"

namespace qilo::web {
namespace {

using ForPage = std::string (*)(std::string_view);

constexpr const char* kTrade = "date=2026-12-09\nbuy=10\nsell=11\ncount=1000\n";

// What each command gives for the page's inputs: the whole answer when
// `expected` is errors, else a line it must hold.
TEST(PageRequestsTest, ResultsOrEachBadInputByName) {
  const struct {
    ForPage tool;
    std::string inputs;
    const char* expected;
  } kCases[] = {
      // The command's defaults stand in for options left out or empty.
      {FeesForPage, kTrade, "rules=2023-08-28\n"},
      {FeesForPage,
       std::string(kTrade) + "commission=\nmin-commission=\nother=\n",
       "buy.fees=5.10\n"},
      // Every bad input at once, each under its own name, in a fixed order.
      {FeesForPage, "date=2026-12-09\nbuy=10.005\nsell=x\ncount=0\n",
       "error.buy=price '10.005' is not on the 0.01 tick\n"
       "error.sell=price 'x' is not a number\n"
       "error.count=count '0' is not a whole number above zero\n"},
      {FeesForPage,
       "date=2023-02-30\ncommission=150\nmarket=hk\n"
       "buy=10\nsell=11\ncount=1000\n",
       "error.date='2023-02-30' is not a date (YYYY-MM-DD)\n"
       "error.market=market 'hk' is not sh, sz or bj\n"
       "error.commission=commission '150' is above 100, the largest the "
       "exact arithmetic takes\n"},
      // Required inputs left out are errors, not defaults.
      {FeesForPage, "buy=10\nsell=11\n",
       "error.date='' is not a date (YYYY-MM-DD)\n"
       "error.count=count '' is not a number\n"},
      {FeesForPage, std::string(kTrade) + "target-profit=5\ntarget-rate=1\n",
       "error.target-rate=takes target profit or target rate, not both\n"},
      // A code sets market and kind; one they contradict is its error.
      {FeesForPage, std::string(kTrade) + "code=159915\nmin-commission=0\n",
       "buy.fees=2.50\n"},
      {FeesForPage, std::string(kTrade) + "code=600000\nmarket=sz\n",
       "error.code=market 'sz' contradicts code '600000'\n"},
      // Errors found only by the computation go to the input that caused them.
      {FeesForPage, "date=2020-01-02\nmarket=bj\nbuy=10\nsell=11\ncount=1000\n",
       "error.date=no fee rules for 2020-01-02\n"},
      {FeesForPage, std::string(kTrade) + "stop-loss=20000\n",
       "error.stop-loss=no price on the tick loses 20000.00 of the cost "
       "10005.10\n"},
      // A code gives the board, and with it the tick; a board it contradicts
      // is an error beside the code.
      {LimitsForPage, "date=2024-01-02\ncode=300750\nprev-close=10.01\n",
       "board=chinext\nst=0\npercent=20\ntick=0.01\nlimit_up=12.01\n"},
      {LimitsForPage,
       "date=2024-01-02\ncode=600000\nboard=star\nprev-close=10\n",
       "error.code=board 'star' contradicts code '600000'\n"},
      {LimitsForPage, "date=2024-01-02\nboard=fund\nst=1\nprev-close=1\n",
       "error.st=a fund is never ST\n"},
      {LimitsForPage, "date=2019-01-02\nboard=star\nprev-close=10\n",
       "error.date=no price limits for STAR on 2019-01-02: they begin on "
       "2019-07-22\n"},
      // Empty order rows are skipped; a bad one is named by its place.
      {AverageForPage,
       "date=2024-01-02\nprice.1=10\ncount.1=1000\nprice.2=\ncount.2=\n"
       "price.3=8\ncount.3=1000\n",
       "count=2000\n"},
      {AverageForPage,
       "date=2024-01-02\nprice.1=10\ncount.1=1000\nprice.2=8\ncount.2=1.5\n",
       "error.count.2=count '1.5' is not a whole number above zero\n"},
      {AverageForPage, "date=2024-01-02\nprice.1=\ncount.1=\n",
       "error.price.1=price '' is not a number\n"},
      {AverageForPage,
       "date=2024-01-02\nprice.1=10\ncount.1=1000\ntarget-average=9\nat=\n"
       "lot=100\n",
       "error.at=price '' is not a number\n"},
      {AverageForPage,
       "date=2024-01-02\nprice.1=10\ncount.1=1000\ntarget-average=9\nat=9.5\n",
       "error.target-average=no count up to 10000000000 bought at 9.50 brings "
       "the average to 9.00\n"},
      // A choice quotes what was given as the engine's errors do; the
      // holding's two inputs go together.
      {DayTradeForPage,
       "date=2024-01-02\nfirst=sh\x01rt\nfirst-price=10\nsecond-price=10.3\n"
       "count=1000\nholding=2000\n",
       "error.first=first 'sh\uFFFDrt' is not buy or sell\n"
       "error.average=average '' is not a number\n"},
      {DayTradeForPage,
       "date=2024-01-02\ncode=430047\nmarket=sh\nfirst-price=10\n"
       "second-price=10.3\ncount=100\n",
       "error.code=market 'sh' contradicts code '430047'\n"},
      {SecurityForPage, "date=2024-01-02\ncode=159915\n",
       "market=sz\nkind=fund\nboard=fund\n"},
      {SecurityForPage, "date=2024-04-19\ncode=920001\n",
       "error.code=code '920001' was not in use before 2024-04-22\n"},
  };
  for (const auto& c : kCases) {
    const std::string answer = c.tool(c.inputs);
    const std::string expected = c.expected;
    if (expected.starts_with("error.")) {
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
