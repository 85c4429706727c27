#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "core/base/messages.h"
#include "core/records/record_codec.h"
#include "core/sync/backups.h"
#include "tests/ui/editor_fixture.h"
#include "tests/ui/fakes.h"
#include "tests/ui/test_runner.h"
#include "ui/app/sync_wiring.h"
#include "ui/editor/modify_command.h"
#include "ui/shell/main_window.h"
#include "ui/shell/month_list_model.h"
#include "ui/shell/month_list_view.h"
#include "ui/sync/conflict_resolver_dialog.h"
#include "ui/sync/folder_watcher.h"
#include "ui/sync/single_instance.h"

namespace paylark::test {

class SyncWindowTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void SecondStartHandsItsArgumentsToTheFirst();
  void ModifySheetAsksWhenTheDueChangedElsewhere();
  void ChangedFilesAppearKeepingMonthAndSelection();
  void ConflictsAreCountedAndResolvedSideBySide();

 private:
  QTemporaryDir runtime_;
};

namespace {

QString Text(MessageId id) {
  return QString::fromStdString(MessageText(id));
}

// Writes a record file as another device's sync engine would: behind the store's back.
void WriteBehind(Workspace& ws, const std::string& name, const DueRecord& record) {
  std::ofstream(ws.app.store().RecordsFolder() + "/" + name, std::ios::binary | std::ios::trunc)
      << EncodeRecord(record);
}

int RowOf(MainWindow& window, const std::string& id) {
  const std::vector<DueRecord>& rows = window.view().model().rows();
  for (std::size_t row = 0; row < rows.size(); ++row) {
    if (rows[row].recordId == id)
      return static_cast<int>(row);
  }
  return -1;
}

}  // namespace

void SyncWindowTest::initTestCase() {
  qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
  qputenv("XDG_DATA_HOME", (runtime_.path() + QStringLiteral("/data")).toUtf8());
}

void SyncWindowTest::SecondStartHandsItsArgumentsToTheFirst() {
  QTemporaryDir folder;
  QTemporaryDir other;
  SingleInstance first(folder.path());
  QCOMPARE(first.Claim({}), SingleInstance::Role::kFirst);
  QSignalSpy activated(&first, &SingleInstance::Activated);

  SingleInstance second(folder.path() + QStringLiteral("/"));
  QCOMPARE(second.Claim({QStringLiteral("--show-due"), QStringLiteral("2026031510000010")}),
           SingleInstance::Role::kHandedOver);
  QTRY_COMPARE(activated.count(), 1);
  QCOMPARE(activated.at(0).at(0).toStringList(),
           (QStringList{QStringLiteral("--show-due"), QStringLiteral("2026031510000010")}));

  SingleInstance elsewhere(other.path());
  QCOMPARE(elsewhere.Claim({}), SingleInstance::Role::kFirst);
  QVERIFY(!QFile::exists(folder.path() + QStringLiteral("/") +
                         SingleInstance::NameFor(folder.path()) + QStringLiteral(".lock")));
  QVERIFY(QFile::exists(runtime_.path() + QStringLiteral("/") +
                        SingleInstance::NameFor(folder.path()) + QStringLiteral(".lock")));
}

void SyncWindowTest::ModifySheetAsksWhenTheDueChangedElsewhere() {
  for (const PromptAnswer answer : {PromptAnswer::kYes, PromptAnswer::kNo}) {
    Workspace ws;
    const std::string id = ws.AddDue("Power", "Grid", 40, At(2026, 3, 20));
    ws.prompt.answers = {answer};
    ScriptedRunner script;
    script.Then([&](QDialog& dialog) {
      Field(dialog, "amount").setText(QStringLiteral("45"));
      DueRecord theirs = ws.app.store().Get(id);
      theirs.title = "Power (theirs)";
      WriteBehind(ws, "duedate" + id + ".due", theirs);
      (void)ws.app.store().ReloadFiles({"duedate" + id + ".due"});
      Press(dialog, "ok");
    });
    QCOMPARE(ModifyDue(ws.app, nullptr, id, script.runner()), EditOutcome::kRecordsChanged);
    QCOMPARE(ws.prompt.asked, QStringList{Text(MessageId::kChangedElsewhere)});
    QCOMPARE(ws.prompt.buttons.back(), PromptButtons::kKeepMineTakeTheirs);
    const DueRecord now = ws.app.store().Get(id);
    if (answer == PromptAnswer::kYes) {  // Keep Mine
      QCOMPARE(now.title, std::string("Power"));
      QCOMPARE(now.amount, 45.0);
    } else {  // Take Theirs
      QCOMPARE(now.title, std::string("Power (theirs)"));
      QCOMPARE(now.amount, 40.0);
    }
  }
}

void SyncWindowTest::ChangedFilesAppearKeepingMonthAndSelection() {
  Workspace ws;
  const std::string rent = ws.AddDue("Rent", "Landlord", 850, At(2026, 3, 1, 9));
  const std::string gas = ws.AddDue("Gas", "Utility", 60, At(2026, 3, 18, 9));
  FakeDialogs dialogs;
  MainWindow window(ws.app, dialogs);
  SyncWiring wiring(ws.app, window);
  window.ShiftMonth(0);
  window.view().SelectRow(RowOf(window, gas));
  QSignalSpy changed(&wiring.watcher(), &FolderWatcher::FilesChanged);

  DueRecord arriving = DueRecord::WithDefaults(ws.clock);
  arriving.recordId = "2026031509000010";
  arriving.title = "Water (from the phone)";
  arriving.dueDate = At(2026, 3, 9);
  WriteBehind(ws, "duedate2026031509000010.due", arriving);
  WriteBehind(ws, ".syncthing.duedate2026031509000020.due.tmp", arriving);
  QTRY_VERIFY_WITH_TIMEOUT(RowOf(window, arriving.recordId) >= 0, 5000);
  QCOMPARE(window.view().model().rowCount(), 3);
  QCOMPARE(window.view().SelectedRecord()->recordId, gas);
  QVERIFY(!ws.app.store().Contains("2026031509000020"));
  QVERIFY(!changed.isEmpty());
  QVERIFY(!wiring.conflictsButton().isVisibleTo(&window));
  // The first change of the day found a backup taken when the window opened.
  QVERIFY(HasBackupOfToday(BackupsFolder(ws.app.workingDirectory()), ws.clock));
  Q_UNUSED(rent);
}

void SyncWindowTest::ConflictsAreCountedAndResolvedSideBySide() {
  Workspace ws;
  const std::string id = ws.AddDue("Rent", "Landlord", 850, At(2026, 3, 1, 9));
  FakeDialogs dialogs;
  MainWindow window(ws.app, dialogs);
  window.resize(1000, 600);
  SyncWiring wiring(ws.app, window);
  DueRecord theirs = ws.app.store().Get(id);
  theirs.amount = 875;
  theirs.notes = "Raised in March";
  const std::string copy = "duedate" + id + ".sync-conflict-20260315-100500-PHONE77.due";
  WriteBehind(ws, copy, theirs);
  QTRY_VERIFY_WITH_TIMEOUT(wiring.conflictsButton().isVisibleTo(&window), 5000);
  QCOMPARE(wiring.conflictsButton().text(), QStringLiteral("1 sync conflict"));
  QCOMPARE(ws.app.store().Get(id).amount, 850.0);
  window.show();
  Snapshot(window, QStringLiteral("sync-conflict-status.png"));

  ConflictResolverDialog resolver(ws.app.store(), BackupsFolder(ws.app.workingDirectory()),
                                  &window);
  resolver.show();
  QCOMPARE(resolver.conflictCount(), 1);
  auto& table = *resolver.findChild<QTableWidget*>(QStringLiteral("versions"));
  QCOMPARE(table.columnCount(), 2);
  QStringList marked;
  for (int row = 0; row < table.rowCount(); ++row) {
    if (table.verticalHeaderItem(row)->font().bold())
      marked << table.verticalHeaderItem(row)->text();
  }
  QCOMPARE(marked, (QStringList{QStringLiteral("\u25B6 Amount"), QStringLiteral("\u25B6 Notes")}));
  Snapshot(resolver, QStringLiteral("sync-conflict.png"));

  resolver.findChild<QPushButton*>(QStringLiteral("keep1"))->click();
  QCOMPARE(resolver.conflictCount(), 0);
  QCOMPARE(ws.app.store().Get(id).amount, 875.0);
  QVERIFY(QFile::exists(QString::fromStdString(BackupsFolder(ws.app.workingDirectory())) +
                        QStringLiteral("/duedate") + QString::fromStdString(id) +
                        QStringLiteral(".due")));
  QTRY_VERIFY_WITH_TIMEOUT(!wiring.conflictsButton().isVisibleTo(&window), 5000);
}

}  // namespace paylark::test

int main(int argc, char* argv[]) {
  paylark::test::SyncWindowTest test;
  return paylark::test::RunTestClasses(argc, argv, {&test});
}

#include "sync_window_test.moc"
