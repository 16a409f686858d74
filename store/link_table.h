#pragma once

#include <array>
#include <string>

namespace qilo {

// The links loaded at start, packed from index 1 in ascending key order; index
// 0 is unused and an empty name marks the end.
struct LinkTable {
  std::array<std::string, 31> Names, Links;
};

// The number of keys in the links file: 1-20 bookmarks, 21-30 the link feed.
constexpr int kLinkSlots = 30;

// Fills the table from keys "1" to "30" of sections "info" (name) and "link"
// (address) of the links file: an entry whose name or address is empty is
// skipped, the others take indexes 1, 2, 3 … in key order. Indexes after the
// last entry keep what they held. A missing file loads nothing. Never throws.
void LoadLinkTable(const std::string& links_path, LinkTable* table);

// The links file in the home folder: PathInFolder(home, "qiloinfo.ini").
std::string LinksPath(const std::string& home);

}  // namespace qilo
