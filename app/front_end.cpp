#include "app/front_end.h"

#include <optional>
#include <utility>

#include "app/run_handler.h"

namespace qilo {

bool ControlChanges::Any() const {
  return text || hint || font_colour || place || visible || checked ||
         read_only || tab_stop || cursor || timer;
}

ControlChanges ChangesBetween(const Control& shown, const Control& now,
                              bool force) {
  ControlChanges c;
  c.text = force || now.text != shown.text;
  c.hint = force || now.hint != shown.hint;
  c.font_colour = force || now.font_colour != shown.font_colour;
  c.place = force || now.left != shown.left || now.top != shown.top ||
            now.width != shown.width || now.height != shown.height ||
            now.transparent != shown.transparent;
  c.visible = force || now.visible != shown.visible;
  c.checked = force || now.checked != shown.checked;
  c.read_only = force || now.read_only != shown.read_only;
  c.tab_stop = force || now.tab_stop != shown.tab_stop;
  c.cursor = force || now.cursor != shown.cursor;
  c.timer =
      force || now.enabled != shown.enabled || now.interval != shown.interval;
  return c;
}

FrontEnd::FrontEnd(TFrmMain& form, Desktop& desktop)
    : form_(form),
      desktop_(desktop),
      shown_(Layout().size()),
      ever_shown_(Layout().size(), false) {}

void FrontEnd::Run(const std::function<void()>& handler) {
  ReadEdits();
  ++running_;
  const std::optional<std::string> error = CatchHandlerError(handler);
  --running_;
  ShowAll(false);
  if (error) {
    ++errors_;
    last_error_ = *error;
    desktop_.ShowError(*error);
    ShowAll(false);
  }
}

void FrontEnd::Call(void (TFrmMain::*handler)()) {
  // The form by reference, not through `this`: GCC 12's UBSan misreads a
  // closure that holds both `this` and a member function pointer.
  Run([&form = form_, handler] { (form.*handler)(); });
}

void FrontEnd::ShowAll(bool force) {
  const auto layout = Layout();
  for (size_t i = 0; i < layout.size(); ++i) {
    Control& control = form_.*layout[i].member;
    const ControlChanges changes =
        ChangesBetween(shown_[i], control, force || !ever_shown_[i]);
    ever_shown_[i] = true;
    if (!changes.Any()) continue;
    shown_[i] = control;
    Show(layout[i], control, changes);
  }
}

bool FrontEnd::CloseRequested() {
  if (Running()) {
    try {
      form_.CloseAttempt();
      return true;
    } catch (...) {
      close_error_ = std::current_exception();
      return false;
    }
  }
  bool may_close = false;
  Run([this, &may_close] {
    form_.CloseAttempt();
    may_close = true;
  });
  return may_close;
}

void FrontEnd::CloseFromHandler() {
  RequestClose();
  if (close_error_)
    std::rethrow_exception(std::exchange(close_error_, nullptr));
}

void FrontEnd::UserChangedText(Control& control, std::string text) {
  control.text = std::move(text);
  const auto layout = Layout();
  for (size_t i = 0; i < layout.size(); ++i) {
    if (&(form_.*layout[i].member) == &control) shown_[i].text = control.text;
  }
}

}  // namespace qilo
