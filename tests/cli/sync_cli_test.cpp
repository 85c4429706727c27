// backup, restore and conflicts end to end: what they print, how they exit, what they leave.
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/records/record_codec.h"
#include "tests/cli/cli_runner.h"

namespace paylark::testing {
namespace {

namespace fs = std::filesystem;

class SyncCliTest : public ::testing::Test {
 protected:
  std::string Add(const std::string& title) {
    const CliResult result = dir_.Run({"add", "--title", title});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return Lines(result.out).at(0);
  }

  // A zip with the given entries, written by Python's zipfile.
  fs::path Zip(const std::string& name, const std::string& entry, const std::string& text) {
    fs::path path = dir_.path() / name;
    const std::string command =
        "/usr/bin/python3 -c 'import sys, zipfile; "
        "zipfile.ZipFile(sys.argv[1], \"w\").writestr(sys.argv[2], "
        "sys.argv[3])' '" +
        path.string() + "' '" + entry + "' '" + text + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return path;
  }

  TemporaryWorkingDirectory dir_;
};

TEST_F(SyncCliTest, ABackupWithoutDuesRestoresOnlyWithAllowEmpty) {
  Add("Rent");
  Add("Water");
  const fs::path photos = Zip("photos.zip", "readme.txt", "holiday photos");
  const CliResult refused = dir_.Run({"restore", photos.string()});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.err,
            "paylark-cli: nothing was restored: this backup holds no dues; restoring it removes "
            "all 2 dues (--allow-empty restores it)\n");
  EXPECT_EQ(Lines(dir_.Run({"find", "e"}).out).size(), 2u);

  const CliResult allowed = dir_.Run({"restore", "--allow-empty", photos.string()});
  EXPECT_EQ(allowed.exitCode, 0) << allowed.err;
  EXPECT_TRUE(dir_.Run({"find", "e"}).out.empty());
}

// That such a backup still restores is backups_test's ARecordThatDoesNotDecodeIsKeptAside...
TEST_F(SyncCliTest, ARecordThatDoesNotDecodeIsReportedByTheBackup) {
  Add("Rent");
  std::ofstream(dir_.records() / "duedate2026120600000010.due") << "not a record";
  const CliResult backup = dir_.Run({"backup"});
  ASSERT_EQ(backup.exitCode, 0) << backup.err;
  EXPECT_NE(backup.err.find("duedate2026120600000010.due is no readable record; the backup keeps "
                            "it under Unreadable/"),
            std::string::npos)
      << backup.err;
}

TEST_F(SyncCliTest, ALoopingLinkNamedLikeARecordStopsNoCommand) {
  Add("Rent");
  fs::create_symlink("duedate2026120600000010.due", dir_.records() / "duedate2026120600000010.due");
  // The day's first change takes the automatic backup.
  const CliResult added = dir_.Run({"add", "--title", "Water"});
  EXPECT_EQ(added.exitCode, 0) << added.err;
  EXPECT_EQ(added.err, "");
  const CliResult backup = dir_.Run({"backup"});
  EXPECT_EQ(backup.exitCode, 0) << backup.err;
  EXPECT_EQ(dir_.Run({"conflicts"}).exitCode, 0);
  EXPECT_EQ(Lines(dir_.Run({"find", "e"}).out).size(), 2u);
}

TEST_F(SyncCliTest, ConflictNamesArePrintedEscaped) {
  const std::string id = Add("Rent");
  fs::copy_file(dir_.records() / ("duedate" + id + ".due"),
                dir_.records() / ("duedate" + id + ".sync-conflict-20261206-101010-AB\x1b[2J.due"));
  const CliResult result = dir_.Run({"conflicts"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out.find('\x1b'), std::string::npos);
  EXPECT_NE(result.out.find("AB\\x1b[2J.due"), std::string::npos) << result.out;
}

TEST_F(SyncCliTest, AnUnreadableRecordsFolderFailsInsteadOfListingNothing) {
  // Root reads any folder through its overriding capabilities. Taken out of the bounding set,
  // they are gone from every program this test starts, and this process keeps its own.
  for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
    if (geteuid() == 0 && prctl(PR_CAPBSET_DROP, capability, 0, 0, 0) != 0)
      GTEST_SKIP() << "permissions do not bind root here: " << std::strerror(errno);
  }
  Add("Rent");
  fs::permissions(dir_.records(), fs::perms::none);
  const CliResult listed = dir_.Run({"list"});
  const CliResult reminded = dir_.Run({"remind"});
  fs::permissions(dir_.records(), fs::perms::owner_all);
  EXPECT_EQ(listed.exitCode, 1);
  EXPECT_NE(listed.err.find("cannot be read: Permission denied"), std::string::npos) << listed.err;
  EXPECT_EQ(reminded.exitCode, 1);
}

}  // namespace
}  // namespace paylark::testing
