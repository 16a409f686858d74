#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "os/files.h"
#include "text/gbk.h"

namespace qilo {
namespace {

BeforeRenameHook before_rename_hook = nullptr;
bool flush_to_disk = true;

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// A name no other writer picks: process id, a per-process counter and the
// clock.
std::string TempSuffix() {
  static std::atomic<unsigned> counter{0};
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::to_string(getpid()) + "-" + std::to_string(++counter) + "-" +
         std::to_string(now.tv_nsec);
}

// The temporary files of earlier replaces of this path that a kill left
// behind; a young one may still be some other writer's.
void RemoveStaleTempFiles(const std::string& folder,
                          const std::string& prefix) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return;
  const auto cutoff = std::chrono::system_clock::now() - kStaleTempAge;
  while (const dirent* entry = readdir(dir)) {
    if (!std::string_view(entry->d_name).starts_with(prefix)) continue;
    struct stat st {};
    if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(st.st_mode)) {
      continue;
    }
    if (std::chrono::system_clock::from_time_t(st.st_mtim.tv_sec) < cutoff) {
      unlinkat(dirfd(dir), entry->d_name, 0);
    }
  }
  closedir(dir);
}

// Linux gives up following symbolic links after this many.
constexpr int kMaxLinkHops = 40;

// The folder part of a native path with its final "/"; empty for a bare name.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

std::optional<std::string> ReadLink(const std::string& path) {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n < 0) return std::nullopt;
    if (static_cast<size_t>(n) < target.size()) {
      target.resize(static_cast<size_t>(n));
      return target;
    }
    target.resize(target.size() * 2);
  }
}

// Where a write to `path` lands. A symbolic link is followed: to its existing
// target, or, for a link to a missing file, to that file's name, to be
// created there as a dotfiles link expects. Nothing when the links loop or
// the missing file's folder is missing too: replacing the link with a file
// would silently cut it.
std::optional<std::string> WriteTarget(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  if (char* resolved = realpath(path.c_str(), nullptr)) {
    std::string target = resolved;
    std::free(resolved);
    return target;
  }
  std::string current = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    const std::optional<std::string> link = ReadLink(current);
    if (!link || link->empty()) return std::nullopt;
    current = link->front() == '/' ? *link : FolderOf(current) + *link;
    if (lstat(current.c_str(), &st) == 0) {
      if (!S_ISLNK(st.st_mode)) return current;
      continue;
    }
    if (errno != ENOENT || current.back() == '/') return std::nullopt;
    const std::string folder = FolderOf(current);
    if (stat(folder.empty() ? "." : folder.c_str(), &st) != 0 ||
        !S_ISDIR(st.st_mode)) {
      return std::nullopt;
    }
    return current;
  }
  return std::nullopt;
}

}  // namespace

std::string NativePath(std::string_view path) { return std::string(path); }

std::string PathInFolder(std::string_view folder, std::string_view name) {
  return std::string(folder) + "/" + std::string(name);
}

std::string PathFromUtf8(std::string_view utf8) { return std::string(utf8); }

std::string PathForDisplay(std::string_view path) { return Utf8ToGbk(path); }

bool FileExists(const std::string& path) {
  struct stat st {};
  return stat(NativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::optional<FileTime> FileModificationTime(const std::string& path) {
  struct stat st {};
  if (stat(NativePath(path).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
    return std::nullopt;
  }
  auto since_epoch = std::chrono::seconds(st.st_mtim.tv_sec) +
                     std::chrono::nanoseconds(st.st_mtim.tv_nsec);
  return FileTime(std::chrono::duration_cast<FileTime::duration>(since_epoch));
}

bool SetFileModificationTime(const std::string& path, FileTime time) {
  auto since_epoch = std::chrono::duration_cast<std::chrono::nanoseconds>(
      time.time_since_epoch());
  auto seconds = std::chrono::floor<std::chrono::seconds>(since_epoch);
  timespec times[2];
  times[0].tv_sec = static_cast<time_t>(seconds.count());
  times[0].tv_nsec = static_cast<long>((since_epoch - seconds).count());
  times[1] = times[0];
  return utimensat(AT_FDCWD, NativePath(path).c_str(), times, 0) == 0;
}

bool SetFileHidden(const std::string& path) { return FileExists(path); }

ReadResult ReadFileBytes(const std::string& path, std::string* content) {
  content->clear();
  // Non-blocking, so that opening a pipe does not wait for a writer; only a
  // regular file is then read.
  int fd = open(NativePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return (errno == ENOENT || errno == ENOTDIR) ? ReadResult::kMissing
                                                 : ReadResult::kFailed;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return ReadResult::kFailed;
  }
  if (st.st_size > 0) content->reserve(static_cast<size_t>(st.st_size));
  char buffer[16384];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      close(fd);
      content->clear();
      return ReadResult::kFailed;
    }
    if (n == 0) break;
    content->append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return ReadResult::kOk;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view content) {
  const std::optional<std::string> write_target = WriteTarget(NativePath(path));
  if (!write_target) return false;
  const std::string& target = *write_target;
  struct stat st {};
  bool existing = stat(target.c_str(), &st) == 0;
  // A folder, pipe or device is not ours to replace with a file.
  if (existing && !S_ISREG(st.st_mode)) return false;
  // A rename would replace a read-only file too; refuse as a write in place
  // would.
  if (existing && access(target.c_str(), W_OK) != 0) return false;

  const std::string folder = FolderOf(target);
  const std::string base = target.substr(folder.size());
  const std::string temp_prefix = "." + base.substr(0, 64) + ".tmp-";
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder + temp_prefix + TempSuffix();
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;

  bool ok = WriteAll(fd, content);
  if (ok && existing) {
    // The owner first: a change of owner may clear set-id bits that fchmod
    // restores.
    if (fchown(fd, st.st_uid, st.st_gid) != 0) {
      // Only a privileged process may give the file away; the mode still holds.
    }
    ok = fchmod(fd, st.st_mode & 07777) == 0;
  }
  ok = ok && (!flush_to_disk || fsync(fd) == 0);
  ok = (close(fd) == 0) && ok;
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  if (before_rename_hook != nullptr) before_rename_hook(temp);
  if (rename(temp.c_str(), target.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable; the replace has happened either way.
  int dir_fd = flush_to_disk ? open(folder.empty() ? "." : folder.c_str(),
                                    O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                             : -1;
  if (dir_fd >= 0) {
    fsync(dir_fd);
    close(dir_fd);
  }
  RemoveStaleTempFiles(folder, temp_prefix);
  return true;
}

void SetBeforeRenameHookForTest(BeforeRenameHook hook) {
  before_rename_hook = hook;
}

void SetFlushToDiskForTest(bool flush) { flush_to_disk = flush; }

}  // namespace qilo
