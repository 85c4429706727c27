#include "core/records/due_map.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace paylark {
namespace {

DueRecord Titled(const std::string& title) {
  DueRecord record;
  record.title = title;
  return record;
}

std::vector<std::string> MapOrder(const DueMap& map) {
  std::vector<std::string> ids;
  map.ForEach([&](const DueRecord& record) { ids.push_back(record.recordId); });
  return ids;
}

std::vector<std::string> MonthIds(const DueMap& map, int year, int month) {
  std::vector<std::string> ids;
  map.ForEachPackedInMonth(year, month,
                           [&](const PackedDue& due) { ids.push_back(due.Unpack().recordId); });
  return ids;
}

TEST(DueMapTest, HashIsTimes33PlusByteInUnsigned32Bits) {
  EXPECT_EQ(DueMap::Hash(""), 0u);
  EXPECT_EQ(DueMap::Hash("a"), 97u);
  EXPECT_EQ(DueMap::Hash("ab"), 97u * 33 + 98);
  EXPECT_EQ(DueMap::Hash("2007021014302510") % 17, 6u);  // wraps past 2^32
}

TEST(DueMapTest, IteratesBucketsInOrderAndEachChainFromItsNewestEntry) {
  DueMap map;
  // "a" (97) and "r" (114) share bucket 12; "b" (98) is in bucket 13; "q" (113) in 11.
  for (const char* id : {"a", "b", "r", "q"})
    map.Set(id, Titled(id));
  EXPECT_EQ(MapOrder(map), (std::vector<std::string>{"q", "r", "a", "b"}));

  // Replacing keeps the entry where it is and gives back the record it replaced.
  EXPECT_EQ(map.Set("a", Titled("newer"))->title, "a");
  EXPECT_EQ(MapOrder(map), (std::vector<std::string>{"q", "r", "a", "b"}));
  EXPECT_EQ(map.Find("a")->title, "newer");
  EXPECT_EQ(map.size(), 4u);

  map.Remove("r");
  map.Remove("absent");
  EXPECT_FALSE(map.Set("r", Titled("r")).has_value());  // at its chain's head again
  EXPECT_EQ(MapOrder(map), (std::vector<std::string>{"q", "r", "a", "b"}));
  map.Remove("a");
  EXPECT_EQ(MapOrder(map), (std::vector<std::string>{"q", "r", "b"}));
  EXPECT_FALSE(map.Find("a").has_value());
}

TEST(DueMapTest, KeysCompareByteWise) {
  DueMap map;
  map.Set("ID", Titled("upper"));
  map.Set("id", Titled("lower"));
  EXPECT_EQ(map.size(), 2u);
  EXPECT_EQ(map.Find("ID")->title, "upper");
  map.Clear();
  EXPECT_TRUE(map.empty());
}

// The month index against a walk of the whole map, after inserts, replacements that move a due
// to another month (or keep it), removals and re-inserts, also with an invalid due date.
TEST(DueMapTest, AMonthGivesTheRecordsAWholeWalkFindsInMapOrder) {
  DueMap map;
  std::mt19937 random(20261206);
  auto dueAt = [](OleDateTime date) {
    DueRecord record;
    record.dueDate = date;
    return record;
  };
  for (int step = 0; step < 4000; ++step) {
    const std::string id = "2026" + std::to_string(random() % 300);
    if (random() % 5 == 0)
      map.Remove(id);
    else if (random() % 40 == 0)
      map.Set(id, dueAt(OleDateTime(std::numeric_limits<double>::quiet_NaN())));
    else if (random() % 40 == 0)
      map.Set(id, dueAt(*OleDateTime::FromCivil(1899, 12, 29, 6)));
    else
      map.Set(id, dueAt(*OleDateTime::FromCivil(2026, 1 + static_cast<int>(random() % 4), 9)));
  }
  for (const auto& [year, month] :
       {std::pair{2026, 1}, {2026, 2}, {2026, 4}, {1899, 12}, {2026, 5}}) {
    std::vector<std::string> walked;
    map.ForEach([&walked, wantedYear = year, wantedMonth = month](const DueRecord& record) {
      const CivilDateTime civil = record.dueDate.ToCivil();
      if (civil.year == wantedYear && civil.month == wantedMonth)
        walked.push_back(record.recordId);
    });
    const std::vector<std::string> indexed = MonthIds(map, year, month);
    EXPECT_EQ(map.CountInMonth(year, month), indexed.size());
    EXPECT_EQ(indexed, walked) << year << "-" << month;
  }
}

// A record gains and loses its block as it is replaced; slots are freed and taken again.
TEST(DueMapTest, TheRecordsWithABlockAreThoseAWholeWalkFindsWithOne) {
  DueMap map;
  std::mt19937 random(20261207);
  for (int step = 0; step < 3000; ++step) {
    const std::string id = std::to_string(100 + random() % 200);
    DueRecord record;
    if (random() % 3 == 0)
      record.paidAmount = 12.5;
    if (random() % 6 == 0)
      map.Remove(id);
    else
      map.Set(id, record);
  }
  std::vector<std::string> all;
  std::vector<std::string> walked;
  map.ForEachPacked([&](const PackedDue& due) {
    all.push_back(due.Unpack().recordId);
    if (!due.ExtensionBlock().empty())
      walked.push_back(due.Unpack().recordId);
  });
  // Also in parts of a bucket that do not divide it evenly.
  std::vector<std::string> inParts;
  std::vector<std::string> withBlock;
  for (std::uint32_t bucket = 0; bucket < DueMap::kBucketCount; ++bucket) {
    for (std::uint32_t index = 0; index < 3; ++index) {
      map.ForEachPackedInBucket({bucket, index, 3}, [&](const PackedDue& due) {
        inParts.push_back(due.Unpack().recordId);
      });
      map.ForEachPackedWithExtensionInBucket({bucket, index, 3}, [&](const PackedDue& due) {
        withBlock.push_back(due.Unpack().recordId);
      });
    }
  }
  EXPECT_FALSE(walked.empty());
  EXPECT_EQ(withBlock, walked);
  EXPECT_EQ(inParts, all);
}

// Random inserts, replacements and removals across several index growths and table blocks,
// against a plain std::map: every ID is found exactly when it is held, with its latest record.
TEST(DueMapTest, FindsEveryHeldIdAfterManyChanges) {
  DueMap map;
  std::map<std::string, std::string> expected;
  std::mt19937 random(5);
  map.Set("kept", Titled("kept"));
  for (int step = 0; step < 30000; ++step) {
    const std::string id = std::to_string(2026120600000000LL + random() % 9000);
    if (random() % 3 == 0) {
      map.Remove(id);
      expected.erase(id);
    } else {
      const std::string title = "t" + std::to_string(step);
      map.Set(id, Titled(title));
      expected[id] = title;
    }
  }
  EXPECT_EQ(map.size(), expected.size() + 1);
  EXPECT_EQ(map.Find("kept")->title, "kept");
  for (int i = 0; i < 9000; ++i) {
    const std::string id = std::to_string(2026120600000000LL + i);
    const std::optional<DueRecord> found = map.Find(id);
    const auto held = expected.find(id);
    ASSERT_EQ(found.has_value(), held != expected.end()) << id;
    if (found) {
      EXPECT_EQ(found->title, held->second) << id;
    }
  }
  std::size_t visited = 0;
  map.ForEach([&](const DueRecord&) { ++visited; });
  EXPECT_EQ(visited, map.size());
}

// Records come back field for field, whatever form the ID has: digits (with leading zeros, up to
// 17 of them) are kept as a number, anything else as text; IDs that differ only in leading zeros
// or by a sign stay apart.
TEST(DueMapTest, GivesBackEveryFieldAndEveryFormOfId) {
  DueRecord full;
  full.title = "Rent \xE2\x82\xAC";
  full.payTo = std::string(300, 'p');  // a length that takes two bytes
  full.account = "Checking";
  full.notes = "line one\r\nline two" + std::string(600'000, 'n');  // a block of its own
  full.seriesId = "recId20261206";
  full.amount = -12.5;
  full.type = kTypePersonal;
  full.paid = 7;
  full.startDate = *OleDateTime::FromCivil(2026, 1, 2, 3, 4, 5);
  full.dueDate = OleDateTime(0.0, OleDateTime::Status::kNull);
  const std::vector<std::string> ids = {"2026120610231510",
                                        "0012",
                                        "12",
                                        "0",
                                        "",
                                        "+12",
                                        "-12",
                                        "9999999999999999999",
                                        "99999999999999999999",
                                        "12a",
                                        "1\xB9",  // a byte past ASCII is no digit either
                                        "duedate",
                                        "00000000000000000000"};
  DueMap map;
  for (const std::string& id : ids) {
    DueRecord record = full;
    record.notes += id;
    map.Set(id, record);
    DueRecord bare;  // no texts at all
    map.Set("bare" + id, bare);
  }
  EXPECT_EQ(map.size(), ids.size() * 2);
  for (const std::string& id : ids) {
    DueRecord expected = full;
    expected.recordId = id;
    expected.notes += id;
    EXPECT_EQ(map.Find(id), expected) << id;
    DueRecord bare;
    bare.recordId = "bare" + id;
    EXPECT_EQ(map.Find("bare" + id), bare) << id;
  }
  EXPECT_FALSE(map.Contains("012"));
  EXPECT_FALSE(map.Contains("00"));
  map.Remove("12");
  EXPECT_TRUE(map.Contains("0012"));
  EXPECT_FALSE(map.Contains("12"));
}

// Statuses, types and paid flags are kept whole, also where they do not fit a byte, with a
// number ID or a text one, and read the same from the packed record as from the unpacked one.
TEST(DueMapTest, KeepsStatusesTypesAndFlagsOutsideAByte) {
  struct Odd {
    std::int32_t startStatus;
    std::int32_t dueStatus;
    std::int32_t type;
    std::int32_t paid;
  };
  const std::vector<Odd> odds = {{0, 2, kTypeIncome, 1}, {-128, 0, 1, 0},
                                 {0, 300, 2, 0},         {0, 0, 1000, 0},
                                 {0, 0, 1, INT32_MIN},   {127, -127, 127, -127}};
  DueMap map;
  std::vector<DueRecord> expected;
  for (std::size_t i = 0; i < odds.size(); ++i) {
    for (const std::string& id : {std::to_string(700 + i), "text-" + std::to_string(i)}) {
      DueRecord record;
      record.recordId = id;
      record.startDate =
          OleDateTime(46000.5, static_cast<OleDateTime::Status>(odds[i].startStatus));
      record.dueDate = OleDateTime(46010.0, static_cast<OleDateTime::Status>(odds[i].dueStatus));
      record.type = odds[i].type;
      record.paid = odds[i].paid;
      map.Set(record);
      expected.push_back(record);
    }
  }
  for (const DueRecord& record : expected)
    EXPECT_EQ(map.Find(record.recordId), record) << record.recordId;
  map.ForEachPacked([&](const PackedDue& due) {
    const DueRecord record = due.Unpack();
    EXPECT_EQ(due.type(), record.type);
    EXPECT_EQ(due.IsPaid(), record.paid != 0);
    EXPECT_EQ(due.DueDate().status(), record.dueDate.status());
  });
}

// A load appends records it knows are new and indexes them at once: the map then holds exactly
// what setting them one by one gives, in the same order, and every change after it finds them.
TEST(DueMapTest, AppendedRecordsAreTheSameAsSetOnes) {
  std::vector<DueRecord> records;
  for (int i = 0; i < 5000; ++i) {
    DueRecord record;
    record.recordId = i % 7 == 0 ? "id-" + std::to_string(i) : std::to_string(2026000000 + i);
    record.title = "Due " + std::to_string(i);
    record.dueDate = *OleDateTime::FromCivil(2026, 1 + i % 12, 1 + i % 28);
    records.push_back(record);
  }
  DueMap set;
  DueMap appended;
  for (const DueRecord& record : records) {
    set.Set(record);
    appended.Append(ViewOf(record), {});
  }
  appended.IndexAppended();
  EXPECT_EQ(MapOrder(appended), MapOrder(set));
  for (int month = 1; month <= 12; ++month)
    EXPECT_EQ(MonthIds(appended, 2026, month), MonthIds(set, 2026, month)) << month;
  for (const DueRecord& record : records)
    ASSERT_EQ(appended.Find(record.recordId), record);

  // Changes index what was appended before them themselves.
  DueMap changed;
  for (const DueRecord& record : records)
    changed.Append(ViewOf(record), {});
  EXPECT_FALSE(changed.Insert(ViewOf(records[10]), {}));
  DueRecord extra = Titled("new");
  extra.recordId = "9";
  EXPECT_TRUE(changed.Insert(ViewOf(extra), {}));
  changed.Remove(records[20].recordId);
  EXPECT_FALSE(changed.Contains(records[20].recordId));
  EXPECT_TRUE(changed.Contains(records[4999].recordId));
  EXPECT_EQ(changed.size(), records.size());
}

}  // namespace
}  // namespace paylark
