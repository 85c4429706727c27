#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include "core/exchange/csv_import.h"
#include "settings/user_settings.h"
#include "tests/ui/fakes.h"
#include "tests/ui/test_application.h"
#include "tests/ui/test_runner.h"
#include "ui/exchange/caldav_keeper.h"
#include "ui/exchange/calendar_feed_keeper.h"
#include "ui/exchange/calendar_preferences_dialog.h"
#include "ui/exchange/csv_import_command.h"
#include "ui/exchange/import_dialog.h"
#include "ui/shell/commands.h"
#include "ui/shell/main_window.h"

namespace paylark::test {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// Three dues of March 2026 (one paid, two in a series) and one of April.
struct Fixture {
  Fixture() {
    ws.AddDue("Rent", "Landlord", 850, At(2026, 3, 1, 9), true);
    ws.AddDue("Loan", "Bank", 300, At(2026, 3, 8, 9), false, "recId20260301090000");
    ws.AddDue("Loan", "Bank", 300, At(2026, 3, 22, 9), false, "recId20260301090000");
    ws.AddDue("April rent", "Landlord", 850, At(2026, 4, 1, 9));
  }
  std::unique_ptr<MainWindow> Window() {
    auto window = std::make_unique<MainWindow>(ws.app, dialogs);
    window->resize(1000, 640);
    window->show();
    return window;
  }
  QString Path(const QString& name) const { return ws.directory() + QLatin1Char('/') + name; }

  Workspace ws;
  FakeDialogs dialogs;
};

// An address on this computer where nothing listens.
QString UnreachableUrl() {
  QTcpServer probe;
  if (!probe.listen(QHostAddress::LocalHost))
    return QStringLiteral("http://127.0.0.1:9/");
  const quint16 port = probe.serverPort();
  probe.close();
  return QStringLiteral("http://127.0.0.1:%1/").arg(port);
}

QByteArray SettingsFileText() {
  QSettings settings(QString::fromLatin1(settings::kOrganization),
                     QString::fromLatin1(settings::kApplication));
  settings.sync();
  return ReadAll(settings.fileName());
}

const QByteArray kGoodCsv =
    "Title,Pay To,Amount,Due,Type,Status,Series,Notes\r\n"
    "Water,Water Board,41.20,2026-03-05 10:00:00,Personal,Paid,,\r\n"
    "Gym,FitClub,\"$1,035.00\",2026-03-15,Business,Unpaid,G,\"two\nlines\"\r\n"
    "Gym,FitClub,35,2026-04-15,Business,Unpaid,G,\r\n";

}  // namespace

class ExchangeTest final : public QObject {
  Q_OBJECT

 private slots:
  void init() { UseFreshSettings(); }

  void CalendarAndCsvExportsWriteTheMonthToTheChosenFile() {
    Fixture f;
    auto window = f.Window();
    f.ws.prompt.answers = {PromptAnswer::kOpen, PromptAnswer::kOpen};
    f.ws.desktop.savePath = f.Path("march.ics");
    window->commands().calendarExport->trigger();
    const QByteArray calendar = ReadAll(f.ws.desktop.savePath);
    QVERIFY(calendar.startsWith("BEGIN:VCALENDAR\r\n"));
    QCOMPARE(calendar.count("BEGIN:VEVENT"), 3);
    QCOMPARE(calendar.count("BEGIN:VALARM"), 2);
    f.ws.desktop.savePath = f.Path("march.csv");
    window->commands().csvExport->trigger();
    const QList<QByteArray> lines = ReadAll(f.ws.desktop.savePath).split('\n');
    QCOMPARE(lines.value(0), QByteArray("ID,Title,Pay To,Account,Amount,Due,Start,Type,Status,"
                                        "Series,Notes,Paid On,Paid Amount,Reference\r"));
    QCOMPARE(lines.size(), 5);  // header, three dues, and the empty text after the last line end
    QCOMPARE(f.ws.desktop.opened, (QStringList{f.Path("march.ics"), f.Path("march.csv")}));
    QCOMPARE(f.ws.prompt.asked,
             (QStringList{QStringLiteral("Exported to ") + f.Path("march.ics"),
                          QStringLiteral("Exported to ") + f.Path("march.csv")}));
  }

  void ThePreviewListsTheDuesAndRefusesBadFiles() {
    Fixture f;
    ImportDialog good(QStringLiteral("bills.csv"),
                      PlanCsvImport(kGoodCsv.toStdString(), f.ws.clock));
    good.show();
    QCOMPARE(good.duesTable().rowCount(), 3);
    QCOMPARE(good.duesTable().item(1, 2)->text(), QStringLiteral("Gym"));
    QCOMPARE(good.duesTable().item(1, 4)->text(), QStringLiteral("$1,035.00"));
    QCOMPARE(good.summary().text(), QStringLiteral("3 dues would be added"));
    QVERIFY(good.importButton().isEnabled());
    QVERIFY(!good.refusedTable().isVisible());
    Snapshot(good, QStringLiteral("import-csv.png"));

    const QByteArray bad = kGoodCsv +
                           "Phone,Telco,\"12,3,4\",2026-03-20,,,,\r\n"
                           "Tax,Town Hall,160,2026-02-30,Weekly,,,\r\n";
    ImportDialog refused(QStringLiteral("bills.csv"), PlanCsvImport(bad.toStdString(), f.ws.clock));
    refused.show();
    QVERIFY(!refused.importButton().isEnabled());
    QVERIFY(refused.refusedTable().isVisible());
    QCOMPARE(refused.refusedTable().rowCount(), 2);
    QCOMPARE(refused.refusedTable().item(0, 0)->text(), QStringLiteral("5"));
    QCOMPARE(refused.refusedTable().item(1, 1)->text(),
             QStringLiteral("Due is not a date as YYYY-MM-DD HH:MM:SS: \"2026-02-30\""));
    QCOMPARE(refused.summary().text(),
             QStringLiteral("2 rows cannot be imported. Correct them and import the file again."));
    Snapshot(refused, QStringLiteral("import-csv-refused.png"));
  }

  void ImportAddsTheDuesOnlyWhenTheUserSaysSo() {
    Fixture f;
    f.ws.desktop.openPath = f.Path("bills.csv");
    Write(f.ws.desktop.openPath, kGoodCsv);
    const std::size_t before = f.ws.app.store().map().size();
    QCOMPARE(CsvImportCommand(f.ws.app, nullptr, [](ImportDialog&) { return false; }).Run(),
             QString());
    QCOMPARE(f.ws.app.store().map().size(), before);
    QCOMPARE(CsvImportCommand(f.ws.app, nullptr, [](ImportDialog&) { return true; }).Run(),
             QStringLiteral("3 dues were added"));
    QCOMPARE(f.ws.app.store().map().size(), before + 3);
    // Regression: the file picker opened wherever the program had been started.
    QCOMPARE(f.ws.desktop.openStarts, QStringList(2, f.ws.directory()));

    // A large file shows its progress and still adds everything.
    QByteArray many = "Title,Due\r\n";
    for (int i = 0; i < 400; ++i)
      many += "Due " + QByteArray::number(i) + ",2026-05-01\r\n";
    Write(f.ws.desktop.openPath, many);
    QCOMPARE(CsvImportCommand(f.ws.app, nullptr, [](ImportDialog&) { return true; }).Run(),
             QStringLiteral("400 dues were added"));
    QCOMPARE(f.ws.app.store().map().size(), before + 403);
    QCOMPARE(f.ws.prompt.asked, QStringList());
  }

  void TheCalendarFileFollowsEveryChangeOnceAskedFor() {
    Fixture f;
    const QString feed = f.ws.directory() + QStringLiteral("/Exports/Paylark.ics");
    auto window = f.Window();
    QVERIFY(!QFile::exists(feed));

    CalendarPreferencesDialog dialog(false, feed, CalDavSettings{}, QString());
    dialog.keepFeedBox().click();
    QVERIFY(dialog.keepFeed());
    Snapshot(dialog, QStringLiteral("calendar-preferences.png"));

    CalendarFeedKeeper::SetEnabled(true);
    window = f.Window();  // at start, once the month is painted
    QTRY_VERIFY_WITH_TIMEOUT(window->monthPainted(), 5000);
    QCOMPARE(ReadAll(feed).count("BEGIN:VEVENT"), 4);
    const std::string id = f.ws.AddDue("Late fee", "Bank", 5, At(2026, 6, 1));
    window->commands().refresh->trigger();
    const QByteArray text = ReadAll(feed);
    QCOMPARE(text.count("BEGIN:VEVENT"), 5);
    QVERIFY(text.contains(QByteArray::fromStdString("UID:" + id + "@paylark")));
    const QStringList leftovers =
        QDir(f.ws.directory() + QStringLiteral("/Exports")).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(leftovers, QStringList{QStringLiteral("Paylark.ics")});
  }

  void CalDavPreferencesKeepTheSettingsButNeverThePassword() {
    Fixture f;
    QTemporaryDir folder;
    const QString passwordFile = folder.filePath(QStringLiteral("caldav-password"));
    CalendarPreferencesDialog dialog(false, f.Path(QStringLiteral("Exports/Paylark.ics")),
                                     CalDavSettings::Read(), CalDavKeeper::LastSyncText());
    QVERIFY(!dialog.keepCalDavBox().isChecked());
    QCOMPARE(dialog.passwordEdit().echoMode(), QLineEdit::Password);
    dialog.keepCalDavBox().setChecked(true);
    QTest::keyClicks(&dialog.urlEdit(), QStringLiteral(" https://dav.example.org/ "));
    QTest::keyClicks(&dialog.userEdit(), QStringLiteral("alice"));
    QTest::keyClicks(&dialog.passwordEdit(), QStringLiteral("s3cret-horse"));
    QTest::keyClicks(&dialog.passwordFileEdit(), passwordFile);
    dialog.show();
    Snapshot(dialog, QStringLiteral("calendar-preferences-caldav.png"));
    QSignalSpy tests(&dialog, &CalendarPreferencesDialog::testRequested);
    dialog.testButton().click();
    QCOMPARE(tests.count(), 1);
    QVERIFY(!dialog.testButton().isEnabled());  // one test at a time
    dialog.ShowTestResult(QStringLiteral("Connected."));
    QVERIFY(dialog.testButton().isEnabled());

    const CalDavSettings chosen = dialog.calDavSettings();
    QVERIFY(chosen.keep);
    QCOMPARE(chosen.url, QStringLiteral("https://dav.example.org/"));
    QCOMPARE(chosen.user, QStringLiteral("alice"));
    CalDavKeeper keeper(f.ws.app);
    keeper.Save(chosen, dialog.password());  // a password file is named: nothing is stored
    const CalDavSettings saved = CalDavSettings::Read();
    QCOMPARE(saved.url, chosen.url);
    QCOMPARE(saved.passwordFile, passwordFile);
    QVERIFY(!SettingsFileText().contains("s3cret-horse"));
    CalendarPreferencesDialog again(false, QString(), saved, CalDavKeeper::LastSyncText());
    QCOMPARE(again.passwordEdit().text(), QString());
    QCOMPARE(again.passwordEdit().placeholderText(), QStringLiteral("(unchanged)"));
  }

  // The connection test says so too, and refuses a password file others may read.
  void AnUnreachableServerIsToldOnceAndTriedAgainWithoutBlocking() {
    Fixture f;
    const CalDavSettings settings{true, UnreachableUrl(), QString(), QString()};
    settings.Write();
    CalDavKeeper keeper(f.ws.app);
    QSignalSpy told(&keeper, &CalDavKeeper::statusMessage);
    QSignalSpy synced(&keeper, &CalDavKeeper::synced);
    QElapsedTimer returned;
    returned.start();
    for (int change = 0; change < 5; ++change)
      keeper.ScheduleSync();  // changes in quick succession: one batch
    QVERIFY(returned.elapsed() < 100);
    QTRY_COMPARE_WITH_TIMEOUT(synced.count(), 1, CalDavKeeper::kBatchMilliseconds + 10000);
    QCOMPARE(told.count(), 1);
    QVERIFY2(told.first().first().toString().contains(QStringLiteral("could not be reached")),
             qPrintable(told.first().first().toString()));
    QVERIFY(CalDavKeeper::LastSyncText().contains(QStringLiteral("could not be reached")));
    keeper.ScheduleSync();  // the next change fails alike: nothing more is said
    QTRY_COMPARE_WITH_TIMEOUT(synced.count(), 2, CalDavKeeper::kBatchMilliseconds + 10000);
    QCOMPARE(told.count(), 1);

    QString tested;
    const auto tell = [&tested](const CalendarSyncReport& report) {
      tested = CalDavKeeper::ConnectionTestText(report);
    };
    keeper.TestConnection(settings, QString(), tell);
    QTRY_VERIFY_WITH_TIMEOUT(!tested.isEmpty(), 10000);
    QVERIFY2(tested.contains(QStringLiteral("could not be reached")), qPrintable(tested));

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("password"));
    Write(path, "s3cret\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    tested.clear();
    const CalDavSettings readable{true, settings.url, QStringLiteral("alice"), path};
    keeper.TestConnection(readable, QString(), tell);
    QTRY_VERIFY_WITH_TIMEOUT(!tested.isEmpty(), 5000);
    QVERIFY2(tested.contains(QStringLiteral("chmod 600")), qPrintable(tested));
  }
};

}  // namespace paylark::test

int main(int argc, char* argv[]) {
  paylark::test::ExchangeTest test;
  return paylark::test::RunTestClasses(argc, argv, {&test});
}

#include "exchange_test.moc"
