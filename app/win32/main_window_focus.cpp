// Where the keyboard goes: Tab through the chain, the radio buttons' arrow
// keys, and the first focus when the window becomes active.
#include "app/win32/main_window.h"
#include "app/window_order.h"

namespace qilo {

// Keys the window takes before the control with the focus sees them.
bool Win32MainWindow::PreTranslate(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  if (msg.wParam == VK_TAB) return Tab(GetKeyState(VK_SHIFT) < 0);
  Item* item = ItemOf(msg.hwnd);
  if (item == nullptr || item->layout->kind != ControlKind::kRadio) {
    return false;
  }
  switch (msg.wParam) {
    case VK_LEFT:
    case VK_UP:
      return StepRadio(*item, -1);
    case VK_RIGHT:
    case VK_DOWN:
      return StepRadio(*item, 1);
    default:
      return false;
  }
}

// The next (previous) control of the tab chain that is shown and a tab stop.
bool Win32MainWindow::Tab(bool backwards) {
  if (tab_chain_.empty()) return false;
  const HWND focus = GetFocus();
  const auto n = static_cast<std::ptrdiff_t>(tab_chain_.size());
  std::ptrdiff_t at = -1;
  for (std::ptrdiff_t i = 0; i < n; ++i) {
    if (tab_chain_[static_cast<size_t>(i)]->hwnd == focus) at = i;
  }
  if (at < 0 && focus != surface_.Handle()) return false;
  if (at < 0) at = backwards ? 0 : -1;
  for (std::ptrdiff_t step = 1; step <= n; ++step) {
    const std::ptrdiff_t i = (at + (backwards ? -step : step) + 2 * n) % n;
    Item& next = *tab_chain_[static_cast<size_t>(i)];
    if (next.control->tab_stop && IsWindowVisible(next.hwnd)) {
      FocusControl(*next.control);
      return true;
    }
  }
  return true;
}

// The arrow keys move to the next (or previous) button of the group and
// check it.
bool Win32MainWindow::StepRadio(Item& radio, int direction) {
  Control* next = NextRadio(form_, *radio.control, direction);
  if (next == nullptr) return false;
  Item& target = ItemOf(*next);
  SetFocus(target.hwnd);
  ClickRadio(target);
  return true;
}

void Win32MainWindow::ClickRadio(Item& radio) {
  Run([&form = form_, &radio] {
    if (!radio.control->checked) form.CheckMarket(*radio.control);
  });
}

void Win32MainWindow::FocusControl(Control& control) {
  const HWND hwnd = ItemOf(control).hwnd;
  if (hwnd == nullptr) return;
  SetFocus(hwnd);
  if (control.layout->kind == ControlKind::kEdit) {
    SendMessageW(hwnd, EM_SETSEL, 0, -1);
  }
}

// The focus the window had when it went inactive comes back with it; when it
// first becomes active, the first control in tab order gets it.
bool Win32MainWindow::OnActivate(WPARAM wp) {
  if (LOWORD(wp) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(surface_.Handle(), focus)) {
      last_focus_ = focus;
    }
    return false;
  }
  if (!focused_once_) {
    focused_once_ = true;
    SetFocus(surface_.Handle());
    Tab(false);
    return true;
  }
  if (last_focus_ == nullptr) return false;
  SetFocus(last_focus_);
  return true;
}

}  // namespace qilo
