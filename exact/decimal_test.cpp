#include "exact/decimal.h"

#include <gtest/gtest.h>

#include <string>

#include "text/expect_error.h"

namespace qilo {
namespace {

Decimal D(const char* text) { return *Decimal::Parse(text); }

TEST(DecimalTest, ParsesAndWrites) {
  const struct {
    const char* text;
    const char* exact;  // nullptr: not a number
    const char* two;    // Text(2): rounded half away from zero
  } kCases[] = {
      {"10", "10", "10.00"},
      {"0010.2500", "10.25", "10.25"},
      {".5", "0.5", "0.50"},
      {"5.", "5", "5.00"},
      {"-0.005", "-0.005", "-0.01"},
      {"0.005", "0.005", "0.01"},
      {"-0.004", "-0.004", "0.00"},  // no "-0.00"
      {"2.675", "2.675", "2.68"},    // exact: no binary 2.67499…
      {"123456789012345678.123456789012345678",
       "123456789012345678.123456789012345678", "123456789012345678.12"},
      {"", nullptr, nullptr},
      {"-", nullptr, nullptr},
      {".", nullptr, nullptr},
      {"1e3", nullptr, nullptr},
      {" 1", nullptr, nullptr},
      {"+1", nullptr, nullptr},
      {"1.2.3", nullptr, nullptr},
      {"--1", nullptr, nullptr},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    const std::optional<Decimal> d = Decimal::Parse(c.text);
    ASSERT_EQ(d.has_value(), c.exact != nullptr);
    if (!d) continue;
    EXPECT_EQ(d->Text(), c.exact);
    EXPECT_EQ(d->Text(2), c.two);
  }
}

TEST(DecimalTest, Arithmetic) {
  EXPECT_EQ(D("0.1") + D("0.2"), D("0.3"));
  EXPECT_EQ((D("10000") * D("0.25")).MovePointLeft(3).Text(), "2.5");
  EXPECT_EQ(D("1.50") <=> D("1.5"), std::strong_ordering::equal);
  EXPECT_LT(D("-1"), D("0.001"));
  EXPECT_EQ(D("5.005").Round(2), D("5.01"));
  EXPECT_EQ(D("-5.005").Round(2), D("-5.01"));
  EXPECT_EQ(D("5.0049999").Round(2), D("5"));
  EXPECT_EQ(D("5.0049999").Round(2).scale(), 2);
  // 984.29 × 100 / 10005.10 = 9.8379…; 1/3 and -2/3 at the edge of halves.
  EXPECT_EQ(Decimal::Quotient(D("98429"), D("10005.10"), 2).Text(), "9.84");
  EXPECT_EQ(Decimal::Quotient(D("1"), D("8"), 2).Text(), "0.13");
  EXPECT_EQ(Decimal::Quotient(D("-1"), D("8"), 2).Text(), "-0.13");
  EXPECT_EQ(Decimal::Quotient(D("1"), D("-3"), 3).Text(), "-0.333");
  EXPECT_TRUE(D("10.02").IsMultipleOf(D("0.01")));
  EXPECT_FALSE(D("10.005").IsMultipleOf(D("0.01")));
}

TEST(DecimalTest, OverflowThrows) {
  const std::string kTooLarge = "a number too large for the exact arithmetic";
  const Decimal big = D("100000000000000000000");  // 10^20
  EXPECT_ERROR(big * big, EDecimalError, kTooLarge);
  const Decimal tiny = D("0.0000000000001");  // 13 decimals
  EXPECT_ERROR(tiny * tiny, EDecimalError, kTooLarge);
  EXPECT_ERROR(Decimal::Parse("1234567890123456789012345678901234567"),
               EDecimalError, kTooLarge);
  EXPECT_ERROR(Decimal::Parse("0.0000000000000000000000001"), EDecimalError,
               kTooLarge);
  EXPECT_ERROR(Decimal::Quotient(D("1"), D("0.00"), 2), EDecimalError,
               "division by zero");
  // 10^36 + 10^36 still fits: the bound is the 128 bits, not the digits.
  const Decimal wide = D("100000000000000000000000000000000000");
  EXPECT_EQ((wide + wide).Text(), "200000000000000000000000000000000000");
}

}  // namespace
}  // namespace qilo
