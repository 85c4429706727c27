#pragma once

#include <QString>

#include "ui/shell/working_directory_dialog.h"

namespace paylark {

class PaylarkApp;
class StartLoad;

enum class StartUpOutcome { kRun, kEnd };

struct StartUpResult {
  StartUpOutcome outcome = StartUpOutcome::kEnd;
  QString reloadNote;  // says how many record files could not be read; empty when none
};

// Reads the stored working directory; when it is missing or gone (the user is told), asks for
// one with an empty dialog. Then creates the records folder and loads the records through load
// (whose check the caller begins once the window shows). A directory chosen here is saved at
// once, so paylark-cli finds it while the window is open.
StartUpResult StartUp(PaylarkApp& app, StartLoad& load, const AskDirectory& ask);

}  // namespace paylark
