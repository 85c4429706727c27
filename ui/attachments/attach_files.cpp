#include "ui/attachments/attach_files.h"

#include <QUrl>

#include "core/attachments/attachment_store.h"
#include "core/attachments/due_attaching.h"
#include "core/base/messages.h"
#include "core/sync/backups.h"
#include "ui/base/paylark_app.h"
#include "ui/base/wait_cursor.h"

namespace paylark {

QStringList LocalFiles(const QList<QUrl>& urls) {
  QStringList paths;
  for (const QUrl& url : urls) {
    if (url.isLocalFile())
      paths.append(url.toLocalFile());
  }
  return paths;
}

QStringList AttachFiles(PaylarkApp& app, QWidget* parent, const std::string& recordId,
                        const QStringList& paths) {
  AttachmentStore attachments(app.store().files(), app.workingDirectory());
  QStringList kept;
  std::string failures;
  {
    WaitCursor wait;
    for (const QString& path : paths) {
      Result<std::string> added =
          AttachToDue(app.store(), attachments, recordId, path.toStdString(),
                      BackupsFolder(app.workingDirectory()));
      if (added.ok())
        kept.append(QString::fromStdString(added.value()));
      else
        failures += (failures.empty() ? "" : "\n") + added.status().message();
    }
  }
  if (!failures.empty()) {
    app.prompt().Tell(
        parent,
        QString::fromStdString(MessageText(Message{MessageId::kAttachFailed, {}, 0, failures})),
        PromptIcon::kWarning);
  }
  return kept;
}

}  // namespace paylark
