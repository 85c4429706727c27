#include "core/exchange/caldav_plan.h"

#include <cstdint>
#include <cstdio>
#include <set>

namespace paylark {
namespace {

constexpr std::string_view kPrefix = "paylark-";
constexpr std::string_view kSuffix = ".ics";

// FNV-1a over the text without its DTSTAMP line: stable across runs and builds.
std::string Fingerprint(const std::string& text) {
  std::uint64_t hash = 14695981039346656037ULL;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    if (text.compare(start, 8, "DTSTAMP:") != 0) {
      for (std::size_t i = start; i < end; ++i) {
        hash ^= static_cast<unsigned char>(text[i]);
        hash *= 1099511628211ULL;
      }
    }
    start = end;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return hex;
}

bool WrittenByUs(const KnownEvent* known, const std::string& etag, const CalDavEvent& event) {
  return known && (known->etag.empty() || known->etag == etag) &&
         known->fingerprint == event.fingerprint;
}

}  // namespace

std::vector<CalDavEvent> CalDavEvents(const std::vector<DueRecord>& dues,
                                      const CalendarOptions& options) {
  std::vector<CalDavEvent> events;
  for (const DueRecord& due : dues) {
    if (IsPaid(due) || !due.dueDate.IsValid())
      continue;
    CalDavEvent event;
    event.name = std::string(kPrefix) + due.recordId + std::string(kSuffix);
    event.text = RenderDueEvent(due, options);
    event.fingerprint = Fingerprint(event.text);
    events.push_back(std::move(event));
  }
  return events;
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
    if (WrittenByUs(known == state.events.end() ? nullptr : &known->second, listed->second,
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
