#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/cli/cli_runner.h"
#include "tests/core/statements/statement_samples.h"

namespace paylark::testing {
namespace {

// Each case keeps its settings (the remembered CSV columns) in its own folder.
class StatementCliTest : public ::testing::Test {
 protected:
  CliResult Run(const std::vector<std::string>& arguments) {
    return dir_.Run(arguments, {"TZ=UTC"});
  }

  std::string Add(const std::string& title, const std::string& payTo, const std::string& due,
                  const std::string& amount, const std::string& type = "business") {
    const CliResult result = Run({"add", "--title", title, "--pay-to", payTo, "--due", due,
                                  "--amount", amount, "--account", "Checking", "--type", type});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return Lines(result.out).at(0);
  }

  TemporaryWorkingDirectory dir_;
};

// Importing again and --include-possible are statement_import_run_test's (ADryRunWritesNothing...,
// IncludePossibleImportsThePossibleMatchesToo), on the command's own run.
TEST_F(StatementCliTest, AnOfxStatementPaysItsDuesAndSetsTheBalance) {
  const std::string rent = Add("Rent", "Maple Street Rentals", "2026-11-01", "1250");
  Add("Power", "Riverside Power", "2026-11-10", "80.00");
  const std::string salary = Add("Salary", "Harbor Tools", "2026-11-15", "3200", "income");
  const std::string internet = Add("Internet", "Fibrenet", "2026-11-20", "45.00");
  const std::string file = SamplePath("ofx1_checking.ofx");

  CliResult result = Run({"import", "statement", file, "--account", "Checking"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 6u) << result.out;
  // Best score first: the salary came on its day, the rent two days late.
  EXPECT_EQ(lines[0], "paid\tPLK-OFX1-0003\t2026-11-15\t$3,200.00\tHarbor Tools Payroll\t" +
                          salary +
                          "\t2026-11-15\tSalary\t$3,200.00\tamount exact \u00b7 on the due "
                          "date \u00b7 the counterparty names the due");
  EXPECT_EQ(lines[1],
            "paid\tPLK-OFX1-0001\t2026-11-03\t-$1,250.00\tMaple Street Rentals\t" + rent +
                "\t2026-11-01\tRent\t$1,250.00\tamount exact \u00b7 2 days late \u00b7 the "
                "counterparty names the due");
  EXPECT_TRUE(lines[2].starts_with("possible\tPLK-OFX1-0002\t2026-11-12\t-$84.37\t")) << lines[2];
  EXPECT_EQ(lines[3], "unmatched\tPLK-OFX1-0004\t2026-11-30\t-$0.99\tCloud Notes");
  EXPECT_EQ(lines[4], "still unpaid\t" + internet + "\t2026-11-20\tInternet\t$45.00");
  EXPECT_EQ(lines[5],
            "2 dues marked paid, 0 added, balance of Checking set to $2,417.55 on 30 Nov 2026");

  result = Run({"show", rent, "--json"});
  EXPECT_NE(result.out.find("\"paidOn\": \"2026-11-03T00:00:00\""), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("\"paymentReference\": \"PLK-OFX1-0001\""), std::string::npos);
  EXPECT_EQ(Run({"balance", "--account", "Checking"}).out,
            "Checking\t2026-11-30 00:00\t$2,417.55\n");
}

// A real bank names its account by number; the user's dues name "Checking" and "Savings".
class RealBankCliTest : public StatementCliTest {
 protected:
  CliResult RunIn(const TemporaryWorkingDirectory& dir, const std::vector<std::string>& arguments,
                  const std::string& zone = "UTC") {
    return dir.Run(arguments, {"TZ=" + zone});
  }
  void AddSavings() {
    ASSERT_EQ(Run({"add", "--title", "Deposit", "--due", "2026-12-20", "--amount", "100",
                   "--account", "Savings"})
                  .exitCode,
              0);
  }
};

// With several accounts in use, an unlinked bank account is named and nothing written until one
// is chosen; the link then made on one device serves a second sharing the folder.
TEST_F(RealBankCliTest, AnUnlinkedBankAccountIsChosenOnceForEveryDeviceSharingTheFolder) {
  Add("Rent", "Oak Property Mgmt", "2026-12-01", "950");
  AddSavings();
  CliResult result = Run({"import", "statement", SamplePath("us_bank_eastern.ofx")});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("The bank account 123456789 is linked to no Paylark account, and dues "
                            "name 2: \"Checking\", \"Savings\". Choose one with --account"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(Run({"balance"}).out.find("Checking"), std::string::npos);

  result = Run({"import", "statement", SamplePath("us_bank_eastern.ofx"), "--account", "Checking"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(Lines(result.out).back(),
            "1 due marked paid, 0 added, balance of Checking set to $1,234.56 on 2 Dec 2026");

  // A second device: another working directory to which a sync engine carried the folder.
  TemporaryWorkingDirectory second;
  std::filesystem::copy(dir_.records(), second.records(), std::filesystem::copy_options::recursive);
  result = RunIn(second, {"import", "statement", SamplePath("us_bank_eastern.ofx"), "--json"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(result.out.starts_with("{\"account\": \"Checking\", ")) << result.out;
  EXPECT_NE(result.out.find("\"alreadyImported\": [\"202612010001\"]"), std::string::npos);
}

TEST_F(RealBankCliTest, ABankCsvGoesToTheAccountItsHeaderLineWentToLastTime) {
  Add("Rent", "Oak Property Mgmt", "2026-12-01", "950");
  AddSavings();
  const std::string file = SamplePath("chase.csv");
  const std::string columns = "date=2,amount=4,counterparty=3";
  EXPECT_EQ(Run({"import", "statement", file, "--columns", columns, "--dry-run"}).exitCode, 2);
  ASSERT_EQ(
      Run({"import", "statement", file, "--account", "Checking", "--columns", columns}).exitCode,
      0);
  const CliResult again = Run({"import", "statement", file, "--json", "--dry-run"});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_TRUE(again.out.starts_with("{\"account\": \"Checking\", ")) << again.out;
}

TEST_F(RealBankCliTest, BookingsKeepTheBanksDayInFarZonesAndUnmatchedOnesAreAddedWhenAsked) {
  for (const std::string zone : {"Pacific/Auckland", "America/Los_Angeles"}) {
    TemporaryWorkingDirectory dir;
    ASSERT_EQ(RunIn(dir,
                    {"add", "--title", "Rent", "--pay-to", "Oak Property Mgmt", "--due",
                     "2026-12-01", "--amount", "950", "--account", "Checking"},
                    zone)
                  .exitCode,
              0);
    const CliResult result = RunIn(
        dir, {"import", "statement", SamplePath("us_bank_eastern.ofx"), "--add-unmatched"}, zone);
    ASSERT_EQ(result.exitCode, 0) << zone << result.err;
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 4u) << result.out;
    EXPECT_TRUE(lines[0].starts_with("paid\t202612010001\t2026-12-01\t-$950.00\t")) << lines[0];
    EXPECT_TRUE(
        lines[0].ends_with("\tamount exact \u00b7 on the due date \u00b7 the "
                           "counterparty names the due"))
        << lines[0];
    EXPECT_EQ(lines[1], "added\t202611300001\t2026-11-30\t-$35.00\tCORNER SHOP #118") << zone;
    EXPECT_EQ(lines[2], "added\t202612020001\t2026-12-02\t$2,100.00\tACME PAYROLL") << zone;
    EXPECT_EQ(lines[3],
              "1 due marked paid, 2 added, balance of Checking set to $1,234.56 on 2 Dec 2026");
    const std::string found = RunIn(dir, {"find", "CORNER SHOP", "--json"}, zone).out;
    EXPECT_NE(found.find("\"paidOn\": \"2026-11-30T00:00:00\""), std::string::npos) << found;
  }
}

TEST_F(StatementCliTest, ABankCsvNeedsItsColumnsOnceAndTheyAreRemembered) {
  const std::string rent = Add("Rent", "Acme Property", "2026-11-01", "1450");
  const std::string file = SamplePath("us_checking.csv");
  CliResult result = Run({"import", "statement", file, "--dry-run"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("give them once with --columns"), std::string::npos) << result.err;

  result = Run({"import", "statement", file, "--dry-run", "--account", "Checking", "--columns",
                "date=1,description=2,debit=3,credit=4"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("\t" + rent + "\t"), std::string::npos) << result.out;

  result = Run({"import", "statement", file, "--account", "Checking", "--json"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(result.out.starts_with("{\"account\": \"Checking\", \"closingBalance\": "))
      << result.out;
  EXPECT_NE(result.out.find("\"recordId\": \"" + rent + "\", \"sure\": true"), std::string::npos)
      << result.out;
}

TEST_F(StatementCliTest, BadArgumentsAndFilesThatAreNoStatementsChangeNothing) {
  const std::string rent = Add("Rent", "Maple Street Rentals", "2026-11-01", "1250");
  const std::string notes = (dir_.path() / "notes.txt").string();
  std::ofstream(notes) << "just some words\n";
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    const char* says;
  } cases[] = {
      {{"import", "statement"}, 2, "needs a file"},
      {{"import", "statement", SamplePath("ofx1_checking.ofx"), "--format", "qif"}, 2, "--format"},
      {{"import", "statement", SamplePath("us_checking.csv"), "--columns", "amount=2"}, 2, "date"},
      {{"import", "statement", notes}, 2, "not a bank statement"},
      {{"import", "statement", (dir_.path() / "missing.ofx").string()}, 1, ""},
      {{"import", "statement", SamplePath("ofx1_checking.ofx"), "--unknown"}, 2, "--unknown"},
  };
  for (const auto& c : cases) {
    const CliResult result = Run(c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.back() << ": " << result.err;
    EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
  }
  EXPECT_NE(Run({"show", rent, "--json"}).out.find("\"paid\": 0"), std::string::npos);
  EXPECT_EQ(Run({"balance"}).out, "");
}

}  // namespace
}  // namespace paylark::testing
