#include "app/frm_main.h"

#include <gtest/gtest.h>

#include "app/layout.h"
#include "app/recording_desktop.h"
#include "calc/number.h"
#include "calc/number_text.h"
#include "text/expect_error.h"
#include "text/gbk.h"

namespace qilo {
namespace {

class FrmMainTest : public ::testing::Test {
 protected:
  FrmMainTest() : form(desktop) { form.CheckMarket(form.RadBtSH); }

  void Enter(const char* buy, const char* sell, const char* count) {
    form.EdPriceBuy.text = buy;
    form.EdPriceSell.text = sell;
    form.EdCnt.text = count;
  }

  RecordingDesktop desktop;
  TFrmMain form;
};

TEST_F(FrmMainTest, WorkedExamples) {
  const struct {
    const char *buy, *sell, *count;
    const char *cost_buy, *cost_buy_hint, *cost_sell, *cost_sell_hint, *profit;
    Colour colour;
    const char *profit_hint, *break_even;
  } kCases[] = {
      {"10", "11", "1000", "10022.00", "买入费用: 22.00", "10965.30",
       "卖出费用: 34.70", "943.30", kRed, "费用合计： 56.70\r\n利润率：9.41%",
       "10.05"},
      {"3", "3.1", "100", "310.00", "买入费用: 10.00", "299.69",
       "卖出费用: 10.31", "-10.31", kGreen,
       "费用合计： 20.31\r\n利润率：-3.33%", "3.20"},
      // Both prices at the placeholder: only the fees remain.
      {"00.00", "00.00", "1000", "10.00", "买入费用: 10.00", "-10.00",
       "卖出费用: 10.00", "-20.00", kGreen,
       "费用合计： 20.00\r\n利润率：-200.00%", "0.02"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.buy);
    Enter(c.buy, c.sell, c.count);
    form.BtnCalClick();
    EXPECT_EQ(form.EdCostBuy.text, c.cost_buy);
    EXPECT_EQ(form.EdCostBuy.hint, Gbk(c.cost_buy_hint));
    EXPECT_EQ(form.EdCostSell.text, c.cost_sell);
    EXPECT_EQ(form.EdCostSell.hint, Gbk(c.cost_sell_hint));
    EXPECT_EQ(form.EdProfit.text, c.profit);
    EXPECT_EQ(form.EdProfit.font_colour, c.colour);
    EXPECT_EQ(form.EdProfit.hint, Gbk(c.profit_hint));
    EXPECT_EQ(form.LabCostPrice.text, c.break_even);
  }
  EXPECT_EQ(desktop.Count("beep"), 0);
}

TEST_F(FrmMainTest, ZeroProfitIsRed) {
  // Sell price chosen so that the proceeds equal the buy cost exactly.
  form.EdCommision.text = "0";
  form.EdStamptax.text = "0";
  form.EdOther.text = "0";
  Enter("10", "10.012", "1000");
  form.BtnCalClick();
  EXPECT_EQ(form.EdProfit.text, "0.00");
  EXPECT_EQ(form.EdProfit.font_colour, kRed);
}

TEST_F(FrmMainTest, BreakEvenFollowsThePriceFormat) {
  form.precision = "3";
  form.price_format = "%.3f";
  Enter("10", "11", "1000");
  form.BtnCalClick();
  EXPECT_EQ(form.LabCostPrice.text, "10.054");
}

TEST_F(FrmMainTest, RequiredFieldCheck) {
  const struct {
    const char* blank_fields;  // letters: c s t o b p n (commission … count)
    const char* count;
    std::vector<std::string> focus;
  } kCases[] = {
      {"", "0", {"EdCnt"}},
      {"", "0.0", {"EdCnt"}},
      {"", "000", {"EdCnt"}},
      {"b", "", {"EdPriceBuy", "EdCnt"}},
      {"cp", "1000", {"EdCommision", "EdPriceSell"}},
      {"t", "1000", {"EdTransfer"}},
      {"cstobp",
       "   ",
       {"EdCommision", "EdStamptax", "EdTransfer", "EdOther", "EdPriceBuy",
        "EdPriceSell", "EdCnt"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.blank_fields + std::string("/") + c.count);
    RecordingDesktop d;
    TFrmMain f(d);
    f.LabInfo.hint = "http://example.com";
    Control* by_letter[128] = {};
    by_letter['c'] = &f.EdCommision;
    by_letter['s'] = &f.EdStamptax;
    by_letter['t'] = &f.EdTransfer;
    by_letter['o'] = &f.EdOther;
    by_letter['b'] = &f.EdPriceBuy;
    by_letter['p'] = &f.EdPriceSell;
    for (const char* l = c.blank_fields; *l; ++l)
      by_letter[static_cast<int>(*l)]->text = " \t";
    f.EdCnt.text = c.count;
    const std::string before = f.EdCostBuy.text;
    f.BtnCalClick();
    std::vector<std::string> expected_calls;
    for (const auto& name : c.focus) expected_calls.push_back("focus " + name);
    expected_calls.push_back("beep");
    EXPECT_EQ(d.calls, expected_calls);
    EXPECT_EQ(f.LabInfo.text, Gbk("没有数据，请输入！"));
    EXPECT_EQ(f.LabInfo.hint, "");
    EXPECT_EQ(f.EdCostBuy.text, before);
  }
}

TEST_F(FrmMainTest, ShareCountThatIsNotANumberRaisesFromTheCheck) {
  Enter("10", "11", "1x");
  EXPECT_THROW(form.BtnCalClick(), EConvertError);
  EXPECT_EQ(desktop.Count("beep"), 0);
}

TEST_F(FrmMainTest, ConversionErrorChangesNoOutput) {
  Enter("10", "1,1", "1000");
  EXPECT_ERROR(form.BtnCalClick(), EConvertError,
               "'1,1' is not a valid floating point value");
  EXPECT_EQ(form.EdCostBuy.text, "00.00");
  EXPECT_EQ(form.EdCostBuy.hint, Gbk("买入费用：00.00"));
  EXPECT_EQ(form.LabCostPrice.text, "00.00");
}

TEST_F(FrmMainTest, ZeroBreakEvenDenominatorKeepsTheResultsWritten) {
  form.EdCommision.text = "999";
  form.EdStamptax.text = "1";
  Enter("10", "11", "1000");
  form.LabCostPrice.text = "7.77";
  EXPECT_THROW(form.BtnCalClick(), EZeroDivide);
  EXPECT_NE(form.EdCostBuy.text, "00.00");
  EXPECT_NE(form.EdProfit.hint, Gbk("费用合计： 00.00 "));
  EXPECT_EQ(form.LabCostPrice.text, "7.77");
}

TEST_F(FrmMainTest, KeyFilter) {
  const struct {
    const char* text;
    char key;
    bool accepted;
  } kCases[] = {
      {"", '0', true},     {"", '9', true},   {"", '.', true},
      {"1.2", '.', false}, {"12", '.', true}, {"", 8, true},
      {"", 13, true},      {"", 27, true},    {"", '-', false},
      {"", '+', false},    {"", 'a', false},  {"", 'E', false},
      {"", '/', false},    {"", '%', false},  {"", '[', false},
      {"", '\'', false},   {"", ' ', false},  {"", 1, false},
      {"", 3, false},      {"", 22, false},   {"", 24, false},
      {"", '\t', false},   {"", ',', false},  {"", '\xA3', false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(static_cast<int>(c.key));
    RecordingDesktop d;
    TFrmMain f(d);
    f.LabInfo.hint = "http://example.com";
    f.EdCnt.text = c.text;
    char key = c.key;
    f.EdCntKeyPress(key);
    if (c.accepted) {
      EXPECT_EQ(key, c.key);
      EXPECT_TRUE(d.calls.empty());
      EXPECT_EQ(f.LabInfo.hint, "http://example.com");
    } else {
      EXPECT_EQ(key, 0);
      EXPECT_EQ(d.calls, std::vector<std::string>{"beep"});
      EXPECT_EQ(f.LabInfo.text, Gbk("请输入数字！"));
      EXPECT_EQ(f.LabInfo.hint, "");
    }
  }
}

TEST_F(FrmMainTest, EveryNumericFieldFiltersAgainstItsOwnText) {
  void (TFrmMain::*const handlers[])(char&) = {
      &TFrmMain::EdCommisionKeyPress, &TFrmMain::EdStamptaxKeyPress,
      &TFrmMain::EdTransferKeyPress,  &TFrmMain::EdOtherKeyPress,
      &TFrmMain::EdPriceBuyKeyPress,  &TFrmMain::EdPriceSellKeyPress,
      &TFrmMain::EdCntKeyPress};
  Control* const fields[] = {
      &form.EdCommision, &form.EdStamptax,  &form.EdTransfer, &form.EdOther,
      &form.EdPriceBuy,  &form.EdPriceSell, &form.EdCnt};
  for (int i = 0; i < 7; ++i) {
    for (Control* f : fields) f->text = "1";
    fields[i]->text = "1.5";
    char key = '.';
    (form.*handlers[i])(key);
    EXPECT_EQ(key, 0) << i;
  }
}

TEST_F(FrmMainTest, PrecisionToggle) {
  Enter("10.55", "11", "1000");
  form.LabCostPriceClick();
  EXPECT_EQ(form.precision, "3");
  EXPECT_EQ(form.price_format, "%.3f");
  EXPECT_EQ(form.LabCostPrice.text, "00.000");
  EXPECT_EQ(form.EdPriceBuy.text, "00.000");
  EXPECT_EQ(form.EdPriceSell.text, "00.000");
  form.LabCostPriceClick();
  EXPECT_EQ(form.precision, "2");
  EXPECT_EQ(form.price_format, "%.2f");
  EXPECT_EQ(form.EdPriceBuy.text, "00.00");
  EXPECT_EQ(form.EdPriceSell.text, "00.00");
  // Any other precision goes to "2".
  form.precision = "4";
  form.LabCostPriceClick();
  EXPECT_EQ(form.precision, "2");
}

TEST_F(FrmMainTest, MarketSwitch) {
  form.CheckMarket(form.RadBtSZ);
  EXPECT_EQ(form.EdTransfer.text, "0");
  EXPECT_TRUE(form.RadBtSZ.checked);
  EXPECT_FALSE(form.RadBtSH.checked);
  EXPECT_TRUE(form.RadBtSZ.tab_stop);
  EXPECT_FALSE(form.RadBtSH.tab_stop);
  form.CheckMarket(form.RadBtSH);
  EXPECT_EQ(form.EdTransfer.text, "1");
  EXPECT_TRUE(form.RadBtSH.checked);
  // Shenzhen: no one-yuan minimum for 100 shares.
  form.CheckMarket(form.RadBtSZ);
  Enter("10", "11", "100");
  form.BtnCalClick();
  EXPECT_EQ(form.EdCostBuy.hint, Gbk("买入费用: 9.00"));
}

TEST(LayoutTest, ControlsStandAsLaidOut) {
  RecordingDesktop d;
  TFrmMain f(d);
  EXPECT_EQ(f.Label16.text, std::string(78, '_'));
  EXPECT_EQ(f.Label17.text, std::string(20, '_'));
  EXPECT_EQ(f.LabMin.text, "\xA3\xAD");
  EXPECT_EQ(f.LabCaption.text, Gbk("Qilo股票计算器") + "    ");
  EXPECT_EQ(f.EdCommision.max_length, 5);
  EXPECT_TRUE(f.EdTransfer.read_only);
  EXPECT_FALSE(f.RadBtSH.checked);
  EXPECT_FALSE(f.RadBtSZ.checked);
  EXPECT_EQ(f.TimerInfo.interval, 1000);
  EXPECT_FALSE(f.TimerStepVal.enabled);
  EXPECT_EQ(f.EdProfit.font_colour, kRed);
  // Every control of the class appears once in the table.
  int count = 0;
  for (const ControlSpec& layout : Layout()) {
    EXPECT_EQ((f.*layout.member).layout, &layout) << layout.name;
    ++count;
  }
  EXPECT_EQ(count, 66);
}

}  // namespace
}  // namespace qilo
