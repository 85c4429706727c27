// Every way the disk can fail the store, played through the in-memory file system: what the map
// and the folder hold afterwards, and what the store says.
#include <gtest/gtest.h>

#include <cerrno>

#include "core/records/record_codec.h"
#include "core/records/record_store.h"
#include "tests/support/memory_file_system.h"

namespace paylark {
namespace {

using Call = MemoryFileSystem::Call;

constexpr char kRecords[] = "/home/user/Paylark Files";

class StoreFailureTest : public ::testing::Test {
 protected:
  StoreFailureTest() { (void)store_.Reload(); }

  static std::string FileOf(const std::string& id) {
    return std::string(kRecords) + "/duedate" + id + ".due";
  }

  DueRecord Member(const std::string& seriesId) {
    DueRecord record = DueRecord::WithDefaults(clock_);
    record.seriesId = seriesId;
    return record;
  }

  // The record files in the folder, each checked to hold the record the map has.
  std::size_t RecordFilesMatchingTheMap() const {
    std::size_t count = 0;
    for (const std::string& name : files_.Names(kRecords)) {
      if (!name.ends_with(".due"))
        continue;
      const Result<DueRecord> record =
          DecodeRecord(files_.Contents(std::string(kRecords) + "/" + name));
      EXPECT_TRUE(record.ok() && store_.Get(record.value().recordId) == record.value()) << name;
      ++count;
    }
    return count;
  }

  bool NoTemporaryFile() const {
    for (const std::string& name : files_.Names(kRecords)) {
      if (name.starts_with(".paylark-"))
        return false;
    }
    return true;
  }

  FixedClock clock_{*OleDateTime::FromCivil(2007, 2, 10, 14, 30, 25)};
  MemoryFileSystem files_;
  RecordStore store_{clock_, "/home/user", files_};
};

TEST_F(StoreFailureTest, AWriteFailingInTheMiddleOfABatchStopsThereAndIsTold) {
  files_.FailNth(Call::kWrite, 3, ENOSPC);
  StoreBatch batch(store_);
  std::vector<AddResult> added;
  added.reserve(3);
  for (int i = 0; i < 3; ++i)
    added.push_back(store_.Add(Member("recIdSeries")));
  ASSERT_TRUE(batch.Finish().ok());

  EXPECT_TRUE(added[1].status.ok());
  EXPECT_EQ(added[2].status.code(), StatusCode::kIoError);
  EXPECT_EQ(added[2].status.message(), "No space left on device");
  EXPECT_TRUE(
      store_.records().Contains(added[2].recordId));  // the map still shows what was entered
  EXPECT_FALSE(files_.Contains(FileOf(added[2].recordId)));
  EXPECT_EQ(RecordFilesMatchingTheMap(), 2u);
  EXPECT_TRUE(NoTemporaryFile());
}

TEST_F(StoreFailureTest, AFailedRenameLeavesNoFileAndNoTemporary) {
  files_.FailNth(Call::kRename, 1, EIO);
  const AddResult added = store_.Add(DueRecord::WithDefaults(clock_));
  EXPECT_EQ(added.status.message(), "Input/output error");
  EXPECT_TRUE(store_.records().Contains(added.recordId));
  EXPECT_FALSE(files_.Contains(FileOf(added.recordId)));
  EXPECT_TRUE(NoTemporaryFile());

  DueRecord record = DueRecord::WithDefaults(clock_);
  record.recordId = store_.Add(record).recordId;
  const std::string before = files_.Contents(FileOf(record.recordId));
  record.title = "changed";
  files_.FailNth(Call::kRename, 1, EIO);
  EXPECT_FALSE(store_.Replace(record).ok());
  EXPECT_EQ(store_.Get(record.recordId).title, "changed");
  EXPECT_EQ(files_.Contents(FileOf(record.recordId)), before);  // the old record, whole
  EXPECT_TRUE(NoTemporaryFile());
}

TEST_F(StoreFailureTest, AFailedReplacementInABatchStopsTheRenamesAtTheEnd) {
  std::vector<DueRecord> records;
  for (int i = 0; i < 3; ++i) {
    records.push_back(Member("recIdSeries"));
    records.back().recordId = store_.Add(records.back()).recordId;
  }
  files_.FailNth(Call::kRename, 2, EROFS);
  StoreBatch batch(store_);
  for (DueRecord& record : records) {
    record.title = "renamed";
    EXPECT_TRUE(store_.Replace(record).ok());  // the renames wait for the batch's end
  }
  const Status status = batch.Finish();
  EXPECT_EQ(status.message(), "Read-only file system");
  EXPECT_EQ(DecodeRecord(files_.Contents(FileOf(records[0].recordId))).value().title, "renamed");
  EXPECT_EQ(DecodeRecord(files_.Contents(FileOf(records[1].recordId))).value().title, "");
  EXPECT_EQ(DecodeRecord(files_.Contents(FileOf(records[2].recordId))).value().title, "");
  EXPECT_TRUE(NoTemporaryFile());
}

TEST_F(StoreFailureTest, AFailedSyncIsToldThoughTheFileIsInPlace) {
  files_.FailNth(Call::kSync, 2, EIO);  // the data flush passes, the folder sync fails
  const AddResult added = store_.Add(Member("recIdSeries"));
  EXPECT_EQ(added.status.code(), StatusCode::kIoError);
  EXPECT_EQ(RecordFilesMatchingTheMap(), 1u);

  files_.FailNth(Call::kSync, 1, EIO);  // the flush of the temporary file fails
  const AddResult unflushed = store_.Add(Member("recIdSeries"));
  EXPECT_EQ(unflushed.status.code(), StatusCode::kIoError);
  EXPECT_FALSE(files_.Contains(FileOf(unflushed.recordId)));
  EXPECT_TRUE(NoTemporaryFile());
}

TEST_F(StoreFailureTest, ABatchSyncsTheDataAndTheFolderOnceEach) {
  const int before = files_.CallsMade(Call::kSync);
  StoreBatch batch(store_);
  for (int i = 0; i < 50; ++i)
    (void)store_.Add(Member("recIdSeries"));
  ASSERT_TRUE(batch.Finish().ok());
  EXPECT_EQ(files_.CallsMade(Call::kSync) - before, 2);

  files_.FailNth(Call::kSync, 2, EIO);
  StoreBatch failing(store_);
  (void)store_.Add(Member("recIdSeries"));
  EXPECT_EQ(failing.Finish().message(), "Input/output error");
}

TEST_F(StoreFailureTest, AFailedRemoveStopsAWholeSeriesDeleteWithTheRestKept) {
  std::vector<std::string> ids;
  ids.reserve(5);
  for (int i = 0; i < 5; ++i)
    ids.push_back(store_.Add(Member("recIdSeries")).recordId);
  const std::vector<std::string> inMapOrder = store_.records().SeriesMembers("recIdSeries");
  files_.FailNth(Call::kRemove, 3, EACCES);
  const Status status = DeleteSeries(store_, "recIdSeries");
  EXPECT_EQ(status.message(), "Permission denied");
  for (std::size_t i = 0; i < inMapOrder.size(); ++i) {
    const bool kept = i >= 2;
    EXPECT_EQ(store_.records().Contains(inMapOrder[i]), kept) << i;
    EXPECT_EQ(files_.Contains(FileOf(inMapOrder[i])), kept) << i;
  }
  EXPECT_EQ(RecordFilesMatchingTheMap(), 3u);
}

TEST_F(StoreFailureTest, AWriteProtectedFileIsNotReplacedAndKeepsItsBits) {
  DueRecord record = DueRecord::WithDefaults(clock_);
  record.recordId = store_.Add(record).recordId;
  files_.Put(FileOf(record.recordId), EncodeRecord(record), 0444);
  record.title = "changed";
  EXPECT_EQ(store_.Replace(record).message(), "the file is write-protected");
  files_.Put(FileOf(record.recordId), EncodeRecord(record), 0640);
  ASSERT_TRUE(store_.Replace(record).ok());
  EXPECT_EQ(files_.ModeOf(FileOf(record.recordId)), 0640);
}

// Regression: a marker that could not be written made a saved change look failed, so a retried
// add made a duplicate.
TEST_F(StoreFailureTest, AChangeMarkerFailureIsAWarningAndTheChangeIsDone) {
  ASSERT_TRUE(files_.CreateFolder(std::string(kRecords) + "/preferences.alm").ok());
  const AddResult added = store_.Add(DueRecord::WithDefaults(clock_));
  EXPECT_TRUE(added.status.ok());
  EXPECT_EQ(store_.TakeMarkerFailure().code(), StatusCode::kIoError);
  EXPECT_TRUE(store_.TakeMarkerFailure().ok());  // told once

  DueRecord record = store_.Get(added.recordId);
  record.title = "changed";
  EXPECT_TRUE(store_.Replace(record).ok());
  EXPECT_TRUE(store_.Delete(record.recordId, ChangeMarker::kWrite).ok());
  EXPECT_FALSE(store_.TakeMarkerFailure().ok());
  EXPECT_EQ(RecordFilesMatchingTheMap(), 0u);
}

// Regression: " X" and "X" share the file name duedateX.due, and changing " X" overwrote X.
TEST_F(StoreFailureTest, ARecordIsNeverWrittenIntoOrRemovedWithAnotherRecordsFile) {
  DueRecord plain = DueRecord::WithDefaults(clock_);
  plain.recordId = "2007021014302510";
  plain.title = "plain";
  files_.Put(FileOf(plain.recordId), EncodeRecord(plain));
  DueRecord padded = plain;
  padded.recordId = " 2007021014302510";
  padded.title = "padded";
  files_.Put(std::string(kRecords) + "/a.due", EncodeRecord(padded));
  ASSERT_EQ(store_.Reload().loaded, 2u);

  // The padded record is changed and deleted in the file it was read from.
  padded.title = "padded, changed";
  EXPECT_TRUE(store_.Replace(padded).ok());
  EXPECT_EQ(files_.Contents(std::string(kRecords) + "/a.due"), EncodeRecord(padded));
  EXPECT_EQ(files_.Contents(FileOf(plain.recordId)), EncodeRecord(plain));
  EXPECT_TRUE(store_.Delete(padded.recordId, ChangeMarker::kWrite).ok());
  EXPECT_FALSE(files_.Contains(std::string(kRecords) + "/a.due"));
  EXPECT_EQ(files_.Contents(FileOf(plain.recordId)), EncodeRecord(plain));
  EXPECT_TRUE(store_.records().Contains(plain.recordId));

  // A record that only Add knows (never read from a file) goes to the file named after it, where
  // a file holding another record is never replaced.
  DueRecord stranger = plain;
  stranger.recordId = "2007021014302610";
  files_.Put(FileOf(stranger.recordId), EncodeRecord(plain));
  EXPECT_EQ(store_.Replace(stranger).code(), StatusCode::kAlreadyExists);
  EXPECT_EQ(files_.Contents(FileOf(stranger.recordId)), EncodeRecord(plain));
}

}  // namespace
}  // namespace paylark
