#include <gtest/gtest.h>
#include <libical/ical.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "tests/cli/cli_runner.h"
#include "tests/support/file_size_limit.h"

namespace paylark::testing {
namespace {

namespace fs = std::filesystem;

class ExchangeCliTest : public ::testing::Test {
 protected:
  CliResult Run(std::vector<std::string> arguments) const {
    return dir_.Run(std::move(arguments), {"TZ=Europe/Berlin"});
  }
  void Add(std::vector<std::string> fields) {
    fields.insert(fields.begin(), "add");
    ASSERT_EQ(Run(fields).exitCode, 0);
  }
  std::string Put(const std::string& name, const std::string& text) const {
    const fs::path path = dir_.path() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  std::string Out(const std::string& name) const { return (dir_.path() / name).string(); }

  // Every file of the records folder with its bytes.
  std::map<std::string, std::string> Records() const { return FolderBytes(dir_.records()); }

  TemporaryWorkingDirectory dir_;
};

TEST_F(ExchangeCliTest, TheFeedReadsBackInLibicalWithOneEventPerSelectedDue) {
  Add({"--title", "Rent", "--due", "2026-11-30 23:30", "--amount", "850"});
  Add({"--title", "Gas", "--due", "2026-12-09", "--paid"});
  Add({"--title", "Later", "--due", "2027-02-01"});
  ASSERT_EQ(Run({"export", "ics", "--from", "2026-11", "--to", "2026-12", "--output", Out("a.ics")})
                .exitCode,
            0);
  icalcomponent* calendar = icalparser_parse_string(FileBytes(Out("a.ics")).c_str());
  ASSERT_NE(calendar, nullptr);
  std::vector<std::string> events;
  for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
       event; event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
    const icaltimetype start = icalcomponent_get_dtstart(event);
    const bool alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT) != nullptr;
    events.push_back(std::string(icaltime_as_ical_string(start)) + " " +
                     icalcomponent_get_summary(event) + (alarm ? " alarm" : ""));
  }
  icalcomponent_free(calendar);
  EXPECT_EQ(events, (std::vector<std::string>{"20261130 Rent \u2013 $850.00 alarm",
                                              "20261209 Paid: Gas \u2013 $0.00"}));

  const CliResult none = Run({"export", "csv", "--month", "2026-10", "--output", Out("b.csv")});
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_EQ(none.err, "paylark-cli: There are no dues in October 2026, so no file was written.\n");
  EXPECT_FALSE(fs::exists(Out("b.csv")));
  EXPECT_EQ(Run({"export", "csv", "--month", "2026-10", "--from", "2026-01", "--to", "2026-02",
                 "--output", Out("b.csv")})
                .exitCode,
            2);
}

// Each row's reason is csv_import_test's (EveryBadRowIsNamedWithItsReason); here they are printed a
// line each, and the over-long field that only the reader of a file meets.
TEST_F(ExchangeCliTest, BadInputWritesNothingAndSaysWhy) {
  Add({"--title", "Existing", "--due", "2026-12-01"});
  const auto before = Records();
  struct Case {
    std::string name;
    std::string text;
    std::vector<std::string> rows;
  };
  const std::string header = "Title,Due,Amount,Type\r\n";
  const Case cases[] = {
      {"bad values",
       header + "ok,2026-12-01,1,Business\r\nx,2026-02-30,1,\r\ny,2026-12-01,\"12,3,4\",\r\n" +
           "z,2026-12-01,1,Weekly\r\nw,2026-12-01,1,,more\r\n",
       {"row 3: Due is not a date as YYYY-MM-DD HH:MM:SS: \"2026-02-30\"",
        "row 4: Amount \"12,3,4\" is not a number as 1234.56 or 1,234.56",
        "row 5: Type must be Business, Personal or Income: \"Weekly\"",
        "row 6: more fields than the header's 4"}},
      {"a 10 MB field",
       header + "ok,2026-12-01,1,\r\n\"" + std::string(10 << 20, 'x') + "\",2026-12-01,1,\r\n",
       {"row 3: a field is longer than 1048576 bytes"}},
  };
  for (const Case& c : cases) {
    const CliResult result = Run({"import", "csv", Put("bad.csv", c.text)});
    EXPECT_EQ(result.exitCode, 2) << c.name;
    EXPECT_EQ(result.out, "") << c.name;
    std::vector<std::string> expected;
    for (const std::string& row : c.rows)
      expected.push_back("paylark-cli: " + row);
    EXPECT_EQ(Lines(result.err), expected) << c.name;
    EXPECT_EQ(Records(), before) << c.name;
  }

  // A file that cannot be a CSV to import is refused before a byte of it is read, and names why.
  const std::string huge = Put("huge.csv", "Title,Due\r\n");
  fs::resize_file(huge, (std::uintmax_t{256} << 20) + 1);  // sparse: no disk is used
  CliResult result = Run({"import", "csv", huge});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.err, "paylark-cli: The file is larger than 256 MiB, so it was not read.\n");
  const std::string folder = Out("a folder");
  fs::create_directory(folder);
  result = Run({"import", "csv", folder});
  EXPECT_NE(result.exitCode, 0);
  EXPECT_EQ(result.err,
            "paylark-cli: The file \"" + folder + "\" could not be read: it is not a file\n");
  EXPECT_EQ(Records(), before);
}

TEST_F(ExchangeCliTest, AWriteFailingMidwayLeavesTheFolderAsBefore) {
  Add({"--title", "Existing", "--due", "2026-12-01"});
  const auto before = Records();
  const std::string file =
      Put("big.csv", "Title,Due,Notes\r\na,2026-12-02,\r\nb,2026-12-03,\r\nlong,2026-12-04," +
                         std::string(6000, 'n') + "\r\nc,2026-12-05,\r\n");
  EXPECT_EQ(Run({"import", "csv", file, "--dry-run"}).out, "4 dues would be added\n");
  CliResult result;
  {
    // Big enough for the short dues and the messages, too small for the long due's file.
    const FileSizeLimit limit(4096);
    result = Run({"import", "csv", file});
  }
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("The due \"long\" could not be saved"), std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("Nothing was imported."), std::string::npos) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(Records(), before);

  result = Run({"import", "csv", file});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(Lines(result.out).size(), 4u);
  EXPECT_EQ(Records().size(), before.size() + 4);
}

}  // namespace
}  // namespace paylark::testing
