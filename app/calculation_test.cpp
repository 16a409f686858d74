#include "app/calculation.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "text/exception.h"

namespace qilo {
namespace {

// Inputs as the window starts with them, on Shanghai.
CalculationInputs Trade(const char* buy, const char* sell, const char* count) {
  return {"1.7", "1", "1", "4", buy, sell, count, true, "%.2f"};
}

// The class name of what stopped a calculation; "" for none.
std::string ErrorClass(const Calculation& done) {
  if (!done.error) return "";
  try {
    std::rethrow_exception(done.error);
  } catch (const Exception& e) {
    return e.ClassName();
  } catch (...) {
    return "?";
  }
}

// Each stage reached keeps its results and no later one's: an error in a step
// leaves exactly what the steps before it wrote.
TEST(CalculateTest, StopsAtTheStepThatFailsWithTheResultsBeforeIt) {
  using enum CalculationStage;
  const auto with = [](CalculationInputs in, const char* commission,
                       const char* stamp_tax) {
    in.commission = commission;
    in.stamp_tax = stamp_tax;
    return in;
  };
  const struct {
    const char* name;
    CalculationInputs in;
    CalculationStage reached;
    const char* error;
  } kCases[] = {
      {"whole", Trade("10", "11", "1000"), kBreakEven, ""},
      {"not a number", Trade("10", "1,1", "1000"), kNone, "EConvertError"},
      {"buy amount overflows", Trade("1e4900", "1", "1e100"), kNone,
       "EOverflow"},
      {"sell amount overflows", Trade("1", "1e4900", "1e100"), kBuy,
       "EOverflow"},
      // The proceeds less a negative cost pass the largest number.
      {"profit overflows", with(Trade("-1e4932", "1e4932", "1"), "0.5", "1"),
       kSell, "EOverflow"},
      // The profit fits, its rate in per cent does not.
      {"rate overflows", with(Trade("1", "1e4931", "1"), "0.5", "0"), kProfit,
       "EOverflow"},
      {"break-even denominator zero",
       with(Trade("10", "11", "1000"), "999", "1"), kProfitHint, "EZeroDivide"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const Calculation done = Calculate(c.in);
    EXPECT_TRUE(done.missing.empty());
    EXPECT_EQ(done.reached, c.reached);
    EXPECT_EQ(ErrorClass(done), c.error);
    const std::pair<CalculationStage, const std::string*> texts[] = {
        {kBuy, &done.cost_buy},        {kBuy, &done.cost_buy_hint},
        {kSell, &done.cost_sell},      {kSell, &done.cost_sell_hint},
        {kProfit, &done.profit},       {kProfitHint, &done.profit_hint},
        {kBreakEven, &done.break_even}};
    for (const auto& [stage, text] : texts) {
      EXPECT_EQ(text->empty(), stage > c.reached) << *text;
    }
  }
}

}  // namespace
}  // namespace qilo
