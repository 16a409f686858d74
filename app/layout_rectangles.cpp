// Prints every control's rectangle as the headless window lays it out, a
// line each in table order: name, parent, left,top in the parent, width x
// height, and the top-left corner in the window. Timers have none.
#include <cstdio>
#include <string_view>

#include "app/frm_main.h"
#include "app/layout.h"
#include "app/recording_desktop.h"

namespace {

// The corner of `control` in the window: its own place plus its parents'.
void WindowCorner(const qilo::TFrmMain& form, const qilo::Control& control,
                  int* x, int* y) {
  *x = control.left;
  *y = control.top;
  for (const char* parent = control.layout->parent; parent != nullptr;) {
    const qilo::ControlSpec* entry = nullptr;
    for (const qilo::ControlSpec& s : qilo::Layout()) {
      if (std::string_view(s.name) == parent) entry = &s;
    }
    const qilo::Control& p = form.*entry->member;
    *x += p.left;
    *y += p.top;
    parent = entry->parent;
  }
}

}  // namespace

int main() {
  qilo::RecordingDesktop desktop;
  const qilo::TFrmMain form(desktop);
  std::printf("window %dx%d\n", qilo::kWindowWidth, qilo::kWindowHeight);
  for (const qilo::ControlSpec& s : qilo::Layout()) {
    if (s.kind == qilo::ControlKind::kTimer) continue;
    const qilo::Control& c = form.*s.member;
    int x = 0;
    int y = 0;
    WindowCorner(form, c, &x, &y);
    std::printf("%s %s %d,%d %dx%d at %d,%d\n", s.name,
                s.parent != nullptr ? s.parent : "-", c.left, c.top, c.width,
                c.height, x, y);
  }
  return 0;
}
