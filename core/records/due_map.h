#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/base/page_block.h"
#include "core/records/due_record.h"
#include "core/records/due_view.h"
#include "core/records/map_image.h"
#include "core/records/packed_due.h"
#include "core/records/text_arena.h"

namespace paylark {

// A part of one bucket's records in map order: the `index`-th of `count` about equal ones, so
// that a pass over the map may take more, shorter steps than there are buckets.
struct BucketPart {
  std::uint32_t bucket = 0;
  std::uint32_t index = 0;
  std::uint32_t count = 1;
};

// The record map: record ID to DueRecord. Iteration ("map order") visits 17 hash buckets from 0
// to 16 and each bucket's records from the newest inserted. Records are kept packed in a flat
// table of fixed-size blocks; an open-addressing index over the table finds an ID without a
// second copy of it, and a month index gives the records of one due month without a visit of the
// others. Visits hand out each record unpacked into a scratch record: a visitor copies what it
// keeps.
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
  // Inserts the due (its encoded extension block beside it) unless its ID is held: false, and
  // nothing changes, when it is. A load inserts this way without unpacking anything.
  bool Insert(const DueView& due, std::string_view extension);
  // The same for a due whose ID the caller knows is not held: a load of files named after their
  // records' IDs, which no two share, looks nothing up. The look-up index takes appended records
  // all at once, which is far quicker than one by one: a look-up (Find, Contains) finds them
  // only after IndexAppended, which Set, Insert and Remove run themselves.
  void Append(const DueView& due, std::string_view extension);
  // Whether the due's texts still fit: the map holds at most 4 GiB of them. Set, Insert and
  // Append are only for a due that fits.
  bool HasRoomFor(const DueView& due, std::string_view extension) const {
    return texts_.HasRoomFor(PackedFields::TextBytes(due, extension));
  }
  void IndexAppended();
  // It is not an error if the ID is not held.
  void Remove(std::string_view recordId);
  void Clear();
  // Room for this many records without growing the look-up index.
  void Reserve(std::size_t count);
  // Hands back what growing left unused; for the end of a load.
  void ShrinkToFit();
  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }

  // A job for a thread of its own that maps the table's pages still lying in the image it was
  // read from, so that a walk of every record that follows takes no page faults; empty when the
  // table is all in memory. The job holds what it reads: the map may change meanwhile.
  std::function<void()> BringInJob() const;

  // The map as it lies in memory, for a start that copies it back: only for a map whose
  // appended records are indexed.
  void WriteImage(MapImageWriter& image) const;
  // Replaces the map by the image's; false for a damaged image or one of another layout, the map
  // then empty.
  [[nodiscard]] bool ReadImage(MapImageReader& image);

  // Calls visit(const DueRecord&) for every record in map order; the reference lasts for the
  // call.
  template <class Visitor>
  void ForEach(Visitor&& visit) const {
    DueRecord record;
    ForEachPacked([&](const PackedDue& due) {
      due.UnpackInto(record);
      visit(static_cast<const DueRecord&>(record));
    });
  }

  // Calls visit(const PackedDue&) for every record in map order: for a pass that reads a few
  // fields of every record and unpacks only the records it keeps.
  template <class Visitor>
  void ForEachPacked(Visitor&& visit) const {
    for (std::uint32_t bucket = 0; bucket < kBucketCount; ++bucket)
      ForEachPackedInBucket(BucketPart{bucket}, visit);
  }

  // The same for a part of one bucket's records: the buckets 0 to kBucketCount - 1 in turn, each
  // in its parts 0 to count - 1, visit the whole map in map order, a pass a caller can spread
  // over time.
  template <class Visitor>
  void ForEachPackedInBucket(const BucketPart& part, Visitor&& visit) const {
    const std::vector<std::uint32_t>& chain = buckets_[part.bucket];
    for (std::size_t i = chain.size() * part.index / part.count;
         i < chain.size() * (part.index + 1) / part.count; ++i)
      visit(static_cast<const PackedDue&>(DueAt(chain[chain.size() - 1 - i])));
  }

  // The same for the part's records that have an extension block, without reading the others'
  // texts: for a pass over what only the block holds (a contract's renewal date).
  template <class Visitor>
  void ForEachPackedWithExtensionInBucket(const BucketPart& part, Visitor&& visit) const {
    ForEachPackedInBucket(part, [&](const PackedDue& due) {
      if (due.HasExtension())
        visit(due);
    });
  }

  // Calls visit(const PackedDue&), in map order, for every record whose due date falls in the
  // year and month by the calendar (an invalid due date counts as 30 December 1899).
  template <class Visitor>
  void ForEachPackedInMonth(int year, int month, Visitor&& visit) const {
    for (const std::uint32_t slot : MonthInMapOrder(year, month))
      visit(static_cast<const PackedDue&>(DueAt(slot)));
  }
  // How many records ForEachPackedInMonth visits.
  std::size_t CountInMonth(int year, int month) const;

 private:
  static constexpr std::uint32_t kNoSlot = UINT32_MAX;

  // The packed record, where it stands in map order and in which bucket: 48 bytes.
  struct Node {
    PackedFields fields;
    // Later insertions stand nearer the head of their bucket: map order within a bucket is
    // descending sequence. 0 marks a free slot; Clear starts the count again.
    std::uint32_t sequence = 0;
    std::uint8_t bucket = 0;
    bool extension = false;  // whether the record has an extension block
  };
  // A block is one huge page.
  static constexpr std::uint32_t kBlockSize = PageBlock::kHugePageBytes / sizeof(Node);

  // What an image copies as it lies: an image of another layout is not read.
  static std::array<std::uint32_t, 8> Layout();

  static int MonthKey(int year, int month) { return year * 12 + month - 1; }
  static int MonthKeyOf(const OleDateTime& dueDate);
  static std::uint32_t IndexHash(std::string_view recordId, const PackedId& packed);
  static std::uint32_t IndexHashOf(const PackedDue& due);

  Node& NodeAt(std::uint32_t slot) {
    return static_cast<Node*>(blocks_[slot / kBlockSize].data())[slot % kBlockSize];
  }
  const Node& NodeAt(std::uint32_t slot) const {
    return static_cast<const Node*>(blocks_[slot / kBlockSize].data())[slot % kBlockSize];
  }
  PackedDue DueAt(std::uint32_t slot) const {
    const Node& node = NodeAt(slot);
    return PackedDue(node.fields, texts_, node.extension);
  }
  std::uint32_t TakeFreeSlot();
  std::uint32_t TakeNewSlot();
  void AddBlock();
  bool ReadImageParts(MapImageReader& image);
  // Takes the next `count` nodes of the image as the map's next block.
  bool TakeNodes(MapImageReader& image, std::uint32_t count);
  // Every slot handed out, the live ones month by month.
  std::vector<std::uint32_t> SlotsInMonthOrder() const;
  // The index position holding the ID's slot, or the empty position where it would go.
  std::size_t IndexPosition(std::string_view recordId, const PackedId& packed,
                            std::uint32_t hash) const;
  std::size_t EmptyPosition(std::uint32_t hash) const;
  std::uint32_t SlotOf(std::string_view recordId) const;
  // Puts a new record into map order and the month index; gives its slot.
  std::uint32_t AddNode(std::uint32_t slot, std::string_view recordId, const PackedFields& due);
  void GrowIndex(std::size_t records);
  void EraseIndexPosition(std::size_t position);
  void RemoveFromBucket(std::uint32_t slot);
  void RemoveFromMonth(std::uint32_t slot, int monthKey);
  std::vector<std::uint32_t> MonthInMapOrder(int year, int month) const;

  std::vector<PageBlock> blocks_;
  // The packed texts; those of replaced and removed records stay until Clear.
  TextArena texts_;
  std::vector<std::uint32_t> freeSlots_;
  std::uint32_t usedSlots_ = 0;     // slots ever handed out since the last Clear
  std::uint32_t indexedSlots_ = 0;  // the slots from here on were appended and are not indexed
  // Each bucket's slots in ascending sequence: map order walks each from its end.
  std::array<std::vector<std::uint32_t>, kBucketCount> buckets_;
  // Slots by IndexHash; kNoSlot is empty; a power of two in size.
  PageBlock indexBlock_;
  std::uint32_t* index_ = nullptr;
  std::size_t indexSize_ = 0;
  std::size_t count_ = 0;
  std::unordered_map<int, std::vector<std::uint32_t>> months_;
  std::uint32_t lastSequence_ = 0;
};

}  // namespace paylark
