#include "text/gbk.h"

#include <gtest/gtest.h>

namespace qilo {
namespace {

TEST(GbkTest, RoundTripsChineseAndAscii) {
  const struct {
    const char* utf8;
    const char* gbk;
  } kCases[] = {
      {"", ""},           {"abc 1.7", "abc 1.7"}, {"沪市", "\xBB\xA6\xCA\xD0"},
      {"－", "\xA3\xAD"}, {"€", "\x80"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk) << c.utf8;
    EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8) << c.utf8;
  }
}

TEST(GbkTest, BadBytesBecomeReplacementCharacters) {
  // A lead byte at the end has no trail byte.
  EXPECT_EQ(GbkToUtf8("a\xBB"), "a\xEF\xBF\xBD");
  EXPECT_EQ(GbkToUtf8("\xFF"
                      "b"),
            "\xEF\xBF\xBD"
            "b");
}

TEST(GbkTest, UnmappableCharacterBecomesQuestionMark) {
  EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80z"), "a?z");  // an emoji
}

TEST(GbkTest, LiteralIsCachedAndStable) {
  const std::string& first = Gbk("利润率：");
  const std::string& second = Gbk("利润率：");
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(first, Utf8ToGbk("利润率："));
}

}  // namespace
}  // namespace qilo
