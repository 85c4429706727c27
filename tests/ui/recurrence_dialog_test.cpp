#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>

#include "tests/ui/editor_fixture.h"
#include "tests/ui/editor_tests.h"
#include "tests/ui/fakes.h"
#include "ui/app/date_conversion.h"
#include "ui/editor/date_picker.h"
#include "ui/recurrence/recurrence_dlg.h"

namespace paylark::test {
namespace {

QLineEdit& Field(QWidget& dialog, const char* name) {
  return Child<QLineEdit>(dialog, name);
}

void Choose(QWidget& dialog, const char* combo, int index) {
  Child<QComboBox>(dialog, combo).setCurrentIndex(index);
}

void Press(QWidget& dialog, const char* button) {
  QTest::mouseClick(&Child<QAbstractButton>(dialog, button), Qt::LeftButton);
}

QDateTime Qt(int year, int month, int day, int hour = 0) {
  return ToQDateTime(At(year, month, day, hour));
}

}  // namespace

void RecurrenceDialogTest::OpensOnTheDefaultsOfNow() {
  Workspace ws;  // Sunday 2026-03-15 10:00
  CRecurrenceDlg dialog(ws.app);
  dialog.show();
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Recurrence Pattern"));
  QCOMPARE(Child<QComboBox>(dialog, "kind").currentText(), QStringLiteral("Day"));
  QVERIFY(Child<QRadioButton>(dialog, "dayEvery").isChecked());
  QCOMPARE(Field(dialog, "dayInterval").text(), QStringLiteral("3"));
  QVERIFY(Child<QRadioButton>(dialog, "endAfter").isChecked());
  QCOMPARE(Field(dialog, "count").text(), QStringLiteral("10"));
  QCOMPARE(Child<DatePicker>(dialog, "rangeStart").dateTime(), Qt(2026, 3, 15, 10));
  QCOMPARE(Child<DatePicker>(dialog, "endByDate").dateTime(), Qt(2026, 3, 15, 10));
  for (int day = 0; day < 7; ++day) {
    QCOMPARE(Child<QCheckBox>(dialog, qPrintable(QStringLiteral("weekday%1").arg(day))).isChecked(),
             day == 0);
  }
  QCOMPARE(Child<QComboBox>(dialog, "monthNth").currentText(), QStringLiteral("third"));
  QCOMPARE(Child<QComboBox>(dialog, "yearWeekday").currentText(), QStringLiteral("Sunday"));
  QCOMPARE(Child<QComboBox>(dialog, "yearNthMonth").currentText(), QStringLiteral("March"));
  QCOMPARE(Field(dialog, "monthDayOfMonth").text(), QStringLiteral("15"));
  QCOMPARE(Field(dialog, "yearDay").text(), QStringLiteral("15"));
  QVERIFY(Field(dialog, "dayInterval").isVisible());
  QVERIFY(!Field(dialog, "weekInterval").isVisible());
}

void RecurrenceDialogTest::ValidationMessagesComeInOrder() {
  struct Case {
    const char* name;
    std::function<void(QWidget&)> set;
    QString expected;  // empty: accepted
  };
  const Case cases[] = {
      {"day interval empty", [](QWidget& d) { Field(d, "dayInterval").clear(); },
       "Please enter valid recurrence day"},
      {"pattern before range",
       [](QWidget& d) {
         Field(d, "dayInterval").setText("0");
         Field(d, "count").clear();
       },
       "Please enter valid recurrence day"},
      {"every weekday ignores the interval",
       [](QWidget& d) {
         Field(d, "dayInterval").clear();
         Press(d, "dayEveryWeekday");
       },
       ""},
      {"week interval 0",
       [](QWidget& d) {
         Choose(d, "kind", 1);
         Field(d, "weekInterval").setText("0");
       },
       "Please enter valid recurrence week"},
      {"month day 0 and months 0",
       [](QWidget& d) {
         Choose(d, "kind", 2);
         Field(d, "monthDayOfMonth").setText("0");
         Field(d, "monthIntervalDayForm").setText("0");
       },
       "Please enter valid recurrence month"},
      {"month day 32",
       [](QWidget& d) {
         Choose(d, "kind", 2);
         Field(d, "monthDayOfMonth").setText("32");
       },
       "Please enter valid recurrence day"},
      {"nth form months empty",
       [](QWidget& d) {
         Choose(d, "kind", 2);
         Press(d, "monthThe");
         Field(d, "monthIntervalNthForm").clear();
       },
       "Please enter valid recurrence month"},
      {"April 31",
       [](QWidget& d) {
         Choose(d, "kind", 3);
         Choose(d, "yearDateMonth", 3);
         Field(d, "yearDay").setText("31");
       },
       "Month April does not have date 31"},
      {"February 30",
       [](QWidget& d) {
         Choose(d, "kind", 3);
         Choose(d, "yearDateMonth", 1);
         Field(d, "yearDay").setText("30");
       },
       "Month February does not have date 30"},
      {"February 29",
       [](QWidget& d) {
         Choose(d, "kind", 3);
         Choose(d, "yearDateMonth", 1);
         Field(d, "yearDay").setText("29");
       },
       ""},
      {"count empty", [](QWidget& d) { Field(d, "count").clear(); },
       "Please enter valid number of recurrences"},
  };
  for (const Case& c : cases) {
    Workspace ws;
    CRecurrenceDlg dialog(ws.app);
    dialog.show();
    c.set(dialog);
    Press(dialog, "ok");
    const QString asked = ws.prompt.asked.join(QLatin1Char('|'));
    QVERIFY2(asked == c.expected, qPrintable(QStringLiteral("%1: %2").arg(c.name, asked)));
    QCOMPARE(dialog.isVisible(), !c.expected.isEmpty());
    QCOMPARE(ws.app.store().size(), c.expected.isEmpty() ? std::size_t{10} : std::size_t{0});
  }
}

void RecurrenceDialogTest::LastWeekdayCannotBeCleared() {
  Workspace ws;
  CRecurrenceDlg dialog(ws.app);
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
  CRecurrenceDlg dialog(ws.app);
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
  QCOMPARE(dialog.recordIds().size(), std::size_t{3});
  // Weekly on Sundays from Sunday 15 March.
  QCOMPARE(ws.app.store().Get(dialog.recordIds()[1]).startDate, At(2026, 3, 22, 10));
}

void RecurrenceDialogTest::PickersKeepStartAndEndByInOrder() {
  Workspace ws;
  CRecurrenceDlg dialog(ws.app);
  auto& start = Child<DatePicker>(dialog, "rangeStart");
  auto& endBy = Child<DatePicker>(dialog, "endByDate");
  QCOMPARE(start.maximumDateTime(), Qt(2026, 3, 15, 10));
  endBy.setDateTime(Qt(2026, 6, 1));
  QCOMPARE(start.maximumDateTime(), Qt(2026, 6, 1));
  start.setDateTime(Qt(2026, 4, 1));
  QCOMPARE(endBy.minimumDateTime(), Qt(2026, 4, 1));
  start.setDateTime(Qt(2026, 7, 1));  // past end-by: held at it
  QCOMPARE(start.dateTime(), Qt(2026, 6, 1));
}

void RecurrenceDialogTest::OkStoresTheSeriesAndCancelNothing() {
  Workspace ws;
  {
    CRecurrenceDlg dialog(ws.app);
    dialog.show();
    Press(dialog, "cancel");
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }
  QCOMPARE(ws.app.store().size(), std::size_t{0});
  CRecurrenceDlg dialog(ws.app);
  dialog.show();
  Press(dialog, "endBy");
  Child<DatePicker>(dialog, "endByDate").setDateTime(Qt(2026, 3, 24, 10));
  Press(dialog, "ok");
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(dialog.recordIds().size(), std::size_t{4});  // 15, 18, 21, 24 March
  for (const std::string& id : dialog.recordIds()) {
    QCOMPARE(ws.app.store().Get(id).seriesId, dialog.seriesId());
  }
}

void RecurrenceDialogTest::SnapshotsOfEveryKind() {
  Workspace ws;
  CRecurrenceDlg dialog(ws.app);
  dialog.show();
  const char* names[] = {"recurrence-day.png", "recurrence-week.png", "recurrence-month.png",
                         "recurrence-year.png"};
  for (int kind = 0; kind < 4; ++kind) {
    Choose(dialog, "kind", kind);
    Snapshot(dialog, QString::fromLatin1(names[kind]));
  }
}

}  // namespace paylark::test
