// The least a Qt Widgets program does before the user sees a month of ten dues: the application,
// a maximized main window, a table of ten rows and its first paint. launch_bench times it as
// paylark is timed ("launch_floor_ms"), so that a start figure can be read against what this
// machine's Qt takes before any of Paylark's own work.
#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QMainWindow>
#include <QStandardItemModel>
#include <QTableView>

namespace {

constexpr int kRows = 10;
constexpr int kColumns = 6;

void Mark(const char* what) {
  const double now =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
          .count();
  std::fprintf(stderr, "paylark-start %.3f %s\n", now, what);
}

// Tells of its first painted rows, as the month list does.
class MonthTable : public QTableView {
 protected:
  void paintEvent(QPaintEvent* event) override {
    QTableView::paintEvent(event);
    if (!painted_) {
      painted_ = true;
      Mark("month painted");
    }
  }

 private:
  bool painted_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  Mark("main entered");
  QApplication application(argc, argv);
  Mark("application made");
  QMainWindow window;
  auto* table = new MonthTable;
  auto* model = new QStandardItemModel(kRows, kColumns, table);
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column)
      model->setItem(row, column, new QStandardItem(QStringLiteral("Due %1").arg(row)));
  }
  table->setModel(model);
  window.setCentralWidget(table);
  window.showMaximized();
  Mark("window shown");
  return application.exec();
}
