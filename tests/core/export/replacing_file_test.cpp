#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "core/export/document_file.h"
#include "core/export/replacing_file.h"
#include "tests/support/memory_file_system.h"

namespace paylark {
namespace {

using Call = MemoryFileSystem::Call;

class ReplacingFileTest : public ::testing::Test {
 protected:
  ReplacingFileTest() {
    (void)files_.CreateFolder("/home");
    (void)files_.CreateFolder(kFolder);
  }
  // What the folder holds besides the export: no temporary file may stay.
  std::vector<std::string> Names() const { return files_.Names(kFolder); }

  static constexpr const char* kFolder = "/home/Exports";
  static constexpr const char* kTarget = "/home/Exports/March.html";
  MemoryFileSystem files_;
};

TEST_F(ReplacingFileTest, CommitPutsTheWholeDocumentInPlaceKeepingTheOldPermissions) {
  files_.Put(kTarget, "old", 0600);
  ASSERT_TRUE(WriteDocument(kTarget, "<html>new</html>", files_).ok());
  EXPECT_EQ(files_.Contents(kTarget), "<html>new</html>");
  EXPECT_EQ(files_.ModeOf(kTarget), 0600);
  EXPECT_EQ(Names(), std::vector<std::string>{"March.html"});
}

TEST_F(ReplacingFileTest, TheTemporaryFileCarriesTheWritersProcessId) {
  Result<ReplacingFile> file = ReplacingFile::Create(kTarget, files_);
  ASSERT_TRUE(file.ok());
  const std::string temporary = file.value().temporaryPath();
  EXPECT_EQ(temporary.rfind("/home/Exports/.paylark-4242-", 0), 0u) << temporary;
  EXPECT_FALSE(temporary.ends_with(".due"));
  ASSERT_TRUE(file.value().Write("part one, ").ok());
  ASSERT_TRUE(file.value().Write("part two").ok());
  EXPECT_FALSE(files_.Contains(kTarget));  // nothing appears before Commit
  ASSERT_TRUE(file.value().Commit().ok());
  EXPECT_EQ(files_.Contents(kTarget), "part one, part two");
}

// Each failing step leaves the old document whole, says which file could not be written, and
// leaves no temporary file behind.
TEST_F(ReplacingFileTest, AFailedStepKeepsTheOldDocumentAndLeavesNothingBehind) {
  for (const Call call : {Call::kWrite, Call::kSync, Call::kRename}) {
    SCOPED_TRACE(static_cast<int>(call));
    files_.Put(kTarget, "old");
    files_.FailNth(call, 1, ENOSPC);
    const Status status = WriteDocument(kTarget, "new", files_);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("March.html"), std::string::npos) << status.message();
    EXPECT_NE(status.message().find("No space left on device"), std::string::npos);
    EXPECT_EQ(files_.Contents(kTarget), "old");
    EXPECT_EQ(Names(), std::vector<std::string>{"March.html"});
  }
}

TEST_F(ReplacingFileTest, AMissingFolderIsToldBeforeAnythingIsWritten) {
  const Status status = WriteDocument("/home/Gone/March.html", "new", files_);
  EXPECT_FALSE(status.ok());
  EXPECT_NE(status.message().find("/home/Gone/March.html"), std::string::npos);
  EXPECT_EQ(files_.CallsMade(Call::kWrite), 0);
}

TEST_F(ReplacingFileTest, AnUncommittedFileLeavesNoTrace) {
  {
    Result<ReplacingFile> file = ReplacingFile::Create(kTarget, files_);
    ASSERT_TRUE(file.ok());
    ASSERT_TRUE(file.value().Write("never committed").ok());
  }
  EXPECT_TRUE(Names().empty());
}

}  // namespace
}  // namespace paylark
