#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "tests/cli/cli_runner.h"

namespace paylark::testing {
namespace {

// Every command runs on Sunday 2026-12-06 12:00 UTC, with settings of its own.
class ForecastCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HasFaketime())
      GTEST_SKIP() << "libfaketime is not installed (package faketime)";
  }

  CliResult Run(const std::vector<std::string>& arguments) {
    return dir_.Run(arguments, environment_);
  }

  std::string Add(const std::string& title, const std::string& due, const std::string& amount,
                  std::vector<std::string> more = {}) {
    std::vector<std::string> arguments = {"add", "--title",  title, "--due",
                                          due,   "--amount", amount};
    if (std::find(more.begin(), more.end(), "--account") == more.end())
      arguments.insert(arguments.end(), {"--account", "Checking"});
    arguments.insert(arguments.end(), more.begin(), more.end());
    const CliResult result = Run(arguments);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return Lines(result.out).at(0);
  }

  TemporaryWorkingDirectory dir_;
  std::vector<std::string> environment_ = FaketimeAt("2026-12-06 12:00:00", {"TZ=UTC"});
};

// The expected figures were added up by hand: see tests/cli/data/forecast_60_days.json.
TEST_F(ForecastCliTest, SixtyDaysOfACheckingAccountMatchTheHandComputedFigures) {
  ASSERT_EQ(Run({"balance", "--account", "Checking", "2450.00", "--on", "2026-12-01"}).exitCode, 0);
  std::map<std::string, std::string> ids;
  Add("Phone", "2026-12-03 10:00", "39.99", {"--paid"});  // paid since the entry
  Add("Water", "2026-11-30", "18.20", {"--paid"});        // already in the entry
  Add("Bonus", "2026-12-05", "300", {"--type", "income", "--paid"});
  Add("Refund", "2026-12-02", "200", {"--type", "income"});    // overdue income: left out
  ids["{insurance}"] = Add("Insurance", "2026-11-28", "120");  // overdue: today
  ids["{power}"] = Add("Power", "2026-12-15", "64.37");
  Add("Power", "2027-01-15", "64.37");
  ids["{car}"] = Add("Car", "2026-12-20", "2934.56");
  Add("Gym", "2026-12-24", "29.90");
  Add("Salary", "2026-12-24 09:00", "2100", {"--type", "income"});
  Add("Salary", "2027-01-24 09:00", "2100", {"--type", "income"});
  Add("Rent", "2027-01-01", "950");
  Add("Rent", "2027-02-01", "950");
  Add("Beyond", "2027-02-05", "10");
  Add("Savings plan", "2026-12-20", "500", {"--account", "Savings"});

  std::string expected = FileBytes(std::filesystem::path(std::getenv("PAYLARK_SOURCE_DIR")) /
                                   "tests/cli/data/forecast_60_days.json");
  for (const auto& [placeholder, id] : ids)
    expected.replace(expected.find(placeholder), placeholder.size(), id);
  const CliResult json = Run({"forecast", "--account", "checking", "--days", "60", "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  EXPECT_EQ(json.out, expected);

  const std::vector<std::string> plain = Lines(Run({"forecast", "--account", " CHECKING"}).out);
  ASSERT_GE(plain.size(), 4u);
  EXPECT_EQ(plain[0], "Balance on 2026-12-01: $2,450.00; today $2,710.01");
  EXPECT_EQ(plain[1], "Lowest: -$408.92 on 2026-12-20");
  EXPECT_EQ(plain[2], "Below $0.00 on 2026-12-20");
  EXPECT_EQ(plain[3], "2026-12-06\tInsurance -$120.00\t$2,590.01");
  EXPECT_EQ(plain[6], "2026-12-24\tSalary +$2,100.00; Gym -$29.90\t$1,661.18");
  environment_.push_back("LC_ALL=de_DE.UTF-8");
  EXPECT_EQ(Lines(Run({"forecast", "--account", "Checking"}).out).at(1),
            "Lowest: -408,92 € on 2026-12-20");
}

// Power's bills vary: its unpaid members count at the median of what was paid, marked.
TEST_F(ForecastCliTest, AVariableSeriesIsForecastAtItsEstimate) {
  ASSERT_EQ(Run({"balance", "--account", "Checking", "1000", "--on", "2026-12-01"}).exitCode, 0);
  const CliResult series = Run({"series", "--kind", "month", "--day", "10", "--every", "1",
                                "--start", "2026-09-09", "--count", "5", "--offset-days", "0",
                                "--title", "Power", "--amount", "50", "--account", "Checking"});
  ASSERT_EQ(series.exitCode, 0) << series.err;
  const std::vector<std::string> ids = Lines(series.out);
  ASSERT_EQ(ids.size(), 5u);
  const char* paid[] = {"58.10", "71.40", "64.99"};
  for (std::size_t i = 0; i < 3; ++i) {
    const CliResult pay = Run({"pay", ids[i], "--on", "2026-11-01", "--amount", paid[i]});
    ASSERT_EQ(pay.exitCode, 0) << pay.err;
  }
  const CliResult json = Run({"forecast", "--account", "Checking", "--days", "40", "--json"});
  EXPECT_NE(json.out.find("{\"date\": \"2026-12-10\", \"balance\": 935.01, \"estimated\": true}"),
            std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("{\"date\": \"2026-12-11\", \"balance\": 935.01}"), std::string::npos);
  EXPECT_NE(Run({"forecast", "--account", "Checking"})
                .out.find("2026-12-10\tPower \u2248-$64.99\t$935.01\n"),
            std::string::npos)
      << Run({"forecast", "--account", "Checking"}).out;
}

// The last half second there is rounds to a second of the year 10000, which was cut to
// "10000-01-0".
TEST_F(ForecastCliTest, ABalanceInTheLastSecondThereIsStaysOnItsDay) {
  const double lastMoment = 2958465 + 86399.99 / 86400;
  const double amount = 50;
  std::string bytes = std::string(1, '\x08') + "Checking" + std::string(4, '\0');
  bytes.append(reinterpret_cast<const char*>(&lastMoment), sizeof lastMoment);
  bytes.append(reinterpret_cast<const char*>(&amount), sizeof amount);
  bytes += '\0';  // no source
  std::filesystem::create_directories(dir_.records());
  std::ofstream(dir_.records() / "balance99991231235959-0000000a.bal", std::ios::binary) << bytes;
  const CliResult json = Run({"forecast", "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  EXPECT_NE(json.out.find("\"start\": {\"date\": \"9999-12-31\", \"balance\": 50}"),
            std::string::npos)
      << json.out;
  EXPECT_EQ(json.out.find("10000-"), std::string::npos) << json.out;
  EXPECT_EQ(Run({"balance"}).out, "Checking\t9999-12-31 23:59\t$50.00\n");
}

TEST_F(ForecastCliTest, BalancesAreShownAddedAndRefusedWithoutWritingAnything) {
  EXPECT_EQ(Run({"balance"}).out, "");
  EXPECT_EQ(Run({"balance", "--", "-20.5"}).out, "(no account)\t2026-12-06 12:00\t-$20.50\n");
  EXPECT_EQ(Run({"balance", "--account", "Girokonto", "1.234,56"}).exitCode, 2);
  EXPECT_EQ(Run({"balance", "5", "--on", "10000-01-01"}).exitCode, 2);
  EXPECT_EQ(Run({"balance", "--on", "2026-12-01"}).exitCode, 2);
  EXPECT_EQ(Run({"forecast", "--days", "0"}).exitCode, 2);
  EXPECT_EQ(Run({"balance", "--account", "Girokonto"}).exitCode, 1);
  EXPECT_EQ(dir_.Files(".bal"), 1u);

  std::filesystem::create_directories(dir_.records());
  {
    std::ofstream foreign(dir_.records() / "balance-foreign.bal");
    foreign << "not a balance";
  }
  const CliResult shown = Run({"balance"});
  EXPECT_EQ(shown.exitCode, 0);
  EXPECT_EQ(shown.out, "(no account)\t2026-12-06 12:00\t-$20.50\n");
  EXPECT_NE(shown.err.find("balance-foreign.bal"), std::string::npos) << shown.err;

  const CliResult none = Run({"forecast", "--account", "Nowhere", "--days", "2", "--json"});
  EXPECT_EQ(none.out.find("\"start\": {\"date\": null, \"balance\": 0}"), 46u) << none.out;
}

}  // namespace
}  // namespace paylark::testing
