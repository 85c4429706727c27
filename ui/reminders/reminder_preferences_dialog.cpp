#include "ui/reminders/reminder_preferences_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/base/messages.h"
#include "core/reminders/reminder_selection.h"
#include "settings/user_settings.h"
#include "ui/base/paylark_app.h"
#include "ui/reminders/background_reminders.h"

namespace paylark {

ReminderPreferencesDialog::ReminderPreferencesDialog(PaylarkApp& app, QWidget* parent)
    : QDialog(parent),
      app_(app),
      daysAhead_(new QSpinBox(this)),
      whenClosed_(new QCheckBox(tr("Also when Paylark is closed"), this)),
      warnBelow_(new QSpinBox(this)),
      wasOn_(BackgroundReminders(app.desktop()).IsOn()) {
  setWindowTitle(tr("Reminders"));
  daysAhead_->setRange(settings::kReminderDaysAhead.minimum, settings::kReminderDaysAhead.maximum);
  daysAhead_->setValue(UserSettings::Read(settings::kReminderDaysAhead));
  whenClosed_->setChecked(wasOn_);

  auto* before = new QLabel(tr("Remind me"), this);
  before->setBuddy(daysAhead_);
  auto* days = new QHBoxLayout;
  days->addWidget(before);
  days->addWidget(daysAhead_);
  days->addWidget(new QLabel(tr("days ahead"), this));
  days->addStretch(1);

  warnBelow_->setObjectName(QStringLiteral("warnBelow"));
  warnBelow_->setRange(settings::kForecastWarnBelow.minimum, settings::kForecastWarnBelow.maximum);
  warnBelow_->setValue(UserSettings::Read(settings::kForecastWarnBelow));
  warnBelow_->setGroupSeparatorShown(true);
  auto* warnLabel = new QLabel(tr("Warn when the forecast balance falls below"), this);
  warnLabel->setBuddy(warnBelow_);
  auto* warn = new QHBoxLayout;
  warn->addWidget(warnLabel);
  warn->addWidget(warnBelow_);
  warn->addStretch(1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(days);
  layout->addWidget(whenClosed_);
  layout->addLayout(warn);
  layout->addStretch(1);
  layout->addWidget(buttons);
}

void ReminderPreferencesDialog::accept() {
  UserSettings::Write(settings::kReminderDaysAhead, daysAhead_->value());
  UserSettings::Write(settings::kForecastWarnBelow, warnBelow_->value());
  BackgroundReminders background(app_.desktop());
  if (whenClosed_->isChecked() && !wasOn_ && !background.TurnOn()) {
    app_.prompt().Tell(this,
                       QString::fromStdString(MessageText(MessageId::kBackgroundRemindersFailed)),
                       PromptIcon::kWarning);
    whenClosed_->setChecked(false);
    return;
  }
  if (!whenClosed_->isChecked() && wasOn_)
    background.TurnOff();
  QDialog::accept();
}

}  // namespace paylark
