// attach, attachments, detach and delete end to end: what they print, how they exit, and where
// the files end up.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/cli/cli_runner.h"

namespace paylark::testing {
namespace {

namespace fs = std::filesystem;

class AttachmentsCliTest : public ::testing::Test {
 protected:
  std::string Add(const std::vector<std::string>& fields = {}) {
    std::vector<std::string> arguments{"add", "--title", "Water"};
    arguments.insert(arguments.end(), fields.begin(), fields.end());
    const CliResult result = dir_.Run(arguments);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return Lines(result.out).at(0);
  }

  std::string File(const std::string& name, const std::string& bytes = "%PDF-1.4 bill") {
    const fs::path path = dir_.path() / "Downloads" / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  fs::path Kept(const std::string& id) const { return dir_.records() / "Attachments" / id; }

  // The one backups folder of the working directory.
  fs::path RemovedFolder(const std::string& id) const {
    for (const auto& entry : fs::directory_iterator(dir_.path() / ".data/paylark/Backups"))
      return entry.path() / "Removed attachments" / id;
    return {};
  }

  TemporaryWorkingDirectory dir_;
};

TEST_F(AttachmentsCliTest, AttachedFilesAreListedAndDetachedIntoTheBackupsFolder) {
  const std::string id = Add();
  const CliResult attached =
      dir_.Run({"attach", id, File("water.pdf", "12345"), File(".scan.png", "PNG")});
  ASSERT_EQ(attached.exitCode, 0) << attached.err;
  EXPECT_EQ(attached.out, "water.pdf\nscan.png\n");
  EXPECT_EQ(dir_.Run({"attach", id, File("water.pdf", "again")}).out, "water (2).pdf\n");
  EXPECT_EQ(FileBytes(Kept(id) / "water.pdf"), "12345");

  EXPECT_EQ(dir_.Run({"attachments", id}).out, "scan.png\t3\nwater (2).pdf\t5\nwater.pdf\t5\n");
  const CliResult json = dir_.Run({"attachments", id, "--json"});
  EXPECT_EQ(json.out, "{\"recordId\": \"" + id +
                          "\", \"attachments\": [{\"name\": \"scan.png\", \"size\": 3, \"path\": " +
                          "\"" + (Kept(id) / "scan.png").string() +
                          "\"}, {\"name\": \"water (2).pdf\", \"size\": 5, \"path\": \"" +
                          (Kept(id) / "water (2).pdf").string() +
                          "\"}, {\"name\": \"water.pdf\", \"size\": 5, \"path\": \"" +
                          (Kept(id) / "water.pdf").string() + "\"}]}\n");

  const CliResult detached = dir_.Run({"detach", id, "water.pdf"});
  EXPECT_EQ(detached.exitCode, 0) << detached.err;
  EXPECT_EQ(FileBytes(RemovedFolder(id) / "water.pdf"), "12345");
  EXPECT_EQ(Lines(dir_.Run({"attachments", id}).out).size(), 2u);
  // The due itself and the month list never see the folder.
  EXPECT_EQ(dir_.Run({"show", id}).exitCode, 0);
  EXPECT_EQ(dir_.Run({"list"}).err, "");
}

// Which files are refused and why is attachment_store_test's: one refused file among good ones
// exits with 2, says which and why, and attaches none of them.
TEST_F(AttachmentsCliTest, BadFilesAreRefusedByNameAndNothingIsAttached) {
  const std::string id = Add();
  const std::string huge = File("huge.pdf");
  fs::resize_file(huge, (std::uintmax_t{64} << 20) + 1);
  const CliResult refused = dir_.Run({"attach", id, File("good.pdf"), huge});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_EQ(refused.err, "paylark-cli: \"huge.pdf\" is larger than 64 MiB\n");
  EXPECT_EQ(refused.out, "");
  EXPECT_FALSE(fs::exists(Kept(id)));
}

TEST_F(AttachmentsCliTest, UnknownDuesAndNamesAndMissingArgumentsAreTold) {
  const std::string id = Add();
  const CliResult noDue = dir_.Run({"attach", "20261206000000999", File("a.pdf")});
  EXPECT_EQ(noDue.exitCode, 1);
  EXPECT_NE(noDue.err.find("20261206000000999"), std::string::npos) << noDue.err;
  EXPECT_EQ(dir_.Run({"attachments", "20261206000000999"}).exitCode, 1);
  const CliResult noName = dir_.Run({"detach", id, "b.pdf"});
  EXPECT_EQ(noName.exitCode, 1);
  EXPECT_EQ(noName.err, "paylark-cli: " + id + " has no attachment \"b.pdf\"\n");
  EXPECT_EQ(dir_.Run({"attach", id}).exitCode, 2);
  EXPECT_EQ(dir_.Run({"detach", id}).exitCode, 2);
  EXPECT_EQ(dir_.Run({"attachments"}).exitCode, 2);
}

TEST_F(AttachmentsCliTest, DeletingAWholeSeriesMovesEveryMembersAttachments) {
  const CliResult series = dir_.Run({"series", "--kind", "month", "--day", "5", "--start",
                                     "2026-12-01", "--count", "3", "--title", "Rent"});
  ASSERT_EQ(series.exitCode, 0) << series.err;
  const std::vector<std::string> ids = Lines(series.out);
  ASSERT_EQ(ids.size(), 3u);
  for (const std::string& id : ids)
    ASSERT_EQ(dir_.Run({"attach", id, File("rent.pdf", id)}).exitCode, 0);
  const std::string single = Add();
  ASSERT_EQ(dir_.Run({"attach", single, File("water.pdf")}).exitCode, 0);

  const CliResult deleted = dir_.Run({"delete", ids[1], "--whole-series"});
  ASSERT_EQ(deleted.exitCode, 0) << deleted.err;
  for (const std::string& id : ids) {
    EXPECT_EQ(FileBytes(RemovedFolder(id) / "rent.pdf"), id);
    EXPECT_FALSE(fs::exists(Kept(id))) << id;
  }
  ASSERT_EQ(dir_.Run({"delete", single}).exitCode, 0);
  EXPECT_TRUE(fs::exists(RemovedFolder(single) / "water.pdf"));
  EXPECT_TRUE(fs::is_empty(dir_.records() / "Attachments"));
}

// A link a sync engine carried into a due's folder is told of and left alone; nothing outside
// is read or moved. A killed attach's copy goes at the next command's load.
TEST_F(AttachmentsCliTest, LinksAreToldOfAndKilledCopiesCleanedUp) {
  const std::string id = Add();
  ASSERT_EQ(dir_.Run({"attach", id, File("water.pdf", "12345")}).exitCode, 0);
  const std::string secret = File("secret.txt", "SECRET");
  fs::create_symlink(secret, Kept(id) / "secret.txt");
  std::ofstream(Kept(id) / ".paylark-999999-1", std::ios::binary) << "half of a killed copy";

  const CliResult listed = dir_.Run({"attachments", id});
  EXPECT_EQ(listed.exitCode, 0) << listed.err;
  EXPECT_EQ(listed.out, "water.pdf\t5\n");
  EXPECT_NE(listed.err.find("secret.txt\" is a symbolic link or another foreign file; it is left "
                            "alone"),
            std::string::npos)
      << listed.err;
  EXPECT_FALSE(fs::exists(Kept(id) / ".paylark-999999-1"));
  EXPECT_EQ(dir_.Run({"detach", id, "secret.txt"}).exitCode, 1);
  EXPECT_TRUE(fs::is_symlink(Kept(id) / "secret.txt"));
  EXPECT_EQ(FileBytes(secret), "SECRET");
}

}  // namespace
}  // namespace paylark::testing
