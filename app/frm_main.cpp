#include "app/frm_main.h"

#include "app/layout.h"
#include "calc/fee_model.h"
#include "calc/number_text.h"
#include "calc/precision.h"
#include "text/gbk.h"

namespace qilo {

TFrmMain::TFrmMain(Desktop& desktop) : desktop(desktop) {
  for (const ControlSpec& spec : Layout()) {
    Control& c = this->*spec.member;
    c.spec = &spec;
    c.text = Gbk(spec.text);
    c.hint = Gbk(spec.hint);
    c.left = spec.left;
    c.top = spec.top;
    c.width = spec.width;
    c.height = spec.height;
    c.read_only = spec.read_only;
    c.transparent = spec.transparent;
    c.enabled = spec.enabled;
    c.interval = spec.interval;
    c.max_length = spec.max_length;
    c.font_colour = spec.font.colour;
    c.tab_stop = spec.tab_order >= 0;
  }
}

void TFrmMain::ReportMessage(const std::string& message) {
  desktop.Beep();
  LabInfo.text = message;
  LabInfo.hint.clear();
}

bool TFrmMain::InputMissing() {
  Control* const fields[] = {&EdCommision, &EdStamptax,  &EdTransfer, &EdOther,
                             &EdPriceBuy,  &EdPriceSell, &EdCnt};
  bool missing = false;
  for (Control* field : fields) {
    bool empty = TrimBlanks(field->text).empty();
    if (!empty && field == &EdCnt && TextToNumber(EdCnt.text) == 0)
      empty = true;
    if (empty) {
      desktop.SetFocus(*field);
      missing = true;
    }
  }
  if (missing) ReportMessage(Gbk("没有数据，请输入！"));
  return missing;
}

void TFrmMain::FilterKey(const Control& field, char& key) {
  const bool accepted =
      (key >= '0' && key <= '9') ||
      (key == '.' && field.text.find('.') == std::string::npos) || key == 8 ||
      key == 13 || key == 27;
  if (accepted) return;
  key = 0;
  ReportMessage(Gbk("请输入数字！"));
}

void TFrmMain::BtnCalClick() {
  if (InputMissing()) return;
  TradeInputs in;
  in.commission = TextToNumber(EdCommision.text);
  in.stamp_tax = TextToNumber(EdStamptax.text);
  in.transfer = TextToNumber(EdTransfer.text);
  in.other = TextToNumber(EdOther.text);
  in.price_buy = TextToNumber(EdPriceBuy.text);
  in.price_sell = TextToNumber(EdPriceSell.text);
  in.count = TextToNumber(EdCnt.text);
  in.shanghai = RadBtSH.checked;

  // Each result is written as soon as it is known: an error further on leaves
  // what was written before it.
  const Number transfer_fee = TransferFee(in);
  const BuySide buy = ComputeBuySide(in, transfer_fee);
  EdCostBuy.text = FormatFixed(buy.cost, 2);
  static const std::string& kBuyFees = Gbk("买入费用: ");
  static const std::string& kSellFees = Gbk("卖出费用: ");
  static const std::string& kTotalFees = Gbk("费用合计： ");
  static const std::string& kProfitRate = Gbk("利润率：");
  EdCostBuy.hint = kBuyFees + FormatFixed(buy.fees, 2);

  const SellSide sell = ComputeSellSide(in, transfer_fee);
  EdCostSell.text = FormatFixed(sell.proceeds, 2);
  EdCostSell.hint = kSellFees + FormatFixed(sell.fees, 2);

  const Number profit = sell.proceeds - buy.cost;
  EdProfit.font_colour = profit >= 0 ? kRed : kGreen;
  EdProfit.text = FormatFixed(profit, 2);

  const Number rate = ProfitRate(buy, sell);
  EdProfit.hint = kTotalFees + FormatFixed(buy.fees + sell.fees, 2) + "\r\n" +
                  kProfitRate + FormatFixed(rate, 2) + "%";

  LabCostPrice.text =
      FormatPattern(BreakEvenPrice(in, buy, transfer_fee), price_format);
}

void TFrmMain::LabCostPriceClick() {
  if (precision != "2") {
    precision = "2";
    LabCostPrice.text = "00.00";
  } else {
    precision = "3";
    LabCostPrice.text = "00.000";
  }
  EdPriceBuy.text = LabCostPrice.text;
  EdPriceSell.text = LabCostPrice.text;
  price_format = PriceFormatFor(precision);
}

void TFrmMain::RadBtSHClick() { EdTransfer.text = "1"; }

void TFrmMain::RadBtSZClick() { EdTransfer.text = "0"; }

void TFrmMain::CheckMarket(Control& radio) {
  RadBtSH.checked = &radio == &RadBtSH;
  RadBtSZ.checked = &radio == &RadBtSZ;
  // Only the checked button of the group is a tab stop.
  RadBtSH.tab_stop = RadBtSH.checked;
  RadBtSZ.tab_stop = RadBtSZ.checked;
  if (&radio == &RadBtSH) {
    RadBtSHClick();
  } else {
    RadBtSZClick();
  }
}

void TFrmMain::LabMinClick() { desktop.Minimize(); }

}  // namespace qilo
