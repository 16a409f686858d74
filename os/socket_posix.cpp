#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "os/socket.h"
#include "os/socket_platform.h"

// POSIX sockets; everything above this file speaks in Windows Sockets numbers.

namespace qilo {

// POSIX sockets need no library start-up. SIGPIPE is avoided per send
// (MSG_NOSIGNAL), so no process-wide signal setting is changed.
int StartSocketLibrary() { return 0; }

int SocketLibraryLoadError(std::string* system_text) {
  system_text->clear();
  return 0;
}

namespace {

int LastError() { return SocketErrorFromErrno(errno); }

int AddressOf(const sockaddr_in& in, std::string* address, int* port) {
  char text[INET_ADDRSTRLEN] = {};
  if (inet_ntop(AF_INET, &in.sin_addr, text, sizeof text) == nullptr)
    return LastError();
  *address = text;
  *port = ntohs(in.sin_port);
  return 0;
}

int SetBlocking(int handle, bool blocking) {
  int flags = fcntl(handle, F_GETFL, 0);
  if (flags < 0) return LastError();
  flags = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
  if (fcntl(handle, F_SETFL, flags) < 0) return LastError();
  return 0;
}

}  // namespace

int LookUpHost(const std::string& name, std::string* address) {
  if (name.empty() || IsReservedInvalidName(name)) return kSocketHostNotFound;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* result = nullptr;
  int rc = getaddrinfo(name.c_str(), nullptr, &hints, &result);
  if (rc != 0) {
    switch (rc) {
      case EAI_AGAIN:
        return 11002;
      case EAI_FAIL:
        return 11003;
#ifdef EAI_NODATA
      case EAI_NODATA:
        return 11004;
#endif
#ifdef EAI_ADDRFAMILY
      case EAI_ADDRFAMILY:
        return 11004;
#endif
      case EAI_MEMORY:
        return 10055;
      case EAI_SYSTEM:
        return LastError();
      default:
        return kSocketHostNotFound;
    }
  }
  int error = kSocketHostNotFound;
  for (addrinfo* entry = result; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_family != AF_INET) continue;
    int port = 0;
    error = AddressOf(*reinterpret_cast<sockaddr_in*>(entry->ai_addr), address,
                      &port);
    break;
  }
  freeaddrinfo(result);
  return error;
}

TcpSocket::~TcpSocket() { Close(); }

int TcpSocket::Create() {
  Close();
  int error = AcquireSocketLayer();
  if (error != 0) return error;
  handle_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
  if (handle_ < 0) {
    handle_ = -1;
    error = LastError();
    ReleaseSocketLayer();
    return error;
  }
  return 0;
}

int TcpSocket::BindAny() {
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  local.sin_port = 0;
  if (bind(handle_, reinterpret_cast<sockaddr*>(&local), sizeof local) < 0) {
    return LastError();
  }
  return 0;
}

int TcpSocket::Connect(const std::string& address, int port, int timeout_ms) {
  if (port < 1 || port > 65535) return kSocketAddressNotAvailable;
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(static_cast<uint16_t>(port));
  if (inet_pton(AF_INET, address.c_str(), &peer.sin_addr) != 1) return 10022;
  if (timeout_ms <= 0) {
    if (connect(handle_, reinterpret_cast<sockaddr*>(&peer), sizeof peer) < 0) {
      return LastError();
    }
    return 0;
  }
  // A bounded connect: start it without blocking, wait for the outcome.
  int error = SetBlocking(handle_, false);
  if (error != 0) return error;
  if (connect(handle_, reinterpret_cast<sockaddr*>(&peer), sizeof peer) < 0) {
    if (errno != EINPROGRESS) return LastError();
    pollfd fd{static_cast<int>(handle_), POLLOUT, 0};
    int ready;
    do {
      ready = poll(&fd, 1, timeout_ms);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) return LastError();
    if (ready == 0) return kSocketTimedOut;
    int so_error = 0;
    socklen_t length = sizeof so_error;
    if (getsockopt(handle_, SOL_SOCKET, SO_ERROR, &so_error, &length) < 0) {
      return LastError();
    }
    if (so_error != 0) return SocketErrorFromErrno(so_error);
  }
  return SetBlocking(handle_, true);
}

int TcpSocket::PeerAddress(std::string* address, int* port) const {
  sockaddr_in in{};
  socklen_t length = sizeof in;
  if (getpeername(handle_, reinterpret_cast<sockaddr*>(&in), &length) < 0) {
    return LastError();
  }
  return AddressOf(in, address, port);
}

int TcpSocket::WaitReadable(int timeout_ms, bool* readable) {
  pollfd fd{static_cast<int>(handle_), POLLIN, 0};
  int ready;
  do {
    ready = poll(&fd, 1, timeout_ms < 0 ? -1 : timeout_ms);
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) return LastError();
  *readable = ready > 0;
  return 0;
}

int TcpSocket::Receive(char* buffer, size_t size, bool wait, size_t* received) {
  ssize_t count;
  do {
    count = recv(handle_, buffer, size, wait ? 0 : MSG_DONTWAIT);
  } while (count < 0 && errno == EINTR);
  if (count < 0) {
    *received = 0;
    return LastError();
  }
  *received = static_cast<size_t>(count);
  return 0;
}

int TcpSocket::Send(const char* data, size_t size, int timeout_ms,
                    size_t* sent) {
  timeval limit{};
  if (timeout_ms > 0) {
    limit.tv_sec = timeout_ms / 1000;
    limit.tv_usec = (timeout_ms % 1000) * 1000;
  }
  if (setsockopt(handle_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) < 0) {
    return LastError();
  }
  ssize_t count;
  do {
    count = send(handle_, data, size, MSG_NOSIGNAL);
  } while (count < 0 && errno == EINTR);
  if (count < 0) {
    *sent = 0;
    // SO_SNDTIMEO expiring shows as EAGAIN on a blocking socket.
    return (errno == EAGAIN || errno == EWOULDBLOCK) ? kSocketTimedOut
                                                     : LastError();
  }
  *sent = static_cast<size_t>(count);
  return 0;
}

void TcpSocket::ShutdownAndClose() {
  if (handle_ < 0) return;
  shutdown(handle_, SHUT_WR);
  Close();
}

void TcpSocket::Close() {
  if (handle_ < 0) return;
  close(handle_);
  handle_ = -1;
  ReleaseSocketLayer();
}

}  // namespace qilo
