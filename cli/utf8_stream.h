#pragma once

#include <string>
#include <string_view>

#include "text/utf16.h"

namespace qilo::cli {

// Turns UTF-8 that arrives in pieces of any size into UTF-16: a character
// whose bytes are split between two pieces comes out whole with the second.
class Utf8StreamDecoder {
 public:
  // Takes the next piece and gives the UTF-16 of every character it
  // completes. A sequence cut off at the end of `piece` waits for the next
  // piece; a broken one becomes U+FFFD as Utf8ToUtf16 makes it.
  Utf16String Decode(std::string_view piece);

  // Gives what still waits when the stream has ended: a sequence the stream
  // ended inside, as U+FFFD; nothing when no bytes wait.
  Utf16String Finish();

 private:
  std::string waiting_;
};

}  // namespace qilo::cli
