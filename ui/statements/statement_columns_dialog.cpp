#include "ui/statements/statement_columns_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "ui/widgets/screen_room.h"

namespace paylark {
namespace {

using Role = StatementColumnsDialog::Role;

struct RoleField {
  Role role;
  const char* name;   // the combo box's object name
  const char* label;  // with its mnemonic
  std::optional<int> BankCsvColumns::*column;
};

constexpr std::array<RoleField, 8> kFields{{
    {Role::kDate, "date", "&Date:", &BankCsvColumns::date},
    {Role::kAmount, "amount", "A&mount:", &BankCsvColumns::amount},
    {Role::kDebit, "debit", "D&ebit:", &BankCsvColumns::debit},
    {Role::kCredit, "credit", "C&redit:", &BankCsvColumns::credit},
    {Role::kCounterparty, "counterparty", "Counter&party:", &BankCsvColumns::counterparty},
    {Role::kDescription, "description", "Descr&iption:", &BankCsvColumns::description},
    {Role::kReference, "reference", "Re&ference:", &BankCsvColumns::reference},
    // German banks' "S"/"H" (Soll/Haben) beside an amount without sign.
    {Role::kDebitCreditMark, "debitCreditMark",
     "Debit/credit &sign:", &BankCsvColumns::debitCreditMark},
}};

QString SeparatorName(char separator) {
  switch (separator) {
    case ';':
      return QStringLiteral("semicolon");
    case '\t':
      return QStringLiteral("tab");
    default:
      return QStringLiteral("comma");
  }
}

QString ShapeText(const BankCsvShape& shape) {
  return QStringLiteral("Separator: %1 · Decimal mark: %2 · Dates: %3")
      .arg(SeparatorName(shape.separator),
           shape.decimalMark == ',' ? QStringLiteral("comma") : QStringLiteral("point"),
           QString::fromStdString(shape.dateForm));
}

QString ColumnName(const BankCsvShape& shape, int column) {
  const std::size_t index = static_cast<std::size_t>(column);
  const QString name =
      index < shape.header.size() ? QString::fromStdString(shape.header[index]) : QString();
  return name.isEmpty() ? QStringLiteral("Column %1").arg(column + 1)
                        : QStringLiteral("%1: %2").arg(column + 1).arg(name);
}

int ColumnCount(const BankCsvShape& shape) {
  std::size_t count = shape.header.size();
  for (const auto& row : shape.sampleRows)
    count = std::max(count, row.size());
  return static_cast<int>(count);
}

QStringList ColumnNames(const BankCsvShape& shape) {
  QStringList names;
  for (int column = 0; column < ColumnCount(shape); ++column)
    names << ColumnName(shape, column);
  return names;
}

QTableWidget* MakeSample(const BankCsvShape& shape, QWidget* parent) {
  const int columns = ColumnCount(shape);
  auto* table = new QTableWidget(static_cast<int>(shape.sampleRows.size()), columns, parent);
  table->setObjectName(QStringLiteral("sample"));
  table->setHorizontalHeaderLabels(ColumnNames(shape));
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->verticalHeader()->hide();
  table->setWordWrap(false);
  for (std::size_t row = 0; row < shape.sampleRows.size(); ++row) {
    for (std::size_t column = 0; column < shape.sampleRows[row].size(); ++column) {
      table->setItem(static_cast<int>(row), static_cast<int>(column),
                     new QTableWidgetItem(QString::fromStdString(shape.sampleRows[row][column])));
    }
  }
  table->resizeColumnsToContents();
  return table;
}

// A combo's data is the 0-based column, -1 for none.
std::optional<int> Chosen(const QComboBox& combo) {
  const int column = combo.currentData().toInt();
  return column < 0 ? std::nullopt : std::optional<int>(column);
}

}  // namespace

StatementColumnsDialog::StatementColumnsDialog(const QString& fileName, const BankCsvShape& shape,
                                               const BankCsvColumns& preset, QWidget* parent)
    : QDialog(parent),
      columnNames_(ColumnNames(shape)),
      sample_(MakeSample(shape, this)),
      hint_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Statement Columns - %1").arg(fileName));
  auto* intro = new QLabel(QStringLiteral("Choose which column holds what. Paylark remembers the "
                                          "choice for files with the same header."),
                           this);
  intro->setWordWrap(true);
  auto* shapeLine = new QLabel(ShapeText(shape), this);
  shapeLine->setObjectName(QStringLiteral("shape"));
  hint_->setObjectName(QStringLiteral("hint"));
  hint_->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addWidget(shapeLine);
  layout->addWidget(sample_, 1);
  layout->addWidget(BuildChoices(shape, preset));
  layout->addWidget(hint_);
  layout->addWidget(buttons);
  UpdateState();
  combos_.front()->setFocus();
  FitWindow(*this, QSize(720, 500));
}

QWidget* StatementColumnsDialog::BuildChoices(const BankCsvShape& shape,
                                              const BankCsvColumns& preset) {
  auto* choices = new QWidget(this);
  auto* grid = new QGridLayout(choices);
  grid->setContentsMargins(0, 0, 0, 0);
  const int columns = ColumnCount(shape);
  for (std::size_t index = 0; index < kFields.size(); ++index) {
    const RoleField& field = kFields[index];
    auto* combo = new QComboBox(choices);
    combo->setObjectName(QString::fromLatin1(field.name));
    combo->addItem(QStringLiteral("(none)"), -1);
    for (int column = 0; column < columns; ++column)
      combo->addItem(ColumnName(shape, column), column);
    if (const std::optional<int> column = preset.*field.column; column && *column < columns)
      combo->setCurrentIndex(*column + 1);
    connect(combo, &QComboBox::currentIndexChanged, this, &StatementColumnsDialog::UpdateState);
    auto* label = new QLabel(QString::fromLatin1(field.label), choices);
    label->setBuddy(combo);
    // Two roles a row, so the sample keeps its room on a small screen.
    const int row = static_cast<int>(index / 2);
    const int place = static_cast<int>(index % 2) * 2;
    grid->addWidget(label, row, place);
    grid->addWidget(combo, row, place + 1);
    combos_.push_back(combo);
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  return choices;
}

BankCsvColumns StatementColumnsDialog::columns() const {
  BankCsvColumns chosen;
  for (std::size_t index = 0; index < kFields.size(); ++index)
    chosen.*kFields[index].column = Chosen(*combos_[index]);
  return chosen;
}

// Each chosen column's heading names its role, so the sample shows what will be read where.
void StatementColumnsDialog::MarkSample() {
  for (int column = 0; column < sample_->columnCount(); ++column) {
    QStringList roles;
    for (std::size_t index = 0; index < kFields.size(); ++index) {
      if (Chosen(*combos_[index]) == column)
        roles << QString::fromLatin1(kFields[index].label).remove(QLatin1Char('&')).chopped(1);
    }
    QString heading = columnNames_.value(column);
    if (!roles.isEmpty())
      heading += QStringLiteral(" [%1]").arg(roles.join(QStringLiteral(", ")));
    sample_->horizontalHeaderItem(column)->setText(heading);
  }
  sample_->resizeColumnsToContents();
}

void StatementColumnsDialog::UpdateState() {
  MarkSample();
  const BankCsvColumns chosen = columns();
  const bool splitMoney = chosen.debit || chosen.credit;
  QString problem;
  std::vector<int> used;
  for (const QComboBox* combo : combos_) {
    if (const std::optional<int> column = Chosen(*combo))
      used.push_back(*column);
  }
  std::sort(used.begin(), used.end());
  if (!chosen.date) {
    problem = QStringLiteral("Choose the column that holds the booking date.");
  } else if (chosen.amount && splitMoney) {
    problem = QStringLiteral("Choose either one amount column or a debit and a credit column.");
  } else if (!chosen.amount && !(chosen.debit && chosen.credit)) {
    problem = QStringLiteral("Choose the amount column, or the debit and the credit column.");
  } else if (std::adjacent_find(used.begin(), used.end()) != used.end()) {
    problem = QStringLiteral("A column can hold one thing only.");
  }
  hint_->setText(problem);
  hint_->setVisible(!problem.isEmpty());
  ok_->setEnabled(problem.isEmpty());
}

}  // namespace paylark
