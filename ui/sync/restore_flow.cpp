#include "ui/sync/restore_flow.h"

#include <QFileInfo>
#include <QInputDialog>
#include <QStringList>
#include <string>
#include <vector>

#include "core/base/messages.h"
#include "core/sync/backups.h"
#include "settings/user_settings.h"
#include "ui/base/paylark_app.h"
#include "ui/sync/empty_restore_question.h"

namespace paylark {
namespace {

QString Text(const Message& message) {
  return QString::fromStdString(MessageText(message));
}

// One line per backup: its name and how many dues it holds, or that it is damaged.
QStringList Choices(const std::vector<std::string>& backups) {
  QStringList items;
  for (const std::string& path : backups) {
    const auto records = ReadBackup(path);
    const std::string name =
        QFileInfo(QString::fromStdString(path)).completeBaseName().toStdString();
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
  const std::vector<std::string> backups = ListBackups(BackupsFolder(app.workingDirectory()));
  if (backups.empty()) {
    app.prompt().Tell(parent, Text({MessageId::kNoBackupYet, {}, 0, {}}));
    return;
  }
  const QStringList items = Choices(backups);
  bool chosen = false;
  const QString item = QInputDialog::getItem(parent, Text({MessageId::kRestoreTitle, {}, 0, {}}),
                                             Text({MessageId::kRestoreQuestion, {}, 0, {}}), items,
                                             0, false, &chosen);
  if (!chosen)
    return;
  const std::string& path = backups[static_cast<std::size_t>(items.indexOf(item))];
  const auto restored = ReadBackup(path);
  const bool empty = restored.ok() && restored.value().empty();
  if (empty && !ConfirmRestoreOfEmptyBackup(app.prompt(), parent, app.store().size()))
    return;
  const Status status = RestoreBackup(app.store(), app.clock(), path,
                                      UserSettings::Read(settings::kBackupsKept), empty);
  if (!status.ok()) {
    app.prompt().Tell(parent, Text({MessageId::kNothingRestored, {}, 0, status.message()}),
                      PromptIcon::kWarning);
  }
}

}  // namespace paylark
