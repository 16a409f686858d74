#include "store/link_table.h"

#include <utility>

#include "calc/number_text.h"
#include "os/files.h"
#include "store/profile_store.h"

namespace qilo {

void LoadLinkTable(const std::string& links_path, LinkTable* table) {
  // One read of the file serves the sixty entries.
  const IniSnapshot links(links_path);
  int next = 1;
  for (int n = 1; n <= kLinkSlots; ++n) {
    const std::string key = IntegerToText(n);
    std::string name = links.Read("info", key);
    if (name.empty()) continue;
    std::string address = links.Read("link", key);
    if (address.empty()) continue;
    table->Names[next] = std::move(name);
    table->Links[next] = std::move(address);
    ++next;
  }
}

std::string LinksPath(const std::string& home) {
  return PathInFolder(home, "qiloinfo.ini");
}

}  // namespace qilo
