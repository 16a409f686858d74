// The URL parser takes any bytes apart without failing, and its pieces are
// all taken from the URL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "feed/url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view url(reinterpret_cast<const char*>(data), size);
  const qilo::TUri uri = qilo::ParseUri(url);
  const size_t pieces = uri.protocol.size() + uri.username.size() +
                        uri.password.size() + uri.host.size() +
                        uri.port.size() + uri.document.size() +
                        uri.params.size() + uri.bookmark.size();
  // The path may gain a leading "/"; nothing else is invented.
  if (pieces > url.size()) std::abort();
  if (uri.path.size() > url.size() + 1) std::abort();
  return 0;
}
