#include "feed/link_feed.h"

#include <optional>
#include <string_view>

#include "feed/http_client.h"
#include "os/files.h"
#include "qilo_config.h"
#include "store/profile_store.h"
#include "text/exception.h"
#include "text/gbk.h"

namespace qilo {
namespace {

constexpr std::string_view kMarker = "writelinks(\"";
constexpr int kFeedEntries = 10;
constexpr int kFirstFeedKey = 21;
constexpr int64_t kFeedBodyLimit = 1024 * 1024;

bool HoldsControlByte(const std::string& text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127) return true;
  }
  return false;
}

// The bytes of `*rest` before its next double quote, which is taken out with
// them; empty (and `*rest` unchanged) when there is no quote.
std::string_view UpToQuote(std::string_view* rest, bool* found) {
  size_t quote = rest->find('"');
  *found = quote != std::string_view::npos;
  if (!*found) return {};
  std::string_view value = rest->substr(0, quote);
  rest->remove_prefix(quote + 1);
  return value;
}

}  // namespace

std::optional<std::string> FeedUrlOf(std::string_view host) {
  // The name alone: without a port, and without the dot of a rooted name.
  std::string_view name = host.substr(0, host.find(':'));
  if (!name.empty() && name.back() == '.') name.remove_suffix(1);
  auto is_or_under = [name](std::string_view domain) {
    return name.size() >= domain.size() &&
           SameText(name.substr(name.size() - domain.size()), domain) &&
           (name.size() == domain.size() ||
            name[name.size() - domain.size() - 1] == '.');
  };
  for (std::string_view reserved : {"example.com", "example.net", "example.org",
                                    "example", "invalid", "test"}) {
    if (is_or_under(reserved)) return std::nullopt;
  }
  if (name.empty()) return std::nullopt;
  return "http://" + std::string(host) + "/qilocal";
}

std::optional<std::string> FeedUrl() { return FeedUrlOf(QILO_FEED_HOST); }

bool LinkFeedDue(const std::string& links_path,
                 std::chrono::system_clock::time_point now) {
  std::optional<FileTime> written = FileModificationTime(links_path);
  if (!written) return true;
  return now - *written > std::chrono::hours(24 * 30);
}

std::string FetchPageText(const std::string& url, std::string* failure) {
  HttpLimits limits;
  limits.max_body_bytes = kFeedBodyLimit;
  THttpClient client(limits);
  std::string body;
  try {
    client.Get(url, &body);
  } catch (const std::exception& e) {
    if (failure != nullptr) *failure = DescribeError(e);
    return "";
  }
  return body.substr(0, body.find('\0'));
}

std::vector<FeedEntry> StoreFeedEntries(
    const std::string& links_path, const std::vector<std::string>& page_lines) {
  std::vector<FeedEntry> stored;
  int i = 1;
  bool found = true;
  for (const std::string& item : page_lines) {
    std::string_view rest = item;
    while (found && i <= kFeedEntries) {
      size_t marker = rest.find(kMarker);
      if (marker == std::string_view::npos) {
        found = false;
        break;
      }
      rest.remove_prefix(marker + kMarker.size());
      bool quote = false;
      const std::string address(UpToQuote(&rest, &quote));
      UpToQuote(&rest, &quote);
      const std::string name(UpToQuote(&rest, &quote));
      found = quote;
      // A control byte would corrupt the links file or the ticker line.
      if (HoldsControlByte(name) || HoldsControlByte(address)) continue;
      const int key = kFirstFeedKey - 1 + i;
      StoreEntry(links_path, "info", std::to_string(key), name);
      StoreEntry(links_path, "link", std::to_string(key), address);
      stored.push_back(FeedEntry{key, name, address});
      ++i;
    }
  }
  return stored;
}

std::vector<FeedEntry> RefreshLinkFeedFrom(
    const std::string& url, const std::string& links_path,
    std::chrono::system_clock::time_point now, bool force,
    std::vector<std::string>& page_lines, std::string* failure) {
  if (!force && !LinkFeedDue(links_path, now)) return {};
  page_lines.push_back(FetchPageText(url, failure));
  return StoreFeedEntries(links_path, page_lines);
}

void RefreshLinkFeed(const std::string& links_path,
                     std::chrono::system_clock::time_point now,
                     std::vector<std::string>& page_lines) {
  const std::optional<std::string> url = FeedUrl();
  if (!url) return;
  RefreshLinkFeedFrom(*url, links_path, now, false, page_lines);
}

}  // namespace qilo
