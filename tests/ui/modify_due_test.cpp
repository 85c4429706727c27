#include <QCheckBox>
#include <QDateTimeEdit>
#include <QTabWidget>
#include <QTest>

#include "tests/ui/editor_fixture.h"
#include "tests/ui/editor_tests.h"
#include "tests/ui/fakes.h"
#include "ui/base/date_conversion.h"
#include "ui/editor/modify_command.h"

namespace paylark::test {
namespace {

// Three dues of one series, 1 to 3 April, each with its own notes.
std::vector<std::string> AddSeries(Workspace& ws) {
  std::vector<std::string> ids;
  for (int day = 1; day <= 3; ++day) {
    ids.push_back(ws.AddDue("Rent", "Landlord", 900, At(2026, 4, day), false, "recIdS"));
    DueRecord record = ws.app.store().Get(ids.back());
    record.notes = "note " + std::to_string(day);
    (void)ws.app.store().Replace(record);
  }
  return ids;
}

// Answers the series question, then sets the amount (when given) and the due date (when valid)
// in the sheet and presses OK.
EditOutcome Modify(Workspace& ws, const std::string& id, PromptAnswer answer, const char* amount,
                   OleDateTime due = OleDateTime(0, OleDateTime::Status::kInvalid)) {
  ws.prompt.answers = {answer};
  ScriptedRunner script;
  script.Then([&](QDialog& dialog) {
    if (amount)
      Field(dialog, "amount").setText(QString::fromLatin1(amount));
    if (due.IsValid())
      Child<QDateTimeEdit>(dialog, "dueDate").setDateTime(ToQDateTime(due));
    Press(dialog, "paid");
    Press(dialog, "ok");
  });
  return ModifyDue(ws.app, nullptr, id, script.runner());
}

double AmountOf(Workspace& ws, const std::string& id) {
  return ws.app.store().Get(id).amount;
}

}  // namespace

void ModifyDueTest::SingleDueIsReplacedWithoutAQuestion() {
  Workspace ws;
  const std::string id = ws.AddDue("Power", "Grid", 40, At(2026, 3, 20));
  QCOMPARE(Modify(ws, id, PromptAnswer::kCancel, "41.5"), EditOutcome::kRecordsChanged);
  QVERIFY(ws.prompt.asked.isEmpty());
  QCOMPARE(AmountOf(ws, id), 41.5);
  QCOMPARE(ws.app.store().Get(id).dueDate, At(2026, 3, 20));
  QCOMPARE(ws.app.store().size(), std::size_t{1});
}

void ModifyDueTest::YesCarriesSeriesFieldsToEveryMember() {
  Workspace ws;
  const std::vector<std::string> ids = AddSeries(ws);
  (void)Modify(ws, ids[1], PromptAnswer::kYes, "950");
  QCOMPARE(ws.prompt.asked,
           QStringList{"This is a recursive due. Select \"Yes\" to modify the whole series or "
                       "\"No\" to modify this record individually."});
  QCOMPARE(ws.prompt.buttons.front(), PromptButtons::kYesNoCancel);
  for (int day = 1; day <= 3; ++day) {
    const DueRecord member = ws.app.store().Get(ids[static_cast<std::size_t>(day - 1)]);
    QCOMPARE(member.amount, 950.0);
    QCOMPARE(member.paid, day == 2 ? 1 : 0);
    QCOMPARE(member.dueDate, At(2026, 4, day));
    QCOMPARE(member.notes, "note " + std::to_string(day));
  }
}

void ModifyDueTest::YesWithOnlyDatesChangedTouchesOneRecord() {
  Workspace ws;
  const std::vector<std::string> ids = AddSeries(ws);
  (void)Modify(ws, ids[0], PromptAnswer::kYes, nullptr, At(2026, 4, 9));
  QCOMPARE(ws.app.store().Get(ids[0]).dueDate, At(2026, 4, 9));
  QCOMPARE(ws.app.store().Get(ids[0]).paid, 1);
  QCOMPARE(ws.app.store().Get(ids[1]).dueDate, At(2026, 4, 2));
  QCOMPARE(ws.app.store().Get(ids[1]).paid, 0);
}

void ModifyDueTest::NoChangesTheEditedRecordAlone() {
  Workspace ws;
  const std::vector<std::string> ids = AddSeries(ws);
  (void)Modify(ws, ids[2], PromptAnswer::kNo, "1000");
  QCOMPARE(AmountOf(ws, ids[2]), 1000.0);
  QCOMPARE(AmountOf(ws, ids[0]), 900.0);
}

void ModifyDueTest::CancelWritesNothing() {
  Workspace ws;
  const std::vector<std::string> ids = AddSeries(ws);
  QCOMPARE(Modify(ws, ids[0], PromptAnswer::kCancel, "1"), EditOutcome::kNothingChanged);
  QCOMPARE(AmountOf(ws, ids[0]), 900.0);
  ws.prompt.answers = {PromptAnswer::kYes};
  ScriptedRunner script;
  script.Then([](QDialog& dialog) {
    Field(dialog, "amount").setText(QStringLiteral("1"));
    Press(dialog, "cancel");
  });
  QCOMPARE(ModifyDue(ws.app, nullptr, ids[0], script.runner()), EditOutcome::kNothingChanged);
  QCOMPARE(script.dialogsRun(), 1);
  QCOMPARE(AmountOf(ws, ids[0]), 900.0);
}

void ModifyDueTest::SheetShowsTabsWithoutRecursion() {
  Workspace ws;
  const std::string id = ws.AddDue("Phone", "Telco", 25.5, At(2026, 3, 28, 18));
  ScriptedRunner script;
  script.Then([&ws](QDialog& dialog) {
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Modify Due"));
    auto& tabs = Child<QTabWidget>(dialog, "tabs");
    QCOMPARE(tabs.tabText(0) + "|" + tabs.tabText(1), QStringLiteral("Due Details|Notes"));
    QVERIFY(!Child<QCheckBox>(dialog, "makeRecursive").isVisible());
    QCOMPARE(Field(dialog, "amount").text(), QStringLiteral("25.5"));
    Snapshot(dialog, QStringLiteral("modify-sheet.png"));
    // A refused amount on OK brings the Details tab back and keeps the sheet open.
    tabs.setCurrentIndex(1);
    Field(dialog, "amount").clear();
    Press(dialog, "ok");
    QVERIFY(dialog.isVisible());
    QCOMPARE(tabs.currentIndex(), 0);
    QCOMPARE(ws.prompt.asked, QStringList{"Please enter a number."});
  });
  QCOMPARE(ModifyDue(ws.app, nullptr, id, script.runner()), EditOutcome::kNothingChanged);
}

}  // namespace paylark::test
