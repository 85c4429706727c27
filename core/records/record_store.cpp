#include "core/records/record_store.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

#include "core/base/messages.h"
#include "core/records/record_codec.h"
#include "core/records/record_extension.h"
#include "core/records/record_swap.h"

namespace paylark {
namespace {

constexpr char kMarkerBytes[8] = {1, 0, 0, 0, 1, 0, 0, 0};
constexpr int kSingleDueSuffix = 10;
constexpr int kLastSeriesSuffix = 99;

std::string FormatStamp(std::int64_t linearSecond) {
  const CivilDateTime c =
      OleDateTime::FromLinearSeconds(linearSecond).value_or(OleDateTime()).ToCivil();
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", c.year, c.month, c.day, c.hour,
                c.minute, c.second);
  return text;
}

Status NoWorkingDirectory() {
  return Status::IoError("no working directory is set");
}

}  // namespace

RecordStore::RecordStore(const Clock& clock, std::string workingDirectory, FileSystem& files)
    : clock_(clock), files_(files) {
  SetWorkingDirectory(std::move(workingDirectory));
}

RecordStore::~RecordStore() = default;

void RecordStore::SetWorkingDirectory(std::string workingDirectory) {
  workingDirectory_ = std::move(workingDirectory);
  folder_.reset();
  unconfirmed_.reset();
  if (workingDirectory_.empty())
    return;
  folder_ = std::make_unique<RecordFolder>(files_, RecordsFolder());
  folder_->SetDurability(durability_);
}

std::string RecordStore::RecordsFolder() const {
  return RecordsFolderPath(workingDirectory_);
}

void RecordStore::SetDurability(Durability durability) {
  durability_ = durability;
  if (folder_)
    folder_->SetDurability(durability);
}

namespace {

constexpr std::string_view kFilePrefix = "duedate";
constexpr std::string_view kFileSuffix = ".due";

// One allocation: a load names a million of them.
std::string CanonicalFileName(std::string_view recordId) {
  const std::string_view trimmed = TrimmedRecordId(recordId);
  std::string name;
  name.reserve(kFilePrefix.size() + trimmed.size() + kFileSuffix.size());
  name.append(kFilePrefix).append(trimmed).append(kFileSuffix);
  return name;
}

// The files a replacement of every record file writes, and those it removes.
struct Replacement {
  std::vector<NewRecordFile> files;
  std::vector<std::string> going;
};

Result<Replacement> PlanReplacement(const RecordFolder& folder,
                                    const std::vector<DueRecord>& records,
                                    const std::optional<std::vector<NewRecordFile>>& balanceFiles) {
  std::map<std::string, std::string> wanted;
  for (const DueRecord& record : records) {
    if (!IsPlainRecordId(record.recordId))
      return Status::InvalidArgument("the record ID \"" + record.recordId + "\" is not usable");
    wanted[CanonicalFileName(record.recordId)] = EncodeRecord(record);
  }
  wanted[std::string(kMarkerFileName)] = std::string(kMarkerBytes, sizeof kMarkerBytes);
  (void)folder.Create();
  PAYLARK_TRY_ASSIGN(FolderScan scan, folder.Scan());
  Replacement replacement;
  for (FolderEntry& entry : scan.records)
    replacement.going.push_back(std::move(entry.name));
  if (balanceFiles) {
    for (const NewRecordFile& file : *balanceFiles) {
      if (!IsBalanceFileName(file.name) || file.name.find('/') != std::string::npos)
        return Status::InvalidArgument("\"" + file.name + "\" is no balance file's name");
      wanted[file.name] = file.bytes;
    }
    replacement.going.insert(replacement.going.end(), scan.balanceFiles.begin(),
                             scan.balanceFiles.end());
  }
  replacement.files.reserve(wanted.size());
  for (auto& [name, bytes] : wanted)
    replacement.files.push_back({name, std::move(bytes)});
  return replacement;
}

}  // namespace

bool IsNamedAfter(std::string_view fileName, std::string_view recordId) {
  const std::string_view trimmed = TrimmedRecordId(recordId);
  return fileName.size() == kFilePrefix.size() + trimmed.size() + kFileSuffix.size() &&
         fileName.starts_with(kFilePrefix) && fileName.ends_with(kFileSuffix) &&
         fileName.substr(kFilePrefix.size(), trimmed.size()) == trimmed;
}

namespace {

SkippedFile DamagedExtensionSkip(std::string_view fileName, std::string_view block) {
  return {std::string(fileName), CheckExtension(block).message() +
                                     "; the due is loaded and those bytes are kept as they are"};
}

}  // namespace

std::string RecordStore::FileNameOf(const std::string& recordId) const {
  const auto owner = ownerFiles_.find(recordId);
  return owner != ownerFiles_.end() ? owner->second : CanonicalFileName(recordId);
}

void RecordStore::Adopt(std::string_view fileName, const DueView& due, const DueRecord& held,
                        std::vector<SkippedFile>& skipped, IdCheck check) {
  extension_.clear();
  AppendExtension(extension_, held);
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

void RecordStore::NoteOwner(std::string_view fileName, std::string_view recordId) {
  // Almost every file has its record's own name: the map of other owners is mostly empty.
  if (!IsNamedAfter(fileName, recordId))
    ownerFiles_[std::string(recordId)] = std::string(fileName);
  else if (!ownerFiles_.empty())
    ownerFiles_.erase(std::string(recordId));
}

void RecordStore::Adopt(std::string_view fileName, const DueRecord& record,
                        std::vector<SkippedFile>& skipped) {
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

std::string RecordStore::NextRecordId(int suffix) {
  char suffixText[16];
  std::snprintf(suffixText, sizeof suffixText, "%02d", suffix);
  idSecond_ = std::max(idSecond_, clock_.Now().LinearSeconds());
  for (;;) {
    std::string id = FormatStamp(idSecond_) + suffixText;
    if (!map_.Contains(id) && !(folder_ && folder_->Exists(CanonicalFileName(id))))
      return id;
    ++idSecond_;
  }
}

AddResult RecordStore::Add(DueRecord record) {
  const bool single = record.seriesId.empty();
  int suffix = kSingleDueSuffix;
  if (!single) {
    suffix = ++addCounter_;
    if (addCounter_ == kLastSeriesSuffix)
      addCounter_ = 0;
  }
  Status status = NoWorkingDirectory();
  for (;;) {
    record.recordId = NextRecordId(suffix);
    if (!folder_)
      break;
    status = folder_->CreateNew(CanonicalFileName(record.recordId), EncodeRecord(record));
    // Another Paylark may have taken the ID since we looked: take the next one.
    if (status.code() != StatusCode::kAlreadyExists)
      break;
  }
  if (single && status.ok())
    WriteMarker();
  const DueView added = ViewOf(record);
  TrackSeries(map_.Set(record), &added);
  return {std::move(record.recordId), std::move(status)};
}

Status RecordStore::Replace(const DueRecord& record) {
  if (!IsPlainRecordId(record.recordId)) {
    return Status::InvalidArgument("the record ID \"" + record.recordId + "\" is not usable");
  }
  const std::string fileName = FileNameOf(record.recordId);
  Status status = NoWorkingDirectory();
  if (folder_) {
    PAYLARK_TRY(CheckStillAsRead(fileName, record.recordId));
    status = folder_->Replace(fileName, EncodeRecord(record));
  }
  if (status.ok())
    WriteMarker();
  const DueView added = ViewOf(record);
  TrackSeries(map_.Set(record), &added);
  return status;
}

Result<std::vector<std::string>> RecordStore::WriteTogether(
    const std::vector<DueRecord>& changed, std::vector<DueRecord> added,
    const std::vector<NewRecordFile>& others) {
  if (!folder_)
    return NoWorkingDirectory();
  std::vector<NewRecordFile> files;
  for (const DueRecord& record : changed) {
    if (!IsPlainRecordId(record.recordId))
      return Status::InvalidArgument("the record ID \"" + record.recordId + "\" is not usable");
    const std::string fileName = FileNameOf(record.recordId);
    PAYLARK_TRY(CheckStillAsRead(fileName, record.recordId));
    files.push_back({fileName, EncodeRecord(record)});
  }
  std::vector<std::string> ids;
  for (DueRecord& record : added) {
    // Each new due its own second, as none of them is on disk or in the map until the swap.
    record.recordId = NextRecordId(kSingleDueSuffix);
    ++idSecond_;
    ids.push_back(record.recordId);
    files.push_back({CanonicalFileName(record.recordId), EncodeRecord(record)});
  }
  files.insert(files.end(), others.begin(), others.end());
  PAYLARK_TRY(SwapFiles(files_, folder_->path(), files, {}));
  WriteMarker();
  added.insert(added.end(), changed.begin(), changed.end());
  for (const DueRecord& record : added) {
    const DueView view = ViewOf(record);
    TrackSeries(map_.Set(record), &view);
  }
  return ids;
}

Status RecordStore::ReplaceAllRecords(const std::vector<DueRecord>& records,
                                      const std::optional<std::vector<NewRecordFile>>& balanceFiles,
                                      const SwapMoves& moves) {
  if (!folder_)
    return NoWorkingDirectory();
  Result<Replacement> replacement = PlanReplacement(*folder_, records, balanceFiles);
  if (!replacement.ok()) {
    // The staged files were handed over with the swap that never started.
    for (const SwapMove& staged : moves.placed)
      (void)files_.Remove(folder_->path() + "/" + staged.from);
    return replacement.status();
  }
  Status status = SwapFiles(files_, folder_->path(), replacement.value().files,
                            replacement.value().going, moves);
  (void)Reload();
  return status;
}

DueRecord RecordStore::Get(const std::string& recordId) const {
  std::optional<DueRecord> found = map_.Find(recordId);
  return found ? std::move(*found) : DueRecord::WithDefaults(clock_);
}

Status RecordStore::Delete(const std::string& recordId, ChangeMarker marker) {
  if (!folder_)
    return NoWorkingDirectory();
  if (IsPlainRecordId(recordId) && !HoldsAnotherRecord(FileNameOf(recordId), recordId)) {
    Status removed = folder_->Remove(FileNameOf(recordId));
    if (!removed.ok())
      return removed;
  }
  if (marker == ChangeMarker::kWrite)
    WriteMarker();
  Forget(recordId);
  return Status::Ok();
}

void RecordStore::Forget(const std::string& recordId) {
  TrackSeries(map_.Find(recordId), nullptr);
  map_.Remove(recordId);
  ownerFiles_.erase(recordId);
}

bool RecordStore::FileExists(const std::string& recordId) const {
  return folder_ && IsPlainRecordId(recordId) && folder_->Exists(FileNameOf(recordId));
}

Status RecordStore::CheckStillAsRead(const std::string& fileName, const std::string& recordId) {
  if (folder_->Replaces(fileName))
    return Status::Ok();
  const std::optional<DueRecord> read = map_.Find(recordId);
  Result<std::string> bytes = folder_->Read(fileName);
  if (!bytes.ok()) {
    if (bytes.status().code() != StatusCode::kNotFound || !read)
      return Status::Ok();
    Forget(recordId);
    return Status::NotFound(MessageText(MessageId::kDueDeletedSinceRead));
  }
  Result<DueRecord> stored = DecodeRecord(bytes.value());
  if (!stored.ok())
    return Status::Ok();
  if (stored.value().recordId != recordId)
    return Status::AlreadyExists("the file " + fileName + " holds another record");
  if (read && stored.value() != *read) {
    const DueView now = ViewOf(stored.value());
    TrackSeries(map_.Set(stored.value()), &now);
    return Status::AlreadyExists(MessageText(MessageId::kDueChangedSinceRead));
  }
  return Status::Ok();
}

bool RecordStore::HoldsAnotherRecord(const std::string& fileName,
                                     const std::string& recordId) const {
  Result<std::string> bytes = folder_->Read(fileName);
  if (!bytes.ok())
    return false;
  Result<DueRecord> stored = DecodeRecord(bytes.value());
  return stored.ok() && stored.value().recordId != recordId;
}

std::vector<std::string> RecordStore::SeriesMembers(const std::string& seriesId) const {
  std::vector<std::string> ids;
  if (!seriesSizes_.contains(seriesId))
    return ids;
  map_.ForEach([&](const DueRecord& record) {
    if (record.seriesId == seriesId)
      ids.push_back(record.recordId);
  });
  return ids;
}

std::optional<SeriesPosition> RecordStore::SeriesPositionOf(const std::string& recordId) const {
  const std::optional<DueRecord> record = map_.Find(recordId);
  return record ? seriesOrder_.PositionOf(ViewOf(*record)) : std::nullopt;
}

Status RecordStore::DeleteSeries(const std::string& seriesId, const Progress& progress) {
  StoreBatch batch(*this);
  const std::vector<std::string> members = SeriesMembers(seriesId);
  std::size_t done = 0;
  for (const std::string& id : members) {
    Status status = Delete(id, ChangeMarker::kWrite);
    if (!status.ok())
      return status;
    Report(progress, ++done, members.size());
  }
  return batch.Finish();
}

std::string RecordStore::MakeSeriesId() {
  seriesSecond_ = std::max(seriesSecond_, clock_.Now().LinearSeconds());
  for (;; ++seriesSecond_) {
    std::string id = "recId" + FormatStamp(seriesSecond_);
    if (!seriesSizes_.contains(id) && ClaimSeriesId(id)) {
      seriesSizes_.emplace(id, 0);  // reserved for the caller's series from now on
      return id;
    }
  }
}

bool RecordStore::ClaimSeriesId(const std::string& seriesId) {
  if (!folder_)
    return true;
  // Any other failure to write the claim will be met again, and told, by the series' first add.
  return folder_->CreateNew(SeriesClaimFileName(seriesId), {}).code() != StatusCode::kAlreadyExists;
}

void RecordStore::BeginBatch() {
  ++batchDepth_;
  if (folder_)
    folder_->BeginBatch();
}

Status RecordStore::EndBatch() {
  if (batchDepth_ > 0)
    --batchDepth_;
  if (batchDepth_ == 0 && std::exchange(markerPending_, false))
    WriteMarker();
  return folder_ ? folder_->EndBatch() : Status::Ok();
}

void RecordStore::WriteMarker() {
  if (batchDepth_ > 0) {
    markerPending_ = true;
    return;
  }
  Status status = folder_ ? folder_->Replace(kMarkerFileName,
                                             std::string_view(kMarkerBytes, sizeof kMarkerBytes))
                          : NoWorkingDirectory();
  if (!status.ok())
    markerFailure_ = std::move(status);
}

void RecordStore::TrackSeries(const std::optional<DueRecord>& before, const DueView* after) {
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
