#pragma once

#include <QString>

namespace paylark {

class DesktopServices;

// The user manual plkhelp.html: beside the executable, else in <datadir>/paylark/; the path
// beside the executable when neither exists.
QString HelpFilePath();
// Opens the manual with the desktop; a missing file gives no visible result.
void OpenHelp(DesktopServices& desktop);
// Starts the synchronisation manager named by the setting Synchronize/Manager with
// "/show /syncnow"; does nothing, silently, when the setting is absent.
void Synchronize(DesktopServices& desktop);

}  // namespace paylark
