#pragma once

#include <span>

#include "app/colour.h"
#include "app/control.h"

namespace qilo {

class TFrmMain;

enum class ControlKind {
  kPicture,
  kLabel,
  kEdit,
  kRadio,
  kFlatButton,
  kPanel,
  kGroupBox,
  kTimer,
};

enum class Charset { kDefault, kGb2312, kAnsi };

struct FontSpec {
  const char* face;  // UTF-8 family name
  int pixel_size;    // character height without internal leading
  bool bold;
  bool underline;
  Colour colour;
  Charset charset;
};

enum class PictureMode { kNone, kStretch, kAutoSize, kAutoSizeTransparent };

// The handlers a control's events go to; a missing one ignores the event.
// Front ends only dispatch: this is the one place events meet handlers.
struct Handlers {
  void (TFrmMain::*click)() = nullptr;
  void (TFrmMain::*mouse_move)() = nullptr;
  void (TFrmMain::*mouse_leave)() = nullptr;
  void (TFrmMain::*mouse_down)() = nullptr;
  void (TFrmMain::*mouse_up)() = nullptr;
  void (TFrmMain::*key_down)(int key) = nullptr;  // virtual key code
  void (TFrmMain::*key_up)() = nullptr;
  void (TFrmMain::*key_press)(char& key) = nullptr;  // typed character
  void (TFrmMain::*tick)() = nullptr;                // timers
};

// One control of the window as laid out at creation. Positions are relative
// to the parent's client area; texts are UTF-8 literals (GBK in Control).
struct ControlSpec {
  Control TFrmMain::*member;
  const char* name;
  ControlKind kind;
  const char* parent;  // nullptr: the window itself
  int left, top, width, height;
  const char* text;
  FontSpec font;      // already resolved from the parent when not its own
  Colour background;  // panels, group box, edit fields
  bool transparent;
  bool read_only;
  int max_length;    // bytes, 0 for no limit
  int tab_order;     // among the parent's windowed children; -1 for none
  const char* hint;  // tooltip text
  bool show_hint;
  const char* picture;  // bitmap resource for pictures
  PictureMode picture_mode;
  int interval;  // timers
  bool enabled;  // timers
  Handlers on;
};

// The whole window, bottom of the stacking order first within each parent.
std::span<const ControlSpec> Layout();

// The entry of the control `member` (&TFrmMain::EdCommision); every control
// of the window has one.
const ControlSpec& LayoutOf(Control TFrmMain::*member);

// The window's own properties.
inline constexpr int kWindowWidth = 469;
inline constexpr int kWindowHeight = 232;
inline constexpr Colour kWindowColour = kCream;
inline constexpr const char kWindowCaption[] = "Qilo股票计算器 v1.0";
inline constexpr const char kApplicationTitle[] = "Qilo股票计算器";
inline constexpr FontSpec kWindowFont = {
    "MS Sans Serif", 11, false, false, kClWindowText, Charset::kDefault};

// True for controls that lie above the graphic ones of the same parent.
inline bool IsWindowed(ControlKind kind) {
  return kind == ControlKind::kEdit || kind == ControlKind::kRadio ||
         kind == ControlKind::kPanel || kind == ControlKind::kGroupBox;
}

}  // namespace qilo
