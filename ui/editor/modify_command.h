#pragma once

#include <string>

#include "ui/base/dialog_commands.h"
#include "ui/editor/dialog_runner.h"

class QWidget;

namespace paylark {

class PaylarkApp;

// The Modify command for one record: a series member first asks whether the whole series
// (Yes) or this record (No) is meant, and Cancel ends there. The Modify Due sheet then edits a
// copy; OK writes what the series choice decides, Cancel writes nothing.
EditOutcome ModifyDue(PaylarkApp& app, QWidget* parent, const std::string& recordId,
                      const DialogRunner& runner = RunModal);

}  // namespace paylark
