#include <gtest/gtest.h>

#include "tests/cli/cli_runner.h"

namespace paylark::testing {
namespace {

class RecurrenceCliTest : public ::testing::Test {
 protected:
  std::vector<std::string> Series(std::vector<std::string> options) {
    options.insert(options.begin(), "series");
    const CliResult result = dir_.Run(options);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return Lines(result.out);
  }

  // The value of one field of `show ID --json`, as it is written there (strings without quotes).
  std::string Field(const std::string& id, const std::string& name) {
    const std::string json = dir_.Run({"show", id, "--json"}).out;
    const std::string key = "\"" + name + "\": ";
    std::size_t begin = json.find(key);
    if (begin == std::string::npos)
      return "(missing)";
    begin += key.size();
    if (json[begin] == '"') {
      ++begin;
      return json.substr(begin, json.find('"', begin) - begin);
    }
    return json.substr(begin, json.find_first_of(",}", begin) - begin);
  }

  TemporaryWorkingDirectory dir_;
};

TEST_F(RecurrenceCliTest, SeriesPrintsItsIdsAndStoresFinishedDues) {
  const auto ids = Series({"--kind", "day", "--start", "2026-03-05 09:30", "--title", "Rent",
                           "--amount", "850", "--type", "personal", "--paid"});
  ASSERT_EQ(ids.size(), 10u);
  EXPECT_EQ(dir_.Files(".due"), 10u);
  EXPECT_EQ(Field(ids[0], "startDate"), "2026-03-05T09:30:00");
  EXPECT_EQ(Field(ids[0], "dueDate"), "2026-03-06T09:30:00");
  EXPECT_EQ(Field(ids[9], "startDate"), "2026-04-01T09:30:00");
  EXPECT_EQ(Field(ids[0], "paid"), "1");
  EXPECT_EQ(Field(ids[1], "paid"), "0");
  EXPECT_EQ(Field(ids[1], "title") + Field(ids[1], "payTo") + Field(ids[1], "type"),
            "RentSomeone2");
  EXPECT_EQ(Field(ids[1], "seriesId"), Field(ids[0], "seriesId"));
}

TEST_F(RecurrenceCliTest, PatternOptionsAndOffsetReachTheDues) {
  const auto weeks =
      Series({"--kind", "week", "--every", "2", "--on", "MON,thursday", "--start",
              "2026-03-04 08:00", "--count", "4", "--offset-days", "0", "--offset-time", "12:30"});
  ASSERT_EQ(weeks.size(), 4u);
  EXPECT_EQ(Field(weeks[0], "startDate"), "2026-03-05T08:00:00");
  EXPECT_EQ(Field(weeks[0], "dueDate"), "2026-03-05T20:30:00");
  EXPECT_EQ(Field(weeks[3], "startDate"), "2026-03-30T08:00:00");

  const auto leap = Series({"--kind", "year", "--month", "february", "--day", "29", "--start",
                            "2027-01-01", "--count", "2"});
  ASSERT_EQ(leap.size(), 2u);
  EXPECT_EQ(Field(leap[0], "startDate"), "2027-02-28T00:00:00");
  EXPECT_EQ(Field(leap[1], "startDate"), "2028-02-29T00:00:00");
}

TEST_F(RecurrenceCliTest, RefusedPatternsSayTheDialogsMessageAndWriteNothing) {
  const struct {
    std::vector<std::string> options;
    std::string message;
  } cases[] = {
      {{"--kind", "week", "--on", ""}, "Atleast one day should be selected!"},
      {{"--kind", "month", "--day", "0", "--every", "0"}, "Please enter valid recurrence month"},
      {{"--kind", "year", "--month", "April", "--day", "31"}, "Month April does not have date 31"},
      {{"--kind", "day", "--count", ""}, "Please enter valid number of recurrences"},
      {{"--kind", "day", "--offset-days", "one"}, "Please enter an integer."},
      {{"--kind", "hour"}, "series needs --kind day|week|month|year"},
      {{"--kind", "day", "--count", "3", "--end-by", "2026-03-01"},
       "--count and --end-by exclude each other"},
      // Regression: a runaway count wrote files until the disk was full.
      {{"--kind", "day", "--every", "1", "--start", "2026-01-01", "--count", "1000000000"},
       "This pattern makes 2912443 dues; add --yes to make them"},
      // Regression: a due date past the last year was written and removed again, with exit 1.
      {{"--kind", "year", "--month", "June", "--day", "1", "--start", "9998-01-01", "--count", "2",
        "--offset-days", "300"},
       "the series could not be saved: the due date would lie beyond the year 9999"},
      {{"--kind", "day", "--weekend", "sunday"}, "--weekend must be keep, before or after"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = c.options;
    arguments.insert(arguments.begin(), "series");
    const CliResult result = dir_.Run(arguments);
    EXPECT_EQ(result.exitCode, 2) << c.message;
    EXPECT_EQ(result.err, "paylark-cli: " + c.message + "\n");
    EXPECT_EQ(result.out, "");
  }
  EXPECT_EQ(dir_.Files(".due"), 0u);
}

TEST_F(RecurrenceCliTest, WeekendMovesTheDueDatesOnly) {
  // Monthly on the 31st from January 2026: Saturday 31 January, then Saturday 28 February.
  const struct {
    const char* word;
    const char* first;
    const char* second;
  } cases[] = {{"after", "2026-02-02T10:00:00", "2026-03-02T10:00:00"},
               {"before", "2026-01-30T10:00:00", "2026-02-27T10:00:00"},
               {"keep", "2026-01-31T10:00:00", "2026-02-28T10:00:00"}};
  for (const auto& c : cases) {
    const auto ids = Series({"--kind", "month", "--day", "31", "--start", "2026-01-01 10:00",
                             "--count", "2", "--offset-days", "0", "--weekend", c.word});
    ASSERT_EQ(ids.size(), 2u) << c.word;
    EXPECT_EQ(Field(ids[0], "startDate"), "2026-01-31T10:00:00") << c.word;
    EXPECT_EQ(Field(ids[0], "dueDate") + " " + Field(ids[1], "dueDate"),
              std::string(c.first) + " " + c.second);
  }
}

// How the position follows deletes and changes is series_editing_test's
// SeriesPositionFollowsDueDatesChangesAndDeletes.
TEST_F(RecurrenceCliTest, ShowTellsWhereADueStandsInItsSeries) {
  const auto ids = Series({"--kind", "day", "--start", "2026-03-05", "--count", "3"});
  ASSERT_EQ(ids.size(), 3u);
  auto lastLine = [this](const std::string& id) {
    const std::string out = dir_.Run({"show", id}).out;
    return out.substr(out.rfind('\n', out.size() - 2) + 1);
  };
  EXPECT_EQ(lastLine(ids[1]), "Series: 2 of 3\n");
  EXPECT_NE(
      dir_.Run({"show", ids[1], "--json"}).out.find("\"seriesPosition\": [2, 3], \"payments\""),
      std::string::npos);
  const std::string single = Lines(dir_.Run({"add", "--title", "Once"}).out).at(0);
  EXPECT_EQ(lastLine(single).substr(0, 7), "Status:");
  EXPECT_EQ(Field(single, "seriesPosition"), "(missing)");
}

TEST_F(RecurrenceCliTest, PatternWithoutOccurrencesStoresNothing) {
  const CliResult result = dir_.Run({"series", "--kind", "month", "--day", "5", "--start",
                                     "2026-03-10", "--end-by", "2026-03-31"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("no due was stored"), std::string::npos);
  EXPECT_EQ(dir_.Files(".due"), 0u);
}

TEST_F(RecurrenceCliTest, FromHereSparesPaidAndEarlierDues) {
  const auto ids =
      Series({"--kind", "day", "--start", "2026-03-05", "--count", "4", "--amount", "10"});
  ASSERT_EQ(ids.size(), 4u);
  ASSERT_EQ(dir_.Run({"modify", ids[2], "--paid"}).exitCode, 0);
  ASSERT_EQ(dir_.Run({"modify", ids[1], "--from-here", "--amount", "12.5"}).exitCode, 0);
  EXPECT_EQ(Field(ids[0], "amount") + " " + Field(ids[1], "amount") + " " +
                Field(ids[2], "amount") + " " + Field(ids[3], "amount"),
            "10 12.5 10 12.5");
}

TEST_F(RecurrenceCliTest, ModifyAndDeleteOneDueOrTheWholeSeries) {
  const auto ids = Series({"--kind", "day", "--start", "2026-03-05", "--count", "3", "--amount",
                           "10", "--notes", "shared"});
  ASSERT_EQ(dir_.Run({"modify", ids[1], "--amount", "20", "--notes", "mine"}).exitCode, 0);
  EXPECT_EQ(Field(ids[1], "amount"), "20");
  EXPECT_EQ(Field(ids[0], "amount"), "10");

  ASSERT_EQ(
      dir_.Run({"modify", ids[2], "--whole-series", "--amount", "30", "--title", ""}).exitCode, 0);
  for (const auto& id : ids) {
    EXPECT_EQ(Field(id, "amount"), "30");
    EXPECT_EQ(Field(id, "title"), "No Title");
  }
  EXPECT_EQ(Field(ids[1], "notes"), "mine");
  EXPECT_EQ(Field(ids[0], "notes"), "shared");

  const std::string single = Lines(dir_.Run({"add", "--amount", "5"}).out).at(0);
  ASSERT_EQ(dir_.Run({"modify", single, "--whole-series", "--amount", "6"}).exitCode, 0);
  EXPECT_EQ(Field(single, "amount"), "6");
  EXPECT_EQ(Field(ids[0], "amount"), "30");

  ASSERT_EQ(dir_.Run({"delete", ids[1], "--whole-series"}).exitCode, 0);
  EXPECT_EQ(dir_.Files(".due"), 1u);

  EXPECT_EQ(dir_.Run({"modify", ids[0], "--whole-series", "--from-here"}).exitCode, 2);
}

}  // namespace
}  // namespace paylark::testing
