#include "feed/url.h"

#include <gtest/gtest.h>

namespace qilo {
namespace {

struct UriCase {
  const char* url;
  const char* protocol;
  const char* username;
  const char* password;
  const char* host;
  const char* port;
  const char* path;
  const char* document;
  const char* params;
  const char* bookmark;
};

const UriCase kUriCases[] = {
    {"http://qilo.example/qilocal", "http", "", "", "qilo.example", "", "/",
     "qilocal", "", ""},
    {"http://qilo.example", "http", "", "", "qilo.example", "", "/", "", "",
     ""},
    {"http://qilo.example/", "http", "", "", "qilo.example", "", "/", "", "",
     ""},
    {"http://Host:8080/a/b.htm?x=1#top", "http", "", "", "Host", "8080", "/a/",
     "b.htm", "?x=1", "top"},
    {"http://h/a/b.htm#sec?q", "http", "", "", "h", "", "/a/", "b.htm", "?q",
     "sec"},
    {"http://h/doc#part", "http", "", "", "h", "", "/", "doc", "", "part"},
    {"http://h/a/b=c/d", "http", "", "", "h", "", "/a/", "b", "=c/d", ""},
    {"http://h/x?p=/y/z", "http", "", "", "h", "", "/", "x", "?p=/y/z", ""},
    {"http://h:080/", "http", "", "", "h", "080", "/", "", "", ""},
    {"http://u:pw@h:81/d", "http", "u", "pw", "h", "81", "/", "d", "", ""},
    {"http://:pw@h/d", "http", "", "", "h", "", "/", "d", "", ""},
    {"http://u@h/d", "http", "u", "", "h", "", "/", "d", "", ""},
    {"http:\\\\h\\a\\b.htm", "http", "", "", "h", "", "/a/", "b.htm", "", ""},
    // A GBK character whose trail byte is 0x5C stays whole.
    {"http://h/\xD5\x5C.htm", "http", "", "", "h", "", "/", "\xD5\x5C.htm", "",
     ""},
    {"https://h/s", "https", "", "", "h", "", "/", "s", "", ""},
    {"a/b.htm?x#y", "", "", "", "", "", "a/", "b.htm", "?x", "y"},
    {"doc#frag", "", "", "", "", "", "", "doc#frag", "", ""},
    {"", "", "", "", "", "", "", "", "", ""},
};

TEST(ParseUriTest, SplitsEveryField) {
  for (const UriCase& c : kUriCases) {
    SCOPED_TRACE(c.url);
    TUri uri = ParseUri(c.url);
    EXPECT_EQ(uri.protocol, c.protocol);
    EXPECT_EQ(uri.username, c.username);
    EXPECT_EQ(uri.password, c.password);
    EXPECT_EQ(uri.host, c.host);
    EXPECT_EQ(uri.port, c.port);
    EXPECT_EQ(uri.path, c.path);
    EXPECT_EQ(uri.document, c.document);
    EXPECT_EQ(uri.params, c.params);
    EXPECT_EQ(uri.bookmark, c.bookmark);
  }
}

}  // namespace
}  // namespace qilo
