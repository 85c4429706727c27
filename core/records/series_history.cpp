#include "core/records/series_history.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <optional>

#include "core/base/format.h"

namespace paylark {

std::vector<DueRecord> SeriesHistory(const RecordStore& store, const std::string& seriesId) {
  std::vector<DueRecord> members;
  if (seriesId.empty())
    return members;
  for (const std::string& id : store.records().SeriesMembers(seriesId))
    members.push_back(store.Get(id));
  std::sort(members.begin(), members.end(), [](const DueRecord& a, const DueRecord& b) {
    if (a.dueDate != b.dueDate)
      return a.dueDate < b.dueDate;
    return a.recordId < b.recordId;
  });
  return members;
}

std::string SeriesChangeText(const std::vector<DueRecord>& members, const std::string& recordId) {
  const auto at = std::find_if(members.begin(), members.end(), [&](const DueRecord& member) {
    return member.recordId == recordId;
  });
  if (at == members.end() || at == members.begin())
    return {};
  const double before = ListedAmount(*(at - 1));
  if (before == 0.0)
    return {};
  const double percent = (ListedAmount(*at) - before) / before * 100.0;
  char text[64];
  std::snprintf(text, sizeof text, "%+.1f%%", percent);
  std::string result = text;
  if (result == "-0.0%")
    result = "+0.0%";
  const std::string mark = std::localeconv()->mon_decimal_point;
  if (const std::size_t point = result.find('.'); point != std::string::npos && !mark.empty())
    result.replace(point, 1, mark);
  return result;
}

std::string PaidRangeText(const std::vector<DueRecord>& members) {
  std::optional<Cents> low;
  std::optional<Cents> high;
  for (const DueRecord& member : members) {
    if (!IsPaid(member))
      continue;
    const Cents paid = PaidCents(member);
    low = std::min(low.value_or(paid), paid);
    high = std::max(high.value_or(paid), paid);
  }
  if (!low || *low == *high)
    return {};
  return "Paid " + FormatAmount(FromCents(*low)) + " to " + FormatAmount(FromCents(*high));
}

}  // namespace paylark
