#include "core/sync/backups.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "core/sync/conflicts.h"

#include "tests/core/sync/sync_folder.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;

class BackupsTest : public ::testing::Test {
 protected:
  std::string Backup(int keep = kDefaultBackupsKept) {
    auto path = CreateBackup(folder_.store(), folder_.clock(), keep);
    EXPECT_TRUE(path.ok()) << path.status().message();
    return path.ok() ? path.value() : std::string();
  }
  std::string Folder() { return BackupsFolder(folder_.store().workingDirectory()); }

  SyncFolder folder_;
};

TEST_F(BackupsTest, BackupIsNamedByTimeInAFolderNamedByTheWorkingDirectory) {
  (void)folder_.Add("Rent");
  const std::string path = Backup();
  const std::string folder = Folder();
  EXPECT_TRUE(fs::path(folder).filename().string().starts_with("Work-"));
  EXPECT_EQ(fs::path(folder).filename().string().size(), std::string("Work-").size() + 8);
  EXPECT_EQ(fs::path(folder).parent_path().filename(), "Backups");
  EXPECT_EQ(path, folder + "/Paylark Files 2026-12-05 081500.zip");
  EXPECT_EQ(Backup(), folder + "/Paylark Files 2026-12-05 081500 (2).zip");
  EXPECT_TRUE(HasBackupOfToday(folder, folder_.clock(), SystemFileSystem()));
  folder_.clock().AdvanceSeconds(24 * 3600);
  EXPECT_FALSE(HasBackupOfToday(folder, folder_.clock(), SystemFileSystem()));
  EXPECT_NE(BackupsFolder("/elsewhere/Work"), folder);
}

TEST_F(BackupsTest, OnlyTheNewestAreKept) {
  for (int i = 0; i < 5; ++i) {
    (void)Backup(3);
    folder_.clock().AdvanceSeconds(3600);
  }
  const std::vector<std::string> backups = ListBackups(Folder(), SystemFileSystem());
  ASSERT_EQ(backups.size(), 3u);
  EXPECT_EQ(fs::path(backups[0]).filename(), "Paylark Files 2026-12-05 121500.zip");
  EXPECT_EQ(fs::path(backups[2]).filename(), "Paylark Files 2026-12-05 101500.zip");
}

TEST_F(BackupsTest, RestoreBringsBackDeletedAndChangedDuesAndBacksUpTheCurrentState) {
  const std::string rent = folder_.Add("Rent", 500);
  const std::string water = folder_.Add("Water", 40);
  const std::string path = Backup();
  folder_.clock().AdvanceSeconds(60);
  ASSERT_TRUE(folder_.store().Delete(rent, ChangeMarker::kWrite).ok());
  DueRecord changed = folder_.store().Get(water);
  changed.paid = 1;
  ASSERT_TRUE(folder_.store().Replace(changed).ok());
  const std::string added = folder_.Add("Gas", 30);

  ASSERT_TRUE(RestoreBackup(folder_.store(), folder_.clock(), path, kDefaultBackupsKept).ok());
  EXPECT_EQ(folder_.store().map().size(), 2u);
  EXPECT_EQ(folder_.store().Get(rent).title, "Rent");
  EXPECT_EQ(folder_.store().Get(water).paid, 0);
  EXPECT_FALSE(folder_.Has("duedate" + added + ".due"));

  const std::vector<std::string> backups = ListBackups(Folder(), SystemFileSystem());
  ASSERT_EQ(backups.size(), 2u);
  auto before = ReadBackup(backups[0], SystemFileSystem());
  ASSERT_TRUE(before.ok());
  EXPECT_EQ(before.value().size(), 2u);  // Water (paid) and Gas
}

TEST_F(BackupsTest, ADamagedBackupChangesNothing) {
  const std::string rent = folder_.Add("Rent", 500);
  const std::string water = folder_.Add("Water", 40);
  std::string bytes = testing::FileBytes(Backup());
  (void)folder_.store().Delete(rent, ChangeMarker::kWrite);
  const std::vector<std::string> before = ListBackups(Folder(), SystemFileSystem());

  // A flipped byte inside the compressed data, a cut-off file, and a record that does not decode.
  std::string flipped = bytes;
  flipped[60] = static_cast<char>(flipped[60] ^ 0x55);
  const fs::path damaged = folder_.Records().parent_path().parent_path() / "damaged.zip";
  for (const std::string& broken :
       {flipped, bytes.substr(0, bytes.size() / 2), std::string("PK")}) {
    std::ofstream(damaged, std::ios::binary | std::ios::trunc) << broken;
    const Status status =
        RestoreBackup(folder_.store(), folder_.clock(), damaged.string(), kDefaultBackupsKept);
    EXPECT_EQ(status.code(), StatusCode::kCorrupt) << status.message();
    EXPECT_FALSE(folder_.store().records().Contains(rent));
    EXPECT_TRUE(folder_.store().records().Contains(water));
    EXPECT_EQ(ListBackups(Folder(), SystemFileSystem()), before);
  }
}

TEST_F(BackupsTest, ARecordThatDoesNotDecodeIsKeptAsideAndTheBackupRestores) {
  const std::string rent = folder_.Add("Rent", 500);
  folder_.Put("duedate2026120600000010.due", "not a record");
  const std::string path = Backup();
  fs::remove(folder_.Records() / "duedate2026120600000010.due");
  (void)folder_.store().Delete(rent, ChangeMarker::kWrite);
  ASSERT_TRUE(ReadBackup(path, SystemFileSystem()).ok());
  ASSERT_TRUE(RestoreBackup(folder_.store(), folder_.clock(), path, kDefaultBackupsKept).ok());
  EXPECT_TRUE(folder_.store().records().Contains(rent));
  EXPECT_FALSE(folder_.Has("duedate2026120600000010.due"));
}

// Links, loops and FIFOs named like records: never followed, never waited for, never fatal.
TEST_F(BackupsTest, OnlyRegularFilesAreBackedUpAndNothingHangs) {
  (void)folder_.Add("Rent", 500);
  const fs::path secret = folder_.Records().parent_path().parent_path() / "secret.txt";
  std::ofstream(secret) << "root:x:0:0";
  fs::create_symlink(secret, folder_.Records() / "duedate2026120600000010.due");
  fs::create_symlink("duedate2026120600000110.due",
                     folder_.Records() / "duedate2026120600000110.due");  // loops
  ASSERT_EQ(mkfifo((folder_.Records() / "duedate2026120600000210.due").c_str(), 0644), 0);
  ASSERT_EQ(mkfifo((folder_.Records() / "duedate2026120600000210.sync-conflict-20261206-000000-"
                                        "ABCDEFG.due")
                       .c_str(),
                   0644),
            0);

  // The snapshot file, too, is never waited for.
  const fs::path snapshot = folder_.Records().parent_path().parent_path() / "records.snapshot";
  ASSERT_EQ(mkfifo(snapshot.c_str(), 0644), 0);
  folder_.store().SetSnapshotFile(snapshot.string());
  const ReloadReport report = folder_.store().Reload();
  EXPECT_TRUE(report.folderStatus.ok());
  EXPECT_EQ(folder_.store().map().size(), 1u);
  Result<TakenBackup> taken =
      TakeBackup(SystemFileSystem(), folder_.store().workingDirectory(), folder_.clock(), 30);
  ASSERT_TRUE(taken.ok()) << taken.status().message();
  EXPECT_EQ(testing::FileBytes(taken.value().path).find("root:x"), std::string::npos);
  EXPECT_EQ(taken.value().leftOut.size(), 3u);
  Result<std::vector<Conflict>> conflicts =
      FindConflicts(folder_.Records().string(), SystemFileSystem());
  ASSERT_TRUE(conflicts.ok());
  ASSERT_EQ(conflicts.value().size(), 1u);
  EXPECT_FALSE(conflicts.value()[0].copies[0].record.has_value());
}

// A socket cannot even be opened ("No such device or address"); one named like a record once
// stopped every backup.
TEST_F(BackupsTest, ASocketNamedLikeARecordIsLeftOutAndTheBackupGoesOn) {
  const std::string rent = folder_.Add("Rent", 500);
  const fs::path records = folder_.Records();
  // A socket's path is short: it is bound by its name within the records folder.
  const fs::path current = fs::current_path();
  fs::current_path(records);
  std::vector<int> sockets;
  for (const char* name : {"duedate2026120600000010.due",
                           "duedate2026120600000010.sync-conflict-20261206-000000-ABCDEFG.due"}) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", name);
    sockets.push_back(socket(AF_UNIX, SOCK_STREAM, 0));
    EXPECT_EQ(bind(sockets.back(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0)
        << name;
  }
  fs::current_path(current);

  Result<TakenBackup> taken =
      TakeBackup(SystemFileSystem(), folder_.store().workingDirectory(), folder_.clock(), 30);
  for (const int socket : sockets)
    close(socket);
  ASSERT_TRUE(taken.ok()) << taken.status().message();
  ASSERT_EQ(taken.value().leftOut.size(), 2u);
  EXPECT_EQ(taken.value().leftOut[0].reason, "it is not a regular file");
  EXPECT_EQ(taken.value().leftOut[1].reason, "it is not a regular file");
  const Result<std::vector<DueRecord>> backedUp =
      ReadBackup(taken.value().path, SystemFileSystem());
  ASSERT_TRUE(backedUp.ok());
  ASSERT_EQ(backedUp.value().size(), 1u);
  EXPECT_EQ(backedUp.value()[0].recordId, rent);
}

}  // namespace
}  // namespace paylark
