#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qilo {

// Socket errors are reported with the Windows Sockets numbers on every
// platform, so that messages read the same everywhere.
inline constexpr int kSocketWouldBlock = 10035;
inline constexpr int kSocketAddressInUse = 10048;
inline constexpr int kSocketAddressNotAvailable = 10049;
inline constexpr int kSocketConnectionAborted = 10053;
inline constexpr int kSocketConnectionReset = 10054;
inline constexpr int kSocketShutDown = 10058;
inline constexpr int kSocketTimedOut = 10060;
inline constexpr int kSocketConnectionRefused = 10061;
inline constexpr int kSocketHostNotFound = 11001;

// The Windows Sockets number for a POSIX errno value; a value with no such
// number is given back unchanged (it stays below 10000).
int SocketErrorFromErrno(int err);

// The text of a Windows Sockets error number; empty for a number it does not
// know.
const char* SocketErrorText(int error_number);

// Given back by AcquireSocketLayer when the socket library itself could not be
// loaded (Windows loads WS2_32.DLL at run time).
inline constexpr int kSocketLibraryNotLoaded = -1;

// Counts one more user of the process-wide socket layer. The first call of
// the process loads the socket library and runs its start-up; the result is
// kept and given back by every later call. Returns 0; kSocketLibraryNotLoaded;
// or the start-up's error number. Nothing is counted on a failure.
int AcquireSocketLayer();

// The system's error code of the failed load of the socket library, with the
// system's text for it in `system_text` (empty when the code is 0).
int SocketLibraryLoadError(std::string* system_text);

// Ends one use counted by AcquireSocketLayer.
void ReleaseSocketLayer();

// The number of uses counted now (clients and the sockets they hold open).
int SocketLayerUsers();

// Looks up `name` and gives the first IPv4 address of the answer as dotted
// decimal in `address`. Returns 0 or an error number (11001 when the name is
// unknown). Names under the reserved top-level domain "invalid" are answered
// as unknown without asking the resolver.
int LookUpHost(const std::string& name, std::string* address);

// One IPv4 TCP stream socket. Every call returns 0 or an error number. While
// open, the socket counts as a user of the socket layer.
class TcpSocket {
 public:
  TcpSocket() = default;
  ~TcpSocket();
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;

  // Creates the socket (closing one held before).
  int Create();
  bool IsOpen() const { return handle_ != -1; }

  // Binds to the wildcard address and port 0, so the system picks the port.
  int BindAny();

  // Connects to the dotted-decimal `address` and `port`, giving up after
  // `timeout_ms` (no limit when 0 or less) with 10060. A port outside 1 to
  // 65535 gives 10049.
  int Connect(const std::string& address, int port, int timeout_ms);

  // The peer address and port of the connected socket.
  int PeerAddress(std::string* address, int* port) const;

  // Waits until a receive would not block (bytes, the peer's close or an
  // error), for at most `timeout_ms` (no limit when negative). `*readable` is
  // false when the time ran out.
  int WaitReadable(int timeout_ms, bool* readable);

  // Receives up to `size` bytes; `*received` 0 means the peer closed in order.
  // With `wait` false it returns 10035 at once when no byte is waiting.
  int Receive(char* buffer, size_t size, bool wait, size_t* received);

  // Sends up to `size` bytes; `*sent` is the count the socket accepted. A send
  // that cannot go on for `timeout_ms` (no limit when 0 or less) gives 10060.
  int Send(const char* data, size_t size, int timeout_ms, size_t* sent);

  // Shuts down the sending side, then closes; nothing when not open.
  void ShutdownAndClose();
  void Close();

 private:
  // A file descriptor, or a Windows SOCKET (64 bits); -1 when closed.
  std::intptr_t handle_ = -1;
};

}  // namespace qilo
