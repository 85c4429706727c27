#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/records/payment.h"
#include "tests/support/scoped_locale.h"
#include "tests/ui/editor_fixture.h"
#include "tests/ui/editor_tests.h"
#include "tests/ui/fakes.h"
#include "ui/base/date_conversion.h"
#include "ui/editor/mark_paid_command.h"
#include "ui/editor/modify_command.h"
#include "ui/widgets/date_picker.h"

namespace paylark::test {
namespace {

// Runs Mark Paid on the due; the step fills the dialog, then OK is pressed.
EditOutcome MarkPaidWith(Workspace& ws, const std::string& id,
                         const std::function<void(QDialog&)>& fill) {
  ScriptedRunner script;
  script.Then([&](QDialog& dialog) {
    fill(dialog);
    Press(dialog, "ok");
  });
  return MarkDuePaid(ws.app, nullptr, id, script.runner());
}

// Presses the Modify sheet's Paid check box and OK (the answer is for a series question).
void TogglePaidInTheSheet(Workspace& ws, const std::string& id,
                          PromptAnswer answer = PromptAnswer::kNo) {
  ws.prompt.answers = {answer};
  ScriptedRunner script;
  script.Then([&](QDialog& dialog) {
    Press(dialog, "paid");
    Press(dialog, "ok");
  });
  (void)ModifyDue(ws.app, nullptr, id, script.runner());
}

}  // namespace

// A bad amount is refused and leaves the dialog open for another.
void MarkPaidTest::OpensOnNowTheDuesAmountAndRefusesABadOne() {
  Workspace ws;
  const std::string id = ws.AddDue("Power", "City Power", 90, At(2026, 3, 20, 18));
  const OleDateTime paidOn = At(2026, 3, 14, 8, 15);
  const EditOutcome outcome = MarkPaidWith(ws, id, [&](QDialog& dialog) {
    QCOMPARE(Child<DatePicker>(dialog, "paidOn").Value(), ws.clock.Now());
    QCOMPARE(Field(dialog, "paidAmount").text(), QStringLiteral("90.00"));
    QVERIFY(Field(dialog, "reference").text().isEmpty());
    Field(dialog, "paidAmount").setText(QStringLiteral("12,50"));
    Press(dialog, "ok");
    QVERIFY(dialog.isVisible() || dialog.result() != QDialog::Accepted);
    QCOMPARE(ws.prompt.asked, QStringList{QStringLiteral("Please enter a number.")});
    Field(dialog, "paidAmount").setText(QStringLiteral("92.41"));
    Field(dialog, "reference").setText(QStringLiteral("FITID-7"));
    Snapshot(dialog, QStringLiteral("mark-paid.png"));
    Child<DatePicker>(dialog, "paidOn").setDateTime(ToQDateTime(paidOn));
  });
  QCOMPARE(outcome, EditOutcome::kRecordsChanged);
  const DueRecord paid = ws.app.store().Get(id);
  QCOMPARE(paid.paid, 1);
  QVERIFY(paid.paidOn == paidOn);
  QCOMPARE(paid.paidAmount.value_or(0), 92.41);
  QCOMPARE(paid.paymentReference, std::string("FITID-7"));
  QCOMPARE(paid.amount, 90.0);
}

void MarkPaidTest::TheAmountFollowsTheLocale() {
  const testing::ScopedLocale locale("de_DE.UTF-8", testing::ScopedLocale::Numbers::kC);
  QVERIFY(locale.ok());
  Workspace ws;
  const std::string id = ws.AddDue("Miete", "Vermieter", 1234.5, At(2026, 3, 20, 18));
  (void)MarkPaidWith(ws, id, [](QDialog& dialog) {
    QCOMPARE(Field(dialog, "paidAmount").text(), QStringLiteral("1.234,50"));
    Field(dialog, "paidAmount").setText(QStringLiteral("1.240,75"));
  });
  QCOMPARE(ws.app.store().Get(id).paidAmount.value_or(0), 1240.75);
}

void MarkPaidTest::ThePaidBoxTakesTheDefaultsAndUnpaidClearsThem() {
  Workspace ws;
  const std::string id = ws.AddDue("Power", "City Power", 90, At(2026, 3, 20, 18));
  TogglePaidInTheSheet(ws, id);
  DueRecord record = ws.app.store().Get(id);
  QCOMPARE(record.paid, 1);
  QVERIFY(record.paidOn == ws.clock.Now());
  QCOMPARE(record.paidAmount.value_or(0), 90.0);
  TogglePaidInTheSheet(ws, id);
  record = ws.app.store().Get(id);
  QCOMPARE(record.paid, 0);
  QVERIFY(!record.paidOn && !record.paidAmount);
}

void MarkPaidTest::AWholeSeriesChangeNeverCopiesPayments() {
  Workspace ws;
  std::vector<std::string> ids;
  for (int day = 1; day <= 3; ++day)
    ids.push_back(ws.AddDue("Gym", "FitCo", 35, At(2026, 4, day), false, "recIdGym"));
  (void)MarkPaidWith(ws, ids[0], [](QDialog& dialog) {
    Field(dialog, "paidAmount").setText(QStringLiteral("36"));
    Field(dialog, "reference").setText(QStringLiteral("R1"));
  });
  TogglePaidInTheSheet(ws, ids[1], PromptAnswer::kYes);
  const DueRecord first = ws.app.store().Get(ids[0]);
  QCOMPARE(first.paidAmount.value_or(0), 36.0);
  QCOMPARE(first.paymentReference, std::string("R1"));
  QCOMPARE(ws.app.store().Get(ids[1]).paidAmount.value_or(0), 35.0);
  const DueRecord third = ws.app.store().Get(ids[2]);
  QCOMPARE(third.paid, 0);
  QVERIFY(!third.paidOn && !third.paidAmount && third.paymentReference.empty());
}

void MarkPaidTest::PayInPartLeavesTheDueUnpaidUntilThePartsReachIt() {
  Workspace ws;
  const std::string id = ws.AddDue("Dentist", "Dr. Weiss", 600, At(2026, 3, 20, 18));
  (void)MarkPaidWith(ws, id, [](QDialog& dialog) {
    QVERIFY(!Child<QCheckBox>(dialog, "inPart").isChecked());
    Press(dialog, "inPart");
    Field(dialog, "paidAmount").setText(QStringLiteral("200"));
  });
  DueRecord due = ws.app.store().Get(id);
  QCOMPARE(due.paid, 0);
  QCOMPARE(LeftCents(due), Cents{40000});

  // The second time the dialog opens on the part: what was paid, and what is left to pay.
  (void)MarkPaidWith(ws, id, [](QDialog& dialog) {
    QVERIFY(Child<QCheckBox>(dialog, "inPart").isChecked());
    QCOMPARE(Field(dialog, "paidAmount").text(), QStringLiteral("400.00"));
    QCOMPARE(Child<QLabel>(dialog, "currentPayment").text(),
             QStringLiteral("$200.00 of $600.00 paid; $400.00 left."));
    Field(dialog, "paidAmount").setText(QStringLiteral("150"));
    Snapshot(dialog, QStringLiteral("pay-in-part.png"));
  });
  due = ws.app.store().Get(id);
  QCOMPARE(StatusText(due), std::string("$350.00 of $600.00 paid"));

  (void)MarkPaidWith(ws, id, [](QDialog& dialog) {
    Field(dialog, "paidAmount").setText(QStringLiteral("250.50"));
  });
  due = ws.app.store().Get(id);
  QCOMPARE(due.paid, 1);
  QCOMPARE(PaidCents(due), Cents{60050});
  QCOMPARE(ws.prompt.asked.back(), QStringLiteral("Dentist is paid, $0.50 more than the amount."));
}

void MarkPaidTest::APaidDueShowsItsPaymentBeforeItIsReplaced() {
  Workspace ws;
  const std::string id = ws.AddDue("Strom", "Stadtwerke", 84, At(2026, 11, 30, 9));
  DueRecord record = ws.app.store().Get(id);
  MarkPaid(record, ws.clock.Now(),
           {At(2026, 11, 30), 84.0, "DE-NTRY-0001", "STADTWERKE GMBH", "DE44500105175407324931"});
  QVERIFY(ws.app.store().Replace(record).ok());

  // Cancel keeps the statement's payment whole.
  ScriptedRunner look;
  look.Then([&](QDialog& dialog) {
    QCOMPARE(Child<QLabel>(dialog, "currentPayment").text(),
             QStringLiteral("Already paid on 30 Nov 2026: $84.00, reference DE-NTRY-0001 from "
                            "STADTWERKE GMBH. Replace Payment puts what you enter here in its "
                            "place."));
    QCOMPARE(Child<QPushButton>(dialog, "ok").text(), QStringLiteral("&Replace Payment"));
    Snapshot(dialog, QStringLiteral("mark-paid-replace.png"));
    Press(dialog, "cancel");
  });
  QCOMPARE(MarkDuePaid(ws.app, nullptr, id, look.runner()), EditOutcome::kNothingChanged);
  QVERIFY(ws.app.store().Get(id) == record);

  // Replacing it is a choice made in the same dialog: the new payment stands alone.
  MarkPaidWith(ws, id,
               [](QDialog& dialog) { Field(dialog, "reference").setText(QStringLiteral("cash")); });
  const DueRecord replaced = ws.app.store().Get(id);
  QCOMPARE(replaced.paymentReference, std::string("cash"));
  QVERIFY(replaced.paymentCounterparty.empty());
}

}  // namespace paylark::test
