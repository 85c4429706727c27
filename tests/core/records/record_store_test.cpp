#include "core/records/record_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "core/records/record_codec.h"
#include "core/records/record_file_name.h"
#include "tests/support/scratch_store.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;

class RecordStoreTest : public ::testing::Test {
 protected:
  fs::path Records() const { return workdir_ / "Paylark Files"; }
  fs::path FileOf(const std::string& id) const { return Records() / ("duedate" + id + ".due"); }

  void WriteFile(const std::string& name, const std::string& bytes) {
    std::ofstream(Records() / name, std::ios::binary) << bytes;
  }

  DueRecord Member(const std::string& seriesId) {
    DueRecord record = DueRecord::WithDefaults(clock_);
    record.seriesId = seriesId;
    return record;
  }

  FixedClock clock_{*OleDateTime::FromCivil(2007, 2, 10, 14, 30, 25)};
  testing::ScratchStore scratch_{clock_};
  fs::path workdir_ = scratch_.path();
  RecordStore& store_ = scratch_.store();
};

TEST_F(RecordStoreTest, AddGivesSingleDuesSuffix10AndWritesFileAndMarker) {
  DueRecord record = DueRecord::WithDefaults(clock_);
  record.recordId = "ignored";
  record.title = "Rent";
  const AddResult added = store_.Add(record);
  ASSERT_TRUE(added.status.ok()) << added.status.message();
  EXPECT_EQ(added.recordId, "2007021014302510");
  record.recordId = added.recordId;
  EXPECT_EQ(testing::FileBytes(FileOf(added.recordId)), EncodeRecord(record));
  EXPECT_EQ(testing::FileBytes(Records() / "preferences.alm"), std::string("\1\0\0\0\1\0\0\0", 8));
  EXPECT_EQ(store_.Get(added.recordId), record);
}

TEST_F(RecordStoreTest, IdsStayUniqueWithoutWaitingWhenTheClockStandsStill) {
  std::set<std::string> ids;
  std::vector<std::string> inOrder;
  for (int i = 0; i < 250; ++i) {
    const std::string id = store_.Add(Member("recId20070210143025")).recordId;
    ids.insert(id);
    inOrder.push_back(id);
  }
  EXPECT_EQ(ids.size(), 250u);
  EXPECT_EQ(inOrder[0], "2007021014302501");  // suffixes count from 01 in Add order
  EXPECT_EQ(inOrder[98], "2007021014302599");
  EXPECT_EQ(inOrder[99], "2007021014302601");  // 01 of this second is taken: the next second
  EXPECT_EQ(inOrder[249], "2007021014302752");

  // The logical clock never goes back; a single due's suffix 10 of second 27 is a member's.
  EXPECT_EQ(store_.Add(DueRecord::WithDefaults(clock_)).recordId, "2007021014302810");
  EXPECT_EQ(store_.Add(DueRecord::WithDefaults(clock_)).recordId, "2007021014302910");
}

TEST_F(RecordStoreTest, AnIdTakenOnDiskIsNeverOverwritten) {
  WriteFile("duedate2007021014302510.due", "written by another Paylark");
  const AddResult added = store_.Add(DueRecord::WithDefaults(clock_));
  EXPECT_EQ(added.recordId, "2007021014302610");
  EXPECT_EQ(testing::FileBytes(FileOf("2007021014302510")), "written by another Paylark");
}

TEST_F(RecordStoreTest, GetOfAnUnknownIdGivesTheDefaultRecord) {
  const DueRecord record = store_.Get("nothing");
  EXPECT_EQ(record, DueRecord::WithDefaults(clock_));
  EXPECT_TRUE(record.recordId.empty());
}

TEST_F(RecordStoreTest, ReplaceAndDeleteKeepFileAndMapInStep) {
  DueRecord record = DueRecord::WithDefaults(clock_);
  record.recordId = store_.Add(record).recordId;
  fs::remove(Records() / "preferences.alm");
  chmod(FileOf(record.recordId).c_str(), 0640);
  record.amount = 12.5;
  ASSERT_TRUE(store_.Replace(record).ok());
  EXPECT_EQ(testing::FileBytes(FileOf(record.recordId)), EncodeRecord(record));
  EXPECT_EQ(fs::status(FileOf(record.recordId)).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_TRUE(fs::exists(Records() / "preferences.alm"));

  fs::remove(Records() / "preferences.alm");
  ASSERT_TRUE(store_.Delete(record.recordId, ChangeMarker::kSkip).ok());
  EXPECT_FALSE(fs::exists(FileOf(record.recordId)));
  EXPECT_FALSE(fs::exists(Records() / "preferences.alm"));
  EXPECT_FALSE(store_.records().Contains(record.recordId));
  EXPECT_TRUE(store_.Delete("2007021014302510", ChangeMarker::kWrite).ok());  // already gone
}

TEST_F(RecordStoreTest, FailedWritesAreReportedAndTheMapStillChanges) {
  DueRecord record = DueRecord::WithDefaults(clock_);
  record.recordId = store_.Add(record).recordId;
  chmod(FileOf(record.recordId).c_str(), 0444);  // write-protected, even for root
  record.title = "changed";
  EXPECT_FALSE(store_.Replace(record).ok());
  EXPECT_EQ(store_.Get(record.recordId).title, "changed");
  EXPECT_NE(testing::FileBytes(FileOf(record.recordId)), EncodeRecord(record));
}

TEST_F(RecordStoreTest, OfTwoWritersOfOneDueOnDiskTheSecondIsRefused) {
  DueRecord record = DueRecord::WithDefaults(clock_);
  record.recordId = store_.Add(record).recordId;
  RecordStore other(clock_, workdir_.string(), SystemFileSystem());
  (void)other.Reload();
  record.title = "first";
  ASSERT_TRUE(store_.Replace(record).ok());
  DueRecord second = other.Get(record.recordId);
  second.amount = 3;
  EXPECT_EQ(other.Replace(second).code(), StatusCode::kAlreadyExists);
  EXPECT_EQ(testing::FileBytes(FileOf(record.recordId)), EncodeRecord(record));
  EXPECT_EQ(other.Get(record.recordId).title, "first");
}

TEST_F(RecordStoreTest, ReloadReadsNamesInByteOrderAndSkipsWhatItCannotRead) {
  DueRecord first = DueRecord::WithDefaults(clock_);
  first.recordId = "2007021014302510";
  first.title = "first";
  DueRecord second = first;
  second.title = "second";
  WriteFile("a.due", EncodeRecord(first));
  WriteFile("b.DUE", EncodeRecord(second));  // same inner ID, later in byte order: it owns it
  WriteFile("broken.due",
            "\x05"
            "ab");
  WriteFile("huge.due", "");
  fs::resize_file(Records() / "huge.due", kMaxRecordFileBytes + 1);
  WriteFile("notes.txt", EncodeRecord(first));
  WriteFile(".paylark-Ab12Cd", "an older writer's, less than an hour old");
  fs::create_directories(Records() / "folder.due");

  // Read whole, then with a snapshot present (the folder's files are inspected as they are
  // listed): the same report, files too large to be records first.
  for (int load = 0; load < 3; ++load) {
    const ReloadReport report = store_.Reload();
    EXPECT_EQ(report.loaded, 1u);
    ASSERT_EQ(report.skipped.size(), 3u);
    EXPECT_EQ(report.skipped[0].fileName, "huge.due");
    EXPECT_EQ(report.skipped[0].reason, "the file is too large to be a record");
    EXPECT_EQ(report.skipped[1].fileName, "a.due");
    EXPECT_EQ(report.skipped[1].reason, "it holds the same due as b.DUE");
    EXPECT_EQ(report.skipped[2].fileName, "broken.due");
    store_.SetSnapshotFile((workdir_ / "records.snapshot").string());
  }
  EXPECT_TRUE(fs::exists(workdir_ / "records.snapshot"));
  EXPECT_EQ(store_.Get(first.recordId).title, "second");
  EXPECT_EQ(testing::FileBytes(Records() / "broken.due"),
            "\x05"
            "ab");
  EXPECT_TRUE(fs::exists(Records() / ".paylark-Ab12Cd"));

  // Changes act on the file the record was read from; deleting it lets the duplicate in.
  DueRecord changed = store_.Get(first.recordId);
  changed.title = "changed";
  ASSERT_TRUE(store_.Replace(changed).ok());
  EXPECT_EQ(testing::FileBytes(Records() / "b.DUE"), EncodeRecord(changed));
  EXPECT_FALSE(fs::exists(FileOf(first.recordId)));
  EXPECT_TRUE(store_.Delete(first.recordId, ChangeMarker::kWrite).ok());
  EXPECT_FALSE(fs::exists(Records() / "b.DUE"));
  EXPECT_EQ(store_.Reload().loaded, 1u);
  EXPECT_EQ(store_.Get(first.recordId).title, "first");
  fs::remove(Records() / "a.due");
  EXPECT_EQ(store_.Reload().loaded, 0u);

  // The file read last owns the ID, even against the file named after it; ReloadFiles reading
  // an earlier name again changes nothing.
  WriteFile("a.due", EncodeRecord(first));
  WriteFile(FileOf(first.recordId).filename().string(), EncodeRecord(second));
  WriteFile("z.due", EncodeRecord(first));
  const ReloadReport owned = store_.Reload();
  EXPECT_EQ(store_.Get(first.recordId).title, "first");
  const auto duplicates = [](const ReloadReport& report) {
    std::vector<std::string> names;
    for (const SkippedFile& file : report.skipped) {
      if (file.reason.starts_with("it holds the same due as"))
        names.push_back(file.fileName);
    }
    return names;
  };
  EXPECT_EQ(duplicates(owned), (std::vector<std::string>{"a.due", "duedate2007021014302510.due"}));
  EXPECT_EQ(duplicates(store_.ReloadFiles({"duedate2007021014302510.due"})),
            std::vector<std::string>{"duedate2007021014302510.due"});
  EXPECT_EQ(store_.Get(first.recordId).title, "first");
  EXPECT_TRUE(store_.Delete(first.recordId, ChangeMarker::kWrite).ok());
  EXPECT_FALSE(fs::exists(Records() / "z.due"));
  EXPECT_TRUE(fs::exists(FileOf(first.recordId)));
  EXPECT_TRUE(fs::exists(Records() / "a.due"));
}

// A load looks IDs up only once a file not named after its record has come: the name must be
// exactly the one a new file of that ID gets.
TEST(RecordFileNameTest, AFileIsNamedAfterItsRecordOnlyByTheExactName) {
  EXPECT_TRUE(IsNamedAfter("duedate2007021014302510.due", "2007021014302510"));
  EXPECT_TRUE(IsNamedAfter("duedate2007021014302510.due", " 2007021014302510\t"));
  EXPECT_TRUE(IsNamedAfter("duedatetext-id.due", "text-id"));
  for (const char* name : {"duedate2007021014302510.DUE", "Duedate2007021014302510.due",
                           "duedate20070210143025100.due", "duedate200702101430251.due",
                           "xduedate2007021014302510.due", "duedate2007021014302510.due.due",
                           "duedate 2007021014302510.due", "b.DUE"})
    EXPECT_FALSE(IsNamedAfter(name, "2007021014302510")) << name;
}

// A series ID is "recId" and the local date and time; one taken, here or by another process
// that claimed it on disk, moves to the next free second.
TEST_F(RecordStoreTest, SeriesIdsAreTheSecondTheyWereMadeInClaimedOnDisk) {
  EXPECT_EQ(store_.MakeSeriesId(), "recId20070210143025");
  EXPECT_EQ(store_.MakeSeriesId(), "recId20070210143026");
  RecordStore other(clock_, store_.workingDirectory(), store_.files());
  EXPECT_EQ(other.MakeSeriesId(), "recId20070210143027");
  WriteFile(".paylark-series-recId20070210143028", "");
  EXPECT_EQ(store_.MakeSeriesId(), "recId20070210143029");
  // A series already in the folder is never started again, even once its claim is gone.
  store_.Add(Member("recId20070210143030"));
  RecordStore later(clock_, store_.workingDirectory(), store_.files());
  ASSERT_TRUE(later.Reload().folderStatus.ok());
  EXPECT_EQ(later.MakeSeriesId(), "recId20070210143031");
  // The claims are ordinary leftovers once stale, and no load reads them as records.
  EXPECT_EQ(later.map().size(), 1u);
}

TEST_F(RecordStoreTest, SeriesAreFoundInMapOrderAndDeletedTogether) {
  const std::string series = store_.MakeSeriesId();
  std::vector<std::string> ids;
  ids.reserve(5);
  for (int i = 0; i < 5; ++i)
    ids.push_back(store_.Add(Member(series)).recordId);
  store_.Add(Member("recIdOther"));
  std::vector<std::string> expected;
  store_.map().ForEach([&](const DueRecord& r) {
    if (r.seriesId == series)
      expected.push_back(r.recordId);
  });
  EXPECT_EQ(store_.records().SeriesMembers(series), expected);
  EXPECT_EQ(expected.size(), 5u);

  ASSERT_TRUE(DeleteSeries(store_, series).ok());
  EXPECT_TRUE(store_.records().SeriesMembers(series).empty());
  EXPECT_EQ(store_.map().size(), 1u);
  for (const std::string& id : ids)
    EXPECT_FALSE(fs::exists(FileOf(id)));
}

TEST_F(RecordStoreTest, ABatchClaimsNewFilesAtOnceAndReplacesAtTheEnd) {
  StoreBatch batch(store_);
  DueRecord record = Member("recIdBatch");
  record.recordId = store_.Add(record).recordId;
  EXPECT_EQ(testing::FileBytes(FileOf(record.recordId)), EncodeRecord(record));
  record.title = "changed";
  ASSERT_TRUE(store_.Replace(record).ok());
  EXPECT_NE(testing::FileBytes(FileOf(record.recordId)), EncodeRecord(record));
  ASSERT_TRUE(batch.Finish().ok());
  EXPECT_EQ(testing::FileBytes(FileOf(record.recordId)), EncodeRecord(record));
}

TEST_F(RecordStoreTest, PaymentDetailsAndADamagedBlockSurviveTheMapAndAReload) {
  DueRecord paid = DueRecord::WithDefaults(clock_);
  paid.paid = 1;
  paid.paidOn = clock_.Now();
  paid.paidAmount = 95.5;
  paid.paymentReference = "FITID-7";
  paid.unknownFields = std::string("\x13\x01\x00\x00\x00z", 6);
  paid.recordId = store_.Add(paid).recordId;
  EXPECT_EQ(store_.Get(paid.recordId), paid);

  DueRecord damaged = DueRecord::WithDefaults(clock_);
  damaged.recordId = "2001010100000010";
  WriteFile("duedate2001010100000010.due", EncodeRecord(damaged) + "PLX1\x02");

  const ReloadReport report = store_.Reload();
  EXPECT_EQ(report.loaded, 2u);
  ASSERT_EQ(report.skipped.size(), 1u);
  EXPECT_EQ(report.skipped[0].fileName, "duedate2001010100000010.due");
  EXPECT_EQ(store_.Get(paid.recordId), paid);
  DueRecord reread = store_.Get(damaged.recordId);
  EXPECT_EQ(reread.damagedExtension, "PLX1\x02");

  reread.title = "Renamed";
  ASSERT_TRUE(store_.Replace(reread).ok());
  EXPECT_EQ(testing::FileBytes(FileOf(damaged.recordId)), EncodeRecord(reread));
  EXPECT_TRUE(testing::FileBytes(FileOf(damaged.recordId)).ends_with("PLX1\x02"));
}

}  // namespace
}  // namespace paylark
