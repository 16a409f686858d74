// GBK conversions through glibc's iconv.
#include <iconv.h>

#include <cerrno>

#include "text/gbk.h"

namespace qilo {
namespace {

// glibc's "CP936" matches the Windows ANSI code page (0x80 is the euro sign).
constexpr const char kGbkName[] = "CP936";

// The length of the UTF-8 sequence a lead byte starts (1 for a stray byte).
size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

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
// `replacement`: one byte of GBK input, or one whole UTF-8 sequence.
std::string Convert(bool from_utf8, std::string_view in,
                    std::string_view replacement) {
  const Descriptor& descriptor = DescriptorFor(from_utf8);
  if (!descriptor.Ok()) return std::string(in);
  iconv_t cd = descriptor.Get();
  // A conversion an earlier call left in the middle starts afresh.
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out;
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
      size_t skip =
          from_utf8 ? Utf8Length(static_cast<unsigned char>(*src)) : 1;
      if (skip > src_left) skip = src_left;
      src += skip;
      src_left -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  return Convert(false, gbk, "\xEF\xBF\xBD");
}

std::string Utf8ToGbk(std::string_view utf8) {
  return Convert(true, utf8, "?");
}

}  // namespace qilo
