#pragma once

#include <string>

#include "app/control.h"
#include "app/desktop.h"

namespace qilo {

// The main window: every control as plain state and every handler as a method.
// Handlers change control state and call the desktop; errors (EConvertError,
// EMathError …) escape to the caller, the default error handler.
class TFrmMain {
 public:
  explicit TFrmMain(Desktop& desktop);
  TFrmMain(const TFrmMain&) = delete;
  TFrmMain& operator=(const TFrmMain&) = delete;

  // The calculate action: required-field check, conversion of the seven input
  // texts, then the result texts, hints, profit colour and break-even price.
  void BtnCalClick();

  // The required-field check: true (with beep and message) when a field is
  // empty or the share count is zero; the last missing field gets the focus.
  // Throws EConvertError when the share count is not a number.
  bool InputMissing();

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

  // Toggles the display precision between "2" and "3" and resets both prices
  // to the placeholder.
  void LabCostPriceClick();

  // The market buttons set the transfer rate text.
  void RadBtSHClick();
  void RadBtSZClick();
  // Checks one market button by program, which raises its click like a user's.
  void CheckMarket(Control& radio);

  void LabMinClick();

  // Sets the info line to a message (clearing its hint) with the beep.
  void ReportMessage(const std::string& message);

  Desktop& desktop;

  // Module state of the window.
  std::string precision = "2";        // display precision, "2" or "3"
  std::string price_format = "%.2f";  // "%." + precision + "f"

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
};

}  // namespace qilo
