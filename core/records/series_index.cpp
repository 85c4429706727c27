#include "core/records/series_index.h"

#include <cmath>
#include <iterator>
#include <limits>

namespace paylark {
namespace {

// A NaN read from a damaged file would break the set's order; it sorts first instead.
double DueKey(const DueView& due) {
  const double value = due.dueDate.value();
  return std::isnan(value) ? -std::numeric_limits<double>::infinity() : value;
}

}  // namespace

void SeriesIndex::Add(const DueView& due) {
  if (due.seriesId.empty())
    return;
  auto found = series_.find(due.seriesId);
  if (found == series_.end())
    found = series_.emplace(std::string(due.seriesId), std::set<Member>()).first;
  found->second.emplace(DueKey(due), std::string(due.recordId));
}

void SeriesIndex::Remove(const DueView& due) {
  const auto found = series_.find(due.seriesId);
  if (found == series_.end())
    return;
  found->second.erase(Member(DueKey(due), std::string(due.recordId)));
  if (found->second.empty())
    series_.erase(found);
}

std::optional<SeriesPosition> SeriesIndex::PositionOf(const DueView& due) const {
  const auto found = series_.find(due.seriesId);
  if (due.seriesId.empty() || found == series_.end())
    return std::nullopt;
  const std::set<Member>& members = found->second;
  const auto at = members.find(Member(DueKey(due), std::string(due.recordId)));
  if (at == members.end())
    return std::nullopt;
  return SeriesPosition{static_cast<std::size_t>(std::distance(members.begin(), at)) + 1,
                        members.size()};
}

void SeriesIndex::WriteImage(MapImageWriter& image) const {
  image.Put<std::uint64_t>(series_.size());
  for (const auto& [seriesId, members] : series_) {
    image.PutText(seriesId);
    image.Put<std::uint64_t>(members.size());
    for (const auto& [dueDate, recordId] : members) {
      image.Put(dueDate);
      image.PutText(recordId);
    }
  }
}

bool SeriesIndex::ReadImage(MapImageReader& image) {
  Clear();
  std::uint64_t count = 0;
  if (!image.TakeCount(count, 16))
    return false;
  std::string seriesId;
  Member member;
  for (std::uint64_t i = 0; i < count; ++i) {
    std::uint64_t size = 0;
    if (!image.TakeText(seriesId) || !image.TakeCount(size, 16))
      return false;
    std::set<Member>& members = series_[seriesId];
    for (std::uint64_t j = 0; j < size; ++j) {
      if (!image.Take(member.first) || !image.TakeText(member.second))
        return false;
      members.insert(members.end(), member);
    }
  }
  return true;
}

}  // namespace paylark
