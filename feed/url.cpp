#include "feed/url.h"

#include "text/gbk.h"

namespace qilo {
namespace {

// Splits `rest` into path, document and params. The path keeps every byte up
// to the last "/" before the query; `rooted` puts a "/" in front of it.
void SplitPath(const std::string& rest, bool rooted, TUri* uri) {
  size_t q = rest.find('?');
  if (q == std::string::npos) q = rest.find('=');
  size_t s = q == std::string::npos ? rest.rfind('/')
             : q == 0               ? std::string::npos
                                    : rest.rfind('/', q - 1);
  size_t document_start = s == std::string::npos ? 0 : s + 1;
  uri->path = (rooted ? "/" : "") + rest.substr(0, document_start);
  uri->document =
      rest.substr(document_start, q == std::string::npos ? std::string::npos
                                                         : q - document_start);
  uri->params = q == std::string::npos ? "" : rest.substr(q);
}

}  // namespace

TUri ParseUri(std::string_view url) {
  TUri uri;
  const std::string text = ForwardSlashes(url);
  size_t scheme_end = text.find("://");
  if (scheme_end != std::string::npos) {
    uri.protocol = text.substr(0, scheme_end);
    std::string after = text.substr(scheme_end + 3);
    size_t slash = after.find('/');
    std::string authority = after.substr(0, slash);
    std::string rest =
        slash == std::string::npos ? "" : after.substr(slash + 1);

    std::string host_part = authority;
    size_t at = authority.find('@');
    if (at != std::string::npos) {
      std::string user_info = authority.substr(0, at);
      host_part = authority.substr(at + 1);
      size_t colon = user_info.find(':');
      uri.username = user_info.substr(0, colon);
      if (colon != std::string::npos && !uri.username.empty()) {
        uri.password = user_info.substr(colon + 1);
      }
    }
    size_t colon = host_part.find(':');
    uri.host = host_part.substr(0, colon);
    if (colon != std::string::npos) uri.port = host_part.substr(colon + 1);

    SplitPath(rest, true, &uri);
    size_t hash = uri.document.find('#');
    if (hash != std::string::npos) {
      uri.bookmark = uri.document.substr(hash + 1);
      uri.document.erase(hash);
    }
  } else {
    SplitPath(text, false, &uri);
  }
  if (uri.bookmark.empty()) {
    size_t hash = uri.params.find('#');
    if (hash != std::string::npos) {
      uri.bookmark = uri.params.substr(hash + 1);
      uri.params.erase(hash);
    }
  }
  return uri;
}

}  // namespace qilo
