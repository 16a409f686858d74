#pragma once

// For the in-process tests of the Win32 window: the real windows, driven with
// window messages as the system would send them, read back through Win32
// calls.
#include <gtest/gtest.h>
#include <windows.h>
// commctrl.h after windows.h.
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/win32/checked.h"
#include "app/win32/edit_field.h"
#include "app/win32/main_window.h"
#include "app/win32/win32_desktop.h"
#include "os/system_message.h"
#include "os/test_folder.h"
#include "store/profile_store.h"
#include "text/expect_error.h"
#include "text/gbk.h"

namespace qilo::win32_test {

using F = TFrmMain;
using Clock = std::chrono::steady_clock;

inline std::wstring Wide(const std::string& utf8) {
  return Utf8ToUtf16(utf8).text;
}
inline std::string Utf8(const std::wstring& wide) {
  return Utf16ToUtf8(wide).text;
}

// The Win32 desktop with its beeps counted instead of sounded.
class CountingDesktop : public Win32Desktop {
 public:
  void Beep() override { ++beeps; }
  int beeps = 0;
};

// A surface painted into a bitmap, as WM_PAINT puts it on the screen.
class Rendered {
 public:
  explicit Rendered(HWND surface) {
    RECT client;
    GetClientRect(surface, &client);
    const WindowDc screen(nullptr);
    dc_.Reset(CreateCompatibleDC(screen.Get()));
    bitmap_.Reset(
        CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    SelectObject(dc_.Get(), bitmap_.Get());
    SendMessageW(surface, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.Get()),
                 PRF_CLIENT);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_.Get(), x, y); }
  // How many columns the ink darker than 160 (0 black, 255 white) spans in
  // the device rectangle, from its first column to its last.
  int InkWidth(const RECT& r) const {
    int first = r.right;
    int last = r.left - 1;
    for (int x = r.left; x < r.right; ++x) {
      for (int y = r.top; y < r.bottom; ++y) {
        const COLORREF p = At(x, y);
        if (GetRValue(p) + GetGValue(p) + GetBValue(p) < 3 * 160) {
          first = std::min(first, x);
          last = x;
        }
      }
    }
    return last < first ? 0 : last - first + 1;
  }
  // How many pixels of the device rectangle are exactly `colour`.
  int Exactly(const RECT& r, COLORREF colour) const {
    int count = 0;
    for (int x = r.left; x < r.right; ++x) {
      for (int y = r.top; y < r.bottom; ++y) count += At(x, y) == colour;
    }
    return count;
  }
  // The pixels of the control's rectangle within a small distance of
  // `colour`: its ink, where text is drawn in that colour.
  int Near(const Control& c, COLORREF colour) const {
    int count = 0;
    for (int x = c.left; x < c.left + c.width; ++x) {
      for (int y = c.top; y < c.top + c.height; ++y) {
        const COLORREF p = At(x, y);
        const int d = std::abs(GetRValue(p) - GetRValue(colour)) +
                      std::abs(GetGValue(p) - GetGValue(colour)) +
                      std::abs(GetBValue(p) - GetBValue(colour));
        if (d <= 24) ++count;
      }
    }
    return count;
  }

 private:
  OwnedBitmap bitmap_;
  OwnedDc dc_;  // goes first, letting go of the bitmap selected into it
};

// Closes the error box from inside its own message loop, as a user would: a
// thread timer looks for it, reads it, lets the ticker run under it for a
// moment and presses OK.
class BoxCloser {
 public:
  explicit BoxCloser(std::function<int()> ticker) : ticker_(ticker) {
    active_ = this;
    timer_ = SetTimer(nullptr, 0, 20, Tick);
  }
  ~BoxCloser() {
    KillTimer(nullptr, timer_);
    active_ = nullptr;
  }
  bool seen = false;
  bool ticked = false;
  bool stop_icon = false;
  HWND owner = nullptr;
  std::string caption, text;

 private:
  static BOOL CALLBACK FindBox(HWND hwnd, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    if (std::wstring(name) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  static BOOL CALLBACK ReadChild(HWND child, LPARAM self) {
    auto* closer = reinterpret_cast<BoxCloser*>(self);
    const HICON stop = LoadIconW(nullptr, IDI_HAND);
    if (reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) ==
        stop) {
      closer->stop_icon = true;
    }
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    const std::string text = Utf8(WindowText(child));
    if (_wcsicmp(name, L"Static") == 0 && !text.empty()) closer->text = text;
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    BoxCloser* self = active_;
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox,
                      reinterpret_cast<LPARAM>(&box));
    if (self == nullptr || box == nullptr) return;
    if (!self->seen) {
      self->seen = true;
      self->since_ = Clock::now();
      self->before_ = self->ticker_();
      self->caption = Utf8(WindowText(box));
      self->owner = GetWindow(box, GW_OWNER);
      EnumChildWindows(box, ReadChild, reinterpret_cast<LPARAM>(self));
      return;
    }
    if (Clock::now() - self->since_ < std::chrono::milliseconds(150)) return;
    self->ticked = self->ticker_() != self->before_;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }

  static inline BoxCloser* active_ = nullptr;
  std::function<int()> ticker_;
  UINT_PTR timer_ = 0;
  Clock::time_point since_;
  int before_ = 0;
};

// Each test gets a fresh window whose home folder is a temporary one.
class Win32WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(home_.Path().empty());
    std::wstring home = std::filesystem::path(home_.Path()).wstring();
    for (wchar_t& c : home) c = c == L'/' ? L'\\' : c;
    _wputenv_s(L"HOMEDRIVE", home.substr(0, 2).c_str());
    _wputenv_s(L"HOMEPATH", home.substr(2).c_str());
    // The pointer stays off the window: only the test moves over it.
    SetCursorPos(0, 0);
    form_ = std::make_unique<TFrmMain>(desktop_);
    window_ = std::make_unique<Win32MainWindow>(*form_, desktop_);
    window_->Start();
    PumpFor(100);
  }

  // Handles the window's messages for `ms` milliseconds.
  void PumpFor(int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    do {
      window_->Pump();
      Sleep(5);
    } while (Clock::now() < end);
  }

  HWND Hwnd(const Control& c) { return window_->HandleOf(c); }
  std::string Text(const Control& c) { return Utf8(WindowText(Hwnd(c))); }
  std::string State(const std::string& gbk) { return GbkToUtf8(gbk); }

  // Replaces a field's text by typing, one WM_CHAR a UTF-16 unit.
  void Type(const Control& field, const std::string& utf8) {
    const HWND edit = Hwnd(field);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CLEAR, 0, 0);
    for (const wchar_t unit : Wide(utf8)) SendMessageW(edit, WM_CHAR, unit, 1);
  }
  // A key as the message loop delivers it to the control with the focus.
  void Key(WPARAM vk) {
    PostMessageW(GetFocus(), WM_KEYDOWN, vk, 1);
    PostMessageW(GetFocus(), WM_KEYUP, vk, 0xC0000001);
    window_->Pump();
  }
  // The middle of a graphic control, pressed and released on its surface,
  // in device pixels.
  LPARAM Middle(const Control& c) {
    return MAKELPARAM(window_->Px(c.left + c.width / 2),
                      window_->Px(c.top + c.height / 2));
  }
  void Press(const Control& c) {
    SendMessageW(Hwnd(c), WM_LBUTTONDOWN, MK_LBUTTON, Middle(c));
  }
  void Release(const Control& c) {
    SendMessageW(Hwnd(c), WM_LBUTTONUP, 0, Middle(c));
  }
  void Click(const Control& c) {
    Press(c);
    Release(c);
  }
  void Hover(const Control& c) {
    SendMessageW(Hwnd(c), WM_MOUSEMOVE, 0, Middle(c));
  }
  // The tooltip text of an edit field.
  std::string Hint(const Control& c) {
    wchar_t buffer[256] = {};
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = GetParent(Hwnd(c));
    tool.uId = reinterpret_cast<UINT_PTR>(Hwnd(c));
    tool.lpszText = buffer;
    SendMessageW(window_->Tooltip(), TTM_GETTEXTW, 256,
                 reinterpret_cast<LPARAM>(&tool));
    return Utf8(buffer);
  }
  // The colour an edit field's parent gives its text.
  COLORREF TextColour(const Control& c) {
    const OwnedDc dc(CreateCompatibleDC(nullptr));
    SendMessageW(GetParent(Hwnd(c)), WM_CTLCOLOREDIT,
                 reinterpret_cast<WPARAM>(dc.Get()),
                 reinterpret_cast<LPARAM>(Hwnd(c)));
    return GetTextColor(dc.Get());
  }
  void SetClipboard(const std::string& utf8) {
    const std::wstring text = Wide(utf8);
    const HGLOBAL data =
        GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    ASSERT_NE(data, nullptr);
    std::copy_n(text.c_str(), text.size() + 1,
                static_cast<wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
    const ClipboardScope clipboard(window_->Handle());
    ASSERT_TRUE(clipboard.Opened());
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, data);
  }
  // The ticker's state, for telling whether it ran.
  int TickerState() const {
    return form_->LabInfo.top * 1000 + form_->ticker.rest;
  }

  TestFolder home_;
  CountingDesktop desktop_;
  std::unique_ptr<TFrmMain> form_;
  std::unique_ptr<Win32MainWindow> window_;
};

}  // namespace qilo::win32_test
