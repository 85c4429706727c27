#include "ui/base/paylark_app.h"

#include "core/base/messages.h"
#include "ui/base/app_settings.h"

namespace paylark {

PaylarkApp::PaylarkApp(const Clock& clock, Prompt& prompt, DesktopServices& desktop)
    : clock_(clock),
      prompt_(prompt),
      desktop_(desktop),
      store_(clock, {}),
      selectedMonth_(clock.Now()) {}

void PaylarkApp::SaveSetting() const {
  AppSettings::SetWorkingDirectory(QString::fromStdString(workingDirectory()));
}

QString PaylarkApp::Reload() {
  const ReloadReport report = store_.Reload();
  if (report.skipped.empty())
    return {};
  return QString::fromStdString(MessageText(Message{
      MessageId::kRecordFilesUnreadable, {}, static_cast<long long>(report.skipped.size()), {}}));
}

}  // namespace paylark
