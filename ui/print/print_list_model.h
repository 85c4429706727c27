#pragma once

#include <QAbstractListModel>
#include <span>
#include <string_view>
#include <vector>

#include "core/print/print_filter.h"
#include "core/records/due_record.h"

namespace paylark {

// The rows of the print list: each a private copy of a due with its check mark. The model owns
// the copies; a refill replaces them all. Display data is the title, so screen readers and
// type-ahead see the rows.
class PrintListModel final : public QAbstractListModel {
  Q_OBJECT

 public:
  enum Role { kPaidRole = Qt::UserRole, kSeriesRole };

  explicit PrintListModel(QObject* parent = nullptr);

  // Replaces every row by the dues given, in that order, all unchecked.
  void Fill(std::span<const DueRecord> records);
  void ApplyRecordsAction(RecordsAction action);
  // Checks exactly the rows whose trimmed account equals account.
  void CheckAccount(std::string_view account);
  std::span<const PrintRow> rows() const { return rows_; }
  bool AnyChecked() const;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  void ChecksChanged();

  std::vector<PrintRow> rows_;
};

}  // namespace paylark
