#include "ui/sync/restore_flow.h"

#include <QFileInfo>
#include <QInputDialog>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "core/base/format.h"
#include "core/base/messages.h"
#include "core/sync/backups.h"
#include "core/sync/file_name_times.h"
#include "settings/user_settings.h"
#include "ui/base/paylark_app.h"
#include "ui/sync/empty_restore_question.h"

namespace paylark {
namespace {

QString Text(const Message& message) {
  return QString::fromStdString(MessageText(message));
}

// "03/15/2026 10:00 AM": when the backup was taken, or its file's name where that says no time.
std::string TakenAtText(const std::string& path) {
  const std::optional<OleDateTime> taken = BackupTakenAt(path);
  if (!taken)
    return QFileInfo(QString::fromStdString(path)).completeBaseName().toStdString();
  return FormatDate(*taken, "") + " " + FormatTime(*taken, "");
}

// One line per backup: when it was taken and how many dues it holds, or that it is damaged.
QStringList Choices(const std::vector<std::string>& backups, FileSystem& files) {
  QStringList items;
  for (const std::string& path : backups) {
    const auto records = ReadBackup(path, files);
    const std::string name = TakenAtText(path);
    items << (records.ok() ? Text({MessageId::kBackupChoice,
                                   name,
                                   static_cast<long long>(records.value().size()),
                                   {}})
                           : Text({MessageId::kDamagedBackupChoice, name, 0, {}}));
  }
  return items;
}

}  // namespace

void RestoreFromBackup(PaylarkApp& app, QWidget* parent) {
  const std::vector<std::string> backups =
      ListBackups(BackupsFolder(app.workingDirectory()), app.store().files());
  if (backups.empty()) {
    app.prompt().Tell(parent, Text({MessageId::kNoBackupYet, {}, 0, {}}));
    return;
  }
  const QStringList items = Choices(backups, app.store().files());
  bool chosen = false;
  const QString item = QInputDialog::getItem(parent, Text({MessageId::kRestoreTitle, {}, 0, {}}),
                                             Text({MessageId::kRestoreQuestion, {}, 0, {}}), items,
                                             0, false, &chosen);
  if (!chosen)
    return;
  const std::string& path = backups[static_cast<std::size_t>(items.indexOf(item))];
  const auto restored = ReadBackup(path, app.store().files());
  const bool empty = restored.ok() && restored.value().empty();
  if (empty && !ConfirmRestoreOfEmptyBackup(app.prompt(), parent, app.store().map().size()))
    return;
  const Status status = RestoreBackup(app.store(), app.clock(), path,
                                      UserSettings::Read(settings::kBackupsKept), empty);
  if (!status.ok()) {
    app.prompt().Tell(parent, Text({MessageId::kNothingRestored, {}, 0, status.message()}),
                      PromptIcon::kWarning);
    return;
  }
  app.prompt().Tell(parent, Text({MessageId::kRestored,
                                  TakenAtText(path),
                                  static_cast<long long>(app.store().map().size()),
                                  {}}));
}

}  // namespace paylark
