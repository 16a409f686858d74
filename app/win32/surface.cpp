#include "app/win32/surface.h"

#include <windowsx.h>

#include <utility>

#include "app/win32/checked.h"
#include "app/win32/main_window.h"
#include "app/window_order.h"

namespace qilo {
namespace {

constexpr wchar_t kMainClass[] = L"TFrmMain";
constexpr wchar_t kPanelClass[] = L"TQiloPanel";

}  // namespace

void Surface::RegisterClasses(HINSTANCE instance, HICON icon) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = icon;
  wc.lpszClassName = kMainClass;
  RegisterWindowClass(wc);
  wc.hIcon = nullptr;
  wc.lpszClassName = kPanelClass;
  RegisterWindowClass(wc);
}

Surface::Surface(Win32MainWindow& window, Item* box)
    : window_(window), box_(box) {}

HWND Surface::CreateMain(HWND owner, const std::wstring& caption,
                         const RECT& place) {
  hwnd_ = Checked("create the main window", [&] {
    return CreateWindowExW(0, kMainClass, caption.c_str(),
                           WS_POPUP | WS_CLIPCHILDREN, place.left, place.top,
                           place.right - place.left, place.bottom - place.top,
                           owner, nullptr, GetModuleHandleW(nullptr), this);
  });
  return hwnd_;
}

HWND Surface::CreatePanel(HWND parent, const RECT& place) {
  hwnd_ = CreateChild(kPanelClass,
                      WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                          (box_->control->visible ? WS_VISIBLE : 0),
                      WS_EX_CONTROLPARENT, parent, box_->layout->name, place,
                      L"", this);
  return hwnd_;
}

void Surface::AddGraphic(Item& item) {
  graphic_.push_back(&item);
  controls_.push_back(item.control);
}

Item* Surface::GraphicAt(int x, int y) {
  const int dpi = window_.Dpi();
  const Control* c = ControlAt(controls_, Unscaled(x, dpi), Unscaled(y, dpi));
  return c == nullptr ? nullptr : &window_.ItemOf(*c);
}

// A window not yet shown is painted whole when it shows: asking the system
// for it before costs a round trip to it for each control built.
void Surface::Invalidate() const {
  if (IsWindowVisible(hwnd_)) InvalidateRect(hwnd_, nullptr, FALSE);
}

// The surface comes with its window's creation; it holds the window that
// owns it, so no message needs to look for it.
LRESULT CALLBACK Surface::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* s = static_cast<Surface*>(
        reinterpret_cast<const CREATESTRUCTW*>(lp)->lpCreateParams);
    s->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
  }
  auto* s = reinterpret_cast<Surface*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (s == nullptr) return DefWindowProcW(hwnd, msg, wp, lp);
  return s->window_.Guarded([&] { return s->Handle(msg, wp, lp); });
}

LRESULT Surface::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (box_ == nullptr) {
    if (const auto result = window_.OnMainMessage(msg, wp, lp)) return *result;
  }
  if (HandleMouse(msg, lp)) return 0;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(hwnd_, &client);
      PaintContent(reinterpret_cast<HDC>(wp), client);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd_) ReleasePress();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT && SetCursorFor(reinterpret_cast<HWND>(wp)))
        return TRUE;
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (const LRESULT brush = ColourChild(reinterpret_cast<HDC>(wp),
                                            reinterpret_cast<HWND>(lp))) {
        return brush;
      }
      break;
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        Item* radio = window_.ItemOf(reinterpret_cast<HWND>(lp));
        if (radio != nullptr && radio->layout->kind == ControlKind::kRadio) {
          window_.ClickRadio(*radio);
          return 0;
        }
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool Surface::HandleMouse(UINT msg, LPARAM lp) {
  const int x = GET_X_LPARAM(lp);
  const int y = GET_Y_LPARAM(lp);
  switch (msg) {
    case WM_MOUSEMOVE:
      MouseMove(x, y);
      return true;
    case WM_MOUSELEAVE:
      MouseLeave();
      return true;
    case WM_LBUTTONDOWN:
      MouseDown(x, y);
      return true;
    case WM_LBUTTONUP:
      MouseUp(x, y);
      return true;
    default:
      return false;
  }
}

// Edit fields take their text colour from their control and the window
// colour behind; radio buttons stand on cream.
LRESULT Surface::ColourChild(HDC dc, HWND child) {
  const Item* item = window_.ItemOf(child);
  if (item == nullptr) return 0;
  SetTextColor(dc, ToColorRef(item->control->font_colour));
  if (item->layout->kind == ControlKind::kEdit) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(window_.Cream());
}

void Surface::MouseMove(int x, int y) {
  if (!tracking_) {
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd_, 0};
    tracking_ = TrackMouseEvent(&track);
  }
  Item* at = GraphicAt(x, y);
  if (at != hovered_) {
    Item* left = std::exchange(hovered_, at);
    Invalidate();
    if (left != nullptr && left->layout->on.mouse_leave != nullptr) {
      window_.Call(left->layout->on.mouse_leave);
    }
  }
  if (at != nullptr && at->layout->on.mouse_move != nullptr) {
    window_.Call(at->layout->on.mouse_move);
  }
}

void Surface::MouseLeave() {
  tracking_ = false;
  Item* left = std::exchange(hovered_, nullptr);
  if (left == nullptr) return;
  Invalidate();
  if (left->layout->on.mouse_leave != nullptr) {
    window_.Call(left->layout->on.mouse_leave);
  }
}

void Surface::MouseDown(int x, int y) {
  Item* at = GraphicAt(x, y);
  pressed_ = at;
  if (at == nullptr) return;
  SetCapture(hwnd_);
  Invalidate();
  if (at->layout->on.mouse_down != nullptr) {
    window_.Call(at->layout->on.mouse_down);
  }
}

// A click is a press and a release over the same control.
void Surface::MouseUp(int x, int y) {
  Item* pressed = std::exchange(pressed_, nullptr);
  if (GetCapture() == hwnd_) ReleaseCapture();
  if (pressed == nullptr) return;
  Invalidate();
  const Handlers& on = pressed->layout->on;
  if (GraphicAt(x, y) == pressed && on.click != nullptr) window_.Call(on.click);
  if (on.mouse_up != nullptr) window_.Call(on.mouse_up);
}

// The capture went elsewhere (an error box, another program) while a control
// was held: it is released, so that a step button stops repeating.
void Surface::ReleasePress() {
  Item* pressed = std::exchange(pressed_, nullptr);
  if (pressed == nullptr) return;
  Invalidate();
  if (pressed->layout->on.mouse_up != nullptr) {
    window_.Call(pressed->layout->on.mouse_up);
  }
}

// The cursor in the control's slot of the cursor table: slot 1 is the hand
// (or the arrow when it holds none); other controls keep their own.
bool Surface::SetCursorFor(HWND over) {
  const Item* item = nullptr;
  if (over == hwnd_) {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(hwnd_, &p);
    item = GraphicAt(p.x, p.y);
  } else {
    item = window_.ItemOf(over);
  }
  if (item == nullptr || item->control->cursor != 1) return false;
  const HCURSOR hand = window_.HandCursor();
  SetCursor(hand != nullptr ? hand : LoadCursorW(nullptr, IDC_ARROW));
  return true;
}

}  // namespace qilo
