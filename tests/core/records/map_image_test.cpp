// A map copied back from its image is the map it was made from: the same order, look-ups and
// months, and every change after the copy acts on it as on the original. A damaged image is
// refused whole.
#include "core/records/map_image.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/records/due_map.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/scratch_folder.h"

namespace paylark {
namespace {

constexpr char kImage[] = "/cache/records.map";
constexpr std::size_t kMostBytes = std::size_t{1} << 30;

std::vector<DueRecord> Walk(const DueMap& map) {
  std::vector<DueRecord> records;
  map.ForEach([&](const DueRecord& record) { records.push_back(record); });
  return records;
}

std::vector<std::string> Month(const DueMap& map, int year, int month) {
  std::vector<std::string> ids;
  map.ForEachPackedInMonth(year, month,
                           [&](const PackedDue& due) { ids.push_back(due.Unpack().recordId); });
  return ids;
}

void WriteImage(const DueMap& map, FileSystem& files, const std::string& path = kImage) {
  MapImageWriter writer;
  map.WriteImage(writer);
  (void)files.CreateFolder(ParentFolder(path));
  (void)files.Remove(path);
  ASSERT_TRUE(writer.WriteTo(files, path).ok());
}

// Reads the image into `into`, which stays empty when it is refused.
bool ReadImage(FileSystem& files, DueMap& into, const std::string& path = kImage) {
  const Result<FileBytes> file = files.ReadLarge(path, kMostBytes);
  EXPECT_TRUE(file.ok());
  Result<MapImageReader> reader = MapImageReader::Open(file.value());
  if (reader.ok() && into.ReadImage(reader.value()) && reader.value().Finish().ok())
    return true;
  into.Clear();
  return false;
}

DueRecord RandomRecord(std::mt19937& random, const std::string& id) {
  DueRecord record;
  record.recordId = id;
  record.title = "Due " + std::to_string(random() % 1000);
  record.dueDate = *OleDateTime::FromCivil(2026, 1 + static_cast<int>(random() % 12), 5);
  record.amount = static_cast<double>(random() % 100000) / 100;
  if (random() % 4 == 0)
    record.paidAmount = 12.5;  // an extension block
  if (random() % 9 == 0)
    record.seriesId = "recId2026120710000" + std::to_string(random() % 10);
  return record;
}

std::string RandomId(std::mt19937& random) {
  const std::uint32_t n = random() % 60000;
  return n % 11 == 0 ? "id-" + std::to_string(n) : std::to_string(2026120700000000LL + n);
}

// A random change; gives what the map answered, so that two maps' answers can be compared.
std::string Change(DueMap& map, unsigned kind, const DueRecord& record) {
  switch (kind % 3) {
    case 0:
      map.Remove(record.recordId);
      return {};
    case 1:
      return map.Insert(ViewOf(record), {}) ? "inserted" : "held";
    default:
      const std::optional<DueRecord> replaced = map.Set(record);
      return replaced ? replaced->title : "new";
  }
}

// The same random changes to both maps, which answer them alike.
void ChangeBoth(DueMap& first, DueMap& second, std::mt19937& random, int steps) {
  for (int step = 0; step < steps; ++step) {
    const unsigned kind = random();
    const DueRecord record = RandomRecord(random, RandomId(random));
    ASSERT_EQ(Change(first, kind, record), Change(second, kind, record)) << step;
  }
}

void ExpectSameMap(const DueMap& copy, const DueMap& original) {
  ASSERT_EQ(copy.size(), original.size());
  EXPECT_EQ(Walk(copy), Walk(original));
  for (int month = 1; month <= 12; ++month) {
    EXPECT_EQ(Month(copy, 2026, month), Month(original, 2026, month)) << month;
    EXPECT_EQ(copy.CountInMonth(2026, month), original.CountInMonth(2026, month));
  }
  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    const std::string id = RandomId(random);
    ASSERT_EQ(copy.Find(id), original.Find(id)) << id;
  }
}

// More records than one table block holds, freed slots, replaced texts and a text in a block of
// its own; the image read from a file the system maps and lets go of as it is read.
TEST(MapImageTest, ACopiedMapIsTheMapAndTakesChangesAlike) {
  std::mt19937 random(20261207);
  DueMap original;
  for (int i = 0; i < 50000; ++i)
    original.Set(RandomRecord(random, std::to_string(2026120700000000LL + i)));
  DueRecord longNotes = RandomRecord(random, "long notes");
  longNotes.notes = std::string(700'000, 'n');
  original.Set(longNotes);
  for (int step = 0; step < 5000; ++step) {
    const unsigned kind = random();
    (void)Change(original, kind, RandomRecord(random, RandomId(random)));
  }
  const testing::ScratchFolder folder;
  const std::string path = folder.PathOf("records.map");
  WriteImage(original, SystemFileSystem(), path);
  DueMap copy;
  ASSERT_TRUE(ReadImage(SystemFileSystem(), copy, path));
  ExpectSameMap(copy, original);
  EXPECT_EQ(copy.Find("long notes"), longNotes);

  // Bringing the image's pages in is safe while the map changes, also once it has let them go.
  const std::function<void()> bringIn = copy.BringInJob();
  ASSERT_TRUE(bringIn);
  EXPECT_FALSE(original.BringInJob());
  std::thread bringing(bringIn);
  // The copy's whole table blocks are the file's pages: changes to them never reach the file.
  const std::string image = SystemFileSystem().Read(path, kMostBytes).value();
  const std::vector<DueRecord> beforeChanges = Walk(original);
  ChangeBoth(copy, original, random, 20000);
  ExpectSameMap(copy, original);
  EXPECT_TRUE(SystemFileSystem().Read(path, kMostBytes).value() == image);
  bringing.join();
  copy.Clear();
  bringIn();
  ASSERT_TRUE(ReadImage(SystemFileSystem(), copy, path));
  EXPECT_EQ(Walk(copy), beforeChanges);

  // An image of an empty map gives an empty map that takes records.
  MemoryFileSystem files;
  DueMap empty;
  WriteImage(empty, files);
  ASSERT_TRUE(ReadImage(files, copy));
  EXPECT_TRUE(copy.empty());
  copy.Set(longNotes);
  EXPECT_EQ(copy.Find("long notes"), longNotes);
  // Its only text stands in a block of its own.
  WriteImage(copy, files);
  DueMap again;
  ASSERT_TRUE(ReadImage(files, again));
  ExpectSameMap(again, copy);
}

TEST(MapImageTest, ADamagedImageIsRefusedAndLeavesTheMapEmptyAndUsable) {
  std::mt19937 random(8);
  DueMap original;
  for (int i = 0; i < 300; ++i)
    original.Set(RandomRecord(random, RandomId(random)));
  MemoryFileSystem files;
  WriteImage(original, files);
  const std::string good = files.Contents(kImage);
  std::vector<std::string> damaged = {"", good + "x"};
  for (const std::size_t at :
       {std::size_t{3}, std::size_t{17}, std::size_t{30}, good.size() / 2, good.size() - 3}) {
    std::string flipped = good;
    flipped[at] ^= 0x04;
    damaged.push_back(flipped);
  }
  for (const std::size_t cut : {std::size_t{20}, std::size_t{60}, good.size() / 2, good.size() - 1})
    damaged.push_back(good.substr(0, cut));
  for (const std::string& bytes : damaged) {
    files.Put(kImage, bytes);
    DueMap copy;
    EXPECT_FALSE(ReadImage(files, copy)) << bytes.size();
    EXPECT_TRUE(copy.empty());
    DueRecord record = RandomRecord(random, "after");
    copy.Set(record);
    EXPECT_EQ(copy.Find("after"), record);
    EXPECT_EQ(copy.size(), 1u);
  }
}

}  // namespace
}  // namespace paylark
