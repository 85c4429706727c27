#include "ui/app/start_up.h"

#include "core/base/messages.h"
#include "settings/user_settings.h"
#include "ui/base/paylark_app.h"
#include "ui/base/start_load.h"
#include "ui/shell/working_directory_dialog.h"

namespace paylark {

StartUpResult StartUp(PaylarkApp& app, StartLoad& load, const AskDirectory& ask) {
  QString directory = UserSettings::Read(settings::kWorkingDirectory);
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
  // Saved now, not at exit: paylark-cli reads it while the window is open.
  app.SaveSetting();
  return {StartUpOutcome::kRun, load.Load()};
}

}  // namespace paylark
