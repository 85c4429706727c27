#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/records/due_record.h"
#include "core/records/packed_due.h"
#include "core/records/text_arena.h"

namespace paylark {

// The record map: record ID to DueRecord. Iteration ("map order") visits 17 hash buckets from 0
// to 16 and each bucket's chain from its head, where new keys are inserted. Records are kept
// packed in a flat table of fixed-size blocks; an open-addressing index over the table finds an
// ID without a second copy of it, and a month index gives the records of one due month without
// a visit of the others. Visits hand out each record unpacked into a scratch record: a visitor
// copies what it keeps.
class DueMap {
 public:
  static constexpr std::uint32_t kBucketCount = 17;

  // h = h * 33 + byte over the key's bytes, unsigned 32-bit.
  static std::uint32_t Hash(std::string_view key);

  DueMap();
  ~DueMap();
  DueMap(const DueMap&) = delete;
  DueMap& operator=(const DueMap&) = delete;

  // A copy of the stored record, or nothing when the ID is not held.
  std::optional<DueRecord> Find(std::string_view recordId) const;
  bool Contains(std::string_view recordId) const;
  // Replaces the record stored under its ID, or inserts it at the head of its bucket. Gives the
  // record it replaced.
  std::optional<DueRecord> Set(const DueRecord& record);
  // The same under another ID.
  std::optional<DueRecord> Set(const std::string& recordId, DueRecord record);
  // It is not an error if the ID is not held.
  void Remove(std::string_view recordId);
  void Clear();
  // Room for this many records without growing the look-up index.
  void Reserve(std::size_t count);
  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }

  // Calls visit(const DueRecord&) for every record in map order; the reference lasts for the
  // call.
  template <class Visitor>
  void ForEach(Visitor&& visit) const {
    DueRecord record;
    for (const std::uint32_t head : heads_) {
      for (std::uint32_t slot = head; slot != kNoSlot; slot = NodeAt(slot).next) {
        NodeAt(slot).due.UnpackInto(record);
        visit(static_cast<const DueRecord&>(record));
      }
    }
  }

  // Calls visit(const PackedDue&) for every record in map order: for a pass that reads a few
  // fields of every record and unpacks only the records it keeps.
  template <class Visitor>
  void ForEachPacked(Visitor&& visit) const {
    for (const std::uint32_t head : heads_) {
      for (std::uint32_t slot = head; slot != kNoSlot; slot = NodeAt(slot).next)
        visit(NodeAt(slot).due);
    }
  }

  // Calls visit(const DueRecord&), in map order, for every record whose due date falls in the
  // year and month by the calendar (an invalid due date counts as 30 December 1899).
  template <class Visitor>
  void ForEachInMonth(int year, int month, Visitor&& visit) const {
    DueRecord record;
    for (const std::uint32_t slot : MonthInMapOrder(year, month)) {
      NodeAt(slot).due.UnpackInto(record);
      visit(static_cast<const DueRecord&>(record));
    }
  }

 private:
  static constexpr std::uint32_t kNoSlot = UINT32_MAX;
  static constexpr std::uint32_t kBlockShift = 12;
  static constexpr std::uint32_t kBlockSize = 1u << kBlockShift;

  struct Node {
    PackedDue due;
    // Later insertions stand nearer the head of their chain: map order within a bucket is
    // descending sequence. 0 marks a free slot; Clear starts the count again.
    std::uint32_t sequence = 0;
    std::uint32_t previous = kNoSlot;
    std::uint32_t next = kNoSlot;
    std::uint32_t indexHash = 0;
    int monthKey = 0;
    std::uint32_t monthPosition : 27 = 0;  // where the slot stands in its month's list
    std::uint32_t bucket : 5 = 0;
  };

  static int MonthKey(int year, int month) { return year * 12 + month - 1; }
  static int MonthKeyOf(const OleDateTime& dueDate);
  static std::uint32_t IndexHash(std::string_view key);

  Node& NodeAt(std::uint32_t slot) { return blocks_[slot >> kBlockShift][slot & (kBlockSize - 1)]; }
  const Node& NodeAt(std::uint32_t slot) const {
    return blocks_[slot >> kBlockShift][slot & (kBlockSize - 1)];
  }
  std::uint32_t TakeFreeSlot();
  // The index position holding the ID's slot, or the empty position where it would go.
  std::size_t IndexPosition(std::string_view recordId, const PackedId& packed,
                            std::uint32_t hash) const;
  std::uint32_t SlotOf(std::string_view recordId) const;
  void GrowIndex(std::size_t records);
  void EraseIndexPosition(std::size_t position);
  void Unlink(std::uint32_t slot);
  void AddToMonth(std::uint32_t slot);
  void RemoveFromMonth(std::uint32_t slot);
  std::vector<std::uint32_t> MonthInMapOrder(int year, int month) const;

  std::vector<std::unique_ptr<Node[]>> blocks_;
  // The packed texts; those of replaced and removed records stay until Clear.
  TextArena texts_;
  std::vector<std::uint32_t> freeSlots_;
  std::uint32_t usedSlots_ = 0;  // slots ever handed out since the last Clear
  std::array<std::uint32_t, kBucketCount> heads_;
  std::vector<std::uint32_t> index_;  // slots by IndexHash; kNoSlot is empty; a power of two
  std::size_t count_ = 0;
  std::unordered_map<int, std::vector<std::uint32_t>> months_;
  std::uint32_t lastSequence_ = 0;
};

}  // namespace paylark
