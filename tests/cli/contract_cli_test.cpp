#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/cli/cli_runner.h"

namespace paylark::testing {
namespace {

// Every command runs on Monday 2026-09-28 09:00 UTC, with settings of its own.
class ContractCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HasFaketime())
      GTEST_SKIP() << "libfaketime is not installed (package faketime)";
  }

  CliResult Run(const std::vector<std::string>& arguments) {
    return dir_.Run(arguments, FaketimeAt("2026-09-28 09:00:00", {"TZ=UTC"}));
  }

  std::string Show(const std::string& id) { return Run({"show", id, "--json"}).out; }

  TemporaryWorkingDirectory dir_;
};

TEST_F(ContractCliTest, ARenewalWithNoticeShowsItsCancelByDateAndReminds) {
  const CliResult added = Run({"add", "--title", "Gym", "--due", "2026-10-01", "--amount", "29.90",
                               "--renews-on", "2026-12-31", "--notice", "3", "months"});
  ASSERT_EQ(added.exitCode, 0) << added.err;
  const std::string id = Lines(added.out).at(0);
  EXPECT_NE(Show(id).find("\"renewsOn\": \"2026-12-31T00:00:00\", \"noticePeriod\": {\"unit\": "
                          "\"months\", \"count\": 3}, \"cancelBy\": \"2026-09-30\"}"),
            std::string::npos)
      << Show(id);
  const std::string plain = Run({"show", id}).out;
  EXPECT_NE(plain.find("Renews on: 12/31/2026\nContract: Cancel by 30 Sep 2026\n"),
            std::string::npos)
      << plain;

  const CliResult json = Run({"remind", "--days", "3", "--json"});
  EXPECT_NE(json.out.find("{\"kind\": \"cancelBy\", \"recordId\": \"" + id +
                          "\", \"seriesId\": \"\", \"title\": \"Gym\", \"cancelBy\": "
                          "\"2026-09-30\", \"renewsOn\": \"2026-12-31\", \"now\": false, "
                          "\"when\": \"in 2 days\", \"text\": \"Cancel Gym by 30 Sep 2026, or it "
                          "renews on 31 Dec 2026\"}]}"),
            std::string::npos)
      << json.out;
  EXPECT_EQ(Run({"remind", "--days", "1", "--json"}).out, "{\"days\": 1, \"dues\": []}\n")
      << "two days ahead is beyond one";
  EXPECT_EQ(
      Run({"remind", "--days", "2"}).out,
      id + "\t2026-09-30\tin 2 days\tCancel Gym by 30 Sep 2026, or it renews on 31 Dec 2026\n");

  const std::filesystem::path ics = dir_.path() / "feed.ics";
  ASSERT_EQ(Run({"export", "ics", "--output", ics.string()}).exitCode, 0);
  const std::string feed = FileBytes(ics);
  EXPECT_NE(feed.find("UID:" + id + "-cancel@paylark"), std::string::npos) << feed;
  EXPECT_NE(feed.find("DTSTART;VALUE=DATE:20260930"), std::string::npos) << feed;
  EXPECT_NE(feed.find("SUMMARY:Cancel Gym by 30 Sep 2026\\, or it renews on 31 Dec 2026"),
            std::string::npos)
      << feed;
}

TEST_F(ContractCliTest, ANoticeLongerThanWhatRemainsMeansCancelNow) {
  const std::string id =
      Lines(
          Run({"add", "--title", "Phone", "--renews-on", "2026-10-15", "--notice", "1 month"}).out)
          .at(0);
  EXPECT_NE(Show(id).find("\"cancelBy\": \"2026-09-28\""), std::string::npos) << Show(id);
  EXPECT_NE(Run({"show", id}).out.find("Contract: Cancel now\n"), std::string::npos);
  EXPECT_NE(Run({"remind", "--days", "0"})
                .out.find("\tnow\tCancel Phone now, or it renews on 15 Oct 2026\n"),
            std::string::npos);
}

TEST_F(ContractCliTest, EveryMemberOfASeriesCarriesTheContractAndRemindsOnce) {
  const CliResult series = Run({"series", "--kind", "month", "--day", "1", "--every", "1",
                                "--start", "2026-10-01", "--count", "3", "--title", "Insurance",
                                "--renews-on", "2026-12-01", "--notice", "9", "weeks"});
  ASSERT_EQ(series.exitCode, 0) << series.err;
  const std::vector<std::string> ids = Lines(series.out);
  ASSERT_EQ(ids.size(), 3u);
  for (const std::string& id : ids) {
    EXPECT_NE(Show(id).find("\"noticePeriod\": {\"unit\": \"weeks\", \"count\": 9}, "
                            "\"cancelBy\": \"2026-09-29\""),
              std::string::npos)
        << Show(id);
  }
  const std::string reminded = Run({"remind", "--days", "1"}).out;
  EXPECT_EQ(Lines(reminded).size(), 1u) << reminded;

  ASSERT_EQ(Run({"modify", ids[1], "--whole-series", "--notice", "2 weeks"}).exitCode, 0);
  for (const std::string& id : ids)
    EXPECT_NE(Show(id).find("\"cancelBy\": \"2026-11-17\""), std::string::npos) << Show(id);
  ASSERT_EQ(Run({"modify", ids[0], "--whole-series", "--renews-on", ""}).exitCode, 0);
  EXPECT_NE(Show(ids[2]).find("\"renewsOn\": null"), std::string::npos) << Show(ids[2]);
}

TEST_F(ContractCliTest, BadRenewalsAndNoticesExitWithTwo) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"add", "--notice", "3"},
        {"add", "--notice", "0", "days"},
        {"add", "--notice", "3", "fortnights"},
        {"add", "--notice", "10000 days"},
        {"add", "--renews-on", "soon"}}) {
    const CliResult result = Run(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments.back() << ": " << result.err;
  }
  EXPECT_EQ(dir_.Files(".due"), 0u);
}

}  // namespace
}  // namespace paylark::testing
