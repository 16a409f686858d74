#include "app/win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#include "app/caption_ink.h"
#include "app/fit_font.h"
#include "app/hit_test.h"
#include "app/result_fields.h"
#include "app/run_handler.h"
#include "app/win32/wide.h"
#include "app/win32/win32_desktop.h"
#include "app/window_order.h"
#include "text/gbk.h"

namespace qilo {
namespace {

constexpr wchar_t kSurfaceClass[] = L"TFrmMain";
constexpr wchar_t kPanelClass[] = L"TQiloPanel";
constexpr wchar_t kAppClass[] = L"TApplication";

COLORREF ToColorRef(Colour c) {
  if (IsSystemColour(c)) return GetSysColor(SystemColourIndex(c));
  return static_cast<COLORREF>(c);
}

BYTE CharsetOf(Charset charset) {
  switch (charset) {
    case Charset::kGb2312:
      return GB2312_CHARSET;
    case Charset::kAnsi:
      return ANSI_CHARSET;
    case Charset::kDefault:
      break;
  }
  return DEFAULT_CHARSET;
}

// The layout names bitmaps by file ("edge_right.bmp"); the resource script
// names them without the extension, in capitals ("EDGE_RIGHT").
std::wstring PictureResource(const char* file) {
  std::wstring name;
  for (const char* p = file; *p != '\0' && *p != '.'; ++p) {
    name += static_cast<wchar_t>(*p >= 'a' && *p <= 'z' ? *p - 32 : *p);
  }
  return name;
}

SIZE TextExtent(HDC dc, HFONT font, const std::wstring& text) {
  const HGDIOBJ old = SelectObject(dc, font);
  SIZE size = {0, 0};
  if (text.empty()) {
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    size.cy = metrics.tmHeight;
  } else {
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()),
                          &size);
  }
  SelectObject(dc, old);
  return size;
}

// The first column of ink of `text` when a label draws it at x = 0 in `font`
// (in whatever face the platform draws it with): negative when the ink
// begins left of the pen, 0 when there is none.
int InkLeft(HFONT font, const std::wstring& text, SIZE extent) {
  constexpr int kMargin = 16;
  const int width = static_cast<int>(extent.cx) + 2 * kMargin;
  const int height = std::max(static_cast<int>(extent.cy), 1);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC dc = CreateCompatibleDC(nullptr);
  const HBITMAP bitmap =
      CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) {
    DeleteDC(dc);
    return 0;
  }
  const HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
  const HGDIOBJ old_font = SelectObject(dc, font);
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  RECT at = {kMargin, 0, width, height};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &at,
            DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
  GdiFlush();
  const auto* pixels = static_cast<const DWORD*>(bits);
  int first = -1;
  for (int x = 0; x < width && first < 0; ++x) {
    for (int y = 0; y < height; ++y) {
      if ((pixels[y * width + x] & 0xFFFFFF) != 0xFFFFFF) {
        first = x;
        break;
      }
    }
  }
  SelectObject(dc, old_font);
  SelectObject(dc, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return first < 0 ? 0 : first - kMargin;
}

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(
      GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The text of a single-line paste: up to its first line break.
std::wstring ClipboardLine(HWND owner) {
  std::wstring text;
  if (!OpenClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  const size_t br = text.find_first_of(L"\r\n");
  if (br != std::wstring::npos) text.resize(br);
  return text;
}

// With QILO_STARTUP_PROBE naming a file, the first painted frame writes its
// wall-clock time there (nanoseconds since 1970) and the program ends.
void ReportFirstFrame(const char* path) {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  const unsigned long long ticks =
      (static_cast<unsigned long long>(now.dwHighDateTime) << 32) |
      now.dwLowDateTime;
  const unsigned long long unix_ns = (ticks - 116444736000000000ULL) * 100ULL;
  if (FILE* f = std::fopen(path, "wb")) {
    std::fprintf(f, "first_frame_ns=%llu\n", unix_ns);
    std::fclose(f);
  }
}

}  // namespace

MainWindow::MainWindow(TFrmMain& form, Win32Desktop& desktop)
    : form_(form),
      desktop_(desktop),
      instance_(GetModuleHandleW(nullptr)),
      cream_(CreateSolidBrush(ToColorRef(kWindowColour))) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  const HICON icon = LoadIconW(instance_, L"MAINICON");

  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = SurfaceProc;
  wc.hInstance = instance_;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = icon;
  wc.lpszClassName = kSurfaceClass;
  RegisterClassExW(&wc);
  wc.lpszClassName = kPanelClass;
  wc.hIcon = nullptr;
  RegisterClassExW(&wc);
  wc.lpfnWndProc = AppProc;
  wc.hIcon = icon;
  wc.lpszClassName = kAppClass;
  RegisterClassExW(&wc);

  // The task bar shows this window, titled by the application; the main
  // window is owned by it and keeps its own caption as its window text.
  const std::wstring title = WideFromUtf8(kApplicationTitle);
  const int screen_w = GetSystemMetrics(SM_CXSCREEN);
  const int screen_h = GetSystemMetrics(SM_CYSCREEN);
  app_ = CreateWindowExW(0, kAppClass, title.c_str(),
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                         screen_w / 2, screen_h / 2, 0, 0, nullptr, nullptr,
                         instance_, this);

  Surface& window = surfaces_.emplace_back();
  const std::wstring caption = WideFromUtf8(kWindowCaption);
  hwnd_ = CreateWindowExW(
      0, kSurfaceClass, caption.c_str(), WS_POPUP | WS_CLIPCHILDREN,
      (screen_w - kWindowWidth) / 2, (screen_h - kWindowHeight) / 2,
      kWindowWidth, kWindowHeight, app_, nullptr, instance_, &window);
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

  for (const ControlSpec& layout : Layout()) {
    Item& item = items_.emplace_back();
    item.layout = &layout;
    item.control = &(form_.*layout.member);
    by_control_[item.control] = &item;
  }
  // Built bottom first within each parent, so that every surface exists
  // before its children and the stacking order is the creation order.
  std::vector<Surface*> pending = {&window};
  for (size_t i = 0; i < pending.size(); ++i) {
    Surface& s = *pending[i];
    const char* parent = s.item == nullptr ? nullptr : s.item->layout->name;
    for (const ControlSpec* entry : StackingOrder(Layout(), parent)) {
      Item& item = *by_control_[&(form_.*entry->member)];
      item.owner = &s;
      Build(item);
      if (item.surface != nullptr) pending.push_back(item.surface);
    }
  }
  for (Item& item : items_) {
    if (item.layout->kind == ControlKind::kTimer) Build(item);
  }
  for (const ControlSpec* entry : TabChain(Layout())) {
    tab_chain_.push_back(by_control_[&(form_.*entry->member)]);
  }
  BuildTooltips();
  MirrorAll(true);
}

MainWindow::~MainWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (app_ != nullptr) DestroyWindow(app_);
  for (Item& item : items_) {
    if (item.bitmap != nullptr) DeleteObject(item.bitmap);
  }
  for (auto& [key, font] : fonts_) DeleteObject(font);
  DeleteObject(cream_);
}

void MainWindow::Build(Item& item) {
  const ControlSpec& layout = *item.layout;
  const HWND parent = item.owner != nullptr ? item.owner->hwnd : nullptr;
  const Control& c = *item.control;
  const std::wstring text = WideFromUtf8(layout.text);
  item.font_px = layout.font.pixel_size;
  switch (layout.kind) {
    case ControlKind::kPicture: {
      item.bitmap = static_cast<HBITMAP>(
          LoadImageW(instance_, PictureResource(layout.picture).c_str(),
                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
      BITMAP info;
      if (item.bitmap != nullptr &&
          GetObjectW(item.bitmap, sizeof info, &info) != 0) {
        item.bitmap_size = {info.bmWidth, info.bmHeight};
        const HDC dc = CreateCompatibleDC(nullptr);
        const HGDIOBJ old = SelectObject(dc, item.bitmap);
        item.key_colour = GetPixel(dc, 0, info.bmHeight - 1);
        SelectObject(dc, old);
        DeleteDC(dc);
      }
      [[fallthrough]];
    }
    case ControlKind::kLabel:
    case ControlKind::kFlatButton:
      item.owner->graphic.push_back(&item);
      item.owner->controls.push_back(item.control);
      return;
    case ControlKind::kPanel:
    case ControlKind::kGroupBox: {
      Surface& s = surfaces_.emplace_back();
      s.item = &item;
      item.surface = &s;
      item.hwnd = CreateWindowExW(
          WS_EX_CONTROLPARENT, kPanelClass, text.c_str(),
          WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, c.left,
          c.top, c.width, c.height, parent, nullptr, instance_, &s);
      break;
    }
    case ControlKind::kEdit: {
      DWORD style =
          WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | ES_AUTOHSCROLL;
      if (c.read_only) style |= ES_READONLY;
      item.hwnd = CreateWindowExW(0, L"EDIT", text.c_str(), style, c.left,
                                  c.top, c.width, c.height, parent, nullptr,
                                  instance_, nullptr);
      SetWindowSubclass(item.hwnd, EditProc, 1,
                        reinterpret_cast<DWORD_PTR>(this));
      break;
    }
    case ControlKind::kRadio:
      item.hwnd = CreateWindowExW(
          0, L"BUTTON", text.c_str(),
          WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_RADIOBUTTON, c.left,
          c.top, c.width, c.height, parent, nullptr, instance_, nullptr);
      break;
    case ControlKind::kTimer:
      item.timer_id = static_cast<UINT_PTR>(&item - &items_.front()) + 1;
      return;
  }
  by_hwnd_[item.hwnd] = &item;
  SendMessageW(item.hwnd, WM_SETFONT,
               reinterpret_cast<WPARAM>(FontFor(layout.font, item.font_px)),
               FALSE);
}

// One tooltip window for every control whose hint is shown: the windowed
// ones by their window, the graphic ones by their rectangle on the surface.
void MainWindow::BuildTooltips() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, hwnd_, nullptr, instance_, nullptr);
  // A width makes the tooltip break lines at "\r\n".
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
}

HFONT MainWindow::FontFor(const FontSpec& font, int px) {
  const auto key =
      std::make_tuple(std::string(font.face), px, font.bold, font.underline,
                      static_cast<int>(font.charset));
  auto [it, added] = fonts_.try_emplace(key, nullptr);
  if (added) {
    const std::wstring face = WideFromUtf8(font.face);
    it->second = CreateFontW(
        -px, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, font.underline,
        FALSE, CharsetOf(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
        DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  }
  return it->second;
}

int MainWindow::Exec() {
  Call(&TFrmMain::FormShow);
  ShowWindow(app_, SW_SHOWNORMAL);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  SetForegroundWindow(hwnd_);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB &&
        Tab(GetKeyState(VK_SHIFT) < 0)) {
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

// The next (previous) control of the tab chain that is shown and a tab stop.
bool MainWindow::Tab(bool backwards) {
  if (tab_chain_.empty()) return false;
  const HWND focus = GetFocus();
  const auto n = static_cast<std::ptrdiff_t>(tab_chain_.size());
  std::ptrdiff_t at = -1;
  for (std::ptrdiff_t i = 0; i < n; ++i) {
    if (tab_chain_[static_cast<size_t>(i)]->hwnd == focus) at = i;
  }
  if (at < 0 && focus != hwnd_) return false;
  for (std::ptrdiff_t step = 1; step <= n; ++step) {
    const std::ptrdiff_t i = ((at < 0 ? (backwards ? 0 : -1) : at) +
                              (backwards ? -step : step) + 2 * n) %
                             n;
    Item& next = *tab_chain_[static_cast<size_t>(i)];
    if (next.control->tab_stop && IsWindowVisible(next.hwnd)) {
      FocusControl(*next.control);
      return true;
    }
  }
  return true;
}

void MainWindow::Call(void (TFrmMain::*handler)()) {
  Run([this, handler] { (form_.*handler)(); });
}

void MainWindow::Run(const std::function<void()>& handler) {
  SyncFromEdits();
  ++running_;
  const std::optional<std::string> error = CatchHandlerError(handler);
  --running_;
  if (error) {
    ++errors_;
    last_error_ = *error;
  }
  MirrorAll(false);
  DumpFields();
  if (error) {
    desktop_.ShowError(*error);
    MirrorAll(false);
  }
}

// With QILO_DUMP_FIELDS naming a file, the result fields, the buy price and
// the handlers' errors (how many, the last one's text) are written there
// whenever a handler has changed them (what the window test reads back).
void MainWindow::DumpFields() {
  static const char* const path = std::getenv("QILO_DUMP_FIELDS");
  if (path == nullptr || *path == '\0') return;
  std::string lines = ResultFieldLines(form_);
  // The font each result field fitted its text in, and whether it is cut.
  for (const Item& item : items_) {
    const Control* c = item.control;
    if (c != &form_.EdCostBuy && c != &form_.EdCostSell &&
        c != &form_.EdProfit) {
      continue;
    }
    lines += std::string(item.layout->name) +
             ".font=" + std::to_string(item.font_px) + "px" +
             (item.cut ? " cut" : "") + "\n";
  }
  lines += "EdPriceBuy=" + OneLine(form_.EdPriceBuy.text) + "\n";
  if (errors_ > 0) {
    lines += "errors=" + std::to_string(errors_) +
             "\nerror=" + OneLine(last_error_) + "\n";
  }
  if (lines == dumped_) return;
  dumped_ = std::move(lines);
  if (FILE* f = std::fopen(path, "wb")) {
    std::fwrite(dumped_.data(), 1, dumped_.size(), f);
    std::fclose(f);
  }
}

void MainWindow::SyncFromEdits() {
  for (Item& item : items_) {
    if (item.layout->kind != ControlKind::kEdit) continue;
    std::wstring text = WindowText(item.hwnd);
    if (text == item.text) continue;
    item.control->text = GbkFromWide(text);
    item.shown.text = item.control->text;
    item.text = std::move(text);
  }
}

void MainWindow::MirrorAll(bool force) {
  for (Item& item : items_) Mirror(item, force);
}

RECT MainWindow::DrawRect(const Item& item) const {
  const Control& c = *item.control;
  int width = c.width;
  int height = c.height;
  if (item.layout->kind == ControlKind::kPicture &&
      item.layout->picture_mode != PictureMode::kStretch &&
      item.bitmap != nullptr) {
    width = item.bitmap_size.cx;
    height = item.bitmap_size.cy;
  } else if (item.layout->kind == ControlKind::kLabel) {
    // Auto-size: the caption's size, never less than the layout's.
    width = std::max(width, static_cast<int>(item.extent.cx));
    height = std::max(height, static_cast<int>(item.extent.cy));
  }
  return RECT{c.left, c.top, c.left + width, c.top + height};
}

void MainWindow::Mirror(Item& item, bool force) {
  const Control& c = *item.control;
  Control& shown = item.shown;
  force = force || !item.ever_shown;
  item.ever_shown = true;
  const ControlKind kind = item.layout->kind;
  if (kind == ControlKind::kTimer) {
    MirrorTimer(item, force);
    return;
  }
  const bool text_changed = force || c.text != shown.text;
  const bool moved = force || c.left != shown.left || c.top != shown.top ||
                     c.width != shown.width || c.height != shown.height;
  const bool hint_changed = force || c.hint != shown.hint;
  const bool visible_changed = force || c.visible != shown.visible;
  if (text_changed) item.text = WideFromGbk(c.text);
  if (hint_changed) item.hint = WideFromGbk(c.hint);

  if (item.hwnd == nullptr) {
    // Graphic: repaint the surface it lies on when anything drawn changed.
    if (kind == ControlKind::kLabel && text_changed) {
      const HFONT font = FontFor(item.layout->font, item.font_px);
      const HDC dc = GetDC(nullptr);
      item.extent = TextExtent(dc, font, item.text);
      ReleaseDC(nullptr, dc);
      if (IsFullStop(*item.layout)) {
        item.ink_left = InkLeft(font, item.text, item.extent);
      }
    }
    if (text_changed || moved || visible_changed ||
        c.font_colour != shown.font_colour ||
        c.transparent != shown.transparent) {
      InvalidateRect(item.owner->hwnd, nullptr, FALSE);
    }
  } else {
    if (kind == ControlKind::kEdit) {
      if (force || c.read_only != shown.read_only) {
        SendMessageW(item.hwnd, EM_SETREADONLY, c.read_only, 0);
      }
      if (text_changed) {
        // A text set by program is shown from its first character.
        SetWindowTextW(item.hwnd, item.text.c_str());
        SendMessageW(item.hwnd, EM_SETSEL, 0, 0);
      }
      if (text_changed || force || c.read_only != shown.read_only) {
        FitEditFont(item);
      }
      if (force || c.font_colour != shown.font_colour) {
        InvalidateRect(item.hwnd, nullptr, TRUE);
      }
    } else if (text_changed) {
      SetWindowTextW(item.hwnd, item.text.c_str());
    }
    if (kind == ControlKind::kRadio) {
      const WPARAM check = c.checked ? BST_CHECKED : BST_UNCHECKED;
      if (static_cast<WPARAM>(SendMessageW(item.hwnd, BM_GETCHECK, 0, 0)) !=
          check) {
        SendMessageW(item.hwnd, BM_SETCHECK, check, 0);
      }
    }
    if (moved) {
      SetWindowPos(item.hwnd, nullptr, c.left, c.top, c.width, c.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (visible_changed) ShowWindow(item.hwnd, c.visible ? SW_SHOWNA : SW_HIDE);
    if (!c.visible && GetFocus() == item.hwnd) Tab(false);
  }
  const bool cursor_changed = c.cursor != shown.cursor;
  if (item.layout->show_hint &&
      (hint_changed || moved || visible_changed || text_changed)) {
    shown = c;
    MirrorTool(item);
  }
  shown = c;
  if (cursor_changed) RefreshCursor();
}

void MainWindow::MirrorTimer(Item& item, bool force) {
  const Control& c = *item.control;
  const bool run = c.enabled && c.interval > 0;
  if (force || run != item.timer_running || c.interval != item.shown.interval) {
    if (run) {
      SetTimer(hwnd_, item.timer_id, static_cast<UINT>(c.interval), nullptr);
    } else {
      KillTimer(hwnd_, item.timer_id);
    }
    item.timer_running = run;
  }
  item.shown = c;
}

void MainWindow::MirrorTool(Item& item) {
  TTTOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = item.owner->hwnd;
  tool.hinst = instance_;
  tool.lpszText = item.hint.data();
  if (item.hwnd != nullptr) {
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.uId = reinterpret_cast<UINT_PTR>(item.hwnd);
  } else {
    tool.uFlags = TTF_SUBCLASS;
    tool.uId = static_cast<UINT_PTR>(&item - &items_.front()) + 1;
    // A hidden control has no place to rest on.
    tool.rect = item.control->visible ? DrawRect(item) : RECT{0, 0, 0, 0};
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

// A read-only field shrinks its font until the whole text fits its room.
void MainWindow::FitEditFont(Item& item) {
  const FontSpec& font = item.layout->font;
  int px = font.pixel_size;
  bool cut = false;
  if (item.control->read_only) {
    // The formatting rectangle: the client area less the font's margins.
    RECT format;
    SendMessageW(item.hwnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const int room = format.right - format.left - 1;
    const HDC dc = GetDC(item.hwnd);
    const FittedFont fitted =
        FitFontSize(font.pixel_size, kFitFontFloorPx, room, [&](int size) {
          return static_cast<int>(
              TextExtent(dc, FontFor(font, size), item.text).cx);
        });
    ReleaseDC(item.hwnd, dc);
    px = fitted.pixel_size;
    cut = !fitted.fits;
  }
  if (cut != item.cut) {
    item.cut = cut;
    InvalidateRect(item.hwnd, nullptr, TRUE);
  }
  if (px == item.font_px) return;
  item.font_px = px;
  SendMessageW(item.hwnd, WM_SETFONT,
               reinterpret_cast<WPARAM>(FontFor(font, px)), TRUE);
  SendMessageW(item.hwnd, EM_SETSEL, 0, 0);
}

// The text goes on beyond the right edge: say so rather than let the leading
// digits pass for the whole amount. Drawn over the edit's own painting.
void MainWindow::PaintCutMark(const Item& item) {
  // Inside the frame, which the edit may draw in its client area.
  RECT client;
  GetClientRect(item.hwnd, &client);
  InflateRect(&client, -1, -1);
  const HDC dc = GetDC(item.hwnd);
  const HGDIOBJ old_font =
      SelectObject(dc, FontFor(item.layout->font, item.font_px));
  const wchar_t mark[] = L"\x2026";
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc, mark, 1, &size);
  RECT r = {client.right - size.cx - 2, client.top, client.right,
            client.bottom};
  FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
  SetTextColor(dc, ToColorRef(item.control->font_colour));
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, mark, 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old_font);
  ReleaseDC(item.hwnd, dc);
}

MainWindow::Item* MainWindow::ItemAt(Surface& s, int x, int y) {
  Control* c = ControlAt(s.controls, x, y);
  return c == nullptr ? nullptr : by_control_[c];
}

MainWindow::Item* MainWindow::ItemOf(HWND hwnd) {
  const auto it = by_hwnd_.find(hwnd);
  return it == by_hwnd_.end() ? nullptr : it->second;
}

void MainWindow::Paint(Surface& s) {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(s.hwnd, &ps);
  RECT client;
  GetClientRect(s.hwnd, &client);
  // Double-buffered: drawn into a memory bitmap, copied in one go.
  const HDC mem = CreateCompatibleDC(dc);
  const HBITMAP bitmap =
      CreateCompatibleBitmap(dc, client.right, client.bottom);
  const HGDIOBJ old = SelectObject(mem, bitmap);
  FillRect(mem, &client, cream_);
  if (s.item != nullptr && s.item->layout->kind == ControlKind::kGroupBox) {
    PaintGroupFrame(mem, *s.item, client.right, client.bottom);
  }
  SetBkMode(mem, TRANSPARENT);
  for (Item* item : s.graphic) {
    if (item->control->visible) PaintItem(mem, *item, s);
  }
  BitBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bitmap);
  DeleteDC(mem);
  EndPaint(s.hwnd, &ps);
  if (s.item == nullptr && !probe_done_) {
    probe_done_ = true;
    if (const char* path = std::getenv("QILO_STARTUP_PROBE")) {
      ReportFirstFrame(path);
      PostQuitMessage(0);
    }
  }
}

void MainWindow::PaintGroupFrame(HDC dc, const Item& box, int width,
                                 int height) {
  const HGDIOBJ old = SelectObject(dc, FontFor(box.layout->font, box.font_px));
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  RECT frame = {0, metrics.tmHeight / 2, width, height};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (!box.text.empty()) {
    SIZE size;
    GetTextExtentPoint32W(dc, box.text.c_str(),
                          static_cast<int>(box.text.size()), &size);
    RECT caption = {8, 0, 8 + size.cx + 2, metrics.tmHeight};
    FillRect(dc, &caption, cream_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(box.control->font_colour));
    TextOutW(dc, 9, 0, box.text.c_str(), static_cast<int>(box.text.size()));
  }
  SelectObject(dc, old);
}

void MainWindow::PaintItem(HDC dc, Item& item, const Surface& s) {
  const Control& c = *item.control;
  RECT r = DrawRect(item);
  switch (item.layout->kind) {
    case ControlKind::kPicture: {
      if (item.bitmap == nullptr) return;
      const HDC src = CreateCompatibleDC(dc);
      const HGDIOBJ old = SelectObject(src, item.bitmap);
      const SIZE b = item.bitmap_size;
      if (item.layout->picture_mode == PictureMode::kStretch) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, src,
                   0, 0, b.cx, b.cy, SRCCOPY);
      } else if (c.transparent) {
        TransparentBlt(dc, r.left, r.top, b.cx, b.cy, src, 0, 0, b.cx, b.cy,
                       item.key_colour);
      } else {
        BitBlt(dc, r.left, r.top, b.cx, b.cy, src, 0, 0, SRCCOPY);
      }
      SelectObject(src, old);
      DeleteDC(src);
      return;
    }
    case ControlKind::kLabel: {
      // An opaque label fills the rectangle the layout gives it, not its
      // caption's: one wider in the substitute face covers no neighbour
      // (the "。" beside each "%").
      const RECT fill = {c.left, c.top, c.left + c.width, c.top + c.height};
      if (!c.transparent) FillRect(dc, &fill, cream_);
      if (IsRule(*item.layout)) {
        // The underscores as the layout's face sets them: one line.
        const RuleLine line = RuleLineOf(c);
        const RECT stroke = {line.left, line.top, line.left + line.width,
                             line.top + 1};
        const HBRUSH brush = CreateSolidBrush(ToColorRef(c.font_colour));
        FillRect(dc, &stroke, brush);
        DeleteObject(brush);
        return;
      }
      // The full stop's ink where SimSun sets it, clear of the "%" above it.
      if (IsFullStop(*item.layout)) {
        OffsetRect(&r, kFullStopInkLeft - item.ink_left, 0);
      }
      const HGDIOBJ old =
          SelectObject(dc, FontFor(item.layout->font, item.font_px));
      SetTextColor(dc, ToColorRef(c.font_colour));
      DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &r,
                DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
      SelectObject(dc, old);
      return;
    }
    case ControlKind::kFlatButton:
      // Raised while the pointer is over it, sunken while it is held there.
      if (s.pressed == &item && s.hovered == &item) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
      } else if (s.hovered == &item && s.pressed == nullptr) {
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
      }
      return;
    default:
      return;
  }
}

void MainWindow::MouseMove(Surface& s, int x, int y) {
  if (!s.tracking) {
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, s.hwnd, 0};
    s.tracking = TrackMouseEvent(&track);
  }
  Item* at = ItemAt(s, x, y);
  if (at != s.hovered) {
    Item* left = s.hovered;
    s.hovered = at;
    InvalidateRect(s.hwnd, nullptr, FALSE);
    if (left != nullptr && left->layout->on.mouse_leave != nullptr) {
      Call(left->layout->on.mouse_leave);
    }
  }
  if (at != nullptr && at->layout->on.mouse_move != nullptr) {
    Call(at->layout->on.mouse_move);
  }
}

void MainWindow::MouseLeave(Surface& s) {
  s.tracking = false;
  Item* left = std::exchange(s.hovered, nullptr);
  if (left == nullptr) return;
  InvalidateRect(s.hwnd, nullptr, FALSE);
  if (left->layout->on.mouse_leave != nullptr)
    Call(left->layout->on.mouse_leave);
}

void MainWindow::MouseDown(Surface& s, int x, int y) {
  Item* at = ItemAt(s, x, y);
  s.pressed = at;
  if (at == nullptr) return;
  SetCapture(s.hwnd);
  InvalidateRect(s.hwnd, nullptr, FALSE);
  if (at->layout->on.mouse_down != nullptr) Call(at->layout->on.mouse_down);
}

void MainWindow::MouseUp(Surface& s, int x, int y) {
  Item* pressed = std::exchange(s.pressed, nullptr);
  if (GetCapture() == s.hwnd) ReleaseCapture();
  if (pressed == nullptr) return;
  InvalidateRect(s.hwnd, nullptr, FALSE);
  if (ItemAt(s, x, y) == pressed && pressed->layout->on.click != nullptr) {
    Call(pressed->layout->on.click);
  }
  if (pressed->layout->on.mouse_up != nullptr)
    Call(pressed->layout->on.mouse_up);
}

// The capture went elsewhere (an error box, another program) while a control
// was held: it is released, so that a step button stops repeating.
void MainWindow::ReleasePress(Surface& s) {
  Item* pressed = std::exchange(s.pressed, nullptr);
  if (pressed == nullptr) return;
  InvalidateRect(s.hwnd, nullptr, FALSE);
  if (pressed->layout->on.mouse_up != nullptr)
    Call(pressed->layout->on.mouse_up);
}

// The cursor in the control's slot of the cursor table: slot 1 is the hand
// (or the arrow when it holds none); other controls keep their own.
bool MainWindow::SetCursorFor(Surface& s, HWND over) {
  Item* item = nullptr;
  if (over == s.hwnd) {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(s.hwnd, &p);
    item = ItemAt(s, p.x, p.y);
  } else {
    item = ItemOf(over);
  }
  if (item == nullptr || item->control->cursor != 1) return false;
  const HCURSOR hand = desktop_.HandCursor();
  SetCursor(hand != nullptr ? hand : LoadCursorW(nullptr, IDC_ARROW));
  return true;
}

void MainWindow::RefreshCursor() {
  POINT p;
  GetCursorPos(&p);
  const HWND over = WindowFromPoint(p);
  if (over == nullptr || (over != hwnd_ && !IsChild(hwnd_, over))) return;
  SendMessageW(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void MainWindow::MinimizeApplication() { ShowWindow(app_, SW_MINIMIZE); }

void MainWindow::CloseFromHandler() {
  SendMessageW(hwnd_, WM_CLOSE, 0, 0);
  if (close_error_)
    std::rethrow_exception(std::exchange(close_error_, nullptr));
}

// An edit field that gets the focus by program or by Tab selects its text,
// so that the next value is typed over the old one.
void MainWindow::FocusControl(Control& control) {
  const auto it = by_control_.find(&control);
  if (it == by_control_.end() || it->second->hwnd == nullptr) return;
  const HWND hwnd = it->second->hwnd;
  SetFocus(hwnd);
  if (control.layout->kind == ControlKind::kEdit) {
    SendMessageW(hwnd, EM_SETSEL, 0, -1);
  }
}

void MainWindow::Close() {
  if (running_ > 0) {
    // Closed by a handler: an error goes back to it through
    // CloseFromHandler and ends that handler.
    try {
      form_.CloseAttempt();
      DestroyWindow(hwnd_);
    } catch (...) {
      close_error_ = std::current_exception();
    }
    return;
  }
  bool saved = false;
  Run([this, &saved] {
    form_.CloseAttempt();
    saved = true;
  });
  if (saved) DestroyWindow(hwnd_);
}

LRESULT CALLBACK MainWindow::AppProc(HWND hwnd, UINT msg, WPARAM wp,
                                     LPARAM lp) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self =
      reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_SIZE:
      // The main window goes with the task bar button and comes back with it.
      if (self != nullptr && self->hwnd_ != nullptr) {
        if (wp == SIZE_MINIMIZED) ShowWindow(self->hwnd_, SW_HIDE);
        if (wp == SIZE_RESTORED) {
          ShowWindow(self->hwnd_, SW_SHOW);
          SetForegroundWindow(self->hwnd_);
        }
      }
      break;
    case WM_SETFOCUS:
      if (self != nullptr && self->hwnd_ != nullptr &&
          IsWindowVisible(self->hwnd_)) {
        SetFocus(self->last_focus_ != nullptr ? self->last_focus_
                                              : self->hwnd_);
        return 0;
      }
      break;
    case WM_CLOSE:
      if (self != nullptr && self->hwnd_ != nullptr) {
        SendMessageW(self->hwnd_, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK MainWindow::SurfaceProc(HWND hwnd, UINT msg, WPARAM wp,
                                         LPARAM lp) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lp);
    auto* s = static_cast<Surface*>(create->lpCreateParams);
    s->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
    // The owner of every surface is the MainWindow holding it; the top-level
    // one finds it through the application window.
  }
  auto* s = reinterpret_cast<Surface*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  HWND top = GetAncestor(hwnd, GA_ROOT);
  HWND app = GetWindow(top, GW_OWNER);
  auto* self = app == nullptr ? nullptr
                              : reinterpret_cast<MainWindow*>(
                                    GetWindowLongPtrW(app, GWLP_USERDATA));
  if (s == nullptr || self == nullptr) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->OnSurface(*s, msg, wp, lp);
}

LRESULT MainWindow::OnSurface(Surface& s, UINT msg, WPARAM wp, LPARAM lp) {
  const bool is_window = s.item == nullptr;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(s);
      return 0;
    case WM_NCHITTEST: {
      const LRESULT platform = DefWindowProcW(s.hwnd, msg, wp, lp);
      if (!is_window) return platform;
      RECT r;
      GetWindowRect(s.hwnd, &r);
      const HitArea area = DragStripHitTest(
          GET_X_LPARAM(lp), GET_Y_LPARAM(lp), r.left, r.top,
          platform == HTCLIENT ? HitArea::kClient : HitArea::kCaption);
      return area == HitArea::kCaption ? HTCAPTION : HTCLIENT;
    }
    case WM_MOUSEMOVE:
      MouseMove(s, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_MOUSELEAVE:
      MouseLeave(s);
      return 0;
    case WM_LBUTTONDOWN:
      MouseDown(s, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_LBUTTONUP:
      MouseUp(s, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != s.hwnd) ReleasePress(s);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT &&
          SetCursorFor(s, reinterpret_cast<HWND>(wp))) {
        return TRUE;
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      const auto dc = reinterpret_cast<HDC>(wp);
      Item* child = ItemOf(reinterpret_cast<HWND>(lp));
      if (child == nullptr) break;
      SetTextColor(dc, ToColorRef(child->control->font_colour));
      if (child->layout->kind == ControlKind::kEdit) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(cream_);
    }
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        Item* radio = ItemOf(reinterpret_cast<HWND>(lp));
        if (radio != nullptr && radio->layout->kind == ControlKind::kRadio) {
          // Its click handler runs only when the check changes.
          Run([this, radio] {
            if (!radio->control->checked) form_.CheckMarket(*radio->control);
          });
          return 0;
        }
      }
      break;
    default:
      break;
  }
  if (!is_window) return DefWindowProcW(s.hwnd, msg, wp, lp);
  switch (msg) {
    case WM_TIMER:
      for (Item& item : items_) {
        if (item.timer_id == wp && item.layout->on.tick != nullptr) {
          Call(item.layout->on.tick);
        }
      }
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) last_focus_ = focus;
      } else if (!focused_once_) {
        // When the window first becomes active, the first field in tab
        // order gets the focus.
        focused_once_ = true;
        SetFocus(hwnd_);
        Tab(false);
        return 0;
      } else if (last_focus_ != nullptr) {
        SetFocus(last_focus_);
        return 0;
      }
      break;
    case WM_SETTINGCHANGE:
      Call(&TFrmMain::WMSettingChange);
      break;
    case WM_QUERYENDSESSION:
      Call(&TFrmMain::QueryEndSession);
      return TRUE;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DESTROY:
      for (Item& item : items_) {
        if (item.timer_id != 0) KillTimer(hwnd_, item.timer_id);
      }
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(s.hwnd, msg, wp, lp);
}

LRESULT CALLBACK MainWindow::EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                      UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<MainWindow*>(data);
  Item* item = self->ItemOf(hwnd);
  if (item == nullptr) return DefSubclassProc(hwnd, msg, wp, lp);
  return self->OnEdit(*item, msg, wp, lp);
}

LRESULT MainWindow::OnEdit(Item& item, UINT msg, WPARAM wp, LPARAM lp) {
  const Handlers& on = item.layout->on;
  const HWND hwnd = item.hwnd;
  // The room left under the byte limit (GBK bytes) for what replaces the
  // selection; a negative value for no limit.
  auto room = [&]() -> long {
    const int limit = item.control->max_length;
    if (limit <= 0) return -1;
    DWORD from = 0, to = 0;
    SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                 reinterpret_cast<LPARAM>(&to));
    std::wstring text = WindowText(hwnd);
    text.erase(std::min<size_t>(from, text.size()),
               std::min<size_t>(to, text.size()) -
                   std::min<size_t>(from, text.size()));
    return limit - static_cast<long>(GbkFromWide(text).size());
  };
  switch (msg) {
    case WM_KEYDOWN:
      if (on.key_down != nullptr) {
        const int key = static_cast<int>(wp);
        Run([this, f = on.key_down, key] { (form_.*f)(key); });
      }
      break;
    case WM_KEYUP:
      if (on.key_up != nullptr) Call(on.key_up);
      break;
    case WM_CHAR: {
      auto ch = static_cast<wchar_t>(wp);
      if (on.key_press != nullptr) {
        // The key filter sees the character as the ANSI code page gives it.
        const std::string bytes = GbkFromWide(std::wstring(1, ch));
        char key = bytes.empty() ? '?' : bytes[0];
        const char typed = key;
        Run([this, f = on.key_press, &key] { (form_.*f)(key); });
        if (key == 0) return 0;
        if (key != typed)
          ch = static_cast<wchar_t>(static_cast<unsigned char>(key));
      }
      if (ch >= L' ' && !item.control->read_only) {
        // An emoji comes as two surrogates: the first one is refused with the
        // message, the second one quietly.
        if (IS_LOW_SURROGATE(ch)) return 0;
        if (!GbkHoldsWide(std::wstring(1, ch))) {
          Call(&TFrmMain::RefuseUncodedInput);
          return 0;
        }
        const long left = room();
        if (left >= 0 &&
            static_cast<long>(GbkFromWide(std::wstring(1, ch)).size()) > left) {
          return 0;
        }
      }
      return DefSubclassProc(hwnd, msg, ch, lp);
    }
    case WM_PASTE: {
      if (item.control->read_only) break;
      std::wstring text = ClipboardLine(hwnd);
      std::wstring held;
      for (size_t i = 0; i < text.size(); ++i) {
        const size_t n = IS_HIGH_SURROGATE(text[i]) ? 2 : 1;
        const std::wstring one = text.substr(i, n);
        if (GbkHoldsWide(one)) held += one;
        i += n - 1;
      }
      if (held.size() != text.size()) Call(&TFrmMain::RefuseUncodedInput);
      text = held;
      const long left = room();
      if (left >= 0) {
        // Whole characters only, as many as the limit leaves room for.
        long used = 0;
        size_t keep = 0;
        while (keep < text.size()) {
          const long n =
              static_cast<long>(GbkFromWide(text.substr(keep, 1)).size());
          if (used + n > left) break;
          used += n;
          ++keep;
        }
        text.resize(keep);
      }
      SendMessageW(hwnd, EM_REPLACESEL, TRUE,
                   reinterpret_cast<LPARAM>(text.c_str()));
      return 0;
    }
    case WM_NCPAINT: {
      // The flat one-pixel bevel instead of the sunken border.
      const HDC dc = GetWindowDC(hwnd);
      RECT r;
      GetWindowRect(hwnd, &r);
      OffsetRect(&r, -r.left, -r.top);
      FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
      ReleaseDC(hwnd, dc);
      return 0;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, EditProc, 1);
      return DefSubclassProc(hwnd, msg, wp, lp);
    default:
      break;
  }
  const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
  // The edit also draws outside WM_PAINT, as the caret and selection move.
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
      if (item.cut) PaintCutMark(item);
      break;
    default:
      break;
  }
  return result;
}

}  // namespace qilo
