#include "ui/editor/due_sheet.h"

#include "ui/attachments/attachments_page.h"
#include "ui/base/paylark_app.h"
#include "ui/editor/due_wizard.h"
#include "ui/editor/modify_sheet.h"
#include "ui/editor/notes_page.h"
#include "ui/widgets/screen_room.h"

namespace paylark {

DueSheet::DueSheet(PaylarkApp& app, SheetMode mode, QWidget* parent, DialogRunner runner)
    : runner_(std::move(runner)),
      details_(new DetailsPage(app, mode, runner_)),
      notes_(new NotesPage),
      record_(DueRecord::WithDefaults(app.clock())) {
  if (mode == SheetMode::kNewDue) {
    std::unique_ptr<QWizard> wizard = MakeDueWizard(details_, notes_, parent);
    FitDueWizard(*wizard, ScreenRoom(parent));
    dialog_ = std::move(wizard);
  } else {
    attachments_ = new AttachmentsPage(app);
    dialog_ = std::make_unique<ModifySheet>(details_, notes_, attachments_, parent);
  }
}

DueSheet::~DueSheet() = default;

bool DueSheet::Run() {
  details_->Load(record_);
  notes_->SetNotes(record_.notes);
  if (attachments_)
    attachments_->SetRecordId(record_.recordId);
  if (runner_(*dialog_) != QDialog::Accepted)
    return false;
  details_->Store(record_);
  ApplyEditorDefaults(record_);
  record_.notes = notes_->Notes();
  return true;
}

}  // namespace paylark
