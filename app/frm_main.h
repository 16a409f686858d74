#pragma once

#include <string>
#include <vector>

#include "app/control.h"
#include "app/desktop.h"
#include "calc/number.h"
#include "calc/precision.h"
#include "calc/stepper.h"
#include "store/link_table.h"
#include "store/settings_file.h"
#include "ticker/info_ticker.h"

namespace qilo {

// The main window: every control as plain state and every handler as a method.
// Handlers change control state and call the desktop; errors (EConvertError,
// EMathError …) escape to the caller, the default error handler.
class TFrmMain {
 public:
  explicit TFrmMain(Desktop& desktop);
  TFrmMain(const TFrmMain&) = delete;
  TFrmMain& operator=(const TFrmMain&) = delete;

  // The calculate action (Calculate) on the fields: the result texts, hints,
  // profit colour and break-even price as far as it got. A field empty (or a
  // zero share count) gets the focus, the last one keeping it, with beep and
  // message. Throws what stopped the calculation: EConvertError for a text
  // that is not a number, EMathError …, after the results written before it.
  void BtnCalClick();

  // The key filter of the seven numeric fields: digits, one ".", backspace,
  // Enter and Escape pass; anything else becomes 0 with beep and message.
  void FilterKey(const Control& field, char& key);
  void EdCommisionKeyPress(char& key) { FilterKey(EdCommision, key); }
  void EdStamptaxKeyPress(char& key) { FilterKey(EdStamptax, key); }
  void EdTransferKeyPress(char& key) { FilterKey(EdTransfer, key); }
  void EdOtherKeyPress(char& key) { FilterKey(EdOther, key); }
  void EdPriceBuyKeyPress(char& key) { FilterKey(EdPriceBuy, key); }
  void EdPriceSellKeyPress(char& key) { FilterKey(EdPriceSell, key); }
  void EdCntKeyPress(char& key) { FilterKey(EdCnt, key); }

  // A front end left out characters typed or pasted into an edit field that
  // GBK has no code for (an emoji, Hangul): stored, they would read back as
  // "?". Beep and message, as for a refused key.
  void RefuseUncodedInput();

  // Toggles the display precision between "2" and "3" and resets both prices
  // to the placeholder.
  void LabCostPriceClick();

  // The market buttons set the transfer rate text.
  void RadBtSHClick();
  void RadBtSZClick();
  // Checks one market button (RadBtSH or RadBtSZ) by program, which raises
  // the click its layout entry names, as a user's click does.
  void CheckMarket(Control& radio);

  // The title strip's labels: minimize and close.
  void LabMinClick();

  // Hover colours; only the contact label and the info line change the cursor.
  void LabCloseMouseMove();
  void LabCloseMouseLeave();
  void LabMinMouseMove();
  void LabMinMouseLeave();
  void LabConnMeMouseMove();
  void LabConnMeMouseLeave();
  void LabFavMouseMove();
  void LabFavMouseLeave();
  void LabAddMouseMove();
  void LabAddMouseLeave();
  void LabDelMouseMove();
  void LabDelMouseLeave();
  void LabCostPriceMouseMove();
  void LabCostPriceMouseLeave();
  // The hand in slot 1 while the info line's hint holds an address, else none.
  void LabInfoMouseMove();
  // Opens the mail client on the contact address.
  void LabConnMeClick();

  // The value stepper: a press steps once, pauses 200 ms and starts the repeat
  // timer; a release stops it. Throws EConvertError when the field's text is
  // not a number (no timer is started then).
  void BtnBuyUpMouseDown();
  void BtnBuyDwnMouseDown();
  void BtnSellUpMouseDown();
  void BtnSellDwnMouseDown();
  void BtnCntUpMouseDown();
  void BtnCntDwnMouseDown();
  void BtnBuyUpMouseUp() { StopStepping(); }
  void BtnBuyDwnMouseUp() { StopStepping(); }
  void BtnSellUpMouseUp() { StopStepping(); }
  void BtnSellDwnMouseUp() { StopStepping(); }
  void BtnCntUpMouseUp() { StopStepping(); }
  void BtnCntDwnMouseUp() { StopStepping(); }
  // Virtual key codes (calc/key_codes.h): kVkUp and kVkDown step the field;
  // kVkReturn moves on (and calculates in EdCnt). Any key-up stops the repeat
  // timer.
  void EdPriceBuyKeyDown(int key);
  void EdPriceSellKeyDown(int key);
  void EdCntKeyDown(int key);
  void EdPriceBuyKeyUp() { StopStepping(); }
  void EdPriceSellKeyUp() { StopStepping(); }
  void EdCntKeyUp() { StopStepping(); }
  void TimerStepValTimer();

  // The desktop reports changed regional settings: re-read the decimal symbol.
  void WMSettingChange();

  // The show sequence: editor hidden, paths, ticker, settings file written
  // with the defaults on first start, settings and links loaded, market and
  // placeholders chosen. Throws EIniFileException when the first write fails.
  void FormShow();
  // Every close saves the settings; an EIniFileException aborts the close.
  void FormClose();
  // What a front end runs for each attempt to close the window: FormClose,
  // returning when the window may close. The first save that fails refuses
  // the close with its error (the user may mend the folder and close again);
  // at a later attempt the error is shown through desktop.ShowError and the
  // window closes all the same, so an unwritable folder never traps the user.
  void CloseAttempt();
  // The close label: feed refresh when due, links file hidden, then close.
  void LabCloseClick();
  // The desktop session ends (log-off, shut-down): the settings are saved so
  // that no change of rates is lost; no feed refresh then.
  void QueryEndSession();

  // The info ticker's 25 ms tick, and a click on the line (opens its address).
  void TimerInfoTimer();
  void LabInfoClick();

  // The bookmark editor: "@" toggles it, "+" adds, "-" deletes.
  void LabFavClick();
  void LabAddClick();
  void LabDelClick();

  // Sets the info line to a message (clearing its hint) with the beep.
  void ReportMessage(const std::string& message);

  Desktop& desktop;

  // Module state of the window.
  // The display precision's text, "2" or "3", and the price pattern built
  // from it.
  std::string precision = PrecisionText(kDefaultPrecision);
  std::string price_format = PriceFormatFor(precision);

  // Set by the show sequence.
  std::string home_folder;
  std::string settings_path;
  std::string links_path;
  std::vector<std::string> PageLines;  // receives the link feed page
  LinkTable link_table;                // Names[1..30], Links[1..30]
  TickerState ticker;
  bool double_buffered = false;

  // The stepper: the field being stepped, its value as last read back, the
  // signed step and the pattern the field is written with.
  Control* step_target = nullptr;
  Number step_current = 0;
  Number step = 0;
  std::string step_format;

  // The controls, named as the layout names them.
  Control ImgRight, ImgLeft, Image3, LabCaption, ImgLogo, LabClose, LabMin,
      Label16;
  Control PanInfo, GroupBox1, Panel1, RadBtSH, RadBtSZ, TimerInfo, TimerStepVal;
  Control LabInfo, LabConnMe, LabFav, LabAdd, LabDel, EdSiteName, EdSiteAdd;
  Control ImgCal, Label5, Label6, Label7, Label8, Label9, Label10, Label11;
  Control LabCostPrice, BtnCal;
  Control ImgPriceBuyUp, ImgPriceBuyDwn, BtnBuyUp, BtnBuyDwn;
  Control ImgPriceSellUp, ImgPriceSellDwn, BtnSellUp, BtnSellDwn;
  Control ImgCntUp, ImgCntDwn, BtnCntUp, BtnCntDwn;
  Control EdPriceBuy, EdPriceSell, EdCnt, EdCostBuy, EdCostSell, EdProfit;
  Control Label18, Label19, Label20, Label14, Label12, Label13, Label15;
  Control Label1, Label2, Label3, Label4, Label17;
  Control EdOther, EdTransfer, EdStamptax, EdCommision;

 private:
  // Steps `target` once by `signed_step`; with `repeat` the pause and the
  // repeat timer follow.
  void StartStep(Control& target, const std::string& format, bool repeat,
                 Number signed_step);
  void StartPriceStep(Control& target, bool repeat, StepDirection direction);
  // A price field's key down: the arrows step it, Enter focuses `next`.
  void PriceKeyDown(Control& target, int key, Control& next);
  void ApplyStep();
  void StopStepping();
  void SetHover(Control& label, Colour colour) { label.font_colour = colour; }
  SettingsFields Settings();
  void SaveSettingsFile();

  bool close_refused_ = false;  // a close was refused for a failed save
};

}  // namespace qilo
