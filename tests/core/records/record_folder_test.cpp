#include "core/records/record_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/records/memory_file_system.h"
#include "tests/support/scratch_folder.h"

namespace paylark {
namespace {

constexpr char kRecords[] = "/home/user/Paylark Files";

std::vector<std::string> ScannedNames(MemoryFileSystem& files) {
  const Result<FolderScan> scan = RecordFolder(files, kRecords).Scan();
  std::vector<std::string> names;
  for (const FolderEntry& entry : scan.value().records)
    names.push_back(entry.name);
  return names;
}

// The scan orders names byte by byte whatever they share: a long common prefix, names that are
// prefixes of others, differences only past the eighth byte after the common part, bytes above
// 0x7F, and upper against lower case.
TEST(RecordFolderTest, ScanListsRecordFilesInByteOrderOfTheirNames) {
  std::vector<std::string> names = {"duedate2026120600000010.due",
                                    "duedate2026120600000009.due",
                                    "duedate20261206.due",
                                    "duedate2026120600000010x.due",
                                    "duedate2026120600000010X.due",
                                    "duedate\xC3\xA9.due",
                                    "duedate.due",
                                    "duedate2026120600000010.DUE",
                                    "Duedate1.due",
                                    "duedate1.due"};
  std::mt19937 random(7);
  for (int i = 0; i < 300; ++i)
    names.push_back("duedate20261206" + std::to_string(random() % 1'000'000'000) + ".due");
  MemoryFileSystem files;
  for (const std::string& name : names)
    files.Put(std::string(kRecords) + "/" + name, "x");
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  EXPECT_EQ(ScannedNames(files), names);
}

TEST(RecordFolderTest, ScanOfOneOrNoRecordFile) {
  MemoryFileSystem files;
  files.Put(std::string(kRecords) + "/notes.txt", "x");
  EXPECT_TRUE(ScannedNames(files).empty());
  files.Put(std::string(kRecords) + "/duedate1.due", "x");
  EXPECT_EQ(ScannedNames(files), std::vector<std::string>{"duedate1.due"});
}

// A folder large enough to be listed on several threads while it is read: every record file
// once, with its own size, and the other files left out.
TEST(RecordFolderTest, ScanOfALargeFolderOnDiskFindsEveryFileWithItsSize) {
  const testing::ScratchFolder folder;
  std::vector<std::string> names;
  for (int i = 0; i < 5000; ++i) {
    names.push_back("duedate" + std::to_string(2026120600000000LL + i * 7919 % 5000) + ".due");
    std::ofstream(folder.PathOf(names.back()))
        << std::string(static_cast<std::size_t>(i % 97), 'x');
  }
  std::ofstream(folder.PathOf("preferences.alm")) << "marker";
  const Result<FolderScan> scan = RecordFolder(SystemFileSystem(), folder.path().string()).Scan();
  ASSERT_TRUE(scan.ok());
  std::sort(names.begin(), names.end());
  ASSERT_EQ(scan.value().records.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    const FolderEntry& entry = scan.value().records[i];
    ASSERT_EQ(entry.name, names[i]);
    const std::uintmax_t size = std::filesystem::file_size(folder.PathOf(entry.name));
    EXPECT_EQ(entry.info.size, size) << entry.name;
    EXPECT_EQ(entry.info.kind, FileKind::kRegular) << entry.name;
  }
}

}  // namespace
}  // namespace paylark
