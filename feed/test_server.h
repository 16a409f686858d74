#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qilo::net_test {

// What the server does on one accepted connection, step by step.
struct ServerStep {
  enum Kind {
    kReadRequest,  // read up to the empty line ending a request head
    kSend,         // send `bytes`
    kPause,        // sleep `ms`
    kClose,        // close the connection
    kAwaitClose,   // read and drop bytes until the client closes
  };
  Kind kind;
  std::string bytes{};
  int ms = 0;
};

// Reads the request, answers with `response`, then closes (`close_after`) or
// waits for the client to close.
std::vector<ServerStep> Answer(const std::string& response, bool close_after);

// A raw TCP server on 127.0.0.1 and an ephemeral port, run on its own thread,
// that plays one script per accepted connection in order. With
// `byte_per_send` every send carries one byte (no-delay set), after
// `byte_delay_ms` each, so heads and bodies arrive split across receives. A
// response over 4096 bytes goes in 4096 nearly equal pieces instead: each
// send costs a wine server round trip, and 64 KiB of them took a minute
// on a loaded machine.
// Every wait of the server is bounded: it never hangs a test.
class ScriptedServer {
 public:
  explicit ScriptedServer(std::vector<std::vector<ServerStep>> scripts,
                          bool byte_per_send = false, int byte_delay_ms = 0);
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  int Port() const { return port_; }
  // "http://127.0.0.1:<port>" + path.
  std::string Url(const std::string& path) const;
  // Waits for the scripts to end (at most a few seconds).
  void Join();
  // The request heads read so far, in order.
  std::vector<std::string> Requests();
  int Accepted() const { return accepted_; }

 private:
  void Run();
  void Play(std::intptr_t client, const std::vector<ServerStep>& script);

  std::vector<std::vector<ServerStep>> scripts_;
  bool byte_per_send_;
  int byte_delay_ms_;
  std::intptr_t listener_ = -1;  // a Windows SOCKET is 64 bits
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> accepted_{0};
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A port on 127.0.0.1 that nothing listens on (bound once, then released).
int UnusedPort();

}  // namespace qilo::net_test
