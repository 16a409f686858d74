#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace qilo {

// Paths in this header are as the callers build them from the home folder. On
// Windows they are GBK texts with "\" (or "/") between folder names. On Linux
// they are the file system's own bytes with "/" between folder names: a folder
// may be named in characters GBK has no code for, or hold a "\".

// The path as the file system takes it: on Windows the GBK text as UTF-8 (what
// the wide calls are given); on Linux the path itself.
std::string NativePath(std::string_view path);

// The file `name` in `folder`: joined by "\" on Windows, "/" on Linux. The
// separator is added even when the folder already ends in one.
std::string PathInFolder(std::string_view folder, std::string_view name);

// A path given as UTF-8 (a command-line argument) in the form of this header:
// GBK on Windows, where a character GBK cannot hold becomes "?"; the bytes
// themselves on Linux.
std::string PathFromUtf8(std::string_view utf8);

// The path as a message shows it, as a GBK text: itself on Windows; on Linux
// converted from the file system's UTF-8, with "?" for what GBK cannot hold.
std::string PathForDisplay(std::string_view path);

// True when something other than a folder exists at the path.
bool FileExists(const std::string& path);

using FileTime = std::chrono::system_clock::time_point;

// The file's last modification time; nothing when the file cannot be examined.
std::optional<FileTime> FileModificationTime(const std::string& path);

// Sets the file's modification time (the access time too). False when the file
// is missing or the system refuses.
bool SetFileModificationTime(const std::string& path, FileTime time);

// Gives the file the hidden attribute where the platform has one; on Linux the
// file keeps its name and nothing changes. True when the file exists.
bool SetFileHidden(const std::string& path);

enum class ReadResult { kOk, kMissing, kFailed };

// Reads the whole file into `content` as raw bytes. kMissing when nothing is at
// the path (or a folder on it is missing); kFailed when something is there but
// cannot be read (no permission, an I/O error) or is no regular file (a folder,
// a pipe, a device). Never waits for a writer.
ReadResult ReadFileBytes(const std::string& path, std::string* content);

// Replaces the file at the path with `content`, so that a crash, a kill or a
// full disk leaves either the old or the new file whole: the bytes go to a
// temporary file in the same folder, are flushed to disk and renamed over the
// path. An existing file keeps its permission bits (and owner, where allowed);
// a symbolic link is followed and its target replaced, or created in the
// target's folder when only the target is missing; the link stays a link. A new
// file gets the usual mode (0666 less the umask). The folder must exist. False
// when the system refuses, something other than a regular file is at the path,
// or a link cannot be followed (its target's folder is missing, or the links
// loop); the old file is then unchanged and no temporary file is left. A kill
// before the rename leaves its temporary file behind; a later replace of the
// same path removes those of its temporary files that are older than
// kStaleTempAge.
bool ReplaceFileAtomically(const std::string& path, std::string_view content);

// No writer spends this long between making its temporary file and the rename,
// not even on a slow network folder: an older one is a leftover.
inline constexpr std::chrono::hours kStaleTempAge{1};

// Test seam: when set, called with the temporary file's native path once it is
// written and flushed, just before the rename. A test throws from it to act as
// a crash at that point (the temporary file is then left behind, as a crash
// would leave it). Pass nullptr to clear.
using BeforeRenameHook = void (*)(const std::string& temp_path);
void SetBeforeRenameHookForTest(BeforeRenameHook hook);

// Seam for the fuzzing harnesses, which replace a file millions of times:
// false skips the flushes to disk; the rename stays atomic for the running
// system, only a power cut could then lose the new file. True by default.
void SetFlushToDiskForTest(bool flush);

}  // namespace qilo
