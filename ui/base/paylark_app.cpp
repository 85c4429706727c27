#include "ui/base/paylark_app.h"

#include "core/base/messages.h"
#include "core/io/user_folders.h"
#include "core/records/record_snapshot.h"
#include "settings/user_settings.h"
#include "ui/base/operation_progress.h"

namespace paylark {

PaylarkApp::PaylarkApp(const Clock& clock, Prompt& prompt, DesktopServices& desktop,
                       FileSystem& files)
    : clock_(clock),
      prompt_(prompt),
      desktop_(desktop),
      store_(clock, {}, files),
      selectedMonth_(clock.Now()) {}

void PaylarkApp::SaveSetting() const {
  UserSettings::Write(settings::kWorkingDirectory, QString::fromStdString(workingDirectory()));
}

void PaylarkApp::SetWorkingDirectory(const std::string& path) {
  store_.SetWorkingDirectory(path);
  const std::string cache = UserCacheFolder();
  // The window need not wait for the snapshot: the system's files take writes from several
  // threads (the in-memory ones of tests do not, and are small).
  const SnapshotWriting writing =
      &store_.files() == &SystemFileSystem() ? SnapshotWriting::kBehind : SnapshotWriting::kAtOnce;
  store_.SetSnapshotFile(cache.empty() || path.empty()
                             ? std::string()
                             : SnapshotPathFor(cache, RecordsFolderPath(store_.workingDirectory())),
                         writing);
}

QString PaylarkApp::Reload(QWidget* parent) {
  OperationProgress progress(parent, MessageId::kProgressLoading,
                             OperationProgress::kLoadingShownFrom);
  return SkippedNote(store_.Reload(progress.Reporter()));
}

QString SkippedNote(const ReloadReport& report) {
  if (!report.folderStatus.ok()) {
    return QString::fromStdString(MessageText(
        Message{MessageId::kRecordsFolderUnreadable, {}, 0, report.folderStatus.message()}));
  }
  if (report.skipped.empty())
    return {};
  return QString::fromStdString(MessageText(Message{
      MessageId::kRecordFilesUnreadable, {}, static_cast<long long>(report.skipped.size()), {}}));
}

}  // namespace paylark
