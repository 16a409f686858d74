#include "app/window_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frm_main.h"
#include "app/layout.h"
#include "app/recording_desktop.h"

namespace qilo {
namespace {

std::vector<std::string> Names(const std::vector<const ControlSpec*>& specs) {
  std::vector<std::string> names;
  for (const ControlSpec* s : specs) names.emplace_back(s->name);
  return names;
}

TEST(TabChainTest, ContainersFirstThenTheirFields) {
  EXPECT_EQ(Names(TabChain(Layout())),
            (std::vector<std::string>{
                "EdPriceBuy", "EdPriceSell", "EdCnt", "EdCostBuy", "EdCostSell",
                "EdProfit", "EdSiteName", "EdSiteAdd", "EdCommision",
                "EdStamptax", "EdTransfer", "EdOther", "RadBtSH", "RadBtSZ"}));
}

TEST(StackingOrderTest, GraphicControlsBeneathWindowedOnes) {
  const std::vector<std::string> window =
      Names(StackingOrder(Layout(), nullptr));
  ASSERT_EQ(window.size(), 13u);  // eight graphic, five windowed, no timers
  EXPECT_EQ(window.front(), "ImgRight");
  EXPECT_EQ(window[7], "Label16");
  EXPECT_EQ(std::vector<std::string>(window.end() - 5, window.end()),
            (std::vector<std::string>{"PanInfo", "GroupBox1", "Panel1",
                                      "RadBtSH", "RadBtSZ"}));

  // The fee panel's edits follow its labels in the table and lie on top.
  const std::vector<std::string> panel =
      Names(StackingOrder(Layout(), "Panel1"));
  ASSERT_EQ(panel.size(), 16u);
  EXPECT_EQ(panel[11], "Label17");
  EXPECT_EQ(panel[12], "EdOther");
  EXPECT_EQ(panel.back(), "EdCommision");
}

TEST(ControlAtTest, TopmostVisibleHolderOfThePoint) {
  auto at = [](int left, int top, int width, int height, bool visible) {
    Control c;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.visible = visible;
    return c;
  };
  Control below = at(0, 0, 20, 10, true);
  Control above = at(10, 5, 5, 5, true);
  Control hidden = at(0, 0, 30, 30, false);
  Control* const stack[] = {&below, &above, &hidden};
  struct Case {
    int x, y;
    const Control* want;
  } cases[] = {
      {0, 0, &below},    {19, 9, &below},  {20, 9, nullptr}, {19, 10, nullptr},
      {10, 5, &above},   {14, 9, &above},  {15, 9, &below},  {9, 5, &below},
      {25, 25, nullptr}, {-1, 0, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ControlAt(stack, c.x, c.y), c.want) << c.x << "," << c.y;
  }
}

TEST(NextRadioTest, ArrowsWrapRoundTheVisibleButtonsOfTheGroup) {
  RecordingDesktop desktop;
  TFrmMain form(desktop);
  EXPECT_EQ(NextRadio(form, form.RadBtSH, 1), &form.RadBtSZ);
  EXPECT_EQ(NextRadio(form, form.RadBtSH, -1), &form.RadBtSZ);
  EXPECT_EQ(NextRadio(form, form.RadBtSZ, 1), &form.RadBtSH);
  form.RadBtSZ.visible = false;
  EXPECT_EQ(NextRadio(form, form.RadBtSH, 1), nullptr);
  EXPECT_EQ(NextRadio(form, form.EdCnt, 1), nullptr);
}

}  // namespace
}  // namespace qilo
