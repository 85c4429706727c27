#include "ui/editor/modify_sheet.h"

#include <QHBoxLayout>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/app/wait_cursor.h"
#include "ui/editor/detail_page.h"
#include "ui/editor/notes_page.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/gui_button.h"

namespace paylark {
namespace {

// Wide enough for a date with its time and a long title.
constexpr int kMinimumWidth = 440;

CGuiButton* StyledButton(const QString& caption, const QString& name) {
  auto* button = new CGuiButton(caption);
  button->setObjectName(name);
  button->SetStyleBorder(3);
  button->ShowText(true);
  return button;
}

}  // namespace

CModifySheet::CModifySheet(CDetailPage* details, CNotesPage* notes, QWidget* parent)
    : QDialog(parent), details_(details), tabs_(new QTabWidget) {
  setWindowTitle(QStringLiteral("Modify Due"));
  UseFaceBackground(*this);
  tabs_->setObjectName(QStringLiteral("tabs"));
  tabs_->addTab(details, QStringLiteral("Due Details"));
  tabs_->addTab(notes, QStringLiteral("Notes"));

  CGuiButton* ok = StyledButton(QStringLiteral("OK"), QStringLiteral("ok"));
  CGuiButton* cancel = StyledButton(QStringLiteral("Cancel"), QStringLiteral("cancel"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &CModifySheet::accept);
  connect(cancel, &QPushButton::clicked, this, &CModifySheet::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  setMinimumWidth(kMinimumWidth);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(buttons);
}

void CModifySheet::accept() {
  if (!details_->ReadFields()) {
    tabs_->setCurrentWidget(details_);
    return;
  }
  WaitCursor wait;
  QDialog::accept();
}

}  // namespace paylark
