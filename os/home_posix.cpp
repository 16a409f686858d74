#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "os/home.h"
#include "text/gbk.h"

namespace qilo {

std::string HomeFolder() {
  // The environment holds UTF-8 on this platform; the program's texts are GBK.
  const char* drive = std::getenv("HOMEDRIVE");
  const char* path = std::getenv("HOMEPATH");
  if (drive != nullptr && path != nullptr &&
      (*drive != '\0' || *path != '\0')) {
    return Utf8ToGbk(std::string(drive) + path);
  }
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return Utf8ToGbk(home);
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr && found->pw_dir != nullptr && *found->pw_dir != '\0') {
    return Utf8ToGbk(found->pw_dir);
  }
  return "%HOMEDRIVE%%HOMEPATH%";
}

}  // namespace qilo
