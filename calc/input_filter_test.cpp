#include "calc/input_filter.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/key_codes.h"
#include "calc/number_text.h"
#include "text/expect_error.h"

namespace qilo {
namespace {

TEST(KeyPassesTest, DigitsOneSeparatorAndTheEditingKeys) {
  const struct {
    const char* text;
    char key;
    bool passes;
  } kCases[] = {
      {"", '0', true},
      {"", '9', true},
      {"12", '.', true},
      {"1.2", '.', false},
      {".", '.', false},
      {"1.2", '5', true},
      {"", kCharBackspace, true},
      {"1.2", kCharReturn, true},
      {"", kCharEscape, true},
      {"", '/', false},  // the bytes either side of the digits
      {"", ':', false},
      {"", '-', false},
      {"", '+', false},
      {"", 'e', false},
      {"", ',', false},
      {"", ' ', false},
      {"", '\t', false},
      {"", '\n', false},  // line feed is not Enter
      {"", 0, false},
      {"", 127, false},
      {"", '\xA3', false},  // a GBK lead byte
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.text) + " / " + std::to_string(c.key));
    EXPECT_EQ(KeyPasses(c.text, c.key), c.passes);
  }
}

TEST(RequiredFieldTest, BlankFieldsAndAZeroCountAreMissing) {
  const struct {
    const char* text;
    bool field_missing;
    bool count_missing;
  } kCases[] = {
      {"", true, true},        {" \t ", true, true},   {"\x01", true, true},
      {"0", false, true},      {"0.0", false, true},   {"000", false, true},
      {" 0 ", false, true},    {"-0", false, true},    {"1000", false, false},
      {"0.001", false, false}, {"-100", false, false}, {"1.7", false, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FieldMissing(c.text), c.field_missing);
    EXPECT_EQ(CountMissing(c.text), c.count_missing);
  }
}

TEST(RequiredFieldTest, CountThatIsNotANumberRaises) {
  EXPECT_ERROR(CountMissing("1x"), EConvertError,
               "'1x' is not a valid floating point value");
  // A rate is only looked at for blanks.
  EXPECT_FALSE(FieldMissing("1x"));
}

}  // namespace
}  // namespace qilo
