#include "ui/shell/month_list_model.h"

#include "ui/shell/month_row_painter.h"

namespace paylark {

MonthListModel::MonthListModel(QObject* parent) : QAbstractListModel(parent) {}

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
    return texts.titleLine + ", " + texts.amount + ", " + texts.dueLine;
  }
  if (role == Qt::SizeHintRole)
    return QSize(1, MonthRowPainter::kRowHeight);
  return {};
}

}  // namespace paylark
