#pragma once

#include <QByteArray>
#include <QString>

namespace paylark {

// The window's per-user settings (core/base/setting_keys.h): the working directory, the
// synchronisation manager and the bar state written at exit. A missing entry reads as empty.
class AppSettings final {
 public:
  static QString WorkingDirectory();
  static void SetWorkingDirectory(const QString& path);
  static QString SyncManager();
  static void SaveBarState(const QByteArray& state);
  // The folder the last export of a format ("Html", "Pdf") was saved in:
  // Exports/Last<format>Folder.
  static QString LastExportFolder(const QString& format);
  static void SetLastExportFolder(const QString& format, const QString& folder);
  // Reminders/DaysAhead: 0 to 30, 3 when absent or out of range.
  static int ReminderDaysAhead();
  static void SetReminderDaysAhead(int days);
};

}  // namespace paylark
