#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qilo {

// The close-time refresh of the feed slots 21 to 30 of the links file: when
// the build has a feed host (FeedUrl) and the file is missing or was last
// written more than 30 days before `now`,
// fetches the feed page into `page_lines` and stores up to ten announced
// entries with StoreEntry. Every fetch failure is swallowed; a refused write
// of the links file raises EIniFileException, and a socket layer that cannot
// start raises ESocketStartupFailed.
void RefreshLinkFeed(const std::string& links_path,
                     std::chrono::system_clock::time_point now,
                     std::vector<std::string>& page_lines);

// The feed page of `host`: "http://" + host + "/qilocal"; none for an empty
// host or one of the names reserved for examples (example.com, .net and .org
// with their subdomains, and the .example, .invalid and .test domains), which
// a build keeps when nobody set a real one: such a name may answer slowly or
// belong to a stranger, so it is never fetched.
std::optional<std::string> FeedUrlOf(std::string_view host);

// FeedUrlOf the feed host chosen at build time.
std::optional<std::string> FeedUrl();

// True when the links file is missing or its age at `now` is more than 30
// days (exactly 30 days is not due).
bool LinkFeedDue(const std::string& links_path,
                 std::chrono::system_clock::time_point now);

// The body of `url` up to its first zero byte, fetched with a client made for
// the call (body limit 1 MiB); empty when the fetch fails, the failure
// ("<class>: <message>") then going to `*failure` when given. Throws only
// what creating the client throws.
std::string FetchPageText(const std::string& url,
                          std::string* failure = nullptr);

// One feed entry as stored under `key` (21 to 30).
struct FeedEntry {
  int key;
  std::string name;
  std::string address;
};

// Scans `page_lines` for up to ten entries `writelinks("address" … "name"`,
// stores each in "info"/key and "link"/key from 21 on with StoreEntry, and
// gives what it stored. An entry whose name or address holds a control byte
// (below 32, or DEL) is passed over without taking a key. Throws
// EIniFileException.
std::vector<FeedEntry> StoreFeedEntries(
    const std::string& links_path, const std::vector<std::string>& page_lines);

// RefreshLinkFeed with another page address; `force` skips the due test.
// Gives the entries stored.
std::vector<FeedEntry> RefreshLinkFeedFrom(
    const std::string& url, const std::string& links_path,
    std::chrono::system_clock::time_point now, bool force,
    std::vector<std::string>& page_lines, std::string* failure = nullptr);

}  // namespace qilo
