#include "app/front_end.h"

#include <gtest/gtest.h>

#include "app/recording_desktop.h"
#include "os/files.h"
#include "os/test_folder.h"
#include "text/exception.h"

namespace qilo {
namespace {

// A front end without a toolkit: it writes down what the protocol asks of it.
class FakeFrontEnd : public FrontEnd {
 public:
  FakeFrontEnd(TFrmMain& form, RecordingDesktop& desktop)
      : FrontEnd(form, desktop) {}
  using FrontEnd::UserChangedText;

  std::vector<std::string> calls;
  std::string typed;  // what the user left in EdCnt, read back by ReadEdits
  bool closed = false;

 protected:
  void ReadEdits() override {
    calls.push_back("read");
    if (!typed.empty()) UserChangedText(form_.EdCnt, typed);
  }
  void Show(const ControlSpec& layout, Control&,
            const ControlChanges& changes) override {
    calls.push_back(std::string("show ") + layout.name +
                    (changes.text ? " text" : "") +
                    (changes.visible ? " visible" : ""));
  }
  void RequestClose() override {
    calls.push_back("close?");
    closed = CloseRequested();
  }
};

// The ticker goes on while the error box is open.
struct BoxDesktop : RecordingDesktop {
  void ShowError(const std::string& text) override {
    RecordingDesktop::ShowError(text);
    if (while_open) while_open();
  }
  std::function<void()> while_open;
};

class FrontEndTest : public ::testing::Test {
 protected:
  FrontEndTest() : form(desktop), front(form, desktop) {
    front.ShowAll(true);
    front.calls.clear();
  }
  BoxDesktop desktop;
  TFrmMain form;
  FakeFrontEnd front;
};

TEST_F(FrontEndTest, ShowsWhatChangedThenTheErrorThenWhatChangedUnderIt) {
  desktop.while_open = [&] { form.EdCostBuy.text = "1"; };
  front.Run([&] {
    form.LabInfo.text = "x";
    form.LabAdd.visible = false;
    throw Exception("bad");
  });
  EXPECT_EQ(front.calls, (std::vector<std::string>{"read", "show LabInfo text",
                                                   "show LabAdd visible",
                                                   "show EdCostBuy text"}));
  EXPECT_EQ(desktop.calls, std::vector<std::string>{"error bad."});
  EXPECT_EQ(front.ErrorCount(), 1);
  EXPECT_EQ(front.LastError(), "bad.");
}

TEST_F(FrontEndTest, WhatTheUserTypedIsReadBackButNotShownAgain) {
  front.typed = "250";
  front.Call(&TFrmMain::LabFavClick);
  EXPECT_EQ(form.EdCnt.text, "250");
  for (const std::string& call : front.calls)
    EXPECT_NE(call, "show EdCnt text");
}

// The first close is refused for a failed save, the next one goes through
// after the error: asked by the user, or by a handler (the close label).
TEST_F(FrontEndTest, ACloseIsRefusedOnceForAFailedSave) {
  TestFolder home;
  ReplaceFileAtomically(home / "blocker", "x");
  for (const bool handler_first : {false, true}) {
    SCOPED_TRACE(handler_first);
    TFrmMain window(desktop);
    FakeFrontEnd ui(window, desktop);
    window.settings_path = PathInFolder(home / "blocker", "qilo.ini");
    desktop.calls.clear();
    bool handler_went_on = false;
    const auto attempt = [&](bool by_handler) {
      if (!by_handler) return ui.CloseRequested();
      ui.Run([&] {
        ui.CloseFromHandler();
        handler_went_on = true;
      });
      return ui.closed;
    };
    EXPECT_FALSE(attempt(handler_first));
    EXPECT_FALSE(handler_went_on);
    EXPECT_TRUE(attempt(!handler_first));
    EXPECT_EQ(handler_went_on, !handler_first);
    EXPECT_EQ(desktop.calls.size(), 2u);
    EXPECT_EQ(ui.ErrorCount(), 1);
  }
}

}  // namespace
}  // namespace qilo
