#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/exchange/caldav_state.h"
#include "core/exchange/calendar_feed.h"
#include "core/records/due_record.h"

namespace paylark {

// An event the collection should hold: its resource name ("paylark-<record ID>.ics"), its text
// and a fingerprint of the text that ignores DTSTAMP, which changes on every rendering.
struct CalDavEvent {
  std::string name;
  std::string text;
  std::string fingerprint;
};

// The events of the unpaid dues among dues, in their order.
std::vector<CalDavEvent> CalDavEvents(const std::vector<DueRecord>& dues,
                                      const CalendarOptions& options);

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
// ETag) and what this computer last wrote. An event whose ETag is not the one Paylark's write got
// (edited on a phone, written by another computer) is written again; an event of Paylark's that
// is not wanted any more is removed. The plan points into wanted.
CalDavPlan PlanCalDavSync(const std::vector<CalDavEvent>& wanted,
                          const std::map<std::string, std::string>& listing,
                          const CalDavState& state);

}  // namespace paylark
