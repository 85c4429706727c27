#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/caldav_state.h"
#include "core/exchange/calendar_feed.h"
#include "core/records/due_record.h"

namespace paylark {

// An event the collection should hold: its resource name ("paylark-<record ID>.ics"), its text
// and its EventFingerprint.
struct CalDavEvent {
  std::string name;
  std::string text;
  std::string fingerprint;
};

// The events of the unpaid dues among dues, in their order, each contract's cancel-by day after
// its first due ("paylark-<series or record ID>-cancel.ics").
std::vector<CalDavEvent> CalDavEvents(const std::vector<DueRecord>& dues,
                                      const CalendarOptions& options);

// A hash of what a user sees of an iCalendar text: the events' and alarms' dates, texts and
// triggers by value, in any order and however folded; not the stamp nor what a server or phone
// adds of its own. Empty for a text that is not iCalendar.
std::string EventFingerprint(std::string_view text);

// Whether a resource name is one Paylark writes; other events of the collection are left alone.
bool IsPaylarkEventName(const std::string& name);

enum class CalDavChange { kCreate, kReplace, kRemove };

struct CalDavAction {
  CalDavChange change;
  std::string name;
  std::string etag;  // the server's, for If-Match; empty for kCreate (If-None-Match: *)
  const CalDavEvent* event = nullptr;  // what to write; null for kRemove
};

struct CalDavPlan {
  std::vector<CalDavAction> actions;
  int unchanged = 0;
};

// What makes the collection hold exactly the wanted events, given its listing (resource name to
// ETag) and what is known of the events' content (the fingerprint at an ETag). An event whose
// content is unknown at the listed ETag, or differs from the wanted one (the due changed, a
// phone edited it), is written again; an event of Paylark's that is not wanted any more is
// removed. The plan points into wanted.
CalDavPlan PlanCalDavSync(const std::vector<CalDavEvent>& wanted,
                          const std::map<std::string, std::string>& listing,
                          const CalDavState& state);

}  // namespace paylark
