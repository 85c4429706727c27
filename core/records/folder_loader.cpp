// Loading the record files: from the snapshot where it still describes them, otherwise by
// reading them, several at once; and writing the snapshot again after a load.
#include "core/records/folder_loader.h"

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <future>
#include <mutex>
#include <span>
#include <system_error>
#include <thread>
#include <utility>

#include "core/base/background_priority.h"
#include "core/base/page_block.h"
#include "core/io/temporary_files.h"
#include "core/records/map_image.h"
#include "core/records/record_codec.h"
#include "core/records/record_file_name.h"
#include "core/records/record_loading.h"
#include "core/records/record_snapshot.h"
#include "core/records/record_swap.h"
#include "core/records/snapshot_decoder.h"
#include "core/records/sync_file_names.h"

namespace paylark {
namespace {

// How long a reload from the snapshot runs before it reports.
constexpr std::chrono::milliseconds kQuietReload{250};
// How often a reload waiting for the folder's listing reports that it still runs.
constexpr std::chrono::milliseconds kListingReportInterval{40};

constexpr std::size_t kMaxSnapshotBytes = std::size_t{1} << 34;
constexpr std::string_view kTooLargeReason = "the file is too large to be a record";

// Hands the heap's free pages back to the system. One thread at a time: where another allocator
// stands in for the C library's (the address sanitizer's), the first trims set the library's own
// up, and two doing so at once leave it counting one thread too few, which aborts at an exit.
void TrimHeapNow() {
  static std::mutex trimming;
  const std::lock_guard lock(trimming);
  malloc_trim(0);
}

// Null when a file's identity cannot be trusted yet.
std::optional<FolderIdentity> IdentityOf(const std::vector<FolderEntry>& files) {
  FolderIdentity identity;
  for (const FolderEntry& file : files) {
    if (!file.info.inspected || file.info.changeAgeSeconds < kSnapshotTrustSeconds)
      return std::nullopt;
    identity.Add(file.name, file.info.inode, file.info.changeTime, file.info.size);
  }
  return identity;
}

// Whether the snapshot's entry still describes the inspected file.
bool Describes(const SnapshotEntry& entry, const FolderEntry& file) {
  return file.info.inspected && entry.name == file.name && entry.inode == file.info.inode &&
         entry.changeTime == file.info.changeTime && entry.bytes.size() == file.info.size &&
         file.info.changeAgeSeconds >= kSnapshotTrustSeconds;
}

// The snapshot's entry for the file when it still describes it, or null. Both lists are in byte
// order of the names; cursor walks the snapshot's.
const SnapshotEntry* Unchanged(const FolderEntry& file, std::span<const SnapshotEntry> entries,
                               std::size_t& cursor) {
  while (cursor < entries.size() && entries[cursor].name < file.name)
    ++cursor;
  if (cursor == entries.size())
    return nullptr;
  return Describes(entries[cursor], file) ? &entries[cursor] : nullptr;
}

// The snapshot holds exactly the folder's record files, each as it is now.
bool DescribesAll(std::span<const SnapshotEntry> entries, const std::vector<FolderEntry>& files) {
  if (entries.size() != files.size())
    return false;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!Describes(entries[i], files[i]))
      return false;
  }
  return true;
}

// A reload from the snapshot opens no record file and is mostly over at once: it tells its
// caller how far it is only after a moment, so that a quick one shows nothing.
Progress AfterAMoment(const Progress& progress) {
  if (!progress)
    return {};
  return [progress, began = std::chrono::steady_clock::now()](std::size_t done, std::size_t total) {
    if (std::chrono::steady_clock::now() - began >= kQuietReload)
      progress(done, total);
  };
}

// A large folder takes longer to list than its snapshot to map: the caller goes on hearing of
// the mapped records until the listing ends.
Result<FolderScan> AwaitListing(std::future<Result<FolderScan>>& listing, const Progress& progress,
                                std::size_t mapped) {
  while (progress && listing.wait_for(kListingReportInterval) == std::future_status::timeout)
    progress(mapped, mapped);
  return listing.get();
}

// A writer that died while writing a cache file (the snapshot, the map image) left its
// temporary file ("<file>.<process ID>.new"), as large as the file: it goes once it is stale.
void RemoveStaleCacheTemporaries(FileSystem& files, const std::string& path) {
  const std::string folder = ParentFolder(path);
  if (folder.empty())
    return;
  Result<std::vector<FolderEntry>> entries = files.List(folder);
  if (!entries.ok())
    return;
  const std::string prefix = path.substr(folder.size() + 1) + ".";
  for (const FolderEntry& entry : entries.value()) {
    const std::string_view name = entry.name;
    if (name.ends_with(".new") &&
        IsStaleTemporary(files, WriterOf(name, prefix), entry.info.ageSeconds))
      (void)files.Remove(folder + "/" + entry.name);
  }
}

// Reports what the scan found besides record files, and removes stale temporary files.
void TakeScan(const RecordFolder& folder, const FolderScan& scan, LoadedFolder& loaded) {
  folder.RemoveStaleTemporaries(scan);
  for (const std::string& name : scan.tooLarge)
    loaded.report.skipped.push_back({name, std::string(kTooLargeReason)});
  loaded.report.conflictCopies = scan.conflictCopies;
  loaded.listing = {scan.conflictCopies, scan.balanceFiles};
}

// Maps every record the snapshot holds, in its order (that of the names), and tells `seen` of
// each entry; a file that does not decode goes to skipped. False for a snapshot that holds
// nothing or is damaged past its checksum. With `passed`, the snapshot's pages that the mapping
// has passed leave memory as it goes: the map grows while they go, instead of beside them all.
// A large snapshot is read on the other core, and both cores decode its entries.
bool MapSnapshot(SnapshotReader& reader, RecordIndex& records, std::vector<SkippedFile>& skipped,
                 const std::function<void(const SnapshotEntry&)>& seen,
                 const Progress& progress = {}, const FileBytes* passed = nullptr) {
  const std::size_t total = reader.size();
  records.Reserve(total);
  // The decoder's thread has ended, and told `seen` of every entry, before the reader finishes.
  {
    SnapshotDecoder decoder(reader, seen);
    // Files named after their records' IDs never share an ID: until a file of another name
    // comes, no ID needs looking up.
    bool otherNames = false;
    std::size_t done = 0;
    while (const DecodedEntry* decoded = decoder.Next()) {
      if (!decoded->decoded.ok()) {
        skipped.push_back({std::string(decoded->entry.name), decoded->decoded.message()});
      } else {
        otherNames = otherNames || !IsNamedAfter(decoded->entry.name, decoded->due.recordId);
        records.Adopt(decoded->entry.name, decoded->due, decoded->held, skipped,
                      otherNames ? RecordIndex::IdCheck::kLookUp : RecordIndex::IdCheck::kKnownNew);
      }
      static_assert(kLoadShare % SnapshotDecoder::kChunkSize == 0, "a share ends with a chunk");
      if (++done % kLoadShare == 0) {
        Report(progress, done, total);
        if (passed)
          passed->LetGoBefore(decoder.BytesHandedOut());
      }
    }
  }
  records.FinishAppending();
  Report(progress, total, total);
  return total > 0 && reader.Finish().ok();
}

// Reads and maps one record file; what cannot be read or decoded goes to the report.
void LoadFile(const RecordFolder& folder, RecordIndex& records, const std::string& fileName,
              ReloadReport& report) {
  Result<std::string> bytes = folder.Read(fileName);
  if (bytes.status().code() == StatusCode::kNotFound) {
    const SyncFileName classified = ClassifyFileName(fileName);
    if (records.FileNameOf(classified.recordId) == fileName)
      records.Forget(classified.recordId);
    return;
  }
  Result<DueRecord> record =
      bytes.ok() ? DecodeRecord(bytes.value()) : Result<DueRecord>(bytes.status());
  if (!record.ok()) {
    report.skipped.push_back({fileName, record.status().message()});
    return;
  }
  records.Adopt(fileName, record.value(), report.skipped);
}

// Replaces a cache file by one that `write` writes to a temporary path. A cache that cannot be
// written is no failure: the next start does without it.
bool ReplaceCacheFile(FileSystem& files, const std::string& path,
                      const std::function<Status(const std::string& temporary)>& write) {
  const std::string folder = ParentFolder(path);
  (void)files.CreateFolder(ParentFolder(folder));
  (void)files.CreateFolder(folder);
  RemoveStaleCacheTemporaries(files, path);
  const std::string temporary = path + "." + std::to_string(files.ProcessId()) + ".new";
  (void)files.Remove(temporary);
  if (!write(temporary).ok())
    return false;
  if (files.Rename(temporary, path, Placement::kReplace).ok())
    return true;
  (void)files.Remove(temporary);
  return false;
}

void WriteSnapshot(FileSystem& files, const std::string& snapshotPath,
                   const std::string& recordsFolder, const std::vector<SnapshotEntry>& entries) {
  (void)ReplaceCacheFile(files, snapshotPath, [&](const std::string& temporary) {
    return files.Write(temporary, EncodeSnapshot(recordsFolder, entries), 0600);
  });
}

// The image sits beside the snapshot: "<hash>.map" for "<hash>.snapshot".
std::string MapImagePathFor(const std::string& snapshotPath) {
  constexpr std::string_view kSnapshotEnd = ".snapshot";
  const std::string_view stem =
      std::string_view(snapshotPath).ends_with(kSnapshotEnd)
          ? std::string_view(snapshotPath).substr(0, snapshotPath.size() - kSnapshotEnd.size())
          : std::string_view(snapshotPath);
  return std::string(stem) + ".map";
}

// Writes the map image of `records`, read from the files of that identity in the folder at
// `from`; false when it cannot be written.
bool WriteImage(FileSystem& files, const std::string& path, const std::string& from,
                const RecordIndex& records, const FolderIdentity& identity,
                std::span<const SkippedFile> skipped) {
  MapImageWriter image;
  image.PutText(from);
  image.Put(kSnapshotVersion);
  image.Put(identity);
  image.Put<std::uint64_t>(skipped.size());
  for (const SkippedFile& file : skipped) {
    image.PutText(file.fileName);
    image.PutText(file.reason);
  }
  records.WriteImage(image);
  return ReplaceCacheFile(
      files, path, [&](const std::string& temporary) { return image.WriteTo(files, temporary); });
}

void AddToIdentity(FolderIdentity& identity, const SnapshotEntry& entry) {
  identity.Add(entry.name, entry.inode, entry.changeTime, entry.bytes.size());
}

FolderIdentity IdentityOfEntries(std::span<const SnapshotEntry> entries) {
  FolderIdentity identity;
  for (const SnapshotEntry& entry : entries)
    AddToIdentity(identity, entry);
  return identity;
}

// The image's header: of this folder and this record format, the identity of the files it was
// made from.
bool TakeImageHeader(MapImageReader& image, const RecordFolder& folder, FolderIdentity& identity) {
  std::string recordsFolder;
  std::uint32_t recordsVersion = 0;
  return image.TakeText(recordsFolder) && recordsFolder == folder.path() &&
         image.Take(recordsVersion) && recordsVersion == kSnapshotVersion && image.Take(identity);
}

bool TakeSkipped(MapImageReader& image, std::vector<SkippedFile>& skipped) {
  std::uint64_t count = 0;
  if (!image.TakeCount(count, 16))
    return false;
  skipped.resize(count);
  for (SkippedFile& file : skipped) {
    if (!image.TakeText(file.fileName) || !image.TakeText(file.reason))
      return false;
  }
  return true;
}

}  // namespace

void FolderListing::NoteBalanceFile(std::string fileName) {
  const auto place = std::lower_bound(balanceFiles.begin(), balanceFiles.end(), fileName);
  if (place == balanceFiles.end() || *place != fileName)
    balanceFiles.insert(place, std::move(fileName));
}

// The snapshot as read (its entries view into its file's bytes) and the one the load puts
// together.
struct FolderLoader::Snapshot {
  FileBytes file;
  std::vector<SnapshotEntry> entries;
  std::vector<SnapshotEntry> next;
  std::deque<std::string> readBytes;  // what `next` holds of files read; never moves
  std::vector<FolderEntry> listed;    // the names `next` views, once the load is done
  bool stale = false;
};

void FolderLoader::SetSnapshotFile(std::string path, SnapshotWriting writing) {
  AwaitWriters();
  imagePath_ = path.empty() ? std::string() : MapImagePathFor(path);
  imageIdentity_.reset();
  snapshotPath_ = std::move(path);
  snapshotWriting_ = writing;
}

LoadedFolder FolderLoader::Load(const RecordFolder& folder, RecordIndex& records,
                                const Progress& progress) {
  AwaitWriters();
  unconfirmed_.reset();
  records.Clear();
  (void)folder.Create();
  LoadedFolder loaded;
  Snapshot snapshot;
  Result<FolderScan> scan = Status::NotFound("not listed");
  bool mapped = false;
  std::vector<SkippedFile> undecodable;
  if (!snapshotPath_.empty() && files_.Inspect(snapshotPath_).ok()) {
    // The folder is listed (each file's identity taken) while the snapshot is read and mapped:
    // at most starts the snapshot still describes every file, and the map it gave is the map.
    std::future<Result<FolderScan>> listing =
        std::async(std::launch::async, [&folder] { return folder.Scan(ScanDepth::kIdentities); });
    const Progress late = AfterAMoment(progress);
    if (std::optional<SnapshotReader> reader = OpenSnapshot(folder, snapshot)) {
      snapshot.entries.reserve(reader->size());
      const auto keep = [&entries = snapshot.entries](const SnapshotEntry& entry) {
        entries.push_back(entry);
      };
      mapped = MapSnapshot(*reader, records, undecodable, keep, late);
    }
    // A damaged snapshot lends no file its bytes.
    if (!mapped)
      snapshot = {};
    scan = AwaitListing(listing, late, snapshot.entries.size());
  } else {
    // Without a snapshot every file is read, and the read tells its identity.
    scan = folder.Scan(ScanDepth::kNames);
  }
  // An interrupted swap of the record files (a restore) is finished first; the folder is listed
  // again after it.
  if (scan.ok() && !scan.value().swapFiles.empty() && FinishInterruptedSwaps(files_, folder.path()))
    scan = folder.Scan(snapshot.entries.empty() ? ScanDepth::kNames : ScanDepth::kIdentities);
  if (!scan.ok()) {
    records.Clear();
    loaded.report.folderStatus = Status::IoError("the records folder \"" + folder.path() +
                                                 "\" cannot be read: " + scan.status().message());
    return loaded;
  }
  TakeScan(folder, scan.value(), loaded);
  ReloadReport& report = loaded.report;
  if (mapped && DescribesAll(snapshot.entries, scan.value().records)) {
    report.skipped.insert(report.skipped.end(), undecodable.begin(), undecodable.end());
    KeepImage(folder, records, IdentityOfEntries(snapshot.entries), undecodable);
  } else {
    records.Clear();
    const std::size_t skippedBefore = report.skipped.size();
    LoadRecords(folder, scan.value().records, snapshot, records, report, progress);
    // The map is the snapshot's when the snapshot keeps every file.
    if (snapshot.next.size() == scan.value().records.size()) {
      KeepImage(folder, records, IdentityOfEntries(snapshot.next),
                std::span(report.skipped).subspan(skippedBefore));
    }
    snapshot.listed = std::move(scan.value().records);
    SaveSnapshot(folder, std::move(snapshot));
    // A scan of names finds the files too large to be records only as it reads them.
    std::stable_partition(report.skipped.begin(), report.skipped.end(),
                          [](const SkippedFile& file) { return file.reason == kTooLargeReason; });
  }
  report.loaded = records.map().size();
  TrimHeap();
  return loaded;
}

bool FolderLoader::LoadSnapshot(const RecordFolder& folder, RecordIndex& records,
                                const std::function<void()>& folderMade) {
  AwaitWriters();
  unconfirmed_.reset();
  records.Clear();
  (void)folder.Create();
  if (folderMade)
    folderMade();
  if (ReadImage(folder, records))
    return true;
  Snapshot snapshot;
  std::optional<SnapshotReader> reader = OpenSnapshot(folder, snapshot);
  Unconfirmed unconfirmed;
  const auto identify = [&identity = unconfirmed.identity](const SnapshotEntry& entry) {
    AddToIdentity(identity, entry);
  };
  if (!reader ||
      !MapSnapshot(*reader, records, unconfirmed.skipped, identify, {}, &snapshot.file)) {
    records.Clear();
    return false;
  }
  KeepImage(folder, records, unconfirmed.identity, unconfirmed.skipped);
  unconfirmed_ = std::move(unconfirmed);
  TrimHeap();
  return true;
}

bool FolderLoader::ReadImage(const RecordFolder& folder, RecordIndex& records) {
  if (imagePath_.empty())
    return false;
  Result<FileBytes> file = files_.ReadLarge(imagePath_, kMaxSnapshotBytes);
  if (!file.ok())
    return false;
  Result<MapImageReader> reader = MapImageReader::Open(file.value());
  Unconfirmed unconfirmed;
  if (!reader.ok() || !TakeImageHeader(reader.value(), folder, unconfirmed.identity) ||
      !TakeSkipped(reader.value(), unconfirmed.skipped) || !records.ReadImage(reader.value()) ||
      !reader.value().Finish().ok()) {
    // Whatever its header says, it is written again after this load.
    records.Clear();
    (void)files_.Remove(imagePath_);
    return false;
  }
  imageIdentity_ = unconfirmed.identity;
  unconfirmed_ = std::move(unconfirmed);
  return true;
}

std::optional<FolderIdentity> FolderLoader::ImageIdentity(const RecordFolder& folder) const {
  Result<FileBytes> file = files_.ReadLarge(imagePath_, kMaxSnapshotBytes);
  if (!file.ok())
    return std::nullopt;
  Result<MapImageReader> reader = MapImageReader::Open(file.value());
  FolderIdentity identity;
  if (!reader.ok() || !TakeImageHeader(reader.value(), folder, identity))
    return std::nullopt;
  return identity;
}

void FolderLoader::KeepImage(const RecordFolder& folder, RecordIndex& records,
                             const FolderIdentity& identity, std::span<const SkippedFile> skipped) {
  // As a snapshot that holds nothing, an image of no dues would start nothing quicker.
  if (imagePath_.empty() || records.map().empty())
    return;
  // Another process (paylark-cli) may have written it since this loader last looked.
  if (imageIdentity_ != identity)
    imageIdentity_ = ImageIdentity(folder);
  if (imageIdentity_ == identity)
    return;
  imageIdentity_.reset();
  auto write = [this, &records, from = folder.path(), identity,
                kept = std::vector<SkippedFile>(skipped.begin(), skipped.end())] {
    if (WriteImage(files_, imagePath_, from, records, identity, kept))
      imageIdentity_ = identity;
  };
  if (snapshotWriting_ == SnapshotWriting::kAtOnce) {
    write();
    return;
  }
  // The window is shown while the image is written: the index is only read meanwhile, and its
  // first change waits for the writer.
  std::promise<void> written;
  records.LendUntil(written.get_future().share());
  try {
    imageWriter_ = std::jthread([write = std::move(write), written = std::move(written)]() mutable {
      RunBehindTheWindow();
      write();
      written.set_value();
    });
  } catch (const std::system_error&) {
    // Without a thread the image is simply not written: the next start reads the snapshot.
  }
}

std::function<FolderCheck()> FolderLoader::CheckJob(FileSystem& files, std::string recordsFolder) {
  return [&files, path = std::move(recordsFolder)] {
    FolderCheck check;
    Result<FolderScan> scan = RecordFolder(files, path).Scan(ScanDepth::kIdentities);
    if (!scan.ok())
      return check;
    check.identity = IdentityOf(scan.value().records);
    check.others = std::move(scan).value();
    check.others.records = {};
    TrimHeapNow();
    return check;
  };
}

std::optional<LoadedFolder> FolderLoader::Confirm(const RecordFolder& folder,
                                                  const FolderCheck& check) {
  const std::optional<Unconfirmed> expected = std::exchange(unconfirmed_, std::nullopt);
  // An interrupted swap of the record files is finished by a full load.
  if (!expected || check.identity != expected->identity || !check.others.swapFiles.empty())
    return std::nullopt;
  LoadedFolder loaded;
  TakeScan(folder, check.others, loaded);
  loaded.report.skipped.insert(loaded.report.skipped.end(), expected->skipped.begin(),
                               expected->skipped.end());
  return loaded;
}

// The load's scratch (names, file bytes, the snapshot) is freed by now, also in the reading
// threads' arenas: hand those pages back instead of holding them for the session. At a million
// records that takes a tenth of a second, which the caller need not wait for.
void FolderLoader::TrimHeap() {
  trim_ = std::jthread([] {
    RunBehindTheWindow();
    TrimHeapNow();
  });
}

void FolderLoader::LoadRecords(const RecordFolder& folder, const std::vector<FolderEntry>& records,
                               Snapshot& snapshot, RecordIndex& index, ReloadReport& report,
                               const Progress& progress) {
  index.Reserve(records.size());
  std::vector<const SnapshotEntry*> kept(records.size());
  std::size_t cursor = 0;
  std::size_t toRead = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    kept[i] = Unchanged(records[i], snapshot.entries, cursor);
    toRead += kept[i] ? 0 : 1;
  }
  auto prepare = [&](std::vector<LoadJob>& jobs, std::size_t start) {
    jobs.assign(std::min(records.size() - start, kLoadShare), LoadJob{});
    for (std::size_t i = 0; i < jobs.size(); ++i) {
      const SnapshotEntry* entry = kept[start + i];
      jobs[i].name = records[start + i].name;
      jobs[i].cached = entry != nullptr;
      jobs[i].cachedBytes = entry ? entry->bytes : std::string_view();
    }
  };
  snapshot.next.reserve(records.size());
  PreferHugePages(snapshot.next.data(), snapshot.next.capacity() * sizeof(SnapshotEntry));
  bool otherNames = false;  // as in MapSnapshot
  std::vector<LoadJob> current;
  std::vector<LoadJob> upcoming;
  prepare(current, 0);
  RunLoadJobs(folder, current);
  for (std::size_t start = 0; start < records.size(); start += kLoadShare) {
    // The next share is read and decoded while this one is mapped; the share before it is
    // freed there too.
    std::jthread ahead;
    if (start + kLoadShare < records.size()) {
      ahead = std::jthread([&, next = start + kLoadShare] {
        prepare(upcoming, next);
        RunLoadJobs(folder, upcoming);
      });
    }
    for (std::size_t i = 0; i < current.size(); ++i)
      MapLoaded(records[start + i], current[i], snapshot, index, report, otherNames);
    if (toRead > 0)
      Report(progress, report.filesRead, toRead);
    if (ahead.joinable())
      ahead.join();
    std::swap(current, upcoming);
  }
  index.FinishAppending();
  // Files read only because they changed a moment ago do not make the snapshot stale: they stay
  // out of it until their identity can be trusted.
  const std::size_t fromSnapshot = records.size() - toRead;
  snapshot.stale =
      snapshot.next.size() != snapshot.entries.size() || fromSnapshot != snapshot.entries.size();
}

void FolderLoader::MapLoaded(const FolderEntry& file, LoadJob& job, Snapshot& snapshot,
                             RecordIndex& index, ReloadReport& report, bool& otherNames) {
  report.filesRead += job.cached ? 0 : 1;
  const FileInfo& info = job.cached ? file.info : job.readInfo;
  if (job.unread && job.status.code() == StatusCode::kNotFound)
    return;  // removed since the listing: gone, not unreadable
  if (job.unread) {
    const bool tooLarge = info.size > kMaxRecordFileBytes;
    report.skipped.push_back(
        {file.name, tooLarge ? std::string(kTooLargeReason) : job.status.message()});
    return;
  }
  if (job.status.ok()) {
    otherNames = otherNames || !job.namedAfterRecord;
    index.Adopt(file.name, job.record, job.held, report.skipped,
                otherNames ? RecordIndex::IdCheck::kLookUp : RecordIndex::IdCheck::kKnownNew);
  } else {
    report.skipped.push_back({file.name, job.status.message()});
  }
  // Only now that the record is adopted may the bytes it viewed move. A file that does not decode
  // is kept too: decoding its bytes again gives the same skip.
  if (info.changeAgeSeconds >= kSnapshotTrustSeconds) {
    const std::string_view bytes =
        job.cached ? job.cachedBytes : snapshot.readBytes.emplace_back(std::move(job.readBytes));
    snapshot.next.push_back({file.name, info.inode, info.changeTime, bytes});
  }
}

std::optional<SnapshotReader> FolderLoader::OpenSnapshot(const RecordFolder& folder,
                                                         Snapshot& snapshot) const {
  if (snapshotPath_.empty())
    return std::nullopt;
  Result<FileBytes> file = files_.ReadLarge(snapshotPath_, kMaxSnapshotBytes);
  if (!file.ok())
    return std::nullopt;
  Result<SnapshotReader> reader = SnapshotReader::Open(file.value().view(), folder.path());
  if (!reader.ok())
    return std::nullopt;
  snapshot.file = std::move(file).value();
  return std::move(reader).value();
}

void FolderLoader::SaveSnapshot(const RecordFolder& folder, Snapshot&& snapshot) {
  if (snapshotPath_.empty() || (!snapshot.stale && !snapshot.file.view().empty()))
    return;
  if (snapshotWriting_ == SnapshotWriting::kAtOnce) {
    WriteSnapshot(files_, snapshotPath_, folder.path(), snapshot.next);
    return;
  }
  // The records folder may change before the writer is done: it takes what it needs along. One
  // writer at a time: the snapshot follows the map image, which the next start reads first.
  try {
    snapshotWriter_ =
        std::jthread([&files = files_, target = snapshotPath_, from = folder.path(),
                      taken = std::move(snapshot), image = std::move(imageWriter_)]() mutable {
          image = {};
          RunBehindTheWindow();
          WriteSnapshot(files, target, from, taken.next);
        });
  } catch (const std::system_error&) {
    // Without a thread the snapshot is simply not written: the next start reads the files.
  }
}

ReloadReport FolderLoader::ReloadFiles(const RecordFolder& folder, RecordIndex& records,
                                       const std::vector<std::string>& fileNames) {
  ReloadReport report;
  for (const std::string& name : fileNames) {
    const SyncFileName classified = ClassifyFileName(name);
    if (classified.kind == SyncFileKind::kConflictCopy && folder.Exists(name)) {
      report.conflictCopies.push_back(name);
    } else if (classified.kind == SyncFileKind::kRecord && folder.Exists(name)) {
      LoadFile(folder, records, name, report);
    } else if (classified.kind == SyncFileKind::kRecord &&
               records.FileNameOf(classified.recordId) == name) {
      records.Forget(classified.recordId);
    }
  }
  report.loaded = records.map().size();
  return report;
}

}  // namespace paylark
