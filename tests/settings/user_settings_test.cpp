#include <gtest/gtest.h>

#include <string>

#include "settings/user_settings.h"
#include "tests/cli/cli_runner.h"
#include "tests/settings/stored_settings.h"

namespace paylark::testing {
namespace {

class UserSettingsTest : public ::testing::Test {
 protected:
  void Store(const std::string& text) { StoreSettings(config_, text); }
  std::string ConfigHome() const { return "XDG_CONFIG_HOME=" + config_.path().string(); }

 private:
  ScratchFolder config_;
};

struct NumberCase {
  const char* stored;  // the line under the setting's group, or "" for none
  int expected;
};

void ExpectNumbers(const settings::NumberSetting& setting, const std::string& group,
                   std::initializer_list<NumberCase> cases) {
  for (const NumberCase& each : cases) {
    const ScratchFolder config;
    StoreSettings(config, "[" + group + "]\n" + each.stored + "\n");
    EXPECT_EQ(UserSettings::Read(setting), each.expected) << setting.key << " " << each.stored;
  }
}

TEST_F(UserSettingsTest, NumbersOutsideTheirRangeReadAsTheNearestValidOne) {
  ExpectNumbers(settings::kReminderDaysAhead, "Reminders",
                {{"", 3},
                 {"DaysAhead=5", 5},
                 {"DaysAhead=0", 0},
                 {"DaysAhead=30", 30},
                 {"DaysAhead=45", 30},
                 {"DaysAhead=-2", 0},
                 {"DaysAhead=soon", 3},
                 {"DaysAhead=", 3}});
  ExpectNumbers(settings::kBackupsKept, "Backups",
                {{"", 30}, {"Keep=7", 7}, {"Keep=0", 1}, {"Keep=-4", 1}, {"Keep=5000", 1000}});
}

TEST_F(UserSettingsTest, WritesAreClampedAndReadBack) {
  Store("");
  UserSettings::Write(settings::kReminderDaysAhead, 99);
  EXPECT_EQ(UserSettings::Read(settings::kReminderDaysAhead), 30);
  UserSettings::Write(settings::kKeepCalendarFeed, true);
  EXPECT_TRUE(UserSettings::Read(settings::kKeepCalendarFeed));
  UserSettings::Write(settings::kWorkingDirectory, QStringLiteral("/home/ada/Bills"));
  EXPECT_EQ(UserSettings::Read(settings::kWorkingDirectory), QStringLiteral("/home/ada/Bills"));
  UserSettings::Write(settings::kBarState, QByteArray("\x00\x01state", 7));
  EXPECT_EQ(UserSettings::Read(settings::kBarState), QByteArray("\x00\x01state", 7));
}

TEST_F(UserSettingsTest, TextsAndSwitchesReadAsDeclaredWhenAbsentOrUnreadable) {
  Store("[Calendar]\nKeepFeed=perhaps\n");
  EXPECT_FALSE(UserSettings::Read(settings::kKeepCalendarFeed));
  EXPECT_TRUE(UserSettings::Read(settings::kSyncManager).isEmpty());
  EXPECT_TRUE(UserSettings::Read(settings::kLastPdfFolder).isEmpty());
  EXPECT_TRUE(UserSettings::Read(settings::kBarState).isEmpty());
}

// The window and paylark-cli read the same file through the same declarations: a stored 45 is
// 30 days in both, as in the preferences, the calendar alarms and the reminders.
TEST_F(UserSettingsTest, TheCommandLineReadsWhatTheWindowReads) {
  const TemporaryWorkingDirectory dir;
  Store("[Directory]\nPath=" + dir.path().string() +
        "\n[Reminders]\nDaysAhead=45\nSnoozedUntil=2026-03-02T00:00:00\n");
  EXPECT_EQ(UserSettings::Read(settings::kReminderDaysAhead), 30);
  EXPECT_EQ(UserSettings::Read(settings::kWorkingDirectory),
            QString::fromStdString(dir.path().string()));

  const CliResult remind = RunCli({"remind", "--json"}, {ConfigHome()});
  EXPECT_EQ(remind.exitCode, 0) << remind.err;
  EXPECT_EQ(remind.out.rfind("{\"days\": 30,", 0), 0u) << remind.out;
}

}  // namespace
}  // namespace paylark::testing
