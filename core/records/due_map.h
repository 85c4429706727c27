#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/records/due_record.h"

namespace paylark {

// The record map: record ID to DueRecord. Iteration ("map order") visits 17 hash buckets from 0
// to 16 and each bucket's chain from its head, where new keys are inserted. An auxiliary index
// makes look-ups O(1) at any size without changing that order.
class DueMap {
 public:
  static constexpr std::uint32_t kBucketCount = 17;

  // h = h * 33 + byte over the key's bytes, unsigned 32-bit.
  static std::uint32_t Hash(std::string_view key);

  DueMap() = default;
  DueMap(const DueMap&) = delete;
  DueMap& operator=(const DueMap&) = delete;

  // The stored record, or null when the ID is not held.
  const DueRecord* Find(const std::string& recordId) const;
  // Replaces the record stored under the ID, or inserts it at the head of its bucket.
  void Set(const std::string& recordId, DueRecord record);
  // It is not an error if the ID is not held.
  void Remove(const std::string& recordId);
  void Clear();
  std::size_t size() const { return index_.size(); }
  bool empty() const { return index_.empty(); }

  // Calls visit(const DueRecord&) for every record in map order.
  template <class Visitor>
  void ForEach(Visitor&& visit) const {
    for (const auto& bucket : buckets_) {
      for (const DueRecord& record : bucket)
        visit(record);
    }
  }

 private:
  using Chain = std::list<DueRecord>;

  std::array<Chain, kBucketCount> buckets_;
  std::unordered_map<std::string, Chain::iterator> index_;
};

}  // namespace paylark
