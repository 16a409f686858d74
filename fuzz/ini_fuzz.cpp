// The INI store on a file of any bytes: a read, a write and a delete never
// fail but by EIniFileException, and each changes only the lines it concerns:
// a write changes one line or adds its key (and section), a delete only drops
// lines, and every other line stays byte for byte.
#include <fcntl.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/harness_file.h"
#include "os/files.h"
#include "store/profile_store.h"
#include "text/exception.h"

namespace {

// The harness's own reads and writes stay as light as the store's: a
// stream's buffers would cost more than the store's work.
std::string FileBytes(const std::string& path) {
  std::string content;
  qilo::ReadFileBytes(path, &content);
  return content;
}

void PutFileBytes(const std::string& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0 || write(fd, bytes.data(), bytes.size()) !=
                    static_cast<ssize_t>(bytes.size())) {
    std::abort();
  }
  close(fd);
}

// The lines of a file without their line ends (LF, or CR LF).
std::vector<std::string> Lines(const std::string& content) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < content.size()) {
    size_t end = content.find('\n', pos);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    pos = end + 1;
  }
  return lines;
}

// True when `small` is `large` less some of its lines, the rest in order.
bool DropsOnlyLines(const std::vector<std::string>& large,
                    const std::vector<std::string>& small) {
  size_t i = 0;
  for (const std::string& line : large) {
    if (i < small.size() && small[i] == line) ++i;
  }
  return i == small.size();
}

// True when `after` is `before` with one line changed, or with at most two
// lines (a key, and its section) added.
bool ChangesOneEntry(const std::vector<std::string>& before,
                     const std::vector<std::string>& after) {
  if (after.size() == before.size()) {
    size_t changed = 0;
    for (size_t i = 0; i < before.size(); ++i) changed += before[i] != after[i];
    return changed <= 1;
  }
  return after.size() > before.size() && after.size() <= before.size() + 2 &&
         DropsOnlyLines(after, before);
}

// The bytes with ASCII letters folded: section names match regardless of case.
std::string Folded(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = HarnessFile();
  const std::string before(reinterpret_cast<const char*>(data), size);
  PutFileBytes(path, before);
  // A section and key named by the input's first line, as a user might.
  const std::string first = before.substr(0, before.find_first_of("\r\n"));
  const std::string key = first.substr(0, first.find('='));
  qilo::ReadEntry(path, "cfg", key);
  qilo::ReadEntry(path, key, key);
  try {
    qilo::WriteEntry(path, key, key, "v");
  } catch (const qilo::Exception&) {
    if (FileBytes(path) != before) std::abort();  // refused: nothing changed
  }
  const std::string written = FileBytes(path);
  if (!ChangesOneEntry(Lines(before), Lines(written))) std::abort();
  qilo::DeleteEntry(path, "cfg", key);
  if (!DropsOnlyLines(Lines(written), Lines(FileBytes(path)))) std::abort();

  // A section no file holds is added at the end, after every old byte.
  PutFileBytes(path, before);
  const std::string section = "qilo fuzz section 7f3a";
  try {
    qilo::WriteEntry(path, section, "k", "value");
  } catch (const qilo::Exception&) {
    return 0;
  }
  const std::string after = FileBytes(path);
  const bool new_section = Folded(before).find(section) == std::string::npos;
  if (new_section && after.compare(0, before.size(), before) != 0) {
    std::abort();
  }
  if (new_section && qilo::ReadEntry(path, section, "k") != "value") {
    std::abort();
  }
  return 0;
}
