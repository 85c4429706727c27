#pragma once

#include <QRadioButton>
#include <QWidget>
#include <array>

#include "core/recurrence/recurrence_pattern.h"

class QCheckBox;

namespace paylark {

class CGuiComboBoxExt;
class CNumberEdit;
class DatePicker;

// The Recurrence Pattern dialog's input controls, one struct per kind's group and one for the
// range. Each group is built on its own widget; the dialog shows one group at a time.
struct DayGroup {
  QRadioButton* every = nullptr;
  CNumberEdit* interval = nullptr;
  QRadioButton* everyWeekday = nullptr;
};

struct WeekGroup {
  CNumberEdit* interval = nullptr;
  std::array<QCheckBox*, 7> weekdays{};  // Sunday to Saturday
};

struct MonthGroup {
  QRadioButton* day = nullptr;
  CNumberEdit* dayOfMonth = nullptr;
  CNumberEdit* intervalDayForm = nullptr;
  QRadioButton* nth = nullptr;
  CGuiComboBoxExt* nthCombo = nullptr;
  CGuiComboBoxExt* weekday = nullptr;
  CNumberEdit* intervalNthForm = nullptr;
};

struct YearGroup {
  QRadioButton* date = nullptr;
  CGuiComboBoxExt* dateMonth = nullptr;
  CNumberEdit* day = nullptr;
  QRadioButton* nth = nullptr;
  CGuiComboBoxExt* nthCombo = nullptr;
  CGuiComboBoxExt* weekday = nullptr;
  CGuiComboBoxExt* nthMonth = nullptr;
};

struct RangeBox {
  DatePicker* start = nullptr;
  QRadioButton* endAfter = nullptr;
  CNumberEdit* count = nullptr;
  QRadioButton* endBy = nullptr;
  DatePicker* endByDate = nullptr;
};

struct RecurrenceControls {
  CGuiComboBoxExt* kind = nullptr;
  DayGroup day;
  WeekGroup week;
  MonthGroup month;
  YearGroup year;
  RangeBox range;
};

QWidget* BuildDayGroup(DayGroup& group);
QWidget* BuildWeekGroup(WeekGroup& group);
QWidget* BuildMonthGroup(MonthGroup& group);
QWidget* BuildYearGroup(YearGroup& group);
QWidget* BuildRangeBox(RangeBox& range);
CGuiComboBoxExt* BuildKindCombo();

// Puts every setting of the pattern into the controls (all kinds, not only the chosen one).
void ShowPattern(const RecurrencePattern& pattern, RecurrenceControls& controls);
// Reads every control back into a pattern, as the validation and the generation take it.
RecurrencePattern ReadPattern(const RecurrenceControls& controls);

}  // namespace paylark
