#include "core/exchange/csv_import.h"

#include <gtest/gtest.h>

#include <clocale>
#include <map>

#include "core/exchange/csv_export.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/scratch_store.h"

namespace paylark {
namespace {

class CsvImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::setlocale(LC_ALL, "en_US.UTF-8"), nullptr);
    std::setlocale(LC_NUMERIC, "C");
  }
  void TearDown() override { std::setlocale(LC_ALL, "C"); }

  ImportPlan Plan(const std::string& text) const { return PlanCsvImport(text, clock_); }

  static std::vector<std::string> Refusals(const ImportPlan& plan) {
    std::vector<std::string> texts;
    for (const RefusedRow& refused : plan.refused)
      texts.push_back(RefusalText(refused));
    return texts;
  }

  FixedClock clock_{*OleDateTime::FromCivil(2026, 12, 5, 14, 30)};
};

TEST_F(CsvImportTest, ColumnsAreFoundByNameAndEmptyFieldsTakeTheEditorsDefaults) {
  const ImportPlan plan = Plan(
      "notes,DUE, amount ,Whatever,status,type\n"
      "\"a\nb\",2026-12-24 18:00,\"$1,234.50\",x,PAID,personal\n"
      "\n"
      ",2026-12-31,,,,\n");
  ASSERT_TRUE(plan.ok()) << Refusals(plan)[0];
  ASSERT_EQ(plan.dues.size(), 2u);
  const DueRecord& first = plan.dues[0].record;
  EXPECT_EQ(plan.dues[0].row, 2u);
  EXPECT_EQ(first.notes, "a\r\nb");
  EXPECT_EQ(first.dueDate, *OleDateTime::FromCivil(2026, 12, 24, 18));
  EXPECT_EQ(first.amount, 1234.5);
  EXPECT_EQ(first.paid, 1);
  EXPECT_EQ(first.type, kTypePersonal);
  EXPECT_EQ(first.title, "No Title");
  EXPECT_EQ(first.payTo, "Someone");
  EXPECT_EQ(first.startDate, clock_.Now());
  const DueRecord& second = plan.dues[1].record;
  EXPECT_EQ(plan.dues[1].row, 4u) << "the blank row still counts";
  EXPECT_EQ(second.dueDate, *OleDateTime::FromCivil(2026, 12, 31));
  EXPECT_EQ(second.amount, 0.0);
  EXPECT_EQ(second.paid, 0);
  EXPECT_EQ(second.type, kTypeBusiness);
}

TEST_F(CsvImportTest, EveryBadRowIsNamedWithItsReason) {
  const ImportPlan plan = Plan(
      "Title,Due,Amount,Type,Status\r\n"
      "ok,2026-12-01,1,Business,Paid\r\n"
      "date,2026-02-30,1,,\r\n"
      "amount,2026-12-01,\"12,3,4\",,\r\n"
      "type,2026-12-01,1,Weekly,\r\n"
      "fields,2026-12-01,1,,,extra\r\n"
      "negative,2026-12-01,-1,,\r\n"
      "status,2026-12-01,1,,maybe\r\n"
      "empty due,,1,,\r\n"
      "\xC3\x28,2026-12-01,1,,\r\n");
  const std::string tooSmall =
      "row 7: Amount \"-1\": Please enter a number between 0 and 10,000,000,000,000.";
  EXPECT_EQ(Refusals(plan), (std::vector<std::string>{
                                "row 3: Due is not a date as YYYY-MM-DD HH:MM:SS: \"2026-02-30\"",
                                "row 4: Amount \"12,3,4\" is not a number as 1234.56 or 1,234.56",
                                "row 5: Type must be Business, Personal or Income: \"Weekly\"",
                                "row 6: more fields than the header's 5",
                                tooSmall,
                                "row 8: Status must be Paid or Unpaid: \"maybe\"",
                                "row 9: Due is empty",
                                "row 10: the text is not UTF-8",
                            }));
  EXPECT_EQ(plan.dues.size(), 1u);
  EXPECT_EQ(Refusals(Plan("Title,Amount\r\nx,1\r\n")),
            std::vector<std::string>{"row 1: the header names no Due column"});
}

struct SpreadsheetShape {
  const char* locale;
  std::string text;
  std::vector<double> amounts;
  std::vector<OleDateTime> dueDates;
  std::string refusal;  // of the last row
};

// What spreadsheet programs save: the locale's numbers with or without currency and grouping (and
// a plain point decimal, as the list shows amounts), ";" (German) or tab separated, the locale's
// short dates beside ISO ones.
TEST_F(CsvImportTest, SpreadsheetShapesOfEachLocaleAreRead) {
  const OleDateTime christmas = *OleDateTime::FromCivil(2026, 12, 24);
  const OleDateTime evening = *OleDateTime::FromCivil(2026, 12, 24, 18, 30);
  const SpreadsheetShape shapes[] = {
      {"de_DE.UTF-8",
       "Title;Due;Amount\r\nMiete;24.12.2026;312,00\r\nStrom;24.12.2026 18:30;1.234,56\r\n"
       "Gas;2026-12-24;312,00 €\r\nWasser;24.12.26;1234,5\r\nMiete;24.12.2026;1.234\r\n"
       "Post;24.12.2026;7.25\r\nx;24.12.2026;1,234.56\r\n",
       {312, 1234.56, 312, 1234.5, 1234, 7.25},
       {christmas, evening, christmas, christmas, christmas, christmas},
       "row 8: Amount \"1,234.56\" is not a number as 1234.56 or 1.234,56"},
      {"en_US.UTF-8",
       "Title,Due,Amount\r\nRent,12/24/2026,\"1,234.56\"\r\nGas,12/24/2026 18:30,$312.00\r\n"
       "Water,2026-12-24,\"$1,234.56\"\r\nx,12/24/2026,\"12,50\"\r\n",
       {1234.56, 312, 1234.56},
       {christmas, evening, christmas},
       "row 5: Amount \"12,50\" is not a number as 1234.56 or 1,234.56"},
      {"en_GB.UTF-8",
       "Title\tDue\tAmount\r\nRent\t24/12/2026\t\u00a31,234.56\r\nGas\t24/12/26 18:30\t312\r\n"
       "x\t12/24/2026\t1\r\n",
       {1234.56, 312},
       {christmas, evening},
       "row 4: Due is not a date as YYYY-MM-DD HH:MM:SS: \"12/24/2026\""},
      {"fr_FR.UTF-8",
       "Title;Due;Amount\r\nLoyer;24/12/2026;1 234,56\r\nGaz;24/12/2026;\"1\u202f234,56 "
       "\u20ac\"\r\n"
       "x;24/12/2026;12 50\r\n",
       {1234.56, 1234.56},
       {christmas, christmas},
       "row 4: Amount \"12 50\" is not a number as 1234.56 or 1 234,56"},
  };
  for (const SpreadsheetShape& shape : shapes) {
    ASSERT_NE(std::setlocale(LC_ALL, shape.locale), nullptr) << shape.locale;
    const ImportPlan plan = Plan(shape.text);
    ASSERT_EQ(plan.dues.size(), shape.amounts.size()) << shape.locale << ": " << Refusals(plan)[0];
    for (std::size_t i = 0; i < plan.dues.size(); ++i) {
      EXPECT_EQ(plan.dues[i].record.amount, shape.amounts[i]) << shape.locale << " row " << i;
      EXPECT_EQ(plan.dues[i].record.dueDate, shape.dueDates[i]) << shape.locale << " row " << i;
    }
    EXPECT_EQ(Refusals(plan), std::vector<std::string>{shape.refusal}) << shape.locale;
  }
}

// A text that a spreadsheet would take for a formula leaves with an apostrophe and comes back
// without it; notes keep their line ends; export, import and export again give the same bytes.
TEST_F(CsvImportTest, ExportAndImportGiveBackEveryTextExactly) {
  const std::vector<std::string> titles = {"=SUM(1+1)",        "+49 30 1234", "-5",   "@home",
                                           "'=already quoted", "-",           "plain"};
  std::vector<DueRecord> dues;
  for (std::size_t i = 0; i < titles.size(); ++i) {
    DueRecord due = DueRecord::WithDefaults(clock_);
    due.title = titles[i];
    due.dueDate = *OleDateTime::FromCivil(2026, 12, static_cast<int>(i) + 1, 9);
    due.notes = i == 0 ? "=A1\r\nsecond line\r\n\r\nlast" : "";
    due.payTo = i == 1 ? "+Telco" : "Someone";
    dues.push_back(due);
  }
  const std::string exported = RenderCsv(dues);
  for (const char* guarded : {",'=SUM(1+1),", ",'+49 30 1234,", ",'@home,", ",''=already quoted,",
                              ",'-,", ",'+Telco,", "\"'=A1\r\nsecond line\r\n\r\nlast\""}) {
    EXPECT_NE(exported.find(guarded), std::string::npos) << guarded << " in " << exported;
  }
  EXPECT_NE(exported.find(",-5,"), std::string::npos) << "a number is no formula";
  const ImportPlan plan = Plan(exported);
  ASSERT_TRUE(plan.ok()) << Refusals(plan)[0];
  std::vector<DueRecord> imported;
  for (std::size_t i = 0; i < plan.dues.size(); ++i) {
    DueRecord due = plan.dues[i].record;
    due.recordId = dues[i].recordId;
    imported.push_back(due);
    EXPECT_EQ(due.title, titles[i]);
  }
  EXPECT_EQ(imported[0].notes, dues[0].notes);
  EXPECT_EQ(RenderCsv(imported), exported);
}

// The payment columns come back as exported; a file without them (an earlier export) still reads.
TEST_F(CsvImportTest, PaymentDetailsAreReadWhenTheirColumnsArePresent) {
  DueRecord paid = DueRecord::WithDefaults(clock_);
  paid.paid = 1;
  paid.amount = 80;
  paid.paidOn = *OleDateTime::FromCivil(2026, 12, 3, 10, 5);
  paid.paidAmount = 81.37;
  paid.paymentReference = "FITID-9";
  const ImportPlan plan = Plan(RenderCsv({paid}));
  ASSERT_TRUE(plan.ok()) << Refusals(plan)[0];
  EXPECT_EQ(plan.dues[0].record.paidOn, paid.paidOn);
  EXPECT_EQ(plan.dues[0].record.paidAmount, 81.37);
  EXPECT_EQ(plan.dues[0].record.paymentReference, "FITID-9");

  const ImportPlan old = Plan("Due,Status\r\n2026-12-01,Paid\r\n");
  ASSERT_TRUE(old.ok());
  EXPECT_FALSE(old.dues[0].record.paidOn || old.dues[0].record.paidAmount);

  const ImportPlan unpaid = Plan(
      "Due,Status,Paid On,Paid Amount,Reference\r\n"
      "2026-12-01,Unpaid,2026-12-02,5,x\r\n");
  EXPECT_FALSE(unpaid.dues.at(0).record.paidAmount) << "an unpaid due has no payment details";
  EXPECT_TRUE(unpaid.dues[0].record.paymentReference.empty());

  EXPECT_EQ(Refusals(Plan("Due,Status,Paid On,Paid Amount\r\n"
                          "2026-12-01,Paid,yesterday,5\r\n"
                          "2026-12-01,Paid,2026-12-02,five\r\n")),
            (std::vector<std::string>{
                "row 2: Paid On is not a date as YYYY-MM-DD HH:MM:SS: \"yesterday\"",
                "row 3: Amount \"five\" is not a number as 1234.56 or 1,234.56"}));
}

class CsvImportStoreTest : public CsvImportTest {
 protected:
  std::map<std::string, std::string> Folder() const {
    return testing::FolderBytes(scratch_.path() / "Paylark Files");
  }

  testing::ScratchStore scratch_{clock_};
  RecordStore& store_ = scratch_.store();
};

TEST_F(CsvImportStoreTest, RowsSharingASeriesBecomeOneNewSeries) {
  const ImportPlan plan = Plan(
      "Title,Due,Series\n"
      "a1,2026-12-01,A\nsingle,2026-12-02,\nb1,2026-12-03,B\na2,2027-01-01,A\n");
  const auto added = ApplyCsvImport(plan, store_);
  ASSERT_TRUE(added.ok()) << added.status().message();
  ASSERT_EQ(added.value().size(), 4u);
  const auto seriesOf = [&](std::size_t i) { return store_.Get(added.value()[i]).seriesId; };
  EXPECT_FALSE(seriesOf(0).empty());
  EXPECT_EQ(seriesOf(0), seriesOf(3));
  EXPECT_NE(seriesOf(0), seriesOf(2));
  EXPECT_TRUE(seriesOf(1).empty());
  EXPECT_EQ(store_.records().SeriesMembers(seriesOf(0)).size(), 2u);
  EXPECT_EQ(store_.Reload().loaded, 4u);
}

TEST_F(CsvImportStoreTest, AWriteFailingMidwayRemovesWhatTheImportWrote) {
  ASSERT_TRUE(store_.Add(DueRecord::WithDefaults(clock_)).status.ok());
  const auto before = Folder();
  // A file-size limit makes the write of the long third due fail, even for root.
  const ImportPlan plan = Plan("Title,Due,Notes\na,2026-12-01,\nb,2026-12-02,\nc,2026-12-03," +
                               std::string(4000, 'n') + "\nd,2026-12-04,\n");
  ASSERT_TRUE(plan.ok());
  const auto added = [&] {
    const testing::FileSizeLimit limit(2048);
    return ApplyCsvImport(plan, store_);
  }();
  ASSERT_FALSE(added.ok());
  EXPECT_NE(added.status().message().find("The due \"c\" could not be saved"), std::string::npos)
      << added.status().message();
  EXPECT_EQ(store_.map().size(), 1u);
  EXPECT_EQ(Folder(), before);
}

}  // namespace
}  // namespace paylark
