#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "app/control.h"
#include "app/desktop.h"
#include "app/frm_main.h"
#include "app/layout.h"

namespace qilo {

// What changed in one control since its front end last showed it.
struct ControlChanges {
  bool text = false;
  bool hint = false;
  bool font_colour = false;
  bool place = false;  // left, top, width, height or transparency
  bool visible = false;
  bool checked = false;
  bool read_only = false;
  bool tab_stop = false;
  bool cursor = false;
  bool timer = false;  // enabled or interval
  bool Any() const;
};

// The changes from `shown` to `now`; every one when `force` is set.
ControlChanges ChangesBetween(const Control& shown, const Control& now,
                              bool force);

// The protocol both front ends follow around every event, so that they behave
// alike: read back what the user typed, run the handler under the default
// error handler's rule, show each control that changed, then the error box. A
// front end supplies only its toolkit's part: ReadEdits, Show and
// RequestClose.
class FrontEnd {
 public:
  // `form` and `desktop` must outlive the front end.
  FrontEnd(TFrmMain& form, Desktop& desktop);
  virtual ~FrontEnd() = default;
  FrontEnd(const FrontEnd&) = delete;
  FrontEnd& operator=(const FrontEnd&) = delete;

  // Runs one handler as an event delivers it: ReadEdits, the handler, Show
  // of every changed control; an error that escaped the handler then goes to
  // desktop.ShowError, and what changed meanwhile (the ticker ran under the
  // box) is shown too. The program goes on.
  void Run(const std::function<void()>& handler);
  void Call(void (TFrmMain::*handler)());

  // Show of every control, whether it changed or not (`force`), or of those
  // that changed since they were last shown.
  void ShowAll(bool force);

  // A close of the window asked for, by the user or (through
  // CloseFromHandler) by a handler: TFrmMain::CloseAttempt. True when the
  // window may close. A refusal under a handler is kept for
  // CloseFromHandler; otherwise its error is shown as any handler's is.
  bool CloseRequested();

  // What Desktop::Close does: RequestClose, and the error that refused the
  // close thrown again, so that it ends the handler.
  void CloseFromHandler();

  // True while a handler runs.
  bool Running() const { return running_ > 0; }

  // How many times a handler raised, and the box text of the last one.
  int ErrorCount() const { return errors_; }
  const std::string& LastError() const { return last_error_; }

 protected:
  // Copies the texts the user changed into their controls, each through
  // UserChangedText.
  virtual void ReadEdits() = 0;
  // Brings the control's widget up to its state, for what `changes` names.
  virtual void Show(const ControlSpec& layout, Control& control,
                    const ControlChanges& changes) = 0;
  // Asks the toolkit to close the window; it calls CloseRequested.
  virtual void RequestClose() = 0;

  // An edit field's text as the user left it (GBK): into the control, and
  // marked as shown, since the widget already shows it.
  void UserChangedText(Control& control, std::string text);

  TFrmMain& form_;
  Desktop& desktop_;

 private:
  std::vector<Control> shown_;  // per layout entry, as last shown
  std::vector<bool> ever_shown_;
  int running_ = 0;
  std::exception_ptr close_error_;
  int errors_ = 0;
  std::string last_error_;
};

}  // namespace qilo
