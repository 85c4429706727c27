#include "core/exchange/csv_import.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <clocale>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace paylark {
namespace {

namespace fs = std::filesystem;

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
  EXPECT_EQ(Refusals(plan), (std::vector<std::string>{
                                "row 3: Due is not a date as YYYY-MM-DD HH:MM:SS: \"2026-02-30\"",
                                "row 4: Amount \"12,3,4\": Please enter a number.",
                                "row 5: Type must be Business or Personal: \"Weekly\"",
                                "row 6: more fields than the header's 5",
                                "row 7: Amount \"-1\": Please enter a number between 0 and 1e+18.",
                                "row 8: Status must be Paid or Unpaid: \"maybe\"",
                                "row 9: Due is empty",
                                "row 10: the text is not UTF-8",
                            }));
  EXPECT_EQ(plan.dues.size(), 1u);
  EXPECT_EQ(Refusals(Plan("Title,Amount\r\nx,1\r\n")),
            std::vector<std::string>{"row 1: the header names no Due column"});
}

TEST_F(CsvImportTest, AmountsAreReadAsTheListShowsThemUnderTheLocale) {
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
  std::setlocale(LC_NUMERIC, "C");
  const ImportPlan plan = Plan("Due,Amount\n2026-12-01,\"1.234,50 €\"\n2026-12-01,7.25\n");
  ASSERT_TRUE(plan.ok()) << Refusals(plan)[0];
  EXPECT_EQ(plan.dues[0].record.amount, 1234.5);
  EXPECT_EQ(plan.dues[1].record.amount, 7.25);
}

class CsvImportStoreTest : public CsvImportTest {
 protected:
  void SetUp() override {
    CsvImportTest::SetUp();
    std::string pattern = (fs::temp_directory_path() / "paylark-import-XXXXXX").string();
    workdir_ = mkdtemp(pattern.data());
    store_.SetWorkingDirectory(workdir_.string());
    store_.SetDurability(Durability::kUnsynced);
    (void)store_.Reload();
  }
  void TearDown() override {
    fs::remove_all(workdir_);
    CsvImportTest::TearDown();
  }

  std::map<std::string, std::string> Folder() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(workdir_ / "Paylark Files")) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      files[entry.path().filename().string()] = bytes.str();
    }
    return files;
  }

  fs::path workdir_;
  RecordStore store_{clock_, ""};
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
  EXPECT_EQ(store_.SeriesMembers(seriesOf(0)).size(), 2u);
  EXPECT_EQ(store_.Reload().loaded, 4u);
}

TEST_F(CsvImportStoreTest, AWriteFailingMidwayRemovesWhatTheImportWrote) {
  ASSERT_TRUE(store_.Add(DueRecord::WithDefaults(clock_)).status.ok());
  const auto before = Folder();
  // A file-size limit makes the write of the long third due fail, even for root.
  const ImportPlan plan = Plan("Title,Due,Notes\na,2026-12-01,\nb,2026-12-02,\nc,2026-12-03," +
                               std::string(4000, 'n') + "\nd,2026-12-04,\n");
  ASSERT_TRUE(plan.ok());
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit = saved;
  limit.rlim_cur = 2048;
  setrlimit(RLIMIT_FSIZE, &limit);
  const auto added = ApplyCsvImport(plan, store_);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  ASSERT_FALSE(added.ok());
  EXPECT_NE(added.status().message().find("The due \"c\" could not be saved"), std::string::npos)
      << added.status().message();
  EXPECT_EQ(store_.size(), 1u);
  EXPECT_EQ(Folder(), before);
}

}  // namespace
}  // namespace paylark
