#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QTest>

#include "core/base/messages.h"
#include "tests/ui/fakes.h"
#include "tests/ui/ui_tests.h"
#include "ui/app/start_up.h"
#include "ui/base/app_settings.h"
#include "ui/shell/help_sync.h"
#include "ui/shell/working_directory_dialog.h"

namespace paylark::test {
namespace {

QString Text(MessageId id) {
  return QString::fromStdString(MessageText(id));
}

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

}  // namespace

void StartUpTest::init() {
  UseFreshSettings();
}

void StartUpTest::FontsAreAvailable() {
  QVERIFY(!QFontDatabase::families().isEmpty());
}

void StartUpTest::ValidSettingOpensWithoutAsking() {
  Workspace workspace;
  QTemporaryDir stored;
  AppSettings::SetWorkingDirectory(stored.path());
  Asker asker;
  const StartUpResult result = StartUp(workspace.app, asker.Function());
  QCOMPARE(result.outcome, StartUpOutcome::kRun);
  QVERIFY(asker.openedOn.isEmpty());
  QVERIFY(workspace.prompt.asked.isEmpty());
  QCOMPARE(QString::fromStdString(workspace.app.workingDirectory()), stored.path());
  QVERIFY(QDir(stored.path() + "/Paylark Files").exists());
}

void StartUpTest::MissingSettingAsksWithEmptyDialog() {
  Workspace workspace;
  QTemporaryDir chosen;
  Asker asker{chosen.path(), {}};
  QCOMPARE(StartUp(workspace.app, asker.Function()).outcome, StartUpOutcome::kRun);
  QCOMPARE(asker.openedOn, QStringList{QString()});
  QVERIFY(workspace.prompt.asked.isEmpty());
  QCOMPARE(QString::fromStdString(workspace.app.workingDirectory()), chosen.path());
  // A directory chosen at start-up is saved only when the window closes.
  QVERIFY(AppSettings::WorkingDirectory().isEmpty());
  workspace.app.SaveSetting();
  QCOMPARE(AppSettings::WorkingDirectory(), chosen.path());
}

void StartUpTest::StaleSettingTellsAndAsks() {
  Workspace workspace;
  AppSettings::SetWorkingDirectory(workspace.directory() + "/gone");
  QTemporaryDir chosen;
  Asker asker{chosen.path(), {}};
  QCOMPARE(StartUp(workspace.app, asker.Function()).outcome, StartUpOutcome::kRun);
  QCOMPARE(workspace.prompt.asked, QStringList{Text(MessageId::kWorkingDirectoryMoved)});
  QCOMPARE(asker.openedOn, QStringList{QString()});
}

void StartUpTest::CancelledDialogEndsTheProgram() {
  Workspace workspace;
  AppSettings::SetWorkingDirectory(workspace.directory() + "/");  // a trailing "/" is not found
  Asker asker;
  QCOMPARE(StartUp(workspace.app, asker.Function()).outcome, StartUpOutcome::kEnd);
  QCOMPARE(workspace.prompt.asked.size(), 1);
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
  AppSettings::SetWorkingDirectory(workspace.directory());
  const StartUpResult result = StartUp(workspace.app, Asker().Function());
  QCOMPARE(result.reloadNote, QStringLiteral("2 record files could not be read"));
  QCOMPARE(workspace.app.store().size(), std::size_t{1});
  QFile::remove(records + "duedate2.due");
  QCOMPARE(workspace.app.Reload(), QStringLiteral("1 record file could not be read"));
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
