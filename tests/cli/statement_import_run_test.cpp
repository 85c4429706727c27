// What `import statement` decides and prints once a statement is read, on statements built here.
#include "cli/statement_import_run.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>

#include "cli/exit_code.h"
#include "tests/core/statements/statement_test_dues.h"
#include "tests/support/scoped_locale.h"

namespace paylark::cli {
namespace {

using paylark::testing::Day;
using paylark::testing::Transaction;

constexpr char kRecords[] = "/home/user/Paylark Files";

class StatementImportRunTest : public ::testing::Test {
 protected:
  StatementImportRunTest() {
    EXPECT_TRUE(locale_.ok());
    EXPECT_TRUE(balances_.Load().ok());
    rent_ = dues_.Add("Rent", Day(2026, 11, 1), 850.00, "Checking", kTypeBusiness, "Landlord");
    phone_ = dues_.Add("Phone", Day(2026, 11, 10), 30.00, "Checking", kTypeBusiness, "Telco");
    water_ = dues_.Add("Water", Day(2026, 11, 20), 41.00, "Checking", kTypeBusiness, "Utility");
    statement_.account = "Checking";
    statement_.periodStart = Day(2026, 11, 1);
    statement_.periodEnd = Day(2026, 11, 30);
    statement_.closingBalance = StatementBalance{Day(2026, 11, 30), 124000};
    // The rent is sure, the phone only possible (32.00 against 30.00, five days late).
    statement_.transactions = {Transaction("R1", Day(2026, 11, 2), -85000, "LANDLORD"),
                               Transaction("P1", Day(2026, 11, 15), -3200, "SEPA 4711"),
                               Transaction("X1", Day(2026, 11, 16), -999, "Kiosk")};
  }

  int Run(const StatementRunOptions& options) {
    out_.str("");
    err_.str("");
    CommandContext context{dues_.store(), dues_.clock(), out_, err_};
    return RunStatementImport(statement_, options, MatchOptions{}, balances_, context);
  }

  paylark::testing::ScopedLocale locale_{"en_US.UTF-8",
                                         paylark::testing::ScopedLocale::Numbers::kC};
  paylark::testing::StatementDues dues_;
  BalanceBook balances_{dues_.files(), kRecords};
  Statement statement_;
  std::ostringstream out_;
  std::ostringstream err_;
  std::string rent_;
  std::string phone_;
  std::string water_;
};

TEST_F(StatementImportRunTest, PrintsEachDecisionAndImportsTheSureMatchesOnly) {
  ASSERT_EQ(Run({"nov.ofx"}), kExitSuccess) << err_.str();
  // Each match says why it was made; dates in the summary as the window writes them.
  EXPECT_EQ(out_.str(),
            "paid\tR1\t2026-11-02\t-$850.00\tLANDLORD\t" + rent_ +
                "\t2026-11-01\tRent\t$850.00\tamount exact \u00b7 1 day late \u00b7 the "
                "counterparty names the due\n" +
                "possible\tP1\t2026-11-15\t-$32.00\tSEPA 4711\t" + phone_ +
                "\t2026-11-10\tPhone\t$30.00\tamount 6.7% more \u00b7 5 days late \u00b7 "
                "no name in common\n"
                "unmatched\tX1\t2026-11-16\t-$9.99\tKiosk\n"
                "still unpaid\t" +
                water_ +
                "\t2026-11-20\tWater\t$41.00\n"
                "1 due marked paid, 0 added, balance of Checking set to $1,240.00 on "
                "30 Nov 2026\n");
  EXPECT_EQ(dues_.store().Get(rent_).paymentReference, "R1");
  EXPECT_FALSE(IsPaid(dues_.store().Get(phone_)));
  ASSERT_EQ(balances_.entries().size(), 1u);
  EXPECT_EQ(balances_.entries()[0].source, "nov.ofx");
}

TEST_F(StatementImportRunTest, IncludePossibleImportsThePossibleMatchesToo) {
  StatementRunOptions options{"nov.ofx"};
  options.includePossible = true;
  ASSERT_EQ(Run(options), kExitSuccess) << err_.str();
  EXPECT_NE(out_.str().find("paid (possible)\tP1\t"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("2 dues marked paid, 0 added"), std::string::npos) << out_.str();
  EXPECT_EQ(ToCents(*dues_.store().Get(phone_).paidAmount), 3200);
}

TEST_F(StatementImportRunTest, JsonListsTheDecisionsInTheDocumentedForm) {
  StatementRunOptions options{"nov.ofx"};
  options.json = true;
  options.dryRun = true;
  ASSERT_EQ(Run(options), kExitSuccess);
  EXPECT_EQ(out_.str(),
            "{\"account\": \"Checking\", \"closingBalance\": {\"date\": \"2026-11-30\", "
            "\"amount\": 1240}, \"matched\": [{\"transaction\": \"R1\", \"recordId\": \"" +
                rent_ +
                "\", \"sure\": true, \"reason\": \"amount exact \u00b7 1 day late \u00b7 the "
                "counterparty names the due\"}, {\"transaction\": \"P1\", \"recordId\": \"" +
                phone_ +
                "\", \"sure\": false, \"reason\": \"amount 6.7% more \u00b7 5 days late \u00b7 no "
                "name in common\"}], \"unmatched\": [\"X1\"], \"alreadyImported\": [], "
                "\"stillUnpaid\": [\"" +
                water_ + "\"]}\n");
}

TEST_F(StatementImportRunTest, ADryRunWritesNothingAndASecondImportNothingMore) {
  StatementRunOptions dry{"nov.ofx"};
  dry.dryRun = true;
  ASSERT_EQ(Run(dry), kExitSuccess);
  EXPECT_NE(out_.str().find("1 due would be marked paid, 0 would be added, balance of Checking "
                            "would be set to $1,240.00 on 30 Nov 2026\n"),
            std::string::npos)
      << out_.str();
  EXPECT_FALSE(IsPaid(dues_.store().Get(rent_)));
  EXPECT_TRUE(balances_.entries().empty());

  ASSERT_EQ(Run({"nov.ofx"}), kExitSuccess);
  ASSERT_EQ(Run({"nov.ofx"}), kExitSuccess);
  EXPECT_NE(out_.str().find("already imported\tR1\t"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("\n0 dues marked paid, 0 added\n"), std::string::npos) << out_.str();
  EXPECT_EQ(balances_.entries().size(), 1u);
}

TEST_F(StatementImportRunTest, AnAccountNoDueNamesIsSaidAndAFailedWriteExitsWithOne) {
  statement_.account = "DE44 5001";
  StatementRunOptions dry{"nov.ofx"};
  dry.dryRun = true;
  EXPECT_EQ(Run(dry), kExitSuccess);
  EXPECT_NE(err_.str().find("no due names the account \"DE44 5001\""), std::string::npos);
  EXPECT_TRUE(out_.str().starts_with("unmatched\tR1\t")) << out_.str();

  statement_.account = "Checking";
  dues_.files().FailNth(MemoryFileSystem::Call::kWrite, 1, ENOSPC);
  EXPECT_EQ(Run({"nov.ofx"}), kExitFailed);
  EXPECT_NE(err_.str().find("Nothing was imported."), std::string::npos) << err_.str();
  EXPECT_FALSE(IsPaid(dues_.store().Get(rent_)));
}

}  // namespace
}  // namespace paylark::cli
