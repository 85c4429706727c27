#include "core/forecast/balance_book.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>

#include "core/forecast/balance_file.h"
#include "core/records/record_files.h"

namespace paylark {
namespace {

// A balance file is a few dozen bytes; anything much larger is not one.
constexpr std::size_t kMaxBalanceFileBytes = std::size_t{64} << 10;

// The moment to the second and eight random hex digits: two devices adding an entry in the
// same second still choose different names.
std::string NewEntryId(const Clock& clock) {
  static std::mt19937 engine{std::random_device{}()};
  const CivilDateTime c = clock.Now().ToCivil();
  char text[40];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d-%08x", c.year, c.month, c.day, c.hour,
                c.minute, c.second, static_cast<unsigned>(engine()));
  return text;
}

}  // namespace

Status BalanceBook::Load() {
  entries_.clear();
  skipped_.clear();
  Result<std::vector<FolderEntry>> listed = files_.ListNames(folder_);
  if (!listed.ok())
    return listed.status().code() == StatusCode::kNotFound ? Status::Ok() : listed.status();
  std::vector<std::string> names;
  for (const FolderEntry& file : listed.value())
    names.push_back(file.name);
  Load(names);
  return Status::Ok();
}

void BalanceBook::Load(const std::vector<std::string>& fileNames) {
  entries_.clear();
  skipped_.clear();
  // Read as record files are: a balance file that is a symbolic link is refused, never followed.
  const std::unique_ptr<FolderReader> reader = files_.ReadFolder(folder_);
  for (const std::string& name : fileNames) {
    const std::optional<std::string> id = BalanceEntryIdOf(name);
    if (!id)
      continue;
    FileInfo info;
    Result<std::string> bytes = reader->Read(name, kMaxBalanceFileBytes, info);
    Result<BalanceEntry> entry =
        bytes.ok() ? DecodeBalance(*id, bytes.value()) : Result<BalanceEntry>(bytes.status());
    if (entry.ok())
      entries_.push_back(std::move(entry).value());
    else
      skipped_.push_back({name, entry.status().message()});
  }
  std::sort(entries_.begin(), entries_.end(),
            [](const BalanceEntry& a, const BalanceEntry& b) { return a.entryId < b.entryId; });
}

Result<BalanceEntry> BalanceBook::Add(BalanceEntry entry, const Clock& clock) {
  RecordFolder folder(files_, folder_);
  PAYLARK_TRY(folder.Create());
  for (;;) {
    entry.entryId = NewEntryId(clock);
    const Status status = folder.CreateNew(BalanceFileName(entry.entryId), EncodeBalance(entry));
    if (status.code() == StatusCode::kAlreadyExists)
      continue;
    PAYLARK_TRY(status);
    break;
  }
  entries_.push_back(entry);
  return entry;
}

NewRecordFile BalanceBook::Prepare(BalanceEntry& entry, const Clock& clock) const {
  entry.entryId = NewEntryId(clock);
  return {BalanceFileName(entry.entryId), EncodeBalance(entry)};
}

Status BalanceBook::Remove(const std::string& entryId) {
  const auto found = std::find_if(entries_.begin(), entries_.end(),
                                  [&](const BalanceEntry& e) { return e.entryId == entryId; });
  if (found == entries_.end())
    return Status::NotFound("no balance entry has the ID " + entryId);
  PAYLARK_TRY(RecordFolder(files_, folder_).Remove(BalanceFileName(entryId)));
  entries_.erase(found);
  return Status::Ok();
}

}  // namespace paylark
