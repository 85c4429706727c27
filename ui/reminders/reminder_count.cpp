#include "ui/reminders/reminder_count.h"

#include <algorithm>

#include "core/reminders/reminder_selection.h"
#include "core/reminders/reminder_wording.h"
#include "ui/base/app_settings.h"
#include "ui/base/paylark_app.h"

namespace paylark {
namespace {

constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;

}  // namespace

ReminderCount::ReminderCount(PaylarkApp& app, QObject* parent) : QObject(parent), app_(app) {
  nextDay_.setSingleShot(true);
  nextDay_.setTimerType(Qt::CoarseTimer);
  connect(&nextDay_, &QTimer::timeout, this, &ReminderCount::Update);
}

void ReminderCount::Update() {
  const OleDateTime now = app_.clock().Now();
  const std::vector<Reminder> reminders =
      SelectReminders(app_.store().map(), now, AppSettings::ReminderDaysAhead());
  const ReminderCounts counts = CountReminders(reminders);
  text_ = reminders.empty() ? QString() : QString::fromStdString(ReminderCountText(counts));
  anyOverdue_ = counts.overdue > 0;
  earliestRecordId_ = reminders.empty() ? std::string() : reminders.front().record.recordId;
  emit Changed();

  // A timer that fires early (the clock was set back) simply counts again and waits once more.
  const std::int64_t secondsToMidnight =
      kSecondsPerDay - (now.LinearSeconds() - now.DateOnly().LinearSeconds());
  nextDay_.start(static_cast<int>(std::max<std::int64_t>(secondsToMidnight, 1) * 1000));
}

}  // namespace paylark
