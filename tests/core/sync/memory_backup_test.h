#pragma once

#include <gtest/gtest.h>

#include "core/sync/backups.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/scoped_variable.h"

namespace paylark {

inline constexpr char kMemoryWork[] = "/home/user/Work";

// A loaded store over a working directory on the in-memory file system, its backups under
// /data, and verbs that add a due and take a backup a minute before the next.
class MemoryBackupTest : public ::testing::Test {
 protected:
  MemoryBackupTest() { (void)store_.Reload(); }

  std::string AddDue(const std::string& title) {
    DueRecord record = DueRecord::WithDefaults(clock_);
    record.title = title;
    return store_.Add(record).recordId;
  }

  TakenBackup Backup() {
    Result<TakenBackup> taken = TakeBackup(files_, kMemoryWork, clock_, kDefaultBackupsKept);
    EXPECT_TRUE(taken.ok()) << taken.status().message();
    clock_.AdvanceSeconds(60);
    return taken.ok() ? taken.value() : TakenBackup{};
  }

  testing::ScopedVariable data_{"XDG_DATA_HOME", "/data"};
  FixedClock clock_{*OleDateTime::FromCivil(2026, 12, 5, 8, 15, 0)};
  MemoryFileSystem files_;
  RecordStore store_{clock_, kMemoryWork, files_};
};

}  // namespace paylark
