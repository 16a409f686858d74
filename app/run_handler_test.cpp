#include "app/run_handler.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "app/recording_desktop.h"
#include "calc/number.h"
#include "calc/number_text.h"
#include "store/profile_store.h"
#include "text/gbk.h"

namespace qilo {
namespace {

TEST(RunHandlerTest, ShowsWhatEscapesAndGoesOn) {
  const struct {
    const char* name;
    std::function<void()> handler;
    std::vector<std::string> calls;
  } kCases[] = {
      {"no error", [] {}, {}},
      {"conversion",
       [] { TextToNumber("x"); },
       {"error 'x' is not a valid floating point value."}},
      {"math",
       [] { Number(1) / 0; },
       {"error Floating point division by zero."}},
      {"ends with a period",
       [] { throw EIniFileException("Stop."); },
       {"error Stop."}},
      {"double-byte text",
       [] { throw Exception(Gbk("写入失败")); },
       {"error " + Gbk("写入失败") + "."}},
      {"empty message", [] { throw Exception(""); }, {"error "}},
      {"not our own",
       [] { throw std::runtime_error("boom"); },
       {"error boom."}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    RecordingDesktop desktop;
    EXPECT_EQ(RunHandler(desktop, c.handler), c.calls.empty());
    EXPECT_EQ(desktop.calls, c.calls);
  }
}

TEST(RunHandlerTest, CatchingGivesTheBoxTextWithoutShowing) {
  EXPECT_EQ(CatchHandlerError([] {}), std::nullopt);
  EXPECT_EQ(CatchHandlerError([] { throw Exception("Gone"); }), "Gone.");
}

TEST(RunHandlerTest, SomethingNotAnExceptionPassesThrough) {
  RecordingDesktop desktop;
  EXPECT_THROW(RunHandler(desktop, [] { throw 7; }), int);
  EXPECT_TRUE(desktop.calls.empty());
}

TEST(RunHandlerTest, WindowKeepsWhatTheHandlerWroteBeforeTheError) {
  RecordingDesktop desktop;
  TFrmMain form(desktop);
  form.CheckMarket(form.RadBtSH);
  form.EdCommision.text = "999";
  form.EdPriceBuy.text = "10";
  form.EdPriceSell.text = "11";
  EXPECT_FALSE(RunHandler(desktop, [&form] { form.BtnCalClick(); }));
  EXPECT_EQ(desktop.calls,
            std::vector<std::string>{"error Floating point division by zero."});
  EXPECT_EQ(form.EdCostBuy.text, "19995.00");
  // The window goes on: the next handler runs as usual.
  form.EdCommision.text = "1.7";
  EXPECT_TRUE(RunHandler(desktop, [&form] { form.BtnCalClick(); }));
  EXPECT_EQ(form.LabCostPrice.text, "10.05");
  EXPECT_EQ(desktop.calls.size(), 1u);
}

}  // namespace
}  // namespace qilo
