#pragma once

#include <map>
#include <string>
#include <string_view>

namespace paylark {

// What this computer last knew of one of Paylark's events in a CalDAV collection.
struct KnownEvent {
  std::string etag;         // the server's ETag; empty when a write was answered without one
  std::string fingerprint;  // EventFingerprint of the event at that ETag; empty when unknown
};

// What this computer knows of a collection between two syncs: its last sync token and its
// events by resource name. Losing it is never wrong: the next sync compares every event again.
struct CalDavState {
  std::string syncToken;
  std::map<std::string, KnownEvent> events;
};

// A small text file: a header line, "token <token>", then one "name<TAB>etag<TAB>fingerprint"
// line per event.
std::string SerializeCalDavState(const CalDavState& state);
// Reads what SerializeCalDavState wrote; anything else reads as an empty state.
CalDavState ParseCalDavState(std::string_view text);

}  // namespace paylark
