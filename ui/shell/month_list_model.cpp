#include "ui/shell/month_list_model.h"

#include "core/records/due_details.h"
#include "core/records/record_store.h"
#include "ui/shell/month_row_painter.h"

namespace paylark {

MonthListModel::MonthListModel(const RecordStore& store, QObject* parent)
    : QAbstractListModel(parent), store_(store) {}

void MonthListModel::SetRows(std::vector<DueRecord> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

const DueRecord* MonthListModel::RecordAt(int row) const {
  if (row < 0 || row >= static_cast<int>(rows_.size()))
    return nullptr;
  return &rows_[static_cast<std::size_t>(row)];
}

int MonthListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant MonthListModel::data(const QModelIndex& index, int role) const {
  const DueRecord* record = RecordAt(index.row());
  if (!record)
    return {};
  if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole) {
    const MonthRowTexts texts = MonthRowPainter::TextsOf(*record);
    if (role == Qt::DisplayRole)
      return texts.titleLine;
    const QString line = texts.titleLine + ", " + texts.amount + ", " + texts.dueLine;
    const std::string position =
        SeriesPositionText(store_.records().SeriesPositionOf(record->recordId));
    if (role == Qt::AccessibleTextRole || position.empty())
      return line;
    return line + "\n" + QString::fromUtf8(kSeriesHeading.data(), kSeriesHeading.size()) + ": " +
           QString::fromStdString(position);
  }
  if (role == Qt::SizeHintRole)
    return QSize(1, MonthRowPainter::kRowHeight);
  return {};
}

}  // namespace paylark
