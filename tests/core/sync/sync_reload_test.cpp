#include <gtest/gtest.h>

#include "tests/core/sync/sync_folder.h"

namespace paylark {
namespace {

TEST(SyncReloadTest, ReloadIgnoresTemporaryNamesAndCountsConflictCopies) {
  SyncFolder folder;
  const std::string id = folder.Add("Rent");
  DueRecord other = folder.store().Get(id);
  other.title = "Other device";
  folder.PutRecord("duedate" + id + ".sync-conflict-20261205-081500-ABCDEFG.due", other);
  folder.PutRecord(".~duedate" + id + ".due", other);
  folder.PutRecord(".syncthing.duedate99.due.tmp", other);

  const ReloadReport report = folder.store().Reload();
  EXPECT_EQ(report.loaded, 1u);
  EXPECT_TRUE(report.skipped.empty());
  EXPECT_EQ(
      report.conflictCopies,
      std::vector<std::string>{"duedate" + id + ".sync-conflict-20261205-081500-ABCDEFG.due"});
  EXPECT_EQ(folder.store().Get(id).title, "Rent");
}

TEST(SyncReloadTest, ReloadFilesTouchesOnlyTheNamedFiles) {
  SyncFolder folder;
  const std::string kept = folder.Add("Water");
  const std::string changed = folder.Add("Rent");
  const std::string removed = folder.Add("Phone");
  DueRecord arriving = folder.Due("Gas", 30);
  arriving.recordId = "2026120600000010";
  folder.PutRecord("duedate2026120600000010.due", arriving);
  DueRecord edited = folder.store().Get(changed);
  edited.amount = 999;
  folder.PutRecord("duedate" + changed + ".due", edited);
  std::filesystem::remove(folder.Records() / ("duedate" + removed + ".due"));
  DueRecord unnamed = folder.store().Get(kept);
  unnamed.title = "Changed but not named";
  folder.PutRecord("duedate" + kept + ".due", unnamed);
  folder.Put("duedate2026120600000020.due", "half a file");

  const ReloadReport report = folder.store().ReloadFiles(
      {"duedate2026120600000010.due", "duedate" + changed + ".due", "duedate" + removed + ".due",
       "duedate2026120600000020.due", ".syncthing.duedate1.due.tmp"});
  EXPECT_EQ(report.loaded, 3u);
  ASSERT_EQ(report.skipped.size(), 1u);
  EXPECT_EQ(report.skipped[0].fileName, "duedate2026120600000020.due");
  EXPECT_EQ(folder.store().Get("2026120600000010").title, "Gas");
  EXPECT_EQ(folder.store().Get(changed).amount, 999);
  EXPECT_FALSE(folder.store().records().Contains(removed));
  EXPECT_EQ(folder.store().Get(kept).title, "Water");
}

}  // namespace
}  // namespace paylark
