#pragma once

#include <QDialog>

#include "core/base/status.h"

class QBarSet;
class QBarCategoryAxis;
class QChartView;
class QSpinBox;
class QTableWidget;
class QValueAxis;

namespace paylark {

class RecordStore;
struct YearSummary;

// Shows the year overview, modal; an error when the module that holds it (it needs Qt Charts)
// cannot be loaded.
[[nodiscard]] Status RunYearOverview(const RecordStore& store, int year, QWidget* parent);

// View → Year Overview: the chosen year's twelve months (paid, unpaid, total) as a table and a
// stacked bar chart, and the year's totals by pay-to. Sums are formatted as the status bar
// formats them. The year picker refills everything.
class YearOverview final : public QDialog {
  Q_OBJECT

 public:
  YearOverview(const RecordStore& store, int year, QWidget* parent = nullptr);

  void ShowYear(int year);

 private:
  QWidget* BuildChart();
  void FillMonths(const YearSummary& summary);
  void FillChart(const YearSummary& summary);
  void FillPayees(const YearSummary& summary);

  const RecordStore& store_;
  QSpinBox* year_;
  QTableWidget* months_;
  QTableWidget* payees_;
  QChartView* chart_ = nullptr;
  QBarSet* paid_ = nullptr;
  QBarSet* unpaid_ = nullptr;
  QBarCategoryAxis* monthAxis_ = nullptr;
  QValueAxis* amountAxis_ = nullptr;
};

}  // namespace paylark
