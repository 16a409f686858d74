#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "feed/http_connection.h"
#include "feed/http_text.h"
#include "feed/url.h"

namespace qilo {

// Bounds on one fetch, so that a dead, silent or trickling server cannot hold
// the caller for long. The defaults are the program's.
struct HttpLimits {
  // Connecting gives up after this long: ESocketError 10060.
  int connect_timeout_ms = 10000;
  // No response byte for this long: EReadTimeout. 0: no limit.
  int read_timeout_ms = 15000;
  // The whole Get, even while bytes trickle in: EReadTimeout. 0: no limit.
  int exchange_timeout_ms = 30000;
  // No byte for this long while an error response's body is captured.
  int error_read_timeout_ms = 2000;
  // The largest body accepted (ENetException beyond it); -1: no limit.
  int64_t max_body_bytes = -1;
};

// The request fields of the client. Only these have values; every header
// field not listed here stays empty and is never sent.
struct THttpRequest {
  std::string method = "GET";
  std::string content_type = "text/html";
  std::string accept = "text/html, */*";
  std::string user_agent = "Mozilla/3.0 (compatible; Qilo)";
  int32_t content_length = -1;  // -1: no length header
  // Taken from the URL's user information; never sent.
  std::string username;
  std::string password;
  // Computed for each fetch.
  std::string target;
  std::string host;
};

// The last response head and what was taken from it.
struct THttpResponse {
  std::string status_line;
  int32_t status_code = -1;  // -1 when the status line has no readable number
  std::string version;       // "1.0", "1.1" or empty
  THeaderList raw_headers;
  std::string location;
  std::string server;
  std::string connection;
  std::string proxy_connection;
  std::string content_type;
  std::string content_encoding;
  std::string content_language;
  std::string content_version;
  std::string transfer_encoding;
  std::string pragma;
  int32_t content_length = -1;
  bool has_content_length = false;
  int32_t content_range_start = 0;
  int32_t content_range_end = 0;
  // Seconds since 1970 UTC; 0 when absent or not a date.
  int64_t date = 0;
  int64_t last_modified = 0;
  int64_t expires = 0;
  std::vector<std::string> www_authenticate;
  std::vector<std::string> proxy_authenticate;
  bool keep_alive = false;
};

// Where a body goes as it arrives.
class BodySink {
 public:
  virtual ~BodySink() = default;
  // Takes the next `size` bytes of the body; a throw fails the fetch.
  virtual void Write(const char* data, size_t size) = 0;
};

// A blocking HTTP/1.1 GET client over plain TCP. It follows no redirect,
// offers no credentials, uses no proxy, and never sends a cookie (so it keeps
// none). One client may fetch several times and reuses a kept connection.
class THttpClient {
 public:
  static constexpr char kProtocolVersion[] = "1.1";
  static constexpr char kDefaultPort[] = "80";
  static constexpr size_t kMaxLineLength = HttpConnection::kMaxLineLength;
  static constexpr size_t kRecvBufferSize = HttpConnection::kRecvBufferSize;
  static constexpr size_t kMaxHeadLines = 100;
  static constexpr size_t kMaxHeadBytes = 65536;
  static constexpr int kMaxContinueHeads = 10;
  // An error response's body is kept up to this size; the rest is not read.
  static constexpr int64_t kMaxErrorText = 65536;

  // Creates a client; the first one of the process starts the socket layer.
  // Throws ESocketStartupFailed when it cannot start (no client then).
  explicit THttpClient(const HttpLimits& limits = HttpLimits());
  // Closes a connection the client still holds.
  ~THttpClient();
  THttpClient(const THttpClient&) = delete;
  THttpClient& operator=(const THttpClient&) = delete;

  // Fetches `url` and appends the body of its 2xx response to `*stream`, raw.
  // Throws on every failure (then `*stream` is unchanged): ENetException for a
  // URL holding a byte below 33 or 127 (nothing is sent), for a head over its
  // limits, for a 2xx whose peer closed inside the head ("Undefined
  // situation") or a body over max_body_bytes; EUnsupportedScheme for https;
  // EUnknownProtocol; EConvertError for a bad port, Content-Range or Expires;
  // ESocketError and its kin; EConnClosedGracefully (also for a body that
  // ends before its Content-Length or a chunk's size); EMaxLineLengthExceeded;
  // EReadTimeout; EHttpProtocolException for a redirect or a status outside
  // 200 to 299, after reading the error body.
  void Get(const std::string& url, std::string* stream);

  // The same, writing the body to `sink` piece by piece as it arrives, so
  // that a large body is never held whole. After a failure, what was written
  // is not to be used.
  void Get(const std::string& url, BodySink* sink);

  const THttpRequest& Request() const { return request_; }
  const THttpResponse& Response() const { return response_; }
  const TUri& CurrentUri() const { return uri_; }
  const HttpConnection& Connection() const { return connection_; }
  // True while the client holds an open connection for reuse.
  bool Connected() const { return connection_.IsOpen(); }

 private:
  class Body;

  void PrepareRequest(const std::string& url);
  void ChooseConnection();
  std::string RequestHead() const;
  void ReadResponseHead();
  void TakeHeaderValues();
  // Exactly one of the two is given.
  void Exchange(const std::string& url, std::string* text, BodySink* sink);
  void JudgeAndReadBody(std::string* text, BodySink* sink);
  [[noreturn]] void CaptureErrorAndThrow();
  // `short_length_fails`: a peer that closes before the Content-Length is
  // reached fails the read (EConnClosedGracefully) instead of ending it.
  void ReadBody(Body* body, bool short_length_fails);
  void ReadChunked(Body* body);
  void ReadExactly(int64_t count, Body* body, bool closed_is_error);
  void ReadUntilClose(Body* body);
  void FinishExchange();

  HttpLimits limits_;
  THttpRequest request_;
  THttpResponse response_;
  TUri uri_;
  HttpConnection connection_;
  HttpConnection::Clock::time_point deadline_;
};

}  // namespace qilo
