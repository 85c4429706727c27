#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>

#include "core/forecast/balance_book.h"
#include "settings/user_settings.h"
#include "tests/ui/fakes.h"
#include "tests/ui/ui_tests.h"
#include "ui/forecast/forecast_command.h"
#include "ui/forecast/forecast_window.h"
#include "ui/forecast/update_balance_dialog.h"
#include "ui/shell/caption_strip.h"
#include "ui/shell/command_registry.h"
#include "ui/shell/commands.h"
#include "ui/shell/main_tool_bar.h"
#include "ui/shell/main_window.h"
#include "ui/shell/month_list_model.h"
#include "ui/shell/month_list_view.h"
#include "ui/shell/month_row_painter.h"
#include "ui/shell/status_panes.h"
#include "ui/widgets/date_picker.h"

namespace paylark::test {
namespace {

// Today is 15 March 2026: 1,000.00 in Checking on 1 March, rent and power coming, salary on the
// 25th.
struct Fixture {
  Fixture() {
    Add("Rent", 850, At(2026, 4, 1, 9), kTypePersonal, "Checking");
    Add("Power", 92.40, At(2026, 3, 20, 12), kTypePersonal, " checking");
    Add("Salary", 1500, At(2026, 3, 25, 8), kTypeIncome, "Checking");
    Add("Gym", 35, At(2026, 3, 2, 18), kTypePersonal, "Checking", true);
    Add("Bread", 3.5, At(2026, 3, 16), kTypePersonal, "");
    BalanceBook book(ws.app.store().files(), RecordsFolderPath(ws.app.store().workingDirectory()));
    (void)book.Add({"", "Checking", At(2026, 3, 1, 23, 59), 1000, "", ""}, ws.clock);
    (void)ws.app.store().Reload();  // finds the balance file beside the records
  }

  void Add(const std::string& title, double amount, const OleDateTime& due, std::int32_t type,
           const std::string& account, bool paid = false) {
    DueRecord record = ws.app.store().Get(ws.AddDue(title, "Someone", amount, due, paid));
    record.type = type;
    record.account = account;
    QVERIFY(ws.app.store().Replace(record).ok());
  }

  Workspace ws;
};

const QAbstractItemModel& Register(const ForecastWindow& window) {
  return *window.findChild<QTableView*>(QStringLiteral("register"))->model();
}

QString Cell(const QAbstractItemModel& table, int row, int column) {
  return table.index(row, column).data().toString();
}

QColor Colour(const QAbstractItemModel& table, int row, int column) {
  return table.index(row, column).data(Qt::ForegroundRole).value<QColor>();
}

QString Row(const QAbstractItemModel& table, int row) {
  QStringList cells;
  for (int column = 0; column < table.columnCount(); ++column)
    cells << Cell(table, row, column);
  return cells.join(QLatin1Char('|'));
}

// "-$1,234.50" as -123450.
Cents CentsOf(QString text) {
  text.remove(QRegularExpression(QStringLiteral("[^-0-9]")));
  return text.toLongLong();
}

}  // namespace

void ForecastWindowTest::init() {
  UseFreshSettings();
}

void ForecastWindowTest::ShowsTheAccountsBalanceChartAndRegister() {
  Fixture f;
  ForecastWindow window(f.ws.app.store(), f.ws.clock, f.ws.prompt);
  window.show();
  auto& account = *window.findChild<QComboBox*>(QStringLiteral("account"));
  QCOMPARE(account.count(), 3);  // All accounts, Checking once, (no account)
  QCOMPARE(account.currentText(), QStringLiteral("Checking"));
  QCOMPARE(window.findChild<QLabel*>(QStringLiteral("balanceLine"))->text(),
           QStringLiteral("Balance on 1 Mar 2026: $1,000.00"));
  QCOMPARE(window.forecast().balanceToday, 96500);  // less the gym, paid since
  const QAbstractItemModel& table = Register(window);
  QCOMPARE(table.rowCount(), 5);
  QCOMPARE(Row(table, 0), QStringLiteral("2 Mar 2026|Paid since the entry: Gym|-$35.00|$965.00"));
  QCOMPARE(Row(table, 1), QStringLiteral("15 Mar 2026|Today||$965.00"));
  QCOMPARE(Row(table, 2), QStringLiteral("20 Mar 2026|Power|-$92.40|$872.60"));
  QCOMPARE(Cell(table, 3, 2), QStringLiteral("+$1,500.00"));
  QCOMPARE(Cell(table, 4, 3), QStringLiteral("$1,522.60"));

  QChart* chart = window.findChild<QChartView*>(QStringLiteral("chart"))->chart();
  QCOMPARE(chart->series().size(), 4);
  // No series whose bills vary: nothing is estimated.
  QCOMPARE(static_cast<QScatterSeries*>(chart->series().at(3))->count(), 0);
  auto* balance = static_cast<QLineSeries*>(chart->series().at(0));
  QCOMPARE(balance->count(), 91);
  QCOMPARE(balance->at(90).y(), 1522.60);
  auto* low = static_cast<QScatterSeries*>(chart->series().at(2));
  QCOMPARE(low->at(0).y(), 872.60);
  // The date labels name the days of the points above them, today first.
  auto* dates = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Horizontal).at(0));
  QCOMPARE(dates->categoriesLabels().value(0), QStringLiteral("15 Mar"));
  QVERIFY(dates->min() < balance->at(0).x() && balance->at(90).x() < dates->max());
  Snapshot(window, QStringLiteral("forecast.png"));
  Snapshot(window, QStringLiteral("forecast-2x.png"), 2);

  window.findChild<QComboBox*>(QStringLiteral("horizon"))->setCurrentIndex(0);
  QCOMPARE(balance->count(), 31);
  account.setCurrentIndex(0);
  QCOMPARE(window.forecast().days.back().balance, 152260 - 350);

  // A new due and the next day reach the open window; the chosen account stays.
  account.setCurrentIndex(1);
  f.Add("Water", 7.60, At(2026, 3, 18, 9), kTypePersonal, "CHECKING");
  f.ws.clock.Set(At(2026, 3, 16, 0, 5));
  window.Refresh();
  QCOMPARE(account.currentText(), QStringLiteral("Checking"));
  QCOMPARE(window.forecast().days.front().date, At(2026, 3, 16));
  QCOMPARE(window.forecast().days.back().balance, 152260 - 760);
}

// Regression: the register began with the coming dues, their balances off from the balance line
// by what was paid since the entry, and an income that had not come in was nowhere.
void ForecastWindowTest::EveryBalanceFollowsFromTheRowsAboveIt() {
  Fixture f;
  f.Add("Refund", 120.15, At(2026, 3, 10, 9), kTypeIncome, "Checking");  // overdue, not received
  f.Add("Phone", 40.17, At(2026, 3, 12, 9), kTypePersonal, "Checking", true);
  ForecastWindow window(f.ws.app.store(), f.ws.clock, f.ws.prompt);
  const QAbstractItemModel& table = Register(window);
  QCOMPARE(Row(table, 1),
           QStringLiteral("12 Mar 2026|Paid since the entry: Phone|-$40.17|$924.83"));
  QCOMPARE(Row(table, 2), QStringLiteral("15 Mar 2026|Today||$924.83"));
  QCOMPARE(Row(table, 3), QStringLiteral("10 Mar 2026|Refund (overdue, not counted)|+$120.15|"));
  QCOMPARE(Colour(table, 3, 2), QColor(128, 128, 128));
  Cents balance = 100000;  // "Balance on 1 Mar 2026: $1,000.00"
  for (int row = 0; row < table.rowCount(); ++row) {
    if (Cell(table, row, 3).isEmpty())
      continue;  // listed, not counted
    balance += CentsOf(Cell(table, row, 2));
    QVERIFY2(CentsOf(Cell(table, row, 3)) == balance, qPrintable(Row(table, row)));
  }
  QCOMPARE(balance, window.forecast().days.back().balance);
}

void ForecastWindowTest::WarnsInRedAndTakesANewBalance() {
  Fixture f;
  ForecastWindow window(f.ws.app.store(), f.ws.clock, f.ws.prompt);
  window.resize(640, 420);
  window.show();
  QVERIFY(window.UpdateBalance(50, At(2026, 3, 15, 9)).ok());
  QCOMPARE(window.findChild<QLabel*>(QStringLiteral("balanceLine"))->text(),
           QStringLiteral("Balance on 15 Mar 2026: $50.00"));
  auto& lowLine = *window.findChild<QLabel*>(QStringLiteral("lowLine"));
  QCOMPARE(lowLine.text(), QStringLiteral("Lowest: -$42.40 on 20 Mar 2026. Balance below $0.00 on "
                                          "20 Mar 2026."));
  const QAbstractItemModel& table = Register(window);
  QCOMPARE(Row(table, 0), QStringLiteral("15 Mar 2026|Today||$50.00"));
  QCOMPARE(Colour(table, 1, 3), QColor(200, 0, 0));
  QVERIFY(Colour(table, 2, 3) != QColor(200, 0, 0));
  BalanceBook reread(f.ws.app.store().files(),
                     RecordsFolderPath(f.ws.app.store().workingDirectory()));
  QVERIFY(reread.Load().ok());
  QCOMPARE(reread.entries().size(), std::size_t{2});

  QCOMPARE(window.size(), QSize(640, 420));
  auto* close = window.findChild<QDialogButtonBox*>();
  QVERIFY(close->isVisible() && window.rect().contains(close->geometry()));
  QTest::qWait(50);  // the chart lays out its new series and axis labels
  Snapshot(window, QStringLiteral("forecast-narrow.png"));
}

// Regression: Update Balance… was a 200-pixel box without a date that closed, losing the text,
// after "Please enter a number.".
void ForecastWindowTest::UpdateBalanceTakesADateAndKeepsARefusedText() {
  Fixture f;
  ForecastWindow window(f.ws.app.store(), f.ws.clock, f.ws.prompt);
  window.show();
  bool driven = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<UpdateBalanceDialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    auto* amount = dialog->findChild<QLineEdit*>(QStringLiteral("balanceAmount"));
    auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("ok"));
    amount->setText(QStringLiteral("12,50"));
    ok->click();
    QCOMPARE(f.ws.prompt.asked, QStringList{QStringLiteral("Please enter a number.")});
    QVERIFY(dialog->isVisible());
    QCOMPARE(amount->text(), QStringLiteral("12,50"));
    QVERIFY(dialog->width() >= 360);
    amount->setText(QStringLiteral("-1,234.56"));
    dialog->findChild<DatePicker*>(QStringLiteral("balanceOn"))
        ->setDateTime(QDateTime(QDate(2026, 3, 14), QTime(20, 0), Qt::UTC));
    Snapshot(*dialog, QStringLiteral("update-balance.png"));
    ok->click();
    driven = true;
  });
  window.findChild<QPushButton*>(QStringLiteral("updateBalance"))->click();
  QVERIFY(driven);
  QCOMPARE(window.findChild<QLabel*>(QStringLiteral("balanceLine"))->text(),
           QStringLiteral("Balance on 14 Mar 2026: -$1,234.56"));
  QCOMPARE(window.forecast().startBalance, -123456);
}

// The register lays out only the rows on screen to size its columns; the widest amount and
// balance, far below them, still fit their columns.
void ForecastWindowTest::ARowFarBelowTheScreenIsNotCutShort() {
  Fixture f;
  for (int day = 0; day < 300; ++day)
    f.Add("Coffee", 1, At(2026, 3, 16 + day % 16, 10), kTypePersonal, "Checking");
  f.Add("Inheritance", 98765432.10, At(2026, 4, 12, 9), kTypeIncome, "Checking");
  ForecastWindow window(f.ws.app.store(), f.ws.clock, f.ws.prompt);
  window.show();
  auto& view = *window.findChild<QTableView*>(QStringLiteral("register"));
  const QAbstractItemModel& table = *view.model();
  const int last = table.rowCount() - 1;
  QVERIFY(view.rowViewportPosition(last) > view.viewport()->height());
  QCOMPARE(Cell(table, last, 2), QStringLiteral("+$98,765,432.10"));
  for (const int column : {2, 3}) {
    const int needed = view.fontMetrics().horizontalAdvance(Cell(table, last, column));
    QVERIFY2(view.columnWidth(column) > needed, qPrintable(Cell(table, last, column)));
  }
}

void ForecastWindowTest::IncomesShowApartFromTheBills() {
  Fixture f;
  FakeDialogs dialogs;
  MainWindow frame(f.ws.app, dialogs);
  frame.show();
  frame.RefreshMonth();
  QCOMPARE(frame.statusPanes().Text(3), QStringLiteral("Income : $1,500.00"));
  QCOMPARE(frame.statusPanes().Text(2), QStringLiteral("Total : $130.90"));
  const DueRecord& salary = *frame.view().model().RecordAt(3);
  QCOMPARE(salary.title, std::string("Salary"));
  QCOMPARE(MonthRowPainter::TextsOf(salary).amount, QStringLiteral("+$1,500.00"));
  frame.toolBar().datePicker().setDate(QDate(2026, 4, 1));
  frame.RefreshMonth();
  QCOMPARE(frame.statusPanes().Text(3), QString());  // the pane is hidden in a month without
}

// The View menu's command and the caption strip's warning open it.
void ForecastWindowTest::TheCaptionStripWarnsOfALowBalanceAndOpensTheForecast() {
  Fixture f;
  FakeDialogs dialogs;
  MainWindow frame(f.ws.app, dialogs);
  ForecastCommand forecast(f.ws.app, frame);
  frame.resize(1000, 480);
  frame.show();
  QTRY_VERIFY_WITH_TIMEOUT(frame.monthPainted(), 5000);  // the warning follows the first paint
  QAction* command = frame.commandRegistry().Find(QStringLiteral("forecast"));
  QCOMPARE(ModalTitleOf([&] { command->trigger(); }), QStringLiteral("Forecast"));
  QCOMPARE(command->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+F")));
  CaptionStrip& strip = frame.captionStrip();
  QCOMPARE(strip.notice(QStringLiteral("balanceWarning")),
           QString());  // the low point, 872.60, is above 0

  UserSettings::Write(settings::kForecastWarnBelow, 900);  // as Preferences → Reminders writes it
  emit frame.preferencesChanged();
  QCOMPARE(strip.notice(QStringLiteral("balanceWarning")),
           QStringLiteral("Balance below $900.00 on 20 Mar 2026"));
  auto* warning = strip.findChild<QToolButton*>(QStringLiteral("balanceWarning"));
  QVERIFY(warning && warning->isVisible());
  QCOMPARE(warning->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
  Snapshot(frame, QStringLiteral("balance-warning.png"));
  QCOMPARE(ModalTitleOf([&] { warning->click(); }), QStringLiteral("Forecast"));

  // Seen from 1 March, Power is 19 days away: beyond the 14 days the warning looks ahead with no
  // reminder days.
  UserSettings::Write(settings::kReminderDaysAhead, 0);
  f.ws.clock.Set(At(2026, 3, 1, 9));
  emit frame.recordsChanged();
  QCOMPARE(strip.notice(QStringLiteral("balanceWarning")), QString());
}

}  // namespace paylark::test
