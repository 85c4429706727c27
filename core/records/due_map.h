#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/records/due_record.h"

namespace paylark {

// The record map: record ID to DueRecord. Iteration ("map order") visits 17 hash buckets from 0
// to 16 and each bucket's chain from its head, where new keys are inserted. An auxiliary index
// makes look-ups O(1) at any size without changing that order, and a month index gives the
// records of one due month without a visit of the others.
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
  // Room for this many records without rehashing the look-up index.
  void Reserve(std::size_t count) { index_.reserve(count); }
  std::size_t size() const { return index_.size(); }
  bool empty() const { return index_.empty(); }

  // Calls visit(const DueRecord&) for every record in map order.
  template <class Visitor>
  void ForEach(Visitor&& visit) const {
    for (const auto& bucket : buckets_) {
      for (const Node& node : bucket)
        visit(node.record);
    }
  }

  // Calls visit(const DueRecord&), in map order, for every record whose due date falls in the
  // year and month by the calendar (an invalid due date counts as 30 December 1899).
  template <class Visitor>
  void ForEachInMonth(int year, int month, Visitor&& visit) const {
    for (const Node* node : MonthInMapOrder(year, month))
      visit(node->record);
  }

 private:
  struct Node {
    DueRecord record;
    std::uint32_t bucket = 0;
    // Later insertions stand nearer the head of their chain: map order within a bucket is
    // descending sequence.
    std::uint64_t sequence = 0;
    int monthKey = 0;
  };
  using Chain = std::list<Node>;

  static int MonthKey(int year, int month) { return year * 12 + month - 1; }
  static int MonthKeyOf(const DueRecord& record);
  void AddToMonth(const Node& node);
  void RemoveFromMonth(const Node& node);
  std::vector<const Node*> MonthInMapOrder(int year, int month) const;

  std::array<Chain, kBucketCount> buckets_;
  std::unordered_map<std::string, Chain::iterator> index_;
  std::unordered_map<int, std::vector<const Node*>> months_;
  std::uint64_t lastSequence_ = 0;
};

}  // namespace paylark
