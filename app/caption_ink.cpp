#include "app/caption_ink.h"

#include <cstring>

namespace qilo {

bool IsRule(const ControlSpec& label) {
  const char* text = label.text;
  return label.kind == ControlKind::kLabel && text != nullptr &&
         text[0] != '\0' && std::strspn(text, "_") == std::strlen(text);
}

RuleLine RuleLineOf(const Control& label) {
  return {label.left, label.top + label.height - 1, label.width};
}

bool IsFullStop(const ControlSpec& label) {
  return label.kind == ControlKind::kLabel && label.text != nullptr &&
         std::strcmp(label.text, "。") == 0;
}

}  // namespace qilo
