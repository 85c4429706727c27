#include "core/records/due_map.h"

#include <utility>

namespace paylark {

std::uint32_t DueMap::Hash(std::string_view key) {
  std::uint32_t h = 0;
  for (const char c : key)
    h = h * 33 + static_cast<unsigned char>(c);
  return h;
}

const DueRecord* DueMap::Find(const std::string& recordId) const {
  const auto found = index_.find(recordId);
  return found == index_.end() ? nullptr : &*found->second;
}

void DueMap::Set(const std::string& recordId, DueRecord record) {
  record.recordId = recordId;
  const auto found = index_.find(recordId);
  if (found != index_.end()) {
    *found->second = std::move(record);
    return;
  }
  Chain& chain = buckets_[Hash(recordId) % kBucketCount];
  chain.push_front(std::move(record));
  index_.emplace(recordId, chain.begin());
}

void DueMap::Remove(const std::string& recordId) {
  const auto found = index_.find(recordId);
  if (found == index_.end())
    return;
  buckets_[Hash(recordId) % kBucketCount].erase(found->second);
  index_.erase(found);
}

void DueMap::Clear() {
  index_.clear();
  for (auto& chain : buckets_)
    chain.clear();
}

}  // namespace paylark
