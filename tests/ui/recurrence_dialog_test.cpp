#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/recurrence/series_generation.h"
#include "tests/ui/editor_fixture.h"
#include "tests/ui/editor_tests.h"
#include "tests/ui/fakes.h"
#include "ui/base/date_conversion.h"
#include "ui/recurrence/recurrence_dialog.h"
#include "ui/widgets/date_picker.h"

namespace paylark::test {
namespace {

void Choose(QWidget& dialog, const char* combo, int index) {
  Child<QComboBox>(dialog, combo).setCurrentIndex(index);
}

QDateTime Qt(int year, int month, int day, int hour = 0) {
  return ToQDateTime(At(year, month, day, hour));
}

// Types a date into the picker's date sections as a user does, from its first section, then
// presses `leave` (Tab leaves the field; Enter also presses the dialog's OK).
void TypeDate(DatePicker& picker, const QString& date, Qt::Key leave = Qt::Key_Tab) {
  picker.setFocus(Qt::TabFocusReason);
  picker.setSelectedSection(picker.sectionAt(0));
  QTest::keyClicks(&picker, date);
  QTest::keyClick(&picker, leave);
}

}  // namespace

void RecurrenceDialogTest::OpensOnTheDefaultsOfNow() {
  Workspace ws;  // Sunday 2026-03-15 10:00
  RecurrenceDialog dialog(ws.app);
  dialog.show();
  QStringList shown;
  for (const char* name : {"kind", "dayInterval", "count", "weekInterval", "monthDayOfMonth",
                           "monthNth", "monthWeekday", "yearDateMonth", "yearDay"}) {
    auto* combo = dialog.findChild<QComboBox*>(QString::fromLatin1(name));
    shown << (combo ? combo->currentText() : Field(dialog, name).text());
  }
  QCOMPARE(shown.join(' '), QStringLiteral("Day 3 10 2 15 third Sunday March 15"));
  QString ticked;
  for (const char* name : {"dayEvery", "monthDay", "yearEvery", "endAfter", "weekday0", "weekday1",
                           "weekday2", "weekday3", "weekday4", "weekday5", "weekday6"}) {
    ticked += Child<QAbstractButton>(dialog, name).isChecked() ? '1' : '0';
  }
  QCOMPARE(ticked, QStringLiteral("11111000000"));
  QCOMPARE(Child<DatePicker>(dialog, "rangeStart").dateTime(), Qt(2026, 3, 15, 10));
  QCOMPARE(Child<DatePicker>(dialog, "endByDate").dateTime(), Qt(2026, 3, 15, 10));
  QVERIFY(Field(dialog, "dayInterval").isVisible() && !Field(dialog, "weekInterval").isVisible());
  const char* names[] = {"recurrence-day.png", "recurrence-week.png", "recurrence-month.png",
                         "recurrence-year.png"};
  for (int kind = 0; kind < 4; ++kind) {
    Choose(dialog, "kind", kind);
    Snapshot(dialog, QString::fromLatin1(names[kind]));
  }
}

void RecurrenceDialogTest::ValidationMessagesComeInOrder() {
  // Each case: the controls to set ("name=value": a field's text, a combo's index, or a button
  // to press when there is no "="), then the one message OK shows (none: the pattern is taken).
  const std::pair<QStringList, QString> cases[] = {
      {{"dayInterval="}, "Please enter valid recurrence day"},
      {{"dayInterval=0", "count="}, "Please enter valid recurrence day"},
      {{"dayInterval=", "dayEveryWeekday"}, ""},
      {{"kind=1", "weekInterval=0"}, "Please enter valid recurrence week"},
      {{"kind=2", "monthDayOfMonth=0", "monthIntervalDayForm=0"},
       "Please enter valid recurrence month"},
      {{"kind=2", "monthDayOfMonth=32"}, "Please enter valid recurrence day"},
      {{"kind=2", "monthThe", "monthIntervalNthForm="}, "Please enter valid recurrence month"},
      {{"kind=3", "yearDateMonth=3", "yearDay=31"}, "Month April does not have date 31"},
      {{"kind=3", "yearDateMonth=1", "yearDay=30"}, "Month February does not have date 30"},
      {{"kind=3", "yearDateMonth=1", "yearDay=29"}, ""},
      {{"count="}, "Please enter valid number of recurrences"},
  };
  for (const auto& [settings, expected] : cases) {
    Workspace ws;
    RecurrenceDialog dialog(ws.app);
    dialog.show();
    for (const QString& setting : settings) {
      const QString name = setting.section(QLatin1Char('='), 0, 0);
      const QString value = setting.section(QLatin1Char('='), 1);
      if (!setting.contains(QLatin1Char('='))) {
        Press(dialog, qPrintable(name));
      } else if (auto* combo = dialog.findChild<QComboBox*>(name)) {
        combo->setCurrentIndex(value.toInt());
      } else {
        Field(dialog, qPrintable(name)).setText(value);
      }
    }
    Press(dialog, "ok");
    const QString asked = ws.prompt.asked.join(QLatin1Char('|'));
    QVERIFY2(asked == expected, qPrintable(settings.join(' ') + ": " + asked));
    QCOMPARE(dialog.isVisible(), !expected.isEmpty());
    QCOMPARE(dialog.dueCount(), expected.isEmpty() ? std::size_t{10} : std::size_t{0});
  }
}

void RecurrenceDialogTest::LastWeekdayCannotBeCleared() {
  Workspace ws;
  RecurrenceDialog dialog(ws.app);
  dialog.show();
  Choose(dialog, "kind", 1);
  Press(dialog, "weekday0");
  QCOMPARE(ws.prompt.asked, QStringList{QStringLiteral("Atleast one day should be selected!")});
  QVERIFY(Child<QCheckBox>(dialog, "weekday0").isChecked());
  Press(dialog, "weekday3");
  Press(dialog, "weekday0");
  QCOMPARE(ws.prompt.asked.size(), 1);
  QVERIFY(!Child<QCheckBox>(dialog, "weekday0").isChecked());
}

void RecurrenceDialogTest::SwitchingKindsKeepsEveryInput() {
  Workspace ws;
  RecurrenceDialog dialog(ws.app);
  dialog.show();
  Field(dialog, "dayInterval").clear();  // invalid, but not the chosen kind on OK
  Choose(dialog, "kind", 1);
  QVERIFY(Field(dialog, "weekInterval").isVisible());
  QVERIFY(!Field(dialog, "dayInterval").isVisible());
  Field(dialog, "weekInterval").setText("1");
  Choose(dialog, "kind", 0);
  Choose(dialog, "kind", 1);
  QCOMPARE(Field(dialog, "weekInterval").text(), QStringLiteral("1"));
  Field(dialog, "count").setText("3");
  Press(dialog, "ok");
  QVERIFY(ws.prompt.asked.isEmpty());
  QCOMPARE(dialog.dueCount(), std::size_t{3});
  QCOMPARE(dialog.pattern().kind, RecurrenceKind::kWeek);
  // Weekly on Sundays from Sunday 15 March.
  QCOMPARE(SurveySeries(dialog.pattern()).last.value(), At(2026, 3, 29, 10));
}

// Regression: with "End After" chosen, the start was held at End By (now): a typed 04/20/2026
// became a date in the year 202, and the series was made there. End By never comes before the
// start, and while it is the chosen range a start past it is refused whole.
void RecurrenceDialogTest::ATypedStartIsTakenOrRefusedWhole() {
  Workspace ws;
  RecurrenceDialog dialog(ws.app);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  auto& start = Child<DatePicker>(dialog, "rangeStart");
  auto& endBy = Child<DatePicker>(dialog, "endByDate");
  TypeDate(start, QStringLiteral("04/20/2026"));
  QCOMPARE(start.dateTime(), Qt(2026, 4, 20, 10));
  QCOMPARE(endBy.dateTime(), Qt(2026, 4, 20, 10));  // End By follows the start
  QVERIFY(dialog.isVisible() && !start.hasFocus());
  Snapshot(dialog, QStringLiteral("recurrence-start-later.png"));
  endBy.setDateTime(Qt(2026, 4, 1));  // before the start: refused whole
  QCOMPARE(endBy.dateTime(), Qt(2026, 4, 20, 10));
  Press(dialog, "endBy");
  endBy.setDateTime(Qt(2026, 6, 1));
  TypeDate(start, QStringLiteral("12/20/2026"));
  QCOMPARE(start.dateTime(), Qt(2026, 4, 20, 10));
  TypeDate(start, QStringLiteral("05/20/2026"));
  QCOMPARE(start.dateTime(), Qt(2026, 5, 20, 10));
  // Choosing End After again frees the start.
  Press(dialog, "endAfter");
  TypeDate(start, QStringLiteral("12/20/2026"));
  QCOMPARE(start.dateTime(), Qt(2026, 12, 20, 10));
  QVERIFY(endBy.dateTime() >= start.dateTime());
  QVERIFY(dialog.isVisible());
  // Enter in a field takes the typed date and then the pattern: ten dues, three days apart.
  TypeDate(start, QStringLiteral("01/05/2027"), Qt::Key_Return);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(dialog.dueCount(), std::size_t{10});
  QCOMPARE(dialog.pattern().rangeStart, At(2027, 1, 5, 10));
  QCOMPARE(SurveySeries(dialog.pattern()).last.value(), At(2027, 2, 1, 10));
}

// Regression: OK wrote empty placeholder dues that every synced device saw before Finish.
void RecurrenceDialogTest::OkCountsTheSeriesAndWritesNothing() {
  Workspace ws;
  RecurrenceDialog dialog(ws.app);
  dialog.show();
  Press(dialog, "endBy");
  Child<DatePicker>(dialog, "endByDate").setDateTime(Qt(2026, 3, 24, 10));
  Press(dialog, "ok");
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(dialog.dueCount(), std::size_t{4});  // 15, 18, 21, 24 March
  QCOMPARE(dialog.pattern().rangeEnd, RangeEnd::kByDate);
  QCOMPARE(ws.app.store().map().size(), std::size_t{0});
  QVERIFY(QDir(ws.directory() + "/Paylark Files").entryList({"*.due"}, QDir::Files).isEmpty());
}

// Regression: a runaway count wrote files until the disk was full.
void RecurrenceDialogTest::ManyDuesAreMadeOnlyWhenTheUserSaysSo() {
  Workspace ws;
  RecurrenceDialog dialog(ws.app);
  dialog.show();
  Field(dialog, "dayInterval").setText(QStringLiteral("1"));
  Field(dialog, "count").setText(QStringLiteral("150000"));
  ws.prompt.answers.push_back(PromptAnswer::kNo);
  Press(dialog, "ok");
  QCOMPARE(ws.prompt.asked,
           QStringList{"This pattern makes 150000 dues. Do you want to make them all?"});
  QVERIFY(dialog.isVisible());
  QCOMPARE(ws.app.store().map().size(), std::size_t{0});
}

}  // namespace paylark::test
