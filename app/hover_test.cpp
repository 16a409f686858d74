#include <gtest/gtest.h>

#include "app/frm_main.h"
#include "app/hit_test.h"
#include "app/recording_desktop.h"
#include "qilo_config.h"

namespace qilo {
namespace {

TEST(HoverTest, ColourStates) {
  using Handler = void (TFrmMain::*)();
  const struct {
    Control TFrmMain::*label;
    Handler move, leave;
    Colour layout, hover, left;
  } kCases[] = {
      {&TFrmMain::LabClose, &TFrmMain::LabCloseMouseMove,
       &TFrmMain::LabCloseMouseLeave, kSkyBlue, kRed, kClGradientActiveCaption},
      {&TFrmMain::LabMin, &TFrmMain::LabMinMouseMove,
       &TFrmMain::LabMinMouseLeave, kSkyBlue, kRed, kClGradientActiveCaption},
      {&TFrmMain::LabConnMe, &TFrmMain::LabConnMeMouseMove,
       &TFrmMain::LabConnMeMouseLeave, kClGradientActiveCaption, kRed,
       kClGradientActiveCaption},
      {&TFrmMain::LabFav, &TFrmMain::LabFavMouseMove,
       &TFrmMain::LabFavMouseLeave, kSkyBlue, kClHighlight, kSkyBlue},
      {&TFrmMain::LabAdd, &TFrmMain::LabAddMouseMove,
       &TFrmMain::LabAddMouseLeave, kSkyBlue, kClHighlight, kSkyBlue},
      {&TFrmMain::LabDel, &TFrmMain::LabDelMouseMove,
       &TFrmMain::LabDelMouseLeave, kSkyBlue, kClHighlight, kSkyBlue},
      {&TFrmMain::LabCostPrice, &TFrmMain::LabCostPriceMouseMove,
       &TFrmMain::LabCostPriceMouseLeave, kClWindowText, kRed, kBlack},
  };
  for (const auto& c : kCases) {
    RecordingDesktop d;
    TFrmMain f(d);
    Control& label = f.*c.label;
    SCOPED_TRACE(label.layout->name);
    EXPECT_EQ(label.font_colour, c.layout);
    (f.*c.move)();
    EXPECT_EQ(label.font_colour, c.hover);
    (f.*c.leave)();
    EXPECT_EQ(label.font_colour, c.left);
    (f.*c.move)();
    EXPECT_EQ(label.font_colour, c.hover);
  }
}

TEST(HoverTest, CursorSlotOne) {
  RecordingDesktop d;
  TFrmMain f(d);
  EXPECT_EQ(f.LabConnMe.cursor, 0);
  EXPECT_FALSE(d.slot1_holds_hand);

  f.LabConnMeMouseMove();
  EXPECT_EQ(f.LabConnMe.cursor, 1);
  EXPECT_TRUE(d.slot1_holds_hand);
  f.LabConnMeMouseLeave();
  EXPECT_EQ(f.LabConnMe.cursor, 1);  // the slot stays; only the colour changes

  // The info line without an address empties the slot for everybody.
  f.LabInfo.hint.clear();
  f.LabInfoMouseMove();
  EXPECT_EQ(f.LabInfo.cursor, 1);
  EXPECT_FALSE(d.slot1_holds_hand);

  f.LabInfo.hint = "www.example.com";
  f.LabInfoMouseMove();
  EXPECT_TRUE(d.slot1_holds_hand);
  EXPECT_EQ(f.LabInfo.font_colour, kRed);

  f.LabInfo.hint.clear();
  f.LabInfoMouseMove();
  f.LabConnMeMouseMove();  // the contact label fills it again
  EXPECT_TRUE(d.slot1_holds_hand);
  EXPECT_EQ(d.calls, (std::vector<std::string>{"hand", "no hand", "hand",
                                               "no hand", "hand"}));
}

TEST(HoverTest, MissingHandResourceLeavesTheSlotEmpty) {
  RecordingDesktop d;
  d.hand_available = false;
  TFrmMain f(d);
  f.LabConnMeMouseMove();
  EXPECT_FALSE(d.slot1_holds_hand);
  EXPECT_EQ(f.LabConnMe.cursor, 1);
}

TEST(HoverTest, ContactOpensTheMailClient) {
  RecordingDesktop d;
  TFrmMain f(d);
  f.LabConnMeClick();
  EXPECT_EQ(d.calls, std::vector<std::string>{std::string("open mailto:") +
                                              QILO_CONTACT_MAIL + " Open"});
}

TEST(DragStripTest, StrictBounds) {
  const struct {
    int dx, dy;
    HitArea platform;
    HitArea expected;
  } kCases[] = {
      {31, 10, HitArea::kClient, HitArea::kCaption},
      {30, 10, HitArea::kClient, HitArea::kClient},
      {429, 10, HitArea::kClient, HitArea::kCaption},
      {430, 10, HitArea::kClient, HitArea::kClient},
      {100, 2, HitArea::kClient, HitArea::kCaption},
      {100, 1, HitArea::kClient, HitArea::kClient},
      {100, 22, HitArea::kClient, HitArea::kCaption},
      {100, 23, HitArea::kClient, HitArea::kClient},
      {100, 10, HitArea::kCaption, HitArea::kCaption},
      {5, 100, HitArea::kCaption, HitArea::kClient},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(DragStripHitTest(500 + c.dx, 300 + c.dy, 500, 300, c.platform),
              c.expected)
        << c.dx << "," << c.dy;
  }
}

}  // namespace
}  // namespace qilo
