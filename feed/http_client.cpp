#include "feed/http_client.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <optional>

#include "calc/number_text.h"
#include "feed/net_errors.h"
#include "os/socket.h"

namespace qilo {
namespace {

const char kUndefinedSituation[] = "Undefined situation";

std::string NotAnInteger(const std::string& text) {
  return "'" + text + "' is not a valid integer value";
}

// The text before the first `delimiter`, removed from `*text` with the
// delimiter; all of it (leaving `*text` empty) when there is none.
std::string Fetch(std::string* text, char delimiter) {
  size_t at = text->find(delimiter);
  std::string head = text->substr(0, at);
  text->erase(0, at == std::string::npos ? std::string::npos : at + 1);
  return head;
}

int32_t IntegerOrThrow(const std::string& text) {
  std::optional<int32_t> value = TextToInteger(text);
  if (!value) throw EConvertError(NotAnInteger(text));
  return *value;
}

HttpConnection::Clock::time_point DeadlineAfter(int ms) {
  if (ms <= 0) return HttpConnection::Clock::time_point::max();
  return HttpConnection::Clock::now() + std::chrono::milliseconds(ms);
}

}  // namespace

// A body as it arrives. Without a sink it is kept in blocks that are
// allocated only as bytes come in, so that a claimed length costs no memory
// before its bytes are there; with a sink each piece goes on at once.
class THttpClient::Body {
 public:
  // `limit` -1: none. A truncating body stops taking bytes at its limit; any
  // other fails with ENetException once a byte beyond the limit arrives.
  Body(int64_t limit, bool truncate, BodySink* sink = nullptr)
      : limit_(limit), truncate_(truncate), sink_(sink) {
    if (sink_ != nullptr)
      scratch_ = std::make_unique_for_overwrite<char[]>(kRecvBufferSize);
  }

  bool Full() const { return truncate_ && limit_ >= 0 && size_ >= limit_; }

  // Fails at once when a body of `length` bytes is announced beyond the limit.
  void Announce(int64_t length) const {
    if (!truncate_ && limit_ >= 0 && length > limit_) ThrowTooLarge();
  }

  // Writable room for up to `want` bytes (at least one unless Full()).
  char* Room(size_t want, size_t* room) {
    want = Allowed(want);
    if (sink_ != nullptr) {
      *room = std::min(want, kRecvBufferSize);
      return scratch_.get();
    }
    if (blocks_.empty() || blocks_.back().used == blocks_.back().capacity) {
      size_t capacity = blocks_.empty() ? kFirstBlock : kBlock;
      blocks_.push_back(
          Block{std::make_unique_for_overwrite<char[]>(capacity), capacity, 0});
    }
    Block& last = blocks_.back();
    *room = std::min(want, last.capacity - last.used);
    return last.bytes.get() + last.used;
  }

  // Takes up to `size` bytes from `data`; gives the count taken, which is
  // less only when a truncating body fills up.
  size_t Take(const char* data, size_t size) {
    if (sink_ == nullptr) {
      size_t done = 0;
      while (done < size && !Full()) {
        size_t room = 0;
        char* space = Room(size - done, &room);
        std::memcpy(space, data + done, room);
        Commit(room);
        done += room;
      }
      return done;
    }
    size = Allowed(size);
    size_ += static_cast<int64_t>(size);
    if (!truncate_ && limit_ >= 0 && size_ > limit_) ThrowTooLarge();
    sink_->Write(data, size);
    return size;
  }

  // Takes the `count` bytes just placed in the room.
  void Commit(size_t count) {
    size_ += static_cast<int64_t>(count);
    if (!truncate_ && limit_ >= 0 && size_ > limit_) ThrowTooLarge();
    if (sink_ != nullptr) {
      sink_->Write(scratch_.get(), count);
    } else {
      blocks_.back().used += count;
    }
  }

  void AppendTo(std::string* out) const {
    out->reserve(out->size() + static_cast<size_t>(size_));
    for (const Block& block : blocks_)
      out->append(block.bytes.get(), block.used);
  }

 private:
  static constexpr size_t kFirstBlock = 64 * 1024;
  static constexpr size_t kBlock = 1024 * 1024;

  struct Block {
    std::unique_ptr<char[]> bytes;
    size_t capacity;
    size_t used;
  };

  // `want` cut to what the limit lets in: up to the limit when truncating,
  // one byte beyond it otherwise, so that the excess is seen and refused.
  size_t Allowed(size_t want) const {
    if (limit_ < 0) return want;
    int64_t allowed = limit_ - size_ + (truncate_ ? 0 : 1);
    return static_cast<size_t>(
        std::min<int64_t>(static_cast<int64_t>(want), allowed));
  }

  [[noreturn]] void ThrowTooLarge() const {
    throw ENetException("Response body is larger than the limit of " +
                        std::to_string(limit_) + " bytes.");
  }

  int64_t limit_;
  bool truncate_;
  BodySink* sink_;
  std::unique_ptr<char[]> scratch_;
  int64_t size_ = 0;
  std::vector<Block> blocks_;
};

THttpClient::THttpClient(const HttpLimits& limits) : limits_(limits) {
  const int start = AcquireSocketLayer();
  if (start == kSocketLibraryNotLoaded) {
    std::string system_text;
    const int code = SocketLibraryLoadError(&system_text);
    std::string message = "Error on loading Winsock2 library (WS2_32.DLL)";
    if (code != 0) message += ": " + system_text;
    throw ESocketLibraryError(message);
  }
  if (start != 0) throw ESocketStartupFailed("Winsock Initialization Error.");
  uri_.port = kDefaultPort;
}

THttpClient::~THttpClient() {
  connection_.Close();
  ReleaseSocketLayer();
}

void THttpClient::Get(const std::string& url, std::string* stream) {
  Exchange(url, stream, nullptr);
}

void THttpClient::Get(const std::string& url, BodySink* sink) {
  Exchange(url, nullptr, sink);
}

void THttpClient::Exchange(const std::string& url, std::string* text,
                           BodySink* sink) {
  deadline_ = DeadlineAfter(limits_.exchange_timeout_ms);
  try {
    // Such a byte would end the request line early and let the rest of the
    // URL pass as header lines of its own.
    for (char c : url) {
      auto byte = static_cast<unsigned char>(c);
      if (byte < 33 || byte == 127) {
        throw ENetException("The URL holds a blank or a control character.");
      }
    }
    PrepareRequest(url);
    ChooseConnection();
    connection_.SetReadLimits(limits_.read_timeout_ms, deadline_);
    connection_.Send(RequestHead(), limits_.read_timeout_ms);
    ReadResponseHead();
    JudgeAndReadBody(text, sink);
  } catch (const EHttpProtocolException&) {
    FinishExchange();
    throw;
  } catch (...) {
    response_.keep_alive = false;
    connection_.Close();
    throw;
  }
  FinishExchange();
}

void THttpClient::PrepareRequest(const std::string& url) {
  const TUri parsed = ParseUri(url);
  if (!parsed.username.empty()) {
    request_.username = uri_.username = parsed.username;
    request_.password = uri_.password = parsed.password;
  }
  uri_.path = parsed.path;
  uri_.document = parsed.document;
  uri_.params = parsed.params;
  uri_.bookmark = parsed.bookmark;
  if (!parsed.host.empty()) {
    uri_.host = parsed.host;
    // A new host without a port of its own gets the protocol's port, not the
    // port of an earlier URL.
    uri_.port = kDefaultPort;
  }
  uri_.protocol = parsed.protocol.empty() ? "http" : parsed.protocol;
  if (!parsed.port.empty()) {
    uri_.port = parsed.port;
  } else {
    int32_t port = TextToInteger(uri_.port).value_or(0);
    if (port == 0 || port == 80 || port == 443) {
      if (SameText(uri_.protocol, "http")) {
        uri_.port = "80";
      } else if (SameText(uri_.protocol, "https")) {
        uri_.port = "443";
      } else {
        throw EUnknownProtocol("");
      }
    }
  }
  request_.target = uri_.path + uri_.document + uri_.params;
  request_.content_length = -1;
  request_.host = uri_.port == "80" ? uri_.host : uri_.host + ":" + uri_.port;
}

void THttpClient::ChooseConnection() {
  const int32_t port = IntegerOrThrow(uri_.port);
  if (!SameText(uri_.host, connection_.Host()) || port != connection_.Port()) {
    connection_.Close();
    connection_.SetEndpoint(uri_.host, port);
  }
  if (SameText(uri_.protocol, "HTTPS")) {
    throw EUnsupportedScheme("Secure transport is not supported");
  }
  if (connection_.IsOpen() &&
      !(response_.keep_alive && connection_.StillUsable())) {
    connection_.Close();
  }
  if (!connection_.IsOpen()) connection_.Open(limits_.connect_timeout_ms);
}

std::string THttpClient::RequestHead() const {
  std::string head = request_.method + " " + request_.target + " HTTP/" +
                     kProtocolVersion + "\r\n";
  head += "Content-Type: " + request_.content_type + "\r\n";
  head += "Host: " + request_.host + "\r\n";
  head += "Accept: " + request_.accept + "\r\n";
  head += "User-Agent: " + request_.user_agent + "\r\n";
  head += "\r\n";
  return head;
}

void THttpClient::ReadResponseHead() {
  for (int continues = 0;; ++continues) {
    if (continues > kMaxContinueHeads) {
      throw ENetException(
          "More than 10 interim responses (status 100) in a row.");
    }
    const size_t head_start = connection_.LineBytesTaken();
    response_.status_line = connection_.ReadLine();
    response_.raw_headers.clear();
    for (bool first = true;; first = false) {
      std::string line;
      try {
        line = connection_.ReadLine();
      } catch (const EConnClosedGracefully&) {
        // A peer that closes within the head leaves the lines read so far.
        if (first) throw;
        connection_.Close();
        break;
      }
      if (connection_.LineBytesTaken() - head_start > kMaxHeadBytes) {
        throw ENetException("Response head is larger than 65536 bytes.");
      }
      if (line.empty()) break;
      if (response_.raw_headers.size() >= kMaxHeadLines) {
        throw ENetException("Response head has more than 100 header lines.");
      }
      response_.raw_headers.push_back(std::move(line));
    }
    TakeHeaderValues();

    std::string rest = response_.status_line;
    Fetch(&rest, ' ');
    rest = TrimBlanks(rest);
    response_.status_code = TextToInteger(Fetch(&rest, ' ')).value_or(-1);
    response_.version.clear();
    if (response_.status_line.size() >= 8) {
      std::string version = response_.status_line.substr(5, 3);
      if (version == "1.0" || version == "1.1") response_.version = version;
    }
    if (response_.status_code != 100) return;
  }
}

void THttpClient::TakeHeaderValues() {
  THttpResponse& r = response_;
  const THeaderList& lines = r.raw_headers;
  r.location = HeaderValue(lines, "Location");
  r.server = HeaderValue(lines, "Server");
  r.proxy_connection = HeaderValue(lines, "Proxy-Connection");
  r.connection = HeaderValue(lines, "Connection");
  r.content_version = HeaderValue(lines, "Content-Version");
  r.content_encoding = HeaderValue(lines, "Content-Encoding");
  r.content_language = HeaderValue(lines, "Content-Language");
  r.content_type = HeaderValue(lines, "Content-Type");
  r.pragma = HeaderValue(lines, "Pragma");
  r.transfer_encoding = HeaderValue(lines, "Transfer-Encoding");

  r.content_length =
      TextToInteger(HeaderValue(lines, "Content-Length")).value_or(-1);
  r.has_content_length = r.content_length >= 0;

  r.content_range_start = r.content_range_end = 0;
  std::string range = HeaderValue(lines, "Content-Range");
  if (!range.empty()) {
    Fetch(&range, ' ');
    r.content_range_start = IntegerOrThrow(Fetch(&range, '-'));
    r.content_range_end = IntegerOrThrow(Fetch(&range, '/'));
  }

  r.date = InternetDateToUnix(HeaderValue(lines, "Date"));
  r.last_modified = InternetDateToUnix(HeaderValue(lines, "Last-Modified"));
  const std::string expires = HeaderValue(lines, "Expires");
  std::optional<int32_t> seconds = TextToInteger(expires);
  if (seconds && *seconds != -1) {
    // A count of seconds from now, which must be a time of day.
    if (*seconds < 0 || *seconds > 86399)
      throw EConvertError("Invalid argument to time encode");
    auto now = std::chrono::system_clock::now().time_since_epoch();
    r.expires = std::chrono::duration_cast<std::chrono::seconds>(now).count() +
                *seconds;
  } else {
    r.expires = InternetDateToUnix(expires);
  }

  r.www_authenticate = HeaderValues(lines, "WWW-Authenticate");
  r.proxy_authenticate = HeaderValues(lines, "Proxy-Authenticate");
}

void THttpClient::JudgeAndReadBody(std::string* text, BodySink* sink) {
  const int32_t code = response_.status_code;
  const int32_t digit = code / 100;
  // Redirects are not followed, and no credentials are ever offered, so every
  // status but a success ends here.
  if ((digit == 3 && code != 304) || !response_.location.empty())
    CaptureErrorAndThrow();
  if (digit != 2) CaptureErrorAndThrow();
  if (!connection_.IsOpen()) throw ENetException(kUndefinedSituation);
  if (code == 204) return;
  Body body(limits_.max_body_bytes, false, sink);
  // A body that ends before its declared length is no success.
  ReadBody(&body, true);
  if (text != nullptr) body.AppendTo(text);
}

void THttpClient::CaptureErrorAndThrow() {
  const int32_t code = response_.status_code;
  Body text(kMaxErrorText, true);
  // Interim, 204 and 304 responses carry no body by definition; waiting for
  // one would only end in a read timeout.
  const bool bodiless =
      (code >= 100 && code < 200) || code == 204 || code == 304;
  if (!bodiless) {
    connection_.SetReadLimits(limits_.error_read_timeout_ms, deadline_);
    try {
      // The status is what the caller learns; an error body cut short by the
      // peer still gives it, with the bytes that came.
      ReadBody(&text, false);
    } catch (...) {
      connection_.SetReadLimits(limits_.read_timeout_ms, deadline_);
      throw;
    }
    connection_.SetReadLimits(limits_.read_timeout_ms, deadline_);
  }
  std::string error_text;
  text.AppendTo(&error_text);
  throw EHttpProtocolException(response_.status_line, code,
                               std::move(error_text));
}

void THttpClient::ReadBody(Body* body, bool short_length_fails) {
  const THttpResponse& r = response_;
  if (r.content_length > 0) {
    body->Announce(r.content_length);
    ReadExactly(r.content_length, body, short_length_fails);
  } else if (r.transfer_encoding.find("chunked") != std::string::npos) {
    ReadChunked(body);
  } else if (!r.has_content_length) {
    ReadUntilClose(body);
  }
}

void THttpClient::ReadChunked(Body* body) {
  for (;;) {
    const std::string line = connection_.ReadLine();
    // The size ends at a blank or at the ";" of a chunk extension.
    const int32_t size =
        TextToInteger("$" + line.substr(0, line.find_first_of(" ;")))
            .value_or(0);
    if (size <= 0) break;
    ReadExactly(size, body, true);
    if (body->Full()) {
      connection_.Close();
      return;
    }
    connection_.ReadLine();
  }
  connection_.ReadLine();
}

void THttpClient::ReadExactly(int64_t count, Body* body, bool closed_is_error) {
  while (count > 0) {
    if (body->Full()) {
      connection_.Close();  // the rest stays unread: the connection is spent
      return;
    }
    const size_t want =
        static_cast<size_t>(std::min<int64_t>(count, kRecvBufferSize));
    if (connection_.Buffered() > 0) {
      size_t taken = body->Take(connection_.BufferedBytes(),
                                std::min(want, connection_.Buffered()));
      connection_.Skip(taken);
      count -= static_cast<int64_t>(taken);
      continue;
    }
    size_t room = 0;
    char* space = body->Room(want, &room);
    size_t got = connection_.Receive(space, room);
    if (got == 0) {
      if (closed_is_error)
        throw EConnClosedGracefully("Connection Closed Gracefully.");
      return;
    }
    body->Commit(got);
    count -= static_cast<int64_t>(got);
  }
}

void THttpClient::ReadUntilClose(Body* body) {
  for (;;) {
    if (body->Full()) {
      connection_.Close();
      return;
    }
    if (connection_.Buffered() > 0) {
      connection_.Skip(
          body->Take(connection_.BufferedBytes(), connection_.Buffered()));
      continue;
    }
    size_t room = 0;
    char* space = body->Room(kRecvBufferSize, &room);
    size_t got = connection_.Receive(space, room);
    if (got == 0) return;
    body->Commit(got);
  }
}

void THttpClient::FinishExchange() {
  response_.keep_alive = connection_.IsOpen() &&
                         !SameText(response_.connection, "close") &&
                         !SameText(response_.proxy_connection, "close");
  if (!response_.keep_alive) connection_.Close();
}

}  // namespace qilo
