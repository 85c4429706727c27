#pragma once

#include <QDialog>

class QCheckBox;
class QSpinBox;

namespace paylark {

class PaylarkApp;

// Preferences → Reminders: "Remind me N days ahead" (0 to 30), "Also when Paylark is closed" and
// the forecast's warning level (whole units of money). OK saves the days and the level and turns
// the background reminders on or off when the box changed.
class ReminderPreferencesDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit ReminderPreferencesDialog(PaylarkApp& app, QWidget* parent = nullptr);

  QSpinBox& daysAhead() { return *daysAhead_; }
  QCheckBox& whenClosed() { return *whenClosed_; }
  QSpinBox& warnBelow() { return *warnBelow_; }

  void accept() override;

 private:
  PaylarkApp& app_;
  QSpinBox* daysAhead_;
  QCheckBox* whenClosed_;
  QSpinBox* warnBelow_;
  bool wasOn_;
};

}  // namespace paylark
