#include <gtest/gtest.h>

#include "app/frm_main.h"
#include "app/recording_desktop.h"
#include "calc/number_text.h"
#include "calc/precision.h"

namespace qilo {
namespace {

// A field of a fresh window at a display precision, as the window holds it
// after loading the settings.
void Prepare(TFrmMain& f, const char* precision, Control TFrmMain::*field,
             const char* text) {
  f.precision = precision;
  f.price_format = PriceFormatFor(precision);
  (f.*field).text = text;
}

class StepperTest : public ::testing::Test {
 protected:
  StepperTest() : form(desktop) { form.CheckMarket(form.RadBtSH); }

  RecordingDesktop desktop;
  TFrmMain form;
};

using Press = void (TFrmMain::*)();

TEST_F(StepperTest, OnePressStepsOncePausesAndStartsTheTimer) {
  const struct {
    const char* precision;
    Press press;
    Control TFrmMain::*field;
    const char* before;
    const char* after;
  } kCases[] = {
      {"2", &TFrmMain::BtnBuyUpMouseDown, &TFrmMain::EdPriceBuy, "10.00",
       "10.50"},
      {"2", &TFrmMain::BtnBuyDwnMouseDown, &TFrmMain::EdPriceBuy, "10.00",
       "9.99"},
      {"2", &TFrmMain::BtnSellUpMouseDown, &TFrmMain::EdPriceSell, "10",
       "10.50"},
      {"2", &TFrmMain::BtnSellDwnMouseDown, &TFrmMain::EdPriceSell, "0.05",
       "0.04"},
      {"3", &TFrmMain::BtnBuyUpMouseDown, &TFrmMain::EdPriceBuy, "10.000",
       "10.050"},
      {"3", &TFrmMain::BtnBuyDwnMouseDown, &TFrmMain::EdPriceBuy, "10.000",
       "9.999"},
      {"2", &TFrmMain::BtnCntUpMouseDown, &TFrmMain::EdCnt, "1000", "1100"},
      {"3", &TFrmMain::BtnCntDwnMouseDown, &TFrmMain::EdCnt, "1000", "900"},
      {"2", &TFrmMain::BtnCntDwnMouseDown, &TFrmMain::EdCnt, "200", "100"},
      {"2", &TFrmMain::BtnCntDwnMouseDown, &TFrmMain::EdCnt, "100", "100"},
      // The down step never goes below one step.
      {"2", &TFrmMain::BtnBuyDwnMouseDown, &TFrmMain::EdPriceBuy, "0.02",
       "0.01"},
      {"2", &TFrmMain::BtnBuyDwnMouseDown, &TFrmMain::EdPriceBuy, "0.01",
       "0.01"},
      {"3", &TFrmMain::BtnBuyDwnMouseDown, &TFrmMain::EdPriceBuy, "0.002",
       "0.001"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.precision) + " " + c.before);
    RecordingDesktop d;
    TFrmMain f(d);
    Prepare(f, c.precision, c.field, c.before);
    (f.*c.press)();
    EXPECT_EQ((f.*c.field).text, c.after);
    EXPECT_EQ(d.calls, std::vector<std::string>{"sleep 200"});
    EXPECT_TRUE(f.TimerStepVal.enabled);
  }
}

TEST_F(StepperTest, HoldingDownStopsAtOneStepAndReleaseStopsTheTimer) {
  form.EdPriceBuy.text = "0.05";
  form.BtnBuyDwnMouseDown();
  const char* expected[] = {"0.03", "0.02", "0.01", "0.01", "0.01"};
  for (const char* text : expected) {
    form.TimerStepValTimer();
    EXPECT_EQ(form.EdPriceBuy.text, text);
  }
  form.BtnBuyDwnMouseUp();
  EXPECT_FALSE(form.TimerStepVal.enabled);
}

TEST_F(StepperTest, RepeatStartsFromTheValueAsShown) {
  // 10.004 shows as 10.00; the next step starts from 10.00, not 10.004.
  form.EdPriceSell.text = "10.004";
  form.BtnSellUpMouseDown();
  EXPECT_EQ(form.EdPriceSell.text, "10.50");
  EXPECT_EQ(form.step_current, TextToNumber("10.5"));
}

TEST_F(StepperTest, ArrowKeys) {
  const struct {
    const char* precision;
    void (TFrmMain::*key_down)(int);
    int key;
    Control TFrmMain::*field;
    const char* before;
    const char* after;
  } kCases[] = {
      {"2", &TFrmMain::EdPriceBuyKeyDown, 38, &TFrmMain::EdPriceBuy, "10.00",
       "10.50"},
      {"2", &TFrmMain::EdPriceSellKeyDown, 40, &TFrmMain::EdPriceSell, "10.00",
       "9.99"},
      {"3", &TFrmMain::EdPriceSellKeyDown, 38, &TFrmMain::EdPriceSell, "1",
       "1.050"},
      {"2", &TFrmMain::EdCntKeyDown, 40, &TFrmMain::EdCnt, "1000", "900"},
      {"3", &TFrmMain::EdCntKeyDown, 38, &TFrmMain::EdCnt, "1000", "1100"},
      {"2", &TFrmMain::EdCntKeyDown, 40, &TFrmMain::EdCnt, "200", "100"},
      {"2", &TFrmMain::EdCntKeyDown, 40, &TFrmMain::EdCnt, "100", "100"},
      {"2", &TFrmMain::EdCntKeyDown, 37, &TFrmMain::EdCnt, "100",
       "100"},  // left: nothing
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.precision) + " " + c.before);
    RecordingDesktop d;
    TFrmMain f(d);
    Prepare(f, c.precision, c.field, c.before);
    (f.*c.key_down)(c.key);
    EXPECT_EQ((f.*c.field).text, c.after);
    EXPECT_TRUE(d.calls.empty());  // no pause, no timer: the keyboard repeats
    EXPECT_FALSE(f.TimerStepVal.enabled);
  }
}

TEST_F(StepperTest, AnyKeyUpStopsTheTimer) {
  for (void (TFrmMain::*key_up)() :
       {&TFrmMain::EdPriceBuyKeyUp, &TFrmMain::EdPriceSellKeyUp,
        &TFrmMain::EdCntKeyUp}) {
    form.TimerStepVal.enabled = true;
    (form.*key_up)();
    EXPECT_FALSE(form.TimerStepVal.enabled);
  }
}

TEST_F(StepperTest, EnterMovesOnAndCalculatesInTheShareCount) {
  form.EdPriceBuy.text = "10";
  form.EdPriceSell.text = "11";
  form.EdPriceBuyKeyDown(13);
  form.EdPriceSellKeyDown(13);
  form.EdCntKeyDown(13);
  EXPECT_EQ(desktop.calls,
            (std::vector<std::string>{"focus EdPriceSell", "focus EdCnt",
                                      "focus EdPriceBuy"}));
  EXPECT_EQ(form.EdCostBuy.text, "10022.00");
}

TEST_F(StepperTest, EmptyPriceRaisesAndStartsNoTimer) {
  form.EdPriceBuy.text = "";
  EXPECT_THROW(form.BtnBuyUpMouseDown(), EConvertError);
  EXPECT_FALSE(form.TimerStepVal.enabled);
  EXPECT_TRUE(desktop.calls.empty());
}

}  // namespace
}  // namespace qilo
