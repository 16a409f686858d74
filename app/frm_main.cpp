#include "app/frm_main.h"

#include <chrono>
#include <exception>

#include "app/layout.h"
#include "app/run_handler.h"
#include "calc/fee_model.h"
#include "calc/input_filter.h"
#include "calc/key_codes.h"
#include "calc/market.h"
#include "calc/number_text.h"
#include "calc/precision.h"
#include "calc/stepper.h"
#include "feed/link_feed.h"
#include "os/files.h"
#include "os/home.h"
#include "os/locale.h"
#include "qilo_config.h"
#include "text/gbk.h"
#include "ticker/bookmarks.h"

namespace qilo {

TFrmMain::TFrmMain(Desktop& desktop) : desktop(desktop) {
  for (const ControlSpec& layout : Layout()) {
    Control& c = this->*layout.member;
    c.layout = &layout;
    c.text = Gbk(layout.text);
    c.hint = Gbk(layout.hint);
    c.left = layout.left;
    c.top = layout.top;
    c.width = layout.width;
    c.height = layout.height;
    c.read_only = layout.read_only;
    c.transparent = layout.transparent;
    c.enabled = layout.enabled;
    c.interval = layout.interval;
    c.max_length = layout.max_length;
    c.font_colour = layout.font.colour;
    c.tab_stop = layout.tab_order >= 0;
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
    const bool empty =
        field == &EdCnt ? CountMissing(field->text) : FieldMissing(field->text);
    if (empty) {
      desktop.SetFocus(*field);
      missing = true;
    }
  }
  if (missing) ReportMessage(Gbk("没有数据，请输入！"));
  return missing;
}

void TFrmMain::FilterKey(const Control& field, char& key) {
  if (KeyPasses(field.text, key)) return;
  key = 0;
  ReportMessage(Gbk("请输入数字！"));
}

void TFrmMain::RefuseUncodedInput() { ReportMessage(Gbk("不支持该字符！")); }

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
  const Precision next = ToggledPrecision(precision);
  precision = PrecisionText(next);
  LabCostPrice.text = PricePlaceholder(next);
  EdPriceBuy.text = LabCostPrice.text;
  EdPriceSell.text = LabCostPrice.text;
  price_format = PriceFormatFor(precision);
}

void TFrmMain::RadBtSHClick() {
  EdTransfer.text = TransferRateText(Market::kShanghai);
}

void TFrmMain::RadBtSZClick() {
  EdTransfer.text = TransferRateText(Market::kShenzhen);
}

void TFrmMain::CheckMarket(Control& radio) {
  RadBtSH.checked = &radio == &RadBtSH;
  RadBtSZ.checked = &radio == &RadBtSZ;
  // Only the checked button of the group is a tab stop.
  RadBtSH.tab_stop = RadBtSH.checked;
  RadBtSZ.tab_stop = RadBtSZ.checked;
  // The click the layout gives the button, as a user's click raises it.
  if (radio.layout != nullptr && radio.layout->on.click != nullptr) {
    (this->*radio.layout->on.click)();
  }
}

void TFrmMain::LabMinClick() { desktop.Minimize(); }

void TFrmMain::LabCloseMouseMove() { SetHover(LabClose, kRed); }
void TFrmMain::LabCloseMouseLeave() {
  SetHover(LabClose, kClGradientActiveCaption);
}
void TFrmMain::LabMinMouseMove() { SetHover(LabMin, kRed); }
void TFrmMain::LabMinMouseLeave() {
  SetHover(LabMin, kClGradientActiveCaption);
}
void TFrmMain::LabFavMouseMove() { SetHover(LabFav, kClHighlight); }
void TFrmMain::LabFavMouseLeave() { SetHover(LabFav, kSkyBlue); }
void TFrmMain::LabAddMouseMove() { SetHover(LabAdd, kClHighlight); }
void TFrmMain::LabAddMouseLeave() { SetHover(LabAdd, kSkyBlue); }
void TFrmMain::LabDelMouseMove() { SetHover(LabDel, kClHighlight); }
void TFrmMain::LabDelMouseLeave() { SetHover(LabDel, kSkyBlue); }
void TFrmMain::LabCostPriceMouseMove() { SetHover(LabCostPrice, kRed); }
// Black, not the window-text colour of the layout.
void TFrmMain::LabCostPriceMouseLeave() { SetHover(LabCostPrice, kBlack); }

void TFrmMain::LabConnMeMouseMove() {
  SetHover(LabConnMe, kRed);
  // Loaded again at every move: the info line may have emptied slot 1.
  desktop.LoadHandCursor();
  LabConnMe.cursor = 1;
}

void TFrmMain::LabConnMeMouseLeave() {
  SetHover(LabConnMe, kClGradientActiveCaption);
}

void TFrmMain::LabInfoMouseMove() {
  if (!LabInfo.hint.empty()) {
    desktop.LoadHandCursor();
  } else {
    desktop.ClearHandCursor();
  }
  LabInfo.cursor = 1;
}

void TFrmMain::LabConnMeClick() {
  desktop.ShellOpen(std::string("mailto:") + QILO_CONTACT_MAIL, "Open");
}

void TFrmMain::StartStep(Control& target, const std::string& format,
                         bool repeat, Number signed_step) {
  step_current = TextToNumber(target.text);
  step_target = &target;
  step = signed_step;
  step_format = format;
  ApplyStep();
  if (repeat) {
    desktop.SleepMs(kStepRepeatPauseMs);
    TimerStepVal.enabled = true;
  }
}

void TFrmMain::StartPriceStep(Control& target, bool repeat,
                              StepDirection direction) {
  StartStep(target, price_format, repeat,
            PriceStep(PrecisionOf(precision), direction));
}

void TFrmMain::PriceKeyDown(Control& target, int key, Control& next) {
  if (const auto direction = StepForKey(key))
    StartPriceStep(target, false, *direction);
  if (key == kVkReturn) desktop.SetFocus(next);
}

void TFrmMain::ApplyStep() {
  if (step_target == nullptr) return;
  Control& target = *step_target;
  target.text = FormatPattern(NextStepValue(step_current, step), step_format);
  // The next step starts from the value as shown, rounded to its decimals.
  step_current = TextToNumber(target.text);
}

void TFrmMain::StopStepping() { TimerStepVal.enabled = false; }

void TFrmMain::BtnBuyUpMouseDown() {
  StartPriceStep(EdPriceBuy, true, StepDirection::kUp);
}
void TFrmMain::BtnBuyDwnMouseDown() {
  StartPriceStep(EdPriceBuy, true, StepDirection::kDown);
}
void TFrmMain::BtnSellUpMouseDown() {
  StartPriceStep(EdPriceSell, true, StepDirection::kUp);
}
void TFrmMain::BtnSellDwnMouseDown() {
  StartPriceStep(EdPriceSell, true, StepDirection::kDown);
}
void TFrmMain::BtnCntUpMouseDown() {
  StartStep(EdCnt, kCountFormat, true, CountStep(StepDirection::kUp));
}
void TFrmMain::BtnCntDwnMouseDown() {
  StartStep(EdCnt, kCountFormat, true, CountStep(StepDirection::kDown));
}

void TFrmMain::EdPriceBuyKeyDown(int key) {
  PriceKeyDown(EdPriceBuy, key, EdPriceSell);
}

void TFrmMain::EdPriceSellKeyDown(int key) {
  PriceKeyDown(EdPriceSell, key, EdCnt);
}

void TFrmMain::EdCntKeyDown(int key) {
  // Set by every key, not only the arrows: a step the mouse is repeating
  // meanwhile takes the count's pattern until the key comes up.
  step_format = kCountFormat;
  if (const auto direction = StepForKey(key))
    StartStep(EdCnt, kCountFormat, false, CountStep(*direction));
  if (key == kVkReturn) {
    BtnCalClick();
    desktop.SetFocus(EdPriceBuy);
  }
}

void TFrmMain::TimerStepValTimer() { ApplyStep(); }

void TFrmMain::WMSettingChange() { SetDecimalSeparator(UserDecimalSymbol()); }

SettingsFields TFrmMain::Settings() {
  return SettingsFields{EdCommision.text, EdStamptax.text, EdTransfer.text,
                        EdOther.text,     precision,       price_format};
}

void TFrmMain::SaveSettingsFile() { SaveSettings(settings_path, Settings()); }

void TFrmMain::FormShow() {
  for (Control* c : {&EdSiteName, &EdSiteAdd, &LabAdd, &LabDel})
    c->visible = false;
  PageLines.clear();
  home_folder = HomeFolder();
  settings_path = SettingsPath(home_folder);
  links_path = LinksPath(home_folder);
  ticker = TickerState{};
  TimerInfo.interval = 25;
  LabInfo.transparent = true;
  double_buffered = true;
  if (!FileExists(settings_path)) {
    SaveSettingsFile();
    SetFileHidden(settings_path);
  }
  LoadSettings(settings_path, Settings());
  LoadLinkTable(links_path, &link_table);
  CheckMarket(MarketForTransferRate(EdTransfer.text) == Market::kShanghai
                  ? RadBtSH
                  : RadBtSZ);
  const std::string placeholder = PricePlaceholder(PrecisionOf(precision));
  LabCostPrice.text = placeholder;
  EdPriceBuy.text = placeholder;
  EdPriceSell.text = placeholder;
}

void TFrmMain::FormClose() { SaveSettingsFile(); }

void TFrmMain::CloseAttempt() {
  if (close_refused_) {
    RunHandler(desktop, [this] { FormClose(); });
    return;
  }
  try {
    FormClose();
  } catch (const std::exception&) {
    close_refused_ = true;
    throw;
  }
}

void TFrmMain::QueryEndSession() { SaveSettingsFile(); }

void TFrmMain::LabCloseClick() {
  RefreshLinkFeed(links_path, std::chrono::system_clock::now(), PageLines);
  SetFileHidden(links_path);
  desktop.Close();
}

void TFrmMain::TimerInfoTimer() {
  const int loaded = TickInfo(
      ticker, link_table,
      InfoLine{LabInfo.text, LabInfo.hint, LabInfo.top, LabInfo.width});
  // The editor opens with the entry shown last, but never loses what the user
  // is typing into it.
  if (loaded != 0 && !EdSiteName.visible) {
    EdSiteName.text = link_table.Names[loaded];
    EdSiteAdd.text = link_table.Links[loaded];
  }
}

void TFrmMain::LabInfoClick() {
  if (LabInfo.hint.empty()) return;
  desktop.ShellOpen(UrlToOpen(LabInfo.hint), "open");
}

void TFrmMain::LabFavClick() {
  for (Control* c : {&LabInfo, &EdSiteName, &EdSiteAdd, &LabAdd, &LabDel}) {
    c->visible = !c->visible;
  }
}

void TFrmMain::LabAddClick() {
  LabInfo.text = AddBookmark(links_path, EdSiteName.text, EdSiteAdd.text);
  SetFileHidden(links_path);
  LabFavClick();
}

void TFrmMain::LabDelClick() {
  LabInfo.text = DeleteBookmark(links_path, EdSiteName.text, EdSiteAdd.text);
  LabFavClick();
}

}  // namespace qilo
