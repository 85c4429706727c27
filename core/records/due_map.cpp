#include "core/records/due_map.h"

#include <algorithm>
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
  return found == index_.end() ? nullptr : &found->second->record;
}

void DueMap::Set(const std::string& recordId, DueRecord record) {
  record.recordId = recordId;
  const auto found = index_.find(recordId);
  if (found != index_.end()) {
    Node& node = *found->second;
    const int monthKey = MonthKeyOf(record);
    if (monthKey != node.monthKey) {
      RemoveFromMonth(node);
      node.monthKey = monthKey;
      AddToMonth(node);
    }
    node.record = std::move(record);
    return;
  }
  const std::uint32_t bucket = Hash(recordId) % kBucketCount;
  Chain& chain = buckets_[bucket];
  const int monthKey = MonthKeyOf(record);
  chain.push_front(Node{std::move(record), bucket, ++lastSequence_, monthKey});
  index_.emplace(recordId, chain.begin());
  AddToMonth(chain.front());
}

void DueMap::Remove(const std::string& recordId) {
  const auto found = index_.find(recordId);
  if (found == index_.end())
    return;
  RemoveFromMonth(*found->second);
  buckets_[found->second->bucket].erase(found->second);
  index_.erase(found);
}

void DueMap::Clear() {
  index_.clear();
  months_.clear();
  for (auto& chain : buckets_)
    chain.clear();
}

int DueMap::MonthKeyOf(const DueRecord& record) {
  const CivilDateTime civil = record.dueDate.ToCivil();
  return MonthKey(civil.year, civil.month);
}

void DueMap::AddToMonth(const Node& node) {
  months_[node.monthKey].push_back(&node);
}

void DueMap::RemoveFromMonth(const Node& node) {
  const auto month = months_.find(node.monthKey);
  if (month == months_.end())
    return;
  std::vector<const Node*>& nodes = month->second;
  const auto found = std::find(nodes.begin(), nodes.end(), &node);
  if (found != nodes.end()) {
    *found = nodes.back();
    nodes.pop_back();
  }
}

std::vector<const DueMap::Node*> DueMap::MonthInMapOrder(int year, int month) const {
  const auto found = months_.find(MonthKey(year, month));
  if (found == months_.end())
    return {};
  std::vector<const Node*> nodes = found->second;
  std::sort(nodes.begin(), nodes.end(), [](const Node* a, const Node* b) {
    return a->bucket != b->bucket ? a->bucket < b->bucket : a->sequence > b->sequence;
  });
  return nodes;
}

}  // namespace paylark
