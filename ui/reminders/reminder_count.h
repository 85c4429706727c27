#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <string>

namespace paylark {

class PaylarkApp;

// The dues of every month that are overdue or due within the days ahead, as the caption strip
// counts them. It counts again when told (after any change) and by itself when the day changes:
// a timer runs to the next midnight of the application's clock.
class ReminderCount final : public QObject {
  Q_OBJECT

 public:
  explicit ReminderCount(PaylarkApp& app, QObject* parent = nullptr);

  // Counts again, emits Changed and sets the timer to the next midnight.
  void Update();
  // "N overdue · M due soon", then "Cancel Gym by 30 Sep 2026, or it renews on 31 Dec 2026" for
  // the first contract to cancel; empty when nothing needs a reminder.
  const QString& text() const { return text_; }
  bool anyOverdue() const { return anyOverdue_; }
  // The earliest due that needs a reminder (else the first contract to cancel), or empty.
  const std::string& earliestRecordId() const { return earliestRecordId_; }
  // The due after current among those that need a reminder, in due-date order and round again
  // from the first; the earliest when current is not one of them. Empty when none needs one.
  std::string NextRecordId(const std::string& current) const;

 signals:
  void Changed();

 private:
  PaylarkApp& app_;
  QTimer nextDay_;
  QString text_;
  bool anyOverdue_ = false;
  std::string earliestRecordId_;
};

}  // namespace paylark
