#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "os/home.h"

namespace qilo {

std::string HomeFolder() {
  // The folder keeps the file system's bytes: converted to GBK, a name in
  // Hangul or with a "\" would no longer lead to it.
  const char* drive = std::getenv("HOMEDRIVE");
  const char* path = std::getenv("HOMEPATH");
  if (drive != nullptr && path != nullptr &&
      (*drive != '\0' || *path != '\0')) {
    return std::string(drive) + path;
  }
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr && found->pw_dir != nullptr && *found->pw_dir != '\0') {
    return found->pw_dir;
  }
  return "%HOMEDRIVE%%HOMEPATH%";
}

}  // namespace qilo
