#pragma once

#include <QDialog>

class QCheckBox;
class QSpinBox;

namespace paylark {

class PaylarkApp;

// Preferences → Reminders: "Remind me N days ahead" (0 to 30) and "Also when Paylark is
// closed". OK saves the days and turns the background reminders on or off when the box changed.
class ReminderPreferencesDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit ReminderPreferencesDialog(PaylarkApp& app, QWidget* parent = nullptr);

  QSpinBox& daysAhead() { return *daysAhead_; }
  QCheckBox& whenClosed() { return *whenClosed_; }

  void accept() override;

 private:
  PaylarkApp& app_;
  QSpinBox* daysAhead_;
  QCheckBox* whenClosed_;
  bool wasOn_;
};

}  // namespace paylark
