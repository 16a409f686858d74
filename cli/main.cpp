#include <cstdio>
#include <string>
#include <vector>

#include "calc/number_text.h"
#include "cli/command.h"
#include "cli/console.h"
#include "os/locale.h"
#include "qilo_config.h"

namespace qilo::cli {
namespace {

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

constexpr int kUsageExit = 64;

// The command list; with `summaries`, each command's summary below it and the
// program's own options at the end (what --help shows).
void PrintUsage(FILE* out, bool summaries) {
  std::fprintf(out, "usage: qilo-cli COMMAND [ARGS]\n");
  for (const Command& c : Registry()) {
    std::fprintf(out, "  qilo-cli %s\n", c.usage);
    if (summaries) std::fprintf(out, "      %s\n", c.summary);
  }
  if (!summaries) return;
  std::fprintf(out,
               "  qilo-cli COMMAND --help\n"
               "      prints the usage of COMMAND\n"
               "  qilo-cli --help | --version\n"
               "      prints this list, or the release\n"
               "Texts are UTF-8; \"--\" ends the options, so a value may "
               "begin with \"-\".\n");
}

// True when "--help" comes before any "--" that ends the options.
bool AsksForHelp(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--help") return true;
  }
  return false;
}

int RunCommand(const Command& command, const std::vector<std::string>& args) {
  if (AsksForHelp(args)) {
    std::printf("usage: qilo-cli %s\n%s\n", command.usage, command.summary);
    return 0;
  }
  return command.fn(args);
}

int RunProgram(const std::vector<std::string>& args) {
  if (args.empty()) {
    PrintUsage(stderr, false);
    return kUsageExit;
  }
  const std::string& name = args.front();
  if (name == "--help") {
    PrintUsage(stdout, true);
    return 0;
  }
  if (name == "--version") {
    std::printf("%s\n", QILO_VERSION);
    return 0;
  }
  for (const Command& command : Registry()) {
    if (name == command.name) {
      return RunCommand(command, {args.begin() + 1, args.end()});
    }
  }
  std::fprintf(stderr,
               "qilo-cli: unknown %s '%s' (qilo-cli --help lists them)\n",
               name.rfind("-", 0) == 0 ? "option" : "command", name.c_str());
  return kUsageExit;
}

}  // namespace

Registrar::Registrar(const char* name, const char* usage, const char* summary,
                     CommandFn fn) {
  Registry().push_back(Command{name, usage, summary, fn});
}

const std::vector<Command>& Commands() { return Registry(); }

int UsageError(const char* command, const std::string& problem) {
  std::fprintf(stderr, "qilo-cli %s: %s\n", command, problem.c_str());
  return kUsageExit;
}

int ShowUsage(const char* usage) {
  std::fprintf(stderr, "usage: qilo-cli %s\n", usage);
  return kUsageExit;
}

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
  return qilo::cli::RunProgram(args);
}
