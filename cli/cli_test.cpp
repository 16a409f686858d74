#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "feed/test_server.h"
#include "qilo_config.h"
#include "store/profile_store.h"

namespace {

using qilo::net_test::Answer;
using qilo::net_test::ScriptedServer;
using qilo::net_test::UnusedPort;

struct Result {
  std::string out;
  std::string err;
  int code;
};

// Runs qilo-cli with the given (shell-quoted) arguments.
Result RunCli(const std::string& args) {
  // One file per test process: CTest runs the cases side by side.
  const std::string err_path =
      ::testing::TempDir() + "qilo_cli_stderr_" + std::to_string(getpid());
  const std::string command =
      std::string(QILO_CLI_PATH) + " " + args + " 2>" + err_path;
  Result r;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    r.out.append(buffer, n);
  int status = pclose(pipe);
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(err_path);
  std::stringstream ss;
  ss << err.rdbuf();
  r.err = ss.str();
  return r;
}

TEST(CliTest, Commands) {
  const struct {
    const char* args;
    const char* out;
    const char* err;
    int code;
  } kCases[] = {
      {"calc --fields 10 11 1000",
       "EdCostBuy=10022.00\nEdCostBuy.hint=买入费用: "
       "22.00\nEdCostSell=10965.30\n"
       "EdCostSell.hint=卖出费用: 34.70\nEdProfit=943.30\nEdProfit.colour=red\n"
       "EdProfit.hint=费用合计： "
       "56.70\\r\\n利润率：9.41%\nLabCostPrice=10.05\n",
       "", 0},
      {"calc --fields 3 3.1 100",
       "EdCostBuy=310.00\nEdCostBuy.hint=买入费用: 10.00\nEdCostSell=299.69\n"
       "EdCostSell.hint=卖出费用: "
       "10.31\nEdProfit=-10.31\nEdProfit.colour=green\n"
       "EdProfit.hint=费用合计： "
       "20.31\\r\\n利润率：-3.33%\nLabCostPrice=3.20\n",
       "", 0},
      {"calc 10 11 1000",
       "买入成本 10022.00  (买入费用: 22.00)\n卖出收益 10965.30  (卖出费用: "
       "34.70)\n"
       "净  利  润 943.30  (费用合计： 56.70, 利润率：9.41%)\n保本价 10.05\n",
       "", 0},
      {"calc --fields --market sz --precision 3 10 11 1000",
       "EdCostBuy=10021.00\nEdCostBuy.hint=买入费用: "
       "21.00\nEdCostSell=10966.30\n"
       "EdCostSell.hint=卖出费用: 33.70\nEdProfit=945.30\nEdProfit.colour=red\n"
       "EdProfit.hint=费用合计： "
       "54.70\\r\\n利润率：9.43%\nLabCostPrice=10.052\n",
       "", 0},
      {"calc 10 11 0", "", "没有数据，请输入！\n", 1},
      {"calc --fields 10 x 1000", "",
       "'x' is not a valid floating point value.\n", 2},
      // The break-even denominator is zero: results so far, then the error.
      {"calc --fields --commission 999 10 11 1000",
       "EdCostBuy=19995.00\nEdCostBuy.hint=买入费用: "
       "9995.00\nEdCostSell=-5.00\n"
       "EdCostSell.hint=卖出费用: "
       "11005.00\nEdProfit=-20000.00\nEdProfit.colour=green\n"
       "EdProfit.hint=费用合计： 21000.00\\r\\n利润率：-100.03%\n",
       "Floating point division by zero.\n", 2},
      // "--" lets a price begin with "-".
      {"calc --fields -- -1 11 1000", nullptr, "", 0},
      {"calc 10 11", "", nullptr, 64},
      {"number --bits 10", "4002A000000000000000\n10.00\n", "", 0},
      {"number 12.345 2 3 0", "12.35\n12.345\n12\n", "", 0},
      {"number --separator , 1,7", "1,70\n", "", 0},
      {"number --separator , 1.7", "",
       "'1.7' is not a valid floating point value\n", 2},
      {"number -- -0.005", "-0.01\n", "", 0},
      {"number 1.5e20 3 0", "1.5E020\n1.5E20\n", "", 0},
      {"number 1 19", "", nullptr, 64},
      {"nosuch", "", nullptr, 64},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.args);
    const Result r = RunCli(c.args);
    EXPECT_EQ(r.code, c.code);
    if (c.out != nullptr) {
      EXPECT_EQ(r.out, c.out);
    }
    if (c.err != nullptr) {
      EXPECT_EQ(r.err, c.err);
    }
  }
}

// --help and --version answer on stdout with exit 0; every usage error is one
// stderr line and exit 64.
TEST(CliTest, HelpVersionAndUsageErrors) {
  const struct {
    const char* args;
    const char* out;  // nullptr: checked below the table
    const char* err;
    int code;
  } kCases[] = {
      {"--version", QILO_VERSION "\n", "", 0},
      {"--help", nullptr, "", 0},
      {"calc --help",
       "usage: qilo-cli calc [--commission T] [--stamp-tax T] [--other T] "
       "[--market sh|sz] [--precision 2|3] [--fields] BUY SELL COUNT\n",
       "", 0},
      // Anywhere before "--" it asks for help; after "--" it is a value.
      {"ini get f s k --help",
       "usage: qilo-cli ini get|set|delete FILE SECTION "
       "KEY [VALUE]\n",
       "", 0},
      {"number -- --help", "", "'--help' is not a valid floating point value\n",
       2},
      {"fetch --help", "usage: qilo-cli fetch URL\n", "", 0},
      {"nosuch", "",
       "qilo-cli: unknown command 'nosuch' (qilo-cli --help lists them)\n", 64},
      {"--bogus", "",
       "qilo-cli: unknown option '--bogus' (qilo-cli --help lists them)\n", 64},
      {"calc --bogus 10 11 1000", "", "qilo-cli calc: unknown option --bogus\n",
       64},
      {"number --bits --bogus 1", "",
       "qilo-cli number: unknown option --bogus\n", 64},
      {"ini --bogus get f s k", "", "qilo-cli ini: unknown option --bogus\n",
       64},
      {"fetch --bogus http://127.0.0.1/", "",
       "qilo-cli fetch: unknown option --bogus\n", 64},
      {"feed --links f --bogus", "", "qilo-cli feed: unknown option --bogus\n",
       64},
      {"calc --commission", "",
       "qilo-cli calc: option --commission needs a value\n", 64},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.args);
    const Result r = RunCli(c.args);
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(r.err, c.err);
    if (c.out != nullptr) {
      // The summary line follows the usage line.
      EXPECT_EQ(r.out.substr(0, std::string(c.out).size()), c.out);
    }
  }
  // The program's help lists every command with its usage and summary.
  const std::string help = RunCli("--help").out;
  for (const char* command : {"calc", "number", "ini", "fetch", "feed"}) {
    SCOPED_TRACE(command);
    const Result usage = RunCli(std::string(command) + " --help");
    const std::string usage_line = usage.out.substr(0, usage.out.find('\n'));
    const std::string summary = usage.out.substr(usage_line.size() + 1);
    ASSERT_EQ(usage_line.rfind("usage: qilo-cli ", 0), 0u) << usage.out;
    EXPECT_NE(help.find("\n  " + usage_line.substr(7) + "\n      " + summary),
              std::string::npos)
        << help;
  }
  // Without a command it still lists them on stderr.
  const Result bare = RunCli("");
  EXPECT_EQ(bare.code, 64);
  EXPECT_EQ(bare.out, "");
  EXPECT_EQ(
      bare.err.rfind("usage: qilo-cli COMMAND [ARGS]\n  qilo-cli average ", 0),
      0u);
}

TEST(CliTest, IniCommandsWorkOnAFile) {
  const std::string file = ::testing::TempDir() + "qilo_cli_test.ini";
  // A file name GBK cannot hold is still the user's file; a value is not.
  const std::string hangul = ::testing::TempDir() + "qilo_cli_í.ini";
  std::remove(file.c_str());
  std::remove(hangul.c_str());
  const struct {
    std::string args;
    const char* out;
    int code;
  } kSteps[] = {
      {"ini set " + file + " cfg commision 1.7", "", 0},
      {"ini set " + file + " cfg stamptax 1", "", 0},
      {"ini set " + file + " cfg transfer 1", "", 0},
      {"ini set " + file + " cfg otherfee 4", "", 0},
      {"ini set " + file + " cfg precision 2", "", 0},
      {"ini get " + file + " CFG Commision", "1.7\n", 0},
      {"ini get " + file + " cfg missing", "\n", 0},
      {"ini set -- " + file + " cfg dash --", "",
       0},  // a later "--" is a value
      {"ini get " + file + " cfg dash", "--\n", 0},
      {"ini set " + file + " cfg dash ''", "", 0},  // empty deletes
      {"ini delete " + file + " cfg nothing", "", 0},
      {"ini get " + file, "", 64},
      {"ini set " + hangul + " cfg k v", "", 0},
      {"ini get " + hangul + " cfg k", "v\n", 0},
      {"ini set " + hangul + " cfg k í", "", 64},
  };
  for (const auto& step : kSteps) {
    SCOPED_TRACE(step.args);
    const Result r = RunCli(step.args);
    EXPECT_EQ(r.code, step.code);
    EXPECT_EQ(r.out, step.out);
  }
  std::ifstream in(file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  EXPECT_EQ(bytes.str(),
            "[cfg]\ncommision=1.7\nstamptax=1\ntransfer=1\notherfee="
            "4\nprecision=2\n");
}

TEST(CliTest, FetchWritesTheBodyOrTheError) {
  const std::string body("a\0b\xFF\r\n", 6);  // raw bytes, a zero among them
  ScriptedServer server({
      Answer("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\n" + body, true),
      Answer("HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\ngone", true),
      Answer("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabcd", true),
  });
  const std::string refused =
      "http://127.0.0.1:" + std::to_string(UnusedPort()) + "/";
  const struct {
    std::string args;
    std::string out;
    const char* err;
    int code;
  } kCases[] = {
      {"fetch " + server.Url("/page"), body, "", 0},
      {"fetch " + server.Url("/missing"), "",
       "EHttpProtocolException: HTTP/1.1 404 Not Found\nstatus=404\n", 3},
      // What came before the close is on stdout already; the exit says why.
      {"fetch " + server.Url("/short"), "abcd",
       "EConnClosedGracefully: Connection Closed Gracefully.\n", 3},
      {"fetch " + refused, "",
       "ESocketError: Socket Error # 10061\r\nConnection refused.\n", 3},
      {"fetch https://127.0.0.1:" + std::to_string(server.Port()) + "/", "",
       "EUnsupportedScheme: Secure transport is not supported\n", 3},
      {"fetch", "", "usage: qilo-cli fetch URL\n", 64},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.args);
    const Result r = RunCli(c.args);
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, c.err);
  }
  server.Join();
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].rfind("GET /page HTTP/1.1\r\n", 0), 0u) << requests[0];
}

TEST(CliTest, FeedStoresWhatThePageAnnounces) {
  const std::string links = ::testing::TempDir() + "qilo_cli_links.ini";
  std::remove(links.c_str());
  const std::string page =
      "<p>writelinks(\"http://a\",\"A\");"
      "writelinks(\"http://b\",\"\xB9\xC9\");\n";  // GBK
  const std::string answer_page =
      "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(page.size()) +
      "\r\n\r\n" + page;
  ScriptedServer server({
      Answer(answer_page, true),
      Answer("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nno", true),
      Answer(answer_page, true),
  });
  const std::string url = " --url " + server.Url("/qilocal");
  const std::string refused =
      " --url http://127.0.0.1:" + std::to_string(UnusedPort()) + "/";
  const std::string unwritable =
      ::testing::TempDir() + "qilo_cli_missing_folder/links.ini";
  const struct {
    std::string args;
    const char* out;
    std::optional<std::string> err;
    int code;
  } kSteps[] = {
      // No links file yet: the refresh is due.
      {"feed --links " + links + url, "21\tA\thttp://a\n22\t股\thttp://b\n", "",
       0},
      // Written just now: not due, and nothing is fetched.
      {"feed --links " + links + url,
       "not due: the links file was written less than 30 days ago\n", "", 0},
      {"feed --force --links " + links + url,
       "nothing stored: the page announces no entry\n", "", 0},
      {"feed --force --links " + links + refused, "",
       "nothing stored: the fetch failed: ESocketError: Socket Error # "
       "10061\r\nConnection refused.\n",
       3},
      {"feed --force --links " + unwritable + url, "",
       "Unable to write to " + unwritable + "\n", 2},
      {"feed" + url, "",
       "usage: qilo-cli feed --links FILE [--url URL] "
       "[--force]\n",
       64},
      {"feed --links " + links + " extra", "", std::nullopt, 64},
      // A build left with the placeholder host asks for the page's address.
      {"feed --force --links " + links, "",
       "qilo-cli feed: this build has no feed host: give --url URL\n", 64},
  };
  for (const auto& step : kSteps) {
    SCOPED_TRACE(step.args);
    const Result r = RunCli(step.args);
    EXPECT_EQ(r.code, step.code);
    EXPECT_EQ(r.out, step.out);
    if (step.err) {
      EXPECT_EQ(r.err, *step.err);
    }
  }
  server.Join();
  EXPECT_EQ(server.Accepted(), 3);
  EXPECT_EQ(qilo::ReadEntry(links, "info", "21"), "A");
  EXPECT_EQ(qilo::ReadEntry(links, "link", "22"), "http://b");
  EXPECT_EQ(qilo::ReadEntry(links, "info", "22"), "\xB9\xC9");
}

}  // namespace

namespace {

// Runs qilo-cli and checks all it gives back.
void ExpectRun(const std::string& args, const std::string& out,
               const std::string& err, int code) {
  SCOPED_TRACE(args);
  const Result r = RunCli(args);
  EXPECT_EQ(r.code, code);
  EXPECT_EQ(r.out, out);
  EXPECT_EQ(r.err, err);
}

// The worked example and the whole table are checked byte for byte by the
// cli_same_output_* tests, on both builds.
TEST(CliTest, FeesAndRules) {
  const struct {
    std::string args;
    const char* out;
    const char* err;
    int code;
  } kCases[] = {
      {"fees --date 2026-12-09 --market sz --kind fund --rounding none "
       "--min-commission 0 --other 0.3 --target-profit 10 --fields 1.234 1.3 "
       "100",
       "rules=2023-08-28\nbuy.amount=123.40\nbuy.commission=0.03\n"
       "buy.stamp_tax=0.00\nbuy.transfer_fee=0.00\nbuy.other_fee=0.30\n"
       "buy.fees=0.33\nsell.amount=130.00\nsell.commission=0.03\n"
       "sell.stamp_tax=0.00\nsell.transfer_fee=0.00\nsell.other_fee=0.30\n"
       "sell.fees=0.33\ncost=123.73\nproceeds=129.67\nprofit=5.94\n"
       "profit_rate=4.80\nbreak_even=1.241\ntarget=1.341\n",
       "", 0},
      {"rules --date 2023-08-27",
       "2022-04-29 起 | 印花税 1‰，仅卖出 | 过户费（买卖双边）上海 成交金额的 "
       "0.01‰；深圳 成交金额的 0.01‰；北京 成交金额的 0.01‰\n",
       "", 0},
      {"rules --date 2008-04-23", "", "no fee rules for 2008-04-23\n", 2},
      {"rules --date 2023-02-29", "",
       "'2023-02-29' is not a date (YYYY-MM-DD)\n", 2},
      {"fees --date 2023-8-28 10 11 1000", "",
       "'2023-8-28' is not a date (YYYY-MM-DD)\n", 2},
      {"fees --date 2021-11-14 --market bj 10 11 1000", "",
       "no fee rules for 2021-11-14\n", 2},
      {"fees --date 2026-12-09 10 11 0", "",
       "count '0' is not a whole number above zero\n", 2},
      {"fees --date 2026-12-09 10 11 -100", "",
       "count '-100' is not a whole number above zero\n", 2},
      {"fees --date 2026-12-09 10.005 11 100", "",
       "price '10.005' is not on the 0.01 tick\n", 2},
      {"fees --date 2026-12-09 10 11 10000000001", "",
       "count '10000000001' is above 10000000000, the largest the exact "
       "arithmetic takes\n",
       2},
      {"fees --date 2026-12-09 --commission 100.5 10 11 100", "",
       "commission '100.5' is above 100, the largest the exact arithmetic "
       "takes\n",
       2},
      {"fees --date 2026-12-09 --commission 0.00001 10 11 100", "",
       "commission '0.00001' has more than 4 decimals\n", 2},
      {"fees --date 2026-12-09 --target-profit 1 --target-rate 1 10 11 100", "",
       "qilo-cli fees: takes --target-profit or --target-rate, not both\n", 64},
      {"fees --market hk 10 11 100", "",
       "qilo-cli fees: --market takes sh, sz or bj, --kind stock or fund, "
       "--rounding fen or none\n",
       64},
      {"fees 10 11", "", "qilo-cli fees: needs BUY SELL COUNT\n", 64},
      {"rules 2023-08-28", "", "qilo-cli rules: takes no arguments\n", 64},
  };
  for (const auto& c : kCases) ExpectRun(c.args, c.out, c.err, c.code);
  // Without --date the rules are those of the local today: a whole report,
  // the same as for that date given. A run across midnight is run again.
  const auto today = [] {
    const std::time_t now = std::time(nullptr);
    char date[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", std::localtime(&now));
    return std::string(date);
  };
  for (int run = 0; run < 2; ++run) {
    const std::string date = today();
    const Result undated = RunCli("fees --fields 10 11 1000");
    const Result dated = RunCli("fees --fields --date " + date + " 10 11 1000");
    if (today() != date && run == 0) continue;
    EXPECT_EQ(undated.code, 0);
    EXPECT_EQ(undated.err, "");
    // The row in force began on or before the day.
    ASSERT_EQ(undated.out.rfind("rules=", 0), 0u) << undated.out;
    EXPECT_LE(undated.out.substr(6, 10), date);
    EXPECT_NE(undated.out.find("\nbuy.amount=10000.00\n"), std::string::npos)
        << undated.out;
    EXPECT_NE(undated.out.find("\nsell.amount=11000.00\n"), std::string::npos)
        << undated.out;
    EXPECT_EQ(undated.out, dated.out);
    break;
  }
  // Each new command is in the program's help with its usage and summary.
  const std::string help = RunCli("--help").out;
  for (const char* command :
       {"fees", "statement", "rules", "limits", "average", "t"}) {
    SCOPED_TRACE(command);
    const std::string usage = RunCli(std::string(command) + " --help").out;
    ASSERT_EQ(usage.rfind(std::string("usage: qilo-cli ") + command, 0), 0u);
    const size_t line_end = usage.find('\n');
    EXPECT_NE(help.find("\n  " + usage.substr(7, line_end - 7) + "\n      " +
                        usage.substr(line_end + 1)),
              std::string::npos)
        << help;
  }
}

TEST(CliTest, StatementAddsTheFeesOfEachLine) {
  const std::string utf8 = ::testing::TempDir() + "qilo_cli_statement.csv";
  const std::string gbk = ::testing::TempDir() + "qilo_cli_statement_gbk.csv";
  const std::string bad = ::testing::TempDir() + "qilo_cli_statement_bad.csv";
  auto write = [](const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  };
  const std::string lines =
      "2026-12-09,buy,10,1000,,,\"a, b\"\n"
      "2026-12-09,SELL_SIDE,11,1000,sz,,\n"
      "2026-12-09,sell,1.234,1000,sh,fund,\n"
      "2008-04-23,buy,10,100,,,\n"
      "2026-12-09,hold,10,100,,,\n"
      "2026-12-09,buy,10.001,100,,,\n"
      "\n"
      "2015-08-03,BUY,10,500,sh,stock,\r\n"
      "2026-12-09,buy,10,100\n";
  auto with_sell = [&lines](const std::string& sell) {
    std::string text = "date,side,price,count,market,kind,note\n" + lines;
    text.replace(text.find("SELL_SIDE"), 9, sell);
    return text;
  };
  write(utf8, with_sell("卖出"));
  write(gbk, with_sell("\xC2\xF4\xB3\xF6"));
  write(bad, "date,side,count\n2026-12-09,buy,100\n");
  const std::string out =
      "date,side,price,count,market,kind,note,amount,commission,stamp_tax,"
      "transfer_fee,other_fee,fees,net\n"
      "2026-12-09,buy,10,1000,,,\"a, b\","
      "10000.00,5.00,0.00,0.10,0.00,5.10,10005.10\n"
      "2026-12-09,卖出,11,1000,sz,,,11000.00,5.00,5.50,0.11,0.00,10.61,"
      "10989.39\n"
      "2026-12-09,sell,1.234,1000,sh,fund,,1234.00,5.00,0.00,0.00,0.00,5.00,"
      "1229.00\n"
      "2015-08-03,BUY,10,500,sh,stock,,5000.00,5.00,0.00,0.10,0.00,5.10,"
      "5005.10\n";
  const std::string err =
      "line 5: no fee rules for 2008-04-23\n"
      "line 6: side 'hold' is not buy, sell, 买入 or 卖出\n"
      "line 7: price '10.001' is not on the 0.01 tick\n"
      "line 10: 4 fields where the header has 7\n";
  const struct {
    std::string args;
    std::string out;
    std::string err;
    int code;
  } kCases[] = {
      {"statement " + utf8, out, err, 2},
      {"statement " + gbk, out, err, 2},
      {"statement --commission 1 --min-commission 0 --market sz " + bad, "",
       "line 1: missing column 'price'\n", 2},
      {"statement " + bad + ".missing", "",
       "cannot read " + bad + ".missing: no such file\n", 2},
      {"statement --rounding up " + bad, "",
       "qilo-cli statement: --market takes sh, sz or bj, --kind stock or "
       "fund, --rounding fen or none\n",
       64},
  };
  for (const auto& c : kCases) ExpectRun(c.args, c.out, c.err, c.code);
  // The options set the terms of lines that give no market or kind.
  write(bad, "date,side,price,count\n2026-12-09,sell,10,1000\n");
  EXPECT_EQ(
      RunCli("statement --commission 1 --min-commission 0 --other 0.5 "
             "--market bj " +
             bad)
          .out,
      "date,side,price,count,amount,commission,stamp_tax,transfer_fee,"
      "other_fee,fees,net\n"
      "2026-12-09,sell,10,1000,10000.00,10.00,5.00,0.10,0.50,15.60,9984.40\n");
}

}  // namespace
