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
// The window's bar state, written at exit and never read.
inline constexpr char kBarState[] = "DueDetailsBarState";

}  // namespace paylark::settings
