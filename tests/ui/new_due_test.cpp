#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QWizard>

#include "core/records/due_map.h"
#include "tests/ui/editor_fixture.h"
#include "tests/ui/editor_tests.h"
#include "tests/ui/fakes.h"
#include "ui/base/date_conversion.h"
#include "ui/editor/due_wizard.h"
#include "ui/editor/new_due_command.h"

namespace paylark::test {
namespace {

QWizard& Wizard(QDialog& dialog) {
  return static_cast<QWizard&>(dialog);
}

// Types over the field's whole text, as after a double-click.
void Type(QDialog& dialog, const char* field, const QString& text) {
  Field(dialog, field).selectAll();
  QTest::keyClicks(&Field(dialog, field), text);
}

void NextAndFinish(QDialog& dialog) {
  Wizard(dialog).next();
  QTest::mouseClick(Wizard(dialog).button(QWizard::FinishButton), Qt::LeftButton);
}

QDateTimeEdit& Picker(QDialog& dialog, const char* name) {
  return Child<QDateTimeEdit>(dialog, name);
}

// The pattern dialog's step: the default pattern (every 3 days from now) ending after count.
ScriptedRunner::Step PatternOf(int count) {
  return [count](QDialog& dialog) {
    Field(dialog, "count").setText(QString::number(count));
    Press(dialog, "ok");
  };
}

// Runs New Due with the script and returns the stored dues by start date.
std::vector<DueRecord> Run(Workspace& ws, ScriptedRunner& script) {
  (void)NewDue(ws.app, nullptr, script.runner());
  std::vector<DueRecord> records;
  ws.app.store().map().ForEach([&](const DueRecord& record) { records.push_back(record); });
  std::sort(records.begin(), records.end(),
            [](const DueRecord& a, const DueRecord& b) { return a.startDate < b.startDate; });
  return records;
}

}  // namespace

// A single due takes the default title and pay-to; its notes survive going Back.
void NewDueTest::SingleDueGetsDefaultsAndKeepsItsNotes() {
  Workspace ws;
  ScriptedRunner script;
  script.Then([](QDialog& dialog) {
    QWizard& wizard = Wizard(dialog);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("New Due"));
    QVERIFY(!wizard.button(QWizard::BackButton)->isEnabled());
    QVERIFY(!wizard.button(QWizard::FinishButton)->isVisible());
    Type(dialog, "amount", "850.75");
    Child<QComboBox>(dialog, "type").setCurrentIndex(1);
    Press(dialog, "paid");
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
    NextAndFinish(dialog);
  });
  const std::vector<DueRecord> records = Run(ws, script);
  QCOMPARE(records.size(), std::size_t{1});
  QCOMPARE(records[0].title, std::string("No Title"));
  QCOMPARE(records[0].payTo, std::string("Someone"));
  QCOMPARE(records[0].amount, 850.75);
  QCOMPARE(records[0].type, kTypePersonal);
  QCOMPARE(records[0].paid, 1);
  QCOMPARE(records[0].dueDate, At(2026, 3, 15, 10));
  QVERIFY(records[0].seriesId.empty());
  QCOMPARE(records[0].notes, std::string("first\r\nsecond"));
}

// Next checks the fields first, then that a recursive due has its pattern.
void NewDueTest::FieldsAreCheckedOnNext() {
  Workspace ws;
  ScriptedRunner script;
  script.Then([&ws](QDialog& dialog) {
    for (const char* amount : {".", "2e18"}) {
      Field(dialog, "amount").setText(QString::fromLatin1(amount));
      Wizard(dialog).next();
    }
    Field(dialog, "amount").setText(QStringLiteral("5"));
    auto& group = Child<QGroupBox>(dialog, "recurrenceGroup");
    QVERIFY(!group.isVisible());
    Press(dialog, "makeRecursive");
    QVERIFY(group.isVisible());
    QVERIFY(!Picker(dialog, "startDate").isEnabled() && !Picker(dialog, "dueDate").isEnabled());
    Field(dialog, "offsetDays").clear();
    Wizard(dialog).next();
    Field(dialog, "offsetDays").setText(QStringLiteral("4"));
    Wizard(dialog).next();
    QCOMPARE(Wizard(dialog).currentId(), 0);
    QCOMPARE(ws.prompt.asked,
             QStringList({"Please enter a number.",
                          "Please enter a number between 0 and 10,000,000,000,000.",
                          "Please enter an integer.", "Please set the Recurrence Pattern."}));
    // Each tick puts the offset time back to 00:00; the days stay.
    Picker(dialog, "offsetTime").setTime(QTime(5, 45));
    Press(dialog, "makeRecursive");
    QVERIFY(Picker(dialog, "startDate").isEnabled());
    Press(dialog, "makeRecursive");
    QCOMPARE(Picker(dialog, "offsetTime").time(), QTime(0, 0));
    QCOMPARE(Field(dialog, "offsetDays").text(), QStringLiteral("4"));
  });
  QVERIFY(Run(ws, script).empty());
}

// Regression: confirming the pattern wrote empty dues with amount 0.00, which a crash or a sync
// engine kept for good; nothing is written before Finish.
void NewDueTest::SecondPatternReplacesTheFirstAndOffsetApplies() {
  Workspace ws;
  const QDir files(ws.directory() + "/Paylark Files");
  ScriptedRunner script;
  script
      .Then([&](QDialog& dialog) {
        Type(dialog, "title", "Gym");
        Type(dialog, "payTo", "FitCo");
        Type(dialog, "amount", "30");
        Press(dialog, "paid");
        Press(dialog, "makeRecursive");
        Field(dialog, "offsetDays").setText(QStringLiteral("0"));
        Picker(dialog, "offsetTime").setTime(QTime(12, 30));
        Press(dialog, "setRecurrencePattern");
        QCOMPARE(Child<QLabel>(dialog, "estimate").text(),
                 QStringLiteral("Estimated number of records :  6"));
        Press(dialog, "setRecurrencePattern");
        Press(dialog, "setRecurrencePattern");  // cancelled: the list and count stay
        QCOMPARE(Child<QLabel>(dialog, "estimate").text(),
                 QStringLiteral("Estimated number of records :  4"));
        QCOMPARE(ws.app.store().map().size(), std::size_t{0});
        QVERIFY(files.entryList({"*.due"}, QDir::Files).isEmpty());
        Snapshot(dialog, QStringLiteral("wizard-details.png"));
        NextAndFinish(dialog);
      })
      .Then(PatternOf(6))
      .Then(PatternOf(4))
      .Then([](QDialog& dialog) { Press(dialog, "cancel"); });
  const std::vector<DueRecord> records = Run(ws, script);
  QCOMPARE(records.size(), std::size_t{4});
  QCOMPARE(files.entryList({"*.due"}, QDir::Files).size(), 4);
  for (std::size_t i = 0; i < records.size(); ++i) {
    QCOMPARE(records[i].title + "/" + records[i].payTo, std::string("Gym/FitCo"));
    QCOMPARE(records[i].amount, 30.0);
    QCOMPARE(records[i].paid, i == 0 ? 1 : 0);
    QCOMPARE(records[i].startDate, At(2026, 3, 15 + 3 * static_cast<int>(i), 10));
    QCOMPARE(records[i].dueDate, records[i].startDate.AddSeconds(12 * 3600 + 30 * 60).value());
    QCOMPARE(records[i].seriesId, records[0].seriesId);
  }
}

void NewDueTest::WeekendChoiceMovesOnlyTheDueDates() {
  Workspace ws;  // every 3 days from Sunday 15 March: Sun, Wed, Sat, Tue
  ScriptedRunner script;
  script
      .Then([](QDialog& dialog) {
        Press(dialog, "makeRecursive");
        Field(dialog, "offsetDays").setText(QStringLiteral("0"));
        Press(dialog, "setRecurrencePattern");
        NextAndFinish(dialog);
      })
      .Then([](QDialog& dialog) {
        auto& weekend = Child<QComboBox>(dialog, "weekendShift");
        QCOMPARE(weekend.currentText(), QStringLiteral("Keep it"));
        weekend.setCurrentIndex(2);
        Snapshot(dialog, QStringLiteral("recurrence-weekend.png"));
        PatternOf(4)(dialog);
      });
  const std::vector<DueRecord> records = Run(ws, script);
  QCOMPARE(records.size(), std::size_t{4});
  const OleDateTime dues[] = {At(2026, 3, 16, 10), At(2026, 3, 18, 10), At(2026, 3, 23, 10),
                              At(2026, 3, 24, 10)};
  for (std::size_t i = 0; i < records.size(); ++i) {
    QCOMPARE(records[i].startDate, At(2026, 3, 15 + 3 * static_cast<int>(i), 10));
    QCOMPARE(records[i].dueDate, dues[i]);
  }
}

// With a pattern set, a cleared box finishes one plain due; Cancel and closing the wizard on its
// Notes page store nothing.
void NewDueTest::EveryOtherEndingRemovesPlaceholders() {
  enum class Ending { kClearedBox, kCancel, kCloseOnNotes };
  for (const Ending ending : {Ending::kClearedBox, Ending::kCancel, Ending::kCloseOnNotes}) {
    Workspace ws;
    ScriptedRunner script;
    script
        .Then([ending](QDialog& dialog) {
          Press(dialog, "makeRecursive");
          Press(dialog, "setRecurrencePattern");
          if (ending == Ending::kClearedBox) {
            Press(dialog, "makeRecursive");
            NextAndFinish(dialog);
          } else if (ending == Ending::kCloseOnNotes) {
            Wizard(dialog).next();
            dialog.close();
          } else {
            QTest::mouseClick(Wizard(dialog).button(QWizard::CancelButton), Qt::LeftButton);
          }
        })
        .Then(PatternOf(5));
    const std::vector<DueRecord> records = Run(ws, script);
    QCOMPARE(records.size(), std::size_t{ending == Ending::kClearedBox ? 1u : 0u});
    QVERIFY(records.empty() || records[0].seriesId.empty());
  }
}

void NewDueTest::DatePickersKeepEachOtherInOrder() {
  Workspace ws;
  ScriptedRunner script;
  script.Then([](QDialog& dialog) {
    QDateTimeEdit& start = Picker(dialog, "startDate");
    QDateTimeEdit& due = Picker(dialog, "dueDate");
    start.setDateTime(ToQDateTime(At(2026, 3, 20)));
    QCOMPARE(due.dateTime(), ToQDateTime(At(2026, 3, 20)));  // held at the new minimum
    due.setDateTime(ToQDateTime(At(2026, 4, 2, 9)));
    start.setDateTime(ToQDateTime(At(2026, 5, 1)));
    QCOMPARE(start.dateTime(), ToQDateTime(At(2026, 4, 2, 9)));  // held at the new maximum
    NextAndFinish(dialog);
  });
  const std::vector<DueRecord> records = Run(ws, script);
  QCOMPARE(records.at(0).startDate, At(2026, 4, 2, 9));
  QCOMPARE(records.at(0).dueDate, At(2026, 4, 2, 9));
}

// Tab visits each field once; once the due repeats, its pattern sets the dates, and the disabled
// pickers are no Tab stop.
void NewDueTest::TabVisitsEachFieldOnceAndLeavesOutTheDatesASeriesSets() {
  Workspace ws;
  ScriptedRunner script;
  QStringList visited;
  QStringList inSeries;
  script.Then([&](QDialog& dialog) {
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    Field(dialog, "title").setFocus();
    for (int tab = 0; tab < 8; ++tab) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited << QApplication::focusWidget()->objectName();
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    visited << QApplication::focusWidget()->objectName();

    Press(dialog, "makeRecursive");
    Field(dialog, "title").setFocus();
    while (inSeries.size() < 20) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* focused = QApplication::focusWidget();
      QVERIFY2(focused->isEnabled(), qPrintable(focused->objectName()));
      if (focused->objectName() == QStringLiteral("title"))
        break;
      inSeries << focused->objectName();
    }
  });
  (void)Run(ws, script);
  QCOMPARE(visited, (QStringList{"startDate", "dueDate", "payTo", "account", "amount", "type",
                                 "paid", "makeRecursive", "paid"}));
  QVERIFY(!inSeries.contains(QStringLiteral("startDate")));
  QVERIFY(!inSeries.contains(QStringLiteral("dueDate")));
  QVERIFY2(inSeries.contains(QStringLiteral("makeRecursive")), qPrintable(inSeries.join(',')));
}

void NewDueTest::EstimateKeepsItsWidthAndShowsTheCount() {
  Workspace ws;
  ScriptedRunner script;
  script
      .Then([](QDialog& dialog) {
        dialog.show();
        Press(dialog, "makeRecursive");
        QLabel& estimate = Child<QLabel>(dialog, "estimate");
        QGroupBox& group = Child<QGroupBox>(dialog, "recurrenceGroup");
        const int labelWidth = estimate.width();
        const int groupWidth = group.width();
        Press(dialog, "setRecurrencePattern");
        QTest::qWait(20);
        QCOMPARE(estimate.text(), QStringLiteral("Estimated number of records :  1200"));
        QCOMPARE(estimate.width(), labelWidth);
        QCOMPARE(group.width(), groupWidth);
        const QRect needed = estimate.fontMetrics().boundingRect(
            estimate.contentsRect(), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
            estimate.text());
        QVERIFY(estimate.contentsRect().contains(needed));
        Snapshot(dialog, "new-due-long-series.png");
      })
      .Then(PatternOf(1200));
  QCOMPARE(Run(ws, script).size(), std::size_t{0});
}

// Regression: the wizard was 694 pixels wide, wider than a 640x420 screen.
void NewDueTest::WizardFitsASmallScreen() {
  Workspace ws;
  ScriptedRunner script;
  script.Then([](QDialog& dialog) {
    const QSize room(640, 420);
    FitDueWizard(Wizard(dialog), room);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Press(dialog, "makeRecursive");
    QTest::qWait(20);
    QVERIFY2(dialog.width() <= room.width() && dialog.height() <= room.height(),
             qPrintable(QStringLiteral("%1x%2").arg(dialog.width()).arg(dialog.height())));
    for (const QWizard::WizardButton which : {QWizard::NextButton, QWizard::CancelButton}) {
      QAbstractButton* button = Wizard(dialog).button(which);
      QVERIFY(button->isVisible());
      QVERIFY(dialog.rect().contains(QRect(button->mapTo(&dialog, QPoint(0, 0)), button->size())));
    }
    // Nothing is cut off.
    const QWidget& group = Child<QGroupBox>(dialog, "recurrenceGroup");
    QVERIFY(group.mapTo(&dialog, QPoint(group.width(), 0)).x() <= dialog.width());
    Snapshot(dialog, QStringLiteral("wizard-640.png"));
  });
  (void)Run(ws, script);
}

}  // namespace paylark::test
