#include "calc/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "text/expect_error.h"

namespace qilo {
namespace {

// The exact bits of a value: "equal" must not hide a sign or a last-bit error.
std::string Bits(long double v) { return NumberBits(v); }

class SeparatorGuard {
 public:
  explicit SeparatorGuard(char c) : saved_(DecimalSeparator()) {
    SetDecimalSeparator(c);
  }
  ~SeparatorGuard() { SetDecimalSeparator(saved_); }

 private:
  char saved_;
};

TEST(TextToNumberTest, ValidTexts) {
  const struct {
    const char* text;
    long double value;
  } kCases[] = {
      {"12.345", 12.345L},
      {"  12.5  ", 12.5L},
      {"+7", 7},
      {"007", 7},
      {"5.", 5},
      {".5", 0.5L},
      {"00.00", 0},
      {".", 0},
      {"1e", 1},
      {"1E+3", 1000},
      {"1e-3", 0.001L},
      {".e5", 0},
      {"1e500", 1e500L},
      {"1e+", 1},
      {"1.7", 1.7L},
      {"2.675", 2.675L},
      {"1e-4940", 1e-4940L},  // subnormal: no error
      {"1e-4960", 0},         // below the range: zero
      {"18446744073709551615", 18446744073709551615.0L},  // 20 digits, rounded
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Bits(TextToNumber(c.text).Value()), Bits(c.value));
  }
}

TEST(TextToNumberTest, NegativeZero) {
  for (const char* text : {"-.", "-0", "-00.00"}) {
    long double v = TextToNumber(text).Value();
    EXPECT_EQ(v, 0) << text;
    EXPECT_TRUE(std::signbit(v)) << text;
    EXPECT_EQ(FormatFixed(v, 2), "0.00") << text;
  }
}

TEST(TextToNumberTest, InvalidTexts) {
  const char* kCases[] = {
      "e5",  "1e4933", "1.2e4932", "1e5000", "",    "   ", "+",
      "-",   "1,000",  "1.2.3",    "- 5",    "5-",  "12a", "\t5",
      "5\t", "1e5 0",  "0x10",     "1e--3",  "++1", "1 2",
  };
  for (const char* text : kCases) {
    SCOPED_TRACE(text);
    EXPECT_ERROR(
        TextToNumber(text), EConvertError,
        "'" + std::string(text) + "' is not a valid floating point value");
  }
}

TEST(TextToNumberTest, DigitsOverflowingTheRangeAreNotANumber) {
  const auto zeros = [](size_t count) { return std::string(count, '0'); };
  // However small the final scale, an overflow while reading stays one.
  const std::string kOverflowing[] = {
      std::string(4933, '9'),
      "0.1" + zeros(5200),
      "-0.1" + zeros(5200),
      "1." + zeros(5200),
      "1" + zeros(5147) + ".0",
      "1" + zeros(4931) + "." + zeros(5119),  // scaled by 10^-5119
      "1" + zeros(4931) + "." + zeros(5120),  // by 10^-5120, the cut-off
      "1" + zeros(4940) + "." + zeros(200) + "e-4999",
  };
  for (const std::string& text : kOverflowing) {
    SCOPED_TRACE(text.size());
    EXPECT_ERROR(TextToNumber(text), EConvertError,
                 "'" + text + "' is not a valid floating point value");
  }
  // Values below the range read as zero or a subnormal, without error.
  const struct {
    std::string text;
    long double value;
  } kTiny[] = {
      {"0." + zeros(6000) + "1", 0},        {"0." + zeros(5119) + "1", 0},
      {"0." + zeros(4939) + "1", 1e-4940L}, {"-0." + zeros(6000), -0.0L},
      {"0" + zeros(6000) + "e-4999", 0},
  };
  for (const auto& c : kTiny) {
    SCOPED_TRACE(c.text.size());
    EXPECT_EQ(Bits(TextToNumber(c.text).Value()), Bits(c.value));
  }
}

TEST(TextToNumberTest, ZeroByteEndsTheText) {
  EXPECT_EQ(TextToNumber(std::string("12\0xyz", 6)).Value(), 12);
}

TEST(TextToNumberTest, MessageKeepsTheTextUntrimmed) {
  EXPECT_ERROR(TextToNumber(" 1 x "), EConvertError,
               "' 1 x ' is not a valid floating point value");
}

TEST(FormatFixedTest, Table) {
  const struct {
    const char* text;
    int decimals;
    const char* expected;
  } kCases[] = {
      {"12.345", 2, "12.35"},
      {"12.345", 3, "12.345"},
      {"2.675", 2, "2.68"},
      {"1.005", 2, "1.01"},
      {"0.125", 2, "0.13"},
      {"-0.125", 2, "-0.13"},
      {"0.005", 2, "0.01"},
      {"-0.004", 2, "0.00"},
      {"-0.005", 2, "-0.01"},
      {"99.995", 2, "100.00"},
      {"1.7", 2, "1.70"},
      {"1.7", 3, "1.700"},
      {"0.0005", 3, "0.001"},
      {"2.5", 0, "3"},
      {"3.5", 0, "4"},
      {"-2.5", 0, "-3"},
      {"0.5", 0, "1"},
      {"0.4", 0, "0"},
      {"1500.4", 0, "1500"},
      {"1234567.891", 2, "1234567.89"},
      {"999999999999999999", 2, "999999999999999999.00"},
      {"1e18", 2, "1E18"},
      {"1.5e20", 3, "1.5E020"},
      {"1.5e20", 0, "1.5E20"},
      {"123456789012345678901", 2, "1.23456789012345679E20"},
      // Own cases: carries, boundaries, widths.
      {"0", 2, "0.00"},
      {"0", 0, "0"},
      {"9.995", 2, "10.00"},
      {"0.995", 2, "1.00"},
      {"0.0049", 2, "0.00"},
      {"0.05", 1, "0.1"},
      {"999999999999999999.5", 0, "1E18"},
      {"999999999999999999.4", 2, "999999999999999999.00"},
      {"1e18", 0, "1E18"},
      {"1e18", 5, "1E18"},
      {"1.5e20", 4, "1.5E0020"},
      {"1.5e20", 6, "1.5E20"},
      {"1e100", 2, "1E100"},
      {"1e500", 3, "1E500"},
      {"-1.5e20", 2, "-1.5E20"},
      {"123.456", 18, "123.456000000000000000"},
      {"1e-4940", 2, "0.00"},  // a subnormal prints as zero
      {"0.000000000000000001", 18, "0.000000000000000001"},
      {"0.0000000000000000005", 18, "0.000000000000000001"},
      {"0.0000000000000000004", 18, "0.000000000000000000"},
      {"10", 2, "10.00"},
      {"100", 0, "100"},
      {"0.1", 2, "0.10"},
      {"10022", 2, "10022.00"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.text) + " /" + std::to_string(c.decimals));
    EXPECT_EQ(FormatFixed(TextToNumber(c.text), c.decimals), c.expected);
  }
}

TEST(FormatFixedTest, NonFiniteValues) {
  const long double inf = std::numeric_limits<long double>::infinity();
  EXPECT_EQ(FormatFixed(inf, 2), "INF");
  EXPECT_EQ(FormatFixed(-inf, 2), "-INF");
  EXPECT_EQ(FormatFixed(std::numeric_limits<long double>::quiet_NaN(), 2),
            "NAN");
}

TEST(FormatFixedTest, LargestValueTakesTheLongForm) {
  const std::string text =
      FormatFixed(std::numeric_limits<long double>::max(), 2);
  EXPECT_EQ(text.substr(0, 16), "1.18973149535723");
  EXPECT_EQ(text.substr(text.size() - 5), "E4932");
}

// What a field shows must read back as the same text, at any count of
// decimals, for values of every size: prices and amounts near the fixed/long
// form border, tiny values that round to zero, and the whole exponent range.
TEST(FormatFixedTest, FixedTextReadsBackAsItselfForRandomValues) {
  std::mt19937_64 random(20261209);
  for (const char separator : {'.', ','}) {
    const SeparatorGuard guard(separator);
    for (int i = 0; i < 100000; ++i) {
      const uint64_t significand = random() | (uint64_t{1} << 63);
      const int wide = static_cast<int>(random() % 32765) - 16382;
      const int near = static_cast<int>(random() % 161) - 80;
      const int exponent = i % 10 == 0 ? wide : near;
      long double v =
          std::ldexp(static_cast<long double>(significand), exponent - 64);
      if (random() & 1) v = -v;
      const int decimals = i % 19;
      const std::string fixed = FormatFixed(v, decimals);
      ASSERT_EQ(FormatFixed(TextToNumber(fixed), decimals), fixed)
          << Bits(v) << " at " << decimals;
    }
  }
}

TEST(FormatPatternTest, TakesTheDecimalsOfThePattern) {
  EXPECT_EQ(FormatPattern(10.0541L, "%.2f"), "10.05");
  EXPECT_EQ(FormatPattern(10.0541L, "%.3f"), "10.054");
  EXPECT_EQ(FormatPattern(1000, "%.0f"), "1000");
}

TEST(SeparatorTest, CommaSeparator) {
  SeparatorGuard guard(',');
  EXPECT_THROW(TextToNumber("1.7"), EConvertError);
  EXPECT_EQ(Bits(TextToNumber("1,7").Value()), Bits(1.7L));
  EXPECT_EQ(FormatFixed(1.7L, 2), "1,70");
  EXPECT_EQ(FormatFixed(1.5e20L, 2), "1,5E20");
}

TEST(TrimBlanksTest, Table) {
  const struct {
    std::string text;
    std::string expected;
  } kCases[] = {
      {"\t 12 \r\n", "12"},
      {" \t\r\n\x01 ", ""},
      {"", ""},
      {"\xA1\xA1"
       "12",
       "\xA1\xA1"
       "12"},  // the full-width space stays
      {"12\xA1\xA1", "12\xA1\xA1"},
      {" a b ", "a b"},
      {std::string("\0x\0", 3), "x"},
  };
  for (const auto& c : kCases) EXPECT_EQ(TrimBlanks(c.text), c.expected);
}

TEST(IntegerToTextTest, Table) {
  EXPECT_EQ(IntegerToText(7), "7");
  EXPECT_EQ(IntegerToText(30), "30");
  EXPECT_EQ(IntegerToText(0), "0");
  EXPECT_EQ(IntegerToText(-2147483647 - 1), "-2147483648");
}

TEST(ScalePow10Test, ExactPowersAndCutOffs) {
  for (int p = 0; p <= 27; ++p) {
    long double exact = 1;
    for (int i = 0; i < p; ++i) exact *= 10;
    EXPECT_EQ(ScalePow10(1, p), exact) << p;
  }
  EXPECT_TRUE(std::isinf(ScalePow10(1, 5120)));
  EXPECT_EQ(ScalePow10(1, -5120), 0);
  const long double inf = std::numeric_limits<long double>::infinity();
  EXPECT_EQ(ScalePow10(-inf, -5120), -inf);
  EXPECT_TRUE(std::isnan(ScalePow10(std::nanl(""), -6000)));
  EXPECT_EQ(ScalePow10(5, 0), 5);
}

TEST(NumberTest, ArithmeticRaisesInsteadOfNonFinite) {
  const Number max = std::numeric_limits<long double>::max();
  EXPECT_THROW(max * 2, EOverflow);
  EXPECT_THROW(max + max, EOverflow);
  EXPECT_THROW(Number(1) / 0, EZeroDivide);
  EXPECT_THROW(Number(0) / 0, EInvalidOp);
  EXPECT_ERROR(Number(1) / 0, EZeroDivide, "Floating point division by zero");
  // Underflow passes silently.
  const Number tiny = std::numeric_limits<long double>::min();
  EXPECT_EQ((tiny * tiny).Value(), 0);
}

}  // namespace
}  // namespace qilo
