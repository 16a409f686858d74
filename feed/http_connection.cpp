#include "feed/http_connection.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "feed/http_text.h"
#include "feed/net_errors.h"

namespace qilo {
namespace {

const char kReadTimeout[] = "Read Timeout";
const char kClosedGracefully[] = "Connection Closed Gracefully.";

// "localhost" without a lookup, four numbers 0 to 255 as they are, any other
// name through the resolver.
std::string ResolveHostAddress(const std::string& host) {
  if (SameText(host, "LOCALHOST")) return "127.0.0.1";
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t dot = host.find('.', start);
    fields.push_back(host.substr(
        start, dot == std::string::npos ? std::string::npos : dot - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  if (fields.size() == 4) {
    std::string dotted;
    bool numeric = true;
    for (const std::string& field : fields) {
      std::optional<int32_t> value = TextToInteger(field);
      if (!value || *value < 0 || *value > 255) {
        numeric = false;
        break;
      }
      dotted += (dotted.empty() ? "" : ".") + std::to_string(*value);
    }
    if (numeric) return dotted;
  }
  std::string address;
  int error = LookUpHost(host, &address);
  if (error != 0) throw ESocketError(error);
  return address;
}

}  // namespace

void HttpConnection::SetEndpoint(const std::string& host, int port) {
  host_ = host;
  port_ = port;
}

void HttpConnection::Open(int connect_timeout_ms) {
  Close();
  if (socket_.Create() != 0) throw EInvalidSocket("Cannot allocate socket.");
  try {
    int error = socket_.BindAny();
    if (error == kSocketAddressInUse) {
      throw ECouldNotBindSocket(
          "Could not bind socket. Address and port are already in use.");
    }
    if (error != 0) throw ESocketError(error);
    const std::string address = ResolveHostAddress(host_);
    error = socket_.Connect(address, port_, connect_timeout_ms);
    if (error != 0) throw ESocketError(error);
    error = socket_.PeerAddress(&peer_address_, &peer_port_);
    if (error != 0) throw ESocketError(error);
  } catch (...) {
    socket_.Close();
    throw;
  }
  start_ = end_ = 0;
}

void HttpConnection::Close() { socket_.ShutdownAndClose(); }

bool HttpConnection::StillUsable() {
  if (!socket_.IsOpen() || Buffered() > 0) return false;
  bool readable = false;
  // Nothing may arrive between two exchanges: readable means the peer closed
  // or sent stray bytes, and either way the connection cannot be reused.
  return socket_.WaitReadable(1, &readable) == 0 && !readable;
}

void HttpConnection::SetReadLimits(int idle_ms, Clock::time_point deadline) {
  idle_ms_ = idle_ms;
  deadline_ = deadline;
}

void HttpConnection::Send(const std::string& bytes, int timeout_ms) {
  size_t done = 0;
  while (done < bytes.size()) {
    size_t sent = 0;
    int error = socket_.Send(bytes.data() + done, bytes.size() - done,
                             timeout_ms, &sent);
    if (error != 0) {
      if (error == kSocketConnectionAborted ||
          error == kSocketConnectionReset || error == kSocketShutDown) {
        socket_.Close();
      }
      throw ESocketError(error);
    }
    done += sent;
  }
}

std::string HttpConnection::ReadLine() {
  size_t searched = 0;
  for (;;) {
    const char* begin = buffer_.get() + start_;
    const size_t available = Buffered();
    const void* lf = available > searched ? std::memchr(begin + searched, '\n',
                                                        available - searched)
                                          : nullptr;
    if (lf != nullptr) {
      size_t length = static_cast<size_t>(static_cast<const char*>(lf) - begin);
      if (length > kMaxLineLength)
        throw EMaxLineLengthExceeded("Max line length exceeded.");
      size_t kept =
          (length > 0 && begin[length - 1] == '\r') ? length - 1 : length;
      std::string line(begin, kept);
      Consume(length + 1);
      line_bytes_taken_ += length + 1;
      return line;
    }
    searched = available;
    if (available > kMaxLineLength)
      throw EMaxLineLengthExceeded("Max line length exceeded.");
    if (!socket_.IsOpen()) throw EConnClosedGracefully(kClosedGracefully);
    if (!FillBuffer()) {
      if (Buffered() == 0) throw EConnClosedGracefully(kClosedGracefully);
      return "";
    }
  }
}

size_t HttpConnection::Receive(char* out, size_t size) {
  return ReceiveSome(out, size, Buffered() > 0);
}

size_t HttpConnection::ReceiveSome(char* out, size_t size, bool bytes_waiting) {
  if (!socket_.IsOpen() || size == 0) return 0;
  for (;;) {
    size_t received = 0;
    int error = socket_.Receive(out, size, false, &received);
    if (error == 0) {
      if (received == 0) PeerClosed();
      return received;
    }
    if (error != kSocketWouldBlock) {
      // An abort with bytes still waiting ends the stream like a close, so
      // those bytes can still be read.
      if ((error == kSocketConnectionAborted || error == kSocketShutDown) &&
          bytes_waiting) {
        PeerClosed();
        return 0;
      }
      throw ESocketError(error);
    }
    bool readable = false;
    error = socket_.WaitReadable(WaitBudgetMs(), &readable);
    if (error != 0) throw ESocketError(error);
    if (!readable) throw EReadTimeout(kReadTimeout);
  }
}

bool HttpConnection::FillBuffer() {
  const size_t waiting = Buffered();
  if (capacity_ - end_ < kRecvBufferSize) {
    // Move the waiting bytes to the front, into a larger buffer if need be;
    // only an unfinished line (at most 16384 bytes) ever waits here.
    if (capacity_ - waiting < kRecvBufferSize) {
      size_t capacity = std::max(2 * capacity_, waiting + kRecvBufferSize);
      auto larger = std::make_unique_for_overwrite<char[]>(capacity);
      if (waiting > 0)
        std::memcpy(larger.get(), buffer_.get() + start_, waiting);
      buffer_ = std::move(larger);
      capacity_ = capacity;
    } else if (waiting > 0) {
      std::memmove(buffer_.get(), buffer_.get() + start_, waiting);
    }
    start_ = 0;
    end_ = waiting;
  }
  size_t received =
      ReceiveSome(buffer_.get() + end_, kRecvBufferSize, waiting > 0);
  end_ += received;
  return received > 0;
}

void HttpConnection::PeerClosed() { socket_.Close(); }

void HttpConnection::Consume(size_t count) {
  start_ += count;
  if (start_ == end_) start_ = end_ = 0;
}

int HttpConnection::WaitBudgetMs() const {
  int64_t budget = idle_ms_ > 0 ? idle_ms_ : -1;
  if (deadline_ != Clock::time_point::max()) {
    auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline_ - Clock::now())
            .count();
    if (left <= 0) throw EReadTimeout(kReadTimeout);
    if (budget < 0 || left < budget) budget = left;
  }
  return static_cast<int>(budget);
}

}  // namespace qilo
