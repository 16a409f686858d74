#pragma once

#include <string>
#include <vector>

#include "app/control.h"
#include "app/desktop.h"
#include "app/layout.h"

namespace qilo {

// A desktop without a screen: it writes down what the window asked of it, in
// order, as short lines ("beep", "focus EdCnt", "open mailto:… Open",
// "error <text>" …).
// qilo-cli and the tests drive the window through it.
class RecordingDesktop : public Desktop {
 public:
  void Beep() override { calls.push_back("beep"); }
  void ShellOpen(const std::string& url, const std::string& verb) override {
    calls.push_back("open " + url + " " + verb);
  }
  bool LoadHandCursor() override {
    calls.push_back("hand");
    slot1_holds_hand = hand_available;
    return hand_available;
  }
  void ClearHandCursor() override {
    calls.push_back("no hand");
    slot1_holds_hand = false;
  }
  void Minimize() override { calls.push_back("minimize"); }
  void Close() override { calls.push_back("close"); }
  void SetFocus(Control& control) override {
    focused = &control;
    calls.push_back(std::string("focus ") +
                    (control.layout ? control.layout->name : "?"));
  }
  void SleepMs(int ms) override {
    calls.push_back("sleep " + std::to_string(ms));
  }
  void ShowError(const std::string& text) override {
    calls.push_back("error " + text);
  }

  int Count(const std::string& call) const {
    int n = 0;
    for (const auto& c : calls) n += c == call;
    return n;
  }

  std::vector<std::string> calls;
  Control* focused = nullptr;
  bool hand_available = true;
  bool slot1_holds_hand = false;
};

}  // namespace qilo
