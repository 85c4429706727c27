#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/cli/cli_runner.h"
#include "tests/core/export/pdf_tools.h"

namespace paylark::testing {
namespace {

namespace fs = std::filesystem;

class ExportCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Add({"--title", "Rent", "--due", "2026-12-05", "--start", "2026-12-01", "--amount", "850",
         "--account", " Main ", "--notes", "call first", "--pay-to", "Landlord"});
    Add({"--title", "Gas (bill)", "--due", "2026-12-09", "--amount", "40.5", "--paid", "--account",
         "Other", "--type", "personal"});
  }

  void Add(std::vector<std::string> fields) {
    fields.insert(fields.begin(), "add");
    Succeed(fields);
  }
  CliResult Run(std::vector<std::string> arguments) const { return dir_.Run(std::move(arguments)); }
  // Runs a command that must succeed.
  void Succeed(std::vector<std::string> arguments) const {
    const CliResult result = Run(std::move(arguments));
    EXPECT_EQ(result.exitCode, 0) << result.err;
  }
  std::string Put(const std::string& name, const std::string& text) const {
    const fs::path path = dir_.path() / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  std::string Out(const std::string& name) const { return (dir_.path() / name).string(); }

  TemporaryWorkingDirectory dir_;
};

TEST_F(ExportCliTest, HtmlExportFillsTheTemplateWithTheMonthsRows) {
  const std::string page =
      Put("mine.html",
          "<{[monthyear]}>:<{[loopstart]}> <{[countrecord]}> <{[duetitle]}> <{[amount]}>"
          "<{[notesstart]}> (<{[notes]}>)<{[notesend]}>;<{[loopend]}>");
  Succeed({"export", "html", "--month", "2026-12", "--template", page, "--output", Out("a.html")});
  EXPECT_EQ(FileBytes(Out("a.html")),
            "December - 2026: Record 1 of 2 Rent $850.00 (call first); Record 2 of 2 Gas (bill) "
            "$40.50;");
  Succeed({"export", "html", "--month", "2026-12", "--filter", "paid", "--without-notes",
           "--template", page, "--output", Out("b.html")});
  EXPECT_EQ(FileBytes(Out("b.html")), "December - 2026: Record 1 of 1 Gas (bill) $40.50;");
}

TEST_F(ExportCliTest, TemplatesAreFoundInTheUsersFolderBeforeTheBuiltOnes) {
  Succeed({"export", "html", "--month", "2026-12", "--output", Out("built.html")});
  const std::string built = FileBytes(Out("built.html"));
  EXPECT_NE(built.find("December - 2026"), std::string::npos);
  EXPECT_NE(built.find("Record 2 of 2"), std::string::npos);
  EXPECT_EQ(built.find("<{["), std::string::npos) << "every placeholder is filled";

  Put(".data/paylark/Templates/exporttemplate.html", "mine <{[monthyear]}>");
  Succeed({"export", "html", "--month", "2026-12", "--output", Out("user.html")});
  EXPECT_EQ(FileBytes(Out("user.html")), "mine December - 2026");
}

TEST_F(ExportCliTest, PdfExportHasACoverAndAPagePerDue) {
  Succeed({"export", "pdf", "--month", "2026-12", "--output", Out("a.pdf")});
  const PdfFile file(FileBytes(Out("a.pdf")));
  ASSERT_EQ(file.Check().exitCode, 0) << file.Check().text;
  ASSERT_EQ(file.PageCount(), 3);
  EXPECT_NE(file.PageText(1).find("Dec - 2026"), std::string::npos);
  EXPECT_NE(file.PageText(2).find("call first"), std::string::npos);
  EXPECT_NE(file.PageText(3).find("Gas (bill)"), std::string::npos);
}

TEST_F(ExportCliTest, PrintAppliesRecordsThenAccountAndCopiesTheIcons) {
  const std::string page = Put("print/mine.html",
                               "<{[headerstart]}>[<{[headercenter]}>]<{[headerend]}><{[loopstart]}>"
                               "<{[snumber]}><{[duetitle]}>,<{[loopend]}>=<{[totalamount]}>");
  fs::create_directories(Out("out"));
  Succeed({"print", "--from", "2026-12", "--to", "2027-01", "--records", "unpaid", "--template",
           page, "--output", Out("out/print.html")});
  EXPECT_EQ(FileBytes(Out("out/print.html")), "[Dec/2026 - Jan/2027]1.Rent,=$850.00");
  EXPECT_TRUE(fs::exists(Out("out/icon.bmp")));
  EXPECT_TRUE(fs::exists(Out("out/recicon.bmp")));

  Succeed({"print", "--from", "2026-12", "--to", "2026-12", "--records", "reset", "--account",
           "Other", "--template", page, "--output", Out("out/print.html")});
  EXPECT_EQ(FileBytes(Out("out/print.html")), "[ Dec/2026 ]1.Gas (bill),=$40.50");
}

TEST_F(ExportCliTest, BadArgumentsExitTwoAndFailedWritesExitOne) {
  EXPECT_EQ(Run({"export", "docz", "--output", Out("x")}).exitCode, 2);
  EXPECT_EQ(Run({"export", "pdf", "--month", "2026-12"}).exitCode, 2);
  EXPECT_EQ(Run({"export", "pdf", "--template", "t", "--output", Out("x")}).exitCode, 2);
  EXPECT_EQ(Run({"print", "--from", "2026-12", "--to", "2026-11", "--output", Out("x")}).exitCode,
            2);
  const CliResult failed =
      Run({"export", "html", "--month", "2026-12", "--output", Out("missing/a.html")});
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_NE(failed.err.find("missing/a.html"), std::string::npos);
}

}  // namespace
}  // namespace paylark::testing
