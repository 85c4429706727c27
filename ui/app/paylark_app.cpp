#include "ui/app/paylark_app.h"

#include "core/records/messages.h"
#include "ui/app/app_settings.h"

namespace paylark {

CPaylarkApp::CPaylarkApp(const Clock& clock, Prompt& prompt, DesktopServices& desktop)
    : clock_(clock),
      prompt_(prompt),
      desktop_(desktop),
      store_(clock, {}),
      selectedMonth_(clock.Now()) {}

void CPaylarkApp::SetWorkingDirectory(const std::string& path) {
  workingDirectory_ = path;
  store_.SetWorkingDirectory(path);
}

void CPaylarkApp::SaveSetting() const {
  AppSettings::SetWorkingDirectory(QString::fromStdString(workingDirectory_));
}

QString CPaylarkApp::Reload() {
  const ReloadReport report = store_.Reload();
  if (report.skipped.empty())
    return {};
  return QString::fromStdString(MessageText(Message{
      MessageId::kRecordFilesUnreadable, {}, static_cast<long long>(report.skipped.size()), {}}));
}

void CPaylarkApp::SetSummary(const MonthSelection& selection) {
  paidText_ = selection.paidText;
  unpaidText_ = selection.unpaidText;
  totalText_ = selection.totalText;
}

}  // namespace paylark
