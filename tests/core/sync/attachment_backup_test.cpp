// Backups and restores carry the files kept with dues, on the in-memory file system.
#include <cerrno>

#include "core/attachments/attachment_removal.h"
#include "core/attachments/attachment_store.h"
#include "tests/core/sync/memory_backup_test.h"

namespace paylark {
namespace {

constexpr const char* kWork = kMemoryWork;

class AttachmentBackupTest : public MemoryBackupTest {
 protected:
  std::string Add() { return store_.Add(DueRecord::WithDefaults(clock_)).recordId; }

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
  const std::string rent = Add();
  const std::string water = Add();
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
  EXPECT_TRUE(store_.Contains(rent));
  EXPECT_EQ(Contents(rent, "rent.pdf"), "RENT");
  EXPECT_EQ(Contents(water, "water.pdf"), "WATER");
  EXPECT_FALSE(files_.Contains(attachments_.PathOf(water, "later.pdf")));
  EXPECT_EQ(files_.Names(Removed(water)), (std::vector<std::string>{"later.pdf", "water.pdf"}));
  EXPECT_EQ(files_.Contents(Removed(water) + "/water.pdf"), "CHANGED");
  EXPECT_EQ(files_.Contents(Removed(rent) + "/rent.pdf"), "RENT");  // the deletion's copy stays
}

TEST_F(AttachmentBackupTest, AnAttachmentThatCannotBeReadIsLeftOutAndTold) {
  const std::string id = Add();
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
  const std::string id = Add();
  const TakenBackup backup = Backup();
  Attach(id, "bill.pdf", "B");
  ASSERT_TRUE(RestoreBackup(store_, clock_, backup.path, kDefaultBackupsKept).ok());
  EXPECT_TRUE(attachments_.RecordsWithAttachments().value().empty());
  EXPECT_EQ(files_.Contents(Removed(id) + "/bill.pdf"), "B");
}

}  // namespace
}  // namespace paylark
