// The main window's part of the front-end protocol: control state to the
// windows after a handler, and the texts the user changed back into the
// controls before one.
#include <windows.h>
// commctrl.h after windows.h.
#include <commctrl.h>

#include <string>
#include <utility>

#include "app/caption_ink.h"
#include "app/win32/checked.h"
#include "app/win32/edit_field.h"
#include "app/win32/main_window.h"
#include "app/win32/win32_desktop.h"
#include "text/gbk.h"

namespace qilo {

void Win32MainWindow::ReadEdits() {
  if (closed_) return;
  for (Item& item : items_) {
    if (!item.edit) continue;
    std::wstring text = WindowText(item.hwnd);
    if (text == item.text) continue;
    UserChangedText(*item.control, Utf16ToGbk(text).text);
    item.text = std::move(text);
  }
}

// Nothing is left to show on once the window has closed under a handler.
void Win32MainWindow::Show(const ControlSpec& layout, Control& c,
                           const ControlChanges& changes) {
  if (closed_) return;
  Item& item = ItemOf(c);
  if (layout.kind == ControlKind::kTimer) {
    if (changes.timer) ShowTimer(item);
    return;
  }
  if (changes.text) item.text = GbkToUtf16(c.text).text;
  if (changes.hint) item.hint = GbkToUtf16(c.hint).text;
  if (item.hwnd == nullptr) {
    ShowGraphic(item, changes);
  } else {
    ShowWindowed(item, changes);
  }
  if (layout.show_hint &&
      (changes.hint || changes.place || changes.visible || changes.text)) {
    ShowTool(item);
  }
  if (changes.cursor) RefreshCursor();
}

// A graphic control is drawn by its surface, which paints again.
void Win32MainWindow::ShowGraphic(Item& item, const ControlChanges& changes) {
  if (item.layout->kind == ControlKind::kLabel && changes.text) {
    MeasureLabel(item);
  }
  if (changes.text || changes.place || changes.visible || changes.font_colour) {
    item.owner->Invalidate();
  }
}

// A window is placed before anything else: an edit field fits its font to
// the room it has.
void Win32MainWindow::ShowWindowed(Item& item, const ControlChanges& changes) {
  const Control& c = *item.control;
  const std::string name = item.layout->name;
  if (changes.place) PlaceWindow(item);
  switch (item.layout->kind) {
    case ControlKind::kEdit:
      item.edit->Show(changes);
      break;
    case ControlKind::kRadio:
      if (changes.text && WindowText(item.hwnd) != item.text) {
        Checked("show the text of " + name,
                [&] { return SetWindowTextW(item.hwnd, item.text.c_str()); });
      }
      if (changes.checked) {
        SendMessageW(item.hwnd, BM_SETCHECK,
                     c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      break;
    default:
      // The group box paints its caption itself.
      if (changes.text) item.surface->Invalidate();
      break;
  }
  const bool shown = GetWindowLongW(item.hwnd, GWL_STYLE) & WS_VISIBLE;
  if (changes.visible && shown != c.visible) {
    ShowWindow(item.hwnd, c.visible ? SW_SHOWNA : SW_HIDE);
  }
  if (!c.visible && GetFocus() == item.hwnd) Tab(false);
}

RECT Win32MainWindow::PlaceOf(const Item& item) const {
  const Control& c = *item.control;
  return ScaledRect(c.left, c.top, c.width, c.height, dpi_);
}

// A window already there (made there) is not moved again.
void Win32MainWindow::PlaceWindow(Item& item) {
  const RECT r = PlaceOf(item);
  RECT now;
  GetWindowRect(item.hwnd, &now);
  MapWindowPoints(nullptr, GetParent(item.hwnd), reinterpret_cast<POINT*>(&now),
                  2);
  if (EqualRect(&now, &r)) return;
  Checked(std::string("place the window ") + item.layout->name, [&] {
    return SetWindowPos(item.hwnd, nullptr, r.left, r.top, r.right - r.left,
                        r.bottom - r.top,
                        SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  });
}

// The window moved to a monitor of other dots per inch, or the user changed
// them: it takes the place the system suggests and lays out and measures
// everything again at the new scale.
void Win32MainWindow::ChangeDpi(int dpi, const RECT& place) {
  dpi_ = dpi;
  SetWindowPos(main_.Get(), nullptr, place.left, place.top,
               place.right - place.left, place.bottom - place.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  for (Item& item : items_) {
    if (item.layout->kind == ControlKind::kTimer) continue;
    if (item.hwnd != nullptr) {
      SendMessageW(item.hwnd, WM_SETFONT,
                   reinterpret_cast<WPARAM>(FontOf(item.layout->font)), FALSE);
      PlaceWindow(item);
      if (item.edit) item.edit->Rescale();
    } else if (item.layout->kind == ControlKind::kLabel) {
      MeasureLabel(item);
    }
    if (item.layout->kind == ControlKind::kPicture) {
      item.picture = LoadPicture(instance_, item.layout->picture, dpi_);
    }
    if (item.layout->show_hint) ShowTool(item);
  }
  ShowIcons();
  // The hand in slot 1, if any, again at the cursor size for these dots.
  if (desktop_.HandCursor() != nullptr) desktop_.LoadHandCursor();
  RedrawWindow(main_.Get(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Win32MainWindow::ShowTimer(Item& item) {
  const Control& c = *item.control;
  if (c.enabled && c.interval > 0) {
    Checked(std::string("start the timer ") + item.layout->name, [&] {
      return SetTimer(surface_.Handle(), item.timer_id,
                      static_cast<UINT>(c.interval), nullptr);
    });
  } else {
    KillTimer(surface_.Handle(), item.timer_id);
  }
}

// A tooltip the system could not take is offered again at the next change.
void Win32MainWindow::ShowTool(Item& item) {
  if (tooltip_ == nullptr) return;
  TTTOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = item.owner->Handle();
  tool.hinst = instance_;
  tool.lpszText = item.hint.data();
  if (item.hwnd != nullptr) {
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.uId = reinterpret_cast<UINT_PTR>(item.hwnd);
  } else {
    tool.uFlags = TTF_SUBCLASS;
    tool.uId = reinterpret_cast<UINT_PTR>(&item);
    // A hidden control has no place to rest on.
    tool.rect = item.control->visible ? DrawRect(item, dpi_) : RECT{0, 0, 0, 0};
  }
  if (!item.tool_added) {
    item.tool_added = SendMessageW(tooltip_, TTM_ADDTOOLW, 0,
                                   reinterpret_cast<LPARAM>(&tool));
    return;
  }
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0,
               reinterpret_cast<LPARAM>(&tool));
  if (item.hwnd == nullptr) {
    SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0,
                 reinterpret_cast<LPARAM>(&tool));
  }
}

// Labels size themselves to their caption in their font.
void Win32MainWindow::MeasureLabel(Item& item) {
  const FontSpec& font = item.layout->font;
  const HFONT handle = FontOf(font);
  // One memory DC for all captions: getting and releasing the screen's for
  // each cost a round trip to the system apiece.
  if (!measure_dc_) {
    measure_dc_.Reset(Checked("measure the captions",
                              [] { return CreateCompatibleDC(nullptr); }));
  }
  item.extent = TextExtent(measure_dc_.Get(), handle, item.text);
  if (IsFullStop(*item.layout)) {
    item.ink_left = InkLeft(handle, item.text, item.extent);
  }
}

// The pointer can be over the window only once it shows.
void Win32MainWindow::RefreshCursor() {
  if (!IsWindowVisible(main_.Get())) return;
  POINT p;
  GetCursorPos(&p);
  const HWND over = WindowFromPoint(p);
  const HWND main = main_.Get();
  if (over == nullptr || (over != main && !IsChild(main, over))) return;
  SendMessageW(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

}  // namespace qilo
