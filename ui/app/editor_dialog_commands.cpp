#include "ui/app/editor_dialog_commands.h"

#include "ui/editor/mark_paid_command.h"
#include "ui/editor/modify_command.h"
#include "ui/editor/new_due_command.h"
#include "ui/print/print_command.h"

namespace paylark {

EditOutcome EditorDialogCommands::NewDue(QWidget* parent) {
  return paylark::NewDue(app_, parent);
}

EditOutcome EditorDialogCommands::ModifyDue(QWidget* parent, const std::string& recordId) {
  return paylark::ModifyDue(app_, parent, recordId);
}

EditOutcome EditorDialogCommands::MarkPaid(QWidget* parent, const std::string& recordId) {
  return MarkDuePaid(app_, parent, recordId);
}

void EditorDialogCommands::Print(QWidget* parent) {
  RunPrintDues(app_, parent);
}

}  // namespace paylark
