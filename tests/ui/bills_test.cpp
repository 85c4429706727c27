// File → New Due from Bill… and bills dropped on the month list: the wizard filled in from the
// bill, what it says, and the bill attached on Finish.
#include <QAbstractButton>
#include <QDateTimeEdit>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QWizard>
#include <fstream>

#include "core/attachments/attachment_store.h"
#include "tests/support/bill_pdf_samples.h"
#include "tests/support/bill_samples.h"
#include "tests/ui/editor_fixture.h"
#include "tests/ui/fakes.h"
#include "tests/ui/test_runner.h"
#include "ui/bills/new_due_from_bill_command.h"
#include "ui/shell/command_registry.h"
#include "ui/shell/details_bar.h"
#include "ui/shell/main_window.h"
#include "ui/shell/month_list_model.h"
#include "ui/shell/month_list_view.h"

namespace paylark::test {
namespace {

struct Fixture {
  Fixture() {
    window.resize(1000, 640);
    window.show();
  }

  QString Path(const QString& name) const { return ws.directory() + QLatin1Char('/') + name; }

  QString GiroCode() const {
    testing::WriteQrPng(testing::EpcCode({}), Path(QStringLiteral("giro.png")).toStdString());
    return Path(QStringLiteral("giro.png"));
  }

  QString FacturX() const {
    const std::string plain = Path(QStringLiteral("plain.pdf")).toStdString();
    testing::WriteTextPdf(plain, 1);
    testing::AttachXml(plain, testing::CiiInvoice({}), "factur-x.xml",
                       Path(QStringLiteral("Stadtwerke.pdf")).toStdString());
    return Path(QStringLiteral("Stadtwerke.pdf"));
  }

  QString Written(const QString& name, const std::string& bytes) const {
    std::ofstream(Path(name).toStdString(), std::ios::binary) << bytes;
    return Path(name);
  }

  std::vector<std::string> Attached(const std::string& id) {
    const AttachmentStore attachments(ws.app.store().files(), ws.app.workingDirectory());
    std::vector<std::string> names;
    const Result<std::vector<Attachment>> listed = attachments.List(id);
    for (const Attachment& attachment : listed.ok() ? listed.value() : std::vector<Attachment>{})
      names.push_back(attachment.name);
    return names;
  }

  // Runs File → New Due from Bill… to its end, the picker answering with the file.
  void NewDueFromBill(const QString& picked) {
    ws.desktop.openPath = picked;
    NewDueFromBillCommand command(ws.app, window, script.runner());
    QSignalSpy done(&command, &NewDueFromBillCommand::Done);
    window.commandRegistry().Find(QStringLiteral("newDueFromBill"))->trigger();
    QTRY_COMPARE(done.count(), 1);
  }

  // The one due in the store, or a default one when there is none.
  DueRecord OnlyDue() {
    DueRecord only;
    if (ws.app.store().map().size() == 1)
      ws.app.store().map().ForEach([&only](const DueRecord& record) { only = record; });
    return only;
  }

  Workspace ws;
  FakeDialogs dialogs;
  MainWindow window{ws.app, dialogs};
  ScriptedRunner script;
};

QString Note(QDialog& dialog) {
  return Child<QLabel>(dialog, "note").text();
}

void Finish(QDialog& dialog) {
  auto& wizard = dynamic_cast<QWizard&>(dialog);
  wizard.next();
  QTest::mouseClick(wizard.button(QWizard::FinishButton), Qt::LeftButton);
}

// Below the last row of the month's list.
QPoint OutsideRows(MonthListView& view) {
  return {view.viewport()->width() / 2, view.viewport()->height() - 10};
}

}  // namespace

class BillsTest final : public QObject {
  Q_OBJECT

 private slots:
  void init() { UseFreshSettings(); }

  void TheFileMenuFillsTheWizardFromAGiroCodeAndAttachesTheBill() {
    Fixture f;
    f.script.Then([](QDialog& dialog) {
      QCOMPARE(Note(dialog),
               QStringLiteral("Pay-to, amount, IBAN and reference from the payment code; due "
                              "date not on the bill: set to 29 Mar 2026.\nThe bill is in EUR, "
                              "not USD: its amount was kept as written."));
      QCOMPARE(Field(dialog, "title").text(), QStringLiteral("Stadtwerke Nordhafen"));
      QCOMPARE(Field(dialog, "amount").text(), QStringLiteral("184.37"));
      QCOMPARE(Child<QDateTimeEdit>(dialog, "dueDate").date(), QDate(2026, 3, 29));
      Snapshot(dialog, QStringLiteral("wizard-from-bill.png"));
      Finish(dialog);
    });
    f.NewDueFromBill(f.GiroCode());
    const DueRecord due = f.OnlyDue();
    QCOMPARE(due.payeeAccount, std::string("DE89 3704 0044 0532 0130 00"));
    QCOMPARE(due.creditorReference, std::string("RF18539007547034"));
    QCOMPARE(due.amount, 184.37);
    QCOMPARE(f.Attached(due.recordId), std::vector<std::string>{"giro.png"});
    QCOMPARE(f.ws.desktop.openStarts, QStringList{f.ws.directory()});

    // The details show the payee's IBAN and reference.
    DetailsBar& details = *f.window.findChild<DetailsBar*>();
    QStringList rows;
    for (int row = 0; row < details.RowCount(); ++row)
      rows << details.Heading(row) + QStringLiteral(": ") + details.Value(row);
    QVERIFY2(rows.contains(QStringLiteral("Payee IBAN: DE89 3704 0044 0532 0130 00")),
             qPrintable(rows.join(QLatin1Char('\n'))));
    QVERIFY(rows.contains(QStringLiteral("Payee reference: RF18539007547034")));
    Snapshot(f.window, QStringLiteral("details-payee.png"));
  }

  // Outside the rows a dropped Factur-X opens the wizard on the invoice's dates; on a row a bill
  // is attached to that due instead.
  void ABillDroppedOutsideTheRowsOpensTheWizardAndOnARowIsAttached() {
    Fixture f;
    const std::string water = f.ws.AddDue("Water", "City", 40, At(2026, 3, 20));
    f.window.RefreshMonth();
    f.script.Then([](QDialog& dialog) {
      QCOMPARE(Note(dialog), QStringLiteral("Pay-to, due date, amount, IBAN and reference from "
                                            "the e-invoice.\nThe bill is in EUR, not USD: its "
                                            "amount was kept as written."));
      QCOMPARE(Field(dialog, "title").text(),
               QStringLiteral("Stadtwerke Nordhafen GmbH R-2026-1187"));
      QCOMPARE(Child<QDateTimeEdit>(dialog, "dueDate").date(), QDate(2026, 12, 21));
      QCOMPARE(Child<QDateTimeEdit>(dialog, "startDate").date(), QDate(2026, 11, 21));
    });  // left open: closed as the user closes it
    NewDueFromBillCommand command(f.ws.app, f.window, f.script.runner());
    QSignalSpy done(&command, &NewDueFromBillCommand::Done);
    MonthListView& view = f.window.view();
    DropFiles(*view.viewport(), OutsideRows(view), {f.FacturX(), f.GiroCode()});
    QTRY_COMPARE(done.count(), 1);
    QCOMPARE(f.window.findChild<QLabel*>(QStringLiteral("statusNote"))->text(),
             QStringLiteral("Only Stadtwerke.pdf was read: drop one bill at a time."));
    QCOMPARE(f.script.dialogsRun(), 1);
    QCOMPARE(f.ws.app.store().map().size(), std::size_t{1});  // Water alone

    QSignalSpy attached(&view, &MonthListView::FilesDropped);
    DropFiles(*view.viewport(), view.visualRect(view.model().index(0)).center(), {f.GiroCode()});
    QCOMPARE(attached.count(), 1);
    QCOMPARE(attached.at(0).at(0).toString().toStdString(), water);
    QCOMPARE(f.script.dialogsRun(), 1);
  }

  void ARefusedBillIsToldAndOpensNoWizard() {
    Fixture f;
    std::string doctype = testing::CiiInvoice({});
    doctype.insert(doctype.find("<rsm:"), "<!DOCTYPE x>\n");
    f.NewDueFromBill(f.Written(QStringLiteral("invoice.xml"), doctype));
    QCOMPARE(f.ws.prompt.asked,
             QStringList{QStringLiteral("invoice.xml: The XML declares a document type (DOCTYPE), "
                                        "which an e-invoice never does; it is not read.")});
    QCOMPARE(f.script.dialogsRun(), 0);
  }

  void ABillWithoutDataOpensAnEmptyWizardThatSaysSoAndStillAttachesIt() {
    Fixture f;
    const std::string plain = f.Path(QStringLiteral("letter.pdf")).toStdString();
    testing::WriteTextPdf(plain, 1);
    f.script.Then([](QDialog& dialog) {
      QCOMPARE(Note(dialog),
               QStringLiteral("No invoice data or payment code was found in letter.pdf."));
      QCOMPARE(Field(dialog, "title").text(), QString());
      Finish(dialog);
    });
    f.NewDueFromBill(QString::fromStdString(plain));
    QCOMPARE(f.Attached(f.OnlyDue().recordId), std::vector<std::string>{"letter.pdf"});
  }
};

}  // namespace paylark::test

int main(int argc, char* argv[]) {
  paylark::test::BillsTest test;
  return paylark::test::RunTestClasses(argc, argv, {&test});
}

#include "bills_test.moc"
