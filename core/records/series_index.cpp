#include "core/records/series_index.h"

#include <cmath>
#include <iterator>
#include <limits>

namespace paylark {
namespace {

// A NaN read from a damaged file would break the set's order; it sorts first instead.
double DueKey(const DueRecord& record) {
  const double value = record.dueDate.value();
  return std::isnan(value) ? -std::numeric_limits<double>::infinity() : value;
}

}  // namespace

void SeriesIndex::Add(const DueRecord& record) {
  if (IsSeriesMember(record))
    series_[record.seriesId].emplace(DueKey(record), record.recordId);
}

void SeriesIndex::Remove(const DueRecord& record) {
  const auto found = series_.find(record.seriesId);
  if (found == series_.end())
    return;
  found->second.erase(Member(DueKey(record), record.recordId));
  if (found->second.empty())
    series_.erase(found);
}

std::optional<SeriesPosition> SeriesIndex::PositionOf(const DueRecord& record) const {
  const auto found = series_.find(record.seriesId);
  if (!IsSeriesMember(record) || found == series_.end())
    return std::nullopt;
  const std::set<Member>& members = found->second;
  const auto at = members.find(Member(DueKey(record), record.recordId));
  if (at == members.end())
    return std::nullopt;
  return SeriesPosition{static_cast<std::size_t>(std::distance(members.begin(), at)) + 1,
                        members.size()};
}

}  // namespace paylark
