#include "core/exchange/calendar_feed.h"

#include <libical/ical.h>

#include <ctime>
#include <memory>
#include <unordered_set>

#include "core/base/format.h"
#include "core/base/local_time.h"
#include "core/records/due_details.h"
#include "core/records/month_selection.h"
#include "core/records/notice_period.h"

namespace paylark {
namespace {

constexpr int kFeedDaysBack = 90;
constexpr int kFeedYearsAhead = 2;

struct ComponentFree {
  void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

icaltimetype DateOf(const OleDateTime& date) {
  const CivilDateTime c = date.ToCivil();
  icaltimetype day = icaltime_null_date();
  day.year = c.year;
  day.month = c.month;
  day.day = c.day;
  return day;
}

// The local wall-clock time as UTC, by the process's time zone.
icaltimetype UtcOf(const OleDateTime& local) {
  return icaltime_from_timet_with_zone(LocalToTimeT(local), 0, icaltimezone_get_utc_timezone());
}

std::string Summary(const DueRecord& due) {
  std::string summary = IsPaid(due) ? "Paid: " : "";
  return summary + due.title + " \u2013 " + FormatAmount(due.amount);
}

std::string Description(const DueRecord& due) {
  std::string text = "Pay to: " + due.payTo + "\nAccount: " + due.account +
                     "\nDue: " + DateAndTimeText(due.dueDate) +
                     "\nType: " + std::string(TypeText(due.type)) +
                     "\nStatus: " + std::string(PaidText(due.paid));
  if (!due.notes.empty())
    text += "\n\n" + due.notes;
  return text;
}

// An alarm offsetSeconds after the event's start; related to the start by name when asked.
icalcomponent* Alarm(const DueRecord& due, int offsetSeconds, AlarmStyle style) {
  icalcomponent* alarm = icalcomponent_new_valarm();
  icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
  icaltriggertype trigger{};
  trigger.time = icaltime_null_time();
  trigger.duration = icaldurationtype_from_int(offsetSeconds);
  icalproperty* property = icalproperty_new_trigger(trigger);
  if (style == AlarmStyle::kBeforeAndAtDueTime)
    icalproperty_add_parameter(property, icalparameter_new_related(ICAL_RELATED_START));
  icalcomponent_add_property(alarm, property);
  icalcomponent_add_property(alarm, icalproperty_new_description(Summary(due).c_str()));
  return alarm;
}

void AddAlarms(icalcomponent* event, const DueRecord& due, const CalendarOptions& options) {
  constexpr int kDaySeconds = 24 * 60 * 60;
  if (options.alarms == AlarmStyle::kDaysBefore) {
    icalcomponent_add_component(event,
                                Alarm(due, -options.reminderDays * kDaySeconds, options.alarms));
    return;
  }
  // The event is the due's whole day; its alarms ring at the due's own time of day.
  const CivilDateTime c = due.dueDate.ToCivil();
  const int timeOfDay = (c.hour * 60 + c.minute) * 60 + c.second;
  if (options.reminderDays > 0) {
    icalcomponent_add_component(
        event, Alarm(due, timeOfDay - options.reminderDays * kDaySeconds, options.alarms));
  }
  icalcomponent_add_component(event, Alarm(due, timeOfDay, options.alarms));
}

icalcomponent* Event(const DueRecord& due, const icaltimetype& stamp,
                     const CalendarOptions& options) {
  icalcomponent* event = icalcomponent_new_vevent();
  const std::string uid = due.recordId + "@paylark";
  icalcomponent_add_property(event, icalproperty_new_uid(uid.c_str()));
  icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp));
  const OleDateTime day = due.dueDate.DateOnly();
  icalcomponent_add_property(event, icalproperty_new_dtstart(DateOf(day)));
  icalcomponent_add_property(event, icalproperty_new_dtend(DateOf(day.AddDays(1).value_or(day))));
  icalcomponent_add_property(event, icalproperty_new_summary(Summary(due).c_str()));
  icalcomponent_add_property(event, icalproperty_new_description(Description(due).c_str()));
  icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
  const std::string type(TypeText(due.type));
  icalcomponent_add_property(event, icalproperty_new_categories(type.c_str()));
  if (!IsPaid(due))
    AddAlarms(event, due, options);
  return event;
}

// The day to cancel a contract by, with its reminder as the summary and an alarm on the day
// before. One per contract: its UID is the series' (or the due's) with "-cancel".
icalcomponent* CancelEvent(const DueRecord& due, const CancelBy& cancelBy,
                           const icaltimetype& stamp) {
  icalcomponent* event = icalcomponent_new_vevent();
  const std::string uid = ContractKey(due) + "-cancel@paylark";
  icalcomponent_add_property(event, icalproperty_new_uid(uid.c_str()));
  icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp));
  const OleDateTime day = cancelBy.date;
  icalcomponent_add_property(event, icalproperty_new_dtstart(DateOf(day)));
  icalcomponent_add_property(event, icalproperty_new_dtend(DateOf(day.AddDays(1).value_or(day))));
  const std::string summary = CancelReminderText(due.title, cancelBy);
  icalcomponent_add_property(event, icalproperty_new_summary(summary.c_str()));
  const std::string description = "Pay to: " + due.payTo +
                                  "\nRenews on: " + FormatDate(cancelBy.renewsOn, "") + "\n" +
                                  CancelByText(cancelBy);
  icalcomponent_add_property(event, icalproperty_new_description(description.c_str()));
  icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
  icalcomponent* alarm = icalcomponent_new_valarm();
  icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
  icaltriggertype trigger{};
  trigger.time = icaltime_null_time();
  trigger.duration = icaldurationtype_from_int(-24 * 60 * 60);
  icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
  icalcomponent_add_property(alarm, icalproperty_new_description(summary.c_str()));
  icalcomponent_add_component(event, alarm);
  return event;
}

std::string Text(icalcomponent* component) {
  char* text = icalcomponent_as_ical_string_r(component);
  std::string result = text ? text : "";
  std::free(text);
  return result;
}

Component NewCalendar() {
  Component calendar(icalcomponent_new_vcalendar());
  icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Paylark//Paylark//EN"));
  icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
  icalproperty* name = icalproperty_new_x("Paylark");
  icalproperty_set_x_name(name, "X-WR-CALNAME");
  icalcomponent_add_property(calendar.get(), name);
  return calendar;
}

}  // namespace

std::string RenderCalendar(const std::vector<DueRecord>& dues, const CalendarOptions& options) {
  const Component calendar = NewCalendar();
  // Each event is written on its own and placed before the calendar's end: one tree holding
  // every event costs libical several times as much time and memory.
  std::string text = Text(calendar.get());
  const std::string end = text.substr(text.rfind("END:VCALENDAR"));
  text.resize(text.size() - end.size());
  text.reserve(dues.size() * 512);
  const icaltimetype stamp = UtcOf(options.stamp);
  std::unordered_set<std::string> contracts;
  for (const DueRecord& due : dues) {
    if (!due.dueDate.IsValid())
      continue;
    const Component event(Event(due, stamp, options));
    text += Text(event.get());
    const std::optional<CancelBy> cancelBy = NextCancelBy(due, options.stamp);
    if (cancelBy && contracts.insert(ContractKey(due)).second) {
      const Component cancel(CancelEvent(due, *cancelBy, stamp));
      text += Text(cancel.get());
    }
  }
  return text + end;
}

std::string RenderDueEvent(const DueRecord& due, const CalendarOptions& options) {
  Component calendar = NewCalendar();
  icalcomponent_add_component(calendar.get(), Event(due, UtcOf(options.stamp), options));
  return Text(calendar.get());
}

std::string ContractKey(const DueRecord& due) {
  return IsSeriesMember(due) ? due.seriesId : due.recordId;
}

std::string RenderCancelEvent(const DueRecord& due, const CalendarOptions& options) {
  const std::optional<CancelBy> cancelBy = NextCancelBy(due, options.stamp);
  if (!cancelBy)
    return {};
  Component calendar = NewCalendar();
  icalcomponent_add_component(calendar.get(), CancelEvent(due, *cancelBy, UtcOf(options.stamp)));
  return Text(calendar.get());
}

std::vector<DueRecord> CalendarFeedDues(const RecordStore& store, const OleDateTime& now) {
  const OleDateTime today = now.DateOnly();
  const OleDateTime first = today.AddDays(-kFeedDaysBack).value_or(today);
  const CivilDateTime c = today.ToCivil();
  const OleDateTime end = OleDateTime::FromCivil(c.year + kFeedYearsAhead, c.month,
                                                 c.month == 2 && c.day == 29 ? 28 : c.day)
                              .value_or(today)
                              .AddDays(1)
                              .value_or(today);
  std::vector<DueRecord> dues;
  store.map().ForEach([&](const DueRecord& due) {
    if (due.dueDate.IsValid() && due.dueDate >= first && due.dueDate < end)
      dues.push_back(due);
  });
  SortByDueDate(dues);
  return dues;
}

std::string CalendarFeedPath(const std::string& workingDirectory) {
  return workingDirectory + "/Exports/Paylark.ics";
}

}  // namespace paylark
