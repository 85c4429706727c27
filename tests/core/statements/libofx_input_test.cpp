#include "core/statements/libofx_input.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/statements/libofx_folder.h"
#include "core/statements/ofx_reader.h"
#include "tests/core/statements/statement_samples.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/scoped_variable.h"

namespace paylark {
namespace {

// Every test runs with $TMPDIR at a folder of its own, so what is left there is seen.
class LibofxInputTest : public ::testing::Test {
 protected:
  bool TemporaryFolderIsEmpty() const { return std::filesystem::is_empty(temporary_.path()); }

 private:
  testing::ScratchFolder temporary_;
  testing::ScopedVariable temporaryVariable_{"TMPDIR", temporary_.path().c_str()};
};

TEST_F(LibofxInputTest, MemoryFileIsReadByPathAndLeavesNothingInTheTemporaryFolder) {
  Result<std::unique_ptr<LibofxInput>> input = LibofxInput::Write("<OFX>statement</OFX>");
  ASSERT_TRUE(input.ok()) << input.status().message();
  EXPECT_EQ(input.value()->kind(), LibofxInput::Kind::kMemoryFile);
  EXPECT_EQ(testing::FileBytes(input.value()->path()), "<OFX>statement</OFX>");
  EXPECT_EQ(testing::FileBytes(input.value()->path()), "<OFX>statement</OFX>")
      << "read twice from the start";
  EXPECT_TRUE(TemporaryFolderIsEmpty());
}

TEST_F(LibofxInputTest, ScratchFileIsPrivateAndRemovedWithTheInput) {
  std::string path;
  {
    Result<std::unique_ptr<LibofxInput>> input = LibofxInput::WriteScratchFile("<OFX></OFX>");
    ASSERT_TRUE(input.ok()) << input.status().message();
    path = input.value()->path();
    EXPECT_EQ(testing::FileBytes(path), "<OFX></OFX>");
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
  }
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(TemporaryFolderIsEmpty());
}

TEST_F(LibofxInputTest, ReadingAStatementLeavesNoCopyBehind) {
  const Result<Statement> statement = ReadOfxStatement(SampleBytes("ofx1_checking.ofx"));
  ASSERT_TRUE(statement.ok()) << statement.status().message();
  EXPECT_EQ(statement.value().transactions.size(), 4u);
  EXPECT_TRUE(TemporaryFolderIsEmpty());
}

// What a killed read left: LibOFX's own copy in the folder of a process that is gone, and a
// scratch file of another. The next read removes both; a running process's are left alone.
TEST_F(LibofxInputTest, TheNextReadRemovesWhatKilledReadsLeft) {
  MemoryFileSystem files;
  files.SetProcessId(100);
  files.SetProcess(200, true);
  files.Put("/tmp/paylark-ofx-300-0badcafe/libofxtmpAbc123", "<OFX>copy</OFX>");
  files.Put("/tmp/paylark-ofx-301-77", "<OFX>scratch</OFX>");
  files.Put("/tmp/paylark-ofx-200-1234abcd/libofxtmpXyz", "<OFX>running</OFX>");
  files.Put("/tmp/paylark-ofx-notes.txt", "not ours");
  files.Put("/tmp/libofxtmpOther", "someone else's");
  RemoveStaleLibofxFiles(files, "/tmp");
  EXPECT_EQ(files.Names("/tmp"),
            (std::vector<std::string>{"libofxtmpOther", "paylark-ofx-notes.txt"}));
  EXPECT_EQ(files.Names("/tmp/paylark-ofx-200-1234abcd"), std::vector<std::string>{"libofxtmpXyz"});
  EXPECT_FALSE(files.Inspect("/tmp/paylark-ofx-300-0badcafe").ok());
}

// LibOFX writes its copy of the statement where TMPDIR points: into a folder of the read's own,
// which goes with the copy, and TMPDIR points back where it did.
TEST_F(LibofxInputTest, LibofxWritesItsCopiesIntoAFolderThatGoesWithTheRead) {
  const std::string before = std::getenv("TMPDIR");
  std::string during;
  {
    Result<std::unique_ptr<LibofxFolder>> folder = LibofxFolder::Make(SystemFileSystem());
    ASSERT_TRUE(folder.ok()) << folder.status().message();
    during = std::getenv("TMPDIR");
    EXPECT_EQ(during, folder.value()->path());
    EXPECT_TRUE(during.starts_with(before + "/paylark-ofx-" + std::to_string(::getpid()) + "-"));
    std::ofstream(during + "/libofxtmpAbc123") << "a copy LibOFX did not remove";
  }
  EXPECT_EQ(std::getenv("TMPDIR"), before);
  EXPECT_FALSE(std::filesystem::exists(during));
  EXPECT_TRUE(TemporaryFolderIsEmpty());
}

}  // namespace
}  // namespace paylark
