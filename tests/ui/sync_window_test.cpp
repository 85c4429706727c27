#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "core/attachments/attachment_store.h"
#include "core/base/messages.h"
#include "core/forecast/balance_file.h"
#include "core/records/record_codec.h"
#include "core/sync/backups.h"
#include "settings/user_settings.h"
#include "tests/support/memory_file_system.h"
#include "tests/ui/editor_fixture.h"
#include "tests/ui/fakes.h"
#include "tests/ui/test_runner.h"
#include "ui/attachments/attached_dues.h"
#include "ui/base/start_load.h"
#include "ui/editor/modify_command.h"
#include "ui/exchange/calendar_feed_keeper.h"
#include "ui/forecast/forecast_command.h"
#include "ui/shell/caption_strip.h"
#include "ui/shell/commands.h"
#include "ui/shell/main_window.h"
#include "ui/shell/month_list_model.h"
#include "ui/shell/month_list_view.h"
#include "ui/sync/backup_job.h"
#include "ui/sync/conflict_resolver_dialog.h"
#include "ui/sync/empty_restore_question.h"
#include "ui/sync/folder_watcher.h"
#include "ui/sync/single_instance.h"
#include "ui/sync/sync_commands.h"
#include "ui/sync/syncthing_config_reader.h"
#include "ui/sync/syncthing_rescan.h"

namespace paylark::test {

class SyncWindowTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void SecondStartHandsItsArgumentsToTheFirst();
  void ModifySheetAsksWhenTheDueChangedElsewhere();
  void FilesChangedElsewhereAppearAndAReplacedFolderIsReadWhole();
  void TheWatcherNamesEachChangedFileOnce();
  void ConflictsAreCountedAndResolvedSideBySide();
  void SyncthingConfigIsReadWithoutItsDefaults();
  void SynchronizeAsksARunningSyncthingToRescan();
  void ChangeDirectoryMovesTheOneWindowLock();
  void ANewDaysFirstChangeIsBackedUpBeforeItIsMade();
  void WorkThatCanWaitBeginsOnceTheMonthIsPainted();
  void TheStartsFolderCheckWaitsForThePaintedMonth();
  void TheBalanceWarningFollowsTheStartsFolderCheck();
  void ABackupStoppedByTheWindowsEndLeavesNoPartOfItself();
  void ABackupWithoutDuesRestoresOnlyAfterTheQuestion();
  void RestoreNamesTheBackupsByTimeAndSaysWhatItRestored();

 private:
  QTemporaryDir runtime_;
};

namespace {

// Writes a record file as another device's sync engine would: behind the store's back.
void WriteBehind(Workspace& ws, const std::string& name, const DueRecord& record) {
  std::ofstream(RecordsFolderPath(ws.app.store().workingDirectory()) + "/" + name,
                std::ios::binary | std::ios::trunc)
      << EncodeRecord(record);
}

// Shows the window and waits for its first painted month and then for the records folder to be
// watched.
bool ShownAndWatched(MainWindow& window, SyncCommands& wiring) {
  QSignalSpy added(&wiring.watcher(), &FolderWatcher::Added);
  window.show();
  return QTest::qWaitFor([&window] { return window.monthPainted(); }, 5000) &&
         (!added.isEmpty() || added.wait(5000));
}

// The window wired to follow the records folder, as the program wires it.
struct SyncedWindow {
  explicit SyncedWindow(Workspace& ws) : window(ws.app, dialogs), wiring(ws.app, window, watcher) {}

  FakeDialogs dialogs;
  MainWindow window;
  FolderWatcher watcher;
  SyncCommands wiring;
};

int RowOf(MainWindow& window, const std::string& id) {
  const std::vector<DueRecord>& rows = window.view().model().rows();
  for (std::size_t row = 0; row < rows.size(); ++row) {
    if (rows[row].recordId == id)
      return static_cast<int>(row);
  }
  return -1;
}

// A start of the window from the snapshot of a records folder that the check will find as the
// snapshot describes it, wired as the program wires it.
struct SnapshotStart {
  SnapshotStart()
      : clock(At(2026, 3, 15, 10)),
        app(clock, prompt, desktop, files),
        load(app),
        loaded(Load()),
        window(app, dialogs),
        wiring(app, window, watcher) {
    wiring.FollowStart(load);
  }

  bool Load() {
    const std::string records = "/home/user/Paylark Files";
    (void)files.CreateFolder("/home/user");
    (void)files.CreateFolder(records);
    for (int n = 10; n < 13; ++n) {
      DueRecord record = DueRecord::WithDefaults(clock);
      record.recordId = "202603010000000" + std::to_string(n);
      record.dueDate = At(2026, 3, n);
      (void)files.Write(records + "/duedate" + record.recordId + ".due", EncodeRecord(record),
                        0644);
    }
    {
      PaylarkApp first(clock, prompt, desktop, files);
      first.SetWorkingDirectory("/home/user");
      (void)first.Reload();  // writes the snapshot
    }
    app.SetWorkingDirectory("/home/user");
    load.BeforeReading([this](const QString& folder) { watcher.WatchInBackground(folder); });
    return load.Load().isEmpty();
  }

  MemoryFileSystem files;
  FixedClock clock;
  FakePrompt prompt;
  FakeDesktop desktop;
  PaylarkApp app;
  FolderWatcher watcher;
  StartLoad load;
  bool loaded;
  FakeDialogs dialogs;
  MainWindow window;
  SyncCommands wiring;
};

// Syncthing's REST API as far as Synchronize uses it: each request is kept as "<verb> <path>
// <API key>"; a scan answers scanCode, the folder status is "scanning" once, then "idle".
class FakeSyncthing final {
 public:
  FakeSyncthing() {
    QVERIFY(server_.listen(QHostAddress::LocalHost));
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
          if (!socket->peek(socket->bytesAvailable()).contains("\r\n\r\n"))
            return;  // the rest of the head is on its way
          const QByteArray request = socket->readAll();
          const QList<QByteArray> lines = request.split('\n');
          QByteArray key;
          for (const QByteArray& line : lines) {
            if (line.toLower().startsWith("x-api-key:"))
              key = line.mid(10).trimmed();
          }
          const QList<QByteArray> first = lines.value(0).split(' ');
          requests << QString::fromUtf8(first.value(0) + ' ' + first.value(1) + ' ' + key);
          const bool scan = first.value(1).startsWith("/rest/db/scan");
          const QByteArray body =
              scan ? (scanCode == 200 ? QByteArray() : QByteArray("folder is gone\n"))
                   : "{\"state\": \"" + QByteArray(++statusAsked < 2 ? "scanning" : "idle") + "\"}";
          socket->write("HTTP/1.1 " + QByteArray::number(scan ? scanCode : 200) +
                        " Answer\r\nContent-Type: application/json\r\nContent-Length: " +
                        QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
          socket->disconnectFromHost();
        });
      }
    });
  }
  quint16 port() const { return server_.serverPort(); }
  void Stop() { server_.close(); }

  QStringList requests;
  int scanCode = 200;
  int statusAsked = 0;

 private:
  QTcpServer server_;
};

// Syncthing's config.xml in $XDG_STATE_HOME, holding the elements given; gives its path.
QString WriteSyncthingConfig(const std::string& elements) {
  const QString folder = qEnvironmentVariable("XDG_STATE_HOME") + QStringLiteral("/syncthing");
  QDir().mkpath(folder);
  std::ofstream(QString(folder + QStringLiteral("/config.xml")).toStdString())
      << "<configuration version=\"37\">\n"
      << elements << "</configuration>\n";
  return folder + QStringLiteral("/config.xml");
}

}  // namespace

void SyncWindowTest::initTestCase() {
  qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
  qputenv("XDG_DATA_HOME", (runtime_.path() + QStringLiteral("/data")).toUtf8());
  qputenv("XDG_STATE_HOME", (runtime_.path() + QStringLiteral("/state")).toUtf8());
  qputenv("XDG_CONFIG_HOME", (runtime_.path() + QStringLiteral("/config")).toUtf8());
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

// Files written behind the window appear, keeping its month and selection; a folder moved away
// and another put in its place is read again whole, and then followed in turn.
void SyncWindowTest::FilesChangedElsewhereAppearAndAReplacedFolderIsReadWhole() {
  Workspace ws;
  const std::string rent = ws.AddDue("Rent", "Landlord", 850, At(2026, 3, 1, 9));
  const std::string gas = ws.AddDue("Gas", "Utility", 60, At(2026, 3, 18, 9));
  SyncedWindow s(ws);
  QVERIFY(ShownAndWatched(s.window, s.wiring));
  s.window.ShiftMonth(0);
  s.window.view().SelectRow(RowOf(s.window, gas));
  QSignalSpy changed(&s.wiring.watcher(), &FolderWatcher::FilesChanged);
  QSignalSpy whole(&s.wiring.watcher(), &FolderWatcher::FolderChanged);

  DueRecord arriving = DueRecord::WithDefaults(ws.clock);
  arriving.recordId = "2026031509000010";
  arriving.title = "Water (from the phone)";
  arriving.dueDate = At(2026, 3, 9);
  WriteBehind(ws, "duedate2026031509000010.due", arriving);
  WriteBehind(ws, ".syncthing.duedate2026031509000020.due.tmp", arriving);
  QTRY_VERIFY_WITH_TIMEOUT(RowOf(s.window, arriving.recordId) >= 0, 5000);
  QCOMPARE(s.window.view().model().rowCount(), 3);
  QCOMPARE(s.window.view().SelectedRecord()->recordId, gas);
  QVERIFY(!ws.app.store().records().Contains("2026031509000020"));
  QVERIFY(!changed.isEmpty());
  QVERIFY(!s.wiring.conflictsButton().isVisibleTo(&s.window));

  const QString records =
      QString::fromStdString(RecordsFolderPath(ws.app.store().workingDirectory()));
  QVERIFY(QDir().rename(records, records + QStringLiteral(" (old)")));
  QVERIFY(QDir().mkpath(records));
  DueRecord restored = arriving;
  restored.recordId = "2026031509000030";
  restored.title = "Water (restored)";
  WriteBehind(ws, "duedate2026031509000030.due", restored);
  QTRY_VERIFY_WITH_TIMEOUT(RowOf(s.window, restored.recordId) >= 0, 5000);
  QVERIFY(whole.count() >= 1);
  QCOMPARE(RowOf(s.window, rent), -1);
  QCOMPARE(s.window.view().model().rowCount(), 1);
  DueRecord next = restored;
  next.recordId = "2026031509000040";
  next.title = "Gas";
  WriteBehind(ws, "duedate2026031509000040.due", next);
  QTRY_VERIFY_WITH_TIMEOUT(RowOf(s.window, next.recordId) >= 0, 5000);
}

// A write in place, a rename over a record, a removal and a new name come in one announcement
// after the gathering, each name once; nothing else in the folder is looked at.
void SyncWindowTest::TheWatcherNamesEachChangedFileOnce() {
  QTemporaryDir folder;
  const QString path = folder.path();
  auto put = [&](const QString& name, const char* bytes) {
    std::ofstream(QDir(path).filePath(name).toStdString(), std::ios::trunc) << bytes;
  };
  put(QStringLiteral("duedate1.due"), "one");
  put(QStringLiteral("duedate2.due"), "two");
  put(QStringLiteral("duedate3.due"), "three");
  qRegisterMetaType<std::vector<std::string>>();
  FolderWatcher watcher;
  watcher.Watch(path);
  QSignalSpy changed(&watcher, &FolderWatcher::FilesChanged);
  QSignalSpy whole(&watcher, &FolderWatcher::FolderChanged);

  put(QStringLiteral("duedate1.due"), "one, changed");
  put(QStringLiteral("duedate1.due"), "one, changed again");
  put(QStringLiteral(".paylark-1-1"), "two, replaced");
  std::filesystem::rename(QDir(path).filePath(QStringLiteral(".paylark-1-1")).toStdString(),
                          QDir(path).filePath(QStringLiteral("duedate2.due")).toStdString());
  QVERIFY(QDir(path).remove(QStringLiteral("duedate3.due")));
  put(QStringLiteral("duedate4.due"), "four");
  QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, 5000);
  const auto names = changed.at(0).at(0).value<std::vector<std::string>>();
  QCOMPARE(names, (std::vector<std::string>{".paylark-1-1", "duedate1.due", "duedate2.due",
                                            "duedate3.due", "duedate4.due"}));
  QCOMPARE(whole.count(), 0);
}

void SyncWindowTest::ConflictsAreCountedAndResolvedSideBySide() {
  Workspace ws;
  const std::string id = ws.AddDue("Rent", "Landlord", 850, At(2026, 3, 1, 9));
  FakeDialogs dialogs;
  MainWindow window(ws.app, dialogs);
  window.resize(1000, 600);
  // Regression: placing the button printed "QStatusBar::insertPermanentWidget: Index out of
  // range" at every start and put it right of the sums.
  static QStringList warnings;
  const QtMessageHandler previous = qInstallMessageHandler(
      [](QtMsgType, const QMessageLogContext&, const QString& text) { warnings.append(text); });
  FolderWatcher watcher;
  SyncCommands wiring(ws.app, window, watcher);
  qInstallMessageHandler(previous);
  QCOMPARE(warnings, QStringList());
  QVERIFY(ShownAndWatched(window, wiring));
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
  // Regression: a menu hint hid the button, and once it overlapped the hint.
  window.statusBar()->showMessage(QStringLiteral("Goto Next Month"));
  QVERIFY(wiring.conflictsButton().isVisible());
  const QRect button = wiring.conflictsButton().geometry();
  const int hintEnd = window.statusBar()->fontMetrics().horizontalAdvance("Goto Next Month");
  QVERIFY(button.left() > hintEnd);
  // Left of the sums (at least the Paid and Unpaid panes, 130 pixels each), not after them.
  QVERIFY(button.right() < window.statusBar()->width() - 260);
  window.statusBar()->clearMessage();

  ConflictResolverDialog resolver(ws.app.store(), BackupsFolder(ws.app.workingDirectory()),
                                  &window);
  resolver.show();
  QCOMPARE(resolver.conflictCount(), 1);
  auto& table = *resolver.findChild<QTableWidget*>(QStringLiteral("versions"));
  QCOMPARE(table.columnCount(), 2);
  // Regression: the copy's column did not say when or on which device it was made.
  QCOMPARE(table.horizontalHeaderItem(1)->text(),
           QStringLiteral("Conflict Copy\n03/15/2026 10:05 AM \u00b7 PHONE77"));
  {
    // Syncthing's configuration names the device.
    const QString config = WriteSyncthingConfig(
        "  <device id=\"LAPTOP1-AAAAAAA\" name=\"Laptop\"></device>\n"
        "  <device id=\"PHONE77-BBBBBBB-CCCCCCC\" name=\"Anna's phone\"></device>\n");
    ConflictResolverDialog named(ws.app.store(), BackupsFolder(ws.app.workingDirectory()));
    QCOMPARE(
        named.findChild<QTableWidget*>(QStringLiteral("versions"))->horizontalHeaderItem(1)->text(),
        QStringLiteral("Conflict Copy\n03/15/2026 10:05 AM \u00b7 Anna's phone"));
    QVERIFY(QFile::remove(config));
  }
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

// The shape Syncthing writes: attributes over several lines, escaped text, nested devices, and
// the folder defaults, which describe no folder.
void SyncWindowTest::SyncthingConfigIsReadWithoutItsDefaults() {
  const QByteArray xml =
      "<configuration version=\"37\">\n"
      "    <folder id=\"bills\" label=\"Bills &amp; co\" path=\"~/Sync/Bills/\"\n"
      "            type=\"sendreceive\">\n"
      "        <device id=\"AAAA\" introducedBy=\"\"></device>\n"
      "    </folder>\n"
      "    <folder id=\"old\" label=\"\" path=\"/home/ann/Old\" paused=\"true\"></folder>\n"
      "    <device id=\"AAAA\" name=\"laptop\"><address>dynamic</address></device>\n"
      "    <gui enabled=\"true\" tls=\"true\" debugging=\"false\">\n"
      "        <address>127.0.0.1:8384</address>\n"
      "        <apikey>k&amp;ey42</apikey>\n"
      "        <theme>default</theme>\n"
      "    </gui>\n"
      "    <defaults>\n"
      "        <folder id=\"\" label=\"\" path=\"~\" type=\"sendreceive\"></folder>\n"
      "    </defaults>\n"
      "</configuration>\n";
  const std::optional<SyncthingConfig> config = ReadSyncthingConfig(xml);
  QVERIFY(config.has_value());
  QVERIFY(config->gui.has_value());
  QCOMPARE(config->gui->address, std::string("127.0.0.1:8384"));
  QCOMPARE(config->gui->apiKey, std::string("k&ey42"));
  QVERIFY(config->gui->enabled && config->gui->tls);
  QCOMPARE(config->folders.size(), std::size_t{2});
  QCOMPARE(config->folders[0].id, std::string("bills"));
  QCOMPARE(config->folders[0].path, std::string("~/Sync/Bills/"));
  QVERIFY(!config->folders[0].paused && config->folders[1].paused);
  QCOMPARE(config->devices.size(), std::size_t{1});
  QCOMPARE(config->devices[0].name, std::string("laptop"));
  QCOMPARE(SyncthingDeviceName(*config, "AAAA"), std::string("laptop"));
  QCOMPARE(SyncthingDeviceName(*config, "AAA"), std::string());
  QVERIFY(!ReadSyncthingConfig(xml.left(xml.size() / 2)).has_value());
  QVERIFY(!ReadSyncthingConfig("<html><folder id=\"x\" path=\"/\"/></html>").has_value());
}

void SyncWindowTest::SynchronizeAsksARunningSyncthingToRescan() {
  Workspace ws;
  const std::string gas = ws.AddDue("Gas", "Utility", 60, At(2026, 3, 18, 9));
  SyncedWindow s(ws);
  QSignalSpy finished(&s.wiring.rescan(), &SyncthingRescan::Finished);
  FakeSyncthing syncthing;  // its folder "bills" holds the working directory
  const QString config = WriteSyncthingConfig(
      "  <folder id=\"bills\" label=\"Bills\" path=\"" + ws.directory().toStdString() +
      "/\" type=\"sendreceive\"></folder>\n  <gui enabled=\"true\" tls=\"false\">\n    "
      "<address>127.0.0.1:" +
      std::to_string(syncthing.port()) + "</address>\n    <apikey>key-4711</apikey>\n  </gui>\n");

  s.window.commands().synchronize->trigger();
  QCOMPARE(s.window.note().text(), Text(MessageId::kSyncthingRescanning));
  QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
  const QString scanned = QStringLiteral("POST /rest/db/scan?folder=bills key-4711");
  const QString status = QStringLiteral("GET /rest/db/status?folder=bills key-4711");
  QCOMPARE(syncthing.requests, (QStringList{scanned, status, status}));
  QVERIFY(s.window.note().text().isEmpty());  // reloaded once Syncthing was idle
  QVERIFY(ws.prompt.asked.isEmpty());

  // Syncthing refuses: told, and reloaded all the same.
  syncthing.scanCode = 500;
  s.window.commands().synchronize->trigger();
  QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 10000);
  QCOMPARE(ws.prompt.asked,
           QStringList{Text(MessageId::kSyncthingFailed) + QStringLiteral("folder is gone")});

  // Nothing listens any more: as without any synchronisation program.
  syncthing.Stop();
  s.window.commands().synchronize->trigger();
  QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 3, 10000);
  QVERIFY(ws.prompt.asked.last().startsWith(Text(MessageId::kNoSyncProgram)));
  QVERIFY(ws.app.store().records().Contains(gas));
  QFile::remove(config);
}

void SyncWindowTest::ChangeDirectoryMovesTheOneWindowLock() {
  UseFreshSettings();
  Workspace ws;
  QTemporaryDir taken;
  QTemporaryDir free;
  SingleInstance mine(ws.directory());
  QCOMPARE(mine.Claim({}), SingleInstance::Role::kFirst);
  SingleInstance theirs(taken.path());
  QCOMPARE(theirs.Claim({}), SingleInstance::Role::kFirst);
  FakeDialogs dialogs;
  QString chosen = taken.path();
  MainWindow window(ws.app, dialogs,
                    {[&chosen](const QString&) { return chosen; },
                     [&mine](const QString& folder) { return mine.MoveTo(folder); }});

  window.commands().changeDirectory->trigger();
  QCOMPARE(ws.prompt.asked,
           QStringList{QString::fromStdString(MessageText(
               Message{MessageId::kWorkingDirectoryInUse, taken.path().toStdString(), 0, {}}))});
  QCOMPARE(ws.app.workingDirectory(), ws.directory().toStdString());

  chosen = free.path();
  window.commands().changeDirectory->trigger();
  QCOMPARE(ws.app.workingDirectory(), free.path().toStdString());
  // The old folder is free for another window; a start on the new one raises this window.
  SingleInstance later(ws.directory());
  QCOMPARE(later.Claim({}), SingleInstance::Role::kFirst);
  QSignalSpy activated(&mine, &SingleInstance::Activated);
  SingleInstance second(free.path());
  QCOMPARE(second.Claim({}), SingleInstance::Role::kHandedOver);
  QTRY_COMPARE(activated.count(), 1);
}

void SyncWindowTest::ANewDaysFirstChangeIsBackedUpBeforeItIsMade() {
  Workspace ws;
  const std::string gas = ws.AddDue("Gas", "Utility", 60, At(2026, 3, 18, 9));
  SyncedWindow s(ws);
  s.window.show();
  const std::string backups = BackupsFolder(ws.app.workingDirectory());
  // taken behind the window once it showed its month
  QTRY_COMPARE_WITH_TIMEOUT(ListBackups(backups, SystemFileSystem()).size(), std::size_t{1}, 5000);

  ws.clock.Set(At(2026, 3, 16, 0, 5));  // past midnight, the window still open
  s.window.view().SelectRow(RowOf(s.window, gas));
  ws.prompt.answers = {PromptAnswer::kYes};
  s.window.commands().deleteDue->trigger();
  QVERIFY(!ws.app.store().records().Contains(gas));
  const std::vector<std::string> taken = ListBackups(backups, SystemFileSystem());
  QCOMPARE(taken.size(), std::size_t{2});
  QVERIFY(QString::fromStdString(taken.front()).endsWith("2026-03-16 000500.zip"));
  const auto saved = ReadBackup(taken.front(), SystemFileSystem());
  QVERIFY(saved.ok());
  QCOMPARE(saved.value().size(), std::size_t{1});
  QCOMPARE(saved.value().front().recordId, gas);
}

// The day's backup, the reminder count, the calendar file and the paperclips' listing begin once
// the window has painted its month, none before.
void SyncWindowTest::WorkThatCanWaitBeginsOnceTheMonthIsPainted() {
  Workspace ws;
  const std::string gas = ws.AddDue("Gas", "Utility", 60, At(2026, 3, 18, 9));
  const QString attachments =
      QString::fromStdString(AttachmentsFolderPath(ws.directory().toStdString()));
  QVERIFY(QDir().mkpath(attachments + QStringLiteral("/") + QString::fromStdString(gas)));
  std::ofstream((attachments + QStringLiteral("/") + QString::fromStdString(gas) +
                 QStringLiteral("/bill.txt"))
                    .toStdString())
      << "bill";
  CalendarFeedKeeper::SetEnabled(true);
  const QString feed = ws.directory() + QStringLiteral("/Exports/Paylark.ics");
  const std::string backups = BackupsFolder(ws.app.workingDirectory());
  SyncedWindow s(ws);
  AttachedDues attached(ws.app, s.window);
  QSignalSpy painted(&s.window, &MainWindow::firstMonthPainted);
  QTest::qWait(50);
  QVERIFY(!s.window.monthPainted());
  QVERIFY(!QFile::exists(feed));
  QVERIFY(attached.recordIds().empty());
  QVERIFY(ListBackups(backups, SystemFileSystem()).empty());
  QVERIFY(s.window.captionStrip().reminders().isEmpty());

  s.window.show();
  QVERIFY(painted.wait());
  QVERIFY(QFile::exists(feed));
  QCOMPARE(attached.recordIds(), std::set<std::string>{gas});
  QCOMPARE(s.window.captionStrip().reminders(), QStringLiteral("0 overdue \u00b7 1 due soon"));
  QTRY_COMPARE_WITH_TIMEOUT(ListBackups(backups, SystemFileSystem()).size(), std::size_t{1}, 5000);
  CalendarFeedKeeper::SetEnabled(false);
}

// A start from the snapshot checks the records folder once the month is painted; a change that
// comes first, even before the window was ever painted, waits for that check.
void SyncWindowTest::TheStartsFolderCheckWaitsForThePaintedMonth() {
  for (const bool changeFirst : {false, true}) {
    SnapshotStart start;
    QVERIFY(start.app.store().AwaitsConfirmation());
    QSignalSpy checked(&start.load, &StartLoad::Checked);
    QTest::qWait(50);
    QVERIFY(!start.load.checking());
    QVERIFY(checked.isEmpty());
    if (changeFirst) {
      emit start.window.aboutToChange();
      QCOMPARE(checked.size(), 1);
    } else {
      start.window.show();
      QVERIFY(QTest::qWaitFor([&checked] { return checked.size() == 1; }, 5000));
      QVERIFY(start.window.monthPainted());
    }
    QVERIFY(!start.load.checking());
    QVERIFY(!start.app.store().AwaitsConfirmation());
    QCOMPARE(start.app.store().map().size(), std::size_t{3});
  }
}

// A start from the snapshot learns of the balance files with its folder check, after the first
// paint; the caption strip's warning follows the check.
void SyncWindowTest::TheBalanceWarningFollowsTheStartsFolderCheck() {
  UseFreshSettings();
  UserSettings::Write(settings::kForecastWarnBelow, 1);
  SnapshotStart start;
  const BalanceEntry entry{"20260315090000-0000beef", "", At(2026, 3, 15, 9), 0.50, "", ""};
  QVERIFY(start.files
              .Write("/home/user/Paylark Files/" + BalanceFileName(entry.entryId),
                     EncodeBalance(entry), 0644)
              .ok());
  ForecastCommand forecast(start.app, start.window);
  forecast.FollowStart(start.load);
  QSignalSpy checked(&start.load, &StartLoad::Checked);
  start.window.show();
  QVERIFY(QTest::qWaitFor([&checked] { return checked.size() == 1; }, 5000));
  QCOMPARE(start.window.captionStrip().notice(QStringLiteral("balanceWarning")),
           QStringLiteral("Balance below $1.00 on 15 Mar 2026"));
}

// The window's named Restore command reaches the sync feature: without a backup it says so.
// Regression: the choice listed file names, and a restore ended without a word.
void SyncWindowTest::RestoreNamesTheBackupsByTimeAndSaysWhatItRestored() {
  Workspace ws;
  ws.AddDue("Rent", "Landlord", 850, At(2026, 3, 1, 9));
  ws.AddDue("Gym", "FitCo", 35, At(2026, 3, 20, 18));
  SyncedWindow s(ws);
  s.window.commands().restoreBackup->trigger();
  QCOMPARE(ws.prompt.asked.takeFirst(), Text(MessageId::kNoBackupYet));
  QVERIFY(CreateBackup(ws.app.store(), ws.clock, 30).ok());
  ws.AddDue("Phone", "Telco", 20, At(2026, 3, 25));
  QStringList offered;
  QTimer::singleShot(0, &s.window, [&offered] {
    auto* choice = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    QVERIFY(choice != nullptr);
    offered = choice->comboBoxItems();
    choice->accept();
  });
  s.window.commands().restoreBackup->trigger();
  QCOMPARE(offered, QStringList{QStringLiteral("03/15/2026 10:00 AM (2 dues)")});
  QCOMPARE(ws.app.store().map().size(), std::size_t{2});
  QCOMPARE(
      ws.prompt.asked,
      QStringList{QStringLiteral("2 dues were restored from the backup of 03/15/2026 10:00 AM.")});
}

// Closing the window stops a backup still being taken: whenever the stop comes, the backups
// folder then holds the whole backup or nothing.
void SyncWindowTest::ABackupStoppedByTheWindowsEndLeavesNoPartOfItself() {
  Workspace ws;
  const std::string records = ws.directory().toStdString() + "/Paylark Files/";
  DueRecord record = DueRecord::WithDefaults(ws.clock);
  for (int i = 0; i < 3000; ++i) {
    record.recordId = std::to_string(2026031500000000LL + i);
    std::ofstream(records + "duedate" + record.recordId + ".due", std::ios::binary)
        << EncodeRecord(record);
  }
  const std::string backups = BackupsFolder(ws.app.workingDirectory());
  for (const int delayMs : {0, 5, 50}) {
    std::filesystem::remove_all(backups);
    {
      BackupJob job;
      job.Start(ws.app.store().files(), ws.app.workingDirectory(), ws.clock, 3);
      QTest::qWait(delayMs);
    }
    const std::vector<std::string> taken = ListBackups(backups, SystemFileSystem());
    const std::size_t files = std::filesystem::exists(backups)
                                  ? static_cast<std::size_t>(std::distance(
                                        std::filesystem::directory_iterator(backups), {}))
                                  : 0;
    QCOMPARE(files, taken.size());
    if (!taken.empty()) {
      QCOMPARE(taken.size(), std::size_t{1});
      const auto saved = ReadBackup(taken.front(), SystemFileSystem());
      QVERIFY(saved.ok());
      QCOMPARE(saved.value().size(), std::size_t{3000});
    }
  }
  // Stopped before it started, it takes nothing.
  std::stop_source stopped;
  stopped.request_stop();
  std::filesystem::remove_all(backups);
  QVERIFY(!TakeBackup(ws.app.store().files(), ws.app.workingDirectory(), ws.clock, 3,
                      {{}, stopped.get_token()})
               .ok());
  QVERIFY(ListBackups(backups, SystemFileSystem()).empty());
}

void SyncWindowTest::ABackupWithoutDuesRestoresOnlyAfterTheQuestion() {
  FakePrompt prompt;
  QVERIFY(ConfirmRestoreOfEmptyBackup(prompt, nullptr, 0));
  QVERIFY(prompt.asked.isEmpty());
  prompt.answers = {PromptAnswer::kNo, PromptAnswer::kYes};
  QVERIFY(!ConfirmRestoreOfEmptyBackup(prompt, nullptr, 3));
  QVERIFY(ConfirmRestoreOfEmptyBackup(prompt, nullptr, 3));
  QCOMPARE(prompt.asked.value(0),
           QStringLiteral("This backup holds no dues. Restoring it removes all 3 dues."));
  QCOMPARE(prompt.buttons.at(0), PromptButtons::kYesNo);
}

}  // namespace paylark::test

int main(int argc, char* argv[]) {
  paylark::test::SyncWindowTest test;
  return paylark::test::RunTestClasses(argc, argv, {&test});
}

#include "sync_window_test.moc"
