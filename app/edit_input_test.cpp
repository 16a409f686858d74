#include "app/edit_input.h"

#include <gtest/gtest.h>

namespace qilo {
namespace {

TEST(AdmitTextTest, WholeCharactersThatFitAndHaveAGbkCode) {
  const struct {
    const char* offered;
    long room;
    const char* admitted;
    bool uncoded;
  } kCases[] = {
      {"123456789", 6, "123456", false},
      {"a股票", 2, "a", false},  // never half of a double-byte character
      {"a股票", 3, "a股", false},
      {"a股票", -1, "a股票", false},
      {"name\r\nsecond", -1, "name", false},
      {"x\ny", 5, "x", false},
      {"股\xF0\x9F\x98\x80票", 4, "股票", true},  // an emoji between
      {"\xED\x95\x9C", -1, "", true},             // Hangul
      {"ok\xE8", -1, "ok", true},                 // a broken sequence
      {"9", 0, "", false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.offered);
    const AdmittedText admitted = AdmitText(c.offered, c.room);
    EXPECT_EQ(admitted.utf8, c.admitted);
    EXPECT_EQ(admitted.uncoded, c.uncoded);
  }
}

TEST(EditRoomTest, LimitLessTextPlusSelection) {
  EXPECT_EQ(EditRoom(0, "abc", ""), -1);
  EXPECT_EQ(EditRoom(6, "12", ""), 4);
  EXPECT_EQ(EditRoom(6, "12\xB9\xC9", "\xB9\xC9"), 4);
  EXPECT_EQ(EditRoom(3, "12345", ""), 0);  // longer than its limit
}

}  // namespace
}  // namespace qilo
