// Settling a sync conflict when the disk fails, played through the in-memory file system: what
// was not set aside is never removed, and every failure is told.
#include <gtest/gtest.h>

#include <cerrno>

#include "core/records/record_codec.h"
#include "core/records/record_store.h"
#include "core/sync/conflicts.h"
#include "tests/support/memory_file_system.h"

namespace paylark {
namespace {

using Call = MemoryFileSystem::Call;

constexpr char kRecords[] = "/home/user/Work/Paylark Files";
constexpr char kAside[] = "/data/Backups/Work-1";
const std::string kId = "2026120508150010";
const std::string kFile = std::string(kRecords) + "/duedate" + kId + ".due";
const std::string kCopy =
    std::string(kRecords) + "/duedate" + kId + ".sync-conflict-20261205-081500-ABCDEFG.due";

class ResolveFailureTest : public ::testing::Test {
 protected:
  ResolveFailureTest() {
    DueRecord mine = DueRecord::WithDefaults(clock_);
    mine.recordId = kId;
    mine.title = "mine";
    DueRecord theirs = mine;
    theirs.title = "theirs";
    files_.Put(kFile, EncodeRecord(mine));
    files_.Put(kCopy, EncodeRecord(theirs));
    (void)store_.Reload();
  }

  Conflict Found() {
    Result<std::vector<Conflict>> conflicts = FindConflicts(kRecords, files_);
    EXPECT_TRUE(conflicts.ok() && conflicts.value().size() == 1u);
    return conflicts.ok() && !conflicts.value().empty() ? conflicts.value()[0] : Conflict{};
  }

  FixedClock clock_{*OleDateTime::FromCivil(2026, 12, 5, 8, 15, 0)};
  MemoryFileSystem files_;
  RecordStore store_{clock_, "/home/user/Work", files_};
};

TEST_F(ResolveFailureTest, AVersionThatCannotBeSetAsideIsNeitherReplacedNorRemoved) {
  const Conflict conflict = Found();
  files_.FailAlways(Call::kWrite, ENOSPC);
  const Status status = ResolveConflict(store_, conflict, conflict.copies[0].fileName, kAside);
  EXPECT_EQ(status.message(), "\"duedate" + kId + ".due\" could not be set aside in \"" + kAside +
                                  "\": No space left on device");
  files_.FailAlways(Call::kWrite, 0);
  EXPECT_EQ(store_.Get(kId).title, "mine");
  EXPECT_TRUE(files_.Contains(kCopy));
  EXPECT_TRUE(files_.Names(kAside).empty());
}

TEST_F(ResolveFailureTest, ACopyThatCannotBeRemovedIsToldAfterTheKeptVersionIsStored) {
  const Conflict conflict = Found();
  files_.FailAlways(Call::kRemove, EACCES);
  const Status status = ResolveConflict(store_, conflict, conflict.copies[0].fileName, kAside);
  files_.FailAlways(Call::kRemove, 0);
  EXPECT_NE(status.message().find("could not be removed: Permission denied"), std::string::npos)
      << status.message();
  EXPECT_EQ(store_.Get(kId).title, "theirs");
  EXPECT_EQ(files_.Names(kAside), (std::vector<std::string>{"duedate" + kId + ".due"}));
  // Resolved again, it sets the record file aside under a free name.
  ASSERT_TRUE(ResolveConflict(store_, Found(), "current", kAside).ok());
  EXPECT_FALSE(files_.Contains(kCopy));
  EXPECT_EQ(files_.Names(kAside).size(), 2u);
}

TEST_F(ResolveFailureTest, AVersionThatCannotBeReadIsListedWithItsReasonAndNeverKept) {
  files_.PutOther(kCopy);  // a FIFO named like a copy
  const Conflict conflict = Found();
  ASSERT_EQ(conflict.copies.size(), 1u);
  EXPECT_FALSE(conflict.copies[0].record.has_value());
  EXPECT_EQ(conflict.copies[0].problem, "the file cannot be read: it is not a regular file");
  EXPECT_EQ(ResolveConflict(store_, conflict, conflict.copies[0].fileName, kAside).code(),
            StatusCode::kInvalidArgument);
}

}  // namespace
}  // namespace paylark
