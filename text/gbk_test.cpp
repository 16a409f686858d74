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

TEST(GbkTest, SameTextFoldsOnlyAsciiLetters) {
  const struct {
    const char *a, *b;
    bool same;
  } kCases[] = {
      {"Content-Length", "content-length", true},
      {"HTTP://", "http://", true},
      {"\xB0\x41", "\xB0\x61", false},  // a trail byte that looks like "A"
      {"\xB0\x41x", "\xB0\x41X", true},
      {"[", "{", false},
      {"ab", "abc", false},
  };
  for (const auto& c : kCases) EXPECT_EQ(SameText(c.a, c.b), c.same) << c.a;
}

TEST(GbkTest, GbkHoldsTellsWhatWouldBecomeAQuestionMark) {
  const struct {
    const char* utf8;
    bool held;
  } kCases[] = {
      {"a?b", true},
      {"股票€", true},
      {"\xF0\x9F\x98\x80", false},  // an emoji
      {"\xED\x95\x9C", false},      // Hangul
      {"ok\xE8", false},            // a broken sequence
      {"", true},
  };
  for (const auto& c : kCases) EXPECT_EQ(GbkHolds(c.utf8), c.held) << c.utf8;
}

TEST(GbkTest, ForwardSlashesKeepsGbkTrailBytes) {
  EXPECT_EQ(ForwardSlashes("C:\\a\\b"), "C:/a/b");
  EXPECT_EQ(ForwardSlashes("\x95\\\\x"),
            "\x95\\/x");  // 0x955C is one character
  EXPECT_EQ(ForwardSlashes("end\x95"), "end\x95");
}

}  // namespace
}  // namespace qilo
