#include "core/records/record_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/records/memory_file_system.h"

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

}  // namespace
}  // namespace paylark
