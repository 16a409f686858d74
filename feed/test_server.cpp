#include "feed/test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace qilo::net_test {
namespace {

constexpr int kStepLimitMs = 5000;

int Listen(int* port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 ||
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
bool WaitReadable(int fd, int limit_ms, const std::atomic<bool>& stop) {
  auto until =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
  while (!stop && std::chrono::steady_clock::now() < until) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 20) > 0) return true;
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
  close(listener_);
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
    int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    ++accepted_;
    Play(client, script);
    close(client);
  }
}

void ScriptedServer::Play(int client, const std::vector<ServerStep>& script) {
  int one = 1;
  setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
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
        size_t piece = byte_per_send_ ? 1 : step.bytes.size();
        for (size_t done = 0; done < step.bytes.size(); done += piece) {
          if (stop_) return;
          size_t size = std::min(piece, step.bytes.size() - done);
          if (send(client, step.bytes.data() + done, size, MSG_NOSIGNAL) !=
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
  int fd = Listen(&port);
  close(fd);
  return port;
}

}  // namespace qilo::net_test
