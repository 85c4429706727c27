#include "ui/base/app_settings.h"

#include <QSettings>

#include "core/base/setting_keys.h"
#include "core/reminders/reminder_selection.h"

namespace paylark {
namespace {

QSettings Open() {
  return QSettings(QString::fromLatin1(settings::kOrganization),
                   QString::fromLatin1(settings::kApplication));
}

}  // namespace

QString AppSettings::WorkingDirectory() {
  return Open().value(QLatin1String(settings::kWorkingDirectory)).toString();
}

void AppSettings::SetWorkingDirectory(const QString& path) {
  QSettings settings = Open();
  settings.setValue(QLatin1String(settings::kWorkingDirectory), path);
  settings.sync();
}

QString AppSettings::SyncManager() {
  return Open().value(QLatin1String(settings::kSyncManager)).toString();
}

void AppSettings::SaveBarState(const QByteArray& state) {
  QSettings settings = Open();
  settings.setValue(QLatin1String(settings::kBarState), state);
  settings.sync();
}

QString AppSettings::LastExportFolder(const QString& format) {
  return Open().value(QStringLiteral("Exports/Last%1Folder").arg(format)).toString();
}

void AppSettings::SetLastExportFolder(const QString& format, const QString& folder) {
  QSettings settings = Open();
  settings.setValue(QStringLiteral("Exports/Last%1Folder").arg(format), folder);
  settings.sync();
}

int AppSettings::ReminderDaysAhead() {
  bool number = false;
  const int days = Open().value(QString::fromLatin1(settings::kReminderDaysAhead)).toInt(&number);
  return number && days >= 0 && days <= kMaxDaysAhead ? days : kDefaultDaysAhead;
}

void AppSettings::SetReminderDaysAhead(int days) {
  QSettings settings = Open();
  settings.setValue(QString::fromLatin1(settings::kReminderDaysAhead), days);
  settings.sync();
}

}  // namespace paylark
