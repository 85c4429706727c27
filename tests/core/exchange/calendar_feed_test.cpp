#include "core/exchange/calendar_feed.h"

#include <gtest/gtest.h>
#include <libical/ical.h>

#include "tests/support/scoped_locale.h"
#include "tests/support/scoped_time_zone.h"

namespace paylark {
namespace {

class CalendarFeedTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(locale_.ok()); }

  static DueRecord Due(std::string id, std::string title, OleDateTime due) {
    DueRecord record;
    record.recordId = std::move(id);
    record.title = std::move(title);
    record.payTo = "Stadtwerke";
    record.account = "Main";
    record.dueDate = due;
    record.startDate = due;
    record.amount = 40.5;
    return record;
  }

  CalendarOptions options_{*OleDateTime::FromCivil(2026, 12, 5, 14, 30), 3};

  testing::ScopedLocale locale_{"en_US.UTF-8", testing::ScopedLocale::Numbers::kC};
  testing::ScopedTimeZone zone_{"Europe/Berlin"};
};

TEST_F(CalendarFeedTest, WritesOneAllDayEventPerDueWithAnAlarmForUnpaidOnes) {
  DueRecord paid =
      Due("2026120514302510", "Gas; heating", *OleDateTime::FromCivil(2026, 12, 31, 18));
  paid.paid = 1;
  paid.type = kTypePersonal;
  const DueRecord unpaid = Due("2026120514302601", "Rent", *OleDateTime::FromCivil(2027, 1, 1));
  EXPECT_EQ(RenderCalendar({paid, unpaid}, options_),
            "BEGIN:VCALENDAR\r\n"
            "PRODID:-//Paylark//Paylark//EN\r\n"
            "VERSION:2.0\r\n"
            "X-WR-CALNAME:Paylark\r\n"
            "BEGIN:VEVENT\r\n"
            "UID:2026120514302510@paylark\r\n"
            "DTSTAMP:20261205T133000Z\r\n"
            "DTSTART;VALUE=DATE:20261231\r\n"
            "DTEND;VALUE=DATE:20270101\r\n"
            "SUMMARY:Paid: Gas\\; heating \xE2\x80\x93 $40.50\r\n"
            "DESCRIPTION:Pay to: Stadtwerke\\nAccount: Main\\nDue: 12/31/2026 06:00 \r\n"
            " PM\\nType: Personal\\nStatus: Paid\r\n"
            "TRANSP:TRANSPARENT\r\n"
            "CATEGORIES:Personal\r\n"
            "END:VEVENT\r\n"
            "BEGIN:VEVENT\r\n"
            "UID:2026120514302601@paylark\r\n"
            "DTSTAMP:20261205T133000Z\r\n"
            "DTSTART;VALUE=DATE:20270101\r\n"
            "DTEND;VALUE=DATE:20270102\r\n"
            "SUMMARY:Rent \xE2\x80\x93 $40.50\r\n"
            "DESCRIPTION:Pay to: Stadtwerke\\nAccount: Main\\nDue: 01/01/2027 12:00 \r\n"
            " AM\\nType: Business\\nStatus: Unpaid\r\n"
            "TRANSP:TRANSPARENT\r\n"
            "CATEGORIES:Business\r\n"
            "BEGIN:VALARM\r\n"
            "ACTION:DISPLAY\r\n"
            "TRIGGER:-P3D\r\n"
            "DESCRIPTION:Rent \xE2\x80\x93 $40.50\r\n"
            "END:VALARM\r\n"
            "END:VEVENT\r\n"
            "END:VCALENDAR\r\n");
}

TEST_F(CalendarFeedTest, LongNonAsciiNotesSurviveFoldingIntact) {
  DueRecord due = Due("2026120514302510", "Miete", *OleDateTime::FromCivil(2026, 12, 5));
  for (int i = 0; i < 40; ++i)
    due.notes += "Grüße, Ärger; €\\ ";
  due.notes += "\r\nzweite Zeile";
  const std::string text = RenderCalendar({due}, options_);
  for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    EXPECT_LE(end - start, 75u) << text.substr(start, end - start);
  }
  icalcomponent* calendar = icalparser_parse_string(text.c_str());
  ASSERT_NE(calendar, nullptr);
  icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
  ASSERT_NE(event, nullptr);
  const std::string description = icalcomponent_get_description(event);
  EXPECT_NE(description.find("Status: Unpaid\n\n" + due.notes.substr(0, due.notes.size() - 14) +
                             "\nzweite Zeile"),
            std::string::npos)
      << description;
  icalcomponent_free(calendar);
}

TEST_F(CalendarFeedTest, TheFeedHoldsNinetyDaysBackToTwoYearsAhead) {
  FixedClock clock(*OleDateTime::FromCivil(2026, 12, 5, 14, 30));
  RecordStore store(clock, "", SystemFileSystem());  // no folder: the records stay in the map alone
  const std::pair<const char*, OleDateTime> dues[] = {
      {"too early", *OleDateTime::FromCivil(2026, 9, 5, 23, 59, 59)},
      {"first", *OleDateTime::FromCivil(2026, 9, 6)},
      {"last", *OleDateTime::FromCivil(2028, 12, 5, 23, 59, 59)},
      {"too late", *OleDateTime::FromCivil(2028, 12, 6)},
  };
  for (const auto& [title, due] : dues)
    (void)store.Add(Due("", title, due));
  const std::vector<DueRecord> feed = CalendarFeedDues(store, clock.Now());
  ASSERT_EQ(feed.size(), 2u);
  EXPECT_EQ(feed[0].title, "first");
  EXPECT_EQ(feed[1].title, "last");
  EXPECT_EQ(CalendarFeedPath("/home/a/Bills"), "/home/a/Bills/Exports/Paylark.ics");
}

}  // namespace
}  // namespace paylark
