// kill -9 a 10,000-due series at random moments: whatever the moment, the next load finds
// complete dues of the series (a prefix of it) or none, and no temporary file. The same for a
// restore of 2,000 dues over 2,000 others: the next load finds the old set or the new one, whole.
// The restore once more with attachments: the old dues with the old attachments or the new with
// the new. And for an import of a statement of 3,000 transactions: all of it or none, balance
// included, and none of LibOFX's copies of the statement left in the temporary folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/records/record_store.h"

extern char** environ;

namespace paylark {
namespace {

namespace fs = std::filesystem;

constexpr int kSeriesLength = 10000;
constexpr int kKills = 20;
constexpr int kRestoredDues = 2000;
constexpr int kStatementTransactions = 3000;
constexpr int kAttachedDues = 12;
constexpr int kAttachmentBytes = 4 << 20;

class KilledSeriesTest : public ::testing::Test {
 protected:
  KilledSeriesTest() {
    // A memory-backed folder where there is one: the test is about processes, not the disk.
    const fs::path base = fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path();
    std::string pattern = (base / "paylark-killed-XXXXXX").string();
    workdir_ = mkdtemp(pattern.data());
  }
  ~KilledSeriesTest() override { fs::remove_all(workdir_); }

  static std::vector<std::string> Series() {
    return {"series",     "--kind",  "day",
            "--every",    "1",       "--start",
            "2030-01-01", "--count", std::to_string(kSeriesLength),
            "--title",    "Gym",     "--amount",
            "5"};
  }

  // Runs paylark-cli to its end; false when it failed.
  bool Run(const std::vector<std::string>& command) const {
    int status = 0;
    const pid_t pid = Start(command);
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

  // Starts the command and kills it with SIGKILL after the given time.
  void KillAfter(const std::vector<std::string>& command, std::chrono::microseconds after) const {
    const pid_t pid = Start(command);
    std::this_thread::sleep_for(after);
    ::kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
  }

  // Starts paylark-cli; its output goes nowhere.
  pid_t Start(const std::vector<std::string>& command) const {
    std::vector<std::string> words = {PAYLARK_CLI_PATH, "--dir", workdir_.string()};
    words.insert(words.end(), command.begin(), command.end());
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (auto& word : words)
      argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  }

  // Loads the folder as the next process would; fails the test on a blank or foreign due, a
  // gap in the series, or a temporary file left behind. Gives the number of dues.
  std::size_t LoadAndCheck(const std::string& moment) {
    SystemClock clock;
    RecordStore store(clock, workdir_.string(), SystemFileSystem());
    const ReloadReport report = store.Reload();
    EXPECT_TRUE(report.skipped.empty()) << moment;
    std::set<std::int64_t> days;
    store.map().ForEach([&](const DueRecord& due) {
      EXPECT_EQ(due.title, "Gym") << moment;
      EXPECT_EQ(due.amount, 5) << moment;
      days.insert(due.startDate.LinearSeconds() / 86400);
    });
    if (!days.empty()) {
      EXPECT_EQ(*days.begin(), OleDateTime::FromCivil(2030, 1, 1)->LinearSeconds() / 86400);
      EXPECT_EQ(static_cast<std::size_t>(*days.rbegin() - *days.begin() + 1), days.size())
          << moment << ": not a prefix of the series";
    }
    ExpectNoTemporaryFile(moment);
    return store.map().size();
  }

  void ExpectNoTemporaryFile(const std::string& moment) const {
    for (const auto& entry : fs::directory_iterator(workdir_ / "Paylark Files")) {
      // A series ID's claim stays until it is stale; a write's temporary never does.
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(!name.starts_with(".paylark-") || name.starts_with(".paylark-series-recId"))
          << moment << ": " << entry.path();
    }
  }

  // Loads the folder as the next process would: the dues' titles and how many carry each, after
  // checking that no file is skipped and no temporary file is left.
  std::map<std::string, std::size_t> LoadTitles(const std::string& moment) {
    SystemClock clock;
    RecordStore store(clock, workdir_.string(), SystemFileSystem());
    const ReloadReport report = store.Reload();
    EXPECT_TRUE(report.skipped.empty()) << moment;
    std::map<std::string, std::size_t> titles;
    store.map().ForEach([&](const DueRecord& due) { ++titles[due.title]; });
    ExpectNoTemporaryFile(moment);
    return titles;
  }

  // The IDs of the folder's dues, in byte order.
  std::vector<std::string> DueIds() const {
    SystemClock clock;
    RecordStore store(clock, workdir_.string(), SystemFileSystem());
    (void)store.Reload();
    std::vector<std::string> ids;
    store.map().ForEach([&](const DueRecord& due) { ids.push_back(due.recordId); });
    std::sort(ids.begin(), ids.end());
    return ids;
  }

  void Empty() const {
    for (const auto& entry : fs::directory_iterator(workdir_ / "Paylark Files"))
      fs::remove(entry.path());
  }

  fs::path workdir_;
};

TEST_F(KilledSeriesTest, AKillAtAnyMomentLeavesCompleteDuesOrNone) {
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(Run(Series()));
  const auto fullRun = std::chrono::steady_clock::now() - started;
  ASSERT_EQ(LoadAndCheck("uninterrupted"), static_cast<std::size_t>(kSeriesLength));

  std::mt19937 random(20261205);
  std::uniform_int_distribution<long long> moment(
      0, std::chrono::duration_cast<std::chrono::microseconds>(fullRun).count());
  for (int kill = 0; kill < kKills; ++kill) {
    Empty();
    const std::chrono::microseconds after(moment(random));
    KillAfter(Series(), after);
    const std::string described = "killed after " + std::to_string(after.count()) + " us";
    const std::size_t loaded = LoadAndCheck(described);
    std::cout << described << ": " << loaded << " dues\n";
  }
}

TEST_F(KilledSeriesTest, AKillDuringARestoreLeavesTheOldOrTheNewDuesWhole) {
  setenv("XDG_DATA_HOME", (workdir_ / "data").c_str(), 1);  // the restores' own backups
  const std::string newZip = (workdir_ / "new.zip").string();
  const std::string oldZip = (workdir_ / "old.zip").string();
  const std::string count = std::to_string(kRestoredDues);
  ASSERT_TRUE(Run({"series", "--kind", "day", "--every", "1", "--start", "2030-01-01", "--count",
                   count, "--title", "New", "--amount", "5"}));
  ASSERT_TRUE(Run({"backup", "--output", newZip}));
  Empty();
  ASSERT_TRUE(Run({"series", "--kind", "day", "--every", "1", "--start", "2031-01-01", "--count",
                   count, "--title", "Old", "--amount", "5"}));
  ASSERT_TRUE(Run({"backup", "--output", oldZip}));
  const std::map<std::string, std::size_t> oldSet{{"Old", kRestoredDues}};
  const std::map<std::string, std::size_t> newSet{{"New", kRestoredDues}};

  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(Run({"restore", newZip}));
  const auto fullRun = std::chrono::steady_clock::now() - started;
  ASSERT_EQ(LoadTitles("uninterrupted"), newSet);
  ASSERT_TRUE(Run({"restore", oldZip}));

  std::mt19937 random(20261206);
  std::uniform_int_distribution<long long> moment(
      0, std::chrono::duration_cast<std::chrono::microseconds>(fullRun).count());
  int oldWhole = 0;
  int newWhole = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    const std::chrono::microseconds after(moment(random));
    KillAfter({"restore", newZip}, after);
    const std::string described = "restore killed after " + std::to_string(after.count()) + " us";
    const std::map<std::string, std::size_t> titles = LoadTitles(described);
    EXPECT_TRUE(titles == oldSet || titles == newSet) << described;
    oldWhole += titles == oldSet;
    newWhole += titles == newSet;
    std::cout << described << ": " << (titles == newSet ? "new" : "old") << " dues\n";
    if (titles != oldSet) {
      ASSERT_TRUE(Run({"restore", oldZip}));
    }
  }
  std::cout << "restore_kills " << kKills << "\nrestore_kills_left_old_whole " << oldWhole
            << "\nrestore_kills_left_new_whole " << newWhole << '\n';
}

// The attachments under "Paylark Files/Attachments", by record ID and name, and whatever else is
// there (a restore's staged or set-aside files) under "?".
std::map<std::pair<std::string, std::string>, std::string> AttachmentsIn(const fs::path& records) {
  std::map<std::pair<std::string, std::string>, std::string> found;
  const fs::path folder = records / "Attachments";
  if (!fs::is_directory(folder))
    return found;
  for (const auto& due : fs::directory_iterator(folder)) {
    const std::string id = due.path().filename().string();
    if (id.starts_with(".")) {
      found[{"?", id}] = "";
      continue;
    }
    for (const auto& file : fs::directory_iterator(due.path())) {
      std::ifstream in(file.path(), std::ios::binary);
      found[{id, file.path().filename().string()}] =
          std::string(std::istreambuf_iterator<char>(in), {});
    }
  }
  return found;
}

TEST_F(KilledSeriesTest, AKillDuringARestoreKeepsTheAttachmentsWithTheirDues) {
  setenv("XDG_DATA_HOME", (workdir_ / "data").c_str(), 1);  // the restores' own backups
  const fs::path records = workdir_ / "Paylark Files";
  const std::string newZip = (workdir_ / "new.zip").string();
  const std::string oldZip = (workdir_ / "old.zip").string();
  const auto makeSide = [&](const std::string& title, const std::string& start,
                            const std::string& zip) {
    ASSERT_TRUE(Run({"series", "--kind", "day", "--every", "1", "--start", start, "--count",
                     std::to_string(kRestoredDues), "--title", title, "--amount", "5"}));
    for (int n = 0; n < kAttachedDues; ++n) {
      const fs::path file = workdir_ / (title + std::to_string(n) + ".pdf");
      std::ofstream(file, std::ios::binary)
          << std::string(kAttachmentBytes, char('a' + n)) << title;
      ASSERT_TRUE(Run({"attach", DueIds()[static_cast<std::size_t>(n) * 7], file.string()}));
    }
    ASSERT_TRUE(Run({"backup", "--output", zip}));
  };
  makeSide("New", "2030-01-01", newZip);
  const auto newFiles = AttachmentsIn(records);
  ASSERT_EQ(newFiles.size(), static_cast<std::size_t>(kAttachedDues));
  fs::remove_all(records);
  makeSide("Old", "2031-01-01", oldZip);
  const auto oldFiles = AttachmentsIn(records);
  const std::map<std::string, std::size_t> oldSet{{"Old", kRestoredDues}};
  const std::map<std::string, std::size_t> newSet{{"New", kRestoredDues}};

  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(Run({"restore", newZip}));
  const auto fullRun = std::chrono::steady_clock::now() - started;
  ASSERT_EQ(LoadTitles("uninterrupted"), newSet);
  ASSERT_EQ(AttachmentsIn(records), newFiles);
  ASSERT_TRUE(Run({"restore", oldZip}));
  ASSERT_EQ(AttachmentsIn(records), oldFiles);

  // The swap comes last, after the attachments are unpacked and the dues backed up: the kills
  // fall in the second half, where the swap is.
  std::mt19937 random(20261208);
  const long long whole = std::chrono::duration_cast<std::chrono::microseconds>(fullRun).count();
  std::uniform_int_distribution<long long> moment(whole / 2, whole);
  int oldWhole = 0;
  int newWhole = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    const std::chrono::microseconds after(moment(random));
    KillAfter({"restore", newZip}, after);
    const std::string described = "restore killed after " + std::to_string(after.count()) + " us";
    ASSERT_TRUE(Run({"list"})) << described;  // the next start
    const std::map<std::string, std::size_t> titles = LoadTitles(described);
    const auto attachments = AttachmentsIn(records);
    const bool old = titles == oldSet && attachments == oldFiles;
    const bool restored = titles == newSet && attachments == newFiles;
    EXPECT_TRUE(old || restored) << described;
    oldWhole += old;
    newWhole += restored;
    std::cout << described << ": "
              << (restored ? "new"
                  : old    ? "old"
                           : "mixed")
              << " dues and attachments\n";
    if (!old) {
      ASSERT_TRUE(Run({"restore", oldZip}));
    }
  }
  std::cout << "restore_attachment_kills " << kKills << "\nrestore_attachment_kills_left_old_whole "
            << oldWhole << "\nrestore_attachment_kills_left_new_whole " << newWhole << '\n';
}

// An OFX statement of 3,000 card payments, one a day from 2030-01-01, and a closing balance.
void WriteStatement(const fs::path& path) {
  std::ofstream out(path, std::ios::binary);
  out << "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\n\r\n<OFX><BANKMSGSRSV1><STMTTRNRS>"
         "<STMTRS><CURDEF>EUR<BANKACCTFROM><BANKID>1<ACCTID>4711<ACCTTYPE>CHECKING"
         "</BANKACCTFROM><BANKTRANLIST>";
  for (int day = 0; day < kStatementTransactions; ++day) {
    const OleDateTime date(OleDateTime::FromCivil(2030, 1, 1)->value() + day);
    const CivilDateTime civil = date.ToCivil();
    char posted[16];
    std::snprintf(posted, sizeof posted, "%04d%02d%02d", civil.year, civil.month, civil.day);
    out << "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>" << posted << "<TRNAMT>-5.00<FITID>K" << day
        << "<NAME>Gym</STMTTRN>";
  }
  out << "</BANKTRANLIST><LEDGERBAL><BALAMT>100.00<DTASOF>20380320</LEDGERBAL></STMTRS>"
         "</STMTTRNRS></BANKMSGSRSV1></OFX>\r\n";
}

TEST_F(KilledSeriesTest, AKillDuringAStatementImportLeavesAllOfItOrNone) {
  setenv("XDG_DATA_HOME", (workdir_ / "data").c_str(), 1);  // the import's own backup
  const fs::path temporary = workdir_ / "tmp";              // where LibOFX writes its copies
  fs::create_directories(temporary);
  setenv("TMPDIR", temporary.c_str(), 1);
  const fs::path statement = workdir_ / "statement.ofx";
  WriteStatement(statement);
  const std::vector<std::string> import = {"import",    "statement", statement.string(),
                                           "--account", "Checking",  "--add-unmatched"};
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(Run(import));
  const auto fullRun = std::chrono::steady_clock::now() - started;
  const std::map<std::string, std::size_t> whole{{"Gym", kStatementTransactions}};
  ASSERT_EQ(LoadTitles("uninterrupted"), whole);

  std::mt19937 random(20261207);
  std::uniform_int_distribution<long long> moment(
      0, std::chrono::duration_cast<std::chrono::microseconds>(fullRun).count());
  int none = 0;
  int all = 0;
  int leftCopies = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    Empty();
    const std::chrono::microseconds after(moment(random));
    KillAfter(import, after);
    const std::string described = "import killed after " + std::to_string(after.count()) + " us";
    const std::map<std::string, std::size_t> titles = LoadTitles(described);
    EXPECT_TRUE(titles.empty() || titles == whole) << described;
    std::size_t balances = 0;
    for (const auto& entry : fs::directory_iterator(workdir_ / "Paylark Files"))
      balances += entry.path().extension() == ".bal";
    EXPECT_EQ(balances, titles.empty() ? 0u : 1u) << described;
    (titles.empty() ? none : all) += 1;
    std::cout << described << ": " << (titles.empty() ? "none" : "all") << "\n";
    leftCopies += !fs::is_empty(temporary);
  }
  // The next read removes what the killed ones left, and leaves nothing of its own.
  Empty();
  ASSERT_TRUE(Run(import));
  EXPECT_TRUE(fs::is_empty(temporary));
  std::cout << "import_kills " << kKills << "\nimport_kills_left_none " << none
            << "\nimport_kills_left_all " << all << "\nimport_kills_left_libofx_copies "
            << leftCopies << '\n';
}

}  // namespace
}  // namespace paylark
