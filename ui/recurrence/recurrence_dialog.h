#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "ui/recurrence/recurrence_controls.h"

class QCheckBox;
class QStackedWidget;

namespace paylark {

class PaylarkApp;

// The Recurrence Pattern dialog. It opens on the defaults of "now" (the app's clock); OK checks
// the chosen kind's settings and the range, then stores one placeholder record per occurrence
// and closes. The caller takes the placeholder IDs; Cancel stores nothing.
class RecurrenceDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit RecurrenceDialog(PaylarkApp& app, QWidget* parent = nullptr);

  // The placeholders of the accepted pattern in generation order (possibly none).
  const std::vector<std::string>& recordIds() const { return recordIds_; }
  const std::string& seriesId() const { return seriesId_; }
  // How the accepted pattern moves due dates off weekends.
  WeekendShift weekendShift() const { return weekendShift_; }

  void accept() override;

 private:
  QWidget* BuildPatternBox();
  QWidget* BuildButtons();
  void ConnectRules();
  void OnKindChanged(int index);
  void OnWeekdayClicked(QCheckBox* box);
  void OnRangeStartChanged();
  void OnEndByChanged();
  bool ManyDuesConfirmed(const RecurrencePattern& pattern);
  bool Generate(const RecurrencePattern& pattern);

  PaylarkApp& app_;
  RecurrenceControls controls_;
  QStackedWidget* groups_ = nullptr;
  std::vector<std::string> recordIds_;
  std::string seriesId_;
  WeekendShift weekendShift_ = WeekendShift::kKeep;
};

}  // namespace paylark
