// A records folder shared with other processes, played through the in-memory file system: a
// series that fails or is killed never costs another process a record, and never leaves blank
// dues behind.
#include <gtest/gtest.h>

#include <cerrno>
#include <set>

#include "core/records/record_codec.h"
#include "core/recurrence/series_generation.h"
#include "tests/core/recurrence/recurrence_fixture.h"
#include "tests/support/memory_file_system.h"

namespace paylark {
namespace {

using Call = MemoryFileSystem::Call;

constexpr char kRecords[] = "/home/user/Paylark Files";
// What a series made at the fixed clock's moment leaves to show its ID is taken.
constexpr char kClaim[] = ".paylark-series-recId20070201090000";

class SharedFolderTest : public ::testing::Test {
 protected:
  SharedFolderTest() { (void)store_.Reload(); }

  static std::string PathOf(const std::string& name) { return std::string(kRecords) + "/" + name; }

  static RecurrencePattern Daily(int count) {
    RecurrencePattern pattern = RecurrencePattern::Defaults(At(2007, 3, 1));
    pattern.kind = RecurrenceKind::kDay;
    pattern.dayInterval = "1";
    pattern.count = std::to_string(count);
    return pattern;
  }

  DueRecord Sheet() const {
    DueRecord sheet = DueRecord::WithDefaults(clock_);
    sheet.title = "Gym";
    sheet.payTo = "Club";
    sheet.amount = 35;
    return sheet;
  }

  FixedClock clock_{At(2007, 2, 1, 9, 0, 0)};
  MemoryFileSystem files_;
  RecordStore store_{clock_, "/home/user", files_};
};

// Regression: a failed series used to remove every ID it had handed out, with a record that
// another process had saved under one of them meanwhile.
TEST_F(SharedFolderTest, UndoingAFailedSeriesLeavesAnotherProcesssRecordAlone) {
  files_.FailNth(Call::kWrite, 5, ENOSPC);  // the series ID's claim, then three dues
  const SeriesResult series = GenerateDues(Daily(10), store_, Sheet(), DueOffset{});
  ASSERT_FALSE(series.success);
  ASSERT_EQ(series.recordIds.size(), 3u);
  // The ID the failed write was given is free on disk; another process takes it now.
  const std::string failedId = "2007020109000004";
  EXPECT_FALSE(store_.records().Contains(failedId));
  files_.Put(PathOf("duedate" + failedId + ".due"), "another process's record");

  ASSERT_TRUE(DeletePlaceholders(store_, series.recordIds).ok());
  EXPECT_EQ(files_.Names(kRecords),
            (std::vector<std::string>{kClaim, "duedate" + failedId + ".due"}));
}

TEST_F(SharedFolderTest, ASeriesTakesTheNextIdWhenAnotherProcessHoldsOne) {
  files_.Put(PathOf("duedate2007020109000002.due"), "another process's record");
  const SeriesResult series = GenerateDues(Daily(3), store_, Sheet(), DueOffset{});
  ASSERT_TRUE(series.success) << series.status.message();
  EXPECT_EQ(series.recordIds,
            (std::vector<std::string>{"2007020109000001", "2007020109000102", "2007020109000103"}));
  EXPECT_EQ(files_.Contents(PathOf("duedate2007020109000002.due")), "another process's record");
}

// Regression: placeholders and finished dues were two passes, so a kill between them left
// thousands of blank dues.
TEST_F(SharedFolderTest, ASeriesKilledMidwayLeavesAPrefixOfCompleteDues) {
  files_.FailNth(Call::kWrite, 7, EIO);  // the process dies at its seventh write, after five dues
  (void)GenerateDues(Daily(20), store_, Sheet(), DueOffset{});
  // What a killed writer leaves: a temporary file of a process that no longer runs.
  files_.Put(PathOf(".paylark-31337-6"), EncodeRecord(Sheet()));

  RecordStore next(clock_, "/home/user", files_);
  const ReloadReport report = next.Reload();
  EXPECT_TRUE(report.skipped.empty());
  ASSERT_EQ(next.map().size(), 5u);
  std::set<std::string> starts;
  next.map().ForEach([&](const DueRecord& due) {
    EXPECT_EQ(due.title, "Gym");
    EXPECT_EQ(due.amount, 35);
    EXPECT_EQ(due.dueDate.LinearSeconds() - due.startDate.LinearSeconds(), 86400);
    starts.insert(Text(due.startDate));
  });
  EXPECT_EQ(starts, (std::set<std::string>{"2007-03-01 00:00:00", "2007-03-02 00:00:00",
                                           "2007-03-03 00:00:00", "2007-03-04 00:00:00",
                                           "2007-03-05 00:00:00"}));
  // The series ID's claim stays until it is stale, so no process starts another with that ID.
  EXPECT_EQ(
      files_.Names(kRecords),
      (std::vector<std::string>{kClaim, "duedate2007020109000001.due",
                                "duedate2007020109000002.due", "duedate2007020109000003.due",
                                "duedate2007020109000004.due", "duedate2007020109000005.due"}));
}

TEST_F(SharedFolderTest, TemporaryFilesOfRunningWritersStayUntilTheyAreAnHourOld) {
  files_.SetProcess(5150, true);
  files_.Put(PathOf(".paylark-5150-1"), "being written");
  files_.Put(PathOf(".paylark-5150-2"), "left over");
  files_.SetAge(PathOf(".paylark-5150-2"), 3601);
  files_.Put(PathOf(".paylark-6160-1"), "writer gone");
  (void)store_.Reload();
  EXPECT_TRUE(files_.Contains(PathOf(".paylark-5150-1")));
  EXPECT_FALSE(files_.Contains(PathOf(".paylark-5150-2")));
  EXPECT_FALSE(files_.Contains(PathOf(".paylark-6160-1")));
}

TEST_F(SharedFolderTest, ADueDateBeyondTheLastYearRefusesTheSeriesBeforeAnyWrite) {
  RecurrencePattern pattern = Daily(3);
  pattern.rangeStart = At(9999, 12, 29);
  const SeriesResult series = GenerateDues(pattern, store_, Sheet(), DueOffset{});
  EXPECT_EQ(series.status.code(), StatusCode::kInvalidArgument);
  EXPECT_EQ(files_.Names(kRecords), std::vector<std::string>{kClaim});
}

TEST_F(SharedFolderTest, AFullDiskStopsARunawaySeriesCleanly) {
  EXPECT_EQ(SurveySeries(Daily(1000000000)).count, 2919324u);  // up to 9999-12-31
  files_.FailNth(Call::kWrite, 1001, ENOSPC);
  const SeriesResult series =
      GenerateDues(Daily(1000000000), store_, Sheet(), DueOffset{.days = 0});
  EXPECT_EQ(series.status.message(), "No space left on device");
  ASSERT_TRUE(DeletePlaceholders(store_, series.recordIds).ok());
  EXPECT_EQ(files_.Names(kRecords), std::vector<std::string>{kClaim});
  EXPECT_EQ(store_.map().size(), 0u);
}

}  // namespace
}  // namespace paylark
