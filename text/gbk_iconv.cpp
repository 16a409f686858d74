// GBK conversions through glibc's iconv.
#include <iconv.h>

#include <cerrno>

#include "text/gbk.h"

namespace qilo {
namespace {

// glibc's "CP936" matches the Windows ANSI code page (0x80 is the euro sign).
constexpr const char kGbkName[] = "CP936";

// One open conversion descriptor. Opening one costs more than most
// conversions, so each thread keeps its two for its lifetime.
class Descriptor {
 public:
  Descriptor(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Descriptor() {
    if (Ok()) iconv_close(cd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t Get() const { return cd_; }

 private:
  iconv_t cd_;
};

const Descriptor& DescriptorFor(bool from_utf8) {
  thread_local const Descriptor to_utf8("UTF-8", kGbkName);
  thread_local const Descriptor to_gbk(kGbkName, "UTF-8");
  return from_utf8 ? to_gbk : to_utf8;
}

// Converts with iconv, replacing each character that does not convert by
// `replacement`: one byte of GBK input, or one UTF-8 character.
Conversion<std::string> Convert(bool from_utf8, std::string_view in,
                                std::string_view replacement) {
  const Descriptor& descriptor = DescriptorFor(from_utf8);
  if (!descriptor.Ok()) return {std::string(in), false};
  iconv_t cd = descriptor.Get();
  // A conversion an earlier call left in the middle starts afresh.
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  Conversion<std::string> converted;
  std::string& out = converted.text;
  out.reserve(in.size() * 2);
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char buffer[256];
  while (src_left > 0) {
    char* dst = buffer;
    size_t dst_left = sizeof buffer;
    size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(buffer, dst - buffer);
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      out.append(replacement);
      converted.lossless = false;
      const size_t skip =
          from_utf8 ? Utf8CharSize(std::string_view(src, src_left), 0) : 1;
      src += skip;
      src_left -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return converted;
}

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  return Convert(false, gbk, kReplacementUtf8).text;
}

std::string Utf8ToGbk(std::string_view utf8) {
  return Convert(true, utf8, "?").text;
}

bool GbkHolds(std::string_view utf8) {
  return Convert(true, utf8, "?").lossless;
}

// Through UTF-8, which iconv converts in one go and always gives whole.
Conversion<Utf16String> GbkToUtf16(std::string_view gbk) {
  const Conversion<std::string> utf8 = Convert(false, gbk, kReplacementUtf8);
  return {Utf8ToUtf16(utf8.text).text, utf8.lossless};
}

// A lone surrogate becomes U+FFFD on the way, which GBK has no code for.
Conversion<std::string> Utf16ToGbk(Utf16View utf16) {
  return Convert(true, Utf16ToUtf8(utf16).text, "?");
}

}  // namespace qilo
