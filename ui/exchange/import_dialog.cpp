#include "ui/exchange/import_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/base/format.h"
#include "core/base/messages.h"
#include "core/exchange/csv_export.h"
#include "ui/widgets/screen_room.h"

namespace paylark {
namespace {

QTableWidget* MakeTable(const QStringList& headings, int rows, QWidget* parent) {
  auto* table = new QTableWidget(rows, static_cast<int>(headings.size()), parent);
  table->setHorizontalHeaderLabels(headings);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setStretchLastSection(true);
  table->setWordWrap(false);
  return table;
}

void Put(QTableWidget& table, int row, int column, const std::string& text) {
  // A cell shows the first line; the whole text is in the tooltip.
  const QString whole = QString::fromStdString(text);
  auto* item = new QTableWidgetItem(whole.section(QLatin1Char('\r'), 0, 0).section('\n', 0, 0));
  if (item->text() != whole)
    item->setToolTip(whole);
  table.setItem(row, column, item);
}

QString SummaryText(const ImportPlan& plan) {
  if (!plan.ok()) {
    return plan.refused.size() == 1
               ? QStringLiteral("1 row cannot be imported. Correct it and import the file again.")
               : QStringLiteral(
                     "%1 rows cannot be imported. Correct them and import the file "
                     "again.")
                     .arg(plan.refused.size());
  }
  if (plan.dues.empty())
    return QString::fromStdString(MessageText(MessageId::kImportNothingToAdd));
  return QString::fromStdString(
      MessageText({MessageId::kImportWouldAdd, {}, static_cast<long long>(plan.dues.size()), {}}));
}

}  // namespace

ImportDialog::ImportDialog(const QString& fileName, const ImportPlan& plan, QWidget* parent)
    : QDialog(parent),
      summary_(new QLabel(SummaryText(plan), this)),
      dues_(MakeTable({QStringLiteral("Row"), QStringLiteral("Due"), QStringLiteral("Title"),
                       QStringLiteral("Pay To"), QStringLiteral("Amount"), QStringLiteral("Type"),
                       QStringLiteral("Status"), QStringLiteral("Series")},
                      static_cast<int>(plan.dues.size()), this)),
      refusedHeading_(new QLabel(QStringLiteral("Rows that cannot be imported:"), this)),
      refused_(MakeTable({QStringLiteral("Row"), QStringLiteral("Reason")},
                         static_cast<int>(plan.refused.size()), this)) {
  setWindowTitle(QStringLiteral("Import CSV - %1").arg(fileName));
  summary_->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  import_ = buttons->addButton(QStringLiteral("&Import"), QDialogButtonBox::AcceptRole);
  import_->setEnabled(plan.ok() && !plan.dues.empty());
  import_->setDefault(import_->isEnabled());
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(dues_, 3);
  layout->addWidget(refusedHeading_);
  layout->addWidget(refused_, 1);
  layout->addWidget(buttons);
  refusedHeading_->setVisible(!plan.ok());
  refused_->setVisible(!plan.ok());
  FillDues(plan);
  FillRefused(plan);
  FitWindow(*this, QSize(760, 480));
}

void ImportDialog::FillDues(const ImportPlan& plan) {
  dues_->setUpdatesEnabled(false);
  for (int row = 0; row < static_cast<int>(plan.dues.size()); ++row) {
    const ImportedDue& due = plan.dues[static_cast<std::size_t>(row)];
    const DueRecord& r = due.record;
    Put(*dues_, row, 0, std::to_string(due.row));
    Put(*dues_, row, 1, CsvDateTime(r.dueDate));
    Put(*dues_, row, 2, r.title);
    Put(*dues_, row, 3, r.payTo);
    Put(*dues_, row, 4, FormatAmount(r.amount));
    Put(*dues_, row, 5, std::string(TypeText(r.type)));
    Put(*dues_, row, 6, std::string(PaidText(r.paid)));
    Put(*dues_, row, 7, due.seriesKey);
    dues_->item(row, 4)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  dues_->resizeColumnsToContents();
  dues_->setUpdatesEnabled(true);
}

void ImportDialog::FillRefused(const ImportPlan& plan) {
  for (int row = 0; row < static_cast<int>(plan.refused.size()); ++row) {
    const RefusedRow& refused = plan.refused[static_cast<std::size_t>(row)];
    Put(*refused_, row, 0, std::to_string(refused.row));
    Put(*refused_, row, 1, MessageText(refused.reason));
  }
  refused_->resizeColumnToContents(0);
}

}  // namespace paylark
