#include "app/caption_ink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frm_main.h"
#include "app/recording_desktop.h"

namespace qilo {
namespace {

std::vector<std::string> LabelsWhere(bool (*is)(const ControlSpec&)) {
  std::vector<std::string> names;
  for (const ControlSpec& s : Layout()) {
    if (is(s)) names.emplace_back(s.name);
  }
  return names;
}

TEST(CaptionInkTest, TheTwoUnderscoreLabelsAreRules) {
  EXPECT_EQ(LabelsWhere(IsRule),
            (std::vector<std::string>{"Label16", "Label17"}));
}

TEST(CaptionInkTest, TheThreeFullStopsFollowThePerMilleSigns) {
  EXPECT_EQ(LabelsWhere(IsFullStop),
            (std::vector<std::string>{"Label18", "Label19", "Label20"}));
}

TEST(CaptionInkTest, RulesLieOnTheirLabelsBottomRow) {
  RecordingDesktop d;
  TFrmMain f(d);
  // The teal rule closes the window's frame on its last row, from the left
  // edge strip's outer column on; the window clips the rest.
  EXPECT_EQ(RuleLineOf(f.Label16), (RuleLine{1, kWindowHeight - 1, 547}));
  // The grey one under the fee rates, in the fee panel.
  EXPECT_EQ(RuleLineOf(f.Label17), (RuleLine{1, 157, 120}));
}

TEST(CaptionInkTest, TheFullStopsInkClearsTheOverlappingPercentSign) {
  RecordingDesktop d;
  TFrmMain f(d);
  const struct {
    const Control& percent;
    const Control& stop;
  } kRows[] = {
      {f.Label14, f.Label18}, {f.Label12, f.Label19}, {f.Label13, f.Label20}};
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.stop.layout->name);
    EXPECT_EQ(row.stop.left + kFullStopInkLeft,
              row.percent.left + row.percent.width);
    EXPECT_FALSE(row.percent.transparent);
  }
}

}  // namespace
}  // namespace qilo
