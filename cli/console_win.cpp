// The Windows console: arguments arrive in the ANSI code page, which cannot
// hold every character; take them as UTF-16 and convert. Standard output
// stays binary, or a fetched body would have its line ends rewritten.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// shellapi.h after windows.h.
#include <shellapi.h>

#include <cstdio>

#include "cli/console.h"
#include "text/utf16.h"

namespace qilo::cli {

std::vector<std::string> StartConsole(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(Utf16ToUtf8(wide[i]).text);
  LocalFree(wide);
  return args;
}

}  // namespace qilo::cli
