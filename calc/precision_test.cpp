#include "calc/precision.h"

#include <gtest/gtest.h>

#include <optional>

namespace qilo {
namespace {

TEST(PrecisionTest, TextsAndTheirPrecisions) {
  const struct {
    const char* text;
    std::optional<Precision> parsed;
    Precision works_at;
    Precision toggled;
  } kCases[] = {
      {"2", Precision::kTwo, Precision::kTwo, Precision::kThree},
      {"3", Precision::kThree, Precision::kThree, Precision::kTwo},
      // Anything else works at two decimals and toggles to two.
      {"4", std::nullopt, Precision::kTwo, Precision::kTwo},
      {"", std::nullopt, Precision::kTwo, Precision::kTwo},
      {" 3", std::nullopt, Precision::kTwo, Precision::kTwo},
      {"3 ", std::nullopt, Precision::kTwo, Precision::kTwo},
      {"03", std::nullopt, Precision::kTwo, Precision::kTwo},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParsePrecision(c.text), c.parsed);
    EXPECT_EQ(PrecisionOf(c.text), c.works_at);
    EXPECT_EQ(ToggledPrecision(c.text), c.toggled);
  }
}

TEST(PrecisionTest, WhatEachPrecisionShows) {
  const struct {
    Precision precision;
    const char* text;
    const char* format;
    const char* placeholder;
  } kCases[] = {
      {Precision::kTwo, "2", "%.2f", "00.00"},
      {Precision::kThree, "3", "%.3f", "00.000"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_STREQ(PrecisionText(c.precision), c.text);
    EXPECT_EQ(PriceFormatFor(PrecisionText(c.precision)), c.format);
    EXPECT_STREQ(PricePlaceholder(c.precision), c.placeholder);
    EXPECT_EQ(ParsePrecision(PrecisionText(c.precision)), c.precision);
  }
  EXPECT_EQ(kDefaultPrecision, Precision::kTwo);
}

}  // namespace
}  // namespace qilo
