#include "core/base/ole_date_time.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace paylark {
namespace {

OleDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return *OleDateTime::FromCivil(y, mo, d, h, mi, s);
}

TEST(OleDateTimeTest, CivilDatesMapToTheStoredDayCounts) {
  struct Case {
    int y, mo, d, h, mi, s;
    double value;
  };
  const Case cases[] = {
      {2007, 2, 1, 9, 0, 0, 39114.375},   {2007, 2, 10, 18, 0, 0, 39123.75},
      {1899, 12, 29, 6, 0, 0, -1.25},     {1899, 12, 30, 0, 0, 0, 0.0},
      {1900, 3, 1, 0, 0, 0, 61.0},        {100, 1, 1, 0, 0, 0, -657434.0},
      {9999, 12, 31, 0, 0, 0, 2958465.0},
  };
  for (const Case& c : cases) {
    const OleDateTime date = At(c.y, c.mo, c.d, c.h, c.mi, c.s);
    EXPECT_EQ(date.value(), c.value) << c.y << "-" << c.mo << "-" << c.d;
    const CivilDateTime back = date.ToCivil();
    EXPECT_EQ(back.year, c.y);
    EXPECT_EQ(back.month, c.mo);
    EXPECT_EQ(back.day, c.d);
    EXPECT_EQ(back.hour, c.h);
  }
}

TEST(OleDateTimeTest, ConvertingBackRoundsToTheNearestSecond) {
  const CivilDateTime civil = OleDateTime(39114.37499999).ToCivil();
  EXPECT_EQ(civil.hour, 9);
  EXPECT_EQ(civil.minute, 0);
  EXPECT_EQ(civil.second, 0);
  const CivilDateTime midnight = OleDateTime(39114.9999999999).ToCivil();
  EXPECT_EQ(midnight.day, 2);
  EXPECT_EQ(midnight.hour, 0);
}

TEST(OleDateTimeTest, RejectsDatesThatDoNotExistOrLeaveTheRange) {
  EXPECT_FALSE(OleDateTime::FromCivil(2023, 2, 29));
  EXPECT_TRUE(OleDateTime::FromCivil(2024, 2, 29));
  EXPECT_FALSE(OleDateTime::FromCivil(1900, 2, 29));
  EXPECT_TRUE(OleDateTime::FromCivil(2000, 2, 29));
  EXPECT_FALSE(OleDateTime::FromCivil(99, 12, 31));
  EXPECT_FALSE(OleDateTime::FromCivil(10000, 1, 1));
  EXPECT_FALSE(OleDateTime::FromCivil(2024, 4, 31));
  EXPECT_FALSE(At(9999, 12, 31, 23, 0, 0).AddDays(1));
}

TEST(OleDateTimeTest, ArithmeticAndOrderFollowTheTimeLineAcrossTheEpoch) {
  const OleDateTime before = At(1899, 12, 29, 6);  // -1.25
  EXPECT_GT(before, OleDateTime(-1.0));            // later in the day than its midnight
  EXPECT_LT(before, OleDateTime(0.0));
  EXPECT_EQ(before.AddDays(1)->value(), 0.25);
  EXPECT_EQ(At(2024, 2, 28, 22).AddSeconds(std::int64_t{4} * 3600)->ToCivil(),
            (CivilDateTime{2024, 2, 29, 2, 0, 0, 5}));
  EXPECT_EQ(At(2007, 2, 10, 18).DateOnly().value(), 39123.0);
  EXPECT_EQ(At(2026, 12, 5).DayOfWeek(), 7);  // a Saturday
  EXPECT_EQ(At(1899, 12, 30).DayOfWeek(), 7);
}

TEST(OleDateTimeTest, MonthComparisonIgnoresDayAndTime) {
  EXPECT_EQ(CompareMonth(At(2026, 3, 1), At(2026, 3, 31, 23, 59, 59)), 0);
  EXPECT_EQ(CompareMonth(At(2026, 2, 28), At(2026, 3, 1)), -1);
  EXPECT_EQ(CompareMonth(At(2027, 1, 1), At(2026, 12, 31)), 1);
}

}  // namespace
}  // namespace paylark
