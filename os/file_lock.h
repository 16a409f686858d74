#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace qilo {

// Keeps other copies of the program from changing a file between this one's
// read of it and its replace, so that two windows saving different keys of
// one INI file at once both keep their keys. Held from construction to
// destruction. The path is the program's own text (GBK, "\" or "/").
//
// On Linux the lock is an flock on the file's folder (no lock file is left
// beside the user's files); on Windows a named mutex for the file's full path.
// A holder that dies lets go at once. A holder that does not let go within
// `wait` is not waited for any longer: the caller goes on without the lock
// (Held() false) rather than hang the window. A folder that cannot be opened
// gives no lock and no wait; the write that follows reports the failure.
class FileUpdateLock {
 public:
  static constexpr std::chrono::milliseconds kDefaultWait{3000};

  explicit FileUpdateLock(const std::string& path,
                          std::chrono::milliseconds wait = kDefaultWait);
  ~FileUpdateLock();
  FileUpdateLock(const FileUpdateLock&) = delete;
  FileUpdateLock& operator=(const FileUpdateLock&) = delete;

  bool Held() const { return held_; }

 private:
  std::intptr_t handle_ = -1;  // folder descriptor or mutex handle
  bool held_ = false;
};

}  // namespace qilo
