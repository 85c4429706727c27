#include "core/records/record_store.h"

#include <map>
#include <utility>

#include "core/base/messages.h"
#include "core/records/record_codec.h"
#include "core/records/record_file_name.h"
#include "core/records/record_swap.h"

namespace paylark {
namespace {

constexpr int kSingleDueSuffix = 10;

Status NoWorkingDirectory() {
  return Status::IoError("no working directory is set");
}

// Checked before a record reaches the disk, so that no file holds a due the map cannot show.
Status NoRoom() {
  return Status::IoError("the dues' texts take the 4 GiB Paylark holds; nothing was written");
}

Status UnusableId(const std::string& recordId) {
  return Status::InvalidArgument("the record ID \"" + recordId + "\" is not usable");
}

// The file exists and decodes to a record with another ID.
bool HoldsAnotherRecord(const RecordFolder& folder, const std::string& fileName,
                        const std::string& recordId) {
  Result<std::string> bytes = folder.Read(fileName);
  if (!bytes.ok())
    return false;
  Result<DueRecord> stored = DecodeRecord(bytes.value());
  return stored.ok() && stored.value().recordId != recordId;
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
      return UnusableId(record.recordId);
    wanted[RecordFileName(record.recordId)] = EncodeRecord(record);
  }
  wanted[std::string(kMarkerFileName)] = std::string(ChangeMarkerFile::Bytes());
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

RecordStore::RecordStore(const Clock& clock, std::string workingDirectory, FileSystem& files)
    : clock_(clock), files_(files), ids_(clock), loader_(files) {
  SetWorkingDirectory(std::move(workingDirectory));
}

RecordStore::~RecordStore() = default;

void RecordStore::SetWorkingDirectory(std::string workingDirectory) {
  workingDirectory_ = std::move(workingDirectory);
  folder_.reset();
  loader_.Forget();
  if (workingDirectory_.empty())
    return;
  folder_ = std::make_unique<RecordFolder>(files_, RecordsFolderPath(workingDirectory_));
  folder_->SetDurability(durability_);
}

void RecordStore::SetDurability(Durability durability) {
  durability_ = durability;
  if (folder_)
    folder_->SetDurability(durability);
}

ReloadReport RecordStore::Reload(const Progress& progress) {
  listing_ = {};
  if (!folder_) {
    loader_.AwaitWriters();
    records_.Clear();
    return {};
  }
  LoadedFolder loaded = loader_.Load(*folder_, records_, progress);
  listing_ = std::move(loaded.listing);
  return std::move(loaded.report);
}

bool RecordStore::LoadSnapshot(const std::function<void()>& folderMade) {
  listing_ = {};
  records_.Clear();
  return folder_ && loader_.LoadSnapshot(*folder_, records_, folderMade);
}

std::optional<ReloadReport> RecordStore::Confirm(const FolderCheck& check) {
  if (!folder_)
    return std::nullopt;
  std::optional<LoadedFolder> loaded = loader_.Confirm(*folder_, check);
  if (!loaded)
    return std::nullopt;
  listing_ = std::move(loaded->listing);
  loaded->report.loaded = records_.map().size();
  return std::move(loaded->report);
}

ReloadReport RecordStore::ReloadFiles(const std::vector<std::string>& fileNames) {
  return folder_ ? FolderLoader::ReloadFiles(*folder_, records_, fileNames) : ReloadReport{};
}

AddResult RecordStore::Add(DueRecord record) {
  if (!records_.HasRoomFor(record))
    return {{}, NoRoom()};
  const int suffix = record.seriesId.empty() ? kSingleDueSuffix : ids_.NextMemberSuffix();
  const auto taken = [this](const std::string& id) {
    return records_.Contains(id) || (folder_ && folder_->Exists(RecordFileName(id)));
  };
  Status status = NoWorkingDirectory();
  for (;;) {
    record.recordId = ids_.NextRecordId(suffix, taken);
    if (!folder_)
      break;
    status = folder_->CreateNew(RecordFileName(record.recordId), EncodeRecord(record));
    // Another Paylark may have taken the ID since we looked: take the next one.
    if (status.code() != StatusCode::kAlreadyExists)
      break;
  }
  if (record.seriesId.empty() && status.ok())
    marker_.Touch(folder_.get());
  records_.Set(record);
  return {std::move(record.recordId), std::move(status)};
}

Status RecordStore::Replace(const DueRecord& record) {
  if (!IsPlainRecordId(record.recordId))
    return UnusableId(record.recordId);
  if (!records_.HasRoomFor(record))
    return NoRoom();
  const std::string fileName = records_.FileNameOf(record.recordId);
  Status status = NoWorkingDirectory();
  if (folder_) {
    PAYLARK_TRY(CheckStillAsRead(fileName, record.recordId));
    status = folder_->Replace(fileName, EncodeRecord(record));
  }
  if (status.ok())
    marker_.Touch(folder_.get());
  records_.Set(record);
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
      return UnusableId(record.recordId);
    if (!records_.HasRoomFor(record))
      return NoRoom();
    const std::string fileName = records_.FileNameOf(record.recordId);
    PAYLARK_TRY(CheckStillAsRead(fileName, record.recordId));
    files.push_back({fileName, EncodeRecord(record)});
  }
  const auto taken = [this](const std::string& id) {
    return records_.Contains(id) || folder_->Exists(RecordFileName(id));
  };
  std::vector<std::string> ids;
  for (DueRecord& record : added) {
    if (!records_.HasRoomFor(record))
      return NoRoom();
    // Each new due its own second, as none of them is on disk or in the map until the swap.
    record.recordId = ids_.NextRecordId(kSingleDueSuffix, taken);
    ids_.SkipSecond();
    ids.push_back(record.recordId);
    files.push_back({RecordFileName(record.recordId), EncodeRecord(record)});
  }
  files.insert(files.end(), others.begin(), others.end());
  PAYLARK_TRY(SwapFiles(files_, folder_->path(), files, {}));
  marker_.Touch(folder_.get());
  for (const DueRecord& record : added)
    records_.Set(record);
  for (const DueRecord& record : changed)
    records_.Set(record);
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
  std::optional<DueRecord> found = records_.map().Find(recordId);
  return found ? std::move(*found) : DueRecord::WithDefaults(clock_);
}

Status RecordStore::Delete(const std::string& recordId, ChangeMarker marker) {
  if (!folder_)
    return NoWorkingDirectory();
  const std::string fileName = records_.FileNameOf(recordId);
  if (IsPlainRecordId(recordId) && !HoldsAnotherRecord(*folder_, fileName, recordId))
    PAYLARK_TRY(folder_->Remove(fileName));
  if (marker == ChangeMarker::kWrite)
    marker_.Touch(folder_.get());
  records_.Forget(recordId);
  return Status::Ok();
}

bool RecordStore::FileExists(const std::string& recordId) const {
  return folder_ && IsPlainRecordId(recordId) && folder_->Exists(records_.FileNameOf(recordId));
}

Status RecordStore::CheckStillAsRead(const std::string& fileName, const std::string& recordId) {
  if (folder_->Replaces(fileName))
    return Status::Ok();
  const std::optional<DueRecord> read = records_.map().Find(recordId);
  Result<std::string> bytes = folder_->Read(fileName);
  if (!bytes.ok()) {
    if (bytes.status().code() != StatusCode::kNotFound || !read)
      return Status::Ok();
    records_.Forget(recordId);
    return Status::NotFound(MessageText(MessageId::kDueDeletedSinceRead));
  }
  Result<DueRecord> stored = DecodeRecord(bytes.value());
  if (!stored.ok())
    return Status::Ok();
  if (stored.value().recordId != recordId)
    return Status::AlreadyExists("the file " + fileName + " holds another record");
  if (read && stored.value() != *read) {
    if (records_.HasRoomFor(stored.value()))
      records_.Set(stored.value());
    return Status::AlreadyExists(MessageText(MessageId::kDueChangedSinceRead));
  }
  return Status::Ok();
}

std::string RecordStore::MakeSeriesId() {
  // Any failure to write the claim other than another's claim will be met again, and told, by
  // the series' first add.
  const auto taken = [this](const std::string& id) {
    return records_.HasSeries(id) ||
           (folder_ &&
            folder_->CreateNew(SeriesClaimFileName(id), {}).code() == StatusCode::kAlreadyExists);
  };
  std::string id = ids_.NextSeriesId(taken);
  records_.ReserveSeries(id);  // for the caller's series from now on
  return id;
}

Status DeleteSeries(RecordStore& store, const std::string& seriesId, const Progress& progress) {
  StoreBatch batch(store);
  const std::vector<std::string> members = store.records().SeriesMembers(seriesId);
  std::size_t done = 0;
  for (const std::string& id : members) {
    PAYLARK_TRY(store.Delete(id, ChangeMarker::kWrite));
    Report(progress, ++done, members.size());
  }
  return batch.Finish();
}

StoreBatch::StoreBatch(RecordStore& store) : store_(&store) {
  store.marker_.BeginBatch();
  if (store.folder_)
    store.folder_->BeginBatch();
}

Status StoreBatch::Finish() {
  RecordStore* store = std::exchange(store_, nullptr);
  if (!store)
    return Status::Ok();
  store->marker_.EndBatch(store->folder_.get());
  return store->folder_ ? store->folder_->EndBatch() : Status::Ok();
}

}  // namespace paylark
