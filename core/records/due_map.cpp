#include "core/records/due_map.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <span>
#include <utility>

namespace paylark {
namespace {

// Fills `out` with the bytes at `offset` of a table whose i-th element is element(i).
template <class T, class Element>
void FillTable(std::size_t offset, std::span<char> out, const Element& element) {
  for (std::size_t done = 0; done < out.size();) {
    const std::size_t at = offset + done;
    const auto& value = element(at / sizeof(T));
    const std::size_t within = at % sizeof(T);
    const std::size_t taken = std::min(sizeof(T) - within, out.size() - done);
    std::memcpy(out.data() + done, reinterpret_cast<const char*>(&value) + within, taken);
    done += taken;
  }
}

// Where each slot stands in the image; a slot number past the end (no slot) stays as it is.
using Renumbering = std::shared_ptr<const std::vector<std::uint32_t>>;

std::uint32_t Renumbered(const Renumbering& renumbering, std::uint32_t slot) {
  return slot < renumbering->size() ? (*renumbering)[slot] : slot;
}

void PutSlots(MapImageWriter& image, const std::vector<std::uint32_t>& slots,
              const Renumbering& renumbering) {
  image.Put<std::uint64_t>(slots.size());
  image.PutMade(slots.size() * sizeof(std::uint32_t),
                [&slots, renumbering](std::size_t offset, std::span<char> out) {
                  FillTable<std::uint32_t>(offset, out, [&](std::size_t i) {
                    return Renumbered(renumbering, slots[i]);
                  });
                });
}

bool TakeSlots(MapImageReader& image, std::vector<std::uint32_t>& slots) {
  std::uint64_t count = 0;
  if (!image.TakeCount(count, sizeof(std::uint32_t)))
    return false;
  slots.resize(count);
  return image.TakeInto(slots.data(), count * sizeof(std::uint32_t));
}

}  // namespace

std::uint32_t DueMap::Hash(std::string_view key) {
  std::uint32_t h = 0;
  for (const char c : key)
    h = h * 33 + static_cast<unsigned char>(c);
  return h;
}

// The buckets' hash clusters sequential IDs; the index needs its positions spread. A number key
// is mixed as it is (splitmix64's finalizer), so that no ID needs its digits written out.
std::uint32_t DueMap::IndexHash(std::string_view recordId, const PackedId& packed) {
  if (!packed.IsNumber())
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(recordId));
  std::uint64_t x = packed.key;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return static_cast<std::uint32_t>(x ^ (x >> 31));
}

std::uint32_t DueMap::IndexHashOf(const PackedDue& due) {
  return IndexHash(due.TextId(), due.id());
}

DueMap::DueMap() = default;

DueMap::~DueMap() = default;

std::uint32_t DueMap::SlotOf(std::string_view recordId) const {
  if (indexSize_ == 0)
    return kNoSlot;
  const PackedId packed = PackedId::Of(recordId);
  return index_[IndexPosition(recordId, packed, IndexHash(recordId, packed))];
}

std::optional<DueRecord> DueMap::Find(std::string_view recordId) const {
  const std::uint32_t slot = SlotOf(recordId);
  if (slot == kNoSlot)
    return std::nullopt;
  return DueAt(slot).Unpack();
}

bool DueMap::Contains(std::string_view recordId) const {
  return SlotOf(recordId) != kNoSlot;
}

std::optional<DueRecord> DueMap::Set(const std::string& recordId, DueRecord record) {
  record.recordId = recordId;
  return Set(record);
}

std::optional<DueRecord> DueMap::Set(const DueRecord& record) {
  IndexAppended();
  GrowIndex(count_ + 1);
  const std::string_view recordId = record.recordId;
  const PackedId packed = PackedId::Of(recordId);
  const std::size_t position = IndexPosition(recordId, packed, IndexHash(recordId, packed));
  if (index_[position] == kNoSlot) {
    index_[position] = AddNode(TakeFreeSlot(), recordId, PackedFields::Of(record, texts_));
    return std::nullopt;
  }
  const std::uint32_t slot = index_[position];
  std::optional<DueRecord> replaced = DueAt(slot).Unpack();
  const int monthKey = MonthKeyOf(DueAt(slot).DueDate());
  NodeAt(slot).fields = PackedFields::Of(record, texts_);
  NodeAt(slot).extension = !DueAt(slot).ExtensionBlock().empty();
  if (MonthKeyOf(record.dueDate) != monthKey) {
    RemoveFromMonth(slot, monthKey);
    months_[MonthKeyOf(record.dueDate)].push_back(slot);
  }
  return replaced;
}

bool DueMap::Insert(const DueView& due, std::string_view extension) {
  IndexAppended();
  GrowIndex(count_ + 1);
  const PackedId packed = PackedId::Of(due.recordId);
  const std::size_t position = IndexPosition(due.recordId, packed, IndexHash(due.recordId, packed));
  if (index_[position] != kNoSlot)
    return false;
  index_[position] =
      AddNode(TakeFreeSlot(), due.recordId, PackedFields::Of(due, extension, texts_));
  return true;
}

// Appended records take new slots only, so that the ones not indexed yet are the last ones.
void DueMap::Append(const DueView& due, std::string_view extension) {
  AddNode(TakeNewSlot(), due.recordId, PackedFields::Of(due, extension, texts_));
}

void DueMap::IndexAppended() {
  if (indexedSlots_ == usedSlots_)
    return;
  if (indexSize_ < count_ * 2) {
    GrowIndex(count_);  // indexes every slot
    return;
  }
  // The index positions a little ahead are fetched while this one is written: the writes land
  // all over the index, and waiting for each in turn would take most of the time.
  constexpr std::uint32_t kAhead = 16;
  const std::size_t mask = indexSize_ - 1;
  for (std::uint32_t slot = indexedSlots_; slot < usedSlots_; ++slot) {
    if (slot + kAhead < usedSlots_)
      __builtin_prefetch(&index_[IndexHashOf(DueAt(slot + kAhead)) & mask], 1);
    index_[EmptyPosition(IndexHashOf(DueAt(slot)))] = slot;
  }
  indexedSlots_ = usedSlots_;
}

std::uint32_t DueMap::AddNode(std::uint32_t slot, std::string_view recordId,
                              const PackedFields& due) {
  Node& node = NodeAt(slot);
  node.fields = due;
  node.sequence = ++lastSequence_;
  node.bucket = static_cast<std::uint8_t>(Hash(recordId) % kBucketCount);
  node.extension = !DueAt(slot).ExtensionBlock().empty();
  buckets_[node.bucket].push_back(slot);
  ++count_;
  months_[MonthKeyOf(DueAt(slot).DueDate())].push_back(slot);
  return slot;
}

void DueMap::Remove(std::string_view recordId) {
  IndexAppended();
  if (indexSize_ == 0)
    return;
  const PackedId packed = PackedId::Of(recordId);
  const std::size_t position = IndexPosition(recordId, packed, IndexHash(recordId, packed));
  const std::uint32_t slot = index_[position];
  if (slot == kNoSlot)
    return;
  EraseIndexPosition(position);
  RemoveFromBucket(slot);
  RemoveFromMonth(slot, MonthKeyOf(DueAt(slot).DueDate()));
  NodeAt(slot) = Node{};
  freeSlots_.push_back(slot);
  --count_;
}

void DueMap::Clear() {
  blocks_.clear();
  texts_.Clear();
  freeSlots_.clear();
  usedSlots_ = 0;
  indexedSlots_ = 0;
  for (std::vector<std::uint32_t>& bucket : buckets_)
    bucket.clear();
  std::fill(index_, index_ + indexSize_, kNoSlot);
  count_ = 0;
  months_.clear();
  lastSequence_ = 0;
}

void DueMap::Reserve(std::size_t count) {
  GrowIndex(count);
  blocks_.reserve((count + kBlockSize - 1) / kBlockSize);
  // Bucket hashes of real IDs spread evenly; a little room covers the difference.
  for (std::vector<std::uint32_t>& bucket : buckets_)
    bucket.reserve(count / kBucketCount + count / (std::size_t{kBucketCount} * 16));
}

void DueMap::ShrinkToFit() {
  for (std::vector<std::uint32_t>& bucket : buckets_)
    bucket.shrink_to_fit();
  for (auto& [key, slots] : months_)
    slots.shrink_to_fit();
}

std::uint32_t DueMap::TakeFreeSlot() {
  if (freeSlots_.empty()) {
    const std::uint32_t slot = TakeNewSlot();
    indexedSlots_ = usedSlots_;  // the caller indexes it
    return slot;
  }
  const std::uint32_t slot = freeSlots_.back();
  freeSlots_.pop_back();
  return slot;
}

std::uint32_t DueMap::TakeNewSlot() {
  if (usedSlots_ == blocks_.size() * kBlockSize)
    AddBlock();
  return usedSlots_++;
}

void DueMap::AddBlock() {
  // The first block, all a small store uses, asks for huge pages once a second shows the map is
  // large.
  if (blocks_.size() == 1)
    PreferHugePages(blocks_.front().data(), blocks_.front().size());
  blocks_.emplace_back(sizeof(Node) * kBlockSize,  // zeroed: every slot in it is free
                       blocks_.empty() ? PageBlock::Pages::kOrdinary : PageBlock::Pages::kHuge);
}

std::array<std::uint32_t, 8> DueMap::Layout() {
  return {sizeof(Node),
          kBlockSize,
          offsetof(Node, sequence),
          offsetof(Node, bucket),
          offsetof(Node, extension),
          offsetof(PackedFields, id),
          offsetof(PackedFields, texts),
          offsetof(PackedFields, startStatus)};
}

std::function<void()> DueMap::BringInJob() const {
  struct Range {
    const void* start;
    std::size_t bytes;
    std::shared_ptr<const void> owner;  // keeps the pages mapped
  };
  std::vector<Range> ranges;
  for (const PageBlock& block : blocks_) {
    if (block.owner())
      ranges.push_back({block.data(), block.size(), block.owner()});
  }
  if (ranges.empty())
    return {};
  return [ranges = std::move(ranges)] {
    for (const Range& range : ranges)
      BringIntoMemory(range.start, range.bytes);
  };
}

std::vector<std::uint32_t> DueMap::SlotsInMonthOrder() const {
  std::vector<std::uint32_t> order;
  order.reserve(usedSlots_);
  // Slots appended and not indexed yet must stay where they are.
  if (indexedSlots_ == usedSlots_) {
    std::vector<int> keys;
    keys.reserve(months_.size());
    for (const auto& [key, slots] : months_)
      keys.push_back(key);
    std::sort(keys.begin(), keys.end());
    for (const int key : keys) {
      const std::vector<std::uint32_t>& slots = months_.at(key);
      order.insert(order.end(), slots.begin(), slots.end());
    }
  }
  std::vector<bool> placed(usedSlots_);
  for (const std::uint32_t slot : order)
    placed[slot] = true;
  for (std::uint32_t slot = 0; slot < usedSlots_; ++slot) {
    if (!placed[slot])
      order.push_back(slot);
  }
  return order;
}

void DueMap::WriteImage(MapImageWriter& image) const {
  // The records go into the image month by month, so that a map read back from it finds a
  // month's records on a few pages, and the rest of its pages stay in the file.
  auto order = std::make_shared<const std::vector<std::uint32_t>>(SlotsInMonthOrder());
  auto renumbering = std::make_shared<std::vector<std::uint32_t>>(usedSlots_);
  for (std::uint32_t place = 0; place < order->size(); ++place)
    (*renumbering)[(*order)[place]] = place;
  image.Put(Layout());
  image.Put<std::uint64_t>(count_);
  image.Put(usedSlots_);
  image.Put(indexedSlots_);
  image.Put(lastSequence_);
  for (std::uint32_t first = 0; first < usedSlots_; first += kBlockSize) {
    image.AlignToPage();
    image.PutMade(std::min(kBlockSize, usedSlots_ - first) * sizeof(Node),
                  [this, order, first](std::size_t offset, std::span<char> out) {
                    FillTable<Node>(offset, out, [&](std::size_t i) -> const Node& {
                      return NodeAt((*order)[first + i]);
                    });
                  });
  }
  PutSlots(image, freeSlots_, renumbering);
  texts_.WriteImage(image);
  for (const std::vector<std::uint32_t>& bucket : buckets_)
    PutSlots(image, bucket, renumbering);
  image.Put<std::uint64_t>(months_.size());
  for (const auto& [key, slots] : months_) {
    image.Put(key);
    PutSlots(image, slots, renumbering);
  }
  image.Put<std::uint64_t>(indexSize_);
  image.AlignToPage();
  image.PutMade(indexSize_ * sizeof(std::uint32_t),
                [this, renumbering](std::size_t offset, std::span<char> out) {
                  FillTable<std::uint32_t>(offset, out, [&](std::size_t i) {
                    return Renumbered(renumbering, index_[i]);
                  });
                });
}

bool DueMap::ReadImage(MapImageReader& image) {
  Clear();
  if (ReadImageParts(image))
    return true;
  Clear();
  return false;
}

bool DueMap::ReadImageParts(MapImageReader& image) {
  std::array<std::uint32_t, 8> layout{};
  std::uint64_t count = 0;
  if (!image.Take(layout) || layout != Layout() || !image.Take(count) || !image.Take(usedSlots_) ||
      !image.Take(indexedSlots_) || !image.Take(lastSequence_) || count > usedSlots_ ||
      indexedSlots_ > usedSlots_)
    return false;
  count_ = count;
  for (std::uint32_t first = 0; first < usedSlots_; first += kBlockSize) {
    if (!TakeNodes(image, std::min(kBlockSize, usedSlots_ - first)))
      return false;
  }
  if (!TakeSlots(image, freeSlots_) || !texts_.ReadImage(image))
    return false;
  for (std::vector<std::uint32_t>& bucket : buckets_) {
    if (!TakeSlots(image, bucket))
      return false;
  }
  std::uint64_t months = 0;
  if (!image.TakeCount(months, sizeof(int) + sizeof(std::uint64_t)))
    return false;
  for (std::uint64_t i = 0; i < months; ++i) {
    int key = 0;
    if (!image.Take(key) || !TakeSlots(image, months_[key]))
      return false;
  }
  std::uint64_t indexSize = 0;
  if (!image.TakeCount(indexSize, sizeof(std::uint32_t)) || (indexSize & (indexSize - 1)) != 0 ||
      !image.TakeBlock(indexSize * sizeof(std::uint32_t), indexBlock_))
    return false;
  index_ = static_cast<std::uint32_t*>(indexBlock_.data());
  indexSize_ = indexSize;
  return true;
}

bool DueMap::TakeNodes(MapImageReader& image, std::uint32_t count) {
  PageBlock taken;
  if (!image.TakeBlock(count * sizeof(Node), taken))
    return false;
  // A whole block stays the image's pages; the last one, which fills as records come, a copy.
  if (count == kBlockSize) {
    blocks_.push_back(std::move(taken));
    return true;
  }
  AddBlock();
  std::memcpy(blocks_.back().data(), taken.data(), count * sizeof(Node));
  return true;
}

std::size_t DueMap::IndexPosition(std::string_view recordId, const PackedId& packed,
                                  std::uint32_t hash) const {
  const std::size_t mask = indexSize_ - 1;
  for (std::size_t position = hash & mask;; position = (position + 1) & mask) {
    const std::uint32_t slot = index_[position];
    if (slot == kNoSlot || DueAt(slot).HasId(recordId, packed))
      return position;
  }
}

std::size_t DueMap::EmptyPosition(std::uint32_t hash) const {
  const std::size_t mask = indexSize_ - 1;
  std::size_t position = hash & mask;
  while (index_[position] != kNoSlot)
    position = (position + 1) & mask;
  return position;
}

// The index stays at most half full, so a probe ends soon at an empty position.
void DueMap::GrowIndex(std::size_t records) {
  std::size_t size = 16;
  while (size < records * 2)
    size *= 2;
  if (size <= indexSize_)
    return;
  indexBlock_ = PageBlock(size * sizeof(std::uint32_t));
  index_ = static_cast<std::uint32_t*>(indexBlock_.data());
  indexSize_ = size;
  std::fill(index_, index_ + indexSize_, kNoSlot);
  for (std::uint32_t slot = 0; slot < usedSlots_; ++slot) {
    if (NodeAt(slot).sequence != 0)
      index_[EmptyPosition(IndexHashOf(DueAt(slot)))] = slot;
  }
  indexedSlots_ = usedSlots_;
}

// Linear probing without tombstones: later entries of the probe run move back into the hole
// unless that would put them before their home position.
void DueMap::EraseIndexPosition(std::size_t position) {
  const std::size_t mask = indexSize_ - 1;
  std::size_t hole = position;
  for (std::size_t next = (position + 1) & mask; index_[next] != kNoSlot;
       next = (next + 1) & mask) {
    const std::size_t home = IndexHashOf(DueAt(index_[next])) & mask;
    const bool staysAfterHole =
        hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
    if (!staysAfterHole) {
      index_[hole] = index_[next];
      hole = next;
    }
  }
  index_[hole] = kNoSlot;
}

// A bucket's slots stand in ascending sequence, so the slot is found by halving.
void DueMap::RemoveFromBucket(std::uint32_t slot) {
  std::vector<std::uint32_t>& bucket = buckets_[NodeAt(slot).bucket];
  const std::uint32_t sequence = NodeAt(slot).sequence;
  const auto at = std::lower_bound(
      bucket.begin(), bucket.end(), sequence,
      [this](std::uint32_t held, std::uint32_t wanted) { return NodeAt(held).sequence < wanted; });
  bucket.erase(at);
}

int DueMap::MonthKeyOf(const OleDateTime& dueDate) {
  const CivilDateTime civil = dueDate.ToCivil();
  return MonthKey(civil.year, civil.month);
}

void DueMap::RemoveFromMonth(std::uint32_t slot, int monthKey) {
  std::vector<std::uint32_t>& slots = months_[monthKey];
  *std::find(slots.begin(), slots.end(), slot) = slots.back();
  slots.pop_back();
}

std::size_t DueMap::CountInMonth(int year, int month) const {
  const auto found = months_.find(MonthKey(year, month));
  return found == months_.end() ? 0 : found->second.size();
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
