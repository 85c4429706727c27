#include "ui/sync/folder_watcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QFile>
#include <QSocketNotifier>
#include <cerrno>

namespace paylark {
namespace {

// A file written in place, one renamed into or out of the folder, a new name (also a hard
// link, which brings no write) and a removed one.
constexpr std::uint32_t kFileEvents =
    IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE;
// The folder itself moved or removed, or more changes than the system could queue.
constexpr std::uint32_t kFolderEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_Q_OVERFLOW | IN_IGNORED;

// An inotify descriptor following the folder; -1 when the system refuses.
int AddWatch(const QByteArray& folder) {
  const int inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (inotify < 0)
    return -1;
  const std::uint32_t events = kFileEvents | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
  if (inotify_add_watch(inotify, folder.constData(), events) < 0) {
    close(inotify);
    return -1;
  }
  return inotify;
}

}  // namespace

FolderWatcher::FolderWatcher(QObject* parent) : QObject(parent) {
  gather_.setSingleShot(true);
  gather_.setInterval(kGatherMilliseconds);
  connect(&gather_, &QTimer::timeout, this, &FolderWatcher::CheckNow);
}

FolderWatcher::~FolderWatcher() {
  Stop();
}

void FolderWatcher::Stop() {
  if (adding_.joinable()) {
    adding_.join();
    if (addedInotify_ >= 0)
      close(addedInotify_);
    addedInotify_ = -1;
  }
  delete notifier_;
  notifier_ = nullptr;
  if (inotify_ >= 0)
    close(inotify_);
  inotify_ = -1;
  gather_.stop();
  changed_.clear();
  whole_ = false;
}

void FolderWatcher::Watch(const QString& folder) {
  Stop();
  folder_ = folder;
  if (!folder.isEmpty())
    Follow(AddWatch(QFile::encodeName(folder)));
}

void FolderWatcher::WatchInBackground(const QString& folder) {
  Stop();
  folder_ = folder;
  if (folder.isEmpty())
    return;
  adding_ = std::jthread([this, path = QFile::encodeName(folder)] {
    addedInotify_ = AddWatch(path);
    QMetaObject::invokeMethod(this, &FolderWatcher::FinishAdding, Qt::QueuedConnection);
  });
}

void FolderWatcher::FinishAdding() {
  if (!adding_.joinable())
    return;
  adding_.join();
  Follow(std::exchange(addedInotify_, -1));
  emit Added();
}

void FolderWatcher::Follow(int inotify) {
  inotify_ = inotify;
  if (inotify_ < 0)
    return;
  notifier_ = new QSocketNotifier(inotify_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    Drain();
    if ((whole_ || !changed_.empty()) && !gather_.isActive())
      gather_.start();
  });
}

void FolderWatcher::Drain() {
  if (inotify_ < 0)
    return;
  alignas(inotify_event) char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = read(inotify_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      return;
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      if (event->mask & kFolderEvents)
        whole_ = true;
      else if (event->len > 0)
        changed_.insert(event->name);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
}

void FolderWatcher::CheckNow() {
  gather_.stop();
  Drain();
  if (whole_) {
    // A removed or moved folder is no longer watched: follow whatever now has its path.
    const QString folder = folder_;
    Watch(folder);
    emit FolderChanged();
    return;
  }
  if (changed_.empty())
    return;
  std::vector<std::string> names(changed_.begin(), changed_.end());
  changed_.clear();
  emit FilesChanged(names);
}

}  // namespace paylark
