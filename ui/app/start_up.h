#pragma once

#include <QString>
#include <functional>

namespace paylark {

class CPaylarkApp;

// Shows the Working Directory dialog opened on initial; the confirmed path, or empty when the
// user cancelled.
using AskDirectory = std::function<QString(const QString& initial)>;

enum class StartUpOutcome { kRun, kEnd };

struct StartUpResult {
  StartUpOutcome outcome = StartUpOutcome::kEnd;
  QString reloadNote;  // says how many record files could not be read; empty when none
};

// Reads the stored working directory; when it is missing or gone (the user is told), asks for
// one with an empty dialog. Then creates the records folder and reads every record. A directory
// chosen here is not saved until the window closes.
StartUpResult StartUp(CPaylarkApp& app, const AskDirectory& ask);

// Runs the real Working Directory dialog (no parent) and, on OK, creates the records folder.
QString AskForWorkingDirectory(CPaylarkApp& app, const QString& initial);

// Creates <directory>/Paylark Files; an existing folder is no error, a failure is left to the
// store's reads and writes to report.
void CreateRecordsFolder(const QString& directory);

}  // namespace paylark
