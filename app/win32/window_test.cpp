// The Win32 window in-process: the real windows, driven with window messages
// as the system would send them, read back through Win32 calls.
#include <cstdlib>
#include <string>
#include <vector>

#include "app/picture_form.h"
#include "app/win32/window_test_fixture.h"
#include "app/window_order.h"

namespace qilo::win32_test {
namespace {

// An icon's or a cursor's width and hot spot.
struct IconShape {
  int width = 0;
  POINT hot = {-1, -1};
};
IconShape ShapeOf(HICON icon) {
  ICONINFO info = {};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return {};
  const OwnedBitmap mask(info.hbmMask);
  const OwnedBitmap colour(info.hbmColor);
  BITMAP bits = {};
  GetObjectW(mask.Get(), sizeof bits, &bits);
  return {bits.bmWidth,
          {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)}};
}
int IconWidth(HWND hwnd, WPARAM which) {
  return ShapeOf(
             reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, which, 0)))
      .width;
}

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

// Run at several dots per inch (QILO_TEST_DPI names the one the system was
// set to): the window, its fields and their fonts at the layout's sizes
// times dpi/96, the worked example's results whole, the per-mille signs and
// the bottom rule drawn.
TEST_F(Win32WindowTest, TheWindowIsLaidOutAtItsDotsPerInch) {
  const int dpi = window_->Dpi();
  if (const char* want = std::getenv("QILO_TEST_DPI")) {
    ASSERT_EQ(dpi, std::atoi(want));
  }
  const auto px = [&](int v) { return window_->Px(v); };
  RECT r;
  GetWindowRect(window_->Handle(), &r);
  EXPECT_NEAR(r.right - r.left, 469.0 * dpi / 96, 1);
  EXPECT_NEAR(r.bottom - r.top, 232.0 * dpi / 96, 1);
  // The drag strip keeps to the title band, its edges at their scaled places.
  const struct {
    int x, y;
    LRESULT area;
  } kStrip[] = {{31, 10, HTCAPTION}, {30, 10, HTCLIENT},  {429, 10, HTCAPTION},
                {430, 10, HTCLIENT}, {100, 2, HTCAPTION}, {100, 23, HTCLIENT}};
  for (const auto& p : kStrip) {
    EXPECT_EQ(SendMessageW(window_->Handle(), WM_NCHITTEST, 0,
                           MAKELPARAM(r.left + px(p.x), r.top + px(p.y))),
              p.area)
        << p.x << "," << p.y;
  }

  for (const char* typed : {"10", "11", "1000"}) {
    for (const char c : std::string(typed))
      SendMessageW(GetFocus(), WM_CHAR, c, 1);
    Key(VK_TAB);
  }
  Click(form_->BtnCal);
  const struct {
    Control F::*field;
    const char* text;
  } kResults[] = {{&F::EdCostBuy, "10022.00"},
                  {&F::EdCostSell, "10965.30"},
                  {&F::EdProfit, "943.30"}};
  for (const auto& c : kResults) {
    const Control& field = form_.get()->*c.field;
    SCOPED_TRACE(field.layout->name);
    const HWND edit = Hwnd(field);
    EXPECT_EQ(Text(field), c.text);
    GetWindowRect(edit, &r);
    EXPECT_EQ(r.right - r.left, px(field.left + field.width) - px(field.left));
    EXPECT_EQ(r.bottom - r.top, px(field.top + field.height) - px(field.top));
    // Drawn in a font made at the scaled height, not a stretched one, and
    // the whole text inside the field's formatting rectangle.
    const WindowDc dc(edit);
    const auto font =
        reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
    const Selection selected(dc.Get(), font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc.Get(), &metrics);
    EXPECT_EQ(window_->EditOf(field)->FontPx(), px(13));
    EXPECT_NEAR(metrics.tmHeight - metrics.tmInternalLeading, px(13), 1);
    RECT format = {};
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_LE(TextExtent(dc.Get(), font, Wide(c.text)).cx,
              format.right - format.left);
    EXPECT_FALSE(window_->EditOf(field)->Cut());
  }

  // Each per-mille sign: ink in the "%" and the whole "。" right of it, at
  // least three layout pixels wide.
  const Rendered panel(Hwnd(form_->Panel1));
  for (const int y : {21, 57, 93}) {
    SCOPED_TRACE(y);
    EXPECT_GT(panel.InkWidth(ScaledRect(104, y, 8, 13, dpi)), 0);
    EXPECT_GE(panel.InkWidth(ScaledRect(112, y + 2, 10, 13, dpi)), px(3));
  }
  // The bottom rule: one teal line on the window's last layout row, from
  // column 1 to the right edge, and none above it.
  const Rendered window(window_->Handle());
  const int right = px(kWindowWidth);
  const RECT rule = {px(1), px(231), right, px(232)};
  EXPECT_EQ(window.Exactly(rule, ToColorRef(kTeal)),
            (rule.right - rule.left) * (rule.bottom - rule.top));
  EXPECT_EQ(window.Exactly({px(1), px(227), right, px(231)}, ToColorRef(kTeal)),
            0);

  // A step button's raised frame, as many whole pixels wide as the scale.
  const Control& up = form_->BtnBuyUp;
  Hover(up);
  const Rendered hovered(Hwnd(up));
  for (int i = 0; i < std::max(1, dpi / 96); ++i) {
    EXPECT_EQ(hovered.At(px(up.left) + i, px(up.top) + i),
              GetSysColor(COLOR_BTNHIGHLIGHT))
        << i;
  }
  EXPECT_NE(hovered.At(px(up.left) + dpi / 96, px(up.top) + dpi / 96),
            GetSysColor(COLOR_BTNHIGHLIGHT));

  // The pictures drawn for this scale, the calculate picture shown pixel for
  // pixel at its scaled place.
  for (const Control* c :
       {&form_->Image3, &form_->ImgLogo, &form_->ImgCal, &form_->ImgCntUp}) {
    EXPECT_EQ(window_->ItemOf(*c).picture.percent, dpi * 100 / 96)
        << c->layout->name;
  }
  const Picture& calc = window_->ItemOf(form_->ImgCal).picture;
  EXPECT_EQ(calc.size.cx, 48 * dpi / 96);
  const RECT at = DrawRect(window_->ItemOf(form_->ImgCal), dpi);
  EXPECT_EQ(at.left, px(form_->ImgCal.left));
  EXPECT_EQ(at.right - at.left, calc.size.cx);
  const Rendered box(Hwnd(form_->ImgCal));
  const OwnedDc source(CreateCompatibleDC(nullptr));
  const Selection selected(source.Get(), calc.bitmap.Get());
  int differing = 0;
  for (int x = 0; x < calc.size.cx; ++x) {
    for (int y = 0; y < calc.size.cy; ++y) {
      differing +=
          box.At(at.left + x, at.top + y) != GetPixel(source.Get(), x, y);
    }
  }
  EXPECT_EQ(differing, 0);

  // Each shape of the 1x drawing keeps its form at this scale: the calculate
  // glyphs in as many unbroken pieces, the step arrows open chevrons.
  const auto ink_in = [](HDC dc, COLORREF colour) {
    return [dc, colour](int x, int y) { return GetPixel(dc, x, y) == colour; };
  };
  const COLORREF teal = RGB(0, 128, 128);
  const Picture calc_1x =
      LoadPicture(GetModuleHandleW(nullptr), form_->ImgCal.layout->picture, 96);
  const OwnedDc dc_1x(CreateCompatibleDC(nullptr));
  const Selection selected_1x(dc_1x.Get(), calc_1x.bitmap.Get());
  EXPECT_EQ(
      InkPieces(calc.size.cx, calc.size.cy, ink_in(source.Get(), teal)),
      InkPieces(calc_1x.size.cx, calc_1x.size.cy, ink_in(dc_1x.Get(), teal)));
  // The contact label's underline ends with its text, not under its blanks.
  const Control& contact = form_->LabConnMe;
  const Rendered info(Hwnd(form_->PanInfo));
  const RECT at_contact =
      ScaledRect(contact.left, contact.top, contact.width, contact.height, dpi);
  const COLORREF cream = info.At(at_contact.left, at_contact.top);
  EXPECT_LE(UnderlineOverhang(at_contact.right - at_contact.left,
                              at_contact.bottom - at_contact.top,
                              [&](int x, int y) {
                                return info.At(at_contact.left + x,
                                               at_contact.top + y) != cream;
                              }),
            2 * dpi / 96);
  for (const Control* arrow : {&form_->ImgCntUp, &form_->ImgCntDwn}) {
    const Picture& picture = window_->ItemOf(*arrow).picture;
    const OwnedDc dc(CreateCompatibleDC(nullptr));
    const Selection selected_arrow(dc.Get(), picture.bitmap.Get());
    EXPECT_TRUE(ChevronOpen(picture.size.cx, picture.size.cy,
                            ink_in(dc.Get(), RGB(0, 0, 0))))
        << arrow->layout->name;
  }
}

// Moved to a monitor of other dots per inch: the window takes the place the
// system suggests and lays its fields and fonts out again, and back.
TEST_F(Win32WindowTest, TheWindowFollowsAChangeOfDotsPerInch) {
  const HWND main = window_->Handle();
  const HWND field = Hwnd(form_->EdCostBuy);
  for (const int dpi : {144, 192, window_->Dpi()}) {
    SCOPED_TRACE(dpi);
    const int width = Scaled(kWindowWidth, dpi);
    const int height = Scaled(kWindowHeight, dpi);
    RECT suggested = {40, 30, 40 + width, 30 + height};
    SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
    GetWindowRect(field, &r);
    EXPECT_EQ(r.right - r.left, Scaled(226 + 62, dpi) - Scaled(226, dpi));
    EXPECT_EQ(window_->EditOf(form_->EdCostBuy)->FontPx(), Scaled(13, dpi));
    EXPECT_EQ(window_->ItemOf(form_->ImgCal).picture.size.cx, 48 * dpi / 96);
    EXPECT_EQ(IconWidth(main, ICON_SMALL), Scaled(16, dpi));
    EXPECT_EQ(IconWidth(main, ICON_BIG), Scaled(32, dpi));
  }
}

// The window's and the task bar button's icons are the small and big sizes
// for the dots per inch; the hand is the system's cursor size, its hot spot
// on the finger's left edge; the group frame's two etched lines are as many
// whole pixels wide as the scale.
TEST_F(Win32WindowTest, IconsHandAndGroupFrameSuitTheDotsPerInch) {
  const int dpi = window_->Dpi();
  for (const HWND hwnd :
       {window_->Handle(), GetWindow(window_->Handle(), GW_OWNER)}) {
    EXPECT_EQ(IconWidth(hwnd, ICON_SMALL), Scaled(16, dpi));
    EXPECT_EQ(IconWidth(hwnd, ICON_BIG), Scaled(32, dpi));
  }

  Hover(form_->LabConnMe);
  const IconShape hand = ShapeOf(desktop_.HandCursor());
  EXPECT_EQ(hand.width, MetricForDpi(SM_CXCURSOR, dpi));
  if (dpi >= 144) {
    EXPECT_GT(hand.width, 32);
  }
  EXPECT_EQ(hand.hot.x, 0);
  EXPECT_EQ(hand.hot.y, (10 * hand.width + 16) / 32);

  const Control& box = form_->GroupBox1;
  const Rendered frame(Hwnd(box));
  const int line = std::max(1, dpi / 96);
  const int y = window_->Px(box.height) / 2;
  const int right = window_->Px(box.left + box.width) - window_->Px(box.left);
  for (int i = 0; i < line; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(frame.At(i, y), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(frame.At(line + i, y), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(frame.At(right - 1 - i, y), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(frame.At(right - 1 - line - i, y), GetSysColor(COLOR_BTNSHADOW));
  }
  EXPECT_EQ(frame.At(2 * line, y), ToColorRef(kCream));
}

// Overlapping child windows lie as the layout stacks them: the radio buttons
// over Panel1's top rows, Panel1 over PanInfo's.
TEST_F(Win32WindowTest, ChildWindowsStackAsTheLayoutDoes) {
  const struct {
    const char* name;
    Control F::*box;
  } kParents[] = {{nullptr, nullptr},
                  {"GroupBox1", &F::GroupBox1},
                  {"PanInfo", &F::PanInfo},
                  {"Panel1", &F::Panel1}};
  for (const auto& p : kParents) {
    SCOPED_TRACE(p.name == nullptr ? "FrmMain" : p.name);
    std::vector<std::string> want;  // topmost first
    for (const ControlSpec* entry : StackingOrder(Layout(), p.name)) {
      if (window_->ItemOf(form_.get()->*entry->member).hwnd != nullptr) {
        want.insert(want.begin(), entry->name);
      }
    }
    const HWND surface =
        p.box == nullptr ? window_->Handle() : Hwnd(form_.get()->*p.box);
    std::vector<std::string> stacked;
    for (HWND child = GetWindow(surface, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (const Item* item = window_->ItemOf(child)) {
        stacked.push_back(item->layout->name);
      }
    }
    EXPECT_EQ(stacked, want);
  }
}

// The first frame is reported once every window in it has painted, not at
// the main window's own first paint; the tooltips come after it.
TEST_F(Win32WindowTest, TheFirstFrameIsReportedOnceEveryWindowHasPainted) {
  window_.reset();
  form_ = std::make_unique<TFrmMain>(desktop_);
  window_ = std::make_unique<Win32MainWindow>(*form_, desktop_);
  EXPECT_EQ(window_->Tooltip(), nullptr);
  int unpainted = -1;
  window_->OnFirstFrame([&] {
    unpainted = 0;
    EnumChildWindows(
        window_->Handle(),
        [](HWND child, LPARAM count) -> BOOL {
          if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
            ++*reinterpret_cast<int*>(count);
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&unpainted));
  });
  window_->Start();
  PumpFor(100);
  EXPECT_EQ(unpainted, 0);
  EXPECT_NE(window_->Tooltip(), nullptr);
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
}  // namespace qilo::win32_test
