#pragma once

#include <string>
#include <string_view>

namespace qilo {

// A URL taken apart; every field holds the bytes as they stood in the URL.
struct TUri {
  std::string protocol;
  std::string username;
  std::string password;
  std::string host;
  std::string port;
  std::string path;
  std::string document;
  std::string params;
  std::string bookmark;
};

// Takes `url` apart: "\" becomes "/" (GBK double-byte characters are passed
// over whole); with "://", protocol, user information, host and port come from
// the authority, and the path gets a leading "/"; the rest splits into path
// (up to the last "/" before the first "?", or "=" when there is no "?"),
// document and params; the bookmark follows "#" in the document (only after
// "://") or else in the params. Never fails.
TUri ParseUri(std::string_view url);

}  // namespace qilo
