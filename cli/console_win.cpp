// The Windows console: arguments arrive in the ANSI code page, which cannot
// hold every character; take them as UTF-16 and convert. The streams stay
// binary, or a fetched body would have its line ends rewritten. A console
// shows UTF-8 bytes in its own code page, which the user chose and which is
// left alone: what goes to a console is written to it as UTF-16 instead.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// shellapi.h after windows.h.
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "cli/console.h"
#include "cli/utf8_stream.h"
#include "text/utf16.h"

namespace qilo::cli {
namespace {

// The standard streams that are consoles write into one pipe, so that what
// stdout and stderr print keeps its order; a thread reads the pipe and
// writes whole characters to the console the first of them names (a handle
// of its own).
struct ConsoleRelay {
  HANDLE console = nullptr;
  HANDLE pipe = nullptr;
  HANDLE thread = nullptr;
  // The descriptors the streams had before, put back at exit.
  int saved[3] = {-1, -1, -1};
};

ConsoleRelay relay;

void WriteToConsole(const Utf16String& text) {
  // Older consoles refuse one very long write.
  constexpr size_t kMostAtOnce = 8192;
  for (size_t at = 0; at < text.size();) {
    const DWORD count =
        static_cast<DWORD>(std::min(text.size() - at, kMostAtOnce));
    DWORD written = 0;
    if (!WriteConsoleW(relay.console, text.data() + at, count, &written,
                       nullptr) ||
        written == 0) {
      return;
    }
    at += written;
  }
}

DWORD WINAPI RelayToConsole(void*) {
  Utf8StreamDecoder decoder;
  char piece[4096];
  DWORD got = 0;
  while (ReadFile(relay.pipe, piece, sizeof piece, &got, nullptr) && got > 0) {
    WriteToConsole(decoder.Decode(std::string_view(piece, got)));
  }
  WriteToConsole(decoder.Finish());
  return 0;
}

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && handle != nullptr &&
         GetConsoleMode(handle, &mode);
}

// At exit: what the streams hold goes into the pipe, the streams get their
// consoles back (which closes the pipe's writing end), and the thread writes
// the rest before the process ends.
void FinishRelay() {
  std::fflush(stdout);
  std::fflush(stderr);
  for (int fd : {1, 2}) {
    if (relay.saved[fd] >= 0) _dup2(relay.saved[fd], fd);
  }
  WaitForSingleObject(relay.thread, INFINITE);
  for (int fd : {1, 2}) {
    if (relay.saved[fd] >= 0) _close(relay.saved[fd]);
  }
}

// Points descriptor `fd` of `stream` at the pipe, keeping a copy of what it
// had.
void Redirect(FILE* stream, int fd, int pipe_fd) {
  std::fflush(stream);
  const int saved = _dup(fd);
  if (saved < 0) return;
  if (_dup2(pipe_fd, fd) != 0) {
    _close(saved);
    return;
  }
  relay.saved[fd] = saved;
  // Each write reaches the pipe at once, as it would reach the console.
  std::setvbuf(stream, nullptr, _IONBF, 0);
}

void StartRelay() {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  const bool relay_out = IsConsole(out);
  const bool relay_err = IsConsole(err);
  if (!relay_out && !relay_err) return;
  const HANDLE process = GetCurrentProcess();
  if (!DuplicateHandle(process, relay_out ? out : err, process, &relay.console,
                       0, FALSE, DUPLICATE_SAME_ACCESS)) {
    return;
  }
  HANDLE writing = nullptr;
  if (!CreatePipe(&relay.pipe, &writing, nullptr, 1 << 16)) return;
  relay.thread = CreateThread(nullptr, 0, RelayToConsole, nullptr, 0, nullptr);
  const int pipe_fd = relay.thread == nullptr
                          ? -1
                          : _open_osfhandle(reinterpret_cast<intptr_t>(writing),
                                            _O_WRONLY | _O_BINARY);
  if (pipe_fd < 0) {
    // The streams keep writing to the consoles directly, as they did.
    CloseHandle(writing);
    if (relay.thread != nullptr) WaitForSingleObject(relay.thread, INFINITE);
    return;
  }
  // Descriptors 1 and 2 may share one handle, which pointing either
  // elsewhere would close under the other: it stays open until exit.
  for (HANDLE h : {out, err}) {
    SetHandleInformation(h, HANDLE_FLAG_PROTECT_FROM_CLOSE,
                         HANDLE_FLAG_PROTECT_FROM_CLOSE);
  }
  if (relay_out) Redirect(stdout, 1, pipe_fd);
  if (relay_err) Redirect(stderr, 2, pipe_fd);
  // From here only the streams hold the pipe's writing end: when both have
  // their consoles back, the thread reads the end of it.
  _close(pipe_fd);
  std::atexit(FinishRelay);
}

}  // namespace

std::vector<std::string> StartConsole(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
  StartRelay();
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(Utf16ToUtf8(wide[i]).text);
  LocalFree(wide);
  return args;
}

}  // namespace qilo::cli
