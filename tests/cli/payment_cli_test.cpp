#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/cli_runner.h"

namespace paylark::testing {
namespace {

namespace fs = std::filesystem;

class PaymentCliTest : public ::testing::Test {
 protected:
  PaymentCliTest() {
    const CliResult added = dir_.Run({"add", "--title", "Power", "--pay-to", "City Power",
                                      "--amount", "90", "--due", "2026-03-10 18:00"});
    EXPECT_EQ(added.exitCode, 0) << added.err;
    id_ = Lines(added.out).at(0);
  }

  std::string File() const { return FileBytes(dir_.records() / ("duedate" + id_ + ".due")); }
  std::string Json() const { return dir_.Run({"show", id_, "--json"}).out; }

  TemporaryWorkingDirectory dir_;
  std::string id_;
};

TEST_F(PaymentCliTest, PayStoresTheDetailsThatShowListAndCsvCarry) {
  EXPECT_NE(Json().find("\"paidOn\": null, \"paidAmount\": null, \"paymentReference\": null, "
                        "\"payments\": [], \"left\": 90,"),
            std::string::npos)
      << Json();
  const std::size_t unpaidSize = File().size();

  const CliResult pay = dir_.Run(
      {"pay", id_, "--on", "2026-03-09 08:15", "--amount", "92.41", "--reference", "FITID-7"});
  ASSERT_EQ(pay.exitCode, 0) << pay.err;
  EXPECT_EQ(File().substr(unpaidSize, 4), "PLX1");
  EXPECT_NE(
      Json().find("\"paid\": 1, \"seriesId\": \"\", \"paidOn\": \"2026-03-09T08:15:00\", "
                  "\"paidAmount\": 92.41, \"paymentReference\": \"FITID-7\", \"payments\": [{"),
      std::string::npos)
      << Json();

  const CliResult show = dir_.Run({"show", id_});
  EXPECT_NE(show.out.find("Status: Paid\nPaid on: 03/09/2026 08:15 AM\nPaid amount: $92.41\n"
                          "Reference: FITID-7\n"),
            std::string::npos)
      << show.out;
  const CliResult list = dir_.Run({"list", "--month", "2026-03"});
  EXPECT_EQ(list.out, id_ +
                          "\t2026-03-10 18:00\tPower\tCity Power\t$92.41\tPaid\n"
                          "Paid : $92.41\nUnpaid : $0.00\nTotal : $92.41\n");
  EXPECT_NE(dir_.Run({"find", "power", "--json"}).out.find("\"paidAmount\": 92.41"),
            std::string::npos);

  const fs::path csv = dir_.path() / "out.csv";
  ASSERT_EQ(dir_.Run({"export", "csv", "--output", csv.string()}).exitCode, 0);
  EXPECT_NE(FileBytes(csv).find(",Paid,,,2026-03-09 08:15:00,92.41,FITID-7\r\n"), std::string::npos)
      << FileBytes(csv);

  // Paying again replaces the payment and says which one went.
  const CliResult again = dir_.Run({"pay", id_, "--reference", "cash"});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(again.err,
            "paylark-cli: the payment with reference FITID-7 of 2026-03-09 was replaced\n");
}

TEST_F(PaymentCliTest, BadArgumentsExitWithTwoAndWriteNothing) {
  const std::string before = File();
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    const char* message;
  } cases[] = {
      {{"pay", id_, "--amount", "lots"}, 2, "Please enter a number."},
      {{"pay", id_, "--amount", "-5"},
       2,
       "Please enter a number between 0 and 10,000,000,000,000."},
      {{"pay", id_, "--on", "yesterday"}, 2, "--on needs a date"},
      {{"pay", id_, "--on", "2026-02-30"}, 2, "--on needs a date"},
      {{"pay"}, 2, "pay needs a record ID"},
      {{"pay", id_, "--colour", "red"}, 2, "unknown option --colour"},
      {{"pay", "2026030109000001"}, 1, "no due has the record ID"},
  };
  for (const auto& c : cases) {
    const CliResult result = dir_.Run(c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.message << ": " << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
  EXPECT_EQ(File(), before);
}

// The modify command's flags settle the details; a change of other fields keeps them.
TEST_F(PaymentCliTest, ModifyPaidSetsTheDefaultsAndUnpaidClearsThem) {
  const std::string unpaid = File();
  ASSERT_EQ(dir_.Run({"modify", id_, "--paid"}).exitCode, 0);
  EXPECT_NE(Json().find("\"paidAmount\": 90,"), std::string::npos) << Json();

  ASSERT_EQ(dir_.Run({"pay", id_, "--amount", "95", "--reference", "R1"}).exitCode, 0);
  ASSERT_EQ(dir_.Run({"modify", id_, "--title", "Power & Gas"}).exitCode, 0);
  EXPECT_NE(Json().find("\"paidAmount\": 95, \"paymentReference\": \"R1\", \"payments\""),
            std::string::npos)
      << Json();

  ASSERT_EQ(dir_.Run({"modify", id_, "--unpaid", "--title", "Power"}).exitCode, 0);
  EXPECT_EQ(File(), unpaid) << "unpaid again: byte for byte the file before paying";
}

TEST_F(PaymentCliTest, PayingInPartsShowsWhatIsPaidAndWhatIsLeft) {
  const std::string unpaid = File();
  CliResult part =
      dir_.Run({"pay", id_, "--on", "2026-03-01", "--amount", "30", "--reference", "T-1"});
  ASSERT_EQ(part.exitCode, 0) << part.err;
  EXPECT_EQ(part.out, "$30.00 of $90.00 paid\n");
  part = dir_.Run({"pay", id_, "--on", "2026-03-05 12:00", "--amount", "40.25"});
  EXPECT_EQ(part.out, "$70.25 of $90.00 paid\n");
  EXPECT_NE(Json().find("\"paid\": 0,"), std::string::npos);
  EXPECT_NE(Json().find("\"payments\": [{\"on\": \"2026-03-01T00:00:00\", \"amount\": 30, "
                        "\"reference\": \"T-1\", \"counterparty\": null, "
                        "\"counterpartyAccount\": null}, {\"on\": \"2026-03-05T12:00:00\", "
                        "\"amount\": 40.25, \"reference\": null, \"counterparty\": null, "
                        "\"counterpartyAccount\": null}], \"left\": 19.75, \"renewsOn\": null, "
                        "\"noticePeriod\": null, \"cancelBy\": null}"),
            std::string::npos)
      << Json();
  EXPECT_NE(dir_.Run({"show", id_}).out.find("Status: $70.25 of $90.00 paid\n"), std::string::npos)
      << dir_.Run({"show", id_}).out;
  EXPECT_EQ(dir_.Run({"list", "--month", "2026-03"}).out,
            id_ +
                "\t2026-03-10 18:00\tPower\tCity Power\t$90.00\tUnpaid\n"
                "Paid : $70.25\nUnpaid : $19.75\nTotal : $90.00\n");

  // The last part goes beyond what is left: the due is paid, the excess kept and said.
  const CliResult last = dir_.Run({"pay", id_, "--amount", "20.25"});
  ASSERT_EQ(last.exitCode, 0) << last.err;
  EXPECT_EQ(last.out, "Paid, $0.50 more than the amount\n");
  EXPECT_NE(Json().find("\"paid\": 1,"), std::string::npos);
  EXPECT_NE(Json().find("\"left\": 0,"), std::string::npos);
  EXPECT_EQ(dir_.Run({"list", "--month", "2026-03"}).out,
            id_ +
                "\t2026-03-10 18:00\tPower\tCity Power\t$90.50\tPaid\n"
                "Paid : $90.50\nUnpaid : $0.00\nTotal : $90.50\n");

  ASSERT_EQ(dir_.Run({"modify", id_, "--unpaid"}).exitCode, 0);
  EXPECT_EQ(File(), unpaid) << "unpaid again: every part goes";
}

}  // namespace
}  // namespace paylark::testing
