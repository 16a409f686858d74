#include "app/win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "app/error_text.h"
#include "app/hit_test.h"
#include "app/win32/checked.h"
#include "app/win32/edit_field.h"
#include "app/win32/win32_desktop.h"
#include "app/window_order.h"
#include "text/exception.h"
#include "text/gbk.h"
#include "text/utf16.h"

namespace qilo {
namespace {

constexpr wchar_t kAppClass[] = L"TApplication";

}  // namespace

Item::Item() = default;
Item::~Item() = default;

Win32MainWindow::Win32MainWindow(TFrmMain& form, Win32Desktop& desktop)
    : FrontEnd(form, desktop),
      desktop_(desktop),
      instance_(GetModuleHandleW(nullptr)),
      cream_(SolidBrush(ToColorRef(kWindowColour))),
      surface_(*this, nullptr) {
  for (const ControlSpec& layout : Layout()) {
    Item& item = items_.emplace_back();
    item.layout = &layout;
    item.control = &(form_.*layout.member);
    by_control_[item.control] = &item;
  }
  CreateWindows();
  BuildItems();
  for (const ControlSpec* entry : TabChain(Layout())) {
    tab_chain_.push_back(&ItemOf(form_.*entry->member));
  }
  ShowAll(true);
  desktop_.Attach(this);
}

// The windows go first, while everything their last messages reach is
// still there.
Win32MainWindow::~Win32MainWindow() {
  desktop_.Attach(nullptr);
  main_.Reset();
  app_.Reset();
}

void Win32MainWindow::CreateWindows() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  Checked("start the common controls",
          [&] { return InitCommonControlsEx(&controls); });
  const HICON icon = Checked("load the icon MAINICON",
                             [&] { return LoadIconW(instance_, L"MAINICON"); });
  Surface::RegisterClasses(instance_, icon);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = AppProc;
  wc.hInstance = instance_;
  wc.hIcon = icon;
  wc.lpszClassName = kAppClass;
  RegisterWindowClass(wc);

  // The task bar shows this window, titled by the application; the main
  // window is owned by it and keeps its own caption as its window text.
  const int screen_w = GetSystemMetrics(SM_CXSCREEN);
  const int screen_h = GetSystemMetrics(SM_CYSCREEN);
  app_.Reset(Checked("create the application window", [&] {
    return CreateWindowExW(
        0, kAppClass, Utf8ToUtf16(kApplicationTitle).text.c_str(),
        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, screen_w / 2,
        screen_h / 2, 0, 0, nullptr, nullptr, instance_, this);
  }));
  // Sized for the system's dots per inch, then for those of the monitor the
  // window came up on.
  dpi_ = SystemDpi();
  const auto centred = [&] {
    const int width = Px(kWindowWidth);
    const int height = Px(kWindowHeight);
    const int left = (screen_w - width) / 2;
    const int top = (screen_h - height) / 2;
    return RECT{left, top, left + width, top + height};
  };
  main_.Reset(surface_.CreateMain(app_.Get(), Utf8ToUtf16(kWindowCaption).text,
                                  centred()));
  if (const int dpi = WindowDpi(main_.Get()); dpi != dpi_) {
    dpi_ = dpi;
    const RECT r = centred();
    SetWindowPos(main_.Get(), nullptr, r.left, r.top, r.right - r.left,
                 r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// The small and big icons of the sizes the system asks for at the window's
// dots per inch, each drawn for its size, on the window and its task bar
// button. One that cannot be loaded leaves the icon shown before.
void Win32MainWindow::ShowIcons() {
  const struct {
    WPARAM which;
    int metric;
    OwnedIcon& held;
  } kIcons[] = {{ICON_SMALL, SM_CXSMICON, small_icon_},
                {ICON_BIG, SM_CXICON, big_icon_}};
  for (const auto& icon : kIcons) {
    const int size = MetricForDpi(icon.metric, dpi_);
    OwnedIcon loaded(static_cast<HICON>(
        LoadImageW(instance_, L"MAINICON", IMAGE_ICON, size, size, 0)));
    if (!loaded) continue;
    for (const HWND hwnd : {main_.Get(), app_.Get()}) {
      SendMessageW(hwnd, WM_SETICON, icon.which,
                   reinterpret_cast<LPARAM>(loaded.Get()));
    }
    icon.held = std::move(loaded);
  }
}

// Built parent by parent, every surface before its children. A surface
// paints its pictures, labels and flat buttons in the order they come, bottom
// first; a new child window goes beneath its siblings, so the windows are
// made top first and stack as the layout does without being moved.
void Win32MainWindow::BuildItems() {
  std::vector<Surface*> pending = {&surface_};
  for (size_t i = 0; i < pending.size(); ++i) {
    Surface& surface = *pending[i];
    const Item* box = surface.Box();
    std::vector<Item*> windowed;
    for (const ControlSpec* entry : StackingOrder(
             Layout(), box == nullptr ? nullptr : box->layout->name)) {
      Item& item = ItemOf(form_.*entry->member);
      if (IsWindowed(item.layout->kind)) {
        windowed.insert(windowed.begin(), &item);
      } else {
        Build(item, surface);
      }
    }
    for (Item* item : windowed) {
      Build(*item, surface);
      if (item->surface) pending.push_back(item->surface.get());
    }
  }
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].layout->kind == ControlKind::kTimer) {
      items_[i].timer_id = i + 1;
    }
  }
}

void Win32MainWindow::Build(Item& item, Surface& owner) {
  item.owner = &owner;
  const ControlSpec& layout = *item.layout;
  switch (layout.kind) {
    case ControlKind::kPicture:
      item.picture = LoadPicture(instance_, layout.picture, dpi_);
      owner.AddGraphic(item);
      return;
    case ControlKind::kLabel:
    case ControlKind::kFlatButton:
      owner.AddGraphic(item);
      return;
    case ControlKind::kPanel:
    case ControlKind::kGroupBox:
      item.surface = std::make_unique<Surface>(*this, &item);
      item.hwnd = item.surface->CreatePanel(owner.Handle(), PlaceOf(item));
      break;
    case ControlKind::kEdit:
      item.edit = std::make_unique<EditField>(*this, item, owner.Handle());
      item.hwnd = item.edit->Handle();
      break;
    case ControlKind::kRadio:
      item.hwnd = CreateChild(L"BUTTON",
                              WS_CLIPSIBLINGS | BS_RADIOBUTTON |
                                  (item.control->visible ? WS_VISIBLE : 0),
                              0, owner.Handle(), layout.name, PlaceOf(item),
                              GbkToUtf16(item.control->text).text);
      break;
    case ControlKind::kTimer:
      return;
  }
  by_hwnd_[item.hwnd] = &item;
  SendMessageW(item.hwnd, WM_SETFONT,
               reinterpret_cast<WPARAM>(FontOf(layout.font)), FALSE);
}

void Win32MainWindow::Start() {
  Call(&TFrmMain::FormShow);
  ShowWindow(main_.Get(), SW_SHOWNORMAL);
  UpdateWindow(main_.Get());
  SetForegroundWindow(main_.Get());
}

int Win32MainWindow::Exec() {
  Start();
  AfterFirstFrame();
  MSG msg = {};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    Dispatch(msg);
    AfterFirstFrame();
  }
  return static_cast<int>(msg.wParam);
}

void Win32MainWindow::Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message != WM_QUIT) Dispatch(msg);
    AfterFirstFrame();
  }
}

void Win32MainWindow::Dispatch(const MSG& msg) {
  if (PreTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

HWND Win32MainWindow::HandleOf(const Control& control) {
  const Item& item = ItemOf(control);
  if (item.hwnd != nullptr) return item.hwnd;
  return item.owner != nullptr ? item.owner->Handle() : nullptr;
}

const EditField* Win32MainWindow::EditOf(const Control& control) {
  return ItemOf(control).edit.get();
}

HCURSOR Win32MainWindow::HandCursor() const { return desktop_.HandCursor(); }

Item* Win32MainWindow::ItemOf(HWND hwnd) {
  const auto it = by_hwnd_.find(hwnd);
  return it == by_hwnd_.end() ? nullptr : it->second;
}

Item& Win32MainWindow::ItemOf(const Control& control) {
  return *by_control_.at(&control);
}

void Win32MainWindow::MinimizeApplication() {
  ShowWindow(app_.Get(), SW_MINIMIZE);
}

void Win32MainWindow::RequestClose() {
  SendMessageW(main_.Get(), WM_CLOSE, 0, 0);
}

// The system sends a window its paint only when no other message waits: once
// the main window has painted and no window of the thread is left to paint,
// the whole first frame is on the screen. What it does not show comes after
// it rather than before: the task bar button and the icons, and the tooltips,
// which nobody sees before the pointer rests.
void Win32MainWindow::AfterFirstFrame() {
  if (started_ || !main_painted_ || closed_) return;
  if (HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT) return;
  if (first_frame_) std::exchange(first_frame_, nullptr)();
  started_ = true;
  ShowIcons();
  ShowWindow(app_.Get(), SW_SHOWNA);
  try {
    CreateTooltips();
  } catch (const std::exception& e) {
    ShowFailure(e);
  }
}

// One tooltip window for every control whose hint is shown: the windowed
// ones by their window, the graphic ones by their rectangle on the surface.
void Win32MainWindow::CreateTooltips() {
  tooltip_ = Checked("create the tooltips", [&] {
    return CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, main_.Get(), nullptr, instance_, nullptr);
  });
  // A width makes the tooltip break lines at "\r\n".
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, Px(400));
  for (Item& item : items_) {
    if (item.layout->show_hint) ShowTool(item);
  }
}

void Win32MainWindow::ShowFailure(const std::exception& error) {
  desktop_.ShowError(ErrorBoxText(ErrorMessage(error)));
}

std::optional<LRESULT> Win32MainWindow::OnMainMessage(UINT msg, WPARAM wp,
                                                      LPARAM lp) {
  const HWND hwnd = surface_.Handle();
  switch (msg) {
    case WM_NCHITTEST: {
      const LRESULT platform = DefWindowProcW(hwnd, msg, wp, lp);
      RECT r;
      GetWindowRect(hwnd, &r);
      // The strip in layout pixels, from the window's corner.
      const HitArea area = DragStripHitTest(
          Unscaled(GET_X_LPARAM(lp) - r.left, dpi_),
          Unscaled(GET_Y_LPARAM(lp) - r.top, dpi_), 0, 0,
          platform == HTCLIENT ? HitArea::kClient : HitArea::kCaption);
      return area == HitArea::kCaption ? HTCAPTION : HTCLIENT;
    }
    case WM_TIMER:
      OnTimer(wp);
      return 0;
    case WM_DPICHANGED:
      ChangeDpi(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_ACTIVATE:
      if (OnActivate(wp)) return 0;
      break;
    case WM_SETTINGCHANGE:
      Call(&TFrmMain::WMSettingChange);
      break;
    case WM_QUERYENDSESSION:
      Call(&TFrmMain::QueryEndSession);
      return TRUE;
    case WM_CLOSE:
      if (CloseRequested()) {
        closed_ = true;
        main_.Reset();
      }
      return 0;
    case WM_DESTROY:
      for (const Item& item : items_) {
        if (item.timer_id != 0) KillTimer(hwnd, item.timer_id);
      }
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return std::nullopt;
}

void Win32MainWindow::OnTimer(WPARAM id) {
  if (id == 0 || id > items_.size()) return;
  const Item& item = items_[id - 1];
  if (item.timer_id == id && item.layout->on.tick != nullptr) {
    Call(item.layout->on.tick);
  }
}

LRESULT CALLBACK Win32MainWindow::AppProc(HWND hwnd, UINT msg, WPARAM wp,
                                          LPARAM lp) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32MainWindow*>(
      GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  const HWND main = self != nullptr ? self->main_.Get() : nullptr;
  if (main == nullptr) return DefWindowProcW(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_SIZE:
      // The main window goes with the task bar button and comes back with it.
      if (wp == SIZE_MINIMIZED) ShowWindow(main, SW_HIDE);
      if (wp == SIZE_RESTORED) {
        ShowWindow(main, SW_SHOW);
        SetForegroundWindow(main);
      }
      break;
    case WM_SETFOCUS:
      if (IsWindowVisible(main)) {
        SetFocus(self->last_focus_ != nullptr ? self->last_focus_ : main);
        return 0;
      }
      break;
    case WM_CLOSE:
      SendMessageW(main, WM_CLOSE, 0, 0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace qilo
