#include "feed/test_server.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace qilo::net_test {
namespace {

constexpr int kStepLimitMs = 5000;
constexpr size_t kMaxSends = 4096;

// The few calls that differ between the two socket libraries. The test
// process starts Windows Sockets for itself; the code under test loads and
// starts the library on its own.
#ifdef _WIN32
using SocketLength = int;
constexpr int kCloseOnExec = 0;
constexpr int kNoSignal = 0;
bool Invalid(std::intptr_t fd) { return fd == -1; }
void CloseSocket(std::intptr_t fd) { closesocket(static_cast<SOCKET>(fd)); }
bool ReadableWithin(std::intptr_t fd, int ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(static_cast<SOCKET>(fd), &set);
  timeval limit{0, ms * 1000};
  return select(0, &set, nullptr, nullptr, &limit) > 0;
}
std::intptr_t Accept(std::intptr_t fd) {
  const SOCKET s = accept(static_cast<SOCKET>(fd), nullptr, nullptr);
  return s == INVALID_SOCKET ? -1 : static_cast<std::intptr_t>(s);
}
const bool kWinsockStarted = [] {
  WSADATA data;
  return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}();
#else
using SocketLength = socklen_t;
constexpr int kCloseOnExec = SOCK_CLOEXEC;
constexpr int kNoSignal = MSG_NOSIGNAL;
bool Invalid(std::intptr_t fd) { return fd < 0; }
void CloseSocket(std::intptr_t fd) { close(static_cast<int>(fd)); }
bool ReadableWithin(std::intptr_t fd, int ms) {
  pollfd p{static_cast<int>(fd), POLLIN, 0};
  return poll(&p, 1, ms) > 0;
}
std::intptr_t Accept(std::intptr_t fd) {
  return accept4(static_cast<int>(fd), nullptr, nullptr, SOCK_CLOEXEC);
}
#endif

std::intptr_t Listen(int* port) {
  const auto fd = static_cast<std::intptr_t>(
      socket(AF_INET, SOCK_STREAM | kCloseOnExec, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  SocketLength length = sizeof address;
  if (Invalid(fd) ||
      bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(fd, 8) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    std::perror("test server");
    std::abort();
  }
  *port = ntohs(address.sin_port);
  return fd;
}

// Polls in short slices so that a stopping server is never stuck.
bool WaitReadable(std::intptr_t fd, int limit_ms,
                  const std::atomic<bool>& stop) {
  auto until =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
  while (!stop && std::chrono::steady_clock::now() < until) {
    if (ReadableWithin(fd, 20)) return true;
  }
  return false;
}

}  // namespace

std::vector<ServerStep> Answer(const std::string& response, bool close_after) {
  return {{ServerStep::kReadRequest, "", 0},
          {ServerStep::kSend, response, 0},
          {close_after ? ServerStep::kClose : ServerStep::kAwaitClose, "", 0}};
}

ScriptedServer::ScriptedServer(std::vector<std::vector<ServerStep>> scripts,
                               bool byte_per_send, int byte_delay_ms)
    : scripts_(std::move(scripts)),
      byte_per_send_(byte_per_send),
      byte_delay_ms_(byte_delay_ms) {
  listener_ = Listen(&port_);
  thread_ = std::thread([this] { Run(); });
}

ScriptedServer::~ScriptedServer() {
  stop_ = true;
  Join();
  CloseSocket(listener_);
}

std::string ScriptedServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void ScriptedServer::Join() {
  if (thread_.joinable()) thread_.join();
}

std::vector<std::string> ScriptedServer::Requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void ScriptedServer::Run() {
  for (const auto& script : scripts_) {
    if (!WaitReadable(listener_, kStepLimitMs, stop_)) return;
    const std::intptr_t client = Accept(listener_);
    if (Invalid(client)) return;
    ++accepted_;
    Play(client, script);
    CloseSocket(client);
  }
}

void ScriptedServer::Play(std::intptr_t client,
                          const std::vector<ServerStep>& script) {
  const int one = 1;
  setsockopt(client, IPPROTO_TCP, TCP_NODELAY,
             reinterpret_cast<const char*>(&one), sizeof one);
  for (const ServerStep& step : script) {
    switch (step.kind) {
      case ServerStep::kReadRequest: {
        std::string head;
        while (head.find("\r\n\r\n") == std::string::npos) {
          char byte;
          if (!WaitReadable(client, kStepLimitMs, stop_) ||
              recv(client, &byte, 1, 0) != 1)
            return;
          head += byte;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(head);
        break;
      }
      case ServerStep::kSend: {
        size_t piece = step.bytes.size();
        if (byte_per_send_) piece = (piece + kMaxSends - 1) / kMaxSends;
        for (size_t done = 0; done < step.bytes.size(); done += piece) {
          if (stop_) return;
          size_t size = std::min(piece, step.bytes.size() - done);
          if (send(client, step.bytes.data() + done, size, kNoSignal) !=
              static_cast<ssize_t>(size)) {
            return;  // the client has gone
          }
          if (byte_delay_ms_ > 0) {
            std::this_thread::sleep_for(
                std::chrono::milliseconds(byte_delay_ms_));
          }
        }
        break;
      }
      case ServerStep::kPause:
        std::this_thread::sleep_for(std::chrono::milliseconds(step.ms));
        break;
      case ServerStep::kClose:
        return;
      case ServerStep::kAwaitClose: {
        char sink[4096];
        while (WaitReadable(client, kStepLimitMs, stop_)) {
          if (recv(client, sink, sizeof sink, 0) <= 0) return;
        }
        return;
      }
    }
  }
}

int UnusedPort() {
  int port = 0;
  const std::intptr_t fd = Listen(&port);
  CloseSocket(fd);
  return port;
}

}  // namespace qilo::net_test
