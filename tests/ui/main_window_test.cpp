#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "core/base/messages.h"
#include "core/records/record_codec.h"
#include "settings/user_settings.h"
#include "tests/support/scoped_variable.h"
#include "tests/ui/fakes.h"
#include "tests/ui/ui_tests.h"
#include "ui/base/message_box_prompt.h"
#include "ui/base/operation_progress.h"
#include "ui/shell/about_dialog.h"
#include "ui/shell/command_registry.h"
#include "ui/shell/commands.h"
#include "ui/shell/details_bar.h"
#include "ui/shell/help_sync.h"
#include "ui/shell/main_tool_bar.h"
#include "ui/shell/main_window.h"
#include "ui/shell/month_list_model.h"
#include "ui/shell/month_list_view.h"
#include "ui/shell/status_panes.h"
#include "ui/widgets/elided_label.h"

namespace paylark::test {
namespace {

constexpr const char* kSeries = "recId20260301090000";

// A month of varied dues around "today", 15 March 2026, and the window over them.
struct Fixture {
  Fixture() {
    ws.AddDue("Rent", "Landlord", 850, At(2026, 3, 1, 9), true);
    ws.AddDue("Electricity", "City Power", 92.4, At(2026, 3, 10, 12));
    ws.AddDue("Gym", "", 35, At(2026, 3, 15, 18));
    ws.AddDue("Car insurance", "Safe Drive", 410.75, At(2026, 3, 28, 8));
    ws.AddDue("Phone", "Telco", 29.99, At(2026, 3, 20));
    ws.AddDue("Water", "Water Board", 41.2, At(2026, 3, 5, 10), true);
    ws.AddDue("Loan", "Bank", 300, At(2026, 3, 8, 9), true, kSeries);
    ws.AddDue("Loan", "Bank", 300, At(2026, 3, 22, 9), false, kSeries);
    ws.AddDue("Internet", "FiberNet", 45, At(2026, 3, 12, 7));
    ws.AddDue("Streaming", "", 12.99, At(2026, 3, 25, 20));
    ws.AddDue("Council tax", "Town Hall", 160, At(2026, 3, 30, 9));
    ws.AddDue("Newspaper", "Daily News", 18.5, At(2026, 3, 3, 6), true);
    ws.AddDue("April rent", "Landlord", 850, At(2026, 4, 1, 9));
    WindowPolicies policies;
    policies.askDirectory = [this](const QString& initial) { return askDirectory(initial); };
    frame = std::make_unique<MainWindow>(ws.app, dialogs, std::move(policies));
    frame->resize(1100, 720);
    frame->show();
  }
  MonthListView& view() { return frame->view(); }
  int rows() { return view().model().rowCount(); }
  QString TitleAt(int row) { return QString::fromStdString(view().model().RecordAt(row)->title); }
  int RowOf(const char* title, int from = 0) {
    for (int row = from; row < rows(); ++row) {
      if (TitleAt(row) == title)
        return row;
    }
    return -1;
  }
  QString Pane(int i) { return frame->statusPanes().Text(i); }
  // Selects the due and deletes it, giving `answer` to the question.
  void Delete(const char* title, PromptAnswer answer = PromptAnswer::kYes) {
    view().SelectRow(RowOf(title));
    ws.prompt.answers = {answer};
    frame->commands().deleteDue->trigger();
  }

  Workspace ws;
  FakeDialogs dialogs;
  // Change Directory's question; the folder answered, empty for Cancel.
  std::function<QString(const QString&)> askDirectory = [](const QString&) { return QString(); };
  std::unique_ptr<MainWindow> frame;
};

QStringList TextsOf(const QMenu& menu) {
  QStringList texts;
  for (const QAction* action : menu.actions())
    texts << action->text();
  return texts;
}

}  // namespace

void MainFrameTest::init() {
  UseFreshSettings();
}

void MainFrameTest::OpensOnTodayWithSortedRowsAndSums() {
  Fixture f;
  QCOMPARE(f.rows(), 12);
  for (int row = 1; row < f.rows(); ++row) {
    QVERIFY(
        !(f.view().model().RecordAt(row)->dueDate < f.view().model().RecordAt(row - 1)->dueDate));
  }
  QCOMPARE(f.TitleAt(0), QStringLiteral("Rent"));
  QCOMPARE(f.TitleAt(11), QStringLiteral("Council tax"));
  QCOMPARE(f.Pane(0), QStringLiteral("Paid : $1,209.70"));
  QCOMPARE(f.Pane(1), QStringLiteral("Unpaid : $1,086.13"));
  QCOMPARE(f.Pane(2), QStringLiteral("Total : $2,295.83"));
  QCOMPARE(f.frame->captionStrip().caption(), QStringLiteral("     Paylark"));
  QCOMPARE(f.frame->captionStrip().image(), CaptionStrip::kApplication);
  QCOMPARE(f.view().model().data(f.view().model().index(0), Qt::DisplayRole).toString(),
           QStringLiteral("Rent - Landlord"));
}

// Ctrl+PgDown and Ctrl+PgUp are the month commands' keys; a month without the day clamps it.
void MainFrameTest::MonthsTurnAndTheWindowClosesFromTheKeyboard() {
  Fixture f;
  QVERIFY(QTest::qWaitForWindowActive(f.frame.get()));
  f.view().setFocus();
  QTest::keyClick(f.frame.get(), Qt::Key_PageDown, Qt::ControlModifier);
  QCOMPARE(f.rows(), 1);
  QCOMPARE(f.TitleAt(0), QStringLiteral("April rent"));
  QCOMPARE(f.Pane(2), QStringLiteral("Total : $850.00"));
  QTest::keyClick(f.frame.get(), Qt::Key_PageUp, Qt::ControlModifier);
  // Without a current row, End goes to the last row and Home to the first.
  QTest::keyClick(&f.view(), Qt::Key_End);
  QCOMPARE(f.view().SelectionMark(), f.rows() - 1);
  f.frame->RefreshMonth();
  QTest::keyClick(&f.view(), Qt::Key_Home);
  QCOMPARE(f.view().SelectionMark(), 0);
  QTest::keyClick(f.frame.get(), Qt::Key_PageUp, Qt::ControlModifier);
  QCOMPARE(f.rows(), 0);
  QCOMPARE(f.Pane(0), QStringLiteral("Paid : $0.00"));
  MonthPicker& picker = f.frame->toolBar().datePicker();
  QCOMPARE(picker.date(), QDate(2026, 2, 15));
  picker.setDate(QDate(2024, 3, 31));  // a picker change refreshes by itself
  QCOMPARE(CompareMonth(f.ws.app.selectedMonth(), At(2024, 3, 1)), 0);
  f.frame->ShiftMonth(-1);
  QCOMPARE(picker.date(), QDate(2024, 2, 29));
  QCOMPARE(CompareMonth(f.ws.app.selectedMonth(), At(2024, 2, 1)), 0);
  QTest::keyClick(f.frame.get(), Qt::Key_Q, Qt::ControlModifier);
  QVERIFY(!f.frame->isVisible());
}

void MainFrameTest::FilterChangesRowsAndSummaries() {
  Fixture f;
  FilterCombo& filter = f.frame->toolBar().filter();
  QCOMPARE(filter.itemText(2), QStringLiteral("Unpaid Dues"));
  filter.setCurrentIndex(2);
  QCOMPARE(f.rows(), 8);
  QCOMPARE(f.Pane(0), QStringLiteral("Paid : $0.00"));
  QCOMPARE(f.Pane(1), QStringLiteral("Unpaid : $1,086.13"));
  QCOMPARE(f.Pane(2), QStringLiteral("Total : $1,086.13"));
  filter.setCurrentIndex(1);
  QCOMPARE(f.rows(), 4);
  QCOMPARE(f.Pane(2), QStringLiteral("Total : $1,209.70"));
  QCOMPARE(f.frame->toolBar().datePicker().date(), QDate(2026, 3, 15));
}

void MainFrameTest::SelectionFillsDetailsAndCaption() {
  Fixture f;
  DetailsBar& details = f.frame->detailsBar();
  const int loan = f.RowOf("Loan");
  QTest::mouseClick(f.view().viewport(), Qt::LeftButton, {},
                    f.view().visualRect(f.view().model().index(loan)).center());
  QCOMPARE(f.view().SelectionMark(), loan);
  QCOMPARE(details.Value(0), QStringLiteral("Loan"));
  QCOMPARE(details.Value(2), QStringLiteral("03/08/2026 09:00 AM"));
  QCOMPARE(details.Value(5), QStringLiteral("$300.00"));
  QCOMPARE(details.Value(6), QStringLiteral("Business"));
  QCOMPARE(details.Value(7), QStringLiteral("Paid"));
  QCOMPARE(details.Heading(8), QStringLiteral("Series"));
  QCOMPARE(details.Value(8), QStringLiteral("1 of 2"));
  const QModelIndex second = f.view().model().index(f.RowOf("Loan", loan + 1));
  QCOMPARE(second.data(Qt::ToolTipRole).toString().section('\n', 1),
           QStringLiteral("Series: 2 of 2"));
  QCOMPARE(f.frame->captionStrip().caption(), QStringLiteral("     Loan"));
  QCOMPARE(f.frame->captionStrip().image(), CaptionStrip::kSeries);

  QTest::keyClick(f.view().viewport(), Qt::Key_Down);
  QCOMPARE(f.view().SelectionMark(), loan + 1);
  QCOMPARE(details.Value(0), f.TitleAt(loan + 1));
  QCOMPARE(details.Value(8), QString());
  QVERIFY(!f.view().model().index(loan + 1).data(Qt::ToolTipRole).toString().contains('\n'));
  QCOMPARE(f.frame->captionStrip().image(), CaptionStrip::kDue);

  f.frame->RefreshMonth();
  QCOMPARE(f.view().SelectionMark(), -1);
  QCOMPARE(details.Heading(7), QStringLiteral("Status"));
  QCOMPARE(details.Value(0), QString());
  QCOMPARE(f.frame->captionStrip().caption(), QStringLiteral("     Paylark"));
}

// The window announces; features (sync, backups) listen. Each change comes after an
// aboutToChange, and Synchronize without a listener reads the folder again by itself.
void MainFrameTest::DeleteSingleDueAsksYesNoAndTheChangeIsAnnounced() {
  Fixture f;
  f.Delete("Gym", PromptAnswer::kNo);
  QCOMPARE(f.ws.prompt.asked, QStringList{Text(MessageId::kConfirmDelete)});
  QCOMPARE(f.ws.prompt.buttons.back(), PromptButtons::kYesNo);
  QCOMPARE(f.rows(), 12);
  QCOMPARE(f.view().SelectionMark(), f.RowOf("Gym"));  // refreshed even on No; Gym stays

  QSignalSpy before(f.frame.get(), &MainWindow::aboutToChange);
  QSignalSpy changed(f.frame.get(), &MainWindow::recordsChanged);
  QSignalSpy moved(f.frame.get(), &MainWindow::workingDirectoryChanged);
  const int gym = f.RowOf("Gym");
  f.Delete("Gym");
  QCOMPARE(f.rows(), 11);
  QCOMPARE(f.RowOf("Gym"), -1);
  QCOMPARE(f.view().SelectionMark(), gym);  // the due that took its place
  QCOMPARE(f.ws.app.store().map().size(), std::size_t{12});
  QCOMPARE(before.count(), 1);
  QCOMPARE(changed.count(), 1);
  f.frame->ShiftMonth(1);  // another month changes no record
  QCOMPARE(changed.count(), 1);

  f.frame->commands().synchronize->trigger();
  QCOMPARE(changed.count(), 2);

  QTemporaryDir other;
  f.askDirectory = [&other](const QString&) { return other.path(); };
  f.frame->commands().changeDirectory->trigger();
  QCOMPARE(moved.count(), 1);
  QCOMPARE(before.count(), 1);
}

// A feature's command needs no change to the window: it joins its menu place after those added
// before it, with its shortcut, and is found again by name.
void MainFrameTest::FeaturesAddNamedCommandsAtTheirMenuPlace() {
  Fixture f;
  CommandRegistry& registry = f.frame->commandRegistry();
  const auto add = [&registry](const char* name, const char* text, const QKeySequence& keys) {
    return registry.Add({QString::fromLatin1(name), QString::fromLatin1(text),
                         QStringLiteral("Tip\nTooltip"), MenuPlace::kFileImport, keys});
  };
  QAction* first = add("first", "&First", QKeySequence(QStringLiteral("Ctrl+Alt+K")));
  QAction* second = add("second", "&Second", {});
  QCOMPARE(add("first", "Again", {}), first);
  QCOMPARE(registry.Find(QStringLiteral("second")), second);
  QCOMPARE(registry.Find(QStringLiteral("unknown")), nullptr);
  QCOMPARE(first->statusTip(), QStringLiteral("Tip"));
  QCOMPARE(first->toolTip(), QStringLiteral("Tooltip"));

  const QStringList file = TextsOf(*f.frame->menuBar()->actions().first()->menu());
  const QStringList expected{QString(),
                             QStringLiteral("&Import CSV..."),
                             QStringLiteral("Import &Statement..."),
                             QStringLiteral("&First"),
                             QStringLiteral("&Second"),
                             QString(),
                             QStringLiteral("&Print")};
  QCOMPARE(file.mid(0, expected.size()), expected);

  QSignalSpy triggered(first, &QAction::triggered);
  QVERIFY(QTest::qWaitForWindowActive(f.frame.get()));
  QTest::keyClick(f.frame.get(), Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
  QCOMPARE(triggered.count(), 1);
}

void MainFrameTest::DeleteSeriesMemberHonoursEveryAnswer() {
  Fixture f;
  f.ws.AddDue("Loan", "Bank", 300, At(2026, 5, 8, 9), false, kSeries);
  f.frame->RefreshMonth();
  f.Delete("Loan", PromptAnswer::kCancel);
  QCOMPARE(f.ws.prompt.asked, QStringList{Text(MessageId::kConfirmDeleteSeries)});
  QCOMPARE(f.ws.prompt.buttons.back(), PromptButtons::kYesNoCancel);
  QCOMPARE(f.ws.app.store().records().SeriesMembers(kSeries).size(), std::size_t{3});

  f.Delete("Loan", PromptAnswer::kNo);
  QCOMPARE(f.ws.app.store().records().SeriesMembers(kSeries).size(), std::size_t{2});
  QCOMPARE(f.rows(), 11);

  f.Delete("Loan");  // the remaining member asks the series question again
  QCOMPARE(f.ws.prompt.asked.size(), 3);
  QCOMPARE(f.ws.prompt.asked.constLast(), Text(MessageId::kConfirmDeleteSeries));
  QVERIFY(f.ws.app.store().records().SeriesMembers(kSeries).empty());
  QCOMPARE(f.RowOf("Loan"), -1);
}

void MainFrameTest::DeleteFailureIsToldOnceNamingTheDue() {
  Fixture f;
  const std::string id = f.view().model().RecordAt(f.RowOf("Gym"))->recordId;
  // A folder in place of the record file cannot be unlinked, even by root.
  const QString file =
      f.ws.directory() + "/Paylark Files/duedate" + QString::fromStdString(id) + ".due";
  QVERIFY(QFile::remove(file));
  QVERIFY(QDir().mkdir(file));
  f.Delete("Gym");
  QCOMPARE(f.ws.prompt.asked.size(), 2);
  QVERIFY2(f.ws.prompt.asked.at(1).startsWith("The due \"Gym\" could not be deleted: "),
           qPrintable(f.ws.prompt.asked.at(1)));
  QVERIFY(f.RowOf("Gym") >= 0);
}

void MainFrameTest::ChangeMarkerFailureIsAWarningAfterTheChange() {
  Fixture f;
  // A folder where the marker goes cannot be replaced by a file, even by root.
  QVERIFY(QFile::remove(f.ws.directory() + "/Paylark Files/preferences.alm"));
  QVERIFY(QDir().mkpath(f.ws.directory() + "/Paylark Files/preferences.alm/inside"));
  f.Delete("Gym");
  QCOMPARE(f.RowOf("Gym"), -1);
  QCOMPARE(f.ws.prompt.asked.size(), 2);
  QVERIFY2(f.ws.prompt.asked.at(1).startsWith(
               "The change was saved, but the change marker could not be written: "),
           qPrintable(f.ws.prompt.asked.at(1)));
  f.frame->RefreshKeepingSelection();  // told once, not again
  QCOMPARE(f.ws.prompt.asked.size(), 2);
}

void MainFrameTest::ContextMenusOfferTheRightCommands() {
  Fixture f;
  QMenu* empty = f.view().BuildContextMenu(QPoint(10, f.view().viewport()->height() - 2));
  QCOMPARE(TextsOf(*empty), QStringList{"New"});
  QCOMPARE(f.view().SelectionMark(), -1);

  const int row = f.RowOf("Phone");
  QMenu* onRow =
      f.view().BuildContextMenu(f.view().visualRect(f.view().model().index(row)).center());
  QCOMPARE(TextsOf(*onRow), (QStringList{"New", "Modify", "Delete"}));
  QCOMPARE(f.view().SelectionMark(), row);
  f.ws.prompt.answers = {PromptAnswer::kYes};
  onRow->actions().at(2)->trigger();
  QCOMPARE(f.RowOf("Phone"), -1);
  delete empty;
  delete onRow;
}

// Modify, Delete and Mark Paid act on the selected due, and on nothing without one.
void MainFrameTest::CommandsWithoutSelectionDoNothing() {
  Fixture f;
  f.frame->commands().modifyDue->trigger();
  f.frame->commands().deleteDue->trigger();
  f.frame->commands().markPaid->trigger();
  QVERIFY(f.dialogs.modified.empty());
  QVERIFY(f.dialogs.markedPaid.empty());
  QVERIFY(f.ws.prompt.asked.isEmpty());
  f.view().SelectRow(f.RowOf("Gym"));
  const std::string gym = f.view().SelectedRecord()->recordId;
  f.frame->commands().modifyDue->trigger();
  f.frame->commands().markPaid->trigger();
  QCOMPARE(f.dialogs.modified, std::vector<std::string>{gym});
  QCOMPARE(f.dialogs.markedPaid, std::vector<std::string>{gym});
  QCOMPARE(f.dialogs.prints, 0);
}

// Regression: after Mark Paid and Modify the details went blank and the next key acted on the
// first row. The changed due stays selected, or its neighbour when it left the month.
void MainFrameTest::TheChangedDueStaysSelected() {
  Fixture f;
  RecordStore& store = f.ws.app.store();
  DetailsBar& details = f.frame->detailsBar();
  OleDateTime moveTo = At(2026, 3, 2, 9);  // to the top of the month
  f.dialogs.change = [&](const std::string& id) {
    DueRecord due = store.Get(id);
    due.paid = 1;
    due.dueDate = moveTo;
    return store.Replace(due).ok() ? EditOutcome::kRecordsChanged : EditOutcome::kNothingChanged;
  };
  f.view().SelectRow(f.RowOf("Gym"));
  f.frame->commands().markPaid->trigger();
  QCOMPARE(f.view().SelectionMark(), 1);
  QCOMPARE(details.Value(0), QStringLiteral("Gym"));
  QCOMPARE(details.Value(7), QStringLiteral("Paid"));

  moveTo = At(2026, 3, 31, 9);
  f.frame->commands().modifyDue->trigger();
  QCOMPARE(f.view().SelectionMark(), f.rows() - 1);
  QCOMPARE(details.Value(0), QStringLiteral("Gym"));
  QCOMPARE(f.frame->captionStrip().caption(), QStringLiteral("     Gym"));

  // Moved to April: the row that took its place, here the month's last.
  moveTo = At(2026, 4, 20, 9);
  f.frame->commands().modifyDue->trigger();
  QCOMPARE(f.view().SelectionMark(), f.rows() - 1);
  QCOMPARE(details.Value(0), QStringLiteral("Council tax"));
  f.view().SelectRow(f.RowOf("Electricity"));
  const int electricity = f.view().SelectionMark();
  f.frame->commands().modifyDue->trigger();
  QCOMPARE(f.view().SelectionMark(), electricity);
  QCOMPARE(details.Value(0), f.TitleAt(electricity));

  // Records changed behind the window (an import, another device): the due stays selected.
  f.view().SelectRow(f.RowOf("Phone"));
  DueRecord phone = *f.view().SelectedRecord();
  phone.paid = 1;
  QVERIFY(store.Replace(phone).ok());
  f.frame->RefreshKeepingSelection();
  QCOMPARE(details.Value(0), QStringLiteral("Phone"));
  QCOMPARE(details.Value(7), QStringLiteral("Paid"));
}

// The row and the Paid sum show the paid amount; the details bar adds the payment rows and the
// series row the change from the member before.
void MainFrameTest::PaidDuesShowWhatWasPaid() {
  Fixture f;
  f.ws.AddDue("Water", "Utility", 40, At(2026, 3, 3, 9), true, "recIdWater");
  const std::string second =
      f.ws.AddDue("Water", "Utility", 40, At(2026, 3, 4, 9), true, "recIdWater");
  DueRecord paid = f.ws.app.store().Get(second);
  paid.paidOn = At(2026, 3, 5, 8, 30);
  paid.paidAmount = 42;
  paid.paymentReference = "FITID-42";
  QVERIFY(f.ws.app.store().Replace(paid).ok());
  f.frame->RefreshKeepingSelection();
  QCOMPARE(f.Pane(0), QStringLiteral("Paid : $1,291.70"));  // 40 and the 42 paid

  const int row = f.RowOf("Water", f.RowOf("Water") + 1);
  f.view().SelectRow(row);
  DetailsBar& details = f.frame->detailsBar();
  QCOMPARE(details.Value(5), QStringLiteral("$40.00"));
  QCOMPARE(details.Value(8), QStringLiteral("2 of 2 \u00B7 +5.0%"));
  QCOMPARE(details.RowCount(), DetailsBar::kRows + 3);
  QCOMPARE(details.Heading(9), QStringLiteral("Paid on"));
  QCOMPARE(details.Value(9), QStringLiteral("03/05/2026 08:30 AM"));
  QCOMPARE(details.Heading(10), QStringLiteral("Paid amount"));
  QCOMPARE(details.Value(10), QStringLiteral("$42.00"));
  QCOMPARE(details.Value(11), QStringLiteral("FITID-42"));
  QVERIFY(f.view()
              .model()
              .data(f.view().model().index(row), Qt::AccessibleTextRole)
              .toString()
              .contains(QStringLiteral(", $42.00, ")));

  f.view().SelectRow(f.RowOf("Water"));
  QCOMPARE(details.Value(8), QStringLiteral("1 of 2"));
  QCOMPARE(details.RowCount(), DetailsBar::kRows);
}

void MainFrameTest::ChangeDirectoryReloadsOnlyOnRealChange() {
  Fixture f;
  QString answer = f.ws.directory();
  QStringList openedOn;
  f.askDirectory = [&](const QString& initial) {
    openedOn << initial;
    return answer;
  };
  f.frame->commands().changeDirectory->trigger();
  QCOMPARE(openedOn, QStringList{f.ws.directory()});
  QVERIFY(
      UserSettings::Read(settings::kWorkingDirectory).isEmpty());  // same folder: nothing written
  QCOMPARE(f.rows(), 12);

  QTemporaryDir other;
  answer = other.path();
  f.frame->commands().changeDirectory->trigger();
  QCOMPARE(UserSettings::Read(settings::kWorkingDirectory), other.path());
  QVERIFY(QDir(other.path() + "/Paylark Files").exists());
  QCOMPARE(f.rows(), 0);
  QCOMPARE(f.Pane(2), QStringLiteral("Total : $0.00"));

  f.frame->close();
  QVERIFY(!UserSettings::Read(settings::kBarState).isEmpty());
}

void MainFrameTest::SynchronizeStartsOnlyAConfiguredManager() {
  Fixture f;
  f.frame->commands().synchronize->trigger();
  QVERIFY(f.ws.desktop.started.isEmpty());
  // Regression: the message did not say how to set a program up.
  QCOMPARE(f.ws.prompt.asked,
           QStringList{Text(MessageId::kNoSyncProgram) +
                       "\nTo set one up, see \"Synchronize\" in the manual: " +
                       QUrl::fromLocalFile(HelpFilePath()).toString() + "#sync"});
  UserSettings::Write(settings::kSyncManager, "/opt/sync/manager");
  f.frame->commands().synchronize->trigger();
  QCOMPARE(f.ws.desktop.started, QStringList{"/opt/sync/manager /show /syncnow"});
  QCOMPARE(f.ws.prompt.asked.size(), 1);
}

void MainFrameTest::WordAndExcelExportsGoToExportsFolder() {
  Fixture f;
  f.ws.prompt.answers = {PromptAnswer::kOpen, PromptAnswer::kOpen, PromptAnswer::kOpen};
  f.frame->commands().excelWithNotes->trigger();
  f.frame->commands().excelWithoutNotes->trigger();
  f.frame->commands().wordWithNotes->trigger();
  const QString folder = f.ws.directory() + "/Exports/";
  QCOMPARE(f.ws.desktop.opened,
           (QStringList{folder + "Paylark March 2026.xlsx", folder + "Paylark March 2026 (2).xlsx",
                        folder + "Paylark March 2026.docx"}));
  for (const QString& path : f.ws.desktop.opened)
    QVERIFY(QFile::exists(path));
  QCOMPARE(f.frame->note().text(), "Exported to " + folder + "Paylark March 2026.docx");
  QCOMPARE(f.ws.prompt.asked.last(), "Exported to " + folder + "Paylark March 2026.docx");
}

void MainFrameTest::HtmlAndPdfExportsWriteTheChosenFile() {
  Fixture f;
  QTemporaryDir data;
  const testing::ScopedVariable dataHome("XDG_DATA_HOME", data.path().toUtf8().constData());
  const QString templates = data.path() + "/paylark/Templates";
  QDir().mkpath(templates);
  QVERIFY(QFile::copy(
      qEnvironmentVariable("PAYLARK_SOURCE_DIR") + "/resources/Templates/exporttemplate.html",
      templates + "/exporttemplate.html"));
  f.ws.prompt.answers = {PromptAnswer::kOpen, PromptAnswer::kShowInFolder};
  f.ws.desktop.savePath = f.ws.directory() + "/march.html";
  f.frame->commands().htmlWithNotes->trigger();
  f.ws.desktop.savePath = f.ws.directory() + "/march.pdf";
  f.frame->commands().pdfWithNotes->trigger();
  QCOMPARE(f.ws.desktop.saveTitles.size(), 2);
  QCOMPARE(f.ws.desktop.opened, QStringList{f.ws.directory() + "/march.html"});
  QCOMPARE(f.ws.desktop.shownInFolder, QStringList{f.ws.directory() + "/march.pdf"});
  QCOMPARE(f.ws.prompt.asked, (QStringList{"Exported to " + f.ws.directory() + "/march.html",
                                           "Exported to " + f.ws.directory() + "/march.pdf"}));
  QVERIFY(f.ws.prompt.buttons.back() == PromptButtons::kOpenShowClose);
  QFile html(f.ws.directory() + "/march.html");
  QVERIFY(html.open(QIODevice::ReadOnly));
  const QByteArray page = html.readAll();
  QVERIFY(page.contains("Electricity"));
  QVERIFY(page.indexOf("Rent") < page.indexOf("Council tax"));
  QFile pdf(f.ws.directory() + "/march.pdf");
  QVERIFY(pdf.open(QIODevice::ReadOnly));
  QVERIFY(pdf.read(5) == "%PDF-");

  // Regression: the note beside the question named the export before this one.
  QStringList notesWhileAsking;
  f.ws.prompt.whileAsking = [&] { notesWhileAsking << f.frame->note().text(); };
  f.ws.desktop.savePath = f.ws.directory() + "/march-2.html";
  f.frame->commands().htmlWithoutNotes->trigger();
  f.ws.prompt.whileAsking = nullptr;
  QCOMPARE(notesWhileAsking, QStringList{"Exported to " + f.ws.directory() + "/march-2.html"});
  f.ws.desktop.suggestedPaths.removeLast();

  // The Save As dialogs start in <working directory>/Exports, then where that format went last.
  QCOMPARE(f.ws.desktop.suggestedPaths, (QStringList{f.ws.directory() + "/Exports/Export.html",
                                                     f.ws.directory() + "/Exports/Export.pdf"}));
  const QString elsewhere = f.ws.directory() + "/elsewhere";
  QDir().mkpath(elsewhere);
  f.ws.desktop.savePath = elsewhere + "/april.pdf";
  f.frame->commands().pdfWithoutNotes->trigger();
  f.frame->commands().pdfWithoutNotes->trigger();
  f.frame->commands().htmlWithoutNotes->trigger();
  QCOMPARE(f.ws.desktop.suggestedPaths.mid(3),
           (QStringList{elsewhere + "/Export.pdf", f.ws.directory() + "/Export.html"}));
}

void MainFrameTest::EmptyMonthExportsSayThereAreNoDues() {
  Fixture f;
  f.frame->ShiftMonth(-1);
  Commands& c = f.frame->commands();
  for (QAction* command :
       {c.excelWithNotes, c.wordWithoutNotes, c.htmlWithNotes, c.pdfWithoutNotes})
    command->trigger();
  QCOMPARE(f.ws.prompt.asked,
           QStringList(4, "There are no dues in February 2026, so no file was written."));
  QVERIFY(f.ws.desktop.saveTitles.isEmpty());
  QVERIFY(f.ws.desktop.opened.isEmpty());
  QVERIFY(!QDir(f.ws.directory() + "/Exports").exists() ||
          QDir(f.ws.directory() + "/Exports").isEmpty());
}

void MainFrameTest::ExportDoneMessageOffersOpenAndFolder() {
  MessageBoxPrompt prompt;
  QStringList buttons;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QVERIFY(box != nullptr);
    for (QAbstractButton* button : box->buttons())
      buttons << button->text();
    QCOMPARE(box->defaultButton()->text(), QStringLiteral("Open"));
    Snapshot(*box, "export-done.png");
    for (QAbstractButton* button : box->buttons()) {
      if (button->text() == "Show in Folder")
        button->click();
    }
  });
  const PromptAnswer answer =
      prompt.Ask(nullptr, "Exported to /home/user/Exports/Paylark March 2026.xlsx",
                 PromptButtons::kOpenShowClose, PromptIcon::kInformation);
  QVERIFY(answer == PromptAnswer::kShowInFolder);
  buttons.sort();
  QCOMPARE(buttons, (QStringList{"Close", "Open", "Show in Folder"}));
}

void MainFrameTest::NarrowWindowKeepsRowsReadable() {
  Fixture f;
  f.ws.AddDue("Quarterly water and sewage charge", "Stadtwerke Musterstadt", 12345.67,
              At(2026, 3, 29, 23, 59));
  f.frame->ReloadAll();
  // 640 pixels at one device pixel per pixel, and 1400 device pixels at two.
  for (const int width : {640, 700}) {
    f.frame->resize(width, width == 640 ? 420 : 450);
    QTest::qWait(20);
    QVERIFY(f.frame->detailsBar().width() < DetailsBar::kWidth);
    const QRect row = f.view().visualRect(f.view().model().index(0));
    // From 240 pixels on, MonthRowTest's NarrowRowsElide... keeps the amount off the date.
    QVERIFY2(row.width() >= 250, qPrintable(QString::number(row.width())));
  }
  f.view().SelectRow(f.RowOf("Electricity"));
  f.frame->resize(640, 420);
  QTest::qWait(20);
  Snapshot(*f.frame, "main-window-narrow.png");
  // The bar's values take what is left of it, without scrolling, and a date shows whole.
  const auto* details = static_cast<QTableView*>(f.frame->detailsBar().widget());
  QVERIFY(details->columnWidth(0) + details->columnWidth(1) <= details->viewport()->width());
  const QString due = f.frame->detailsBar().Value(2);
  QCOMPARE(due, QStringLiteral("03/10/2026 12:00 PM"));
  QVERIFY2(details->columnWidth(1) >= details->fontMetrics().horizontalAdvance(due) + 8,
           qPrintable(QString::number(details->columnWidth(1))));
  f.frame->resize(700, 450);
  QTest::qWait(20);
  Snapshot(*f.frame, "main-window-2x.png", 2);
  // The bar can be taken down further by hand.
  f.frame->resizeDocks({&f.frame->detailsBar()}, {DetailsBar::kNarrowestWidth}, Qt::Horizontal);
  QTest::qWait(20);
  QVERIFY(f.frame->detailsBar().width() <= DetailsBar::kNarrowestWidth + 10);
}

void MainFrameTest::HugeSumsGiveWayToTheUnreadableNote() {
  Fixture f;
  f.ws.AddDue("Yacht", "Broker", 999999999999.99, At(2026, 3, 18, 9), true);
  f.ws.AddDue("Island", "Estate agent", 99999999999999.99, At(2026, 3, 19, 9));
  f.frame->RefreshMonth();
  const QString note =
      QString::fromStdString(MessageText({MessageId::kRecordFilesUnreadable, {}, 12, {}}));
  f.frame->ShowNote(note);
  const QLabel& shown = f.frame->note();
  // Wide: everything whole. Narrow (640 pixels, and 700 drawn at two device pixels per pixel):
  // the note stays whole and clear of the sums, which are cut.
  for (const int width : {1400, 640, 700}) {
    f.frame->resize(width, 450);
    QTest::qWait(20);
    QStatusBar& bar = *f.frame->statusBar();
    QVERIFY(shown.isVisible());
    QCOMPARE(shown.text(), note);
    QVERIFY2(shown.width() >= shown.fontMetrics().horizontalAdvance(note),
             qPrintable(QString::number(shown.width())));
    QVERIFY(shown.geometry().right() < bar.width());
    for (const ElidedLabel* sum : bar.findChildren<ElidedLabel*>()) {
      if (sum->isVisible())  // the Income pane shows only in a month with incomes
        QVERIFY(sum->mapTo(&bar, QPoint(0, 0)).x() > shown.geometry().right());
    }
    for (int pane = 0; pane < 3; ++pane) {
      const QString whole = f.Pane(pane);
      const QString cut = f.frame->statusPanes().ShownText(pane);
      QVERIFY2(width == 1400 ? cut == whole : cut.endsWith(QChar(0x2026)) || cut == whole,
               qPrintable(QString("%1: %2").arg(width).arg(cut)));
    }
    QVERIFY(width == 1400 || f.frame->statusPanes().ShownText(2).endsWith(QChar(0x2026)));
    QVERIFY2(f.Pane(2).startsWith("Total : $101,000,000,00"), qPrintable(f.Pane(2)));
  }
  Snapshot(*f.frame->statusBar(), "status-bar-huge-sums-2x.png", 2);
  f.frame->resize(640, 420);
  QTest::qWait(20);
  Snapshot(*f.frame->statusBar(), "status-bar-huge-sums.png");
}

void MainFrameTest::LongSeriesDeleteShowsProgress() {
  Fixture f;
  const std::string longSeries = "recId20260301100000";
  for (int day = 0; day < 300; ++day)
    f.ws.AddDue("Parking", "City", 2, At(2026, 3, 1 + day % 31, 7), false, longSeries);
  f.frame->ReloadAll();
  QString label;
  int maximum = 0;
  bool windowModal = false;
  QTimer::singleShot(0, f.frame.get(), [&] {
    if (auto* dialog = f.frame->findChild<QProgressDialog*>()) {
      label = dialog->labelText();
      maximum = dialog->maximum();
      windowModal = dialog->windowModality() == Qt::WindowModal && dialog->isVisible();
    }
  });
  f.Delete("Parking");
  QVERIFY2(label.startsWith("Deleting dues: ") && label.endsWith(" of 300"), qPrintable(label));
  QCOMPARE(maximum, 300);
  QVERIFY(windowModal);
  QVERIFY(f.frame->findChild<QProgressDialog*>() == nullptr);
  QCOMPARE(f.rows(), 12);
  // A short series shows nothing.
  bool shown = false;
  QTimer::singleShot(0, f.frame.get(),
                     [&] { shown = f.frame->findChild<QProgressDialog*>() != nullptr; });
  f.Delete("Loan");
  QVERIFY(!shown);
  QCOMPARE(f.rows(), 10);
}

void MainFrameTest::LoadingManyFilesShowsProgress() {
  Fixture f;
  const QString records = f.ws.directory() + QStringLiteral("/Paylark Files/");
  constexpr int kFiles = static_cast<int>(OperationProgress::kLoadingShownFrom);
  DueRecord record = DueRecord::WithDefaults(f.ws.clock);
  record.dueDate = At(2027, 1, 15);
  for (int n = 0; n < kFiles; ++n) {
    record.recordId = "2027011500" + std::to_string(100000 + n);
    QFile file(records + QString::fromStdString("duedate" + record.recordId + ".due"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(EncodeRecord(record)));
  }
  QString label;
  int maximum = 0;
  QTimer::singleShot(0, f.frame.get(), [&] {
    if (auto* dialog = f.frame->findChild<QProgressDialog*>()) {
      label = dialog->labelText();
      maximum = dialog->maximum();
      Snapshot(*dialog, "loading.png");
    }
  });
  f.frame->ReloadAll();
  // The fixture's own dues are read as well.
  QCOMPARE(label, QStringLiteral("Loading %1 dues\u2026").arg(maximum));
  QVERIFY(maximum > kFiles);
  QVERIFY(f.frame->findChild<QProgressDialog*>() == nullptr);
  QCOMPARE(f.ws.app.store().map().size(), static_cast<std::size_t>(maximum));
}

// Regression: the window opened with the keys in the details pane, and nothing showed which pane
// had them. Tab goes around the whole window and back to the list, each control once.
void MainFrameTest::TheWindowOpensInTheListAndTabWalksItMarkingThePaneWithTheKeys() {
  Fixture f;
  QVERIFY(QTest::qWaitForWindowActive(f.frame.get()));
  QCOMPARE(QApplication::focusWidget(), &f.view());
  const QColor mark = f.view().palette().color(QPalette::Highlight);
  const auto marked = [&mark](QWidget& pane) {
    QCoreApplication::processEvents();
    const QImage image = pane.grab().toImage();
    return image.pixelColor(0, image.height() / 2) == mark &&
           image.pixelColor(image.width() - 1, image.height() / 2) == mark;
  };
  QWidget& details = *f.frame->detailsBar().focusProxy();
  QVERIFY(marked(f.view()));
  QVERIFY(!marked(details));
  QTest::keyClick(&f.view(), Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), &details);
  QVERIFY(marked(details));
  QVERIFY(!marked(f.view()));
  QTest::keyClick(&details, Qt::Key_Tab);
  QVERIFY(!f.frame->detailsBar().isAncestorOf(QApplication::focusWidget()));
  // A picker is one stop.
  QList<QWidget*> stops;
  while (QApplication::focusWidget() != &f.view() && stops.size() < 60) {
    QVERIFY(!stops.contains(QApplication::focusWidget()));
    stops << QApplication::focusWidget();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  QVERIFY(stops.contains(&f.frame->toolBar().datePicker()));
  QVERIFY(stops.contains(&f.frame->toolBar().filter()));
  QVERIFY(stops.size() < 60);

  QTest::keyClick(f.frame.get(), Qt::Key_F1);
  QCOMPARE(f.ws.prompt.asked.size() + f.ws.desktop.opened.size(), 1);
}

// Icons are read when first drawn, and the style's own ones come from the program's pictures:
// each must still give a picture that is not blank.
void MainFrameTest::EveryIconDrawsWhenFirstAskedFor() {
  Fixture f;
  const auto drawsSomething = [](const QIcon& icon) {
    const QImage image = icon.pixmap(QSize(16, 16), 1.0).toImage();
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (qAlpha(image.pixel(x, y)) > 0)
          return true;
      }
    }
    return false;
  };
  int icons = 0;
  for (const QAction* action : f.frame->findChildren<QAction*>()) {
    if (action->icon().isNull())
      continue;
    ++icons;
    QVERIFY2(drawsSomething(action->icon()), qPrintable(action->text()));
  }
  QVERIFY(icons > 10);
  for (const QStyle::StandardPixmap which :
       {QStyle::SP_LineEditClearButton, QStyle::SP_ToolBarHorizontalExtensionButton})
    QVERIFY(drawsSomething(f.frame->style()->standardIcon(which)));
}

void MainFrameTest::SnapshotsOfTheWindowAndDialogs() {
  if (!SnapshotsWanted())
    QSKIP("PAYLARK_SNAPSHOTS names no folder for the pictures");
  Fixture f;
  f.view().SelectRow(f.RowOf("Electricity"));
  QCoreApplication::processEvents();
  Snapshot(*f.frame, "main-window.png");
  AboutDialog about(f.frame.get());
  about.show();
  Snapshot(about, "about.png");
}

}  // namespace paylark::test
