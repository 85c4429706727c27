// Attaching while another writer deletes the due: no attachment of a due that is gone stays.
#include "core/attachments/due_attaching.h"

#include <gtest/gtest.h>

#include "core/attachments/attachment_removal.h"
#include "core/base/messages.h"
#include "tests/support/memory_file_system.h"

namespace paylark {
namespace {

constexpr char kWork[] = "/home/user/Work";
constexpr char kBackups[] = "/home/user/Backups";
constexpr char kBill[] = "/home/user/bill.pdf";

class DueAttachingTest : public ::testing::Test {
 protected:
  DueAttachingTest() {
    (void)window_.Reload();
    id_ = window_.Add(DueRecord::WithDefaults(clock_)).recordId;
    (void)command_.Reload();
    files_.Put(kBill, "%PDF-1.4 bill");
  }

  std::vector<std::string> Removed() const {
    return files_.Names(std::string(kBackups) + "/Removed attachments/" + id_);
  }

  FixedClock clock_{*OleDateTime::FromCivil(2026, 12, 7, 10, 0, 0)};
  MemoryFileSystem files_;
  RecordStore window_{clock_, kWork, files_};
  RecordStore command_{clock_, kWork, files_};
  AttachmentStore attachments_{files_, kWork};
  std::string id_;
};

TEST_F(DueAttachingTest, AnAttachmentOfALiveDueIsKept) {
  const Result<std::string> added = AttachToDue(command_, attachments_, id_, kBill, kBackups);
  ASSERT_TRUE(added.ok()) << added.status().message();
  EXPECT_EQ(added.value(), "bill.pdf");
  EXPECT_EQ(attachments_.List(id_).value().size(), 1u);
  EXPECT_TRUE(Removed().empty());
}

TEST_F(DueAttachingTest, AnAttachmentOfADueDeletedElsewhereGoesWhereTheDeletionPutsThem) {
  ASSERT_TRUE(attachments_.AddBytes(id_, "earlier.pdf", "earlier").ok());
  const DeleteOutcome deleted =
      DeleteWithAttachments(window_, SeriesChoice::kThisRecord, window_.Get(id_), kBackups);
  ASSERT_TRUE(deleted.deleted.ok() && deleted.attachmentsMoved.ok());
  ASSERT_TRUE(command_.records().Contains(id_)) << "the command read the due before it was deleted";

  const Result<std::string> added = AttachToDue(command_, attachments_, id_, kBill, kBackups);
  EXPECT_EQ(added.status().code(), StatusCode::kNotFound);
  EXPECT_EQ(added.status().message(),
            MessageText(Message{MessageId::kAttachedDueDeleted, "bill.pdf", 0, {}}));
  EXPECT_EQ(attachments_.RecordsWithAttachments().value(), std::set<std::string>{});
  EXPECT_EQ(Removed(), (std::vector<std::string>{"bill.pdf", "earlier.pdf"}));
}

}  // namespace
}  // namespace paylark
