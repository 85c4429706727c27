#include "core/records/record_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "tests/support/memory_file_system.h"
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

// A listing of names takes the kind from the folder and inspects only what the folder does not
// tell: a link is followed, a dangling one left out.
TEST(RecordFolderTest, ListingNamesInspectsOnlyWhatTheFolderDoesNotTell) {
  const testing::ScratchFolder folder;
  std::ofstream(folder.PathOf("duedate1.due")) << "one";
  std::filesystem::create_directory(folder.PathOf("folder.due"));
  std::filesystem::create_symlink("duedate1.due", folder.PathOf("duedate2.due"));
  std::filesystem::create_symlink("missing", folder.PathOf("duedate3.due"));
  Result<std::vector<FolderEntry>> entries = SystemFileSystem().ListNames(folder.path().string());
  ASSERT_TRUE(entries.ok());
  std::sort(entries.value().begin(), entries.value().end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  ASSERT_EQ(entries.value().size(), 3u);
  const FolderEntry& file = entries.value()[0];
  const FolderEntry& link = entries.value()[1];
  const FolderEntry& subfolder = entries.value()[2];
  EXPECT_EQ(file.name, "duedate1.due");
  EXPECT_EQ(file.info.kind, FileKind::kRegular);
  EXPECT_FALSE(file.info.inspected);
  EXPECT_EQ(file.info.inode,
            SystemFileSystem().Inspect(folder.PathOf("duedate1.due")).value().inode);
  EXPECT_EQ(link.name, "duedate2.due");
  EXPECT_TRUE(link.info.inspected);
  EXPECT_EQ(link.info.kind, FileKind::kRegular);
  EXPECT_EQ(link.info.size, 3u);
  EXPECT_EQ(subfolder.info.kind, FileKind::kFolder);
}

// What a reader tells of the file it read is what inspecting the file tells; a file too large is
// refused unread, with its size.
TEST(RecordFolderTest, AReaderTellsTheIdentityOfTheFileItRead) {
  const testing::ScratchFolder folder;
  std::ofstream(folder.PathOf("duedate1.due")) << "one";
  std::ofstream(folder.PathOf("duedate2.due")).close();
  std::filesystem::resize_file(folder.PathOf("duedate2.due"), kMaxRecordFileBytes + 1);
  const RecordFolder records(SystemFileSystem(), folder.path().string());
  const std::unique_ptr<FolderReader> reader = records.Reader();
  FileInfo info;
  const Result<std::string> bytes = reader->Read("duedate1.due", kMaxRecordFileBytes, info);
  ASSERT_TRUE(bytes.ok());
  EXPECT_EQ(bytes.value(), "one");
  const FileInfo inspected = SystemFileSystem().Inspect(folder.PathOf("duedate1.due")).value();
  EXPECT_EQ(info.inode, inspected.inode);
  EXPECT_EQ(info.changeTime, inspected.changeTime);
  EXPECT_EQ(info.size, 3u);
  EXPECT_EQ(info.kind, FileKind::kRegular);
  const Result<std::string> large = reader->Read("duedate2.due", kMaxRecordFileBytes, info);
  EXPECT_EQ(large.status().code(), StatusCode::kInvalidArgument);
  EXPECT_EQ(info.size, kMaxRecordFileBytes + 1);
  EXPECT_EQ(reader->Read("duedate3.due", kMaxRecordFileBytes, info).status().code(),
            StatusCode::kNotFound);
}

struct ReadOutcome {
  StatusCode code;
  std::string bytes;
  FileInfo info;
};

// Every file of `names` read at once, by its place in `names`.
std::vector<ReadOutcome> ReadEachOf(const FolderReader& reader,
                                    const std::vector<std::string>& names) {
  const std::vector<std::string_view> views(names.begin(), names.end());
  std::vector<ReadOutcome> outcomes(names.size());
  std::vector<int> heard(names.size(), 0);
  std::mutex mutex;
  reader.ReadEach(views, 64, [&](std::size_t i, Result<std::string> read, const FileInfo& info) {
    const std::lock_guard lock(mutex);
    ++heard[i];
    outcomes[i] = {read.status().code(), read.ok() ? read.value() : "", info};
  });
  EXPECT_EQ(std::count(heard.begin(), heard.end(), 1), static_cast<long>(names.size()));
  return outcomes;
}

// Reading many files at once (several batches of them) gives for each what reading it alone
// gives: its bytes and identity, or the same refusal for a file too large, a symbolic link, a
// FIFO (never waited on), a folder and a missing name; on disk and in memory alike.
TEST(RecordFolderTest, ReadingManyAtOnceGivesWhatReadingEachAloneGives) {
  const testing::ScratchFolder folder;
  MemoryFileSystem memory;
  std::vector<std::string> names;
  for (int i = 0; i < 300; ++i) {
    const std::string name = "duedate" + std::to_string(i) + ".due";
    const std::string bytes(static_cast<std::size_t>(i % 70), static_cast<char>('a' + i % 26));
    std::ofstream(folder.PathOf(name), std::ios::binary) << bytes;
    memory.Put(std::string(kRecords) + "/" + name, bytes);
    names.push_back(name);
  }
  std::filesystem::create_symlink(folder.PathOf("duedate1.due"), folder.PathOf("link.due"));
  ASSERT_EQ(mkfifo(folder.PathOf("fifo.due").c_str(), 0600), 0);
  std::filesystem::create_directory(folder.PathOf("folder.due"));
  for (const char* name : {"link.due", "fifo.due", "folder.due", "missing.due"})
    names.insert(names.begin() + 150, name);

  const RecordFolder onDisk(SystemFileSystem(), folder.path().string());
  const std::unique_ptr<FolderReader> reader = onDisk.Reader();
  const std::vector<ReadOutcome> outcomes = ReadEachOf(*reader, names);
  for (std::size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(names[i]);
    FileInfo info;
    const Result<std::string> alone = reader->Read(names[i], 64, info);
    EXPECT_EQ(outcomes[i].code, alone.status().code());
    EXPECT_EQ(outcomes[i].bytes, alone.ok() ? alone.value() : "");
    EXPECT_EQ(outcomes[i].info.size, info.size);
    EXPECT_EQ(outcomes[i].info.inode, info.inode);
    EXPECT_EQ(outcomes[i].info.changeTime, info.changeTime);
  }
  EXPECT_EQ(outcomes[0].bytes, "");
  EXPECT_EQ(outcomes[63].bytes, std::string(63, 'l'));
  EXPECT_EQ(outcomes[69].code, StatusCode::kInvalidArgument);  // larger than 64 bytes
  EXPECT_EQ(outcomes[150].code, StatusCode::kNotFound);
  EXPECT_EQ(outcomes[153].code, StatusCode::kInvalidArgument);  // the link

  const std::vector<std::string> stored(names.begin(), names.begin() + 150);
  const std::vector<ReadOutcome> inMemory =
      ReadEachOf(*RecordFolder(memory, kRecords).Reader(), stored);
  for (std::size_t i = 0; i < stored.size(); ++i)
    EXPECT_EQ(inMemory[i].bytes, outcomes[i].bytes) << stored[i];
}

// A file is read straight into its result, or mapped: a large one (as the snapshot is) comes back
// byte for byte, also once its pages are let go of; one that tells no size (as /proc's files do)
// comes back whole, and the limit holds.
TEST(RecordFolderTest, ReadingGivesLargeAndSizelessFilesWhole) {
  const testing::ScratchFolder folder;
  std::string large(3 * 100'000 + 7, '\0');
  for (std::size_t i = 0; i < large.size(); ++i)
    large[i] = static_cast<char>('a' + i * 7 % 26);
  std::ofstream(folder.PathOf("large"), std::ios::binary) << large;
  FileSystem& files = SystemFileSystem();
  const Result<std::string> read = files.Read(folder.PathOf("large"), large.size());
  ASSERT_TRUE(read.ok());
  EXPECT_TRUE(read.value() == large);
  EXPECT_EQ(files.Read(folder.PathOf("large"), large.size() - 1).status().code(),
            StatusCode::kInvalidArgument);
  const Result<FileBytes> mapped = files.ReadLarge(folder.PathOf("large"), large.size());
  ASSERT_TRUE(mapped.ok());
  EXPECT_TRUE(mapped.value().view() == large);
  // Pages let go of are read from the file again; bytes read into memory are never touched.
  mapped.value().LetGoBefore(large.size() - 5);
  EXPECT_TRUE(mapped.value().view() == large);
  const auto held = std::make_shared<const std::string>(large);
  const FileBytes heldBytes(held, *held);
  heldBytes.LetGoBefore(large.size());
  EXPECT_TRUE(heldBytes.view() == large);
  EXPECT_EQ(heldBytes.ChangeablePages(0, 10).data(), nullptr);
  // Mapped pages a reader changes are its own: the file keeps its bytes, and the pages outlive
  // the bytes they came from.
  {
    PageBlock pages = files.ReadLarge(folder.PathOf("large"), large.size())
                          .value()
                          .ChangeablePages(4096, 100'000);
    ASSERT_NE(pages.data(), nullptr);
    ASSERT_EQ(pages.size(), 100'000u);
    auto* bytes = static_cast<char*>(pages.data());
    EXPECT_TRUE(std::string_view(bytes, 100'000) == std::string_view(large).substr(4096, 100'000));
    std::fill(bytes, bytes + 100'000, 'z');
    EXPECT_EQ(bytes[99'999], 'z');
  }
  EXPECT_TRUE(files.Read(folder.PathOf("large"), large.size()).value() == large);
  EXPECT_EQ(mapped.value().ChangeablePages(large.size() - 5, 6).data(), nullptr);
  EXPECT_EQ(files.ReadLarge(folder.PathOf("large"), large.size() - 1).status().code(),
            StatusCode::kInvalidArgument);
  EXPECT_EQ(files.ReadLarge(folder.PathOf("missing"), 10).status().code(), StatusCode::kNotFound);
  std::ofstream(folder.PathOf("empty")) << "";
  ASSERT_TRUE(files.ReadLarge(folder.PathOf("empty"), 10).ok());
  EXPECT_TRUE(files.ReadLarge(folder.PathOf("empty"), 10).value().view().empty());
  EXPECT_TRUE(files.ReadLarge("/proc/self/status", std::size_t{1} << 20)
                  .value()
                  .view()
                  .starts_with("Name:"));

  const Result<std::string> status = files.Read("/proc/self/status", std::size_t{1} << 20);
  ASSERT_TRUE(status.ok());
  EXPECT_TRUE(status.value().starts_with("Name:"));
  EXPECT_TRUE(status.value().ends_with("\n"));
  EXPECT_EQ(files.Read("/proc/self/status", 8).status().code(), StatusCode::kInvalidArgument);
}

}  // namespace
}  // namespace paylark
