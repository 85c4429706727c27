#pragma once

#include <QAbstractTableModel>
#include <span>
#include <string_view>
#include <vector>

#include "core/print/print_filter.h"
#include "core/records/due_record.h"

namespace paylark {

// The rows of the print list, sorted by due date (equal dates keep the order given): each a
// private copy of a due with its check mark, shown as due date (with the check box), title,
// pay-to and amount, in a bold font 12 pixels high that is struck through when the due is paid.
// The model owns the copies; a refill replaces them all.
class PrintListModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kDueDateColumn, kTitleColumn, kPayToColumn, kAmountColumn, kColumns };
  enum Role { kPaidRole = Qt::UserRole, kSeriesRole };
  static constexpr int kFontPixels = 12;

  explicit PrintListModel(QObject* parent = nullptr);

  // Replaces every row by the dues given, all unchecked.
  void Fill(std::span<const DueRecord> records);
  void ApplyRecordsAction(RecordsAction action);
  // Checks exactly the rows whose trimmed account equals account.
  void CheckAccount(std::string_view account);
  std::span<const PrintRow> rows() const { return rows_; }
  bool AnyChecked() const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  QVariant DisplayText(const DueRecord& record, int column) const;
  void ChecksChanged();

  std::vector<PrintRow> rows_;
};

}  // namespace paylark
