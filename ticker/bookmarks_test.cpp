#include "ticker/bookmarks.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "calc/number_text.h"
#include "os/test_folder.h"
#include "store/profile_store.h"
#include "text/gbk.h"

namespace qilo {
namespace {

class BookmarksTest : public ::testing::Test {
 protected:
  void Put(int slot, const std::string& name, const std::string& link) {
    if (!name.empty()) WriteEntry(path, "info", IntegerToText(slot), name);
    if (!link.empty()) WriteEntry(path, "link", IntegerToText(slot), link);
  }
  std::string Name(int slot) {
    return ReadEntry(path, "info", IntegerToText(slot));
  }
  std::string Link(int slot) {
    return ReadEntry(path, "link", IntegerToText(slot));
  }
  void FillBookmarks() {
    for (int n = 1; n <= 20; ++n)
      Put(n, "n" + std::to_string(n), "l" + std::to_string(n));
  }

  TestFolder folder;
  std::string path = folder.Path() + "/qiloinfo.ini";
};

TEST_F(BookmarksTest, AddToFirstFreeSlot) {
  Put(1, "a", "x");
  Put(2, "b", "");  // a half entry counts as free and is overwritten
  EXPECT_EQ(AddBookmark(path, "new", "y"), "new" + Gbk("已添加！"));
  EXPECT_EQ(Name(2), "new");
  EXPECT_EQ(Link(2), "y");
}

TEST_F(BookmarksTest, AddOutcomes) {
  const struct {
    bool full;
    const char* name;
    const char* link;
    std::string message;
  } kCases[] = {
      {false, "feed", "http://f", "feed" + Gbk("已存在！")},
      {false, "a", "", Gbk("信息不完整请重新录入！")},
      {false, "  ", "x", Gbk("信息不完整请重新录入！")},
      {true, "c", "d", Gbk("收藏夹已满请先删除！")},
      {true, "feed", "http://f", Gbk("收藏夹已满请先删除！")},  // full wins
      {false, "feed", "http://f2",
       "feed" + Gbk("已添加！")},  // another address
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    std::remove(path.c_str());
    if (c.full) FillBookmarks();
    Put(23, "feed", "http://f");
    const std::string before = Name(1);
    EXPECT_EQ(AddBookmark(path, c.name, c.link), c.message);
    if (c.message.find(Gbk("已添加！")) == std::string::npos) {
      EXPECT_EQ(Name(1), before);  // nothing written
    }
  }
}

TEST_F(BookmarksTest, AddRefusedWriteThrows) {
  const std::string bad = folder.Path() + "/missing/qiloinfo.ini";
  EXPECT_THROW(AddBookmark(bad, "a", "b"), Exception);
}

TEST_F(BookmarksTest, DeleteFirstMatchAnywhere) {
  Put(3, "a", "x");
  Put(25, "f", "y");
  EXPECT_EQ(DeleteBookmark(path, "f", "y"), "f" + Gbk("已删除！"));
  EXPECT_EQ(Name(25), "");
  EXPECT_EQ(Link(25), "");
  EXPECT_EQ(DeleteBookmark(path, "a", "other"),
            Gbk("无法删除，") + "a" + Gbk("不存在！"));
  EXPECT_EQ(Name(3), "a");
  EXPECT_EQ(DeleteBookmark(folder.Path() + "/none.ini", "a", "x"),
            Gbk("无法删除，") + "a" + Gbk("不存在！"));
}

}  // namespace
}  // namespace qilo
