#include "text/utf16.h"

#include <gtest/gtest.h>

#include "text/gbk.h"

namespace qilo {
namespace {

// UTF-16 written as code units, so that the table reads the same where
// wchar_t has 16 bits and where it has 32.
Utf16String Units(std::initializer_list<char16_t> units) {
  Utf16String out;
  for (const char16_t u : units) out += static_cast<Utf16Unit>(u);
  return out;
}

TEST(Utf16Test, ConvertsBothWaysAndReportsWhatHadNoEquivalent) {
  const struct {
    const char* utf8;
    Utf16String utf16;
    bool lossless;
  } kCases[] = {
      {"", Units({}), true},
      {"a1.", Units({'a', '1', '.'}), true},
      {"沪市€", Units({0x6CAA, 0x5E02, 0x20AC}), true},
      {"\xF0\x9F\x98\x80", Units({0xD83D, 0xDE00}), true},  // an emoji
      {"\xF4\x8F\xBF\xBF", Units({0xDBFF, 0xDFFF}), true},  // the last one
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.utf8);
    const Conversion<Utf16String> wide = Utf8ToUtf16(c.utf8);
    EXPECT_EQ(wide.text, c.utf16);
    EXPECT_EQ(wide.lossless, c.lossless);
    const Conversion<std::string> back = Utf16ToUtf8(c.utf16);
    EXPECT_EQ(back.text, c.utf8);
    EXPECT_EQ(back.lossless, c.lossless);
  }
}

TEST(Utf16Test, EachBrokenSequenceBecomesOneReplacementCharacter) {
  const char16_t r = 0xFFFD;
  const struct {
    const char* utf8;
    Utf16String utf16;
  } kCases[] = {
      {"ok\xE8", Units({'o', 'k', r})},  // cut at the end
      {"\xE8\x80z", Units({r, 'z'})},    // cut before a letter
      {"\x80\xBF", Units({r, r})},       // stray continuation bytes
      {"\xC0\x80", Units({r})},          // an overlong NUL
      {"\xED\xA0\x80", Units({r})},      // an encoded surrogate
      {"\xF4\x90\x80\x80", Units({r})},  // beyond U+10FFFF
      {"\xFF"
       "a",
       Units({r, 'a'})},  // no lead byte at all
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.utf8);
    const Conversion<Utf16String> wide = Utf8ToUtf16(c.utf8);
    EXPECT_EQ(wide.text, c.utf16);
    EXPECT_FALSE(wide.lossless);
  }
  // Lone surrogates: a high one at the end or before a letter, a low one.
  for (const Utf16String& lone :
       {Units({'a', 0xD83D}), Units({0xD83D, 'b'}), Units({0xDE00, 'c'})}) {
    const Conversion<std::string> narrow = Utf16ToUtf8(lone);
    EXPECT_NE(narrow.text.find("\xEF\xBF\xBD"), std::string::npos);
    EXPECT_EQ(narrow.text.size(), 4u);
    EXPECT_FALSE(narrow.lossless);
  }
}

TEST(Utf16Test, CharSizeCoversWholeAndBrokenSequences) {
  const struct {
    const char* text;
    size_t at, size;
  } kCases[] = {
      {"a股", 0, 1},       {"a股", 1, 3},  {"a股", 4, 0},
      {"\xE8\x80z", 0, 2}, {"\x80", 0, 1}, {"\xF0\x9F\x98\x80", 0, 4},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Utf8CharSize(c.text, c.at), c.size) << c.text << " " << c.at;
  }
}

// What the wide calls of Windows give and take: each character that does not
// come through is reported, not only replaced.
TEST(Utf16Test, GbkConversionsReportWhatDoesNotConvert) {
  const struct {
    std::string gbk;
    Utf16String utf16;
    bool lossless;
  } kToUtf16[] = {
      {"a\xBB\xA6\xCA\xD0\x80", Units({'a', 0x6CAA, 0x5E02, 0x20AC}), true},
      {"a\xBB", Units({'a', 0xFFFD}), false},  // no trail byte
      {"\xFF"
       "b",
       Units({0xFFFD, 'b'}), false},
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
      {Units({0x6CAA, 0x5E02, 0x20AC, '1'}),
       "\xBB\xA6\xCA\xD0\x80"
       "1",
       true},
      {Units({'a', 0xD83D, 0xDE00, 'z'}), "a?z", false},  // an emoji
      {Units({0xD55C}), "?", false},                      // Hangul
      {Units({0xDE00}), "?", false},                      // a lone surrogate
      {Units({0x00C0}), "?", false},  // no best-fit "A" for an accented one
  };
  for (const auto& c : kToGbk) {
    const Conversion<std::string> gbk = Utf16ToGbk(c.utf16);
    EXPECT_EQ(gbk.text, c.gbk) << c.gbk;
    EXPECT_EQ(gbk.lossless, c.lossless) << c.gbk;
  }
}

}  // namespace
}  // namespace qilo
