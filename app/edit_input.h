#pragma once

#include <string>
#include <string_view>

namespace qilo {

// What an edit field takes of a text offered at its cursor, typed or pasted
// (UTF-8): the text up to its first line break, without the characters GBK
// has no code for, and of the rest the whole characters that fit in `room`
// GBK bytes (negative: no limit). Both front ends apply this one rule.
struct AdmittedText {
  std::string utf8;
  bool uncoded = false;  // characters were left out for want of a GBK code
};
AdmittedText AdmitText(std::string_view offered, long room);

// The GBK bytes a field with `max_length` (0: no limit) still takes when
// `selection` of its `text` (both GBK) is replaced, never below 0; -1
// without a limit.
long EditRoom(int max_length, std::string_view text,
              std::string_view selection);

}  // namespace qilo
