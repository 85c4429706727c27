#include "ui/editor/modify_sheet.h"

#include <QHBoxLayout>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/attachments/attachments_page.h"
#include "ui/base/wait_cursor.h"
#include "ui/editor/details_page.h"
#include "ui/editor/notes_page.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/styled_button.h"

namespace paylark {
namespace {

// Wide enough for a date with its time and a long title.
constexpr int kMinimumWidth = 440;

StyledButton* MakeButton(const QString& caption, const QString& name) {
  auto* button = new StyledButton(caption);
  button->setObjectName(name);
  button->SetStyleBorder(3);
  button->ShowText(true);
  return button;
}

}  // namespace

ModifySheet::ModifySheet(DetailsPage* details, NotesPage* notes, AttachmentsPage* attachments,
                         QWidget* parent)
    : QDialog(parent), details_(details), tabs_(new QTabWidget) {
  setWindowTitle(QStringLiteral("Modify Due"));
  UseFaceBackground(*this);
  tabs_->setObjectName(QStringLiteral("tabs"));
  tabs_->addTab(details, QStringLiteral("Due Details"));
  tabs_->addTab(notes, QStringLiteral("Notes"));
  tabs_->addTab(attachments, QStringLiteral("Attachments"));

  StyledButton* ok = MakeButton(QStringLiteral("OK"), QStringLiteral("ok"));
  StyledButton* cancel = MakeButton(QStringLiteral("Cancel"), QStringLiteral("cancel"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &ModifySheet::accept);
  connect(cancel, &QPushButton::clicked, this, &ModifySheet::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  setMinimumWidth(kMinimumWidth);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(buttons);
}

void ModifySheet::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  details_->FocusFirstField();
}

void ModifySheet::accept() {
  if (!details_->ReadFields()) {
    tabs_->setCurrentWidget(details_);
    return;
  }
  WaitCursor wait;
  QDialog::accept();
}

}  // namespace paylark
