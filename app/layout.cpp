#include "app/layout.h"

#include <cstdlib>

#include "app/frm_main.h"

namespace qilo {
namespace {

constexpr FontSpec kTahoma13 = {
    "Tahoma", 13, false, false, kClWindowText, Charset::kDefault};
constexpr FontSpec kSans13 = {"MS Sans Serif",  13, false, false, kClWindowText,
                              Charset::kDefault};

constexpr FontSpec SkyBlueSymbol(int size) {
  return {"Arial Black", size, true, false, kSkyBlue, Charset::kAnsi};
}

constexpr ControlSpec Base(Control TFrmMain::*member, const char* name,
                           ControlKind kind, const char* parent, int left,
                           int top, int width, int height) {
  return ControlSpec{member,
                     name,
                     kind,
                     parent,
                     left,
                     top,
                     width,
                     height,
                     "",
                     kWindowFont,
                     kCream,
                     false,
                     false,
                     0,
                     -1,
                     "",
                     false,
                     "",
                     PictureMode::kNone,
                     0,
                     true,
                     {}};
}

// The entry `s` with its events going to `on`.
constexpr ControlSpec With(ControlSpec s, Handlers on) {
  s.on = on;
  return s;
}

constexpr ControlSpec Picture(Control TFrmMain::*member, const char* name,
                              const char* parent, int left, int top, int width,
                              int height, const char* picture,
                              PictureMode mode) {
  ControlSpec s = Base(member, name, ControlKind::kPicture, parent, left, top,
                       width, height);
  s.picture = picture;
  s.picture_mode = mode;
  s.transparent = mode == PictureMode::kAutoSizeTransparent;
  return s;
}

constexpr ControlSpec Label(Control TFrmMain::*member, const char* name,
                            const char* parent, int left, int top, int width,
                            int height, const char* text,
                            FontSpec font = kWindowFont,
                            bool transparent = false, const char* hint = "") {
  ControlSpec s =
      Base(member, name, ControlKind::kLabel, parent, left, top, width, height);
  s.text = text;
  s.font = font;
  s.transparent = transparent;
  s.hint = hint;
  s.show_hint = hint[0] != '\0';
  return s;
}

constexpr ControlSpec Edit(Control TFrmMain::*member, const char* name,
                           const char* parent, int left, int top, int width,
                           int height, const char* text, FontSpec font,
                           int max_length, bool read_only, int tab_order,
                           const char* hint = "") {
  ControlSpec s =
      Base(member, name, ControlKind::kEdit, parent, left, top, width, height);
  s.text = text;
  s.font = font;
  s.background = kClWindow;
  s.max_length = max_length;
  s.read_only = read_only;
  s.tab_order = tab_order;
  s.hint = hint;
  s.show_hint = hint[0] != '\0';
  return s;
}

// A result field: read-only, its tooltip rewritten by every calculation.
constexpr ControlSpec ResultEdit(Control TFrmMain::*member, const char* name,
                                 int left, int top, FontSpec font,
                                 int tab_order, const char* hint) {
  ControlSpec s = Edit(member, name, "GroupBox1", left, top, 62, 18, "00.00",
                       font, 0, true, tab_order, hint);
  s.show_hint = true;
  return s;
}

constexpr ControlSpec FlatButton(Control TFrmMain::*member, const char* name,
                                 int left, int top, int width, int height) {
  ControlSpec s = Base(member, name, ControlKind::kFlatButton, "GroupBox1",
                       left, top, width, height);
  s.transparent = true;
  return s;
}

constexpr ControlSpec Container(Control TFrmMain::*member, const char* name,
                                ControlKind kind, int left, int top, int width,
                                int height, int tab_order,
                                const char* text = "") {
  ControlSpec s = Base(member, name, kind, nullptr, left, top, width, height);
  s.tab_order = tab_order;
  s.text = text;
  return s;
}

constexpr ControlSpec Radio(Control TFrmMain::*member, const char* name,
                            int left, int top, int width, const char* text,
                            int tab_order) {
  ControlSpec s =
      Base(member, name, ControlKind::kRadio, nullptr, left, top, width, 17);
  s.text = text;
  s.tab_order = tab_order;
  return s;
}

constexpr ControlSpec Timer(Control TFrmMain::*member, const char* name,
                            int interval, bool enabled) {
  ControlSpec s = Base(member, name, ControlKind::kTimer, nullptr, 0, 0, 0, 0);
  s.interval = interval;
  s.enabled = enabled;
  return s;
}

using F = TFrmMain;
constexpr auto kStretch = PictureMode::kStretch;
constexpr auto kAuto = PictureMode::kAutoSize;

const ControlSpec kLayout[] = {
    // The window's own children.
    Picture(&F::ImgRight, "ImgRight", nullptr, 464, -4, 5, 237,
            "edge_right.bmp", kStretch),
    Picture(&F::ImgLeft, "ImgLeft", nullptr, 0, 0, 4, 232, "edge_left.bmp",
            kStretch),
    Picture(&F::Image3, "Image3", nullptr, 1, 0, 467, 24, "title_band.bmp",
            kStretch),
    Label(&F::LabCaption, "LabCaption", nullptr, 43, 5, 157, 15,
          "Qilo股票计算器    ",
          {"黑体", 15, true, false, kTeal, Charset::kDefault}, true),
    Picture(&F::ImgLogo, "ImgLogo", nullptr, 4, 4, 32, 16, "logo.bmp",
            PictureMode::kAutoSizeTransparent),
    With(Label(&F::LabClose, "LabClose", nullptr, 445, 4, 16, 16, " X ",
               {"Tahoma", 13, false, false, kSkyBlue, Charset::kDefault}, true),
         {.click = &F::LabCloseClick,
          .mouse_move = &F::LabCloseMouseMove,
          .mouse_leave = &F::LabCloseMouseLeave}),
    With(Label(&F::LabMin, "LabMin", nullptr, 431, 10, 16, 16, "－",
               {"Tahoma", 13, true, false, kSkyBlue, Charset::kDefault}, true),
         {.click = &F::LabMinClick,
          .mouse_move = &F::LabMinMouseMove,
          .mouse_leave = &F::LabMinMouseLeave}),
    Label(&F::Label16, "Label16", nullptr, 1, 219, 547, 13,
          "____________________________________________________________________"
          "__________",
          {"MS Sans Serif", 11, true, false, kTeal, Charset::kDefault}, true),
    Container(&F::PanInfo, "PanInfo", ControlKind::kPanel, 5, 205, 457, 22, 1),
    Container(&F::GroupBox1, "GroupBox1", ControlKind::kGroupBox, 152, 34, 305,
              170, 0, "基本信息"),
    Container(&F::Panel1, "Panel1", ControlKind::kPanel, 17, 45, 121, 164, 2),
    // A click on a market button checks it through TFrmMain::CheckMarket,
    // which raises the click handler named here.
    With(Radio(&F::RadBtSH, "RadBtSH", 21, 32, 49, "沪市", 3),
         {.click = &F::RadBtSHClick}),
    With(Radio(&F::RadBtSZ, "RadBtSZ", 81, 32, 57, "深市", 4),
         {.click = &F::RadBtSZClick}),
    With(Timer(&F::TimerInfo, "TimerInfo", 1000, true),
         {.tick = &F::TimerInfoTimer}),
    With(Timer(&F::TimerStepVal, "TimerStepVal", 100, false),
         {.tick = &F::TimerStepValTimer}),

    // The bottom panel: the info line and the bookmark editor.
    With(Label(&F::LabInfo, "LabInfo", "PanInfo", 31, 6, 107, 13,
               "Qilo股票计算器  ",
               {"宋体", 13, false, false, kRed, Charset::kGb2312}),
         {.click = &F::LabInfoClick, .mouse_move = &F::LabInfoMouseMove}),
    With(Label(&F::LabConnMe, "LabConnMe", "PanInfo", 372, 7, 79, 13,
               "联系Qilo...      ",
               {"MS Sans Serif", 11, false, true, kClGradientActiveCaption,
                Charset::kDefault},
               false, "欢迎提出宝贵意见^_^"),
         {.click = &F::LabConnMeClick,
          .mouse_move = &F::LabConnMeMouseMove,
          .mouse_leave = &F::LabConnMeMouseLeave}),
    With(Label(&F::LabFav, "LabFav", "PanInfo", 6, 0, 12, 23, "@",
               SkyBlueSymbol(16), true, "Http ..."),
         {.click = &F::LabFavClick,
          .mouse_move = &F::LabFavMouseMove,
          .mouse_leave = &F::LabFavMouseLeave}),
    With(Label(&F::LabAdd, "LabAdd", "PanInfo", 314, -1, 13, 27, "+",
               SkyBlueSymbol(19), true, "添加"),
         {.click = &F::LabAddClick,
          .mouse_move = &F::LabAddMouseMove,
          .mouse_leave = &F::LabAddMouseLeave}),
    With(Label(&F::LabDel, "LabDel", "PanInfo", 331, -10, 9, 38, "-",
               SkyBlueSymbol(27), true, "删除"),
         {.click = &F::LabDelClick,
          .mouse_move = &F::LabDelMouseMove,
          .mouse_leave = &F::LabDelMouseLeave}),
    Edit(&F::EdSiteName, "EdSiteName", "PanInfo", 33, 3, 97, 18, "00.00",
         kSans13, 30, false, 0, "网站名称"),
    Edit(&F::EdSiteAdd, "EdSiteAdd", "PanInfo", 147, 3, 155, 19, "00.00",
         kSans13, 150, false, 1, "地址"),

    // The group box: prices, share count, results, break-even price, calculate.
    Picture(&F::ImgCal, "ImgCal", "GroupBox1", 240, 135, 48, 23,
            "calculate.bmp", kAuto),
    Label(&F::Label5, "Label5", "GroupBox1", 16, 32, 42, 13, "买入价  "),
    Label(&F::Label6, "Label6", "GroupBox1", 16, 70, 42, 13, "卖出价  "),
    Label(&F::Label7, "Label7", "GroupBox1", 16, 108, 42, 13, "股票数  "),
    Label(&F::Label8, "Label8", "GroupBox1", 160, 32, 66, 13, "买入成本      "),
    Label(&F::Label9, "Label9", "GroupBox1", 160, 71, 66, 13, "卖出收益      "),
    Label(&F::Label10, "Label10", "GroupBox1", 160, 108, 66, 13,
          "净  利  润      "),
    Label(&F::Label11, "Label11", "GroupBox1", 16, 142, 51, 13, "保本价     "),
    With(Label(&F::LabCostPrice, "LabCostPrice", "GroupBox1", 73, 140, 36, 16,
               "00.00",
               {"Tahoma", 13, true, false, kClWindowText, Charset::kDefault},
               true),
         {.click = &F::LabCostPriceClick,
          .mouse_move = &F::LabCostPriceMouseMove,
          .mouse_leave = &F::LabCostPriceMouseLeave}),
    With(FlatButton(&F::BtnCal, "BtnCal", 240, 135, 49, 24),
         {.click = &F::BtnCalClick}),
    Picture(&F::ImgPriceBuyUp, "ImgPriceBuyUp", "GroupBox1", 129, 27, 9, 8,
            "arrow_up.bmp", kAuto),
    Picture(&F::ImgPriceBuyDwn, "ImgPriceBuyDwn", "GroupBox1", 129, 37, 9, 8,
            "arrow_down.bmp", kAuto),
    With(
        FlatButton(&F::BtnBuyUp, "BtnBuyUp", 128, 26, 11, 10),
        {.mouse_down = &F::BtnBuyUpMouseDown, .mouse_up = &F::BtnBuyUpMouseUp}),
    With(FlatButton(&F::BtnBuyDwn, "BtnBuyDwn", 128, 36, 11, 10),
         {.mouse_down = &F::BtnBuyDwnMouseDown,
          .mouse_up = &F::BtnBuyDwnMouseUp}),
    Picture(&F::ImgPriceSellUp, "ImgPriceSellUp", "GroupBox1", 129, 65, 9, 8,
            "arrow_up.bmp", kAuto),
    Picture(&F::ImgPriceSellDwn, "ImgPriceSellDwn", "GroupBox1", 129, 75, 9, 8,
            "arrow_down.bmp", kAuto),
    With(FlatButton(&F::BtnSellUp, "BtnSellUp", 128, 64, 11, 10),
         {.mouse_down = &F::BtnSellUpMouseDown,
          .mouse_up = &F::BtnSellUpMouseUp}),
    With(FlatButton(&F::BtnSellDwn, "BtnSellDwn", 128, 74, 11, 10),
         {.mouse_down = &F::BtnSellDwnMouseDown,
          .mouse_up = &F::BtnSellDwnMouseUp}),
    Picture(&F::ImgCntUp, "ImgCntUp", "GroupBox1", 129, 103, 9, 8,
            "arrow_up.bmp", kAuto),
    Picture(&F::ImgCntDwn, "ImgCntDwn", "GroupBox1", 129, 113, 9, 8,
            "arrow_down.bmp", kAuto),
    With(
        FlatButton(&F::BtnCntUp, "BtnCntUp", 128, 102, 11, 10),
        {.mouse_down = &F::BtnCntUpMouseDown, .mouse_up = &F::BtnCntUpMouseUp}),
    With(FlatButton(&F::BtnCntDwn, "BtnCntDwn", 128, 112, 11, 10),
         {.mouse_down = &F::BtnCntDwnMouseDown,
          .mouse_up = &F::BtnCntDwnMouseUp}),
    With(Edit(&F::EdPriceBuy, "EdPriceBuy", "GroupBox1", 72, 27, 55, 18,
              "00.00", kTahoma13, 6, false, 0),
         {.key_down = &F::EdPriceBuyKeyDown,
          .key_up = &F::EdPriceBuyKeyUp,
          .key_press = &F::EdPriceBuyKeyPress}),
    With(Edit(&F::EdPriceSell, "EdPriceSell", "GroupBox1", 72, 65, 55, 18,
              "00.00", kTahoma13, 6, false, 1),
         {.key_down = &F::EdPriceSellKeyDown,
          .key_up = &F::EdPriceSellKeyUp,
          .key_press = &F::EdPriceSellKeyPress}),
    With(Edit(&F::EdCnt, "EdCnt", "GroupBox1", 72, 103, 55, 18, "1000",
              kTahoma13, 0, false, 2),
         {.key_down = &F::EdCntKeyDown,
          .key_up = &F::EdCntKeyUp,
          .key_press = &F::EdCntKeyPress}),
    ResultEdit(&F::EdCostBuy, "EdCostBuy", 226, 27, kTahoma13, 3,
               "买入费用：00.00"),
    ResultEdit(&F::EdCostSell, "EdCostSell", 226, 65, kTahoma13, 4,
               "卖出费用：00.00"),
    ResultEdit(&F::EdProfit, "EdProfit", 226, 103,
               {"Tahoma", 13, false, false, kRed, Charset::kDefault}, 5,
               "费用合计： 00.00 "),

    // The fee panel: the four rates.
    Label(&F::Label18, "Label18", "Panel1", 110, 23, 12, 13, "。"),
    Label(&F::Label19, "Label19", "Panel1", 110, 59, 12, 13, "。"),
    Label(&F::Label20, "Label20", "Panel1", 110, 95, 12, 13, "。"),
    Label(&F::Label14, "Label14", "Panel1", 104, 21, 8, 13, "%"),
    Label(&F::Label12, "Label12", "Panel1", 104, 57, 8, 13, "%"),
    Label(&F::Label13, "Label13", "Panel1", 104, 93, 8, 13, "%"),
    Label(&F::Label15, "Label15", "Panel1", 105, 129, 18, 13, "元  "),
    Label(&F::Label1, "Label1", "Panel1", 2, 21, 48, 13, "佣     金   "),
    Label(&F::Label2, "Label2", "Panel1", 2, 57, 48, 13, "印花税    "),
    Label(&F::Label3, "Label3", "Panel1", 2, 93, 51, 13, "过户费     "),
    Label(&F::Label4, "Label4", "Panel1", 2, 129, 51, 13, "附加费     "),
    Label(&F::Label17, "Label17", "Panel1", 1, 145, 120, 13,
          "____________________",
          {"MS Sans Serif", 11, false, false, kMediumGrey, Charset::kDefault},
          true),
    With(Edit(&F::EdOther, "EdOther", "Panel1", 64, 126, 35, 18, "4", kTahoma13,
              3, false, 3),
         {.key_press = &F::EdOtherKeyPress}),
    With(Edit(&F::EdTransfer, "EdTransfer", "Panel1", 64, 90, 35, 18, "1",
              kTahoma13, 3, true, 2),
         {.key_press = &F::EdTransferKeyPress}),
    With(Edit(&F::EdStamptax, "EdStamptax", "Panel1", 64, 54, 35, 18, "1",
              kTahoma13, 3, false, 1),
         {.key_press = &F::EdStamptaxKeyPress}),
    With(Edit(&F::EdCommision, "EdCommision", "Panel1", 64, 18, 35, 18, "1.7",
              kTahoma13, 5, false, 0),
         {.key_press = &F::EdCommisionKeyPress}),
};

}  // namespace

std::span<const ControlSpec> Layout() { return kLayout; }

const ControlSpec& LayoutOf(Control TFrmMain::*member) {
  for (const ControlSpec& s : kLayout) {
    if (s.member == member) return s;
  }
  // Every control member is in the table: a missing one is a build fault.
  std::abort();
}

}  // namespace qilo
