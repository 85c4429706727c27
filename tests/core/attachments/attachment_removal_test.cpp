// Deleting dues with their attachments, and the records' loading leaving the attachments alone.
#include "core/attachments/attachment_removal.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "core/attachments/attachment_store.h"
#include "core/records/record_codec.h"
#include "tests/support/memory_file_system.h"

namespace paylark {
namespace {

using Call = MemoryFileSystem::Call;

constexpr char kWork[] = "/home/user/Work";
constexpr char kBackups[] = "/home/user/Backups";

class AttachmentRemovalTest : public ::testing::Test {
 protected:
  AttachmentRemovalTest() { (void)store_.Reload(); }

  std::string AddDue(const std::string& seriesId = {}) {
    DueRecord record = DueRecord::WithDefaults(clock_);
    record.seriesId = seriesId;
    return store_.Add(record).recordId;
  }

  void Attach(const std::string& id, const std::string& name) {
    ASSERT_TRUE(attachments_.AddBytes(id, name, "bytes of " + name).ok());
  }

  std::vector<std::string> Removed(const std::string& id) const {
    return files_.Names(std::string(kBackups) + "/Removed attachments/" + id);
  }

  FixedClock clock_{*OleDateTime::FromCivil(2026, 12, 6, 10, 0, 0)};
  MemoryFileSystem files_;
  RecordStore store_{clock_, kWork, files_};
  AttachmentStore attachments_{files_, kWork};
};

TEST_F(AttachmentRemovalTest, DeletingADueMovesItsAttachmentsIntoTheBackupsFolder) {
  const std::string kept = AddDue();
  const std::string going = AddDue();
  Attach(kept, "kept.pdf");
  Attach(going, "going.pdf");
  const DeleteOutcome outcome =
      DeleteWithAttachments(store_, SeriesChoice::kThisRecord, store_.Get(going), kBackups);
  EXPECT_TRUE(outcome.deleted.ok() && outcome.attachmentsMoved.ok());
  EXPECT_FALSE(store_.records().Contains(going));
  EXPECT_EQ(Removed(going), std::vector<std::string>{"going.pdf"});
  EXPECT_EQ(attachments_.RecordsWithAttachments().value(), std::set<std::string>{kept});
}

TEST_F(AttachmentRemovalTest, AWholeSeriesDeleteMovesEveryMembersAttachments) {
  std::vector<std::string> members;
  for (int i = 0; i < 3; ++i) {
    members.push_back(AddDue("recIdSeries"));
    Attach(members.back(), "bill.pdf");
  }
  const DeleteOutcome outcome =
      DeleteWithAttachments(store_, SeriesChoice::kWholeSeries, store_.Get(members[1]), kBackups);
  EXPECT_TRUE(outcome.deleted.ok() && outcome.attachmentsMoved.ok());
  for (const std::string& id : members)
    EXPECT_EQ(Removed(id), std::vector<std::string>{"bill.pdf"}) << id;
  EXPECT_TRUE(attachments_.RecordsWithAttachments().value().empty());
}

TEST_F(AttachmentRemovalTest, ASeriesDeleteThatStopsMovesOnlyTheDeletedMembersAttachments) {
  for (int i = 0; i < 3; ++i)
    Attach(AddDue("recIdSeries"), "bill.pdf");
  const std::vector<std::string> inMapOrder = store_.records().SeriesMembers("recIdSeries");
  files_.FailNth(Call::kRemove, 2, EACCES);
  const DeleteOutcome outcome = DeleteWithAttachments(store_, SeriesChoice::kWholeSeries,
                                                      store_.Get(inMapOrder[0]), kBackups);
  EXPECT_EQ(outcome.deleted.message(), "Permission denied");
  EXPECT_TRUE(outcome.attachmentsMoved.ok());
  EXPECT_EQ(Removed(inMapOrder[0]), std::vector<std::string>{"bill.pdf"});
  EXPECT_EQ(attachments_.RecordsWithAttachments().value(),
            (std::set<std::string>{inMapOrder[1], inMapOrder[2]}));
}

TEST_F(AttachmentRemovalTest, AnAttachmentThatCannotBeMovedIsToldAndKept) {
  const std::string id = AddDue();
  Attach(id, "bill.pdf");
  // The change marker fails too: the deletion still counts.
  files_.FailAlways(Call::kRename, EXDEV);
  files_.FailAlways(Call::kWrite, ENOSPC);
  const DeleteOutcome outcome =
      DeleteWithAttachments(store_, SeriesChoice::kThisRecord, store_.Get(id), kBackups);
  EXPECT_TRUE(outcome.deleted.ok());
  EXPECT_EQ(outcome.attachmentsMoved.message(),
            "\"bill.pdf\" could not be moved: No space left on device");
  EXPECT_FALSE(store_.records().Contains(id));
  EXPECT_EQ(attachments_.List(id).value().size(), 1u);
}

TEST_F(AttachmentRemovalTest, LoadingTheRecordsNeverLooksIntoTheAttachments) {
  const std::string id = AddDue();
  // A file that looks like a record, kept as an attachment, is no due.
  Attach(id, "duedate99.due");
  files_.Put(attachments_.PathOf(id, "duedate98.due"), EncodeRecord(store_.Get(id)));
  files_.FailList(attachments_.folder(), EACCES);
  files_.FailList(attachments_.folder() + "/" + id, EACCES);
  files_.FailRead(attachments_.PathOf(id, "duedate99.due"), EACCES);
  const ReloadReport report = store_.Reload();
  EXPECT_TRUE(report.folderStatus.ok());
  EXPECT_EQ(report.loaded, 1u);
  EXPECT_TRUE(report.skipped.empty());
  const FolderCheck check =
      FolderLoader::CheckJob(files_, RecordsFolderPath(store_.workingDirectory()))();
  ASSERT_TRUE(check.identity.has_value());
  EXPECT_TRUE(check.others.tooLarge.empty());
}

}  // namespace
}  // namespace paylark
