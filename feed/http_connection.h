#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "os/socket.h"

namespace qilo {

// One TCP connection of the HTTP client with its input buffer: the only place
// where received bytes wait until a line or body read takes them from the
// front. Every failure is thrown as one of the exceptions of net_errors.h.
class HttpConnection {
 public:
  using Clock = std::chrono::steady_clock;

  static constexpr size_t kMaxLineLength = 16384;
  static constexpr size_t kRecvBufferSize = 32768;

  // The host and port the connection is set for (opened or not).
  const std::string& Host() const { return host_; }
  int Port() const { return port_; }
  void SetEndpoint(const std::string& host, int port);

  // False before opening and once either side has closed the connection.
  bool IsOpen() const { return socket_.IsOpen(); }

  // The peer's address and port of the last connection opened.
  const std::string& PeerAddress() const { return peer_address_; }
  int PeerPort() const { return peer_port_; }

  // Opens a connection to the endpoint: socket (EInvalidSocket), bind
  // (ECouldNotBindSocket for 10048, else ESocketError), host resolution and
  // connect, bounded by `connect_timeout_ms` (ESocketError). Empties the
  // input buffer. On failure nothing stays open.
  void Open(int connect_timeout_ms);

  // Shuts down the sending side and closes; the buffer keeps its bytes.
  void Close();

  // For reuse of a kept connection: false when bytes wait unread or the peer
  // has closed (polled for 1 ms); the caller then opens a new one.
  bool StillUsable();

  // Sets the limits of every later wait for bytes: `idle_ms` without a byte
  // (no limit when 0 or less) and the instant the exchange must be over
  // (Clock::time_point::max() for none). An expired limit throws EReadTimeout.
  void SetReadLimits(int idle_ms, Clock::time_point deadline);

  // Sends every byte, each try bounded by `timeout_ms` (ESocketError). A
  // connection reset or abort closes the socket before the throw.
  void Send(const std::string& bytes, int timeout_ms);

  // The next line without its LF and one CR before it. Throws
  // EMaxLineLengthExceeded for more than 16384 bytes before the LF and
  // EConnClosedGracefully when the connection is closed; when the peer closes
  // with a partial line buffered, gives an empty line and keeps those bytes.
  std::string ReadLine();

  // Bytes taken out of the buffer by ReadLine so far (for head size limits).
  size_t LineBytesTaken() const { return line_bytes_taken_; }

  size_t Buffered() const { return end_ - start_; }

  // The buffered bytes (Buffered() of them), and their removal from the
  // front once taken.
  const char* BufferedBytes() const { return buffer_.get() + start_; }
  void Skip(size_t count) { Consume(count); }

  // Receives up to `size` bytes straight into `out`, waiting within the read
  // limits; gives 0 when the peer has closed (the socket is closed then) or
  // when the connection is no longer open.
  size_t Receive(char* out, size_t size);

 private:
  // Receives once into the input buffer; false when the peer has closed.
  bool FillBuffer();
  // Receive, where an abort counts as the peer's close when `bytes_waiting`.
  size_t ReceiveSome(char* out, size_t size, bool bytes_waiting);
  void PeerClosed();
  void Consume(size_t count);
  // The wait allowed now, -1 for no limit; throws EReadTimeout when the
  // exchange deadline has passed.
  int WaitBudgetMs() const;

  TcpSocket socket_;
  std::string host_;
  int port_ = 0;
  std::string peer_address_;
  int peer_port_ = 0;
  // Received bytes wait in buffer_[start_, end_).
  std::unique_ptr<char[]> buffer_;
  size_t capacity_ = 0;
  size_t start_ = 0;
  size_t end_ = 0;
  size_t line_bytes_taken_ = 0;
  int idle_ms_ = 0;
  Clock::time_point deadline_ = Clock::time_point::max();
};

}  // namespace qilo
