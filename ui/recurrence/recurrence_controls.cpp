#include "ui/recurrence/recurrence_controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "ui/widgets/date_picker.h"
#include "ui/widgets/filtered_line_edit.h"
#include "ui/widgets/styled_combo_box.h"

namespace paylark {
namespace {

constexpr int kNumberWidth = 40;
constexpr std::array<const char*, 7> kWeekdayBoxTexts = {"Sun", "Mon", "Tue", "Wed",
                                                         "Thu", "Fri", "Sat"};

template <std::size_t N>
StyledComboBox* Combo(const QString& name, const std::array<std::string_view, N>& items) {
  auto* combo = new StyledComboBox;
  combo->setObjectName(name);
  for (std::string_view item : items) {
    combo->addItem(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
  }
  return combo;
}

FilteredLineEdit* Number(const QString& name) {
  auto* edit = new FilteredLineEdit(FilteredLineEdit::Filter::kNumber);
  edit->setObjectName(name);
  edit->setFixedWidth(kNumberWidth);
  return edit;
}

QRadioButton* Radio(const QString& text, const QString& name) {
  auto* radio = new QRadioButton(text);
  radio->setObjectName(name);
  return radio;
}

QLabel* Label(const char* text) {
  return new QLabel(QString::fromLatin1(text));
}

QGridLayout* Grid(QWidget* owner) {
  auto* grid = new QGridLayout(owner);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(8);
  return grid;
}

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

std::string Text(const QLineEdit& edit) {
  return edit.text().toStdString();
}

}  // namespace

StyledComboBox* BuildKindCombo() {
  return Combo(QStringLiteral("kind"), kKindNames);
}

QWidget* BuildWeekendRow(StyledComboBox*& weekend) {
  weekend = Combo(QStringLiteral("weekendShift"), kWeekendShiftTexts);
  auto* owner = new QWidget;
  auto* row = new QHBoxLayout(owner);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(Label("If a due falls on a weekend:"));
  row->addWidget(weekend, 1);
  return owner;
}

QWidget* BuildDayGroup(DayGroup& group) {
  auto* owner = new QWidget;
  QGridLayout* grid = Grid(owner);
  group.every = Radio(QStringLiteral("Every"), QStringLiteral("dayEvery"));
  group.interval = Number(QStringLiteral("dayInterval"));
  group.everyWeekday = Radio(QStringLiteral("Every WeekDay"), QStringLiteral("dayEveryWeekday"));
  grid->addWidget(group.every, 0, 0);
  grid->addWidget(group.interval, 0, 1);
  grid->addWidget(Label("Day(s)"), 0, 2);
  grid->addWidget(group.everyWeekday, 1, 0, 1, 3);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(2, 1);
  return owner;
}

QWidget* BuildWeekGroup(WeekGroup& group) {
  auto* owner = new QWidget;
  QGridLayout* grid = Grid(owner);
  group.interval = Number(QStringLiteral("weekInterval"));
  auto* every = new QHBoxLayout;
  every->setSpacing(6);
  every->addWidget(Label("Recur Every"));
  every->addWidget(group.interval);
  every->addWidget(Label("Week(s) On"));
  every->addStretch(1);
  grid->addLayout(every, 0, 0, 1, 5);
  for (std::size_t day = 0; day < group.weekdays.size(); ++day) {
    auto* box = new QCheckBox(QString::fromLatin1(kWeekdayBoxTexts[day]));
    box->setObjectName(QStringLiteral("weekday%1").arg(day));
    group.weekdays[day] = box;
    const int index = static_cast<int>(day);
    grid->addWidget(box, 1 + index / 4, index % 4);
  }
  grid->setColumnStretch(4, 1);
  grid->setRowStretch(3, 1);
  return owner;
}

QWidget* BuildMonthGroup(MonthGroup& group) {
  auto* owner = new QWidget;
  QGridLayout* grid = Grid(owner);
  group.day = Radio(QStringLiteral("Day"), QStringLiteral("monthDay"));
  group.dayOfMonth = Number(QStringLiteral("monthDayOfMonth"));
  group.intervalDayForm = Number(QStringLiteral("monthIntervalDayForm"));
  group.nth = Radio(QStringLiteral("The"), QStringLiteral("monthThe"));
  group.nthCombo = Combo(QStringLiteral("monthNth"), kNthNames);
  group.weekday = Combo(QStringLiteral("monthWeekday"), kWeekdayNames);
  group.intervalNthForm = Number(QStringLiteral("monthIntervalNthForm"));

  // Both "Of Every" rows line up, their month fields under the weekday combo.
  grid->addWidget(group.day, 0, 0);
  grid->addWidget(group.dayOfMonth, 0, 1);
  grid->addWidget(Label("Of Every"), 0, 2, Qt::AlignRight);
  grid->addWidget(group.intervalDayForm, 0, 3);
  grid->addWidget(Label("Month(s)"), 0, 4);
  grid->addWidget(group.nth, 1, 0);
  grid->addWidget(group.nthCombo, 1, 1, 1, 2);
  grid->addWidget(group.weekday, 1, 3, 1, 2);
  grid->addWidget(Label("Of Every"), 2, 2, Qt::AlignRight);
  grid->addWidget(group.intervalNthForm, 2, 3);
  grid->addWidget(Label("Month(s)"), 2, 4);
  grid->setColumnStretch(5, 1);
  grid->setRowStretch(3, 1);
  return owner;
}

QWidget* BuildYearGroup(YearGroup& group) {
  auto* owner = new QWidget;
  QGridLayout* grid = Grid(owner);
  group.date = Radio(QStringLiteral("Every"), QStringLiteral("yearEvery"));
  group.dateMonth = Combo(QStringLiteral("yearDateMonth"), kMonthNames);
  group.day = Number(QStringLiteral("yearDay"));
  group.nth = Radio(QStringLiteral("The"), QStringLiteral("yearThe"));
  group.nthCombo = Combo(QStringLiteral("yearNth"), kNthNames);
  group.weekday = Combo(QStringLiteral("yearWeekday"), kWeekdayNames);
  group.nthMonth = Combo(QStringLiteral("yearNthMonth"), kMonthNames);

  grid->addWidget(group.date, 0, 0);
  grid->addWidget(group.dateMonth, 0, 1);
  grid->addWidget(group.day, 0, 2, Qt::AlignLeft);
  grid->addWidget(group.nth, 1, 0);
  grid->addWidget(group.nthCombo, 1, 1);
  grid->addWidget(group.weekday, 1, 2);
  grid->addWidget(Label("Of"), 2, 1, Qt::AlignRight);
  grid->addWidget(group.nthMonth, 2, 2);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(3, 1);
  return owner;
}

QWidget* BuildRangeBox(RangeBox& range) {
  auto* owner = new QWidget;
  QGridLayout* grid = Grid(owner);
  range.start = new DatePicker;
  range.start->setObjectName(QStringLiteral("rangeStart"));
  range.endAfter = Radio(QStringLiteral("End After"), QStringLiteral("endAfter"));
  range.count = Number(QStringLiteral("count"));
  range.endBy = Radio(QStringLiteral("End By"), QStringLiteral("endBy"));
  range.endByDate = new DatePicker;
  range.endByDate->setObjectName(QStringLiteral("endByDate"));

  grid->addWidget(Label("Start Date"), 0, 0);
  grid->addWidget(range.start, 0, 1);
  grid->addWidget(range.endAfter, 1, 0);
  auto* countRow = new QHBoxLayout;
  countRow->setSpacing(6);
  countRow->addWidget(range.count);
  countRow->addWidget(Label("Occurances"));
  countRow->addStretch(1);
  grid->addLayout(countRow, 1, 1);
  grid->addWidget(range.endBy, 2, 0);
  grid->addWidget(range.endByDate, 2, 1);
  grid->setColumnStretch(1, 1);
  return owner;
}

void ShowPattern(const RecurrencePattern& pattern, RecurrenceControls& c) {
  c.kind->setCurrentIndex(static_cast<int>(pattern.kind));

  c.day.every->setChecked(pattern.dayForm == DayForm::kEveryNDays);
  c.day.everyWeekday->setChecked(pattern.dayForm == DayForm::kEveryWeekday);
  c.day.interval->setText(Text(pattern.dayInterval));

  c.week.interval->setText(Text(pattern.weekInterval));
  for (std::size_t day = 0; day < c.week.weekdays.size(); ++day) {
    c.week.weekdays[day]->setChecked(pattern.weekdays[day]);
  }

  c.month.day->setChecked(pattern.monthForm == MonthForm::kDayOfMonth);
  c.month.nth->setChecked(pattern.monthForm == MonthForm::kNthWeekday);
  c.month.dayOfMonth->setText(Text(pattern.monthDay));
  c.month.intervalDayForm->setText(Text(pattern.monthIntervalDayForm));
  c.month.nthCombo->setCurrentIndex(pattern.monthNth);
  c.month.weekday->setCurrentIndex(pattern.monthWeekday);
  c.month.intervalNthForm->setText(Text(pattern.monthIntervalNthForm));

  c.year.date->setChecked(pattern.yearForm == YearForm::kDate);
  c.year.nth->setChecked(pattern.yearForm == YearForm::kNthWeekday);
  c.year.dateMonth->setCurrentIndex(pattern.yearDateMonth);
  c.year.day->setText(Text(pattern.yearDay));
  c.year.nthCombo->setCurrentIndex(pattern.yearNth);
  c.year.weekday->setCurrentIndex(pattern.yearWeekday);
  c.year.nthMonth->setCurrentIndex(pattern.yearNthMonth);

  c.range.start->SetValue(pattern.rangeStart);
  c.range.endByDate->SetValue(pattern.endBy);
  c.range.endAfter->setChecked(pattern.rangeEnd == RangeEnd::kAfterCount);
  c.range.endBy->setChecked(pattern.rangeEnd == RangeEnd::kByDate);
  c.range.count->setText(Text(pattern.count));
  c.weekend->setCurrentIndex(static_cast<int>(pattern.weekendShift));
}

RecurrencePattern ReadPattern(const RecurrenceControls& c) {
  RecurrencePattern pattern;
  pattern.kind = static_cast<RecurrenceKind>(c.kind->currentIndex());

  pattern.dayForm = c.day.everyWeekday->isChecked() ? DayForm::kEveryWeekday : DayForm::kEveryNDays;
  pattern.dayInterval = Text(*c.day.interval);

  pattern.weekInterval = Text(*c.week.interval);
  for (std::size_t day = 0; day < c.week.weekdays.size(); ++day) {
    pattern.weekdays[day] = c.week.weekdays[day]->isChecked();
  }

  pattern.monthForm = c.month.nth->isChecked() ? MonthForm::kNthWeekday : MonthForm::kDayOfMonth;
  pattern.monthDay = Text(*c.month.dayOfMonth);
  pattern.monthIntervalDayForm = Text(*c.month.intervalDayForm);
  pattern.monthNth = c.month.nthCombo->currentIndex();
  pattern.monthWeekday = c.month.weekday->currentIndex();
  pattern.monthIntervalNthForm = Text(*c.month.intervalNthForm);

  pattern.yearForm = c.year.nth->isChecked() ? YearForm::kNthWeekday : YearForm::kDate;
  pattern.yearDateMonth = c.year.dateMonth->currentIndex();
  pattern.yearDay = Text(*c.year.day);
  pattern.yearNth = c.year.nthCombo->currentIndex();
  pattern.yearWeekday = c.year.weekday->currentIndex();
  pattern.yearNthMonth = c.year.nthMonth->currentIndex();

  pattern.rangeStart = c.range.start->Value();
  pattern.rangeEnd = c.range.endBy->isChecked() ? RangeEnd::kByDate : RangeEnd::kAfterCount;
  pattern.count = Text(*c.range.count);
  pattern.endBy = c.range.endByDate->Value();
  pattern.weekendShift = static_cast<WeekendShift>(c.weekend->currentIndex());
  return pattern;
}

}  // namespace paylark
