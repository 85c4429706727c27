#include "ui/recurrence/recurrence_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/recurrence/pattern_validation.h"
#include "core/recurrence/series_generation.h"
#include "ui/base/paylark_app.h"
#include "ui/widgets/date_picker.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/styled_button.h"
#include "ui/widgets/styled_combo_box.h"

namespace paylark {
namespace {

QGroupBox* Box(const QString& title, QWidget* content) {
  auto* box = new QGroupBox(title);
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(content);
  return box;
}

// The two radios of a pair exclude each other and nothing else.
void Pair(QObject* owner, QRadioButton* first, QRadioButton* second) {
  auto* group = new QButtonGroup(owner);
  group->addButton(first);
  group->addButton(second);
}

}  // namespace

RecurrenceDialog::RecurrenceDialog(PaylarkApp& app, QWidget* parent) : QDialog(parent), app_(app) {
  setWindowTitle(QStringLiteral("Recurrence Pattern"));
  UseFaceBackground(*this);

  controls_.kind = BuildKindCombo();
  auto* kindRow = new QHBoxLayout;
  kindRow->addWidget(new QLabel(QStringLiteral("Due Occurs Every")));
  kindRow->addWidget(controls_.kind, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(kindRow);
  layout->addWidget(BuildPatternBox());
  layout->addWidget(Box(QStringLiteral("Recurrence Range"), BuildRangeBox(controls_.range)));
  layout->addWidget(BuildWeekendRow(controls_.weekend));
  layout->addWidget(BuildButtons());
  layout->setSizeConstraint(QLayout::SetFixedSize);

  Pair(this, controls_.day.every, controls_.day.everyWeekday);
  Pair(this, controls_.month.day, controls_.month.nth);
  Pair(this, controls_.year.date, controls_.year.nth);
  Pair(this, controls_.range.endAfter, controls_.range.endBy);

  ShowPattern(RecurrencePattern::Defaults(app_.clock().Now()), controls_);
  groups_->setCurrentIndex(controls_.kind->currentIndex());
  // A typed date counts when the field is left, whole: never a section at a time.
  for (DatePicker* picker : {controls_.range.start, controls_.range.endByDate})
    picker->setKeyboardTracking(false);
  acceptedStart_ = controls_.range.start->dateTime();
  acceptedEndBy_ = controls_.range.endByDate->dateTime();
  ConnectRules();
}

QWidget* RecurrenceDialog::BuildPatternBox() {
  groups_ = new QStackedWidget;
  groups_->addWidget(BuildDayGroup(controls_.day));
  groups_->addWidget(BuildWeekGroup(controls_.week));
  groups_->addWidget(BuildMonthGroup(controls_.month));
  groups_->addWidget(BuildYearGroup(controls_.year));
  return Box(QStringLiteral("Recurrence Pattern"), groups_);
}

QWidget* RecurrenceDialog::BuildButtons() {
  auto* ok = new StyledButton(QStringLiteral("OK"));
  auto* cancel = new StyledButton(QStringLiteral("Cancel"));
  ok->setObjectName(QStringLiteral("ok"));
  cancel->setObjectName(QStringLiteral("cancel"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &RecurrenceDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &RecurrenceDialog::reject);
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 4, 0, 0);
  layout->addStretch(1);
  layout->addWidget(ok);
  layout->addWidget(cancel);
  layout->addStretch(1);
  return row;
}

void RecurrenceDialog::ConnectRules() {
  connect(controls_.kind, &QComboBox::currentIndexChanged, this, &RecurrenceDialog::OnKindChanged);
  for (QCheckBox* box : controls_.week.weekdays) {
    connect(box, &QCheckBox::clicked, this, [this, box] { OnWeekdayClicked(box); });
  }
  connect(controls_.range.start, &QDateTimeEdit::dateTimeChanged, this,
          &RecurrenceDialog::OnRangeStartChanged);
  connect(controls_.range.endByDate, &QDateTimeEdit::dateTimeChanged, this,
          &RecurrenceDialog::OnEndByChanged);
}

void RecurrenceDialog::OnKindChanged(int index) {
  groups_->setCurrentIndex(index);
}

void RecurrenceDialog::OnWeekdayClicked(QCheckBox* box) {
  const auto& days = controls_.week.weekdays;
  if (std::any_of(days.begin(), days.end(), [](QCheckBox* day) { return day->isChecked(); }))
    return;
  app_.prompt().Tell(this, QString::fromStdString(MessageText(MessageId::kSelectOneDay)));
  box->setChecked(true);
}

// End By never comes before the start. It bounds the start only while it is the chosen range: a
// series that ends after a count may start on any later day, and End By follows it there.
void RecurrenceDialog::OnRangeStartChanged() {
  RangeBox& range = controls_.range;
  if (range.start->dateTime() > range.endByDate->dateTime()) {
    if (range.endBy->isChecked()) {
      Refuse(*range.start, acceptedStart_);
      return;
    }
    range.endByDate->setDateTime(range.start->dateTime());
  }
  acceptedStart_ = range.start->dateTime();
}

void RecurrenceDialog::OnEndByChanged() {
  RangeBox& range = controls_.range;
  if (range.endByDate->dateTime() < range.start->dateTime()) {
    Refuse(*range.endByDate, acceptedEndBy_);
    return;
  }
  acceptedEndBy_ = range.endByDate->dateTime();
}

// A date out of order is refused whole: the field shows the date it had.
void RecurrenceDialog::Refuse(DatePicker& picker, const QDateTime& accepted) {
  const QSignalBlocker quiet(picker);
  picker.setDateTime(accepted);
  QApplication::beep();
}

void RecurrenceDialog::accept() {
  const RecurrencePattern pattern = ReadPattern(controls_);
  if (const std::optional<Message> refusal = ValidatePattern(pattern)) {
    app_.prompt().Tell(this, QString::fromStdString(MessageText(*refusal)));
    return;
  }
  const std::size_t count = SurveySeries(pattern).count;
  if (!ManyDuesConfirmed(count))
    return;
  pattern_ = pattern;
  dueCount_ = count;
  QDialog::accept();
}

// A pattern that would fill the folder with more dues than anyone pays is made only when the
// user says so.
bool RecurrenceDialog::ManyDuesConfirmed(std::size_t count) {
  if (count <= kManyDues)
    return true;
  const Message question{MessageId::kConfirmManyDues, {}, static_cast<long long>(count), {}};
  return app_.prompt().Ask(this, QString::fromStdString(MessageText(question)),
                           PromptButtons::kYesNo, PromptIcon::kWarning) == PromptAnswer::kYes;
}

}  // namespace paylark
