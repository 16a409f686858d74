// Windows Sockets 2, loaded at run time: WS2_32.DLL is not linked, and each
// of its functions is looked up by name on first use.
#include <winsock2.h>
#include <ws2tcpip.h>
// winsock2.h before windows.h.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "os/socket.h"
#include "os/socket_platform.h"
#include "os/system_message.h"

namespace qilo {
namespace {

HMODULE library = nullptr;
DWORD load_error = 0;

// The library's function `name` as a pointer of type T, or nullptr.
template <typename T>
T Lookup(const char* name) {
  if (library == nullptr) return nullptr;
  return reinterpret_cast<T>(
      reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Declares the pointer to one library function, looked up once.
#define QILO_WS_FUNCTION(name, type)                  \
  type Ws_##name() {                                  \
    static const type function = Lookup<type>(#name); \
    return function;                                  \
  }

using StartupFn = int(WSAAPI*)(WORD, LPWSADATA);
using CleanupFn = int(WSAAPI*)();
using LastErrorFn = int(WSAAPI*)();
using SocketFn = SOCKET(WSAAPI*)(int, int, int);
using BindFn = int(WSAAPI*)(SOCKET, const sockaddr*, int);
using ConnectFn = int(WSAAPI*)(SOCKET, const sockaddr*, int);
using NameFn = int(WSAAPI*)(SOCKET, sockaddr*, int*);
using SelectFn = int(WSAAPI*)(int, fd_set*, fd_set*, fd_set*, const timeval*);
using RecvFn = int(WSAAPI*)(SOCKET, char*, int, int);
using SendFn = int(WSAAPI*)(SOCKET, const char*, int, int);
using ShutdownFn = int(WSAAPI*)(SOCKET, int);
using CloseFn = int(WSAAPI*)(SOCKET);
using IoctlFn = int(WSAAPI*)(SOCKET, long, u_long*);
using SetOptFn = int(WSAAPI*)(SOCKET, int, int, const char*, int);
using GetOptFn = int(WSAAPI*)(SOCKET, int, int, char*, int*);
using GetAddrInfoFn = int(WSAAPI*)(const char*, const char*, const addrinfo*,
                                   addrinfo**);
using FreeAddrInfoFn = void(WSAAPI*)(addrinfo*);

QILO_WS_FUNCTION(WSAStartup, StartupFn)
QILO_WS_FUNCTION(WSACleanup, CleanupFn)
QILO_WS_FUNCTION(WSAGetLastError, LastErrorFn)
QILO_WS_FUNCTION(socket, SocketFn)
QILO_WS_FUNCTION(bind, BindFn)
QILO_WS_FUNCTION(connect, ConnectFn)
QILO_WS_FUNCTION(getpeername, NameFn)
QILO_WS_FUNCTION(select, SelectFn)
QILO_WS_FUNCTION(recv, RecvFn)
QILO_WS_FUNCTION(send, SendFn)
QILO_WS_FUNCTION(shutdown, ShutdownFn)
QILO_WS_FUNCTION(closesocket, CloseFn)
QILO_WS_FUNCTION(ioctlsocket, IoctlFn)
QILO_WS_FUNCTION(setsockopt, SetOptFn)
QILO_WS_FUNCTION(getsockopt, GetOptFn)
QILO_WS_FUNCTION(getaddrinfo, GetAddrInfoFn)
QILO_WS_FUNCTION(freeaddrinfo, FreeAddrInfoFn)
#undef QILO_WS_FUNCTION

// A function the library lacks reads as "operation not supported".
constexpr int kNotSupported = 10045;

int LastError() {
  const LastErrorFn f = Ws_WSAGetLastError();
  return f == nullptr ? kNotSupported : f();
}

SOCKET Handle(std::intptr_t h) { return static_cast<SOCKET>(h); }

uint16_t Swap16(uint16_t v) {
  return static_cast<uint16_t>((v >> 8) | (v << 8));
}

std::string DottedDecimal(const in_addr& address) {
  const auto* b = reinterpret_cast<const unsigned char*>(&address);
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
  return text;
}

// Four decimal numbers of 0 to 255 with dots between, nothing else.
bool ParseDottedDecimal(const std::string& text, in_addr* address) {
  auto* b = reinterpret_cast<unsigned char*>(address);
  size_t at = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (at >= text.size() || text[at] != '.') return false;
      ++at;
    }
    int value = 0;
    size_t digits = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' &&
           digits < 4) {
      value = value * 10 + (text[at] - '0');
      ++at;
      ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255) return false;
    b[part] = static_cast<unsigned char>(value);
  }
  return at == text.size();
}

int AddressOf(const sockaddr_in& in, std::string* address, int* port) {
  *address = DottedDecimal(in.sin_addr);
  *port = Swap16(in.sin_port);
  return 0;
}

int SetBlocking(SOCKET s, bool blocking) {
  const IoctlFn ioctl = Ws_ioctlsocket();
  if (ioctl == nullptr) return kNotSupported;
  u_long non_blocking = blocking ? 0 : 1;
  return ioctl(s, FIONBIO, &non_blocking) == 0 ? 0 : LastError();
}

// Waits for one socket: readable, or writable (with its error set counted as
// ready). Returns 0 with `*ready`, or an error number.
int Wait(SOCKET s, bool for_write, int timeout_ms, bool* ready) {
  const SelectFn select = Ws_select();
  if (select == nullptr) return kNotSupported;
  fd_set main_set;
  fd_set error_set;
  FD_ZERO(&main_set);
  FD_ZERO(&error_set);
  FD_SET(s, &main_set);
  FD_SET(s, &error_set);
  timeval limit{};
  limit.tv_sec = timeout_ms / 1000;
  limit.tv_usec = (timeout_ms % 1000) * 1000;
  const int n = select(
      0, for_write ? nullptr : &main_set, for_write ? &main_set : nullptr,
      for_write ? &error_set : nullptr, timeout_ms < 0 ? nullptr : &limit);
  if (n == SOCKET_ERROR) return LastError();
  *ready = n > 0;
  return 0;
}

// The library is given back when the program ends.
void ReleaseSocketLibrary() {
  if (const CleanupFn cleanup = Ws_WSACleanup()) cleanup();
  FreeLibrary(library);
  library = nullptr;
}

}  // namespace

int StartSocketLibrary() {
  library = LoadLibraryA("WS2_32.DLL");
  if (library == nullptr) {
    load_error = GetLastError();
    return kSocketLibraryNotLoaded;
  }
  const StartupFn startup = Ws_WSAStartup();
  WSADATA data{};
  if (startup == nullptr || startup(MAKEWORD(2, 2), &data) != 0) return 10091;
  Ws_WSACleanup();  // looked up now, while nothing is being torn down
  std::atexit(ReleaseSocketLibrary);
  return 0;
}

int SocketLibraryLoadError(std::string* system_text) {
  system_text->clear();
  if (load_error == 0) return 0;
  *system_text = SystemMessage(load_error);
  return static_cast<int>(load_error);
}

int LookUpHost(const std::string& name, std::string* address) {
  if (name.empty() || IsReservedInvalidName(name)) return kSocketHostNotFound;
  const GetAddrInfoFn get = Ws_getaddrinfo();
  const FreeAddrInfoFn free = Ws_freeaddrinfo();
  if (get == nullptr || free == nullptr) return kNotSupported;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* result = nullptr;
  // The resolver's answers are Windows Sockets numbers already (11001 ...).
  const int rc = get(name.c_str(), nullptr, &hints, &result);
  if (rc != 0) return rc;
  int error = kSocketHostNotFound;
  for (addrinfo* entry = result; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_family != AF_INET) continue;
    int port = 0;
    error = AddressOf(*reinterpret_cast<sockaddr_in*>(entry->ai_addr), address,
                      &port);
    break;
  }
  free(result);
  return error;
}

TcpSocket::~TcpSocket() { Close(); }

int TcpSocket::Create() {
  Close();
  int error = AcquireSocketLayer();
  if (error != 0) return error;
  const SocketFn make = Ws_socket();
  const SOCKET s = make == nullptr ? INVALID_SOCKET
                                   : make(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) {
    error = make == nullptr ? kNotSupported : LastError();
    ReleaseSocketLayer();
    return error;
  }
  handle_ = static_cast<std::intptr_t>(s);
  return 0;
}

int TcpSocket::BindAny() {
  const BindFn bind = Ws_bind();
  if (bind == nullptr) return kNotSupported;
  sockaddr_in local{};
  local.sin_family = AF_INET;
  if (bind(Handle(handle_), reinterpret_cast<sockaddr*>(&local),
           sizeof local) == SOCKET_ERROR) {
    return LastError();
  }
  return 0;
}

int TcpSocket::Connect(const std::string& address, int port, int timeout_ms) {
  if (port < 1 || port > 65535) return kSocketAddressNotAvailable;
  const ConnectFn connect = Ws_connect();
  if (connect == nullptr) return kNotSupported;
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = Swap16(static_cast<uint16_t>(port));
  if (!ParseDottedDecimal(address, &peer.sin_addr)) return 10022;
  const SOCKET s = Handle(handle_);
  if (timeout_ms <= 0) {
    if (connect(s, reinterpret_cast<sockaddr*>(&peer), sizeof peer) ==
        SOCKET_ERROR) {
      return LastError();
    }
    return 0;
  }
  // A bounded connect: start it without blocking, wait for the outcome.
  int error = SetBlocking(s, false);
  if (error != 0) return error;
  if (connect(s, reinterpret_cast<sockaddr*>(&peer), sizeof peer) ==
      SOCKET_ERROR) {
    error = LastError();
    if (error != kSocketWouldBlock) return error;
    bool ready = false;
    error = Wait(s, true, timeout_ms, &ready);
    if (error != 0) return error;
    if (!ready) return kSocketTimedOut;
    const GetOptFn get = Ws_getsockopt();
    if (get == nullptr) return kNotSupported;
    int so_error = 0;
    int length = sizeof so_error;
    if (get(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&so_error),
            &length) == SOCKET_ERROR) {
      return LastError();
    }
    if (so_error != 0) return so_error;
  }
  return SetBlocking(s, true);
}

int TcpSocket::PeerAddress(std::string* address, int* port) const {
  const NameFn name = Ws_getpeername();
  if (name == nullptr) return kNotSupported;
  sockaddr_in in{};
  int length = sizeof in;
  if (name(Handle(handle_), reinterpret_cast<sockaddr*>(&in), &length) ==
      SOCKET_ERROR) {
    return LastError();
  }
  return AddressOf(in, address, port);
}

int TcpSocket::WaitReadable(int timeout_ms, bool* readable) {
  return Wait(Handle(handle_), false, timeout_ms, readable);
}

int TcpSocket::Receive(char* buffer, size_t size, bool wait, size_t* received) {
  *received = 0;
  const RecvFn recv = Ws_recv();
  if (recv == nullptr) return kNotSupported;
  if (!wait) {
    bool ready = false;
    const int error = WaitReadable(0, &ready);
    if (error != 0) return error;
    if (!ready) return kSocketWouldBlock;
  }
  const int chunk = static_cast<int>(size > 1u << 30 ? 1u << 30 : size);
  const int count = recv(Handle(handle_), buffer, chunk, 0);
  if (count == SOCKET_ERROR) return LastError();
  *received = static_cast<size_t>(count);
  return 0;
}

int TcpSocket::Send(const char* data, size_t size, int timeout_ms,
                    size_t* sent) {
  *sent = 0;
  const SetOptFn set = Ws_setsockopt();
  const SendFn send = Ws_send();
  if (set == nullptr || send == nullptr) return kNotSupported;
  const DWORD limit = timeout_ms > 0 ? static_cast<DWORD>(timeout_ms) : 0;
  if (set(Handle(handle_), SOL_SOCKET, SO_SNDTIMEO,
          reinterpret_cast<const char*>(&limit),
          sizeof limit) == SOCKET_ERROR) {
    return LastError();
  }
  const int chunk = static_cast<int>(size > 1u << 30 ? 1u << 30 : size);
  const int count = send(Handle(handle_), data, chunk, 0);
  if (count == SOCKET_ERROR) return LastError();
  *sent = static_cast<size_t>(count);
  return 0;
}

void TcpSocket::ShutdownAndClose() {
  if (handle_ == -1) return;
  if (const ShutdownFn shutdown = Ws_shutdown()) {
    shutdown(Handle(handle_), SD_SEND);
  }
  Close();
}

void TcpSocket::Close() {
  if (handle_ == -1) return;
  if (const CloseFn close = Ws_closesocket()) close(Handle(handle_));
  handle_ = -1;
  ReleaseSocketLayer();
}

}  // namespace qilo
