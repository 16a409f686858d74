#include "cli/utf8_stream.h"

namespace qilo::cli {
namespace {

// The bytes a sequence with this first byte takes; 1 for a byte that cannot
// begin a longer one.
size_t AnnouncedSize(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 1;
}

// Where the text stops being whole: the start of a sequence at its very end
// that more bytes could still complete, else its size.
size_t WholeUpTo(std::string_view text) {
  size_t at = 0;
  while (at < text.size()) {
    const size_t size = Utf8CharSize(text, at);
    if (at + size == text.size() &&
        size < AnnouncedSize(static_cast<unsigned char>(text[at]))) {
      return at;
    }
    at += size;
  }
  return text.size();
}

}  // namespace

Utf16String Utf8StreamDecoder::Decode(std::string_view piece) {
  waiting_.append(piece);
  const size_t whole = WholeUpTo(waiting_);
  Utf16String out =
      Utf8ToUtf16(std::string_view(waiting_).substr(0, whole)).text;
  waiting_.erase(0, whole);
  return out;
}

Utf16String Utf8StreamDecoder::Finish() {
  Utf16String out = Utf8ToUtf16(waiting_).text;
  waiting_.clear();
  return out;
}

}  // namespace qilo::cli
