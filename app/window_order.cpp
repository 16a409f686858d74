#include "app/window_order.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "app/frm_main.h"

namespace qilo {
namespace {

const ControlSpec* Named(std::span<const ControlSpec> layout,
                         const char* name) {
  for (const ControlSpec& s : layout) {
    if (std::strcmp(s.name, name) == 0) return &s;
  }
  return nullptr;
}

bool SameParent(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return std::strcmp(a, b) == 0;
}

}  // namespace

std::vector<const ControlSpec*> TabChain(std::span<const ControlSpec> layout) {
  std::vector<std::pair<std::vector<int>, const ControlSpec*>> stops;
  for (const ControlSpec& s : layout) {
    if (s.kind != ControlKind::kEdit && s.kind != ControlKind::kRadio) continue;
    std::vector<int> path;
    for (const ControlSpec* at = &s; at != nullptr;) {
      path.insert(path.begin(), at->tab_order);
      at = at->parent == nullptr ? nullptr : Named(layout, at->parent);
    }
    stops.emplace_back(std::move(path), &s);
  }
  std::stable_sort(
      stops.begin(), stops.end(),
      [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<const ControlSpec*> chain;
  for (const auto& stop : stops) chain.push_back(stop.second);
  return chain;
}

std::vector<const ControlSpec*> StackingOrder(
    std::span<const ControlSpec> layout, const char* parent) {
  std::vector<const ControlSpec*> order;
  for (const bool windowed : {false, true}) {
    for (const ControlSpec& s : layout) {
      if (s.kind == ControlKind::kTimer || !SameParent(s.parent, parent) ||
          IsWindowed(s.kind) != windowed) {
        continue;
      }
      order.push_back(&s);
    }
  }
  return order;
}

Control* NextRadio(TFrmMain& form, const Control& from, int direction) {
  std::vector<Control*> group;
  for (const ControlSpec& entry : Layout()) {
    Control& control = form.*entry.member;
    if (entry.kind == ControlKind::kRadio && from.layout != nullptr &&
        SameParent(entry.parent, from.layout->parent) &&
        (control.visible || &control == &from)) {
      group.push_back(&control);
    }
  }
  const auto at = std::find(group.begin(), group.end(), &from);
  if (group.size() < 2 || at == group.end()) return nullptr;
  const auto size = static_cast<std::ptrdiff_t>(group.size());
  return group[static_cast<size_t>(((at - group.begin()) + direction + size) %
                                   size)];
}

Control* ControlAt(std::span<Control* const> bottom_first, int x, int y) {
  for (auto it = bottom_first.rbegin(); it != bottom_first.rend(); ++it) {
    Control* c = *it;
    if (c->visible && c->left <= x && x < c->left + c->width && c->top <= y &&
        y < c->top + c->height) {
      return c;
    }
  }
  return nullptr;
}

}  // namespace qilo
