#include "core/forecast/balance_book.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "core/forecast/balance_file.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/scratch_folder.h"

namespace paylark {
namespace {

constexpr const char* kFolder = "/home/u/Paylark Files";

OleDateTime At(int y, int mo, int d, int h = 0) {
  return *OleDateTime::FromCivil(y, mo, d, h, 0, 0);
}

TEST(BalanceFileTest, EncodesTheFieldsInOrderAndReadsThemBack) {
  const BalanceEntry entry{"x", "Girokonto €", At(2026, 11, 30, 23), 1240.05, "nov.xml", ""};
  const std::string bytes = EncodeBalance(entry);
  // "Girokonto €" is 13 bytes of UTF-8 behind a one-byte length.
  EXPECT_EQ(bytes.substr(0, 14), std::string("\x0D") + "Girokonto €");
  EXPECT_EQ(bytes.size(), 14u + 12u + 8u + 8u);
  Result<BalanceEntry> read = DecodeBalance("x", bytes);
  ASSERT_TRUE(read.ok()) << read.status().message();
  EXPECT_EQ(read.value(), entry);
}

TEST(BalanceFileTest, TheBanksAccountFollowsTheSourceOnlyWhenAStatementGaveOne) {
  BalanceEntry entry{"x", "Checking", At(2026, 11, 30), 12.5, "nov.ofx", ""};
  const std::string typed = EncodeBalance(entry);
  entry.bankAccount = "DE89370400440532013000";
  const std::string linked = EncodeBalance(entry);
  EXPECT_EQ(linked, typed + "\x16" + entry.bankAccount);
  EXPECT_EQ(DecodeBalance("x", linked).value(), entry);
  EXPECT_EQ(DecodeBalance("x", typed).value().bankAccount, "");
  EXPECT_FALSE(DecodeBalance("x", linked + "z").ok());
}

TEST(BalanceFileTest, RefusesDamagedAndForeignBytes) {
  const std::string good = EncodeBalance({"x", "A", At(2026, 1, 1), 5, "", ""});
  EXPECT_FALSE(DecodeBalance("x", good.substr(0, good.size() - 1)).ok());
  EXPECT_FALSE(DecodeBalance("x", good + "z").ok());
  EXPECT_FALSE(DecodeBalance("x", "").ok());
  EXPECT_FALSE(DecodeBalance("x", EncodeBalance({"x", "A", OleDateTime(9e9), 5, "", ""})).ok());
  EXPECT_FALSE(
      DecodeBalance("x", EncodeBalance({"x", "A", At(2026, 1, 1), std::nan(""), "", ""})).ok());
  const Result<BalanceEntry> beyond =
      DecodeBalance("x", EncodeBalance({"x", "A", At(2026, 1, 1), -9.2e16, "", ""}));
  EXPECT_EQ(beyond.status().message(),
            "The amount of the balance is beyond 10,000,000,000,000 (ten trillion), the most "
            "Paylark keeps.");
  EXPECT_TRUE(DecodeBalance("x", EncodeBalance({"x", "A", At(2026, 1, 1), -1e13, "", ""})).ok());
}

TEST(BalanceFileTest, KnowsItsNamesAndNoOthers) {
  EXPECT_EQ(BalanceFileName("20261206120000-0a0b0c0d"), "balance20261206120000-0a0b0c0d.bal");
  EXPECT_EQ(BalanceEntryIdOf("balance20261206-1.bal"), "20261206-1");
  for (const char* other : {"balance.bal", "balance1.due", "xbalance1.bal", "balance 1.bal",
                            "balance../x.bal", "balance1.bal~"})
    EXPECT_FALSE(BalanceEntryIdOf(other)) << other;
}

class BalanceBookTest : public ::testing::Test {
 protected:
  MemoryFileSystem files_;
  FixedClock clock_{At(2026, 12, 6, 12)};
  BalanceBook book_{files_, kFolder};
};

TEST_F(BalanceBookTest, AddsEntriesUnderNewNamesAndLoadsThemBack) {
  files_.Put(std::string(kFolder) + "/20261201120000.due", "not read");
  Result<BalanceEntry> first = book_.Add({"", "Checking", At(2026, 12, 1), 100, "", ""}, clock_);
  Result<BalanceEntry> second = book_.Add({"", "Checking", At(2026, 12, 5), 90, "", ""}, clock_);
  ASSERT_TRUE(first.ok() && second.ok());
  EXPECT_NE(first.value().entryId, second.value().entryId);
  EXPECT_TRUE(first.value().entryId.starts_with("20261206120000-"));

  BalanceBook again(files_, kFolder);
  ASSERT_TRUE(again.Load().ok());
  ASSERT_EQ(again.entries().size(), 2u);
  EXPECT_TRUE(again.skipped().empty());
  ASSERT_TRUE(again.Remove(first.value().entryId).ok());
  EXPECT_FALSE(
      files_.Contains(std::string(kFolder) + "/" + BalanceFileName(first.value().entryId)));
  EXPECT_EQ(again.Remove("nothing").code(), StatusCode::kNotFound);
}

TEST_F(BalanceBookTest, SkipsAndReportsFilesItCannotRead) {
  files_.Put(std::string(kFolder) + "/balance1.bal", "garbage");
  files_.Put(std::string(kFolder) + "/balance2.bal",
             EncodeBalance({"", "A", At(2026, 1, 1), 1, "", ""}));
  files_.Put(std::string(kFolder) + "/balance3.bal",
             EncodeBalance({"", "A", At(2026, 1, 2), 2, "", ""}));
  files_.FailRead(std::string(kFolder) + "/balance3.bal", EACCES);
  ASSERT_TRUE(book_.Load().ok());
  ASSERT_EQ(book_.entries().size(), 1u);
  EXPECT_EQ(book_.entries()[0].entryId, "2");
  ASSERT_EQ(book_.skipped().size(), 2u);
}

TEST_F(BalanceBookTest, LeavesNothingBehindWhenTheDiskRefuses) {
  files_.FailAlways(MemoryFileSystem::Call::kRename, ENOSPC);
  Result<BalanceEntry> added = book_.Add({"", "A", At(2026, 1, 1), 1, "", ""}, clock_);
  EXPECT_FALSE(added.ok());
  EXPECT_TRUE(book_.entries().empty());
  EXPECT_TRUE(files_.Names(kFolder).empty());
  files_.FailAlways(MemoryFileSystem::Call::kRename, 0);
  files_.FailList(kFolder, EIO);
  EXPECT_FALSE(book_.Load().ok());
}

// A sync engine carries links as it finds them: a linked balance file is refused as a linked
// record file is, and nothing is read through it.
TEST(BalanceBookFolderTest, ABalanceFileThatIsALinkIsRefusedNotFollowed) {
  const testing::ScratchFolder scratch;
  const std::string folder = scratch.PathOf("Paylark Files");
  std::filesystem::create_directory(folder);
  std::ofstream(scratch.PathOf("forged.bal"), std::ios::binary)
      << EncodeBalance({"x", "A", At(2026, 1, 1), 9e15, "", ""});
  std::filesystem::create_symlink(scratch.PathOf("forged.bal"),
                                  folder + "/" + BalanceFileName("20260101000000-0000000a"));
  BalanceBook book(SystemFileSystem(), folder);
  ASSERT_TRUE(book.Add({"", "A", At(2026, 1, 2), 100, "", ""}, FixedClock(At(2026, 1, 2))).ok());
  ASSERT_TRUE(book.Load().ok());
  ASSERT_EQ(book.entries().size(), 1u);
  EXPECT_EQ(book.entries()[0].amount, 100);
  ASSERT_EQ(book.skipped().size(), 1u);
  EXPECT_EQ(book.skipped()[0].reason, "it is a symbolic link");
}

}  // namespace
}  // namespace paylark
