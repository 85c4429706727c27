#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

#include "core/base/text_hash.h"
#include "core/records/due_view.h"
#include "core/records/map_image.h"

namespace paylark {

// Where a due stands in its series: the position-th of count members by due date, from 1.
struct SeriesPosition {
  std::size_t position = 0;
  std::size_t count = 0;
  bool operator==(const SeriesPosition&) const = default;
};

// The members of every series ordered by due date (equal dates by record ID). The owner of the
// records adds and removes each record as it maps and unmaps it, so a position is found without
// visiting the other records.
class SeriesIndex {
 public:
  void Add(const DueView& due);
  // It is not an error if the record is not held.
  void Remove(const DueView& due);
  void Clear() { series_.clear(); }
  // Null for a due outside a series and for a record the index does not hold as given.
  std::optional<SeriesPosition> PositionOf(const DueView& due) const;

  void WriteImage(MapImageWriter& image) const;
  // Replaces the index by the image's; false for a damaged image.
  [[nodiscard]] bool ReadImage(MapImageReader& image);

 private:
  using Member = std::pair<double, std::string>;  // due date, record ID

  std::unordered_map<std::string, std::set<Member>, TextHash, std::equal_to<>> series_;
};

}  // namespace paylark
