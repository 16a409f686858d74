#pragma once

#include <windows.h>

#include <string>

#include "app/desktop.h"
#include "app/win32/handles.h"

namespace qilo {

class Win32MainWindow;

// The desktop as the window's handlers see it, on Win32: the message beep,
// ShellExecute, the cursor table (slot 1 holds the HAND resource or nothing),
// minimize, close, focus and the stepper's blocking pause.
class Win32Desktop : public Desktop {
 public:
  Win32Desktop() = default;
  Win32Desktop(const Win32Desktop&) = delete;
  Win32Desktop& operator=(const Win32Desktop&) = delete;

  // The window the calls act on; the window attaches itself once it is
  // built and detaches when it goes. Without one, the calls that need it do
  // nothing and boxes have no owner.
  void Attach(Win32MainWindow* window) { window_ = window; }

  void Beep() override;
  void ShellOpen(const std::string& url, const std::string& verb) override;
  bool LoadHandCursor() override;
  void ClearHandCursor() override;
  void Minimize() override;
  // Closes the window; rethrows the error that stopped the close.
  void Close() override;
  void SetFocus(Control& control) override;
  void SleepMs(int ms) override;
  // A modal box with the stop icon, captioned with the application title.
  // It runs its own message loop, where timer ticks go on; an error raised
  // meanwhile opens no second box.
  void ShowError(const std::string& gbk_text) override;

  // Slot 1 of the cursor table; nullptr when it holds no cursor.
  HCURSOR HandCursor() const { return hand_.Get(); }

 private:
  Win32MainWindow* window_ = nullptr;
  OwnedCursor hand_;
  bool error_box_open_ = false;
};

}  // namespace qilo
