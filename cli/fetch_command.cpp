#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "feed/http_client.h"
#include "feed/net_errors.h"
#include "text/exception.h"
#include "text/gbk.h"

namespace qilo::cli {
namespace {

constexpr char kUsage[] = "fetch URL";
constexpr int kFetchFailed = 3;

// The body goes out as it arrives, so a large one is never held whole; plain
// writes, since nothing else goes to stdout.
class StdoutSink : public BodySink {
 public:
  void Write(const char* data, size_t size) override {
    while (size > 0) {
      ssize_t written = write(STDOUT_FILENO, data, size);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) throw Exception("Cannot write the body to stdout.");
      data += written;
      size -= static_cast<size_t>(written);
    }
  }
};

int RunFetch(const std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error;
  if (!ParseArgs(args, {}, {}, &parsed, &error))
    return UsageError("fetch", error);
  if (parsed.positionals.size() != 1) {
    return ShowUsage(kUsage);
  }
  StdoutSink out;
  try {
    THttpClient client;
    client.Get(Utf8ToGbk(parsed.positionals[0]), &out);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", GbkToUtf8(DescribeError(e)).c_str());
    if (const auto* protocol = dynamic_cast<const EHttpProtocolException*>(&e))
      std::fprintf(stderr, "status=%d\n",
                   static_cast<int>(protocol->ErrorCode()));
    return kFetchFailed;
  }
  return 0;
}

const Registrar kRegistrar(
    "fetch", kUsage,
    "one HTTP GET: the body to stdout; on failure the error to stderr, exit 3",
    &RunFetch);

}  // namespace
}  // namespace qilo::cli
