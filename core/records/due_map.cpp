#include "core/records/due_map.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace paylark {

std::uint32_t DueMap::Hash(std::string_view key) {
  std::uint32_t h = 0;
  for (const char c : key)
    h = h * 33 + static_cast<unsigned char>(c);
  return h;
}

// The buckets' hash clusters sequential IDs; the index needs its positions spread.
std::uint32_t DueMap::IndexHash(std::string_view key) {
  return static_cast<std::uint32_t>(std::hash<std::string_view>{}(key));
}

DueMap::DueMap() {
  heads_.fill(kNoSlot);
}

DueMap::~DueMap() = default;

std::uint32_t DueMap::SlotOf(std::string_view recordId) const {
  if (index_.empty())
    return kNoSlot;
  return index_[IndexPosition(recordId, PackedId::Of(recordId), IndexHash(recordId))];
}

std::optional<DueRecord> DueMap::Find(std::string_view recordId) const {
  const std::uint32_t slot = SlotOf(recordId);
  if (slot == kNoSlot)
    return std::nullopt;
  return NodeAt(slot).due.Unpack();
}

bool DueMap::Contains(std::string_view recordId) const {
  return SlotOf(recordId) != kNoSlot;
}

std::optional<DueRecord> DueMap::Set(const std::string& recordId, DueRecord record) {
  record.recordId = recordId;
  return Set(record);
}

std::optional<DueRecord> DueMap::Set(const DueRecord& record) {
  GrowIndex(count_ + 1);
  const std::string_view recordId = record.recordId;
  const std::uint32_t hash = IndexHash(recordId);
  const std::size_t position = IndexPosition(recordId, PackedId::Of(recordId), hash);
  const int monthKey = MonthKeyOf(record.dueDate);
  if (index_[position] != kNoSlot) {
    const std::uint32_t slot = index_[position];
    Node& node = NodeAt(slot);
    if (monthKey != node.monthKey) {
      RemoveFromMonth(slot);
      node.monthKey = monthKey;
      AddToMonth(slot);
    }
    std::optional<DueRecord> replaced = node.due.Unpack();
    node.due = PackedDue(record, texts_);
    return replaced;
  }
  const std::uint32_t slot = TakeFreeSlot();
  Node& node = NodeAt(slot);
  node.due = PackedDue(record, texts_);
  node.sequence = ++lastSequence_;
  node.bucket = Hash(recordId) % kBucketCount;
  node.indexHash = hash;
  node.monthKey = monthKey;
  node.previous = kNoSlot;
  node.next = heads_[node.bucket];
  if (node.next != kNoSlot)
    NodeAt(node.next).previous = slot;
  heads_[node.bucket] = slot;
  index_[position] = slot;
  ++count_;
  AddToMonth(slot);
  return std::nullopt;
}

void DueMap::Remove(std::string_view recordId) {
  if (index_.empty())
    return;
  const std::size_t position = IndexPosition(recordId, PackedId::Of(recordId), IndexHash(recordId));
  const std::uint32_t slot = index_[position];
  if (slot == kNoSlot)
    return;
  EraseIndexPosition(position);
  Unlink(slot);
  RemoveFromMonth(slot);
  NodeAt(slot) = Node{};
  freeSlots_.push_back(slot);
  --count_;
}

void DueMap::Clear() {
  blocks_.clear();
  texts_.Clear();
  freeSlots_.clear();
  usedSlots_ = 0;
  heads_.fill(kNoSlot);
  std::fill(index_.begin(), index_.end(), kNoSlot);
  count_ = 0;
  months_.clear();
  lastSequence_ = 0;
}

void DueMap::Reserve(std::size_t count) {
  GrowIndex(count);
  blocks_.reserve((count + kBlockSize - 1) / kBlockSize);
}

std::uint32_t DueMap::TakeFreeSlot() {
  if (!freeSlots_.empty()) {
    const std::uint32_t slot = freeSlots_.back();
    freeSlots_.pop_back();
    return slot;
  }
  if (usedSlots_ == blocks_.size() * kBlockSize)
    blocks_.push_back(std::make_unique<Node[]>(kBlockSize));
  return usedSlots_++;
}

std::size_t DueMap::IndexPosition(std::string_view recordId, const PackedId& packed,
                                  std::uint32_t hash) const {
  const std::size_t mask = index_.size() - 1;
  for (std::size_t position = hash & mask;; position = (position + 1) & mask) {
    const std::uint32_t slot = index_[position];
    if (slot == kNoSlot)
      return position;
    const Node& node = NodeAt(slot);
    if (node.indexHash == hash && node.due.HasId(recordId, packed))
      return position;
  }
}

// The index stays at most half full, so a probe ends soon at an empty position.
void DueMap::GrowIndex(std::size_t records) {
  std::size_t size = 16;
  while (size < records * 2)
    size *= 2;
  if (size <= index_.size())
    return;
  index_.assign(size, kNoSlot);
  const std::size_t mask = size - 1;
  for (std::uint32_t slot = 0; slot < usedSlots_; ++slot) {
    const Node& node = NodeAt(slot);
    if (node.sequence == 0)
      continue;
    std::size_t position = node.indexHash & mask;
    while (index_[position] != kNoSlot)
      position = (position + 1) & mask;
    index_[position] = slot;
  }
}

// Linear probing without tombstones: later entries of the probe run move back into the hole
// unless that would put them before their home position.
void DueMap::EraseIndexPosition(std::size_t position) {
  const std::size_t mask = index_.size() - 1;
  std::size_t hole = position;
  for (std::size_t next = (position + 1) & mask; index_[next] != kNoSlot;
       next = (next + 1) & mask) {
    const std::size_t home = NodeAt(index_[next]).indexHash & mask;
    const bool staysAfterHole =
        hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
    if (!staysAfterHole) {
      index_[hole] = index_[next];
      hole = next;
    }
  }
  index_[hole] = kNoSlot;
}

void DueMap::Unlink(std::uint32_t slot) {
  const Node& node = NodeAt(slot);
  if (node.previous != kNoSlot)
    NodeAt(node.previous).next = node.next;
  else
    heads_[node.bucket] = node.next;
  if (node.next != kNoSlot)
    NodeAt(node.next).previous = node.previous;
}

int DueMap::MonthKeyOf(const OleDateTime& dueDate) {
  const CivilDateTime civil = dueDate.ToCivil();
  return MonthKey(civil.year, civil.month);
}

void DueMap::AddToMonth(std::uint32_t slot) {
  Node& node = NodeAt(slot);
  std::vector<std::uint32_t>& slots = months_[node.monthKey];
  node.monthPosition = static_cast<std::uint32_t>(slots.size());
  slots.push_back(slot);
}

void DueMap::RemoveFromMonth(std::uint32_t slot) {
  const Node& node = NodeAt(slot);
  std::vector<std::uint32_t>& slots = months_[node.monthKey];
  const std::uint32_t moved = slots.back();
  slots[node.monthPosition] = moved;
  NodeAt(moved).monthPosition = node.monthPosition;
  slots.pop_back();
}

std::vector<std::uint32_t> DueMap::MonthInMapOrder(int year, int month) const {
  const auto found = months_.find(MonthKey(year, month));
  if (found == months_.end())
    return {};
  std::vector<std::uint32_t> slots = found->second;
  std::sort(slots.begin(), slots.end(), [this](std::uint32_t a, std::uint32_t b) {
    const Node& first = NodeAt(a);
    const Node& second = NodeAt(b);
    return first.bucket != second.bucket ? first.bucket < second.bucket
                                         : first.sequence > second.sequence;
  });
  return slots;
}

}  // namespace paylark
