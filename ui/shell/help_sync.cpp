#include "ui/shell/help_sync.h"

#include <QCoreApplication>

#include "core/base/data_folders.h"
#include "ui/base/app_settings.h"
#include "ui/base/desktop_services.h"

namespace paylark {
namespace {

constexpr const char* kManualName = "plkhelp.html";

}  // namespace

QString HelpFilePath() {
  const std::string found = FindDataFile(DataKind::kManual, kManualName);
  if (!found.empty())
    return QString::fromStdString(found);
  return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(kManualName);
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
