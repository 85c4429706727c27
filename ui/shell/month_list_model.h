#pragma once

#include <QAbstractListModel>
#include <vector>

#include "core/records/due_record.h"

namespace paylark {

class RecordStore;

// The rows of the month list: one owned copy of each due, in list order. A row's display text
// (title, pay-to, amount, due date) serves screen readers and type-ahead; the painter draws it.
// A series member's tooltip adds where it stands in its series, asked of the store on hover.
class MonthListModel final : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit MonthListModel(const RecordStore& store, QObject* parent = nullptr);

  // Replaces every row; views lose their selection.
  void SetRows(std::vector<DueRecord> rows);
  const std::vector<DueRecord>& rows() const { return rows_; }
  // The row's record, or null when row is out of range.
  const DueRecord* RecordAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  const RecordStore& store_;
  std::vector<DueRecord> rows_;
};

}  // namespace paylark
