#include "ui/shell/help_sync.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "core/base/messages.h"
#include "core/export/data_files.h"
#include "settings/user_settings.h"
#include "ui/base/desktop_services.h"
#include "ui/base/prompt.h"

namespace paylark {
namespace {

constexpr const char* kManualName = "plkhelp.html";

}  // namespace

QString HelpFilePath() {
  const std::string found = FindDataFile(DataKind::kManual, kManualName, SystemFileSystem());
  if (!found.empty())
    return QString::fromStdString(found);
  return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(kManualName);
}

void OpenHelp(DesktopServices& desktop, Prompt& prompt, QWidget* parent, const QString& manual) {
  const auto tell = [&](MessageId id) {
    prompt.Tell(parent,
                QString::fromStdString(MessageText(Message{id, manual.toStdString(), 0, {}})),
                PromptIcon::kWarning);
  };
  if (!QFileInfo::exists(manual)) {
    tell(MessageId::kHelpFileNotFound);
  } else if (!desktop.OpenFile(manual)) {
    tell(MessageId::kHelpViewerMissing);
  }
}

bool StartSyncManager(DesktopServices& desktop) {
  const QString manager = UserSettings::Read(settings::kSyncManager);
  if (manager.isEmpty())
    return false;
  (void)desktop.StartDetached(manager, {QStringLiteral("/show"), QStringLiteral("/syncnow")});
  return true;
}

}  // namespace paylark
