#include "feed/link_feed.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

#include "feed/test_server.h"
#include "os/files.h"
#include "os/test_folder.h"
#include "store/profile_store.h"

namespace qilo {
namespace {

using net_test::Answer;
using net_test::ScriptedServer;
using Clock = std::chrono::system_clock;

std::string Entry(const std::string& address, const std::string& name) {
  return "writelinks(\"" + address + "\",\"" + name + "\");\n";
}

class LinkFeedTest : public ::testing::Test {
 protected:
  std::string Path() const { return dir_ / "qiloinfo.ini"; }
  // Keys 1 and 21 to 30 hold old values before each case.
  void FillOld() {
    PutFileBytes(Path(), "");
    for (int key : {1, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30}) {
      WriteEntry(Path(), "info", std::to_string(key),
                 "old" + std::to_string(key));
      WriteEntry(Path(), "link", std::to_string(key),
                 "http://old/" + std::to_string(key));
    }
  }
  std::pair<std::string, std::string> At(int key) const {
    return {ReadEntry(Path(), "info", std::to_string(key)),
            ReadEntry(Path(), "link", std::to_string(key))};
  }
  TestFolder dir_;
};

TEST_F(LinkFeedTest, StoresAnnouncedEntriesFromKey21) {
  using Slots = std::vector<std::pair<std::string, std::string>>;
  std::string twelve;
  Slots first_ten;
  for (int i = 1; i <= 12; ++i) {
    twelve +=
        "<p>" + Entry("http://e/" + std::to_string(i), "E" + std::to_string(i));
    if (i <= 10)
      first_ten.push_back(
          {"E" + std::to_string(i), "http://e/" + std::to_string(i)});
  }
  struct Case {
    const char* name;
    std::vector<std::string> page_lines;
    Slots slots;  // keys 21 on; later keys keep their old values
  };
  const Case cases[] = {
      {"three",
       {Entry("http://a", "A") + "junk" + Entry("http://b", "\xB9\xC9") +
        Entry("c", "C")},
       {{"A", "http://a"}, {"\xB9\xC9", "http://b"}, {"C", "c"}}},
      {"twelve", {twelve}, first_ten},
      {"half entry", {Entry("", "Name")}, {{"Name", ""}}},
      // The next marker's quote would close the name, so only the end of the
      // page leaves it open.
      {"name without closing quote",
       {"writelinks(\"http://a\",\"Name"},
       {{"", "http://a"}}},
      {"no quotes after the marker", {"writelinks(\"http://a"}, {{"", ""}}},
      {"control bytes take no key",
       {Entry("http://a\r\nX=1", "A") + Entry("http://b", "B\t") +
        Entry("http://c", "C")},
       {{"C", "http://c"}}},
      {"DEL takes no key",
       {Entry("http://d\x7F", "D") + Entry("http://e", "E\x7F") +
        Entry("http://c", "\xB9\xC9")},
       {{"\xB9\xC9", "http://c"}}},
      // The scan ends for good with the first item that runs out of markers.
      {"later items are not scanned",
       {Entry("http://a", "A"), Entry("http://b", "B")},
       {{"A", "http://a"}}},
      {"no marker", {"<html>nothing</html>"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FillOld();
    std::vector<FeedEntry> stored = StoreFeedEntries(Path(), c.page_lines);
    ASSERT_EQ(stored.size(), c.slots.size());
    for (size_t i = 0; i < c.slots.size(); ++i) {
      EXPECT_EQ(stored[i].key, 21 + static_cast<int>(i));
      EXPECT_EQ(At(21 + static_cast<int>(i)), c.slots[i]);
    }
    for (int key = 21 + static_cast<int>(c.slots.size()); key <= 30; ++key) {
      EXPECT_EQ(At(key).first, "old" + std::to_string(key));
    }
    EXPECT_EQ(At(1).first, "old1");
  }
}

TEST_F(LinkFeedTest, DueWhenMissingOrOlderThan30Days) {
  const auto now = Clock::now();
  EXPECT_TRUE(LinkFeedDue(Path(), now));
  PutFileBytes(Path(), "[info]\n");
  const struct {
    std::chrono::hours age;
    bool due;
  } cases[] = {{std::chrono::hours(24 * 29), false},
               {std::chrono::hours(24 * 30), false},
               {std::chrono::hours(24 * 30 + 1), true},
               {std::chrono::hours(24 * 31), true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.age.count());
    ASSERT_TRUE(SetFileModificationTime(Path(), now - c.age));
    EXPECT_EQ(LinkFeedDue(Path(), now), c.due);
  }
}

TEST_F(LinkFeedTest, RefreshFetchesOnlyWhenDue) {
  const std::string page = Entry("http://a", "A") + Entry("http://b", "B");
  const std::string response =
      "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(page.size()) +
      "\r\n\r\n" + page;
  const auto now = Clock::now();
  for (int days : {29, 31}) {
    SCOPED_TRACE(days);
    FillOld();
    ASSERT_TRUE(
        SetFileModificationTime(Path(), now - std::chrono::hours(24 * days)));
    ScriptedServer server({Answer(response, true)});
    std::vector<std::string> page_lines;
    auto stored = RefreshLinkFeedFrom(server.Url("/qilocal"), Path(), now,
                                      false, page_lines);
    if (days == 29) {
      EXPECT_TRUE(stored.empty());
      EXPECT_TRUE(page_lines.empty());
      EXPECT_EQ(At(21).first, "old21");
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      EXPECT_EQ(server.Accepted(), 0);
    } else {
      EXPECT_EQ(stored.size(), 2u);
      EXPECT_EQ(page_lines, std::vector<std::string>{page});
      EXPECT_EQ(At(22), (std::pair<std::string, std::string>{"B", "http://b"}));
      EXPECT_EQ(At(23).first, "old23");
    }
  }
}

TEST_F(LinkFeedTest, FailedOrOddFetchesStoreNothingOrTheTextBeforeAZero) {
  const std::string big(1024 * 1024 + 1, 'x');
  struct Case {
    const char* name;
    std::string response;
    std::string page_text;
    const char* failure;
  };
  const Case cases[] = {
      {"redirect",
       "HTTP/1.1 302 Found\r\nLocation: http://x/\r\nContent-Length: 0\r\n\r\n",
       "", "EHttpProtocolException: HTTP/1.1 302 Found"},
      {"over 1 MiB", "HTTP/1.0 200 OK\r\n\r\n" + big, "",
       "ENetException: Response body is larger than the limit of 1048576 "
       "bytes."},
      // Entries of a page cut short are not stored: the rest is unknown.
      {"cut short",
       "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n" +
           Entry("http://a", "A"),
       "", "EConnClosedGracefully: Connection Closed Gracefully."},
      {"zero byte",
       "HTTP/1.0 200 OK\r\n\r\n" + Entry("http://a", "A") +
           std::string(1, '\0') + Entry("http://b", "B"),
       Entry("http://a", "A"), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(Path().c_str());
    ScriptedServer server({Answer(c.response, true)});
    std::vector<std::string> page_lines;
    std::string failure;
    auto stored =
        RefreshLinkFeedFrom(server.Url("/qilocal"), Path(), Clock::now(), false,
                            page_lines, &failure);
    EXPECT_EQ(failure, c.failure);
    EXPECT_EQ(page_lines, std::vector<std::string>{c.page_text});
    EXPECT_EQ(stored.size(), c.page_text.empty() ? 0u : 1u);
    EXPECT_EQ(FileExists(Path()), !c.page_text.empty());
  }
}

TEST(FeedUrlTest, NamesReservedForExamplesAreNeverFetched) {
  const std::pair<const char*, const char*> cases[] = {
      {"qilo.cn", "http://qilo.cn/qilocal"},
      {"qilo.cn:8080", "http://qilo.cn:8080/qilocal"},
      {"notexample.com", "http://notexample.com/qilocal"},
      {"example.com.cn", "http://example.com.cn/qilocal"},
      {"qilo.example.com", nullptr},
      {"Qilo.Example.COM.", nullptr},
      {"example.org:80", nullptr},
      {"feed.example.net", nullptr},
      {"qilo.example", nullptr},
      {"feed.invalid", nullptr},
      {"qilo.test", nullptr},
      {"", nullptr},
  };
  for (const auto& [host, url] : cases) {
    SCOPED_TRACE(host);
    EXPECT_EQ(FeedUrlOf(host), url ? std::optional<std::string>(url)
                                   : std::optional<std::string>());
  }
}

// A build left with the placeholder host closes at once: no fetch, nothing
// written, not even a failed page text kept.
TEST_F(LinkFeedTest, PlaceholderHostFetchesNothingAtClose) {
  if (FeedUrl()) GTEST_SKIP() << "built with a real feed host";
  std::vector<std::string> page_lines;
  RefreshLinkFeed(Path(), Clock::now(), page_lines);
  EXPECT_TRUE(page_lines.empty());
  EXPECT_FALSE(FileExists(Path()));
}

}  // namespace
}  // namespace qilo
