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
#include "tests/support/build_paths.h"

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

using Titles = std::map<std::string, std::size_t>;

// A memory-backed folder where there is one: the test is about processes, not the disk.
fs::path MakeWorkdir() {
  const fs::path base = fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path();
  std::string pattern = (base / "paylark-killed-XXXXXX").string();
  return mkdtemp(pattern.data());
}

class KilledSeriesTest : public ::testing::Test {
 protected:
  // Backups go beside the records, not into the user's own data folder.
  KilledSeriesTest() { setenv("XDG_DATA_HOME", (workdir_ / "data").c_str(), 1); }
  ~KilledSeriesTest() override { fs::remove_all(workdir_); }

  static std::vector<std::string> Series(const std::string& title = "Gym",
                                         const std::string& start = "2030-01-01",
                                         int count = kSeriesLength) {
    return {"series",  "--kind",  "day",
            "--every", "1",       "--start",
            start,     "--count", std::to_string(count),
            "--title", title,     "--amount",
            "5"};
  }

  // Runs paylark-cli to its end; false when it failed.
  bool Run(const std::vector<std::string>& command) const {
    int status = 0;
    const pid_t pid = Start(command);
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

  // Runs the command, which must succeed; gives how many microseconds it took.
  long long TimedRun(const std::vector<std::string>& command) const {
    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(Run(command));
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 started)
        .count();
  }

  // Starts the command and kills it with SIGKILL after the given microseconds; says when.
  std::string KillAfter(const std::string& what, const std::vector<std::string>& command,
                        long long after) const {
    const pid_t pid = Start(command);
    std::this_thread::sleep_for(std::chrono::microseconds(after));
    ::kill(pid, SIGKILL);
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, 0), pid);
    return what + " killed after " + std::to_string(after) + " us";
  }

  // Starts paylark-cli; its output goes nowhere.
  pid_t Start(const std::vector<std::string>& command) const {
    std::vector<std::string> words = {kPaylarkCliPath, "--dir", workdir_.string()};
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

  // Loads the folder as the next process would and hands every due to `visit`; fails the test
  // on a file skipped or a temporary file left behind.
  template <class Visitor>
  void Load(const std::string& moment, Visitor&& visit) const {
    SystemClock clock;
    RecordStore store(clock, workdir_.string(), SystemFileSystem());
    EXPECT_TRUE(store.Reload().skipped.empty()) << moment;
    store.map().ForEach(visit);
    for (const auto& entry : fs::directory_iterator(records_)) {
      // A series ID's claim stays until it is stale; a write's temporary never does.
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(!name.starts_with(".paylark-") || name.starts_with(".paylark-series-recId"))
          << moment << ": " << entry.path();
    }
  }

  // Fails the test on a blank or foreign due or a gap in the series; gives the number of dues.
  std::size_t LoadSeries(const std::string& moment) const {
    std::set<std::int64_t> days;
    std::size_t count = 0;
    Load(moment, [&](const DueRecord& due) {
      EXPECT_EQ(due.title, "Gym") << moment;
      EXPECT_EQ(due.amount, 5) << moment;
      days.insert(due.startDate.LinearSeconds() / 86400);
      ++count;
    });
    if (!days.empty()) {
      EXPECT_EQ(*days.begin(), OleDateTime::FromCivil(2030, 1, 1)->LinearSeconds() / 86400);
      EXPECT_EQ(static_cast<std::size_t>(*days.rbegin() - *days.begin() + 1), days.size())
          << moment << ": not a prefix of the series";
    }
    return count;
  }

  // The dues' titles and how many carry each.
  Titles LoadTitles(const std::string& moment) const {
    Titles titles;
    Load(moment, [&](const DueRecord& due) { ++titles[due.title]; });
    return titles;
  }

  // The IDs of the folder's dues, in byte order.
  std::vector<std::string> DueIds() const {
    std::vector<std::string> ids;
    Load("before the kills", [&](const DueRecord& due) { ids.push_back(due.recordId); });
    std::sort(ids.begin(), ids.end());
    return ids;
  }

  // A series of the restores' size, `attached` of its dues with a file of their own, backed up.
  void MakeSide(const std::string& title, const std::string& start, int attached,
                const std::string& zip) const {
    ASSERT_TRUE(Run(Series(title, start, kRestoredDues)));
    for (int n = 0; n < attached; ++n) {
      const fs::path file = workdir_ / (title + std::to_string(n) + ".pdf");
      std::ofstream(file, std::ios::binary)
          << std::string(kAttachmentBytes, char('a' + n)) << title;
      ASSERT_TRUE(Run({"attach", DueIds()[static_cast<std::size_t>(n) * 7], file.string()}));
    }
    ASSERT_TRUE(Run({"backup", "--output", zip}));
  }

  void Empty() const {
    for (const auto& entry : fs::directory_iterator(records_))
      fs::remove(entry.path());
  }

  const fs::path workdir_ = MakeWorkdir();
  const fs::path records_ = workdir_ / "Paylark Files";
  const std::string newZip_ = (workdir_ / "new.zip").string();
  const std::string oldZip_ = (workdir_ / "old.zip").string();
  const Titles oldDues_{{"Old", kRestoredDues}};
  const Titles newDues_{{"New", kRestoredDues}};
};

TEST_F(KilledSeriesTest, AKillAtAnyMomentLeavesCompleteDuesOrNone) {
  std::uniform_int_distribution<long long> moment(0, TimedRun(Series()));
  ASSERT_EQ(LoadSeries("uninterrupted"), static_cast<std::size_t>(kSeriesLength));

  std::mt19937 random(20261205);
  for (int kill = 0; kill < kKills; ++kill) {
    Empty();
    const std::string described = KillAfter("series", Series(), moment(random));
    const std::size_t loaded = LoadSeries(described);
    std::cout << described << ": " << loaded << " dues\n";
  }
}

TEST_F(KilledSeriesTest, AKillDuringARestoreLeavesTheOldOrTheNewDuesWhole) {
  MakeSide("New", "2030-01-01", 0, newZip_);
  Empty();
  MakeSide("Old", "2031-01-01", 0, oldZip_);
  std::uniform_int_distribution<long long> moment(0, TimedRun({"restore", newZip_}));
  ASSERT_EQ(LoadTitles("uninterrupted"), newDues_);
  ASSERT_TRUE(Run({"restore", oldZip_}));

  std::mt19937 random(20261206);
  int oldWhole = 0;
  int newWhole = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    const std::string described = KillAfter("restore", {"restore", newZip_}, moment(random));
    const Titles titles = LoadTitles(described);
    EXPECT_TRUE(titles == oldDues_ || titles == newDues_) << described;
    oldWhole += titles == oldDues_;
    newWhole += titles == newDues_;
    std::cout << described << ": " << (titles == newDues_ ? "new" : "old") << " dues\n";
    if (titles != oldDues_) {
      ASSERT_TRUE(Run({"restore", oldZip_}));
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
  MakeSide("New", "2030-01-01", kAttachedDues, newZip_);
  const auto newFiles = AttachmentsIn(records_);
  ASSERT_EQ(newFiles.size(), static_cast<std::size_t>(kAttachedDues));
  fs::remove_all(records_);
  MakeSide("Old", "2031-01-01", kAttachedDues, oldZip_);
  const auto oldFiles = AttachmentsIn(records_);
  const long long whole = TimedRun({"restore", newZip_});
  ASSERT_EQ(LoadTitles("uninterrupted"), newDues_);
  ASSERT_EQ(AttachmentsIn(records_), newFiles);
  ASSERT_TRUE(Run({"restore", oldZip_}));
  ASSERT_EQ(AttachmentsIn(records_), oldFiles);

  // The swap comes last, after the attachments are unpacked and the dues backed up: the kills
  // fall in the second half, where the swap is.
  std::mt19937 random(20261208);
  std::uniform_int_distribution<long long> moment(whole / 2, whole);
  int oldWhole = 0;
  int newWhole = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    const std::string described = KillAfter("restore", {"restore", newZip_}, moment(random));
    ASSERT_TRUE(Run({"list"})) << described;  // the next start
    const Titles titles = LoadTitles(described);
    const auto attachments = AttachmentsIn(records_);
    const bool old = titles == oldDues_ && attachments == oldFiles;
    const bool restored = titles == newDues_ && attachments == newFiles;
    EXPECT_TRUE(old || restored) << described;
    oldWhole += old;
    newWhole += restored;
    std::cout << described << ": "
              << (restored ? "new"
                  : old    ? "old"
                           : "mixed")
              << " dues and attachments\n";
    if (!old) {
      ASSERT_TRUE(Run({"restore", oldZip_}));
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
  const fs::path temporary = workdir_ / "tmp";  // where LibOFX writes its copies
  fs::create_directories(temporary);
  setenv("TMPDIR", temporary.c_str(), 1);
  const fs::path statement = workdir_ / "statement.ofx";
  WriteStatement(statement);
  const std::vector<std::string> import = {"import",    "statement", statement.string(),
                                           "--account", "Checking",  "--add-unmatched"};
  std::uniform_int_distribution<long long> moment(0, TimedRun(import));
  const Titles whole{{"Gym", kStatementTransactions}};
  ASSERT_EQ(LoadTitles("uninterrupted"), whole);

  std::mt19937 random(20261207);
  int none = 0;
  int all = 0;
  int leftCopies = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    Empty();
    const std::string described = KillAfter("import", import, moment(random));
    const Titles titles = LoadTitles(described);
    EXPECT_TRUE(titles.empty() || titles == whole) << described;
    std::size_t balances = 0;
    for (const auto& entry : fs::directory_iterator(records_))
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
