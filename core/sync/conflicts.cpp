#include "core/sync/conflicts.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <system_error>

#include "core/records/record_codec.h"
#include "core/records/sync_file_names.h"

namespace fs = std::filesystem;

namespace paylark {
namespace {

ConflictVersion ReadVersion(const fs::path& folder, const std::string& fileName) {
  ConflictVersion version{fileName, std::nullopt, {}, {}};
  std::ifstream in(folder / fileName, std::ios::binary);
  if (!in) {
    version.problem = "the file cannot be read";
    return version;
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  Result<DueRecord> record = DecodeRecord(bytes.str());
  if (record.ok())
    version.record = std::move(record).value();
  else
    version.problem = record.status().message();
  return version;
}

// A name in setAsideFolder that no file has yet: the file's own name, else "<stem> (N).due".
fs::path FreeName(const fs::path& folder, const std::string& fileName) {
  fs::path target = folder / fileName;
  const std::string stem = fs::path(fileName).stem().string();
  const std::string extension = fs::path(fileName).extension().string();
  for (int n = 2; fs::exists(target); ++n) {
    std::string numbered = stem;
    numbered += " (" + std::to_string(n) + ")";
    numbered += extension;
    target = folder / numbered;
  }
  return target;
}

Status SetAside(const fs::path& recordsFolder, const std::string& fileName,
                const fs::path& setAsideFolder) {
  std::error_code error;
  if (!fs::exists(recordsFolder / fileName, error))
    return Status::Ok();
  fs::create_directories(setAsideFolder, error);
  if (!error)
    fs::copy_file(recordsFolder / fileName, FreeName(setAsideFolder, fileName), error);
  if (error) {
    return Status::IoError("\"" + fileName + "\" could not be set aside in \"" +
                           setAsideFolder.string() + "\": " + error.message());
  }
  return Status::Ok();
}

}  // namespace

std::vector<std::string_view> DifferingFields(const DueRecord& a, const DueRecord& b) {
  const bool differs[] = {
      a.recordId != b.recordId, a.title != b.title,      a.startDate != b.startDate,
      a.dueDate != b.dueDate,   a.payTo != b.payTo,      a.account != b.account,
      a.amount != b.amount,     a.notes != b.notes,      a.type != b.type,
      a.paid != b.paid,         a.seriesId != b.seriesId};
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

Result<std::vector<Conflict>> FindConflicts(const std::string& recordsFolder) {
  std::map<std::string, std::vector<std::string>> copiesByRecordFile;
  std::error_code error;
  for (fs::directory_iterator entry(recordsFolder, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    // Most names are records: their kind is told without building their names.
    if (KindOfFileName(name) == SyncFileKind::kConflictCopy)
      copiesByRecordFile[ClassifyFileName(name).recordFileName].push_back(name);
  }
  if (error)
    return Status::IoError("the records folder cannot be read: " + error.message());

  std::vector<Conflict> conflicts;
  for (auto& [recordFileName, copyNames] : copiesByRecordFile) {
    std::sort(copyNames.begin(), copyNames.end());
    Conflict conflict;
    conflict.current = ReadVersion(recordsFolder, recordFileName);
    conflict.recordId = conflict.current.record ? conflict.current.record->recordId
                                                : ClassifyFileName(recordFileName).recordId;
    for (const std::string& copyName : copyNames) {
      ConflictVersion copy = ReadVersion(recordsFolder, copyName);
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
  const fs::path folder = store.RecordsFolder();
  std::vector<const ConflictVersion*> dropped;
  if (kept != &conflict.current)
    dropped.push_back(&conflict.current);
  for (const ConflictVersion& copy : conflict.copies) {
    if (&copy != kept)
      dropped.push_back(&copy);
  }
  for (const ConflictVersion* version : dropped) {
    Status status = SetAside(folder, version->fileName, setAsideFolder);
    if (!status.ok())
      return status;
  }
  if (kept != &conflict.current) {
    DueRecord record = *kept->record;
    if (!conflict.recordId.empty())
      record.recordId = conflict.recordId;
    Status status = store.Replace(record);
    if (!status.ok())
      return status;
  }
  for (const ConflictVersion& copy : conflict.copies) {
    std::error_code error;
    fs::remove(folder / copy.fileName, error);
    if (error) {
      return Status::IoError("\"" + copy.fileName + "\" could not be removed: " + error.message());
    }
  }
  return Status::Ok();
}

}  // namespace paylark
