#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QWizard>

#include "core/records/due_map.h"
#include "tests/ui/editor_fixture.h"
#include "tests/ui/editor_tests.h"
#include "tests/ui/fakes.h"
#include "ui/app/date_conversion.h"
#include "ui/editor/new_due_command.h"

namespace paylark::test {
namespace {

QWizard& Wizard(QDialog& dialog) {
  return static_cast<QWizard&>(dialog);
}

// Types over the field's whole text, as after a double-click.
void Type(QDialog& dialog, const char* field, const QString& text) {
  auto& edit = Child<QLineEdit>(dialog, field);
  edit.selectAll();
  QTest::keyClicks(&edit, text);
}

void Press(QWidget& dialog, const char* button) {
  QTest::mouseClick(&Child<QAbstractButton>(dialog, button), Qt::LeftButton);
}

void Finish(QDialog& dialog) {
  QTest::mouseClick(Wizard(dialog).button(QWizard::FinishButton), Qt::LeftButton);
}

// The pattern dialog's step: End After <count> occurrences of the default pattern (every 3 days
// from now), then OK.
ScriptedRunner::Step PatternOf(int count) {
  return [count](QDialog& dialog) {
    Child<QLineEdit>(dialog, "count").setText(QString::number(count));
    Press(dialog, "ok");
  };
}

std::vector<DueRecord> AllRecords(CPaylarkApp& app) {
  std::vector<DueRecord> records;
  app.store().map().ForEach([&](const DueRecord& record) { records.push_back(record); });
  std::sort(records.begin(), records.end(),
            [](const DueRecord& a, const DueRecord& b) { return a.startDate < b.startDate; });
  return records;
}

}  // namespace

void NewDueTest::SingleDueGetsDefaultTitleAndPayTo() {
  Workspace ws;
  ScriptedRunner script;
  script.Then([](QDialog& dialog) {
    QCOMPARE(dialog.windowTitle(), QStringLiteral("New Due"));
    QVERIFY(!Wizard(dialog).button(QWizard::BackButton)->isEnabled());
    QVERIFY(!Wizard(dialog).button(QWizard::FinishButton)->isVisible());
    Type(dialog, "account", "Household");
    Type(dialog, "amount", "850.75");
    Child<QComboBox>(dialog, "type").setCurrentIndex(1);
    Press(dialog, "paid");
    Wizard(dialog).next();
    Finish(dialog);
  });
  QCOMPARE(NewDue(ws.app, nullptr, script.runner()), EditOutcome::kRecordsChanged);
  const std::vector<DueRecord> records = AllRecords(ws.app);
  QCOMPARE(records.size(), std::size_t{1});
  QCOMPARE(records[0].title, std::string("No Title"));
  QCOMPARE(records[0].payTo, std::string("Someone"));
  QCOMPARE(records[0].account, std::string("Household"));
  QCOMPARE(records[0].amount, 850.75);
  QCOMPARE(records[0].type, kTypePersonal);
  QCOMPARE(records[0].paid, 1);
  QCOMPARE(records[0].dueDate, At(2026, 3, 15, 10));
  QVERIFY(records[0].seriesId.empty());
}

void NewDueTest::NotesSurviveBackAndKeepLineBreaks() {
  Workspace ws;
  ScriptedRunner script;
  script.Then([](QDialog& dialog) {
    QWizard& wizard = Wizard(dialog);
    Type(dialog, "title", "Rent");
    wizard.next();
    QCOMPARE(wizard.currentPage()->title(), QStringLiteral("Notes"));
    QCOMPARE(wizard.currentPage()->subTitle(), QStringLiteral("Enter Due Notes"));
    auto& notes = Child<QPlainTextEdit>(dialog, "notes");
    QTest::keyClicks(&notes, "first");
    QTest::keyClick(&notes, Qt::Key_Return);
    QTest::keyClicks(&notes, "second");
    Snapshot(dialog, QStringLiteral("wizard-notes.png"));
    QCOMPARE(notes.geometry(), wizard.currentPage()->rect());
    wizard.back();
    wizard.next();
    Finish(dialog);
  });
  (void)NewDue(ws.app, nullptr, script.runner());
  const std::vector<DueRecord> records = AllRecords(ws.app);
  QCOMPARE(records.size(), std::size_t{1});
  QCOMPARE(records[0].notes, std::string("first\r\nsecond"));
}

void NewDueTest::FieldsAreCheckedOnNext() {
  Workspace ws;
  ScriptedRunner script;
  script.Then([&ws](QDialog& dialog) {
    Child<QLineEdit>(dialog, "amount").setText(QStringLiteral("."));
    Wizard(dialog).next();
    Child<QLineEdit>(dialog, "amount").setText(QStringLiteral("2e18"));
    Wizard(dialog).next();
    QCOMPARE(Wizard(dialog).currentId(), 0);
    Child<QLineEdit>(dialog, "amount").setText(QStringLiteral("5"));
    Press(dialog, "makeRecursive");
    Child<QLineEdit>(dialog, "offsetDays").clear();
    Wizard(dialog).next();
    QCOMPARE(Wizard(dialog).currentId(), 0);
    QCOMPARE(ws.prompt.asked,
             QStringList({"Please enter a number.", "Please enter a number between 0 and 1e+18.",
                          "Please enter an integer."}));
  });
  QCOMPARE(NewDue(ws.app, nullptr, script.runner()), EditOutcome::kNothingChanged);
  QCOMPARE(ws.app.store().size(), std::size_t{0});
}

void NewDueTest::RecursiveDueNeedsAPattern() {
  Workspace ws;
  ScriptedRunner script;
  script.Then([&ws](QDialog& dialog) {
    auto& group = Child<QGroupBox>(dialog, "recurrenceGroup");
    QVERIFY(!group.isVisible());
    Press(dialog, "makeRecursive");
    QVERIFY(group.isVisible());
    QVERIFY(!Child<QDateTimeEdit>(dialog, "startDate").isEnabled());
    QVERIFY(!Child<QDateTimeEdit>(dialog, "dueDate").isEnabled());
    QCOMPARE(Child<QDateTimeEdit>(dialog, "offsetTime").time(), QTime(0, 0));
    Wizard(dialog).next();
    QCOMPARE(Wizard(dialog).currentId(), 0);
    QCOMPARE(ws.prompt.asked, QStringList{"Please set the Recurrence Pattern."});
    // Each tick puts the offset time back to 00:00; the days stay.
    Child<QDateTimeEdit>(dialog, "offsetTime").setTime(QTime(5, 45));
    Child<QLineEdit>(dialog, "offsetDays").setText(QStringLiteral("4"));
    Press(dialog, "makeRecursive");
    QVERIFY(Child<QDateTimeEdit>(dialog, "startDate").isEnabled());
    Press(dialog, "makeRecursive");
    QCOMPARE(Child<QDateTimeEdit>(dialog, "offsetTime").time(), QTime(0, 0));
    QCOMPARE(Child<QLineEdit>(dialog, "offsetDays").text(), QStringLiteral("4"));
  });
  (void)NewDue(ws.app, nullptr, script.runner());
  QCOMPARE(ws.app.store().size(), std::size_t{0});
}

void NewDueTest::SecondPatternReplacesTheFirst() {
  Workspace ws;
  ScriptedRunner script;
  script
      .Then([](QDialog& dialog) {
        Type(dialog, "title", "Gym");
        Type(dialog, "payTo", "FitCo");
        Type(dialog, "amount", "30");
        Press(dialog, "paid");
        Press(dialog, "makeRecursive");
        Press(dialog, "setRecurrencePattern");
        QCOMPARE(Child<QLabel>(dialog, "estimate").text(),
                 QStringLiteral("Estimated number of records :  6"));
        Press(dialog, "setRecurrencePattern");
        Press(dialog, "setRecurrencePattern");  // cancelled: the list and count stay
        QCOMPARE(Child<QLabel>(dialog, "estimate").text(),
                 QStringLiteral("Estimated number of records :  4"));
        Snapshot(dialog, QStringLiteral("wizard-details.png"));
        Wizard(dialog).next();
        Finish(dialog);
      })
      .Then(PatternOf(6))
      .Then(PatternOf(4))
      .Then([](QDialog& dialog) { Press(dialog, "cancel"); });
  (void)NewDue(ws.app, nullptr, script.runner());
  const std::vector<DueRecord> records = AllRecords(ws.app);
  QCOMPARE(records.size(), std::size_t{4});
  for (std::size_t i = 0; i < records.size(); ++i) {
    QCOMPARE(records[i].title, std::string("Gym"));
    QCOMPARE(records[i].payTo, std::string("FitCo"));
    QCOMPARE(records[i].amount, 30.0);
    QCOMPARE(records[i].paid, i == 0 ? 1 : 0);
    QCOMPARE(records[i].startDate, At(2026, 3, 15 + 3 * static_cast<int>(i), 10));
    QCOMPARE(records[i].dueDate, records[i].startDate.AddDays(1).value());
    QCOMPARE(records[i].seriesId, records[0].seriesId);
  }
}

void NewDueTest::OffsetOfZeroDaysAndHalfPastTwelve() {
  Workspace ws;
  ScriptedRunner script;
  script
      .Then([](QDialog& dialog) {
        Press(dialog, "makeRecursive");
        Child<QLineEdit>(dialog, "offsetDays").setText(QStringLiteral("0"));
        Child<QDateTimeEdit>(dialog, "offsetTime").setTime(QTime(12, 30));
        Press(dialog, "setRecurrencePattern");
        Wizard(dialog).next();
        Finish(dialog);
      })
      .Then(PatternOf(3));
  (void)NewDue(ws.app, nullptr, script.runner());
  const std::vector<DueRecord> records = AllRecords(ws.app);
  QCOMPARE(records.size(), std::size_t{3});
  for (const DueRecord& record : records) {
    QCOMPARE(record.dueDate.LinearSeconds() - record.startDate.LinearSeconds(),
             std::int64_t{12 * 3600 + 30 * 60});
  }
}

void NewDueTest::ClearedBoxStoresOnePlainDue() {
  Workspace ws;
  ScriptedRunner script;
  script
      .Then([](QDialog& dialog) {
        Type(dialog, "title", "Water");
        Press(dialog, "makeRecursive");
        Press(dialog, "setRecurrencePattern");
        Press(dialog, "makeRecursive");
        Wizard(dialog).next();
        Finish(dialog);
      })
      .Then(PatternOf(5));
  (void)NewDue(ws.app, nullptr, script.runner());
  const std::vector<DueRecord> records = AllRecords(ws.app);
  QCOMPARE(records.size(), std::size_t{1});
  QCOMPARE(records[0].title, std::string("Water"));
  QVERIFY(records[0].seriesId.empty());
}

void NewDueTest::EveryOtherEndingRemovesPlaceholders() {
  Workspace ws;
  for (const bool closeOnNotes : {false, true}) {
    ScriptedRunner script;
    script
        .Then([closeOnNotes](QDialog& dialog) {
          Press(dialog, "makeRecursive");
          Press(dialog, "setRecurrencePattern");
          if (closeOnNotes)
            Wizard(dialog).next();
          dialog.close();
        })
        .Then(PatternOf(5));
    QCOMPARE(NewDue(ws.app, nullptr, script.runner()), EditOutcome::kRecordsChanged);
    QCOMPARE(ws.app.store().size(), std::size_t{0});
  }
}

void NewDueTest::DatePickersKeepEachOtherInOrder() {
  Workspace ws;
  ScriptedRunner script;
  script.Then([](QDialog& dialog) {
    auto& start = Child<QDateTimeEdit>(dialog, "startDate");
    auto& due = Child<QDateTimeEdit>(dialog, "dueDate");
    start.setDateTime(ToQDateTime(At(2026, 3, 20)));
    QCOMPARE(due.minimumDateTime(), ToQDateTime(At(2026, 3, 20)));
    QCOMPARE(due.dateTime(), ToQDateTime(At(2026, 3, 20)));
    due.setDateTime(ToQDateTime(At(2026, 4, 2, 9)));
    QCOMPARE(start.maximumDateTime(), ToQDateTime(At(2026, 4, 2, 9)));
    start.setDateTime(ToQDateTime(At(2026, 5, 1)));
    QCOMPARE(start.dateTime(), ToQDateTime(At(2026, 4, 2, 9)));
    Wizard(dialog).next();
    Finish(dialog);
  });
  (void)NewDue(ws.app, nullptr, script.runner());
  const std::vector<DueRecord> records = AllRecords(ws.app);
  QCOMPARE(records.size(), std::size_t{1});
  QCOMPARE(records[0].startDate, At(2026, 4, 2, 9));
  QCOMPARE(records[0].dueDate, At(2026, 4, 2, 9));
}

}  // namespace paylark::test
