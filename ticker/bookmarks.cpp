#include "ticker/bookmarks.h"

#include "calc/number_text.h"
#include "store/link_table.h"
#include "store/profile_store.h"
#include "text/gbk.h"

namespace qilo {
namespace {

constexpr int kBookmarkSlots = 20;

std::string NameOf(const std::string& path, int slot) {
  return ReadEntry(path, "info", IntegerToText(slot), "");
}

std::string LinkOf(const std::string& path, int slot) {
  return ReadEntry(path, "link", IntegerToText(slot), "");
}

// The first slot from 1 to kLinkSlots (30) holding exactly this entry; 0 for
// none.
int FindEntry(const std::string& path, const std::string& name,
              const std::string& address) {
  for (int n = 1; n <= kLinkSlots; ++n) {
    if (NameOf(path, n) == name && LinkOf(path, n) == address) return n;
  }
  return 0;
}

}  // namespace

std::string AddBookmark(const std::string& links_path, const std::string& name,
                        const std::string& address) {
  int free_slot = 0;
  for (int n = 1; n <= kBookmarkSlots && free_slot == 0; ++n) {
    if (NameOf(links_path, n).empty() || LinkOf(links_path, n).empty())
      free_slot = n;
  }
  const bool duplicate = FindEntry(links_path, name, address) != 0;
  // A full list is reported even for an entry that is already there.
  if (free_slot == 0) return Gbk("收藏夹已满请先删除！");
  if (TrimBlanks(name).empty() || TrimBlanks(address).empty()) {
    return Gbk("信息不完整请重新录入！");
  }
  if (duplicate) return name + Gbk("已存在！");
  const std::string key = IntegerToText(free_slot);
  StoreEntry(links_path, "info", key, name);
  StoreEntry(links_path, "link", key, address);
  return name + Gbk("已添加！");
}

std::string DeleteBookmark(const std::string& links_path,
                           const std::string& name,
                           const std::string& address) {
  const int slot = FindEntry(links_path, name, address);
  if (slot == 0) return Gbk("无法删除，") + name + Gbk("不存在！");
  const std::string key = IntegerToText(slot);
  StoreEntry(links_path, "info", key, "");
  StoreEntry(links_path, "link", key, "");
  return name + Gbk("已删除！");
}

}  // namespace qilo
