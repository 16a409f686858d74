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

// What the wide calls of Windows give and take: each character that does not
// come through is reported, not only replaced.
TEST(GbkTest, Utf16ConversionsReportWhatDoesNotConvert) {
  const auto units = [](std::initializer_list<char16_t> list) {
    Utf16String out;
    for (const char16_t u : list) out += static_cast<Utf16Unit>(u);
    return out;
  };
  const struct {
    std::string gbk;
    Utf16String utf16;
    bool lossless;
  } kToUtf16[] = {
      {"a\xBB\xA6\xCA\xD0\x80", units({'a', 0x6CAA, 0x5E02, 0x20AC}), true},
      {"a\xBB", units({'a', 0xFFFD}), false},  // no trail byte
      {"\xFF"
       "b",
       units({0xFFFD, 'b'}), false},
  };
  for (const auto& c : kToUtf16) {
    const Conversion<Utf16String> wide = GbkToUtf16(c.gbk);
    EXPECT_EQ(wide.text, c.utf16) << c.gbk;
    EXPECT_EQ(wide.lossless, c.lossless) << c.gbk;
  }
  const struct {
    Utf16String utf16;
    std::string gbk;
    bool lossless;
  } kToGbk[] = {
      {units({0x6CAA, 0x5E02, 0x20AC, '1'}),
       "\xBB\xA6\xCA\xD0\x80"
       "1",
       true},
      {units({'a', 0xD83D, 0xDE00, 'z'}), "a?z", false},  // an emoji
      {units({0xD55C}), "?", false},                      // Hangul
      {units({0xDE00}), "?", false},                      // a lone surrogate
      {units({0x00C0}), "?", false},  // no best-fit "A" for an accented one
  };
  for (const auto& c : kToGbk) {
    const Conversion<std::string> gbk = Utf16ToGbk(c.utf16);
    EXPECT_EQ(gbk.text, c.gbk) << c.gbk;
    EXPECT_EQ(gbk.lossless, c.lossless) << c.gbk;
  }
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
