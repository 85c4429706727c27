#include "ui/editor/details_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <variant>

#include "core/base/field_parsing.h"
#include "core/base/locale_amount.h"
#include "ui/base/paylark_app.h"
#include "ui/editor/contract_fields.h"
#include "ui/recurrence/recurrence_dialog.h"
#include "ui/widgets/date_picker.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/filtered_line_edit.h"
#include "ui/widgets/section_keys.h"
#include "ui/widgets/styled_button.h"
#include "ui/widgets/styled_combo_box.h"

namespace paylark {
namespace {

template <class Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

// A width in dialog units of the font: each unit a quarter of its average character width.
int DialogUnitsWide(const QFontMetrics& metrics, int units) {
  const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const auto letters = static_cast<int>(alphabet.size());
  return (units * metrics.horizontalAdvance(alphabet) / letters + 2) / 4;
}

}  // namespace

DetailsPage::DetailsPage(PaylarkApp& app, SheetMode mode, DialogRunner runner, QWidget* parent)
    : QWizardPage(parent),
      app_(app),
      runner_(std::move(runner)),
      title_(Named(new QLineEdit, "title")),
      start_(Named(new DatePicker, "startDate")),
      due_(Named(new DatePicker, "dueDate")),
      payTo_(Named(new QLineEdit, "payTo")),
      account_(Named(new QLineEdit, "account")),
      amount_(Named(new FilteredLineEdit(FilteredLineEdit::Filter::kAmount), "amount")),
      type_(Named(new StyledComboBox, "type")),
      paid_(Named(new QCheckBox(QStringLiteral("Paid")), "paid")),
      makeRecursive_(Named(new QCheckBox(QStringLiteral("Make Recursive Due")), "makeRecursive")),
      contract_(new ContractFields),
      note_(Named(new QLabel, "note")) {
  UseFaceBackground(*this);
  for (const TypeEntry& entry : kTypeTable) {
    type_->addItem(
        QString::fromLatin1(entry.text.data(), static_cast<qsizetype>(entry.text.size())),
        entry.value);
  }
  paid_->setLayoutDirection(Qt::RightToLeft);

  auto* right = new QVBoxLayout;
  right->addWidget(makeRecursive_);
  right->addWidget(BuildRecurrenceGroup());
  right->addStretch(1);
  auto* columns = new QHBoxLayout;
  columns->addLayout(BuildFields(), 3);
  columns->addSpacing(12);
  // Without "Make Recursive Due" the fields take the whole width.
  columns->addLayout(right, mode == SheetMode::kNewDue ? 2 : 0);
  note_->setWordWrap(true);
  note_->hide();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note_);
  layout->addLayout(columns);
  layout->addWidget(contract_);
  contract_->hide();

  if (mode == SheetMode::kModify) {
    makeRecursive_->hide();
    QSizePolicy noPlace = recurrence_->sizePolicy();
    noPlace.setRetainSizeWhenHidden(false);
    recurrence_->setSizePolicy(noPlace);
  }
  connect(makeRecursive_, &QCheckBox::toggled, this, &DetailsPage::OnMakeRecursiveToggled);
  connect(start_, &QDateTimeEdit::dateTimeChanged, this, &DetailsPage::OnStartChanged);
  connect(due_, &QDateTimeEdit::dateTimeChanged, this, &DetailsPage::OnDueChanged);
}

QLayout* DetailsPage::BuildFields() {
  auto* grid = new QGridLayout;
  grid->setVerticalSpacing(8);
  const std::pair<const char*, QWidget*> rows[] = {
      {"Title", title_},     {"Start Date", start_}, {"Due Date", due_}, {"Pay To", payTo_},
      {"Account", account_}, {"Amount", amount_},    {"Type", type_}};
  int row = 0;
  for (const auto& [label, field] : rows) {
    grid->addWidget(new QLabel(QString::fromLatin1(label)), row, 0);
    grid->addWidget(field, row, 1);
    ++row;
  }
  grid->addWidget(paid_, row, 0, Qt::AlignLeft);
  grid->setRowStretch(row + 1, 1);
  grid->setColumnStretch(1, 1);
  return grid;
}

QWidget* DetailsPage::BuildRecurrenceGroup() {
  recurrence_ = Named(new QGroupBox, "recurrenceGroup");
  auto* setPattern =
      Named(new StyledButton(QStringLiteral("Set Recurrence Pattern")), "setRecurrencePattern");
  setPattern->SetStyleBorder(3);
  connect(setPattern, &QPushButton::clicked, this, &DetailsPage::OnSetRecurrencePattern);
  offsetDays_ = Named(new FilteredLineEdit(FilteredLineEdit::Filter::kNumber), "offsetDays");
  offsetDays_->setFixedWidth(40);
  offsetDays_->setText(QString::number(offsetDaysValue_));
  offsetTime_ = Named(new QDateTimeEdit, "offsetTime");
  offsetTime_->setTimeSpec(Qt::UTC);
  offsetTime_->setDisplayFormat(QStringLiteral(" HH : mm"));
  UseSectionKeys(*offsetTime_);
  estimate_ = Named(new QLabel, "estimate");
  // 117 dialog units wide whatever the count; a long count wraps below the words, whole.
  estimate_->setFixedWidth(DialogUnitsWide(estimate_->fontMetrics(), kEstimateUnits));
  estimate_->setWordWrap(true);
  estimate_->setMinimumHeight(2 * estimate_->fontMetrics().lineSpacing());
  estimate_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* grid = new QGridLayout(recurrence_);
  grid->setVerticalSpacing(8);
  grid->addWidget(setPattern, 0, 0, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("Due Date occurs")), 1, 0);
  grid->addWidget(offsetDays_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Days and")), 1, 2);
  grid->addWidget(offsetTime_, 2, 0, Qt::AlignRight);
  grid->addWidget(new QLabel(QStringLiteral("Hours & Minutes")), 2, 1, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("after Start Date")), 3, 1, 1, 2);
  grid->addWidget(estimate_, 4, 0, 1, 3);
  grid->setColumnStretch(3, 1);

  QSizePolicy keepPlace = recurrence_->sizePolicy();
  keepPlace.setRetainSizeWhenHidden(true);
  recurrence_->setSizePolicy(keepPlace);
  recurrence_->hide();
  return recurrence_;
}

void DetailsPage::Load(const DueRecord& record) {
  title_->setText(Text(record.title));
  start_->SetValue(record.startDate);
  due_->SetValue(record.dueDate);
  payTo_->setText(Text(record.payTo));
  account_->setText(Text(record.account));
  amount_->setText(QString::fromStdString(AmountFieldText(record.amount, amount_->marks())));
  storedType_ = record.type;
  type_->setCurrentIndex(type_->findData(record.type));
  paid_->setChecked(IsPaid(record));
  contract_->Load(record);
  contract_->setVisible(IsSeriesMember(record) || makeRecursive());
}

bool DetailsPage::Refuse(QLineEdit& field, const Message& message) {
  app_.prompt().Tell(this, QString::fromStdString(MessageText(message)));
  field.setFocus();
  field.selectAll();
  return false;
}

bool DetailsPage::ReadFields() {
  const std::variant<double, Message> amount =
      ParseLocaleAmount(amount_->text().toStdString(), amount_->marks());
  if (const Message* refusal = std::get_if<Message>(&amount))
    return Refuse(*amount_, *refusal);
  amountValue_ = std::get<double>(amount);
  if (QString problem; contract_->isVisibleTo(this) && !contract_->Check(problem)) {
    app_.prompt().Tell(this, problem);
    return false;
  }
  if (!makeRecursive())
    return true;
  const std::variant<int, Message> days = ParseInteger(offsetDays_->text().toStdString());
  if (const Message* refusal = std::get_if<Message>(&days))
    return Refuse(*offsetDays_, *refusal);
  offsetDaysValue_ = std::get<int>(days);
  return true;
}

void DetailsPage::Store(DueRecord& record) const {
  record.title = title_->text().toStdString();
  record.startDate = start_->Value();
  record.dueDate = due_->Value();
  record.payTo = payTo_->text().toStdString();
  record.account = account_->text().toStdString();
  record.amount = amountValue_;
  record.type = type_->currentIndex() >= 0 ? type_->currentData().toInt() : storedType_;
  record.paid = paid_->isChecked() ? 1 : 0;
  if (contract_->isVisibleTo(this))
    contract_->Store(record);
}

bool DetailsPage::validatePage() {
  if (!ReadFields())
    return false;
  if (makeRecursive() && !patternSet_) {
    app_.prompt().Tell(this, QString::fromStdString(MessageText(MessageId::kSetRecurrencePattern)));
    return false;
  }
  return true;
}

void DetailsPage::ShowNote(const QString& note) {
  note_->setText(note);
  note_->setVisible(!note.isEmpty());
}

void DetailsPage::FocusFirstField() {
  title_->setFocus(Qt::OtherFocusReason);
  title_->selectAll();
}

bool DetailsPage::makeRecursive() const {
  return makeRecursive_->isChecked();
}

DueOffset DetailsPage::offset() const {
  const QTime time = offsetTime_->time();
  return DueOffset{offsetDaysValue_, time.hour(), time.minute(), time.second(),
                   pattern_.weekendShift};
}

void DetailsPage::OnMakeRecursiveToggled(bool ticked) {
  start_->setEnabled(!ticked);
  due_->setEnabled(!ticked);
  if (ticked)
    offsetTime_->setTime(QTime(0, 0));
  recurrence_->setVisible(ticked);
  contract_->setVisible(ticked);
}

void DetailsPage::OnSetRecurrencePattern() {
  RecurrenceDialog dialog(app_, this);
  if (runner_(dialog) != QDialog::Accepted)
    return;
  pattern_ = dialog.pattern();
  patternSet_ = true;
  estimate_->setText(QStringLiteral("%1 %2")
                         .arg(QStringLiteral("Estimated number of records : "))
                         .arg(dialog.dueCount()));
}

void DetailsPage::OnStartChanged() {
  due_->SetNoMaximum();
  due_->SetMinimum(start_->dateTime());
}

void DetailsPage::OnDueChanged() {
  start_->SetNoMinimum();
  start_->SetMaximum(due_->dateTime());
}

}  // namespace paylark
