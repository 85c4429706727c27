#pragma once

#include <QDialog>
#include <vector>

#include "core/base/status.h"
#include "core/records/due_record.h"

class QChartView;
class QTableWidget;

namespace paylark {

// Shows the series history of `members`, modal; an error when the module that holds it (it needs
// Qt Charts) cannot be loaded.
[[nodiscard]] Status RunSeriesHistory(std::vector<DueRecord> members, QWidget* parent);

// View → Series History: the members of one series in due-date order, as a chart of their
// amounts and paid amounts over time (a date axis) and a table (due date, amount, paid on, paid
// amount, change from the member before). Amounts are formatted as the month list formats them.
class SeriesHistoryWindow final : public QDialog {
  Q_OBJECT

 public:
  // `members` as SeriesHistory orders them.
  explicit SeriesHistoryWindow(std::vector<DueRecord> members, QWidget* parent = nullptr);

 private:
  QWidget* BuildChart();
  void FillTable();

  std::vector<DueRecord> members_;
  QTableWidget* table_;
  QChartView* chart_ = nullptr;
};

}  // namespace paylark
