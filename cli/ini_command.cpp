#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "os/files.h"
#include "store/profile_store.h"
#include "text/gbk.h"

namespace qilo::cli {
namespace {

constexpr char kUsage[] = "ini get|set|delete FILE SECTION KEY [VALUE]";

int IniUsage(const std::string& problem) {
  std::fprintf(stderr, "qilo-cli: %s\n", problem.c_str());
  return ShowUsage(kUsage);
}

int RunIni(const std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error;
  if (!ParseArgs(args, {}, {}, &parsed, &error))
    return UsageError("ini", error);
  std::vector<std::string> texts;
  for (size_t i = 0; i < parsed.positionals.size(); ++i) {
    const std::string& arg = parsed.positionals[i];
    texts.push_back(i == 1 ? PathFromUtf8(arg) : Utf8ToGbk(arg));
    // Storing the "?" the conversion writes for a character GBK has no code
    // for (or naming a Windows file with it) would change what was asked for.
    // A path that keeps its own bytes (on Linux) needs no GBK code.
    const bool native_path = i == 1 && texts.back() == arg;
    if (!native_path && !GbkHolds(arg)) {
      return IniUsage("'" + arg + "' has characters with no GBK code");
    }
  }
  const std::string action = texts.empty() ? "" : texts[0];
  const size_t wanted = action == "set" ? 5 : 4;
  if (action != "get" && action != "set" && action != "delete") {
    return IniUsage("ini needs get, set or delete");
  }
  if (texts.size() != wanted)
    return IniUsage("wrong number of arguments for ini " + action);
  const std::string& file = texts[1];
  const std::string& section = texts[2];
  const std::string& key = texts[3];
  try {
    if (action == "get") {
      const std::string value = GbkToUtf8(ReadEntry(file, section, key)) + "\n";
      std::fwrite(value.data(), 1, value.size(), stdout);
    } else if (action == "set") {
      StoreEntry(file, section, key, texts[4]);
    } else {
      DeleteEntry(file, section, key);
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", GbkToUtf8(e.Message()).c_str());
    return 2;
  }
  return 0;
}

const Registrar kRegistrar(
    "ini", kUsage,
    "reads, stores or deletes one entry of an INI file as the program does "
    "(an empty VALUE deletes the key)",
    &RunIni);

}  // namespace
}  // namespace qilo::cli
