// Files through the wide-character Win32 calls: a GBK path is turned into
// UTF-16 once, so every name the program can write can also be opened.
#include <windows.h>

#include <atomic>
#include <string>

#include "os/file_lock.h"
#include "os/files.h"
#include "text/gbk.h"

namespace qilo {
namespace {

BeforeRenameHook before_rename_hook = nullptr;
bool flush_to_disk = true;

std::wstring Wide(const std::string& path) { return GbkToUtf16(path).text; }

// 100-nanosecond ticks between 1601-01-01 and the Unix epoch.
constexpr long long kEpochTicks = 116444736000000000LL;

FileTime FromFiletime(const FILETIME& ft) {
  const long long ticks =
      (static_cast<long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return FileTime(std::chrono::duration_cast<FileTime::duration>(
      std::chrono::nanoseconds((ticks - kEpochTicks) * 100)));
}

FILETIME ToFiletime(FileTime time) {
  const long long ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              time.time_since_epoch())
                                  .count() /
                              100 +
                          kEpochTicks;
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFF);
  ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return ft;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk =
        static_cast<DWORD>(bytes.size() > 1u << 30 ? 1u << 30 : bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// True for a plain file on a disk: not a folder, a console, a pipe or a
// device name such as NUL.
bool IsDiskFile(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  return GetFileType(file) == FILE_TYPE_DISK &&
         GetFileInformationByHandle(file, &info) &&
         !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring TempSuffix() {
  static std::atomic<unsigned> counter{0};
  return std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(++counter) + L"-" + std::to_wstring(GetTickCount64());
}

// "Qilo.update." and a hash of the upper-cased full path: names one file
// however the path was spelt, within the characters a mutex name allows.
std::wstring MutexName(const std::string& path) {
  std::wstring wide = Wide(path);
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  std::wstring full(MAX_PATH, L'\0');
  DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()),
                                  full.data(), nullptr);
  if (length > full.size()) {
    full.resize(length);
    length = GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
  }
  full.resize(length == 0 ? 0 : length);
  if (full.empty()) full = wide;
  // Kernel32's upper-casing, so the command-line program needs no USER32.
  std::wstring upper(full.size(), L'\0');
  if (LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, full.data(),
                   static_cast<int>(full.size()), upper.data(),
                   static_cast<int>(upper.size())) == 0) {
    upper = full;
  }
  unsigned long long hash = 14695981039346656037ULL;
  for (const wchar_t c : upper) {
    hash = (hash ^ static_cast<unsigned>(c)) * 1099511628211ULL;
  }
  wchar_t hex[17];
  for (int i = 15; i >= 0; --i) {
    hex[i] = L"0123456789ABCDEF"[hash & 15];
    hash >>= 4;
  }
  hex[16] = L'\0';
  return std::wstring(L"Qilo.update.") + hex;
}

// The temporary files of earlier replaces of this path that a kill left
// behind; a young one may still be some other writer's.
void RemoveStaleTempFiles(const std::wstring& folder,
                          const std::wstring& prefix) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + prefix + L"*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  const FileTime cutoff = std::chrono::system_clock::now() - kStaleTempAge;
  do {
    // The pattern also matches short 8.3 names; only the long name counts.
    if (std::wstring_view(found.cFileName).starts_with(prefix) &&
        !(found.dwFileAttributes &
          (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
        FromFiletime(found.ftLastWriteTime) < cutoff) {
      DeleteFileW((folder + found.cFileName).c_str());
    }
  } while (FindNextFileW(find, &found));
  FindClose(find);
}

}  // namespace

std::string NativePath(std::string_view path) { return GbkToUtf8(path); }

std::string PathInFolder(std::string_view folder, std::string_view name) {
  return std::string(folder) + "\\" + std::string(name);
}

std::string PathFromUtf8(std::string_view utf8) { return Utf8ToGbk(utf8); }

std::string PathForDisplay(std::string_view path) { return std::string(path); }

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<FileTime> FileModificationTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  return FromFiletime(data.ftLastWriteTime);
}

bool SetFileModificationTime(const std::string& path, FileTime time) {
  HANDLE file = CreateFileW(Wide(path).c_str(), FILE_WRITE_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const FILETIME ft = ToFiletime(time);
  const bool ok = SetFileTime(file, nullptr, &ft, &ft) != 0;
  CloseHandle(file);
  return ok;
}

bool SetFileHidden(const std::string& path) {
  const std::wstring wide = Wide(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  if (!(attributes & FILE_ATTRIBUTE_HIDDEN)) {
    SetFileAttributesW(wide.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
  }
  return true;
}

ReadResult ReadFileBytes(const std::string& path, std::string* content) {
  content->clear();
  HANDLE file =
      CreateFileW(Wide(path).c_str(), GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
               ? ReadResult::kMissing
               : ReadResult::kFailed;
  }
  if (!IsDiskFile(file)) {
    CloseHandle(file);
    return ReadResult::kFailed;
  }
  char buffer[16384];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
      CloseHandle(file);
      content->clear();
      return ReadResult::kFailed;
    }
    if (n == 0) break;
    content->append(buffer, n);
  }
  CloseHandle(file);
  return ReadResult::kOk;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view content) {
  const std::wstring target = Wide(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool existing = attributes != INVALID_FILE_ATTRIBUTES;
  if (existing) {
    // A folder or device is not ours to replace; a read-only file is
    // refused as a write in place would be.
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) {
      return false;
    }
    HANDLE probe =
        CreateFileW(target.c_str(), 0,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return false;
    const bool disk = IsDiskFile(probe);
    CloseHandle(probe);
    if (!disk) return false;
  }
  const size_t slash = target.find_last_of(L"\\/");
  const std::wstring folder =
      slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
  const std::wstring base =
      slash == std::wstring::npos ? target : target.substr(slash + 1);
  // The new file carries the old one's hidden and system attributes from
  // the start: the rename keeps them, a later change could fail.
  const DWORD kept =
      existing ? attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE)
               : 0;
  const std::wstring temp_prefix = L"." + base.substr(0, 64) + L".tmp-";
  std::wstring temp;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE;
       ++attempt) {
    temp = folder + temp_prefix + TempSuffix();
    file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       kept ? kept : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
      return false;
    }
  }
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(file, content);
  ok = ok && (!flush_to_disk || FlushFileBuffers(file));
  ok = CloseHandle(file) && ok;
  if (!ok) {
    DeleteFileW(temp.c_str());
    return false;
  }
  if (before_rename_hook != nullptr) before_rename_hook(Utf16ToUtf8(temp).text);
  if (!MoveFileExW(temp.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING |
                       (flush_to_disk ? MOVEFILE_WRITE_THROUGH : 0))) {
    DeleteFileW(temp.c_str());
    return false;
  }
  RemoveStaleTempFiles(folder, temp_prefix);
  return true;
}

void SetBeforeRenameHookForTest(BeforeRenameHook hook) {
  before_rename_hook = hook;
}

void SetFlushToDiskForTest(bool flush) { flush_to_disk = flush; }

FileUpdateLock::FileUpdateLock(const std::string& path,
                               std::chrono::milliseconds wait) {
  const std::wstring name = MutexName(path);
  // Global, so that two desktop sessions of one user share it; a system that
  // refuses that gets the session's own.
  HANDLE mutex = CreateMutexW(nullptr, FALSE, (L"Global\\" + name).c_str());
  if (mutex == nullptr) {
    mutex = CreateMutexW(nullptr, FALSE, (L"Local\\" + name).c_str());
  }
  if (mutex == nullptr) return;
  handle_ = reinterpret_cast<std::intptr_t>(mutex);
  // An abandoned mutex (its holder died) is ours as any other.
  const DWORD result =
      WaitForSingleObject(mutex, static_cast<DWORD>(wait.count()));
  held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

FileUpdateLock::~FileUpdateLock() {
  if (handle_ == -1) return;
  HANDLE mutex = reinterpret_cast<HANDLE>(handle_);
  if (held_) ReleaseMutex(mutex);
  CloseHandle(mutex);
}

}  // namespace qilo
