#pragma once

class QBoxLayout;
class QTableView;
class QWidget;

namespace paylark {

// Adds a chart and, below it, a table to a window's column. The chart stays between the shortest
// height that keeps its axis labels and a comfortable one; the table shows at least three rows
// and takes the room beyond, so a taller window lists more rows rather than a taller chart.
void AddChartOverTable(QBoxLayout& column, QWidget& chart, QTableView& table);

}  // namespace paylark
