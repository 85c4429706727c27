#include "core/records/sync_file_names.h"

#include <gtest/gtest.h>

namespace paylark {
namespace {

struct NameCase {
  const char* name;
  SyncFileKind kind;
  const char* recordFileName;
  const char* recordId;
};

const NameCase kCases[] = {
    {"duedate2026120508150010.due", SyncFileKind::kRecord, "duedate2026120508150010.due",
     "2026120508150010"},
    {"duedate2026120508150010.DUE", SyncFileKind::kRecord, "duedate2026120508150010.DUE",
     "2026120508150010"},
    {"bills.due", SyncFileKind::kRecord, "bills.due", ""},
    {"preferences.alm", SyncFileKind::kOther, "", ""},
    {".due", SyncFileKind::kOther, "", ""},
    // Syncthing
    {".syncthing.duedate2026120508150010.due.tmp", SyncFileKind::kTemporary, "", ""},
    {"~syncthing~duedate2026120508150010.due.tmp", SyncFileKind::kTemporary, "", ""},
    {"duedate2026120508150010.sync-conflict-20261205-081500-ABCDEFG.due",
     SyncFileKind::kConflictCopy, "duedate2026120508150010.due", "2026120508150010"},
    {"duedate7.sync-conflict-20261205-081500-ABCDEFG.sync-conflict-20261206-091500-HIJKLMN.due",
     SyncFileKind::kConflictCopy, "duedate7.due", "7"},
    {".sync-conflict-20261205-081500-ABCDEFG.due", SyncFileKind::kRecord,
     ".sync-conflict-20261205-081500-ABCDEFG.due", ""},
    // Nextcloud, ownCloud
    {"duedate2026120508150010 (conflicted copy 2026-12-05 081500).due", SyncFileKind::kConflictCopy,
     "duedate2026120508150010.due", "2026120508150010"},
    // Dropbox
    {"duedate2026120508150010 (Anna's conflicted copy 2026-12-05).due", SyncFileKind::kConflictCopy,
     "duedate2026120508150010.due", "2026120508150010"},
    {"duedate2026120508150010 (copy).due", SyncFileKind::kRecord,
     "duedate2026120508150010 (copy).due", "2026120508150010 (copy)"},
    // Other temporary names
    {"duedate2026120508150010.due.part", SyncFileKind::kTemporary, "", ""},
    {".~lock.duedate2026120508150010.due#", SyncFileKind::kTemporary, "", ""},
    {".~duedate2026120508150010.due", SyncFileKind::kTemporary, "", ""},
    {".paylark-Ab12Cd", SyncFileKind::kOther, "", ""},
};

TEST(SyncFileNamesTest, EveryFormIsRecognisedAndMappedToItsRecord) {
  for (const NameCase& c : kCases) {
    const SyncFileName classified = ClassifyFileName(c.name);
    EXPECT_EQ(classified.kind, c.kind) << c.name;
    EXPECT_EQ(classified.recordFileName, c.recordFileName) << c.name;
    EXPECT_EQ(classified.recordId, c.recordId) << c.name;
  }
}

}  // namespace
}  // namespace paylark
