#include "store/link_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "os/test_folder.h"
#include "store/profile_store.h"

namespace qilo {
namespace {

class LinkTableTest : public ::testing::Test {
 protected:
  std::string Path() const { return LinksPath(dir_.Path()); }
  std::string Native() const { return dir_ / "qiloinfo.ini"; }
  TestFolder dir_;
};

TEST_F(LinkTableTest, LoadsPackedInKeyOrderSkippingHalfEntries) {
  struct Case {
    std::string file;
    std::vector<std::pair<std::string, std::string>> entries;
  } cases[] = {
      {"[info]\n25=b\n3=a\n[link]\n3=http://a\n25=http://b\n",
       {{"a", "http://a"}, {"b", "http://b"}}},
      {"[info]\n1=name only\n3=c\n[link]\n2=address only\n3=c.com\n",
       {{"c", "c.com"}}},
      {"[info]\n0=z\n31=z\n4=' '\n[link]\n0=z\n31=z\n4=x\n", {{" ", "x"}}},
      {"[INFO]\n7='\xC0\xEE'\n[Link]\n7=\"http://li\"\n",
       {{"\xC0\xEE", "http://li"}}},
      {"", {}},
  };
  for (const Case& c : cases) {
    PutFileBytes(Native(), c.file);
    LinkTable table;
    LoadLinkTable(Path(), &table);
    for (size_t i = 1; i <= 30; ++i) {
      const bool used = i <= c.entries.size();
      EXPECT_EQ(table.Names[i], used ? c.entries[i - 1].first : "")
          << c.file << i;
      EXPECT_EQ(table.Links[i], used ? c.entries[i - 1].second : "")
          << c.file << i;
    }
  }
}

TEST_F(LinkTableTest, AllThirtySlotsAndWhatFollowsTheLastEntryIsKept) {
  for (int n = 1; n <= kLinkSlots; ++n) {
    WriteEntry(Path(), "info", std::to_string(n), "site " + std::to_string(n));
    WriteEntry(Path(), "link", std::to_string(n),
               "http://s" + std::to_string(n));
  }
  LinkTable table;
  LoadLinkTable(Path(), &table);
  EXPECT_EQ(table.Names[1], "site 1");
  EXPECT_EQ(table.Links[30], "http://s30");

  DeleteEntry(Path(), "link", "2");
  LinkTable stale;
  stale.Names.fill("old");
  LoadLinkTable(Path(), &stale);
  EXPECT_EQ(stale.Names[2], "site 3");
  EXPECT_EQ(stale.Names[29], "site 30");
  EXPECT_EQ(stale.Names[30], "old");
  EXPECT_EQ(stale.Names[0], "old");

  LinkTable none;
  LoadLinkTable(LinksPath(dir_.Path() + "/missing"), &none);
  EXPECT_EQ(none.Names[1], "");
}

// One read and parse fills the table as a read of the store per key would,
// whatever the file holds: the sections in any case, in two parts or
// missing, keys twice or written "01" or " 7 ", blanks, quotes, long values.
TEST_F(LinkTableTest, FillsTheTableAsAReadPerKeyWould) {
  const std::vector<std::string> sections = {"info", "INFO",  " Link ",
                                             "link", "links", "[cfg"};
  const std::vector<std::string> keys = {"1",  "2",  "7", "01", " 7 ",
                                         "30", "31", "0", "+1", "\xB9\xC9"};
  const std::vector<std::string> values = {
      "a", "", " ", "\"\"", "'x'", "http://a", std::string(2100, 'v')};
  std::mt19937 random(20261210);
  const auto pick = [&](const std::vector<std::string>& from) {
    return from[random() % from.size()];
  };
  for (int file = 0; file < 100; ++file) {
    std::string content;
    const int lines = static_cast<int>(random() % 40);
    for (int i = 0; i < lines; ++i) {
      content += random() % 5 == 0 ? "[" + pick(sections) + "]"
                                   : pick(keys) + "=" + pick(values);
      content += random() % 3 ? "\n" : "\r\n";
    }
    PutFileBytes(Native(), content);
    LinkTable read_per_key;
    int next = 1;
    for (int n = 1; n <= kLinkSlots; ++n) {
      const std::string name = ReadEntry(Path(), "info", std::to_string(n));
      const std::string address = ReadEntry(Path(), "link", std::to_string(n));
      if (name.empty() || address.empty()) continue;
      read_per_key.Names[next] = name;
      read_per_key.Links[next++] = address;
    }
    LinkTable table;
    LoadLinkTable(Path(), &table);
    ASSERT_EQ(table.Names, read_per_key.Names) << content;
    ASSERT_EQ(table.Links, read_per_key.Links) << content;
  }
}

TEST(LinksPathTest, AddsTheSeparatorAndName) {
#ifdef _WIN32
  EXPECT_EQ(LinksPath("C:\\Users\\li"), "C:\\Users\\li\\qiloinfo.ini");
#else
  EXPECT_EQ(LinksPath("/home/li"), "/home/li/qiloinfo.ini");
#endif
}

}  // namespace
}  // namespace qilo
