#include <cstdio>
#include <string>
#include <vector>

#include "calc/number_text.h"
#include "cli/command.h"
#include "cli/console.h"
#include "os/locale.h"

namespace qilo::cli {
namespace {

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

int Usage() {
  std::fprintf(stderr, "usage: qilo-cli COMMAND [ARGS]\n");
  for (const Command& c : Registry())
    std::fprintf(stderr, "  qilo-cli %s\n", c.usage);
  return 64;
}

}  // namespace

Registrar::Registrar(const char* name, const char* usage, CommandFn fn) {
  Registry().push_back(Command{name, usage, fn});
}

const std::vector<Command>& Commands() { return Registry(); }

bool ParsedArgs::Has(const std::string& name) const {
  for (const auto& [key, value] : options) {
    if (key == name) return true;
  }
  return false;
}

std::string ParsedArgs::Get(const std::string& name,
                            const std::string& fallback) const {
  std::string result = fallback;
  for (const auto& [key, value] : options) {
    if (key == name) result = value;
  }
  return result;
}

bool ParseArgs(const std::vector<std::string>& args,
               const std::vector<std::string>& with_value,
               const std::vector<std::string>& flags, ParsedArgs* out,
               std::string* error) {
  auto listed = [](const std::vector<std::string>& list,
                   const std::string& name) {
    for (const auto& item : list) {
      if (item == name) return true;
    }
    return false;
  };
  bool options_ended = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      if (!options_ended && arg == "--") {
        options_ended = true;
        continue;
      }
      out->positionals.push_back(arg);
      continue;
    }
    if (listed(flags, arg)) {
      out->options.emplace_back(arg, "");
    } else if (listed(with_value, arg)) {
      if (i + 1 >= args.size()) {
        *error = "option " + arg + " needs a value";
        return false;
      }
      out->options.emplace_back(arg, args[++i]);
    } else {
      *error = "unknown option " + arg;
      return false;
    }
  }
  return true;
}

}  // namespace qilo::cli

int main(int argc, char** argv) {
  const std::vector<std::string> args = qilo::cli::StartConsole(argc, argv);
  qilo::SetDecimalSeparator(qilo::UserDecimalSymbol());
  if (args.empty()) return qilo::cli::Usage();
  const std::string& name = args.front();
  for (const auto& command : qilo::cli::Commands()) {
    if (name == command.name) {
      return command.fn(std::vector<std::string>(args.begin() + 1, args.end()));
    }
  }
  std::fprintf(stderr, "qilo-cli: unknown command '%s'\n", name.c_str());
  return qilo::cli::Usage();
}
