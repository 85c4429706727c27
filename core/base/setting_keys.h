#pragma once

// The per-user settings that the window writes and paylark-cli reads: the organisation and
// application that name the settings file, and the keys inside it.
namespace paylark::settings {

inline constexpr char kOrganization[] = "Velmora";
inline constexpr char kApplication[] = "Paylark";

// The working directory, a path.
inline constexpr char kWorkingDirectory[] = "Directory/Path";
// The synchronisation manager's executable; absent by default.
inline constexpr char kSyncManager[] = "Synchronize/Manager";
// How many backups of the records folder to keep; absent means the default.
inline constexpr char kBackupsKept[] = "Backups/Keep";
// How many days ahead reminders look (0 to 30 in the window); absent means 3.
inline constexpr char kReminderDaysAhead[] = "Reminders/DaysAhead";
// Desktop notifications stay silent until this local time, "YYYY-MM-DDTHH:MM:SS".
inline constexpr char kRemindersSnoozedUntil[] = "Reminders/SnoozedUntil";
// The window's bar state, written at exit and never read.
inline constexpr char kBarState[] = "DueDetailsBarState";

}  // namespace paylark::settings
