#include "core/sync/file_name_times.h"

#include <gtest/gtest.h>

namespace paylark {
namespace {

struct OriginCase {
  const char* name;
  std::optional<CivilDateTime> made;  // dayOfWeek left out of the comparison
  bool hasTime;
  const char* device;
};

CivilDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return {year, month, day, hour, minute, second, 0};
}

const OriginCase kOrigins[] = {
    {"duedate2026120508150010.sync-conflict-20261205-081530-ABCDEFG.due",
     At(2026, 12, 5, 8, 15, 30), true, "ABCDEFG"},
    // Copies of copies: the newest conflict is the last one named.
    {"duedate7.sync-conflict-20261205-081500-ABCDEFG.sync-conflict-20261206-091500-HIJKLMN.due",
     At(2026, 12, 6, 9, 15), true, "HIJKLMN"},
    {"duedate2026120508150010 (conflicted copy 2026-12-05 081500).due", At(2026, 12, 5, 8, 15),
     true, ""},
    {"duedate2026120508150010 (Anna's conflicted copy 2026-12-05).due", At(2026, 12, 5), false,
     "Anna"},
    {"duedate1 (Anna's phone's conflicted copy 2026-12-05).due", At(2026, 12, 5), false,
     "Anna's phone"},
    // Names that do not say, or say something impossible.
    {"duedate2026120508150010.sync-conflict-20261305-081500-ABCDEFG.due", std::nullopt, false,
     "ABCDEFG"},
    {"duedate2026120508150010.sync-conflict-2026.due", std::nullopt, false, ""},
    {"duedate2026120508150010 (conflicted copy).due", std::nullopt, false, ""},
    {"duedate2026120508150010.due", std::nullopt, false, ""},
};

TEST(FileNameTimesTest, ConflictCopiesSayWhenAndWhere) {
  for (const OriginCase& c : kOrigins) {
    const ConflictCopyOrigin origin = OriginOfConflictCopy(c.name);
    ASSERT_EQ(origin.made.has_value(), c.made.has_value()) << c.name;
    if (c.made) {
      CivilDateTime made = origin.made->ToCivil();
      made.dayOfWeek = 0;
      EXPECT_EQ(made, *c.made) << c.name;
    }
    EXPECT_EQ(origin.hasTime, c.hasTime) << c.name;
    EXPECT_EQ(origin.device, c.device) << c.name;
  }
}

TEST(FileNameTimesTest, BackupNamesGiveTheirTime) {
  const auto taken = BackupTakenAt("/home/anna/Backups/Paylark Files 2026-12-05 231507.zip");
  ASSERT_TRUE(taken.has_value());
  CivilDateTime civil = taken->ToCivil();
  civil.dayOfWeek = 0;
  EXPECT_EQ(civil, At(2026, 12, 5, 23, 15, 7));
  for (const char* other :
       {"Paylark Files 2026-12-05 231507.zip.tmp", "Paylark Files 2026-12-05 251507.zip",
        "Paylark Files 2026-12-05.zip", "Paylark Files 2026-12-05-231507.zip", "notes.zip"}) {
    EXPECT_FALSE(BackupTakenAt(other).has_value()) << other;
  }
}

}  // namespace
}  // namespace paylark
