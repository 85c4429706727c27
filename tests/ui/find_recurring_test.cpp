#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <thread>

#include "tests/core/statements/household_year.h"
#include "tests/ui/fakes.h"
#include "tests/ui/test_runner.h"
#include "ui/bills/new_due_from_bill_command.h"
#include "ui/shell/command_registry.h"
#include "ui/shell/main_window.h"
#include "ui/statements/find_recurring_command.h"
#include "ui/statements/find_recurring_dialog.h"
#include "ui/statements/statement_import_command.h"

namespace paylark::test {
namespace {

using Column = FindRecurringDialog::Column;

// The statement core with a household's year of bookings in every file.
struct Fixture {
  StatementServices Services() {
    StatementServices services;
    services.detectFormat = [](std::string_view) { return StatementFormat::kOfx; };
    services.read = [this](const std::string& path, StatementFormat,
                           const std::optional<BankCsvColumns>&) -> Result<Statement> {
      readPaths.push_back(path);
      readThreads.push_back(std::this_thread::get_id());
      return statement;
    };
    services.accounts = [](const Statement&) { return std::vector<std::string>{"Checking"}; };
    return services;
  }

  std::unique_ptr<MainWindow> Window() {
    auto window = std::make_unique<MainWindow>(ws.app, dialogs);
    window->resize(1000, 640);
    window->show();
    return window;
  }

  QString WriteStatement(const QString& name = QStringLiteral("year.ofx")) {
    QString path = ws.directory() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("<OFX>") != 5)
      qFatal("cannot write %s", qPrintable(path));
    return path;
  }

  Workspace ws;
  FakeDialogs dialogs;
  Statement statement = testing::HouseholdYear();
  std::vector<std::string> readPaths;
  std::vector<std::thread::id> readThreads;
};

QStringList RowTexts(QTableWidget& table, int row) {
  QStringList texts;
  for (int column = 0; column < table.columnCount(); ++column)
    texts << table.item(row, column)->text();
  return texts;
}

}  // namespace

class FindRecurringTest final : public QObject {
  Q_OBJECT

 private slots:
  void init() { UseFreshSettings(); }

  // The File menu reads as it did when the window made the features' commands itself; the
  // command opens the statement picker in the working directory.
  void TheFileMenuOpensThePickerForStatements() {
    Fixture f;
    auto window = f.Window();
    NewDueFromBillCommand bills(f.ws.app, *window);
    StatementImportCommand statements(f.ws.app, *window, f.Services());
    FindRecurringCommand command(f.ws.app, *window, f.Services());
    QMenu* file = window->menuBar()->actions().first()->menu();
    QStringList items;
    for (QAction* item : file->actions())
      items << item->text();
    QCOMPARE(items, (QStringList{"New Due from &Bill...", "", "&Import CSV...",
                                 "Import &Statement...", "Find &Recurring Bills...", "", "&Print",
                                 "", "Restore from &Backup...", "E&xit"}));
    window->commandRegistry().Find(QStringLiteral("findRecurringBills"))->trigger();  // cancelled
    QCOMPARE(f.ws.desktop.openStarts, QStringList{f.ws.directory()});
    QVERIFY(f.readPaths.empty());
    if (SnapshotsWanted()) {
      file->popup(window->mapToGlobal(QPoint(0, 0)));
      Snapshot(*file, QStringLiteral("file-menu.png"));
      file->close();
    }
  }

  void EachSuggestionShowsItsPatternAmountAndNextDue() {
    Fixture f;
    auto window = f.Window();
    bool shown = false;
    FindRecurringCommand command(f.ws.app, *window, f.Services(), [&](FindRecurringDialog& dialog) {
      shown = true;
      QTableWidget& table = dialog.table();
      [&] {
        QCOMPARE(table.rowCount(), 6);
        QCOMPARE(RowTexts(table, 0),
                 (QStringList{"Harbour Lettings Ltd", "Harbour Lettings Ltd", "monthly on the 1st",
                              "$950.00", "13", "1 Dec 2026", "12"}));
        QCOMPARE(table.item(1, Column::kAmount)->text(), QStringLiteral("+$2,400.00"));
        QCOMPARE(table.item(4, Column::kAmount)->text(), QStringLiteral("$38.00 to $43.00"));
        QVERIFY(dialog.history().text().startsWith(
            QStringLiteral("395 days of bank history, from 1 Nov 2025 to 30 Nov 2026.")));
        QVERIFY(!dialog.createButton().isEnabled());
        table.item(0, Column::kTitle)->setCheckState(Qt::Checked);
        QVERIFY(dialog.createButton().isEnabled());
      }();
      Snapshot(dialog, QStringLiteral("find-recurring.png"));
      dialog.resize(640, 420);
      Snapshot(dialog, QStringLiteral("find-recurring-640x420.png"));
      return false;
    });
    QVERIFY(command.Find({f.WriteStatement()}).isEmpty());
    QVERIFY(shown);
    QCOMPARE(f.ws.app.store().map().size(), std::size_t{0});
  }

  void CreateWritesTheCheckedSeriesWithTheirTitleAndCount() {
    Fixture f;
    auto window = f.Window();
    FindRecurringCommand command(f.ws.app, *window, f.Services(), [](FindRecurringDialog& dialog) {
      QTableWidget& table = dialog.table();
      table.item(0, Column::kTitle)->setCheckState(Qt::Checked);
      table.item(0, Column::kTitle)->setText(QStringLiteral("Rent"));
      table.item(0, Column::kCount)->setText(QStringLiteral("3"));
      table.item(4, Column::kTitle)->setCheckState(Qt::Checked);
      return true;
    });
    QCOMPARE(command.Find({f.WriteStatement()}), QStringLiteral("2 series created."));
    std::size_t rents = 0;
    std::size_t phones = 0;
    f.ws.app.store().map().ForEach([&](const DueRecord& record) {
      rents += record.title == "Rent" && record.account == "Checking" ? 1 : 0;
      phones += record.title == "Telco Mobile" ? 1 : 0;
    });
    QCOMPARE(rents, std::size_t{3 + 13});
    QCOMPARE(phones, std::size_t{12 + 13});
  }

  // Statements are read off the window's thread, so a large one leaves the window answering; one
  // file that is no statement is told and nothing is proposed or written.
  void FilesAreReadBehindTheWindowAndABadOneStopsTheFind() {
    Fixture f;
    auto window = f.Window();
    StatementServices services = f.Services();
    services.detectFormat = [](std::string_view head) -> std::optional<StatementFormat> {
      if (head == "<OFX>")
        return StatementFormat::kOfx;
      return std::nullopt;
    };
    bool shown = false;
    FindRecurringCommand command(f.ws.app, *window, services, [&](FindRecurringDialog&) {
      shown = true;
      return true;
    });
    const QString year = f.WriteStatement();
    const QString notes = f.WriteStatement(QStringLiteral("notes.txt"));
    QFile(notes).resize(0);
    QCOMPARE(command.Find({year, notes}), QString());
    QCOMPARE(f.ws.prompt.asked, QStringList{QStringLiteral(
                                    "notes.txt is not a bank statement that Paylark reads (OFX, "
                                    "QFX, CAMT.053 or a bank's CSV export).")});
    QCOMPARE(f.readPaths.size(), std::size_t{1});
    QVERIFY(f.readThreads.front() != std::this_thread::get_id());
    QVERIFY(!shown);
    QCOMPARE(f.ws.app.store().map().size(), std::size_t{0});
  }

  void AShortHistorySaysHowMuchThereWas() {
    Fixture f;
    std::erase_if(f.statement.transactions, [](const StatementTransaction& transaction) {
      return transaction.bookingDate > At(2025, 12, 31);
    });
    auto window = f.Window();
    QString history;
    FindRecurringCommand command(f.ws.app, *window, f.Services(), [&](FindRecurringDialog& dialog) {
      history = dialog.history().text();
      return false;
    });
    (void)command.Find({f.WriteStatement()});
    QVERIFY2(history.contains(QStringLiteral("Only 61 days of bank history")), qPrintable(history));
  }
};

}  // namespace paylark::test

int main(int argc, char* argv[]) {
  paylark::test::FindRecurringTest test;
  return paylark::test::RunTestClasses(argc, argv, {&test});
}

#include "find_recurring_test.moc"
