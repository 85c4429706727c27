#pragma once

#include <QString>
#include <optional>
#include <string>

#include "core/records/due_record.h"
#include "ui/base/dialog_commands.h"
#include "ui/editor/dialog_runner.h"

class QWidget;

namespace paylark {

class PaylarkApp;

// The New Due command: runs the wizard and, on Finish, adds one due or completes the series'
// placeholders; on every other ending (and on Finish with "Make Recursive Due" cleared) the
// placeholders of a confirmed pattern are deleted. A store failure is told once.
EditOutcome NewDue(PaylarkApp& app, QWidget* parent, const DialogRunner& runner = RunModal);

// What the wizard opens with instead of the default due, and a line above its fields that says
// where they came from (empty: none).
struct NewDueStart {
  std::optional<DueRecord> record;
  QString note;
};
struct NewDueEnd {
  EditOutcome outcome = EditOutcome::kNothingChanged;
  std::string recordId;  // the due written, or the series' first; empty when none was
};
// NewDue from the start given.
NewDueEnd NewDueFrom(PaylarkApp& app, QWidget* parent, const NewDueStart& start,
                     const DialogRunner& runner = RunModal);

}  // namespace paylark
