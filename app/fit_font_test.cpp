#include "app/fit_font.h"

#include <gtest/gtest.h>

#include <vector>

namespace qilo {
namespace {

TEST(FitFontSizeTest, LargestSizeThatFitsDownToTheFloor) {
  // A face whose width grows by 5 pixels a pixel of height: 13 digits wide
  // at 13 px are 65 pixels.
  const auto width = [](int px) { return 5 * px; };
  const struct {
    int layout_px, floor_px, room;
    FittedFont expected;
  } kCases[] = {
      {13, 7, 65, {13, true}},  // exactly fits: stays at the layout size
      {13, 7, 80, {13, true}},  // never grows beyond the layout size
      {13, 7, 64, {12, true}},  // one pixel too wide: one step smaller
      {13, 7, 35, {7, true}},   // fits at the floor exactly
      {13, 7, 34, {7, false}},  // not even at the floor
      {13, 7, 0, {7, false}},  {13, 7, -3, {7, false}},
      {6, 7, 30, {6, true}},   // a floor above the layout size is the layout
      {6, 7, 29, {6, false}},  // size
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message()
                 << c.layout_px << "/" << c.floor_px << " px into " << c.room);
    const FittedFont got = FitFontSize(c.layout_px, c.floor_px, c.room, width);
    EXPECT_EQ(got.pixel_size, c.expected.pixel_size);
    EXPECT_EQ(got.fits, c.expected.fits);
  }
}

TEST(FitFontSizeTest, MeasuresFromTheLayoutSizeDownAndStopsAtTheFirstFit) {
  // A shorter text after a long one starts again at the layout size.
  std::vector<int> asked;
  const auto width = [&asked](int px) {
    asked.push_back(px);
    return px <= 10 ? 40 : 60;
  };
  EXPECT_EQ(FitFontSize(13, 7, 50, width).pixel_size, 10);
  EXPECT_EQ(asked, (std::vector<int>{13, 12, 11, 10}));
}

}  // namespace
}  // namespace qilo
