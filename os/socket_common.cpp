// The process-wide socket layer: started once, its users counted under the
// one lock of the program.
#include <mutex>

#include "os/socket.h"
#include "os/socket_platform.h"

namespace qilo {
namespace {

std::mutex& LayerMutex() {
  static std::mutex mutex;
  return mutex;
}

int layer_users = 0;

}  // namespace

bool IsReservedInvalidName(const std::string& name) {
  std::string lower;
  for (char c : name) {
    lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  while (!lower.empty() && lower.back() == '.') lower.pop_back();
  static const std::string kSuffix = ".invalid";
  return lower == "invalid" || (lower.size() > kSuffix.size() &&
                                lower.compare(lower.size() - kSuffix.size(),
                                              kSuffix.size(), kSuffix) == 0);
}

int AcquireSocketLayer() {
  static const int startup_error = StartSocketLibrary();
  if (startup_error != 0) return startup_error;
  std::lock_guard<std::mutex> lock(LayerMutex());
  ++layer_users;
  return 0;
}

void ReleaseSocketLayer() {
  std::lock_guard<std::mutex> lock(LayerMutex());
  --layer_users;
}

int SocketLayerUsers() {
  std::lock_guard<std::mutex> lock(LayerMutex());
  return layer_users;
}

}  // namespace qilo
