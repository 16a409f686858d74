#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Result {
  std::string out;
  std::string err;
  int code;
};

// Runs qilo-cli with the given (shell-quoted) arguments.
Result RunCli(const std::string& args) {
  const std::string err_path = ::testing::TempDir() + "qilo_cli_stderr";
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

TEST(CliTest, IniCommandsWorkOnAFile) {
  const std::string file = ::testing::TempDir() + "qilo_cli_test.ini";
  std::remove(file.c_str());
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

}  // namespace
