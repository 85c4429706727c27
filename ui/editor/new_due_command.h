#pragma once

#include "ui/base/dialog_commands.h"
#include "ui/editor/dialog_runner.h"

class QWidget;

namespace paylark {

class PaylarkApp;

// The New Due command: runs the wizard and, on Finish, adds one due or completes the series'
// placeholders; on every other ending (and on Finish with "Make Recursive Due" cleared) the
// placeholders of a confirmed pattern are deleted. A store failure is told once.
EditOutcome NewDue(PaylarkApp& app, QWidget* parent, const DialogRunner& runner = RunModal);

}  // namespace paylark
