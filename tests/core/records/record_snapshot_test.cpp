// The snapshot only ever saves reading files: a load through it gives exactly the map that
// reading every file gives, whatever happened to the folder or to the snapshot meanwhile.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <optional>
#include <utility>
#include <vector>

#include "core/records/record_codec.h"
#include "core/records/record_loading.h"
#include "core/records/record_snapshot.h"
#include "core/records/record_store.h"
#include "tests/support/memory_file_system.h"

namespace paylark {
namespace {

constexpr char kHome[] = "/home/user";
constexpr char kRecords[] = "/home/user/Paylark Files";
constexpr char kSnapshot[] = "/home/user/.cache/paylark/records.snapshot";
constexpr char kImage[] = "/home/user/.cache/paylark/records.map";

std::string FileOf(int n) {
  char name[64];
  std::snprintf(name, sizeof name, "%s/duedate20260101%08d.due", kRecords, n);
  return name;
}

class RecordSnapshotTest : public ::testing::Test {
 protected:
  // Enough records that the files are read on several threads.
  static constexpr int kRecordCount = 600;

  RecordSnapshotTest() {
    for (int n = 0; n < kRecordCount; ++n)
      PutRecord(n, "Due " + std::to_string(n));
  }

  DueRecord MakeRecord(int n, const std::string& title) const {
    DueRecord record = DueRecord::WithDefaults(clock_);
    char id[32];
    std::snprintf(id, sizeof id, "20260101%08d", n);
    record.recordId = id;
    record.title = title;
    record.amount = n * 1.25;
    record.seriesId = n % 3 == 0 ? "recId20260101000000" : "";
    return record;
  }

  void PutRecord(int n, const std::string& title) {
    files_.Put(FileOf(n), EncodeRecord(MakeRecord(n, title)));
  }

  // Replaces a record file the way Paylark and sync engines do: a new file renamed over it.
  void ReplaceRecord(int n, const std::string& title) {
    const std::string temporary = std::string(kRecords) + "/.new";
    ASSERT_TRUE(files_.Write(temporary, EncodeRecord(MakeRecord(n, title)), 0644).ok());
    ASSERT_TRUE(files_.Rename(temporary, FileOf(n), Placement::kReplace).ok());
  }

  // Loads through the snapshot, checks the map against a load that reads every file, and gives
  // how many files the snapshot load had to read.
  std::size_t LoadAndCompare() {
    // A start from the snapshot alone, confirmed by a scan, or not (then a Reload follows).
    RecordStore quick(clock_, kHome, files_);
    quick.SetSnapshotFile(kSnapshot);
    const bool fromSnapshot = quick.LoadSnapshot({});
    EXPECT_EQ(quick.AwaitsConfirmation(), fromSnapshot);
    const std::optional<ReloadReport> confirmed = quick.Confirm(
        FolderLoader::CheckJob(quick.files(), RecordsFolderPath(quick.workingDirectory()))());
    quickStartConfirmed_ = confirmed.has_value();
    RecordStore withSnapshot(clock_, kHome, files_);
    withSnapshot.SetSnapshotFile(kSnapshot);
    const ReloadReport report = withSnapshot.Reload();
    RecordStore everyFile(clock_, kHome, files_);
    const ReloadReport reference = everyFile.Reload();
    EXPECT_EQ(MapOf(withSnapshot), MapOf(everyFile));
    EXPECT_EQ(report.loaded, reference.loaded);
    EXPECT_EQ(Skipped(report), Skipped(reference));
    EXPECT_EQ(withSnapshot.records().SeriesMembers("recId20260101000000"),
              everyFile.records().SeriesMembers("recId20260101000000"));
    if (confirmed) {
      EXPECT_EQ(MapOf(quick), MapOf(everyFile));
      EXPECT_EQ(Skipped(*confirmed), Skipped(reference));
      EXPECT_EQ(quick.records().SeriesMembers("recId20260101000000"),
                everyFile.records().SeriesMembers("recId20260101000000"));
    }
    return report.filesRead;
  }

  // A load that writes the snapshot and the map image before it returns.
  void LoadWritingAtOnce() {
    RecordStore atOnce(clock_, kHome, files_);
    atOnce.SetSnapshotFile(kSnapshot);
    ASSERT_EQ(atOnce.Reload().filesRead, std::size_t{kRecordCount});
  }

  static std::vector<std::string> Skipped(const ReloadReport& report) {
    std::vector<std::string> skipped;
    for (const SkippedFile& file : report.skipped)
      skipped.push_back(file.fileName + ": " + file.reason);
    return skipped;
  }

  static std::vector<DueRecord> MapOf(const RecordStore& store) {
    std::vector<DueRecord> records;
    store.map().ForEach([&](const DueRecord& record) { records.push_back(record); });
    return records;
  }

  FixedClock clock_{*OleDateTime::FromCivil(2026, 12, 6, 9, 0, 0)};
  MemoryFileSystem files_;
  bool quickStartConfirmed_ = false;  // by the last LoadAndCompare
};

TEST_F(RecordSnapshotTest, ASecondLoadOpensNoFileAndGivesTheSameMap) {
  EXPECT_EQ(LoadAndCompare(), std::size_t{kRecordCount});
  EXPECT_FALSE(quickStartConfirmed_);  // there was no snapshot
  EXPECT_TRUE(files_.Contains(kSnapshot));
  EXPECT_EQ(LoadAndCompare(), 0u);
  EXPECT_TRUE(quickStartConfirmed_);
}

// A folder of several shares is read share by share while the one before is mapped: every
// record arrives whole, and the snapshot then holds each file's bytes.
TEST_F(RecordSnapshotTest, ALoadOfSeveralSharesMapsEveryRecord) {
  const int count = static_cast<int>(2 * kLoadShare + 7);
  for (int n = kRecordCount; n < count; ++n)
    PutRecord(n, "Due " + std::to_string(n));
  EXPECT_EQ(LoadAndCompare(), static_cast<std::size_t>(count));
  RecordStore store(clock_, kHome, files_);
  ASSERT_EQ(store.Reload().loaded, static_cast<std::size_t>(count));
  int whole = 0;
  store.map().ForEach([&](const DueRecord& record) {
    whole += record.title == "Due " + std::to_string(std::stoi(record.recordId.substr(8))) ? 1 : 0;
  });
  EXPECT_EQ(whole, count);
  EXPECT_EQ(LoadAndCompare(), 0u);
}

// A snapshot and a map image written behind the load, while the store moves on to another folder,
// are byte for byte the ones written at once, and serve the next load whole.
TEST_F(RecordSnapshotTest, WhatIsWrittenBehindTheLoadIsWhatIsWrittenAtOnce) {
  LoadWritingAtOnce();
  const std::string written = files_.Contents(kSnapshot);
  const std::string image = files_.Contents(kImage);
  ASSERT_TRUE(files_.Remove(kSnapshot).ok());
  ASSERT_TRUE(files_.Remove(kImage).ok());
  ReloadReport report;
  {
    RecordStore behind(clock_, kHome, files_);
    behind.SetSnapshotFile(kSnapshot, SnapshotWriting::kBehind);
    report = behind.Reload();
    behind.SetWorkingDirectory("/elsewhere");
  }  // a store's end waits for what is written behind it
  EXPECT_EQ(report.loaded, std::size_t{kRecordCount});
  EXPECT_TRUE(files_.Contents(kSnapshot) == written);
  EXPECT_TRUE(files_.Contents(kImage) == image);
  EXPECT_EQ(LoadAndCompare(), 0u);
}

// The index is read while its image is written behind the load: a change made meanwhile waits
// for the writer, and the image shows the index as the load left it.
TEST_F(RecordSnapshotTest, AChangeWaitsForTheImageWrittenBehind) {
  LoadWritingAtOnce();
  const std::string image = files_.Contents(kImage);
  ASSERT_TRUE(files_.Remove(kImage).ok());
  RecordIndex index;
  {
    FolderLoader behind(files_);
    behind.SetSnapshotFile(kSnapshot, SnapshotWriting::kBehind);
    (void)behind.Load(RecordFolder(files_, kRecords), index, {});
    index.Set(MakeRecord(7, "Changed"));
  }
  EXPECT_EQ(index.map().Find(MakeRecord(7, "").recordId)->title, "Changed");
  EXPECT_TRUE(files_.Contents(kImage) == image);
}

// A reload from the snapshot tells of the files it read; one that takes a while (here a listing
// held back) tells of the snapshot's records until it ends, so that its caller is never left
// waiting blind.
TEST_F(RecordSnapshotTest, AReloadThatTakesAWhileReportsTheSnapshotsRecords) {
  ASSERT_EQ(LoadAndCompare(), std::size_t{kRecordCount});
  RecordStore store(clock_, kHome, files_);
  store.SetSnapshotFile(kSnapshot);
  using Reported = std::pair<std::size_t, std::size_t>;
  std::vector<Reported> reports;
  std::promise<void> reported;
  const Progress progress = [&](std::size_t done, std::size_t total) {
    if (reports.empty())
      reported.set_value();
    reports.emplace_back(done, total);
  };
  const auto snapshotRecords = [&] {
    return std::count(reports.begin(), reports.end(), Reported(kRecordCount, kRecordCount));
  };
  ReplaceRecord(1, "Replaced");
  EXPECT_EQ(store.Reload(progress).filesRead, 1u);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back(), Reported(1, 1));
  EXPECT_EQ(snapshotRecords(), static_cast<std::ptrdiff_t>(reports.size()) - 1);

  reports.clear();
  reported = {};
  // Held until the first report, or for long enough to fail rather than hang without one.
  files_.OnList(
      [ready = reported.get_future().share()] { ready.wait_for(std::chrono::seconds(30)); });
  EXPECT_EQ(store.Reload(progress).filesRead, 0u);
  files_.OnList({});
  EXPECT_FALSE(reports.empty());
  EXPECT_EQ(snapshotRecords(), static_cast<std::ptrdiff_t>(reports.size()));
}

// A file changed in place within the last change-time tick is read again until its identity can
// be trusted; that alone is no reason to write the snapshot again.
TEST_F(RecordSnapshotTest, AFileChangedAMomentAgoIsReadAgainWithoutRewritingTheSnapshot) {
  ASSERT_EQ(LoadAndCompare(), std::size_t{kRecordCount});
  files_.SetChangeAge(FileOf(5), 0);
  EXPECT_EQ(LoadAndCompare(), 1u);
  const int writes = files_.CallsMade(MemoryFileSystem::Call::kWrite);
  EXPECT_EQ(LoadAndCompare(), 1u);
  EXPECT_EQ(files_.CallsMade(MemoryFileSystem::Call::kWrite), writes);
}

// Each kind of change behind Paylark's back, alone, is read again (the changed file only) and
// keeps a start from the snapshot from being confirmed; once a load has brought the snapshot up
// to date, the next one is.
TEST_F(RecordSnapshotTest, FilesChangedBehindItsBackAreReadAgainAndUnconfirmTheQuickStart) {
  ASSERT_EQ(LoadAndCompare(), std::size_t{kRecordCount});
  ASSERT_EQ(LoadAndCompare(), 0u);
  ASSERT_TRUE(quickStartConfirmed_);
  const std::vector<std::function<void()>> changes = {
      [&] { PutRecord(kRecordCount, "Added"); },  // a new name
      [&] { ReplaceRecord(1, "Replaced"); },
      // A replacement that reuses the old file's inode number still has a new change time.
      [&] {
        const std::uint64_t inode = files_.InodeOf(FileOf(2));
        ReplaceRecord(2, "Due 2");  // the same bytes, even
        files_.SetInode(FileOf(2), inode);
      },
      [&] { ASSERT_TRUE(files_.Remove(FileOf(3)).ok()); },
      [&] {
        ASSERT_TRUE(files_.Rename(FileOf(4), FileOf(kRecordCount + 1), Placement::kCreateNew).ok());
      },
      [&] { files_.SetChangeAge(FileOf(5), 0); },
  };
  const std::size_t read[] = {1, 1, 1, 0, 1, 1};
  for (std::size_t i = 0; i < changes.size(); ++i) {
    changes[i]();
    EXPECT_EQ(LoadAndCompare(), read[i]) << "change " << i;
    EXPECT_FALSE(quickStartConfirmed_) << "change " << i;
    files_.SetChangeAge(FileOf(5), 86400);
    LoadAndCompare();
    LoadAndCompare();
    EXPECT_TRUE(quickStartConfirmed_) << "change " << i;
  }
}

// A record file that does not decode stays in the snapshot with its bytes, so that it does not
// make every start read the folder again: it is skipped the same way each time.
TEST_F(RecordSnapshotTest, ARecordFileThatDoesNotDecodeIsSkippedFromTheSnapshotToo) {
  files_.Put(FileOf(kRecordCount),
             "\x05"
             "ab");
  files_.Put(FileOf(kRecordCount + 1), "");
  EXPECT_EQ(LoadAndCompare(), std::size_t{kRecordCount + 2});
  EXPECT_EQ(LoadAndCompare(), 0u);
  EXPECT_TRUE(quickStartConfirmed_);
  RecordStore store(clock_, kHome, files_);
  store.SetSnapshotFile(kSnapshot);
  const ReloadReport report = store.Reload();
  ASSERT_EQ(report.skipped.size(), 2u);
  EXPECT_EQ(report.skipped[0].fileName, FileOf(kRecordCount).substr(sizeof kRecords));
}

// Records of every shape the files hold map from the snapshot exactly as from the files: texts
// converted from Windows-1252, payment details, a damaged block, a text ID, an ID with spaces
// around it, fields outside a byte, long notes, and a later file of another name that takes an
// ID over from the file named after it.
TEST_F(RecordSnapshotTest, RecordsOfEveryShapeMapAsTheirFilesDo) {
  DueRecord odd = MakeRecord(kRecordCount, "\xE9t\xE9");
  odd.type = 1000;
  odd.paid = INT32_MIN;
  odd.startDate = OleDateTime(46000.0, static_cast<OleDateTime::Status>(300));
  odd.paidOn = *OleDateTime::FromCivil(2026, 12, 1);
  odd.paidAmount = 12.34;
  odd.paymentReference = "TX-1";
  files_.Put(FileOf(kRecordCount), EncodeRecord(odd));
  files_.Put(FileOf(kRecordCount + 1),
             EncodeRecord(MakeRecord(kRecordCount + 1, "damaged block")) + "XYZ!");
  DueRecord text = MakeRecord(0, "text ID");
  text.recordId = "text-id";
  text.notes = std::string(700'000, 'n');
  files_.Put(std::string(kRecords) + "/duedatetext-id.due", EncodeRecord(text));
  DueRecord spaced = MakeRecord(0, "spaced ID");
  spaced.recordId = " 77 ";
  files_.Put(std::string(kRecords) + "/duedate77.due", EncodeRecord(spaced));
  files_.Put(std::string(kRecords) + "/zz.due", EncodeRecord(MakeRecord(3, "a copy")));
  EXPECT_EQ(LoadAndCompare(), std::size_t{kRecordCount + 5});
  EXPECT_EQ(LoadAndCompare(), 0u);
  EXPECT_TRUE(quickStartConfirmed_);
  RecordStore store(clock_, kHome, files_);
  store.SetSnapshotFile(kSnapshot);
  ASSERT_TRUE(store.LoadSnapshot({}));
  EXPECT_EQ(store.Get(odd.recordId).title, "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(store.Get(odd.recordId).paid, INT32_MIN);
  EXPECT_EQ(store.Get("text-id").notes.size(), 700'000u);
  EXPECT_EQ(store.Get(" 77 ").title, "spaced ID");
  EXPECT_EQ(store.Get(MakeRecord(3, "").recordId).title, "a copy");
}

TEST_F(RecordSnapshotTest, ADamagedOrForeignSnapshotIsIgnoredAndRewritten) {
  ASSERT_EQ(LoadAndCompare(), std::size_t{kRecordCount});
  const std::string good = files_.Contents(kSnapshot);
  std::string flipped = good;
  flipped[flipped.size() / 2] ^= 0x20;
  std::string otherVersion = good;
  otherVersion[16] = static_cast<char>(kSnapshotVersion + 1);
  // Entries out of name order behind a right checksum are refused too, though some were mapped.
  std::vector<SnapshotEntry> unordered = DecodeSnapshot(good, kRecords).value();
  std::swap(unordered[5], unordered[6]);
  std::vector<std::string> damaged = {"",         "PAYLARK SNAPSHOT",
                                      flipped,    otherVersion,
                                      good + "x", EncodeSnapshot(kRecords, unordered)};
  for (std::size_t cut : {std::size_t{20}, std::size_t{40}, good.size() / 3, good.size() - 1})
    damaged.push_back(good.substr(0, cut));
  for (const std::string& bytes : damaged) {
    files_.Put(kSnapshot, bytes);
    EXPECT_EQ(LoadAndCompare(), std::size_t{kRecordCount}) << bytes.size();
    EXPECT_EQ(files_.Contents(kSnapshot), good);
  }
  // A snapshot of another records folder holds nothing for this one.
  files_.Put(kSnapshot, EncodeSnapshot("/elsewhere/Paylark Files", {}));
  EXPECT_EQ(LoadAndCompare(), std::size_t{kRecordCount});
  EXPECT_EQ(files_.Contents(kSnapshot), good);
}

// A start copies the map back from its image, without the snapshot; the store then changes and
// reloads as one that read every file.
TEST_F(RecordSnapshotTest, AStartFromTheMapImageNeedsNoSnapshotAndChangesAsAFullRead) {
  ASSERT_EQ(LoadAndCompare(), std::size_t{kRecordCount});
  ASSERT_TRUE(files_.Contains(kImage));
  ASSERT_TRUE(files_.Remove(kSnapshot).ok());
  RecordStore store(clock_, kHome, files_);
  store.SetSnapshotFile(kSnapshot);
  ASSERT_TRUE(store.LoadSnapshot({}));
  EXPECT_FALSE(files_.Contains(kSnapshot));
  ASSERT_TRUE(store.Confirm(FolderLoader::CheckJob(files_, kRecords)()).has_value());
  DueRecord changed = MakeRecord(7, "Changed");
  changed.dueDate = *OleDateTime::FromCivil(2027, 3, 1);
  ASSERT_TRUE(store.Replace(changed).ok());
  ASSERT_TRUE(store.Delete(MakeRecord(9, "").recordId, ChangeMarker::kSkip).ok());
  ASSERT_TRUE(store.Add(MakeRecord(kRecordCount, "Added")).status.ok());
  RecordStore everyFile(clock_, kHome, files_);
  (void)everyFile.Reload();
  EXPECT_EQ(MapOf(store), MapOf(everyFile));
  EXPECT_EQ(store.records().SeriesMembers("recId20260101000000"),
            everyFile.records().SeriesMembers("recId20260101000000"));
  EXPECT_EQ(store.records().SeriesPositionOf(MakeRecord(3, "").recordId),
            everyFile.records().SeriesPositionOf(MakeRecord(3, "").recordId));
}

// A damaged image is never used: the start maps the snapshot and writes the image again.
TEST_F(RecordSnapshotTest, ADamagedMapImageIsIgnoredAndWrittenAgain) {
  files_.Put(FileOf(kRecordCount), "not a record");
  ASSERT_EQ(LoadAndCompare(), std::size_t{kRecordCount + 1});
  const std::string good = files_.Contents(kImage);
  std::string flipped = good;
  flipped[flipped.size() / 2] ^= 0x01;
  for (const std::string& bytes : {flipped, good.substr(0, good.size() - 1), std::string()}) {
    files_.Put(kImage, bytes);
    EXPECT_EQ(LoadAndCompare(), 0u);
    EXPECT_TRUE(quickStartConfirmed_);
    EXPECT_EQ(files_.Contents(kImage), good);
  }
}

// A writer that died while writing leaves its temporary snapshot: the next write removes it, but
// not one of a writer that still runs, nor other files of the cache folder.
TEST_F(RecordSnapshotTest, AStaleTemporarySnapshotGoesWithTheNextWrite) {
  const std::string dead = std::string(kSnapshot) + ".4711.new";
  const std::string running = std::string(kSnapshot) + ".4712.new";
  const std::string other = std::string(kSnapshot) + ".notes";
  for (const std::string& path : {dead, running, other})
    files_.Put(path, "half a snapshot");
  files_.SetProcess(4711, false);
  files_.SetProcess(4712, true);
  EXPECT_EQ(LoadAndCompare(), std::size_t{kRecordCount});
  EXPECT_FALSE(files_.Contains(dead));
  EXPECT_TRUE(files_.Contains(running));
  EXPECT_TRUE(files_.Contains(other));
}

TEST_F(RecordSnapshotTest, AnUnwritableCacheOnlyCostsReading) {
  files_.FailAlways(MemoryFileSystem::Call::kWrite, EROFS);
  EXPECT_EQ(LoadAndCompare(), std::size_t{kRecordCount});
  EXPECT_EQ(LoadAndCompare(), std::size_t{kRecordCount});
  EXPECT_FALSE(files_.Contains(kSnapshot));
}

TEST(SnapshotPath, EachRecordsFolderHasItsOwnFile) {
  const std::string one = SnapshotPathFor("/c", "/home/a/Paylark Files");
  EXPECT_TRUE(one.starts_with("/c/") && one.ends_with(".snapshot")) << one;
  EXPECT_EQ(one.size(), std::string("/c/0123456789abcdef.snapshot").size());
  EXPECT_NE(one, SnapshotPathFor("/c", "/home/b/Paylark Files"));
  EXPECT_EQ(one, SnapshotPathFor("/c", "/home/a/Paylark Files"));
}

}  // namespace
}  // namespace paylark
