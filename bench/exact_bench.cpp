#include <benchmark/benchmark.h>

#include <vector>

#include "exact/day_trade.h"
#include "exact/fee_report.h"
#include "exact/position_average.h"
#include "exact/price_limits.h"
#include "exact/trade_fees.h"

namespace qilo {
namespace {

Decimal D(const char* text) { return *Decimal::Parse(text); }

FeeTerms Terms() {
  FeeTerms terms;
  terms.date = Date{2026, 12, 9};
  return terms;
}

// One `fees` computation, the floor of the tools: the trade with its
// break-even search, as field lines.
void BM_FeesCall(benchmark::State& state) {
  const FeeTerms terms = Terms();
  const Decimal buy = D("10"), sell = D("11"), count = D("1000");
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        FeeFieldLines(ComputeTrade(terms, buy, sell, count), terms.kind));
  }
}
BENCHMARK(BM_FeesCall);

void BM_Limits(benchmark::State& state) {
  const Date date{2026, 12, 9};
  const Decimal previous_close = D("1.15");
  for (auto _ : state) {
    benchmark::DoNotOptimize(LimitFieldLines(
        ComputePriceLimits(Board::kMain, false, date, previous_close)));
  }
}
BENCHMARK(BM_Limits);

void BM_Average(benchmark::State& state) {
  const FeeTerms terms = Terms();
  const std::vector<BuyOrder> orders = {{D("10"), D("1000")},
                                        {D("9.5"), D("500")}};
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        AverageFieldLines(ComputeAverage(terms, orders), terms.kind));
  }
}
BENCHMARK(BM_Average);

void BM_DayTrade(benchmark::State& state) {
  const FeeTerms terms = Terms();
  const Decimal first = D("10.5"), second = D("10"), count = D("1000");
  for (auto _ : state) {
    benchmark::DoNotOptimize(DayTradeFieldLines(
        ComputeDayTrade(terms, Side::kSell, first, second, count), terms.kind));
  }
}
BENCHMARK(BM_DayTrade);

// The buy-count solver where it works longest: lots of one share, and a
// commission that leaves the average falling by a millionth of a yuan per
// share bought, so that the exact average crosses the target tens of
// millions of shares out and rounding decides among thousands of counts.
void BM_BuyCountWorstCase(benchmark::State& state) {
  FeeTerms terms = Terms();
  terms.commission_per_mille = D("0.9899");
  const std::vector<BuyOrder> orders = {{D("10.02"), D("1000")}};
  const AverageTarget target{D("10.01"), D("10"), D("1")};
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        AverageFieldLines(ComputeAverage(terms, orders, target), terms.kind));
  }
}
BENCHMARK(BM_BuyCountWorstCase);

}  // namespace
}  // namespace qilo
