#pragma once

#include <QWizardPage>

#include "core/base/messages.h"
#include "core/records/due_record.h"
#include "core/recurrence/new_due.h"
#include "core/recurrence/recurrence_pattern.h"
#include "ui/editor/dialog_runner.h"

class QCheckBox;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace paylark {

class ContractFields;
class FilteredLineEdit;
class StyledButton;
class StyledComboBox;
class PaylarkApp;
class DatePicker;

enum class SheetMode { kNewDue, kModify };

// The "Due Details" page: the due's fields and, for a new due, "Make Recursive Due" with its
// pattern and due offset; for a series, its contract's renewal and notice period. The page keeps
// the last confirmed pattern; the New Due command makes the series from it at Finish, so nothing is
// written before.
class DetailsPage final : public QWizardPage {
  Q_OBJECT

 public:
  // The width of "Estimated number of records", in dialog units.
  static constexpr int kEstimateUnits = 117;

  DetailsPage(PaylarkApp& app, SheetMode mode, DialogRunner runner, QWidget* parent = nullptr);

  void Load(const DueRecord& record);
  // Reads the amount and (when recursive) the offset days; a bad value is told, focused and
  // refused. The page's values are only stored after this passed.
  bool ReadFields();
  // Copies the fields into the record; dates only when the user picked other ones.
  void Store(DueRecord& record) const;
  // Next: the fields, then a recursive due needs a pattern.
  bool validatePage() override;

  // A line above the fields saying where they were filled in from; empty hides it.
  void ShowNote(const QString& note);

  // Puts the cursor in Title with its text selected.
  void FocusFirstField();

  bool makeRecursive() const;
  const RecurrencePattern& pattern() const { return pattern_; }
  DueOffset offset() const;

 private:
  QLayout* BuildFields();
  QWidget* BuildRecurrenceGroup();
  void OnMakeRecursiveToggled(bool ticked);
  void OnSetRecurrencePattern();
  void OnStartChanged();
  void OnDueChanged();
  bool Refuse(QLineEdit& field, const Message& message);

  PaylarkApp& app_;
  DialogRunner runner_;
  QLineEdit* title_;
  DatePicker* start_;
  DatePicker* due_;
  QLineEdit* payTo_;
  QLineEdit* account_;
  FilteredLineEdit* amount_;
  StyledComboBox* type_;
  QCheckBox* paid_;
  QCheckBox* makeRecursive_;
  ContractFields* contract_;  // for a series only: shown in the wizard while recursive
  QGroupBox* recurrence_ = nullptr;
  FilteredLineEdit* offsetDays_ = nullptr;
  QDateTimeEdit* offsetTime_ = nullptr;
  QLabel* estimate_ = nullptr;
  QLabel* note_;

  std::int32_t storedType_ = kTypeBusiness;
  double amountValue_ = 0.0;
  int offsetDaysValue_ = 1;
  RecurrencePattern pattern_;
  bool patternSet_ = false;  // never cleared once a pattern was confirmed
};

}  // namespace paylark
