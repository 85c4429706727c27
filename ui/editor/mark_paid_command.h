#pragma once

#include <string>

#include "ui/base/dialog_commands.h"
#include "ui/editor/dialog_runner.h"

class QWidget;

namespace paylark {

class PaylarkApp;

// Mark Paid for one due: the Mark Paid dialog, then the due is stored paid with what it says
// (one due, never its series). A failed write is told; Cancel writes nothing.
EditOutcome MarkDuePaid(PaylarkApp& app, QWidget* parent, const std::string& recordId,
                        const DialogRunner& runner = RunModal);

}  // namespace paylark
