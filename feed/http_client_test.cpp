#include "feed/http_client.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <chrono>
#include <thread>

#include "calc/number_text.h"
#include "feed/net_errors.h"
#include "feed/test_server.h"
#include "os/socket.h"

namespace qilo {
namespace {

using net_test::Answer;
using net_test::ScriptedServer;
using net_test::ServerStep;

// What one Get gave: the body, or the failure with what it carries.
struct Result {
  bool ok = false;
  std::string body;
  std::string error_class;
  std::string message;
  int32_t status = 0;
  std::string error_text;
  int socket_error = 0;
  bool connected = false;
};

class TextSink : public BodySink {
 public:
  void Write(const char* data, size_t size) override {
    text.append(data, size);
  }
  std::string text;
};

// Fetches into a string, or through a BodySink with `piecewise`.
Result Fetch(THttpClient& client, const std::string& url,
             bool piecewise = false) {
  Result result;
  std::string stream;
  TextSink pieces;
  try {
    if (piecewise) {
      client.Get(url, &pieces);
    } else {
      client.Get(url, &stream);
    }
    result.ok = true;
    result.body = piecewise ? pieces.text : stream;
  } catch (const EHttpProtocolException& e) {
    result.error_class = e.ClassName();
    result.message = e.Message();
    result.status = e.ErrorCode();
    result.error_text = e.ErrorText();
    EXPECT_TRUE(stream.empty());
  } catch (const ESocketError& e) {
    result.error_class = e.ClassName();
    result.message = e.Message();
    result.socket_error = e.ErrorNumber();
  } catch (const Exception& e) {
    result.error_class = e.ClassName();
    result.message = e.Message();
  }
  result.connected = client.Connected();
  return result;
}

std::string HeaderLines(int count, size_t value_size) {
  std::string lines;
  for (int i = 0; i < count; ++i)
    lines +=
        "X-" + std::to_string(i) + ": " + std::string(value_size, 'v') + "\r\n";
  return lines;
}

std::string Continues(int count) {
  std::string heads;
  for (int i = 0; i < count; ++i) heads += "HTTP/1.1 100 Continue\r\n\r\n";
  return heads;
}

// A header line with `length` bytes before its LF, the CR included.
std::string LongLine(size_t length) {
  return "X-Long: " + std::string(length - 9, 'a') + "\r\n";
}

const char kOk[] = "HTTP/1.1 200 OK\r\n";
const char kClosed[] = "Connection Closed Gracefully.";

struct FramingCase {
  std::string name;
  std::string response;
  bool close_after = false;
  // Success: the body. Failure: the class, message and, for a protocol
  // failure, the status and error text.
  std::string body{};
  std::string error_class{};
  std::string message{};
  int32_t status = 0;
  std::string error_text{};
  int connected = -1;  // -1: not checked
  int64_t max_body = -1;
};

std::vector<FramingCase> FramingCases() {
  const std::string ok = kOk;
  const std::string chunked = ok + "Transfer-Encoding: chunked\r\n\r\n";
  return {
      {"LengthKeepsConnection", ok + "Content-Length: 5\r\n\r\nhello", false,
       "hello", "", "", 0, "", 1},
      {"LengthWithConnectionClose",
       ok + "Connection: close\r\nContent-Length: 5\r\n\r\nhello", false,
       "hello", "", "", 0, "", 0},
      {"ProxyConnectionClose",
       ok + "Proxy-Connection: Close \r\nContent-Length: 2\r\n\r\nok", false,
       "ok", "", "", 0, "", 0},
      {"Http10UntilClose",
       "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<p>\r\nall\r\n</p>",
       true, "<p>\r\nall\r\n</p>", "", "", 0, "", 0},
      {"Http10WithLengthIsKept",
       "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok", false, "ok", "", "", 0,
       "", 1},
      {"LineFeedsOnly", "HTTP/1.1 200 OK\nContent-Length: 2\n\nok", false,
       "ok"},
      {"Chunked", chunked + "5\r\nhello\r\n0\r\n\r\n", false, "hello", "", "",
       0, "", 1},
      {"ChunkedFirstSizeZero", chunked + "0\r\n\r\n", false, "", "", "", 0, "",
       1},
      {"ChunkedExtensionsAndHexSizes",
       chunked + "5;name=v\r\nhello\r\nA ;x\r\n0123456789\r\n0\r\n\r\n", false,
       "hello0123456789", "", "", 0, "", 1},
      {"ChunkedClosedInsideChunk", chunked + "A\r\nhello", true, "",
       "EConnClosedGracefully", kClosed},
      // A length of 0 is no length to read: the chunks are read instead.
      {"ZeroLengthWithChunked",
       ok + "Content-Length: 0\r\nTransfer-Encoding: chunked\r\n\r\n" +
           "5\r\nhello\r\n0\r\n\r\n",
       false, "hello", "", "", 0, "", 1},
      {"LengthWinsOverChunked",
       ok + "Content-Length: 5\r\nTransfer-Encoding: chunked\r\n\r\nhello",
       false, "hello", "", "", 0, "", 1},
      {"ContinueThen200", Continues(1) + ok + "Content-Length: 2\r\n\r\nok",
       false, "ok"},
      {"TenContinuesThen200",
       Continues(10) + ok + "Content-Length: 2\r\n\r\nok", false, "ok"},
      {"ElevenContinues", Continues(11) + ok + "Content-Length: 2\r\n\r\nok",
       false, "", "ENetException",
       "More than 10 interim responses (status 100) in a row."},
      {"NoContent204", "HTTP/1.1 204 No Content\r\n\r\n", false, "", "", "", 0,
       "", 1},
      {"Redirect301",
       "HTTP/1.1 301 Moved Permanently\r\nLocation: "
       "http://x/\r\nContent-Length: 3\r\n\r\nabc",
       false, "", "EHttpProtocolException", "HTTP/1.1 301 Moved Permanently",
       301, "abc", 1},
      {"OkWithLocation",
       ok + "Location: /elsewhere\r\nContent-Length: 2\r\n\r\nok", false, "",
       "EHttpProtocolException", "HTTP/1.1 200 OK", 200, "ok", 1},
      // No body is awaited for a 304, whatever its length says.
      {"NotModified304",
       "HTTP/1.1 304 Not Modified\r\nContent-Length: 100\r\n\r\n", false, "",
       "EHttpProtocolException", "HTTP/1.1 304 Not Modified", 304, "", 1},
      {"NotFound404",
       "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found", false,
       "", "EHttpProtocolException", "HTTP/1.1 404 Not Found", 404, "not found",
       1},
      {"Unauthorized401",
       "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic "
       "realm=\"q\"\r\n\r\ndenied",
       true, "", "EHttpProtocolException", "HTTP/1.1 401 Unauthorized", 401,
       "denied", 0},
      {"ServerError500Chunked",
       "HTTP/1.1 500 Oops\r\nTransfer-Encoding: "
       "chunked\r\n\r\n4\r\nfail\r\n0\r\n\r\n",
       false, "", "EHttpProtocolException", "HTTP/1.1 500 Oops", 500, "fail",
       1},
      {"StatusWithoutNumber", "HTTP/1.1 OK\r\nContent-Length: 0\r\n\r\n", false,
       "", "EHttpProtocolException", "HTTP/1.1 OK", -1, "", 1},
      {"ErrorBodyKeptUpTo64KiB",
       "HTTP/1.1 404 Not Found\r\nContent-Length: 70000\r\n\r\n" +
           std::string(70000, 'e'),
       false, "", "EHttpProtocolException", "HTTP/1.1 404 Not Found", 404,
       std::string(65536, 'e'), 0},
      // A body that ends before its length is cut short, not complete.
      {"ShortBody", ok + "Content-Length: 10\r\n\r\nabcd", true, "",
       "EConnClosedGracefully", kClosed, 0, "", 0},
      {"ShortBodyByOneByte",
       ok + "Content-Length: 40000\r\n\r\n" + std::string(39999, 'b'), true, "",
       "EConnClosedGracefully", kClosed, 0, "", 0},
      {"WholeBodyThenClose", ok + "Content-Length: 4\r\n\r\nabcd", true,
       "abcd"},
      // A claimed length reserves nothing before its bytes arrive.
      {"ShortBodyOfAHugeClaim", ok + "Content-Length: 2000000000\r\n\r\nabcd",
       true, "", "EConnClosedGracefully", kClosed, 0, "", 0},
      // The status still tells what failed; the error text is what came.
      {"ShortErrorBody",
       "HTTP/1.1 404 Not Found\r\nContent-Length: 10\r\n\r\nabcd", true, "",
       "EHttpProtocolException", "HTTP/1.1 404 Not Found", 404, "abcd", 0},
      {"Line16384", ok + LongLine(16384) + "Content-Length: 2\r\n\r\nok", false,
       "ok"},
      {"Line16385", ok + LongLine(16385) + "Content-Length: 2\r\n\r\nok", false,
       "", "EMaxLineLengthExceeded", "Max line length exceeded."},
      {"StatusLine16385",
       "HTTP/1.1 200 " + std::string(16385 - 14, 'k') + "\r\n\r\n", false, "",
       "EMaxLineLengthExceeded", "Max line length exceeded."},
      {"Expires3600", ok + "Expires: 3600\r\nContent-Length: 2\r\n\r\nok",
       false, "ok"},
      {"ExpiresMinusOne", ok + "Expires: -1\r\nContent-Length: 2\r\n\r\nok",
       false, "ok"},
      {"ExpiresDate",
       ok + "Expires: Sun, 06 Nov 1994 08:49:37 GMT\r\nContent-Length: "
            "2\r\n\r\nok",
       false, "ok"},
      {"Expires86400", ok + "Expires: 86400\r\nContent-Length: 2\r\n\r\nok",
       false, "", "EConvertError", "Invalid argument to time encode"},
      {"ExpiresMinusTwo", ok + "Expires: -2\r\nContent-Length: 2\r\n\r\nok",
       false, "", "EConvertError", "Invalid argument to time encode"},
      {"ContentRange",
       ok + "Content-Range: bytes 0-1/2\r\nContent-Length: 2\r\n\r\nok", false,
       "ok"},
      {"ContentRangeNotNumbers",
       ok + "Content-Range: bytes x-1/2\r\nContent-Length: 2\r\n\r\nok", false,
       "", "EConvertError", "'x' is not a valid integer value"},
      {"LengthOnContinuationLine", ok + "Content-Length:\r\n 5\r\n\r\nhello",
       false, "hello", "", "", 0, "", 1},
      {"NameWithBlankBeforeColonIsNotLength",
       ok + "Content-Length : 2\r\n\r\nhello", true, "hello"},
      {"PeerClosesAtOnce", "", true, "", "EConnClosedGracefully", kClosed},
      {"PeerClosesBeforeFirstHeader", ok, true, "", "EConnClosedGracefully",
       kClosed},
      {"PeerClosesInsideHead", ok + "Server: x\r\n", true, "", "ENetException",
       "Undefined situation"},
      {"PartialStatusLine", "HTTP/1.1 200 OK", true, "",
       "EConnClosedGracefully", kClosed},
      {"HeadOf100Lines", ok + HeaderLines(99, 4) + "Content-Length: 0\r\n\r\n",
       false, "", "", "", 0, "", -1, -1},
      {"HeadOf101Lines", ok + HeaderLines(101, 4) + "\r\n", false, "",
       "ENetException", "Response head has more than 100 header lines."},
      {"HeadOver64KiB", ok + HeaderLines(5, 14000) + "\r\n", false, "",
       "ENetException", "Response head is larger than 65536 bytes."},
      {"BodyAtLimitUntilClose", "HTTP/1.0 200 OK\r\n\r\n0123456789", true,
       "0123456789", "", "", 0, "", 0, 10},
      {"BodyOverLimitUntilClose", "HTTP/1.0 200 OK\r\n\r\n0123456789X", true,
       "", "ENetException",
       "Response body is larger than the limit of 10 bytes.", 0, "", 0, 10},
      {"LengthOverLimit", ok + "Content-Length: 11\r\n\r\n0123456789X", false,
       "", "ENetException",
       "Response body is larger than the limit of 10 bytes.", 0, "", 0, 10},
      {"ChunkedOverLimit", chunked + "6\r\n012345\r\n5\r\n6789X\r\n0\r\n\r\n",
       false, "", "ENetException",
       "Response body is larger than the limit of 10 bytes.", 0, "", 0, 10},
  };
}

class FramingTest
    : public ::testing::TestWithParam<std::tuple<size_t, bool, bool>> {};

TEST_P(FramingTest, ReadsTheResponse) {
  const FramingCase c = FramingCases()[std::get<0>(GetParam())];
  const bool byte_per_send = std::get<1>(GetParam());
  const bool piecewise = std::get<2>(GetParam());
  ScriptedServer server({Answer(c.response, c.close_after)}, byte_per_send);
  HttpLimits limits;
  limits.max_body_bytes = c.max_body;
  limits.read_timeout_ms = 3000;
  limits.error_read_timeout_ms = 3000;
  Result result;
  {
    THttpClient client(limits);
    result = Fetch(client, server.Url("/page"), piecewise);
  }
  if (c.error_class.empty()) {
    EXPECT_TRUE(result.ok) << result.error_class << ": " << result.message;
    EXPECT_EQ(result.body, c.body);
  } else {
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error_class, c.error_class);
    EXPECT_EQ(result.message, c.message);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.error_text, c.error_text);
  }
  if (c.connected >= 0) {
    EXPECT_EQ(result.connected, c.connected == 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    AllFramings, FramingTest,
    ::testing::Combine(::testing::Range<size_t>(0, FramingCases().size()),
                       ::testing::Bool(), ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<size_t, bool, bool>>& info) {
      return FramingCases()[std::get<0>(info.param)].name +
             (std::get<1>(info.param) ? "_BytePerSend" : "_Whole") +
             (std::get<2>(info.param) ? "_Piecewise" : "_IntoText");
    });

TEST(HttpClientTest, SendsExactlyTheRequestHead) {
  for (bool byte_per_send : {false, true}) {
    ScriptedServer server(
        {Answer("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", false),
         Answer("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", false)},
        byte_per_send);
    const std::string host = "127.0.0.1:" + std::to_string(server.Port());
    {
      THttpClient client;
      EXPECT_TRUE(Fetch(client, server.Url("/qilocal")).ok);
    }
    {
      THttpClient client;
      EXPECT_TRUE(Fetch(client, server.Url("/a/b.htm?x=1#top")).ok);
    }
    server.Join();
    const std::string tail =
        "\r\nAccept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; "
        "Qilo)\r\n\r\n";
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[0],
              "GET /qilocal HTTP/1.1\r\nContent-Type: text/html\r\nHost: " +
                  host + tail);
    EXPECT_EQ(server.Requests()[1],
              "GET /a/b.htm?x=1 HTTP/1.1\r\nContent-Type: text/html\r\nHost: " +
                  host + tail);
  }
}

TEST(HttpClientTest, PreparesTargetHostValueAndPort) {
  struct Case {
    const char* url;
    const char* target;
    const char* host_value;
    int port;
  };
  // Names under "invalid" never resolve, so nothing leaves the machine.
  const Case cases[] = {
      {"http://feed.invalid/qilocal", "/qilocal", "feed.invalid", 80},
      {"http://feed.invalid", "/", "feed.invalid", 80},
      {"http://feed.invalid/", "/", "feed.invalid", 80},
      {"http://feed.invalid:8080/a/b.htm?x=1#top", "/a/b.htm?x=1",
       "feed.invalid:8080", 8080},
      {"http://feed.invalid:080/", "/", "feed.invalid:080", 80},
      {"HTTP://feed.invalid:80/x", "/x", "feed.invalid", 80},
      {"http://user:pw@feed.invalid/x", "/x", "feed.invalid", 80},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    THttpClient client;
    Result result = Fetch(client, c.url);
    EXPECT_EQ(result.socket_error, kSocketHostNotFound);
    EXPECT_EQ(result.message, "Socket Error # 11001\r\nHost not found.");
    EXPECT_EQ(client.Request().target, c.target);
    EXPECT_EQ(client.Request().host, c.host_value);
    EXPECT_EQ(client.Connection().Port(), c.port);
  }
}

TEST(HttpClientTest, RefusesBeforeAnyConnection) {
  struct Case {
    std::string url_tail;  // after "<scheme>://127.0.0.1:<port>" or a full URL
                           // when scheme empty
    const char* scheme;
    const char* error_class;
    const char* message;
  };
  const Case cases[] = {
      {"/s", "https", "EUnsupportedScheme",
       "Secure transport is not supported"},
      {"/a b", "http", "ENetException",
       "The URL holds a blank or a control character."},
      {"/a\r\nX-Injected: 1", "http", "ENetException",
       "The URL holds a blank or a control character."},
      {"/a\x7f", "http", "ENetException",
       "The URL holds a blank or a control character."},
      {"https://127.0.0.1/s", "", "EUnsupportedScheme",
       "Secure transport is not supported"},
      {"ftp://127.0.0.1/x", "", "EUnknownProtocol", ""},
      {"http://127.0.0.1:8o/x", "", "EConvertError",
       "'8o' is not a valid integer value"},
  };
  ScriptedServer server(
      {Answer("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", false)});
  for (const Case& c : cases) {
    std::string url = *c.scheme == '\0'
                          ? c.url_tail
                          : std::string(c.scheme) + "://127.0.0.1:" +
                                std::to_string(server.Port()) + c.url_tail;
    SCOPED_TRACE(url);
    THttpClient client;
    Result result = Fetch(client, url);
    EXPECT_EQ(result.error_class, c.error_class);
    EXPECT_EQ(result.message, c.message);
    EXPECT_FALSE(result.connected);
  }
  // A connection made would have been accepted by now.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(server.Accepted(), 0);
}

TEST(HttpClientTest, ReportsSocketErrorsByNumber) {
  THttpClient client;
  Result refused =
      Fetch(client,
            "http://127.0.0.1:" + std::to_string(net_test::UnusedPort()) + "/");
  EXPECT_EQ(refused.error_class, "ESocketError");
  EXPECT_EQ(refused.socket_error, kSocketConnectionRefused);
  EXPECT_EQ(refused.message, "Socket Error # 10061\r\nConnection refused.");

  Result unknown = Fetch(client, "http://nothing.invalid/qilocal");
  EXPECT_EQ(unknown.socket_error, kSocketHostNotFound);
  EXPECT_EQ(unknown.message, "Socket Error # 11001\r\nHost not found.");
}

#ifndef _WIN32
// Linux-only: a listener whose accept queue is full drops further connection
// attempts, which then hang as they would towards an unreachable host
// (Windows refuses them at once instead).
TEST(HttpClientTest, GivesUpConnectingAfterTheConnectLimit) {
  int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(
      bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 0), 0);
  ASSERT_EQ(
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  std::vector<int> fillers;
  for (int i = 0; i < 4; ++i) {
    int filler = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
    fillers.push_back(filler);
  }
  HttpLimits limits;
  limits.connect_timeout_ms = 300;
  THttpClient client(limits);
  auto start = std::chrono::steady_clock::now();
  Result result = Fetch(
      client,
      "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/");
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(result.socket_error, kSocketTimedOut);
  EXPECT_EQ(result.message, "Socket Error # 10060\r\nConnection timed out.");
  EXPECT_LT(elapsed, std::chrono::seconds(2));
  for (int filler : fillers) close(filler);
  close(listener);
}
#endif

struct WaitCase {
  const char* name;
  std::vector<ServerStep> script;
  int byte_delay_ms;
  HttpLimits limits;
  int min_ms;
  // Unbounded, a wait would last until the server gives up after 5 s; the
  // ceiling leaves room for a loaded machine under wine.
  int max_ms;
};

TEST(HttpClientTest, BoundsEveryWait) {
  HttpLimits silent;
  silent.read_timeout_ms = 300;
  HttpLimits trickle;
  trickle.read_timeout_ms = 300;
  trickle.exchange_timeout_ms = 700;
  HttpLimits capture;
  capture.read_timeout_ms = 5000;
  capture.error_read_timeout_ms = 300;
  const std::string endless =
      "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" +
      std::string(100, 'x');
  const WaitCase cases[] = {
      {"silent",
       {{ServerStep::kReadRequest}, {ServerStep::kAwaitClose}},
       0,
       silent,
       250,
       3000},
      {"silent mid-body",
       {{ServerStep::kReadRequest},
        {ServerStep::kSend, "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"},
        {ServerStep::kAwaitClose}},
       0,
       silent,
       250,
       3000},
      {"trickling", Answer(endless, false), 10, trickle, 650, 3000},
      {"error body stalls",
       {{ServerStep::kReadRequest},
        {ServerStep::kSend,
         "HTTP/1.1 404 Not Found\r\nContent-Length: 10\r\n\r\nabc"},
        {ServerStep::kAwaitClose}},
       0,
       capture,
       250,
       3000},
  };
  for (const WaitCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedServer server({c.script}, c.byte_delay_ms > 0, c.byte_delay_ms);
    THttpClient client(c.limits);
    auto start = std::chrono::steady_clock::now();
    Result result = Fetch(client, server.Url("/"));
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now() - start)
                  .count();
    EXPECT_EQ(result.error_class, "EReadTimeout");
    EXPECT_EQ(result.message, "Read Timeout");
    EXPECT_FALSE(result.connected);
    EXPECT_GE(ms, c.min_ms);
    EXPECT_LE(ms, c.max_ms);
  }
}

TEST(HttpClientTest, ReusesAKeptConnection) {
  std::vector<ServerStep> script = {
      {ServerStep::kReadRequest},
      {ServerStep::kSend, "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\none"},
      {ServerStep::kReadRequest},
      {ServerStep::kSend, "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\ntwo"},
      {ServerStep::kAwaitClose}};
  ScriptedServer server({script});
  {
    THttpClient client;
    EXPECT_EQ(Fetch(client, server.Url("/1")).body, "one");
    EXPECT_EQ(Fetch(client, server.Url("/2")).body, "two");
  }
  server.Join();
  EXPECT_EQ(server.Accepted(), 1);
  EXPECT_EQ(server.Requests().size(), 2u);
}

TEST(HttpClientTest, OpensANewConnectionAfterClose) {
  ScriptedServer server(
      {Answer("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: "
              "3\r\n\r\none",
              false),
       Answer("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\ntwo", false)});
  {
    THttpClient client;
    EXPECT_EQ(Fetch(client, server.Url("/1")).body, "one");
    EXPECT_EQ(Fetch(client, server.Url("/2")).body, "two");
  }
  server.Join();
  EXPECT_EQ(server.Accepted(), 2);
}

TEST(HttpClientTest, ANewHostWithoutPortGetsTheDefaultPort) {
  ScriptedServer server(
      {Answer("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", false)});
  THttpClient client;
  EXPECT_TRUE(Fetch(client, server.Url("/")).ok);
  EXPECT_EQ(Fetch(client, "http://other.invalid/x").socket_error,
            kSocketHostNotFound);
  EXPECT_EQ(client.CurrentUri().port, "80");
  EXPECT_EQ(client.Request().host, "other.invalid");
}

TEST(HttpClientTest, CountsSocketLayerUsers) {
  const int before = SocketLayerUsers();
  ScriptedServer server(
      {Answer("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", false)});
  {
    THttpClient client;
    EXPECT_EQ(SocketLayerUsers(), before + 1);
    EXPECT_TRUE(Fetch(client, server.Url("/")).ok);
    EXPECT_TRUE(client.Connected());
    EXPECT_EQ(SocketLayerUsers(), before + 2);
  }
  EXPECT_EQ(SocketLayerUsers(), before);
}

}  // namespace
}  // namespace qilo
