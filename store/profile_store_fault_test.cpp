// The two INI files under the faults a desktop meets: the program killed in
// the middle of a save, a full disk, and two copies of the program saving at
// once. Each fault runs in a child process (fork), so it cannot harm the test.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "os/files.h"
#include "os/test_folder.h"
#include "store/profile_store.h"
#include "store/settings_file.h"

namespace qilo {
namespace {

namespace fs = std::filesystem;

// Runs `body` in a child process; its exit code is 0 when it returned, 3 when
// it threw.
pid_t Spawn(const std::function<void()>& body) {
  const pid_t pid = fork();
  if (pid == 0) {
    try {
      body();
    } catch (...) {
      _exit(3);
    }
    _exit(0);
  }
  return pid;
}

int WaitExit(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// What a file may hold: for each section, each key and the values it may
// have; a key in `optional` may also be missing.
struct FileShape {
  std::map<std::string, std::map<std::string, std::set<std::string>>> keys;
  std::set<std::string> optional;
};

// Empty when `content` is a whole file of that shape: every line ends in a
// line break, every entry is a known key of its section with one of its
// values, no key twice, and every key not optional is there.
std::string ShapeProblem(const std::string& content, const FileShape& shape) {
  if (content.empty()) return "empty file";
  if (content.back() != '\n') return "no line end after the last line";
  std::map<std::string, std::set<std::string>> seen;
  std::string section;
  std::istringstream lines(content);
  for (std::string line; std::getline(lines, line);) {
    if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      if (shape.keys.count(section) == 0) return "unknown section " + line;
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string::npos || section.empty()) {
      return "not an entry: " + line;
    }
    const std::string key = line.substr(0, equals);
    const auto& allowed = shape.keys.at(section);
    const auto values = allowed.find(key);
    if (values == allowed.end() ||
        values->second.count(line.substr(equals + 1)) == 0) {
      return "torn entry: " + line;
    }
    if (!seen[section].insert(key).second) return "key twice: " + line;
  }
  for (const auto& [name, keys] : shape.keys) {
    for (const auto& [key, values] : keys) {
      if (seen[name].count(key) == 0 && shape.optional.count(key) == 0) {
        return "missing " + name + "/" + key;
      }
    }
  }
  return "";
}

class ProfileStoreFaultTest : public ::testing::Test {
 protected:
  std::string Settings() const { return SettingsPath(dir_.Path()); }
  std::string Links() const { return dir_.Path() + "/qiloinfo.ini"; }
  // The files left in the folder other than the two INI files.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_.Path())) {
      const std::string name = entry.path().filename().string();
      if (name != "qilo.ini" && name != "qiloinfo.ini") names.push_back(name);
    }
    return names;
  }
  TestFolder dir_;
};

// The two texts of each saved field, of different lengths, so that a torn
// write shows as a value of neither.
struct Rates {
  std::string commission, stamp_tax, transfer, other, precision;
};
const Rates kShort = {"1.7", "1", "1", "4", "2"};
const Rates kLong = {"2.50000000", "0.5", "0.00000000001", "12.345", "3"};

void Save(const std::string& path, Rates rates) {
  std::string price_format;
  SaveSettings(path, {rates.commission, rates.stamp_tax, rates.transfer,
                      rates.other, rates.precision, price_format});
}

TEST_F(ProfileStoreFaultTest, KillsInTheMiddleOfSavesNeverTearEitherFile) {
  const FileShape settings_shape = {
      {{"cfg",
        {{"commision", {kShort.commission, kLong.commission}},
         {"stamptax", {kShort.stamp_tax, kLong.stamp_tax}},
         {"transfer", {kShort.transfer, kLong.transfer}},
         {"otherfee", {kShort.other, kLong.other}},
         {"precision", {kShort.precision, kLong.precision}}}}},
      {}};
  const std::string long_name(600, 'n');
  const FileShape links_shape = {
      {{"info", {{"1", {"a", long_name}}, {"2", {"b"}}}},
       {"link", {{"1", {"http://a", "http://" + long_name}}, {"2", {"c"}}}}},
      {"2"}};
  Save(Settings(), kShort);
  WriteEntry(Links(), "info", "1", "a");
  WriteEntry(Links(), "link", "1", "http://a");

  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> delay_us(0, 12000);
  for (int kill_no = 0; kill_no < 200; ++kill_no) {
    const pid_t writer = Spawn([&] {
      for (bool flip = false;; flip = !flip) {
        Save(Settings(), flip ? kLong : kShort);
        WriteEntry(Links(), "info", "1", flip ? long_name : "a");
        WriteEntry(Links(), "link", "1",
                   flip ? "http://" + long_name : "http://a");
        // A bookmark added and deleted: lines come and go.
        StoreEntry(Links(), "info", "2", flip ? "b" : "");
        StoreEntry(Links(), "link", "2", flip ? "c" : "");
      }
    });
    ASSERT_GT(writer, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    kill(writer, SIGKILL);
    ASSERT_EQ(WaitExit(writer), 128 + SIGKILL);
    ASSERT_EQ(ShapeProblem(FileBytes(dir_ / "qilo.ini"), settings_shape), "")
        << "after kill " << kill_no;
    ASSERT_EQ(ShapeProblem(FileBytes(dir_ / "qiloinfo.ini"), links_shape), "")
        << "after kill " << kill_no;
  }
  // The kills leave temporary files behind; once they are old, the next save
  // of each file takes its own away.
  const auto aged = std::chrono::system_clock::now() - kStaleTempAge -
                    std::chrono::minutes(1);
  for (const std::string& name : Leftovers()) {
    ASSERT_TRUE(SetFileModificationTime(dir_ / name, aged)) << name;
  }
  Save(Settings(), kShort);
  WriteEntry(Links(), "info", "1", "a");
  EXPECT_EQ(Leftovers(), std::vector<std::string>());
  // The checker itself tells a torn file from a whole one.
  const std::string whole = FileBytes(dir_ / "qilo.ini");
  EXPECT_NE(ShapeProblem(whole.substr(0, whole.size() - 3), settings_shape),
            "");
  EXPECT_NE(ShapeProblem("", settings_shape), "");
}

TEST_F(ProfileStoreFaultTest, FullDiskRaisesAndLeavesTheOldFileWhole) {
  const std::string old_file =
      "[cfg]\ncommision=1.7\nstamptax=1\ntransfer=1\notherfee=4\nprecision=2\n";
  const std::string value(3000, '9');
  const size_t new_size = old_file.size() + value.size() + 6;  // note=…\n
  // The largest file the disk takes; the write needs new_size bytes.
  struct Case {
    rlim_t limit;
    bool fits;
  } cases[] = {
      {0, false},
      {1, false},
      {old_file.size() - 1, false},
      {old_file.size(), false},
      {old_file.size() + 1, false},
      {value.size(), false},
      {new_size - 1, false},
      {new_size, true},
  };
  for (const Case& c : cases) {
    PutFileBytes(dir_ / "qilo.ini", old_file);
    const pid_t child = Spawn([&] {
      // A real full disk fails the write (ENOSPC); the limit's signal would
      // kill the process instead.
      signal(SIGXFSZ, SIG_IGN);
      const rlimit limit = {c.limit, c.limit};
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(4);
      try {
        WriteEntry(Settings(), "cfg", "note", value);
      } catch (const EIniFileException& e) {
        _exit(e.Message() == "Unable to write to " + Settings() ? 1 : 2);
      }
      // A delete that does not fit is ignored, as every refused delete.
      DeleteEntry(Settings(), "cfg", "commision");
    });
    ASSERT_GT(child, 0);
    const int exit_code = WaitExit(child);
    const std::string now = FileBytes(dir_ / "qilo.ini");
    if (c.fits) {
      EXPECT_EQ(exit_code, 0) << c.limit;
      EXPECT_EQ(now,
                "[cfg]\nstamptax=1\ntransfer=1\notherfee=4\nprecision=2\n"
                "note=" +
                    value + "\n")
          << c.limit;
    } else {
      EXPECT_EQ(exit_code, 1) << c.limit;
      EXPECT_EQ(now, old_file) << c.limit;
    }
    EXPECT_EQ(Leftovers(), std::vector<std::string>()) << c.limit;
  }
}

TEST_F(ProfileStoreFaultTest, TwoCopiesSavingDifferentKeysAtOnceLoseNothing) {
  constexpr int kKeys = 60;
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  std::vector<pid_t> writers;
  for (const char* prefix : {"a", "b"}) {
    writers.push_back(Spawn([&] {
      close(start[1]);
      char go;
      if (read(start[0], &go, 1) != 0) _exit(5);  // both start when it closes
      for (int i = 0; i < kKeys; ++i) {
        const std::string key = prefix + std::to_string(i);
        // A key kept, and one saved and then saved empty (deleted), as a
        // bookmark added and removed again.
        for (const auto& [path, section] :
             {std::pair(Settings(), std::string("cfg")),
              std::pair(Links(), std::string(prefix))}) {
          StoreEntry(path, section, key, key);
          StoreEntry(path, section, key + "x", key);
          StoreEntry(path, section, key + "x", "");
        }
      }
    }));
  }
  close(start[0]);
  close(start[1]);
  for (const pid_t writer : writers) EXPECT_EQ(WaitExit(writer), 0);
  // A key missing, or a deleted one back again.
  int lost = 0;
  for (const char* prefix : {"a", "b"}) {
    for (int i = 0; i < kKeys; ++i) {
      const std::string key = prefix + std::to_string(i);
      lost += ReadEntry(Settings(), "cfg", key) != key;
      lost += ReadEntry(Settings(), "cfg", key + "x") != "";
      lost += ReadEntry(Links(), prefix, key) != key;
      lost += ReadEntry(Links(), prefix, key + "x") != "";
    }
  }
  EXPECT_EQ(lost, 0) << "of " << 2 * kKeys * 4;
}

}  // namespace
}  // namespace qilo
