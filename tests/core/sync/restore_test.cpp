// Backups and restores on the in-memory file system: files that cannot be read, zips that lie,
// and a restore that fails or is killed at every step.
#include <zip.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <set>

#include "core/records/record_codec.h"
#include "core/records/record_store.h"
#include "core/sync/backups.h"
#include "tests/core/sync/memory_backup_test.h"

namespace paylark {
namespace {

using Call = MemoryFileSystem::Call;

constexpr const char* kWork = kMemoryWork;
constexpr char kRecords[] = "/home/user/Work/Paylark Files";

std::string RecordPath(const std::string& name) {
  return std::string(kRecords) + "/" + name;
}

// A zip made in memory from (entry name, bytes) pairs.
std::string MakeZip(const std::vector<std::pair<std::string, std::string>>& entries) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  zip_source_keep(buffer);
  for (const auto& [name, bytes] : entries) {
    zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    zip_file_add(archive, name.c_str(), source, 0);
  }
  zip_close(archive);
  zip_source_open(buffer);
  std::string zipped;
  char chunk[4096];
  for (zip_int64_t got; (got = zip_source_read(buffer, chunk, sizeof chunk)) > 0;)
    zipped.append(chunk, static_cast<std::size_t>(got));
  zip_source_close(buffer);
  zip_source_free(buffer);
  return zipped;
}

class RestoreTest : public MemoryBackupTest {
 protected:
  // The titles the folder's record files hold, read afresh by another store.
  std::multiset<std::string> TitlesOnDisk() {
    RecordStore other(clock_, kWork, files_);
    const ReloadReport report = other.Reload();
    EXPECT_TRUE(report.skipped.empty());
    std::multiset<std::string> titles;
    other.map().ForEach([&](const DueRecord& record) { titles.insert(record.title); });
    return titles;
  }

  bool NoSwapLeft() const {
    for (const std::string& name : files_.Names(kRecords)) {
      if (name.starts_with(".paylark-"))
        return false;
    }
    return true;
  }

  std::string Backup() {
    Result<std::string> path = CreateBackup(store_, clock_, kDefaultBackupsKept);
    EXPECT_TRUE(path.ok()) << path.status().message();
    clock_.AdvanceSeconds(60);
    return path.ok() ? path.value() : std::string();
  }
};

TEST_F(RestoreTest, FilesThatCannotBeReadNeverSpoilABackup) {
  AddDue("Rent");
  files_.Put(RecordPath("duedate2026120600000010.due"), "not a record");
  DueRecord readable = DueRecord::WithDefaults(clock_);
  readable.recordId = "2026120600000110";
  files_.Put(RecordPath("duedate2026120600000110.due"), EncodeRecord(readable));
  files_.FailRead(RecordPath("duedate2026120600000110.due"), EACCES);
  files_.PutOther(RecordPath("duedate2026120600000210.due"));  // a FIFO
  files_.Put(RecordPath("duedate2026120600000310.due"), std::string(kMaxRecordFileBytes + 1, 'x'));
  files_.FailRead(RecordPath("duedate2026120600000410.due"), ENOENT);  // gone since the listing

  Result<TakenBackup> taken = TakeBackup(files_, kWork, clock_, kDefaultBackupsKept);
  ASSERT_TRUE(taken.ok()) << taken.status().message();
  ASSERT_EQ(taken.value().setAside.size(), 1u);
  EXPECT_EQ(taken.value().setAside[0].fileName, "duedate2026120600000010.due");
  std::set<std::string> leftOut;
  for (const SkippedFile& file : taken.value().leftOut)
    leftOut.insert(file.fileName);
  EXPECT_EQ(leftOut,
            (std::set<std::string>{"duedate2026120600000110.due", "duedate2026120600000210.due",
                                   "duedate2026120600000310.due"}));

  // The backup restores: its Rent comes back, the unreadable bytes stay in the zip only.
  Result<std::vector<DueRecord>> records = ReadBackup(taken.value().path, files_);
  ASSERT_TRUE(records.ok()) << records.status().message();
  ASSERT_EQ(records.value().size(), 1u);
  EXPECT_EQ(records.value()[0].title, "Rent");

  // A read that fails otherwise (an I/O error, a file cut short) fails the backup loudly.
  files_.FailRead(RecordPath("duedate2026120600000110.due"), EIO);
  EXPECT_FALSE(TakeBackup(files_, kWork, clock_, kDefaultBackupsKept).ok());
}

TEST_F(RestoreTest, ABackupWithoutDuesRestoresOnlyWhenAllowed) {
  AddDue("Rent");
  AddDue("Water");
  files_.Put("/home/user/photos.zip", MakeZip({{"readme.txt", "holiday photos"}}));
  const Status refused = RestoreBackup(store_, clock_, "/home/user/photos.zip", 30);
  EXPECT_EQ(refused.code(), StatusCode::kInvalidArgument);
  EXPECT_EQ(refused.message(), "this backup holds no dues; restoring it removes all 2 dues");
  EXPECT_EQ(TitlesOnDisk().size(), 2u);
  EXPECT_TRUE(RestoreBackup(store_, clock_, "/home/user/photos.zip", 30, true).ok());
  EXPECT_EQ(store_.map().size(), 0u);
  EXPECT_TRUE(TitlesOnDisk().empty());
  EXPECT_TRUE(files_.Contains(RecordPath("preferences.alm")));
}

TEST_F(RestoreTest, EntriesLargerThanARecordAreRefusedUnread) {
  // 17 MiB of zeros compress to a few kilobytes.
  const std::string zeros =
      MakeZip({{"Paylark Files/duedate2026120500000010.due", std::string(17 << 20, '\0')}});
  EXPECT_LT(zeros.size(), 100'000u);
  Result<std::vector<DueRecord>> read = ReadBackupBytes(zeros, "zeros.zip");
  EXPECT_EQ(read.status().code(), StatusCode::kCorrupt);
  EXPECT_NE(read.status().message().find("larger than a record file"), std::string::npos);

  // A stored entry whose headers claim 2 GiB: refused before a byte is read.
  DueRecord record = DueRecord::WithDefaults(clock_);
  record.recordId = "2026120500000010";
  std::string lying =
      MakeZip({{"Paylark Files/duedate2026120500000010.due", EncodeRecord(record)}});
  for (std::size_t at = lying.find("PK\x01\x02", 0, 4); at != std::string::npos;
       at = lying.find("PK\x01\x02", at + 4, 4))
    lying.replace(at + 24, 4, "\xff\xff\xff\x7f", 4);
  EXPECT_EQ(ReadBackupBytes(lying, "lying.zip").status().code(), StatusCode::kCorrupt);

  // A hand-made zip whose record file does not decode is refused as damaged; the same bytes in
  // the Unreadable folder are passed over.
  const std::string damaged = MakeZip({{"Paylark Files/duedate2026120500000010.due", "junk"}});
  EXPECT_EQ(ReadBackupBytes(damaged, "damaged.zip").status().code(), StatusCode::kCorrupt);
  const std::string asideOnly = MakeZip({{"Unreadable/duedate2026120500000010.due", "junk"}});
  ASSERT_TRUE(ReadBackupBytes(asideOnly, "aside.zip").ok());
  EXPECT_TRUE(ReadBackupBytes(asideOnly, "aside.zip").value().empty());
}

// A zip of five small entries whose headers each claim 4 GiB less 16 bytes: 20 GiB in all.
std::string ZipClaimingTwentyGibibytes() {
  std::vector<std::pair<std::string, std::string>> entries;
  entries.reserve(5);
  for (int i = 0; i < 5; ++i)
    entries.emplace_back("Paylark Files/Notes/part" + std::to_string(i), std::string(64, 'x'));
  std::string zip = MakeZip(entries);
  const auto claim = [&zip](std::string_view signature, std::size_t sizeAt) {
    for (std::size_t at = zip.find(signature); at != std::string::npos;
         at = zip.find(signature, at + 4))
      zip.replace(at + sizeAt, 4, "\xf0\xff\xff\xff", 4);
  };
  claim(std::string_view("PK\x03\x04", 4), 22);  // each local header
  claim(std::string_view("PK\x01\x02", 4), 24);  // and the central directory
  return zip;
}

TEST_F(RestoreTest, ABackupClaimingMoreThanSixteenGibibytesIsRefusedUnread) {
  AddDue("Rent");
  files_.Put("/home/user/huge.zip", ZipClaimingTwentyGibibytes());
  const int writes = files_.CallsMade(Call::kWrite);
  const Status status = RestoreBackup(store_, clock_, "/home/user/huge.zip", 30, true);
  EXPECT_EQ(status.code(), StatusCode::kInvalidArgument);
  EXPECT_EQ(status.message(),
            "\"/home/user/huge.zip\" unpacks to 20.0 GiB, more than a backup "
            "may hold (16.0 GiB); nothing was restored");
  EXPECT_EQ(files_.CallsMade(Call::kWrite), writes);  // not even a backup of the current dues
  EXPECT_EQ(TitlesOnDisk(), (std::multiset<std::string>{"Rent"}));
}

TEST_F(RestoreTest, AFailedRestoreWhoseCleanUpFailsTooTellsBothAndKeepsTheOldDues) {
  AddDue("Rent");
  const std::string backup = Backup();
  AddDue("Water");
  AddDue("Gas");
  // The second staged file cannot be written, and the first cannot be removed again.
  files_.FailNth(Call::kWrite, 3, ENOSPC);  // the safety backup's zip, the first staged, ...
  files_.FailAlways(Call::kRemove, EACCES);
  const Status status = RestoreBackup(store_, clock_, backup, 30);
  EXPECT_FALSE(status.ok());
  EXPECT_NE(status.message().find("No space left on device"), std::string::npos)
      << status.message();
  EXPECT_NE(status.message().find("Permission denied"), std::string::npos) << status.message();
  files_.FailAlways(Call::kRemove, 0);
  EXPECT_EQ(TitlesOnDisk(), (std::multiset<std::string>{"Gas", "Rent", "Water"}));
  EXPECT_TRUE(NoSwapLeft());  // the next load cleared the staged file
}

TEST_F(RestoreTest, ARestoreThatCannotBeFinishedIsFinishedByTheNextLoad) {
  AddDue("Rent");
  const std::string backup = Backup();
  AddDue("Water");
  // Renames: the safety backup's, the journal's, then the placements, which keep failing.
  files_.FailFrom(Call::kRename, 3, EIO);
  const Status status = RestoreBackup(store_, clock_, backup, 30);
  EXPECT_FALSE(status.ok());
  EXPECT_NE(status.message().find("finishing it again failed too"), std::string::npos)
      << status.message();
  files_.FailAlways(Call::kRename, 0);
  EXPECT_EQ(TitlesOnDisk(), (std::multiset<std::string>{"Rent"}));
  EXPECT_TRUE(NoSwapLeft());
}

// A kill after every single change of the disk: the next load finds the old dues or the new
// ones, whole, and no staged file is left behind.
TEST_F(RestoreTest, AKillAtAnyPointLeavesTheOldOrTheNewDuesWhole) {
  const std::string rent = AddDue("Rent");
  AddDue("Water");
  const std::string newBackup = Backup();
  ASSERT_TRUE(store_.Delete(rent, ChangeMarker::kWrite).ok());
  AddDue("Gas");
  AddDue("Phone");
  const std::string oldBackup = Backup();
  const std::multiset<std::string> newSet{"Rent", "Water"};
  const std::multiset<std::string> oldSet{"Gas", "Phone", "Water"};
  ASSERT_EQ(TitlesOnDisk(), oldSet);
  constexpr int kKept = 1000;  // both backups stay
  int sawOld = 0;
  int sawNew = 0;
  for (int changes = 0; changes < 200; ++changes) {
    clock_.AdvanceSeconds(1);
    files_.FreezeAfter(changes);
    const Status status = RestoreBackup(store_, clock_, newBackup, kKept);
    files_.FreezeAfter(-1);
    files_.SetProcessId(5000 + changes);  // the killed process is gone
    const std::multiset<std::string> after = TitlesOnDisk();
    EXPECT_TRUE(after == oldSet || after == newSet) << "killed after " << changes << " changes";
    EXPECT_TRUE(NoSwapLeft()) << "killed after " << changes << " changes";
    if (status.ok())
      break;
    (after == oldSet ? sawOld : sawNew) += 1;
    (void)store_.Reload();
    if (after == newSet) {
      ASSERT_TRUE(RestoreBackup(store_, clock_, oldBackup, kKept).ok());
    }
  }
  EXPECT_GT(sawOld, 3);
  EXPECT_GT(sawNew, 0);
  RecordProperty("killedWithTheOldDues", sawOld);
  RecordProperty("killedWithTheNewDues", sawNew);
}

TEST_F(RestoreTest, StaleBackupTemporariesAreRemovedByTheNextBackup) {
  AddDue("Rent");
  const std::string folder = BackupsFolder(kWork);
  files_.Put(folder + "/.paylark-999-1.zip", "left by a killed backup");
  files_.Put(folder + "/.paylark-998-1.zip", "being written");
  files_.SetProcess(998, true);
  files_.Put(folder + "/Paylark Files 2026-12-01 101010.zip.AbC123", "libzip's, old");
  files_.SetAge(folder + "/Paylark Files 2026-12-01 101010.zip.AbC123", 7200);
  files_.Put(folder + "/Paylark Files 2026-12-05 081000.zip.XyZ789", "libzip's, new");
  (void)Backup();
  EXPECT_FALSE(files_.Contains(folder + "/.paylark-999-1.zip"));
  EXPECT_TRUE(files_.Contains(folder + "/.paylark-998-1.zip"));
  EXPECT_FALSE(files_.Contains(folder + "/Paylark Files 2026-12-01 101010.zip.AbC123"));
  EXPECT_TRUE(files_.Contains(folder + "/Paylark Files 2026-12-05 081000.zip.XyZ789"));
  EXPECT_EQ(ListBackups(folder, files_).size(), 1u);
}

TEST_F(RestoreTest, AFileGoneSinceTheListingIsNotReportedAsUnreadable) {
  AddDue("Rent");
  files_.Put(RecordPath("duedate2026120600000010.due"), "deleted by another command");
  files_.FailRead(RecordPath("duedate2026120600000010.due"), ENOENT);
  files_.Put(RecordPath("duedate2026120600000110.due"), "not permitted");
  files_.FailRead(RecordPath("duedate2026120600000110.due"), EACCES);
  const ReloadReport report = store_.Reload();
  EXPECT_EQ(report.loaded, 1u);
  ASSERT_EQ(report.skipped.size(), 1u);
  EXPECT_EQ(report.skipped[0].fileName, "duedate2026120600000110.due");
  EXPECT_EQ(report.skipped[0].reason, "Permission denied");
}

TEST_F(RestoreTest, AnUnreadableRecordsFolderIsNoEmptyOne) {
  AddDue("Rent");
  files_.FailList(kRecords, EACCES);
  const ReloadReport report = store_.Reload();
  EXPECT_FALSE(report.folderStatus.ok());
  EXPECT_NE(report.folderStatus.message().find("Permission denied"), std::string::npos);
  EXPECT_FALSE(TakeBackup(files_, kWork, clock_, 30).ok());
}

}  // namespace
}  // namespace paylark
