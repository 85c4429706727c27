// Backups and restores carry the files kept with dues, on the in-memory file system.
#include <cerrno>
#include <cstdint>
#include <map>
#include <set>
#include <utility>

#include "core/attachments/attachment_removal.h"
#include "core/attachments/attachment_store.h"
#include "tests/core/sync/memory_backup_test.h"

namespace paylark {
namespace {

constexpr const char* kWork = kMemoryWork;

class AttachmentBackupTest : public MemoryBackupTest {
 protected:
  void Attach(const std::string& id, const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(attachments_.AddBytes(id, name, bytes).ok());
  }

  std::string Contents(const std::string& id, const std::string& name) const {
    return files_.Contents(attachments_.PathOf(id, name));
  }

  std::string Removed(const std::string& id) const {
    return BackupsFolder(kWork) + "/Removed attachments/" + id;
  }

  AttachmentStore attachments_{files_, kWork};
};

TEST_F(AttachmentBackupTest, ARestoreBringsBackTheBackupsAttachmentsAndKeepsTheOthersAside) {
  const std::string rent = AddDue("Rent");
  const std::string water = AddDue("Water");
  Attach(rent, "rent.pdf", "RENT");
  Attach(water, "water.pdf", "WATER");
  // A file named like a record, kept as an attachment, never becomes a due of the backup.
  Attach(water, "duedate20261205000000990.due", "not a due");
  files_.Put(attachments_.PathOf(water, ".syncthing.x.tmp"), "half");
  const TakenBackup backup = Backup();
  EXPECT_TRUE(backup.leftOut.empty());
  EXPECT_EQ(ReadBackup(backup.path, files_).value().size(), 2u);

  ASSERT_TRUE(DeleteWithAttachments(store_, SeriesChoice::kThisRecord, store_.Get(rent),
                                    BackupsFolder(kWork))
                  .attachmentsMoved.ok());
  Attach(water, "later.pdf", "LATER");
  ASSERT_TRUE(files_.Remove(attachments_.PathOf(water, "water.pdf")).ok());
  files_.Put(attachments_.PathOf(water, "water.pdf"), "CHANGED");

  ASSERT_TRUE(RestoreBackup(store_, clock_, backup.path, kDefaultBackupsKept).ok());
  EXPECT_TRUE(store_.records().Contains(rent));
  EXPECT_EQ(Contents(rent, "rent.pdf"), "RENT");
  EXPECT_EQ(Contents(water, "water.pdf"), "WATER");
  EXPECT_FALSE(files_.Contains(attachments_.PathOf(water, "later.pdf")));
  EXPECT_EQ(files_.Names(Removed(water)), (std::vector<std::string>{"later.pdf", "water.pdf"}));
  EXPECT_EQ(files_.Contents(Removed(water) + "/water.pdf"), "CHANGED");
  EXPECT_EQ(files_.Contents(Removed(rent) + "/rent.pdf"), "RENT");  // the deletion's copy stays
}

TEST_F(AttachmentBackupTest, AnAttachmentThatCannotBeReadIsLeftOutAndTold) {
  const std::string id = AddDue("Rent");
  Attach(id, "locked.pdf", "L");
  Attach(id, "fine.pdf", "F");
  files_.FailRead(attachments_.PathOf(id, "locked.pdf"), EACCES);
  const TakenBackup backup = Backup();
  ASSERT_EQ(backup.leftOut.size(), 1u);
  EXPECT_EQ(backup.leftOut[0].fileName, "Attachments/" + id + "/locked.pdf");
  EXPECT_EQ(backup.leftOut[0].reason, "Permission denied");
  files_.FailList(attachments_.folder(), EACCES);
  const TakenBackup unlisted = Backup();
  ASSERT_EQ(unlisted.leftOut.size(), 1u);
  EXPECT_EQ(unlisted.leftOut[0].fileName, "Attachments");
}

TEST_F(AttachmentBackupTest, ABackupFromBeforeAttachmentsSetsTheCurrentOnesAside) {
  const std::string id = AddDue("Rent");
  const TakenBackup backup = Backup();
  Attach(id, "bill.pdf", "B");
  ASSERT_TRUE(RestoreBackup(store_, clock_, backup.path, kDefaultBackupsKept).ok());
  EXPECT_TRUE(attachments_.RecordsWithAttachments().value().empty());
  EXPECT_EQ(files_.Contents(Removed(id) + "/bill.pdf"), "B");
}

// The attachments of every due, by record ID and name, as the folder holds them.
using AttachmentFiles = std::map<std::pair<std::string, std::string>, std::string>;

class AttachmentRestoreTest : public AttachmentBackupTest {
 protected:
  AttachmentFiles OnDisk() {
    AttachmentFiles held;
    const std::set<std::string> ids = attachments_.RecordsWithAttachments().value();
    for (const std::string& id : ids) {
      const std::vector<Attachment> listed = attachments_.List(id).value();
      for (const Attachment& attachment : listed)
        held[{id, attachment.name}] = Contents(id, attachment.name);
    }
    return held;
  }

  std::set<std::string> Titles() {
    RecordStore other(clock_, kWork, files_);
    (void)other.Reload();
    std::set<std::string> titles;
    other.map().ForEach([&](const DueRecord& record) { titles.insert(record.title); });
    return titles;
  }

  // What the next start does before anything else.
  void StartAgain() {
    RecordStore next(clock_, kWork, files_);
    (void)next.Reload();
    AttachmentStore attachments(files_, kWork);
    attachments.RemoveStaleTemporaries();
    EXPECT_TRUE(attachments.ReleaseSetAside(BackupsFolder(kWork)).ok());
  }

  bool NothingStagedLeft() const {
    const std::string records = std::string(kWork) + "/Paylark Files";
    for (const std::string& name : files_.Names(records)) {
      if (name.starts_with(".paylark-"))
        return false;
    }
    return files_.Names(attachments_.folder()).empty();
  }
};

// A kill after every single change of the disk: the next start finds the old dues with the old
// attachments or the backup's dues with the backup's attachments, never one with the other; and
// an attachment that goes is in "Removed attachments", never lost.
TEST_F(AttachmentRestoreTest, AKillAtAnyPointKeepsTheAttachmentsWithTheirDues) {
  const std::string rent = AddDue("Rent");
  const std::string water = AddDue("Water");
  Attach(rent, "rent.pdf", "RENT");
  Attach(water, "water.pdf", "NEW WATER");
  const AttachmentFiles newFiles = OnDisk();
  const std::set<std::string> newTitles = Titles();
  const std::string newBackup = Backup().path;
  ASSERT_TRUE(DeleteWithAttachments(store_, SeriesChoice::kThisRecord, store_.Get(rent),
                                    BackupsFolder(kWork))
                  .attachmentsMoved.ok());
  ASSERT_TRUE(files_.Remove(attachments_.PathOf(water, "water.pdf")).ok());
  Attach(water, "water.pdf", "OLD WATER");
  Attach(AddDue("Gas"), "gas.pdf", "GAS");
  const AttachmentFiles oldFiles = OnDisk();
  const std::set<std::string> oldTitles = Titles();
  const std::string oldBackup = Backup().path;
  int sawOld = 0;
  int sawNew = 0;
  for (int changes = 0; changes < 300; ++changes) {
    clock_.AdvanceSeconds(1);
    files_.FreezeAfter(changes);
    const Status status = RestoreBackup(store_, clock_, newBackup, 1000);
    files_.FreezeAfter(-1);
    files_.SetProcessId(5000 + changes);  // the killed process is gone
    StartAgain();
    const std::string moment = "killed after " + std::to_string(changes) + " changes";
    const AttachmentFiles after = OnDisk();
    const std::set<std::string> titles = Titles();
    EXPECT_TRUE((titles == oldTitles && after == oldFiles) ||
                (titles == newTitles && after == newFiles))
        << moment;
    EXPECT_TRUE(NothingStagedLeft()) << moment;
    if (status.ok())
      break;
    (titles == oldTitles ? sawOld : sawNew) += 1;
    (void)store_.Reload();
    if (titles == newTitles) {
      EXPECT_EQ(files_.Contents(Removed(water) + "/water.pdf"), "OLD WATER") << moment;
      ASSERT_TRUE(RestoreBackup(store_, clock_, oldBackup, 1000).ok()) << moment;
      ASSERT_EQ(OnDisk(), oldFiles) << moment;
    }
  }
  EXPECT_GT(sawOld, 3);
  EXPECT_GT(sawNew, 0);
  RecordProperty("killedWithTheOldAttachments", sawOld);
  RecordProperty("killedWithTheNewAttachments", sawNew);
}

TEST_F(AttachmentRestoreTest, ABackupLargerThanTheFreeSpaceIsRefusedAndChangesNothing) {
  const std::string id = AddDue("Rent");
  Attach(id, "rent.pdf", std::string(4000, 'r'));
  const std::string backup = Backup().path;
  ASSERT_TRUE(files_.Remove(attachments_.PathOf(id, "rent.pdf")).ok());
  Attach(id, "other.pdf", "OTHER");
  const AttachmentFiles before = OnDisk();
  const std::size_t backups = ListBackups(BackupsFolder(kWork), files_).size();
  files_.SetFreeBytes(1000);
  const Status status = RestoreBackup(store_, clock_, backup, 1000);
  EXPECT_EQ(status.code(), StatusCode::kInvalidArgument);
  EXPECT_NE(status.message().find("more than the 1000 bytes free on the disk of"),
            std::string::npos)
      << status.message();
  EXPECT_NE(status.message().find("nothing was restored"), std::string::npos);
  EXPECT_EQ(OnDisk(), before);
  EXPECT_EQ(ListBackups(BackupsFolder(kWork), files_).size(), backups);  // none taken either
  files_.SetFreeBytes(std::uint64_t{1} << 30);
  EXPECT_TRUE(RestoreBackup(store_, clock_, backup, 1000).ok());
  EXPECT_EQ(Contents(id, "rent.pdf"), std::string(4000, 'r'));
}

// A write that fails while the backup's attachments are unpacked (a full disk) leaves the dues,
// the attachments and the folder as they were.
TEST_F(AttachmentRestoreTest, AFailedUnpackingChangesNothingAndLeavesNothingBehind) {
  const std::string id = AddDue("Rent");
  Attach(id, "a.pdf", "A");
  Attach(id, "b.pdf", "B");
  const std::string backup = Backup().path;
  AddDue("Gas");
  ASSERT_TRUE(files_.Remove(attachments_.PathOf(id, "a.pdf")).ok());
  ASSERT_TRUE(files_.Remove(attachments_.PathOf(id, "b.pdf")).ok());
  Attach(id, "c.pdf", "C");
  const AttachmentFiles before = OnDisk();
  files_.FailNth(MemoryFileSystem::Call::kWrite, 2, ENOSPC);  // the second staged attachment
  const Status status = RestoreBackup(store_, clock_, backup, 1000);
  EXPECT_EQ(status.code(), StatusCode::kIoError);
  EXPECT_NE(status.message().find("could not be restored: No space left on device"),
            std::string::npos)
      << status.message();
  EXPECT_EQ(OnDisk(), before);
  EXPECT_EQ(Titles(), (std::set<std::string>{"Gas", "Rent"}));
  EXPECT_TRUE(NothingStagedLeft());
}

// An entry whose bytes do not match its checksum is found only as it is unpacked: the restore
// stops there, says which file is damaged, and removes what it had unpacked.
TEST_F(AttachmentRestoreTest, ADamagedAttachmentInTheZipChangesNothing) {
  const std::string id = AddDue("Rent");
  std::string varied;  // bytes that barely compress, so the damage falls in the entry's data
  std::uint32_t state = 20261207;
  for (int i = 0; i < 5000; ++i) {
    state = state * 1664525u + 1013904223u;
    varied += static_cast<char>(state >> 24);
  }
  Attach(id, "a.pdf", "A");
  Attach(id, "rent.pdf", varied);
  const std::string backup = Backup().path;
  std::string zip = files_.Contents(backup);
  const std::size_t entry = zip.find("rent.pdf");
  ASSERT_NE(entry, std::string::npos);
  zip[entry + 200] = static_cast<char>(zip[entry + 200] ^ 0x55);
  files_.Put("/home/user/damaged.zip", zip);
  ASSERT_TRUE(files_.Remove(attachments_.PathOf(id, "a.pdf")).ok());
  ASSERT_TRUE(files_.Remove(attachments_.PathOf(id, "rent.pdf")).ok());
  Attach(id, "c.pdf", "C");
  const AttachmentFiles before = OnDisk();
  const Status status = RestoreBackup(store_, clock_, "/home/user/damaged.zip", 1000);
  EXPECT_EQ(status.code(), StatusCode::kCorrupt);
  EXPECT_NE(status.message().find("\"/home/user/damaged.zip\" is damaged: " + id + "/rent.pdf: "),
            std::string::npos)
      << status.message();
  EXPECT_EQ(OnDisk(), before);
  EXPECT_TRUE(NothingStagedLeft());
}

TEST_F(AttachmentRestoreTest, AnAttachmentAlreadyInPlaceIsNeitherRewrittenNorSetAside) {
  const std::string id = AddDue("Rent");
  Attach(id, "same.pdf", "SAME");
  const std::string backup = Backup().path;
  const std::uint64_t inode = files_.InodeOf(attachments_.PathOf(id, "same.pdf"));
  ASSERT_TRUE(RestoreBackup(store_, clock_, backup, 1000).ok());
  EXPECT_EQ(files_.InodeOf(attachments_.PathOf(id, "same.pdf")), inode);
  EXPECT_TRUE(files_.Names(Removed(id)).empty());
}

}  // namespace
}  // namespace paylark
