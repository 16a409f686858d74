#include "os/socket.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace qilo {
namespace {

TEST(SocketTest, MapsErrnoToWindowsSocketsNumbers) {
  const std::pair<int, int> cases[] = {
      {ECONNREFUSED, 10061}, {ETIMEDOUT, 10060},    {ECONNRESET, 10054},
      {EPIPE, 10054},        {ENETUNREACH, 10051},  {EHOSTUNREACH, 10065},
      {EADDRINUSE, 10048},   {ECONNABORTED, 10053}, {EWOULDBLOCK, 10035},
      {EMFILE, 10024},       {EINTR, 10004},        {ENOTCONN, 10057},
  };
  for (const auto& [err, number] : cases) {
    SCOPED_TRACE(err);
    EXPECT_EQ(SocketErrorFromErrno(err), number);
  }
}

TEST(SocketTest, ErrorTable) {
  const struct {
    int err;     // 0: reported by no errno
    int number;  // what SocketErrorFromErrno gives
    const char* text;
  } kCases[] = {
      {ENFILE, 10024, "Too many open files."},
      {EAGAIN, 10035, "Operation would block. "},  // the space is kept
      {ENOMEM, 10055, "No buffer space available."},
      {ESHUTDOWN, 10058, "Cannot send or receive after socket is closed."},
      {ENOTEMPTY, 10066, "Directory not empty"},
      {0, 11001, "Host not found."},
      // Not socket errors: the number stays the errno, and has no text.
      {ENOENT, ENOENT, ""},
      {0, 11002, ""},
      {0, 10000, ""},
      {0, 0, ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.number);
    if (c.err != 0 || c.number == 0) {
      EXPECT_EQ(SocketErrorFromErrno(c.err), c.number);
    }
    EXPECT_STREQ(SocketErrorText(c.number), c.text);
  }
}

TEST(SocketTest, NamesUnderInvalidNeverResolve) {
  for (const char* name :
       {"nothing.invalid", "A.B.INVALID", "invalid", "x.invalid.", ""}) {
    SCOPED_TRACE(name);
    std::string address = "unchanged";
    EXPECT_EQ(LookUpHost(name, &address), kSocketHostNotFound);
    EXPECT_EQ(address, "unchanged");
  }
}

TEST(SocketTest, ConnectReportsRefusedAndBadPorts) {
  int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(
      bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  const int unused_port = ntohs(address.sin_port);
  close(
      listener);  // bound, never listening, now released: nothing answers there

  const int before = SocketLayerUsers();
  for (int timeout_ms : {0, 1000}) {
    TcpSocket socket;
    ASSERT_EQ(socket.Create(), 0);
    EXPECT_EQ(SocketLayerUsers(), before + 1);
    ASSERT_EQ(socket.BindAny(), 0);
    EXPECT_EQ(socket.Connect("127.0.0.1", unused_port, timeout_ms),
              kSocketConnectionRefused);
  }
  EXPECT_EQ(SocketLayerUsers(), before);
  TcpSocket socket;
  ASSERT_EQ(socket.Create(), 0);
  EXPECT_EQ(socket.Connect("127.0.0.1", 0, 1000), kSocketAddressNotAvailable);
  EXPECT_EQ(socket.Connect("127.0.0.1", 65536, 1000),
            kSocketAddressNotAvailable);
}

}  // namespace
}  // namespace qilo
