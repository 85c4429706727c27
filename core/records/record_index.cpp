#include "core/records/record_index.h"

#include "core/records/record_extension.h"
#include "core/records/record_file_name.h"

namespace paylark {
namespace {

constexpr std::string_view kNoRoomReason =
    "the dues' texts take the 4 GiB Paylark holds, so this due is left out";

SkippedFile DamagedExtensionSkip(std::string_view fileName, std::string_view block) {
  return {std::string(fileName), CheckExtension(block).message() +
                                     "; the due is loaded and those bytes are kept as they are"};
}

}  // namespace

std::string RecordIndex::FileNameOf(const std::string& recordId) const {
  const auto owner = ownerFiles_.find(recordId);
  return owner != ownerFiles_.end() ? owner->second : RecordFileName(recordId);
}

std::vector<std::string> RecordIndex::SeriesMembers(const std::string& seriesId) const {
  std::vector<std::string> ids;
  if (!seriesSizes_.contains(seriesId))
    return ids;
  map_.ForEach([&](const DueRecord& record) {
    if (record.seriesId == seriesId)
      ids.push_back(record.recordId);
  });
  return ids;
}

std::optional<SeriesPosition> RecordIndex::SeriesPositionOf(const std::string& recordId) const {
  const std::optional<DueRecord> record = map_.Find(recordId);
  return record ? seriesOrder_.PositionOf(ViewOf(*record)) : std::nullopt;
}

void RecordIndex::Adopt(std::string_view fileName, const DueView& due, const DueRecord& held,
                        std::vector<SkippedFile>& skipped, IdCheck check) {
  AwaitReader();
  extension_.clear();
  AppendExtension(extension_, held);
  if (!map_.HasRoomFor(due, extension_)) {
    skipped.push_back({std::string(fileName), std::string(kNoRoomReason)});
    return;
  }
  if (check == IdCheck::kKnownNew) {
    map_.Append(due, extension_);
  } else if (!map_.Insert(due, extension_)) {
    // Only a duplicate, or a file read again, finds its ID held.
    DueRecord record = held;
    AssignFields(due, record);
    Adopt(fileName, record, skipped);
    return;
  }
  NoteOwner(fileName, due.recordId);
  TrackSeries(std::nullopt, &due);
  if (!held.damagedExtension.empty())
    skipped.push_back(DamagedExtensionSkip(fileName, held.damagedExtension));
}

void RecordIndex::Adopt(std::string_view fileName, const DueRecord& record,
                        std::vector<SkippedFile>& skipped) {
  AwaitReader();
  if (!HasRoomFor(record)) {
    skipped.push_back({std::string(fileName), std::string(kNoRoomReason)});
    return;
  }
  if (map_.Contains(record.recordId)) {
    const std::string owner = FileNameOf(record.recordId);
    if (owner != fileName) {
      // A load of the whole folder reads the names in byte order: the later name owns the ID.
      if (fileName < owner) {
        skipped.push_back({std::string(fileName), "it holds the same due as " + owner});
        return;
      }
      skipped.push_back({owner, "it holds the same due as " + std::string(fileName)});
    }
  }
  NoteOwner(fileName, record.recordId);
  const DueView added = ViewOf(record);
  TrackSeries(map_.Set(record), &added);
  if (!record.damagedExtension.empty())
    skipped.push_back(DamagedExtensionSkip(fileName, record.damagedExtension));
}

bool RecordIndex::HasRoomFor(const DueRecord& record) {
  extension_.clear();
  AppendExtension(extension_, record);
  return map_.HasRoomFor(ViewOf(record), extension_);
}

void RecordIndex::Set(const DueRecord& record) {
  AwaitReader();
  const DueView added = ViewOf(record);
  TrackSeries(map_.Set(record), &added);
}

void RecordIndex::Forget(const std::string& recordId) {
  AwaitReader();
  TrackSeries(map_.Find(recordId), nullptr);
  map_.Remove(recordId);
  ownerFiles_.erase(recordId);
}

void RecordIndex::Clear() {
  AwaitReader();
  map_.Clear();
  ownerFiles_.clear();
  seriesSizes_.clear();
  seriesOrder_.Clear();
}

void RecordIndex::FinishAppending() {
  AwaitReader();
  map_.IndexAppended();
  map_.ShrinkToFit();
}

void RecordIndex::WriteImage(MapImageWriter& image) const {
  map_.WriteImage(image);
  image.Put<std::uint64_t>(seriesSizes_.size());
  for (const auto& [seriesId, size] : seriesSizes_) {
    image.PutText(seriesId);
    image.Put<std::uint64_t>(size);
  }
  image.Put<std::uint64_t>(ownerFiles_.size());
  for (const auto& [recordId, fileName] : ownerFiles_) {
    image.PutText(recordId);
    image.PutText(fileName);
  }
  seriesOrder_.WriteImage(image);
}

bool RecordIndex::ReadImage(MapImageReader& image) {
  Clear();
  if (map_.ReadImage(image) && ReadImageBeside(image) && seriesOrder_.ReadImage(image))
    return true;
  Clear();
  return false;
}

bool RecordIndex::ReadImageBeside(MapImageReader& image) {
  std::uint64_t count = 0;
  if (!image.TakeCount(count, 16))
    return false;
  std::string key;
  for (std::uint64_t i = 0; i < count; ++i) {
    std::uint64_t size = 0;
    if (!image.TakeText(key) || !image.Take(size))
      return false;
    seriesSizes_.emplace(key, size);
  }
  if (!image.TakeCount(count, 16))
    return false;
  std::string fileName;
  for (std::uint64_t i = 0; i < count; ++i) {
    if (!image.TakeText(key) || !image.TakeText(fileName))
      return false;
    ownerFiles_.emplace(key, fileName);
  }
  return true;
}

void RecordIndex::AwaitReader() {
  if (!reader_.valid())
    return;
  reader_.wait();
  reader_ = {};
}

void RecordIndex::NoteOwner(std::string_view fileName, std::string_view recordId) {
  // Almost every file has its record's own name: the map of other owners is mostly empty.
  if (!IsNamedAfter(fileName, recordId))
    ownerFiles_[std::string(recordId)] = std::string(fileName);
  else if (!ownerFiles_.empty())
    ownerFiles_.erase(std::string(recordId));
}

void RecordIndex::TrackSeries(const std::optional<DueRecord>& before, const DueView* after) {
  if (before)
    seriesOrder_.Remove(ViewOf(*before));
  if (after)
    seriesOrder_.Add(*after);
  if (before && !before->seriesId.empty()) {
    const auto found = seriesSizes_.find(before->seriesId);
    if (found != seriesSizes_.end() && found->second > 0)
      --found->second;
  }
  if (!after || after->seriesId.empty())
    return;
  if (const auto found = seriesSizes_.find(after->seriesId); found != seriesSizes_.end())
    ++found->second;
  else
    seriesSizes_.emplace(after->seriesId, 1);
}

}  // namespace paylark
