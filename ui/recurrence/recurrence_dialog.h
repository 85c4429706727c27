#pragma once

#include <QDateTime>
#include <QDialog>
#include <cstddef>

#include "ui/recurrence/recurrence_controls.h"

class QCheckBox;
class QStackedWidget;

namespace paylark {

class DatePicker;
class PaylarkApp;

// The Recurrence Pattern dialog. It opens on the defaults of "now" (the app's clock); OK checks
// the chosen kind's settings and the range, counts the occurrences and closes. Nothing is
// written: the caller takes the accepted pattern and makes the dues from it when they are
// complete.
class RecurrenceDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit RecurrenceDialog(PaylarkApp& app, QWidget* parent = nullptr);

  // The accepted pattern and how many dues it makes (possibly none).
  const RecurrencePattern& pattern() const { return pattern_; }
  std::size_t dueCount() const { return dueCount_; }

  void accept() override;

 private:
  QWidget* BuildPatternBox();
  QWidget* BuildButtons();
  void ConnectRules();
  void OnKindChanged(int index);
  void OnWeekdayClicked(QCheckBox* box);
  void OnRangeStartChanged();
  void OnEndByChanged();
  void Refuse(DatePicker& picker, const QDateTime& accepted);
  bool ManyDuesConfirmed(std::size_t count);

  PaylarkApp& app_;
  RecurrenceControls controls_;
  QStackedWidget* groups_ = nullptr;
  QDateTime acceptedStart_;
  QDateTime acceptedEndBy_;
  RecurrencePattern pattern_;
  std::size_t dueCount_ = 0;
};

}  // namespace paylark
