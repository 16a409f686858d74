// qilo-cli.exe with its streams on a console of this test, in the code pages
// a Chinese Windows uses: the console shows the characters the program
// writes to a file, and keeps its code pages.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "text/utf16.h"

namespace qilo::cli {
namespace {

// qilo-cli.exe sits at the top of the build folder, above this test's.
std::wstring CliPath() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  path.erase(path.find_last_of(L'\\'));
  path.erase(path.find_last_of(L'\\') + 1);
  return path + L"qilo-cli.exe";
}

HANDLE Inheritable(HANDLE handle) {
  SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  return handle;
}

// Runs qilo-cli.exe with `args`, stdout and stderr both on `out`.
void RunCli(const std::wstring& args, HANDLE out) {
  const std::wstring program = CliPath();
  std::wstring line = L"\"" + program + L"\" " + args;
  STARTUPINFOW start = {};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdOutput = out;
  start.hStdError = out;
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessW(program.c_str(), line.data(), nullptr, nullptr,
                             TRUE, 0, nullptr, nullptr, &start, &process))
      << "cannot start qilo-cli.exe, error " << GetLastError();
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

// The text of the screen buffer up to its cursor, rows joined by "\n",
// without the blanks that fill each row.
std::wstring ScreenText(HANDLE buffer) {
  CONSOLE_SCREEN_BUFFER_INFO info = {};
  EXPECT_TRUE(GetConsoleScreenBufferInfo(buffer, &info));
  std::wstring text;
  for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
    std::wstring cells(info.dwSize.X, L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(buffer, cells.data(), info.dwSize.X,
                                COORD{0, row}, &read);
    cells.resize(row == info.dwCursorPosition.Y
                     ? std::min<DWORD>(read, info.dwCursorPosition.X)
                     : read);
    cells.erase(cells.find_last_not_of(L' ') + 1);
    if (row > 0) text += L'\n';
    text += cells;
  }
  return text;
}

// What the program writes to a file, as UTF-16.
std::wstring FileText(const std::wstring& args) {
  wchar_t folder[MAX_PATH];
  wchar_t name[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  GetTempFileNameW(folder, L"qcl", 0, name);
  HANDLE file = CreateFileW(name, GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
  RunCli(args, Inheritable(file));
  std::string bytes(GetFileSize(file, nullptr), '\0');
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read,
           nullptr);
  CloseHandle(file);
  DeleteFileW(name);
  const Utf16String text = Utf8ToUtf16(bytes).text;
  return std::wstring(text.begin(), text.end());
}

class CliConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Wine gives a process a console only when it starts on a terminal;
    // the run on one says so.
    if (GetConsoleOutputCP() != 0) return;
    if (std::getenv("QILO_TEST_CONSOLE") != nullptr) FAIL() << "no console";
    GTEST_SKIP() << "no console";
  }
};

TEST_F(CliConsoleTest, ShowsWhatAFileGetsAndKeepsTheCodePages) {
  struct Case {
    const wchar_t* args;
    UINT code_page;
  };
  const std::vector<Case> cases = {
      {L"fees --date 2026-12-09 --target-rate 10 10 11 1000", 936},
      {L"fees --date 2026-12-09 --target-rate 10 10 11 1000", 65001},
      {L"calc \"\" 11 1000", 936},
      {L"calc \"\" 11 1000", 65001},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.code_page << ": " << Utf16ToUtf8(c.args).text);
    ASSERT_TRUE(SetConsoleOutputCP(c.code_page));
    ASSERT_TRUE(SetConsoleCP(c.code_page));
    const std::wstring in_file = FileText(c.args);
    ASSERT_TRUE(std::any_of(in_file.begin(), in_file.end(), [](wchar_t u) {
      return u >= 0x4E00;
    })) << "no Chinese to show";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE screen = CreateConsoleScreenBuffer(
        GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
        &inherit, CONSOLE_TEXTMODE_BUFFER, nullptr);
    ASSERT_NE(screen, INVALID_HANDLE_VALUE);
    // Room for every line of the output, unwrapped.
    ASSERT_TRUE(SetConsoleScreenBufferSize(screen, COORD{200, 500}));
    RunCli(c.args, screen);
    EXPECT_EQ(ScreenText(screen), in_file);
    EXPECT_EQ(GetConsoleOutputCP(), c.code_page);
    EXPECT_EQ(GetConsoleCP(), c.code_page);
    CloseHandle(screen);
  }
}

}  // namespace
}  // namespace qilo::cli
