#include "app/result_fields.h"

#include <gtest/gtest.h>

#include "app/frm_main.h"
#include "app/recording_desktop.h"
#include "text/gbk.h"

namespace qilo {
namespace {

TEST(ResultFieldLinesTest, TheWorkedExampleAsTheWindowShowsIt) {
  RecordingDesktop desktop;
  TFrmMain form(desktop);
  form.RadBtSH.checked = true;
  form.EdPriceBuy.text = "10";
  form.EdPriceSell.text = "11";
  form.EdCnt.text = "1000";
  form.BtnCalClick();
  EXPECT_EQ(ResultFieldLines(form),
            "EdCostBuy=10022.00\n"
            "EdCostBuy.hint=买入费用: 22.00\n"
            "EdCostSell=10965.30\n"
            "EdCostSell.hint=卖出费用: 34.70\n"
            "EdProfit=943.30\n"
            "EdProfit.colour=red\n"
            "EdProfit.hint=费用合计： 56.70\\r\\n利润率：9.41%\n"
            "LabCostPrice=10.05\n");
}

TEST(ResultFieldLinesTest, EmptyTextsGiveNoLine) {
  RecordingDesktop desktop;
  TFrmMain form(desktop);
  for (Control* c : {&form.EdCostBuy, &form.EdCostSell, &form.EdProfit,
                     &form.LabCostPrice}) {
    c->text.clear();
    c->hint.clear();
  }
  form.EdProfit.font_colour = kGreen;
  EXPECT_EQ(ResultFieldLines(form), "EdProfit.colour=green\n");
  form.EdProfit.font_colour = kMediumGrey;
  EXPECT_EQ(ResultFieldLines(form), "EdProfit.colour=0x00A4A0A0\n");
}

}  // namespace
}  // namespace qilo
