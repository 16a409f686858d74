// The INI store on a file of any bytes: a read, a write of a new section and
// a delete never fail but by EIniFileException, and the write keeps every
// byte that was there before, in front of what it adds.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "store/profile_store.h"
#include "text/exception.h"

namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
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
  static const std::string path =
      "/tmp/qilo-fuzz-ini-" + std::to_string(getpid()) + ".ini";
  const std::string before(reinterpret_cast<const char*>(data), size);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << before;
  // A section and key named by the input's first line, as a user might.
  const std::string first = before.substr(0, before.find_first_of("\r\n"));
  const std::string key = first.substr(0, first.find('='));
  try {
    qilo::ReadEntry(path, "cfg", key);
    qilo::ReadEntry(path, key, key);
    qilo::WriteEntry(path, key, key, "v");
    qilo::DeleteEntry(path, "cfg", key);
  } catch (const qilo::Exception&) {
  }
  // A section no file holds is added at the end, after every old byte.
  std::ofstream(path, std::ios::binary | std::ios::trunc) << before;
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
