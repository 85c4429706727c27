#include "ui/base/app_settings.h"

#include <QSettings>

namespace paylark {
namespace {

QSettings Open() {
  return QSettings(QStringLiteral("Velmora"), QStringLiteral("Paylark"));
}

}  // namespace

QString AppSettings::WorkingDirectory() {
  return Open().value(QStringLiteral("Directory/Path")).toString();
}

void AppSettings::SetWorkingDirectory(const QString& path) {
  QSettings settings = Open();
  settings.setValue(QStringLiteral("Directory/Path"), path);
  settings.sync();
}

QString AppSettings::SyncManager() {
  return Open().value(QStringLiteral("Synchronize/Manager")).toString();
}

void AppSettings::SaveBarState(const QByteArray& state) {
  QSettings settings = Open();
  settings.setValue(QStringLiteral("DueDetailsBarState"), state);
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

}  // namespace paylark
