#pragma once

#include <string>

namespace qilo {

struct Control;

// What the window asks of the desktop it runs on. The Qt front end implements
// it for real; tests and qilo-cli record or ignore the calls.
class Desktop {
 public:
  virtual ~Desktop() = default;
  // The default message beep.
  virtual void Beep() = 0;
  // Opens `url` with the shell's default program for it; failures are ignored.
  virtual void ShellOpen(const std::string& url, const std::string& verb) = 0;
  // Loads the "HAND" cursor into slot 1 of the cursor table; false when the
  // resource could not be loaded (the slot is then left empty).
  virtual bool LoadHandCursor() = 0;
  // Empties slot 1 of the cursor table.
  virtual void ClearHandCursor() = 0;
  virtual void Minimize() = 0;
  virtual void Close() = 0;
  // Gives the input focus to an edit field, button or radio button.
  virtual void SetFocus(Control& control) = 0;
  // Blocks the user-interface thread (the stepper's pause before repeating).
  virtual void SleepMs(int ms) = 0;
  // Shows the default error handler's message box (GBK `text`, already
  // ending as the box shows it) and returns once the user has closed it.
  virtual void ShowError(const std::string& text) = 0;
};

}  // namespace qilo
