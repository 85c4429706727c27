// Two writers of one due, as the window and a timer or an import and a modify are: the second
// change never replaces the first one silently.
#include <gtest/gtest.h>

#include <cerrno>

#include "core/base/messages.h"
#include "core/records/record_codec.h"
#include "core/records/record_store.h"
#include "tests/support/memory_file_system.h"

namespace paylark {
namespace {

constexpr char kRecords[] = "/home/user/Paylark Files";

class SecondWriterTest : public ::testing::Test {
 protected:
  SecondWriterTest() {
    (void)first_.Reload();
    DueRecord record = DueRecord::WithDefaults(clock_);
    record.title = "Rent";
    record.amount = 900;
    id_ = first_.Add(record).recordId;
    (void)second_.Reload();
  }

  std::string FileOf() const { return std::string(kRecords) + "/duedate" + id_ + ".due"; }
  DueRecord OnDisk() const { return DecodeRecord(files_.Contents(FileOf())).value(); }

  // Each writer's change as it would make it: on the record it read.
  Status Change(RecordStore& store, double amount) {
    DueRecord record = store.Get(id_);
    record.amount = amount;
    return store.Replace(record);
  }

  FixedClock clock_{*OleDateTime::FromCivil(2026, 12, 7, 10, 0, 0)};
  MemoryFileSystem files_;
  RecordStore first_{clock_, "/home/user", files_};
  RecordStore second_{clock_, "/home/user", files_};
  std::string id_;
};

TEST_F(SecondWriterTest, TheSecondChangeIsRefusedAndTakesTheFirst) {
  ASSERT_TRUE(Change(first_, 950).ok());
  const Status second = Change(second_, 1000);
  EXPECT_EQ(second.code(), StatusCode::kAlreadyExists);
  EXPECT_EQ(second.message(), MessageText(MessageId::kDueChangedSinceRead));
  EXPECT_EQ(OnDisk().amount, 950);
  EXPECT_EQ(second_.Get(id_).amount, 950) << "the refused writer now holds the file's version";
  EXPECT_TRUE(Change(second_, 1000).ok()) << "made again on what it read, the change is written";
  EXPECT_EQ(OnDisk().amount, 1000);
}

TEST_F(SecondWriterTest, AChangeOfADueDeletedElsewhereWritesNothing) {
  ASSERT_TRUE(first_.Delete(id_, ChangeMarker::kWrite).ok());
  const Status second = Change(second_, 1000);
  EXPECT_EQ(second.code(), StatusCode::kNotFound);
  EXPECT_EQ(second.message(), MessageText(MessageId::kDueDeletedSinceRead));
  EXPECT_FALSE(files_.Contains(FileOf())) << "the deleted due came back";
  EXPECT_FALSE(second_.records().Contains(id_));
}

TEST_F(SecondWriterTest, OwnChangesFollowOneAnotherInAndOutOfABatch) {
  ASSERT_TRUE(Change(first_, 1).ok());
  ASSERT_TRUE(Change(first_, 2).ok());
  StoreBatch batch(first_);
  ASSERT_TRUE(Change(first_, 3).ok());
  ASSERT_TRUE(Change(first_, 4).ok()) << "the batch's own pending replacement is no other writer";
  ASSERT_TRUE(batch.Finish().ok());
  EXPECT_EQ(OnDisk().amount, 4);
}

TEST_F(SecondWriterTest, AFileThatCannotBeReadIsStillReplacedAsBefore) {
  files_.FailRead(FileOf(), EIO);
  EXPECT_TRUE(Change(second_, 7).ok());
  files_.Put(FileOf(), "damaged");
  EXPECT_TRUE(Change(second_, 8).ok());
  EXPECT_EQ(OnDisk().amount, 8);
}

}  // namespace
}  // namespace paylark
