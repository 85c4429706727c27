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
namespace {

void ShowSetting(QSpinBox& spin, const settings::NumberSetting& setting) {
  spin.setRange(setting.minimum, setting.maximum);
  spin.setValue(UserSettings::Read(setting));
}

// "<before> [spin] <after>", the first label leading to the spin box.
QHBoxLayout* SpinRow(QWidget& owner, const QString& before, QSpinBox& spin, const QString& after) {
  auto* label = new QLabel(before, &owner);
  label->setBuddy(&spin);
  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(&spin);
  if (!after.isEmpty())
    row->addWidget(new QLabel(after, &owner));
  row->addStretch(1);
  return row;
}

}  // namespace

ReminderPreferencesDialog::ReminderPreferencesDialog(PaylarkApp& app, QWidget* parent)
    : QDialog(parent),
      app_(app),
      daysAhead_(new QSpinBox(this)),
      whenClosed_(new QCheckBox(tr("Also when Paylark is closed"), this)),
      warnBelow_(new QSpinBox(this)),
      wasOn_(BackgroundReminders(app.desktop()).IsOn()) {
  setWindowTitle(tr("Reminders"));
  ShowSetting(*daysAhead_, settings::kReminderDaysAhead);
  whenClosed_->setChecked(wasOn_);
  warnBelow_->setObjectName(QStringLiteral("warnBelow"));
  warnBelow_->setGroupSeparatorShown(true);
  ShowSetting(*warnBelow_, settings::kForecastWarnBelow);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(SpinRow(*this, tr("Remind me"), *daysAhead_, tr("days ahead")));
  layout->addWidget(whenClosed_);
  layout->addLayout(
      SpinRow(*this, tr("Warn when the forecast balance falls below"), *warnBelow_, QString()));
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
