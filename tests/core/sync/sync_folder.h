#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/base/clock.h"
#include "core/records/record_codec.h"
#include "core/records/record_store.h"
#include "tests/support/scratch_folder.h"

namespace paylark {

// A loaded store over a fresh working directory (and a private $XDG_DATA_HOME for backups),
// with verbs for what a sync engine does to the records folder behind the store's back.
class SyncFolder {
 public:
  SyncFolder() {
    std::filesystem::create_directories(root_ / "Work");
    setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    store_.SetWorkingDirectory((root_ / "Work").string());
    store_.SetDurability(Durability::kUnsynced);
    (void)store_.Reload();
  }
  SyncFolder(const SyncFolder&) = delete;
  SyncFolder& operator=(const SyncFolder&) = delete;

  RecordStore& store() { return store_; }
  FixedClock& clock() { return clock_; }
  std::filesystem::path Records() const { return root_ / "Work" / "Paylark Files"; }
  bool Has(const std::string& name) const { return std::filesystem::exists(Records() / name); }

  DueRecord Due(const std::string& title, double amount) {
    DueRecord record = DueRecord::WithDefaults(clock_);
    record.title = title;
    record.amount = amount;
    return record;
  }
  // Adds through the store and returns the new ID.
  std::string Add(const std::string& title, double amount = 10) {
    return store_.Add(Due(title, amount)).recordId;
  }
  // Writes a file the way another device's engine would: the store does not know.
  void Put(const std::string& name, const std::string& bytes) {
    std::ofstream(Records() / name, std::ios::binary) << bytes;
  }
  void PutRecord(const std::string& name, const DueRecord& record) {
    Put(name, EncodeRecord(record));
  }

 private:
  testing::ScratchFolder scratch_;
  std::filesystem::path root_ = scratch_.path();
  FixedClock clock_{*OleDateTime::FromCivil(2026, 12, 5, 8, 15, 0)};
  RecordStore store_{clock_, "", SystemFileSystem()};
};

}  // namespace paylark
