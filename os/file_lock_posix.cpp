#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "os/file_lock.h"
#include "os/files.h"

namespace qilo {

FileUpdateLock::FileUpdateLock(const std::string& path,
                               std::chrono::milliseconds wait) {
  const std::string native = NativePath(path);
  const size_t slash = native.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : native.substr(0, slash + 1);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  handle_ = fd;
  // Polled rather than blocking, so that a stopped holder costs at most `wait`.
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      held_ = true;
      return;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) return;
    if (std::chrono::steady_clock::now() >= deadline) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

FileUpdateLock::~FileUpdateLock() {
  // Closing the descriptor lets go of the lock.
  if (handle_ >= 0) close(static_cast<int>(handle_));
}

}  // namespace qilo
