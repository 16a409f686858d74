#include "app/win32/edit_field.h"

#include <commctrl.h>

#include <algorithm>

#include "app/fit_font.h"
#include "app/win32/checked.h"
#include "app/win32/handles.h"
#include "app/win32/main_window.h"
#include "text/gbk.h"

namespace qilo {
namespace {

constexpr UINT_PTR kSubclassId = 1;

// The messages after which the edit has drawn its text again, outside
// WM_PAINT too as the caret and the selection move: the cut mark goes back
// over it.
bool RedrawsText(UINT msg) {
  switch (msg) {
    case WM_PAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_TIMER:
    case WM_KEYDOWN:
    case EM_SETSEL:
      return true;
    default:
      return false;
  }
}

// The clipboard's text; empty when it holds none or another program has it.
std::wstring ClipboardText(HWND owner) {
  const ClipboardScope clipboard(owner);
  if (!clipboard.Opened()) return {};
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (data == nullptr) return {};
  const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
  if (text == nullptr) return {};
  std::wstring copy = text;
  GlobalUnlock(data);
  return copy;
}

}  // namespace

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(
      GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

EditField::EditField(Win32MainWindow& window, Item& item, HWND parent)
    : window_(window),
      item_(item),
      hwnd_(CreateChild(L"EDIT",
                        WS_CLIPSIBLINGS | WS_BORDER | ES_AUTOHSCROLL |
                            (item.control->visible ? WS_VISIBLE : 0),
                        0, parent, item.layout->name, window.PlaceOf(item),
                        GbkToUtf16(item.control->text).text)),
      font_px_(window.FontPx(item.layout->font)) {
  Checked(std::string("subclass the window ") + item.layout->name, [&] {
    return SetWindowSubclass(hwnd_, Proc, kSubclassId,
                             reinterpret_cast<DWORD_PTR>(this));
  });
  // The frame was reckoned at creation, before the bevel's width was ours.
  if (Border() > 1) {
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                     SWP_FRAMECHANGED);
  }
}

void EditField::Show(const ControlChanges& changes) {
  const Control& c = *item_.control;
  if (changes.read_only) SendMessageW(hwnd_, EM_SETREADONLY, c.read_only, 0);
  if (changes.text) {
    if (WindowText(hwnd_) != item_.text) {
      Checked(std::string("show the text of ") + item_.layout->name,
              [&] { return SetWindowTextW(hwnd_, item_.text.c_str()); });
    }
    // A text set by program is shown from its first character.
    SendMessageW(hwnd_, EM_SETSEL, 0, 0);
  }
  if (changes.text || changes.read_only || changes.place) FitFont();
  if (changes.font_colour) InvalidateRect(hwnd_, nullptr, TRUE);
}

void EditField::Rescale() {
  font_px_ = 0;
  FitFont();
}

LRESULT CALLBACK EditField::Proc(HWND, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                 DWORD_PTR data) {
  auto* field = reinterpret_cast<EditField*>(data);
  return field->window_.Guarded([&] { return field->Handle(msg, wp, lp); });
}

LRESULT EditField::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  const Handlers& on = item_.layout->on;
  switch (msg) {
    case WM_KEYDOWN:
      if (on.key_down != nullptr) {
        TFrmMain& form = window_.Form();
        const int key = static_cast<int>(wp);
        window_.Run([&form, f = on.key_down, key] { (form.*f)(key); });
      }
      break;
    case WM_KEYUP:
      if (on.key_up != nullptr) window_.Call(on.key_up);
      break;
    case WM_CHAR:
      return OnChar(static_cast<wchar_t>(wp), lp);
    case WM_PASTE:
      if (item_.control->read_only) break;
      Paste();
      return 0;
    case WM_NCCALCSIZE:
      // The bevel grows with the scale; WS_BORDER gives one pixel.
      if (Border() > 1) {
        // Either message form starts with the window's rectangle.
        auto* r = reinterpret_cast<RECT*>(lp);
        InflateRect(r, -Border(), -Border());
        return 0;
      }
      break;
    case WM_NCPAINT:
      PaintBevel();
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd_, Proc, kSubclassId);
      return DefSubclassProc(hwnd_, msg, wp, lp);
    default:
      break;
  }
  const LRESULT result = DefSubclassProc(hwnd_, msg, wp, lp);
  if (cut_ && RedrawsText(msg)) PaintCutMark();
  return result;
}

// A character beyond the basic plane (an emoji) comes as two surrogates, one
// message each. GBK holds none of them: the first is passed over, the second
// refused, so that the user hears of it once.
LRESULT EditField::OnChar(wchar_t unit, LPARAM lp) {
  if (IS_HIGH_SURROGATE(unit)) return 0;
  const std::wstring typed(1, unit);
  if (item_.layout->on.key_press != nullptr && !PassesKeyFilter(typed)) {
    return 0;
  }
  if (unit >= L' ' && !item_.control->read_only && Admit(typed).utf8.empty()) {
    return 0;
  }
  return DefSubclassProc(hwnd_, WM_CHAR, unit, lp);
}

// The key filter sees the character as the ANSI code page gives it: one from
// outside ASCII as its first GBK byte (or "?" when GBK has none).
bool EditField::PassesKeyFilter(const std::wstring& typed) {
  const std::string bytes = Utf16ToGbk(typed).text;
  char key = bytes.empty() ? '?' : bytes.front();
  TFrmMain& form = window_.Form();
  window_.Run(
      [&form, f = item_.layout->on.key_press, &key] { (form.*f)(key); });
  return key != 0;
}

// What the field takes of `offered` at its cursor; the user is told of the
// characters left out for want of a GBK code.
AdmittedText EditField::Admit(const std::wstring& offered) {
  const AdmittedText admitted = AdmitText(Utf16ToUtf8(offered).text, Room());
  if (admitted.uncoded) window_.Call(&TFrmMain::RefuseUncodedInput);
  return admitted;
}

void EditField::Paste() {
  const AdmittedText admitted = Admit(ClipboardText(hwnd_));
  if (admitted.utf8.empty()) return;
  const std::wstring kept = Utf8ToUtf16(admitted.utf8).text;
  SendMessageW(hwnd_, EM_REPLACESEL, TRUE,
               reinterpret_cast<LPARAM>(kept.c_str()));
}

long EditField::Room() const {
  DWORD from = 0;
  DWORD to = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
               reinterpret_cast<LPARAM>(&to));
  const std::wstring text = WindowText(hwnd_);
  const size_t start = std::min<size_t>(from, text.size());
  const size_t end = std::clamp<size_t>(to, start, text.size());
  return EditRoom(item_.control->max_length, Utf16ToGbk(text).text,
                  Utf16ToGbk(Utf16View(text).substr(start, end - start)).text);
}

// A read-only field shrinks its font until the whole text fits its room.
void EditField::FitFont() {
  const FontSpec& font = item_.layout->font;
  const int layout_px = window_.FontPx(font);
  int px = layout_px;
  bool cut = false;
  if (item_.control->read_only) {
    // The formatting rectangle: the client area less the font's margins.
    RECT format = {};
    SendMessageW(hwnd_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const WindowDc dc(hwnd_);
    const FittedFont fitted = FitFontSize(
        layout_px, window_.Px(kFitFontFloorPx),
        format.right - format.left - window_.Px(1), [&](int size) {
          return static_cast<int>(
              TextExtent(dc.Get(), window_.Fonts().Get(font, size), item_.text)
                  .cx);
        });
    px = fitted.pixel_size;
    cut = !fitted.fits;
  }
  if (cut != cut_) {
    cut_ = cut;
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
  if (px == font_px_) return;
  font_px_ = px;
  SendMessageW(hwnd_, WM_SETFONT,
               reinterpret_cast<WPARAM>(window_.Fonts().Get(font, px)), TRUE);
  SendMessageW(hwnd_, EM_SETSEL, 0, 0);
}

// Whole pixels only: a bevel rounded up from 1.5 would take the room a
// result needs at its full font size.
int EditField::Border() const { return FrameLine(window_.Dpi()); }

// The flat one-pixel bevel instead of the sunken border.
void EditField::PaintBevel() const {
  const WindowDc dc(hwnd_, true);
  RECT r;
  GetWindowRect(hwnd_, &r);
  OffsetRect(&r, -r.left, -r.top);
  for (int i = 0; i < Border(); ++i) {
    FrameRect(dc.Get(), &r, GetSysColorBrush(COLOR_BTNSHADOW));
    InflateRect(&r, -1, -1);
  }
}

// The text goes on beyond the right edge: say so rather than let the leading
// digits pass for the whole amount. Drawn over the edit's own painting,
// inside the frame, which the edit may draw in its client area.
void EditField::PaintCutMark() const {
  RECT client;
  GetClientRect(hwnd_, &client);
  InflateRect(&client, -window_.Px(1), -window_.Px(1));
  const WindowDc dc(hwnd_);
  const Selection selected(dc.Get(),
                           window_.Fonts().Get(item_.layout->font, font_px_));
  const wchar_t mark[] = L"\x2026";
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc.Get(), mark, 1, &size);
  RECT r = {client.right - size.cx - window_.Px(2), client.top, client.right,
            client.bottom};
  FillRect(dc.Get(), &r, GetSysColorBrush(COLOR_WINDOW));
  SetTextColor(dc.Get(), ToColorRef(item_.control->font_colour));
  SetBkMode(dc.Get(), TRANSPARENT);
  DrawTextW(dc.Get(), mark, 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace qilo
