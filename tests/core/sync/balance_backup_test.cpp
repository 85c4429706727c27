// Backups carry the balance entries, and a restore brings them back with the dues, all or nothing,
// on the in-memory file system.
#include <set>
#include <utility>

#include "core/forecast/balance_book.h"
#include "core/forecast/balance_file.h"
#include "tests/core/sync/memory_backup_test.h"

namespace paylark {
namespace {

constexpr const char* kWork = kMemoryWork;
constexpr char kRecords[] = "/home/user/Work/Paylark Files";

class BalanceBackupTest : public MemoryBackupTest {
 protected:
  std::string AddBalance(double amount) {
    BalanceBook book(files_, kRecords);
    Result<BalanceEntry> added = book.Add({"", "Checking", clock_.Now(), amount, "", ""}, clock_);
    EXPECT_TRUE(added.ok()) << added.status().message();
    return added.ok() ? added.value().entryId : std::string();
  }

  // What the folder holds afresh: the dues' titles and the balance entries' amounts.
  std::pair<std::multiset<std::string>, std::multiset<double>> OnDisk() {
    RecordStore other(clock_, kWork, files_);
    (void)other.Reload();
    std::multiset<std::string> titles;
    other.map().ForEach([&](const DueRecord& record) { titles.insert(record.title); });
    BalanceBook book(files_, kRecords);
    EXPECT_TRUE(book.Load().ok());
    std::multiset<double> amounts;
    for (const BalanceEntry& entry : book.entries())
      amounts.insert(entry.amount);
    return {titles, amounts};
  }
};

TEST_F(BalanceBackupTest, ARestoreBringsBackTheBackupsBalancesWithItsDues) {
  const std::string rent = AddDue("Rent");
  const std::string kept = AddBalance(1240.05);
  const TakenBackup backup = Backup();
  EXPECT_EQ(ReadBackupBalances(files_.Contents(backup.path), backup.path).value().size(), 1u);

  ASSERT_TRUE(store_.Delete(rent, ChangeMarker::kWrite).ok());
  AddDue("Gas");
  AddBalance(-300);
  ASSERT_TRUE(files_.Remove(std::string(kRecords) + "/" + BalanceFileName(kept)).ok());
  ASSERT_TRUE(RestoreBackup(store_, clock_, backup.path, 1000).ok());
  EXPECT_EQ(OnDisk(),
            (std::pair<std::multiset<std::string>, std::multiset<double>>{{"Rent"}, {1240.05}}));
  EXPECT_EQ(store_.listing().balanceFiles, std::vector<std::string>{BalanceFileName(kept)});
}

// A backup taken before backups held balances says nothing of them: they stay.
TEST_F(BalanceBackupTest, ABackupWithoutBalancesLeavesTheBalancesAsTheyAre) {
  AddDue("Rent");
  const TakenBackup backup = Backup();
  AddDue("Gas");
  AddBalance(55);
  ASSERT_TRUE(RestoreBackup(store_, clock_, backup.path, 1000).ok());
  EXPECT_EQ(OnDisk(),
            (std::pair<std::multiset<std::string>, std::multiset<double>>{{"Rent"}, {55}}));
}

TEST_F(BalanceBackupTest, ADamagedBalanceFileIsSetAsideAndTheBackupStillRestores) {
  AddDue("Rent");
  AddBalance(10);
  const std::string damaged = BalanceFileName("20261205081500-0000000a");
  files_.Put(std::string(kRecords) + "/" + damaged, "not a balance");
  const TakenBackup backup = Backup();
  ASSERT_EQ(backup.setAside.size(), 1u);
  EXPECT_EQ(backup.setAside[0].fileName, damaged);
  ASSERT_TRUE(RestoreBackup(store_, clock_, backup.path, 1000).ok());
  EXPECT_EQ(OnDisk().second, std::multiset<double>{10});
}

// A kill at any point leaves the dues and the balances of one side together: never the backup's
// dues with the current balances.
TEST_F(BalanceBackupTest, AKillAtAnyPointLeavesOldOrNewDuesAndBalancesTogether) {
  AddDue("Rent");
  AddBalance(100);
  const std::string newBackup = Backup().path;
  AddDue("Gas");
  AddBalance(200);
  const std::string oldBackup = Backup().path;
  const auto oldSet = OnDisk();
  const std::pair<std::multiset<std::string>, std::multiset<double>> restored{{"Rent"}, {100}};
  int sawOld = 0;
  int sawNew = 0;
  for (int changes = 0; changes < 200; ++changes) {
    clock_.AdvanceSeconds(1);
    files_.FreezeAfter(changes);
    const Status status = RestoreBackup(store_, clock_, newBackup, 1000);
    files_.FreezeAfter(-1);
    files_.SetProcessId(5000 + changes);  // the killed process is gone
    const auto after = OnDisk();
    EXPECT_TRUE(after == oldSet || after == restored) << "killed after " << changes;
    if (status.ok())
      break;
    (after == oldSet ? sawOld : sawNew) += 1;
    (void)store_.Reload();
    if (after == restored) {
      ASSERT_TRUE(RestoreBackup(store_, clock_, oldBackup, 1000).ok());
    }
  }
  EXPECT_GT(sawOld, 0);
  EXPECT_GT(sawNew, 0);
}

}  // namespace
}  // namespace paylark
