#pragma once

#include <string>
#include <vector>

#include "core/base/clock.h"
#include "core/base/status.h"
#include "core/forecast/balance_entry.h"
#include "core/io/file_system.h"
#include "core/records/record_store.h"
#include "core/records/record_swap.h"

namespace paylark {

// The balance entries of a records folder. Each entry is its own file, written once under a
// new name and never rewritten, so two devices adding entries never make a sync conflict.
class BalanceBook {
 public:
  BalanceBook(FileSystem& files, std::string recordsFolder)
      : files_(files), folder_(std::move(recordsFolder)) {}

  // Reads every balance file of the folder; a damaged or foreign one is skipped and reported.
  [[nodiscard]] Status Load();
  // Reads the named files of the folder: the balance files a scan of the records folder found
  // (RecordStore::balanceFiles), so that a large folder is not listed a second time.
  void Load(const std::vector<std::string>& fileNames);
  const std::vector<BalanceEntry>& entries() const { return entries_; }
  const std::vector<SkippedFile>& skipped() const { return skipped_; }

  // Writes the entry under a new ID, claimed on disk as record IDs are, and returns it as stored.
  [[nodiscard]] Result<BalanceEntry> Add(BalanceEntry entry, const Clock& clock);
  [[nodiscard]] Status Remove(const std::string& entryId);
  // The file an entry would be written to under a new ID, for a caller that writes it together
  // with other files (RecordStore::WriteTogether); the ID's random part keeps it unclaimed by
  // others. Once written, Note makes the entry one of the book's.
  NewRecordFile Prepare(BalanceEntry& entry, const Clock& clock) const;
  void Note(BalanceEntry entry) { entries_.push_back(std::move(entry)); }

 private:
  FileSystem& files_;
  std::string folder_;
  std::vector<BalanceEntry> entries_;
  std::vector<SkippedFile> skipped_;
};

}  // namespace paylark
