#include <gtest/gtest.h>

#include "core/exchange/caldav_multistatus.h"
#include "core/exchange/caldav_plan.h"
#include "core/exchange/caldav_state.h"
#include "core/exchange/calendar_feed.h"
#include "tests/support/scoped_locale.h"
#include "tests/support/scoped_time_zone.h"

namespace paylark {
namespace {

class CalDavTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(locale_.ok()); }

  static DueRecord Due(std::string id, OleDateTime due, int paid = 0) {
    DueRecord record;
    record.recordId = std::move(id);
    record.title = "Rent";
    record.payTo = "Landlord";
    record.account = "Main";
    record.dueDate = due;
    record.startDate = due;
    record.amount = 850;
    record.paid = paid;
    return record;
  }

  CalendarOptions options_{*OleDateTime::FromCivil(2026, 12, 5, 14, 30), 3,
                           AlarmStyle::kBeforeAndAtDueTime};
  testing::ScopedLocale locale_{"en_US.UTF-8", testing::ScopedLocale::Numbers::kC};
  testing::ScopedTimeZone zone_{"Pacific/Auckland"};
};

TEST_F(CalDavTest, AnEventRingsTheReminderDaysBeforeTheDueTimeAndAtIt) {
  const std::string text =
      RenderDueEvent(Due("2026120514302601", *OleDateTime::FromCivil(2027, 1, 1, 18)), options_);
  EXPECT_EQ(text,
            "BEGIN:VCALENDAR\r\n"
            "PRODID:-//Paylark//Paylark//EN\r\n"
            "VERSION:2.0\r\n"
            "X-WR-CALNAME:Paylark\r\n"
            "BEGIN:VEVENT\r\n"
            "UID:2026120514302601@paylark\r\n"
            "DTSTAMP:20261205T013000Z\r\n"
            "DTSTART;VALUE=DATE:20270101\r\n"
            "DTEND;VALUE=DATE:20270102\r\n"
            "SUMMARY:Rent \xE2\x80\x93 $850.00\r\n"
            "DESCRIPTION:Pay to: Landlord\\nAccount: Main\\nDue: 01/01/2027 06:00 \r\n"
            " PM\\nType: Business\\nStatus: Unpaid\r\n"
            "TRANSP:TRANSPARENT\r\n"
            "CATEGORIES:Business\r\n"
            "BEGIN:VALARM\r\n"
            "ACTION:DISPLAY\r\n"
            "TRIGGER;RELATED=START:-P2DT6H\r\n"
            "DESCRIPTION:Rent \xE2\x80\x93 $850.00\r\n"
            "END:VALARM\r\n"
            "BEGIN:VALARM\r\n"
            "ACTION:DISPLAY\r\n"
            "TRIGGER;RELATED=START:PT18H\r\n"
            "DESCRIPTION:Rent \xE2\x80\x93 $850.00\r\n"
            "END:VALARM\r\n"
            "END:VEVENT\r\n"
            "END:VCALENDAR\r\n");
}

TEST_F(CalDavTest, NoReminderDaysLeavesTheAlarmAtTheDueTimeAlone) {
  options_.reminderDays = 0;
  const std::string text = RenderDueEvent(Due("1", *OleDateTime::FromCivil(2027, 1, 1)), options_);
  EXPECT_NE(text.find("TRIGGER;RELATED=START:PT0S\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("BEGIN:VALARM"), text.rfind("BEGIN:VALARM"));
}

TEST_F(CalDavTest, OnlyUnpaidDuesBecomeEventsAndTheStampDoesNotChangeTheFingerprint) {
  const OleDateTime day = *OleDateTime::FromCivil(2027, 1, 1, 9);
  const auto first = CalDavEvents({Due("11", day), Due("12", day, 1)}, options_);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].name, "paylark-11.ics");
  options_.stamp = *OleDateTime::FromCivil(2027, 3, 1, 8);
  const auto later = CalDavEvents({Due("11", day)}, options_);
  EXPECT_NE(later[0].text, first[0].text);
  EXPECT_EQ(later[0].fingerprint, first[0].fingerprint);
  DueRecord moved = Due("11", day.AddDays(1).value());
  EXPECT_NE(CalDavEvents({moved}, options_)[0].fingerprint, first[0].fingerprint);
}

// A contract's cancel-by day reaches the phone once, as its own event, also when the member
// carrying it is paid; dues without a renewal date add none.
TEST_F(CalDavTest, AContractsCancelByDayIsOneEventOfItsOwn) {
  const OleDateTime day = *OleDateTime::FromCivil(2027, 1, 1, 18);
  DueRecord paid = Due("21", day, 1);
  paid.seriesId = "recId20260101000000";
  paid.renewsOn = *OleDateTime::FromCivil(2027, 3, 31);
  paid.noticePeriod = {NoticeUnit::kMonths, 1};
  DueRecord next = paid;
  next.recordId = "22";
  next.paid = 0;
  const auto events = CalDavEvents({paid, next, Due("23", day)}, options_);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].name, "paylark-recId20260101000000-cancel.ics");
  EXPECT_NE(events[0].text.find("UID:recId20260101000000-cancel@paylark"), std::string::npos);
  EXPECT_NE(
      events[0].text.find("SUMMARY:Cancel Rent by 28 Feb 2027\\, or it renews on 31 Mar 2027"),
      std::string::npos)
      << events[0].text;
  EXPECT_NE(events[0].text.find("DTSTART;VALUE=DATE:20270228"), std::string::npos);
  EXPECT_EQ(events[1].name, "paylark-22.ics");
  EXPECT_EQ(events[2].name, "paylark-23.ics");
  EXPECT_TRUE(IsPaylarkEventName(events[0].name));
}

TEST_F(CalDavTest, AServersRewritingKeepsTheFingerprintAndAnEditChangesIt) {
  const CalDavEvent event =
      CalDavEvents({Due("7", *OleDateTime::FromCivil(2027, 1, 1, 18))}, options_)[0];
  // As vobject writes it back: alarms swapped, other folding, a server's own additions.
  std::string stored = event.text;
  const auto first = stored.find("BEGIN:VALARM");
  const auto second = stored.find("BEGIN:VALARM", first + 1);
  const auto end = stored.find("END:VEVENT");
  stored = stored.substr(0, first) + stored.substr(second, end - second) +
           stored.substr(first, second - first) + "X-SERVER-SEEN:1\r\n" + stored.substr(end);
  const auto pm = stored.find(" \r\n PM");
  ASSERT_NE(pm, std::string::npos);
  stored.replace(pm, 6, " P\r\n M");
  stored.replace(stored.find("DTSTAMP:20261205T013000Z"), 24, "DTSTAMP:20270101T000000Z");
  EXPECT_EQ(EventFingerprint(stored), event.fingerprint);
  std::string edited = stored;
  edited.replace(edited.find("SUMMARY:Rent"), 12, "SUMMARY:Lent");
  EXPECT_NE(EventFingerprint(edited), event.fingerprint);
  std::string later = stored;
  later.replace(later.find("PT18H"), 5, "PT19H");
  EXPECT_NE(EventFingerprint(later), event.fingerprint);
  EXPECT_EQ(EventFingerprint("not a calendar"), "");
  // A component libical has no kind for is still described, not a crash.
  EXPECT_NE(EventFingerprint("BEGIN:VCALENDAR\r\nBEGIN:FOO\r\nEND:FOO\r\nEND:VCALENDAR\r\n"), "");
}

TEST_F(CalDavTest, ThePlanWritesWhatDiffersAndRemovesOnlyPaylarksLeftovers) {
  const OleDateTime day = *OleDateTime::FromCivil(2027, 1, 1, 9);
  const auto wanted =
      CalDavEvents({Due("1", day), Due("2", day), Due("3", day), Due("4", day)}, options_);
  CalDavState state;
  state.events["paylark-1.ics"] = {"\"e1\"", wanted[0].fingerprint};  // as written
  state.events["paylark-2.ics"] = {"\"e2\"", wanted[1].fingerprint};  // edited on a phone since
  state.events["paylark-3.ics"] = {"\"e3\"", "0000000000000000"};     // the due changed since
  const std::map<std::string, std::string> listing = {{"paylark-1.ics", "\"e1\""},
                                                      {"paylark-2.ics", "\"e2-phone\""},
                                                      {"paylark-3.ics", "\"e3\""},
                                                      {"paylark-9.ics", "\"e9\""},
                                                      {"birthday.ics", "\"b\""}};
  const CalDavPlan plan = PlanCalDavSync(wanted, listing, state);
  EXPECT_EQ(plan.unchanged, 1);
  ASSERT_EQ(plan.actions.size(), 4u);
  EXPECT_EQ(plan.actions[0].change, CalDavChange::kReplace);
  EXPECT_EQ(plan.actions[0].name, "paylark-2.ics");
  EXPECT_EQ(plan.actions[0].etag, "\"e2-phone\"");
  EXPECT_EQ(plan.actions[1].change, CalDavChange::kReplace);
  EXPECT_EQ(plan.actions[1].etag, "\"e3\"");
  EXPECT_EQ(plan.actions[2].change, CalDavChange::kCreate);
  EXPECT_EQ(plan.actions[2].name, "paylark-4.ics");
  EXPECT_EQ(plan.actions[2].event, &wanted[3]);
  EXPECT_EQ(plan.actions[3].change, CalDavChange::kRemove);
  EXPECT_EQ(plan.actions[3].name, "paylark-9.ics");
  EXPECT_EQ(plan.actions[3].etag, "\"e9\"");
}

TEST_F(CalDavTest, AnUnknownCollectionIsWrittenWholeAndAWriteWithoutAnEtagIsTrusted) {
  const auto wanted = CalDavEvents({Due("1", *OleDateTime::FromCivil(2027, 1, 1))}, options_);
  const std::map<std::string, std::string> listing = {{"paylark-1.ics", "\"x\""}};
  EXPECT_EQ(PlanCalDavSync(wanted, listing, {}).actions.size(), 1u);
  CalDavState state;
  state.events["paylark-1.ics"] = {"", wanted[0].fingerprint};
  EXPECT_EQ(PlanCalDavSync(wanted, listing, state).unchanged, 1);
}

TEST(CalDavStateTest, RoundTripsAndReadsAnythingElseAsEmpty) {
  CalDavState state;
  state.syncToken = "http://radicale.org/ns/sync/abc";
  state.events["paylark-1.ics"] = {"\"e1\"", "0123456789abcdef"};
  state.events["paylark-2.ics"] = {"", "fedcba9876543210"};
  const std::string text = SerializeCalDavState(state);
  const CalDavState read = ParseCalDavState(text);
  EXPECT_EQ(read.syncToken, state.syncToken);
  ASSERT_EQ(read.events.size(), 2u);
  EXPECT_EQ(read.events.at("paylark-1.ics").etag, "\"e1\"");
  EXPECT_EQ(read.events.at("paylark-2.ics").fingerprint, "fedcba9876543210");
  for (const std::string bad : {"", "something else\n", "paylark-caldav-state 1\nno token\n",
                                "paylark-caldav-state 1\ntoken t\nname-without-tabs\n"}) {
    const CalDavState empty = ParseCalDavState(bad);
    EXPECT_TRUE(empty.syncToken.empty() && empty.events.empty()) << bad;
  }
}

TEST(MultistatusTest, ReadsDiscoveryListingAndRemovedMembers) {
  const auto parsed = ParseMultistatus(R"(<?xml version="1.0"?>
<multistatus xmlns="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav">
 <response><href>/alice/</href>
  <propstat><prop><current-user-principal><href>/alice/</href></current-user-principal>
   <C:calendar-home-set><href>/alice/</href></C:calendar-home-set>
   <resourcetype><collection/><principal/></resourcetype></prop>
   <status>HTTP/1.1 200 OK</status></propstat>
  <propstat><prop><displayname/></prop><status>HTTP/1.1 404 Not Found</status></propstat>
 </response>
 <response><href>/alice/paylark/</href>
  <propstat><prop><resourcetype><collection/><C:calendar/></resourcetype>
   <displayname>Paylark</displayname>
   <supported-report-set><supported-report><report><sync-collection/></report></supported-report>
   </supported-report-set></prop><status>HTTP/1.1 200 OK</status></propstat></response>
 <response><href>/alice/paylark/paylark-1.ics</href>
  <propstat><prop><getetag>"abc"</getetag></prop><status>HTTP/1.1 200 OK</status></propstat>
 </response>
 <response><href>/alice/paylark/paylark-2.ics</href><status>HTTP/1.1 404 Not Found</status>
 </response>
 <sync-token>http://radicale.org/ns/sync/42</sync-token>
</multistatus>)");
  ASSERT_TRUE(parsed.ok()) << parsed.status().message();
  const auto& r = parsed.value().responses;
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[0].principal, "/alice/");
  EXPECT_EQ(r[0].calendarHome, "/alice/");
  EXPECT_FALSE(r[0].isCalendar);
  EXPECT_TRUE(r[1].isCalendar);
  EXPECT_TRUE(r[1].offersSyncCollection);
  EXPECT_EQ(r[1].displayName, "Paylark");
  EXPECT_EQ(r[2].etag, "\"abc\"");
  EXPECT_EQ(r[2].status, 200);
  EXPECT_EQ(r[3].status, 404);
  EXPECT_EQ(parsed.value().syncToken, "http://radicale.org/ns/sync/42");
}

TEST(MultistatusTest, RefusesWhatIsNotAMultistatus) {
  for (const char* body : {"", "<html><body>Login</body></html>", "<multistatus>",
                           "<!DOCTYPE m [<!ENTITY e \"x\">]><multistatus xmlns=\"DAV:\"/>"})
    EXPECT_FALSE(ParseMultistatus(body).ok()) << body;
  EXPECT_EQ(StatusLineCode("HTTP/1.1 412 Precondition Failed"), 412);
  EXPECT_EQ(StatusLineCode("garbage"), 0);
  for (const char* line : {"HTTP/1.1 044 Not Found", "HTTP/1.1 -12", "HTTP/1.1 2000 OK"})
    EXPECT_EQ(StatusLineCode(line), 0) << line;
}

}  // namespace
}  // namespace paylark
