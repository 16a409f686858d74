// The link feed page scan: whatever the page holds, at most ten entries are
// stored, under keys 21 to 30, without control bytes, and each reads back
// from the links file as it was stored.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "feed/link_feed.h"
#include "fuzz/harness_file.h"
#include "store/profile_store.h"
#include "text/exception.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = HarnessFile();
  unlink(path.c_str());
  const std::vector<std::string> page = {
      std::string(reinterpret_cast<const char*>(data), size)};
  std::vector<qilo::FeedEntry> stored;
  try {
    stored = qilo::StoreFeedEntries(path, page);
  } catch (const qilo::Exception&) {
    return 0;  // a refused write: reported, nothing lost
  }
  if (stored.size() > 10) std::abort();
  int key = 21;
  for (const qilo::FeedEntry& entry : stored) {
    if (entry.key != key++) std::abort();
    for (const std::string* text : {&entry.name, &entry.address}) {
      for (const char c : *text) {
        if (static_cast<unsigned char>(c) < 32) std::abort();
      }
    }
    // The profile rules trim blanks, drop a pair of quotes and cut at 2047
    // bytes on reading; a name they leave alone reads back whole.
    const std::string& name = entry.name;
    const bool plain = !name.empty() && name.size() < 2047 &&
                       name.front() != ' ' && name.front() != '\t' &&
                       name.back() != ' ' && name.back() != '\t' &&
                       name.front() != '"' && name.front() != '\'';
    if (plain &&
        qilo::ReadEntry(path, "info", std::to_string(entry.key)) != name) {
      std::abort();
    }
  }
  return 0;
}
