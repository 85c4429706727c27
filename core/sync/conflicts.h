#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/clock.h"
#include "core/base/status.h"
#include "core/records/due_record.h"
#include "core/records/record_store.h"

namespace paylark {

// One version of a due in conflict: the record file itself or one of its conflict copies.
struct ConflictVersion {
  std::string fileName;
  std::optional<DueRecord> record;  // empty when the file is missing or does not decode
  std::string problem;              // why the record is empty
  // The fields in which this version differs from the record file (empty for the file itself).
  std::vector<std::string_view> differingFields;
};

// A record file and the conflict copies a sync engine left beside it.
struct Conflict {
  std::string recordId;
  ConflictVersion current;
  std::vector<ConflictVersion> copies;  // in byte order of their names

  // The fields in which any copy differs from the record file, in field order.
  std::vector<std::string_view> DifferingFields() const;
  const ConflictVersion* Version(std::string_view fileName) const;
};

// The record's field names in file order, as the JSON output names them: the eleven, then the
// payment details ("payments": the parts after the first) and the contract.
inline constexpr std::string_view kRecordFieldNames[] = {
    "recordId", "title",    "startDate",   "dueDate",  "payTo",  "account",    "amount",
    "notes",    "type",     "paid",        "seriesId", "paidOn", "paidAmount", "paymentReference",
    "payments", "renewsOn", "noticePeriod"};

// The names of the fields in which the two records differ, in field order.
std::vector<std::string_view> DifferingFields(const DueRecord& a, const DueRecord& b);

// Every record that has conflict copies in the records folder, by record file name. A folder
// that cannot be listed is an IoError; a copy that cannot be read is listed with its problem.
// Record files and copies are read as the loader reads them: regular files up to the record
// limit, never through a symbolic link, never waiting for a FIFO.
Result<std::vector<Conflict>> FindConflicts(const std::string& recordsFolder, FileSystem& files);

// How many records the conflict copies belong to (a reload report's conflictCopies).
std::size_t CountConflicts(const std::vector<std::string>& copyNames);

// Settles a conflict by keeping one version, through the store's file system: the record file
// (keepFileName is the file's name or "current") or a copy, whose record then replaces the stored
// one through the store. Every version not kept is first copied into setAsideFolder; then the
// copies are removed.
Status ResolveConflict(RecordStore& store, const Conflict& conflict, std::string_view keepFileName,
                       const std::string& setAsideFolder);

}  // namespace paylark
