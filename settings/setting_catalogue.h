#pragma once

#include <algorithm>

#include "core/reminders/reminder_selection.h"
#include "core/statements/statement_matching.h"
#include "core/sync/backups.h"

// Every per-user setting that the window and paylark-cli share, declared once: its key in the
// settings file, its type, its default and the values it may take. Read and write them only
// through UserSettings (settings/user_settings.h).
namespace paylark::settings {

// The organisation and application that name the settings file
// (~/.config/Velmora/Paylark.conf).
inline constexpr char kOrganization[] = "Velmora";
inline constexpr char kApplication[] = "Paylark";

// A whole number from minimum to maximum. An absent or unreadable value reads as the default;
// a stored value outside the range reads as the nearest valid one.
struct NumberSetting {
  const char* key;
  int fallback;
  int minimum;
  int maximum;

  [[nodiscard]] constexpr int Nearest(long long stored) const {
    return static_cast<int>(std::clamp<long long>(stored, minimum, maximum));
  }
};

// A text (a path, a program, a date and time); absent reads as empty.
struct TextSetting {
  const char* key;
};

// On or off; absent or unreadable reads as the default.
struct SwitchSetting {
  const char* key;
  bool fallback;
};

// Opaque bytes that the window writes for itself; absent reads as empty.
struct BytesSetting {
  const char* key;
};

// The working directory, a path.
inline constexpr TextSetting kWorkingDirectory{"Directory/Path"};
// The synchronisation manager's executable; absent by default.
inline constexpr TextSetting kSyncManager{"Synchronize/Manager"};
// How many backups of the records folder are kept.
inline constexpr NumberSetting kBackupsKept{"Backups/Keep", kDefaultBackupsKept, 1, 1000};
// How many days ahead reminders, the calendar feed's alarms and the calendar export look.
inline constexpr NumberSetting kReminderDaysAhead{"Reminders/DaysAhead", kDefaultDaysAhead, 0,
                                                  kMaxDaysAhead};
// Desktop notifications stay silent until this local time, "YYYY-MM-DDTHH:MM:SS".
inline constexpr TextSetting kRemindersSnoozedUntil{"Reminders/SnoozedUntil"};
// Whether the calendar feed in the working directory is kept up to date.
inline constexpr SwitchSetting kKeepCalendarFeed{"Calendar/KeepFeed", false};
// Whether the window keeps a CalDAV calendar in step with the dues after every change.
inline constexpr SwitchSetting kKeepCalDav{"Calendar/KeepCalDav", false};
// The CalDAV collection's URL, or a server's to find the user's calendar on.
inline constexpr TextSetting kCalDavUrl{"Calendar/CalDavUrl"};
inline constexpr TextSetting kCalDavUser{"Calendar/CalDavUser"};
// A file holding the password (mode 0600), where no secret service runs; the password itself is
// never a setting.
inline constexpr TextSetting kCalDavPasswordFile{"Calendar/CalDavPasswordFile"};
// The last sync's local time and its result, "YYYY-MM-DDTHH:MM:SS<TAB>result".
inline constexpr TextSetting kCalDavLastSync{"Calendar/CalDavLastSync"};
// An ntfy topic URL or a Gotify /message URL that reminders are posted to as well.
inline constexpr TextSetting kPushUrl{"Reminders/PushUrl"};
// A file holding the push token (mode 0600), where no secret service runs.
inline constexpr TextSetting kPushTokenFile{"Reminders/PushTokenFile"};
// The forecast warns when an account's balance would fall below this many whole units.
inline constexpr NumberSetting kForecastWarnBelow{"Forecast/WarnBelow", 0, -1000000000, 1000000000};
// What the forecast counts for unpaid members of a series whose paid amounts vary: "amount",
// "last", "median" (of the last six paid, the default) or "highest"; another word reads as the
// default (core/forecast/estimate.h).
inline constexpr TextSetting kForecastEstimate{"Forecast/Estimate"};
// A bank statement's booking matches a due this many days before or after its due date.
inline constexpr NumberSetting kStatementDaysBefore{"Statements/DaysBefore",
                                                    MatchOptions{}.daysBefore, 0, 60};
inline constexpr NumberSetting kStatementDaysAfter{"Statements/DaysAfter", MatchOptions{}.daysAfter,
                                                   0, 60};
// How far a booking's amount may differ from the due's, in tenths of a percent (75: 7.5%).
inline constexpr NumberSetting kStatementTolerance{"Statements/Tolerance", 75, 0, 500};
// The columns chosen for each bank CSV header line, one "<columns>\t<header line>" a line, the
// columns as `import statement --columns` takes them.
inline constexpr TextSetting kBankCsvColumns{"Statements/CsvColumns"};
// The Paylark account each bank CSV header line was last imported to, one "<account>\t<header
// line>" a line: a bank's CSV names no account of its own.
inline constexpr TextSetting kBankCsvAccounts{"Statements/CsvAccounts"};
// A bill that names no due date (a payment code never does) falls due this many days after it
// is read.
inline constexpr NumberSetting kBillDaysToPay{"Bills/DaysToPay", 14, 0, 365};
// The folder each kind of export was last saved in; the Save As dialog opens there.
inline constexpr TextSetting kLastHtmlFolder{"Exports/LastHtmlFolder"};
inline constexpr TextSetting kLastPdfFolder{"Exports/LastPdfFolder"};
inline constexpr TextSetting kLastCalendarFolder{"Exports/LastIcsFolder"};
inline constexpr TextSetting kLastCsvFolder{"Exports/LastCsvFolder"};
// The window's bar state, written at exit.
inline constexpr BytesSetting kBarState{"DueDetailsBarState"};

}  // namespace paylark::settings
