#pragma once

#include <QCursor>
#include <optional>
#include <string>

#include "app/desktop.h"

namespace qilo {

class QtMainWindow;

// The desktop as the window's handlers see it, on Qt: beep, shell open, the
// cursor table (slot 1 holds the hand cursor or nothing), minimize, close,
// focus and the stepper's blocking pause.
class QtDesktop : public Desktop {
 public:
  // The window whose widgets the calls act on; set before the first handler.
  void Attach(QtMainWindow* window) { window_ = window; }

  void Beep() override;
  void ShellOpen(const std::string& url, const std::string& verb) override;
  bool LoadHandCursor() override;
  void ClearHandCursor() override;
  void Minimize() override;
  // Closes the window; rethrows the error that stopped the close.
  void Close() override;
  void SetFocus(Control& control) override;
  void SleepMs(int ms) override;
  // A modal box captioned with the application title, over the window; one
  // at a time.
  void ShowError(const std::string& text) override;

  // Slot 1 of the cursor table; empty when it holds no cursor.
  const std::optional<QCursor>& HandCursor() const { return hand_; }

 private:
  QtMainWindow* window_ = nullptr;
  std::optional<QCursor> hand_;
  bool error_box_open_ = false;
};

}  // namespace qilo
