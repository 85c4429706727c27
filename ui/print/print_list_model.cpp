#include "ui/print/print_list_model.h"

#include <QFont>
#include <algorithm>

#include "core/base/format.h"
#include "core/records/due_details.h"

namespace paylark {

PrintListModel::PrintListModel(QObject* parent) : QAbstractTableModel(parent) {}

void PrintListModel::Fill(std::span<const DueRecord> records) {
  beginResetModel();
  rows_ = MakePrintRows(records);
  std::stable_sort(rows_.begin(), rows_.end(), [](const PrintRow& a, const PrintRow& b) {
    return a.record.dueDate < b.record.dueDate;
  });
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

int PrintListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant PrintListModel::DisplayText(const DueRecord& record, int column) const {
  switch (column) {
    case kDueDateColumn:
      return QString::fromStdString(DateAndTimeText(record.dueDate));
    case kTitleColumn:
      return QString::fromStdString(record.title);
    case kPayToColumn:
      return QString::fromStdString(record.payTo);
    case kAmountColumn:
      return QString::fromStdString(FormatAmount(record.amount));
    default:
      return {};
  }
}

QVariant PrintListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount())
    return {};
  const PrintRow& row = rows_[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return DisplayText(row.record, index.column());
    case Qt::CheckStateRole:
      if (index.column() != kDueDateColumn)
        return {};
      return row.checked ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
      if (index.column() == kAmountColumn)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    case Qt::FontRole: {
      QFont font;
      font.setPixelSize(kFontPixels);
      font.setBold(true);
      font.setStrikeOut(row.record.paid != 0);
      return font;
    }
    case kPaidRole:
      return row.record.paid != 0;
    case kSeriesRole:
      return !row.record.seriesId.empty();
    default:
      return {};
  }
}

QVariant PrintListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
    return {};
  static const char* const kHeadings[] = {"Due date", "Title", "Pay To", "Amount"};
  return section >= 0 && section < kColumns ? QString::fromLatin1(kHeadings[section]) : QVariant();
}

bool PrintListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= rowCount() ||
      index.column() != kDueDateColumn) {
    return false;
  }
  rows_[static_cast<size_t>(index.row())].checked = value.toInt() == Qt::Checked;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  return true;
}

Qt::ItemFlags PrintListModel::flags(const QModelIndex& index) const {
  if (!index.isValid())
    return Qt::NoItemFlags;
  const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  return index.column() == kDueDateColumn ? flags | Qt::ItemIsUserCheckable : flags;
}

void PrintListModel::ChecksChanged() {
  if (rows_.empty())
    return;
  emit dataChanged(index(0, kDueDateColumn), index(rowCount() - 1, kDueDateColumn),
                   {Qt::CheckStateRole});
}

}  // namespace paylark
