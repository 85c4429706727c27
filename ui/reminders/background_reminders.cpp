#include "ui/reminders/background_reminders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "ui/base/desktop_services.h"

namespace paylark {
namespace {

const QString kTimer = QStringLiteral("paylark-remind.timer");

// paylark-cli beside the window when it is there (a build tree, a portable copy), else the one
// on the PATH.
QString CommandLineProgram() {
  const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/paylark-cli");
  if (!QFileInfo(beside).isExecutable())
    return QStringLiteral("paylark-cli");
  return beside.contains(QLatin1Char(' ')) ? QLatin1Char('"') + beside + QLatin1Char('"') : beside;
}

}  // namespace

QString BackgroundReminders::AutostartPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/autostart/org.paylark.Paylark-remind.desktop");
}

int BackgroundReminders::RunSystemctl(const QString& verb, const QString& option) const {
  QStringList arguments = {QStringLiteral("--user"), verb};
  if (!option.isEmpty())
    arguments << option;
  arguments << kTimer;
  return desktop_.RunProgram(QStringLiteral("systemctl"), arguments);
}

bool BackgroundReminders::IsOn() const {
  return QFileInfo::exists(AutostartPath()) ||
         RunSystemctl(QStringLiteral("is-enabled"), QStringLiteral("--quiet")) == 0;
}

bool BackgroundReminders::TurnOn() {
  if (RunSystemctl(QStringLiteral("enable"), QStringLiteral("--now")) == 0)
    return true;
  return WriteAutostartEntry();
}

void BackgroundReminders::TurnOff() {
  (void)RunSystemctl(QStringLiteral("disable"), QStringLiteral("--now"));
  QFile::remove(AutostartPath());
}

bool BackgroundReminders::WriteAutostartEntry() const {
  const QString path = AutostartPath();
  if (!QDir().mkpath(QFileInfo(path).path()))
    return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return false;
  const QString entry = QStringLiteral(
                            "[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name=Paylark reminders\n"
                            "Comment=Tells you about dues that are overdue or due soon\n"
                            "Exec=%1 remind --notify\n"
                            "Icon=org.paylark.Paylark\n"
                            "NoDisplay=true\n"
                            "X-GNOME-Autostart-enabled=true\n")
                            .arg(CommandLineProgram());
  file.write(entry.toUtf8());
  return file.commit();
}

}  // namespace paylark
