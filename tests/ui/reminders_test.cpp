#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "settings/user_settings.h"
#include "tests/ui/fakes.h"
#include "tests/ui/test_runner.h"
#include "ui/reminders/background_reminders.h"
#include "ui/reminders/reminder_count.h"
#include "ui/reminders/reminder_preferences_dialog.h"
#include "ui/shell/commands.h"
#include "ui/shell/details_bar.h"
#include "ui/shell/main_tool_bar.h"
#include "ui/shell/main_window.h"
#include "ui/shell/month_list_view.h"

namespace paylark::test {
namespace {

// The window over the workspace; now is 15 March 2026 10:00 unless a test sets the clock first.
struct Fixture {
  void Open() {
    frame = std::make_unique<MainWindow>(ws.app, dialogs);
    frame->resize(1100, 600);
    frame->show();
    // The count follows the first painted month.
    QTRY_VERIFY_WITH_TIMEOUT(frame->monthPainted(), 5000);
  }
  QString Reminders() { return frame->captionStrip().reminders(); }
  QString PickedMonth() {
    return frame->toolBar().datePicker().dateTime().toString(QStringLiteral("yyyy-MM"));
  }
  std::string SelectedId() {
    const auto record = frame->view().SelectedRecord();
    return record ? record->recordId : std::string();
  }
  QToolButton* ReminderButton() {
    return frame->captionStrip().findChild<QToolButton*>(QStringLiteral("reminders"));
  }

  Workspace ws;
  FakeDialogs dialogs;
  std::unique_ptr<MainWindow> frame;
};

}  // namespace

class RemindersTest final : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    UseFreshSettings();
    qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    QFile::remove(BackgroundReminders::AutostartPath());
  }

  void ShowDueOpensTheDuesMonthWithTheDueSelected() {
    Fixture f;
    f.ws.AddDue("Rent", "Landlord", 850, At(2026, 3, 1, 9), true);
    const std::string insurance = f.ws.AddDue("Insurance", "Safe Drive", 410, At(2025, 1, 20, 8));
    f.Open();
    f.frame->toolBar().filter().setCurrentIndex(1);  // "Paid Dues" would hide it

    QVERIFY(f.frame->GoToDue(QString::fromStdString(insurance)));
    QCOMPARE(f.PickedMonth(), QStringLiteral("2025-01"));
    QCOMPARE(f.frame->toolBar().filter().currentIndex(), 0);
    QCOMPARE(f.SelectedId(), insurance);
    QCOMPARE(f.frame->captionStrip().caption().trimmed(), QStringLiteral("Insurance"));

    QVERIFY(!f.frame->GoToDue(QStringLiteral("20260101000000010")));
    QCOMPARE(f.PickedMonth(), QStringLiteral("2025-01"));
  }

  void CaptionCountsEveryMonthAndAClickGoesToTheEarliest() {
    Fixture f;
    f.ws.AddDue("Paid long ago", "", 5, At(2024, 6, 1), true);
    const std::string earliest = f.ws.AddDue("Old gas bill", "Gas Co", 61, At(2025, 12, 1, 9));
    f.ws.AddDue("Yesterday", "", 1, At(2026, 3, 14, 23, 59));
    f.ws.AddDue("Earlier today", "", 2, At(2026, 3, 15, 9));
    f.ws.AddDue("Last minute", "", 3, At(2026, 3, 18, 23, 59));
    f.ws.AddDue("Too late", "", 4, At(2026, 3, 19));
    f.Open();
    QCOMPARE(f.Reminders(), QStringLiteral("2 overdue \u00b7 2 due soon"));
    Snapshot(*f.frame, QStringLiteral("reminders-caption.png"));

    QToolButton* button = f.ReminderButton();
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(f.PickedMonth(), QStringLiteral("2025-12"));
    QCOMPARE(f.SelectedId(), earliest);
    // Regression: a second click stayed on the earliest; it walks on, and round again.
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(f.frame->captionStrip().caption().trimmed(), QStringLiteral("Yesterday"));
    for (int click = 0; click < 3; ++click)
      QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(f.SelectedId(), earliest);

    f.ws.clock.Set(At(2026, 4, 1));
    f.frame->ReloadAll();  // every due but the paid one is overdue now; none is due soon
    QCOMPARE(f.Reminders(), QStringLiteral("5 overdue \u00b7 0 due soon"));
  }

  void CountIsKeptRightWhenTheDayChanges() {
    Fixture f;
    f.ws.clock.Set(*At(2026, 3, 15, 23, 59).AddSeconds(59));
    f.ws.AddDue("Tonight", "", 10, At(2026, 3, 15, 20));
    f.ws.AddDue("Thursday", "", 20, At(2026, 3, 19, 9));
    f.Open();
    QCOMPARE(f.Reminders(), QStringLiteral("0 overdue \u00b7 1 due soon"));
    f.ws.clock.Set(At(2026, 3, 16));
    QTRY_COMPARE_WITH_TIMEOUT(f.Reminders(), QStringLiteral("1 overdue \u00b7 1 due soon"), 10000);
  }

  // A large map is counted a part of a bucket at a time between the window's events; a new count
  // while one is under way starts over and is told once.
  void ALargeMapIsCountedBetweenEvents() {
    Fixture f;
    for (int i = 0; i < 40; ++i)
      f.ws.AddDue("Old bill " + std::to_string(i), "", 1, At(2026, 3, 1 + i % 10));
    f.ws.AddDue("Friday", "", 1, At(2026, 3, 17, 9));
    ReminderCount count(f.ws.app, nullptr, 0);
    QSignalSpy changed(&count, &ReminderCount::Changed);
    count.Update();
    QVERIFY(count.counting());
    QVERIFY(count.text().isEmpty());
    QCoreApplication::processEvents();
    count.Update();
    QTRY_VERIFY_WITH_TIMEOUT(!count.counting(), 5000);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(count.text(), QStringLiteral("40 overdue \u00b7 1 due soon"));
  }

  // Nothing paid long ago or beyond the days ahead is counted: the caption shows no count.
  void PreferencesSetTheDaysAndTurnBackgroundRemindersOnAndOff() {
    Fixture f;
    f.ws.AddDue("Paid", "", 10, At(2026, 3, 1), true);
    f.ws.AddDue("In five days", "", 10, At(2026, 3, 20, 9));
    f.Open();
    QVERIFY(f.Reminders().isEmpty());

    // systemctl fails here (no user manager): the autostart entry stands in for the timer.
    f.ws.desktop.exitCode = 1;
    {
      ReminderPreferencesDialog dialog(f.ws.app, f.frame.get());
      QCOMPARE(dialog.daysAhead().value(), 3);
      QCOMPARE(dialog.daysAhead().maximum(), 30);
      QVERIFY(!dialog.whenClosed().isChecked());
      QCOMPARE(dialog.warnBelow().value(), 0);
      dialog.daysAhead().setValue(5);
      dialog.whenClosed().setChecked(true);
      dialog.warnBelow().setValue(250);
      dialog.show();
      Snapshot(dialog, QStringLiteral("reminder-preferences.png"));
      dialog.accept();
    }
    QCOMPARE(UserSettings::Read(settings::kReminderDaysAhead), 5);
    QCOMPARE(UserSettings::Read(settings::kForecastWarnBelow), 250);
    QVERIFY(f.ws.desktop.ran.contains(
        QStringLiteral("systemctl --user enable --now paylark-remind.timer")));
    QFile entry(BackgroundReminders::AutostartPath());
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    QVERIFY2(text.contains(QStringLiteral(" remind --notify\n")), qPrintable(text));
    QVERIFY(text.startsWith(QStringLiteral("[Desktop Entry]\nType=Application\n")));
    entry.close();

    {
      ReminderPreferencesDialog dialog(f.ws.app, f.frame.get());
      QCOMPARE(dialog.daysAhead().value(), 5);
      QVERIFY(dialog.whenClosed().isChecked());
      dialog.whenClosed().setChecked(false);
      dialog.accept();
    }
    QVERIFY(!QFile::exists(BackgroundReminders::AutostartPath()));
    QVERIFY(f.ws.desktop.ran.contains(
        QStringLiteral("systemctl --user disable --now paylark-remind.timer")));

    // Where systemd manages the user's services, the timer alone is enough.
    f.ws.desktop.exitCode = 0;
    f.ws.desktop.ran.clear();
    {
      ReminderPreferencesDialog dialog(f.ws.app, f.frame.get());
      QVERIFY(dialog.whenClosed().isChecked());  // is-enabled answers 0 now
    }
    QCOMPARE(
        f.ws.desktop.ran,
        QStringList{QStringLiteral("systemctl --user is-enabled --quiet paylark-remind.timer")});
    QVERIFY(!QFile::exists(BackgroundReminders::AutostartPath()));
  }

 private:
  QTemporaryDir config_;
};

}  // namespace paylark::test

int main(int argc, char* argv[]) {
  paylark::test::RemindersTest test;
  return paylark::test::RunTestClasses(argc, argv, {&test});
}

#include "reminders_test.moc"
