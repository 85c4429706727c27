#include "ui/shell/help_sync.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "ui/app/app_settings.h"
#include "ui/app/desktop_services.h"

namespace paylark {

QString HelpFilePath() {
  const QString name = QStringLiteral("plkhelp.html");
  const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
  if (QFileInfo::exists(beside))
    return beside;
  const QString installed = QStringLiteral(PAYLARK_DATADIR "/paylark/") + name;
  return QFileInfo::exists(installed) ? installed : beside;
}

void OpenHelp(DesktopServices& desktop) {
  (void)desktop.OpenFile(HelpFilePath());
}

void Synchronize(DesktopServices& desktop) {
  const QString manager = AppSettings::SyncManager();
  if (manager.isEmpty())
    return;
  (void)desktop.StartDetached(manager, {QStringLiteral("/show"), QStringLiteral("/syncnow")});
}

}  // namespace paylark
