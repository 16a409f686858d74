#pragma once

#include <string>
#include <vector>

namespace qilo::cli {

// A subcommand of qilo-cli: takes its arguments (UTF-8, without the program and
// command names), writes UTF-8 to stdout/stderr, returns the exit code.
using CommandFn = int (*)(const std::vector<std::string>& args);

// Each command file registers itself with one static Registrar: its name, its
// usage line (without "qilo-cli "), a one-line summary for --help, and its
// function.
struct Registrar {
  Registrar(const char* name, const char* usage, const char* summary,
            CommandFn fn);
};

struct Command {
  const char* name;
  const char* usage;
  const char* summary;
  CommandFn fn;
};
const std::vector<Command>& Commands();

// Reports a usage error of `command` on one stderr line
// ("qilo-cli COMMAND: PROBLEM") and gives the usage exit code, 64.
int UsageError(const char* command, const std::string& problem);

// Prints "usage: qilo-cli USAGE" on stderr and gives the usage exit code, 64.
int ShowUsage(const char* usage);

// Splits arguments into options and positionals. `--` ends the options, so a
// positional may begin with "-". Options named in `with_value` take the next
// argument. Returns false (and a message) on an unknown option or a missing
// value.
struct ParsedArgs {
  std::vector<std::pair<std::string, std::string>> options;  // name, value
  std::vector<std::string> positionals;
  bool Has(const std::string& name) const;
  std::string Get(const std::string& name,
                  const std::string& fallback = "") const;
};
bool ParseArgs(const std::vector<std::string>& args,
               const std::vector<std::string>& with_value,
               const std::vector<std::string>& flags, ParsedArgs* out,
               std::string* error);

}  // namespace qilo::cli
