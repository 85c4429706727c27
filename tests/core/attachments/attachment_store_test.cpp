// The attachment folders played through the in-memory file system, so that every way the disk
// can fail is tried: what the folders hold afterwards, and what the store says.
#include "core/attachments/attachment_store.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "tests/support/memory_file_system.h"

namespace paylark {
namespace {

using Call = MemoryFileSystem::Call;

constexpr char kWork[] = "/home/user/Work";
constexpr char kFolder[] = "/home/user/Work/Paylark Files/Attachments/10";
constexpr char kBackups[] = "/home/user/.local/share/paylark/Backups/Work-1234abcd";
constexpr char kRemoved[] =
    "/home/user/.local/share/paylark/Backups/Work-1234abcd/Removed attachments/10";

class AttachmentStoreTest : public ::testing::Test {
 protected:
  AttachmentStoreTest() { files_.CreateFolder("/home/user/Downloads").ok(); }

  std::string Download(const std::string& name, std::string bytes = "%PDF-1.4 bill") {
    std::string path = "/home/user/Downloads/" + name;
    files_.Put(path, std::move(bytes));
    return path;
  }

  std::vector<std::string> Listed(const std::string& id = "10") const {
    std::vector<std::string> names;
    const Result<std::vector<Attachment>> listed = store_.List(id);
    for (const Attachment& attachment : listed.value())
      names.push_back(attachment.name);
    return names;
  }

  MemoryFileSystem files_;
  AttachmentStore store_{files_, kWork};
};

TEST_F(AttachmentStoreTest, AddedFilesAreListedByNameWithTheirSizes) {
  EXPECT_TRUE(store_.List("10").value().empty());
  EXPECT_EQ(store_.Add("10", Download("water.pdf", "12345")).value(), "water.pdf");
  EXPECT_EQ(store_.Add("10", Download(".scan.png")).value(), "scan.png");
  EXPECT_EQ(files_.Contents(std::string(kFolder) + "/water.pdf"), "12345");
  const std::vector<Attachment> listed = store_.List("10").value();
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0].name, "scan.png");
  EXPECT_EQ(listed[1].name, "water.pdf");
  EXPECT_EQ(listed[1].size, 5u);
  EXPECT_EQ(store_.RecordsWithAttachments().value(), std::set<std::string>{"10"});
}

TEST_F(AttachmentStoreTest, TemporaryAndSyncEngineFilesAreNoAttachments) {
  files_.Put(std::string(kFolder) + "/.syncthing.bill.pdf.tmp", "half");
  files_.Put(std::string(kFolder) + "/.paylark-99-1", "half");
  files_.Put(std::string(kFolder) + "/bill.sync-conflict-20261206-101010-ABCDEFG.pdf", "other");
  EXPECT_EQ(Listed(), std::vector<std::string>{"bill.sync-conflict-20261206-101010-ABCDEFG.pdf"});
}

TEST_F(AttachmentStoreTest, WhatCannotBeAttachedIsRefusedByNameAndLeavesNothing) {
  const std::string folder = Download("Scans");
  files_.Remove(folder).ok();
  files_.CreateFolder(folder).ok();
  files_.PutOther("/home/user/Downloads/pipe");
  const std::string locked = Download("locked.pdf");
  files_.FailRead(locked, EACCES);
  const std::string huge = Download("huge.pdf", std::string(kMaxAttachmentBytes + 1, 'x'));
  const std::string dots = Download("..", "x");
  const struct {
    std::string path;
    std::string message;
  } cases[] = {
      {folder, "\"Scans\" is a folder; only files can be attached"},
      {"/home/user/Downloads/pipe", "\"pipe\" is not a regular file"},
      {locked, "\"locked.pdf\" cannot be read: Permission denied"},
      {huge, "\"huge.pdf\" is larger than 64 MiB"},
      {"/home/user/Downloads/gone.pdf", "\"gone.pdf\" does not exist"},
      {dots, "\"..\" is no name a file can be kept under"},
  };
  for (const auto& c : cases) {
    const Result<std::string> added = store_.Add("10", c.path);
    ASSERT_FALSE(added.ok()) << c.path;
    EXPECT_EQ(added.status().message(), c.message);
  }
  for (const char* id : {"", ".", "..", "a/b"}) {  // a record ID that is no folder name
    EXPECT_EQ(store_.Add(id, Download("bill.pdf")).status().code(), StatusCode::kInvalidArgument)
        << id;
  }
  EXPECT_TRUE(files_.Names(kFolder).empty());
  // A file of exactly the limit is kept.
  EXPECT_TRUE(store_.Add("10", Download("big.pdf", std::string(kMaxAttachmentBytes, 'x'))).ok());
}

TEST_F(AttachmentStoreTest, AFailedCopyLeavesNoHalfFileUnderAnyName) {
  const std::string bill = Download("bill.pdf");
  for (const Call call : {Call::kWrite, Call::kSync, Call::kRename}) {
    files_.FailNth(call, 1, ENOSPC);
    const Result<std::string> added = store_.Add("10", bill);
    ASSERT_FALSE(added.ok());
    EXPECT_EQ(added.status().message(),
              "\"bill.pdf\" could not be written: No space left on device");
    EXPECT_TRUE(files_.Names(kFolder).empty());
  }
}

TEST_F(AttachmentStoreTest, AKilledCopysTemporaryGoesAtTheNextAdd) {
  files_.Put(std::string(kFolder) + "/.paylark-999-1", "half of a killed copy");
  files_.SetProcess(999, false);
  files_.Put(std::string(kFolder) + "/.paylark-998-1", "a copy still running");
  files_.SetProcess(998, true);
  ASSERT_TRUE(store_.Add("10", Download("bill.pdf")).ok());
  EXPECT_EQ(files_.Names(kFolder), (std::vector<std::string>{".paylark-998-1", "bill.pdf"}));
}

// A killed attach once left its copy (up to 64 MiB) until the next attach to the same due, and
// forever once the due was deleted: the folder check removes it from every due's folder.
TEST_F(AttachmentStoreTest, TheFolderCheckRemovesKilledCopiesFromEveryDuesFolder) {
  const std::string other = "/home/user/Work/Paylark Files/Attachments/20";
  ASSERT_TRUE(CreateFolders(files_, kFolder).ok());
  ASSERT_TRUE(CreateFolders(files_, other).ok());
  files_.Put(std::string(kFolder) + "/.paylark-999-1", "half of a killed copy");
  files_.Put(std::string(kFolder) + "/bill.pdf", "kept");
  files_.Put(other + "/.paylark-999-2", "another killed copy");
  files_.Put(other + "/.paylark-998-1", "a copy still running");
  files_.Put(other + "/.paylark-998-2", "a copy an hour old");
  files_.SetAge(other + "/.paylark-998-2", 7200);
  files_.SetProcess(999, false);
  files_.SetProcess(998, true);
  store_.RemoveStaleTemporaries();
  EXPECT_EQ(files_.Names(kFolder), std::vector<std::string>{"bill.pdf"});
  EXPECT_EQ(files_.Names(other), std::vector<std::string>{".paylark-998-1"});
}

TEST_F(AttachmentStoreTest, ARemovedAttachmentGoesToTheBackupsFolderWithItsDuesFolder) {
  ASSERT_TRUE(store_.Add("10", Download("a.pdf", "A")).ok());
  ASSERT_TRUE(store_.Add("10", Download("b.pdf")).ok());
  EXPECT_TRUE(store_.Remove("10", "a.pdf", kBackups).ok());
  EXPECT_EQ(Listed(), std::vector<std::string>{"b.pdf"});
  EXPECT_EQ(files_.Contents(std::string(kRemoved) + "/a.pdf"), "A");
  EXPECT_TRUE(store_.Remove("10", "b.pdf", kBackups).ok());
  EXPECT_TRUE(store_.RecordsWithAttachments().value().empty());
}

TEST_F(AttachmentStoreTest, RemovingWhatIsNotThereIsNotFoundAndAFailureKeepsTheFile) {
  ASSERT_TRUE(store_.Add("10", Download("a.pdf")).ok());
  EXPECT_EQ(store_.Remove("10", "b.pdf", kBackups).code(), StatusCode::kNotFound);
  EXPECT_EQ(store_.Remove("10", "../10/a.pdf", kBackups).code(), StatusCode::kNotFound);
  EXPECT_EQ(store_.Remove("11", "a.pdf", kBackups).code(), StatusCode::kNotFound);
  files_.FailNth(Call::kRename, 1, EXDEV);
  files_.FailNth(Call::kWrite, 1, EROFS);
  const Status status = store_.Remove("10", "a.pdf", kBackups);
  EXPECT_EQ(status.message(), "\"a.pdf\" could not be moved: Read-only file system");
  EXPECT_EQ(Listed(), std::vector<std::string>{"a.pdf"});
}

TEST_F(AttachmentStoreTest, MovingToTheBackupsFolderKeepsEveryFile) {
  ASSERT_TRUE(store_.Add("10", Download("a.pdf", "A")).ok());
  ASSERT_TRUE(store_.Add("10", Download("b.pdf", "B")).ok());
  files_.Put(std::string(kRemoved) + "/a.pdf", "an earlier A");
  EXPECT_TRUE(store_.MoveToRemoved("10", kBackups).ok());
  EXPECT_EQ(files_.Names(kRemoved), (std::vector<std::string>{"a (2).pdf", "a.pdf", "b.pdf"}));
  EXPECT_EQ(files_.Contents(std::string(kRemoved) + "/a (2).pdf"), "A");
  EXPECT_TRUE(store_.RecordsWithAttachments().value().empty());
  EXPECT_TRUE(store_.MoveToRemoved("11", kBackups).ok());  // none: nothing to do
}

TEST_F(AttachmentStoreTest, AcrossFileSystemsAMoveCopiesThenRemoves) {
  ASSERT_TRUE(store_.Add("10", Download("a.pdf", "A")).ok());
  files_.FailNth(Call::kRename, 1, EXDEV);
  EXPECT_TRUE(store_.MoveToRemoved("10", kBackups).ok());
  EXPECT_EQ(files_.Contents(std::string(kRemoved) + "/a.pdf"), "A");
  EXPECT_FALSE(files_.Contains(std::string(kFolder) + "/a.pdf"));
}

TEST_F(AttachmentStoreTest, AFileThatCannotBeMovedStaysWhereItWas) {
  ASSERT_TRUE(store_.Add("10", Download("a.pdf", "A")).ok());
  ASSERT_TRUE(store_.Add("10", Download("b.pdf", "B")).ok());
  files_.FailNth(Call::kRename, 1, EXDEV);
  files_.FailNth(Call::kWrite, 1, ENOSPC);
  const Status status = store_.MoveToRemoved("10", kBackups);
  EXPECT_EQ(status.message(), "\"a.pdf\" could not be moved: No space left on device");
  EXPECT_EQ(Listed(), std::vector<std::string>{"a.pdf"});
  EXPECT_EQ(files_.Names(kRemoved), std::vector<std::string>{"b.pdf"});
}

TEST_F(AttachmentStoreTest, AnUnlistableFolderIsAnErrorNotAnEmptyList) {
  ASSERT_TRUE(store_.Add("10", Download("a.pdf")).ok());
  files_.FailList(kFolder, EACCES);
  EXPECT_EQ(store_.List("10").status().message(),
            "the attachments of 10 cannot be listed: Permission denied");
  EXPECT_FALSE(store_.MoveToRemoved("10", kBackups).ok());
}

}  // namespace
}  // namespace paylark
