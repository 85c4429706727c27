#include <QAction>
#include <QChartView>
#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QStackedBarSeries>
#include <QtCharts/QValueAxis>
#include <cmath>
#include <utility>

#include "core/records/payment.h"
#include "core/records/series_history.h"
#include "tests/support/scoped_locale.h"
#include "tests/ui/fakes.h"
#include "tests/ui/ui_tests.h"
#include "ui/shell/commands.h"
#include "ui/shell/details_bar.h"
#include "ui/shell/main_tool_bar.h"
#include "ui/shell/main_window.h"
#include "ui/shell/month_list_model.h"
#include "ui/shell/month_list_view.h"
#include "ui/shell/search_box.h"
#include "ui/shell/series_history_window.h"
#include "ui/shell/status_panes.h"
#include "ui/shell/year_overview.h"

namespace paylark::test {
namespace {

// Dues of three years around "today", 15 March 2026, and the window over them.
struct Fixture {
  Fixture() {
    ws.AddDue("Rent", "Landlord", 850, At(2026, 3, 1, 9), true);
    ws.AddDue("Strom März", "Stadtwerke", 92.4, At(2026, 3, 10, 12));
    ws.AddDue("Квартплата", "ЖКХ Москва", 41.2, At(2026, 5, 5, 10));
    ws.AddDue("Rent", "Landlord", 850, At(2026, 4, 1, 9));
    ws.AddDue("Strom Dezember", "STADTWERKE", 120.5, At(2025, 12, 10, 12), true);
    ws.AddDue("Car insurance", "Safe Drive", 410.75, At(2026, 7, 28, 8));
    ws.AddDue("Gym", "FitCo", 35, At(2026, 3, 15, 18), true);
    ws.AddDue("Gym", "FitCo", 35, At(2026, 11, 15, 18));
    ws.AddDue("Refund", "Safe Drive", -20, At(2026, 7, 30, 8), true);
    ws.AddDue("Next year", "Landlord", 900, At(2027, 1, 1, 9));
    frame = std::make_unique<MainWindow>(ws.app, dialogs);
    frame->resize(1100, 720);
    frame->show();
  }
  MonthListView& view() { return frame->view(); }
  SearchBox& search() { return frame->searchBox(); }
  QTreeWidget& results() { return search().results(); }
  QString Result(int row, int column) { return results().topLevelItem(row)->text(column); }

  Workspace ws;
  FakeDialogs dialogs;
  std::unique_ptr<MainWindow> frame;
};

// Types into the search field as a keyboard would, letters beyond ASCII too.
void Type(SearchBox& field, const QString& text) {
  for (const QChar character : text)
    QTest::sendKeyEvent(QTest::Click, &field, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

// The window with the search results drawn where they stand on the screen.
void SnapshotWithResults(Fixture& f, const QString& name) {
  QPixmap picture = f.frame->grab();
  QPainter painter(&picture);
  painter.drawPixmap(f.frame->mapFromGlobal(f.results().pos()), f.results().grab());
  painter.end();
  QLabel shown;
  shown.setPixmap(picture);
  shown.resize(picture.size());
  Snapshot(shown, name);
}

QStringList Column(const QTableWidget& table, int column) {
  QStringList texts;
  for (int row = 0; row < table.rowCount(); ++row)
    texts << table.item(row, column)->text();
  return texts;
}

}  // namespace

void OverviewTest::init() {
  UseFreshSettings();
}

void OverviewTest::SearchListsDuesOfEveryMonthWhileTyping() {
  Fixture f;
  f.frame->activateWindow();
  f.frame->commands().find->trigger();
  QTRY_VERIFY(f.search().hasFocus());
  Type(f.search(), QStringLiteral("stadt"));
  QVERIFY(f.results().isVisible());
  QCOMPARE(f.results().topLevelItemCount(), 2);
  QCOMPARE(f.Result(0, 0) + "|" + f.Result(0, 1) + "|" + f.Result(0, 2) + "|" + f.Result(0, 3),
           QStringLiteral("12/10/2025|Strom Dezember|STADTWERKE|$120.50"));
  QCOMPARE(f.Result(1, 1), QStringLiteral("Strom März"));
  Type(f.search(), QStringLiteral("werke"));
  QCOMPARE(f.results().topLevelItemCount(), 2);
  // Regression: a search that found nothing closed the list without a word.
  Type(f.search(), QStringLiteral("x"));
  QVERIFY(f.results().isVisible());
  QCOMPARE(f.results().topLevelItemCount(), 1);
  QCOMPARE(f.Result(0, 1), QStringLiteral("No dues match"));
  QTest::keyClick(&f.results(), Qt::Key_Return);  // chooses nothing
  QCOMPARE(f.frame->toolBar().datePicker().date(), QDate(2026, 3, 15));
  // Letter case aside, in Cyrillic and with umlauts too.
  const std::pair<const char*, int> searches[] = {{"жкх", 1}, {"MÄRZ", 1}, {"landlord", 3}};
  for (const auto& [text, found] : searches) {
    f.search().clear();
    Type(f.search(), QString::fromUtf8(text));
    QCOMPARE(f.results().topLevelItemCount(), found);
  }
  SnapshotWithResults(f, QStringLiteral("search.png"));
}

void OverviewTest::ChosenResultOpensItsMonthAndSelectsIt() {
  Fixture f;
  f.frame->toolBar().filter().setCurrentIndex(1);  // paid dues only
  Type(f.search(), QStringLiteral("gym"));
  QTest::keyClick(&f.results(), Qt::Key_Down);
  QTest::keyClick(&f.results(), Qt::Key_Return);  // the unpaid November one
  QVERIFY(!f.results().isVisible());
  QCOMPARE(f.frame->toolBar().datePicker().date(), QDate(2026, 11, 15));
  QCOMPARE(f.frame->toolBar().filter().currentIndex(), 0);
  const std::optional<DueRecord> selected = f.view().SelectedRecord();
  QVERIFY(selected.has_value());
  QCOMPARE(selected->dueDate, At(2026, 11, 15, 18));
  QCOMPARE(f.frame->detailsBar().Value(0), QStringLiteral("Gym"));

  // A double-click goes too; a changed store is searched afresh.
  f.ws.AddDue("Gym bag", "Sports shop", 60, At(2024, 2, 2));
  f.frame->ReloadAll();
  f.search().clear();
  Type(f.search(), QStringLiteral("gym"));
  QCOMPARE(f.results().topLevelItemCount(), 3);
  emit f.results().itemDoubleClicked(f.results().topLevelItem(0), 0);
  QCOMPARE(f.frame->toolBar().datePicker().date(), QDate(2024, 2, 2));
  QCOMPARE(f.view().SelectedRecord()->title, std::string("Gym bag"));
}

void OverviewTest::YearOverviewShowsMonthsChartAndPayees() {
  Fixture f;
  YearOverview overview(f.ws.app.store(), 2026, f.frame.get());
  overview.show();
  auto& months = *overview.findChild<QTableWidget*>(QStringLiteral("months"));
  QCOMPARE(months.rowCount(), 13);
  QCOMPARE(months.item(2, 0)->text(), QStringLiteral("March"));
  // March as the status bar shows it for the month.
  f.frame->RefreshMonth();
  QCOMPARE("Paid : " + months.item(2, 1)->text(), f.frame->statusPanes().Text(0));
  QCOMPARE("Unpaid : " + months.item(2, 2)->text(), f.frame->statusPanes().Text(1));
  QCOMPARE("Total : " + months.item(2, 3)->text(), f.frame->statusPanes().Text(2));
  QCOMPARE(Column(months, 3).mid(6, 2),
           QStringList({QStringLiteral("$390.75"), QStringLiteral("$0.00")}));
  QCOMPARE(months.item(12, 0)->text() + " " + months.item(12, 3)->text(),
           QStringLiteral("2026 $2,294.35"));

  auto* series = overview.findChild<QChartView*>(QStringLiteral("chart"))->chart()->series().at(0);
  const QList<QBarSet*> sets = static_cast<QStackedBarSeries*>(series)->barSets();
  QCOMPARE(sets.size(), 2);
  QCOMPARE(sets[0]->label() + " " + sets[1]->label(), QStringLiteral("Paid Unpaid"));
  QCOMPARE(sets[0]->at(2), 885.0);
  QCOMPARE(sets[1]->at(3), 850.0);

  auto& payees = *overview.findChild<QTableWidget*>(QStringLiteral("payees"));
  QCOMPARE(Column(payees, 0),
           QStringList({"Landlord", "Safe Drive", "Stadtwerke", "FitCo", "ЖКХ Москва"}));
  QCOMPARE(payees.item(0, 1)->text() + " " + payees.item(0, 4)->text(),
           QStringLiteral("2 $1,700.00"));
  Snapshot(overview, QStringLiteral("year-overview.png"));

  overview.findChild<QSpinBox*>(QStringLiteral("year"))->setValue(2025);
  QCOMPARE(months.item(11, 1)->text(), QStringLiteral("$120.50"));
  QCOMPARE(payees.rowCount(), 1);
}

// Four months of a power bill, three paid (one with more than was due): the chart draws both
// amounts over time, the table lists each member with its change from the one before.
void OverviewTest::SeriesHistoryShowsTheMembersAsAChartAndATable() {
  Fixture f;
  const double amounts[] = {90, 90, 95, 99.5};
  std::vector<std::string> ids;
  ids.reserve(4);
  for (int month = 0; month < 4; ++month) {
    ids.push_back(f.ws.AddDue("Power", "City Power", amounts[month], At(2026, 1 + month, 20, 18),
                              false, "recIdPower"));
  }
  for (int month = 0; month < 3; ++month) {
    DueRecord record = f.ws.app.store().Get(ids[static_cast<std::size_t>(month)]);
    MarkPaid(record, At(2026, 1 + month, 18, 9),
             {std::nullopt, month == 1 ? std::optional<double>(94.5) : std::nullopt, {}, {}, {}});
    QVERIFY(f.ws.app.store().Replace(record).ok());
  }
  f.frame->commands().seriesHistory->trigger();  // nothing selected: told, no window
  QCOMPARE(f.ws.prompt.asked.size(), 1);

  SeriesHistoryWindow history(SeriesHistory(f.ws.app.store(), "recIdPower"), f.frame.get());
  history.show();
  QCOMPARE(history.windowTitle(), QStringLiteral("Series History - Power"));
  auto& table = *history.findChild<QTableWidget*>(QStringLiteral("members"));
  QCOMPARE(table.rowCount(), 4);
  QCOMPARE(Column(table, 1), QStringList({"$90.00", "$90.00", "$95.00", "$99.50"}));
  QCOMPARE(Column(table, 3), QStringList({"$90.00", "$94.50", "$95.00", ""}));
  QCOMPARE(Column(table, 4), QStringList({"", "+5.0%", "+0.5%", "+4.7%"}));
  QCOMPARE(table.item(0, 2)->text(), QStringLiteral("01/18/2026 09:00 AM"));

  QChart* chart = history.findChild<QChartView*>(QStringLiteral("chart"))->chart();
  const QList<QAbstractSeries*> lines = chart->series();
  QCOMPARE(lines.size(), 2);
  QCOMPARE(static_cast<QLineSeries*>(lines[0])->count(), 4);
  QCOMPARE(static_cast<QLineSeries*>(lines[1])->count(), 3);
  QCOMPARE(static_cast<QLineSeries*>(lines[1])->at(1).y(), 94.5);
  Snapshot(history, QStringLiteral("series-history.png"));
  // Regression: a tick on 30 November read "Nov 2026" under a point of 1 December. The date axis
  // names the members' own days.
  auto* dates = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Horizontal)[0]);
  QVERIFY(dates != nullptr);
  QCOMPARE(dates->categoriesLabels(), QStringList({"20 Jan", "20 Feb", "20 Mar", "20 Apr"}));
  history.resize(632, 384);
  QCoreApplication::processEvents();
  Snapshot(history, QStringLiteral("series-history-narrow.png"));
}

// Regression: under de_DE the overview showed the axis without grouping and cut month names. (Its
// fit on a 640x420 screen is checked with every dialog's in small_screen_test.)
void OverviewTest::YearOverviewFollowsTheLocale() {
  Fixture f;
  const testing::ScopedLocale locale("de_DE.UTF-8", testing::ScopedLocale::Numbers::kC);
  QVERIFY(locale.ok());
  YearOverview overview(f.ws.app.store(), 2026, f.frame.get());
  overview.resize(1000, 680);
  overview.show();
  QVERIFY(QTest::qWaitForWindowExposed(&overview));
  auto& months = *overview.findChild<QTableWidget*>(QStringLiteral("months"));
  QCOMPARE(months.item(2, 0)->text(), QStringLiteral("März"));
  QCOMPARE(months.item(12, 3)->text(), QStringLiteral("2.294,35 €"));
  const QFontMetrics metrics(months.font());
  QVERIFY(months.columnWidth(0) >= metrics.horizontalAdvance(QStringLiteral("September")));
  QVERIFY(months.columnWidth(3) >= metrics.horizontalAdvance(QStringLiteral("2.294,35 €")));
  QChart* chart = overview.findChild<QChartView*>(QStringLiteral("chart"))->chart();
  QVERIFY(chart->localizeNumbers());
  QCOMPARE(chart->locale().toString(12000.0, 'f', 0), QStringLiteral("12.000"));
  QVERIFY(!overview.findChild<QScrollArea*>()->horizontalScrollBar()->isVisible());
  Snapshot(overview, QStringLiteral("year-overview-de.png"));

  // Regression: a year without dues labelled its axis 1, 1, 1, 0, 0, 0.
  overview.findChild<QSpinBox*>(QStringLiteral("year"))->setValue(2024);
  const auto* axis = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
  QVERIFY(axis != nullptr);
  const double step = (axis->max() - axis->min()) / (axis->tickCount() - 1);
  QVERIFY2(step >= 1 && step == std::floor(step), qPrintable(QString::number(step)));
}

}  // namespace paylark::test
