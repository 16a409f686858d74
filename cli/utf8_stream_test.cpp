#include "cli/utf8_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qilo::cli {
namespace {

Utf16String U(std::u16string_view text) {
  return Utf16String(text.begin(), text.end());
}

// What comes out after each piece, and what Finish gives at the end.
struct StreamCase {
  const char* name;
  std::vector<std::string> pieces;
  std::vector<Utf16String> after_each;
  Utf16String at_end;
};

TEST(Utf8StreamDecoderTest, GivesEachCharacterOnceItIsWhole) {
  const std::vector<StreamCase> cases = {
      {"whole pieces", {"ab", "\xe4\xb9\xb0"}, {U(u"ab"), U(u"买")}, {}},
      {"a character split after its first byte",
       {"x\xe4", "\xb9\xb0y"},
       {U(u"x"), U(u"买y")},
       {}},
      {"a character a byte at a time",
       {"\xe4", "\xb9", "\xb0"},
       {{}, {}, U(u"买")},
       {}},
      {"four bytes split in two",
       {"\xf0\x9f", "\x98\x80"},
       {{}, U(u"\U0001F600")},
       {}},
      {"a broken sequence mid-piece is not held",
       {"\xe4\xb9z", "y"},
       {U(u"\xfffdz"), U(u"y")},
       {}},
      {"a byte that begins nothing is not held",
       {"a\xc0", "\xaf"},
       {U(u"a\xfffd"), U(u"\xfffd")},
       {}},
      {"the stream ends inside a character",
       {"ok\xe4\xb9"},
       {U(u"ok")},
       U(u"\xfffd")},
  };
  for (const StreamCase& c : cases) {
    SCOPED_TRACE(c.name);
    Utf8StreamDecoder decoder;
    for (size_t i = 0; i < c.pieces.size(); ++i) {
      EXPECT_EQ(decoder.Decode(c.pieces[i]), c.after_each[i]) << "piece " << i;
    }
    EXPECT_EQ(decoder.Finish(), c.at_end);
    EXPECT_EQ(decoder.Finish(), Utf16String()) << "nothing waits twice";
  }
}

}  // namespace
}  // namespace qilo::cli
