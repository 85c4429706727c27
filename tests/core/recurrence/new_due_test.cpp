#include "core/recurrence/new_due.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/recurrence/series_generation.h"
#include "tests/core/recurrence/recurrence_fixture.h"

namespace paylark {
namespace {

class NewDueTest : public StoreTest {
 protected:
  std::vector<std::string> Placeholders(int count) {
    RecurrencePattern pattern = RecurrencePattern::Defaults(At(2007, 3, 5, 9, 30));
    pattern.count = std::to_string(count);
    return GenerateSeries(pattern, store_, clock_).recordIds;
  }

  static DueRecord Sheet(std::int32_t paid) {
    DueRecord sheet;
    sheet.title = "Rent";
    sheet.payTo = "Landlord";
    sheet.account = "Checking";
    sheet.amount = 850.5;
    sheet.type = kTypePersonal;
    sheet.notes = "first line\r\nsecond line";
    sheet.paid = paid;
    sheet.startDate = At(1999, 1, 1);  // the sheet's own dates play no part
    sheet.dueDate = At(1999, 1, 1);
    return sheet;
  }
};

TEST_F(NewDueTest, CompletedDuesTakeTheSheetAndOnlyTheFirstIsPaid) {
  const std::vector<std::string> ids = Placeholders(3);
  const std::string seriesId = store_.Get(ids[0]).seriesId;
  ASSERT_TRUE(CompletePlaceholders(store_, ids, Sheet(1), DueOffset{}).ok());
  ASSERT_EQ(store_.Reload().loaded, 3u);
  for (std::size_t index = 0; index < ids.size(); ++index) {
    const DueRecord record = store_.Get(ids[index]);
    EXPECT_EQ(record.recordId, ids[index]);
    EXPECT_EQ(record.seriesId, seriesId);
    EXPECT_EQ(record.title, "Rent");
    EXPECT_EQ(record.payTo, "Landlord");
    EXPECT_EQ(record.account, "Checking");
    EXPECT_EQ(record.amount, 850.5);
    EXPECT_EQ(record.type, kTypePersonal);
    EXPECT_EQ(record.notes, "first line\r\nsecond line");
    EXPECT_EQ(record.paid, index == 0 ? 1 : 0);
  }
  EXPECT_EQ(Text(store_.Get(ids[1]).startDate), "2007-03-08 09:30:00");
  EXPECT_EQ(Text(store_.Get(ids[1]).dueDate), "2007-03-09 09:30:00");
}

TEST_F(NewDueTest, OffsetAddsDaysAndTimeOfDay) {
  const std::vector<std::string> ids = Placeholders(2);
  ASSERT_TRUE(CompletePlaceholders(store_, ids, Sheet(0), DueOffset{0, 12, 30, 0}).ok());
  EXPECT_EQ(Text(store_.Get(ids[0]).dueDate), "2007-03-05 22:00:00");
  EXPECT_EQ(Text(store_.Get(ids[1]).dueDate), "2007-03-08 22:00:00");
  EXPECT_EQ(store_.Get(ids[0]).paid, 0);
}

TEST_F(NewDueTest, DueDatesBeyondTheLastYearWriteNothing) {
  const std::vector<std::string> ids = Placeholders(2);
  const Status status = CompletePlaceholders(store_, ids, Sheet(0), DueOffset{3'000'000, 0, 0, 0});
  EXPECT_EQ(status.code(), StatusCode::kInvalidArgument);
  EXPECT_EQ(store_.Get(ids[0]).title, "");
}

TEST_F(NewDueTest, DeletedPlaceholdersLeaveNoFileAndNoMarker) {
  const std::vector<std::string> ids = Placeholders(5);
  ASSERT_TRUE(DeletePlaceholders(store_, ids).ok());
  EXPECT_EQ(store_.map().size(), 0u);
  EXPECT_EQ(store_.Reload().loaded, 0u);
  EXPECT_FALSE(std::filesystem::exists(RecordsFolder() + "/preferences.alm"));
}

}  // namespace
}  // namespace paylark
