#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "feed/link_feed.h"
#include "os/files.h"
#include "text/exception.h"
#include "text/gbk.h"

namespace qilo::cli {
namespace {

constexpr char kUsage[] = "feed --links FILE [--url URL] [--force]";

int RunFeed(const std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error;
  if (!ParseArgs(args, {"--links", "--url"}, {"--force"}, &parsed, &error))
    return UsageError("feed", error);
  if (!parsed.positionals.empty() || !parsed.Has("--links")) {
    return ShowUsage(kUsage);
  }
  const std::string links = PathFromUtf8(parsed.Get("--links"));
  const std::optional<std::string> url =
      parsed.Has("--url") ? Utf8ToGbk(parsed.Get("--url")) : FeedUrl();
  if (!url) {
    return UsageError("feed", "this build has no feed host: give --url URL");
  }
  const bool force = parsed.Has("--force");
  const auto now = std::chrono::system_clock::now();
  if (!force && !LinkFeedDue(links, now)) {
    std::printf("not due: the links file was written less than 30 days ago\n");
    return 0;
  }
  std::vector<std::string> page_lines;
  std::string failure;
  std::vector<FeedEntry> stored;
  try {
    stored = RefreshLinkFeedFrom(*url, links, now, true, page_lines, &failure);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", GbkToUtf8(e.Message()).c_str());
    return 2;
  }
  if (!failure.empty()) {
    std::fprintf(stderr, "nothing stored: the fetch failed: %s\n",
                 GbkToUtf8(failure).c_str());
    return 3;
  }
  if (stored.empty()) {
    std::printf("nothing stored: the page announces no entry\n");
    return 0;
  }
  for (const FeedEntry& entry : stored) {
    std::printf("%d\t%s\t%s\n", entry.key, GbkToUtf8(entry.name).c_str(),
                GbkToUtf8(entry.address).c_str());
  }
  return 0;
}

const Registrar kRegistrar(
    "feed", kUsage,
    "the close-time link feed refresh against FILE: due test (skipped with "
    "--force), fetch, store; prints what was stored, or why nothing was",
    &RunFeed);

}  // namespace
}  // namespace qilo::cli
