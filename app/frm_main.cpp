#include "app/frm_main.h"

#include <chrono>
#include <exception>

#include "app/calculation.h"
#include "app/layout.h"
#include "app/run_handler.h"
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

void TFrmMain::FilterKey(const Control& field, char& key) {
  if (KeyPasses(field.text, key)) return;
  key = 0;
  ReportMessage(Gbk("请输入数字！"));
}

void TFrmMain::RefuseUncodedInput() { ReportMessage(Gbk("不支持该字符！")); }

void TFrmMain::BtnCalClick() {
  Control* const inputs[] = {&EdCommision, &EdStamptax,  &EdTransfer, &EdOther,
                             &EdPriceBuy,  &EdPriceSell, &EdCnt};
  const Calculation done =
      Calculate({EdCommision.text, EdStamptax.text, EdTransfer.text,
                 EdOther.text, EdPriceBuy.text, EdPriceSell.text, EdCnt.text,
                 RadBtSH.checked, price_format});
  // The last missing field ends up with the focus.
  for (const CalculationInput missing : done.missing) {
    desktop.SetFocus(*inputs[static_cast<int>(missing)]);
  }
  // What was computed before an error stays written.
  using enum CalculationStage;
  if (done.reached >= kBuy) {
    EdCostBuy.text = done.cost_buy;
    EdCostBuy.hint = done.cost_buy_hint;
  }
  if (done.reached >= kSell) {
    EdCostSell.text = done.cost_sell;
    EdCostSell.hint = done.cost_sell_hint;
  }
  if (done.reached >= kProfit) {
    EdProfit.font_colour = done.profit_colour;
    EdProfit.text = done.profit;
  }
  if (done.reached >= kProfitHint) EdProfit.hint = done.profit_hint;
  if (done.reached >= kBreakEven) LabCostPrice.text = done.break_even;
  if (done.error) std::rethrow_exception(done.error);
  if (!done.missing.empty()) ReportMessage(MissingInputMessage());
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
