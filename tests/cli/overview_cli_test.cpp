#include <gtest/gtest.h>

#include "tests/cli/cli_runner.h"

namespace paylark::testing {
namespace {

class OverviewCliTest : public ::testing::Test {
 protected:
  std::string Add(const std::string& title, const std::string& payTo, const std::string& due,
                  const std::string& amount, bool paid = false) {
    std::vector<std::string> arguments = {"add",   "--title", title,      "--pay-to", payTo,
                                          "--due", due,       "--amount", amount};
    if (paid)
      arguments.push_back("--paid");
    const CliResult result = dir_.Run(arguments);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return Lines(result.out).at(0);
  }

  // The rows `list` prints for a month, without its three sums.
  std::vector<std::string> ListRows(const std::string& month) {
    std::vector<std::string> lines = Lines(dir_.Run({"list", "--month", month}).out);
    lines.resize(lines.size() - 3);
    return lines;
  }

  TemporaryWorkingDirectory dir_;
};

TEST_F(OverviewCliTest, FindPrintsListRowsOfEveryMonthInDueDateOrder) {
  Add("Gas", "Stadtwerke", "2026-05-02 10:00", "40");
  Add("Äpfel", "Obsthof", "2026-03-01", "7.5");
  Add("Квартплата", "МОСЭНЕРГО", "2025-11-30", "100");
  Add("Water", "Gasworks", "2025-01-15", "12", true);
  const std::vector<std::string> may = ListRows("2026-05");
  const std::vector<std::string> january = ListRows("2025-01");
  EXPECT_EQ(Lines(dir_.Run({"find", "GAS"}).out),
            (std::vector<std::string>{january.at(0), may.at(0)}));
  for (const char* locale : {"LC_ALL=de_DE.UTF-8", "LC_ALL=en_US.UTF-8"}) {
    EXPECT_EQ(Lines(dir_.Run({"find", "äPFEL"}, {locale}).out).size(), 1u) << locale;
    EXPECT_EQ(Lines(dir_.Run({"find", "мосэнерго"}, {locale}).out).size(), 1u) << locale;
  }
  const CliResult json = dir_.Run({"find", "квартплата", "--json"});
  EXPECT_EQ(json.out.rfind("{\"query\": \"квартплата\", \"rows\": [{\"recordId\": ", 0), 0u);
  EXPECT_EQ(dir_.Run({"find", "nothing", "--json"}).out,
            "{\"query\": \"nothing\", \"rows\": []}\n");
  EXPECT_EQ(dir_.Run({"find"}).exitCode, 2);
}

// That each month's sums are the month list's is due_search_test's
// YearSummaryEqualsTheMonthListsSums; here the lines as printed.
TEST_F(OverviewCliTest, SummaryPrintsEachMonthsSumsAndTheYears) {
  Add("Rent", "Landlord", "2026-01-01", "850.10", true);
  Add("Rent", "Landlord", "2026-02-01", "850.10");
  Add("Power", "City Power", "2026-02-14", "92.43", true);
  Add("Power", "City Power", "2026-12-31 23:00", "0.07");
  Add("Other year", "Landlord", "2027-01-01", "999");
  const std::vector<std::string> lines = Lines(dir_.Run({"summary", "--year", "2026"}).out);
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[0], "2026-01\t$850.10\t$0.00\t$850.10");
  EXPECT_EQ(lines[1], "2026-02\t$92.43\t$850.10\t$942.53");
  EXPECT_EQ(lines[2], "2026-03\t$0.00\t$0.00\t$0.00");
  EXPECT_EQ(lines[11], "2026-12\t$0.00\t$0.07\t$0.07");
  EXPECT_EQ(lines[12], "2026\t$942.53\t$850.17\t$1,792.70");
  EXPECT_EQ(dir_.Run({"summary", "--year", "2026", "--by", "payee"}).out,
            "Landlord\t2\t$850.10\t$850.10\t$1,700.20\n"
            "City Power\t2\t$92.43\t$0.07\t$92.50\n");
  const std::string json = dir_.Run({"summary", "--year", "2026", "--json"}).out;
  EXPECT_EQ(json.rfind("{\"year\": 2026, \"by\": \"month\", \"rows\": [{\"month\": \"2026-01\", "
                       "\"paid\": 850.1, \"unpaid\": 0, \"total\": 850.1}",
                       0),
            0u)
      << json;
  EXPECT_EQ(dir_.Run({"summary"}).exitCode, 2);
  EXPECT_EQ(dir_.Run({"summary", "--year", "2026", "--by", "week"}).exitCode, 2);
}

}  // namespace
}  // namespace paylark::testing
