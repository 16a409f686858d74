#include "app/error_text.h"

#include <gtest/gtest.h>

#include "text/gbk.h"

namespace qilo {
namespace {

TEST(ErrorBoxTextTest, PeriodOnlyAfterBytesSortingAfterThePeriod) {
  const struct {
    std::string message;
    std::string expected;
  } kCases[] = {
      {"'x' is not a valid floating point value",
       "'x' is not a valid floating point value."},
      {"Floating point division by zero", "Floating point division by zero."},
      {"Stop!", "Stop!"},
      {"Done.", "Done."},
      {"a-", "a-"},   // '-' sorts before '.'
      {"v/", "v/."},  // '/' sorts right after '.'
      {"1", "1."},
      {"", ""},
      {Gbk("写入失败"), Gbk("写入失败") + "."},  // a double-byte character
  };
  for (const auto& c : kCases)
    EXPECT_EQ(ErrorBoxText(c.message), c.expected) << c.message;
}

}  // namespace
}  // namespace qilo
