#include "core/statements/statement_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <map>

#include "core/records/payment.h"
#include "core/statements/statement_matching.h"
#include "tests/core/statements/statement_test_dues.h"

namespace paylark {
namespace {

using Call = MemoryFileSystem::Call;
using testing::Day;
using testing::Transaction;

constexpr char kRecords[] = "/home/user/Paylark Files";

class StatementImportTest : public ::testing::Test {
 protected:
  StatementImportTest() { EXPECT_TRUE(balances_.Load().ok()); }

  // What the command line imports: the sure matches and, when asked, every unmatched
  // transaction as a paid due.
  Result<StatementImportSummary> Import(const Statement& statement, bool addUnmatched = true) {
    const StatementMatching matching = MatchStatement(statement, dues_.map(), {});
    StatementImportChoice choice;
    for (const StatementMatch& match : matching.matches) {
      if (match.sure)
        choice.accepted.push_back(match);
    }
    if (addUnmatched)
      choice.addAsPaid = matching.unmatched;
    return ImportStatement(
        statement, choice, "november.ofx", dues_.store(), balances_, dues_.clock(),
        [&](std::size_t done, std::size_t total) { progress_.emplace_back(done, total); });
  }

  std::map<std::string, std::string> Folder() const {
    std::map<std::string, std::string> files;
    for (const std::string& name : dues_.files().Names(kRecords))
      files[name] = dues_.files().Contents(std::string(kRecords) + "/" + name);
    return files;
  }

  std::vector<DueRecord> Records() const {
    std::vector<DueRecord> records;
    dues_.map().ForEach([&](const DueRecord& record) { records.push_back(record); });
    return records;
  }

  // Rent and salary of November in Checking, and a statement that pays both, adds a fee and
  // closes at 1,240.00.
  Statement November() {
    rent_ = dues_.Add("Rent", Day(2026, 11, 1), 850.00, "Checking", kTypeBusiness, "Landlord");
    salary_ = dues_.Add("Salary", Day(2026, 11, 27), 2400.00, "Checking", kTypeIncome, "Acme");
    Statement statement;
    statement.account = "Checking";
    statement.periodStart = Day(2026, 11, 1);
    statement.periodEnd = Day(2026, 11, 30);
    statement.closingBalance = StatementBalance{Day(2026, 11, 30), 124000};
    statement.transactions = {Transaction("R1", Day(2026, 11, 2), -84999, "LANDLORD"),
                              Transaction("F1", Day(2026, 11, 15), -1, "Bank", "Fee 0.01"),
                              Transaction("S1", Day(2026, 11, 27), 240000, "ACME")};
    return statement;
  }

  mutable testing::StatementDues dues_;
  BalanceBook balances_{dues_.files(), kRecords};
  std::vector<std::pair<std::size_t, std::size_t>> progress_;
  std::string rent_;
  std::string salary_;
};

TEST_F(StatementImportTest, AnImportPaysToTheCentAddsTheRestAndEntersTheClosingBalance) {
  const Statement statement = November();
  const auto summary = Import(statement);
  ASSERT_TRUE(summary.ok()) << summary.status().message();
  EXPECT_EQ(summary.value().markedPaid, 2u);
  EXPECT_EQ(summary.value().added, 1u);
  EXPECT_TRUE(summary.value().balanceWritten);

  const DueRecord rent = dues_.store().Get(rent_);
  EXPECT_TRUE(IsPaid(rent));
  EXPECT_EQ(rent.paidOn, Day(2026, 11, 2));
  EXPECT_EQ(ToCents(*rent.paidAmount), 84999);
  EXPECT_EQ(rent.paymentReference, "R1");
  EXPECT_EQ(dues_.store().Get(salary_).paymentReference, "S1");

  const std::vector<DueRecord> records = Records();
  ASSERT_EQ(records.size(), 3u);
  const DueRecord fee = *std::find_if(records.begin(), records.end(), [&](const DueRecord& r) {
    return r.recordId != rent_ && r.recordId != salary_;
  });
  EXPECT_EQ(fee.title, "Bank");
  EXPECT_EQ(fee.payTo, "Bank");
  EXPECT_EQ(fee.notes, "Fee 0.01");
  EXPECT_EQ(fee.account, "Checking");
  EXPECT_EQ(fee.type, kTypeBusiness);
  EXPECT_EQ(ToCents(fee.amount), 1);
  EXPECT_EQ(ToCents(*fee.paidAmount), 1);
  EXPECT_EQ(fee.dueDate, Day(2026, 11, 15));
  EXPECT_EQ(fee.paymentReference, "F1");
  EXPECT_EQ(progress_.back(), std::make_pair(std::size_t{3}, std::size_t{3}));

  // The closing balance becomes a balance entry of the account.
  BalanceBook reloaded(dues_.files(), kRecords);
  ASSERT_TRUE(reloaded.Load().ok());
  ASSERT_EQ(reloaded.entries().size(), 1u);
  const BalanceEntry& entry = reloaded.entries()[0];
  EXPECT_EQ(entry.account, "Checking");
  EXPECT_EQ(entry.date, Day(2026, 11, 30));
  EXPECT_EQ(ToCents(entry.amount), 124000);
  EXPECT_EQ(entry.source, "november.ofx");
}

// Rent paid in part by hand, then a statement: a debit of the rest from the landlord pays it,
// and a debit below what is left is offered as a part, never checked.
TEST_F(StatementImportTest, APartThenAStatementPayingTheRest) {
  Statement statement = November();
  DueRecord rent = dues_.store().Get(rent_);
  Pay(rent, dues_.clock().Now(), {Day(2026, 10, 30), 300.00, "", "", ""});
  ASSERT_TRUE(dues_.store().Replace(rent).ok());

  statement.transactions[0] = Transaction("R1", Day(2026, 11, 2), -55000, "LANDLORD");
  const StatementMatching rest = MatchStatement(statement, dues_.map(), {});
  const auto match = std::find_if(rest.matches.begin(), rest.matches.end(),
                                  [&](const StatementMatch& m) { return m.recordId == rent_; });
  ASSERT_NE(match, rest.matches.end());
  EXPECT_TRUE(match->sure) << "the rest, exact, from the landlord";
  EXPECT_FALSE(match->part);
  ASSERT_TRUE(Import(statement, false).ok());
  rent = dues_.store().Get(rent_);
  EXPECT_TRUE(IsPaid(rent));
  ASSERT_EQ(rent.laterParts.size(), 1u);
  EXPECT_EQ(rent.laterParts[0].amount, 550.00);
  EXPECT_EQ(rent.laterParts[0].reference, "R1");
  EXPECT_EQ(PaidCents(rent), 85000);
}

TEST_F(StatementImportTest, ADebitBelowWhatIsLeftFromThePayeeIsAPossiblePart) {
  Statement statement = November();
  statement.transactions = {Transaction("P1", Day(2026, 11, 2), -20000, "LANDLORD"),
                            Transaction("P2", Day(2026, 11, 3), -20000, "Corner Shop")};
  const StatementMatching matching = MatchStatement(statement, dues_.map(), {});
  ASSERT_EQ(matching.matches.size(), 1u) << "a debit from anyone else is no part of the rent";
  EXPECT_EQ(matching.matches[0].transaction, 0u);
  EXPECT_TRUE(matching.matches[0].part);
  EXPECT_FALSE(matching.matches[0].sure);

  StatementImportChoice choice;
  choice.accepted = matching.matches;
  ASSERT_TRUE(ImportStatement(statement, choice, "november.ofx", dues_.store(), balances_,
                              dues_.clock(), {})
                  .ok());
  const DueRecord rent = dues_.store().Get(rent_);
  EXPECT_FALSE(IsPaid(rent));
  EXPECT_EQ(rent.paidAmount, 200.00);
  EXPECT_EQ(LeftCents(rent), 65000);
}

TEST_F(StatementImportTest, ACreditThatMatchesNothingIsAddedAsAReceivedIncome) {
  Statement statement;
  statement.transactions = {Transaction("G1", Day(2026, 11, 9), 2550, "", "Refund")};
  ASSERT_TRUE(Import(statement).ok());
  const std::vector<DueRecord> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].title, "Refund");
  EXPECT_EQ(records[0].payTo, "Someone");
  EXPECT_EQ(records[0].type, kTypeIncome);
  EXPECT_EQ(ToCents(*records[0].paidAmount), 2550);
}

TEST_F(StatementImportTest, ImportingTheSameStatementAgainChangesNothing) {
  const Statement statement = November();
  ASSERT_TRUE(Import(statement).ok());
  const auto before = Folder();
  const StatementMatching again = MatchStatement(statement, dues_.map(), {});
  EXPECT_TRUE(again.matches.empty());
  EXPECT_TRUE(again.unmatched.empty());
  EXPECT_EQ(again.alreadyImported, (std::vector<std::size_t>{0, 1, 2}));
  const auto summary = Import(statement);
  ASSERT_TRUE(summary.ok()) << summary.status().message();
  EXPECT_EQ(summary.value().markedPaid + summary.value().added, 0u);
  EXPECT_FALSE(summary.value().balanceWritten);
  EXPECT_EQ(Folder(), before);
}

TEST_F(StatementImportTest, OverlappingStatementsPayNoDueTwiceAndAddNoTransactionTwice) {
  ASSERT_TRUE(Import(November()).ok());
  const std::string december =
      dues_.Add("Rent", Day(2026, 12, 1), 850.00, "Checking", kTypeBusiness, "Landlord");
  Statement overlap;
  overlap.account = "Checking";
  overlap.transactions = {Transaction("F1", Day(2026, 11, 15), -1, "Bank", "Fee 0.01"),
                          Transaction("S1", Day(2026, 11, 27), 240000, "ACME"),
                          Transaction("R2", Day(2026, 12, 1), -85000, "LANDLORD")};
  const StatementMatching matching = MatchStatement(overlap, dues_.map(), {});
  EXPECT_EQ(matching.alreadyImported, (std::vector<std::size_t>{0, 1}));
  const auto summary = Import(overlap);
  ASSERT_TRUE(summary.ok());
  EXPECT_EQ(summary.value().markedPaid, 1u);
  EXPECT_EQ(summary.value().added, 0u);
  EXPECT_EQ(dues_.store().Get(december).paymentReference, "R2");
  EXPECT_EQ(Records().size(), 4u);
}

TEST_F(StatementImportTest, AChoiceOfADueNoLongerUnpaidChangesNothing) {
  const Statement statement = November();
  const StatementMatching matching = MatchStatement(statement, dues_.map(), {});
  DueRecord rent = dues_.store().Get(rent_);
  rent.paid = 1;
  ASSERT_TRUE(dues_.store().Replace(rent).ok());
  const auto before = Folder();
  const auto summary = ImportStatement(statement, {matching.matches, {}, true}, "x", dues_.store(),
                                       balances_, dues_.clock());
  EXPECT_EQ(summary.status().code(), StatusCode::kInvalidArgument);
  EXPECT_EQ(Folder(), before);
}

// Every write, rename and flush the import makes is failed in turn: each run either imports all
// or leaves the folder, the map and the balances as they were.
TEST_F(StatementImportTest, AFailedWriteAnywhereUndoesTheWholeImport) {
  const Statement statement = November();
  const auto folder = Folder();
  const auto records = Records();
  for (const Call call : {Call::kWrite, Call::kRename, Call::kSync}) {
    bool succeeded = false;
    for (int nth = 1; nth < 20 && !succeeded; ++nth) {
      dues_.files().FailNth(call, nth, ENOSPC);
      const auto summary = Import(statement);
      dues_.files().FailNth(call, 0, 0);
      if (summary.ok()) {
        succeeded = true;
        break;
      }
      SCOPED_TRACE("call " + std::to_string(static_cast<int>(call)) + ", failing the " +
                   std::to_string(nth) + "th");
      EXPECT_NE(summary.status().message().find("Nothing was imported."), std::string::npos)
          << summary.status().message();
      EXPECT_EQ(Folder(), folder);
      EXPECT_EQ(Records(), records);
      EXPECT_EQ(balances_.entries().size(), 0u);
    }
    EXPECT_TRUE(succeeded);
    if (!succeeded)
      return;
    // Put the folder back for the next kind of call.
    for (const DueRecord& record : Records()) {
      if (record.recordId != rent_ && record.recordId != salary_) {
        ASSERT_TRUE(dues_.store().Delete(record.recordId, ChangeMarker::kSkip).ok());
      }
    }
    for (const DueRecord& record : records)
      ASSERT_TRUE(dues_.store().Replace(record).ok());
    for (const BalanceEntry& entry : std::vector<BalanceEntry>(balances_.entries()))
      ASSERT_TRUE(balances_.Remove(entry.entryId).ok());
    ASSERT_EQ(Folder(), folder);
  }
}

// The import killed after each number of changes in turn: the next load finds it whole or not
// begun, with its balance entry exactly when its dues are paid, and no swap file left.
TEST_F(StatementImportTest, AKilledImportIsWholeOrNotBegunAtTheNextLoad) {
  const Statement statement = November();
  const auto before = Folder();
  int sawNone = 0;
  int sawWhole = 0;
  for (int changes = 0; changes < 100; ++changes) {
    dues_.files().FreezeAfter(changes);
    const auto summary = Import(statement);
    dues_.files().FreezeAfter(-1);
    dues_.files().SetProcessId(5000 + changes);  // the killed process is gone
    RecordStore next(dues_.clock(), "/home/user", dues_.files());
    const ReloadReport report = next.Reload();
    const std::string moment = "killed after " + std::to_string(changes) + " changes";
    EXPECT_TRUE(report.skipped.empty()) << moment;
    const bool paid = IsPaid(next.Get(rent_));
    EXPECT_EQ(IsPaid(next.Get(salary_)), paid) << moment;
    EXPECT_EQ(next.map().size(), paid ? 3u : 2u) << moment;
    EXPECT_EQ(next.listing().balanceFiles.size(), paid ? 1u : 0u) << moment;
    for (const auto& [name, bytes] : Folder())
      EXPECT_FALSE(name.starts_with(".paylark-")) << moment << ": " << name;
    if (summary.ok())
      break;
    (paid ? sawWhole : sawNone) += 1;
    for (const auto& [name, bytes] : Folder())
      (void)dues_.files().Remove(std::string(kRecords) + "/" + name);
    for (const auto& [name, bytes] : before)
      dues_.files().Put(std::string(kRecords) + "/" + name, bytes);
    (void)dues_.store().Reload();
    EXPECT_TRUE(balances_.Load().ok());
  }
  EXPECT_GT(sawNone, 0);
  EXPECT_GT(sawWhole, 0);
  RecordProperty("killedBeforeTheSwapWasDecided", sawNone);
  RecordProperty("killedAfterItWas", sawWhole);
}

}  // namespace
}  // namespace paylark
