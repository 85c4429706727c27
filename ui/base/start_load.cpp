#include "ui/base/start_load.h"

#include <QWidget>
#include <utility>

#include "core/attachments/attachment_store.h"
#include "core/base/background_priority.h"
#include "core/records/record_store.h"
#include "core/sync/backups.h"
#include "ui/base/paylark_app.h"
#include "ui/base/start_timeline.h"
#include "ui/base/wait_cursor.h"

namespace paylark {

StartLoad::StartLoad(PaylarkApp& app, QObject* parent) : QObject(parent), app_(app) {}

StartLoad::~StartLoad() = default;

QString StartLoad::Load() {
  // The store calls it only when it has a records folder.
  const auto folderMade = [this] {
    if (folderMade_)
      folderMade_(QString::fromStdString(RecordsFolderPath(app_.store().workingDirectory())));
  };
  if (app_.store().LoadSnapshot(folderMade))
    return {};
  return app_.Reload();
}

void StartLoad::Check(QWidget* progressParent) {
  progressParent_ = progressParent;
  if (!app_.workingDirectory().empty()) {
    AttachmentStore attachments(app_.store().files(), app_.workingDirectory());
    attachments.RemoveStaleTemporaries();
    // What cannot be moved now stays; the next restore says so before it changes anything.
    (void)attachments.ReleaseSetAside(BackupsFolder(app_.workingDirectory()));
  }
  if (!app_.store().AwaitsConfirmation()) {
    MarkStart("folder check ended");
    emit Checked(false, {});
    return;
  }
  // The scan reaches the folder only through its own objects; its end is handed back to this
  // thread, where the store lives.
  thread_ = std::jthread(
      [this, check = FolderLoader::CheckJob(app_.store().files(),
                                            RecordsFolderPath(app_.store().workingDirectory()))] {
        RunBehindTheWindow();
        check_ = check();
        MarkStart("folder scanned");
        QMetaObject::invokeMethod(this, &StartLoad::Conclude, Qt::QueuedConnection);
      });
}

void StartLoad::Finish() {
  if (!thread_.joinable())
    return;
  WaitCursor wait;
  Conclude();
}

// Once per check: after a Finish, the scan's own call finds nothing left to do.
void StartLoad::Conclude() {
  if (!thread_.joinable())
    return;
  thread_.join();
  // Another load (Refresh, another working directory) has taken the snapshot's place.
  if (!app_.store().AwaitsConfirmation()) {
    MarkStart("folder check ended");
    emit Checked(false, {});
    return;
  }
  const std::optional<ReloadReport> confirmed = app_.store().Confirm(std::exchange(check_, {}));
  if (confirmed) {
    MarkStart("folder check ended");
    emit Checked(false, SkippedNote(*confirmed));
    return;
  }
  const QString note = app_.Reload(progressParent_);
  MarkStart("folder check ended (loaded again)");
  emit Checked(true, note);
}

}  // namespace paylark
