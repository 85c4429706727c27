#include "core/recurrence/series_editing.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/recurrence/new_due.h"
#include "core/recurrence/series_generation.h"
#include "tests/core/recurrence/recurrence_fixture.h"

namespace paylark {
namespace {

class SeriesEditingTest : public StoreTest {
 protected:
  SeriesEditingTest() {
    RecurrencePattern pattern = RecurrencePattern::Defaults(At(2007, 3, 5, 9, 30));
    pattern.count = "3";
    ids_ = GenerateSeries(pattern, store_, clock_).recordIds;
    DueRecord sheet;
    sheet.title = "Gym";
    sheet.payTo = "Club";
    sheet.amount = 10;
    sheet.notes = "shared";
    sheet.paid = 1;
    EXPECT_TRUE(CompletePlaceholders(store_, ids_, sheet, DueOffset{}).ok());
  }

  // Reads the records back from their files, so a change only in the map is not enough.
  DueRecord Stored(std::size_t index) {
    (void)store_.Reload();
    return store_.Get(ids_[index]);
  }

  std::vector<std::string> ids_;
};

TEST_F(SeriesEditingTest, SeriesPositionFollowsDueDatesChangesAndEachDeleteChoice) {
  auto positions = [this] {
    std::string text;
    for (const std::string& id : ids_) {
      const auto at = store_.records().SeriesPositionOf(id);
      text += at ? std::to_string(at->position) + "/" + std::to_string(at->count) + " " : "- ";
    }
    return text;
  };
  EXPECT_EQ(positions(), "1/3 2/3 3/3 ");
  // A whole-series change that also moves the edited member's due date past the last one.
  const DueRecord stored = store_.Get(ids_[1]);
  DueRecord edited = stored;
  edited.amount = 25;
  edited.dueDate = At(2007, 4, 1);
  ASSERT_TRUE(ApplyModify(store_, SeriesChoice::kWholeSeries, edited, stored).ok());
  EXPECT_EQ(positions(), "1/3 3/3 2/3 ");
  (void)store_.Reload();
  EXPECT_EQ(positions(), "1/3 3/3 2/3 ");
  ASSERT_TRUE(ApplyDelete(store_, SeriesChoice::kCancel, store_.Get(ids_[0])).ok());
  EXPECT_EQ(store_.map().size(), 3u);
  ASSERT_TRUE(ApplyDelete(store_, SeriesChoice::kThisRecord, store_.Get(ids_[0])).ok());
  EXPECT_EQ(positions(), "- 2/2 1/2 ");
  EXPECT_EQ(store_.Reload().loaded, 2u);
  ASSERT_TRUE(ApplyDelete(store_, SeriesChoice::kWholeSeries, store_.Get(ids_[2])).ok());
  EXPECT_EQ(positions(), "- - - ");
  EXPECT_EQ(store_.Reload().loaded, 0u);
  const AddResult single = store_.Add(DueRecord{});
  EXPECT_FALSE(store_.records().SeriesPositionOf(single.recordId));
}

TEST_F(SeriesEditingTest, WholeSeriesAmountChangeReachesEveryMember) {
  const DueRecord stored = store_.Get(ids_[1]);
  DueRecord edited = stored;
  edited.amount = 25;
  edited.notes = "only mine";
  edited.dueDate = At(2007, 4, 1);
  ASSERT_TRUE(ApplyModify(store_, SeriesChoice::kWholeSeries, edited, stored).ok());
  EXPECT_EQ(Stored(1), edited);
  for (std::size_t index : {0u, 2u}) {
    const DueRecord member = Stored(index);
    EXPECT_EQ(member.amount, 25);
    EXPECT_EQ(member.notes, "shared");
    EXPECT_EQ(member.paid, index == 0 ? 1 : 0);
    EXPECT_EQ(member.dueDate, member.startDate.AddDays(1).value());
  }
}

// Regression: raising December's rent rewrote the paid dues of July to October.
TEST_F(SeriesEditingTest, ThisAndLaterSparesPaidAndEarlierMembers) {
  const DueRecord stored = store_.Get(ids_[1]);
  DueRecord edited = stored;
  edited.title = "Gym Plus";
  edited.amount = 12.5;
  ASSERT_TRUE(ApplyModify(store_, SeriesChoice::kThisAndLater, edited, stored).ok());
  EXPECT_EQ(Stored(0).amount, 10);  // paid and earlier
  EXPECT_EQ(Stored(0).title, "Gym");
  EXPECT_EQ(Stored(1), edited);
  EXPECT_EQ(Stored(2).amount, 12.5);
  EXPECT_EQ(Stored(2).title, "Gym Plus");
  EXPECT_EQ(Stored(2).notes, "shared");
}

TEST_F(SeriesEditingTest, ScopeCountsNameTheDuesEachAnswerChanges) {
  auto counts = [this](std::size_t index) {
    const SeriesScopeCounts c = CountSeriesScopes(store_, store_.Get(ids_[index]));
    return std::to_string(c.thisRecord) + " " + std::to_string(c.thisAndLater) + " " +
           std::to_string(c.wholeSeries);
  };
  EXPECT_EQ(counts(0), "1 3 3");  // the paid first due, then two unpaid later ones
  EXPECT_EQ(counts(1), "1 2 3");
  EXPECT_EQ(counts(2), "1 1 3");
  DueRecord last = store_.Get(ids_[2]);
  last.paid = 1;
  ASSERT_TRUE(store_.Replace(last).ok());
  EXPECT_EQ(counts(1), "1 1 3");  // a paid later due is spared as well
  EXPECT_EQ(MembersInScope(store_, store_.Get(ids_[1]), SeriesChoice::kThisAndLater),
            std::vector<std::string>{ids_[1]});
  EXPECT_EQ(MembersInScope(store_, store_.Get(ids_[1]), SeriesChoice::kWholeSeries).size(), 3u);
  const AddResult single = store_.Add(DueRecord{});
  const SeriesScopeCounts alone = CountSeriesScopes(store_, store_.Get(single.recordId));
  EXPECT_EQ(alone.thisAndLater + alone.wholeSeries, 2u);
}

TEST_F(SeriesEditingTest, WholeSeriesChangeOfDatesNotesOrPaidChangesOneRecord) {
  const DueRecord stored = store_.Get(ids_[2]);
  DueRecord edited = stored;
  edited.startDate = At(2007, 6, 1);
  edited.dueDate = At(2007, 6, 2);
  edited.notes = "changed";
  edited.paid = 1;
  EXPECT_TRUE(SeriesUnchanged(edited, stored));
  const DueRecord other = store_.Get(ids_[1]);
  ASSERT_TRUE(ApplyModify(store_, SeriesChoice::kWholeSeries, edited, stored).ok());
  EXPECT_EQ(Stored(2), edited);
  EXPECT_EQ(Stored(1), other);
}

TEST_F(SeriesEditingTest, ThisRecordChoiceChangesOneRecordWhateverChanged) {
  const DueRecord stored = store_.Get(ids_[0]);
  DueRecord edited = stored;
  edited.title = "Pool";
  edited.type = kTypePersonal;
  const DueRecord other = store_.Get(ids_[1]);
  ASSERT_TRUE(ApplyModify(store_, SeriesChoice::kThisRecord, edited, stored).ok());
  EXPECT_EQ(Stored(0), edited);
  EXPECT_EQ(Stored(1), other);
  ASSERT_TRUE(ApplyModify(store_, SeriesChoice::kCancel, stored, edited).ok());
  EXPECT_EQ(Stored(0), edited);
}

TEST_F(SeriesEditingTest, WholeSeriesChoiceOnASingleDueReplacesIt) {
  DueRecord single;
  single.title = "Phone";
  const std::string id = store_.Add(single).recordId;
  const DueRecord stored = store_.Get(id);
  DueRecord edited = stored;
  edited.amount = 40;
  ASSERT_TRUE(ApplyModify(store_, SeriesChoice::kWholeSeries, edited, stored).ok());
  (void)store_.Reload();
  EXPECT_EQ(store_.Get(id).amount, 40);
  ASSERT_TRUE(ApplyDelete(store_, SeriesChoice::kWholeSeries, edited).ok());
  EXPECT_FALSE(store_.records().Contains(id));
  EXPECT_EQ(store_.map().size(), 3u);
}

TEST_F(SeriesEditingTest, ModifySeriesStopsAtTheFirstFailedWrite) {
  const std::vector<std::string> members =
      store_.records().SeriesMembers(store_.Get(ids_[0]).seriesId);
  std::filesystem::permissions(RecordsFolder() + "/duedate" + members[1] + ".due",
                               std::filesystem::perms::owner_read);
  DueRecord edited = store_.Get(members[0]);
  edited.amount = 99;
  EXPECT_EQ(ModifySeries(store_, edited).code(), StatusCode::kIoError);
  (void)store_.Reload();
  EXPECT_EQ(store_.Get(members[0]).amount, 99);
  EXPECT_EQ(store_.Get(members[2]).amount, 10);
}

// Every many-record operation counts its records for a progress dialog: 1..N of N.
TEST_F(SeriesEditingTest, ManyRecordOperationsReportEachRecord) {
  std::vector<std::pair<std::size_t, std::size_t>> heard;
  const Progress listen = [&heard](std::size_t done, std::size_t total) {
    heard.emplace_back(done, total);
  };
  const std::vector<std::pair<std::size_t, std::size_t>> oneToThree = {{1, 3}, {2, 3}, {3, 3}};
  DueRecord edited = store_.Get(ids_[0]);
  edited.amount = 12;
  ASSERT_TRUE(ModifySeries(store_, edited, listen).ok());
  EXPECT_EQ(heard, oneToThree);

  RecurrencePattern pattern = RecurrencePattern::Defaults(At(2007, 3, 5, 9, 30));
  pattern.count = "3";
  heard.clear();
  const SeriesResult more = GenerateSeries(pattern, store_, clock_, listen);
  EXPECT_EQ(heard, oneToThree);
  pattern.rangeEnd = RangeEnd::kByDate;
  pattern.endBy = At(2007, 3, 7, 23, 59);
  heard.clear();
  const SeriesResult byDate = GenerateSeries(pattern, store_, clock_, listen);
  ASSERT_EQ(byDate.recordIds.size(), 1u);
  EXPECT_EQ(heard, (std::vector<std::pair<std::size_t, std::size_t>>{{1, 0}}));

  heard.clear();
  ASSERT_TRUE(CompletePlaceholders(store_, more.recordIds, edited, DueOffset{}, listen).ok());
  EXPECT_EQ(heard, oneToThree);
  heard.clear();
  ASSERT_TRUE(DeleteSeries(store_, more.seriesId, listen).ok());
  EXPECT_EQ(heard, oneToThree);
  heard.clear();
  ASSERT_TRUE(DeletePlaceholders(store_, byDate.recordIds, listen).ok());
  EXPECT_EQ(heard, (std::vector<std::pair<std::size_t, std::size_t>>{{1, 1}}));
}

}  // namespace
}  // namespace paylark
