// The Win32 edit fields in-process: what typing and pasting let in.
#include "app/win32/window_test_fixture.h"

namespace qilo::win32_test {
namespace {

TEST_F(Win32WindowTest, TypedCharactersPassTheKeyFilterAndTheByteLimit) {
  Click(form_->LabFav);  // the bookmark editor's fields
  ASSERT_TRUE(IsWindowVisible(Hwnd(form_->EdSiteName)));
  const struct {
    Control F::*field;
    const char* typed;
    const char* kept;
    int beeps;
    const char* message;
  } kCases[] = {
      {&F::EdPriceBuy, "10a", "10", 1, "请输入数字！"},
      {&F::EdPriceBuy, "1.2.3", "1.23", 1, "请输入数字！"},
      {&F::EdPriceBuy, "1234567", "123456", 0, ""},
      // Paste (Ctrl+V) reaches the filter as character 22 and is refused.
      {&F::EdOther, "1\x16", "1", 1, "请输入数字！"},
      // A Chinese character reaches the filter as its first GBK byte.
      {&F::EdCnt, "5股", "5", 1, "请输入数字！"},
      // An emoji (two surrogates) and Hangul have no GBK code.
      {&F::EdSiteName, "股票\U0001F600€\uD55C", "股票€", 2, "不支持该字符！"},
      // 30 bytes: the last double-byte character does not fit.
      {&F::EdSiteName, "a股票股票股票股票股票股票股票股",
       "a股票股票股票股票股票股票股票", 0, ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.typed);
    form_->LabInfo.text.clear();
    const int beeps = desktop_.beeps;
    Type(form_.get()->*c.field, c.typed);
    EXPECT_EQ(Text(form_.get()->*c.field), c.kept);
    EXPECT_EQ(desktop_.beeps, beeps + c.beeps);
    EXPECT_EQ(State(form_->LabInfo.text), c.message);
  }
}

TEST_F(Win32WindowTest, APasteKeepsToTheFirstLineAndTheByteLimit) {
  const struct {
    Control F::*field;
    const char* pasted;
    const char* kept;
    bool refused;  // characters left out for want of a GBK code
  } kCases[] = {
      {&F::EdOther, "12345", "123", false},
      {&F::EdOther, "1a2b", "1a2", false},  // the filter sees typing only
      {&F::EdSiteName, "a股票股票股票股票股票股票股票股",
       "a股票股票股票股票股票股票股票", false},
      {&F::EdSiteName, "name\r\nsecond line", "name", false},
      {&F::EdSiteName, "股票\U0001F600€\uD55C", "股票€", true},
      {&F::EdCnt, "123456789012", "123456789012", false},
      {&F::EdCostBuy, "5", "00.00", false},  // read-only
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.pasted);
    const HWND edit = Hwnd(form_.get()->*c.field);
    if (!(form_.get()->*c.field).read_only) SetWindowTextW(edit, L"");
    SetClipboard(c.pasted);
    const int beeps = desktop_.beeps;
    SendMessageW(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(form_.get()->*c.field), c.kept);
    EXPECT_EQ(desktop_.beeps, beeps + (c.refused ? 1 : 0));
  }
}

}  // namespace
}  // namespace qilo::win32_test
