#include "ui/app/start_up.h"

#include <QDir>

#include "core/records/messages.h"
#include "core/records/record_files.h"
#include "ui/app/app_settings.h"
#include "ui/app/paylark_app.h"
#include "ui/app/work_dir_dlg.h"
#include "ui/shell/help_sync.h"

namespace paylark {

StartUpResult StartUp(CPaylarkApp& app, const AskDirectory& ask) {
  QString directory = AppSettings::WorkingDirectory();
  if (!directory.isEmpty() && !PathExists(directory)) {
    app.prompt().Tell(nullptr,
                      QString::fromStdString(MessageText(MessageId::kWorkingDirectoryMoved)));
    directory.clear();
  }
  if (directory.isEmpty()) {
    directory = ask(QString());
    if (directory.isEmpty())
      return {};
  }
  app.SetWorkingDirectory(directory.toStdString());
  return {StartUpOutcome::kRun, app.Reload()};
}

QString AskForWorkingDirectory(CPaylarkApp& app, const QString& initial) {
  CWorkDirDlg dialog(app.prompt(), app.desktop(), [&app] { OpenHelp(app.desktop()); });
  dialog.SetPath(initial);
  if (dialog.exec() != QDialog::Accepted)
    return {};
  CreateRecordsFolder(dialog.path());
  return dialog.path();
}

void CreateRecordsFolder(const QString& directory) {
  QDir(directory).mkdir(QString::fromUtf8(kRecordsFolderName.data(),
                                          static_cast<qsizetype>(kRecordsFolderName.size())));
}

}  // namespace paylark
