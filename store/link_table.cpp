#include "store/link_table.h"

#include <string_view>

#include "os/files.h"
#include "store/profile_store.h"

namespace qilo {

void LoadLinkTable(const std::string& links_path, LinkTable* table) {
  // One read and parse of the file serves the sixty entries.
  constexpr std::string_view kSections[] = {"info", "link"};
  const NumberedEntries entries(links_path, kSections, kLinkSlots);
  int next = 1;
  for (int n = 1; n <= kLinkSlots; ++n) {
    const std::string_view name = entries.View(0, n);
    if (name.empty()) continue;
    const std::string_view address = entries.View(1, n);
    if (address.empty()) continue;
    table->Names[next].assign(name);
    table->Links[next].assign(address);
    ++next;
  }
}

std::string LinksPath(const std::string& home) {
  return PathInFolder(home, "qiloinfo.ini");
}

}  // namespace qilo
