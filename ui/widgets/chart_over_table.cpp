#include "ui/widgets/chart_over_table.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QTableView>

namespace paylark {
namespace {

constexpr int kChartShortest = 130;
constexpr int kChartComfortable = 300;
constexpr int kTableRows = 3;
// Of the room beyond both minimums, the chart's share against the table's, until the chart is
// comfortable.
constexpr int kChartShare = 2;
constexpr int kTableShare = 3;

}  // namespace

void AddChartOverTable(QBoxLayout& column, QWidget& chart, QTableView& table) {
  chart.setMinimumHeight(kChartShortest);
  chart.setMaximumHeight(kChartComfortable);
  table.setMinimumHeight(table.horizontalHeader()->sizeHint().height() +
                         kTableRows * table.verticalHeader()->defaultSectionSize() +
                         2 * table.frameWidth());
  column.addWidget(&chart, kChartShare);
  column.addWidget(&table, kTableShare);
}

}  // namespace paylark
