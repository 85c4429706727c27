#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/records/record_codec.h"
#include "tests/cli/cli_runner.h"

namespace paylark::testing {
namespace {

namespace fs = std::filesystem;

class RecordsCliTest : public ::testing::Test {
 protected:
  std::string Add(std::vector<std::string> fields) {
    fields.insert(fields.begin(), "add");
    const CliResult result = dir_.Run(fields);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return Lines(result.out).at(0);
  }

  void WriteRecordFile(const DueRecord& record) {
    fs::create_directories(dir_.records());
    std::ofstream(dir_.records() / ("duedate" + record.recordId + ".due"), std::ios::binary)
        << EncodeRecord(record);
  }

  DueRecord SeriesMember(const std::string& id) {
    DueRecord record;
    record.recordId = id;
    record.title = "Gym";
    record.dueDate = *OleDateTime::FromCivil(2026, 3, 5, 9, 0, 0);
    record.seriesId = "recId20260301090000";
    return record;
  }

  TemporaryWorkingDirectory dir_;
};

TEST_F(RecordsCliTest, AddedDuesAreListedInDueDateOrderWithTheirSums) {
  const std::string rent = Add({"--title", "Rent", "--pay-to", "Landlord", "--amount", "850",
                                "--due", "2026-03-10 18:00", "--type", "personal"});
  const std::string phone =
      Add({"--title", "Phone", "--amount", "40.5", "--due", "2026-03-02", "--paid"});
  Add({"--title", "Later", "--due", "2026-04-01"});

  const CliResult list = dir_.Run({"list", "--month", "2026-03"});
  ASSERT_EQ(list.exitCode, 0) << list.err;
  EXPECT_EQ(list.out, phone + "\t2026-03-02 00:00\tPhone\tSomeone\t$40.50\tPaid\n" + rent +
                          "\t2026-03-10 18:00\tRent\tLandlord\t$850.00\tUnpaid\n"
                          "Paid : $40.50\nUnpaid : $850.00\nTotal : $890.50\n");

  const CliResult unpaid = dir_.Run({"list", "--month", "2026-03", "--filter", "unpaid", "--json"});
  EXPECT_NE(unpaid.out.find("\"filter\": \"unpaid\""), std::string::npos);
  EXPECT_NE(unpaid.out.find("\"title\": \"Rent\""), std::string::npos);
  EXPECT_EQ(unpaid.out.find("\"title\": \"Phone\""), std::string::npos);
  EXPECT_NE(unpaid.out.find("\"paid\": \"Paid : $0.00\""), std::string::npos);
  EXPECT_NE(unpaid.out.find("\"amount\": 850, \"notes\": \"\", \"type\": 2, \"paid\": 0"),
            std::string::npos);
}

TEST_F(RecordsCliTest, ShowPrintsTheDetailsRowsAndEmptyFieldsGetTheEditorDefaults) {
  const std::string id = Add({"--due", "2026-03-10 18:00", "--start", "2026-03-01 09:00",
                              "--account", "Checking", "--amount", "1234.5"});
  const CliResult show = dir_.Run({"show", id});
  ASSERT_EQ(show.exitCode, 0) << show.err;
  EXPECT_EQ(show.out,
            "Title: No Title\nStart Date: 03/01/2026 09:00 AM\nDue Date: 03/10/2026 06:00 PM\n"
            "Pay To: Someone\nAccount: Checking\nAmount: $1,234.50\nType: Business\n"
            "Status: Unpaid\n");
  const CliResult german = dir_.Run({"show", id}, {"LC_ALL=de_DE.UTF-8"});
  EXPECT_NE(german.out.find("Due Date: 10.03.2026 18:00\n"), std::string::npos);
  EXPECT_NE(german.out.find("Amount: 1.234,50 €\n"), std::string::npos);
  EXPECT_EQ(id.size(), 16u);
  EXPECT_TRUE(id.ends_with("10"));
}

// A script's "1234.50" reads the same under every locale; where the C form is no number, the
// amount is read as the user's locale types it.
TEST_F(RecordsCliTest, AmountsAreReadInTheCFormOrAsTheLocaleTypesThem) {
  const std::string id = Add({"--amount", "1"});
  const struct {
    const char* locale;
    const char* typed;
    const char* shown;
  } cases[] = {
      {"LC_ALL=de_DE.UTF-8", "1234,56", "Amount: 1.234,56 €\n"},
      {"LC_ALL=de_DE.UTF-8", "1.234,57", "Amount: 1.234,57 €\n"},
      {"LC_ALL=de_DE.UTF-8", "1234.58", "Amount: 1.234,58 €\n"},
      {"LC_ALL=de_DE@euro", "12,5", "Amount: 12,50 €\n"},
      {"LC_ALL=en_US.UTF-8", "1,234.59", "Amount: $1,234.59\n"},
  };
  for (const auto& c : cases) {
    const CliResult modified = dir_.Run({"modify", id, "--amount", c.typed}, {c.locale});
    EXPECT_EQ(modified.exitCode, 0) << c.typed << ": " << modified.err;
    EXPECT_NE(dir_.Run({"show", id}, {c.locale}).out.find(c.shown), std::string::npos) << c.typed;
  }
  const CliResult paid = dir_.Run({"pay", id, "--amount", "100,25"}, {"LC_ALL=de_DE.UTF-8"});
  EXPECT_EQ(paid.exitCode, 0) << paid.err;
  EXPECT_NE(dir_.Run({"show", id, "--json"}).out.find("\"paidAmount\": 100.25"), std::string::npos);
}

TEST_F(RecordsCliTest, DeleteRemovesOneDueOrTheWholeSeries) {
  for (const char* id : {"2026030109000001", "2026030109000002", "2026030109000003"}) {
    WriteRecordFile(SeriesMember(id));
  }
  EXPECT_EQ(dir_.Run({"delete", "2026030109000001"}).exitCode, 0);
  EXPECT_FALSE(fs::exists(dir_.records() / "duedate2026030109000001.due"));
  EXPECT_TRUE(fs::exists(dir_.records() / "duedate2026030109000002.due"));

  EXPECT_EQ(dir_.Run({"delete", "--whole-series", "2026030109000002"}).exitCode, 0);
  EXPECT_EQ(Lines(dir_.Run({"list", "--month", "2026-03"}).out).size(), 3u);  // the sums only
  EXPECT_TRUE(fs::exists(dir_.records() / "preferences.alm"));
}

TEST_F(RecordsCliTest, FailuresExitWithTheirCodeAndSayWhy) {
  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    std::string message;
  };
  const Case cases[] = {
      {{"add", "--amount", "12,50"}, 2, "Please enter a number."},
      {{"add", "--amount", "2e13"}, 2, "Please enter a number between 0 and 10,000,000,000,000."},
      {{"add", "--due", "2026-02-30"}, 2, "--due needs a date"},
      {{"add", "--colour", "red"}, 2, "unknown option --colour"},
      {{"list", "--month", "March"}, 2, "--month needs a month"},
      {{"show", "2026030109000001"}, 1, "no due has the record ID"},
      {{"delete", "2026030109000001"}, 1, "no due has the record ID"},
      {{"modify", "--title", "New", "2026030109000001"}, 1, "no due has the record ID"},
      {{"show"}, 2, "show needs a record ID"},
      {{"delete", "--whole-series"}, 2, "delete needs a record ID"},
      {{"modify", "--title", "New"}, 2, "modify needs a record ID"},
      {{"show", "2026030109000001", "2026030109000002"}, 2, "2026030109000002"},
      {{"frobnicate"}, 2, "unknown command"},
  };
  for (const Case& c : cases) {
    const CliResult result = dir_.Run(c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments[0] << ": " << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
  EXPECT_FALSE(fs::exists(dir_.records() / "preferences.alm"));  // nothing was written

  const CliResult missing = RunCli({"--dir", (dir_.path() / "gone").string(), "list"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("does not exist"), std::string::npos);
}

// Regressions: options and IDs were confused, a lookup came before the argument check, and
// "-0" was stored as a negative zero.
TEST_F(RecordsCliTest, ArgumentsAreCheckedFirstAndOptionValuesAreNeverIds) {
  const std::string id = Add({"--title", "Rent", "--amount", "-0"});
  EXPECT_EQ(dir_.Run({"modify", "--title", "New", id}).exitCode, 0);
  const std::string json = dir_.Run({"show", id, "--json"}).out;
  EXPECT_NE(json.find("\"title\": \"New\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"amount\": 0,"), std::string::npos) << json;

  EXPECT_EQ(dir_.Run({"modify", "2026030109000001", "--amount", "x"}).exitCode, 2);
  EXPECT_EQ(dir_.Run({"add", "--title", "\xff\xfe"}).exitCode, 2);

  DueRecord dashed = SeriesMember("--dashed");
  WriteRecordFile(dashed);
  EXPECT_EQ(dir_.Run({"show", "--dashed"}).exitCode, 2);
  EXPECT_EQ(dir_.Run({"show", "--", "--dashed"}).exitCode, 0);
}

TEST_F(RecordsCliTest, AChangeMarkerFailureIsAWarningAndTheAddSucceeds) {
  fs::create_directories(dir_.records() / "preferences.alm" / "inside");
  const CliResult result = dir_.Run({"add", "--title", "Rent"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.err.find("warning: The change was saved"), std::string::npos) << result.err;
  EXPECT_TRUE(fs::exists(dir_.records() / ("duedate" + Lines(result.out).at(0) + ".due")));
}

TEST_F(RecordsCliTest, UnreadableRecordFilesAreReportedAndLeftAlone) {
  WriteRecordFile(SeriesMember("2026030109000001"));
  std::ofstream(dir_.records() / "duedatebroken.due", std::ios::binary) << "\x10"
                                                                           "2026";
  const CliResult result = dir_.Run({"list", "--month", "2026-03"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.err.find("1 record file could not be read"), std::string::npos);
  EXPECT_NE(result.err.find("duedatebroken.due"), std::string::npos);
  std::ofstream(dir_.records() / "bad\x1b[2J.due") << "x";
  EXPECT_NE(dir_.Run({"list"}).err.find("bad\\x1b[2J.due"), std::string::npos);
  EXPECT_EQ(Lines(result.out).size(), 4u);
  EXPECT_EQ(FileBytes(dir_.records() / "duedatebroken.due"),
            "\x10"
            "2026");
}

TEST_F(RecordsCliTest, WithoutDirTheWindowsSavedWorkingDirectoryIsUsed) {
  const fs::path config = dir_.path() / "config";
  fs::create_directories(config / "Velmora");
  std::ofstream(config / "Velmora" / "Paylark.conf")
      << "[Directory]\nPath=" << dir_.path().string() << "\n";
  Add({"--title", "Rent", "--due", "2026-03-10"});
  const CliResult list =
      RunCli({"list", "--month", "2026-03"}, {"XDG_CONFIG_HOME=" + config.string()});
  EXPECT_EQ(list.exitCode, 0) << list.err;
  EXPECT_NE(list.out.find("\tRent\t"), std::string::npos);

  const CliResult unset = RunCli({"list"}, {"XDG_CONFIG_HOME=" + (dir_.path() / "none").string()});
  EXPECT_EQ(unset.exitCode, 1);
  EXPECT_NE(unset.err.find("no working directory is set"), std::string::npos);
}

TEST_F(RecordsCliTest, TheSnapshotNeverChangesWhatIsListedAndCanAlwaysGo) {
  const ScratchFolder cache;
  const std::vector<std::string> env = {"XDG_CACHE_HOME=" + cache.path().string()};
  ASSERT_EQ(dir_.Run({"add", "--title", "Rent", "--due", "2026-03-10"}, env).exitCode, 0);
  ASSERT_EQ(dir_.Run({"add", "--title", "Phone", "--due", "2026-03-02"}, env).exitCode, 0);
  const std::string expected = dir_.Run({"list", "--month", "2026-03"}, env).out;
  // The snapshot, and the map image beside it once the files are old enough to be trusted.
  std::vector<fs::path> kept;
  for (const auto& entry : fs::directory_iterator(cache.path() / "paylark"))
    kept.push_back(entry.path());
  std::sort(kept.begin(), kept.end());
  ASSERT_FALSE(kept.empty());
  const fs::path snapshot = kept.back();
  EXPECT_EQ(snapshot.extension(), ".snapshot");

  EXPECT_EQ(dir_.Run({"list", "--month", "2026-03"}, env).out, expected);
  for (const fs::path& file : kept)
    fs::resize_file(file, fs::file_size(file) / 2);
  EXPECT_EQ(dir_.Run({"list", "--month", "2026-03"}, env).out, expected);
  for (const fs::path& file : kept)
    fs::remove(file);
  EXPECT_EQ(dir_.Run({"--no-snapshot", "list", "--month", "2026-03"}, env).out, expected);
  for (const fs::path& file : kept)
    EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(dir_.Run({"list", "--month", "2026-03"}, env).out, expected);
  EXPECT_TRUE(fs::exists(snapshot));
}

}  // namespace
}  // namespace paylark::testing
