#include "ticker/info_ticker.h"

#include <gtest/gtest.h>

namespace qilo {
namespace {

struct Line {
  std::string caption = "start";
  std::string hint;
  int top = 6;
  int width = 107;
  InfoLine Ref() { return InfoLine{caption, hint, top, width}; }
};

LinkTable TableOf(int entries) {
  LinkTable table;
  for (int i = 1; i <= entries; ++i) {
    table.Names[i] = "name" + std::to_string(i);
    table.Links[i] = "link" + std::to_string(i);
  }
  return table;
}

// Ticks until an entry is loaded; returns the ticks taken.
int TicksToNextEntry(TickerState& state, const LinkTable& table, Line& line,
                     int* loaded) {
  for (int ticks = 1; ticks < 5000; ++ticks) {
    *loaded = TickInfo(state, table, line.Ref());
    if (*loaded != 0) return ticks;
  }
  return -1;
}

TEST(InfoTickerTest, GeometryAndTiming) {
  const LinkTable table = TableOf(2);
  TickerState state;
  Line line;
  int loaded;
  // From the start caption at top 6: no rest, 23 ticks to leave (6 → -17).
  EXPECT_EQ(TicksToNextEntry(state, table, line, &loaded), 23);
  EXPECT_EQ(loaded, 1);
  EXPECT_EQ(line.top, 30);
  EXPECT_EQ(line.caption, "name1");
  EXPECT_EQ(line.hint, "link1");
  EXPECT_EQ(line.width, 35);
  // 23 ticks up to 7, 1000 at rest, 24 out.
  for (int i = 0; i < 23; ++i) TickInfo(state, table, line.Ref());
  EXPECT_EQ(line.top, 7);
  for (int i = 0; i < 1000; ++i) TickInfo(state, table, line.Ref());
  EXPECT_EQ(line.top, 7);
  EXPECT_EQ(state.rest, 1000);
  TickInfo(state, table, line.Ref());
  EXPECT_EQ(line.top, 6);
  EXPECT_EQ(state.rest, 0);
  EXPECT_EQ(TicksToNextEntry(state, table, line, &loaded), 23);
  EXPECT_EQ(loaded, 2);
}

TEST(InfoTickerTest, EntryOrderWraps) {
  const struct {
    int entries;
    std::vector<int> order;
  } kCases[] = {
      {3, {1, 2, 3, 1, 2, 3, 1}},
      {1, {1, 1, 1}},
      {30, {1, 2, 3}},
  };
  for (const auto& c : kCases) {
    const LinkTable table = TableOf(c.entries);
    TickerState state;
    Line line;
    int loaded;
    for (int expected : c.order) {
      TicksToNextEntry(state, table, line, &loaded);
      EXPECT_EQ(loaded, expected) << c.entries;
    }
  }
  // After entry 30 comes entry 1.
  const LinkTable full = TableOf(30);
  TickerState state;
  state.position = 29;
  Line line;
  int loaded;
  TicksToNextEntry(state, full, line, &loaded);
  EXPECT_EQ(loaded, 30);
  EXPECT_EQ(state.position, 0);
  TicksToNextEntry(state, full, line, &loaded);
  EXPECT_EQ(loaded, 1);
}

TEST(InfoTickerTest, EmptyTableBlanksTheLine) {
  const LinkTable table;
  TickerState state;
  Line line;
  line.hint = "old";
  int loaded;
  TicksToNextEntry(state, table, line, &loaded);
  EXPECT_EQ(line.caption, "");
  EXPECT_EQ(line.hint, "");
  EXPECT_EQ(line.width, 0);
  EXPECT_EQ(state.position, 0);
}

TEST(InfoTickerTest, MessageRestsThenScrollsAway) {
  const LinkTable table = TableOf(3);
  TickerState state;
  Line line;
  line.top = 7;
  state.rest = 500;
  line.caption = "message";
  for (int i = 0; i < 500; ++i) TickInfo(state, table, line.Ref());
  EXPECT_EQ(line.caption, "message");
  EXPECT_EQ(line.top, 7);
  int loaded;
  EXPECT_EQ(TicksToNextEntry(state, table, line, &loaded), 24);
  EXPECT_EQ(line.caption, "name1");
}

TEST(UrlToOpenTest, AlwaysAWebScheme) {
  const struct {
    const char* address;
    const char* url;
  } kCases[] = {
      {"www.example.com/a", "http://www.example.com/a"},
      {"http://example.com", "http://example.com"},
      {"HTTP://example.com", "HTTP://example.com"},
      {"https://example.com", "https://example.com"},
      {"HttpS://example.com", "HttpS://example.com"},
      {"file:///etc/passwd", "http://file:///etc/passwd"},
      {"/usr/bin/xterm", "http:///usr/bin/xterm"},
      {"x.com/?u=http://y", "http://x.com/?u=http://y"},
      {"mailto:a@b", "http://mailto:a@b"},
      {"http:/", "http://http:/"},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(UrlToOpen(c.address), c.url) << c.address;
}

}  // namespace
}  // namespace qilo
