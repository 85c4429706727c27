#include "ui/editor/due_date_sheet.h"

#include "ui/app/paylark_app.h"
#include "ui/editor/due_wizard.h"
#include "ui/editor/modify_sheet.h"
#include "ui/editor/notes_page.h"

namespace paylark {

CDueDateSheet::CDueDateSheet(CPaylarkApp& app, SheetMode mode, QWidget* parent, DialogRunner runner)
    : runner_(std::move(runner)),
      details_(new CDetailPage(app, mode, runner_)),
      notes_(new CNotesPage),
      record_(DueRecord::WithDefaults(app.clock())) {
  if (mode == SheetMode::kNewDue) {
    dialog_ = MakeDueWizard(details_, notes_, parent);
  } else {
    dialog_ = std::make_unique<CModifySheet>(details_, notes_, parent);
  }
}

CDueDateSheet::~CDueDateSheet() = default;

bool CDueDateSheet::Run() {
  details_->Load(record_);
  notes_->SetNotes(record_.notes);
  if (runner_(*dialog_) != QDialog::Accepted)
    return false;
  details_->Store(record_);
  ApplyEditorDefaults(record_);
  record_.notes = notes_->Notes();
  return true;
}

}  // namespace paylark
