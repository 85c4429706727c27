#pragma once

#include <QString>

class QWidget;

namespace paylark {

class DesktopServices;
class Prompt;

// The user manual plkhelp.html: beside the executable, else in <datadir>/paylark/; the path
// beside the executable when neither exists.
QString HelpFilePath();
// Opens the manual with the desktop; a missing manual, or a desktop with nothing to show it,
// is told in a message box over parent.
void OpenHelp(DesktopServices& desktop, Prompt& prompt, QWidget* parent,
              const QString& manual = HelpFilePath());
// Starts the synchronisation manager named by the setting Synchronize/Manager with
// "/show /syncnow"; false, having done nothing, when the setting is absent.
bool StartSyncManager(DesktopServices& desktop);

}  // namespace paylark
