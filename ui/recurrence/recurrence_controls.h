#pragma once

#include <QRadioButton>
#include <QWidget>
#include <array>

#include "core/recurrence/recurrence_pattern.h"

class QCheckBox;

namespace paylark {

class StyledComboBox;
class FilteredLineEdit;
class DatePicker;

// The Recurrence Pattern dialog's input controls, one struct per kind's group and one for the
// range. Each group is built on its own widget; the dialog shows one group at a time.
struct DayGroup {
  QRadioButton* every = nullptr;
  FilteredLineEdit* interval = nullptr;
  QRadioButton* everyWeekday = nullptr;
};

struct WeekGroup {
  FilteredLineEdit* interval = nullptr;
  std::array<QCheckBox*, 7> weekdays{};  // Sunday to Saturday
};

struct MonthGroup {
  QRadioButton* day = nullptr;
  FilteredLineEdit* dayOfMonth = nullptr;
  FilteredLineEdit* intervalDayForm = nullptr;
  QRadioButton* nth = nullptr;
  StyledComboBox* nthCombo = nullptr;
  StyledComboBox* weekday = nullptr;
  FilteredLineEdit* intervalNthForm = nullptr;
};

struct YearGroup {
  QRadioButton* date = nullptr;
  StyledComboBox* dateMonth = nullptr;
  FilteredLineEdit* day = nullptr;
  QRadioButton* nth = nullptr;
  StyledComboBox* nthCombo = nullptr;
  StyledComboBox* weekday = nullptr;
  StyledComboBox* nthMonth = nullptr;
};

struct RangeBox {
  DatePicker* start = nullptr;
  QRadioButton* endAfter = nullptr;
  FilteredLineEdit* count = nullptr;
  QRadioButton* endBy = nullptr;
  DatePicker* endByDate = nullptr;
};

struct RecurrenceControls {
  StyledComboBox* kind = nullptr;
  DayGroup day;
  WeekGroup week;
  MonthGroup month;
  YearGroup year;
  RangeBox range;
  StyledComboBox* weekend = nullptr;
};

QWidget* BuildDayGroup(DayGroup& group);
QWidget* BuildWeekGroup(WeekGroup& group);
QWidget* BuildMonthGroup(MonthGroup& group);
QWidget* BuildYearGroup(YearGroup& group);
QWidget* BuildRangeBox(RangeBox& range);
StyledComboBox* BuildKindCombo();
// The row "If a due falls on a weekend:" with its three choices.
QWidget* BuildWeekendRow(StyledComboBox*& weekend);

// Puts every setting of the pattern into the controls (all kinds, not only the chosen one).
void ShowPattern(const RecurrencePattern& pattern, RecurrenceControls& controls);
// Reads every control back into a pattern, as the validation and the generation take it.
RecurrencePattern ReadPattern(const RecurrenceControls& controls);

}  // namespace paylark
