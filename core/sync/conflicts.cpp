#include "core/sync/conflicts.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "core/records/record_codec.h"
#include "core/records/record_files.h"
#include "core/records/sync_file_names.h"

namespace paylark {
namespace {

ConflictVersion ReadVersion(const FolderReader& folder, const std::string& fileName) {
  ConflictVersion version{fileName, std::nullopt, {}, {}};
  FileInfo info;
  Result<std::string> bytes = folder.Read(fileName, kMaxRecordFileBytes, info);
  if (!bytes.ok()) {
    version.problem = "the file cannot be read: " + bytes.status().message();
    return version;
  }
  Result<DueRecord> record = DecodeRecord(bytes.value());
  if (record.ok())
    version.record = std::move(record).value();
  else
    version.problem = record.status().message();
  return version;
}

// The nth name tried in the folder: the file's own, then "<stem> (n)<extension>".
std::string AsideName(const std::string& folder, const std::string& fileName,
                      const std::string& stem, const std::string& extension, int n) {
  if (n == 1)
    return folder + "/" + fileName;
  return folder + "/" + stem + " (" + std::to_string(n) + ")" + extension;
}

// Copies the file into setAsideFolder under a name no file has yet: the file's own name, else
// "<stem> (N).due".
Status SetAside(FileSystem& files, const std::string& recordsFolder, const std::string& fileName,
                const std::string& setAsideFolder) {
  const std::unique_ptr<FolderReader> reader = files.ReadFolder(recordsFolder);
  FileInfo info;
  Result<std::string> bytes = reader->Read(fileName, kMaxRecordFileBytes, info);
  if (!bytes.ok() && bytes.status().code() == StatusCode::kNotFound)
    return Status::Ok();
  Status status = bytes.ok() ? CreateFolders(files, setAsideFolder) : bytes.status();
  const std::size_t dot = fileName.rfind('.');
  const std::string stem =
      dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
  const std::string extension = stem.size() == fileName.size() ? "" : fileName.substr(dot);
  for (int n = 1; status.ok(); ++n) {
    status =
        files.Write(AsideName(setAsideFolder, fileName, stem, extension, n), bytes.value(), 0600);
    if (status.code() != StatusCode::kAlreadyExists)
      break;
    status = Status::Ok();
  }
  if (!status.ok()) {
    return Status::IoError("\"" + fileName + "\" could not be set aside in \"" + setAsideFolder +
                           "\": " + status.message());
  }
  return status;
}

}  // namespace

std::vector<std::string_view> DifferingFields(const DueRecord& a, const DueRecord& b) {
  const bool differs[] = {a.recordId != b.recordId,
                          a.title != b.title,
                          a.startDate != b.startDate,
                          a.dueDate != b.dueDate,
                          a.payTo != b.payTo,
                          a.account != b.account,
                          a.amount != b.amount,
                          a.notes != b.notes,
                          a.type != b.type,
                          a.paid != b.paid,
                          a.seriesId != b.seriesId,
                          a.paidOn != b.paidOn,
                          a.paidAmount != b.paidAmount,
                          a.paymentReference != b.paymentReference,
                          a.laterParts != b.laterParts,
                          a.renewsOn != b.renewsOn,
                          a.noticePeriod != b.noticePeriod};
  static_assert(std::size(differs) == std::size(kRecordFieldNames));
  std::vector<std::string_view> fields;
  for (std::size_t i = 0; i < std::size(differs); ++i) {
    if (differs[i])
      fields.push_back(kRecordFieldNames[i]);
  }
  return fields;
}

std::vector<std::string_view> Conflict::DifferingFields() const {
  std::vector<std::string_view> fields;
  for (const std::string_view name : kRecordFieldNames) {
    const bool differs = std::any_of(copies.begin(), copies.end(), [&](const auto& copy) {
      return std::find(copy.differingFields.begin(), copy.differingFields.end(), name) !=
             copy.differingFields.end();
    });
    if (differs)
      fields.push_back(name);
  }
  return fields;
}

const ConflictVersion* Conflict::Version(std::string_view fileName) const {
  if (fileName == "current" || fileName == current.fileName)
    return &current;
  for (const ConflictVersion& copy : copies) {
    if (copy.fileName == fileName)
      return &copy;
  }
  return nullptr;
}

Result<std::vector<Conflict>> FindConflicts(const std::string& recordsFolder, FileSystem& files) {
  std::map<std::string, std::vector<std::string>> copiesByRecordFile;
  Result<std::vector<FolderEntry>> entries = files.ListNames(recordsFolder);
  if (!entries.ok() && entries.status().code() != StatusCode::kNotFound)
    return Status::IoError("the records folder cannot be read: " + entries.status().message());
  if (entries.ok()) {
    for (const FolderEntry& entry : entries.value()) {
      // Most names are records: their kind is told without building their names.
      if (KindOfFileName(entry.name) == SyncFileKind::kConflictCopy)
        copiesByRecordFile[ClassifyFileName(entry.name).recordFileName].push_back(entry.name);
    }
  }
  const std::unique_ptr<FolderReader> reader = files.ReadFolder(recordsFolder);

  std::vector<Conflict> conflicts;
  for (auto& [recordFileName, copyNames] : copiesByRecordFile) {
    std::sort(copyNames.begin(), copyNames.end());
    Conflict conflict;
    conflict.current = ReadVersion(*reader, recordFileName);
    conflict.recordId = conflict.current.record ? conflict.current.record->recordId
                                                : ClassifyFileName(recordFileName).recordId;
    for (const std::string& copyName : copyNames) {
      ConflictVersion copy = ReadVersion(*reader, copyName);
      if (copy.record && conflict.current.record)
        copy.differingFields = paylark::DifferingFields(*conflict.current.record, *copy.record);
      conflict.copies.push_back(std::move(copy));
    }
    conflicts.push_back(std::move(conflict));
  }
  return conflicts;
}

std::size_t CountConflicts(const std::vector<std::string>& copyNames) {
  std::set<std::string> recordFiles;
  for (const std::string& name : copyNames)
    recordFiles.insert(ClassifyFileName(name).recordFileName);
  return recordFiles.size();
}

Status ResolveConflict(RecordStore& store, const Conflict& conflict, std::string_view keepFileName,
                       const std::string& setAsideFolder) {
  const ConflictVersion* kept = conflict.Version(keepFileName);
  if (!kept) {
    return Status::InvalidArgument("\"" + std::string(keepFileName) +
                                   "\" is not a version of the due " + conflict.recordId);
  }
  if (!kept->record) {
    return Status::InvalidArgument("\"" + kept->fileName + "\" cannot be kept: " + kept->problem);
  }
  const std::string folder = RecordsFolderPath(store.workingDirectory());
  FileSystem& files = store.files();
  std::vector<const ConflictVersion*> dropped;
  if (kept != &conflict.current)
    dropped.push_back(&conflict.current);
  for (const ConflictVersion& copy : conflict.copies) {
    if (&copy != kept)
      dropped.push_back(&copy);
  }
  for (const ConflictVersion* version : dropped) {
    PAYLARK_TRY(SetAside(files, folder, version->fileName, setAsideFolder));
  }
  if (kept != &conflict.current) {
    DueRecord record = *kept->record;
    if (!conflict.recordId.empty())
      record.recordId = conflict.recordId;
    PAYLARK_TRY(store.Replace(record));
  }
  for (const ConflictVersion& copy : conflict.copies) {
    Status status = files.Remove(folder + "/" + copy.fileName);
    if (!status.ok() && status.code() != StatusCode::kNotFound)
      return Status::IoError("\"" + copy.fileName + "\" could not be removed: " + status.message());
  }
  return Status::Ok();
}

}  // namespace paylark
