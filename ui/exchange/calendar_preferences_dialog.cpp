#include "ui/exchange/calendar_preferences_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QVBoxLayout>

namespace paylark {

CalendarPreferencesDialog::CalendarPreferencesDialog(bool keepFeed, const QString& feedPath,
                                                     QWidget* parent)
    : QDialog(parent),
      keepFeed_(new QCheckBox(QStringLiteral("&Keep a calendar file up to date"), this)) {
  setWindowTitle(QStringLiteral("Calendar"));
  keepFeed_->setChecked(keepFeed);
  auto* where = new QLabel(
      QStringLiteral("Dues from 90 days back to two years ahead are written to\n%1\nafter every "
                     "change. Subscribe to this file in your calendar, or let a sync program "
                     "carry it to your phone.")
          .arg(QDir::toNativeSeparators(feedPath)),
      this);
  where->setWordWrap(true);
  where->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(keepFeed_);
  layout->addWidget(where);
  layout->addStretch(1);
  layout->addWidget(buttons);
  resize(460, 170);
}

bool CalendarPreferencesDialog::keepFeed() const {
  return keepFeed_->isChecked();
}

}  // namespace paylark
