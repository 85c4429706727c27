#include "core/sync/conflicts.h"

#include <gtest/gtest.h>

#include "tests/core/sync/sync_folder.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;

const std::string kSyncthingCopy = ".sync-conflict-20261205-081500-ABCDEFG.due";

class ConflictsTest : public ::testing::Test {
 protected:
  // A due whose other device changed title and amount, which Syncthing kept as a copy.
  std::string MakeConflict() {
    std::string id = folder_.Add("Rent", 500);
    DueRecord theirs = folder_.store().Get(id);
    theirs.title = "Rent (December)";
    theirs.amount = 550;
    folder_.PutRecord("duedate" + id + kSyncthingCopy, theirs);
    return id;
  }
  std::vector<Conflict> Conflicts() {
    auto found = FindConflicts(folder_.Records().string(), SystemFileSystem());
    EXPECT_TRUE(found.ok()) << found.status().message();
    return found.ok() ? found.value() : std::vector<Conflict>();
  }

  SyncFolder folder_;
  fs::path setAside_ = folder_.Records().parent_path().parent_path() / "aside";
};

TEST_F(ConflictsTest, ConflictListsTheRecordFileItsCopiesAndTheFieldsThatDiffer) {
  const std::string id = MakeConflict();
  folder_.Put("duedate" + id + " (Anna's conflicted copy 2026-12-05).due",
              EncodeRecord(folder_.store().Get(id)));
  folder_.Put("duedate" + id + " (conflicted copy 2026-12-05 081500).due", "damaged");

  const std::vector<Conflict> conflicts = Conflicts();
  ASSERT_EQ(conflicts.size(), 1u);
  const Conflict& conflict = conflicts[0];
  EXPECT_EQ(conflict.recordId, id);
  EXPECT_EQ(conflict.current.fileName, "duedate" + id + ".due");
  ASSERT_EQ(conflict.copies.size(), 3u);
  EXPECT_TRUE(conflict.copies[0].differingFields.empty()) << conflict.copies[0].fileName;
  EXPECT_FALSE(conflict.copies[1].record.has_value());
  EXPECT_FALSE(conflict.copies[1].problem.empty());
  EXPECT_EQ(conflict.copies[2].fileName, "duedate" + id + kSyncthingCopy);
  EXPECT_EQ(conflict.DifferingFields(), (std::vector<std::string_view>{"title", "amount"}));
}

TEST_F(ConflictsTest, PaymentDetailsThatDifferAreNamedAfterTheElevenFields) {
  const std::string id = folder_.Add("Power", 90);
  DueRecord theirs = folder_.store().Get(id);
  theirs.paid = 1;
  theirs.paidOn = OleDateTime(46000.5);
  theirs.paidAmount = 92.4;
  folder_.PutRecord("duedate" + id + kSyncthingCopy, theirs);
  DueRecord other = theirs;
  other.paymentReference = "FITID-1";
  folder_.PutRecord("duedate" + id + " (conflicted copy 2026-12-05 081500).due", other);
  EXPECT_EQ(Conflicts().at(0).DifferingFields(),
            (std::vector<std::string_view>{"paid", "paidOn", "paidAmount", "paymentReference"}));
  EXPECT_TRUE(DifferingFields(theirs, other) == std::vector<std::string_view>{"paymentReference"});
}

TEST_F(ConflictsTest, KeepingACopyReplacesTheRecordAndSetsTheCurrentVersionAside) {
  const std::string id = MakeConflict();
  const std::string current = testing::FileBytes(folder_.Records() / ("duedate" + id + ".due"));
  const Conflict conflict = Conflicts().at(0);

  ASSERT_TRUE(ResolveConflict(folder_.store(), conflict, "duedate" + id + kSyncthingCopy,
                              setAside_.string())
                  .ok());
  EXPECT_EQ(folder_.store().Get(id).title, "Rent (December)");
  EXPECT_FALSE(folder_.Has("duedate" + id + kSyncthingCopy));
  EXPECT_EQ(testing::FileBytes(setAside_ / ("duedate" + id + ".due")), current);
  EXPECT_TRUE(Conflicts().empty());
}

TEST_F(ConflictsTest, KeepingCurrentRemovesTheCopiesAfterSettingThemAside) {
  const std::string id = MakeConflict();
  ASSERT_TRUE(
      ResolveConflict(folder_.store(), Conflicts().at(0), "current", setAside_.string()).ok());
  ASSERT_TRUE(ResolveConflict(folder_.store(), Conflict{}, "current", setAside_.string()).code() ==
              StatusCode::kInvalidArgument);
  EXPECT_EQ(folder_.store().Get(id).title, "Rent");
  EXPECT_TRUE(fs::exists(setAside_ / ("duedate" + id + kSyncthingCopy)));
  EXPECT_TRUE(Conflicts().empty());
}

TEST_F(ConflictsTest, AnUnknownOrDamagedVersionIsRefusedAndNothingChanges) {
  const std::string id = MakeConflict();
  folder_.Put("duedate" + id + " (conflicted copy 1).due", "damaged");
  const Conflict conflict = Conflicts().at(0);
  EXPECT_EQ(ResolveConflict(folder_.store(), conflict, "nothing.due", setAside_.string()).code(),
            StatusCode::kInvalidArgument);
  EXPECT_EQ(ResolveConflict(folder_.store(), conflict, "duedate" + id + " (conflicted copy 1).due",
                            setAside_.string())
                .code(),
            StatusCode::kInvalidArgument);
  EXPECT_EQ(Conflicts().at(0).copies.size(), 2u);
  EXPECT_FALSE(fs::exists(setAside_));
}

}  // namespace
}  // namespace paylark
