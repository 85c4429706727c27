#include "core/records/notice_period.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/scoped_locale.h"

namespace paylark {
namespace {

OleDateTime Day(int y, int m, int d) {
  return *OleDateTime::FromCivil(y, m, d);
}

std::string Iso(const std::optional<OleDateTime>& date) {
  if (!date)
    return "none";
  const CivilDateTime c = date->ToCivil();
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", c.year, c.month, c.day);
  return text;
}

TEST(NoticePeriodTest, NoticeCountsBackByDaysWeeksAndCalendarMonths) {
  const struct {
    OleDateTime renewal;
    NoticePeriod notice;
    const char* expected;
  } cases[] = {
      {Day(2026, 12, 31), {NoticeUnit::kMonths, 3}, "2026-09-30"},
      {Day(2027, 1, 31), {NoticeUnit::kMonths, 1}, "2026-12-31"},
      {Day(2026, 3, 31), {NoticeUnit::kMonths, 1}, "2026-02-28"},
      {Day(2028, 3, 31), {NoticeUnit::kMonths, 1}, "2028-02-29"},  // a leap year
      {Day(2026, 4, 30), {NoticeUnit::kMonths, 1}, "2026-03-31"},  // a month end stays one
      {Day(2026, 3, 30), {NoticeUnit::kMonths, 1}, "2026-02-28"},
      {Day(2026, 5, 15), {NoticeUnit::kMonths, 1}, "2026-04-15"},
      {Day(2027, 2, 28), {NoticeUnit::kMonths, 12}, "2026-02-28"},
      {Day(2028, 2, 29), {NoticeUnit::kMonths, 12}, "2027-02-28"},
      {Day(2026, 3, 1), {NoticeUnit::kDays, 1}, "2026-02-28"},
      {Day(2028, 3, 1), {NoticeUnit::kDays, 1}, "2028-02-29"},
      {Day(2026, 1, 10), {NoticeUnit::kWeeks, 2}, "2025-12-27"},
      {Day(2026, 1, 10), {NoticeUnit::kNone, 0}, "2026-01-10"},
      {Day(100, 2, 1), {NoticeUnit::kMonths, 2}, "none"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Iso(NoticeBefore(c.renewal, c.notice)), c.expected)
        << Iso(c.renewal) << " less " << c.notice.count << " of unit "
        << static_cast<int>(c.notice.unit);
  }
}

TEST(NoticePeriodTest, TheCancelByDateIsTodayWhenTheNoticeIsLongerThanWhatRemains) {
  testing::ScopedLocale locale("en_US.UTF-8");
  DueRecord gym;
  EXPECT_FALSE(NextCancelBy(gym, Day(2026, 6, 1)));
  gym.renewsOn = *OleDateTime::FromCivil(2026, 12, 31, 18, 0);
  gym.noticePeriod = {NoticeUnit::kMonths, 3};

  const CancelBy ahead = *NextCancelBy(gym, *OleDateTime::FromCivil(2026, 6, 1, 9, 30));
  EXPECT_EQ(Iso(ahead.date), "2026-09-30");
  EXPECT_EQ(Iso(ahead.renewsOn), "2026-12-31");
  EXPECT_FALSE(ahead.now);
  EXPECT_EQ(CancelByText(ahead), "Cancel by 30 Sep 2026");
  EXPECT_EQ(CancelReminderText("Gym", ahead),
            "Cancel Gym by 30 Sep 2026, or it renews on 31 Dec 2026");
  EXPECT_FALSE(NextCancelBy(gym, Day(2026, 9, 30))->now) << "the last day is still in time";

  const CancelBy late = *NextCancelBy(gym, Day(2026, 11, 2));
  EXPECT_TRUE(late.now);
  EXPECT_EQ(Iso(late.date), "2026-11-02");
  EXPECT_EQ(CancelByText(late), "Cancel now");
  EXPECT_EQ(CancelReminderText("Gym", late), "Cancel Gym now, or it renews on 31 Dec 2026");
  EXPECT_TRUE(NextCancelBy(gym, Day(2026, 12, 31))->now) << "the renewal day itself";
}

TEST(NoticePeriodTest, ARenewalMovesTheNextCancelByDateAYearOn) {
  DueRecord insurance;
  insurance.renewsOn = Day(2024, 2, 29);
  insurance.noticePeriod = {NoticeUnit::kWeeks, 6};
  const CancelBy next = *NextCancelBy(insurance, Day(2026, 1, 5));
  EXPECT_EQ(Iso(next.renewsOn), "2026-02-28");
  EXPECT_EQ(Iso(next.date), "2026-01-17");
  EXPECT_TRUE(NextCancelBy(insurance, Day(2026, 1, 18))->now);

  const CancelBy following = *NextCancelBy(insurance, Day(2026, 3, 1));
  EXPECT_EQ(Iso(following.renewsOn), "2027-02-28");
  EXPECT_EQ(Iso(following.date), "2027-01-17");
}

TEST(NoticePeriodTest, UnitsAreNamedInTheSingularOrPlural) {
  EXPECT_EQ(NoticeUnitNamed("Months"), NoticeUnit::kMonths);
  EXPECT_EQ(NoticeUnitNamed("day"), NoticeUnit::kDays);
  EXPECT_EQ(NoticeUnitNamed("weeks"), NoticeUnit::kWeeks);
  EXPECT_FALSE(NoticeUnitNamed("fortnights"));
  EXPECT_FALSE(NoticeUnitNamed(""));
}

}  // namespace
}  // namespace paylark
