#include "app/win32/win32_desktop.h"

#include "app/layout.h"
#include "app/win32/dpi.h"
#include "app/win32/main_window.h"
#include "text/gbk.h"

namespace qilo {

void Win32Desktop::Beep() { MessageBeep(MB_OK); }

// Whether a program could be started is not looked at. The shell library,
// with the libraries it brings, is loaded at the first link opened rather
// than with the program, whose start it would slow.
void Win32Desktop::ShellOpen(const std::string& url, const std::string& verb) {
  using ShellExecuteFn =
      HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
  static const auto shell_execute = [] {
    const HMODULE shell =
        LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return shell == nullptr
               ? nullptr
               : reinterpret_cast<ShellExecuteFn>(reinterpret_cast<void*>(
                     GetProcAddress(shell, "ShellExecuteW")));
  }();
  if (shell_execute == nullptr) return;
  const std::wstring file = GbkToUtf16(url).text;
  const std::wstring operation = GbkToUtf16(verb).text;
  shell_execute(window_ != nullptr ? window_->Handle() : nullptr,
                operation.c_str(), file.c_str(), nullptr, nullptr, SW_SHOW);
}

// Storing into the slot releases what it held, also when the load fails. The
// cursor is loaded unshared, so it is ours to destroy. It comes at the
// system's cursor size for the window's dots per inch: the resource holds
// the hand drawn for each scale, its hot spot in place.
bool Win32Desktop::LoadHandCursor() {
  ClearHandCursor();
  const int size = MetricForDpi(
      SM_CXCURSOR, window_ != nullptr ? window_->Dpi() : SystemDpi());
  hand_.Reset(static_cast<HCURSOR>(LoadImageW(
      GetModuleHandleW(nullptr), L"HAND", IMAGE_CURSOR, size, size, 0)));
  if (window_ != nullptr) window_->RefreshCursor();
  return static_cast<bool>(hand_);
}

void Win32Desktop::ClearHandCursor() {
  if (!hand_) return;
  // The pointer may show it right now: the arrow first, then it goes.
  if (GetCursor() == hand_.Get()) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  hand_.Reset();
  if (window_ != nullptr) window_->RefreshCursor();
}

void Win32Desktop::Minimize() {
  if (window_ != nullptr) window_->MinimizeApplication();
}

void Win32Desktop::Close() {
  if (window_ != nullptr) window_->CloseFromHandler();
}

void Win32Desktop::SetFocus(Control& control) {
  if (window_ != nullptr) window_->FocusControl(control);
}

void Win32Desktop::SleepMs(int ms) { Sleep(static_cast<DWORD>(ms)); }

void Win32Desktop::ShowError(const std::string& gbk_text) {
  if (error_box_open_) return;
  error_box_open_ = true;
  const std::wstring text = GbkToUtf16(gbk_text).text;
  const std::wstring title = Utf8ToUtf16(kApplicationTitle).text;
  MessageBoxW(window_ != nullptr ? window_->Handle() : nullptr, text.c_str(),
              title.c_str(), MB_OK | MB_ICONSTOP);
  error_box_open_ = false;
}

}  // namespace qilo
