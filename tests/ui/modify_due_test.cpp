#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "tests/ui/editor_fixture.h"
#include "tests/ui/editor_tests.h"
#include "tests/ui/fakes.h"
#include "ui/app/date_conversion.h"
#include "ui/editor/modify_command.h"

namespace paylark::test {
namespace {

void Press(QWidget& dialog, const char* button) {
  QTest::mouseClick(&Child<QAbstractButton>(dialog, button), Qt::LeftButton);
}

void SetAmount(QDialog& dialog, const char* amount) {
  Child<QLineEdit>(dialog, "amount").setText(QString::fromLatin1(amount));
}

// Three dues of one series, 1 to 3 April, each with its own notes.
struct Series {
  explicit Series(Workspace& ws) {
    for (int day = 1; day <= 3; ++day) {
      ids.push_back(ws.AddDue("Rent", "Landlord", 900, At(2026, 4, day), false, "recIdS"));
      DueRecord record = ws.app.store().Get(ids.back());
      record.notes = "note " + std::to_string(day);
      (void)ws.app.store().Replace(record);
    }
  }
  std::vector<std::string> ids;
};

}  // namespace

void ModifyDueTest::SingleDueIsReplacedWithoutAQuestion() {
  Workspace ws;
  const std::string id = ws.AddDue("Power", "Grid", 40, At(2026, 3, 20));
  ScriptedRunner script;
  script.Then([](QDialog& dialog) {
    Child<QLineEdit>(dialog, "title").clear();
    SetAmount(dialog, "41.5");
    Press(dialog, "ok");
  });
  QCOMPARE(ModifyDue(ws.app, nullptr, id, script.runner()), EditOutcome::kRecordsChanged);
  QVERIFY(ws.prompt.asked.isEmpty());
  const DueRecord record = ws.app.store().Get(id);
  QCOMPARE(record.title, std::string("No Title"));
  QCOMPARE(record.amount, 41.5);
  QCOMPARE(record.dueDate, At(2026, 3, 20));
  QCOMPARE(ws.app.store().size(), std::size_t{1});
}

void ModifyDueTest::YesCarriesSeriesFieldsToEveryMember() {
  Workspace ws;
  const Series series(ws);
  ws.prompt.answers = {PromptAnswer::kYes};
  ScriptedRunner script;
  script.Then([](QDialog& dialog) {
    SetAmount(dialog, "950");
    Press(dialog, "paid");
    Press(dialog, "ok");
  });
  (void)ModifyDue(ws.app, nullptr, series.ids[1], script.runner());
  QCOMPARE(ws.prompt.asked,
           QStringList{"This is a recursive due. Select \"Yes\" to modify the whole series or "
                       "\"No\" to modify this record individually."});
  QCOMPARE(ws.prompt.buttons.front(), PromptButtons::kYesNoCancel);
  for (int day = 1; day <= 3; ++day) {
    const DueRecord member = ws.app.store().Get(series.ids[static_cast<std::size_t>(day - 1)]);
    QCOMPARE(member.amount, 950.0);
    QCOMPARE(member.paid, day == 2 ? 1 : 0);
    QCOMPARE(member.dueDate, At(2026, 4, day));
    QCOMPARE(member.notes, "note " + std::to_string(day));
  }
}

void ModifyDueTest::YesWithOnlyDatesChangedTouchesOneRecord() {
  Workspace ws;
  const Series series(ws);
  ws.prompt.answers = {PromptAnswer::kYes};
  ScriptedRunner script;
  script.Then([](QDialog& dialog) {
    Child<QDateTimeEdit>(dialog, "dueDate").setDateTime(ToQDateTime(At(2026, 4, 9)));
    Press(dialog, "ok");
  });
  (void)ModifyDue(ws.app, nullptr, series.ids[0], script.runner());
  QCOMPARE(ws.app.store().Get(series.ids[0]).dueDate, At(2026, 4, 9));
  QCOMPARE(ws.app.store().Get(series.ids[1]).dueDate, At(2026, 4, 2));
}

void ModifyDueTest::NoChangesTheEditedRecordAlone() {
  Workspace ws;
  const Series series(ws);
  ws.prompt.answers = {PromptAnswer::kNo};
  ScriptedRunner script;
  script.Then([](QDialog& dialog) {
    SetAmount(dialog, "1000");
    Press(dialog, "ok");
  });
  (void)ModifyDue(ws.app, nullptr, series.ids[2], script.runner());
  QCOMPARE(ws.app.store().Get(series.ids[2]).amount, 1000.0);
  QCOMPARE(ws.app.store().Get(series.ids[0]).amount, 900.0);
  QCOMPARE(ws.app.store().Get(series.ids[2]).notes, std::string("note 3"));
}

void ModifyDueTest::CancelWritesNothing() {
  Workspace ws;
  const Series series(ws);
  ws.prompt.answers = {PromptAnswer::kCancel, PromptAnswer::kYes};
  ScriptedRunner script;
  script.Then([](QDialog& dialog) {
    SetAmount(dialog, "1");
    Press(dialog, "cancel");
  });
  QCOMPARE(ModifyDue(ws.app, nullptr, series.ids[0], script.runner()),
           EditOutcome::kNothingChanged);
  QCOMPARE(script.dialogsRun(), 0);
  QCOMPARE(ModifyDue(ws.app, nullptr, series.ids[0], script.runner()),
           EditOutcome::kNothingChanged);
  QCOMPARE(script.dialogsRun(), 1);
  QCOMPARE(ws.app.store().Get(series.ids[0]).amount, 900.0);
}

void ModifyDueTest::SheetShowsTabsWithoutRecursion() {
  Workspace ws;
  const std::string id = ws.AddDue("Phone", "Telco", 25.5, At(2026, 3, 28, 18));
  ScriptedRunner script;
  script.Then([&ws](QDialog& dialog) {
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Modify Due"));
    auto& tabs = Child<QTabWidget>(dialog, "tabs");
    QCOMPARE(tabs.tabText(0), QStringLiteral("Due Details"));
    QCOMPARE(tabs.tabText(1), QStringLiteral("Notes"));
    QVERIFY(!Child<QCheckBox>(dialog, "makeRecursive").isVisible());
    QCOMPARE(Child<QLineEdit>(dialog, "amount").text(), QStringLiteral("25.5"));
    Snapshot(dialog, QStringLiteral("modify-sheet.png"));
    // A refused amount on OK brings the Details tab back and keeps the sheet open.
    tabs.setCurrentIndex(1);
    SetAmount(dialog, "");
    Press(dialog, "ok");
    QVERIFY(dialog.isVisible());
    QCOMPARE(tabs.currentIndex(), 0);
    QCOMPARE(ws.prompt.asked, QStringList{"Please enter a number."});
    SetAmount(dialog, "26");
    Press(dialog, "ok");
  });
  (void)ModifyDue(ws.app, nullptr, id, script.runner());
  QCOMPARE(ws.app.store().Get(id).amount, 26.0);
}

}  // namespace paylark::test
