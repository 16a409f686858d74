// The Win32 window in-process: the real windows, driven with window messages
// as the system would send them, read back through Win32 calls.
#include <gtest/gtest.h>
#include <windows.h>
// commctrl.h after windows.h.
#include <commctrl.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/win32/checked.h"
#include "app/win32/edit_field.h"
#include "app/win32/main_window.h"
#include "app/win32/win32_desktop.h"
#include "os/system_message.h"
#include "os/test_folder.h"
#include "store/profile_store.h"
#include "text/expect_error.h"
#include "text/gbk.h"

namespace qilo {
namespace {

using F = TFrmMain;
using Clock = std::chrono::steady_clock;

std::wstring Wide(const std::string& utf8) { return Utf8ToUtf16(utf8).text; }
std::string Utf8(const std::wstring& wide) { return Utf16ToUtf8(wide).text; }

// The Win32 desktop with its beeps counted instead of sounded.
class CountingDesktop : public Win32Desktop {
 public:
  void Beep() override { ++beeps; }
  int beeps = 0;
};

// A surface painted into a bitmap, as WM_PAINT puts it on the screen.
class Rendered {
 public:
  explicit Rendered(HWND surface) {
    RECT client;
    GetClientRect(surface, &client);
    const WindowDc screen(nullptr);
    dc_.Reset(CreateCompatibleDC(screen.Get()));
    bitmap_.Reset(
        CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    SelectObject(dc_.Get(), bitmap_.Get());
    SendMessageW(surface, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.Get()),
                 PRF_CLIENT);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_.Get(), x, y); }
  // The pixels of the control's rectangle within a small distance of
  // `colour`: its ink, where text is drawn in that colour.
  int Near(const Control& c, COLORREF colour) const {
    int count = 0;
    for (int x = c.left; x < c.left + c.width; ++x) {
      for (int y = c.top; y < c.top + c.height; ++y) {
        const COLORREF p = At(x, y);
        const int d = std::abs(GetRValue(p) - GetRValue(colour)) +
                      std::abs(GetGValue(p) - GetGValue(colour)) +
                      std::abs(GetBValue(p) - GetBValue(colour));
        if (d <= 24) ++count;
      }
    }
    return count;
  }

 private:
  OwnedBitmap bitmap_;
  OwnedDc dc_;  // goes first, letting go of the bitmap selected into it
};

// Closes the error box from inside its own message loop, as a user would: a
// thread timer looks for it, reads it, lets the ticker run under it for a
// moment and presses OK.
class BoxCloser {
 public:
  explicit BoxCloser(std::function<int()> ticker) : ticker_(ticker) {
    active_ = this;
    timer_ = SetTimer(nullptr, 0, 20, Tick);
  }
  ~BoxCloser() {
    KillTimer(nullptr, timer_);
    active_ = nullptr;
  }
  bool seen = false;
  bool ticked = false;
  bool stop_icon = false;
  HWND owner = nullptr;
  std::string caption, text;

 private:
  static BOOL CALLBACK FindBox(HWND hwnd, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    if (std::wstring(name) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  static BOOL CALLBACK ReadChild(HWND child, LPARAM self) {
    auto* closer = reinterpret_cast<BoxCloser*>(self);
    const HICON stop = LoadIconW(nullptr, IDI_HAND);
    if (reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) ==
        stop) {
      closer->stop_icon = true;
    }
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    const std::string text = Utf8(WindowText(child));
    if (_wcsicmp(name, L"Static") == 0 && !text.empty()) closer->text = text;
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    BoxCloser* self = active_;
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox,
                      reinterpret_cast<LPARAM>(&box));
    if (self == nullptr || box == nullptr) return;
    if (!self->seen) {
      self->seen = true;
      self->since_ = Clock::now();
      self->before_ = self->ticker_();
      self->caption = Utf8(WindowText(box));
      self->owner = GetWindow(box, GW_OWNER);
      EnumChildWindows(box, ReadChild, reinterpret_cast<LPARAM>(self));
      return;
    }
    if (Clock::now() - self->since_ < std::chrono::milliseconds(150)) return;
    self->ticked = self->ticker_() != self->before_;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }

  static inline BoxCloser* active_ = nullptr;
  std::function<int()> ticker_;
  UINT_PTR timer_ = 0;
  Clock::time_point since_;
  int before_ = 0;
};

// Each test gets a fresh window whose home folder is a temporary one.
class Win32WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(home_.Path().empty());
    std::wstring home = std::filesystem::path(home_.Path()).wstring();
    for (wchar_t& c : home) c = c == L'/' ? L'\\' : c;
    _wputenv_s(L"HOMEDRIVE", home.substr(0, 2).c_str());
    _wputenv_s(L"HOMEPATH", home.substr(2).c_str());
    // The pointer stays off the window: only the test moves over it.
    SetCursorPos(0, 0);
    form_ = std::make_unique<TFrmMain>(desktop_);
    window_ = std::make_unique<Win32MainWindow>(*form_, desktop_);
    window_->Start();
    PumpFor(100);
  }

  // Handles the window's messages for `ms` milliseconds.
  void PumpFor(int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    do {
      window_->Pump();
      Sleep(5);
    } while (Clock::now() < end);
  }

  HWND Hwnd(const Control& c) { return window_->HandleOf(c); }
  std::string Text(const Control& c) { return Utf8(WindowText(Hwnd(c))); }
  std::string State(const std::string& gbk) { return GbkToUtf8(gbk); }

  // Replaces a field's text by typing, one WM_CHAR a UTF-16 unit.
  void Type(const Control& field, const std::string& utf8) {
    const HWND edit = Hwnd(field);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CLEAR, 0, 0);
    for (const wchar_t unit : Wide(utf8)) SendMessageW(edit, WM_CHAR, unit, 1);
  }
  // A key as the message loop delivers it to the control with the focus.
  void Key(WPARAM vk) {
    PostMessageW(GetFocus(), WM_KEYDOWN, vk, 1);
    PostMessageW(GetFocus(), WM_KEYUP, vk, 0xC0000001);
    window_->Pump();
  }
  // The middle of a graphic control, pressed and released on its surface.
  LPARAM Middle(const Control& c) {
    return MAKELPARAM(c.left + c.width / 2, c.top + c.height / 2);
  }
  void Press(const Control& c) {
    SendMessageW(Hwnd(c), WM_LBUTTONDOWN, MK_LBUTTON, Middle(c));
  }
  void Release(const Control& c) {
    SendMessageW(Hwnd(c), WM_LBUTTONUP, 0, Middle(c));
  }
  void Click(const Control& c) {
    Press(c);
    Release(c);
  }
  void Hover(const Control& c) {
    SendMessageW(Hwnd(c), WM_MOUSEMOVE, 0, Middle(c));
  }
  // The tooltip text of an edit field.
  std::string Hint(const Control& c) {
    wchar_t buffer[256] = {};
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = GetParent(Hwnd(c));
    tool.uId = reinterpret_cast<UINT_PTR>(Hwnd(c));
    tool.lpszText = buffer;
    SendMessageW(window_->Tooltip(), TTM_GETTEXTW, 256,
                 reinterpret_cast<LPARAM>(&tool));
    return Utf8(buffer);
  }
  // The colour an edit field's parent gives its text.
  COLORREF TextColour(const Control& c) {
    const OwnedDc dc(CreateCompatibleDC(nullptr));
    SendMessageW(GetParent(Hwnd(c)), WM_CTLCOLOREDIT,
                 reinterpret_cast<WPARAM>(dc.Get()),
                 reinterpret_cast<LPARAM>(Hwnd(c)));
    return GetTextColor(dc.Get());
  }
  void SetClipboard(const std::string& utf8) {
    const std::wstring text = Wide(utf8);
    const HGLOBAL data =
        GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    ASSERT_NE(data, nullptr);
    std::copy_n(text.c_str(), text.size() + 1,
                static_cast<wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
    const ClipboardScope clipboard(window_->Handle());
    ASSERT_TRUE(clipboard.Opened());
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, data);
  }
  // The ticker's state, for telling whether it ran.
  int TickerState() const {
    return form_->LabInfo.top * 1000 + form_->ticker.rest;
  }

  TestFolder home_;
  CountingDesktop desktop_;
  std::unique_ptr<TFrmMain> form_;
  std::unique_ptr<Win32MainWindow> window_;
};

TEST_F(Win32WindowTest, TheWorkedExampleTypedAndCalculated) {
  // The focus starts in the buy price, its text selected to be typed over.
  ASSERT_EQ(GetFocus(), Hwnd(form_->EdPriceBuy));
  for (const char* typed : {"10", "11", "1000"}) {
    for (const char c : std::string(typed))
      SendMessageW(GetFocus(), WM_CHAR, c, 1);
    Key(VK_TAB);
  }
  Click(form_->BtnCal);
  EXPECT_EQ(Text(form_->EdPriceBuy), "10");
  EXPECT_EQ(Text(form_->EdCostBuy), "10022.00");
  EXPECT_EQ(Hint(form_->EdCostBuy), "买入费用: 22.00");
  EXPECT_EQ(Text(form_->EdCostSell), "10965.30");
  EXPECT_EQ(Hint(form_->EdCostSell), "卖出费用: 34.70");
  EXPECT_EQ(Text(form_->EdProfit), "943.30");
  EXPECT_EQ(TextColour(form_->EdProfit), RGB(255, 0, 0));
  EXPECT_EQ(Hint(form_->EdProfit), "费用合计： 56.70\r\n利润率：9.41%");
  EXPECT_EQ(State(form_->LabCostPrice.text), "10.05");
  for (const Control* c :
       {&form_->EdCostBuy, &form_->EdCostSell, &form_->EdProfit}) {
    EXPECT_EQ(window_->EditOf(*c)->FontPx(), 13) << c->layout->name;
    EXPECT_FALSE(window_->EditOf(*c)->Cut()) << c->layout->name;
  }

  // An amount too long for any font: the smallest one, marked as cut.
  Type(form_->EdPriceBuy, "999999");
  Type(form_->EdPriceSell, "999999");
  Type(form_->EdCnt, "99999999999");
  // Enter in the share count calculates and goes back to the buy price.
  SetFocus(Hwnd(form_->EdCnt));
  Key(VK_RETURN);
  EXPECT_EQ(Text(form_->EdCostBuy), "100169899928998305.00");
  EXPECT_EQ(window_->EditOf(form_->EdCostBuy)->FontPx(), 7);
  EXPECT_TRUE(window_->EditOf(form_->EdCostBuy)->Cut());
  EXPECT_EQ(GetFocus(), Hwnd(form_->EdPriceBuy));
}

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

TEST_F(Win32WindowTest, TabFollowsTheLayoutAndArrowKeysStepTheMarket) {
  ASSERT_EQ(GetFocus(), Hwnd(form_->EdPriceBuy));
  // The hidden editor fields are passed over; of the market buttons only
  // the checked one is a tab stop.
  const Control F::*const kOrder[] = {
      &F::EdPriceSell, &F::EdCnt,       &F::EdCostBuy,  &F::EdCostSell,
      &F::EdProfit,    &F::EdCommision, &F::EdStamptax, &F::EdTransfer,
      &F::EdOther,     &F::RadBtSH,     &F::EdPriceBuy};
  for (const auto member : kOrder) {
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), Hwnd(form_.get()->*member))
        << (form_.get()->*member).layout->name;
  }
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  Key(VK_TAB);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(GetFocus(), Hwnd(form_->RadBtSH));

  // The arrows move the check and the focus round the two buttons.
  const struct {
    WPARAM key;
    Control F::*checked;
    const char* transfer;
  } kSteps[] = {{VK_RIGHT, &F::RadBtSZ, "0"},
                {VK_DOWN, &F::RadBtSH, "1"},
                {VK_UP, &F::RadBtSZ, "0"},
                {VK_LEFT, &F::RadBtSH, "1"}};
  for (const auto& s : kSteps) {
    Key(s.key);
    const HWND radio = Hwnd(form_.get()->*s.checked);
    EXPECT_EQ(GetFocus(), radio);
    EXPECT_EQ(SendMessageW(radio, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Text(form_->EdTransfer), s.transfer);
  }
  EXPECT_EQ(SendMessageW(Hwnd(form_->RadBtSZ), BM_GETCHECK, 0, 0),
            BST_UNCHECKED);
}

TEST_F(Win32WindowTest, LabelsTakeTheirHoverColoursAndClicks) {
  const struct {
    Control F::*label;
    Colour hover, leave;
  } kCases[] = {
      {&F::LabClose, kRed, kClGradientActiveCaption},
      {&F::LabMin, kRed, kClGradientActiveCaption},
      {&F::LabFav, kClHighlight, kSkyBlue},
      {&F::LabCostPrice, kRed, kBlack},
  };
  for (const auto& c : kCases) {
    const Control& label = form_.get()->*c.label;
    SCOPED_TRACE(label.layout->name);
    // The full-width minus is a hairline that the font smooths over two
    // rows: no pixel takes its colour whole, so only its state is read.
    const bool inked = c.label != &F::LabMin;
    Hover(label);
    EXPECT_EQ(label.font_colour, c.hover);
    const Rendered over(Hwnd(label));
    if (inked) {
      EXPECT_GT(over.Near(label, ToColorRef(c.hover)), 0);
    }
    // Away from every label of the surface.
    SendMessageW(Hwnd(label), WM_MOUSEMOVE, 0, MAKELPARAM(200, 2));
    EXPECT_EQ(label.font_colour, c.leave);
    const Rendered left(Hwnd(label));
    if (inked) {
      EXPECT_GT(left.Near(label, ToColorRef(c.leave)), 0);
    }
    EXPECT_EQ(left.Near(label, ToColorRef(c.hover)), 0);
  }

  // The break-even price toggles the precision and the placeholders.
  for (const char* placeholder : {"00.000", "00.00"}) {
    Click(form_->LabCostPrice);
    EXPECT_EQ(State(form_->LabCostPrice.text), placeholder);
    EXPECT_EQ(Text(form_->EdPriceBuy), placeholder);
    EXPECT_EQ(Text(form_->EdPriceSell), placeholder);
  }
  // The window keeps its caption as its text; the task bar shows the title.
  EXPECT_EQ(Utf8(WindowText(window_->Handle())), "Qilo股票计算器 v1.0");
  EXPECT_EQ(Utf8(WindowText(GetWindow(window_->Handle(), GW_OWNER))),
            "Qilo股票计算器");
}

TEST_F(Win32WindowTest, PlusAddsABookmarkAndMinusDeletesIt) {
  const std::string links = form_->links_path;
  for (const bool add : {true, false}) {
    SCOPED_TRACE(add);
    Click(form_->LabFav);
    ASSERT_TRUE(IsWindowVisible(Hwnd(form_->EdSiteAdd)));
    EXPECT_FALSE(form_->LabInfo.visible);
    Type(form_->EdSiteName, "新浪");
    Type(form_->EdSiteAdd, "www.sina.com.cn");
    Click(add ? form_->LabAdd : form_->LabDel);
    EXPECT_EQ(State(form_->LabInfo.text),
              add ? "新浪已添加！" : "新浪已删除！");
    EXPECT_EQ(ReadEntry(links, "link", "1"), add ? "www.sina.com.cn" : "");
    EXPECT_FALSE(IsWindowVisible(Hwnd(form_->EdSiteAdd)));
  }
}

TEST_F(Win32WindowTest, StepButtonsStepAtOnceThenRepeatWhileHeld) {
  const struct {
    Control F::*button;
    Control F::*field;
    const char* from;
    const char* to;
  } kCases[] = {
      {&F::BtnBuyUp, &F::EdPriceBuy, "10", "10.50"},
      {&F::BtnBuyDwn, &F::EdPriceBuy, "10", "9.99"},
      {&F::BtnSellUp, &F::EdPriceSell, "10", "10.50"},
      {&F::BtnSellDwn, &F::EdPriceSell, "10", "9.99"},
      {&F::BtnCntUp, &F::EdCnt, "1000", "1100"},
      {&F::BtnCntDwn, &F::EdCnt, "1000", "900"},
  };
  for (const auto& c : kCases) {
    const Control& button = form_.get()->*c.button;
    SCOPED_TRACE(button.layout->name);
    Type(form_.get()->*c.field, c.from);
    const auto pressed = Clock::now();
    Press(button);
    EXPECT_GE(Clock::now() - pressed, std::chrono::milliseconds(200));
    EXPECT_EQ(Text(form_.get()->*c.field), c.to);
    Release(button);
    EXPECT_FALSE(form_->TimerStepVal.enabled);
  }

  // Held: a step every 100 ms after the first; none after the release. The
  // frame's corner is light while the pointer is over it, dark while held.
  const Control& up = form_->BtnBuyUp;
  const auto corner = [&] { return Rendered(Hwnd(up)).At(up.left, up.top); };
  Type(form_->EdPriceBuy, "10");
  EXPECT_EQ(corner(), ToColorRef(kCream));
  Hover(up);
  EXPECT_EQ(corner(), GetSysColor(COLOR_BTNHIGHLIGHT));
  Press(up);
  EXPECT_EQ(corner(), GetSysColor(COLOR_BTNSHADOW));
  PumpFor(350);
  const std::string held = Text(form_->EdPriceBuy);
  const double value = std::stod(held);
  EXPECT_GE(value, 11.0);
  EXPECT_EQ(value * 2, static_cast<int>(value * 2)) << held;
  Release(up);
  PumpFor(250);
  EXPECT_EQ(Text(form_->EdPriceBuy), held);
}

TEST_F(Win32WindowTest, AnErrorIsShownInTheBoxAndTheWindowGoesOn) {
  Type(form_->EdPriceBuy, "");
  {
    BoxCloser box([this] { return TickerState(); });
    Press(form_->BtnBuyUp);
    Release(form_->BtnBuyUp);
    EXPECT_TRUE(box.seen);
    EXPECT_EQ(box.caption, "Qilo股票计算器");
    EXPECT_EQ(box.text, "'' is not a valid floating point value.");
    EXPECT_EQ(box.owner, window_->Handle());
    EXPECT_TRUE(box.stop_icon);
    EXPECT_TRUE(box.ticked);
  }
  EXPECT_EQ(window_->ErrorCount(), 1);
  EXPECT_FALSE(form_->TimerStepVal.enabled);
  Type(form_->EdPriceBuy, "10");
  Click(form_->BtnCal);
  EXPECT_EQ(window_->ErrorCount(), 1) << window_->LastError();
  EXPECT_EQ(Text(form_->EdCostBuy), "10022.00");
  EXPECT_EQ(Text(form_->EdPriceBuy), "10");
}

// A Win32 call that fails says what it was doing and why; a code an earlier
// call left is not taken for its own. In a window procedure the error goes to
// the box, not through the system's frames.
TEST_F(Win32WindowTest, AFailedCallIsReportedThroughTheErrorBox) {
  const auto denied = [] {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  };
  EXPECT_ERROR(Checked("open the door", denied), EWin32Error,
               "Cannot open the door: " + SystemMessage(ERROR_ACCESS_DENIED) +
                   " (error 5)");
  SetLastError(ERROR_CLASS_ALREADY_EXISTS);
  EXPECT_ERROR(Checked("draw", [] { return 0; }), EWin32Error, "Cannot draw");

  BoxCloser box([this] { return TickerState(); });
  const LRESULT result =
      window_->Guarded([]() -> LRESULT { throw EWin32Error("Cannot draw"); });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(box.text, "Cannot draw.");
}

TEST_F(Win32WindowTest, TheWindowClosesOnceItsSettingsAreSaved) {
  // A folder in the settings file's place makes every save fail.
  const std::filesystem::path settings = home_ / "qilo.ini";
  ASSERT_TRUE(std::filesystem::remove(settings));
  ASSERT_TRUE(std::filesystem::create_directory(settings));
  const HWND hwnd = window_->Handle();
  {
    BoxCloser box([this] { return TickerState(); });
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(box.text.rfind("Unable to write to ", 0), 0u) << box.text;
  }
  EXPECT_TRUE(IsWindow(hwnd));
  std::filesystem::remove(settings);
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_TRUE(std::filesystem::is_regular_file(settings));
}

}  // namespace
}  // namespace qilo
