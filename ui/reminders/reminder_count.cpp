#include "ui/reminders/reminder_count.h"

#include <algorithm>

#include "core/reminders/cancel_reminders.h"
#include "core/reminders/reminder_selection.h"
#include "core/reminders/reminder_wording.h"
#include "settings/user_settings.h"
#include "ui/base/paylark_app.h"

namespace paylark {
namespace {

constexpr std::int64_t kSecondsPerDay = std::int64_t{24} * 60 * 60;

}  // namespace

struct ReminderCount::Pass {
  Pass(const OleDateTime& now, int daysAhead)
      : now(now), counter(now, daysAhead), cancels(now, daysAhead) {}

  OleDateTime now;
  ReminderCounter counter;
  CancelReminderCollector cancels;
  std::uint32_t nextPart = 0;
};

ReminderCount::ReminderCount(PaylarkApp& app, QObject* parent, std::size_t countAtOnce)
    : QObject(parent), app_(app), countAtOnce_(countAtOnce) {
  nextDay_.setSingleShot(true);
  nextDay_.setTimerType(Qt::CoarseTimer);
  connect(&nextDay_, &QTimer::timeout, this, &ReminderCount::Update);
  connect(&slices_, &QTimer::timeout, this, &ReminderCount::CountNextPart);
}

ReminderCount::~ReminderCount() = default;

void ReminderCount::Update() {
  slices_.stop();
  pass_ =
      std::make_unique<Pass>(app_.clock().Now(), UserSettings::Read(settings::kReminderDaysAhead));
  if (app_.store().map().size() >= countAtOnce_) {
    // The first count of a map read from its image brings the image's pages in on a thread
    // first: the buckets, each spread over the whole table, then take no page faults.
    std::function<void()> bringIn = app_.store().map().BringInJob();
    if (!bringIn || broughtIn_.joinable()) {
      slices_.start(0);
      return;
    }
    broughtIn_ = std::jthread([this, bringIn = std::move(bringIn)] {
      bringIn();
      QMetaObject::invokeMethod(
          this,
          [this] {
            if (pass_)
              slices_.start(0);
          },
          Qt::QueuedConnection);
    });
    return;
  }
  while (pass_)  // the last bucket publishes the count and ends the pass
    CountNextPart();
}

// The map may have changed since the last part only through a change, which starts over.
void ReminderCount::CountNextPart() {
  const BucketPart part{pass_->nextPart / kReminderPartsPerBucket,
                        pass_->nextPart % kReminderPartsPerBucket, kReminderPartsPerBucket};
  pass_->counter.TakeBucket(app_.store().map(), part);
  pass_->cancels.TakeBucket(app_.store().map(), part);
  if (++pass_->nextPart == DueMap::kBucketCount * kReminderPartsPerBucket) {
    slices_.stop();
    Publish();
  }
}

void ReminderCount::Publish() {
  const std::unique_ptr<Pass> pass = std::move(pass_);
  const OleDateTime now = pass->now;
  ReminderSummary summary = pass->counter.summary();
  const std::vector<CancelReminder> cancels = std::move(pass->cancels).Finish();
  const bool none = summary.earliestRecordId.empty();
  std::string text = none ? std::string() : ReminderCountText(summary.counts);
  // The first contract to cancel is said in full; the dues come first, being money due.
  if (!cancels.empty()) {
    text += (text.empty() ? "" : " · ") + CancelReminderText(cancels.front());
    if (cancels.size() > 1)
      text += " (+" + std::to_string(cancels.size() - 1) + ")";
  }
  text_ = QString::fromStdString(text);
  anyOverdue_ = summary.counts.overdue > 0;
  if (none && !cancels.empty())
    earliestRecordId_ = cancels.front().record.recordId;
  else
    earliestRecordId_ = std::move(summary.earliestRecordId);
  emit Changed();

  // A timer that fires early (the clock was set back) simply counts again and waits once more.
  const std::int64_t secondsToMidnight =
      kSecondsPerDay - (now.LinearSeconds() - now.DateOnly().LinearSeconds());
  nextDay_.start(static_cast<int>(std::max<std::int64_t>(secondsToMidnight, 1) * 1000));
}

std::string ReminderCount::NextRecordId(const std::string& current) const {
  const std::vector<Reminder> reminders = SelectReminders(
      app_.store().map(), app_.clock().Now(), UserSettings::Read(settings::kReminderDaysAhead));
  if (reminders.empty())
    return {};
  for (std::size_t i = 0; i < reminders.size(); ++i) {
    if (reminders[i].record.recordId == current)
      return reminders[(i + 1) % reminders.size()].record.recordId;
  }
  return reminders.front().record.recordId;
}

}  // namespace paylark
