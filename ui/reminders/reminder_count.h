#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace paylark {

class PaylarkApp;

// The dues of every month that are overdue or due within the days ahead, as the caption strip
// counts them. It counts again when told (after any change) and by itself when the day changes:
// a timer runs to the next midnight of the application's clock. A large map is counted a part of a
// bucket at a time between the window's events, so that a million dues never hold the window up.
class ReminderCount final : public QObject {
  Q_OBJECT

 public:
  // A map this small is counted in a few milliseconds: at once, between two events.
  static constexpr std::size_t kCountAtOnce = 200'000;

  explicit ReminderCount(PaylarkApp& app, QObject* parent = nullptr,
                         std::size_t countAtOnce = kCountAtOnce);
  ~ReminderCount() override;

  // Counts again (a count under way starts over), emits Changed when done and sets the timer to
  // the next midnight. A small map is counted at once.
  void Update();
  // Whether a count is under way.
  bool counting() const { return pass_ != nullptr; }
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
  struct Pass;
  void CountNextPart();
  void Publish();

  PaylarkApp& app_;
  QTimer nextDay_;
  std::size_t countAtOnce_;
  QTimer slices_;
  std::unique_ptr<Pass> pass_;
  QString text_;
  bool anyOverdue_ = false;
  std::string earliestRecordId_;
  // Brings the map's pages in before its first count; last, so that it is joined first.
  std::jthread broughtIn_;
};

}  // namespace paylark
