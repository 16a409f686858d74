// The HTTP response reader: a listener on 127.0.0.1 in this process answers
// every request with the fuzzer's bytes and closes; the client must end each
// Get with a body or one of its own errors, within its (shortened) time
// bounds, and never hold more body than its limit.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "feed/http_client.h"
#include "text/exception.h"

namespace {

// Answers one connection at a time with the response set for it.
class Responder {
 public:
  Responder() {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 ||
        bind(listener_, reinterpret_cast<sockaddr*>(&address),
             sizeof address) != 0 ||
        listen(listener_, 4) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address),
                    &length) != 0) {
      std::abort();
    }
    port_ = ntohs(address.sin_port);
    std::thread([this] { Serve(); }).detach();
  }

  int Port() const { return port_; }
  void Set(std::string response) {
    std::lock_guard<std::mutex> lock(mutex_);
    response_ = std::move(response);
  }

 private:
  void Serve() {
    for (;;) {
      const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      // The request head, up to its empty line.
      std::string head;
      char buffer[4096];
      while (head.size() < 65536 &&
             head.find("\r\n\r\n") == std::string::npos) {
        const ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        head.append(buffer, static_cast<size_t>(n));
      }
      std::string response;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        response = response_;
      }
      for (size_t done = 0; done < response.size();) {
        const ssize_t n = send(client, response.data() + done,
                               response.size() - done, MSG_NOSIGNAL);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
      }
      shutdown(client, SHUT_WR);
      close(client);
    }
  }

  int listener_ = -1;
  int port_ = 0;
  std::mutex mutex_;
  std::string response_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Responder* responder = new Responder;
  responder->Set(std::string(reinterpret_cast<const char*>(data), size));
  qilo::HttpLimits limits;
  limits.connect_timeout_ms = 1000;
  limits.read_timeout_ms = 300;
  limits.exchange_timeout_ms = 1000;
  limits.error_read_timeout_ms = 100;
  limits.max_body_bytes = 1 << 16;
  std::string body;
  try {
    qilo::THttpClient client(limits);
    client.Get(
        "http://127.0.0.1:" + std::to_string(responder->Port()) + "/qilocal",
        &body);
  } catch (const qilo::Exception&) {
    return 0;
  }
  if (static_cast<int64_t>(body.size()) > limits.max_body_bytes) std::abort();
  return 0;
}
