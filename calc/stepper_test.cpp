#include "calc/stepper.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "calc/key_codes.h"
#include "calc/number_text.h"

namespace qilo {
namespace {

constexpr auto kUp = StepDirection::kUp;
constexpr auto kDown = StepDirection::kDown;

TEST(StepperTest, StepSizes) {
  const struct {
    Precision precision;
    StepDirection direction;
    const char* shown;  // the step as the price pattern writes it
  } kCases[] = {
      {Precision::kTwo, kUp, "0.50"},
      {Precision::kTwo, kDown, "-0.01"},
      {Precision::kThree, kUp, "0.050"},
      {Precision::kThree, kDown, "-0.001"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.shown);
    EXPECT_EQ(FormatPattern(PriceStep(c.precision, c.direction),
                            PriceFormatFor(PrecisionText(c.precision))),
              c.shown);
  }
  EXPECT_EQ(CountStep(kUp), 100);
  EXPECT_EQ(CountStep(kDown), -100);
}

TEST(StepperTest, NextValueNeverGoesBelowOneStep) {
  const struct {
    const char* current;
    Number step;
    const char* next;  // at two decimals
  } kCases[] = {
      {"10", 0.5L, "10.50"},
      {"10", -0.01L, "9.99"},
      {"0.03", -0.01L, "0.02"},
      {"0.02", -0.01L, "0.01"},  // exactly two steps: the floor
      {"0.01", -0.01L, "0.01"},
      {"0", -0.01L, "0.01"},
      {"-5", -0.01L, "0.01"},  // a negative price comes up to the floor
      {"-5", 0.5L, "-4.50"},   // an up step just adds
      {"0", 0.5L, "0.50"},
      {"300", -100, "200.00"},
      {"200", -100, "100.00"},
      {"150", -100, "100.00"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.current) + " " + FormatFixed(c.step, 2));
    EXPECT_EQ(FormatFixed(NextStepValue(TextToNumber(c.current), c.step), 2),
              c.next);
  }
}

TEST(StepperTest, NextValueRaisesWhenTheSumOverflows) {
  const Number max = std::numeric_limits<long double>::max();
  EXPECT_THROW(NextStepValue(max, max), EOverflow);
}

TEST(StepperTest, OnlyTheArrowKeysStep) {
  EXPECT_EQ(StepForKey(kVkUp), kUp);
  EXPECT_EQ(StepForKey(kVkDown), kDown);
  for (int key : {0, kVkReturn, 37, 39, 33, 34, int{'W'}, int{'S'}}) {
    EXPECT_EQ(StepForKey(key), std::nullopt) << key;
  }
}

}  // namespace
}  // namespace qilo
