#include "core/exchange/caldav_plan.h"

#include <libical/ical.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <set>
#include <unordered_set>

namespace paylark {
namespace {

constexpr std::string_view kPrefix = "paylark-";
constexpr std::string_view kSuffix = ".ics";

struct ComponentFree {
  void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};

std::uint64_t Mixed(std::uint64_t hash, std::string_view text) {
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  return hash ^ 0xff;  // ends each field, so that "ab"+"c" differs from "a"+"bc"
}

// What a user sees of a component: its dates, texts and alarms, by value. Everything else (the
// stamp, what a phone or a server adds of its own) is left out.
void Describe(icalcomponent* component, std::vector<std::string>& lines) {
  static constexpr icalproperty_kind kSeen[] = {
      ICAL_UID_PROPERTY,      ICAL_DTSTART_PROPERTY,     ICAL_DTEND_PROPERTY,
      ICAL_SUMMARY_PROPERTY,  ICAL_DESCRIPTION_PROPERTY, ICAL_CATEGORIES_PROPERTY,
      ICAL_TRANSP_PROPERTY,   ICAL_ACTION_PROPERTY,      ICAL_TRIGGER_PROPERTY,
      ICAL_DURATION_PROPERTY, ICAL_RRULE_PROPERTY};
  // A component libical does not know by name (an X- or IANA one) has no kind text.
  const char* name = icalcomponent_kind_to_string(icalcomponent_isa(component));
  std::string line = name ? name : "X";
  for (const icalproperty_kind kind : kSeen) {
    for (icalproperty* p = icalcomponent_get_first_property(component, kind); p;
         p = icalcomponent_get_next_property(component, kind)) {
      const char* value = icalproperty_get_value_as_string(p);
      line += std::string("\x1f") + icalproperty_kind_to_string(kind) + ":" + (value ? value : "");
    }
  }
  lines.push_back(std::move(line));
  for (icalcomponent* child = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT);
       child; child = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT))
    Describe(child, lines);
}

bool SameAsWanted(const KnownEvent* known, const std::string& etag, const CalDavEvent& event) {
  return known && (known->etag.empty() || known->etag == etag) &&
         known->fingerprint == event.fingerprint;
}

}  // namespace

namespace {

CalDavEvent EventNamed(const std::string& key, std::string text) {
  CalDavEvent event;
  event.name = std::string(kPrefix) + key + std::string(kSuffix);
  event.text = std::move(text);
  event.fingerprint = EventFingerprint(event.text);
  return event;
}

}  // namespace

std::vector<CalDavEvent> CalDavEvents(const std::vector<DueRecord>& dues,
                                      const CalendarOptions& options) {
  std::vector<CalDavEvent> events;
  std::unordered_set<std::string> contracts;
  for (const DueRecord& due : dues) {
    if (!due.dueDate.IsValid())
      continue;
    if (!IsPaid(due))
      events.push_back(EventNamed(due.recordId, RenderDueEvent(due, options)));
    // A contract's cancel-by day is its own event, once, whether its dues are paid or not.
    if (!due.renewsOn || !contracts.insert(ContractKey(due)).second)
      continue;
    if (std::string cancel = RenderCancelEvent(due, options); !cancel.empty())
      events.push_back(EventNamed(ContractKey(due) + "-cancel", std::move(cancel)));
  }
  return events;
}

std::string EventFingerprint(std::string_view text) {
  const std::unique_ptr<icalcomponent, ComponentFree> calendar(
      icalparser_parse_string(std::string(text).c_str()));
  if (!calendar)
    return {};
  std::vector<std::string> lines;
  Describe(calendar.get(), lines);
  // Alarms and properties a server wrote in another order are the same event.
  std::sort(lines.begin(), lines.end());
  std::uint64_t hash = 14695981039346656037ULL;
  for (const std::string& line : lines)
    hash = Mixed(hash, line);
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return hex;
}

bool IsPaylarkEventName(const std::string& name) {
  return name.size() > kPrefix.size() + kSuffix.size() && name.starts_with(kPrefix) &&
         name.ends_with(kSuffix);
}

CalDavPlan PlanCalDavSync(const std::vector<CalDavEvent>& wanted,
                          const std::map<std::string, std::string>& listing,
                          const CalDavState& state) {
  CalDavPlan plan;
  std::set<std::string> wantedNames;
  for (const CalDavEvent& event : wanted) {
    wantedNames.insert(event.name);
    const auto listed = listing.find(event.name);
    if (listed == listing.end()) {
      plan.actions.push_back({CalDavChange::kCreate, event.name, {}, &event});
      continue;
    }
    const auto known = state.events.find(event.name);
    if (SameAsWanted(known == state.events.end() ? nullptr : &known->second, listed->second,
                     event)) {
      ++plan.unchanged;
    } else {
      plan.actions.push_back({CalDavChange::kReplace, event.name, listed->second, &event});
    }
  }
  for (const auto& [name, etag] : listing) {
    if (IsPaylarkEventName(name) && !wantedNames.contains(name))
      plan.actions.push_back({CalDavChange::kRemove, name, etag, nullptr});
  }
  return plan;
}

}  // namespace paylark
