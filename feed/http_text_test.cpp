#include "feed/http_text.h"

#include <gtest/gtest.h>

namespace qilo {
namespace {

TEST(TextToIntegerTest, ReadsWholeNumbers) {
  struct Case {
    const char* text;
    std::optional<int32_t> value;
  };
  const Case cases[] = {
      {"200", 200},
      {" 42", 42},
      {"1a", std::nullopt},
      {"$1a", 26},
      {"x1A", 26},
      {"X1a", 26},
      {"0x1a", 26},
      {"0X1A", 26},
      {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"$000000001", 1},
      {"$100000000", std::nullopt},
      {"-$1", -1},
      {"12 ", std::nullopt},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"+", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"0", 0},
      {"-0", 0},
      {"+7", 7},
      {"--7", std::nullopt},
      {"\t7", std::nullopt},
      {"2147483647", INT32_MAX},
      {"2147483648", std::nullopt},
      {"-2147483648", INT32_MIN},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"$-1", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TextToInteger(c.text), c.value);
  }
}

TEST(HeaderValueTest, FindsFirstLineJoinsContinuations) {
  const THeaderList lines = {
      "content-length:  12 ",
      "Content-Length: 99",
      "X-Folded: first ",
      " second",
      "\tthird",
      "Content-Type : text/plain",
      "NoColon",
      "Set-Cookie: a=1",
      "set-cookie: b=2",
      "  c=3",
  };
  EXPECT_EQ(HeaderValue(lines, "Content-Length"), "12");
  EXPECT_EQ(HeaderValue(lines, "x-folded"), "first second third");
  // Names are not trimmed before the colon.
  EXPECT_EQ(HeaderValue(lines, "Content-Type"), "");
  EXPECT_EQ(HeaderValue(lines, "NoColon"), "");
  EXPECT_EQ(HeaderValue(lines, "Missing"), "");
  EXPECT_EQ(HeaderValues(lines, "SET-COOKIE"),
            (std::vector<std::string>{"a=1", "b=2 c=3"}));
}

TEST(InternetDateTest, ReadsTheThreeFormsAndNeverFails) {
  const int64_t kSample = 784111777;  // 1994-11-06 08:49:37 UTC
  EXPECT_EQ(InternetDateToUnix("Sun, 06 Nov 1994 08:49:37 GMT"), kSample);
  EXPECT_EQ(InternetDateToUnix("Sunday, 06-Nov-94 08:49:37 GMT"), kSample);
  EXPECT_EQ(InternetDateToUnix("Sun Nov  6 08:49:37 1994"), kSample);
  EXPECT_EQ(InternetDateToUnix("Thu, 29 Feb 2024 23:59:59 GMT"), 1709251199);
  for (const char* text :
       {"", "-1", "0", "tomorrow", "Sun, 06 Nov 1994", "06 Nov 1994 25:00:00",
        "Sun, 32 Nov 1994 08:49:37 GMT", "::::", "1:2:3:4 Jan 2000 1"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(InternetDateToUnix(text), 0);
  }
}

}  // namespace
}  // namespace qilo
