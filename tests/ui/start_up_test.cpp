#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPixmapCache>
#include <QSignalSpy>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <future>
#include <vector>

#include "core/base/messages.h"
#include "core/records/record_codec.h"
#include "settings/user_settings.h"
#include "tests/support/memory_file_system.h"
#include "tests/ui/fakes.h"
#include "tests/ui/ui_tests.h"
#include "ui/app/quit_on_signal.h"
#include "ui/app/start_up.h"
#include "ui/base/application_icon.h"
#include "ui/base/resources.h"
#include "ui/base/start_load.h"
#include "ui/shell/help_sync.h"
#include "ui/shell/working_directory_dialog.h"

namespace paylark::test {
namespace {

// An asker that remembers what the dialog was opened on and answers with a fixed path.
struct Asker {
  QString answer;
  QStringList openedOn;
  AskDirectory Function() {
    return [this](const QString& initial) {
      openedOn << initial;
      return answer;
    };
  }
};

// A start as the program makes it; the folder check is left to the tests that want it.
StartUpResult Start(Workspace& workspace, const AskDirectory& ask) {
  StartLoad load(workspace.app);
  return StartUp(workspace.app, load, ask);
}

}  // namespace

void StartUpTest::init() {
  UseFreshSettings();
}

// The window manager gets the sizes it would draw from the SVG itself, pixel for pixel, so a
// window made with the icon reads no SVG.
void StartUpTest::TheWindowIconIsDrawnOnAnotherThreadAsTheSvgDrawsIt() {
  const std::vector<QImage> images = std::async(std::launch::async, DrawApplicationIcon).get();
  const QIcon icon = ApplicationIcon(images);
  QCOMPARE(icon.availableSizes(),
           (QList<QSize>{QSize(16, 16), QSize(32, 32), QSize(64, 64), QSize(128, 128)}));
  const QIcon svg(SvgPath(QStringLiteral("org.paylark.Paylark")));
  for (const QSize& size : icon.availableSizes()) {
    const QImage drawn = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(drawn, svg.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32));
    QVERIFY(qAlpha(drawn.pixel(size.width() / 2, size.height() / 2)) > 0);
  }
}

namespace {

// What an icon draws and the sizes it gives are Qt's own SVG icon's.
void CompareWithQtsSvgIcon(const QIcon& ours, const char* name) {
  const QIcon qts(SvgPath(QString::fromLatin1(name)));
  for (const QSize size : {QSize(16, 16), QSize(24, 24), QSize(40, 22), QSize(7, 60)}) {
    QCOMPARE(ours.actualSize(size), qts.actualSize(size));
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Selected}) {
      QCOMPARE(ours.pixmap(size, mode).toImage(), qts.pixmap(size, mode).toImage());
    }
  }
  // Painted into a rectangle of another shape, centred as Qt centres it.
  QImage painted[2];
  for (int which = 0; which < 2; ++which) {
    painted[which] = QImage(50, 30, QImage::Format_ARGB32_Premultiplied);
    painted[which].fill(Qt::transparent);
    QPainter painter(&painted[which]);
    (which == 0 ? ours : qts).paint(&painter, QRect(3, 2, 44, 26));
  }
  QCOMPARE(painted[0], painted[1]);
}

}  // namespace

// The window's icons parse their SVG once, where first drawn or ahead on a worker thread, and
// draw every size and mode from it as Qt's SVG icon draws them.
void StartUpTest::IconsAreDrawnAsQtDrawsTheirSvg() {
  const char* const names[] = {"new-due", "nav-print", "previous-month", "status-paid",
                               "print-banner"};
  for (const bool ahead : {false, true}) {
    QPixmapCache::clear();
    IconsParsedAhead collected;
    std::vector<QIcon> icons;
    for (const char* name : names)
      icons.push_back(SvgIcon(QString::fromLatin1(name)));
    (void)SvgIcon(QStringLiteral("next-month"));  // gone before the worker reaches it
    if (ahead) {
      // Drawn before the worker runs: parsed here, and the worker leaves it.
      QVERIFY(!icons.front().pixmap(16, 16).isNull());
      collected.ParseOnWorker();
    }
    for (std::size_t i = 0; i < icons.size() && !QTest::currentTestFailed(); ++i)
      CompareWithQtsSvgIcon(icons[i], names[i]);
  }
}

// The first start asks with an empty dialog and keeps the answer at once; the next opens it
// without asking. A stored folder that is gone (a trailing "/" is not found either) is told, then
// asked for; cancelling the question ends the program.
void StartUpTest::TheStoredFolderOpensOrOneIsAskedFor() {
  QTemporaryDir chosen;
  const struct {
    QString stored;  // written before the start; empty keeps what the start before saved
    QString answer;
    bool asked;
    bool told;
  } cases[] = {
      {{}, chosen.path(), true, false},
      {{}, {}, false, false},
      {chosen.path() + "/gone", chosen.path(), true, true},
      {chosen.path() + "/", {}, true, true},
  };
  for (const auto& c : cases) {
    if (!c.stored.isEmpty())
      UserSettings::Write(settings::kWorkingDirectory, c.stored);
    Workspace workspace;
    Asker asker{c.answer, {}};
    const bool runs = !c.asked || !c.answer.isEmpty();  // an empty answer is Cancel
    QCOMPARE(Start(workspace, asker.Function()).outcome,
             runs ? StartUpOutcome::kRun : StartUpOutcome::kEnd);
    QCOMPARE(asker.openedOn, c.asked ? QStringList{QString()} : QStringList());
    QCOMPARE(workspace.prompt.asked,
             c.told ? QStringList{Text(MessageId::kWorkingDirectoryMoved)} : QStringList());
    if (!runs)
      continue;
    QCOMPARE(QString::fromStdString(workspace.app.workingDirectory()), chosen.path());
    QVERIFY(QDir(chosen.path() + "/Paylark Files").exists());
    // Regression: the folder was saved only when the window closed, so paylark-cli found none
    // while the window was open and a logout's SIGTERM made the next start ask again.
    QCOMPARE(UserSettings::Read(settings::kWorkingDirectory), chosen.path());
  }
}

// A logout's SIGTERM and a terminal's Ctrl+C reach the event loop instead of ending the program
// where it stands.
void StartUpTest::TermAndInterruptAskTheEventLoopToQuit() {
  QuitOnSignal quitOnSignal;
  QVERIFY(quitOnSignal.installed());
  QSignalSpy requested(&quitOnSignal, &QuitOnSignal::QuitRequested);
  QVERIFY(!quitOnSignal.requested());
  for (const int signalNumber : {SIGTERM, SIGINT}) {
    QVERIFY(std::raise(signalNumber) == 0);
    QVERIFY(requested.wait(5000));
    QCOMPARE(requested.takeFirst().at(0).toInt(), signalNumber);
    // Heard outside the event loop too (by a start's progress), it is kept for the start to see.
    QVERIFY(quitOnSignal.requested());
  }
}

void StartUpTest::UnreadableRecordFilesAreCounted() {
  Workspace workspace;
  workspace.AddDue("Rent", "Landlord", 850, At(2026, 3, 1));
  const QString records = workspace.directory() + "/Paylark Files/";
  for (const char* name : {"duedate1.due", "duedate2.due"}) {
    QFile bad(records + name);
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("\x01\x02", 2);
  }
  UserSettings::Write(settings::kWorkingDirectory, workspace.directory());
  const StartUpResult result = Start(workspace, Asker().Function());
  QCOMPARE(result.reloadNote, QStringLiteral("2 record files could not be read"));
  QCOMPARE(workspace.app.store().map().size(), std::size_t{1});
  QFile::remove(records + "duedate2.due");
  QCOMPARE(workspace.app.Reload(), QStringLiteral("1 record file could not be read"));
}

// Regression: a records folder the user may not read looked like an empty one.
void StartUpTest::AnUnreadableRecordsFolderIsSaidToBeSo() {
  MemoryFileSystem files;
  FixedClock clock(At(2026, 3, 15, 10));
  FakePrompt prompt;
  FakeDesktop desktop;
  QVERIFY(files.CreateFolder("/home/user").ok());
  QVERIFY(files.CreateFolder("/home/user/Paylark Files").ok());
  files.FailList("/home/user/Paylark Files", EACCES);
  PaylarkApp app(clock, prompt, desktop, files);
  app.SetWorkingDirectory("/home/user");
  const QString note = app.Reload();
  QVERIFY2(
      note.startsWith(QStringLiteral("The records folder cannot be read, so no due is shown: ")),
      qPrintable(note));
  QVERIFY(note.contains(QStringLiteral("Permission denied")));
}

// A start from the snapshot shows its records at once, its folder watched from before they were
// mapped; the folder is then scanned on a thread of its own (or at once, before a change), and a
// file replaced behind Paylark's back since the snapshot was written is loaded.
void StartUpTest::AStartFromTheSnapshotIsCheckedAgainstTheFolder() {
  MemoryFileSystem files;
  FixedClock clock(At(2026, 3, 15, 10));
  FakePrompt prompt;
  FakeDesktop desktop;
  const std::string home = "/home/user";
  const std::string records = home + "/Paylark Files/";
  const auto write = [&](int n, const std::string& title) {
    DueRecord record = DueRecord::WithDefaults(clock);
    record.recordId = "20260101000000" + std::to_string(n);
    record.title = title;
    QVERIFY(files.Write(records + ".new", EncodeRecord(record), 0644).ok());
    QVERIFY(files
                .Rename(records + ".new", records + "duedate" + record.recordId + ".due",
                        Placement::kReplace)
                .ok());
  };
  QVERIFY(files.CreateFolder(home).ok());
  QVERIFY(files.CreateFolder(records.substr(0, records.size() - 1)).ok());
  for (int n = 10; n < 40; ++n)
    write(n, "Due " + std::to_string(n));
  {
    PaylarkApp first(clock, prompt, desktop, files);
    first.SetWorkingDirectory(home);
    QVERIFY(first.Reload().isEmpty());  // writes the snapshot
  }
  for (const bool changed : {false, true}) {
    PaylarkApp app(clock, prompt, desktop, files);
    app.SetWorkingDirectory(home);
    StartLoad load(app);
    // The folder's watch is begun before a record is mapped.
    QString watched;
    load.BeforeReading([&](const QString& folder) {
      QCOMPARE(app.store().map().size(), std::size_t{0});
      watched = folder;
    });
    QVERIFY(load.Load().isEmpty());
    QCOMPARE(watched, QString::fromStdString(records.substr(0, records.size() - 1)));
    QCOMPARE(app.store().map().size(), std::size_t{30});
    QVERIFY(app.store().AwaitsConfirmation());
    if (changed)
      write(12, "Changed behind its back");
    QSignalSpy checked(&load, &StartLoad::Checked);
    load.Check(nullptr);
    // A change ends the check at once; the scan's own call to end it then finds nothing to do.
    if (changed)
      load.Finish();
    else
      QVERIFY(checked.wait());
    QCoreApplication::processEvents();
    QCOMPARE(checked.size(), 1);
    QCOMPARE(checked.at(0).at(0).toBool(), changed);
    QCOMPARE(app.store().Get("2026010100000012").title,
             changed ? "Changed behind its back" : "Due 12");
    QCOMPARE(app.store().map().size(), std::size_t{30});
    QVERIFY(!app.store().AwaitsConfirmation());
  }
}

void StartUpTest::BrowseCutsRecordsFolderAndChecksExistence() {
  Workspace workspace;
  WorkingDirectoryDialog dialog(workspace.prompt, workspace.desktop, [] {});
  const QString base = workspace.directory();
  QDir(base).mkdir("paylark files");

  workspace.desktop.directory = base + "/Paylark Files";
  dialog.OnBrowse();
  QCOMPARE(dialog.path(), base);
  QCOMPARE(workspace.desktop.directoryTitles, QStringList{"Pick a Directory"});

  workspace.desktop.directory = base + "/paylark files";  // other letter case: used as it is
  dialog.OnBrowse();
  QCOMPARE(dialog.path(), base + "/paylark files");

  workspace.desktop.directory.clear();  // cancelled: nothing changes
  dialog.OnBrowse();
  QCOMPARE(dialog.path(), base + "/paylark files");
  QVERIFY(workspace.prompt.asked.isEmpty());

  for (const QString& missing : {base + "/missing", base + "/"}) {
    workspace.desktop.directory = missing;
    dialog.OnBrowse();
    QCOMPARE(dialog.path(), QString());
    QCOMPARE(workspace.prompt.asked.constLast(), Text(MessageId::kDirectoryNotFound));
  }
  QCOMPARE(workspace.prompt.asked.size(), 2);
  // The picker starts at the dialog's folder while there is one, else at home.
  QCOMPARE(workspace.desktop.directoryStarts,
           (QStringList{QDir::homePath(), base, base + "/paylark files", base + "/paylark files",
                        QDir::homePath()}));
}

void StartUpTest::OkWaitsForAFolder() {
  Workspace workspace;
  WorkingDirectoryDialog dialog(workspace.prompt, workspace.desktop, [] {});
  const auto okButton = [&dialog] {
    for (auto* button : dialog.findChildren<QAbstractButton*>()) {
      if (button->text() == "OK")
        return button;
    }
    return static_cast<QAbstractButton*>(nullptr);
  };
  QVERIFY(okButton() != nullptr);
  QVERIFY(!okButton()->isEnabled());
  dialog.accept();
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  Snapshot(dialog, "working-directory-empty.png");

  dialog.SetPath(workspace.directory());
  QVERIFY(okButton()->isEnabled());
  dialog.accept();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  Snapshot(dialog, "working-directory.png");
}

void StartUpTest::HelpOpensTheManualOrSaysWhyNot() {
  Workspace workspace;
  int helpCalls = 0;
  WorkingDirectoryDialog dialog(workspace.prompt, workspace.desktop, [&helpCalls] { ++helpCalls; });
  dialog.OnHelp();
  QCOMPARE(helpCalls, 1);

  const QString manual = workspace.directory() + "/plkhelp.html";
  OpenHelp(workspace.desktop, workspace.prompt, nullptr, manual);
  QCOMPARE(workspace.prompt.asked,
           QStringList{"The help file \"" + manual + "\" could not be found."});
  QVERIFY(workspace.desktop.opened.isEmpty());

  QFile file(manual);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.close();
  OpenHelp(workspace.desktop, workspace.prompt, nullptr, manual);
  QCOMPARE(workspace.desktop.opened, QStringList{manual});
  QCOMPARE(workspace.prompt.asked.size(), 1);

  workspace.desktop.openSucceeds = false;
  OpenHelp(workspace.desktop, workspace.prompt, nullptr, manual);
  QCOMPARE(workspace.prompt.asked.last(),
           "No program to show the help file was found. The manual is \"" + manual + "\".");
  QVERIFY(HelpFilePath().endsWith("/plkhelp.html"));
}

}  // namespace paylark::test
