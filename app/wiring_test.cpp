#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "app/layout.h"
#include "app/recording_desktop.h"
#include "os/files.h"
#include "os/test_folder.h"
#include "text/gbk.h"

// Walks the layout table, where every event meets its handler: a control
// whose entry lost a handler, or got another control's, fails here.
namespace qilo {
namespace {

const ControlSpec* Find(const char* name) {
  for (const ControlSpec& s : Layout()) {
    if (std::strcmp(s.name, name) == 0) return &s;
  }
  return nullptr;
}

// The calculator's inputs: every edit field of the group box and the fee
// panel except the read-only results, whose tooltips the calculation writes.
bool IsNumericInput(const ControlSpec& s) {
  if (s.kind != ControlKind::kEdit || s.parent == nullptr) return false;
  const bool calculator = std::strcmp(s.parent, "GroupBox1") == 0 ||
                          std::strcmp(s.parent, "Panel1") == 0;
  return calculator && !(s.read_only && s.show_hint);
}

// The arrow picture a flat button lies over, or nullptr.
const ControlSpec* ArrowUnder(const ControlSpec& s) {
  if (s.kind != ControlKind::kFlatButton) return nullptr;
  for (const ControlSpec& p : Layout()) {
    if (p.kind == ControlKind::kPicture && p.parent != nullptr &&
        std::strcmp(p.parent, s.parent) == 0 &&
        std::strncmp(p.picture, "arrow_", 6) == 0 && p.left >= s.left &&
        p.top >= s.top && p.left + p.width <= s.left + s.width &&
        p.top + p.height <= s.top + s.height) {
      return &p;
    }
  }
  return nullptr;
}
bool IsStepButton(const ControlSpec& s) { return ArrowUnder(s) != nullptr; }

TEST(LayoutTest, EveryParentIsAContainerListedBeforeItsChildren) {
  std::map<std::string, ControlKind> seen;
  for (const ControlSpec& s : Layout()) {
    SCOPED_TRACE(s.name);
    EXPECT_TRUE(seen.emplace(s.name, s.kind).second) << "named twice";
    if (s.parent == nullptr) continue;
    const auto parent = seen.find(s.parent);
    ASSERT_NE(parent, seen.end()) << "no parent " << s.parent << " above it";
    EXPECT_TRUE(parent->second == ControlKind::kPanel ||
                parent->second == ControlKind::kGroupBox);
  }
}

TEST(WiringTest, EveryNumericFieldFiltersItsKeysAndThePricesStep) {
  RecordingDesktop desktop;
  TFrmMain form(desktop);
  int inputs = 0;
  for (const ControlSpec& s : Layout()) {
    if (!IsNumericInput(s)) continue;
    SCOPED_TRACE(s.name);
    ++inputs;
    ASSERT_NE(s.on.key_press, nullptr);
    char letter = 'a';
    (form.*s.on.key_press)(letter);
    EXPECT_EQ(letter, 0);  // refused
    char digit = '5';
    (form.*s.on.key_press)(digit);
    EXPECT_EQ(digit, '5');
    // The fields with step buttons step on the arrow keys too.
    EXPECT_EQ(s.on.key_down != nullptr, s.on.key_up != nullptr);
    EXPECT_EQ(s.on.key_down != nullptr,
              std::strcmp(s.parent, "GroupBox1") == 0);
  }
  EXPECT_EQ(inputs, 7);
}

TEST(WiringTest, EveryStepButtonHasDownAndUpAndStepsItsOwnField) {
  int buttons = 0;
  for (const ControlSpec& s : Layout()) {
    if (!IsStepButton(s)) continue;
    SCOPED_TRACE(s.name);
    ++buttons;
    ASSERT_NE(s.on.mouse_down, nullptr);
    ASSERT_NE(s.on.mouse_up, nullptr);
    RecordingDesktop desktop;
    TFrmMain form(desktop);
    for (const char* name : {"EdPriceBuy", "EdPriceSell", "EdCnt"}) {
      (form.*Find(name)->member).text = "1000";
    }
    (form.*s.on.mouse_down)();
    (form.*s.on.mouse_up)();
    EXPECT_FALSE(form.TimerStepVal.enabled);  // the release stops the repeat
    std::vector<const ControlSpec*> changed;
    for (const char* name : {"EdPriceBuy", "EdPriceSell", "EdCnt"}) {
      if ((form.*Find(name)->member).text != "1000")
        changed.push_back(Find(name));
    }
    ASSERT_EQ(changed.size(), 1u);
    // The up arrow raises the value, the down arrow lowers it.
    const ControlSpec* field = changed.front();
    const bool up = std::strcmp(ArrowUnder(s)->picture, "arrow_up.bmp") == 0;
    EXPECT_EQ(std::stod((form.*field->member).text) > 1000, up)
        << (form.*field->member).text;
    EXPECT_LT(field->left, s.left);
    EXPECT_LE(field->top, s.top + s.height);
    EXPECT_GE(field->top + field->height, s.top);
  }
  EXPECT_EQ(buttons, 6);
}

TEST(WiringTest, EveryClickableLabelHoversAndLeaves) {
  RecordingDesktop desktop;
  TFrmMain form(desktop);
  int labels = 0;
  for (const ControlSpec& s : Layout()) {
    if (s.kind != ControlKind::kLabel || s.on.click == nullptr) continue;
    SCOPED_TRACE(s.name);
    ++labels;
    ASSERT_NE(s.on.mouse_move, nullptr);
    Control& label = form.*s.member;
    if (std::strcmp(s.name, "LabInfo") == 0) {
      // The info line only changes the cursor and has no leave handler.
      EXPECT_EQ(s.on.mouse_leave, nullptr);
      (form.*s.on.mouse_move)();
      EXPECT_EQ(label.cursor, 1);
      continue;
    }
    ASSERT_NE(s.on.mouse_leave, nullptr);
    (form.*s.on.mouse_move)();
    const Colour hover = label.font_colour;
    (form.*s.on.mouse_leave)();
    EXPECT_NE(label.font_colour, hover);
    (form.*s.on.mouse_move)();
    EXPECT_EQ(label.font_colour, hover);
  }
  EXPECT_EQ(labels, 8);
}

// Each clickable label's click does its own label's work: two swapped
// handlers fail here.
TEST(WiringTest, EveryClickableLabelDoesItsOwnWork) {
  TestFolder home;
  const struct {
    const char* label;
    std::function<bool(const TFrmMain&, const RecordingDesktop&)> done;
  } kCases[] = {
      {"LabClose", [](auto&, auto& d) { return d.Count("close") == 1; }},
      {"LabMin", [](auto&, auto& d) { return d.Count("minimize") == 1; }},
      {"LabConnMe",
       [](auto&, auto& d) {
         return d.calls.back().rfind("open mailto:", 0) == 0;
       }},
      {"LabInfo",
       [](auto&, auto& d) { return d.Count("open http://a.cn open") == 1; }},
      {"LabFav", [](auto& f, auto&) { return f.EdSiteName.visible; }},
      {"LabAdd",
       [](auto& f, auto&) { return f.LabInfo.text == "a" + Gbk("已添加！"); }},
      {"LabDel",
       [](auto& f, auto&) {
         return f.LabInfo.text == Gbk("无法删除，") + "a" + Gbk("不存在！");
       }},
      {"LabCostPrice", [](auto& f, auto&) { return f.precision == "3"; }},
  };
  int checked = 0;
  for (const ControlSpec& s : Layout()) {
    if (s.kind != ControlKind::kLabel || s.on.click == nullptr) continue;
    SCOPED_TRACE(s.name);
    RecordingDesktop desktop;
    TFrmMain form(desktop);
    form.links_path = PathInFolder(home.Path(), s.name);
    form.LabInfo.hint = "http://a.cn";
    form.EdSiteName.visible = false;
    form.EdSiteName.text = "a";
    form.EdSiteAdd.text = "b";
    (form.*s.on.click)();
    for (const auto& c : kCases) {
      if (std::strcmp(c.label, s.name) != 0) continue;
      ++checked;
      EXPECT_TRUE(c.done(form, desktop));
    }
  }
  EXPECT_EQ(checked, 8);
}

TEST(WiringTest, NoHandlerServesTwoControlsAndTheRestAreWired) {
  std::map<std::string, const char*> owner;
  const auto claim = [&owner](const char* name, const char* event,
                              const void* handler, size_t size) {
    const std::string key(static_cast<const char*>(handler), size);
    const auto [it, fresh] = owner.emplace(key, name);
    EXPECT_TRUE(fresh) << name << " " << event << " is " << it->second
                       << "'s handler";
  };
  for (const ControlSpec& s : Layout()) {
    const Handlers& on = s.on;
#define QILO_CLAIM(event) \
  if (on.event != nullptr) claim(s.name, #event, &on.event, sizeof(on.event))
    QILO_CLAIM(click);
    QILO_CLAIM(mouse_move);
    QILO_CLAIM(mouse_leave);
    QILO_CLAIM(mouse_down);
    QILO_CLAIM(mouse_up);
    QILO_CLAIM(key_down);
    QILO_CLAIM(key_up);
    QILO_CLAIM(key_press);
    QILO_CLAIM(tick);
#undef QILO_CLAIM
  }
  EXPECT_NE(Find("BtnCal")->on.click, nullptr);
  for (const char* name : {"TimerInfo", "TimerStepVal"}) {
    EXPECT_NE(Find(name)->on.tick, nullptr) << name;
  }
}

// A market button is checked through CheckMarket, which raises the click its
// entry names: two swapped entries set the other market's rate.
TEST(WiringTest, EveryMarketButtonSetsItsOwnMarketsRate) {
  const struct {
    const char* radio;
    const char* transfer;
  } kCases[] = {{"RadBtSH", "1"}, {"RadBtSZ", "0"}};
  int radios = 0;
  for (const ControlSpec& s : Layout()) {
    if (s.kind != ControlKind::kRadio) continue;
    SCOPED_TRACE(s.name);
    ++radios;
    for (const char* start : {"1", "0"}) {
      RecordingDesktop desktop;
      TFrmMain form(desktop);
      form.EdTransfer.text = start;
      form.CheckMarket(form.*s.member);
      EXPECT_TRUE((form.*s.member).checked);
      for (const auto& c : kCases) {
        if (std::strcmp(c.radio, s.name) == 0) {
          EXPECT_EQ(form.EdTransfer.text, c.transfer);
        }
      }
    }
  }
  EXPECT_EQ(radios, 2);
}

TEST(WiringTest, TheCalculateButtonCalculates) {
  RecordingDesktop desktop;
  TFrmMain form(desktop);
  form.CheckMarket(form.RadBtSH);
  form.EdPriceBuy.text = "10";
  form.EdPriceSell.text = "11";
  (form.*Find("BtnCal")->on.click)();
  EXPECT_EQ(form.EdCostBuy.text, "10022.00");
}

}  // namespace
}  // namespace qilo
