#include "ui/attachments/attached_dues.h"

#include <QFileSystemWatcher>
#include <QTimer>

#include "core/attachments/attachment_store.h"
#include "ui/attachments/attach_files.h"
#include "ui/base/paylark_app.h"
#include "ui/base/start_timeline.h"
#include "ui/shell/main_window.h"
#include "ui/shell/month_list_view.h"

namespace paylark {
namespace {

constexpr int kGatherMilliseconds = 300;

}  // namespace

AttachedDues::AttachedDues(PaylarkApp& app, MainWindow& window)
    : app_(app),
      window_(window),
      watcher_(new QFileSystemWatcher(this)),
      gather_(new QTimer(this)) {
  gather_->setSingleShot(true);
  gather_->setInterval(kGatherMilliseconds);
  connect(gather_, &QTimer::timeout, this, &AttachedDues::Refresh);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &AttachedDues::RefreshSoon);
  connect(&window, &MainWindow::recordsChanged, this, &AttachedDues::RefreshSoon);
  connect(&window, &MainWindow::workingDirectoryChanged, this, &AttachedDues::Refresh);
  connect(&window.view(), &MonthListView::FilesDropped, this, &AttachedDues::Attach);
  // The paperclips follow the first painted month: a large Attachments folder takes a while.
  window.WhenMonthPainted(this, [this] {
    Refresh();
    MarkStart("attachments listed");
  });
}

void AttachedDues::RefreshSoon() {
  gather_->start();
}

void AttachedDues::Refresh() {
  gather_->stop();
  const AttachmentStore attachments(app_.store().files(), app_.workingDirectory());
  Result<std::set<std::string>> listed = attachments.RecordsWithAttachments();
  // An Attachments folder that cannot be read shows no paperclips; the page says why.
  recordIds_ = listed.ok() ? std::move(listed).value() : std::set<std::string>{};
  window_.view().SetAttachedRecords(recordIds_);
  Watch();
}

// The Attachments folder once it exists. Its appearance is a change in the records folder,
// which the sync watcher follows and which so comes here as a change of the records: watching
// that folder of up to a million files a second time would cost the window a look at each.
void AttachedDues::Watch() {
  const QStringList watched = watcher_->directories();
  if (!watched.isEmpty())
    watcher_->removePaths(watched);
  (void)watcher_->addPath(QString::fromStdString(AttachmentsFolderPath(app_.workingDirectory())));
}

void AttachedDues::Attach(const QString& recordId, const QStringList& paths) {
  if (!AttachFiles(app_, &window_, recordId.toStdString(), paths).isEmpty())
    Refresh();
}

}  // namespace paylark
