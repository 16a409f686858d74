#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "app/frm_main.h"
#include "app/recording_desktop.h"
#include "calc/number_text.h"

namespace qilo {
namespace {

// Typical field texts: prices, rates, counts and a long one.
const char* const kTexts[] = {"10.05", "1.7",       "1000",  "00.00",
                              "3.1",   "12345.678", "0.001", "99.995"};
constexpr int kTextCount = sizeof kTexts / sizeof kTexts[0];

void BM_TextToNumber(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TextToNumber(kTexts[i]));
    i = (i + 1) % kTextCount;
  }
}
BENCHMARK(BM_TextToNumber);

void BM_Strtold(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::strtold(kTexts[i], nullptr));
    i = (i + 1) % kTextCount;
  }
}
BENCHMARK(BM_Strtold);

void BM_FormatFixed2(benchmark::State& state) {
  long double values[kTextCount];
  for (int j = 0; j < kTextCount; ++j)
    values[j] = TextToNumber(kTexts[j]).Value();
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatFixed(values[i], 2));
    i = (i + 1) % kTextCount;
  }
}
BENCHMARK(BM_FormatFixed2);

void BM_SnprintfLf2(benchmark::State& state) {
  long double values[kTextCount];
  for (int j = 0; j < kTextCount; ++j)
    values[j] = TextToNumber(kTexts[j]).Value();
  int i = 0;
  char buffer[64];
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        std::snprintf(buffer, sizeof buffer, "%.2Lf", values[i]));
    benchmark::ClobberMemory();
    i = (i + 1) % kTextCount;
  }
}
BENCHMARK(BM_SnprintfLf2);

void BM_BtnCalClick(benchmark::State& state) {
  RecordingDesktop desktop;
  TFrmMain form(desktop);
  form.CheckMarket(form.RadBtSH);
  form.EdPriceBuy.text = "10";
  form.EdPriceSell.text = "11";
  form.EdCnt.text = "1000";
  for (auto _ : state) {
    form.BtnCalClick();
    benchmark::DoNotOptimize(form.LabCostPrice.text.data());
  }
}
BENCHMARK(BM_BtnCalClick);

}  // namespace
}  // namespace qilo
