#include "ui/print/print_list_model.h"

#include <algorithm>

namespace paylark {

PrintListModel::PrintListModel(QObject* parent) : QAbstractListModel(parent) {}

void PrintListModel::Fill(std::span<const DueRecord> records) {
  beginResetModel();
  rows_ = MakePrintRows(records);
  endResetModel();
}

void PrintListModel::ApplyRecordsAction(RecordsAction action) {
  paylark::ApplyRecordsAction(rows_, action);
  ChecksChanged();
}

void PrintListModel::CheckAccount(std::string_view account) {
  paylark::CheckAccount(rows_, account);
  ChecksChanged();
}

bool PrintListModel::AnyChecked() const {
  return std::any_of(rows_.begin(), rows_.end(), [](const PrintRow& row) { return row.checked; });
}

int PrintListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant PrintListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount())
    return {};
  const PrintRow& row = rows_[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(row.record.title);
    case Qt::CheckStateRole:
      return row.checked ? Qt::Checked : Qt::Unchecked;
    case kPaidRole:
      return row.record.paid != 0;
    case kSeriesRole:
      return !row.record.seriesId.empty();
    default:
      return {};
  }
}

bool PrintListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= rowCount())
    return false;
  rows_[static_cast<size_t>(index.row())].checked = value.toInt() == Qt::Checked;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  return true;
}

Qt::ItemFlags PrintListModel::flags(const QModelIndex& index) const {
  if (!index.isValid())
    return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

void PrintListModel::ChecksChanged() {
  if (rows_.empty())
    return;
  emit dataChanged(index(0), index(rowCount() - 1), {Qt::CheckStateRole});
}

}  // namespace paylark
