#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "tests/support/scoped_locale.h"
#include "tests/ui/editor_fixture.h"
#include "tests/ui/editor_tests.h"
#include "tests/ui/fakes.h"
#include "ui/base/message_box_prompt.h"
#include "ui/base/series_question.h"
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

// Answers the series question, then sets the amount in the sheet, ticks Paid and presses OK.
EditOutcome Modify(Workspace& ws, const std::string& id, PromptAnswer answer, const char* amount) {
  ws.prompt.answers = {answer};
  ScriptedRunner script;
  script.Then([&](QDialog& dialog) {
    Field(dialog, "amount").setText(QString::fromLatin1(amount));
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
  QCOMPARE(ws.app.store().map().size(), std::size_t{1});
}

// The answer to the series question, asked when the second of three is changed and the first is
// paid, decides which members take the new amount; dates, notes and the paid state stay on the
// edited due (which fields go where is series_editing_test's).
// Regression: raising December's rent for "the whole series" rewrote the paid dues before it.
void ModifyDueTest::EachAnswerReachesItsMembers() {
  const struct {
    PromptAnswer answer;
    double amounts[3];
  } cases[] = {{PromptAnswer::kYes, {950, 950, 950}},
               {PromptAnswer::kFromHere, {900, 950, 950}},
               {PromptAnswer::kNo, {900, 950, 900}}};
  for (const auto& c : cases) {
    Workspace ws;
    const std::vector<std::string> ids = AddSeries(ws);
    DueRecord first = ws.app.store().Get(ids[0]);
    first.paid = 1;
    (void)ws.app.store().Replace(first);
    (void)Modify(ws, ids[1], c.answer, "950");
    QCOMPARE(ws.prompt.buttons, std::vector<PromptButtons>{PromptButtons::kSeriesScope});
    QCOMPARE(ws.prompt.asked,
             QStringList{"This due is part of a series. Which dues should a new title, pay-to, "
                         "account, amount or type reach? Dates, notes and the paid state change "
                         "on this due only.\n\nThis due only: 1 due\nThis and later dues: 2 "
                         "dues, paid ones stay as they are\nThe whole series: 3 dues, paid ones "
                         "too"});
    for (std::size_t member = 0; member < 3; ++member) {
      const DueRecord due = ws.app.store().Get(ids[member]);
      QCOMPARE(due.amount, c.amounts[member]);
      QCOMPARE(due.paid, member == 2 ? 0 : 1);
      QCOMPARE(due.dueDate, At(2026, 4, static_cast<int>(member) + 1));
      QCOMPARE(due.notes, "note " + std::to_string(member + 1));
    }
  }
}

// The real message box: its three answers, "This due only" first and the default.
void ModifyDueTest::ScopeQuestionOffersThreeAnswers() {
  MessageBoxPrompt prompt;
  QStringList buttons;
  QTimer::singleShot(0, [&buttons] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QVERIFY(box);
    for (QAbstractButton* button : box->buttons())
      buttons << button->text();
    QCOMPARE(box->defaultButton()->text(), QStringLiteral("This due only"));
    Snapshot(*box, QStringLiteral("series-scope-question.png"));
    for (QAbstractButton* button : box->buttons()) {
      if (button->text() == QStringLiteral("This and later dues"))
        button->click();
    }
  });
  const SeriesChoice choice = AskSeriesScope(prompt, nullptr, SeriesScopeCounts{1, 4, 12});
  QCOMPARE(choice, SeriesChoice::kThisAndLater);
  buttons.sort();
  QCOMPARE(buttons,
           (QStringList{"Cancel", "The whole series", "This and later dues", "This due only"}));
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

// The sheet opens with the cursor in the title, its text selected; a single due has no contract.
void ModifyDueTest::SheetShowsTabsWithoutRecursion() {
  Workspace ws;
  const std::string id = ws.AddDue("Phone", "Telco", 25.5, At(2026, 3, 28, 18));
  ScriptedRunner script;
  script.Then([&ws](QDialog& dialog) {
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), &Field(dialog, "title"));
    QVERIFY(Field(dialog, "title").hasSelectedText());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Modify Due"));
    auto& tabs = Child<QTabWidget>(dialog, "tabs");
    QCOMPARE(tabs.tabText(0) + "|" + tabs.tabText(1), QStringLiteral("Due Details|Notes"));
    QVERIFY(!Child<QCheckBox>(dialog, "makeRecursive").isVisible());
    QVERIFY(!Child<QGroupBox>(dialog, "contract").isVisibleTo(&dialog));
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

// A series' contract: Renews on and the notice, carried to every member.
void ModifyDueTest::ASeriesCarriesItsContractsNoticePeriod() {
  Workspace ws;
  const std::vector<std::string> ids = AddSeries(ws);
  ws.prompt.answers = {PromptAnswer::kYes};
  ScriptedRunner script;
  script.Then([](QDialog& dialog) {
    auto& contract = Child<QGroupBox>(dialog, "contract");
    QVERIFY(contract.isVisibleTo(&dialog));
    QVERIFY(!contract.isChecked());
    contract.setChecked(true);
    Child<QDateEdit>(dialog, "renewsOn").setDate(QDate(2026, 12, 31));
    Field(dialog, "noticeCount").setText(QStringLiteral("3"));
    auto& unit = Child<QComboBox>(dialog, "noticeUnit");
    unit.setCurrentIndex(unit.findText(QStringLiteral("months")));
    Snapshot(dialog, QStringLiteral("notice-period.png"));
    Press(dialog, "ok");
  });
  QCOMPARE(ModifyDue(ws.app, nullptr, ids[1], script.runner()), EditOutcome::kRecordsChanged);
  for (const std::string& id : ids) {
    const DueRecord member = ws.app.store().Get(id);
    QVERIFY(member.renewsOn == OleDateTime::FromCivil(2026, 12, 31));
    QVERIFY((member.noticePeriod == NoticePeriod{NoticeUnit::kMonths, 3}));
  }
}

// Regression: "12,50" typed under de_DE was stored as 1250 and "1.234,56" as 1.23, because the
// field took only digits and a point whatever the locale.
void ModifyDueTest::AmountsAreReadAndShownInTheLocale() {
  struct Case {
    const char* locale;
    const char* shown;  // 61.75 as the sheet shows it
    const char* typed;
    double stored;  // 0: refused with "Please enter a number."
  };
  const Case cases[] = {
      {"en_US.UTF-8", "61.75", "12.50", 12.5},       {"en_US.UTF-8", "61.75", "1,234.56", 1234.56},
      {"en_US.UTF-8", "61.75", "12,50", 0},          {"en_US.UTF-8", "61.75", "1.5.0", 1.5},
      {"de_DE.UTF-8", "61,75", "12,50", 12.5},       {"de_DE.UTF-8", "61,75", "1.234,56", 1234.56},
      {"de_DE.UTF-8", "61,75", "955,50", 955.5},     {"de_DE.UTF-8", "61,75", "12.50", 0},
      {"fr_FR.UTF-8", "61,75", "1 234,56", 1234.56}, {"fr_FR.UTF-8", "61,75", "12,5", 12.5},
      {"fr_FR.UTF-8", "61,75", "12.50", 0},          {"fr_FR.UTF-8", "61,75", "12 50", 0},
      {"ja_JP.UTF-8", "61.75", "1,234", 1234},       {"ja_JP.UTF-8", "61.75", "12,50", 0},
  };
  for (const Case& c : cases) {
    const QByteArray what = QByteArray(c.locale) + " \"" + c.typed + "\"";
    const testing::ScopedLocale locale(c.locale, testing::ScopedLocale::Numbers::kC);
    QVERIFY2(locale.ok(), what.constData());
    Workspace ws;
    const std::string id = ws.AddDue("Rent", "Landlord", 61.75, At(2026, 3, 28, 18));
    bool stayedOpen = false;
    ScriptedRunner script;
    script.Then([&](QDialog& dialog) {
      QLineEdit& amount = Field(dialog, "amount");
      QCOMPARE(amount.text(), QString::fromUtf8(c.shown));
      if (std::string_view(c.locale) == "de_DE.UTF-8" && std::string_view(c.typed) == "12,50")
        Snapshot(dialog, QStringLiteral("editor-de-amount.png"));
      amount.clear();
      QTest::keyClicks(&amount, QString::fromUtf8(c.typed));
      Press(dialog, "ok");
      stayedOpen = dialog.isVisible();
      if (stayedOpen)
        Press(dialog, "cancel");
    });
    (void)ModifyDue(ws.app, nullptr, id, script.runner());
    if (c.stored == 0) {
      QVERIFY2(stayedOpen, what.constData());
      QCOMPARE(ws.prompt.asked, QStringList{"Please enter a number."});
      QCOMPARE(AmountOf(ws, id), 61.75);
    } else {
      QVERIFY2(!stayedOpen && ws.prompt.asked.isEmpty(), what.constData());
      QCOMPARE(AmountOf(ws, id), c.stored);
    }
  }
}

}  // namespace paylark::test
