#include "core/io/temporary_files.h"

#include <gtest/gtest.h>

#include "tests/support/memory_file_system.h"

namespace paylark {
namespace {

TEST(TemporaryFilesTest, TheWriterIsTheNumberRightAfterThePrefix) {
  EXPECT_EQ(WriterOf(".paylark-4242-7"), 4242);
  EXPECT_EQ(WriterOf(".paylark-swap-51.journal", ".paylark-swap-"), 51);
  EXPECT_EQ(WriterOf("records.snapshot.77.new", "records.snapshot."), 77);
  // No writer: a claim, a name of another kind, a number that ends the name or runs on.
  for (const char* name : {".paylark-series-recId20070210143025", "duedate1.due", ".paylark-12",
                           ".paylark-12x-1", ".paylark--1", ".paylark-99999999999-1"})
    EXPECT_EQ(WriterOf(name), 0) << name;
}

TEST(TemporaryFilesTest, StaleOnceTheWriterIsGoneOrAfterAnHour) {
  MemoryFileSystem files;
  files.SetProcessId(100);
  files.SetProcess(200, true);
  EXPECT_FALSE(IsStaleTemporary(files, 100, 0));  // this process's own
  EXPECT_FALSE(IsStaleTemporary(files, 200, kStaleTemporarySeconds));
  EXPECT_TRUE(IsStaleTemporary(files, 200, kStaleTemporarySeconds + 1));
  EXPECT_TRUE(IsStaleTemporary(files, 300, 0));  // no such process runs
  // Without a writer only the age counts.
  EXPECT_FALSE(IsStaleTemporary(files, 0, kStaleTemporarySeconds));
  EXPECT_TRUE(IsStaleTemporary(files, 0, kStaleTemporarySeconds + 1));
}

}  // namespace
}  // namespace paylark
